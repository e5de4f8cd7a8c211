// The combo and its drop-down driven by real messages: opening by press and by key, choosing with
// the mouse, the arrows, Return and Escape, where the pop-up lands on the 1024x768 screen, and the
// pop-up's life against its owner (closed and the rows returned however it ends).
#include <gtest/gtest.h>

#include <string>

#include "support/HostBed.h"
#include "controls/PopupTestSupport.h"
#include "controls/native/ComboBox.h"
#include "controls/native/ComboWnd.h"
#include "controls/list/ListElement.h"
#include "controls/range/ScrollBar.h"
#include "controls/layout/VerticalLayout.h"
#include "skin/SkinBuilder.h"

using namespace SkinUI;
using testbed::HostBed;
using testbed::RectIs;

namespace {

// A combo 100 x 20 at the top of the bed holding `rows` label rows of 20 pixels, "R0", "R1", ...
template <class Combo = CComboUI> Combo* MakeCombo(HostBed& bed, int rows, CVerticalLayoutUI** rootOut = nullptr)
{
    auto* root = new CVerticalLayoutUI;
    auto* combo = new Combo;
    combo->SetName("combo");
    combo->SetFixedWidth(100);
    combo->SetFixedHeight(20);
    for (int i = 0; i < rows; ++i) {
        auto* row = new CListLabelElementUI;
        row->SetText(("R" + std::to_string(i)).c_str());
        row->SetName(("r" + std::to_string(i)).c_str());
        row->SetFixedHeight(20);
        combo->AddChild(row);
    }
    root->AddChild(combo);
    bed.Attach(root);
    if (rootOut != nullptr)
        *rootOut = root;
    return combo;
}

HWND PopupOf(CComboUI* combo)
{
    return combo->GetDropWindow() != nullptr ? combo->GetDropWindow()->GetHWND() : nullptr;
}

// Opens the combo with a real press and lets the pop-up lay out its rows.
HWND OpenByPress(HostBed& bed, CComboUI* combo)
{
    bed.Press(50, 10);
    bed.Release(50, 10);
    HWND popup = PopupOf(combo);
    if (popup != nullptr)
        UpdateWindow(popup);
    return popup;
}

int SelectedCount(CComboUI* combo)
{
    int n = 0;
    for (int i = 0; i < combo->ChildCount(); ++i) {
        auto* row = ControlCast<IListItemUI>(combo->ChildAt(i));
        n += row->IsSelected() ? 1 : 0;
    }
    return n;
}

// Every row is the combo's again: its host, its parent, its hidden position.
::testing::AssertionResult RowsAreHome(CComboUI* combo, CWindowHostUI* host)
{
    for (int i = 0; i < combo->ChildCount(); ++i) {
        CControlUI* row = combo->ChildAt(i);
        if (row->GetHost() != host || row->GetParent() != combo)
            return ::testing::AssertionFailure() << "row " << i << " still belongs to the pop-up";
        if (!row->GetPosition().IsNull())
            return ::testing::AssertionFailure() << "row " << i << " is still placed";
    }
    return ::testing::AssertionSuccess();
}

RECT WindowRect(HWND hwnd)
{
    RECT r = {};
    GetWindowRect(hwnd, &r);
    return r;
}

}  // namespace

TEST(Combo, OpensOnPressAndOnF4WithItsRowsOnLoan)
{
    for (bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "F4" : "press");
        HostBed bed;
        CComboUI* combo = MakeCombo(bed, 3);
        HWND popup = nullptr;
        if (byKey) {
            combo->TakeFocus();
            bed.Key(VK_F4);
            popup = PopupOf(combo);
        } else {
            popup = OpenByPress(bed, combo);
            EXPECT_EQ(combo->GetButtonState() & StatePushed, StatePushed);
        }
        ASSERT_NE(popup, nullptr);
        EXPECT_TRUE(IsWindowVisible(popup));
        EXPECT_EQ(bed.Count("dropdown"), 1);
        CWindowHostUI* popupHost = combo->GetDropWindow()->GetPopupHost();
        EXPECT_EQ(combo->ChildAt(0)->GetHost(), popupHost);
        EXPECT_EQ(combo->ChildAt(0)->GetParent(), combo->GetDropWindow()->GetLayout());

        // A second trigger while open makes no second pop-up.
        EXPECT_TRUE(combo->TriggerAction());
        EXPECT_EQ(PopupOf(combo), popup);
        EXPECT_EQ(bed.Count("dropdown"), 1);

        SendMessageA(popup, WM_CLOSE, 0, 0);
        EXPECT_FALSE(IsWindow(popup));
        EXPECT_EQ(combo->GetDropWindow(), nullptr);
        EXPECT_EQ(combo->GetButtonState() & StatePushed, 0u);
        EXPECT_TRUE(RowsAreHome(combo, &bed.Host()));
    }
}

