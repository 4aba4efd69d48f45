// What the X window costs: presenting the whole 1024 x 768 screen of the
// virtual desktop (through MIT-SHM), presenting one 84 x 18 tab of a form
// that is a desktop window, and an XTest pointer motion reaching a control's
// handler. The X server's work is part of each, so the figures
// are wall-clock time (real time); the server runs beside us on the same
// machine. Without DISPLAY the program runs itself under an Xvfb of its own.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <vector>

#include "platform/backends/X11Backend.h"
#include "platform/vcl/Forms.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

using namespace ld;

namespace {

// A control that keeps the last point a move brought to its handler.
class TMoveCounter : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    TPoint Last{-1, -1};
    void MouseMove(TShiftState shift, Integer x, Integer y) override
    {
        Last = {x, y};
        TCustomControl::MouseMove(shift, x, y);
    }
};

struct TScene {
    TX11Backend Backend;
    TForm* Form;
    TMoveCounter* Tab;
    explicit TScene(TX11Layout layout = TX11Layout::VirtualDesktop) : Backend(layout, 1024, 768)
    {
        Form = new TForm(nullptr);
        Form->SetBounds(40, 40, 320, 400);
        Tab = new TMoveCounter(Form);
        Tab->SetBounds(10, 10, 84, 18);
        Tab->SetParent(Form);
        Form->Show();
        // As a desktop window, until the server shows it.
        for (int i = 0; i < 1000; ++i) {
            Application->ProcessMessages();
            Backend.Present();
            XWindowAttributes a{};
            unsigned long w = Backend.XWindowOf(Form->GetHandle());
            if (w && XGetWindowAttributes(Backend.GetDisplay(), w, &a) && a.map_state == IsViewable)
                break;
            Backend.WaitForInput(5);
        }
        Application->ProcessMessages();
        Backend.Present();
        XSync(Backend.GetDisplay(), False);
    }
    ~TScene() { delete Form; }
    // Marks a window's area as drawn, as a paint through its DC does; the
    // desktop's, without clipping its children, is the whole screen.
    static void Damage(HWND window)
    {
        HDC dc = GetDCEx(window, nullptr, 0);
        ReleaseDC(window, dc);
    }
};

void BM_PresentFullScreen(benchmark::State& state)
{
    TScene scene;
    if (!scene.Backend.UsesShm())
        state.SkipWithError("the X server offers no MIT-SHM");
    for (auto _ : state) {
        TScene::Damage(nullptr);
        scene.Backend.Present();
    }
    XSync(scene.Backend.GetDisplay(), False);
    state.counters["pixels"] = double(scene.Backend.GetPresentedPixels()) / double(state.iterations());
}
BENCHMARK(BM_PresentFullScreen)->UseRealTime()->Unit(benchmark::kMillisecond);

// The tab of a form that is a window of the desktop.
void BM_PresentTab(benchmark::State& state)
{
    TScene scene(TX11Layout::DesktopWindows);
    HWND tab = scene.Tab->GetHandle();
    for (auto _ : state) {
        TScene::Damage(tab);
        scene.Backend.Present();
    }
    XSync(scene.Backend.GetDisplay(), False);
    state.counters["pixels"] = double(scene.Backend.GetPresentedPixels()) / double(state.iterations());
}
BENCHMARK(BM_PresentTab)->UseRealTime()->Unit(benchmark::kMicrosecond);

// Moves the X pointer with XTest to a client point of the tab and handles
// events until the tab's handler has seen that very point. Waiting for any
// move is not enough: the window's mapping reports where the pointer was,
// and the backend merges a run of motions into its last and drops a move to
// where the pointer already is, so a count of moves can fall behind the
// motions sent and wait for good. False when the point never came.
bool MoveTabPointer(TScene& scene, Display* hand, TPoint client)
{
    const TPoint at = scene.Tab->ClientToScreen(client);
    XTestFakeMotionEvent(hand, DefaultScreen(hand), at.X, at.Y, CurrentTime);
    XFlush(hand);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (scene.Tab->Last.X != client.X || scene.Tab->Last.Y != client.Y) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        scene.Backend.WaitForInput(100);
        Application->ProcessMessages();
    }
    return true;
}

void BM_InputToHandler(benchmark::State& state)
{
    TScene scene;
    Display* hand = XOpenDisplay(nullptr);
    // Untimed: the pointer starts on the tab, where the handler has seen it.
    bool moved = MoveTabPointer(scene, hand, {10, 5});
    int step = 0;
    for (auto _ : state) {
        if (!moved)
            break;
        ++step;
        // Never the point of the step before, so every motion is a move.
        moved = MoveTabPointer(scene, hand, {10 + (step & 7), 5});
    }
    if (!moved)
        state.SkipWithError("an XTest pointer motion did not reach the control within 5 s");
    XCloseDisplay(hand);
}
BENCHMARK(BM_InputToHandler)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        if (std::getenv("LD_BENCH_UNDER_XVFB")) {
            std::fprintf(stderr, "bench_x11: no display even under Xvfb\n");
            return 1;
        }
        setenv("LD_BENCH_UNDER_XVFB", "1", 1);
        std::vector<char*> args{const_cast<char*>(LD_WITH_XVFB)};
        for (int i = 0; i < argc; ++i)
            args.push_back(argv[i]);
        args.push_back(nullptr);
        execv(LD_WITH_XVFB, args.data());
        std::perror("bench_x11: cannot start Xvfb through " LD_WITH_XVFB);
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
