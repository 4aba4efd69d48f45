// The sheet model: defaults, which sheet opens when sheets come, go or hide,
// OnChanging refusals, SheetIndex and its message, the font-derived tab height.
#include "tests/bar/BarTestSupport.h"

#include "controls/list/ShortcutList.h"
#include "platform/core/SysUtils.h"

namespace ld::test {
namespace {

using BarModelTest = BarTest;

TEST_F(BarModelTest, StartsWithTheDocumentedDefaults)
{
    auto* bar = AddBar(0);
    EXPECT_EQ(bar->GetWidth(), 84);
    EXPECT_EQ(bar->GetAlign(), alLeft);
    EXPECT_EQ(bar->GetColor(), clBtnShadow);
    EXPECT_FALSE(bar->GetParentColor());
    EXPECT_EQ(bar->GetTabColor(), clBtnFace);
    EXPECT_EQ(bar->GetTabHeight(), 18);
    EXPECT_EQ(bar->GetOptions().Bits(), 19u);
    EXPECT_EQ(bar->GetBorderStyle(), bsSingle);
    EXPECT_EQ(bar->GetMinSheetHeight(), 0);
    EXPECT_TRUE(bar->GetControlStyle().Contains(csOpaque));
    EXPECT_TRUE(bar->GetControlStyle().Contains(csCaptureMouse));
    EXPECT_FALSE(bar->GetControlStyle().Contains(csAcceptsControls));
    EXPECT_EQ(bar->GetActiveSheet(), nullptr);
    EXPECT_EQ(bar->GetActiveTab(), -1);
    EXPECT_EQ(bar->GetActiveList(), nullptr);
    EXPECT_EQ(bar->GetActiveItem(), nullptr);
    ASSERT_NE(bar->GetUpButton(), nullptr);
    EXPECT_FALSE(bar->GetUpButton()->GetVisible());
    EXPECT_FALSE(bar->GetDownButton()->GetVisible());
}

TEST_F(BarModelTest, EachNewSheetOpensAndOnlyTheOpenSheetsWindowShows)
{
    auto* bar = AddBar(0);
    int changes = 0;
    bar->SetOnChange(TNotifyEvent::Lambda([&](TObject* sender) {
        EXPECT_EQ(sender, bar);
        ++changes;
    }));
    TShortcutSheet* a = bar->NewSheet();
    TShortcutSheet* b = bar->NewSheet();
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(bar->GetActiveSheet(), b);
    EXPECT_EQ(a->Owner(), Form);
    EXPECT_EQ(a->GetParent(), bar);
    EXPECT_FALSE(a->TControl::GetVisible());
    EXPECT_TRUE(b->TControl::GetVisible());
    EXPECT_TRUE(a->GetVisible());
    EXPECT_EQ(b->GetSheetIndex(), 1);
    EXPECT_EQ(b->GetVisibleSheetIndex(), 1);
    a->Show(); // asks the bar to open it
    EXPECT_EQ(bar->GetActiveSheet(), a);
    EXPECT_FALSE(b->TControl::GetVisible());
    EXPECT_EQ(changes, 3);
}

TEST_F(BarModelTest, RemovingTheActiveSheetOpensTheNextThenTheNearestEarlier)
{
    auto* bar = AddBar(3);
    bar->SetActiveSheet(bar->GetSheet(1));
    TShortcutSheet* last = bar->GetSheet(2);
    delete bar->GetSheet(1);
    EXPECT_EQ(bar->GetActiveSheet(), last);
    TShortcutSheet* first = bar->GetSheet(0);
    delete last;
    EXPECT_EQ(bar->GetActiveSheet(), first);
    delete first;
    EXPECT_EQ(bar->GetActiveSheet(), nullptr);
    EXPECT_EQ(bar->GetSheetCount(), 0);
}

TEST_F(BarModelTest, HidingAnySheetOpensTheFirstVisibleOneAtOrAfterIt)
{
    auto* bar = AddBar(4);
    bar->SetActiveSheet(bar->GetSheet(3));
    int changes = 0;
    bar->SetOnChange(TNotifyEvent::Lambda([&](TObject*) { ++changes; }));
    bar->GetSheet(1)->SetVisible(false);
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(2));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(bar->GetVisibleSheetCount(), 3);
    EXPECT_EQ(bar->GetSheet(1)->GetVisibleSheetIndex(), -1);
    EXPECT_EQ(bar->GetVisibleSheet(1), bar->GetSheet(2));
    EXPECT_EQ(bar->GetVisibleSheet(3), nullptr);
    // Showing a sheet does not open it.
    bar->GetSheet(1)->SetVisible(true);
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(2));
    // Hiding every sheet leaves none open.
    for (Integer i = 0; i < 4; ++i)
        bar->GetSheet(i)->SetVisible(false);
    EXPECT_EQ(bar->GetActiveSheet(), nullptr);
    for (Integer i = 0; i < 4; ++i)
        EXPECT_FALSE(bar->GetSheet(i)->TControl::GetVisible());
}

