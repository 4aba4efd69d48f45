#include "apps/demo/DemoDialog.h"

namespace ld::demo {

TDemoDialog::TDemoDialog(TComponent* owner) : TForm(owner)
{
    SetCaption("Demo dialog");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(360);
    SetClientHeight(210);

    FName = new TEdit(this);
    FName->SetBounds(64, 8, 140, 21);
    FName->SetParent(this);
    AddLabel("&Name:", 8, 12, FName);

    FPriority = new TComboBox(this);
    FPriority->SetBounds(64, 36, 140, 21);
    FPriority->SetStyle(csDropDownList);
    FPriority->SetParent(this);
    for (const char* p : {"Low", "Normal", "High"})
        FPriority->GetItems()->Add(p);
    FPriority->SetItemIndex(1);
    AddLabel("&Priority:", 8, 40, FPriority);

    FNotes = new TMemo(this);
    FNotes->SetBounds(8, 84, 196, 80);
    FNotes->SetParent(this);
    AddLabel("N&otes:", 8, 66, FNotes);

    FFolders = new TTreeView(this);
    FFolders->SetBounds(212, 26, 140, 138);
    FFolders->SetHideSelection(false);
    FFolders->SetReadOnly(true);
    FFolders->SetParent(this);
    TTreeNodes* nodes = FFolders->GetItems();
    TTreeNode* mail = nodes->Add(nullptr, "Mail");
    for (const char* folder : {"Inbox", "Sent", "Drafts"})
        nodes->AddChild(mail, folder);
    TTreeNode* archive = nodes->Add(nullptr, "Archive");
    for (const char* year : {"2025", "2026"})
        nodes->AddChild(archive, year);
    mail->Expand(false);
    mail->GetItem(0)->SetSelected(true);
    AddLabel("&Folder:", 212, 8, FFolders);

    FOk = AddButton("OK", 196, mrOk);
    FOk->SetDefault(true);
    FCancel = AddButton("Cancel", 277, mrCancel);
    FCancel->SetCancel(true);
}

TLabel* TDemoDialog::AddLabel(const std::string& caption, Integer left, Integer top, TWinControl* focus)
{
    auto* label = new TLabel(this);
    label->SetCaption(caption);
    label->SetLeft(left);
    label->SetTop(top);
    label->SetFocusControl(focus);
    label->SetParent(this);
    return label;
}

TButton* TDemoDialog::AddButton(const std::string& caption, Integer left, TModalResult result)
{
    auto* button = new TButton(this);
    button->SetCaption(caption);
    button->SetBounds(left, 176, 75, 25);
    button->SetModalResult(result);
    button->SetParent(this);
    return button;
}

std::string TDemoDialog::Summary() const
{
    const Integer priority = FPriority->GetItemIndex();
    TTreeNode* folder = FFolders->GetSelected();
    return "name '" + FName->GetText() + "', priority " +
           (priority >= 0 ? FPriority->GetItems()->Get(priority) : std::string("none")) + ", folder " +
           (folder ? folder->GetText() : std::string("none")) + ", " +
           std::to_string(FNotes->GetLines()->Count()) + " lines of notes";
}

} // namespace ld::demo
