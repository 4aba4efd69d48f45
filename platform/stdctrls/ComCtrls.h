// Unit ComCtrls: the tree view. TTreeNode is one node (its text, data, images
// and children), TTreeNodes the nodes of one tree in tree order, and
// TCustomTreeView / TTreeView the control that shows them as rows with lines,
// buttons, images and a highlighted label, scrolls them vertically, selects
// one of them by mouse and keyboard and drags nodes through the platform's drag.
//
// Index: types and events; TTreeNode; TTreeNodes; TCustomTreeView; TTreeView.
//
// Two orders: tree order runs through every node (a parent before its
// children), which is what TTreeNodes::GetItem and a node's AbsoluteIndex count;
// row order runs through the nodes whose parents are all expanded, one row each,
// which is what the view draws, scrolls and hit-tests. Both are kept as lists
// rebuilt on demand after the tree's shape changes, so that walking from node to
// node and finding a node's row cost nothing per step.
#pragma once

#include <string>
#include <vector>

#include "platform/core/SysUtils.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/ImgList.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/ExtCtrls.h"

namespace ld {

class TCustomTreeView;
class TTreeNode;
class TTreeNodes;
class TStream;

class ETreeViewError : public Exception {
public:
    explicit ETreeViewError(std::string message) : Exception(std::move(message)) {}
};

enum TNodeAttachMode : Byte { naAdd, naAddFirst, naAddChild, naAddChildFirst, naInsert };
enum THitTest : Byte {
    htAbove, htBelow, htNowhere, htOnItem, htOnButton, htOnIcon, htOnIndent, htOnLabel, htOnRight,
    htOnStateIcon, htToLeft, htToRight,
};
using THitTests = TSet<THitTest, uint16_t>;
enum TSortType : Byte { stNone, stData, stText, stBoth };
enum TBiDiMode : Byte { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TCustomDrawStage : Byte { cdPrePaint, cdPostPaint, cdPreErase, cdPostErase };
enum TCustomDrawStateItem : Byte {
    cdsSelected, cdsGrayed, cdsDisabled, cdsChecked, cdsFocused, cdsDefault, cdsHot, cdsMarked, cdsIndeterminate,
};
using TCustomDrawState = TSet<TCustomDrawStateItem, uint16_t>;

const TEnumInfo& HitTestInfo();
const TEnumInfo& SortTypeInfo();
const TEnumInfo& BiDiModeInfo();

using TTVChangingEvent = TClosure<TObject*, TTreeNode*, bool&>;
using TTVChangedEvent = TClosure<TObject*, TTreeNode*>;
using TTVExpandingEvent = TClosure<TObject*, TTreeNode*, bool&>;
using TTVCollapsingEvent = TClosure<TObject*, TTreeNode*, bool&>;
using TTVExpandedEvent = TClosure<TObject*, TTreeNode*>;
using TTVEditingEvent = TClosure<TObject*, TTreeNode*, bool&>;
using TTVEditedEvent = TClosure<TObject*, TTreeNode*, std::string&>;
using TTVCompareEvent = TClosure<TObject*, TTreeNode*, TTreeNode*, Integer, Integer&>;
using TTVCustomDrawEvent = TClosure<TObject*, const TRect&, bool&>;
using TTVCustomDrawItemEvent = TClosure<TObject*, TTreeNode*, TCustomDrawState, bool&>;
using TTVAdvancedCustomDrawEvent = TClosure<TObject*, const TRect&, TCustomDrawStage, bool&>;
using TTVAdvancedCustomDrawItemEvent = TClosure<TObject*, TTreeNode*, TCustomDrawState, TCustomDrawStage, bool&, bool&>;
using TContextPopupEvent = TClosure<TObject*, TPoint, bool&>;

// ---- TTreeNode ---------------------------------------------------------------------

class TTreeNode : public TPersistent {
    LD_CLASS(TTreeNode, TPersistent)

    explicit TTreeNode(TTreeNodes* owner);
    // Takes the node's children with it; the view moves its selection away first.
    ~TTreeNode() override;

