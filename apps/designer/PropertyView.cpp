#include "apps/designer/PropertyView.h"

#include <algorithm>

#include "platform/core/SysUtils.h"
#include "platform/gfx/Frames.h"
#include "platform/gfx/RectUtils.h"
#include "platform/win/Input.h"
#include "platform/win/TickSource.h"
#include "platform/win/Window.h"

namespace ld {

namespace {

// Sub-properties nest this deep at most (an object that holds itself stops here).
constexpr Integer MaxDepth = 6;
constexpr Integer BoxSize = 9;

} // namespace

TClass TPropertyView::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TPropertyView>("TPropertyView", TCustomControl::StaticClass()).Abstract();
    return &info;
}

TPropertyView::TPropertyView(TComponent* owner)
    : TCustomControl(owner),
      FBarTracker([this](TRect& bar, TScrollRange& range) { bar = ScrollBarRect(); range = Range(); },
                  [this](Word request, Integer position) { ScrollTo(ScrolledFirst(request, position, Range())); },
                  [this] { Invalidate(); })
{
    FControlStyle.Include(csOpaque);
    SetBounds(0, 0, 280, 400);
    FEdit = new TEdit(this);
    FEdit->SetParent(this);
    FEdit->SetVisible(false);
    FEdit->SetBorderStyle(bsNone);
    FEdit->SetOnKeyDown(TKeyEvent(this, &TPropertyView::EditKeyDown));
    FEdit->SetOnDblClick(TNotifyEvent(this, &TPropertyView::FieldDblClick));
    FEdit->SetOnMouseDown(TMouseEvent(this, &TPropertyView::FieldMouseDown));
    // The values of a list are typed as well (the editor refuses what it cannot take).
    FChoice = new TComboBox(this);
    FChoice->SetParent(this);
    FChoice->SetVisible(false);
    FChoice->SetStyle(csDropDown);
    FChoice->SetDropDownCount(12);
    FChoice->SetOnChange(TNotifyEvent(this, &TPropertyView::ChoiceChanged));
    TCustomEdit* part = FChoice->GetEditPart();
    part->SetOnKeyDown(TKeyEvent(this, &TPropertyView::EditKeyDown));
    part->SetOnDblClick(TNotifyEvent(this, &TPropertyView::FieldDblClick));
    part->SetOnMouseDown(TMouseEvent(this, &TPropertyView::FieldMouseDown));
}

void TPropertyView::SetDesigner(THostFormDesigner* designer)
{
    FDesigner = designer;
    Refresh();
}

std::vector<TPersistent*> TPropertyView::Subjects() const
{
    if (FDesigner == nullptr)
        return {};
    if (FDesigner->GetSelection().empty())
        return {FDesigner->GetForm()};
    return FDesigner->GetSelection();
}

// Several components show the properties they share by declaration (one
// property record serves them all) that their editor allows for several.
std::vector<const TPropInfo*> TPropertyView::CommonProperties(const std::vector<TPersistent*>& subjects) const
{
    std::vector<const TPropInfo*> common;
    for (const TPropInfo* prop : subjects.front()->ClassType()->Properties()) {
        bool shared = true;
        for (size_t i = 1; i < subjects.size() && shared; ++i)
            shared = subjects[i]->ClassType()->FindProperty(prop->Name) == prop;
        if (shared)
            common.push_back(prop);
    }
    return common;
}

void TPropertyView::Refresh()
{
    const std::vector<TPersistent*> subjects = Subjects();
    const bool sameSubjects = subjects == FSubjects;
    FSubjects = subjects;
    FRows.clear();
    FSubject.clear();
    if (!subjects.empty()) {
        FSubject = subjects.size() == 1
                       ? subjects.front()->GetNamePath() + ": " + subjects.front()->ClassName()
                       : Format("%d components", {static_cast<Integer>(subjects.size())});
        std::vector<std::unique_ptr<TPropertyEditor>> editors;
        for (const TPropInfo* prop : CommonProperties(subjects)) {
            auto editor = FDesigner->CreatePropertyEditor(prop, subjects);
            if (subjects.size() == 1 || editor->GetAttributes().Contains(paMultiSelect))
                editors.push_back(std::move(editor));
        }
        AddRows(std::move(editors), {}, 0);
    }
    // Another subject starts at its first row; the field being edited keeps
    // its row (found again by its path) while it is still there.
    if (!sameSubjects) {
        EndEdit();
        FTopRow = 0;
    } else if (FEditingRow >= 0) {
        const Integer row = RowOf(FEditingPath);
        if (row < 0)
            EndEdit();
        else if (row != FEditingRow)
            BeginEdit(row);
    }
    FTopRow = std::max<Integer>(0, std::min(FTopRow, RowCount() - VisibleRows()));
    Invalidate();
}

