// What the X11 tests share: a fixture with a backend on the display the
// test runs under (tests/backends/with-xvfb gives each run its own), a
// second connection that plays the user's hand through XTest, a loop that
// runs the message loop until something has happened, and a control that
// records what reaches it.
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
    void SetUp() override;
    void TearDown() override;

    // Runs the loop, waiting in the backend, until Done says so or the time is up.
    bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000);
    // Handles everything waiting, then presents and waits for the server.
    void Settle();
    // A form at (Left, Top) with a probe in it at (8, 8), 120 x 40.
    TForm* MakeForm(Integer left, Integer top, TProbe** probe);

    // The hand: pointer and keys through XTest, on a connection of its own.
    void HandMoveTo(Integer x, Integer y);
    void HandButton(unsigned button, bool down);
    void HandKey(unsigned long keysym, bool down);
    void HandFocusOurWindow();

    std::unique_ptr<TX11Backend> FBackend;
    Display* FHand = nullptr;
    std::vector<TForm*> FForms;
};

} // namespace ld::x11test
