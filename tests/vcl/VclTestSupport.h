// Shared pieces of the control tests: a headless screen on the simulated
// clock, a form on it, and a probe control that records what reaches it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backends/HeadlessBackend.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/DragDrop.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/core/SysUtils.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/TickSource.h"

namespace ld::test {

// Everything the probes saw, in order, as short readable entries.
std::vector<std::string>& Events();
void ClearEvents();
void Note(const std::string& entry);

class TProbe : public TCustomControl {
public:
    explicit TProbe(TComponent* owner, const std::string& name = "");
    void Paint() override;
    void Click() override;
    void DblClick() override;
    void MouseDown(TMouseButton b, TShiftState s, Integer x, Integer y) override;
    void MouseMove(TShiftState s, Integer x, Integer y) override;
    void MouseUp(TMouseButton b, TShiftState s, Integer x, Integer y) override;
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void DragOver(TObject* source, Integer x, Integer y, TDragState state, bool& accept) override;
    void DragDrop(TObject* source, Integer x, Integer y) override;
    void DoEndDrag(TObject* target, Integer x, Integer y) override;
    void Dispatch(TMessage& m) override;
    void CreateParams(TCreateParams& params) override;

    TColor Fill = 0x00FF00;
    bool AcceptDrops = false;
    bool WantChars = false;
    char Accel = 0;  // answers CM_DIALOGCHAR for this character
    Integer Paints = 0;
    DWORD ExtraStyle = 0;
    bool LogMoves = true;
    using TCustomControl::FControlStyle;
};

class VclTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A probe on the form at the given bounds.
    TProbe* AddProbe(const std::string& name, TRect bounds, TWinControl* parent = nullptr);
    TPoint ScreenOf(TControl* c, Integer x, Integer y) const { return c->ClientToScreen({x, y}); }
    void ClickOn(TControl* c, Integer x, Integer y);
    COLORREF Pixel(Integer x, Integer y) const;

    std::unique_ptr<THeadlessBackend> Backend;
    TForm* Form = nullptr;
};

} // namespace ld::test
