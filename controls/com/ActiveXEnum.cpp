#include "controls/com/ActiveXEnum.h"

namespace SkinUI {

CActiveXEnum::CActiveXEnum(IUnknown* object)
    : m_object(object)
{
    if (m_object != nullptr)
        m_object->AddRef();
}

CActiveXEnum::~CActiveXEnum()
{
    if (m_object != nullptr)
        m_object->Release();
}

STDMETHODIMP CActiveXEnum::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IEnumUnknown)
        return E_NOINTERFACE;
    *out = static_cast<IEnumUnknown*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CActiveXEnum::AddRef() { return ++m_refs; }

STDMETHODIMP_(ULONG) CActiveXEnum::Release()
{
    const ULONG refs = --m_refs;
    if (refs == 0)
        delete this;
    return refs;
}

STDMETHODIMP CActiveXEnum::Next(ULONG count, IUnknown** items, ULONG* fetched)
{
    // The fetched count may be null when one element is asked for.
    if (fetched != nullptr)
        *fetched = 0;
    if (items == nullptr || count == 0)
        return items == nullptr ? E_POINTER : S_OK;
    ++m_position;
    if (m_position > 1 || m_object == nullptr)
        return S_FALSE;
    items[0] = m_object;
    m_object->AddRef();
    if (fetched != nullptr)
        *fetched = 1;
    return count == 1 ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXEnum::Skip(ULONG count)
{
    m_position += count;
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Reset()
{
    m_position = 0;
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Clone(IEnumUnknown** /*out*/) { return E_NOTIMPL; }

}  // namespace SkinUI
