// The bar's painting: a full paint of a bar 84 x 600 with 20 sheets, and the
// repaint of the two tabs concerned when the hot tab moves; a pointer move
// that changes the hot tab, from the queue on; the sheet roll's frames on the
// real clock.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>

#include "controls/bar/Launchdeck.h"
#include "controls/shared/AnimationTicks.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Paint.h"

namespace ld {
namespace {

struct TBarScene {
    TBarScene()
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 700);
        Form->Show();
        Bar = new TLaunchdeck(Form);
        Bar->SetParent(Form);
        Bar->SetAlign(alNone);
        Bar->SetBounds(0, 0, 86, 602); // a client of 84 x 600 inside the flat frame
        for (int i = 0; i < 20; ++i)
            Bar->NewSheet()->SetCaption("Sheet " + std::to_string(i));
        Bar->SetActiveSheet(Bar->GetSheet(10));
        Backend.RunUntilIdle();
    }
    ~TBarScene() { delete Form; }
    THeadlessBackend Backend;
    TForm* Form;
    TLaunchdeck* Bar;
};

void BM_BarFullPaint(benchmark::State& state)
{
    TBarScene scene;
    HWND window = scene.Bar->GetHandle();
    for (auto _ : state) {
        InvalidateRect(window, nullptr, false);
        UpdateWindow(window);
    }
}
BENCHMARK(BM_BarFullPaint)->Unit(benchmark::kMicrosecond);

void BM_BarHotTabRepaint(benchmark::State& state)
{
    TBarScene scene;
    scene.Bar->SetOptions({soFlatTabs, soButtonTabs, soHotTabs});
    scene.Backend.RunUntilIdle();
    Integer hot = 3;
    for (auto _ : state) {
        hot = hot == 3 ? 4 : 3;
        scene.Bar->SetActiveGroup(hot);
    }
}
BENCHMARK(BM_BarHotTabRepaint)->Unit(benchmark::kMicrosecond);

// One pointer move through the queue that moves the hot tab to the next tab:
// the window system's hit test and cursor, the mouse move, the idle pass that
// checks for the pointer leaving, and the repaint of both tabs.
// Apart, so that callgrind can count one move (--toggle-collect on it).
[[gnu::noinline]] void MovePointerAndSettle(THeadlessBackend& backend, TPoint p)
{
    backend.MoveTo(p.X, p.Y);
    backend.RunUntilIdle();
}

void BM_BarHotTrackMove(benchmark::State& state)
{
    TBarScene scene;
    TPoint points[2];
    for (int i = 0; i < 2; ++i) {
        const TRect r = scene.Bar->GetGroupRect(3 + i);
        points[i] = scene.Bar->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    }
    int next = 0;
    for (auto _ : state) {
        MovePointerAndSettle(scene.Backend, points[next]);
        next = 1 - next;
    }
    if (scene.Bar->GetActiveGroup() != 3 + (1 - next))
        state.SkipWithError("the hot tab did not follow the pointer");
}
BENCHMARK(BM_BarHotTrackMove)->Unit(benchmark::kMicrosecond);

// One whole slide per iteration, on the real clock: from the first of 20 tabs
// to the last. The counters give the frames drawn in its 125 ms and the
// longest time one frame took to draw.
void BM_RollFrames(benchmark::State& state)
{
    TBarScene scene;
    scene.Bar->SetActiveSheet(scene.Bar->GetSheet(0));
    scene.Backend.RunUntilIdle();
    double frames = 0;
    double worst = 0;
    for (auto _ : state) {
        scene.Bar->RollUp(19);
        const TAnimationStats stats = LastAnimationStats();
        frames += stats.Frames;
        worst = std::max(worst, stats.WorstFrameMicroseconds);
    }
    state.counters["frames"] = frames / double(state.iterations());
    state.counters["worst_frame_us"] = worst;
}
BENCHMARK(BM_RollFrames)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
} // namespace ld

BENCHMARK_MAIN();
