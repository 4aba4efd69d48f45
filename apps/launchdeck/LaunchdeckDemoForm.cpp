#include "apps/launchdeck/LaunchdeckDemoForm.h"

#include <filesystem>
#include <memory>

#include "platform/core/SysUtils.h"
#include "platform/gfx/Graphics.h"
#include "platform/win/Input.h"

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

TPopupMenu* RenameMenu(TComponent* owner, const std::string& name, TNotifyEvent onPopup, TNotifyEvent onRename)
{
    auto* menu = new TPopupMenu(owner);
    menu->SetName(name);
    menu->SetOnPopup(onPopup);
    auto* rename = new TMenuItem(menu);
    rename->SetName("Rename" + name.substr(0, name.size() - 4));
    rename->SetCaption("Rename");
    rename->SetOnClick(onRename);
    menu->GetItems()->Add(rename);
    return menu;
}

bool HasSheet(TLaunchdeck* bar, TShortcutSheet* sheet)
{
    for (Integer i = 0; i < bar->GetSheetCount(); ++i)
        if (bar->GetSheet(i) == sheet)
            return true;
    return false;
}

bool Holds(TShortcutList* list, TShortcutItem* item)
{
    for (Integer i = 0; i < list->GetItems()->GetCount(); ++i)
        if (list->GetItems()->GetItem(i) == item)
            return true;
    return false;
}

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
        .Field("LogLabel", &F::LogLabel)
        .Field("Log", &F::Log)
        .Field("FlatTabsBox", &F::FlatTabsBox)
        .Field("ButtonTabsBox", &F::ButtonTabsBox)
        .Field("HotTabsBox", &F::HotTabsBox)
        .Field("FullSelectBox", &F::FullSelectBox)
        .Method("FormCreate", &F::FormCreate)
        .Method("FormKeyDown", &F::FormKeyDown)
        .Method("BarChange", &F::BarChange)
        .Method("BarChanging", &F::BarChanging)
        .Method("BarDragOver", &F::BarDragOver)
        .Method("BarDragDrop", &F::BarDragDrop)
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
        .Method("OptionBoxClick", &F::OptionBoxClick);
    return &info;
}

// The stored form names no images: the icons come from the theme installed on
// this machine, shared by every list (large and small).
void TLaunchdeckDemoForm::FormCreate(TObject*)
{
    FLargeIcons = LoadIcons(this, 32);
    FSmallIcons = LoadIcons(this, 16);
    ItemMenu = RenameMenu(this, "ItemMenu", TNotifyEvent(this, &TLaunchdeckDemoForm::ItemMenuPopup),
                          TNotifyEvent(this, &TLaunchdeckDemoForm::RenameItemClick));
    TabMenu = RenameMenu(this, "TabMenu", TNotifyEvent(this, &TLaunchdeckDemoForm::TabMenuPopup),
                         TNotifyEvent(this, &TLaunchdeckDemoForm::RenameTabClick));
    for (TShortcutList* list : {ListPlaces, ListOffice, ListDevices, ListNetwork}) {
        list->SetLargeImages(FLargeIcons);
        list->SetSmallImages(FSmallIcons);
        list->SetPopupMenu(ItemMenu);
    }
    Bar->SetPopupMenu(TabMenu);
    ShowOptions();
    LogEvent(this, "OnCreate", "options " + OptionsText());
}

bool TLaunchdeckDemoForm::Editing() const
{
    TShortcutList* list = Bar->GetActiveList();
    return Bar->GetCaptionEdit() != nullptr || (list != nullptr && list->GetCaptionEdit() != nullptr);
}

// F2 edits the hot item's caption or, with no item hot, the open sheet's.
// Every key comes here first (KeyPreview), those typed into an editor too.
void TLaunchdeckDemoForm::FormKeyDown(TObject* sender, Word& key, TShiftState shift)
{
    if (key != VK_F2 || !shift.Empty() || Editing())
        return;
    key = 0;
    TShortcutList* list = Bar->GetActiveList();
    if (TShortcutItem* item = list ? list->GetActiveItem() : nullptr) {
        LogEvent(sender, "OnKeyDown", "F2 edits " + Caption(item));
        list->EditCaption(item);
    } else if (TShortcutSheet* sheet = Bar->GetActiveSheet()) {
        LogEvent(sender, "OnKeyDown", "F2 edits the tab of " + sheet->GetName());
        sheet->EditCaption();
    }
}

