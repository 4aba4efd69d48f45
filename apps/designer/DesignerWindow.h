// The designer's windows: the palette window (the component palette, the file
// name field and the save buttons), the form being designed with the selection
// frame on it, and the property view of the selection. The left button
// selects, bands, moves, sizes and places on the form (TDesignDrag); a right
// click on a component opens a popup menu of its component editor's verbs;
// choosing one runs it. Ctrl+S saves the form in the binary form, Ctrl+T in
// the text form, to the file the field names, whichever window has the focus;
// Ctrl+Z and Ctrl+Y undo and redo from the palette window as from the form.
#pragma once

#include <memory>
#include <string>

#include "apps/designer/ComponentPalette.h"
#include "apps/designer/DesignDrag.h"
#include "apps/designer/PropertyView.h"
#include "apps/designer/SelectionFrame.h"
#include "host/FormDesigner.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"

namespace ld {

class TDesignerWindow {
public:
    // Designs Designer's form; SaveFile fills the file name field.
    TDesignerWindow(const TDesignRegistry& registry, std::unique_ptr<THostFormDesigner> designer,
                    const std::string& saveFile);
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
    TEdit* FileField() const { return FFileField; }
    TButton* SaveButton() const { return FSaveButton; }
    TButton* SaveTextButton() const { return FSaveTextButton; }
    // The screen area all the designer's windows cover.
    TRect Area() const;

    // Writes the form to the file the field names, in the binary or text form;
    // the status line tells how it went. False (and the file left alone) on failure.
    bool SaveToField(bool asText);
    std::string GetStatus() const { return FStatus->GetCaption(); }
    // Brings the property view and the selection frame up to date now, as the
    // idle time after a change does.
    void Sync();

private:
    void BuildPaletteWindow(const std::string& saveFile);
    void BuildPropertyWindow();
    void ShowDesignedForm();
    void ShowContextMenu(TComponent* component, TPoint screenPoint);
    void Idle(TObject* sender, bool& done);
    void KeyDown(TObject* sender, Word& key, TShiftState shift);
    void SetStatus(const std::string& text);

    const TDesignRegistry& FRegistry;
    std::unique_ptr<THostFormDesigner> FDesigner;
    TForm* FPaletteForm = nullptr;
    TComponentPalette* FPalette = nullptr;
    TEdit* FFileField = nullptr;
    TButton* FSaveButton = nullptr;
    TButton* FSaveTextButton = nullptr;
    TLabel* FStatus = nullptr;
    TForm* FPropertyForm = nullptr;
    TPropertyView* FPropertyView = nullptr;
    TPopupMenu* FContextMenu = nullptr;
    TSelectionFrame FFrame;
    std::unique_ptr<TDesignDrag> FDrag;
    bool FStale = true;
};

} // namespace ld
