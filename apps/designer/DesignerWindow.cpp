#include "apps/designer/DesignerWindow.h"

#include <cstdio>

#include "platform/core/FileIO.h"
#include "platform/core/SysUtils.h"
#include "platform/gfx/RectUtils.h"
#include "platform/win/Input.h"

namespace ld {

namespace {

constexpr Integer PaletteWidth = 440;
constexpr Integer DesignedTop = 120;
constexpr Integer PropertyLeft = 620;

} // namespace

TDesignerWindow::TDesignerWindow(const TDesignRegistry& registry, std::unique_ptr<THostFormDesigner> designer,
                                 const std::string& saveFile)
    : FRegistry(registry), FDesigner(std::move(designer))
{
    BuildPaletteWindow(saveFile);
    BuildPropertyWindow();
    ShowDesignedForm();
    // Where the window put the form and what it called it are no change to undo.
    FDesigner->ResetHistory();
    FDrag = std::make_unique<TDesignDrag>(*FDesigner, FFrame);
    FDesigner->SetOnMouse([this](TControl* sender, TMessage& m) { return FDrag->MouseMessage(sender, m); });
    FDesigner->SetOnKeyPreview([this](Word key, TShiftState shift) { return FDrag->KeyPreview(key, shift); });
    FDesigner->SetOnContextMenu([this](TComponent* c, TPoint p) { ShowContextMenu(c, p); });
    FDesigner->SetOnChange([this] { FStale = true; });
    FDesigner->SetOnKeyDown([this](Word key) {
        TShiftState shift;
        if (GetKeyState(VK_CONTROL) < 0)
            shift.Include(ssCtrl);
        KeyDown(nullptr, key, shift);
    });
    Application->SetOnIdle(TIdleEvent::Lambda([this](TObject* sender, bool& done) { Idle(sender, done); }));
    // A value the property refuses, a verb that fails: told on the status line as well.
    Application->SetOnException(TExceptionEvent::Lambda([this](TObject*, const std::exception& e) {
        SetStatus(e.what());
        Application->ShowException(e);
    }));
    Sync();
}

TDesignerWindow::~TDesignerWindow()
{
    Application->SetOnIdle(nullptr);
    Application->SetOnException(nullptr);
    FDesigner->SetOnChange(nullptr);
    FDesigner->SetOnKeyDown(nullptr);
    FDesigner->SetOnContextMenu(nullptr);
    FDesigner->SetOnMouse(nullptr);
    FDesigner->SetOnKeyPreview(nullptr);
    FDrag.reset();
    FPropertyView->SetDesigner(nullptr);
    FFrame.Hide();
    FDesigner.reset();
    delete FPropertyForm;
    delete FPaletteForm;
}

void TDesignerWindow::BuildPaletteWindow(const std::string& saveFile)
{
    FPaletteForm = new TForm(nullptr);
    FPaletteForm->SetCaption("Launchdeck Designer");
    FPaletteForm->SetBounds(0, 0, 920, 112);
    FPaletteForm->SetKeyPreview(true);
    FPaletteForm->SetOnKeyDown(TKeyEvent::Lambda([this](TObject* s, Word& key, TShiftState shift) { KeyDown(s, key, shift); }));
    FPalette = new TComponentPalette(FPaletteForm, FRegistry);
    FPalette->SetParent(FPaletteForm);
    FPalette->SetBounds(0, 0, PaletteWidth, FPalette->GetHeight());
    FPalette->SetOnChoose([this](TClass cls) { FDesigner->SetPlacingClass(cls); });

    auto* label = new TLabel(FPaletteForm);
    label->SetParent(FPaletteForm);
    label->SetCaption("File:");
    label->SetBounds(PaletteWidth + 8, 10, 30, 16);
    FFileField = new TEdit(FPaletteForm);
    FFileField->SetParent(FPaletteForm);
    FFileField->SetBounds(PaletteWidth + 40, 6, 430, 22);
    FFileField->SetText(saveFile);
    FSaveButton = new TButton(FPaletteForm);
    FSaveButton->SetParent(FPaletteForm);
    FSaveButton->SetCaption("&Save");
    FSaveButton->SetBounds(PaletteWidth + 40, 34, 100, 25);
    FSaveButton->SetOnClick(TNotifyEvent::Lambda([this](TObject*) { SaveToField(false); }));
    FSaveTextButton = new TButton(FPaletteForm);
    FSaveTextButton->SetParent(FPaletteForm);
    FSaveTextButton->SetCaption("Save as &Text");
    FSaveTextButton->SetBounds(PaletteWidth + 148, 34, 100, 25);
    FSaveTextButton->SetOnClick(TNotifyEvent::Lambda([this](TObject*) { SaveToField(true); }));
    FStatus = new TLabel(FPaletteForm);
    FStatus->SetParent(FPaletteForm);
    FStatus->SetBounds(8, 66, 880, 16);
    FStatus->SetCaption("Choose a palette button, then click on the form. Right-click a component for its verbs.");

    FContextMenu = new TPopupMenu(FPaletteForm);
    FPaletteForm->Show();
}

void TDesignerWindow::BuildPropertyWindow()
{
    FPropertyForm = new TForm(nullptr);
    FPropertyForm->SetCaption("Properties");
    FPropertyForm->SetBounds(PropertyLeft, DesignedTop, 300, 640);
    FPropertyForm->SetKeyPreview(true);
    FPropertyForm->SetOnKeyDown(TKeyEvent::Lambda([this](TObject* s, Word& key, TShiftState shift) { KeyDown(s, key, shift); }));
    FPropertyView = new TPropertyView(FPropertyForm, FRegistry);
    FPropertyView->SetParent(FPropertyForm);
    FPropertyView->SetAlign(alClient);
    FPropertyView->SetDesigner(FDesigner.get());
    FPropertyForm->Show();
}

void TDesignerWindow::ShowDesignedForm()
{
    TCustomForm* designed = FDesigner->GetForm();
    if (designed->GetCaption().empty())
        designed->SetCaption(designed->GetName());
    designed->SetBounds(0, DesignedTop, designed->GetWidth() > 0 ? designed->GetWidth() : 400,
                        designed->GetHeight() > 0 ? designed->GetHeight() : 360);
    FDesigner->ShowForm();
}

TRect TDesignerWindow::Area() const
{
    TRect area = FPaletteForm->GetBoundsRect();
    for (const TRect& r : {FDesigner->GetForm()->GetBoundsRect(), FPropertyForm->GetBoundsRect()})
        area = {std::min(area.Left, r.Left), std::min(area.Top, r.Top), std::max(area.Right, r.Right),
                std::max(area.Bottom, r.Bottom)};
    return area;
}

// The menu lists the verbs in order; a component without verbs gets no menu.
void TDesignerWindow::ShowContextMenu(TComponent* component, TPoint screenPoint)
{
    TMenuItem* items = FContextMenu->GetItems();
    while (items->GetCount() > 0) {
        TMenuItem* item = items->GetItem(items->GetCount() - 1);
        items->Remove(item);
        delete item;
    }
    const auto verbs = FDesigner->GetVerbs(component);
    if (verbs.empty())
        return;
    for (size_t i = 0; i < verbs.size(); ++i) {
        auto* item = new TMenuItem(FContextMenu);
        item->SetCaption(verbs[i]);
        const Integer index = static_cast<Integer>(i);
        item->SetOnClick(TNotifyEvent::Lambda([this, component, index](TObject*) {
            FDesigner->ExecuteVerb(component, index);
        }));
        items->Add(item);
    }
    FContextMenu->SetPopupComponent(component);
    FContextMenu->Popup(screenPoint.X, screenPoint.Y);
}

bool TDesignerWindow::SaveToField(bool asText)
{
    const std::string path = Trim(FFileField->GetText());
    if (path.empty()) {
        SetStatus("Type a file name into the File field first.");
        return false;
    }
    try {
        WriteFileAtomically(path, FDesigner->Save(asText));
    } catch (const std::exception& e) {
        SetStatus(e.what());
        return false;
    }
    SetStatus(Format("Saved %s (%s form).", {path, std::string(asText ? "text" : "binary")}));
    return true;
}

void TDesignerWindow::SetStatus(const std::string& text)
{
    FStatus->SetCaption(text);
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
}

void TDesignerWindow::Sync()
{
    FStale = false;
    FPropertyView->Refresh();
    std::vector<TControl*> controls;
    for (TPersistent* item : FDesigner->GetSelection())
        if (auto* control = dynamic_cast<TControl*>(item))
            controls.push_back(control);
    FFrame.Show(FDesigner->GetForm(), controls);
    if (FDesigner->GetPlacingClass() == nullptr)
        FPalette->SetChosenClass(nullptr);
}

void TDesignerWindow::Idle(TObject*, bool&)
{
    if (FStale)
        Sync();
}

void TDesignerWindow::KeyDown(TObject* sender, Word& key, TShiftState shift)
{
    if (!shift.Contains(ssCtrl))
        return;
    if (key == 'S' || key == 'T') {
        SaveToField(key == 'T');
        key = 0;
    } else if ((key == 'Z' || key == 'Y') && sender == FPaletteForm &&
               FDrag->GetMode() == TDesignDrag::TMode::Idle) {
        // The property view's fields keep their own keys.
        if (key == 'Z')
            FDesigner->Undo();
        else
            FDesigner->Redo();
        key = 0;
    }
}

} // namespace ld