    // The host's Owner: the nodes the node belongs to.
    TTreeNodes* GetNodes() const { return FOwner; }
    TCustomTreeView* GetTreeView() const;
    std::string GetText() const { return FText; }
    void SetText(const std::string& value);
    void* GetData() const { return FData; }
    void SetData(void* value) { FData = value; }
    Integer GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer value) { SetIndexValue(FImageIndex, value); }
    Integer GetSelectedIndex() const { return FSelectedIndex; }
    void SetSelectedIndex(Integer value) { SetIndexValue(FSelectedIndex, value); }
    Integer GetStateIndex() const { return FStateIndex; }
    void SetStateIndex(Integer value) { SetIndexValue(FStateIndex, value); }
    Integer GetOverlayIndex() const { return FOverlayIndex; }
    void SetOverlayIndex(Integer value) { SetIndexValue(FOverlayIndex, value); }

    // Place in the tree.
    TTreeNode* GetParent() const { return FParent; }
    Integer GetIndex() const;          // among its siblings
    Integer GetAbsoluteIndex() const;  // in tree order
    Integer GetLevel() const;
    Integer GetCount() const { return Integer(FChildren.size()); }
    TTreeNode* GetItem(Integer index) const;
    Integer IndexOf(const TTreeNode* child) const;
    // True with children; may be set without any, to show a button whose
    // OnExpanding adds the children when first opened.
    bool GetHasChildren() const { return FHasChildren || !FChildren.empty(); }
    void SetHasChildren(bool value);
    bool HasAsParent(const TTreeNode* node) const;
    TTreeNode* GetFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front(); }
    TTreeNode* GetLastChild() const { return FChildren.empty() ? nullptr : FChildren.back(); }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    // The next and previous node in tree order.
    TTreeNode* GetNext() const;
    TTreeNode* GetPrev() const;
    // The next and previous row (nodes under a collapsed parent have none).
    TTreeNode* GetNextVisible() const;
    TTreeNode* GetPrevVisible() const;
    // Every parent is expanded, so the node has a row.
    bool IsVisible() const;

    bool GetExpanded() const { return FExpanded; }
    void SetExpanded(bool value);
    void Expand(bool recurse);
    void Collapse(bool recurse);
    bool GetSelected() const;
    void SetSelected(bool value);
    // Drawn highlighted as the place a drag would drop on (the tree's DropTarget).
    bool GetDropTarget() const;
    void SetDropTarget(bool value);
    bool GetFocused() const { return GetSelected(); }
    void SetFocused(bool value) { SetSelected(value); }
    // Opens its parents and scrolls its row into view.
    void MakeVisible();
    // The row (TextOnly false) or the label's band, in client coordinates.
    TRect DisplayRect(bool textOnly) const;

    // Moves the node, with its children, to a place given relative to
    // Destination; nothing happens when Destination lies inside the node.
    void MoveTo(TTreeNode* destination, TNodeAttachMode mode);
    void Delete();
    void DeleteChildren();
    void Assign(TPersistent* source) override;

private:
    friend class TTreeNodes;
    friend class TCustomTreeView;

    void SetIndexValue(Integer& field, Integer value);

    TTreeNodes* FOwner;
    TTreeNode* FParent = nullptr;
    std::vector<TTreeNode*> FChildren;
    std::string FText;
    void* FData = nullptr;
    Integer FImageIndex = 0;
    Integer FSelectedIndex = 0;
    Integer FStateIndex = -1;
    Integer FOverlayIndex = -1;
    bool FExpanded = false;
    bool FHasChildren = false;
    bool FDeleting = false;
    // Kept by TTreeNodes::Reindex.
    Integer FIndex = 0;
    Integer FAbsoluteIndex = 0;
    Integer FRow = -1;
};

// ---- TTreeNodes ----------------------------------------------------------------------

class TTreeNodes : public TPersistent {
    LD_CLASS(TTreeNodes, TPersistent)

    explicit TTreeNodes(TCustomTreeView* owner);
    ~TTreeNodes() override;

