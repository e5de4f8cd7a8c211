// Small COM helpers shared by the controls that host objects: argument checks for event sinks
// (whatever a connection point hands us is outside input) and event subscription.
#pragma once

#include <ole2.h>
#include <windows.h>

namespace SkinUI {

// The argument array of an event against the types the sink reads, given in the order of the
// call (the array itself holds them in reverse). A by-reference type needs a non-null pointer;
// VT_I4 also accepts VT_UI4 (the same 32 bits). DISP_E_BADPARAMCOUNT for another count,
// DISP_E_TYPEMISMATCH for another type, S_OK when every argument may be read as given.
HRESULT CheckEventArgs(const DISPPARAMS* params, const VARTYPE* types, UINT count);

// The event argument `index` in call order (CheckEventArgs first).
inline VARIANT& EventArg(const DISPPARAMS* params, UINT index) { return params->rgvarg[params->cArgs - 1 - index]; }

// Advises `sink` on `source`'s connection point for `events` (storing the cookie), or, with
// `subscribe` false, unadvises the stored cookie and clears it. Nothing without a source.
HRESULT SubscribeEvents(IUnknown* source, REFIID events, IUnknown* sink, DWORD& cookie, bool subscribe);

// A copy of the text as a new BSTR (ANSI code page); null for null text or no memory.
BSTR AllocWideString(const char* text);

}  // namespace SkinUI
