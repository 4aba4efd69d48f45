// Unit ShortcutList: a column of shortcut items, each a large or small icon
// from an image list with its caption, normally filling a sheet of the bar.
//
// Index: types and events; TShortcutItem and TShortcutItems (the collection
// and its stored form); the list geometry as plain functions; the sheet's side
// of the list; TShortcutList; the unit-wide drag and drop state.
//
// Source files: ShortcutItems.cpp (items, collection, stored form),
// ShortcutList.cpp (the class, properties, messages, forgetting items),
// ShortcutListLayout.cpp (geometry and layout), ShortcutListScroll.cpp (the
// arrow buttons, one-item steps and the animated scroll), ShortcutListPaint.cpp,
// ShortcutListInput.cpp (hot tracking, clicks, accelerators, item drag and drop).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/core/List.h"
#include "platform/gfx/ImgList.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/ExtCtrls.h"

namespace ld {

class TReader;
class TWriter;
class TShortcutItem;
class TShortcutItems;
class TShortcutList;
class TShortcutButton;
class TShortcutEdit;
struct TDropPosition;

enum TShortcutStyle : Byte { ssLargeImages, ssSmallImages };
enum TShortcutItemState : Byte { siNone, siUp, siDown };
const TEnumInfo& ShortcutStyleInfo();

using TShortcutItemNotifyEvent = TClosure<TControl*, TShortcutItem*>;
using TShortcutAcceptItemEvent = TClosure<TControl*, TShortcutItem*, bool&>;
using TShortcutReorderingEvent = TClosure<TControl*, TShortcutItem*, bool&>;

// ---- items ----------------------------------------------------------------------------

class TShortcutItem : public TPersistent {
    LD_CLASS(TShortcutItem, TPersistent)

    // Only the collection's Add and Insert make items that it lists.
    explicit TShortcutItem(TShortcutItems* owner);
    // Leaves the collection first.
    ~TShortcutItem() override;

    // Caption, data, image index, tag and enabled; never the position.
    void Assign(TPersistent* source) override;

    const std::string& GetCaption() const { return FCaption; }
    void SetCaption(const std::string& value);
    Integer GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer value);
    Integer GetTag() const { return FTag; }
    void SetTag(Integer value) { FTag = value; }
    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    void* GetData() const { return FData; }
    void SetData(void* value) { FData = value; }
    Integer GetIndex() const;
    TShortcutItems* GetOwnerItems() const { return FOwnerItems; }
    TShortcutList* GetShortcutList() const;
    // Edits the caption in place in its list (nothing without a list).
    void EditCaption();

    // The icon's origin in the list's client pixels, as the last layout or
    // scroll left it.
    Integer GetLeft() const { return FLeft; }
    Integer GetTop() const { return FTop; }

private:
    TShortcutItems* FOwnerItems;
    std::string FCaption;
    void* FData = nullptr;
    Integer FImageIndex = 0;
    Integer FLeft = 0;
    Integer FTop = 0;
    Integer FTag = 0;
    bool FEnabled = true;

    friend class TShortcutList;
    friend class TShortcutItems;
};

// The items of a list, in display order; owns them. Every change lays the list
// out again, or, inside an update, the update's end does so once. Without a
// list (detached, as an editor's working copy) it only keeps the items.
class TShortcutItems : public TPersistent {
    LD_CLASS(TShortcutItems, TPersistent)

    explicit TShortcutItems(TShortcutList* list);
    ~TShortcutItems() override;

    TShortcutItem* Add();
    // Index 0 .. Count; outside, EListError and nothing is added.
    TShortcutItem* Insert(Integer index);
    Integer GetCount() const { return FList->Count(); }
    // Nil outside 0 .. Count - 1.
    TShortcutItem* GetItem(Integer index) const;
    TShortcutItem* operator[](Integer index) const { return GetItem(index); }
    // Items[Index].Assign(Value); Index must be valid.
    void SetItem(Integer index, TShortcutItem* value);
    Integer IndexOf(const TShortcutItem* item) const { return FList->IndexOf(item); }
    // Frees the item; a bad index raises EListError.
    void Delete(Integer index);
    // Takes the item out without freeing it; an item not listed is ignored.
    void Remove(TShortcutItem* item);
    void Clear();
    // Stop the list's drawing and hold its layout; the outermost end draws
    // again and lays out once.
    void BeginUpdate();
    void EndUpdate();
    Integer GetUpdateCount() const { return FUpdateCount; }
    TShortcutList* GetShortcutList() const { return FShortcutList; }
    // The items in order, for walking without a call per item.
    const std::vector<void*>& List() const { return FList->List(); }

    // Copies the items of another collection; from itself it keeps them.
    void Assign(TPersistent* source) override;

