// TCustomTreeView and TTreeView: the published table, life, properties, the
// selection and its events, expanding and collapsing, sorting, and what the
// control does itself with the mouse and the keyboard (its default handling,
// which runs before the mouse and key events, as a window of the window system
// would). Geometry and painting are in ComCtrlsTreePaint.cpp, the scroll bar
// in ComCtrlsTreeScroll.cpp.
//
// Index: enumerations; the published table; life; properties; selection;
// expanding; sorting; mouse and keys; messages.
#include <algorithm>
#include <cctype>

#include "platform/core/ClassRegistry.h"
#include "platform/core/SysUtils.h"
#include "platform/stdctrls/ComCtrls.h"
#include "platform/stdctrls/WheelScroll.h"
#include "platform/vcl/DragDrop.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Input.h"
#include "platform/win/Paint.h"

namespace ld {

namespace {

// Not among the platform's message numbers yet.
constexpr UINT WM_VSCROLL = 0x0115;
constexpr WPARAM VK_MULTIPLY = 0x6A;
constexpr WPARAM VK_ADD = 0x6B;
constexpr WPARAM VK_SUBTRACT = 0x6D;

bool Designing(const TComponent* component) { return component->ComponentState().Contains(csDesigning); }

const bool ClassesRegistered = [] {
    RegisterClasses({TTreeView::StaticClass()});
    return true;
}();

} // namespace

// ---- enumerations -------------------------------------------------------------------

const TEnumInfo& HitTestInfo()
{
    static const TEnumInfo info{"THitTest",
                                {"htAbove", "htBelow", "htNowhere", "htOnItem", "htOnButton", "htOnIcon", "htOnIndent",
                                 "htOnLabel", "htOnRight", "htOnStateIcon", "htToLeft", "htToRight"}};
    return info;
}

const TEnumInfo& SortTypeInfo()
{
    static const TEnumInfo info{"TSortType", {"stNone", "stData", "stText", "stBoth"}};
    return info;
}

const TEnumInfo& BiDiModeInfo()
{
    static const TEnumInfo info{"TBiDiMode",
                                {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"}};
    return info;
}

// ---- the published table --------------------------------------------------------------

TClass TCustomTreeView::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TCustomTreeView>("TCustomTreeView", TWinControl::StaticClass()).Abstract();
    return &info;
}

// The host's published properties and events in the host's order (Items last,
// after the image-index events, as the host publishes it) with its defaults.
TClass TTreeView::StaticClass()
{
    using B = TTreeView;
    static const TClassInfo info =
        TClassBuilder<B>("TTreeView", TCustomTreeView::StaticClass())
            .Enum("Align", &B::GetAlign, &B::SetAlign, AlignInfo()).Default(alNone)
            .Set("Anchors", &B::GetAnchors, &B::SetAnchors, AnchorKindInfo()).Default(TAnchors{akLeft, akTop})
            .Boolean("AutoExpand", &B::GetAutoExpand, &B::SetAutoExpand).Default(false)
            .Enum("BiDiMode", &B::GetBiDiMode, &B::SetBiDiMode, BiDiModeInfo()).Default(bdLeftToRight)
            .Stored(&B::IsBiDiModeStored)
            .Enum("BorderStyle", &B::GetBorderStyle, &B::SetBorderStyle, BorderStyleInfo()).Default(bsSingle)
            .Integer("BorderWidth", &B::GetBorderWidth, &B::SetBorderWidth).Default(0)
            .Integer("ChangeDelay", &B::GetChangeDelay, &B::SetChangeDelay).Default(0)
            .Integer("Color", &B::GetColor, &B::SetColor).Idents(ColorIdentsInfo()).Default(clWindow)
            .Stored(&B::IsColorStored)
            .Boolean("Ctl3D", &B::GetCtl3D, &B::SetCtl3D).Stored(&B::IsCtl3DStored)
            .Object("Constraints", &B::GetConstraints, &B::SetConstraints)
            .Enum("DragKind", &B::GetDragKind, &B::SetDragKind, DragKindInfo()).Default(dkDrag)
            .Integer("DragCursor", &B::GetDragCursor, &B::SetDragCursor).Idents(CursorIdents()).Default(crDrag)
            .Enum("DragMode", &B::GetDragMode, &B::SetDragMode, DragModeInfo()).Default(dmManual)
            .Boolean("Enabled", &B::GetEnabled, &B::SetEnabled).Default(true)
            .Object("Font", &B::GetFont, &B::SetFont).Stored(&B::IsFontStored)
            .Boolean("HideSelection", &B::GetHideSelection, &B::SetHideSelection).Default(true)
            .Boolean("HotTrack", &B::GetHotTrack, &B::SetHotTrack).Default(false)
            .Component("Images", &B::GetImages, &B::SetImages)
            .Integer("Indent", &B::GetIndent, &B::SetIndent)
            .Boolean("ParentBiDiMode", &B::GetParentBiDiMode, &B::SetParentBiDiMode).Default(true)
            .Boolean("ParentColor", &B::GetParentColor, &B::SetParentColor).Default(false)
            .Boolean("ParentCtl3D", &B::GetParentCtl3D, &B::SetParentCtl3D).Default(true)
            .Boolean("ParentFont", &B::GetParentFont, &B::SetParentFont).Default(true)
            .Boolean("ParentShowHint", &B::GetParentShowHint, &B::SetParentShowHint).Default(true)
            .Component("PopupMenu", &B::GetPopupMenu, &B::SetPopupMenu)
            .Boolean("ReadOnly", &B::GetReadOnly, &B::SetReadOnly).Default(false)
            .Boolean("RightClickSelect", &B::GetRightClickSelect, &B::SetRightClickSelect).Default(false)
            .Boolean("RowSelect", &B::GetRowSelect, &B::SetRowSelect).Default(false)
            .Boolean("ShowButtons", &B::GetShowButtons, &B::SetShowButtons).Default(true)
            .Boolean("ShowHint", &B::GetShowHint, &B::SetShowHint).Stored(&B::IsShowHintStored)
            .Boolean("ShowLines", &B::GetShowLines, &B::SetShowLines).Default(true)
            .Boolean("ShowRoot", &B::GetShowRoot, &B::SetShowRoot).Default(true)
            .Enum("SortType", &B::GetSortType, &B::SetSortType, SortTypeInfo()).Default(stNone)
            .Component("StateImages", &B::GetStateImages, &B::SetStateImages)
            .Integer("TabOrder", &B::GetTabOrder, &B::SetTabOrder).Default(-1)
            .Boolean("TabStop", &B::GetTabStop, &B::SetTabStop).Default(true)
            .Boolean("ToolTips", &B::GetToolTips, &B::SetToolTips).Default(true)
            .Boolean("Visible", &B::GetVisible, &B::SetVisible).Default(true)
            .Event("OnAdvancedCustomDraw", &B::GetOnAdvancedCustomDraw, &B::SetOnAdvancedCustomDraw)
            .Event("OnAdvancedCustomDrawItem", &B::GetOnAdvancedCustomDrawItem, &B::SetOnAdvancedCustomDrawItem)
            .Event("OnChange", &B::GetOnChange, &B::SetOnChange)
            .Event("OnChanging", &B::GetOnChanging, &B::SetOnChanging)
            .Event("OnClick", &B::GetOnClick, &B::SetOnClick)
            .Event("OnCollapsed", &B::GetOnCollapsed, &B::SetOnCollapsed)
            .Event("OnCollapsing", &B::GetOnCollapsing, &B::SetOnCollapsing)
            .Event("OnCompare", &B::GetOnCompare, &B::SetOnCompare)
            .Event("OnContextPopup", &B::GetOnContextPopup, &B::SetOnContextPopup)
            .Event("OnCustomDraw", &B::GetOnCustomDraw, &B::SetOnCustomDraw)
            .Event("OnCustomDrawItem", &B::GetOnCustomDrawItem, &B::SetOnCustomDrawItem)
            .Event("OnDblClick", &B::GetOnDblClick, &B::SetOnDblClick)
            .Event("OnDeletion", &B::GetOnDeletion, &B::SetOnDeletion)
            .Event("OnDragDrop", &B::GetOnDragDrop, &B::SetOnDragDrop)
            .Event("OnDragOver", &B::GetOnDragOver, &B::SetOnDragOver)
            .Event("OnEdited", &B::GetOnEdited, &B::SetOnEdited)
            .Event("OnEditing", &B::GetOnEditing, &B::SetOnEditing)
            .Event("OnEndDock", &B::GetOnEndDock, &B::SetOnEndDock)
            .Event("OnEndDrag", &B::GetOnEndDrag, &B::SetOnEndDrag)
            .Event("OnEnter", &B::GetOnEnter, &B::SetOnEnter)
            .Event("OnExit", &B::GetOnExit, &B::SetOnExit)
            .Event("OnExpanding", &B::GetOnExpanding, &B::SetOnExpanding)
            .Event("OnExpanded", &B::GetOnExpanded, &B::SetOnExpanded)
            .Event("OnGetImageIndex", &B::GetOnGetImageIndex, &B::SetOnGetImageIndex)
            .Event("OnGetSelectedIndex", &B::GetOnGetSelectedIndex, &B::SetOnGetSelectedIndex)
            .Event("OnKeyDown", &B::GetOnKeyDown, &B::SetOnKeyDown)
            .Event("OnKeyPress", &B::GetOnKeyPress, &B::SetOnKeyPress)
            .Event("OnKeyUp", &B::GetOnKeyUp, &B::SetOnKeyUp)
            .Event("OnMouseDown", &B::GetOnMouseDown, &B::SetOnMouseDown)
            .Event("OnMouseMove", &B::GetOnMouseMove, &B::SetOnMouseMove)
            .Event("OnMouseUp", &B::GetOnMouseUp, &B::SetOnMouseUp)
            .Event("OnStartDock", &B::GetOnStartDock, &B::SetOnStartDock)
            .Event("OnStartDrag", &B::GetOnStartDrag, &B::SetOnStartDrag)
            .Object("Items", &B::GetItems, &B::SetItems);
    return &info;
}

// ---- life --------------------------------------------------------------------------------

TCustomTreeView::TCustomTreeView(TComponent* owner) : TWinControl(owner)
{
    // The control tracks the mouse itself; a capture would only get in the way
    // of a drag begun from OnMouseDown.
    FControlStyle = {csClickEvents, csSetCaption, csDoubleClicks, csDisplayDragImage, csReflector};
    FTreeNodes = new TTreeNodes(this);
    FCanvas = new TControlCanvas(this);
    FImageChangeLink = new TChangeLink();
    FImageChangeLink->SetOnChange(TNotifyEvent(this, &TCustomTreeView::ImageListChange));
    FStateChangeLink = new TChangeLink();
    FStateChangeLink->SetOnChange(TNotifyEvent(this, &TCustomTreeView::ImageListChange));
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetParentColor(false);
    FColor = clWindow;
}

TCustomTreeView::~TCustomTreeView()
{
    // Leaving the parent while still wholly a windowed control, so the parent
    // forgets it as one.
    SetParent(nullptr);
    FDestroyingTree = true;
    FSelected = nullptr;
    FHotNode = nullptr;
    FDropTarget = nullptr;
    FreeAndNil(FScrollTimer);
    FreeAndNil(FChangeTimer);
    delete FTreeNodes;
    FTreeNodes = nullptr;
    if (FImages)
        FImages->UnRegisterChanges(FImageChangeLink);
    if (FStateImages)
        FStateImages->UnRegisterChanges(FStateChangeLink);
    delete FImageChangeLink;
    delete FStateChangeLink;
    delete FCanvas;
    FCanvas = nullptr;
    delete FTroughPattern;
    if (FMeasureDC)
        DeleteDC(FMeasureDC);
}

void TCustomTreeView::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    if (FBorderStyle == bsSingle) {
        if (GetCtl3D())
            params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            params.Style |= WS_BORDER;
    }
    params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomTreeView::Loaded()
{
    inherited::Loaded();
    ShapeChanged();
}

void TCustomTreeView::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    // A list being destroyed has already let go of the change links.
    if (component == FImages)
        FImages = nullptr;
    else if (component == FStateImages)
        FStateImages = nullptr;
    else
        return;
    FItemHeight = 0;
    ShapeChanged();
}

// ---- properties ------------------------------------------------------------------------------

void TCustomTreeView::SetBorderStyle(TBorderStyle value)
{
    if (FBorderStyle == value)
        return;
    FBorderStyle = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomTreeView::SetBorderWidth(Integer value)
{
    value = std::max(value, 0);
    if (FBorderWidth == value)
        return;
    FBorderWidth = value;
    if (HandleAllocated())
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ShapeChanged();
}

void TCustomTreeView::SetHideSelection(bool value)
{
    if (FHideSelection == value)
        return;
    FHideSelection = value;
    InvalidateNode(FSelected);
}

void TCustomTreeView::SetImages(TCustomImageList* value)
{
    if (FImages == value)
        return;
    if (FImages)
        FImages->UnRegisterChanges(FImageChangeLink);
    FImages = value;
    if (FImages) {
        FImages->RegisterChanges(FImageChangeLink);
        FImages->FreeNotification(this);
    }
    FItemHeight = 0;
    ShapeChanged();
}

void TCustomTreeView::SetStateImages(TCustomImageList* value)
{
    if (FStateImages == value)
        return;
    if (FStateImages)
        FStateImages->UnRegisterChanges(FStateChangeLink);
    FStateImages = value;
    if (FStateImages) {
        FStateImages->RegisterChanges(FStateChangeLink);
        FStateImages->FreeNotification(this);
    }
    FItemHeight = 0;
    ShapeChanged();
}

void TCustomTreeView::ImageListChange(TObject*)
{
    FItemHeight = 0;
    ShapeChanged();
}

void TCustomTreeView::SetIndent(Integer value)
{
    value = std::max(value, 0);
    if (FIndent == value)
        return;
    FIndent = value;
    Invalidate();
}

void TCustomTreeView::SetHotTrack(bool value)
{
    if (FHotTrack == value)
        return;
    FHotTrack = value;
    if (!value)
        SetHotNode(nullptr);
}

void TCustomTreeView::SetHotNode(TTreeNode* node)
{
    if (FHotNode == node)
        return;
    InvalidateNode(FHotNode);
    FHotNode = node;
    InvalidateNode(FHotNode);
}

// Properties that change only how the rows are drawn.
void TCustomTreeView::SetLook(bool& field, bool value)
{
    if (field == value)
        return;
    field = value;
    Invalidate();
}

void TCustomTreeView::SetRowSelect(bool value) { SetLook(FRowSelect, value); }

void TCustomTreeView::SetShowButtons(bool value) { SetLook(FShowButtons, value); }

void TCustomTreeView::SetShowLines(bool value) { SetLook(FShowLines, value); }

void TCustomTreeView::SetShowRoot(bool value) { SetLook(FShowRoot, value); }

void TCustomTreeView::SetSortType(TSortType value)
{
    if (FSortType == value)
        return;
    FSortType = value;
    if (value != stNone)
        AlphaSort();
}

// ---- selection ----------------------------------------------------------------------------------

bool TCustomTreeView::CanChange(TTreeNode* node)
{
    bool allow = true;
    if (FOnChanging)
        FOnChanging(this, node, allow);
    return allow;
}

void TCustomTreeView::Change(TTreeNode* node)
{
    if (FOnChange)
        FOnChange(this, node);
}

void TCustomTreeView::Delete(TTreeNode* node)
{
    if (FHotNode == node)
        FHotNode = nullptr;
    if (FDropTarget == node)
        FDropTarget = nullptr;
    if (FOnDeletion)
        FOnDeletion(this, node);
}

void TCustomTreeView::SetSelected(TTreeNode* node)
{
    if (node && node->FOwner != FTreeNodes)
        throw ETreeViewError("The node belongs to another tree");
    SelectNode(node, true);
}

void TCustomTreeView::SelectNode(TTreeNode* node, bool ask)
{
    if (node == FSelected || (node && node->FDeleting))
        return;
    const Integer deletions = FTreeNodes->FDeletions;
    if (ask && !CanChange(node))
        return;
    // OnChanging may have deleted nodes, the one asked for among them.
    if (deletions != FTreeNodes->FDeletions && node && !FTreeNodes->Contains(node))
        return;
    TTreeNode* old = FSelected;
    InvalidateNode(old);
    FSelected = node;
    if (FAutoExpand && node) {
        if (old && !node->HasAsParent(old) && old != node)
            old->Collapse(false);
        node->Expand(false);
    }
    if (node)
        node->MakeVisible();
    InvalidateNode(node);
    SelectionChanged();
}

void TCustomTreeView::SelectionChanged()
{
    if (FChangeDelay <= 0) {
        Change(FSelected);
        return;
    }
    if (!FChangeTimer) {
        FChangeTimer = new TTimer(nullptr);
        FChangeTimer->SetOnTimer(TNotifyEvent(this, &TCustomTreeView::ChangeTimer));
    }
    FChangeTimer->SetEnabled(false);
    FChangeTimer->SetInterval(Cardinal(FChangeDelay));
    FChangeTimer->SetEnabled(true);
}

void TCustomTreeView::ChangeTimer(TObject*)
{
    FChangeTimer->SetEnabled(false);
    Change(FSelected);
}

// The host's rule: the following sibling, else the preceding one, else the parent.
TTreeNode* TCustomTreeView::ReplacementFor(TTreeNode* node) const
{
    if (TTreeNode* next = node->GetNextSibling())
        return next;
    if (TTreeNode* prev = node->GetPrevSibling())
        return prev;
    return node->FParent;
}

// The deleted node cannot stay selected, so the change is not asked for.
void TCustomTreeView::NodeDeleted(TTreeNode* replacement)
{
    if (FDestroyingTree)
        return;
    FSelected = replacement;
    if (replacement) {
        replacement->MakeVisible();
        InvalidateNode(replacement);
    }
    SelectionChanged();
}

void TCustomTreeView::NodeTextChanged(TTreeNode* node)
{
    if (SortsByText() && !FTreeNodes->Updating())
        SortSiblings(FTreeNodes->SiblingsOf(node->FParent), false);
    InvalidateNode(node);
}

void TCustomTreeView::ShapeChanged()
{
    FScrollRangeStale = true;
    if (FDestroyingTree || (FTreeNodes && FTreeNodes->Updating()))
        return;
    Invalidate();
}

// While a node is the drop target it alone is highlighted; the selection's
// band returns when the target goes.
void TCustomTreeView::SetDropTarget(TTreeNode* node)
{
    if (node && node->FOwner != FTreeNodes)
        throw ETreeViewError("The node belongs to another tree");
    if (FDropTarget == node)
        return;
    InvalidateNode(FDropTarget);
    InvalidateNode(FSelected);
    FDropTarget = node;
    InvalidateNode(FDropTarget);
}

TTreeNode* TCustomTreeView::GetTopItem() const
{
    const auto& rows = FTreeNodes->Rows();
    return FTopRow < Integer(rows.size()) ? rows[size_t(FTopRow)] : nullptr;
}

void TCustomTreeView::SetTopItem(TTreeNode* node)
{
    if (node && node->IsVisible())
        SetTopRow(node->FRow);
}

// ---- expanding ----------------------------------------------------------------------------------

bool TCustomTreeView::CanExpand(TTreeNode* node)
{
    bool allow = true;
    if (FOnExpanding)
        FOnExpanding(this, node, allow);
    return allow;
}

void TCustomTreeView::Expand(TTreeNode* node)
{
    if (FOnExpanded)
        FOnExpanded(this, node);
}

bool TCustomTreeView::CanCollapse(TTreeNode* node)
{
    bool allow = true;
    if (FOnCollapsing)
        FOnCollapsing(this, node, allow);
    return allow;
}

void TCustomTreeView::Collapse(TTreeNode* node)
{
    if (FOnCollapsed)
        FOnCollapsed(this, node);
}

// A collapse that hides the selection moves it to the collapsing node.
bool TCustomTreeView::SetNodeExpanded(TTreeNode* node, bool expanded)
{
    if (node->FExpanded == expanded || (expanded && !node->GetHasChildren()))
        return false;
    if (expanded ? !CanExpand(node) : !CanCollapse(node))
        return false;
    // OnExpanding may have added the children a button promised; when it added
    // none, the button goes.
    if (expanded && node->FChildren.empty()) {
        node->FHasChildren = false;
        InvalidateNode(node);
        return false;
    }
    node->FExpanded = expanded;
    FTreeNodes->ShapeChanged();
    if (!expanded && FSelected && FSelected->HasAsParent(node))
        SelectNode(node, false);
    if (expanded)
        Expand(node);
    else
        Collapse(node);
    return true;
}

bool TCustomTreeView::ToggleNode(TTreeNode* node)
{
    return node && SetNodeExpanded(node, !node->FExpanded);
}

void TCustomTreeView::FullExpand()
{
    for (TTreeNode* node : std::vector<TTreeNode*>(FTreeNodes->FRoots))
        node->Expand(true);
}

void TCustomTreeView::FullCollapse()
{
    for (TTreeNode* node : std::vector<TTreeNode*>(FTreeNodes->FRoots))
        node->Collapse(true);
}

// ---- sorting --------------------------------------------------------------------------------------

Integer TCustomTreeView::CompareNodes(TTreeNode* a, TTreeNode* b)
{
    if (FOnCompare) {
        Integer result = 0;
        FOnCompare(this, a, b, 0, result);
        return result;
    }
    return CompareText(a->FText, b->FText);
}

void TCustomTreeView::SortSiblings(std::vector<TTreeNode*>& siblings, bool recurse)
{
    std::stable_sort(siblings.begin(), siblings.end(),
                     [this](TTreeNode* a, TTreeNode* b) { return CompareNodes(a, b) < 0; });
    if (recurse)
        for (TTreeNode* node : siblings)
            SortSiblings(node->FChildren, true);
    FTreeNodes->ShapeChanged();
}

void TCustomTreeView::AlphaSort() { SortSiblings(FTreeNodes->FRoots, true); }

// ---- mouse and keys ----------------------------------------------------------------------------

// What the control itself does with a press, before OnMouseDown hears of it: it
// takes the focus, opens or closes a node at its button, and selects a node
// pressed on its label or icon (anywhere in the row with RowSelect).
void TCustomTreeView::DefaultHandler(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (Designing(this))
            break;
        if (CanFocus() && !Focused())
            SetFocus();
        const TPoint p = LParamToPoint(m.LParam);
        const THitTests hit = GetHitTestInfoAt(p.X, p.Y);
        TTreeNode* node = GetNodeAt(p.X, p.Y);
        if (!node)
            break;
        if (hit.Contains(htOnButton)) {
            ToggleNode(node);
        } else if (hit.Contains(htOnItem) || FRowSelect) {
            SelectNode(node, true);
            if (m.Msg == WM_LBUTTONDBLCLK)
                ToggleNode(node);
        }
        break;
    }
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: {
        const TPoint p = LParamToPoint(m.LParam);
        if (FRightClickSelect && !Designing(this) && GetHitTestInfoAt(p.X, p.Y).Contains(htOnItem))
            SelectNode(GetNodeAt(p.X, p.Y), true);
        break;
    }
    case WM_MOUSEMOVE:
        if (FHotTrack) {
            const TPoint p = LParamToPoint(m.LParam);
            SetHotNode(GetHitTestInfoAt(p.X, p.Y).Contains(htOnItem) ? GetNodeAt(p.X, p.Y) : nullptr);
        }
        break;
    case WM_KEYDOWN:
        if (NavigationKey(Word(m.WParam)))
            return;
        break;
    case WM_MOUSEWHEEL: {
        Integer lines;
        if (!WheelScrollLines(FWheelTurn, m.WParam, VisibleRowCount(), lines))
            break;
        SetTopRow(FTopRow - lines);
        m.Result = 0;
        return;
    }
    case WM_CHAR: {
        // A typed character selects the next row whose text starts with it.
        const char ch = char(m.WParam);
        if (Byte(ch) < ' ')
            break;
        const auto& rows = FTreeNodes->Rows();
        const Integer count = Integer(rows.size());
        const Integer start = FSelected ? FSelected->FRow : -1;
        for (Integer i = 1; i <= count; ++i) {
            TTreeNode* node = rows[size_t((start + i + count) % count)];
            if (!node->FText.empty() && std::toupper(Byte(node->FText[0])) == std::toupper(Byte(ch))) {
                SelectNode(node, true);
                break;
            }
        }
        return;
    }
    }
    inherited::DefaultHandler(m);
}

