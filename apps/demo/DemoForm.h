// The demo's form: tiles that light up under the pointer and press, a meter
// driven by a timer, an event log that accepts dropped tiles, a popup menu
// on the tiles, and a button that opens a modal dialog.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"

namespace ld {
class TButton;
}

namespace ld::demo {

class TDemoDialog;

using TLogSink = std::function<void(const std::string&)>;

// A raised tile with a caption: hot under the pointer, sunk while pressed.
class TTile : public TCustomControl {
public:
    TTile(TComponent* owner, const std::string& caption, TColor face, TLogSink log);
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
    void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
    void Click() override;
    void Dispatch(TMessage& m) override;
    void DoEndDrag(TObject* target, Integer x, Integer y) override;
    bool IsHot() const { return FHot; }

private:
    TColor FFace;
    bool FHot = false;
    bool FDown = false;
    TLogSink FLog;
};

// Lines of text, newest at the bottom; it takes tiles dropped on it.
class TEventLog : public TCustomControl {
public:
    TEventLog(TComponent* owner);
    void Add(const std::string& line);
    const std::vector<std::string>& Lines() const { return FLines; }
    void Paint() override;
    void DragOver(TObject* source, Integer x, Integer y, TDragState state, bool& accept) override;
    void DragDrop(TObject* source, Integer x, Integer y) override;

private:
    std::vector<std::string> FLines;
    bool FDropHighlight = false;
};

// A bar that fills a step at each tick of its timer.
class TMeter : public TCustomControl {
public:
    TMeter(TComponent* owner);
    void Paint() override;
    void Step(TObject* sender);
    Integer Position() const { return FPosition; }
    TTimer* Timer() const { return FTimer; }

private:
    Integer FPosition = 0;
    TTimer* FTimer;
};

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* owner);
    TTile* GetTile(Integer i) const { return FTiles.at(size_t(i)); }
    TEventLog* GetLog() const { return FLog; }
    TMeter* GetMeter() const { return FMeter; }
    TPopupMenu* GetMenu() const { return FMenu; }
    TButton* GetDialogButton() const { return FDialogButton; }
    // The dialog while it is shown modal, else null.
    TDemoDialog* GetOpenDialog() const { return FOpenDialog; }

private:
    void OpenDialog(TObject* sender);

    std::vector<TTile*> FTiles;
    TButton* FDialogButton;
    TDemoDialog* FOpenDialog = nullptr;
    TEventLog* FLog;
    TMeter* FMeter;
    TPopupMenu* FMenu;
};

} // namespace ld::demo
