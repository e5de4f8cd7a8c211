#include "host/Accessible.h"

#include <oleauto.h>

#include "controls/base/Container.h"
#include "controls/base/Control.h"
#include "controls/layout/ChildLayout.h"
#include "controls/list/ListInterfaces.h"
#include "host/AccessibleLinks.h"
#include "host/AccessibleSelection.h"
#include "host/AccessibleText.h"
#include "host/AccessibleTraits.h"
#include "host/WindowHost.h"

namespace SkinUI {

namespace {

// A tree deeper than this is not walked further: a bound, not a limit any skin reaches.
const int kMaxDepth = 256;

void CollectExposed(CControlUI* control, std::vector<CControlUI*>& out, int depth)
{
    if (depth > kMaxDepth)
        return;
    IContainerUI* container = ControlCast<IContainerUI>(control);
    // A child layout keeps its document's tree from the skin builder, not from a reader.
    if (CChildLayoutUI* child = ControlCast<CChildLayoutUI>(control))
        container = child;
    if (container == nullptr)
        return;
    // A list that gives out no rows (a virtual one) shows the rows in view through the row
    // controls of its body: those are what a reader can see.
    const IListUI* list = ControlCast<IListUI>(control);
    if (container->ChildCount() == 0 && list != nullptr && list->GetBody() != nullptr)
        container = ControlCast<IContainerUI>(list->GetBody());
    if (container == nullptr)
        return;
    for (int i = 0; i < container->ChildCount(); ++i) {
        CControlUI* child = container->ChildAt(i);
        if (child == nullptr || !child->IsVisible())
            continue;
        if (AccessibleTraits::IsExposed(child))
            out.push_back(child);
        else if (AccessibleTraits::RoleOf(child) == 0)
            CollectExposed(child, out, depth + 1);
    }
}

HRESULT Answer(const CUIString& text, BSTR* out)
{
    if (out == nullptr)
        return E_INVALIDARG;
    *out = nullptr;
    if (text.IsEmpty())
        return S_FALSE;
    *out = AnsiToBstr(text.GetData());
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

void SetDispatch(VARIANT* out, CAccessibleUI* object)
{
    if (object == nullptr)
        return;
    object->AddRef();
    out->vt = VT_DISPATCH;
    out->pdispVal = static_cast<IAccessible*>(object);
}

// The link `part` of the control stands for, when it is laid out now.
bool LinkOf(CControlUI* control, int part, AccessibleLinks::TLink& link)
{
    const std::vector<AccessibleLinks::TLink> links = AccessibleLinks::LinksOf(control);
    if (part < 0 || static_cast<size_t>(part) >= links.size())
        return false;
    link = links[static_cast<size_t>(part)];
    return true;
}

}  // namespace

CAccessibleUI::CAccessibleUI(CWindowHostUI* host, CControlUI* control, int part, long id)
    : m_host(host)
    , m_control(control)
    , m_isClient(control == nullptr)
    , m_part(control == nullptr ? -1 : part)
    , m_id(id)
{
}

bool CAccessibleUI::IsLive() const
{
    AccessibleLinks::TLink link;
    return m_host != nullptr && (m_part < 0 || LinkOf(m_control, m_part, link));
}

CAccessibleUI::~CAccessibleUI() = default;

void CAccessibleUI::Disconnect()
{
    m_host = nullptr;
    m_control = nullptr;
}

void CAccessibleUI::ExposedChildren(CControlUI* control, std::vector<CControlUI*>& out)
{
    if (control != nullptr)
        CollectExposed(control, out, 0);
}

std::vector<CAccessibleUI::TChild> CAccessibleUI::Children() const
{
    std::vector<CControlUI*> controls;
    if (m_isClient) {
        CControlUI* root = m_host->GetRoot();
        if (root != nullptr && root->IsVisible()) {
            if (AccessibleTraits::IsExposed(root))
                controls.push_back(root);
            else
                ExposedChildren(root, controls);
        }
    } else if (m_part < 0
        && (AccessibleTraits::HasChildObjects(AccessibleTraits::RoleOf(m_control))
            || AccessibleTraits::ShowsDropDown(m_control))) {
        ExposedChildren(m_control, controls);
    }
    std::vector<TChild> children;
    for (CControlUI* control : controls)
        children.push_back({control, -1});
    if (!m_isClient && m_part < 0) {
        const size_t links = AccessibleLinks::LinksOf(m_control).size();
        for (size_t i = 0; i < links; ++i)
            children.push_back({m_control, static_cast<int>(i)});
    }
    return children;
}

CAccessibleUI* CAccessibleUI::ObjectOf(const TChild& child) const
{
    return m_host->AccessibleObjectOf(child.Control, child.Part);
}

CAccessibleUI* CAccessibleUI::ObjectAbove(CControlUI* control) const
{
    return m_host->AccessibleObjectOf(AccessibleTraits::ReadableAtOrAbove(control));
}

CAccessibleUI* CAccessibleUI::ParentObject() const
{
    if (m_part >= 0)
        return m_host->AccessibleObjectOf(m_control);
    CControlUI* combo = AccessibleTraits::DropDownOwnerOf(m_control, m_host->GetRoot());
    return ObjectAbove(combo != nullptr ? combo : m_control->GetParent());
}

HWND CAccessibleUI::WindowOfControl() const
{
    CWindowHostUI* own = m_control != nullptr ? m_control->GetHost() : nullptr;
    return own != nullptr && own->GetPaintWindow() != nullptr ? own->GetPaintWindow() : m_host->GetPaintWindow();
}

HWND CAccessibleUI::NativeChild() const
{
    return m_isClient || m_part >= 0 ? nullptr : AccessibleTraits::NativeWindowOf(m_control);
}

CAccessibleUI* CAccessibleUI::Target(const VARIANT& child, HRESULT& hr)
{
    hr = S_OK;
    if (!IsLive()) {
        hr = CO_E_OBJNOTCONNECTED;
        return nullptr;
    }
    if (child.vt != VT_I4) {
        hr = E_INVALIDARG;
        return nullptr;
    }
    if (child.lVal == CHILDID_SELF)
        return this;
    CAccessibleUI* object = m_host->AccessibleById(child.lVal);
    if (object == nullptr)
        hr = E_INVALIDARG;
    else if (!object->IsLive())
        hr = CO_E_OBJNOTCONNECTED;
    return SUCCEEDED(hr) ? object : nullptr;
}

HRESULT CAccessibleUI::AnswerText(const VARIANT& child, BSTR* out, CUIString (*read)(const CAccessibleUI& object))
{
    if (out != nullptr)
        *out = nullptr;
    HRESULT hr = S_OK;
    CAccessibleUI* object = Target(child, hr);
    if (object == nullptr)
        return hr;
    return Answer(read(*object), out);
}

//--- IUnknown and IDispatch ---------------------------------------------------------------------

STDMETHODIMP CAccessibleUI::QueryInterface(REFIID riid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible)
        *out = static_cast<IAccessible*>(this);
    else if (riid == IID_IEnumVARIANT)
        *out = static_cast<IEnumVARIANT*>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CAccessibleUI::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }

STDMETHODIMP_(ULONG) CAccessibleUI::Release()
{
    const LONG refs = ::InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return static_cast<ULONG>(refs);
}

STDMETHODIMP CAccessibleUI::GetTypeInfoCount(UINT* count)
{
    if (count == nullptr)
        return E_INVALIDARG;
    *count = 0;
    return S_OK;
}

STDMETHODIMP CAccessibleUI::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info != nullptr)
        *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CAccessibleUI::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP CAccessibleUI::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

