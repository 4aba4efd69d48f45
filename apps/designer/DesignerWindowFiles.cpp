// The designer's file operations: new, open, save, save as, the recent files
// and the question about unsaved changes.
#include "apps/designer/DesignerWindow.h"
#include "platform/core/FileIO.h"
#include "platform/core/SysUtils.h"
#include "platform/stdctrls/Dialogs.h"

namespace ld {

namespace {

std::string EscapeAmpersands(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        escaped += c;
        if (c == '&')
            escaped += '&';
    }
    return escaped;
}

} // namespace

// The binary form starts with its resource header (0xFF) or the stream's signature.
bool IsTextFormData(const std::string& data)
{
    return !(data.starts_with("\xFF") || data.starts_with("TPF0"));
}

std::string TDesignerWindow::DisplayName() const
{
    return FFileName.empty() ? FDesigner->GetForm()->GetName() : FFileName;
}

bool TDesignerWindow::CheckSaved()
{
    if (!IsModified())
        return true;
    switch (MessageDlg(Format("Save changes to %s?", {DisplayName()}), mtConfirmation, {mbYes, mbNo, mbCancel})) {
    case mrYes: return Save();
    case mrNo: return true;
    default: return false;
    }
}

bool TDesignerWindow::NewForm()
{
    if (!CheckSaved())
        return false;
    Replace(std::make_unique<THostFormDesigner>(FRegistry), {}, false);
    SetStatus("A new form.");
    return true;
}

bool TDesignerWindow::OpenForm()
{
    std::string path = FFileName;
    if (!InputQuery("Open", "Form file to open:", path))
        return false;
    path = Trim(path);
    return !path.empty() && OpenFile(path);
}

// The file is read before anything is asked: a file that cannot be opened
// leaves the session as it is, without a question.
bool TDesignerWindow::OpenFile(const std::string& path)
{
    std::string data;
    try {
        data = ReadFileBytes(path);
    } catch (const EFOpenError& e) {
        FRecent->Remove(path);
        Report(e.Message());
        return false;
    } catch (const Exception& e) {
        Report(e.Message());
        return false;
    }
    std::unique_ptr<THostFormDesigner> designer;
    try {
        designer = THostFormDesigner::Open(FRegistry, data);
    } catch (const std::exception& e) {
        Report(Format("Cannot open %s: %s", {path, std::string(e.what())}));
        return false;
    }
    if (!CheckSaved())
        return false;
    const bool text = IsTextFormData(data);
    Replace(std::move(designer), path, text);
    FRecent->Add(path);
    SetStatus(Format("Opened %s (%s form).", {path, std::string(text ? "text" : "binary")}));
    return true;
}

bool TDesignerWindow::Save()
{
    if (FFileName.empty())
        return SaveAs();
    return SaveTo(FFileName, FTextForm);
}

bool TDesignerWindow::SaveAs()
{
    std::string path = FFileName.empty() ? DisplayName() + ".dfm" : FFileName;
    if (!InputQuery("Save As", "Save the form to the file:", path))
        return false;
    path = Trim(path);
    return !path.empty() && SaveTo(path, FTextForm);
}

bool TDesignerWindow::SaveTo(const std::string& path, bool asText)
{
    try {
        WriteFileAtomically(path, FDesigner->Save(asText));
    } catch (const std::exception& e) {
        Report(e.what());
        return false;
    }
    FFileName = path;
    FTextForm = asText;
    FFormatChoice->SetItemIndex(asText ? 1 : 0);
    FSavedCount = FDesigner->GetModifiedCount();
    FRecent->Add(path);
    UpdateTitle();
    SetStatus(Format("Saved %s (%s form).", {path, std::string(asText ? "text" : "binary")}));
    return true;
}

void TDesignerWindow::ShowRecentMenu()
{
    TMenuItem* items = FRecentMenu->GetItems();
    while (items->GetCount() > 0) {
        TMenuItem* item = items->GetItem(items->GetCount() - 1);
        items->Remove(item);
        delete item;
    }
    const std::vector<std::string> entries = FRecent->Entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        auto* item = new TMenuItem(FRecentMenu);
        item->SetCaption(Format("&%d %s", {static_cast<Integer>(i + 1), EscapeAmpersands(entries[i])}));
        const std::string path = entries[i];
        item->SetOnClick(TNotifyEvent::Lambda([this, path](TObject*) { OpenFile(path); }));
        items->Add(item);
    }
    if (entries.empty()) {
        auto* item = new TMenuItem(FRecentMenu);
        item->SetCaption("(no recent files)");
        item->SetEnabled(false);
        items->Add(item);
    }
    const TPoint below = FRecentButton->ClientToScreen({0, FRecentButton->GetHeight()});
    FRecentMenu->Popup(below.X, below.Y);
}

} // namespace ld
