// The form designer's edits: the selection's moves, sizes, deletion, the
// clipboard, the designer's keys, and the undo history every change goes
// through (Modified records, Undo and Redo restore the stored bytes).
#include <algorithm>

#include "host/DesignClipboard.h"
#include "host/DesignEdits.h"
#include "host/FormDesigner.h"
#include "host/FormState.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/ControlTypes.h"

namespace ld {

// ---- selection ---------------------------------------------------------------------------

void THostFormDesigner::SelectParent()
{
    auto* control = dynamic_cast<TControl*>(FSelection.First());
    if (control == nullptr || control == FForm)
        return;
    SelectComponent(DesignedComponent(control->GetParent()));
}

void THostFormDesigner::SelectNext(bool backward)
{
    const Integer count = FForm->ComponentCount();
    if (count == 0)
        return;
    auto* current = dynamic_cast<TComponent*>(FSelection.First());
    const Integer index = current != nullptr && current->Owner() == FForm ? current->GetComponentIndex() : -1;
    Integer next = 0;
    if (backward)
        next = index <= 0 ? count - 1 : index - 1;
    else
        next = (index + 1) % count;
    SelectComponent(FForm->Components(next));
}

std::vector<TControl*> THostFormDesigner::SelectedControls() const
{
    std::vector<TControl*> controls;
    for (TComponent* c : SelectionRoots(FForm, FSelection.Items()))
        if (auto* control = dynamic_cast<TControl*>(c))
            controls.push_back(control);
    return controls;
}

// ---- moving and sizing -------------------------------------------------------------------

void THostFormDesigner::MoveSelection(TPoint delta, TWinControl* newParent)
{
    TEditScope scope(*this);
    const std::vector<TControl*> controls = SelectedControls();
    if (controls.empty())
        return;
    for (TControl* control : controls) {
        TWinControl* target = control->GetParent();
        if (newParent != nullptr && newParent != target && !IsHeldByParent(control) &&
            AcceptsChild(newParent, control))
            target = newParent;
        const TPoint from = ScreenTopLeft(control);
        MoveControlTo(control, target, target->ScreenToClient({from.X + delta.X, from.Y + delta.Y}));
    }
    Modified();
}

void THostFormDesigner::NudgeSelection(Integer dx, Integer dy)
{
    TEditScope scope(*this);
    const std::vector<TControl*> controls = SelectedControls();
    for (TControl* c : controls)
        c->SetBounds(c->GetLeft() + dx, c->GetTop() + dy, c->GetWidth(), c->GetHeight());
    if (!controls.empty())
        Modified();
}

void THostFormDesigner::ResizeSelection(Integer dWidth, Integer dHeight)
{
    TEditScope scope(*this);
    const std::vector<TControl*> controls = SelectedControls();
    for (TControl* c : controls)
        c->SetBounds(c->GetLeft(), c->GetTop(), std::max(0, c->GetWidth() + dWidth),
                     std::max(0, c->GetHeight() + dHeight));
    if (!controls.empty())
        Modified();
}

void THostFormDesigner::SetControlBounds(TControl* control, const TRect& bounds)
{
    TEditScope scope(*this);
    control->SetBoundsRect(bounds);
    Modified();
}

// ---- deleting and the clipboard ------------------------------------------------------------

void THostFormDesigner::DeleteSelection()
{
    TEditScope scope(*this);
    const std::vector<TComponent*> roots = SelectionRoots(FForm, FSelection.Items());
    if (roots.empty())
        return;
    // The parent is found again by name: it may go with another deleted component.
    std::string parentName;
    if (auto* control = dynamic_cast<TControl*>(roots.front()))
        parentName = DesignedComponent(control->GetParent())->GetName();
    for (TComponent* c : roots)
        c->Free();
    TComponent* parent = parentName.empty() ? nullptr : FForm->FindComponent(parentName);
    SelectComponent(parent != nullptr ? parent : FForm);
    Modified();
}

std::string THostFormDesigner::CopySelection()
{
    const std::vector<TComponent*> roots = SelectionRoots(FForm, FSelection.Items());
    if (roots.empty())
        return {};
    std::string text = ComponentsToText(FForm, roots);
    Clipboard()->SetAsText(text);
    return text;
}

void THostFormDesigner::CutSelection()
{
    if (!CopySelection().empty())
        DeleteSelection();
}

namespace {

// Whether Control keeps children of the class as its own stored children
// without accepting controls in general (a bar its sheets).
bool KeepsChildrenOf(TControl* control, const std::string& className, TComponent* root)
{
    if (control->GetControlStyle().Contains(csAcceptsControls))
        return false;
    bool keeps = false;
    control->GetChildren([&](TComponent* child) { keeps = keeps || SameText(child->ClassName(), className); }, root);
    return keeps;
}

} // namespace

TWinControl* THostFormDesigner::PasteTarget(const std::string& className) const
{
    auto* control = dynamic_cast<TControl*>(FSelection.First());
    if (control == nullptr)
        return FForm;
    if (KeepsChildrenOf(control, className, FForm))
        return dynamic_cast<TWinControl*>(control);
    // A twin of a control its parent keeps goes beside it (a sheet into the bar).
    if (IsHeldByParent(control) && SameText(control->ClassName(), className))
        return control->GetParent();
    for (TControl* c = control; c != nullptr; c = c->GetParent())
        if (auto* container = dynamic_cast<TWinControl*>(c);
            container != nullptr && container->GetControlStyle().Contains(csAcceptsControls))
            return container;
    return FForm;
}

std::vector<TComponent*> THostFormDesigner::PasteText(std::string_view text)
{
    TEditScope scope(*this);
    const std::vector<std::string> classes = TextObjectClasses(text);
    TWinControl* parent = PasteTarget(classes.front());
    std::vector<TComponent*> pasted;
    try {
        pasted = ComponentsFromText(FForm, parent, text, [this](const std::string& cls) { return UniqueName(cls); });
    } catch (...) {
        // What was read is freed, but a sheet that joined its bar on the way
        // changed the bar's open sheet: the form goes back to its stored bytes.
        if (StoreForm(FForm) != *FCurrent.Form)
            RestoreState(FCurrent);
        throw;
    }
    SetSelection(std::vector<TPersistent*>(pasted.begin(), pasted.end()));
    Modified();
    return pasted;
}

std::vector<TComponent*> THostFormDesigner::PasteFromClipboard() { return PasteText(Clipboard()->GetAsText()); }

// ---- keys -----------------------------------------------------------------------------------

bool THostFormDesigner::KeyDown(Word key, TShiftState shift)
{
    const bool ctrl = shift.Contains(ssCtrl), withShift = shift.Contains(ssShift), alt = shift.Contains(ssAlt);
    switch (key) {
    case VK_DELETE:
        DeleteSelection();
        return true;
    case VK_ESCAPE:
        SelectParent();
        return true;
    case VK_TAB:
        SelectNext(withShift);
        return true;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
        const Integer dx = key == VK_LEFT ? -1 : key == VK_RIGHT ? 1 : 0;
        const Integer dy = key == VK_UP ? -1 : key == VK_DOWN ? 1 : 0;
        if (ctrl)
            NudgeSelection(dx, dy);
        else if (withShift)
            ResizeSelection(dx, dy);
        return ctrl || withShift;
    }
    }
    if (!ctrl || alt)
        return false;
    switch (key) {
    case 'X': CutSelection(); return true;
    case 'C': CopySelection(); return true;
    case 'V': PasteFromClipboard(); return true;
    case 'Z': Undo(); return true;
    case 'Y': Redo(); return true;
    }
    return false;
}