void TPropertyView::AddRows(std::vector<std::unique_ptr<TPropertyEditor>> editors, const std::string& parentPath,
                            Integer depth)
{
    for (auto& editor : editors) {
        TRow row;
        row.Name = editor->GetName();
        row.Path = parentPath.empty() ? row.Name : parentPath + "." + row.Name;
        row.Attributes = editor->GetAttributes();
        row.Depth = depth;
        row.Expandable = row.Attributes.Contains(paSubProperties) && depth < MaxDepth;
        row.Value = editor->AllEqual() ? editor->GetValue() : std::string();
        std::vector<std::unique_ptr<TPropertyEditor>> subs;
        if (row.Expandable && FExpanded.count(row.Path) > 0)
            subs = editor->GetProperties();
        row.Editor = std::move(editor);
        const std::string path = row.Path;
        FRows.push_back(std::move(row));
        if (!subs.empty())
            AddRows(std::move(subs), path, depth + 1);
    }
}

Integer TPropertyView::RowOf(const std::string& path) const
{
    for (Integer i = 0; i < RowCount(); ++i)
        if (SameText(FRows[static_cast<size_t>(i)].Path, path))
            return i;
    return -1;
}

void TPropertyView::SetExpanded(Integer row, bool expanded)
{
    if (row < 0 || row >= RowCount() || !At(row).Expandable || IsExpanded(row) == expanded)
        return;
    StorePending();
    if (expanded) {
        FExpanded.insert(At(row).Path);
    } else {
        // The rows under it go, and with them an edit in one of them.
        const std::string prefix = At(row).Path + ".";
        std::erase_if(FExpanded, [&](const std::string& p) { return p == At(row).Path || p.starts_with(prefix); });
        if (FEditingPath.starts_with(prefix))
            EndEdit();
    }
    Refresh();
}

Integer TPropertyView::VisibleRows() const { return std::max<Integer>(1, GetClientHeight() / RowHeight - 1); }

TRect TPropertyView::ScrollBarRect() const
{
    return {GetClientWidth() - GetSystemMetrics(SM_CXVSCROLL), RowHeight, GetClientWidth(), GetClientHeight()};
}

void TPropertyView::ScrollTo(Integer topRow)
{
    topRow = std::max<Integer>(0, std::min(topRow, RowCount() - VisibleRows()));
    if (topRow == FTopRow)
        return;
    StorePending();
    EndEdit();
    FTopRow = topRow;
    Invalidate();
}

void TPropertyView::MakeVisible(Integer row)
{
    if (row < FTopRow)
        ScrollTo(row);
    else if (row >= FTopRow + VisibleRows())
        ScrollTo(row - VisibleRows() + 1);
}

// The first line names the subject; the rows follow under it.
TRect TPropertyView::NameRect(Integer row) const
{
    const Integer top = RowTop(row);
    return {0, top, NameWidth, top + RowHeight};
}

TRect TPropertyView::ValueRect(Integer row) const
{
    const Integer top = RowTop(row);
    return {NameWidth + 1, top, HasScrollBar() ? ScrollBarRect().Left : GetClientWidth(), top + RowHeight};
}

TRect TPropertyView::ExpandBoxRect(Integer row) const
{
    if (row < 0 || row >= RowCount() || !At(row).Expandable)
        return {};
    const Integer left = 2 + At(row).Depth * Indent;
    const Integer top = RowTop(row) + (RowHeight - 1 - BoxSize) / 2;
    return {left, top, left + BoxSize, top + BoxSize};
}