    // The stored form, the value of the defined property "Items".
    static constexpr const char* StoredVersion = "1.7";
    void ReadData(TReader* reader);
    void WriteData(TWriter* writer);

protected:
    void DefineProperties(TFiler* filer) override;
    virtual void SetUpdateState(bool updating);

private:
    // The list lays out after a change, unless an update is under way.
    void Changed();
    // Takes the item at a valid index out without freeing it.
    void RemoveAt(Integer index);

    TList* FList;
    TShortcutList* FShortcutList;
    Integer FUpdateCount = 0;

    friend class TShortcutList;
    friend class TShortcutItem;
};

// ---- list geometry ----------------------------------------------------------------------

// What the placing of items depends on. Width is the list's own width (the
// full-select band spans it), ClientWidth and ClientHeight its client area.
struct TListMetrics {
    TShortcutStyle Style = ssLargeImages;
    Integer ImageWidth = 32;
    Integer ImageHeight = 32;
    Integer ClientWidth = 0;
    Integer ClientHeight = 0;
    Integer Width = 0;
    bool FullSelect = false;

    // Vertical room between two items.
    Integer Gap() const { return Style == ssLargeImages ? 12 : 6; }
    Integer HalfGap() const { return Gap() / 2; }
    // Where the top line and the bottom line of the scroll steps lie.
    Integer TopLine() const { return HalfGap(); }
    Integer BottomLine() const { return ClientHeight - HalfGap(); }
    // The icon's left edge: centred (large) or 2 pixels in (small).
    Integer IconLeft() const { return Style == ssLargeImages ? ClientWidth / 2 - ImageWidth / 2 : 2; }

    bool operator==(const TListMetrics&) const = default;
};

// An item's rectangles from its icon origin (Left, Top). Captions are measured
// on Dc, which must hold the list's font; an ampersand counts as a character.
TRect IconRectOf(const TListMetrics& m, Integer left, Integer top, bool inflate);
TRect TextRectOf(const TListMetrics& m, HDC dc, Integer left, Integer top, const std::string& caption);
TRect ItemRectOf(const TListMetrics& m, HDC dc, Integer left, Integer top, const std::string& caption);
// Full-select: a band of the list's width half a gap above and below the item
// rectangle, so neighbouring bands meet. Otherwise the icon grown by 2.
TRect HighlightRectOf(const TListMetrics& m, HDC dc, Integer left, Integer top, const std::string& caption);
// The same from the item rectangle already measured.
TRect HighlightRectFor(const TListMetrics& m, const TRect& itemRect, Integer left, Integer top);
// Where a list goes on a sheet of the given client size: the whole client in
// full-select mode, else 5 pixels in on every side.
TRect ListRectOnSheet(Integer sheetClientWidth, Integer sheetClientHeight, bool fullSelect);
// Items that lie in the order of their tops: the index of the last one whose
// top is at or above Y, or -1. A binary search, so the cost of finding the
// items in view does not grow with the items scrolled past.
Integer LastItemWithTopAtOrAbove(const TShortcutItems* items, Integer y);

// ---- the sheet's side -------------------------------------------------------------------

// What a list asks of the bar's sheet that holds it. The bar's unit is built on
// this one, so the sheet answers through this interface.
class TShortcutListSheet {
public:
    virtual ~TShortcutListSheet();
    // The sheet lies on a bar whose Options hold soButtonItems.
    virtual bool ListFullSelect() const = 0;
    // The sheet's bar opens the sheet (its SetActiveSheet), when there is a bar.
    virtual void OpenSheetForList() = 0;
};

// ---- TShortcutList ----------------------------------------------------------------------

class TShortcutList : public TCustomControl {
    LD_CLASS(TShortcutList, TCustomControl)

    explicit TShortcutList(TComponent* owner);
    ~TShortcutList() override;

    // Published properties.
    TShortcutItems* GetItems() const { return FItems; }
    void SetItems(TShortcutItems* value);
    TCustomImageList* GetLargeImages() const { return FLargeImages; }
    void SetLargeImages(TCustomImageList* value);
    TCustomImageList* GetSmallImages() const { return FSmallImages; }
    void SetSmallImages(TCustomImageList* value);
    TShortcutStyle GetStyle() const { return FStyle; }
    void SetStyle(TShortcutStyle value);
    bool GetAllowReorder() const { return FAllowReorder; }
    void SetAllowReorder(bool value) { FAllowReorder = value; }
    TShortcutItemNotifyEvent GetOnReorder() const { return FOnReorder; }
    void SetOnReorder(TShortcutItemNotifyEvent value) { FOnReorder = std::move(value); }
    TShortcutReorderingEvent GetOnReordering() const { return FOnReordering; }
    void SetOnReordering(TShortcutReorderingEvent value) { FOnReordering = std::move(value); }
    TShortcutAcceptItemEvent GetOnAcceptItem() const { return FOnAcceptItem; }
    void SetOnAcceptItem(TShortcutAcceptItemEvent value) { FOnAcceptItem = std::move(value); }

