// The form of the Launchdeck demo: a bar of four sheets at the left, each
// holding a list of theme icons, an event log at the right (its last 10,000
// lines) and four check boxes that show and switch the bar's options. Its
// layout, items and handlers come from the stored form
// LaunchdeckDemoForm.txt.dfm, compiled into the program; the icons are read
// from the installed icon theme and the context menus made when the form is
// created.
//
// Captions are edited in place with F2 (the hot item's, else the open
// sheet's) or with Rename in the context menu of an item or a tab. An item
// dragged onto a tab is accepted there: resting opens the sheet, a drop
// moves the item to the end of that sheet's list.
#pragma once

#include <string>

#include "controls/bar/Launchdeck.h"
#include "controls/list/ShortcutList.h"
#include "platform/gfx/ImgList.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"

namespace ld::launchdeck {

class TLaunchdeckDemoForm : public TForm {
    LD_CLASS(TLaunchdeckDemoForm, TForm)
    explicit TLaunchdeckDemoForm(TComponent* owner) : TForm(owner) {}

    // Bound by name from the stored form.
    TLaunchdeck* Bar = nullptr;
    TShortcutSheet* SheetPlaces = nullptr;
    TShortcutSheet* SheetOffice = nullptr;
    TShortcutSheet* SheetDevices = nullptr;
    TShortcutSheet* SheetNetwork = nullptr;
    TShortcutList* ListPlaces = nullptr;
    TShortcutList* ListOffice = nullptr;
    TShortcutList* ListDevices = nullptr;
    TShortcutList* ListNetwork = nullptr;
    TLabel* LogLabel = nullptr;
    TMemo* Log = nullptr;
    TCheckBox* FlatTabsBox = nullptr;
    TCheckBox* ButtonTabsBox = nullptr;
    TCheckBox* HotTabsBox = nullptr;
    TCheckBox* FullSelectBox = nullptr;
    // Made in FormCreate: Rename on an item, on a tab.
    TPopupMenu* ItemMenu = nullptr;
    TPopupMenu* TabMenu = nullptr;

    // The log keeps this many lines, dropping the oldest.
    static constexpr Integer MaxLogLines = 10000;

    void FormCreate(TObject* sender);
    void FormKeyDown(TObject* sender, Word& key, TShiftState shift);
    void BarChange(TObject* sender);
    void BarChanging(TObject* sender, bool& allow);
    void BarDragOver(TObject* sender, TObject* source, Integer x, Integer y, TDragState state, bool& accept);
    void BarDragDrop(TObject* sender, TObject* source, Integer x, Integer y);
    void ListClick(TObject* sender);
    void ListReorder(TControl* sender, TShortcutItem* item);
    void ListReordering(TControl* sender, TShortcutItem* item, bool& allow);
    void ListAcceptItem(TControl* sender, TShortcutItem* item, bool& accept);
    void ControlMouseDown(TObject* sender, TMouseButton button, TShiftState shift, Integer x, Integer y);
    void ControlMouseMove(TObject* sender, TShiftState shift, Integer x, Integer y);
    void ControlMouseUp(TObject* sender, TMouseButton button, TShiftState shift, Integer x, Integer y);
    void ControlEnter(TObject* sender);
    void ControlExit(TObject* sender);
    void ControlStartDrag(TObject* sender, TDragObject*& dragObject);
    void ControlEndDrag(TObject* sender, TObject* target, Integer x, Integer y);
    void OptionBoxClick(TObject* sender);
    void ItemMenuPopup(TObject* sender);
    void TabMenuPopup(TObject* sender);
    void RenameItemClick(TObject* sender);
    void RenameTabClick(TObject* sender);

    // Every event logged since the form was made, one line each.
    Integer GetEventCount() const { return FEventCount; }
    // Where the next caller's new lines start, for printing a step's events.
    Integer GetLogLineCount() const { return Log->GetLines()->Count(); }

private:
    void LogEvent(TObject* sender, const std::string& event, const std::string& detail = {});
    static std::string NameOf(TObject* sender);
    std::string OptionsText() const;
    void ShowOptions();
    // The sheet whose tab lies at a point of the bar, or nullptr.
    TShortcutSheet* SheetAt(TPoint point) const;
    bool Editing() const;

    TImageList* FLargeIcons = nullptr;
    TImageList* FSmallIcons = nullptr;
    // What the open context menu was opened on.
    TShortcutList* FMenuList = nullptr;
    TShortcutItem* FMenuItem = nullptr;
    TShortcutSheet* FMenuSheet = nullptr;
    // Events come in runs (pointer moves); a run shares one line.
    std::string FLastKey;
    Integer FRepeat = 0;
    Integer FEventCount = 0;
};

// The stored form's folder of icons, and the files it needs, by image index.
extern const char* const IconTheme;
std::string IconPath(Integer size, Integer index);
Integer IconCount();

} // namespace ld::launchdeck