//--- tree ---------------------------------------------------------------------------------------

STDMETHODIMP CAccessibleUI::get_accParent(IDispatch** parent)
{
    if (parent == nullptr)
        return E_INVALIDARG;
    *parent = nullptr;
    if (!IsLive())
        return CO_E_OBJNOTCONNECTED;
    if (m_isClient) {
        // The client area's parent is the window's own object, which the system provides.
        return ::CreateStdAccessibleObject(
            m_host->GetPaintWindow(), OBJID_WINDOW, IID_IDispatch, reinterpret_cast<void**>(parent));
    }
    CAccessibleUI* above = ParentObject();
    if (above == nullptr)
        return S_FALSE;
    above->AddRef();
    *parent = static_cast<IAccessible*>(above);
    return S_OK;
}

STDMETHODIMP CAccessibleUI::get_accChildCount(long* count)
{
    if (count == nullptr)
        return E_INVALIDARG;
    *count = 0;
    if (!IsLive())
        return CO_E_OBJNOTCONNECTED;
    *count = static_cast<long>(Children().size()) + (NativeChild() != nullptr ? 1 : 0);
    return S_OK;
}

STDMETHODIMP CAccessibleUI::get_accChild(VARIANT child, IDispatch** dispatch)
{
    if (dispatch == nullptr)
        return E_INVALIDARG;
    *dispatch = nullptr;
    HRESULT hr = S_OK;
    CAccessibleUI* object = Target(child, hr);
    if (object == nullptr)
        return hr;
    object->AddRef();
    *dispatch = static_cast<IAccessible*>(object);
    return S_OK;
}

