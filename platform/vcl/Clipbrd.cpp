#include "platform/vcl/Clipbrd.h"

#include "platform/win/Backend.h"

namespace ld {

std::string TClipboard::GetAsText() const
{
    TBackend* backend = GetBackend();
    if (backend && backend->HasSystemClipboard())
        return backend->GetClipboardText();
    return FText;
}

void TClipboard::SetAsText(const std::string& value)
{
    TBackend* backend = GetBackend();
    if (backend && backend->HasSystemClipboard())
        backend->SetClipboardText(value);
    else
        FText = value;
}

TClipboard* Clipboard()
{
    static TClipboard clipboard;
    return &clipboard;
}

} // namespace ld
