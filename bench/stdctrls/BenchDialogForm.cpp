// Reading the items dialog's stored form (binary) into a new form, with the
// window of the form and of every windowed control created, then freeing
// it: what a dialog costs before it is first shown.
#include <benchmark/benchmark.h>

#include "apps/samples/ItemsDialogSample.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/stream/TextForm.h"
#include "platform/win/TickSource.h"

namespace ld {
namespace {

// Creates the windows of Control and of every windowed control in it; counts
// the windows that exist afterwards.
Integer CreateHandles(TWinControl* control)
{
    control->HandleNeeded();
    Integer made = control->HandleAllocated() && IsWindow(control->GetHandle()) ? 1 : 0;
    for (Integer i = 0; i < control->GetControlCount(); ++i)
        if (auto* child = dynamic_cast<TWinControl*>(control->GetControl(i)))
            made += CreateHandles(child);
    return made;
}

void BM_LoadDialogForm(benchmark::State& state)
{
    TickSource::UseSimulatedClock(10000);
    THeadlessBackend backend;
    const std::string binary = TextToBinary(samples::ItemsDialogText());
    Integer windows = 0;
    for (auto _ : state) {
        samples::TItemsDialogSample* dialog = samples::LoadItemsDialog(nullptr, binary);
        windows = CreateHandles(dialog);
        FreeObject(dialog);
    }
    // The form, two group boxes, the tree, five buttons, three edits, the combo box.
    if (windows != 13)
        state.SkipWithError("not every windowed control was made");
    state.counters["windows"] = double(windows);
    TickSource::UseMonotonicClock();
}
BENCHMARK(BM_LoadDialogForm)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace ld