// ---- the undo history -------------------------------------------------------------------------

std::vector<std::string> THostFormDesigner::SelectionNames() const
{
    std::vector<std::string> names;
    for (TPersistent* item : FSelection.Items())
        if (auto* c = dynamic_cast<TComponent*>(item))
            names.push_back(c->GetName());
    return names;
}

void THostFormDesigner::RememberNames()
{
    FCurrentNames = {UpperCase(FForm->GetName())};
    for (Integer i = 0; i < FForm->ComponentCount(); ++i)
        FCurrentNames.push_back(UpperCase(FForm->Components(i)->GetName()));
}

// What a person selects among the components of the last recorded state is
// what an undo of the next change selects again; a component the change
// itself made (a placed one, a new sheet) is no part of that state.
void THostFormDesigner::SelectionChanged()
{
    if (!FRestoring && FEditing == 0) {
        std::vector<std::string> names = SelectionNames();
        if (std::all_of(names.begin(), names.end(), [&](const std::string& n) {
                return std::find(FCurrentNames.begin(), FCurrentNames.end(), UpperCase(n)) != FCurrentNames.end();
            }))
            FCurrent.Selection = std::move(names);
    }
    Changed();
}

void THostFormDesigner::RecordChange()
{
    if (FRestoring)
        return;
    auto now = std::make_shared<const std::string>(StoreForm(FForm));
    if (FCurrent.Form != nullptr && *now == *FCurrent.Form)
        return;
    TDesignState after{std::move(now), SelectionNames()};
    FHistory.Record(TDesignChange(FCurrent, after));
    FCurrent = std::move(after);
    RememberNames();
}

void THostFormDesigner::ResetHistory()
{
    FHistory.Clear();
    FCurrent = {std::make_shared<const std::string>(StoreForm(FForm)), SelectionNames()};
    RememberNames();
}

void THostFormDesigner::Undo()
{
    RecordChange();
    if (const TDesignChange* change = FHistory.Undo())
        change->Revert(*this);
}

void THostFormDesigner::Redo()
{
    // A change made since the last undo ends what could be redone.
    RecordChange();
    if (const TDesignChange* change = FHistory.Redo())
        change->Apply(*this);
}

void THostFormDesigner::RestoreState(const TDesignState& state)
{
    FRestoring = true;
    try {
        RestoreForm(FForm, *FCurrent.Form, *state.Form);
    } catch (...) {
        FRestoring = false;
        throw;
    }
    FCurrent = state;
    RememberNames();
    std::vector<TPersistent*> selection;
    for (const std::string& name : state.Selection)
        if (SameText(name, FForm->GetName()))
            selection.push_back(FForm);
        else if (TComponent* c = FForm->FindComponent(name))
            selection.push_back(c);
    if (selection.empty())
        selection.push_back(FForm);
    SetSelection(selection);
    FRestoring = false;
    ++FModifiedCount;
    Changed();
}

} // namespace ld