// Up, Down, Home, End, PageUp and PageDown move the selection by rows; Left
// closes an open node or goes to its parent (Backspace goes there at once),
// Right opens a closed node or goes to its first child; the keypad's + and -
// open and close, * opens all below.
bool TCustomTreeView::NavigationKey(Word key)
{
    const auto& rows = FTreeNodes->Rows();
    if (rows.empty())
        return false;
    UpdateScrollRange();
    const Integer last = Integer(rows.size()) - 1;
    const Integer current = FSelected ? FSelected->FRow : -1;
    const Integer page = std::max(VisibleRowCount() - 1, 1);
    if (GetKeyState(VK_CONTROL) < 0)
        return ScrollKey(key);
    Integer target = -2;
    switch (key) {
    case VK_BACK:
        if (FSelected && FSelected->FParent)
            SelectNode(FSelected->FParent, true);
        return true;
    case VK_UP: target = current < 0 ? 0 : std::max(current - 1, 0); break;
    case VK_DOWN: target = current < 0 ? 0 : std::min(current + 1, last); break;
    case VK_HOME: target = 0; break;
    case VK_END: target = last; break;
    case VK_PRIOR: target = current < 0 ? 0 : std::max(current - page, 0); break;
    case VK_NEXT: target = current < 0 ? 0 : std::min(current + page, last); break;
    case VK_LEFT:
        if (!FSelected)
            target = 0;
        else if (FSelected->FExpanded)
            ToggleNode(FSelected);
        else if (FSelected->FParent)
            SelectNode(FSelected->FParent, true);
        return true;
    case VK_RIGHT:
        if (!FSelected)
            target = 0;
        else if (FSelected->GetHasChildren() && !FSelected->FExpanded)
            ToggleNode(FSelected);
        else if (FSelected->GetHasChildren())
            SelectNode(FSelected->FChildren.front(), true);
        return true;
    case VK_ADD:
        if (FSelected)
            FSelected->Expand(false);
        return true;
    case VK_SUBTRACT:
        if (FSelected)
            FSelected->Collapse(false);
        return true;
    case VK_MULTIPLY:
        if (FSelected)
            FSelected->Expand(true);
        return true;
    default: return false;
    }
    if (target >= 0)
        SelectNode(FTreeNodes->Rows()[size_t(target)], true);
    return true;
}