TEST(Combo, PopupSizeFollowsTheRowsUpToTheDropBoxHeight)
{
    struct Case {
        int rows;
        int height;  // 3 * 20 + 4 = 64; 20 * 20 + 4 = 404, cut to 150
        bool scrollBar;
    } cases[] = {{3, 64, false}, {20, 150, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        HostBed bed;
        CComboUI* combo = MakeCombo(bed, c.rows);
        HWND popup = OpenByPress(bed, combo);
        ASSERT_NE(popup, nullptr);
        const RECT r = WindowRect(popup);
        EXPECT_EQ(r.top, 20);
        EXPECT_EQ(r.bottom - r.top, c.height);
        EXPECT_EQ(r.right - r.left, 100);
        CScrollBarUI* bar = combo->GetDropWindow()->GetLayout()->GetVerticalScrollBar();
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->IsVisible(), c.scrollBar);
        // The first row sits inside the layout's one-pixel inset.
        EXPECT_TRUE(RectIs(combo->ChildAt(0)->GetPosition(), 1, 1, c.scrollBar ? 99 - bar->GetFixedWidth() : 99, 21));
    }
}

TEST(Combo, PopupFlipsAboveNearTheBottomOfTheScreen)
{
    struct Case {
        int windowTop;
        LONG top;  // below: the combo's bottom; above: its top minus 64
        LONG bottom;
    } cases[] = {{0, 20, 84}, {680, 700, 764}, {700, 636, 700}, {748, 684, 748}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.windowTop);
        HostBed bed;
        SetWindowPos(bed.Hwnd(), nullptr, 0, c.windowTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        CComboUI* combo = MakeCombo(bed, 3);
        HWND popup = OpenByPress(bed, combo);
        ASSERT_NE(popup, nullptr);
        const RECT r = WindowRect(popup);
        EXPECT_EQ(r.top, c.top);
        EXPECT_EQ(r.bottom, c.bottom);
        EXPECT_EQ(r.left, 0);
    }
}

TEST(Combo, ARowChosenWithTheMouseIsSelectedAndClosesThePopup)
{
    HostBed bed;
    CComboUI* combo = MakeCombo(bed, 3);
    HWND popup = OpenByPress(bed, combo);
    ASSERT_NE(popup, nullptr);
    // The second row lies at y 21..41 of the pop-up's client area.
    SendMessageA(popup, WM_MOUSEMOVE, 0, MAKELPARAM(30, 30));
    SendMessageA(popup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 30));
    SendMessageA(popup, WM_LBUTTONUP, 0, MAKELPARAM(30, 30));
    EXPECT_EQ(combo->GetCurrentIndex(), 1);
    ASSERT_EQ(bed.Count("itemselect"), 1);
    EXPECT_EQ(bed.notes.back().senderPtr, combo);
    EXPECT_EQ(bed.notes.back().wParam, 1u);
    // "itemclick" went to the pop-up's own host, which has no listeners.
    EXPECT_EQ(bed.Count("itemclick"), 0);
    testbed::PumpUntil([&] { return !IsWindow(popup); }, 2000);
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_TRUE(RowsAreHome(combo, &bed.Host()));
    EXPECT_EQ(std::string(combo->GetText()), "R1");
}

