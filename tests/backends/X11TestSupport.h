// What the X11 tests share: a fixture with a backend on the display the
// test runs under (tests/backends/with-xvfb gives each run its own, with a
// window manager or without), each form an X window of its own or, in the
// virtual desktop fixture, the whole screen in one; a second connection that
// plays the user's hand through XTest; a loop that runs the message loop
// until something has happened; and a control that records what reaches it.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/backends/X11Backend.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"

typedef struct _XDisplay Display;

namespace ld::x11test {

std::filesystem::path OutputDir();
long long NowMs();

// A control that records the messages it gets, its clicks and characters,
// and whether the pointer is over it.
class TProbe : public TCustomControl {
public:
    TProbe(TComponent* owner, TColor face);
    void WndProc(TMessage& m) override;
    void Click() override;
    void Paint() override;
    bool Saw(UINT msg) const;

    std::vector<UINT> Messages;
    std::string Chars;
    int Clicks = 0;
    bool Hot = false;

private:
    TColor FFace;
};

class X11Test : public ::testing::Test {
protected:
    explicit X11Test(TX11Layout layout = TX11Layout::DesktopWindows) : FLayout(layout) {}
    void SetUp() override;
    void TearDown() override;

    // Runs the loop, waiting in the backend, until Done says so or the time is up.
    bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000);
    // Handles everything waiting, then presents and waits for the server.
    void Settle();
    // A form at (Left, Top) with a probe in it at (8, 8), 120 x 40, shown
    // and, as a desktop window, mapped where the window system has it.
    TForm* MakeForm(Integer left, Integer top, TProbe** probe);
    // Runs the loop until the form's X window is viewable and lies where the
    // window system has the form's client area (a window manager places it).
    void WaitUntilShown(TForm* form);
    // The form's X window: its own, or the virtual desktop's.
    unsigned long XWindowOf(TForm* form) const;
    // The screen as the server shows it (the root window) against the screen
    // surface, inside Area: the first pixel that differs, or "".
    std::string FirstDifference(const TRect& area);

    // The hand: pointer and keys through XTest, on a connection of its own.
    void HandMoveTo(Integer x, Integer y);
    void HandButton(unsigned button, bool down);
    void HandKey(unsigned long keysym, bool down);
    // The pointer from one screen point to another in Steps moves, as a hand
    // moves over time: each is handled before the next comes. False when one
    // did not arrive.
    bool HandGlide(TPoint from, TPoint to, int steps);
    // The keyboard to a form's X window (the first form's when none is named).
    void HandFocusOurWindow(TForm* form = nullptr);

    TX11Layout FLayout;
    std::unique_ptr<TX11Backend> FBackend;
    Display* FHand = nullptr;
    std::vector<TForm*> FForms;
};

// Asks a window to close, as a window manager's close box does.
void SendCloseRequest(Display* display, unsigned long window);

class X11VirtualDesktopTest : public X11Test {
protected:
    X11VirtualDesktopTest() : X11Test(TX11Layout::VirtualDesktop) {}
};

} // namespace ld::x11test
