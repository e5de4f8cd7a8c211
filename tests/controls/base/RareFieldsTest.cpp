// The properties few controls are given (tooltip, user data, virtual window, what screen readers
// read, shortcut, context menu, relative rule, tag, tooltip width) live in one block made at the
// first write: each must read its default until set, keep its value beside the others, and read the
// default again once cleared.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "controls/base/Control.h"

using namespace SkinUI;

namespace {

struct TRareCase {
    const char* what;
    std::function<void(CControlUI&, const char*)> write;
    std::function<std::string(const CControlUI&)> read;
    const char* unset;  // what a fresh control reads
    const char* value;  // written
    const char* readBack;  // read after the write
    const char* clear;  // written to clear it
    const char* cleared;  // read after the clearing write
};

std::function<void(CControlUI&, const char*)> Attribute(const char* name)
{
    return [name](CControlUI& c, const char* v) { c.SetAttribute(name, v); };
}

std::string RuleText(const TRelativePos& rule)
{
    if (!rule.Active)
        return "off";
    return std::to_string(rule.MoveX) + " " + std::to_string(rule.MoveY) + " " + std::to_string(rule.ZoomX) + " "
        + std::to_string(rule.ZoomY);
}

std::vector<TRareCase> RareCases()
{
    return {
        {"tooltip", Attribute("tooltip"), [](const CControlUI& c) { return std::string(c.GetTooltip()); }, "",
            "two<n>lines", "two\r\nlines", "", ""},
        {"user data", Attribute("userdata"), [](const CControlUI& c) { return std::string(c.GetUserData()); }, "", "42",
            "42", "", ""},
        {"virtual window", Attribute("virtualwnd"),
            [](const CControlUI& c) { return std::string(c.GetVirtualWindowName()); }, "", "pane", "pane", "", ""},
        {"accessible name", Attribute("accname"),
            [](const CControlUI& c) { return std::string(c.GetAccessibleName()); }, "", "Volume", "Volume", "", ""},
        {"accessible description", Attribute("accdescription"),
            [](const CControlUI& c) { return std::string(c.GetAccessibleDescription()); }, "", "Loudness", "Loudness",
            "", ""},
        {"accessible role", Attribute("accrole"),
            [](const CControlUI& c) { return std::string(c.GetAccessibleRole()); }, "", "slider", "slider", "", ""},
        {"shortcut", Attribute("shortcut"),
            [](const CControlUI& c) { return c.GetShortcutKey() != 0 ? std::string(1, c.GetShortcutKey()) : ""; }, "",
            "x", "x", "", ""},
        {"context menu", Attribute("menu"),
            [](const CControlUI& c) { return std::string(c.WantsContextMenu() ? "yes" : "no"); }, "no", "true", "yes",
            "false", "no"},
        {"relative rule", Attribute("relativepos"), [](const CControlUI& c) { return RuleText(c.GetRelativeRule()); },
            "off", "10,20,30,40", "10 20 30 40", "0,0,0,0", "0 0 0 0"},
        {"tag", [](CControlUI& c, const char* v) { c.SetTag(static_cast<UINT_PTR>(std::stoul(v))); },
            [](const CControlUI& c) { return std::to_string(c.GetTag()); }, "0", "7", "7", "0", "0"},
        {"tooltip width", [](CControlUI& c, const char* v) { c.SetTooltipWidth(std::stoi(v)); },
            [](const CControlUI& c) { return std::to_string(c.GetTooltipWidth()); }, "300", "120", "120", "300", "300"},
    };
}

}  // namespace

TEST(RareFields, EachReadsItsDefaultUntilSetKeepsItsValueBesideTheOthersAndClears)
{
    const std::vector<TRareCase> cases = RareCases();
    for (const TRareCase& c : cases) {
        SCOPED_TRACE(c.what);
        CControlUI control;
        EXPECT_EQ(c.read(control), c.unset);
        c.write(control, c.value);
        EXPECT_EQ(c.read(control), c.readBack);
        // The block this write made serves every other field at its default.
        for (const TRareCase& other : cases) {
            if (&other != &c) {
                EXPECT_EQ(other.read(control), other.unset) << other.what;
            }
        }
        c.write(control, c.clear);
        EXPECT_EQ(c.read(control), c.cleared);
        // Clearing what was never set reads the same.
        CControlUI fresh;
        c.write(fresh, c.clear);
        EXPECT_EQ(c.read(fresh), c.cleared);
    }
}

TEST(RareFields, AllSetTogetherKeepTheirOwnValues)
{
    const std::vector<TRareCase> cases = RareCases();
    CControlUI control;
    for (const TRareCase& c : cases)
        c.write(control, c.value);
    for (const TRareCase& c : cases)
        EXPECT_EQ(c.read(control), c.readBack) << c.what;
    // A control's own virtual window wins over its parent's; without one it takes the parent's.
    CControlUI child;
    child.AttachHost(nullptr, &control, false);
    EXPECT_EQ(std::string(child.GetVirtualWindowName()), "pane");
    child.SetAttribute("virtualwnd", "own");
    EXPECT_EQ(std::string(child.GetVirtualWindowName()), "own");
}