// With Ctrl held the keys scroll the rows and leave the selection alone.
bool TCustomTreeView::ScrollKey(Word key)
{
    const Integer page = std::max(VisibleRowCount(), 1);
    switch (key) {
    case VK_UP: SetTopRow(FTopRow - 1); return true;
    case VK_DOWN: SetTopRow(FTopRow + 1); return true;
    case VK_PRIOR: SetTopRow(FTopRow - page); return true;
    case VK_NEXT: SetTopRow(FTopRow + page); return true;
    case VK_HOME: SetTopRow(0); return true;
    case VK_END: SetTopRow(MaxTopRow()); return true;
    default: return false;
    }
}

// With DragMode dmAutomatic a press on a node selects it and starts a drag
// that begins once the pointer has moved past the threshold.
void TCustomTreeView::WndProc(TMessage& m)
{
    if (FScrollPart != TScrollPart::None &&
        ((m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST) || m.Msg == WM_CAPTURECHANGED)) {
        TrackScroll(m);
        return;
    }
    if ((m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) && !Designing(this) && GetDragMode() == dmAutomatic &&
        GetDragKind() == dkDrag && !Dragging()) {
        FControlState.Include(csLButtonDown);
        Dispatch(m);
        const TPoint p = LParamToPoint(m.LParam);
        if (GetNodeAt(p.X, p.Y) && !GetDragObject())
            BeginDrag(false);
        return;
    }
    inherited::WndProc(m);
}

