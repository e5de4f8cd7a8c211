// What the accessibility tests of the host share: a window built from markup and read as a
// screen reader reads it, and the calls a client may make on an object it kept.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/HostBed.h"

namespace testbed {

// A window with a tree built from markup, laid out and painted once; COM is up for the objects.
class AccessibleBed {
public:
    explicit AccessibleBed(const char* xml);
    ~AccessibleBed();

    SkinUI::CControlUI* Find(const char* name) { return wnd->Host().FindControlByName(name); }
    // The client object as a screen reader gets it; released by the caller.
    IAccessible* Client();

    std::unique_ptr<HostWindow> wnd;
};

VARIANT Self();
// Every object under `object`, depth-first, each with a reference the caller releases.
std::vector<IAccessible*> AllObjects(IAccessible* object);
// The first of `objects` with this name and role (0: any role); not referenced again.
IAccessible* Named(const std::vector<IAccessible*>& objects, const std::string& name, long role = 0);
void ReleaseAll(std::vector<IAccessible*>& objects);
std::string NameOf(IAccessible* object);
// A text the object says of itself (&IAccessible::get_accValue, ...) as UTF-8; "" for none.
std::string TextOf(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*read)(VARIANT, BSTR*));
// Every call a client may make on an object it kept, with what each answered.
std::vector<std::pair<const char*, HRESULT>> CallEverything(IAccessible* object);
// Each of those calls must answer CO_E_OBJNOTCONNECTED once the control or the host has gone.
void ExpectDisconnected(IAccessible* object, const char* what);

}  // namespace testbed
