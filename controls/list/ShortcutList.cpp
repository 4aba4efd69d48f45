// TShortcutList: the class, its published properties, construction, image
// lists, the hot item and its state, messages, and how the list and the unit's
// drag and drop state forget an item that leaves its collection. Geometry is
// in ShortcutListLayout.cpp, scrolling in ShortcutListScroll.cpp, painting in
// ShortcutListPaint.cpp.
#include "controls/list/ShortcutList.h"
#include "controls/shared/ShortcutEdit.h"

#include "controls/shared/HostVersion.h"
#include "controls/shared/ShortcutButton.h"
#include "platform/gfx/RectUtils.h"
#include "platform/vcl/Menus.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"

namespace ld {

namespace {

constexpr Integer DefaultSize = 100;

} // namespace

const TEnumInfo& ShortcutStyleInfo()
{
    static const TEnumInfo info{"TShortcutStyle", {"ssLargeImages", "ssSmallImages"}};
    return info;
}

TShortcutListSheet::~TShortcutListSheet() = default;

// ---- type info -------------------------------------------------------------------------

TClass TShortcutList::StaticClass()
{
    using L = TShortcutList;
    // Color is left out: the list takes its parent's. The docking events exist
    // only in the newer hosts' class library.
    static const TClassInfo info =
        TClassBuilder<L>("TShortcutList", TCustomControl::StaticClass())
            .Event("OnClick", &L::GetOnClick, &L::SetOnClick)
            .Boolean("Enabled", &L::GetEnabled, &L::SetEnabled).Default(true)
            .Object("Font", &L::GetFont, &L::SetFont)
            .Boolean("ParentFont", &L::GetParentFont, &L::SetParentFont).Default(true)
            .Boolean("ParentShowHint", &L::GetParentShowHint, &L::SetParentShowHint).Default(true)
            .Boolean("ShowHint", &L::GetShowHint, &L::SetShowHint)
            .Component("PopupMenu", &L::GetPopupMenu, &L::SetPopupMenu)
            .Integer("TabOrder", &L::GetTabOrder, &L::SetTabOrder).Default(-1)
            .Boolean("Visible", &L::GetVisible, &L::SetVisible).Default(true)
            .Object("Items", &L::GetItems, &L::SetItems)
            .Component("LargeImages", &L::GetLargeImages, &L::SetLargeImages)
            .Component("SmallImages", &L::GetSmallImages, &L::SetSmallImages)
            .Enum("Style", &L::GetStyle, &L::SetStyle, ShortcutStyleInfo())
            .Boolean("AllowReorder", &L::GetAllowReorder, &L::SetAllowReorder).Default(true)
            .Event("OnReorder", &L::GetOnReorder, &L::SetOnReorder)
            .Event("OnReordering", &L::GetOnReordering, &L::SetOnReordering)
            .Event("OnAcceptItem", &L::GetOnAcceptItem, &L::SetOnAcceptItem)
            .Event("OnDragDrop", &L::GetOnDragDrop, &L::SetOnDragDrop)
            .Event("OnDragOver", &L::GetOnDragOver, &L::SetOnDragOver)
#if LD_HOST_HAS_DOCKING
            .Event("OnEndDock", &L::GetOnEndDock, &L::SetOnEndDock)
#endif
            .Event("OnEndDrag", &L::GetOnEndDrag, &L::SetOnEndDrag)
            .Event("OnEnter", &L::GetOnEnter, &L::SetOnEnter)
            .Event("OnExit", &L::GetOnExit, &L::SetOnExit)
            .Event("OnMouseDown", &L::GetOnMouseDown, &L::SetOnMouseDown)
            .Event("OnMouseMove", &L::GetOnMouseMove, &L::SetOnMouseMove)
            .Event("OnMouseUp", &L::GetOnMouseUp, &L::SetOnMouseUp)
#if LD_HOST_HAS_DOCKING
            .Event("OnStartDock", &L::GetOnStartDock, &L::SetOnStartDock)
#endif
            .Event("OnStartDrag", &L::GetOnStartDrag, &L::SetOnStartDrag);
    return &info;
}

// ---- life ------------------------------------------------------------------------------

TShortcutList::TShortcutList(TComponent* owner) : TCustomControl(owner)
{
    // The list clicks, captures and tracks by itself.
    FControlStyle = {csOpaque};
    FItems = new TShortcutItems(this);
    FLargeChangeLink = new TChangeLink();
    FLargeChangeLink->SetOnChange(TNotifyEvent(this, &TShortcutList::ImageListChange));
    FSmallChangeLink = new TChangeLink();
    FSmallChangeLink->SetOnChange(TNotifyEvent(this, &TShortcutList::ImageListChange));
    SetParentColor(true);
    SetParentFont(false);
    GetFont()->SetColor(clWhite);
    SetParentCtl3D(false);
    SetCtl3D(false);
    SetTabStop(false);
    FAllowReorder = true;
    if (!Designing()) {
        FUpButton = new TShortcutButton(this, sbUp);
        FUpButton->SetParent(this);
        FUpButton->SetOnClick(TNotifyEvent(this, &TShortcutList::UpButtonClick));
        FDownButton = new TShortcutButton(this, sbDown);
        FDownButton->SetParent(this);
        FDownButton->SetOnClick(TNotifyEvent(this, &TShortcutList::DownButtonClick));
    }
    SetWidth(DefaultSize);
    SetHeight(DefaultSize);
}

TShortcutList::~TShortcutList()
{
    // An open editor goes first, while the list it reports to is whole.
    DropCaptionEdit();
    // A drag begun here ends now, while the list can still hear of it.
    if (Dragging())
        EndDrag(false);
    TListDropState& drop = ListDropState();
    if (drop.DropList == this) {
        drop.DropList = nullptr;
        drop.DropRect = {};
        drop.DropBeforeItem = nullptr;
        drop.DropKind = 0;
    }
    FreeAndNil(FLargeChangeLink);
    FreeAndNil(FSmallChangeLink);
    // Detached first: the items leaving must not lay out a list being destroyed.
    FItems->FShortcutList = nullptr;
    FreeAndNil(FItems);
    FActiveItem = nullptr;
    FClickedItem = nullptr;
    FEditItem = nullptr;
    FreeAndNil(FLeaveTimer);
    // The buttons exist when the list was made at run time, whatever the
    // state is now.
    if (FUpButton != nullptr) {
        // Leaving the parent first, while each is still wholly a button.
        FUpButton->SetParent(nullptr);
        FDownButton->SetParent(nullptr);
        FreeAndNil(FUpButton);
        FreeAndNil(FDownButton);
    }
    SetParent(nullptr);
}

void TShortcutList::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
}