    // The hot item and how it is drawn; each change repaints the highlight
    // rectangles concerned at once. ActiveItem reads the clicked item while
    // OnClick runs.
    TShortcutItem* GetActiveItem() const { return FClickedItem != nullptr ? FClickedItem : FActiveItem; }
    void SetActiveItem(TShortcutItem* value);
    TShortcutItemState GetActiveState() const { return FActiveState; }
    void SetActiveState(TShortcutItemState value);

    // Geometry.
    TCustomImageList* GetActiveImages() const;
    TSize GetDefaultImageSize() const;
    Integer GetItemGap() const { return Metrics().Gap(); }
    bool IsFullSelect() const;
    TListMetrics Metrics() const;
    TRect GetIconRect(TShortcutItem* item, bool inflate) const;
    TRect GetTextRect(TShortcutItem* item) const;
    TRect GetItemRect(TShortcutItem* item) const;
    TRect GetHighlightRect(TShortcutItem* item) const;
    TShortcutItem* GetItemAt(Integer x, Integer y) const;
    // Places the list on its sheet, then every item, realigns the top item,
    // shows the arrows that are needed and repaints. Callable at any time.
    virtual void LayoutChanged();

    // Scrolling.
    void SetScrollButtons();
    TShortcutItem* GetTopItem() const;
    void RealignTopItem();
    void UpButtonClick(TObject* sender);
    void DownButtonClick(TObject* sender);
    // Opens the list's sheet, then steps until Item lies between the lines.
    void EnsureItemVisible(TShortcutItem* item);
    // Moves every item by Amount pixels (positive: down), animated for 40 ms.
    void ScrollItems(Integer amount);
    Integer GetScrollOffset() const { return FScrollOffset; }
    bool IsScrolling() const { return FScrolling; }

    // In-place caption editing: an editor over Item's caption; its message
    // SEM_FINISHED applies or drops the text. One editor at a time.
    void EditCaption(TShortcutItem* item);
    TShortcutEdit* GetCaptionEdit() const { return FEdit; }
    TShortcutItem* GetEditItem() const { return FEditItem; }
    TShortcutButton* GetUpButton() const { return FUpButton; }
    TShortcutButton* GetDownButton() const { return FDownButton; }

    // Colours derived from Color at the last paint.
    TColor GetShadowColor() const { return FShadowColor; }
    TColor GetHighlightColor() const { return FHighlightColor; }
    TColor GetLightColor() const { return FLightColor; }

    // Drops every reference to an item that leaves its collection.
    void ForgetItem(TShortcutItem* item);

    void SetBounds(Integer left, Integer top, Integer width, Integer height) override;
    void SetParent(TWinControl* parent) override;
    void Loaded() override;