TRect TPropertyView::EllipsisRect(Integer row) const
{
    if (row < 0 || row >= RowCount() || !At(row).Attributes.Contains(paDialog))
        return {};
    const TRect value = ValueRect(row);
    return {value.Right - EllipsisWidth, value.Top, value.Right, value.Bottom - 1};
}

void TPropertyView::Paint()
{
    TCanvas* canvas = GetCanvas();
    canvas->SetFont(GetFont());
    canvas->GetBrush()->SetColor(clBtnFace);
    canvas->FillRect({0, 0, GetClientWidth(), RowHeight});
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->TextOut(4, 2, FSubject.empty() ? "(nothing selected)" : FSubject);
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(clWindow);
    canvas->FillRect({0, RowHeight, GetClientWidth(), GetClientHeight()});
    for (Integer row = FTopRow; row < std::min(RowCount(), FTopRow + VisibleRows()); ++row)
        PaintRow(canvas, row);
    if (HasScrollBar())
        PaintVerticalScrollBar(canvas->GetHandle(), ScrollBarRect(), Range(), FBarTracker.PressedPart());
}

void TPropertyView::PaintRow(TCanvas* canvas, Integer row)
{
    const TRow& r = At(row);
    const TRect name = NameRect(row);
    const TRect value = ValueRect(row);
    canvas->GetPen()->SetColor(clBtnShadow);
    canvas->MoveTo(0, name.Bottom - 1);
    canvas->LineTo(value.Right, name.Bottom - 1);
    canvas->MoveTo(NameWidth, name.Top);
    canvas->LineTo(NameWidth, name.Bottom);
    const bool editing = row == FEditingRow;
    const Integer textLeft = name.Left + 14 + r.Depth * Indent;
    if (editing) {
        canvas->GetBrush()->SetColor(clHighlight);
        canvas->FillRect({textLeft - 2, name.Top, name.Right, name.Bottom - 1});
    }
    if (r.Expandable) {
        const TRect box = ExpandBoxRect(row);
        canvas->GetBrush()->SetColor(clWindow);
        canvas->FillRect(box);
        canvas->GetPen()->SetColor(clBtnShadow);
        canvas->MoveTo(box.Left, box.Top);
        for (const TPoint p : {TPoint{box.Right - 1, box.Top}, TPoint{box.Right - 1, box.Bottom - 1},
                               TPoint{box.Left, box.Bottom - 1}, TPoint{box.Left, box.Top}})
            canvas->LineTo(p.X, p.Y);
        canvas->GetPen()->SetColor(clWindowText);
        const Integer midY = (box.Top + box.Bottom) / 2, midX = (box.Left + box.Right) / 2;
        canvas->MoveTo(box.Left + 2, midY);
        canvas->LineTo(box.Right - 2, midY);
        if (!IsExpanded(row)) {
            canvas->MoveTo(midX, box.Top + 2);
            canvas->LineTo(midX, box.Bottom - 2);
        }
    }
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->GetFont()->SetColor(editing ? clHighlightText : clWindowText);
    canvas->TextRect({textLeft, name.Top, name.Right, name.Bottom - 1}, textLeft, name.Top + 1, r.Name);
    canvas->GetFont()->SetColor(CanEdit(r) || r.Expandable ? clNavy : clGrayText);
    const bool dialog = r.Attributes.Contains(paDialog);
    canvas->TextRect({value.Left, value.Top, value.Right - (dialog ? EllipsisWidth : 0), value.Bottom - 1},
                     value.Left + 3, value.Top + 1, r.Value);
    canvas->GetBrush()->SetStyle(bsSolid);
    if (dialog) {
        TRect button = EllipsisRect(row);
        canvas->GetBrush()->SetColor(clBtnFace);
        canvas->FillRect(button);
        DrawEdge(canvas->GetHandle(), button, EDGE_RAISED, BF_RECT);
        canvas->GetBrush()->SetStyle(bsClear);
        canvas->GetFont()->SetColor(clBtnText);
        canvas->TextOut(button.Left + 3, button.Top, "...");
        canvas->GetBrush()->SetStyle(bsSolid);
    }
    canvas->GetFont()->SetColor(clWindowText);
}

