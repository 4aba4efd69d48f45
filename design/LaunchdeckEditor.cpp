#include "design/LaunchdeckEditor.h"

#include "controls/bar/Launchdeck.h"
#include "platform/core/SysUtils.h"

namespace ld {

namespace {

// The bar a verb acts on: a sheet's own bar (none for a sheet outside a bar),
// else the component itself, which must be a bar.
TLaunchdeck* EditedBar(TComponent* component)
{
    if (auto* sheet = dynamic_cast<TShortcutSheet*>(component))
        return sheet->GetLaunchdeck();
    auto* bar = dynamic_cast<TLaunchdeck*>(component);
    if (bar == nullptr)
        throw EInvalidCast("Invalid class typecast");
    return bar;
}

} // namespace

TClass TLaunchdeckEditor::StaticClass()
{
    static const TClassInfo info =
        TClassBuilder<TLaunchdeckEditor>("TLaunchdeckEditor", TComponentEditor::StaticClass());
    return &info;
}

// The sheet is named before it gets a parent, given its parent before its bar,
// and opened before it is selected. A failure while naming or attaching it frees
// it, so the bar keeps its sheets and its open sheet.
void TLaunchdeckEditor::ExecuteVerb(Integer index)
{
    TLaunchdeck* bar = EditedBar(GetComponent());
    if (bar == nullptr)
        return;
    TFormDesigner* designer = GetDesigner();
    if (index != 0 || designer == nullptr)
        return;
    auto* sheet = new TShortcutSheet(designer->GetForm());
    try {
        sheet->SetName(designer->UniqueName(TShortcutSheet::StaticClass()->Name));
        sheet->SetParent(bar);
        sheet->SetLaunchdeck(bar);
    } catch (...) {
        sheet->Free();
        throw;
    }
    bar->SetActiveSheet(sheet);
    designer->SelectComponent(sheet);
    designer->Modified();
}

std::string TLaunchdeckEditor::GetVerb(Integer index) { return index == 0 ? "New &Sheet" : std::string(); }

Integer TLaunchdeckEditor::GetVerbCount() { return 1; }

} // namespace ld