    // Visible, on a parent that is showing (or visible without a parent).
    bool Showing() const;
    // Whether the hot item may be dragged now: AllowReorder, then OnReordering.
    virtual bool CanReorder();
    bool IsPressed() const { return FPressed; }
    bool IsMouseInside() const { return FMouseInside; }
    bool HasLeaveTimer() const { return FLeaveTimer != nullptr; }
    void Notification(TComponent* component, TOperation operation) override;
    // The arrow buttons are the list's own parts: nothing to store.
    void GetChildren(const TGetChildProc& proc, TComponent* root) override {}
    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
    void MouseMove(TShiftState shift, Integer x, Integer y) override;
    void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
    void DragOver(TObject* source, Integer x, Integer y, TDragState state, bool& accept) override;
    void DragDrop(TObject* source, Integer x, Integer y) override;
    void DoEndDrag(TObject* target, Integer x, Integer y) override;
    // A notch of the wheel scrolls one item, as a click on an arrow does.
    bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
    bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;
    void DrawOutline(const TRect& rect, TShortcutItemState state);
    void DrawSelected(const TRect& rect, TShortcutItemState state);

private:
    bool Designing() const { return ComponentState().Contains(csDesigning); }
    bool WheelStep(TShortcutButton* button, void (TShortcutList::*step)(TObject*));
    bool Loading() const { return ComponentState().Contains(csLoading); }
    TShortcutListSheet* Sheet() const;
    HDC MeasuringDC() const;
    // The first item, in collection order, whose item rectangle passes Test.
    TShortcutItem* FirstItemWhere(const std::function<bool(const TRect&)>& test) const;
    void SetImages(TCustomImageList*& field, TChangeLink* link, TCustomImageList* value);
    void ImageListChange(TObject* sender);
    void PlaceOnSheet();
    void PlaceScrollButtons();
    void PlaceItems();
    // The last layout left every item within its slot, for these metrics, and
    // nothing has moved them since but scrolling: searches may bisect.
    bool ItemsInSlots(const TListMetrics& m) const;
    void InvalidateHighlight(TShortcutItem* item);
    void PaintItems(TCanvas* canvas, bool fullSelect);
    void PaintItem(TCanvas* canvas, const TListMetrics& m, TShortcutItem* item, const TRect& highlight,
                   bool fullSelect);
    void PaintDropMarker(TCanvas* canvas);
    void AnimateScroll(Integer amount);
    // Input (ShortcutListInput.cpp); true when the message was the input's.
    bool DispatchInput(TMessage& message);
    TPoint CursorInClient() const;
    void EnteredTest(Integer x, Integer y);
    void LeaveTimerExpired(TObject* sender);
    void UpdateActiveItem();
    void UpdatePressedItem(TShortcutItem* underPointer, const TPoint& pointer);
    void StartItemDrag();
    void ReleasePress();
    void ClickItem(TShortcutItem* item);
    void PassToParent(TMessage& message);
    void FinishCaptionEdit();
    void DropCaptionEdit();
    void SEMFinsihed(TMessage& message);
    void WMButtonDown(TMessage& message);
    void WMButtonUp(TMessage& message);
    void WMCancelMode(TMessage& message);
    bool IsOwnMouseNotice(const TMessage& message) const;
    void CMMouseEnter(TMessage& message);
    void CMMouseLeave(TMessage& message);
    void CMDialogChar(TMessage& message);
    void WMSize(TMessage& message);
    void WMEraseBkgnd(TMessage& message);
    void CMFontChanged(TMessage& message);

    TShortcutItems* FItems;
    TCustomImageList* FLargeImages = nullptr;
    TCustomImageList* FSmallImages = nullptr;
    bool FMouseInside = false;
    TShortcutItem* FActiveItem = nullptr;
    TShortcutItemState FActiveState = siNone;
    bool FPressed = false;
    TChangeLink* FLargeChangeLink;
    TChangeLink* FSmallChangeLink;
    TShortcutButton* FUpButton = nullptr;
    TShortcutButton* FDownButton = nullptr;
    Integer FScrollOffset = 0;
    TShortcutStyle FStyle = ssLargeImages;
    TPoint FDownPos;
    bool FAllowReorder = true;
    TShortcutItemNotifyEvent FOnReorder;
    TShortcutReorderingEvent FOnReordering;
    TShortcutAcceptItemEvent FOnAcceptItem;
    TColor FShadowColor = clBtnShadow;
    TColor FHighlightColor = clBtnHighlight;
    TColor FLightColor = clBtnFace;
    TShortcutItem* FClickedItem = nullptr;
    TTimer* FLeaveTimer = nullptr;
    bool FScrolling = false;
    TShortcutEdit* FEdit = nullptr;
    TShortcutItem* FEditItem = nullptr;
    // Captions of a list without a parent are measured on this bitmap's canvas.
    mutable std::unique_ptr<TBitmap> FMeasuringBitmap;
    // What the last layout found (see PlaceItems): not a cache of geometry,
    // only whether the items' order lets a search skip most of them.
    bool FItemsInSlots = false;
    TListMetrics FSlotMetrics;

    friend TDropPosition FindDropPosition(TShortcutList* list, const TPoint& point);
};

// ---- unit-wide drag and drop state ---------------------------------------------------------

// One item drag at a time in the process. DropKind: 0 no drop, 1 insert before
// DropBeforeItem, 2 append.
struct TListDropState {
    bool ItemDragging = false;
    TShortcutItem* DragItem = nullptr;
    TShortcutList* DropList = nullptr;
    TRect DropRect;
    TShortcutItem* DropBeforeItem = nullptr;
    Integer DropKind = 0;
};
TListDropState& ListDropState();
// Moves the drop marker: repaints the old and the new rectangle, the new list
// at once.
void SetDropMark(TShortcutList* list, TShortcutItem* item, Integer kind, const TRect& rect);
// An item leaving its collection leaves the drag; a marker before it goes too.
void ForgetDropItem(TShortcutItem* item);

// Where a drop at a client point of a list would go: the gap above an item
// (kind 1, that item), below the last item or anywhere in an empty list
// (kind 2), or nowhere (kind 0, empty rectangle).
struct TDropPosition {
    TRect Rect;
    Integer Kind = 0;
    TShortcutItem* BeforeItem = nullptr;
};
TDropPosition FindDropPosition(TShortcutList* list, const TPoint& point);

} // namespace ld