STDMETHODIMP CAccessibleUI::accNavigate(long direction, VARIANT start, VARIANT* end)
{
    if (end == nullptr)
        return E_INVALIDARG;
    ::VariantInit(end);
    HRESULT hr = S_OK;
    CAccessibleUI* from = Target(start, hr);
    if (from == nullptr)
        return hr;
    if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
        const std::vector<TChild> children = from->Children();
        if (children.empty())
            return S_FALSE;
        SetDispatch(end, ObjectOf(direction == NAVDIR_FIRSTCHILD ? children.front() : children.back()));
        return S_OK;
    }
    if (direction != NAVDIR_NEXT && direction != NAVDIR_PREVIOUS)
        return DISP_E_MEMBERNOTFOUND;  // spatial navigation is left to the client's own geometry
    if (from->m_isClient)
        return S_FALSE;
    CAccessibleUI* parent = from->ParentObject();
    const std::vector<TChild> siblings = parent != nullptr ? parent->Children() : std::vector<TChild>();
    for (size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i].Control != from->m_control || siblings[i].Part != from->m_part)
            continue;
        if (direction == NAVDIR_NEXT && i + 1 < siblings.size()) {
            SetDispatch(end, ObjectOf(siblings[i + 1]));
            return S_OK;
        }
        if (direction == NAVDIR_PREVIOUS && i > 0) {
            SetDispatch(end, ObjectOf(siblings[i - 1]));
            return S_OK;
        }
        break;
    }
    return S_FALSE;
}

STDMETHODIMP CAccessibleUI::accHitTest(long left, long top, VARIANT* child)
{
    if (child == nullptr)
        return E_INVALIDARG;
    ::VariantInit(child);
    if (!IsLive())
        return CO_E_OBJNOTCONNECTED;
    POINT pt = {left, top};
    ::ScreenToClient(m_host->GetPaintWindow(), &pt);
    RECT client = {};
    ::GetClientRect(m_host->GetPaintWindow(), &client);
    if (!::PtInRect(&client, pt))
        return S_FALSE;
    CControlUI* under = m_host->FindControlAt(pt);
    CAccessibleUI* hit = ObjectAbove(under);
    // A link of a text is the object under the point where it is drawn.
    const std::vector<AccessibleLinks::TLink> links = AccessibleLinks::LinksOf(under);
    for (size_t i = 0; i < links.size() && hit != nullptr && hit->m_control == under; ++i) {
        if (links[i].Rect.Contains(pt))
            hit = m_host->AccessibleObjectOf(under, static_cast<int>(i));
    }
    if (hit == nullptr)
        return S_FALSE;
    if (hit == this) {
        child->vt = VT_I4;
        child->lVal = CHILDID_SELF;
    } else {
        SetDispatch(child, hit);
    }
    return S_OK;
}

//--- what the object says -----------------------------------------------------------------------