    // The host's Owner: the tree view.
    TCustomTreeView* GetTreeView() const { return FOwner; }
    Integer GetCount() const { return FCount; }
    // The node at Index in tree order; ETreeViewError outside 0 .. Count - 1.
    TTreeNode* GetItem(Integer index) const;
    TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front(); }
    const std::vector<TTreeNode*>& TopLevel() const { return FRoots; }

    // Node nullptr means the top level. Add and AddFirst make a sibling of Node
    // (the last or first of its level), AddChild and AddChildFirst a child, and
    // Insert a sibling just before Node.
    TTreeNode* Add(TTreeNode* node, const std::string& text) { return AddObject(node, text, nullptr); }
    TTreeNode* AddObject(TTreeNode* node, const std::string& text, void* data);
    TTreeNode* AddFirst(TTreeNode* node, const std::string& text) { return AddObjectFirst(node, text, nullptr); }
    TTreeNode* AddObjectFirst(TTreeNode* node, const std::string& text, void* data);
    TTreeNode* AddChild(TTreeNode* node, const std::string& text) { return AddChildObject(node, text, nullptr); }
    TTreeNode* AddChildObject(TTreeNode* node, const std::string& text, void* data);
    TTreeNode* AddChildFirst(TTreeNode* node, const std::string& text) { return AddChildObjectFirst(node, text, nullptr); }
    TTreeNode* AddChildObjectFirst(TTreeNode* node, const std::string& text, void* data);
    TTreeNode* Insert(TTreeNode* node, const std::string& text) { return InsertObject(node, text, nullptr); }
    TTreeNode* InsertObject(TTreeNode* node, const std::string& text, void* data);
    void Delete(TTreeNode* node);
    void Clear();
    // Changes between the calls reach the screen once, at the last EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return FUpdateCount > 0; }
    void Assign(TPersistent* source) override;

    // The row list of the view: every node whose parents are expanded.
    const std::vector<TTreeNode*>& Rows() const;

protected:
    // The nodes as the host stores them: "Data", a binary value.
    void DefineProperties(TFiler* filer) override;

private:
    friend class TTreeNode;
    friend class TCustomTreeView;

    // Places Node (new or detached) into Parent's children at Position.
    void Attach(TTreeNode* node, TTreeNode* parent, Integer position);
    void Detach(TTreeNode* node);
    TTreeNode* AddAt(TTreeNode* parent, Integer position, const std::string& text, void* data);
    std::vector<TTreeNode*>& SiblingsOf(TTreeNode* parent) { return parent ? parent->FChildren : FRoots; }
    void ShapeChanged();
    void Reindex() const;
    bool Contains(const TTreeNode* node) const;
    void ReadData(TStream* stream);
    void WriteData(TStream* stream);
    void WriteNode(TStream* stream, TTreeNode* node);

    TCustomTreeView* FOwner;
    std::vector<TTreeNode*> FRoots;
    Integer FCount = 0;
    Integer FUpdateCount = 0;
    // Counts deleted nodes, so a caller can tell that an event handler deleted some.
    Integer FDeletions = 0;
    mutable bool FDirty = false;
    mutable std::vector<TTreeNode*> FAll;
    mutable std::vector<TTreeNode*> FRows;
};

// ---- TCustomTreeView -------------------------------------------------------------------

class TCustomTreeView : public TWinControl {
    LD_CLASS(TCustomTreeView, TWinControl)

    explicit TCustomTreeView(TComponent* owner);
    ~TCustomTreeView() override;

    TTreeNodes* GetItems() const { return FTreeNodes; }
    void SetItems(TTreeNodes* value) { FTreeNodes->Assign(value); }
    TTreeNode* GetSelected() const { return FSelected; }
    // Asks OnChanging first; a refusal keeps the old selection.
    void SetSelected(TTreeNode* node);
    TTreeNode* GetDropTarget() const { return FDropTarget; }
    void SetDropTarget(TTreeNode* node);
    TTreeNode* GetTopItem() const;
    void SetTopItem(TTreeNode* node);
    TCanvas* GetCanvas() const { return FCanvas; }

    // What lies at a client point: the node of the row there (anywhere in the
    // row, indent and blank right part included), and where in the row.
    TTreeNode* GetNodeAt(Integer x, Integer y);
    THitTests GetHitTestInfoAt(Integer x, Integer y);
    void FullExpand();
    void FullCollapse();

    // Geometry, in client pixels.
    Integer GetItemHeight() const;
    Integer GetTopRow() const { return FTopRow; }
    void SetTopRow(Integer row);
    Integer VisibleRowCount() const;
    bool ScrollBarVisible() const { return FScrollBarShown; }
    TRect RowRect(Integer row) const;
    TRect LabelRect(const TTreeNode* node) const;

