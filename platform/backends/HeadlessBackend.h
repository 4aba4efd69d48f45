// The headless backend: the screen stays in memory, input is injected at
// screen coordinates as real events through the queue, and the screen or one
// window can be saved as a PNG. Waiting for a timer on the simulated clock
// moves the clock to it; on the real clock it sleeps, so nothing spins.
// Steps queued with Script run one at a time whenever a loop waits for input
// (a modal form, a popup menu), which is how a test drives a nested loop.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "platform/gfx/Surface.h"
#include "platform/win/Backend.h"
#include "platform/win/Input.h"

namespace ld {

class THeadlessBackend : public TBackend {
public:
    explicit THeadlessBackend(Integer width = 1024, Integer height = 768);
    ~THeadlessBackend() override;

    bool WaitForInput(DWORD timeout) override;
    void CursorChanged(HCURSOR cursor) override { FCursor = cursor; }

    // Input, each queued as the event a real device would make.
    void MoveTo(Integer x, Integer y);
    void Press(TPointerButton button = TPointerButton::Left);
    void Release(TPointerButton button = TPointerButton::Left);
    void Click(Integer x, Integer y, TPointerButton button = TPointerButton::Left);
    void DoubleClick(Integer x, Integer y);
    // Turns the wheel where the pointer is, one event per notch: positive
    // notches away from the user (up), negative towards.
    void Wheel(Integer notches);
    // Moves in steps of at most Step pixels, as a hand does.
    void DragTo(Integer x, Integer y, Integer step = 4);
    void KeyDown(Integer vk);
    void KeyUp(Integer vk);
    void Key(Integer vk);
    // A key with modifiers held: Alt, Shift, Ctrl.
    void KeyWith(Integer modifierVk, Integer vk);
    // Letters, digits and spaces as the keys that type them.
    void Type(const std::string& text);

    // Handles everything waiting, including the idle work that sends the
    // mouse enter and leave notices, until nothing is left.
    void RunUntilIdle();
    // Moves the simulated clock on by Ms, running every timer as it falls due.
    void Advance(DWORD ms);
    // A step for the next wait of a nested loop.
    void Script(std::function<void()> step) { FScript.push_back(std::move(step)); }
    bool ScriptDone() const { return FScript.empty(); }

    HCURSOR GetShownCursor() const { return FCursor; }
    TPoint GetPointer() const { return FPointer; }
    // The screen, or the part one window covers (its frame included).
    std::unique_ptr<TSurface> Capture(const TRect& area) const;
    void SaveScreenshot(const std::string& path) const;
    void SaveWindowShot(HWND window, const std::string& path) const;

private:
    std::deque<std::function<void()>> FScript;
    HCURSOR FCursor = nullptr;
    TPoint FPointer;
};

} // namespace ld