// The list shows its menu for a right click on an item, which is then hot.
void TLaunchdeckDemoForm::ItemMenuPopup(TObject*)
{
    FMenuList = dynamic_cast<TShortcutList*>(ItemMenu->GetPopupComponent());
    FMenuItem = FMenuList ? FMenuList->GetActiveItem() : nullptr;
    ItemMenu->GetItems()->GetItem(0)->SetEnabled(FMenuItem != nullptr);
}

void TLaunchdeckDemoForm::RenameItemClick(TObject* sender)
{
    if (FMenuList == nullptr || FMenuItem == nullptr || !Holds(FMenuList, FMenuItem) || Editing())
        return;
    LogEvent(sender, "OnClick", "edits " + Caption(FMenuItem));
    FMenuList->EditCaption(FMenuItem);
}

TShortcutSheet* TLaunchdeckDemoForm::SheetAt(TPoint point) const
{
    const Integer tab = Bar->GetGroupAtPos(point);
    return tab >= 0 ? Bar->GetVisibleSheet(tab) : nullptr;
}

void TLaunchdeckDemoForm::TabMenuPopup(TObject*)
{
    POINT cursor;
    GetCursorPos(cursor);
    FMenuSheet = SheetAt(Bar->ScreenToClient({cursor.X, cursor.Y}));
    TabMenu->GetItems()->GetItem(0)->SetEnabled(FMenuSheet != nullptr);
}

void TLaunchdeckDemoForm::RenameTabClick(TObject* sender)
{
    if (FMenuSheet == nullptr || !HasSheet(Bar, FMenuSheet) || Editing())
        return;
    LogEvent(sender, "OnClick", "edits the tab of " + FMenuSheet->GetName());
    FMenuSheet->EditCaption();
}

// An item drag over a tab is welcome: resting there opens the sheet (the
// bar's own doing), a drop moves the item to the end of the sheet's list.
void TLaunchdeckDemoForm::BarDragOver(TObject* sender, TObject*, Integer x, Integer y, TDragState, bool& accept)
{
    TShortcutSheet* sheet = SheetAt({x, y});
    accept = ListDropState().ItemDragging && sheet != nullptr && sheet->GetShortcutList() != nullptr;
    LogEvent(sender, "OnDragOver", accept ? "over the tab of " + sheet->GetName() : std::string("refused"));
}

void TLaunchdeckDemoForm::BarDragDrop(TObject* sender, TObject*, Integer x, Integer y)
{
    TShortcutSheet* sheet = SheetAt({x, y});
    TShortcutItem* item = ListDropState().DragItem;
    if (sheet == nullptr || sheet->GetShortcutList() == nullptr || item == nullptr)
        return;
    TShortcutItem* moved = sheet->GetShortcutList()->GetItems()->Add();
    moved->Assign(item);
    item->GetOwnerItems()->Delete(item->GetIndex());
    LogEvent(sender, "OnDragDrop", Caption(moved) + " to the end of " + sheet->GetName());
    // Where the item went: its sheet rolls open and its list scrolls to it.
    if (sheet != Bar->GetActiveSheet())
        Bar->RollInSheet(sheet->GetVisibleSheetIndex());
    sheet->GetShortcutList()->EnsureItemVisible(moved);
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

// Each box's Tag is the option it shows; checking it from the program (as
// ShowOptions does) is no change and logs nothing.
void TLaunchdeckDemoForm::OptionBoxClick(TObject* sender)
{
    auto* box = static_cast<TCheckBox*>(sender);
    const auto option = TShortcutOption(box->GetTag());
    TShortcutOptions options = Bar->GetOptions();
    if (options.Contains(option) == box->GetChecked())
        return;
    if (box->GetChecked())
        options.Include(option);
    else
        options.Exclude(option);
    Bar->SetOptions(options);
    LogEvent(sender, "OnClick", "options " + OptionsText());
}

void TLaunchdeckDemoForm::ShowOptions()
{
    for (TCheckBox* box : {FlatTabsBox, ButtonTabsBox, HotTabsBox, FullSelectBox})
        box->SetChecked(Bar->GetOptions().Contains(TShortcutOption(box->GetTag())));
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
// count, so the rest stays in view. Past MaxLogLines the oldest line goes, so
// that a long session neither slows down nor grows without end.
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
        if (lines->Count() > MaxLogLines)
            lines->Delete(0);
    }
    Log->SetSelStart(Log->GetTextLen());
}

} // namespace ld::launchdeck