    // Published. BiDiMode, ParentBiDiMode, ReadOnly and ToolTips are kept and
    // stored only: text runs left to right, labels are never edited in place
    // and no tooltips are shown.
    bool GetAutoExpand() const { return FAutoExpand; }
    void SetAutoExpand(bool value) { FAutoExpand = value; }
    TBiDiMode GetBiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode value) { FBiDiMode = value; }
    bool GetParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool value) { FParentBiDiMode = value; }
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    Integer GetBorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(Integer value);
    Integer GetChangeDelay() const { return FChangeDelay; }
    // With a delay OnChange comes that many milliseconds after the last change
    // of the selection, once.
    void SetChangeDelay(Integer value) { FChangeDelay = value; }
    bool GetHideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    bool GetHotTrack() const { return FHotTrack; }
    // The label under the pointer is drawn underlined in blue.
    void SetHotTrack(bool value);
    TTreeNode* GetHotNode() const { return FHotNode; }
    TCustomImageList* GetImages() const { return FImages; }
    void SetImages(TCustomImageList* value);
    TCustomImageList* GetStateImages() const { return FStateImages; }
    void SetStateImages(TCustomImageList* value);
    Integer GetIndent() const { return FIndent; }
    void SetIndent(Integer value);
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    bool GetRightClickSelect() const { return FRightClickSelect; }
    void SetRightClickSelect(bool value) { FRightClickSelect = value; }
    bool GetRowSelect() const { return FRowSelect; }
    void SetRowSelect(bool value);
    bool GetShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool value);
    bool GetShowLines() const { return FShowLines; }
    void SetShowLines(bool value);
    bool GetShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool value);
    TSortType GetSortType() const { return FSortType; }
    void SetSortType(TSortType value);
    bool GetToolTips() const { return FToolTips; }
    void SetToolTips(bool value) { FToolTips = value; }
    // Sorts every level by text (or by OnCompare when it is set).
    void AlphaSort();

    // Events. OnEditing, OnEdited and OnContextPopup are kept and stored but
    // never raised (no label editing; the platform has no context-menu message).
    TTVChangedEvent GetOnChange() const { return FOnChange; }
    void SetOnChange(TTVChangedEvent v) { FOnChange = std::move(v); }
    TTVChangingEvent GetOnChanging() const { return FOnChanging; }
    void SetOnChanging(TTVChangingEvent v) { FOnChanging = std::move(v); }
    TTVExpandingEvent GetOnExpanding() const { return FOnExpanding; }
    void SetOnExpanding(TTVExpandingEvent v) { FOnExpanding = std::move(v); }
    TTVExpandedEvent GetOnExpanded() const { return FOnExpanded; }
    void SetOnExpanded(TTVExpandedEvent v) { FOnExpanded = std::move(v); }
    TTVCollapsingEvent GetOnCollapsing() const { return FOnCollapsing; }
    void SetOnCollapsing(TTVCollapsingEvent v) { FOnCollapsing = std::move(v); }
    TTVExpandedEvent GetOnCollapsed() const { return FOnCollapsed; }
    void SetOnCollapsed(TTVExpandedEvent v) { FOnCollapsed = std::move(v); }
    TTVExpandedEvent GetOnDeletion() const { return FOnDeletion; }
    void SetOnDeletion(TTVExpandedEvent v) { FOnDeletion = std::move(v); }
    TTVCompareEvent GetOnCompare() const { return FOnCompare; }
    void SetOnCompare(TTVCompareEvent v) { FOnCompare = std::move(v); }
    TTVEditingEvent GetOnEditing() const { return FOnEditing; }
    void SetOnEditing(TTVEditingEvent v) { FOnEditing = std::move(v); }
    TTVEditedEvent GetOnEdited() const { return FOnEdited; }
    void SetOnEdited(TTVEditedEvent v) { FOnEdited = std::move(v); }
    TTVExpandedEvent GetOnGetImageIndex() const { return FOnGetImageIndex; }
    void SetOnGetImageIndex(TTVExpandedEvent v) { FOnGetImageIndex = std::move(v); }
    TTVExpandedEvent GetOnGetSelectedIndex() const { return FOnGetSelectedIndex; }
    void SetOnGetSelectedIndex(TTVExpandedEvent v) { FOnGetSelectedIndex = std::move(v); }
    TTVCustomDrawEvent GetOnCustomDraw() const { return FOnCustomDraw; }
    void SetOnCustomDraw(TTVCustomDrawEvent v) { FOnCustomDraw = std::move(v); }
    TTVCustomDrawItemEvent GetOnCustomDrawItem() const { return FOnCustomDrawItem; }
    void SetOnCustomDrawItem(TTVCustomDrawItemEvent v) { FOnCustomDrawItem = std::move(v); }
    TTVAdvancedCustomDrawEvent GetOnAdvancedCustomDraw() const { return FOnAdvancedCustomDraw; }
    void SetOnAdvancedCustomDraw(TTVAdvancedCustomDrawEvent v) { FOnAdvancedCustomDraw = std::move(v); }
    TTVAdvancedCustomDrawItemEvent GetOnAdvancedCustomDrawItem() const { return FOnAdvancedCustomDrawItem; }
    void SetOnAdvancedCustomDrawItem(TTVAdvancedCustomDrawItemEvent v) { FOnAdvancedCustomDrawItem = std::move(v); }
    TContextPopupEvent GetOnContextPopup() const { return FOnContextPopup; }
    void SetOnContextPopup(TContextPopupEvent v) { FOnContextPopup = std::move(v); }

    // The dynamic methods behind the events.
    virtual bool CanChange(TTreeNode* node);
    virtual void Change(TTreeNode* node);
    virtual bool CanExpand(TTreeNode* node);
    virtual void Expand(TTreeNode* node);
    virtual bool CanCollapse(TTreeNode* node);
    virtual void Collapse(TTreeNode* node);
    virtual void Delete(TTreeNode* node);

    void Dispatch(TMessage& message) override;
    void WndProc(TMessage& message) override;
    // What the control does itself with presses and keys, before the events.
    void DefaultHandler(TMessage& message) override;
    void PaintWindow(HDC dc) override;
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;

