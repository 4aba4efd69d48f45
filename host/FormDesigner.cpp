#include "host/FormDesigner.h"

#include <algorithm>

#include "platform/core/ClassRegistry.h"
#include "platform/core/SysUtils.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Stream.h"
#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"
#include "platform/vcl/ControlTypes.h"
#include "platform/win/MessageQueue.h"

namespace ld {

// Hears when a selected component is freed, so the selection never dangles.
class THostFormDesigner::TSelectionWatch : public TComponent {
public:
    explicit TSelectionWatch(THostFormDesigner& designer) : TComponent(nullptr), FDesigner(designer) {}
    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        if (operation == opRemove)
            FDesigner.Forget(component);
    }

private:
    THostFormDesigner& FDesigner;
};

namespace {

// The name of the root component of a bare binary component stream.
std::string RootName(const std::string& binary)
{
    TStringStream stream(binary);
    TReader reader(&stream);
    reader.ReadSignature();
    TFilerFlags flags;
    Integer childPos = 0;
    reader.ReadPrefix(flags, childPos);
    reader.ReadStr();
    return reader.ReadStr();
}

// Posted to the designed form after its window moved or changed size, so the
// change is looked at once whoever made it has had the chance to call Modified.
constexpr UINT DM_CHECKFORMBOUNDS = WM_USER + 0x7F00;

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST; }
bool IsKeyMessage(UINT msg) { return msg >= WM_KEYFIRST && msg <= WM_KEYLAST; }

} // namespace

THostFormDesigner::THostFormDesigner(const TDesignRegistry& registry, const std::string& formName)
    : FRegistry(registry), FWatch(std::make_unique<TSelectionWatch>(*this))
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
}

THostFormDesigner::~THostFormDesigner()
{
    FSelection.clear();
    FForm->SetDesigner(nullptr);
    FForm->Free();
    FWatch.reset();
}

std::unique_ptr<THostFormDesigner> THostFormDesigner::Open(const TDesignRegistry& registry, std::string_view data)
{
    const std::string binary = ToBinaryStream(data);
    auto designer = std::make_unique<THostFormDesigner>(registry, RootName(binary));
    // Naming the form gave it its name as caption; the stored form says what it is
    // (none when it stores none).
    designer->FForm->SetCaption({});
    TStringStream stream(binary);
    ReadComponentFromStream(&stream, designer->FForm);
    designer->FOpened = true;
    return designer;
}

std::string THostFormDesigner::Save(bool asText)
{
    TStringStream binary;
    TWriter(&binary).WriteRootComponent(FForm);
    if (!asText)
        return ResourceHeader(FForm->ClassName(), static_cast<uint32_t>(binary.DataString().size())) +
               binary.DataString();
    binary.Seek(0, soBeginning);
    TStringStream text;
    ObjectBinaryToText(&binary, &text);
    return text.DataString();
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
    for (TPersistent* p : FSelection)
        if (auto* c = dynamic_cast<TComponent*>(p))
            FWatch->RemoveFreeNotification(c);
    FSelection.clear();
    if (instance != nullptr) {
        FSelection.push_back(instance);
        if (auto* c = dynamic_cast<TComponent*>(instance))
            FWatch->FreeNotification(c);
    }
    Changed();
}

void THostFormDesigner::Forget(TComponent* component)
{
    if (std::erase(FSelection, static_cast<TPersistent*>(component)) > 0)
        Changed();
}

void THostFormDesigner::Modified()
{
    ++FModifiedCount;
    AcceptFormBounds();
    Changed();
}

void THostFormDesigner::AcceptFormBounds()
{
    FKnownBounds = FForm->GetBoundsRect();
    FBoundsKnown = true;
}

std::unique_ptr<TPropertyEditor> THostFormDesigner::CreatePropertyEditor(const TPropInfo* prop,
                                                                         std::vector<TPersistent*> components)
{
    return FRegistry.GetPropertyEditor(prop, std::move(components), this);
}

// The form's own window messages that are the designer's business.
bool THostFormDesigner::IsFormMsg(TMessage& message)
{
    switch (message.Msg) {
    case WM_CLOSE:
        if (FOnClose)
            FOnClose();
        return true;
    case WM_WINDOWPOSCHANGED:
        if (!FBoundsCheckPosted && FForm->HandleAllocated()) {
            FBoundsCheckPosted = true;
            PostMessage(FForm->GetHandle(), DM_CHECKFORMBOUNDS, 0, 0);
        }
        return false;
    case DM_CHECKFORMBOUNDS:
        // Where the form's window first settles is where it starts.
        FBoundsCheckPosted = false;
        if (!FBoundsKnown)
            AcceptFormBounds();
        else if (FForm->GetBoundsRect() != FKnownBounds)
            Modified();
        return true;
    }
    return false;
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
    if (sender == FForm && IsFormMsg(message))
        return true;
    if (IsKeyMessage(message.Msg)) {
        if (message.Msg == WM_KEYDOWN && FOnKeyDown)
            FOnKeyDown(static_cast<Word>(message.WParam));
        return true;
    }
    if (!IsMouseMessage(message.Msg))
        return false;
    if (sender->Perform(CM_DESIGNHITTEST, message.WParam, message.LParam) == 1)
        return false;
    TComponent* component = DesignedComponent(sender);
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
        if (FPlacingClass != nullptr)
            PlaceAt(sender, LParamToPoint(message.LParam));
        else
            SelectComponent(component);
        break;
    case WM_RBUTTONDOWN:
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

// Owned by the form, named, and (a control) parented; freed again when any of it fails.
TComponent* THostFormDesigner::NewComponent(TClass cls, TWinControl* parent, const TRect* bounds)
{
    TComponent* component = ::ld::CreateComponent(cls, FForm);
    try {
        component->SetName(UniqueName(cls->Name));
        if (auto* control = dynamic_cast<TControl*>(component)) {
            control->SetParent(parent != nullptr ? parent : FForm);
            if (bounds != nullptr)
                control->SetBoundsRect(*bounds);
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
    return NewComponent(cls, parent, &bounds);
}

// The new component goes into the nearest container under the click (the
// control clicked if it accepts controls, else one of its parents), at the
// click, keeping the size it gave itself.
void THostFormDesigner::PlaceAt(TControl* sender, TPoint clientPoint)
{
    const TClass cls = FPlacingClass;
    FPlacingClass = nullptr;
    TControl* target = sender;
    while (target != FForm && target->GetParent() != nullptr &&
           !target->GetControlStyle().Contains(csAcceptsControls)) {
        clientPoint = {clientPoint.X + target->GetLeft(), clientPoint.Y + target->GetTop()};
        target = target->GetParent();
    }
    TComponent* component = NewComponent(cls, dynamic_cast<TWinControl*>(target), nullptr);
    if (auto* control = dynamic_cast<TControl*>(component))
        control->SetBounds(clientPoint.X, clientPoint.Y, control->GetWidth(), control->GetHeight());
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
    if (FSelection.empty())
        return nullptr;
    const TPropInfo* prop = FSelection.front()->ClassType()->FindProperty(propertyName);
    if (prop == nullptr)
        return nullptr;
    return FRegistry.GetPropertyEditor(prop, FSelection, this);
}

} // namespace ld
