// TCustomTreeView: geometry, hit testing and painting.
//
// A row is ItemHeight pixels: the font's height plus 3, at least the images'
// height, rounded down to an even number so the dotted lines of one row meet
// those of the next. A node of level L stands in column L (L + 1 with
// ShowRoot), each column Indent pixels wide; the column before it holds its
// button and the elbow of its line. From the column's left edge come the state
// image, the image and the label: the text with 2 pixels on either side, the
// band the selection highlights.
//
// Index: measuring; rows and scrolling; hit testing; painting.
#include <algorithm>

#include "platform/gfx/Frames.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/Painting.h"
#include "platform/gfx/Text.h"
#include "platform/stdctrls/ComCtrls.h"
#include "platform/win/Input.h"
#include "platform/win/Paint.h"

namespace ld {

namespace {
constexpr Integer LabelPadding = 2;
constexpr TColor LineColor = clGray;
} // namespace

// ---- measuring --------------------------------------------------------------------------

void TCustomTreeView::Measure() const
{
    if (!FMeasureDC)
        FMeasureDC = CreateCompatibleDC(nullptr);
    SelectObject(FMeasureDC, GetFont()->GetHandle());
    if (FItemHeight > 0)
        return;
    TEXTMETRIC tm;
    GetTextMetrics(FMeasureDC, tm);
    FTextHeight = tm.tmHeight;
    Integer height = tm.tmHeight + tm.tmExternalLeading + 3;
    if (FImages)
        height = std::max(height, FImages->GetHeight());
    if (FStateImages)
        height = std::max(height, FStateImages->GetHeight());
    FItemHeight = std::max(height & ~1, 2);
}

Integer TCustomTreeView::GetItemHeight() const
{
    Measure();
    return FItemHeight;
}

Integer TCustomTreeView::LabelWidth(const TTreeNode* node) const
{
    Measure();
    TSize size;
    GetTextExtentPoint32(FMeasureDC, node->FText, size);
    return size.cx + 2 * LabelPadding;
}

Integer TCustomTreeView::ColumnOf(const TTreeNode* node) const { return node->GetLevel() + (FShowRoot ? 1 : 0); }
Integer TCustomTreeView::StateImageWidth() const { return FStateImages ? FStateImages->GetWidth() : 0; }
Integer TCustomTreeView::ImageWidth() const { return FImages ? FImages->GetWidth() : 0; }

// ---- rows and scrolling --------------------------------------------------------------------

Integer TCustomTreeView::VisibleRowCount() const { return GetClientHeight() / GetItemHeight(); }

TRect TCustomTreeView::RowRect(Integer row) const
{
    const Integer height = GetItemHeight();
    const Integer top = (row - FTopRow) * height;
    return {0, top, GetClientWidth(), top + height};
}

TRect TCustomTreeView::LabelRect(const TTreeNode* node) const
{
    const TRect row = RowRect(node->FRow);
    const Integer left = ColumnOf(node) * FIndent + StateImageWidth() + ImageWidth();
    return {left, row.Top, left + LabelWidth(node), row.Bottom};
}

Integer TCustomTreeView::MaxTopRow() const
{
    // A client shorter than a row still shows the top row.
    return std::max(Integer(FTreeNodes->Rows().size()) - std::max(VisibleRowCount(), 1), 0);
}

void TCustomTreeView::InvalidateNode(const TTreeNode* node)
{
    if (!node || !HandleAllocated() || FDestroyingTree || FTreeNodes->Updating() || !node->IsVisible())
        return;
    if (node->FRow < FTopRow || node->FRow > FTopRow + VisibleRowCount())
        return;
    const RECT r = RowRect(node->FRow);
    InvalidateRect(FHandle, &r, false);
}

// The scroll bar shows when the rows do not fit; showing or hiding it changes
// the client width, so the frame is recomputed.
void TCustomTreeView::UpdateScrollRange()
{
    if (!FScrollRangeStale || FTreeNodes->Updating())
        return;
    FScrollRangeStale = false;
    const Integer rows = Integer(FTreeNodes->Rows().size());
    const bool needed = Int64(rows) * GetItemHeight() > GetClientHeight();
    if (needed != FScrollBarShown) {
        FScrollBarShown = needed;
        if (HandleAllocated())
            SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    if (FTopRow > MaxTopRow()) {
        FTopRow = MaxTopRow();
        Invalidate();
    }
    RepaintScrollBar();
}

void TCustomTreeView::SetTopRow(Integer row)
{
    UpdateScrollRange();
    row = std::clamp(row, 0, MaxTopRow());
    if (row == FTopRow)
        return;
    const Integer dy = (FTopRow - row) * GetItemHeight();
    FTopRow = row;
    if (!HandleAllocated())
        return;
    // The rows still shown move with their pixels; only the uncovered strip paints.
    if (std::abs(dy) < GetClientHeight())
        ScrollWindowEx(FHandle, 0, dy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
    else
        Invalidate();
    RepaintScrollBar();
}

void TCustomTreeView::ScrollIntoView(TTreeNode* node)
{
    UpdateScrollRange();
    if (!node->IsVisible())
        return;
    const Integer visible = std::max(VisibleRowCount(), 1);
    if (node->FRow < FTopRow)
        SetTopRow(node->FRow);
    else if (node->FRow >= FTopRow + visible)
        SetTopRow(node->FRow - visible + 1);
}

// ---- hit testing ----------------------------------------------------------------------------

TTreeNode* TCustomTreeView::GetNodeAt(Integer x, Integer y)
{
    UpdateScrollRange();
    if (x < 0 || y < 0 || x >= GetClientWidth() || y >= GetClientHeight())
        return nullptr;
    const auto& rows = FTreeNodes->Rows();
    const size_t row = size_t(FTopRow + y / GetItemHeight());
    return row < rows.size() ? rows[row] : nullptr;
}

THitTests TCustomTreeView::GetHitTestInfoAt(Integer x, Integer y)
{
    UpdateScrollRange();
    THitTests result;
    if (x < 0)
        result.Include(htToLeft);
    else if (x >= GetClientWidth())
        result.Include(htToRight);
    if (y < 0)
        result.Include(htAbove);
    else if (y >= GetClientHeight())
        result.Include(htBelow);
    if (!result.Empty())
        return result;
    TTreeNode* node = GetNodeAt(x, y);
    if (!node)
        return {htNowhere};
    const Integer column = ColumnOf(node);
    const Integer itemLeft = column * FIndent;
    const Integer imageLeft = itemLeft + StateImageWidth();
    const Integer labelLeft = imageLeft + ImageWidth();
    if (x < itemLeft) {
        const bool onButton = FShowButtons && node->GetHasChildren() && column >= 1 && x >= (column - 1) * FIndent;
        return {onButton ? htOnButton : htOnIndent};
    }
    if (x < imageLeft)
        return {htOnItem, htOnStateIcon};
    if (x < labelLeft)
        return {htOnItem, htOnIcon};
    if (x < labelLeft + LabelWidth(node))
        return {htOnItem, htOnLabel};
    return {htOnRight};
}

// ---- painting ----------------------------------------------------------------------------------

void TCustomTreeView::PaintWindow(HDC dc)
{
    FCanvas->FreeHandle();
    FCanvas->SetHandle(dc);
    try {
        Paint();
    } catch (...) {
        FCanvas->SetHandle(nullptr);
        throw;
    }
    FCanvas->SetHandle(nullptr);
}

bool TCustomTreeView::SelectionShown() const
{
    return FSelected && (!FHideSelection || (HandleAllocated() && GetFocus() == FHandle));
}

// Only the rows that meet the area being painted are drawn; what lies below
// the last row is filled with the colour.
void TCustomTreeView::Paint()
{
    TCanvas* canvas = FCanvas;
    const TRect client = GetClientRect();
    const TRect clip = canvas->GetClipRect();
    bool defaultDraw = true;
    if (FOnCustomDraw)
        FOnCustomDraw(this, client, defaultDraw);
    if (FOnAdvancedCustomDraw)
        FOnAdvancedCustomDraw(this, client, cdPrePaint, defaultDraw);
    if (defaultDraw) {
        const auto& rows = FTreeNodes->Rows();
        const Integer height = GetItemHeight();
        const Integer first = FTopRow + std::max(clip.Top, 0) / height;
        const Integer last = std::min(Integer(rows.size()) - 1, FTopRow + (clip.Bottom - 1) / height);
        canvas->SetFont(GetFont());
        for (Integer row = first; row <= last; ++row)
            PaintRow(canvas, row, RowRect(row));
        const Integer end = (std::max(last, first - 1) + 1 - FTopRow) * height;
        if (end < clip.Bottom) {
            canvas->GetBrush()->SetColor(GetColor());
            canvas->GetBrush()->SetStyle(bsSolid);
            canvas->FillRect({clip.Left, std::max(end, clip.Top), clip.Right, clip.Bottom});
        }
    }
    if (FOnAdvancedCustomDraw)
        FOnAdvancedCustomDraw(this, client, cdPostPaint, defaultDraw);
}

void TCustomTreeView::PaintRow(TCanvas* canvas, Integer row, const TRect& rowRect)
{
    TTreeNode* node = FTreeNodes->Rows()[size_t(row)];
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(rowRect);
    TCustomDrawState state;
    if (node == FSelected)
        state.Include(cdsSelected);
    if (node == FSelected && HandleAllocated() && GetFocus() == FHandle)
        state.Include(cdsFocused);
    bool defaultDraw = true;
    bool paintImages = true;
    if (FOnCustomDrawItem)
        FOnCustomDrawItem(this, node, state, defaultDraw);
    if (FOnAdvancedCustomDrawItem)
        FOnAdvancedCustomDrawItem(this, node, state, cdPrePaint, defaultDraw, paintImages);
    if (!defaultDraw)
        return;
    if (FShowLines)
        PaintLines(canvas, node, rowRect);
    if (FShowButtons && node->GetHasChildren() && ColumnOf(node) >= 1)
        PaintButton(canvas, node, rowRect);
    const Integer itemLeft = ColumnOf(node) * FIndent;
    if (paintImages && FStateImages && node->FStateIndex >= 0)
        FStateImages->Draw(canvas, itemLeft, rowRect.Top + (rowRect.Height() - FStateImages->GetHeight()) / 2,
                           node->FStateIndex);
    if (paintImages && FImages) {
        const bool selected = node == FSelected;
        if (selected && FOnGetSelectedIndex)
            FOnGetSelectedIndex(this, node);
        else if (!selected && FOnGetImageIndex)
            FOnGetImageIndex(this, node);
        const Integer index = selected ? node->FSelectedIndex : node->FImageIndex;
        if (index >= 0)
            FImages->Draw(canvas, itemLeft + StateImageWidth(), rowRect.Top + (rowRect.Height() - FImages->GetHeight()) / 2,
                          index, GetEnabled());
    }
    PaintLabel(canvas, node, rowRect);
    if (FOnAdvancedCustomDrawItem)
        FOnAdvancedCustomDrawItem(this, node, state, cdPostPaint, defaultDraw, paintImages);
}

// Dotted lines: the elbow from the column before the node to the node, the
// line up to the node above (a sibling or the parent) and on down to a
// following sibling, and the lines passing through for each parent that has
// siblings still to come.
void TCustomTreeView::PaintLines(TCanvas* canvas, const TTreeNode* node, const TRect& rowRect)
{
    const Integer column = ColumnOf(node);
    if (column < 1)
        return;
    TPen* pen = canvas->GetPen();
    pen->SetColor(LineColor);
    pen->SetStyle(psDot);
    const Integer half = FIndent / 2;
    const Integer cx = (column - 1) * FIndent + half;
    const Integer cy = rowRect.Top + rowRect.Height() / 2;
    canvas->MoveTo(cx, cy);
    canvas->LineTo(column * FIndent, cy);
    const bool above = node->GetPrevSibling() || node->FParent;
    const bool below = node->GetNextSibling() != nullptr;
    if (above || below) {
        canvas->MoveTo(cx, above ? rowRect.Top : cy);
        canvas->LineTo(cx, below ? rowRect.Bottom : cy);
    }
    for (const TTreeNode* p = node->FParent; p; p = p->FParent) {
        const Integer pc = ColumnOf(p);
        if (pc >= 1 && p->GetNextSibling()) {
            const Integer x = (pc - 1) * FIndent + half;
            canvas->MoveTo(x, rowRect.Top);
            canvas->LineTo(x, rowRect.Bottom);
        }
    }
    pen->SetStyle(psSolid);
}

// A 9-pixel box with a minus, and a plus while the node is closed.
void TCustomTreeView::PaintButton(TCanvas* canvas, const TTreeNode* node, const TRect& rowRect)
{
    const Integer cx = (ColumnOf(node) - 1) * FIndent + FIndent / 2;
    const Integer cy = rowRect.Top + rowRect.Height() / 2;
    const TRect box{cx - 4, cy - 4, cx + 5, cy + 5};
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(box);
    canvas->GetBrush()->SetColor(LineColor);
    canvas->FrameRect(box);
    TPen* pen = canvas->GetPen();
    pen->SetStyle(psSolid);
    pen->SetColor(clWindowText);
    canvas->MoveTo(cx - 2, cy);
    canvas->LineTo(cx + 3, cy);
    if (!node->FExpanded) {
        canvas->MoveTo(cx, cy - 2);
        canvas->LineTo(cx, cy + 3);
    }
}

// The selection is a band of the highlight colour behind the text while the
// tree has the focus, of the button face colour while it has not (unless
// HideSelection hides it then); with the focus the band also gets the dotted
// focus frame. RowSelect widens the band to the row.
void TCustomTreeView::PaintLabel(TCanvas* canvas, const TTreeNode* node, const TRect& rowRect)
{
    TRect band = LabelRect(node);
    if (FRowSelect)
        band = rowRect;
    const bool target = node == FDropTarget;
    const bool selected = target || (node == FSelected && SelectionShown() && !FDropTarget);
    const bool focused = target || (selected && HandleAllocated() && GetFocus() == FHandle);
    TColor textColor = GetFont()->GetColor();
    if (selected) {
        canvas->GetBrush()->SetStyle(bsSolid);
        canvas->GetBrush()->SetColor(focused ? clHighlight : clBtnFace);
        canvas->FillRect(band);
        if (focused)
            textColor = clHighlightText;
    }
    const bool hot = node == FHotNode && FHotTrack && !focused;
    if (hot)
        textColor = clBlue;
    if (!GetEnabled())
        textColor = clGrayText;
    canvas->GetFont()->SetColor(textColor);
    TFontStyles style = GetFont()->GetStyle();
    if (hot)
        style.Include(fsUnderline);
    canvas->GetFont()->SetStyle(style);
    canvas->GetBrush()->SetStyle(bsClear);
    Measure();
    const TRect label = LabelRect(node);
    canvas->TextOut(label.Left + LabelPadding, rowRect.Top + (rowRect.Height() - FTextHeight) / 2, node->FText);
    canvas->GetBrush()->SetStyle(bsSolid);
    if (focused && !target)
        canvas->DrawFocusRect(band);
}

} // namespace ld
