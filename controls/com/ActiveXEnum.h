// CActiveXEnum: the container's enumerator over its one embedded object (held with a reference).
#pragma once

#include <ole2.h>
#include <windows.h>

namespace SkinUI {

class CActiveXEnum final : public IEnumUnknown {
public:
    explicit CActiveXEnum(IUnknown* object);
    CActiveXEnum(const CActiveXEnum&) = delete;
    CActiveXEnum& operator=(const CActiveXEnum&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP Next(ULONG count, IUnknown** items, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumUnknown** out) override;

private:
    ~CActiveXEnum();

    ULONG m_position = 0;
    ULONG m_refs = 1;
    IUnknown* m_object;  // one reference; may be null
};

}  // namespace SkinUI
