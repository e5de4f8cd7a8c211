#include "host/AccessibleSelection.h"

#include <new>

#include "host/Accessible.h"

namespace SkinUI {

IUnknown* CAccessibleSelection::Make(const std::vector<CAccessibleUI*>& objects)
{
    CAccessibleSelection* selection = new (std::nothrow) CAccessibleSelection(objects);
    return selection;
}

CAccessibleSelection::CAccessibleSelection(const std::vector<CAccessibleUI*>& objects)
    : m_objects(objects)
{
    for (CAccessibleUI* object : m_objects)
        object->AddRef();
}

CAccessibleSelection::~CAccessibleSelection()
{
    for (CAccessibleUI* object : m_objects)
        object->Release();
}

STDMETHODIMP CAccessibleSelection::QueryInterface(REFIID riid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    if (riid != IID_IUnknown && riid != IID_IEnumVARIANT) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = static_cast<IEnumVARIANT*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CAccessibleSelection::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }

STDMETHODIMP_(ULONG) CAccessibleSelection::Release()
{
    const LONG refs = ::InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return static_cast<ULONG>(refs);
}

STDMETHODIMP CAccessibleSelection::Next(ULONG count, VARIANT* items, ULONG* fetched)
{
    if (fetched != nullptr)
        *fetched = 0;
    if (items == nullptr)
        return E_INVALIDARG;
    ULONG done = 0;
    for (; done < count && m_cursor < m_objects.size(); ++done, ++m_cursor) {
        ::VariantInit(&items[done]);
        m_objects[m_cursor]->AddRef();
        items[done].vt = VT_DISPATCH;
        items[done].pdispVal = static_cast<IAccessible*>(m_objects[m_cursor]);
    }
    if (fetched != nullptr)
        *fetched = done;
    return done == count ? S_OK : S_FALSE;
}

STDMETHODIMP CAccessibleSelection::Skip(ULONG count)
{
    const size_t left = m_objects.size() - m_cursor;
    const bool enough = count <= left;
    m_cursor = enough ? m_cursor + count : m_objects.size();
    return enough ? S_OK : S_FALSE;
}

STDMETHODIMP CAccessibleSelection::Reset()
{
    m_cursor = 0;
    return S_OK;
}

STDMETHODIMP CAccessibleSelection::Clone(IEnumVARIANT** copy)
{
    if (copy == nullptr)
        return E_INVALIDARG;
    CAccessibleSelection* twin = new (std::nothrow) CAccessibleSelection(m_objects);
    if (twin == nullptr) {
        *copy = nullptr;
        return E_OUTOFMEMORY;
    }
    twin->m_cursor = m_cursor;
    *copy = twin;
    return S_OK;
}

}  // namespace SkinUI