TEST(Combo, KeysInThePopupSelectReturnClosesEscapeRestores)
{
    struct Case {
        int initial;
        UINT keys[3];
        int expected;
        int selects;
    } cases[] = {
        {-1, {VK_DOWN, VK_RETURN, 0}, 0, 1},
        {0, {VK_END, VK_RETURN, 0}, 2, 1},
        {1, {VK_DOWN, VK_ESCAPE, 0}, 1, 2},  // to R2, then back to R1
        {2, {VK_HOME, VK_UP, VK_RETURN}, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.initial);
        HostBed bed;
        CComboUI* combo = MakeCombo(bed, 3);
        combo->SelectItem(c.initial, false);
        bed.notes.clear();
        HWND popup = OpenByPress(bed, combo);
        ASSERT_NE(popup, nullptr);
        for (UINT key : c.keys) {
            if (key != 0)
                SendMessageA(popup, WM_KEYDOWN, key, 1);
        }
        testbed::PumpUntil([&] { return !IsWindow(popup); }, 2000);
        EXPECT_FALSE(IsWindow(popup));
        EXPECT_EQ(combo->GetCurrentIndex(), c.expected);
        EXPECT_EQ(bed.Count("itemselect"), c.selects);
        EXPECT_EQ(SelectedCount(combo), 1);
        EXPECT_TRUE(RowsAreHome(combo, &bed.Host()));
    }
}

