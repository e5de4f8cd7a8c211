// The attributes every control accepts. A null value reads as an empty one here, for every class.
#include <cstring>

#include "controls/base/Control.h"
#include "core/ValueParse.h"

namespace SkinUI {

namespace {

void SetGradientColor(CControlUI& control, uint32_t& field, const char* value)
{
    const uint32_t color = ParseColorSkipBlanks(value);
    if (color != field) {
        field = color;
        control.Invalidate();
    }
}

void StoreAndRepaint(CControlUI& control, int& field, const char* value)
{
    field = ParseInt(value);
    control.Invalidate();
}

}  // namespace

CAttributeTable<CControlUI> CControlUI::OwnAttributes()
{
    using C = CControlUI;
    static constexpr auto setBkColor = [](C& c, const char* v) { c.SetBackgroundColor(ParseColorSkipBlanks(v)); };
    static constexpr TAttributeHandler<C> kTable[] = {
        {"pos",
            [](C& c, const char* v) {
                const CRectUI r = ParseRect(v);
                // A negative left/top anchors the control to the parent's right/bottom edge.
                c.SetFloatOffset(CSizeUI(r.left >= 0 ? r.left : r.right, r.top >= 0 ? r.top : r.bottom));
                c.SetFixedWidth(r.right - r.left);
                c.SetFixedHeight(r.bottom - r.top);
            }},
        {"relativepos",
            [](C& c, const char* v) {
                int n[4] = {0, 0, 0, 0};
                ParseIntList(v, n, 4);
                c.SetRelativeRule(n[0], n[1], n[2], n[3]);
            }},
        {"padding", [](C& c, const char* v) { c.SetPadding(ParseRect(v)); }},
        {"bkcolor", setBkColor},
        {"bkcolor1", setBkColor},
        {"bkcolor2", [](C& c, const char* v) { SetGradientColor(c, c.m_bkColor2, v); }},
        {"bkcolor3", [](C& c, const char* v) { SetGradientColor(c, c.m_bkColor3, v); }},
        {"bordercolor", [](C& c, const char* v) { c.SetBorderColor(ParseColor(v)); }},
        {"focusbordercolor", [](C& c, const char* v) { c.SetFocusBorderColor(ParseColor(v)); }},
        {"colorhsl",
            [](C& c, const char* v) {
                const bool adjust = ParseFlag(v);
                if (adjust != c.m_colorHsl) {
                    c.m_colorHsl = adjust;
                    c.Invalidate();
                }
            }},
        {"bordersize",
            [](C& c, const char* v) {
                if (std::strchr(v, ',') != nullptr) {
                    const CRectUI sides = ParseRect(v);
                    c.m_leftBorderSize = sides.left;
                    c.m_topBorderSize = sides.top;
                    c.m_rightBorderSize = sides.right;
                    c.m_bottomBorderSize = sides.bottom;
                } else {
                    c.SetBorderSize(ParseInt(v));
                    c.m_leftBorderSize = c.m_topBorderSize = c.m_rightBorderSize = c.m_bottomBorderSize = 0;
                }
                c.Invalidate();
            }},
        {"leftbordersize", [](C& c, const char* v) { StoreAndRepaint(c, c.m_leftBorderSize, v); }},
        {"topbordersize", [](C& c, const char* v) { StoreAndRepaint(c, c.m_topBorderSize, v); }},
        {"rightbordersize", [](C& c, const char* v) { StoreAndRepaint(c, c.m_rightBorderSize, v); }},
        {"bottombordersize", [](C& c, const char* v) { StoreAndRepaint(c, c.m_bottomBorderSize, v); }},
        {"borderstyle", [](C& c, const char* v) { StoreAndRepaint(c, c.m_borderStyle, v); }},
        {"borderround", [](C& c, const char* v) { c.SetBorderRound(ParseSize(v)); }},
        {"bkimage", [](C& c, const char* v) { c.SetBackgroundImage(v); }},
        {"width", [](C& c, const char* v) { c.SetFixedWidth(ParseInt(v)); }},
        {"height", [](C& c, const char* v) { c.SetFixedHeight(ParseInt(v)); }},
        {"minwidth", [](C& c, const char* v) { c.SetMinWidth(ParseInt(v)); }},
        {"minheight", [](C& c, const char* v) { c.SetMinHeight(ParseInt(v)); }},
        {"maxwidth", [](C& c, const char* v) { c.SetMaxWidth(ParseInt(v)); }},
        {"maxheight", [](C& c, const char* v) { c.SetMaxHeight(ParseInt(v)); }},
        {"name", [](C& c, const char* v) { c.SetName(v); }},
        {"text", [](C& c, const char* v) { c.SetText(v); }},
        {"tooltip", [](C& c, const char* v) { c.SetTooltip(v); }},
        {"accname", [](C& c, const char* v) { c.SetAccessibleName(v); }},
        {"accdescription", [](C& c, const char* v) { c.SetAccessibleDescription(v); }},
        {"accrole", [](C& c, const char* v) { c.SetAccessibleRole(v); }},
        {"userdata", [](C& c, const char* v) { c.SetUserData(v); }},
        {"enabled", [](C& c, const char* v) { c.SetEnabled(ParseFlag(v)); }},
        {"mouse", [](C& c, const char* v) { c.SetAcceptsMouse(ParseFlag(v)); }},
        {"keyboard", [](C& c, const char* v) { c.SetAcceptsKeyboard(ParseFlag(v)); }},
        {"visible", [](C& c, const char* v) { c.SetVisible(ParseFlag(v)); }},
        {"float", [](C& c, const char* v) { c.SetFloating(ParseFlag(v)); }},
        {"shortcut", [](C& c, const char* v) { c.SetShortcutKey(v[0]); }},
        {"menu", [](C& c, const char* v) { c.SetWantsContextMenu(ParseFlag(v)); }},
        {"virtualwnd", [](C& c, const char* v) { c.SetVirtualWindow(v); }},
    };
    return kTable;
}

void CControlUI::StoreImage(CUIString& field, const char* imageText)
{
    field = imageText;
    Invalidate();
}

void CControlUI::SetAttribute(const char* name, const char* value)
{
    OwnAttributes().Apply(*this, name, value != nullptr ? value : "");
}

void CControlUI::AppendAttributeNames(TAttributeNames& names) { OwnAttributes().AppendNames(names); }

}  // namespace SkinUI
