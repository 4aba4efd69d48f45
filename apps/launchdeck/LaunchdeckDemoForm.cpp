#include "apps/launchdeck/LaunchdeckDemoForm.h"

#include <filesystem>
#include <memory>

#include "platform/core/SysUtils.h"
#include "platform/gfx/Graphics.h"

namespace ld::launchdeck {

const char* const IconTheme = "/usr/share/icons/Adwaita";

namespace {

// The icons the stored form's items name by image index.
const char* const IconNames[] = {
    "places/user-home",           "places/folder-documents",       "places/folder-music",
    "places/folder-pictures",     "mimetypes/x-office-calendar",   "mimetypes/x-office-address-book",
    "devices/computer",           "devices/printer",               "places/network-server",
    "places/user-trash",
};

// The theme's icons of one size, in image-index order.
TImageList* LoadIcons(TComponent* owner, Integer size)
{
    auto* images = new TImageList(owner, size, size);
    for (Integer i = 0; i < IconCount(); ++i) {
        const std::string path = IconPath(size, i);
        if (!std::filesystem::exists(path))
            throw Exception("icon file missing: " + path + " (Debian package adwaita-icon-theme)");
        TBitmap icon;
        icon.LoadFromFile(path);
        images->Add(&icon);
    }
    return images;
}

std::string ButtonText(TMouseButton button)
{
    switch (button) {
    case mbLeft:
        return "left";
    case mbRight:
        return "right";
    default:
        return "middle";
    }
}

std::string Caption(TShortcutItem* item) { return item ? "'" + item->GetCaption() + "'" : "no item"; }

} // namespace

Integer IconCount() { return Integer(std::size(IconNames)); }

std::string IconPath(Integer size, Integer index)
{
    const std::string dim = std::to_string(size);
    return std::string(IconTheme) + "/" + dim + "x" + dim + "/" + IconNames[index] + ".png";
}

TClass TLaunchdeckDemoForm::StaticClass()
{
    using F = TLaunchdeckDemoForm;
    static const TClassInfo info = TClassBuilder<F>("TLaunchdeckDemoForm", TForm::StaticClass())
        .Field("Bar", &F::Bar)
        .Field("SheetPlaces", &F::SheetPlaces)
        .Field("SheetOffice", &F::SheetOffice)
        .Field("SheetDevices", &F::SheetDevices)
        .Field("SheetNetwork", &F::SheetNetwork)
        .Field("ListPlaces", &F::ListPlaces)
        .Field("ListOffice", &F::ListOffice)
        .Field("ListDevices", &F::ListDevices)
        .Field("ListNetwork", &F::ListNetwork)
        .Field("Log", &F::Log)
        .Field("FlatButton", &F::FlatButton)
        .Field("ButtonTabsButton", &F::ButtonTabsButton)
        .Field("HotTabsButton", &F::HotTabsButton)
        .Field("FullSelectButton", &F::FullSelectButton)
        .Method("FormCreate", &F::FormCreate)
        .Method("BarChange", &F::BarChange)
        .Method("BarChanging", &F::BarChanging)
        .Method("ListClick", &F::ListClick)
        .Method("ListReorder", &F::ListReorder)
        .Method("ListReordering", &F::ListReordering)
        .Method("ListAcceptItem", &F::ListAcceptItem)
        .Method("ControlMouseDown", &F::ControlMouseDown)
        .Method("ControlMouseMove", &F::ControlMouseMove)
        .Method("ControlMouseUp", &F::ControlMouseUp)
        .Method("ControlEnter", &F::ControlEnter)
        .Method("ControlExit", &F::ControlExit)
        .Method("ControlStartDrag", &F::ControlStartDrag)
        .Method("ControlEndDrag", &F::ControlEndDrag)
        .Method("OptionButtonClick", &F::OptionButtonClick);
    return &info;
}

// The stored form names no images: the icons come from the theme installed on
// this machine, shared by every list (large and small).
void TLaunchdeckDemoForm::FormCreate(TObject*)
{
    FLargeIcons = LoadIcons(this, 32);
    FSmallIcons = LoadIcons(this, 16);
    for (TShortcutList* list : {ListPlaces, ListOffice, ListDevices, ListNetwork}) {
        list->SetLargeImages(FLargeIcons);
        list->SetSmallImages(FSmallIcons);
    }
    LogEvent(this, "OnCreate", "options " + OptionsText());
}

void TLaunchdeckDemoForm::BarChange(TObject* sender)
{
    TShortcutSheet* sheet = Bar->GetActiveSheet();
    LogEvent(sender, "OnChange", "now " + (sheet ? sheet->GetName() : std::string("no sheet")));
}

void TLaunchdeckDemoForm::BarChanging(TObject* sender, bool&)
{
    TShortcutSheet* sheet = Bar->GetActiveSheet();
    LogEvent(sender, "OnChanging", "leaving " + (sheet ? sheet->GetName() : std::string("no sheet")));
}

void TLaunchdeckDemoForm::ListClick(TObject* sender)
{
    LogEvent(sender, "OnClick", Caption(static_cast<TShortcutList*>(sender)->GetActiveItem()));
}

void TLaunchdeckDemoForm::ListReorder(TControl* sender, TShortcutItem* item)
{
    LogEvent(sender, "OnReorder", Caption(item) + " now at " + std::to_string(item->GetIndex()));
}

void TLaunchdeckDemoForm::ListReordering(TControl* sender, TShortcutItem* item, bool&)
{
    LogEvent(sender, "OnReordering", Caption(item));
}

void TLaunchdeckDemoForm::ListAcceptItem(TControl* sender, TShortcutItem* item, bool&)
{
    LogEvent(sender, "OnAcceptItem", Caption(item));
}

void TLaunchdeckDemoForm::ControlMouseDown(TObject* sender, TMouseButton button, TShiftState, Integer x, Integer y)
{
    LogEvent(sender, "OnMouseDown", ButtonText(button) + " at " + std::to_string(x) + "," + std::to_string(y));
}

void TLaunchdeckDemoForm::ControlMouseMove(TObject* sender, TShiftState, Integer x, Integer y)
{
    LogEvent(sender, "OnMouseMove", "at " + std::to_string(x) + "," + std::to_string(y));
}

void TLaunchdeckDemoForm::ControlMouseUp(TObject* sender, TMouseButton button, TShiftState, Integer x, Integer y)
{
    LogEvent(sender, "OnMouseUp", ButtonText(button) + " at " + std::to_string(x) + "," + std::to_string(y));
}

void TLaunchdeckDemoForm::ControlEnter(TObject* sender) { LogEvent(sender, "OnEnter"); }
void TLaunchdeckDemoForm::ControlExit(TObject* sender) { LogEvent(sender, "OnExit"); }
void TLaunchdeckDemoForm::ControlStartDrag(TObject* sender, TDragObject*&) { LogEvent(sender, "OnStartDrag"); }

void TLaunchdeckDemoForm::ControlEndDrag(TObject* sender, TObject* target, Integer, Integer)
{
    LogEvent(sender, "OnEndDrag", target ? "dropped on " + NameOf(target) : "dropped nowhere");
}

// Each button's Tag is the option it switches.
void TLaunchdeckDemoForm::OptionButtonClick(TObject* sender)
{
    const auto option = TShortcutOption(static_cast<TComponent*>(sender)->GetTag());
    TShortcutOptions options = Bar->GetOptions();
    if (options.Contains(option))
        options.Exclude(option);
    else
        options.Include(option);
    Bar->SetOptions(options);
    LogEvent(sender, "OnClick", "options " + OptionsText());
}

std::string TLaunchdeckDemoForm::NameOf(TObject* sender)
{
    auto* component = dynamic_cast<TComponent*>(sender);
    if (component == nullptr || component->GetName().empty())
        return sender ? sender->ClassName() : "nil";
    return component->GetName();
}

std::string TLaunchdeckDemoForm::OptionsText() const
{
    const char* const names[] = {"soFlatTabs", "soButtonTabs", "soHotTabs", "soButtonItems", "soAnimatedSheets"};
    std::string text;
    for (Integer i = 0; i < Integer(std::size(names)); ++i) {
        if (!Bar->GetOptions().Contains(TShortcutOption(i)))
            continue;
        text += text.empty() ? "" : ", ";
        text += names[i];
    }
    return "[" + text + "]";
}

// One line an event; a run of the same event of one control (pointer moves,
// a drag asking at each move) updates its line with the latest detail and the
// count, so the rest stays in view.
void TLaunchdeckDemoForm::LogEvent(TObject* sender, const std::string& event, const std::string& detail)
{
    ++FEventCount;
    const std::string key = NameOf(sender) + "." + event;
    std::string line = key + (detail.empty() ? "" : " " + detail);
    TStrings* lines = Log->GetLines();
    if (key == FLastKey && lines->Count() > 0) {
        ++FRepeat;
        lines->Put(lines->Count() - 1, line + " (" + std::to_string(FRepeat) + " times)");
    } else {
        FLastKey = key;
        FRepeat = 1;
        lines->Add(line);
    }
    Log->SetSelStart(Integer(Log->GetText().size()));
}

} // namespace ld::launchdeck
