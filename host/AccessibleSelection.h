// CAccessibleSelection: what get_accSelection hands out when more than one child is selected, an
// IEnumVARIANT over those objects (each as VT_DISPATCH) as they were when the client asked.
//
// It holds a reference to each object, never to a control: an object whose control has gone since
// answers CO_E_OBJNOTCONNECTED to the client, as any kept object does.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <vector>

namespace SkinUI {

class CAccessibleUI;

class CAccessibleSelection : public IEnumVARIANT {
public:
    // With one reference for the caller; null when memory runs out.
    static IUnknown* Make(const std::vector<CAccessibleUI*>& objects);
    CAccessibleSelection(const CAccessibleSelection&) = delete;
    CAccessibleSelection& operator=(const CAccessibleSelection&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP Next(ULONG count, VARIANT* items, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumVARIANT** copy) override;

private:
    explicit CAccessibleSelection(const std::vector<CAccessibleUI*>& objects);
    virtual ~CAccessibleSelection();

    LONG m_refs = 1;
    std::vector<CAccessibleUI*> m_objects;  // one reference each
    size_t m_cursor = 0;
};

}  // namespace SkinUI
