#include "apps/designer/PropertyView.h"

#include <algorithm>

#include "platform/core/SysUtils.h"
#include "platform/gfx/Frames.h"
#include "platform/gfx/RectUtils.h"
#include "platform/win/Input.h"

namespace ld {

namespace {

std::string Unquoted(const std::string& text)
{
    return text.size() >= 2 && text.front() == '\'' && text.back() == '\'' ? text.substr(1, text.size() - 2) : text;
}

Integer IntegerFromText(const TPropInfo* prop, const std::string& text)
{
    Integer value = 0;
    if (prop->Idents != nullptr && prop->Idents->IdentToInt(text, value))
        return value;
    return StrToInt(text);
}

} // namespace

bool IsTypedProperty(const TPropInfo* prop)
{
    switch (prop->Kind) {
    case TTypeKind::tkString:
    case TTypeKind::tkInteger:
    case TTypeKind::tkBoolean:
    case TTypeKind::tkEnumeration:
        return prop->IsWritable();
    default:
        return false;
    }
}

void SetPropertyText(TPersistent* component, const TPropInfo* prop, const std::string& raw)
{
    if (!IsTypedProperty(prop))
        throw EInvalidOperation("The value of property " + prop->Name + " cannot be typed in");
    const std::string text = Unquoted(raw);
    switch (prop->Kind) {
    case TTypeKind::tkString:
        prop->SetStr(component, text);
        break;
    case TTypeKind::tkInteger:
        prop->SetOrd(component, IntegerFromText(prop, text));
        break;
    case TTypeKind::tkBoolean:
        if (!SameText(text, "True") && !SameText(text, "False"))
            throw EConvertError("True or False expected");
        prop->SetOrd(component, SameText(text, "True") ? 1 : 0);
        break;
    default: {
        const Integer value = prop->EnumType->ValueOf(text);
        if (value < 0)
            throw EConvertError(text + " is not a value of " + prop->EnumType->Name);
        prop->SetOrd(component, value);
        break;
    }
    }
}

TClass TPropertyView::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TPropertyView>("TPropertyView", TCustomControl::StaticClass()).Abstract();
    return &info;
}

TPropertyView::TPropertyView(TComponent* owner, const TDesignRegistry& registry)
    : TCustomControl(owner), FRegistry(registry),
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
    FChoice = new TComboBox(this);
    FChoice->SetParent(this);
    FChoice->SetVisible(false);
    FChoice->SetStyle(csDropDownList);
    FChoice->SetOnChange(TNotifyEvent(this, &TPropertyView::ChoiceChanged));
}

void TPropertyView::SetDesigner(THostFormDesigner* designer)
{
    FDesigner = designer;
    Refresh();
}

