// The list's answers to real input through the queue, on the simulated clock:
// hot tracking and the leave watch, press and click with the order of events,
// presses on empty space going to the parent, accelerators, and the item drag
// within a list, to another list and through a tab that opens on the way.
#include "tests/list/ListTestSupport.h"

#include <stdexcept>

#include "platform/vcl/DragDrop.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"

namespace ld::test {
namespace {

using Strings = std::vector<std::string>;

class ListInputTest : public ListTest {
protected:
    // A list filling the first sheet of a two-sheet bar, with five items.
    TShortcutList* InputList()
    {
        Form->SetBounds(100, 100, 500, 600);
        TShortcutList* list = AddBarList({}, 2, 520);
        list->SetName("List0");
        list->SetLargeImages(MakeImages(32, {0x3060C0, 0x30A040, 0xC08030, 0xA03090, 0x20A0A0}));
        AddItems(list, {"&Alpha", "&Beta", "&Gamma", "&Delta", "&Omega"});
        for (Integer i = 0; i < 5; ++i)
            Item(list, i)->SetImageIndex(i);
        Backend->RunUntilIdle();
        return list;
    }
    TShortcutItem* Item(TShortcutList* list, Integer index) { return list->GetItems()->GetItem(index); }
    static TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
    static TPoint IconCentre(TShortcutList* list, Integer index)
    {
        return Centre(list->GetIconRect(list->GetItems()->GetItem(index), false));
    }
    void MoveOver(TControl* control, TPoint client)
    {
        const TPoint p = control->ClientToScreen(client);
        Backend->MoveTo(p.X, p.Y);
        Backend->RunUntilIdle();
    }
    void DragOver(TControl* control, TPoint client)
    {
        const TPoint p = control->ClientToScreen(client);
        Backend->DragTo(p.X, p.Y);
        Backend->RunUntilIdle();
    }
    void Press()
    {
        Backend->Press();
        Backend->RunUntilIdle();
    }
    void Release()
    {
        Backend->Release();
        Backend->RunUntilIdle();
    }
    // The list's mouse-button events, clicks (with the clicked item's
    // caption), reordering and end-of-drag events, in order.
    void Log(TShortcutList* list)
    {
        const std::string name = list->GetName();
        list->SetOnMouseDown(TMouseEvent::Lambda([this, name](TObject*, TMouseButton b, TShiftState, Integer, Integer) {
            Events.push_back(name + (b == mbLeft ? " down" : " rdown"));
        }));
        list->SetOnMouseUp(TMouseEvent::Lambda([this, name](TObject*, TMouseButton b, TShiftState, Integer, Integer) {
            Events.push_back(name + (b == mbLeft ? " up" : " rup"));
        }));
        list->SetOnClick(TNotifyEvent::Lambda([this, list, name](TObject*) {
            TShortcutItem* item = list->GetActiveItem();
            Events.push_back(name + " click " + (item ? item->GetCaption() : "nil"));
        }));
        list->SetOnReordering(TShortcutReorderingEvent::Lambda([this, name](TControl*, TShortcutItem* item, bool& allow) {
            Events.push_back(name + " reordering " + item->GetCaption());
            allow = AllowReorder;
        }));
        list->SetOnReorder(TShortcutItemNotifyEvent::Lambda([this, name](TControl*, TShortcutItem* item) {
            Events.push_back(name + " reorder " + item->GetCaption());
        }));
        list->SetOnEndDrag(TEndDragEvent::Lambda([this, name](TObject*, TObject*, Integer, Integer) {
            Events.push_back(name + " enddrag");
        }));
    }
    static Strings Captions(TShortcutList* list)
    {
        Strings result;
        for (void* p : list->GetItems()->List())
            result.push_back(static_cast<TShortcutItem*>(p)->GetCaption());
        return result;
    }
    // Presses on item Index and moves 5 pixels down: the drag starts.
    void StartDrag(TShortcutList* list, Integer index)
    {
        const TPoint at = IconCentre(list, index);
        MoveOver(list, at);
        Press();
        MoveOver(list, {at.X, at.Y + 5});
        ASSERT_TRUE(ListDropState().ItemDragging);
        ASSERT_NE(GetDragObject(), nullptr);
    }
    // A point in the gap above item Index.
    static TPoint GapAbove(TShortcutList* list, Integer index)
    {
        const TRect r = list->GetItemRect(list->GetItems()->GetItem(index));
        return {r.Left + 2, r.Top - 3};
    }
    HCURSOR Cursor(TCursor cursor) { return Screen->GetCursors(cursor); }

