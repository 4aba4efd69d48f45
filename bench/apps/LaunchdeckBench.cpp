// The Launchdeck demo after a long session: with 0 and with 26,000 events
// logged, the pointer moves from one icon to the next through the queue; the
// item lights, the move is logged and the log repaints. What the user waits
// for between the move and the lit item must not grow with the session.
#include <benchmark/benchmark.h>

#include "apps/launchdeck/LaunchdeckDemoForm.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/win/TickSource.h"

namespace ld {
namespace {

using launchdeck::TLaunchdeckDemoForm;

void BM_DemoHotItemAfterEvents(benchmark::State& state)
{
    TickSource::UseSimulatedClock(10000);
    THeadlessBackend backend;
    auto* form = Application->CreateForm<TLaunchdeckDemoForm>();
    form->Show();
    backend.RunUntilIdle();
    // Events of their own line each, as a session's pointer and focus make them.
    for (Integer i = 0; i < Integer(state.range(0)); ++i)
        (i % 2 ? form->ControlExit(form->Bar) : form->ControlEnter(form->Bar));
    backend.RunUntilIdle();
    TShortcutList* list = form->ListPlaces;
    TPoint icons[2];
    for (Integer i = 0; i < 2; ++i) {
        const TRect r = list->GetIconRect(list->GetItems()->GetItem(i), false);
        icons[i] = list->ClientToScreen({r.Left + r.Width() / 2, r.Top + r.Height() / 2});
    }
    Integer next = 0;
    for (auto _ : state) {
        backend.MoveTo(icons[next].X, icons[next].Y);
        backend.RunUntilIdle();
        next = 1 - next;
    }
    if (list->GetActiveItem() != list->GetItems()->GetItem(1 - next))
        state.SkipWithError("the item under the pointer is not lit");
    state.counters["events"] = double(form->GetEventCount());
    form->Free();
    TickSource::UseMonotonicClock();
}
BENCHMARK(BM_DemoHotItemAfterEvents)->Arg(0)->Arg(26000)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace ld

BENCHMARK_MAIN();