void TPropertyView::Refresh()
{
    const std::string before = FSubject;
    FRows.clear();
    FSubject.clear();
    if (FDesigner != nullptr && !FDesigner->GetSelection().empty()) {
        TPersistent* subject = FDesigner->GetSelection().front();
        FSubject = subject->GetNamePath() + ": " + subject->ClassName();
        for (const TPropInfo* prop : subject->ClassType()->Properties()) {
            FRows.push_back({prop, {}, false});
            const auto editor = EditorOf(FRows.back());
            FRows.back().Value = editor->GetValue();
            FRows.back().Dialog = editor->GetAttributes().Contains(paDialog);
        }
    }
    // Another subject starts at its first row; the field being edited keeps
    // its place while its row is still there.
    if (FSubject != before) {
        EndEdit();
        FTopRow = 0;
    }
    if (FEditingRow >= RowCount())
        EndEdit();
    FTopRow = std::max<Integer>(0, std::min(FTopRow, RowCount() - VisibleRows()));
    Invalidate();
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

std::unique_ptr<TPropertyEditor> TPropertyView::EditorOf(const TRow& row) const
{
    return FRegistry.GetPropertyEditor(row.Prop, FDesigner->GetSelection(), FDesigner);
}

Integer TPropertyView::RowOf(const std::string& propertyName) const
{
    for (Integer i = 0; i < RowCount(); ++i)
        if (SameText(FRows[static_cast<size_t>(i)].Prop->Name, propertyName))
            return i;
    return -1;
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

TRect TPropertyView::EllipsisRect(Integer row) const
{
    if (row < 0 || row >= RowCount() || !FRows[static_cast<size_t>(row)].Dialog)
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
    const TRow& r = FRows[static_cast<size_t>(row)];
    const TRect name = NameRect(row);
    const TRect value = ValueRect(row);
    canvas->GetPen()->SetColor(clBtnShadow);
    canvas->MoveTo(0, name.Bottom - 1);
    canvas->LineTo(value.Right, name.Bottom - 1);
    canvas->MoveTo(NameWidth, name.Top);
    canvas->LineTo(NameWidth, name.Bottom);
    const bool editing = row == FEditingRow;
    if (editing) {
        canvas->GetBrush()->SetColor(clHighlight);
        canvas->FillRect({name.Left, name.Top, name.Right, name.Bottom - 1});
    }
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->GetFont()->SetColor(editing ? clHighlightText : clWindowText);
    canvas->TextRect({name.Left, name.Top, name.Right, name.Bottom - 1}, name.Left + 4, name.Top + 1, r.Prop->Name);
    canvas->GetFont()->SetColor(IsTypedProperty(r.Prop) || r.Dialog ? clNavy : clGrayText);
    canvas->TextRect({value.Left, value.Top, value.Right - (r.Dialog ? EllipsisWidth : 0), value.Bottom - 1},
                     value.Left + 3, value.Top + 1, r.Value);
    canvas->GetBrush()->SetStyle(bsSolid);
    if (r.Dialog) {
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
    if (PtInRect(EllipsisRect(row), {x, y}))
        RunDialog(row);
    else
        BeginEdit(row);
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

// A typed property gets its field over the value; any other row is only marked.
void TPropertyView::BeginEdit(Integer row)
{
    EndEdit();
    FEditingRow = row;
    const TRow& r = FRows[static_cast<size_t>(row)];
    const TRect value = ValueRect(row);
    const TRect field{value.Left + 1, value.Top, value.Right - (r.Dialog ? EllipsisWidth : 0), value.Bottom - 1};
    if (IsTypedProperty(r.Prop) && (r.Prop->Kind == TTypeKind::tkBoolean || r.Prop->Kind == TTypeKind::tkEnumeration)) {
        FChoice->GetItems()->Clear();
        if (r.Prop->Kind == TTypeKind::tkBoolean) {
            FChoice->GetItems()->Add("False");
            FChoice->GetItems()->Add("True");
        } else {
            for (const std::string& name : r.Prop->EnumType->Names)
                FChoice->GetItems()->Add(name);
        }
        FChoice->SetItemIndex(FChoice->GetItems()->IndexOf(r.Value));
        FChoice->SetBounds(field.Left, field.Top - 1, field.Right - field.Left, field.Bottom - field.Top + 2);
        FChoice->SetVisible(true);
        FChoice->SetFocus();
    } else if (IsTypedProperty(r.Prop)) {
        FEdit->SetText(r.Value);
        FEdit->SetBoundsRect(field);
        FEdit->SetVisible(true);
        FEdit->SetFocus();
        FEdit->SelectAll();
    }
    Invalidate();
}

void TPropertyView::EndEdit()
{
    FEditingRow = -1;
    FEdit->SetVisible(false);
    FChoice->SetVisible(false);
    Invalidate();
}

// The new value goes to every selected component, then the form is modified
// (which reads the values back). A value the property refuses leaves it as it was.
void TPropertyView::Store(const std::string& text)
{
    if (FEditingRow < 0 || FDesigner == nullptr)
        return;
    const TPropInfo* prop = FRows[static_cast<size_t>(FEditingRow)].Prop;
    try {
        for (TPersistent* component : FDesigner->GetSelection())
            SetPropertyText(component, prop, text);
    } catch (const Exception&) {
        Refresh();
        throw;
    }
    FDesigner->Modified();
}

void TPropertyView::RunDialog(Integer row)
{
    EndEdit();
    EditorOf(FRows[static_cast<size_t>(row)])->Edit();
    Refresh();
}

void TPropertyView::EditKeyDown(TObject*, Word& key, TShiftState)
{
    if (FEditingRow < 0)
        return;
    if (key == VK_RETURN) {
        key = 0;
        Store(FEdit->GetText());
        if (FEditingRow >= 0)
            FEdit->SelectAll();
    } else if (key == VK_ESCAPE) {
        key = 0;
        FEdit->SetText(FRows[static_cast<size_t>(FEditingRow)].Value);
        FEdit->SelectAll();
    }
}

void TPropertyView::ChoiceChanged(TObject*)
{
    if (FChoice->GetItemIndex() >= 0)
        Store(FChoice->GetItems()->Get(FChoice->GetItemIndex()));
}

} // namespace ld
