// The form of the Launchdeck demo: a bar of four sheets at the left, each
// holding a list of theme icons, an event log at the right and four buttons
// that switch the bar's options. Its layout, items and handlers come from the
// stored form LaunchdeckDemoForm.txt.dfm, compiled into the program; the icons
// are read from the installed icon theme when the form is created.
#pragma once

#include <string>

#include "controls/bar/Launchdeck.h"
#include "controls/list/ShortcutList.h"
#include "platform/gfx/ImgList.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/vcl/Forms.h"

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
    TMemo* Log = nullptr;
    TButton* FlatButton = nullptr;
    TButton* ButtonTabsButton = nullptr;
    TButton* HotTabsButton = nullptr;
    TButton* FullSelectButton = nullptr;

    void FormCreate(TObject* sender);
    void BarChange(TObject* sender);
    void BarChanging(TObject* sender, bool& allow);
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
    void OptionButtonClick(TObject* sender);

    // Every event logged since the form was made, one line each.
    Integer GetEventCount() const { return FEventCount; }
    // Where the next caller's new lines start, for printing a step's events.
    Integer GetLogLineCount() const { return Log->GetLines()->Count(); }

private:
    void LogEvent(TObject* sender, const std::string& event, const std::string& detail = {});
    static std::string NameOf(TObject* sender);
    std::string OptionsText() const;

    TImageList* FLargeIcons = nullptr;
    TImageList* FSmallIcons = nullptr;
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
