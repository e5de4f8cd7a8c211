#include "host/Accessible.h"

#include <oleauto.h>

#include "controls/base/Container.h"
#include "controls/base/Control.h"
#include "controls/list/ListInterfaces.h"
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
    object->AddRef();
    out->vt = VT_DISPATCH;
    out->pdispVal = static_cast<IAccessible*>(object);
}

}  // namespace

CAccessibleUI::CAccessibleUI(CWindowHostUI* host, CControlUI* control, long id)
    : m_host(host)
    , m_control(control)
    , m_isClient(control == nullptr)
    , m_id(id)
{
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

std::vector<CControlUI*> CAccessibleUI::Children() const
{
    std::vector<CControlUI*> children;
    if (m_isClient) {
        CControlUI* root = m_host->GetRoot();
        if (root != nullptr && root->IsVisible()) {
            if (AccessibleTraits::IsExposed(root))
                children.push_back(root);
            else
                ExposedChildren(root, children);
        }
    } else if (AccessibleTraits::HasChildObjects(AccessibleTraits::RoleOf(m_control))) {
        ExposedChildren(m_control, children);
    }
    return children;
}

CAccessibleUI* CAccessibleUI::ObjectAbove(CControlUI* control) const
{
    return m_host->AccessibleObjectOf(AccessibleTraits::ReadableAtOrAbove(control));
}

HWND CAccessibleUI::NativeChild() const { return m_isClient ? nullptr : AccessibleTraits::NativeWindowOf(m_control); }

CAccessibleUI* CAccessibleUI::Target(const VARIANT& child, HRESULT& hr)
{
    hr = S_OK;
    if (m_host == nullptr) {
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
    return object;
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
    if (m_host == nullptr)
        return CO_E_OBJNOTCONNECTED;
    if (m_isClient) {
        // The client area's parent is the window's own object, which the system provides.
        return ::CreateStdAccessibleObject(
            m_host->GetPaintWindow(), OBJID_WINDOW, IID_IDispatch, reinterpret_cast<void**>(parent));
    }
    CAccessibleUI* above = ObjectAbove(m_control->GetParent());
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
    if (m_host == nullptr)
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
        const std::vector<CControlUI*> children = from->Children();
        if (children.empty())
            return S_FALSE;
        SetDispatch(
            end, m_host->AccessibleObjectOf(direction == NAVDIR_FIRSTCHILD ? children.front() : children.back()));
        return S_OK;
    }
    if (direction != NAVDIR_NEXT && direction != NAVDIR_PREVIOUS)
        return DISP_E_MEMBERNOTFOUND;  // spatial navigation is left to the client's own geometry
    if (from->m_isClient)
        return S_FALSE;
    CAccessibleUI* parent = ObjectAbove(from->m_control->GetParent());
    const std::vector<CControlUI*> siblings = parent->Children();
    for (size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i] != from->m_control)
            continue;
        if (direction == NAVDIR_NEXT && i + 1 < siblings.size()) {
            SetDispatch(end, m_host->AccessibleObjectOf(siblings[i + 1]));
            return S_OK;
        }
        if (direction == NAVDIR_PREVIOUS && i > 0) {
            SetDispatch(end, m_host->AccessibleObjectOf(siblings[i - 1]));
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
    if (m_host == nullptr)
        return CO_E_OBJNOTCONNECTED;
    POINT pt = {left, top};
    ::ScreenToClient(m_host->GetPaintWindow(), &pt);
    RECT client = {};
    ::GetClientRect(m_host->GetPaintWindow(), &client);
    if (!::PtInRect(&client, pt))
        return S_FALSE;
    CAccessibleUI* hit = ObjectAbove(m_host->FindControlAt(pt));
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
    if (object->m_isClient || !AccessibleTraits::ValueOf(object->m_control, text)) {
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
        return object.m_isClient ? CUIString() : AccessibleTraits::DescriptionOf(object.m_control);
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
    role->lVal = object->m_isClient ? ROLE_SYSTEM_CLIENT : AccessibleTraits::RoleOf(object->m_control);
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
    const HWND window = m_host->GetPaintWindow();
    RECT client = {};
    ::GetClientRect(window, &client);
    state->vt = VT_I4;
    if (object->m_isClient) {
        state->lVal = STATE_SYSTEM_FOCUSABLE | (::GetFocus() == window ? STATE_SYSTEM_FOCUSED : 0)
            | (::IsWindowVisible(window) ? 0 : STATE_SYSTEM_INVISIBLE);
        return S_OK;
    }
    state->lVal = AccessibleTraits::StateOf(object->m_control, m_host->GetFocusControl(), client);
    return S_OK;
}

STDMETHODIMP CAccessibleUI::get_accHelp(VARIANT, BSTR* help)
{
    if (help != nullptr)
        *help = nullptr;
    return m_host == nullptr ? CO_E_OBJNOTCONNECTED : DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP CAccessibleUI::get_accHelpTopic(BSTR* file, VARIANT, long* topic)
{
    if (file != nullptr)
        *file = nullptr;
    if (topic != nullptr)
        *topic = 0;
    return m_host == nullptr ? CO_E_OBJNOTCONNECTED : DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP CAccessibleUI::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut)
{
    return AnswerText(child, shortcut, [](const CAccessibleUI& object) {
        return object.m_isClient ? CUIString() : AccessibleTraits::ShortcutOf(object.m_control);
    });
}

STDMETHODIMP CAccessibleUI::get_accFocus(VARIANT* focus)
{
    if (focus == nullptr)
        return E_INVALIDARG;
    ::VariantInit(focus);
    if (m_host == nullptr)
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
    if (selection != nullptr)
        ::VariantInit(selection);
    return m_host == nullptr ? CO_E_OBJNOTCONNECTED : DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP CAccessibleUI::get_accDefaultAction(VARIANT child, BSTR* action)
{
    return AnswerText(child, action, [](const CAccessibleUI& object) {
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
    const HWND window = m_host->GetPaintWindow();
    RECT rect = {};
    if (object->m_isClient)
        ::GetClientRect(window, &rect);
    else
        rect = object->m_control->GetPosition();
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
    if (flags != SELFLAG_TAKEFOCUS || object->m_isClient)
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
    if (object->m_isClient || AccessibleTraits::DefaultActionOf(object->m_control).IsEmpty())
        return DISP_E_MEMBERNOTFOUND;
    return m_host->PostAccessibleAction(object->m_id) ? S_OK : E_FAIL;
}

STDMETHODIMP CAccessibleUI::put_accName(VARIANT, BSTR) { return m_host == nullptr ? CO_E_OBJNOTCONNECTED : E_NOTIMPL; }

STDMETHODIMP CAccessibleUI::put_accValue(VARIANT, BSTR) { return m_host == nullptr ? CO_E_OBJNOTCONNECTED : E_NOTIMPL; }

//--- IEnumVARIANT -------------------------------------------------------------------------------

STDMETHODIMP CAccessibleUI::Next(ULONG count, VARIANT* items, ULONG* fetched)
{
    if (fetched != nullptr)
        *fetched = 0;
    if (items == nullptr)
        return E_INVALIDARG;
    if (m_host == nullptr)
        return CO_E_OBJNOTCONNECTED;
    const std::vector<CControlUI*> children = Children();
    // A native window the control shows comes last, as the system describes it.
    const HWND native = NativeChild();
    const ULONG total = static_cast<ULONG>(children.size()) + (native != nullptr ? 1 : 0);
    ULONG done = 0;
    for (; done < count && m_cursor < total; ++m_cursor) {
        ::VariantInit(&items[done]);
        if (m_cursor < children.size()) {
            SetDispatch(&items[done++], m_host->AccessibleObjectOf(children[m_cursor]));
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
    if (m_host == nullptr)
        return CO_E_OBJNOTCONNECTED;
    const ULONG size = static_cast<ULONG>(Children().size()) + (NativeChild() != nullptr ? 1 : 0);
    const bool enough = count <= size && m_cursor <= size - count;
    m_cursor = enough ? m_cursor + count : size;
    return enough ? S_OK : S_FALSE;
}

STDMETHODIMP CAccessibleUI::Reset()
{
    if (m_host == nullptr)
        return CO_E_OBJNOTCONNECTED;
    m_cursor = 0;
    return S_OK;
}

STDMETHODIMP CAccessibleUI::Clone(IEnumVARIANT** copy)
{
    if (copy != nullptr)
        *copy = nullptr;
    // One cursor per object: clients that need two walk with AccessibleChildren twice.
    return m_host == nullptr ? CO_E_OBJNOTCONNECTED : E_NOTIMPL;
}

}  // namespace SkinUI