void TShortcutList::Loaded()
{
    inherited::Loaded();
    LayoutChanged();
}

void TShortcutList::SetParent(TWinControl* parent)
{
    inherited::SetParent(parent);
    LayoutChanged();
}

// On a sheet the list always fills the sheet (less the margin): LayoutChanged
// places it, whatever was asked.
void TShortcutList::SetBounds(Integer left, Integer top, Integer width, Integer height)
{
    if (!Loading() && Sheet() != nullptr) {
        LayoutChanged();
        return;
    }
    inherited::SetBounds(left, top, width, height);
}

TShortcutListSheet* TShortcutList::Sheet() const { return dynamic_cast<TShortcutListSheet*>(GetParent()); }

// ---- properties ------------------------------------------------------------------------

void TShortcutList::SetItems(TShortcutItems* value)
{
    FItems->Assign(value);
    LayoutChanged();
}

void TShortcutList::SetStyle(TShortcutStyle value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    FScrollOffset = 0;
    LayoutChanged();
}

void TShortcutList::SetLargeImages(TCustomImageList* value) { SetImages(FLargeImages, FLargeChangeLink, value); }

void TShortcutList::SetSmallImages(TCustomImageList* value) { SetImages(FSmallImages, FSmallChangeLink, value); }

// Leaves the old list's changes, hears the new one's, and hears of its freeing
// wherever it is owned. An image list being freed has let go of the link
// already and must not be called again.
void TShortcutList::SetImages(TCustomImageList*& field, TChangeLink* link, TCustomImageList* value)
{
    if (field != nullptr && link->GetSender() == field)
        field->UnRegisterChanges(link);
    field = value;
    if (field != nullptr) {
        field->RegisterChanges(link);
        field->FreeNotification(this);
    }
    LayoutChanged();
}

