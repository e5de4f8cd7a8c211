// The DLL's class factory and the exports the tests use (TestControlApi.h).
#include <cstring>

#include "TestObject.h"

namespace testctl {

namespace {

class CFactory final : public IClassFactory {
public:
    explicit CFactory(Variant variant)
        : m_variant(variant)
    {
    }
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IClassFactory)
            return E_NOINTERFACE;
        *out = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    // Static objects: the DLL is never unloaded while the tests run.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        *out = nullptr;
        if (outer != nullptr)
            return CLASS_E_NOAGGREGATION;
        CTestObject* object = new CTestObject(m_variant);
        const HRESULT hr = static_cast<IOleObject*>(object)->QueryInterface(iid, out);
        static_cast<IOleObject*>(object)->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    Variant m_variant;
};

bool IsClass(REFCLSID clsid, const char* text)
{
    wchar_t wide[64] = {};
    CLSID parsed = {};
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 63);
    return SUCCEEDED(::CLSIDFromString(wide, &parsed)) && parsed == clsid;
}

}  // namespace

}  // namespace testctl

using namespace testctl;

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    static CFactory windowless(Variant::Windowless);
    static CFactory windowed(Variant::Windowed);
    static CFactory initFails(Variant::InitFails);
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    CFactory* factory = nullptr;
    if (IsClass(clsid, kWindowlessClsid) || IsClass(clsid, kPlayerClsid))
        factory = &windowless;
    else if (IsClass(clsid, kWindowedClsid) || IsClass(clsid, kBrowserClsid))
        factory = &windowed;
    else if (IsClass(clsid, kInitFailsClsid))
        factory = &initFails;
    if (factory == nullptr)
        return CLASS_E_CLASSNOTAVAILABLE;
    return factory->QueryInterface(iid, out);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return S_FALSE; }

extern "C" TState* TestControlState() { return &State(); }

extern "C" void TestControlReset()
{
    // Live counts describe objects that still exist; only the records start again.
    TState& state = State();
    const int live = state.liveObjects;
    const int sinks = state.advisedSinks;
    std::memset(&state, 0, sizeof(state));
    state.liveObjects = live;
    state.advisedSinks = sinks;
}

extern "C" HRESULT TestControlFire(DISPID id, DISPPARAMS* params)
{
    CTestObject* object = CTestObject::Newest();
    return object != nullptr ? object->Fire(id, params) : E_UNEXPECTED;
}

extern "C" HRESULT TestControlDeactivate()
{
    CTestObject* object = CTestObject::Newest();
    return object != nullptr ? object->DeactivateSpontaneously() : E_UNEXPECTED;
}

extern "C" IOleClientSite* TestControlClientSite()
{
    CTestObject* object = CTestObject::Newest();
    IOleClientSite* site = object != nullptr ? object->ClientSite() : nullptr;
    if (site != nullptr)
        site->AddRef();
    return site;
}
