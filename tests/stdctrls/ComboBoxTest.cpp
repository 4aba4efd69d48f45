// The combo box through real input: the drop-down list opened by a click, F4
// or Alt+Down and closed by a choice, Escape or a click outside; arrows on
// the closed box; OnChange for a choice of the user only.
#include "tests/stdctrls/StdCtrlsTestSupport.h"

namespace ld::test {
namespace {

class ComboBoxTest : public StdCtrlsTest {
protected:
    void SetUp() override
    {
        StdCtrlsTest::SetUp();
        Edit = new TEdit(Form);
        Edit->SetBounds(10, 150, 100, 21);
        Edit->SetParent(Form);
        Combo = new TComboBox(Form);
        Combo->SetStyle(csDropDownList);
        Combo->SetItemHeight(13);
        Combo->SetBounds(10, 10, 100, 21);
        Combo->SetParent(Form);
        for (const char* s : {"False", "True", "Maybe"})
            Combo->GetItems()->Add(s);
        Combo->SetOnChange(Changes.Event());
        Backend->RunUntilIdle();
        Combo->SetFocus();
        Backend->RunUntilIdle();
    }
    void ClickAt(TPoint screen)
    {
        Backend->Click(screen.X, screen.Y);
        Backend->RunUntilIdle();
    }
    // The screen point in the middle of entry Index of the open list.
    TPoint EntryPoint(Integer index)
    {
        RECT r;
        GetWindowRect(Combo->GetListHandle(), r);
        return {r.Left + 20, r.Top + 1 + index * Combo->GetItemHeight() + Combo->GetItemHeight() / 2};
    }
    TComboBox* Combo = nullptr;
    TEdit* Edit = nullptr;
    TEventCounter Changes;
};

TEST_F(ComboBoxTest, AClickOpensTheListBelowTheBoxAndAClickOnAnEntryChoosesIt)
{
    EXPECT_EQ(Combo->GetItemIndex(), -1);
    EXPECT_EQ(Combo->GetText(), "");
    ClickAt(ScreenOf(Combo, 20, 8));
    ASSERT_TRUE(Combo->GetDroppedDown());
    HWND list = Combo->GetListHandle();
    EXPECT_TRUE(IsWindowVisible(list));
    EXPECT_TRUE(GetWindowLongPtr(list, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT box, r;
    GetWindowRect(Combo->GetHandle(), box);
    GetWindowRect(list, r);
    EXPECT_EQ(r.Top, box.Bottom);
    EXPECT_EQ(r.Left, box.Left);
    EXPECT_EQ(r.Height(), 3 * 13 + 2);

    TPoint p = EntryPoint(1);
    Backend->MoveTo(p.X, p.Y);
    Backend->RunUntilIdle();
    EXPECT_EQ(Combo->GetListIndex(), 1);
    ClickAt(p);
    EXPECT_FALSE(Combo->GetDroppedDown());
    EXPECT_EQ(Combo->GetItemIndex(), 1);
    EXPECT_EQ(Combo->GetText(), "True");
    EXPECT_EQ(Changes.Count, 1);
    EXPECT_TRUE(Combo->Focused());
}

TEST_F(ComboBoxTest, PressingAndReleasingOverAnEntryChoosesInOneMove)
{
    TPoint box = ScreenOf(Combo, 20, 8);
    Backend->MoveTo(box.X, box.Y);
    Backend->Press();
    Backend->RunUntilIdle();
    ASSERT_TRUE(Combo->GetDroppedDown());
    TPoint p = EntryPoint(2);
    Backend->DragTo(p.X, p.Y);
    Backend->Release();
    Backend->RunUntilIdle();
    EXPECT_FALSE(Combo->GetDroppedDown());
    EXPECT_EQ(Combo->GetItemIndex(), 2);
}

TEST_F(ComboBoxTest, EscapeAndAClickOutsideCloseWithoutAChoice)
{
    Combo->SetItemIndex(0);
    Key(0x73);  // F4
    ASSERT_TRUE(Combo->GetDroppedDown());
    Key(VK_DOWN);
    EXPECT_EQ(Combo->GetListIndex(), 1);
    Key(VK_ESCAPE);
    EXPECT_FALSE(Combo->GetDroppedDown());
    EXPECT_EQ(Combo->GetItemIndex(), 0);

    ClickAt(ScreenOf(Combo, 20, 8));
    ASSERT_TRUE(Combo->GetDroppedDown());
    ClickAt(ScreenOf(Form, 300, 200));
    EXPECT_FALSE(Combo->GetDroppedDown());
    EXPECT_EQ(Combo->GetItemIndex(), 0);
    EXPECT_EQ(Changes.Count, 0);
}

TEST_F(ComboBoxTest, EscapeOnAnOpenListDoesNotReachTheCancelButton)
{
    auto* cancel = new TButton(Form);
    cancel->SetBounds(200, 10, 75, 25);
    cancel->SetParent(Form);
    cancel->SetCancel(true);
    TEventCounter clicks;
    cancel->SetOnClick(clicks.Event());
    Backend->RunUntilIdle();
    KeyWith(VK_MENU, VK_DOWN);
    ASSERT_TRUE(Combo->GetDroppedDown());
    Key(VK_ESCAPE);
    EXPECT_FALSE(Combo->GetDroppedDown());
    EXPECT_EQ(clicks.Count, 0);
    Key(VK_ESCAPE);
    EXPECT_EQ(clicks.Count, 1);
}

TEST_F(ComboBoxTest, ArrowsOnTheClosedBoxChooseAndEnterChoosesInTheOpenList)
{
    Key(VK_DOWN);
    EXPECT_EQ(Combo->GetItemIndex(), 0);
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_DOWN);  // stays on the last
    EXPECT_EQ(Combo->GetItemIndex(), 2);
    EXPECT_EQ(Changes.Count, 3);
    Key(VK_UP);
    EXPECT_EQ(Combo->GetText(), "True");
    EXPECT_EQ(Changes.Count, 4);

    KeyWith(VK_MENU, VK_DOWN);
    ASSERT_TRUE(Combo->GetDroppedDown());
    Key(VK_UP);
    EXPECT_EQ(Combo->GetItemIndex(), 1) << "the open list only marks";
    Key(VK_RETURN);
    EXPECT_FALSE(Combo->GetDroppedDown());
    EXPECT_EQ(Combo->GetItemIndex(), 0);
    EXPECT_EQ(Changes.Count, 5);
    // A letter picks the next entry starting with it.
    Type("m");
    EXPECT_EQ(Combo->GetText(), "Maybe");
}

TEST_F(ComboBoxTest, ItemIndexFromCodeFiresNothingAndMinusOneShowsNoEntry)
{
    Combo->SetItemIndex(2);
    EXPECT_EQ(Combo->GetText(), "Maybe");
    Combo->SetItemIndex(-1);
    EXPECT_EQ(Combo->GetText(), "");
    Combo->SetItemIndex(7);
    EXPECT_EQ(Combo->GetItemIndex(), -1);
    EXPECT_EQ(Changes.Count, 0);
    Combo->SetText("True");
    EXPECT_EQ(Combo->GetItemIndex(), 1);
    Combo->SetText("nothing like it");
    EXPECT_EQ(Combo->GetItemIndex(), -1);
    EXPECT_EQ(Combo->GetText(), "");
}

TEST_F(ComboBoxTest, ALongListScrollsWithItsBarAndAnEntryBelowTheFirstPageCanBeClicked)
{
    for (int i = 0; i < 9; ++i)
        Combo->GetItems()->Add("Entry " + std::to_string(i));
    ClickAt(ScreenOf(Combo, 20, 8));
    ASSERT_TRUE(Combo->GetDroppedDown());
    RECT r;
    GetWindowRect(Combo->GetListHandle(), r);
    EXPECT_EQ(r.Height(), 8 * 13 + 2) << "DropDownCount entries at most";
    // The down arrow at the bottom of the bar: one entry further.
    ClickAt({r.Right - 5, r.Bottom - 5});
    ASSERT_TRUE(Combo->GetDroppedDown()) << "a click on the bar keeps the list open";
    // Below the thumb: a page further, to the end.
    ClickAt({r.Right - 5, r.Bottom - 20});
    ClickAt({r.Right - 5, r.Bottom - 20});
    ASSERT_TRUE(Combo->GetDroppedDown());
    EXPECT_EQ(Changes.Count, 0);
    // The last row is now the last entry.
    ClickAt(EntryPoint(7));
    EXPECT_FALSE(Combo->GetDroppedDown());
    EXPECT_EQ(Combo->GetItemIndex(), 11);
    EXPECT_EQ(Combo->GetText(), "Entry 8");
    // Reopened, the list starts where the choice can be seen.
    Key(0x73);
    EXPECT_EQ(Combo->GetListIndex(), 11);
    Key(VK_HOME);
    Key(VK_RETURN);
    EXPECT_EQ(Combo->GetItemIndex(), 0);
}

// The open list holds the mouse: the wheel scrolls it wherever the pointer is.
TEST_F(ComboBoxTest, TheWheelScrollsTheOpenList)
{
    for (int i = 0; i < 9; ++i)
        Combo->GetItems()->Add("Entry " + std::to_string(i));
    ClickAt(ScreenOf(Combo, 20, 8));
    ASSERT_TRUE(Combo->GetDroppedDown());
    Backend->MoveTo(300, 300);
    Backend->Wheel(-1);
    Backend->Wheel(-1);
    Backend->Wheel(1);
    Backend->RunUntilIdle();
    ASSERT_TRUE(Combo->GetDroppedDown());
    ClickAt(EntryPoint(0));
    EXPECT_EQ(Combo->GetItemIndex(), 1) << "3 down, to the end (4), then 3 up";
}

// The open list's bar held and dragged, as a window's own scroll bar: the
// list stays open and nothing is chosen until an entry is clicked.
TEST_F(ComboBoxTest, TheListBarRepeatsWhileHeldAndItsThumbDrags)
{
    for (int i = 3; i < 40; ++i)
        Combo->GetItems()->Add("Entry " + std::to_string(i));
    ClickAt(ScreenOf(Combo, 20, 8));
    ASSERT_TRUE(Combo->GetDroppedDown());
    RECT r;
    GetWindowRect(Combo->GetListHandle(), r);
    Backend->MoveTo(r.Right - 5, r.Bottom - 5);
    Backend->Press();
    Backend->RunUntilIdle();
    Backend->Advance(400 + 50);
    Backend->Release();
    Backend->RunUntilIdle();
    ClickAt(EntryPoint(0));
    EXPECT_EQ(Combo->GetItemIndex(), 3) << "one line at once, two more while held";

    ClickAt(ScreenOf(Combo, 20, 8));
    ASSERT_TRUE(Combo->GetDroppedDown());
    GetWindowRect(Combo->GetListHandle(), r);
    const Integer arrow = GetSystemMetrics(SM_CXVSCROLL);
    // The thumb of a list opened at entry 3 sits near the top of the track.
    Backend->MoveTo(r.Right - 5, r.Top + 1 + arrow + 2);
    Backend->Press();
    Backend->DragTo(r.Right - 5, r.Bottom + 60);
    Backend->Release();
    Backend->RunUntilIdle();
    ASSERT_TRUE(Combo->GetDroppedDown()) << "the release on the bar chooses nothing";
    EXPECT_EQ(Changes.Count, 1);
    ClickAt(EntryPoint(7));
    EXPECT_EQ(Combo->GetText(), "Entry 39");
}

TEST_F(ComboBoxTest, FocusLeavingClosesTheList)
{
    KeyWith(VK_MENU, VK_DOWN);
    ASSERT_TRUE(Combo->GetDroppedDown());
    Edit->SetFocus();
    Backend->RunUntilIdle();
    EXPECT_FALSE(Combo->GetDroppedDown());
}

TEST_F(ComboBoxTest, ADropDownBoxTypesIntoItsEditPart)
{
    auto* box = new TComboBox(Form);
    box->SetBounds(150, 10, 100, 21);
    box->SetParent(Form);
    box->GetItems()->Add("alpha");
    box->GetItems()->Add("beta");
    TEventCounter changes;
    box->SetOnChange(changes.Event());
    Backend->RunUntilIdle();
    ASSERT_NE(box->GetEditPart(), nullptr);
    box->SetFocus();
    Backend->RunUntilIdle();
    Type("gam");
    EXPECT_EQ(box->GetText(), "gam");
    EXPECT_EQ(changes.Count, 3);
    Key(VK_DOWN);
    EXPECT_EQ(box->GetText(), "alpha");
    EXPECT_EQ(box->GetEditPart()->GetText(), "alpha");
    EXPECT_EQ(changes.Count, 4) << "a choice is one change";
    box->SetItemIndex(1);
    EXPECT_EQ(box->GetText(), "beta");
    EXPECT_EQ(changes.Count, 4) << "none from code";
    // A click on the field edits; on the button it opens the list.
    ClickAt(ScreenOf(box, 10, 8));
    EXPECT_FALSE(box->GetDroppedDown());
    ClickAt(ScreenOf(box, box->GetClientWidth() - 5, 8));
    EXPECT_TRUE(box->GetDroppedDown());
    Key(VK_ESCAPE);
    EXPECT_FALSE(box->GetDroppedDown());
}

} // namespace
} // namespace ld::test
