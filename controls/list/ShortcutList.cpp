#include "controls/list/ShortcutList.h"

namespace ld {

TClass TShortcutList::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TShortcutList>("TShortcutList", TCustomControl::StaticClass())
        .Integer("Left", &TShortcutList::GetLeft, &TShortcutList::SetLeft)
        .Integer("Top", &TShortcutList::GetTop, &TShortcutList::SetTop)
        .Integer("Width", &TShortcutList::GetWidth, &TShortcutList::SetWidth)
        .Integer("Height", &TShortcutList::GetHeight, &TShortcutList::SetHeight);
    return &info;
}

TShortcutList::TShortcutList(TComponent* owner) : TCustomControl(owner) { SetAlign(alClient); }

void TShortcutList::LayoutChanged() { Invalidate(); }

} // namespace ld