void TShortcutList::ImageListChange(TObject*) { LayoutChanged(); }

void TShortcutList::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    // An editor freed by anyone but the list is no longer current.
    if (component != nullptr && component == FEdit) {
        FEdit = nullptr;
        FEditItem = nullptr;
    }
    if (component == FLargeImages)
        SetLargeImages(nullptr);
    if (component == FSmallImages)
        SetSmallImages(nullptr);
}

// ---- the hot item ----------------------------------------------------------------------

void TShortcutList::InvalidateHighlight(TShortcutItem* item)
{
    if (item == nullptr || !HandleAllocated())
        return;
    const TRect r = GetHighlightRect(item);
    InvalidateRect(GetHandle(), &r, false);
}

void TShortcutList::SetActiveItem(TShortcutItem* value)
{
    if (value == FActiveItem)
        return;
    InvalidateHighlight(FActiveItem);
    FActiveItem = value;
    InvalidateHighlight(FActiveItem);
    Update();
}

void TShortcutList::SetActiveState(TShortcutItemState value)
{
    if (value == FActiveState)
        return;
    FActiveState = value;
    if (FActiveItem != nullptr) {
        InvalidateHighlight(FActiveItem);
        Update();
    }
}

// The item is already out of the collection; its highlight goes with the
// layout that follows.
void TShortcutList::ForgetItem(TShortcutItem* item)
{
    if (FActiveItem == item) {
        FActiveItem = nullptr;
        FActiveState = siNone;
    }
    if (FClickedItem == item)
        FClickedItem = nullptr;
    // The edited item is gone: its editor goes too, its text dropped, and
    // the editor's late message finds no current editor.
    if (FEditItem == item)
        DropCaptionEdit();
}

// ---- messages --------------------------------------------------------------------------

void TShortcutList::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case WM_SIZE: WMSize(message); return;
    case WM_ERASEBKGND: WMEraseBkgnd(message); return;
    case CM_FONTCHANGED: CMFontChanged(message); return;
    }
    if (DispatchInput(message))
        return;
    inherited::Dispatch(message);
}

void TShortcutList::WMSize(TMessage& message)
{
    inherited::Dispatch(message);
    LayoutChanged();
}

// Captions measure differently in another font.
void TShortcutList::CMFontChanged(TMessage& message)
{
    inherited::Dispatch(message);
    LayoutChanged();
}

// ---- unit-wide drag and drop state --------------------------------------------------------

TListDropState& ListDropState()
{
    static TListDropState state;
    return state;
}

static void InvalidateDropRect(const TListDropState& drop)
{
    if (drop.DropList != nullptr && drop.DropList->HandleAllocated() && !IsRectEmpty(drop.DropRect))
        InvalidateRect(drop.DropList->GetHandle(), &drop.DropRect, false);
}

void SetDropMark(TShortcutList* list, TShortcutItem* item, Integer kind, const TRect& rect)
{
    TListDropState& drop = ListDropState();
    if (list == drop.DropList && rect == drop.DropRect)
        return;
    InvalidateDropRect(drop);
    drop.DropList = list;
    drop.DropBeforeItem = item;
    drop.DropKind = kind;
    drop.DropRect = rect;
    InvalidateDropRect(drop);
    if (list != nullptr)
        list->Update();
}

void ForgetDropItem(TShortcutItem* item)
{
    TListDropState& drop = ListDropState();
    if (drop.DragItem == item)
        drop.DragItem = nullptr;
    if (drop.DropBeforeItem != item)
        return;
    InvalidateDropRect(drop);
    drop.DropList = nullptr;
    drop.DropRect = {};
    drop.DropBeforeItem = nullptr;
    drop.DropKind = 0;
}

} // namespace ld