// ---- messages -----------------------------------------------------------------------------------

void TCustomTreeView::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_NCCALCSIZE: WMNCCalcSize(m); return;
    case WM_NCPAINT: WMNCPaint(m); return;
    case WM_NCHITTEST: WMNCHitTest(m); return;
    case WM_NCLBUTTONDOWN: WMNCLButtonDown(m); return;
    case WM_VSCROLL: WMVScroll(m); return;
    case WM_SIZE: WMSize(m); return;
    case WM_GETDLGCODE: WMGetDlgCode(m); return;
    case WM_SETFOCUS: WMSetFocus(m); return;
    case WM_KILLFOCUS: WMKillFocus(m); return;
    case WM_PAINT:
        // The rows are painted here, not by the window's default painting.
        UpdateScrollRange();
        FControlState.Include(csCustomPaint);
        try {
            inherited::Dispatch(m);
        } catch (...) {
            FControlState.Exclude(csCustomPaint);
            throw;
        }
        FControlState.Exclude(csCustomPaint);
        return;
    case CM_FONTCHANGED: CMFontChanged(m); return;
    case CM_CTL3DCHANGED: CMCtl3DChanged(m); return;
    case CM_ENABLEDCHANGED:
        inherited::Dispatch(m);
        Invalidate();
        return;
    case CM_MOUSELEAVE:
        if (m.LParam == 0)
            SetHotNode(nullptr);
        break;
    }
    inherited::Dispatch(m);
}

void TCustomTreeView::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }

void TCustomTreeView::WMSetFocus(TMessage& m)
{
    inherited::Dispatch(m);
    InvalidateNode(FSelected);
}

void TCustomTreeView::WMKillFocus(TMessage& m)
{
    inherited::Dispatch(m);
    InvalidateNode(FSelected);
}

void TCustomTreeView::WMSize(TMessage& m)
{
    inherited::Dispatch(m);
    FScrollRangeStale = true;
    UpdateScrollRange();
    Invalidate();
}

void TCustomTreeView::CMFontChanged(TMessage& m)
{
    inherited::Dispatch(m);
    FItemHeight = 0;
    ShapeChanged();
}

void TCustomTreeView::CMCtl3DChanged(TMessage& m)
{
    inherited::Dispatch(m);
    if (FBorderStyle == bsSingle && HandleAllocated())
        RecreateWnd();
}

} // namespace ld
