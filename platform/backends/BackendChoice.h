// Which backend a program shows itself on, decided in one place for every
// program: X11 when DISPLAY is set and the server answers, the headless
// screen otherwise. "--headless" forces the headless screen; "--x11" insists
// on X11 and fails when it cannot be had. Under X11 each form is a window of
// the desktop; "--virtual-desktop" shows the whole screen in one window of
// its own instead, for window managers that cannot cope.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/win/Backend.h"

namespace ld {

class THeadlessBackend;
class TX11Backend;

enum class TBackendRequest { Automatic, Headless, X11 };

// Takes the argument if it chooses the backend; false leaves it to the program.
// "--virtual-desktop" is remembered for OpenBackend.
bool TakeBackendArgument(const std::string& arg, TBackendRequest& request);

struct TBackendChoice {
    std::unique_ptr<TBackend> Backend;
    // A line for the user when the automatic choice fell back to headless
    // because the display named in DISPLAY did not answer; empty otherwise.
    std::string Note;
    THeadlessBackend* Headless() const;
    TX11Backend* X11() const;
};

// Opens the chosen backend with a screen of the given size. With X11
// requested and no display to be had it raises EX11Error.
TBackendChoice OpenBackend(TBackendRequest request, Integer width = 1024, Integer height = 768);

// What a demo program is: its window for a person, or its scripted tour on the
// headless screen writing into a folder.
struct TDemoProgram {
    std::string Name;                   // for its messages on standard error
    std::function<int()> Usage;         // prints the usage (for --help)
    std::function<int()> RunInWindow;   // until the window is closed
    std::function<int(THeadlessBackend&, const std::filesystem::path&)> RunTour;
};

// The main of such a program: --out DIR, --headless, --x11, --virtual-desktop,
// --help, --version (its name and the library's version). Failures, and
// arguments it cannot follow, end it with one line on standard error and
// status 1.
int RunDemoProgram(const TDemoProgram& program, int argc, char** argv);

} // namespace ld