TEST(Combo, KeysAndWheelOnTheClosedCombo)
{
    struct Case {
        int initial;
        bool wheel;  // else a key
        UINT key;  // wheel: 1 down, 0 up
        int expected;
    } cases[] = {
        {-1, true, 1, 0},
        {0, true, 1, 1},
        {2, true, 1, 2},
        {1, true, 0, 0},
        {-1, false, VK_END, 2},
        {2, false, VK_HOME, 0},
        {1, false, VK_NEXT, 2},
        {1, false, VK_PRIOR, 0},
        {2, false, VK_DOWN, 2},
        {0, false, VK_UP, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.initial << " " << c.key);
        HostBed bed;
        CComboUI* combo = MakeCombo(bed, 3);
        combo->SelectItem(c.initial, false);
        combo->TakeFocus();
        if (c.wheel) {
            POINT screen = {50, 10};
            ClientToScreen(bed.Hwnd(), &screen);
            bed.Send(
                WM_MOUSEWHEEL, MAKEWPARAM(0, c.key == 1 ? -WHEEL_DELTA : WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
        } else {
            bed.Key(c.key);
        }
        EXPECT_EQ(combo->GetCurrentIndex(), c.expected);
        EXPECT_EQ(combo->GetDropWindow(), nullptr);
    }
}

TEST(Combo, SelectItemRules)
{
    HostBed bed;
    CComboUI* combo = MakeCombo(bed, 3);
    EXPECT_TRUE(combo->SelectItem(7, false));  // beyond the end: the last row
    EXPECT_EQ(combo->GetCurrentIndex(), 2);
    EXPECT_FALSE(combo->SelectItem(-1, false));  // clears and answers false
    EXPECT_EQ(combo->GetCurrentIndex(), -1);
    EXPECT_EQ(SelectedCount(combo), 0);
    combo->ChildAt(1)->SetVisible(false);
    EXPECT_FALSE(combo->SelectItem(1, false));
    EXPECT_EQ(combo->GetText().GetLength(), 0);

    // A disabled row cannot be selected, but it loses its mark when the selection moves on.
    combo->ChildAt(1)->SetVisible(true);
    EXPECT_TRUE(combo->SelectItem(1, false));
    combo->ChildAt(1)->SetEnabled(false);
    EXPECT_TRUE(combo->SelectItem(2, false));
    combo->ChildAt(1)->SetEnabled(true);
    EXPECT_EQ(SelectedCount(combo), 1);
    auto* row1 = ControlCast<IListItemUI>(combo->ChildAt(1));
    EXPECT_FALSE(row1->IsSelected());
    combo->ChildAt(1)->SetEnabled(false);
    EXPECT_FALSE(row1->Select(true));
}

TEST(Combo, RemovingRowsKeepsNumberingAndSelection)
{
    struct Case {
        int selected;
        int removed;
        int expected;  // the current index afterwards
        const char* text;  // the text shown afterwards
    } cases[] = {
        {1, 1, 1, "R2"},  // the row now at the index takes over
        {2, 2, 1, "R1"},  // none after: the nearest before
        {2, 0, 1, "R2"},  // a row before the selection moves it up
        {0, 2, 0, "R0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.removed);
        HostBed bed;
        CComboUI* combo = MakeCombo(bed, 3);
        combo->SelectItem(c.selected, false);
        EXPECT_TRUE(combo->RemoveChildAt(c.removed));
        EXPECT_EQ(combo->GetCurrentIndex(), c.expected);
        EXPECT_EQ(std::string(combo->GetText()), c.text);
        for (int i = 0; i < combo->ChildCount(); ++i)
            EXPECT_EQ(ControlCast<IListItemUI>(combo->ChildAt(i))->GetIndex(), i);
        bed.Pump();
    }
}

TEST(Combo, MovingRowsKeepsTheSelectionAndRefusesBadIndexes)
{
    HostBed bed;
    CComboUI* combo = MakeCombo(bed, 3);
    combo->SelectItem(1, false);
    CControlUI* r0 = combo->ChildAt(0);
    EXPECT_FALSE(combo->MoveChild(r0, 3));
    EXPECT_FALSE(combo->MoveChild(r0, -1));
    EXPECT_EQ(combo->ChildAt(0), r0);
    EXPECT_EQ(combo->GetCurrentIndex(), 1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ControlCast<IListItemUI>(combo->ChildAt(i))->GetIndex(), i);

    EXPECT_TRUE(combo->MoveChild(r0, 2));
    EXPECT_EQ(combo->ChildAt(2), r0);
    EXPECT_EQ(combo->GetCurrentIndex(), 0);  // R1 moved up one
    EXPECT_EQ(std::string(combo->GetText()), "R1");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ControlCast<IListItemUI>(combo->ChildAt(i))->GetIndex(), i);

    auto* extra = new CListLabelElementUI;
    EXPECT_TRUE(combo->InsertChild(extra, 0));
    EXPECT_EQ(combo->GetCurrentIndex(), 1);
    EXPECT_EQ(extra->GetIndex(), 0);
    EXPECT_EQ(ControlCast<IListItemUI>(combo->ChildAt(3))->GetIndex(), 3);
}

// However the pop-up ends, its rows are back with the combo before its host goes, and the tree
// is destroyed cleanly afterwards.
TEST(Combo, PopupEndingWithoutCloseReturnsTheRows)
{
    enum How { DestroyPopup, CloseMainWindow, DestroyMainWindow };
    for (How how : {DestroyPopup, CloseMainWindow, DestroyMainWindow}) {
        SCOPED_TRACE(how);
        HostBed bed;
        CComboUI* combo = MakeCombo(bed, 3);
        ASSERT_TRUE(combo->TriggerAction());
        HWND popup = PopupOf(combo);
        ASSERT_NE(popup, nullptr);
        if (how == DestroyPopup)
            DestroyWindow(popup);
        else if (how == CloseMainWindow)
            bed.Send(WM_CLOSE);
        else
            DestroyWindow(bed.Hwnd());
        EXPECT_FALSE(IsWindow(popup));
        EXPECT_EQ(combo->GetDropWindow(), nullptr);
        EXPECT_TRUE(RowsAreHome(combo, &bed.Host()));
        bed.Pump();
    }
}

TEST(Combo, DestroyingTheComboOrRemovingARowClosesThePopupFirst)
{
    enum How {
        RemoveRow,
        RemoveAllRows,
        RemoveCombo,
        DeleteTree,
        RemoveComboFromItsSelect,
        DeleteComboFromItsDropdown
    };
    for (How how :
        {RemoveRow, RemoveAllRows, RemoveCombo, DeleteTree, RemoveComboFromItsSelect, DeleteComboFromItsDropdown}) {
        SCOPED_TRACE(how);
        HostBed bed;
        CVerticalLayoutUI* root = nullptr;
        CComboUI* combo = MakeCombo(bed, 3, &root);
        if (how == DeleteComboFromItsDropdown) {
            // Taken out and destroyed at once by a listener of its own "dropdown", inside the press.
            bed.user = root;
            bed.onNotify = [](HostBed& b, TNotifyEvent& e) {
                if (e.Type != "dropdown")
                    return;
                auto* layout = static_cast<CVerticalLayoutUI*>(b.user);
                layout->SetDefersChildDestroy(false);
                layout->RemoveChild(e.Sender);
            };
            bed.Press(50, 10);
            bed.Release(50, 10);
            EXPECT_EQ(root->ChildCount(), 0);
            EXPECT_EQ(bed.Count("dropdown"), 1);
            EXPECT_EQ(FindWindowA("ComboWnd", nullptr), nullptr);
            bed.Repaint();
            bed.Pump();
            continue;
        }
        HWND popup = OpenByPress(bed, combo);
        ASSERT_NE(popup, nullptr);
        switch (how) {
        case RemoveRow:
            EXPECT_TRUE(combo->RemoveChildAt(1));
            EXPECT_FALSE(IsWindow(popup));
            EXPECT_EQ(combo->ChildCount(), 2);
            EXPECT_TRUE(RowsAreHome(combo, &bed.Host()));
            break;
        case RemoveAllRows:
            combo->RemoveAllChildren();
            EXPECT_FALSE(IsWindow(popup));
            break;
        case RemoveCombo:
            EXPECT_TRUE(root->RemoveChild(combo));
            bed.Pump();
            EXPECT_FALSE(IsWindow(popup));
            break;
        case DeleteTree:
            bed.Host().AttachRoot(new CVerticalLayoutUI);
            bed.Pump();
            EXPECT_FALSE(IsWindow(popup));
            break;
        case DeleteComboFromItsDropdown:  // done above
            break;
        case RemoveComboFromItsSelect:
            bed.user = root;
            bed.onNotify = [](HostBed& b, TNotifyEvent& e) {
                if (e.Type == "itemselect")
                    static_cast<CVerticalLayoutUI*>(b.user)->RemoveChild(e.Sender);
            };
            SendMessageA(popup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 30));
            SendMessageA(popup, WM_LBUTTONUP, 0, MAKELPARAM(30, 30));
            bed.Pump();
            EXPECT_FALSE(IsWindow(popup));
            EXPECT_EQ(root->ChildCount(), 0);
            break;
        }
        // Whatever is still queued for the pop-up or the tree runs against live objects only.
        bed.Repaint();
        bed.Pump();
    }
}

// A combo that can take no input, or whose rows move, has no drop-down open: the pop-up closes,
// the rows come home, and keys sent to where the pop-up was select nothing.
TEST(Combo, DisablingHidingOrMovingRowsClosesThePopup)
{
    struct TCase {
        const char* what;
        void (*apply)(CComboUI* combo, CVerticalLayoutUI* root);
        int rowOneIndex;  // GetIndex of the row named "r1" afterwards
    };
    const TCase cases[] = {
        {"disabled", [](CComboUI* c, CVerticalLayoutUI*) { c->SetEnabled(false); }, 1},
        {"hidden", [](CComboUI* c, CVerticalLayoutUI*) { c->SetVisible(false); }, 1},
        {"parent hidden", [](CComboUI*, CVerticalLayoutUI* root) { root->SetVisible(false); }, 1},
        {"row moved", [](CComboUI* c, CVerticalLayoutUI*) { EXPECT_TRUE(c->MoveChild(c->ChildAt(1), 2)); }, 2},
        {"row inserted",
            [](CComboUI* c, CVerticalLayoutUI*) {
                auto* row = new CListLabelElementUI;
                row->SetFixedHeight(20);
                EXPECT_TRUE(c->InsertChild(row, 0));
            },
            2},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        HostBed bed;
        CVerticalLayoutUI* root = nullptr;
        CComboUI* combo = MakeCombo(bed, 3, &root);
        HWND popup = OpenByPress(bed, combo);
        ASSERT_NE(popup, nullptr);
        bed.notes.clear();
        c.apply(combo, root);
        EXPECT_FALSE(IsWindow(popup));
        EXPECT_EQ(nullptr, combo->GetDropWindow());
        EXPECT_TRUE(RowsAreHome(combo, &bed.Host()));
        if (IsWindow(popup))
            SendMessageA(popup, WM_KEYDOWN, VK_DOWN, 1);
        EXPECT_EQ(0, bed.Count("itemselect"));
        auto* rowOne = ControlCast<IListItemUI>(bed.Host().FindControlByName("r1"));
        EXPECT_EQ(c.rowOneIndex, rowOne->GetIndex());
        bed.Pump();
    }
}

// Made unusable by a listener of its own notifications, raised from inside the pop-up's handlers.
TEST(Combo, DisabledOrHiddenFromItsOwnNotificationsClosesThePopupSafely)
{
    struct TCase {
        const char* what;
        const char* notification;
        bool hide;  // else disable
        UINT key;  // sent to the pop-up; 0: the notification comes with the opening press
    };
    const TCase cases[] = {
        {"disabled on itemselect from Down", "itemselect", false, VK_DOWN},
        {"hidden on itemselect from Down", "itemselect", true, VK_DOWN},
        {"disabled on itemselect from Escape", "itemselect", false, VK_ESCAPE},
        {"hidden on dropdown", "dropdown", true, 0},
        {"disabled on dropdown", "dropdown", false, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        testbed::FaultCounter faults;
        HostBed bed;
        CComboUI* combo = MakeCombo(bed, 3);
        combo->SelectItem(1, false);
        static const TCase* current = nullptr;
        current = &c;
        bed.onNotify = [](HostBed&, TNotifyEvent& e) {
            if (e.Type != current->notification)
                return;
            auto* target = ControlCast<CComboUI>(e.Sender);
            if (current->hide)
                target->SetVisible(false);
            else
                target->SetEnabled(false);
        };
        bed.Press(50, 10);
        bed.Release(50, 10);
        HWND popup = FindWindowA("ComboWnd", nullptr);
        if (c.key != 0 && popup != nullptr) {
            UpdateWindow(popup);
            SendMessageA(popup, WM_KEYDOWN, c.key, 1);
        }
        bed.Pump();
        EXPECT_EQ(nullptr, FindWindowA("ComboWnd", nullptr));
        EXPECT_EQ(nullptr, combo->GetDropWindow());
        EXPECT_TRUE(RowsAreHome(combo, &bed.Host()));
        EXPECT_EQ(0, faults.Faults());
        bed.onNotify = nullptr;
    }
}

TEST(Combo, HiddenAfterTriggerActionLeavesNoPopupAndARowAddedTwiceKeepsItsIndex)
{
    HostBed bed;
    CComboUI* combo = MakeCombo(bed, 3);
    ASSERT_TRUE(combo->TriggerAction());
    HWND popup = PopupOf(combo);
    ASSERT_NE(popup, nullptr);
    combo->SetVisible(false);
    EXPECT_FALSE(IsWindow(popup));
    bed.Pump();

    CControlUI* first = combo->ChildAt(0);
    EXPECT_FALSE(combo->AddChild(first));
    EXPECT_EQ(0, ControlCast<IListItemUI>(first)->GetIndex());
    EXPECT_EQ(3, combo->ChildCount());
}

TEST(ComboBox, ArrowCellFollowsTheState)
{
    HostBed bed;
    auto* box = MakeCombo<CComboBoxUI>(bed, 2);
    box->SetAttribute("arrowimage", "file='arrow.bmp' source='0,0,100,20' fade='200'");
    box->SetAttribute("bordersize", "1");
    bed.Host().SetFocusControl(nullptr);
    EXPECT_EQ(std::string(box->ArrowModifier()), "file='arrow.bmp' source='0,0,20,20' dest='79,1,99,19' fade='200'");
    EXPECT_EQ(box->GetArrowWidth(), 20);
    box->TakeFocus();
    EXPECT_EQ(std::string(box->ArrowModifier()), "file='arrow.bmp' source='60,0,80,20' dest='79,1,99,19' fade='200'");
    bed.MoveTo(50, 10);  // hot: the second cell
    EXPECT_EQ(std::string(box->ArrowModifier()), "file='arrow.bmp' source='20,0,40,20' dest='79,1,99,19' fade='200'");
    box->SetEnabled(false);
    EXPECT_EQ(std::string(box->ArrowModifier()), "file='arrow.bmp' source='80,0,100,20' dest='79,1,99,19' fade='200'");
    // Long numbers: the cell is still cut out, never the whole image drawn over the combo.
    // width (1500000000 - 1000000000) / 5 = 100000000; disabled: the fifth cell.
    box->SetAttribute("arrowimage", "file='arrow.bmp' source='1000000000,1000000000,1500000000,1000000020'");
    EXPECT_EQ(std::string(box->ArrowModifier()),
        "file='arrow.bmp' source='1400000000,1000000000,1500000000,1000000020' dest='-99999901,1,99,19'");
    box->SetAttribute("arrowimage", "file='arrow.bmp' source='-2147483648,0,2147483647,20'");
    // (2147483647 + 2147483648) / 5 = 858993459; left -2147483648 + 4 * 858993459 = 1288490188.
    EXPECT_EQ(std::string(box->ArrowModifier()),
        "file='arrow.bmp' source='1288490188,0,2147483647,20' dest='-858993360,1,99,19'");
    box->SetAttribute("arrowimage", "file='arrow.bmp' source='0,0,100,20");
    EXPECT_EQ(box->ArrowModifier().GetLength(), 0);
}

TEST(Combo, BuiltFromMarkupWithItsSelection)
{
    HostBed bed;
    CSkinBuilder builder;
    CControlUI* root
        = builder.BuildFrom("<Window><VerticalLayout><Combo name=\"c\" height=\"20\" dropboxsize=\"60,40\">"
                            "<ListLabelElement text=\"one\" height=\"20\"/>"
                            "<ListLabelElement text=\"two\" height=\"20\" selected=\"false\"/>"
                            "<ListLabelElement text=\"three\" height=\"20\"/>"
                            "</Combo></VerticalLayout></Window>",
            nullptr, nullptr, &bed.Host(), nullptr);
    ASSERT_NE(root, nullptr);
    bed.Attach(root);
    auto* combo = ControlCast<CComboUI>(bed.Host().FindControlByName("c"));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetCurrentIndex(), 1);
    EXPECT_EQ(std::string(combo->GetText()), "two");
    HWND popup = OpenByPress(bed, combo);
    ASSERT_NE(popup, nullptr);
    const RECT r = WindowRect(popup);
    EXPECT_EQ(r.right - r.left, 60);  // "dropboxsize" width
    EXPECT_EQ(r.bottom - r.top, 40);  // 3 * 20 + 4, cut to 40
}

// A closed combo box paints its selected container row by lending it the text area for that paint.
// The loan must leave nothing to repaint behind it, or every paint asks for the next one: the window
// repaints for ever and its native children (an open editor) never get a paint of their own.
TEST(ComboBox, PaintingAContainerSelectionLeavesNothingToRepaint)
{
    HostBed bed;
    CSkinBuilder builder;
    CControlUI* root = builder.BuildFrom(
        "<Window><VerticalLayout><ComboBox name=\"c\" height=\"24\">"
        "<ListContainerElement height=\"20\" selected=\"true\"><HorizontalLayout>"
        "<Control width=\"10\" bkcolor=\"#FF1366C9\"/><Label text=\"one\"/></HorizontalLayout></ListContainerElement>"
        "<ListContainerElement height=\"20\"><Label text=\"two\"/></ListContainerElement>"
        "</ComboBox></VerticalLayout></Window>",
        nullptr, nullptr, &bed.Host(), nullptr);
    ASSERT_NE(root, nullptr);
    bed.Attach(root);
    bed.Repaint();
    RECT pending = {};
    EXPECT_FALSE(GetUpdateRect(bed.Hwnd(), &pending, FALSE))
        << "still to repaint: " << pending.left << "," << pending.top << "," << pending.right << "," << pending.bottom;
}

TEST(Combo, OpenPopupFollowsItsWindowToTwiceTheDpi)
{
    HostBed bed;
    CComboUI* combo = MakeCombo(bed, 3);
    HWND popup = OpenByPress(bed, combo);
    ASSERT_NE(popup, nullptr);
    RECT window = {}, client = {};
    GetWindowRect(bed.Hwnd(), &window);
    GetClientRect(bed.Hwnd(), &client);
    RECT suggested = {window.left, window.top, window.right + client.right, window.bottom + client.bottom};
    bed.Send(WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    bed.Pump();
    ASSERT_EQ(PopupOf(combo), popup) << "the pop-up stays open";
    UpdateWindow(popup);
    EXPECT_EQ(192, combo->GetDropWindow()->GetPopupHost()->GetDpi());
    const RECT r = WindowRect(popup);
    EXPECT_EQ(r.right - r.left, 200);  // 2 * 100
    EXPECT_EQ(r.bottom - r.top, 128);  // 2 * (3 * 20 + 4)
    // Inset and row height at twice the scale: 2 * (1, 1, 99, 21).
    EXPECT_TRUE(RectIs(combo->ChildAt(0)->GetPosition(), 2, 2, 198, 42));

    // Opened again at the new DPI, it is made at that size, under the combo, from the start.
    SendMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 1);
    testbed::PumpUntil([&] { return !IsWindow(popup); }, 2000);
    ASSERT_FALSE(IsWindow(popup));
    bed.Press(100, 20);
    bed.Release(100, 20);
    HWND again = PopupOf(combo);
    ASSERT_NE(again, nullptr);
    const RECT a = WindowRect(again);
    EXPECT_EQ(a.top, 40);  // the combo's 20 at twice the scale
    EXPECT_EQ(a.right - a.left, 200);
    EXPECT_EQ(a.bottom - a.top, 128);  // 3 * 40 + 2 * 4
}
