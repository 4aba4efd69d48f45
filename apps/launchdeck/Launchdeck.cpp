// launchdeck: the component set as its users meet it. The form "Launchdeck
// demo" is read from its stored form, compiled into the program. In an X
// window (DISPLAY set and answering, or --x11) it runs until the window is
// closed. On the headless screen (no display, or --headless) it plays a
// scripted tour, writing a PNG and the event log after each step into the
// folder given with --out.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "apps/launchdeck/LaunchdeckDemoForm.h"
#include "apps/launchdeck/LaunchdeckTour.h"
#include "platform/backends/BackendChoice.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/win/TickSource.h"

using namespace ld;
using ld::launchdeck::TLaunchdeckDemoForm;

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: launchdeck [--headless | --x11 [--virtual-desktop]] [--out DIR]\n"
                         "  in a window it runs until closed; headless it plays its tour and needs --out\n");
    return 2;
}

int RunTour(THeadlessBackend& backend, const std::filesystem::path& out)
{
    auto* form = Application->CreateForm<TLaunchdeckDemoForm>();
    form->Show();
    std::printf("Tour, pictures and log.txt in %s:\n", out.string().c_str());
    const Integer shots = launchdeck::PlayTour(backend, *form, out);
    std::printf("%d pictures written, %d events logged.\n", shots, form->GetEventCount());
    const Integer failures = Application->GetExceptionCount();
    if (failures != 0)
        std::fprintf(stderr, "launchdeck: %d exceptions, the last: %s\n", failures,
                     Application->GetLastExceptionMessage().c_str());
    form->Free();
    return failures == 0 ? 0 : 1;
}

int RunInWindow()
{
    auto* form = Application->CreateForm<TLaunchdeckDemoForm>();
    std::printf("Launchdeck runs in its window: point at the tabs and icons, click them, open sheets by click "
                "or Alt+letter, drag icons within a list or onto another tab (rest there to open it, or drop "
                "there), rename with F2 or the right button's menu, switch the options with the check boxes. "
                "The log keeps its last %d lines. Close the window to end.\n",
                TLaunchdeckDemoForm::MaxLogLines);
    std::fflush(stdout);
    Application->Run();
    form->Free();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return RunDemoProgram({"launchdeck", Usage, RunInWindow,
                           [](THeadlessBackend& backend, const std::filesystem::path& out) {
                               // The simulated clock moves a millisecond at every read, so that the
                               // roll's and the scroll's timed loops end, and each run draws the same.
                               TickSource::UseSimulatedClock(0, 1);
                               return RunTour(backend, out);
                           }},
                          argc, argv);
}