STDMETHODIMP CAccessibleUI::get_accName(VARIANT child, BSTR* name)
{
    return AnswerText(child, name, [](const CAccessibleUI& object) {
        AccessibleLinks::TLink link;
        if (object.m_part >= 0)
            return LinkOf(object.m_control, object.m_part, link) ? link.Name : CUIString();
        if (!object.m_isClient)
            return AccessibleTraits::NameOf(object.m_control);
        char title[256] = {};
        ::GetWindowTextA(object.m_host->GetPaintWindow(), title, sizeof(title));
        return CUIString(title);
    });
}

STDMETHODIMP CAccessibleUI::get_accValue(VARIANT child, BSTR* value)
{
    HRESULT hr = S_OK;
    CAccessibleUI* object = Target(child, hr);
    if (object == nullptr) {
        if (value != nullptr)
            *value = nullptr;
        return hr;
    }
    CUIString text;
    AccessibleLinks::TLink link;
    // A link's value is where it leads, as the system's own links answer.
    if (object->m_part >= 0 && LinkOf(object->m_control, object->m_part, link))
        text = link.Target;
    else if (object->m_isClient || object->m_part >= 0 || !AccessibleTraits::ValueOf(object->m_control, text)) {
        if (value != nullptr)
            *value = nullptr;
        return DISP_E_MEMBERNOTFOUND;
    }
    // An empty value is still a value (an empty edit), unlike an empty name.
    if (value == nullptr)
        return E_INVALIDARG;
    *value = AnsiToBstr(text.GetData());
    return *value != nullptr ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CAccessibleUI::get_accDescription(VARIANT child, BSTR* description)
{
    return AnswerText(child, description, [](const CAccessibleUI& object) {
        return object.m_isClient || object.m_part >= 0 ? CUIString()
                                                       : AccessibleTraits::DescriptionOf(object.m_control);
    });
}

STDMETHODIMP CAccessibleUI::get_accRole(VARIANT child, VARIANT* role)
{
    if (role == nullptr)
        return E_INVALIDARG;
    ::VariantInit(role);
    HRESULT hr = S_OK;
    CAccessibleUI* object = Target(child, hr);
    if (object == nullptr)
        return hr;
    role->vt = VT_I4;
    if (object->m_isClient)
        role->lVal = ROLE_SYSTEM_CLIENT;
    else
        role->lVal = object->m_part >= 0 ? ROLE_SYSTEM_LINK : AccessibleTraits::RoleOf(object->m_control);
    return S_OK;
}

STDMETHODIMP CAccessibleUI::get_accState(VARIANT child, VARIANT* state)
{
    if (state == nullptr)
        return E_INVALIDARG;
    ::VariantInit(state);
    HRESULT hr = S_OK;
    CAccessibleUI* object = Target(child, hr);
    if (object == nullptr)
        return hr;
    const HWND window = object->WindowOfControl();
    RECT client = {};
    ::GetClientRect(window, &client);
    state->vt = VT_I4;
    if (object->m_isClient) {
        state->lVal = STATE_SYSTEM_FOCUSABLE | (::GetFocus() == window ? STATE_SYSTEM_FOCUSED : 0)
            | (::IsWindowVisible(window) ? 0 : STATE_SYSTEM_INVISIBLE);
        return S_OK;
    }
    AccessibleLinks::TLink link;
    if (object->m_part >= 0 && LinkOf(object->m_control, object->m_part, link)) {
        RECT visible = {};
        state->lVal = STATE_SYSTEM_LINKED | (object->m_control->IsEnabled() ? 0 : STATE_SYSTEM_UNAVAILABLE)
            | (::IntersectRect(&visible, &link.Rect, &client) ? 0 : STATE_SYSTEM_OFFSCREEN);
        return S_OK;
    }
    // A row lent to a drop-down is focused in the drop-down's host.
    CWindowHostUI* own = object->m_control->GetHost() != nullptr ? object->m_control->GetHost() : m_host;
    state->lVal = AccessibleTraits::StateOf(object->m_control, own->GetFocusControl(), client);
    return S_OK;
}

STDMETHODIMP CAccessibleUI::get_accHelp(VARIANT, BSTR* help)
{
    if (help != nullptr)
        *help = nullptr;
    return !IsLive() ? CO_E_OBJNOTCONNECTED : DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP CAccessibleUI::get_accHelpTopic(BSTR* file, VARIANT, long* topic)
{
    if (file != nullptr)
        *file = nullptr;
    if (topic != nullptr)
        *topic = 0;
    return !IsLive() ? CO_E_OBJNOTCONNECTED : DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP CAccessibleUI::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut)
{
    return AnswerText(child, shortcut, [](const CAccessibleUI& object) {
        return object.m_isClient || object.m_part >= 0 ? CUIString() : AccessibleTraits::ShortcutOf(object.m_control);
    });
}

STDMETHODIMP CAccessibleUI::get_accFocus(VARIANT* focus)
{
    if (focus == nullptr)
        return E_INVALIDARG;
    ::VariantInit(focus);
    if (!IsLive())
        return CO_E_OBJNOTCONNECTED;
    if (::GetFocus() != m_host->GetPaintWindow())
        return S_FALSE;
    CControlUI* control = m_host->GetFocusControl();
    CAccessibleUI* object = control != nullptr ? ObjectAbove(control) : m_host->AccessibleObjectOf(nullptr);
    if (object == this) {
        focus->vt = VT_I4;
        focus->lVal = CHILDID_SELF;
    } else {
        SetDispatch(focus, object);
    }
    return S_OK;
}

STDMETHODIMP CAccessibleUI::get_accSelection(VARIANT* selection)
{
    if (selection == nullptr)
        return E_INVALIDARG;
    ::VariantInit(selection);
    if (!IsLive())
        return CO_E_OBJNOTCONNECTED;
    if (m_isClient || m_part >= 0 || !AccessibleTraits::HasSelection(m_control))
        return DISP_E_MEMBERNOTFOUND;
    const HWND window = WindowOfControl();
    RECT client = {};
    ::GetClientRect(window, &client);
    std::vector<CAccessibleUI*> selected;
    for (const TChild& child : Children()) {
        CWindowHostUI* own = child.Control->GetHost() != nullptr ? child.Control->GetHost() : m_host;
        if (child.Part < 0
            && (AccessibleTraits::StateOf(child.Control, own->GetFocusControl(), client) & STATE_SYSTEM_SELECTED)
                != 0) {
            CAccessibleUI* object = ObjectOf(child);
            if (object != nullptr)
                selected.push_back(object);
        }
    }
    // None: VT_EMPTY; one: that object; more: an enumeration of them (every child is an object of
    // its own here, so no child is named by a bare child id).
    if (selected.size() == 1) {
        SetDispatch(selection, selected.front());
    } else if (selected.size() > 1) {
        selection->vt = VT_UNKNOWN;
        selection->punkVal = CAccessibleSelection::Make(selected);
        if (selection->punkVal == nullptr) {
            selection->vt = VT_EMPTY;
            return E_OUTOFMEMORY;
        }
    }
    return S_OK;
}

STDMETHODIMP CAccessibleUI::get_accDefaultAction(VARIANT child, BSTR* action)
{
    return AnswerText(child, action, [](const CAccessibleUI& object) {
        if (object.m_part >= 0)
            return CUIString("Jump");
        return object.m_isClient ? CUIString() : AccessibleTraits::DefaultActionOf(object.m_control);
    });
}

STDMETHODIMP CAccessibleUI::accLocation(long* left, long* top, long* width, long* height, VARIANT child)
{
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr)
        return E_INVALIDARG;
    *left = *top = *width = *height = 0;
    HRESULT hr = S_OK;
    CAccessibleUI* object = Target(child, hr);
    if (object == nullptr)
        return hr;
    const HWND window = object->WindowOfControl();
    RECT rect = {};
    AccessibleLinks::TLink link;
    if (object->m_isClient)
        ::GetClientRect(window, &rect);
    else if (object->m_part >= 0 && LinkOf(object->m_control, object->m_part, link))
        rect = link.Rect;
    else
        rect = CurrentPosition(object->m_control);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    *left = rect.left;
    *top = rect.top;
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    return S_OK;
}

//--- what a client may do -----------------------------------------------------------------------

STDMETHODIMP CAccessibleUI::accSelect(long flags, VARIANT child)
{
    HRESULT hr = S_OK;
    CAccessibleUI* object = Target(child, hr);
    if (object == nullptr)
        return hr;
    if (flags != SELFLAG_TAKEFOCUS || object->m_isClient || object->m_part >= 0)
        return DISP_E_MEMBERNOTFOUND;
    m_host->SetFocusControl(object->m_control);
    return S_OK;
}

STDMETHODIMP CAccessibleUI::accDoDefaultAction(VARIANT child)
{
    HRESULT hr = S_OK;
    CAccessibleUI* object = Target(child, hr);
    if (object == nullptr)
        return hr;
    if (object->m_isClient || (object->m_part < 0 && AccessibleTraits::DefaultActionOf(object->m_control).IsEmpty()))
        return DISP_E_MEMBERNOTFOUND;
    return m_host->PostAccessibleAction(object->m_id) ? S_OK : E_FAIL;
}

STDMETHODIMP CAccessibleUI::put_accName(VARIANT, BSTR) { return !IsLive() ? CO_E_OBJNOTCONNECTED : E_NOTIMPL; }

STDMETHODIMP CAccessibleUI::put_accValue(VARIANT, BSTR) { return !IsLive() ? CO_E_OBJNOTCONNECTED : E_NOTIMPL; }

//--- IEnumVARIANT -------------------------------------------------------------------------------

STDMETHODIMP CAccessibleUI::Next(ULONG count, VARIANT* items, ULONG* fetched)
{
    if (fetched != nullptr)
        *fetched = 0;
    if (items == nullptr)
        return E_INVALIDARG;
    if (!IsLive())
        return CO_E_OBJNOTCONNECTED;
    const std::vector<TChild> children = Children();
    // A native window the control shows comes last, as the system describes it.
    const HWND native = NativeChild();
    const ULONG total = static_cast<ULONG>(children.size()) + (native != nullptr ? 1 : 0);
    ULONG done = 0;
    for (; done < count && m_cursor < total; ++m_cursor) {
        ::VariantInit(&items[done]);
        if (m_cursor < children.size()) {
            CAccessibleUI* object = ObjectOf(children[m_cursor]);
            if (object != nullptr)
                SetDispatch(&items[done++], object);
            continue;
        }
        IDispatch* object = nullptr;
        if (SUCCEEDED(::AccessibleObjectFromWindow(
                native, static_cast<DWORD>(OBJID_CLIENT), IID_IDispatch, reinterpret_cast<void**>(&object)))
            && object != nullptr) {
            items[done].vt = VT_DISPATCH;
            items[done++].pdispVal = object;
        }
    }
    if (fetched != nullptr)
        *fetched = done;
    return done == count ? S_OK : S_FALSE;
}

STDMETHODIMP CAccessibleUI::Skip(ULONG count)
{
    if (!IsLive())
        return CO_E_OBJNOTCONNECTED;
    const ULONG size = static_cast<ULONG>(Children().size()) + (NativeChild() != nullptr ? 1 : 0);
    const bool enough = count <= size && m_cursor <= size - count;
    m_cursor = enough ? m_cursor + count : size;
    return enough ? S_OK : S_FALSE;
}

STDMETHODIMP CAccessibleUI::Reset()
{
    if (!IsLive())
        return CO_E_OBJNOTCONNECTED;
    m_cursor = 0;
    return S_OK;
}

STDMETHODIMP CAccessibleUI::Clone(IEnumVARIANT** copy)
{
    if (copy != nullptr)
        *copy = nullptr;
    // One cursor per object: clients that need two walk with AccessibleChildren twice.
    return !IsLive() ? CO_E_OBJNOTCONNECTED : E_NOTIMPL;
}

}  // namespace SkinUI
