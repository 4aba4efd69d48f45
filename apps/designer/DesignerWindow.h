// The designer's windows: the palette window (the component palette, the file
// buttons, the status line), the form being designed with the selection frame
// on it, and the property view of the selection. The left button selects,
// bands, moves, sizes and places on the form (TDesignDrag); a right click on a
// component of the form opens a popup menu of its component editor's verbs;
// choosing one runs it. Ctrl+Z and Ctrl+Y undo and redo from the palette
// window as from the form.
//
// Files: the session designs one form, read from a form file or new. New,
// Open, Save and Save As (and Ctrl+N, Ctrl+O, Ctrl+S) work on it; Recent
// lists the forms last opened or saved. Save writes the binary or the text
// form, as the format list says (a form opened keeps the form it was read in).
// The palette window's title names the file and ends with a star while the
// form has changes not saved. Closing the session (the palette window's or the
// designed form's close box), opening another form or starting a new one with
// unsaved changes asks "Save changes to FILE?" (Yes, No, Cancel); a save that
// fails says why and leaves the file on disk and the session as they were.
#pragma once

#include <memory>
#include <string>

#include "apps/designer/ComponentPalette.h"
#include "apps/designer/DesignDrag.h"
#include "apps/designer/PropertyView.h"
#include "apps/designer/RecentFiles.h"
#include "apps/designer/SelectionFrame.h"
#include "host/FormDesigner.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"

namespace ld {

class TDesignerWindow {
public:
    // Designs Designer's form. FileName is the file it was read from, or the
    // one a new form is to be saved to ("" for a new form without one);
    // TextForm, the form it is saved in.
    TDesignerWindow(const TDesignRegistry& registry, std::unique_ptr<THostFormDesigner> designer,
                    const std::string& fileName, bool textForm = false);
    ~TDesignerWindow();
    TDesignerWindow(const TDesignerWindow&) = delete;
    TDesignerWindow& operator=(const TDesignerWindow&) = delete;

    THostFormDesigner& Designer() const { return *FDesigner; }
    TForm* PaletteForm() const { return FPaletteForm; }
    TComponentPalette* Palette() const { return FPalette; }
    TForm* PropertyForm() const { return FPropertyForm; }
    TPropertyView* PropertyView() const { return FPropertyView; }
    TSelectionFrame& Frame() { return FFrame; }
    TDesignDrag& Drag() { return *FDrag; }
    TPopupMenu* ContextMenu() const { return FContextMenu; }
    TPopupMenu* RecentMenu() const { return FRecentMenu; }
    TButton* NewButton() const { return FNewButton; }
    TButton* OpenButton() const { return FOpenButton; }
    TButton* SaveButton() const { return FSaveButton; }
    TButton* SaveAsButton() const { return FSaveAsButton; }
    TButton* RecentButton() const { return FRecentButton; }
    TComboBox* FormatChoice() const { return FFormatChoice; }
    // The screen area all the designer's windows cover.
    TRect Area() const;

    // The palette window's title starts with Name ("Launchdeck Designer").
    void SetProductName(const std::string& name);
    // Where the recent files are kept ("" keeps them for this session only).
    void SetRecentFile(const std::string& file);
    const TRecentFiles& Recent() const { return *FRecent; }

    const std::string& GetFileName() const { return FFileName; }
    bool IsTextForm() const { return FTextForm; }
    // Changes made since the form was opened, made or last saved.
    bool IsModified() const;
    // What the question calls the form: its file, or its name before it has one.
    std::string DisplayName() const;

    // The file operations, as the buttons run them. Each returns false when
    // the user took it back or it failed (the failure is shown).
    bool NewForm();
    // Asks for the file name, then opens it.
    bool OpenForm();
    bool OpenFile(const std::string& path);
    // Saves to the form's file; a form without one asks for a name first.
    bool Save();
    // Asks for the file name, then saves there.
    bool SaveAs();
    // Writes the form to Path in the binary or text form; it becomes the form's file.
    bool SaveTo(const std::string& path, bool asText);
    // Unsaved changes are offered to be saved: true when the session may go on
    // to drop the form (Yes and saved, or No), false for Cancel or a failed save.
    bool CheckSaved();

    std::string GetStatus() const { return FStatus->GetCaption(); }
    // Brings the property view, the selection frame and the title up to date
    // now, as the idle time after a change does.
    void Sync();

private:
    void BuildPaletteWindow();
    void BuildPropertyWindow();
    TButton* AddButton(const std::string& caption, Integer left, void (TDesignerWindow::*action)());
    void HookDesigner();
    void UnhookDesigner();
    void Replace(std::unique_ptr<THostFormDesigner> designer, const std::string& fileName, bool asText);
    void ShowDesignedForm();
    void ShowContextMenu(TComponent* component, TPoint screenPoint);
    void ShowRecentMenu();
    void PaletteChosen(TClass cls);
    void Idle(TObject* sender, bool& done);
    void KeyDown(TObject* sender, Word& key, TShiftState shift);
    void CloseQuery(TObject* sender, bool& canClose);
    void UpdateTitle();
    void SetStatus(const std::string& text);
    void Report(const std::string& text);
    // The button actions (their results are shown, not returned).
    void NewClicked() { NewForm(); }
    void OpenClicked() { OpenForm(); }
    void SaveClicked() { Save(); }
    void SaveAsClicked() { SaveAs(); }
    void RecentClicked() { ShowRecentMenu(); }

    const TDesignRegistry& FRegistry;
    std::unique_ptr<THostFormDesigner> FDesigner;
    std::unique_ptr<TRecentFiles> FRecent;
    std::string FProductName = "Launchdeck Designer";
    std::string FFileName;
    bool FTextForm = false;
    Integer FSavedCount = 0;
    TForm* FPaletteForm = nullptr;
    TComponentPalette* FPalette = nullptr;
    TButton* FNewButton = nullptr;
    TButton* FOpenButton = nullptr;
    TButton* FSaveButton = nullptr;
    TButton* FSaveAsButton = nullptr;
    TButton* FRecentButton = nullptr;
    TComboBox* FFormatChoice = nullptr;
    TLabel* FStatus = nullptr;
    TForm* FPropertyForm = nullptr;
    TPropertyView* FPropertyView = nullptr;
    TPopupMenu* FContextMenu = nullptr;
    TPopupMenu* FRecentMenu = nullptr;
    TSelectionFrame FFrame;
    std::unique_ptr<TDesignDrag> FDrag;
    bool FStale = true;
};

// Whether form file Data holds the text form (else the binary form).
bool IsTextFormData(const std::string& data);

} // namespace ld