TEST_F(BarModelTest, AnInvisibleSheetInsertedLeavesNoSheetOpenUntilAskedFor)
{
    auto* bar = AddBar(1);
    auto* hidden = new TShortcutSheet(Form);
    hidden->SetVisible(false);
    hidden->SetLaunchdeck(bar);
    EXPECT_EQ(bar->GetActiveSheet(), nullptr);
    bar->SetActiveSheet(nullptr); // opens the first visible sheet
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(0));
}

TEST_F(BarModelTest, AtDesignTimeHiddenSheetsKeepTheirTabs)
{
    auto* form = new TForm(nullptr);
    form->SetDesigning(true);
    form->SetBounds(0, 0, 200, 200);
    form->Show();
    auto* bar = new TLaunchdeck(form);
    bar->SetParent(form);
    EXPECT_EQ(bar->GetUpButton(), nullptr);
    EXPECT_FALSE(bar->GetControlStyle().Contains(csCaptureMouse));
    TShortcutSheet* a = bar->NewSheet();
    bar->NewSheet();
    a->SetVisible(false);
    EXPECT_TRUE(a->IsVisible());
    EXPECT_EQ(bar->GetVisibleSheetCount(), 2);
    EXPECT_EQ(a->GetVisibleSheetIndex(), 0);
    delete form;
}

TEST_F(BarModelTest, OnChangingCanRefuseAnAssignmentButIsNotAskedWhileLoading)
{
    auto* bar = AddBar(3);
    int asked = 0, changes = 0;
    bar->SetOnChanging(TSheetChangingEvent::Lambda([&](TObject* sender, bool& allow) {
        EXPECT_EQ(sender, bar);
        EXPECT_TRUE(allow);
        ++asked;
        allow = false;
    }));
    bar->SetOnChange(TNotifyEvent::Lambda([&](TObject*) { ++changes; }));
    TShortcutSheet* open = bar->GetActiveSheet();
    bar->SetActiveSheet(bar->GetSheet(0));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(bar->GetActiveSheet(), open);
    bar->ShowControl(bar->GetSheet(0));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(bar->GetActiveSheet(), open);

    bar->SetComponentStateFlag(csLoading, true);
    bar->SetActiveSheet(bar->GetSheet(0));
    bar->SetComponentStateFlag(csLoading, false);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(changes, 0); // no OnChange while loading
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(0));
}

TEST_F(BarModelTest, SheetIndexPastTheEndRaisesTheStringTableMessage)
{
    auto* bar = AddBar(3);
    TShortcutSheet* first = bar->GetSheet(0);
    try {
        first->SetSheetIndex(3);
        FAIL() << "no exception";
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "3 is an invalid SheetIndex value.  SheetIndex must be between 0 and 2");
    }
    EXPECT_EQ(bar->GetSheet(0), first);
    EXPECT_THROW(first->SetSheetIndex(-1), EListError);
    EXPECT_EQ(bar->GetSheet(0), first);
    first->SetSheetIndex(2);
    EXPECT_EQ(bar->GetSheet(2), first);
    EXPECT_EQ(first->GetSheetIndex(), 2);
    EXPECT_EQ(bar->GetSheet(0)->GetCaption(), "Sheet1");
}

TEST_F(BarModelTest, AFontChangeResetsACustomTabHeight)
{
    auto* bar = AddBar(1);
    EXPECT_FALSE(bar->IsTabHeightStored());
    bar->SetTabHeight(30);
    EXPECT_TRUE(bar->IsTabHeightStored());
    bar->GetFont()->SetHeight(-20);
    EXPECT_EQ(bar->GetTabHeight(), 33); // 20 * 1.66 rounded
    EXPECT_FALSE(bar->IsTabHeightStored());
}

TEST_F(BarModelTest, NegativeMinSheetHeightBecomesZero)
{
    auto* bar = AddBar(1);
    bar->SetMinSheetHeight(-5);
    EXPECT_EQ(bar->GetMinSheetHeight(), 0);
}

TEST_F(BarModelTest, TheActiveListIsTheFirstListOnTheOpenSheet)
{
    auto* bar = AddBar(0);
    TShortcutSheet* sheet = nullptr;
    TShortcutList* list = nullptr;
    bar->NewSheetAndList(sheet, list);
    EXPECT_EQ(list->GetParent(), sheet);
    EXPECT_EQ(list->Owner(), Form);
    EXPECT_EQ(sheet->GetShortcutList(), list);
    EXPECT_EQ(bar->GetActiveList(), list);
}

TEST_F(BarModelTest, DestroyingTheBarLeavesItsSheetsSafeToFree)
{
    auto* bar = AddBar(3);
    TShortcutSheet* sheet = bar->GetSheet(1);
    sheet->SetParent(Form); // survives the bar
    delete bar;
    EXPECT_EQ(sheet->GetLaunchdeck(), nullptr);
    EXPECT_EQ(sheet->GetSheetIndex(), -1);
    delete sheet;
}

} // namespace
} // namespace ld::test