void TPropertyView::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y)
{
    inherited::MouseDown(button, shift, x, y);
    if (button != mbLeft || FDesigner == nullptr)
        return;
    if (HasScrollBar() && PtInRect(ScrollBarRect(), {x, y})) {
        FBarTracker.Press({x, y});
        return;
    }
    const Integer row = y / RowHeight - 1 + FTopRow;
    if (y < RowHeight || row >= RowCount() || row >= FTopRow + VisibleRows())
        return;
    if (PtInRect(ExpandBoxRect(row), {x, y})) {
        SetExpanded(row, !IsExpanded(row));
    } else if (PtInRect(EllipsisRect(row), {x, y})) {
        RunDialog(row);
    } else if (x < NameWidth && shift.Contains(ssDouble) && At(row).Expandable) {
        SetExpanded(row, !IsExpanded(row));
    } else {
        BeginEdit(row);
        if (shift.Contains(ssDouble) && x > NameWidth && FEditingRow == row)
            RunEdit(row);
        // The second click of a double-click lands on the field this one put there.
        FClickTime = GetTickCount();
        FClickPoint = ClientToScreen({x, y});
    }
}

void TPropertyView::MouseMove(TShiftState shift, Integer x, Integer y)
{
    inherited::MouseMove(shift, x, y);
    FBarTracker.Move({x, y});
}

void TPropertyView::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y)
{
    inherited::MouseUp(button, shift, x, y);
    if (button == mbLeft)
        FBarTracker.Release();
}

// A press on the field soon after the press that put it there, close by, is a
// double-click on the value.
void TPropertyView::FieldMouseDown(TObject* sender, TMouseButton button, TShiftState, Integer x, Integer y)
{
    auto* field = dynamic_cast<TControl*>(sender);
    if (button != mbLeft || field == nullptr || FClickTime == 0)
        return;
    const TPoint p = field->ClientToScreen({x, y});
    const Integer half = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
    const bool twice = GetTickCount() - FClickTime <= GetDoubleClickTime() && std::abs(p.X - FClickPoint.X) <= half &&
                       std::abs(p.Y - FClickPoint.Y) <= half;
    FClickTime = 0;
    if (twice)
        RunEdit(FEditingRow);
}

bool TPropertyView::CanEdit(const TRow& row) const
{
    if (row.Attributes.Contains(paDialog))
        return true;
    if (row.Attributes.Contains(paReadOnly))
        return false;
    return row.Editor->GetPropInfo()->IsWritable();
}