    bool AllowReorder = true;
};

// ---- hot tracking -----------------------------------------------------------------------

TEST_F(ListInputTest, TheHotItemFollowsThePointerPassesDisabledItemsAndGoesWhenThePointerLeaves)
{
    TShortcutList* list = InputList();
    Item(list, 2)->SetEnabled(false);
    MoveOver(list, IconCentre(list, 0));
    EXPECT_EQ(list->GetActiveItem(), Item(list, 0));
    EXPECT_EQ(list->GetActiveState(), siUp);
    EXPECT_TRUE(list->HasLeaveTimer());
    MoveOver(list, IconCentre(list, 1));
    EXPECT_EQ(list->GetActiveItem(), Item(list, 1));
    MoveOver(list, IconCentre(list, 2));
    EXPECT_EQ(list->GetActiveItem(), nullptr) << "a disabled item is never hot";
    EXPECT_EQ(list->GetActiveState(), siNone);
    MoveOver(list, IconCentre(list, 3));
    EXPECT_EQ(list->GetActiveItem(), Item(list, 3));
    MoveOver(list, GapAbove(list, 4)); // between items
    EXPECT_EQ(list->GetActiveItem(), nullptr);

    // The hot item is drawn raised: its highlight differs from an idle item's.
    MoveOver(list, IconCentre(list, 1));
    const TRect hot = list->GetHighlightRect(Item(list, 1));
    EXPECT_NE(ScreenPixel(list, hot.Left, hot.Top), ScreenPixel(list, hot.Left, hot.Top - 4));

    MoveOver(Form, {450, 560});
    EXPECT_EQ(list->GetActiveItem(), nullptr);
    EXPECT_FALSE(list->IsMouseInside());
    EXPECT_FALSE(list->HasLeaveTimer());
}

TEST_F(ListInputTest, TheLeaveTimerFindsAPointerThatLeftUnannouncedButWaitsWhileAWindowHoldsTheMouse)
{
    TShortcutList* list = InputList();
    MoveOver(list, IconCentre(list, 0));
    ASSERT_EQ(list->GetActiveItem(), Item(list, 0));
    // The pointer goes without a move reaching anyone.
    const TPoint outside = Form->ClientToScreen({450, 560});
    SetCursorPos(outside.X, outside.Y);
    HWND holder = Form->GetHandle();
    SetCapture(holder);
    Backend->Advance(250);
    EXPECT_EQ(list->GetActiveItem(), Item(list, 0)) << "paused while the form holds the mouse";
    ReleaseCapture();
    Backend->Advance(100);
    EXPECT_EQ(list->GetActiveItem(), nullptr);
    EXPECT_FALSE(list->HasLeaveTimer());
}

TEST_F(ListInputTest, HotTrackingPausesWhileAnotherControlHoldsTheCapture)
{
    TShortcutList* list = InputList();
    auto* other = new TCustomControl(Form);
    other->SetParent(Form);
    other->SetBounds(250, 20, 60, 60);
    other->SetControlStyle({csCaptureMouse});
    Backend->RunUntilIdle();
    MoveOver(other, {30, 30});
    Press();
    ASSERT_EQ(GetCaptureControl(), other);
    MoveOver(list, IconCentre(list, 1));
    MoveOver(list, IconCentre(list, 2));
    EXPECT_EQ(list->GetActiveItem(), nullptr);
    Release();
    MoveOver(list, IconCentre(list, 1));
    EXPECT_EQ(list->GetActiveItem(), Item(list, 1));
}

TEST_F(ListInputTest, TheFirstMoveBackFromAClickedArrowLightsTheItem)
{
    Form->SetBounds(100, 100, 500, 600);
    TShortcutList* list = AddBarList({}, 2, 200);
    list->SetLargeImages(MakeImages(32, {0x3060C0}));
    AddItems(list, {"One", "Two", "Three", "Four", "Five", "Six"});
    Backend->RunUntilIdle();
    TShortcutButton* down = list->GetDownButton();
    ASSERT_TRUE(down->GetVisible());
    MoveOver(list, IconCentre(list, 0));
    ASSERT_EQ(list->GetActiveItem(), Item(list, 0));
    MoveOver(down, {3, 3});
    EXPECT_EQ(list->GetActiveItem(), nullptr);
    Press();
    Release();
    ASSERT_EQ(list->GetTopItem(), Item(list, 1));
    MoveOver(list, IconCentre(list, 2));
    EXPECT_EQ(list->GetActiveItem(), Item(list, 2)) << "lit at the first move";
    EXPECT_TRUE(list->HasLeaveTimer());
}

// ---- press and click ----------------------------------------------------------------------

TEST_F(ListInputTest, AClickFiresMouseDownClickWithTheClickedItemThenMouseUp)
{
    TShortcutList* list = InputList();
    Log(list);
    MoveOver(list, IconCentre(list, 1));
    Press();
    EXPECT_TRUE(list->IsPressed());
    EXPECT_EQ(list->GetActiveState(), siDown);
    EXPECT_EQ(GetCapture(), list->GetHandle());
    Release();
    EXPECT_EQ(Events, (Strings{"List0 down", "List0 click &Beta", "List0 up"}));
    EXPECT_FALSE(list->IsPressed());
    EXPECT_EQ(list->GetActiveState(), siUp);
    EXPECT_EQ(GetCapture(), nullptr);

    // A disabled item cannot be clicked with the mouse: the press is the parent's.
    Events.clear();
    Item(list, 3)->SetEnabled(false);
    MoveOver(list, IconCentre(list, 3));
    Press();
    Release();
    EXPECT_TRUE(Events.empty());
}

TEST_F(ListInputTest, APressReleasedOnAnotherItemFiresNoClickAndLeavingShowsTheItemUnpressed)
{
    TShortcutList* list = InputList();
    list->SetAllowReorder(false);
    Log(list);
    MoveOver(list, IconCentre(list, 0));
    Press();
    MoveOver(list, IconCentre(list, 1));
    EXPECT_EQ(list->GetActiveState(), siNone) << "off the pressed item: unpressed";
    EXPECT_EQ(list->GetActiveItem(), Item(list, 0));
    MoveOver(list, IconCentre(list, 0));
    EXPECT_EQ(list->GetActiveState(), siDown) << "back on it: pressed again";
    MoveOver(list, IconCentre(list, 1));
    Release();
    EXPECT_EQ(Events, (Strings{"List0 down", "List0 up"}));
    EXPECT_FALSE(ListDropState().ItemDragging);
}

TEST_F(ListInputTest, AFourPixelMoveStillClicksAFivePixelMoveStartsADrag)
{
    TShortcutList* list = InputList();
    Log(list);
    const TPoint at = IconCentre(list, 0);
    MoveOver(list, at);
    Press();
    MoveOver(list, {at.X + 4, at.Y - 4});
    Release();
    EXPECT_EQ(Events, (Strings{"List0 down", "List0 click &Alpha", "List0 up"}));

    Events.clear();
    MoveOver(list, at);
    Press();
    MoveOver(list, {at.X, at.Y + 5});
    EXPECT_EQ(Events, (Strings{"List0 down", "List0 reordering &Alpha"}));
    EXPECT_TRUE(ListDropState().ItemDragging);
    EXPECT_EQ(ListDropState().DragItem, Item(list, 0));
    EXPECT_EQ(list->GetActiveState(), siNone);
    EXPECT_EQ(Backend->GetShownCursor(), Cursor(crNoDrop)) << "over the item itself: no drop";
    Release();
    EXPECT_EQ(Events, (Strings{"List0 down", "List0 reordering &Alpha"})) << "no click, no up, no end event";
    EXPECT_FALSE(ListDropState().ItemDragging);
    EXPECT_EQ(Captions(list), (Strings{"&Alpha", "&Beta", "&Gamma", "&Delta", "&Omega"}));
}

TEST_F(ListInputTest, ARefusedReorderingKeepsThePressAndTheClick)
{
    TShortcutList* list = InputList();
    Log(list);
    AllowReorder = false;
    const TPoint at = IconCentre(list, 0);
    MoveOver(list, at);
    Press();
    MoveOver(list, {at.X, at.Y + 6});
    MoveOver(list, {at.X, at.Y + 8});
    EXPECT_FALSE(ListDropState().ItemDragging);
    EXPECT_EQ(list->GetActiveState(), siDown);
    Release();
    EXPECT_EQ(Events, (Strings{"List0 down", "List0 reordering &Alpha", "List0 reordering &Alpha",
                               "List0 click &Alpha", "List0 up"}));
}

TEST_F(ListInputTest, PressesOnEmptySpaceGoToTheParentUnchanged)
{
    TShortcutList* list = InputList();
    Log(list);
    TShortcutSheet* sheet = list->GetParent() == nullptr ? nullptr : dynamic_cast<TShortcutSheet*>(list->GetParent());
    ASSERT_NE(sheet, nullptr);
    std::vector<TPoint> parentDowns;
    sheet->SetOnMouseDown(TMouseEvent::Lambda([&](TObject*, TMouseButton b, TShiftState, Integer x, Integer y) {
        Events.push_back(b == mbLeft ? "sheet down" : "sheet rdown");
        parentDowns.push_back({x, y});
    }));
    sheet->SetOnMouseUp(TMouseEvent::Lambda([&](TObject*, TMouseButton b, TShiftState, Integer, Integer) {
        Events.push_back(b == mbLeft ? "sheet up" : "sheet rup");
    }));
    const TPoint empty{20, list->GetClientHeight() - 20};
    ASSERT_EQ(list->GetItemAt(empty.X, empty.Y), nullptr);
    MoveOver(list, empty);
    Press();
    Release();
    Backend->Press(TPointerButton::Right);
    Backend->Release(TPointerButton::Right);
    Backend->RunUntilIdle();
    EXPECT_EQ(Events, (Strings{"sheet down", "sheet up", "sheet rdown", "sheet rup"}));
    ASSERT_EQ(parentDowns.size(), 2u);
    EXPECT_EQ(parentDowns[0], empty) << "the list's coordinates, passed on as they are";
    EXPECT_FALSE(list->IsPressed());

    // A right click on an item is the list's.
    Events.clear();
    MoveOver(list, IconCentre(list, 2));
    Backend->Press(TPointerButton::Right);
    Backend->Release(TPointerButton::Right);
    Backend->RunUntilIdle();
    EXPECT_EQ(Events, (Strings{"List0 rdown", "List0 rup"}));
}

TEST_F(ListInputTest, CancelModeEndsThePressAndTheHotItem)
{
    TShortcutList* list = InputList();
    Log(list);
    MoveOver(list, IconCentre(list, 1));
    Press();
    SendMessage(list->GetHandle(), WM_CANCELMODE, 0, 0);
    EXPECT_FALSE(list->IsPressed());
    EXPECT_EQ(list->GetActiveItem(), nullptr);
    EXPECT_EQ(list->GetActiveState(), siNone);
    EXPECT_FALSE(list->IsMouseInside());
    EXPECT_NE(GetCapture(), list->GetHandle());
    Release();
    EXPECT_EQ(std::count(Events.begin(), Events.end(), "List0 click &Beta"), 0);
    MoveOver(list, IconCentre(list, 2));
    EXPECT_EQ(list->GetActiveItem(), Item(list, 2)) << "the next move tracks again";
}

TEST_F(ListInputTest, AnItemRemovedByItsOwnClickOrWhilePressedIsForgotten)
{
    TShortcutList* list = InputList();
    list->SetOnClick(TNotifyEvent::Lambda([list](TObject*) {
        TShortcutItem* item = list->GetActiveItem();
        list->GetItems()->Delete(item->GetIndex());
    }));
    MoveOver(list, IconCentre(list, 1));
    Press();
    Release();
    EXPECT_EQ(Captions(list), (Strings{"&Alpha", "&Gamma", "&Delta", "&Omega"}));
    EXPECT_EQ(list->GetActiveItem(), nullptr);

    // Removed from a timer while pressed: the release ends the press.
    MoveOver(list, IconCentre(list, 0));
    Press();
    auto* timer = new TTimer(Form);
    timer->SetInterval(50);
    timer->SetOnTimer(TNotifyEvent::Lambda([list, timer](TObject*) {
        timer->SetEnabled(false);
        list->GetItems()->Delete(0);
    }));
    Backend->Advance(60);
    EXPECT_EQ(list->GetActiveItem(), nullptr);
    Release();
    EXPECT_FALSE(list->IsPressed());
    EXPECT_NE(GetCapture(), list->GetHandle());
    MoveOver(list, IconCentre(list, 0));
    EXPECT_EQ(list->GetActiveItem(), Item(list, 0));
}

TEST_F(ListInputTest, AnExceptionFromOnClickPropagatesWithTheClickedItemCleared)
{
    TShortcutList* list = InputList();
    list->SetOnClick(TNotifyEvent::Lambda([](TObject*) { throw std::runtime_error("handler"); }));
    Item(list, 0)->SetEnabled(false);
    EXPECT_THROW(list->Perform(CM_DIALOGCHAR, 'G', 0), std::runtime_error);
    EXPECT_EQ(list->GetActiveItem(), nullptr);
}

// ---- accelerators ----------------------------------------------------------------------------

TEST_F(ListInputTest, AnAcceleratorClicksItsItemDisabledOrNotOnlyWhileTheListShows)
{
    TShortcutList* list = InputList();
    Log(list);
    Item(list, 2)->SetEnabled(false);
    Backend->KeyWith(VK_MENU, 'G');
    Backend->RunUntilIdle();
    Backend->KeyWith(VK_MENU, 'D');
    Backend->RunUntilIdle();
    EXPECT_EQ(list->Perform(CM_DIALOGCHAR, 'o', 0), 1) << "either case";
    EXPECT_EQ(Events, (Strings{"List0 click &Gamma", "List0 click &Delta", "List0 click &Omega"}));
    EXPECT_EQ(list->GetActiveItem(), nullptr) << "the clicked item is ActiveItem only during the click";
    EXPECT_EQ(list->Perform(CM_DIALOGCHAR, 'X', 0), 0);

    Events.clear();
    list->SetEnabled(false);
    EXPECT_EQ(list->Perform(CM_DIALOGCHAR, 'G', 0), 0);
    list->SetEnabled(true);
    // The closed sheet's list is not showing: its accelerators are dead.
    auto* bar = static_cast<TLaunchdeck*>(list->GetParent()->GetParent());
    TShortcutList* closed = bar->GetSheet(1)->NewList();
    closed->SetName("Closed");
    AddItems(closed, {"&Zeta"});
    Log(closed);
    Backend->RunUntilIdle();
    EXPECT_FALSE(closed->Showing());
    Backend->KeyWith(VK_MENU, 'Z');
    Backend->RunUntilIdle();
    EXPECT_TRUE(Events.empty());
}

// ---- the item drag ---------------------------------------------------------------------------

TEST_F(ListInputTest, ADropInTheGapAboveItemKInsertsBeforeItAndTheSourceReleasesThePress)
{
    TShortcutList* list = InputList();
    Log(list);
    StartDrag(list, 0);
    // Passing back over the dragged item neither presses it again nor starts
    // another drag.
    DragOver(list, IconCentre(list, 0));
    EXPECT_EQ(list->GetActiveState(), siNone);
    DragOver(list, GapAbove(list, 3));
    const TListDropState& drop = ListDropState();
    EXPECT_EQ(drop.DropList, list);
    EXPECT_EQ(drop.DropKind, 1);
    EXPECT_EQ(drop.DropBeforeItem, Item(list, 3));
    const Integer top = list->GetItemRect(Item(list, 3)).Top;
    EXPECT_EQ(drop.DropRect, Rect(0, top - list->GetItemGap(), list->GetClientWidth(), top));
    EXPECT_EQ(Backend->GetShownCursor(), Cursor(crDrag));
    const Integer markerY = top - list->GetItemGap() / 2;
    EXPECT_EQ(ScreenPixel(list, 40, markerY), 0x000000u) << "the marker's line";
    Backend->SaveWindowShot(list->GetHandle(), OutputPath("list-drop-marker.png"));
    Release();
    EXPECT_NE(ScreenPixel(list, 40, markerY), 0x000000u) << "the marker is gone";
    EXPECT_EQ(Captions(list), (Strings{"&Beta", "&Gamma", "&Alpha", "&Delta", "&Omega"}));
    EXPECT_EQ(Events, (Strings{"List0 down", "List0 reordering &Alpha", "List0 reorder &Alpha"}));
    EXPECT_FALSE(drop.ItemDragging);
    EXPECT_EQ(drop.DropList, nullptr);
    EXPECT_EQ(drop.DragItem, nullptr);
    EXPECT_FALSE(list->IsPressed());
    EXPECT_EQ(list->GetActiveItem(), nullptr);
    EXPECT_EQ(list->GetActiveState(), siNone);
    EXPECT_EQ(GetCapture(), nullptr);
    MoveOver(list, IconCentre(list, 4));
    EXPECT_EQ(list->GetActiveItem(), Item(list, 4)) << "the next move makes the item hot";
    EXPECT_EQ(list->GetActiveState(), siUp);
}

TEST_F(ListInputTest, ADropBelowTheLastItemAppendsAndTheGapNextToTheItemKeepsTheOrder)
{
    TShortcutList* list = InputList();
    Log(list);
    StartDrag(list, 1);
    DragOver(list, {10, list->GetClientHeight() - 4});
    EXPECT_EQ(ListDropState().DropKind, 2);
    Release();
    EXPECT_EQ(Captions(list), (Strings{"&Alpha", "&Gamma", "&Delta", "&Omega", "&Beta"}));

    Events.clear();
    TShortcutItem* before = Item(list, 1);
    StartDrag(list, 1);
    DragOver(list, GapAbove(list, 1));
    Release();
    EXPECT_EQ(Captions(list), (Strings{"&Alpha", "&Gamma", "&Delta", "&Omega", "&Beta"}));
    EXPECT_NE(Item(list, 1), before) << "replaced by a copy";
    EXPECT_EQ(Events.back(), "List0 reorder &Gamma");
}

TEST_F(ListInputTest, ADropOnTheItemItselfOrOutsideAnyListMovesNothingAndRemovesTheMarker)
{
    TShortcutList* list = InputList();
    Log(list);
    StartDrag(list, 2);
    DragOver(list, GapAbove(list, 1));
    EXPECT_EQ(ListDropState().DropList, list);
    DragOver(list, IconCentre(list, 4));
    EXPECT_EQ(ListDropState().DropKind, 0);
    DragOver(Form, {450, 560});
    Release();
    EXPECT_EQ(Captions(list), (Strings{"&Alpha", "&Beta", "&Gamma", "&Delta", "&Omega"}));
    EXPECT_EQ(ListDropState().DropList, nullptr);
    EXPECT_FALSE(ListDropState().ItemDragging);
    EXPECT_FALSE(list->IsPressed());
}

TEST_F(ListInputTest, AnItemMovesToAnEmptyListAndTheReceivingListsOnReorderFires)
{
    TShortcutList* source = InputList();
    TShortcutList* empty = new TShortcutList(Form);
    empty->SetName("Empty");
    empty->SetParent(Form);
    empty->SetBounds(250, 20, 120, 200);
    Backend->RunUntilIdle();
    Log(source);
    Log(empty);
    Strings accepted;
    empty->SetOnAcceptItem(TShortcutAcceptItemEvent::Lambda([&](TControl*, TShortcutItem* item, bool&) {
        accepted.push_back(item->GetCaption());
    }));
    StartDrag(source, 3);
    DragOver(empty, {60, 150});
    EXPECT_EQ(ListDropState().DropList, empty);
    EXPECT_EQ(ListDropState().DropKind, 2);
    EXPECT_GT(accepted.size(), 5u) << "asked on every move";
    Release();
    EXPECT_EQ(Captions(source), (Strings{"&Alpha", "&Beta", "&Gamma", "&Omega"}));
    EXPECT_EQ(Captions(empty), (Strings{"&Delta"}));
    EXPECT_EQ(Events, (Strings{"List0 down", "List0 reordering &Delta", "Empty reorder &Delta"}));
    EXPECT_FALSE(source->IsPressed());
}

TEST_F(ListInputTest, AListRefusingTheItemShowsTheNoDropCursorAndNoMarker)
{
    TShortcutList* source = InputList();
    TShortcutList* other = new TShortcutList(Form);
    other->SetParent(Form);
    other->SetBounds(250, 20, 120, 200);
    AddItems(other, {"One"});
    other->SetOnAcceptItem(TShortcutAcceptItemEvent::Lambda([](TControl*, TShortcutItem*, bool& accept) { accept = false; }));
    Backend->RunUntilIdle();
    StartDrag(source, 0);
    DragOver(other, {60, 150});
    EXPECT_NE(ListDropState().DropList, other);
    const Integer bottom = other->GetItemRect(other->GetItems()->GetItem(0)).Bottom;
    EXPECT_NE(ScreenPixel(other, 60, bottom + other->GetItemGap() / 2), 0x000000u) << "no marker";
    EXPECT_EQ(Backend->GetShownCursor(), Cursor(crNoDrop));
    Release();
    EXPECT_EQ(Captions(other), (Strings{"One"}));
    EXPECT_EQ(source->GetItems()->GetCount(), 5);
}

TEST_F(ListInputTest, AnItemDraggedOntoAClosedTabMovesToThatSheetsListWhenItOpens)
{
    TShortcutList* source = InputList();
    auto* bar = static_cast<TLaunchdeck*>(source->GetParent()->GetParent());
    TShortcutList* target = bar->GetSheet(1)->NewList();
    AddItems(target, {"One", "Two"});
    Backend->RunUntilIdle();
    StartDrag(source, 4);
    DragOver(bar, Centre(bar->GetGroupRect(1)));
    Backend->Advance(190);
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(0));
    Backend->Advance(20);
    ASSERT_EQ(bar->GetActiveSheet(), bar->GetSheet(1));
    ASSERT_TRUE(target->Showing());
    DragOver(target, GapAbove(target, 1));
    EXPECT_EQ(ListDropState().DropList, target);
    Release();
    EXPECT_EQ(Captions(target), (Strings{"One", "&Omega", "Two"}));
    EXPECT_EQ(source->GetItems()->GetCount(), 4);
}

TEST_F(ListInputTest, TheDraggedItemRemovedDuringTheDragIsNeverUsed)
{
    TShortcutList* list = InputList();
    Log(list);
    StartDrag(list, 1);
    DragOver(list, GapAbove(list, 3));
    auto* timer = new TTimer(Form);
    timer->SetInterval(50);
    timer->SetOnTimer(TNotifyEvent::Lambda([list, timer](TObject*) {
        timer->SetEnabled(false);
        list->GetItems()->Delete(1);
        list->GetItems()->Delete(2); // the item the marker stood before
    }));
    Backend->Advance(60);
    EXPECT_EQ(ListDropState().DragItem, nullptr);
    DragOver(list, GapAbove(list, 1));
    Release();
    EXPECT_EQ(Captions(list), (Strings{"&Alpha", "&Gamma", "&Omega"}));
    EXPECT_FALSE(ListDropState().ItemDragging);
    EXPECT_EQ(std::count(Events.begin(), Events.end(), "List0 reorder &Beta"), 0);
}

TEST_F(ListInputTest, ADragStartedFromAListEndsWhenTheListIsFreed)
{
    TShortcutList* list = InputList();
    StartDrag(list, 0);
    delete list;
    EXPECT_EQ(GetDragObject(), nullptr);
    EXPECT_FALSE(ListDropState().ItemDragging);
    Release();
}

} // namespace
} // namespace ld::test
