// The form designer's core: the form, names, design-mode input, placing,
// editors. The edits, the clipboard and the undo history are in
// FormDesignerEdits.cpp.
#include "host/FormDesigner.h"

#include <algorithm>

#include "host/FormState.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/SysUtils.h"
#include "platform/stream/TextForm.h"
#include "platform/vcl/ControlTypes.h"
#include "platform/win/Input.h"

namespace ld {

namespace {

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST; }
bool IsKeyMessage(UINT msg) { return msg >= WM_KEYFIRST && msg <= WM_KEYLAST; }
// A double click with Shift or Ctrl is two clicks that select; without them
// it runs the component's editor.
bool IsLeftButtonMessage(const TMessage& m)
{
    if (m.Msg == WM_LBUTTONDBLCLK)
        return (m.WParam & (MK_SHIFT | MK_CONTROL)) != 0;
    return m.Msg == WM_LBUTTONDOWN || m.Msg == WM_MOUSEMOVE || m.Msg == WM_LBUTTONUP;
}

TShiftState KeyShiftState()
{
    TShiftState shift;
    if (GetKeyState(VK_SHIFT) < 0)
        shift.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0)
        shift.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0)
        shift.Include(ssAlt);
    return shift;
}

} // namespace

THostFormDesigner::THostFormDesigner(const TDesignRegistry& registry, const std::string& formName)
    : FRegistry(registry), FSelection([this] { SelectionChanged(); })
{
    FForm = new TForm(nullptr);
    FForm->SetDesigning(true);
    FForm->SetDesigner(this);
    try {
        FForm->SetName(formName);
    } catch (...) {
        FForm->SetDesigner(nullptr);
        FForm->Free();
        throw;
    }
    ResetHistory();
}

THostFormDesigner::~THostFormDesigner()
{
    FOnChange = nullptr;
    FSelection.Set({});
    FForm->SetDesigner(nullptr);
    FForm->Free();
}

std::unique_ptr<THostFormDesigner> THostFormDesigner::Open(const TDesignRegistry& registry, std::string_view data)
{
    std::vector<TTextMark> marks;
    const std::string binary =
        DetectFormat(data) == TStreamFormat::Text ? TextToBinary(data, &marks) : ToBinaryStream(data);
    auto designer = std::make_unique<THostFormDesigner>(registry, StoredRootName(binary));
    ReadFormStream(designer->FForm, binary, &marks);
    designer->ResetHistory();
    return designer;
}

std::string THostFormDesigner::Save(bool asText)
{
    const std::string binary = StoreForm(FForm);
    if (asText)
        return BinaryToText(binary);
    return ResourceHeader(FForm->ClassName(), static_cast<uint32_t>(binary.size())) + binary;
}

// A designed form shows whatever its Visible says, so the value the user
// gave it goes back once it is on the screen.
void THostFormDesigner::ShowForm()
{
    const bool storedVisible = FForm->GetVisible();
    FForm->Show();
    FForm->SetVisible(storedVisible);
}

std::string THostFormDesigner::UniqueName(const std::string& baseName)
{
    std::string base = baseName;
    if (base.size() > 1 && (base[0] == 'T' || base[0] == 't'))
        base.erase(0, 1);
    for (Integer n = 1;; ++n) {
        const std::string name = base + IntToStr(n);
        if (FForm->FindComponent(name) == nullptr && !SameText(FForm->GetName(), name))
            return name;
    }
}

void THostFormDesigner::SelectComponent(TPersistent* instance)
{
    FSelection.Set(instance != nullptr ? std::vector<TPersistent*>{instance} : std::vector<TPersistent*>{});
}

void THostFormDesigner::Modified()
{
    ++FModifiedCount;
    RecordChange();
    Changed();
}

void THostFormDesigner::Changed()
{
    if (FOnChange)
        FOnChange();
}

TComponent* THostFormDesigner::DesignedComponent(TControl* control) const
{
    for (TControl* c = control; c != nullptr; c = c->GetParent())
        if (c == FForm || c->Owner() == FForm)
            return c;
    return FForm;
}

