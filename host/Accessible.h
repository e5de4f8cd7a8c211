// CAccessibleUI: the IAccessible of one control, or of a host's whole client area.
//
// Objects are made on demand by the host's registry (CAccessibleRegistry), which holds one
// reference to each for as long as its control lives. When the control goes (ForgetControl) or the
// host does, the registry disconnects the object: from then on every call answers
// CO_E_OBJNOTCONNECTED and touches neither control nor host, however long a client keeps it.
//
// Children follow the control tree, skipping what AccessibleTraits does not expose; an open
// combo's rows (lent to its drop-down's window) and a text's links (AccessibleLinks; objects for a
// part of a control) are children too. They are handed out as objects of their own (IEnumVARIANT
// gives them as IDispatch), and the child id of an object is the registry's id for it, stable for
// the object's life. A child id other than CHILDID_SELF names any object of the same host.
// Locations are screen pixels; a link that is not laid out now answers CO_E_OBJNOTCONNECTED.
//
// Calls arrive on the window's thread (the marshalling of WM_GETOBJECT sees to that); a default
// action is posted to the window and runs after the call has returned, so no client waits on a
// message box the action opens.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <vector>

#include "core/UIString.h"

namespace SkinUI {

class CControlUI;
class CWindowHostUI;

class CAccessibleUI : public IAccessible, public IEnumVARIANT {
public:
    // `control` null: the object of the host's client area; `part` -1: the control itself, else the
    // index of one of its links.
    CAccessibleUI(CWindowHostUI* host, CControlUI* control, int part, long id);
    CAccessibleUI(const CAccessibleUI&) = delete;
    CAccessibleUI& operator=(const CAccessibleUI&) = delete;

    long GetId() const { return m_id; }
    CControlUI* GetControl() const { return m_control; }
    int GetPart() const { return m_part; }
    bool IsConnected() const { return m_host != nullptr; }
    // The control or host is going: never touch either again.
    void Disconnect();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch: clients call IAccessible directly; no type information is offered.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
        EXCEPINFO* exception, UINT* argError) override;

    // IAccessible
    STDMETHODIMP get_accParent(IDispatch** parent) override;
    STDMETHODIMP get_accChildCount(long* count) override;
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** dispatch) override;
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override;
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override;
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override;
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override;
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override;
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override;
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    STDMETHODIMP get_accFocus(VARIANT* focus) override;
    STDMETHODIMP get_accSelection(VARIANT* selection) override;
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override;
    STDMETHODIMP accSelect(long flags, VARIANT child) override;
    STDMETHODIMP accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override;
    STDMETHODIMP accHitTest(long left, long top, VARIANT* child) override;
    STDMETHODIMP accDoDefaultAction(VARIANT child) override;
    STDMETHODIMP put_accName(VARIANT child, BSTR name) override;
    STDMETHODIMP put_accValue(VARIANT child, BSTR value) override;

    // IEnumVARIANT over the exposed children, each as VT_DISPATCH.
    STDMETHODIMP Next(ULONG count, VARIANT* items, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumVARIANT** copy) override;

    // The exposed controls directly under `control` (under the root for the client object):
    // layouts that only arrange are looked through.
    static void ExposedChildren(CControlUI* control, std::vector<CControlUI*>& out);

private:
    struct TChild {
        CControlUI* Control;
        int Part;  // -1: the control itself
    };

    virtual ~CAccessibleUI();
    // Connected, and a part (a link) still laid out.
    bool IsLive() const;
    // Resolves `child` to the object it names (this for CHILDID_SELF); null with `hr` set otherwise.
    CAccessibleUI* Target(const VARIANT& child, HRESULT& hr);
    // The text `read` gives for the object `child` names: S_FALSE and null when it is empty.
    HRESULT AnswerText(const VARIANT& child, BSTR* out, CUIString (*read)(const CAccessibleUI& object));
    std::vector<TChild> Children() const;
    CAccessibleUI* ObjectOf(const TChild& child) const;
    // The object that stands for `control` (AccessibleTraits::ReadableAtOrAbove), or the client's.
    CAccessibleUI* ObjectAbove(CControlUI* control) const;
    // The object above this one: the text of a link, the combo of a row in its drop-down.
    CAccessibleUI* ParentObject() const;
    // The native window the control lives in (a drop-down's for a row lent to it).
    HWND WindowOfControl() const;
    // A native window of the control, the last child (null for none).
    HWND NativeChild() const;

    LONG m_refs = 1;
    CWindowHostUI* m_host;  // not owned; null once disconnected
    CControlUI* m_control;  // not owned; null for the client object and once disconnected
    bool m_isClient;
    int m_part;  // -1, or the index of the control's link this object stands for
    long m_id;  // child id in every object of the host; 0 for the client object
    ULONG m_cursor = 0;  // IEnumVARIANT position
};

}  // namespace SkinUI
