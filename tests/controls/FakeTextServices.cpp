#include "controls/FakeTextServices.h"

#include <algorithm>
#include <cstring>

#include "controls/richedit/RichEdit.h"

namespace testbed {

namespace {

FakeTextServices* g_last = nullptr;

}  // namespace

HRESULT WINAPI FakeTextServices::Create(IUnknown*, ITextHost* host, IUnknown** services)
{
    FakeTextServices* fake = new FakeTextServices;
    fake->host = host;
    g_last = fake;
    *services = fake;
    return S_OK;
}

FakeTextServices* FakeTextServices::Last() { return g_last; }

FakeTextServices::~FakeTextServices()
{
    if (g_last == this)
        g_last = nullptr;
}

ULONG FakeTextServices::Release()
{
    const ULONG refs = --m_refs;
    if (refs == 0)
        delete this;
    return refs;
}

HRESULT FakeTextServices::QueryInterface(REFIID, void** object)
{
    // Whatever is asked for: the control only asks for the services interface.
    *object = static_cast<ITextServices*>(this);
    AddRef();
    return S_OK;
}

HRESULT FakeTextServices::TxSendMessage(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT* result)
{
    sent.push_back(TSentMessage{msg, wparam, lparam});
    *result = 0;
    if (msg == EM_GETTEXTLENGTHEX) {
        const GETTEXTLENGTHEX* how = reinterpret_cast<const GETTEXTLENGTHEX*>(wparam);
        *result = (how->flags & GTL_NUMBYTES) != 0 ? static_cast<LRESULT>(bytes.size()) : units;
        return S_OK;
    }
    if (msg == EM_GETTEXTEX) {
        const GETTEXTEX* how = reinterpret_cast<const GETTEXTEX*>(wparam);
        char* out = reinterpret_cast<char*>(lparam);
        const size_t copied = std::min(bytes.size(), static_cast<size_t>(how->cb) - 1);
        std::memcpy(out, bytes.data(), copied);
        out[copied] = '\0';
        *result = static_cast<LRESULT>(copied);
        return S_OK;
    }
    return answer;
}

std::vector<WPARAM> FakeTextServices::Params(UINT message) const
{
    std::vector<WPARAM> params;
    for (const TSentMessage& m : sent) {
        if (m.message == message)
            params.push_back(m.wParam);
    }
    return params;
}

int FakeTextServices::Count(UINT message) const { return static_cast<int>(Params(message).size()); }

FakeServicesScope::FakeServicesScope() { SkinUI::CRichEditUI::UseTextServicesFactory(&FakeTextServices::Create); }

FakeServicesScope::~FakeServicesScope() { SkinUI::CRichEditUI::UseTextServicesFactory(nullptr); }

}  // namespace testbed