protected:
    void CreateParams(TCreateParams& params) override;
    virtual void Paint();
    bool IsColorStored() const { return !GetParentColor(); }
    bool IsFontStored() const { return !GetParentFont(); }
    bool IsCtl3DStored() const { return !GetParentCtl3D(); }
    bool IsShowHintStored() const { return !GetParentShowHint(); }
    bool IsBiDiModeStored() const { return !FParentBiDiMode; }

private:
    friend class TTreeNode;
    friend class TTreeNodes;

    // Selection and the tree's shape (ComCtrlsTreeView.cpp).
    void SelectNode(TTreeNode* node, bool ask);
    void SelectionChanged();
    void ChangeTimer(TObject* sender);
    void SetHotNode(TTreeNode* node);
    void NodeDeleted(TTreeNode* replacement);
    void NodeTextChanged(TTreeNode* node);
    void ShapeChanged();
    bool ToggleNode(TTreeNode* node);
    bool SetNodeExpanded(TTreeNode* node, bool expanded);
    void ScrollIntoView(TTreeNode* node);
    bool NavigationKey(Word key);
    bool ScrollKey(Word key);
    void ImageListChange(TObject* sender);
    void SetLook(bool& field, bool value);
    TTreeNode* ReplacementFor(TTreeNode* node) const;
    void SortSiblings(std::vector<TTreeNode*>& siblings, bool recurse);
    bool SortsByText() const { return FSortType == stText || FSortType == stBoth; }
    Integer CompareNodes(TTreeNode* a, TTreeNode* b);
    // Geometry and painting (ComCtrlsTreePaint.cpp).
    void Measure() const;
    Integer MaxTopRow() const;
    Integer ColumnOf(const TTreeNode* node) const;
    Integer ImageWidth() const;
    Integer StateImageWidth() const;
    Integer LabelWidth(const TTreeNode* node) const;
    void InvalidateNode(const TTreeNode* node);
    void UpdateScrollRange();
    void PaintRow(TCanvas* canvas, Integer row, const TRect& rowRect);
    void PaintLines(TCanvas* canvas, const TTreeNode* node, const TRect& rowRect);
    void PaintButton(TCanvas* canvas, const TTreeNode* node, const TRect& rowRect);
    void PaintLabel(TCanvas* canvas, const TTreeNode* node, const TRect& rowRect);
    bool SelectionShown() const;

    // The vertical scroll bar in the non-client area (ComCtrlsTreeScroll.cpp).
    enum class TScrollPart { None, LineUp, LineDown, PageUp, PageDown, Thumb };
    TRect ScrollBarRect() const;  // window coordinates
    void ThumbSpan(Integer& top, Integer& height) const;
    TScrollPart ScrollPartAt(TPoint windowPoint) const;
    void PaintScrollBar(HDC dc);
    void PaintTrough(HDC dc, const TRect& trough);
    void EndScrollTracking();
    void RepaintScrollBar();
    Integer BarState() const;
    void ScrollStep(TScrollPart part);
    void StartScrollTracking(TPoint windowPoint);
    void TrackScroll(TMessage& message);
    void ScrollTimer(TObject* sender);
    TPoint WindowPointOfClient(TPoint client) const;
    void WMNCCalcSize(TMessage& message);
    void WMNCPaint(TMessage& message);
    void WMNCHitTest(TMessage& message);
    void WMNCLButtonDown(TMessage& message);
    void WMVScroll(TMessage& message);
    void WMSize(TMessage& message);
    void WMGetDlgCode(TMessage& message);
    void WMSetFocus(TMessage& message);
    void WMKillFocus(TMessage& message);
    void CMFontChanged(TMessage& message);
    void CMCtl3DChanged(TMessage& message);

    TTreeNodes* FTreeNodes;
    TControlCanvas* FCanvas;
    TTreeNode* FSelected = nullptr;
    Integer FTopRow = 0;
    Integer FWheelTurn = 0;  // the part of a notch the wheel has turned
    bool FScrollBarShown = false;
    bool FScrollRangeStale = true;
    bool FInChange = false;
    bool FDestroyingTree = false;

    // Scroll bar tracking: the part pressed, and for the thumb where it was
    // grabbed (pixels from its top) and whether the pointer is still over it.
    TScrollPart FScrollPart = TScrollPart::None;
    bool FScrollPartHot = false;
    Integer FThumbGrab = 0;
    Integer FThumbRow = 0;      // the row the dragged thumb stands for
    TTimer* FScrollTimer = nullptr;
    TBitmap* FTroughPattern = nullptr;
    // What the bar showed when last painted: a repaint that would draw the same
    // thumb in the same state is left out.
    Integer FPaintedThumbTop = -1;
    Integer FPaintedThumbHeight = -1;
    Integer FPaintedBarState = -1;
    TTimer* FChangeTimer = nullptr;
    TTreeNode* FHotNode = nullptr;
    TTreeNode* FDropTarget = nullptr;
    // A memory DC with the font selected, for measuring labels.
    mutable HDC FMeasureDC = nullptr;
    mutable Integer FItemHeight = 0;  // 0: measure again
    mutable Integer FTextHeight = 0;

    bool FAutoExpand = false;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;
    TBorderStyle FBorderStyle = bsSingle;
    Integer FBorderWidth = 0;
    Integer FChangeDelay = 0;
    bool FHideSelection = true;
    bool FHotTrack = false;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FStateImages = nullptr;
    TChangeLink* FImageChangeLink;
    TChangeLink* FStateChangeLink;
    Integer FIndent = 19;
    bool FReadOnly = false;
    bool FRightClickSelect = false;
    bool FRowSelect = false;
    bool FShowButtons = true;
    bool FShowLines = true;
    bool FShowRoot = true;
    TSortType FSortType = stNone;
    bool FToolTips = true;

    TTVChangedEvent FOnChange;
    TTVChangingEvent FOnChanging;
    TTVExpandingEvent FOnExpanding;
    TTVExpandedEvent FOnExpanded;
    TTVCollapsingEvent FOnCollapsing;
    TTVExpandedEvent FOnCollapsed;
    TTVExpandedEvent FOnDeletion;
    TTVCompareEvent FOnCompare;
    TTVEditingEvent FOnEditing;
    TTVEditedEvent FOnEdited;
    TTVExpandedEvent FOnGetImageIndex;
    TTVExpandedEvent FOnGetSelectedIndex;
    TTVCustomDrawEvent FOnCustomDraw;
    TTVCustomDrawItemEvent FOnCustomDrawItem;
    TTVAdvancedCustomDrawEvent FOnAdvancedCustomDraw;
    TTVAdvancedCustomDrawItemEvent FOnAdvancedCustomDrawItem;
    TContextPopupEvent FOnContextPopup;
};

class TTreeView : public TCustomTreeView {
    LD_CLASS(TTreeView, TCustomTreeView)

    explicit TTreeView(TComponent* owner) : TCustomTreeView(owner) {}
};

} // namespace ld
