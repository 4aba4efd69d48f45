// The designer's file operations: new, open, save, save as, the recent files
// and the question about unsaved changes.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "apps/designer/DesignerWindow.h"
#include "platform/core/SysUtils.h"
#include "platform/stdctrls/Dialogs.h"

namespace ld {

namespace {

constexpr off_t MaxFormFileBytes = off_t(1) << 30;

std::string Reason(int code) { return std::strerror(code); }

// Writes all of Data to Fd; false with errno set when the system refuses.
bool WriteAll(int fd, const std::string& data)
{
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Written to a new file beside Path and renamed over it, so a failure leaves
// an existing file whole. A replaced file keeps its permissions.
void WriteFileWhole(const std::string& path, const std::string& data)
{
    std::filesystem::path target(path);
    std::error_code ec;
    if (std::filesystem::is_symlink(target, ec))
        target = std::filesystem::weakly_canonical(target, ec);
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::string temporary = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        throw EFCreateError(Format("Cannot create file %s: %s", {path, Reason(errno)}));
    struct stat existing {};
    mode_t mode = 0;
    if (::stat(target.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    int failure = 0;
    if (::fchmod(fd, mode) != 0 || !WriteAll(fd, data) || ::fsync(fd) != 0)
        failure = errno;
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        failure = errno;
    if (failure != 0) {
        ::unlink(temporary.c_str());
        throw EInOutError(Format("Cannot write file %s: %s", {path, Reason(failure)}));
    }
}

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

std::string ReadFormFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw EFOpenError(Format("Cannot open file %s: %s", {path, Reason(errno)}));
    struct stat info {};
    int failure = ::fstat(fd, &info) != 0 ? errno : 0;
    if (failure == 0 && S_ISDIR(info.st_mode))
        failure = EISDIR;
    else if (failure == 0 && info.st_size > MaxFormFileBytes)
        failure = EFBIG;
    std::string data;
    if (failure == 0) {
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                failure = errno;
                break;
            }
            if (n == 0)
                break;
            if (data.size() + static_cast<size_t>(n) > static_cast<size_t>(MaxFormFileBytes)) {
                failure = EFBIG;
                break;
            }
            data.append(buffer, static_cast<size_t>(n));
        }
    }
    ::close(fd);
    if (failure == EISDIR)
        throw EFOpenError(Format("Cannot open file %s: %s", {path, Reason(failure)}));
    if (failure != 0)
        throw EInOutError(Format("Cannot read file %s: %s", {path, Reason(failure)}));
    return data;
}

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
        data = ReadFormFile(path);
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
        WriteFileWhole(path, FDesigner->Save(asText));
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
