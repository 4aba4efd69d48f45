// The designer's windows and how they follow the form designer; the file
// operations are in DesignerWindowFiles.cpp.
#include "apps/designer/DesignerWindow.h"

#include <cstdio>

#include "platform/core/SysUtils.h"
#include "platform/gfx/RectUtils.h"
#include "platform/stdctrls/Dialogs.h"
#include "platform/win/Input.h"

namespace ld {

namespace {

constexpr Integer PaletteWidth = 440;
constexpr Integer DesignedTop = 120;
constexpr Integer PropertyLeft = 620;
constexpr WPARAM VK_F11_KEY = 0x7A;
const char* const ReadyText = "Choose a palette button, then click on the form. Right-click a component for its verbs.";

} // namespace

TDesignerWindow::TDesignerWindow(const TDesignRegistry& registry, std::unique_ptr<THostFormDesigner> designer,
                                 const std::string& fileName, bool textForm)
    : FRegistry(registry), FDesigner(std::move(designer)), FRecent(std::make_unique<TRecentFiles>(std::string())),
      FFileName(fileName), FTextForm(textForm)
{
    BuildPaletteWindow();
    BuildPropertyWindow();
    FFormatChoice->SetItemIndex(FTextForm ? 1 : 0);
    HookDesigner();
    ShowDesignedForm();
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
    UnhookDesigner();
    FFrame.Hide();
    FDesigner.reset();
    delete FPropertyForm;
    delete FPaletteForm;
}

void TDesignerWindow::BuildPaletteWindow()
{
    FPaletteForm = new TForm(nullptr);
    FPaletteForm->SetBounds(0, 0, 920, 112);
    FPaletteForm->SetKeyPreview(true);
    FPaletteForm->SetOnKeyDown(TKeyEvent::Lambda([this](TObject* s, Word& key, TShiftState shift) { KeyDown(s, key, shift); }));
    FPaletteForm->SetOnCloseQuery(
        TCloseQueryEvent::Lambda([this](TObject* sender, bool& canClose) { CloseQuery(sender, canClose); }));
    FPalette = new TComponentPalette(FPaletteForm, FRegistry);
    FPalette->SetParent(FPaletteForm);
    FPalette->SetBounds(0, 0, PaletteWidth, FPalette->GetHeight());
    FPalette->SetOnChoose([this](TClass cls) { PaletteChosen(cls); });

    FNewButton = AddButton("&New", PaletteWidth + 8, &TDesignerWindow::NewClicked);
    FOpenButton = AddButton("&Open...", PaletteWidth + 88, &TDesignerWindow::OpenClicked);
    FSaveButton = AddButton("&Save", PaletteWidth + 168, &TDesignerWindow::SaveClicked);
    FSaveAsButton = AddButton("Save &As...", PaletteWidth + 248, &TDesignerWindow::SaveAsClicked);
    FRecentButton = AddButton("&Recent", PaletteWidth + 328, &TDesignerWindow::RecentClicked);
    auto* label = new TLabel(FPaletteForm);
    label->SetParent(FPaletteForm);
    label->SetCaption("Save as:");
    label->SetBounds(PaletteWidth + 8, 40, 50, 16);
    FFormatChoice = new TComboBox(FPaletteForm);
    FFormatChoice->SetParent(FPaletteForm);
    FFormatChoice->SetStyle(csDropDownList);
    FFormatChoice->GetItems()->Add("Binary form");
    FFormatChoice->GetItems()->Add("Text form");
    FFormatChoice->SetBounds(PaletteWidth + 60, 36, 120, 22);
    FFormatChoice->SetOnChange(TNotifyEvent::Lambda([this](TObject*) { FTextForm = FFormatChoice->GetItemIndex() == 1; }));
    FStatus = new TLabel(FPaletteForm);
    FStatus->SetParent(FPaletteForm);
    FStatus->SetBounds(8, 66, 880, 16);
    FStatus->SetCaption(ReadyText);

    FContextMenu = new TPopupMenu(FPaletteForm);
    FRecentMenu = new TPopupMenu(FPaletteForm);
    FPaletteForm->Show();
}

TButton* TDesignerWindow::AddButton(const std::string& caption, Integer left, void (TDesignerWindow::*action)())
{
    auto* button = new TButton(FPaletteForm);
    button->SetParent(FPaletteForm);
    button->SetCaption(caption);
    button->SetBounds(left, 6, 75, 25);
    button->SetOnClick(TNotifyEvent::Lambda([this, action](TObject*) { (this->*action)(); }));
    return button;
}

void TDesignerWindow::BuildPropertyWindow()
{
    FPropertyForm = new TForm(nullptr);
    FPropertyForm->SetCaption("Properties");
    FPropertyForm->SetBounds(PropertyLeft, DesignedTop, 300, 640);
    FPropertyForm->SetKeyPreview(true);
    FPropertyForm->SetOnKeyDown(TKeyEvent::Lambda([this](TObject* s, Word& key, TShiftState shift) { KeyDown(s, key, shift); }));
    FPropertyView = new TPropertyView(FPropertyForm);
    FPropertyView->SetParent(FPropertyForm);
    FPropertyView->SetAlign(alClient);
    FPropertyForm->Show();
}

void TDesignerWindow::HookDesigner()
{
    FPropertyView->SetDesigner(FDesigner.get());
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
    // The designed form's close box ends the session as the palette window's does.
    FDesigner->SetOnClose([this] { FPaletteForm->Close(); });
    FSavedCount = FDesigner->GetModifiedCount();
}

void TDesignerWindow::UnhookDesigner()
{
    FDesigner->SetOnChange(nullptr);
    FDesigner->SetOnKeyDown(nullptr);
    FDesigner->SetOnContextMenu(nullptr);
    FDesigner->SetOnClose(nullptr);
    FDesigner->SetOnMouse(nullptr);
    FDesigner->SetOnKeyPreview(nullptr);
    FDrag.reset();
    FPropertyView->SetDesigner(nullptr);
}

// Another form takes the session's place: the old one and everything on it go.
void TDesignerWindow::Replace(std::unique_ptr<THostFormDesigner> designer, const std::string& fileName, bool asText)
{
    UnhookDesigner();
    FFrame.Hide();
    FPalette->SetChosenClass(nullptr);
    FDesigner = std::move(designer);
    FFileName = fileName;
    FTextForm = asText;
    FFormatChoice->SetItemIndex(FTextForm ? 1 : 0);
    HookDesigner();
    ShowDesignedForm();
    Sync();
}

// An opened form shows where it was stored, with the caption it has; a new
// one below the palette window, captioned with its name.
void TDesignerWindow::ShowDesignedForm()
{
    TCustomForm* designed = FDesigner->GetForm();
    if (!FDesigner->IsOpenedForm()) {
        if (designed->GetCaption().empty())
            designed->SetCaption(designed->GetName());
        designed->SetBounds(0, DesignedTop, designed->GetWidth() > 0 ? designed->GetWidth() : 400,
                            designed->GetHeight() > 0 ? designed->GetHeight() : 360);
    }
    FDesigner->ShowForm();
    FDesigner->AcceptFormBounds();
    // Where the window put the form and what it called it are no change to undo.
    FDesigner->ResetHistory();
}

TRect TDesignerWindow::Area() const
{
    TRect area = FPaletteForm->GetBoundsRect();
    for (const TRect& r : {FDesigner->GetForm()->GetBoundsRect(), FPropertyForm->GetBoundsRect()})
        area = {std::min(area.Left, r.Left), std::min(area.Top, r.Top), std::max(area.Right, r.Right),
                std::max(area.Bottom, r.Bottom)};
    return area;
}

void TDesignerWindow::SetProductName(const std::string& name)
{
    FProductName = name;
    UpdateTitle();
}

void TDesignerWindow::SetRecentFile(const std::string& file) { FRecent = std::make_unique<TRecentFiles>(file); }

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

void TDesignerWindow::PaletteChosen(TClass cls)
{
    FDesigner->SetPlacingClass(cls);
    if (cls != nullptr)
        SetStatus(Format("A click on the form places a %s. Escape or the arrow button takes the choice back.",
                         {cls->Name}));
    else
        SetStatus(ReadyText);
}

void TDesignerWindow::SetStatus(const std::string& text)
{
    FStatus->SetCaption(text);
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
}

// A failure the user must see: on the status line and in a message box.
void TDesignerWindow::Report(const std::string& text)
{
    SetStatus(text);
    MessageDlg(text, mtError, {mbOK});
}

bool TDesignerWindow::IsModified() const { return FDesigner->GetModifiedCount() != FSavedCount; }

void TDesignerWindow::UpdateTitle()
{
    FPaletteForm->SetCaption(FProductName + " - " + DisplayName() + (IsModified() ? "*" : ""));
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
    if (FDesigner->GetPlacingClass() == nullptr && FPalette->GetChosenClass() != nullptr)
        FPalette->SetChosenClass(nullptr);
    UpdateTitle();
}

void TDesignerWindow::Idle(TObject*, bool&)
{
    if (FStale)
        Sync();
}

void TDesignerWindow::CloseQuery(TObject*, bool& canClose) { canClose = CheckSaved(); }

void TDesignerWindow::KeyDown(TObject* sender, Word& key, TShiftState shift)
{
    if (key == VK_ESCAPE && FPalette->GetChosenClass() != nullptr) {
        FPalette->SetChosenClass(nullptr);
        key = 0;
        return;
    }
    if (key == VK_F11_KEY) {
        // The property window comes back after its close box hid it.
        FPropertyForm->Show();
        key = 0;
        return;
    }
    if (!shift.Contains(ssCtrl))
        return;
    switch (key) {
    case 'N': NewForm(); break;
    case 'O': OpenForm(); break;
    case 'S': Save(); break;
    case 'Z':
    case 'Y':
        // The property view's fields keep their own keys; the form hears its own.
        if (sender != FPaletteForm || FDrag->GetMode() != TDesignDrag::TMode::Idle)
            return;
        if (key == 'Z')
            FDesigner->Undo();
        else
            FDesigner->Redo();
        break;
    default: return;
    }
    key = 0;
}

} // namespace ld
