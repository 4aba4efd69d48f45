// The demo's modal dialog: a name, a priority, notes and a folder, with OK
// and Cancel. The demo form opens it from its Dialog button and logs what
// came back.
#pragma once

#include <string>

#include "platform/stdctrls/ComCtrls.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/vcl/Forms.h"

namespace ld::demo {

class TDemoDialog : public TForm {
public:
    explicit TDemoDialog(TComponent* owner);
    TEdit* GetNameEdit() const { return FName; }
    TComboBox* GetPriority() const { return FPriority; }
    TMemo* GetNotes() const { return FNotes; }
    TTreeView* GetFolders() const { return FFolders; }
    TButton* GetOk() const { return FOk; }
    TButton* GetCancelButton() const { return FCancel; }
    // What was entered, as one line of the log.
    std::string Summary() const;

private:
    TLabel* AddLabel(const std::string& caption, Integer left, Integer top, TWinControl* focus);
    TButton* AddButton(const std::string& caption, Integer left, TModalResult result);

    TEdit* FName;
    TComboBox* FPriority;
    TMemo* FNotes;
    TTreeView* FFolders;
    TButton* FOk;
    TButton* FCancel;
};

} // namespace ld::demo