// The row becomes the one being edited: its field (an edit or a drop-down
// list) goes over its value. A row that takes no typing is only marked.
void TPropertyView::BeginEdit(Integer row)
{
    if (row != FEditingRow)
        StorePending();
    if (row < 0 || row >= RowCount())
        return;
    EndEdit();
    FEditingRow = row;
    FEditingPath = At(row).Path;
    const TRow& r = At(row);
    MakeVisible(row);
    const TRect value = ValueRect(row);
    const TRect field{value.Left + 1, value.Top, value.Right - (r.Attributes.Contains(paDialog) ? EllipsisWidth : 0),
                      value.Bottom - 1};
    FShownText = r.Value;
    if (CanEdit(r) && !r.Attributes.Contains(paReadOnly) && r.Attributes.Contains(paValueList)) {
        FChoosing = true;
        FChoice->SetSorted(false);
        TStrings* items = FChoice->GetItems();
        items->Clear();
        std::vector<std::string> values = r.Editor->GetValues();
        if (r.Attributes.Contains(paSortList))
            std::sort(values.begin(), values.end(),
                      [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
        for (const std::string& v : values)
            items->Add(v);
        FChoice->SetItemIndex(items->IndexOf(r.Value));
        FChoice->SetText(r.Value);
        FChoice->SetBounds(field.Left, field.Top - 1, field.Right - field.Left, field.Bottom - field.Top + 2);
        FChoosing = false;
        FChoice->SetVisible(true);
        FChoice->SetFocus();
        FChoice->GetEditPart()->SelectAll();
    } else if (CanEdit(r) && !r.Attributes.Contains(paReadOnly)) {
        FEdit->SetText(r.Value);
        FEdit->SetBoundsRect(field);
        FEdit->SetVisible(true);
        FEdit->SetFocus();
        FEdit->SelectAll();
    } else {
        SetFocus();
    }
    Invalidate();
}

void TPropertyView::EndEdit()
{
    FEditingRow = -1;
    FEditingPath.clear();
    FEdit->SetVisible(false);
    FChoice->SetVisible(false);
    Invalidate();
}

// Leaving a row whose text was changed stores it, as Enter would.
void TPropertyView::StorePending()
{
    if (FEditingRow < 0)
        return;
    std::string text;
    if (FEdit->GetVisible())
        text = FEdit->GetText();
    else if (FChoice->GetVisible())
        text = FChoice->GetText();
    else
        return;
    if (text != FShownText)
        Store(text);
}

// The editor takes the text and marks the form modified; the rows are read
// again either way, so a refused value shows what the property still holds.
void TPropertyView::Store(const std::string& text)
{
    FClickTime = 0;
    if (FEditingRow < 0 || FDesigner == nullptr || text == FShownText)
        return;
    FShownText = text;
    try {
        FRows[static_cast<size_t>(FEditingRow)].Editor->SetValue(text);
    } catch (const Exception&) {
        Refresh();
        if (FEditingRow >= 0)
            BeginEdit(FEditingRow);
        throw;
    }
    Refresh();
    if (FEditingRow >= 0)
        FShownText = At(FEditingRow).Value;
}

// A double-click on a value: the editor's Edit (the next value, a handler's name).
void TPropertyView::RunEdit(Integer row)
{
    if (row < 0 || row >= RowCount() || !CanEdit(At(row)))
        return;
    FRows[static_cast<size_t>(row)].Editor->Edit();
    Refresh();
    if (FEditingRow >= 0)
        BeginEdit(FEditingRow);
}

void TPropertyView::RunDialog(Integer row)
{
    StorePending();
    EndEdit();
    FRows[static_cast<size_t>(row)].Editor->Edit();
    Refresh();
}

void TPropertyView::MoveEdit(Integer delta)
{
    const Integer row = FEditingRow + delta;
    if (row >= 0 && row < RowCount())
        BeginEdit(row);
}

void TPropertyView::EditKeyDown(TObject*, Word& key, TShiftState)
{
    FClickTime = 0; // a key between two presses makes them no double-click
    // The open list takes its own keys: the arrows, Enter and Escape.
    if (FEditingRow < 0 || FChoice->GetDroppedDown())
        return;
    if (key == VK_RETURN) {
        key = 0;
        if (FEdit->GetVisible())
            Store(FEdit->GetText());
        else if (FChoice->GetVisible())
            Store(FChoice->GetText());
        if (FEdit->GetVisible())
            FEdit->SelectAll();
    } else if (key == VK_ESCAPE) {
        key = 0;
        if (FEdit->GetVisible()) {
            FEdit->SetText(FShownText);
            FEdit->SelectAll();
        } else if (FChoice->GetVisible()) {
            FChoice->SetText(FShownText);
            FChoice->GetEditPart()->SelectAll();
        }
    } else if (key == VK_UP || key == VK_DOWN) {
        const Integer delta = key == VK_UP ? -1 : 1;
        key = 0;
        MoveEdit(delta);
    }
}

void TPropertyView::FieldDblClick(TObject*)
{
    FClickTime = 0;
    RunEdit(FEditingRow);
}

void TPropertyView::ChoiceChanged(TObject*)
{
    if (FChoosing || FEditingRow < 0)
        return;
    const Integer index = FChoice->GetItemIndex();
    // Typing waits for Enter; an entry chosen from the list stores at once.
    if (index < 0 || FChoice->GetItems()->Get(index) != FChoice->GetText() || FChoice->GetDroppedDown())
        return;
    Store(FChoice->GetItems()->Get(index));
}

} // namespace ld
