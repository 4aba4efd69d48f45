// TShortcutList: editing an item's caption in place. The editor lies over the
// caption; it reports its end once with a posted SEM_FINISHED, and the list
// applies (or drops) the text and frees it from that message, never from
// inside the editor's own handlers.
//
//   idle (FEdit nil)  --EditCaption-->            editing (FEdit, FEditItem set)
//   editing           --SEM_FINISHED from FEdit-->  idle: text applied (wParam 1)
//                                                 or dropped, editor freed
//   editing           --FEditItem leaves its collection-->  idle at once, text dropped
//   a second EditCaption while editing, and a message from any other editor,
//   change nothing.
#include "controls/list/ShortcutList.h"
#include "controls/shared/ShortcutEdit.h"
#include "platform/core/SysUtils.h"

namespace ld {

void TShortcutItem::EditCaption()
{
    if (TShortcutList* list = GetShortcutList())
        list->EditCaption(this);
}

void TShortcutList::EditCaption(TShortcutItem* item)
{
    if (FEdit != nullptr || item == nullptr || item->GetShortcutList() != this)
        return;
    // No item stays hot under the editor, and the leave polling stops.
    Perform(CM_MOUSELEAVE, 0, 0);
    EnsureItemVisible(item);
    FEditItem = item;
    FEdit = new TShortcutEdit(this);
    FEdit->SetParent(this);
    FEdit->SetText(item->GetCaption());
    // Across the whole client in the large style; from the caption's left
    // edge in the small one; two pixels more above and below.
    TRect r = GetTextRect(item);
    if (GetStyle() == ssLargeImages)
        r.Left = 0;
    r.Right = GetClientWidth();
    r.Top -= 2;
    r.Bottom += 2;
    FEdit->SetBoundsRect(r);
    // A list that cannot take the focus (hidden, disabled) keeps no editor
    // nobody could type into.
    try {
        FEdit->SetFocus();
    } catch (...) {
        DropCaptionEdit();
        throw;
    }
}

void TShortcutList::SEMFinsihed(TMessage& message)
{
    if (FEdit == nullptr || message.LParam != reinterpret_cast<LPARAM>(FEdit))
        return;
    TShortcutItem* item = FEditItem;
    const std::string text = FEdit->GetText();
    FEditItem = nullptr;
    FreeAndNil(FEdit);
    if (Byte(message.WParam) != 0 && item != nullptr)
        item->SetCaption(text);
}

// An open editor lies over a caption and the items are about to move (a drag
// starts, or a drop moves one). A press has already ended it through the
// platform's cancel mode; anything else ends it here as a click elsewhere
// does: the text applies.
void TShortcutList::FinishCaptionEdit()
{
    if (FEdit != nullptr)
        FEdit->Finished(true);
}

void TShortcutList::DropCaptionEdit()
{
    FEditItem = nullptr;
    FreeAndNil(FEdit);
}

} // namespace ld