bool THostFormDesigner::IsDesignMsg(TControl* sender, TMessage& message)
{
    if (IsKeyMessage(message.Msg)) {
        if (message.Msg == WM_KEYDOWN) {
            const Word key = static_cast<Word>(message.WParam);
            const TShiftState shift = KeyShiftState();
            if ((!FOnKeyPreview || !FOnKeyPreview(key, shift)) && !KeyDown(key, shift) && FOnKeyDown)
                FOnKeyDown(key);
        }
        return true;
    }
    if (!IsMouseMessage(message.Msg))
        return false;
    if (sender->Perform(CM_DESIGNHITTEST, message.WParam, message.LParam) == 1)
        return false;
    if (IsLeftButtonMessage(message) && FOnMouse && FOnMouse(sender, message))
        return true;
    TComponent* component = DesignedComponent(sender);
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
        if (FPlacingClass != nullptr)
            PlaceAt(sender, LParamToPoint(message.LParam));
        else
            SelectComponent(component);
        break;
    case WM_RBUTTONDOWN:
        // A right click on a member keeps the selection, as its verbs are the first's.
        if (!IsSelected(component))
            SelectComponent(component);
        break;
    case WM_LBUTTONDBLCLK:
        SelectComponent(component);
        EditComponent(component);
        break;
    case WM_RBUTTONUP:
        if (FOnContextMenu)
            FOnContextMenu(component, sender->ClientToScreen(LParamToPoint(message.LParam)));
        break;
    }
    return true;
}

// Owned by the form, named, and (a control) parented and placed; freed again
// when any of it fails. Selected and recorded as one change once it is whole.
TComponent* THostFormDesigner::NewComponent(TClass cls, TWinControl* parent, const TRect* bounds,
                                            const TPoint* topLeft)
{
    TEditScope scope(*this);
    TComponent* component = ::ld::CreateComponent(cls, FForm);
    try {
        component->SetName(UniqueName(cls->Name));
        if (auto* control = dynamic_cast<TControl*>(component)) {
            control->SetParent(parent != nullptr ? parent : FForm);
            if (bounds != nullptr)
                control->SetBoundsRect(*bounds);
            else if (topLeft != nullptr)
                control->SetBounds(topLeft->X, topLeft->Y, control->GetWidth(), control->GetHeight());
        }
    } catch (...) {
        component->Free();
        throw;
    }
    SelectComponent(component);
    Modified();
    return component;
}

TComponent* THostFormDesigner::CreateComponent(TClass cls, TWinControl* parent, const TRect& bounds)
{
    return NewComponent(cls, parent, &bounds, nullptr);
}

// The new component goes into the nearest container under the click (the
// control clicked if it accepts controls, else one of its parents), at the
// click, keeping the size it gave itself.
TComponent* THostFormDesigner::PlaceAt(TControl* sender, TPoint clientPoint)
{
    const TClass cls = FPlacingClass;
    FPlacingClass = nullptr;
    if (cls == nullptr)
        return nullptr;
    TControl* target = sender;
    while (target != FForm && target->GetParent() != nullptr &&
           !target->GetControlStyle().Contains(csAcceptsControls)) {
        clientPoint = {clientPoint.X + target->GetLeft(), clientPoint.Y + target->GetTop()};
        target = target->GetParent();
    }
    return NewComponent(cls, dynamic_cast<TWinControl*>(target), nullptr, &clientPoint);
}

std::vector<std::string> THostFormDesigner::GetVerbs(TComponent* component)
{
    const auto editor = FRegistry.GetComponentEditor(component, this);
    std::vector<std::string> verbs;
    for (Integer i = 0; i < editor->GetVerbCount(); ++i)
        verbs.push_back(editor->GetVerb(i));
    return verbs;
}

void THostFormDesigner::ExecuteVerb(TComponent* component, Integer index)
{
    FRegistry.GetComponentEditor(component, this)->ExecuteVerb(index);
}

void THostFormDesigner::EditComponent(TComponent* component) { FRegistry.GetComponentEditor(component, this)->Edit(); }

std::unique_ptr<TPropertyEditor> THostFormDesigner::GetPropertyEditor(const std::string& propertyName)
{
    if (FSelection.Empty())
        return nullptr;
    const TPropInfo* prop = FSelection.First()->ClassType()->FindProperty(propertyName);
    if (prop == nullptr)
        return nullptr;
    return FRegistry.GetPropertyEditor(prop, FSelection.Items(), this);
}

} // namespace ld
