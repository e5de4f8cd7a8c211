#include "AccessibleTestSupport.h"

#include <gtest/gtest.h>

#include "skin/SkinBuilder.h"
#include "support/AccessibleDump.h"
#include "support/TestBed.h"

using namespace SkinUI;

namespace testbed {

AccessibleBed::AccessibleBed(const char* xml)
    : wnd(new HostWindow(300, 500))
{
    ::CoInitialize(nullptr);
    CSkinBuilder builder;
    CControlUI* root = builder.BuildFrom(xml, nullptr, nullptr, &wnd->Host(), nullptr);
    wnd->Host().AttachRoot(root);
    wnd->Repaint();
    testbed::PumpPending();
}

AccessibleBed::~AccessibleBed()
{
    wnd.reset();
    ::CoUninitialize();
}

IAccessible* AccessibleBed::Client() { return testbed::ClientObject(wnd->Handle()); }

VARIANT Self()
{
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
}

std::vector<IAccessible*> AllObjects(IAccessible* object)
{
    std::vector<IAccessible*> out;
    long count = 0;
    object->get_accChildCount(&count);
    std::vector<VARIANT> children(static_cast<size_t>(count > 0 ? count : 1));
    long obtained = 0;
    if (count <= 0 || FAILED(::AccessibleChildren(object, 0, count, children.data(), &obtained)))
        return out;
    for (long i = 0; i < obtained; ++i) {
        IAccessible* child = nullptr;
        if (children[i].vt == VT_DISPATCH
            && SUCCEEDED(children[i].pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&child)))) {
            out.push_back(child);
            for (IAccessible* below : AllObjects(child))
                out.push_back(below);
        }
        ::VariantClear(&children[i]);
    }
    return out;
}

std::string NameOf(IAccessible* object)
{
    BSTR name = nullptr;
    const HRESULT hr = object->get_accName(Self(), &name);
    const std::string text = SUCCEEDED(hr) ? testbed::Utf8(name) : "error";
    ::SysFreeString(name);
    return text;
}

IAccessible* Named(const std::vector<IAccessible*>& objects, const std::string& name, long role)
{
    for (IAccessible* object : objects) {
        VARIANT r;
        ::VariantInit(&r);
        object->get_accRole(Self(), &r);
        if (NameOf(object) == name && (role == 0 || r.lVal == role))
            return object;
    }
    return nullptr;
}

void ReleaseAll(std::vector<IAccessible*>& objects)
{
    for (IAccessible* object : objects)
        object->Release();
    objects.clear();
}

std::string TextOf(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*read)(VARIANT, BSTR*))
{
    BSTR text = nullptr;
    const HRESULT hr = (object->*read)(Self(), &text);
    const std::string out = SUCCEEDED(hr) ? testbed::Utf8(text) : "";
    ::SysFreeString(text);
    return out;
}

std::vector<std::pair<const char*, HRESULT>> CallEverything(IAccessible* object)
{
    const VARIANT self = Self();
    std::vector<std::pair<const char*, HRESULT>> results;
    BSTR text = nullptr;
    VARIANT v;
    ::VariantInit(&v);
    long n = 0, m = 0, w = 0, h = 0;
    IDispatch* dispatch = nullptr;
    results.emplace_back("get_accName", object->get_accName(self, &text));
    results.emplace_back("get_accValue", object->get_accValue(self, &text));
    results.emplace_back("get_accDescription", object->get_accDescription(self, &text));
    results.emplace_back("get_accRole", object->get_accRole(self, &v));
    results.emplace_back("get_accState", object->get_accState(self, &v));
    results.emplace_back("get_accKeyboardShortcut", object->get_accKeyboardShortcut(self, &text));
    results.emplace_back("get_accDefaultAction", object->get_accDefaultAction(self, &text));
    results.emplace_back("get_accChildCount", object->get_accChildCount(&n));
    results.emplace_back("get_accParent", object->get_accParent(&dispatch));
    results.emplace_back("get_accChild", object->get_accChild(self, &dispatch));
    results.emplace_back("get_accFocus", object->get_accFocus(&v));
    results.emplace_back("get_accSelection", object->get_accSelection(&v));
    results.emplace_back("accLocation", object->accLocation(&n, &m, &w, &h, self));
    results.emplace_back("accHitTest", object->accHitTest(1, 1, &v));
    results.emplace_back("accNavigate", object->accNavigate(NAVDIR_FIRSTCHILD, self, &v));
    results.emplace_back("accSelect", object->accSelect(SELFLAG_TAKEFOCUS, self));
    results.emplace_back("accDoDefaultAction", object->accDoDefaultAction(self));
    IEnumVARIANT* children = nullptr;
    if (SUCCEEDED(object->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&children)))) {
        ULONG fetched = 0;
        results.emplace_back("Reset", children->Reset());
        results.emplace_back("Next", children->Next(1, &v, &fetched));
        children->Release();
    }
    return results;
}

void ExpectDisconnected(IAccessible* object, const char* what)
{
    for (const auto& call : CallEverything(object))
        EXPECT_EQ(call.second, CO_E_OBJNOTCONNECTED) << what << ": " << call.first;
}

}  // namespace testbed
