// Loading the package and running its Register, then unloading it again, as
// the environment does for each package at start; and the items editor on a
// list of 100 items, opened from the object inspector and closed with OK.
#include <benchmark/benchmark.h>

#include "host/DesignHost.h"
#include "host/FormDesigner.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/SysUtils.h"
#include "platform/win/TickSource.h"

namespace ld {
namespace {

void BM_LoadPackageRegister(benchmark::State& state)
{
    TDesignHost host;
    for (auto _ : state) {
        const TPackage& package = host.LoadPackage(LD_PACKAGE_FILE);
        benchmark::DoNotOptimize(package.Module);
        state.PauseTiming();
        host.UnloadPackage(package);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadPackageRegister)->Unit(benchmark::kMillisecond);

// A designed form holding one list of Count items, as a text form file.
std::string FormWithList(Integer count)
{
    std::string form = "object Form1: TForm\n  Left = 20\n  Top = 20\n  Width = 300\n  Height = 300\n"
                       "  object ShortcutList1: TShortcutList\n    Left = 0\n    Top = 0\n    Width = 84\n"
                       "    Height = 240\n    Items.Items = (\n      '1.7'\n      " + IntToStr(count);
    for (Integer i = 0; i < count; ++i)
        form += "\n      'Shortcut " + IntToStr(i) + "'\n      " + IntToStr(i % 8) + "\n      0\n      True";
    return form + ")\n  end\nend\n";
}

// The dialog made from its stored form, its tree filled with 100 nodes, shown,
// OK clicked through the input queue (the items written back to the list, the
// form marked modified), and the dialog freed. The package is only loaded, as
// the environment loads it, so the classes are reached by name.
void BM_ItemsEditorOpenClose(benchmark::State& state)
{
    TickSource::UseSimulatedClock(10000);
    {
        THeadlessBackend backend;
        TDesignHost host;
        host.LoadPackage(LD_PACKAGE_FILE);
        auto designer = THostFormDesigner::Open(host.GetRegistry(), FormWithList(100));
        designer->GetForm()->Show();
        backend.RunUntilIdle();
        designer->SelectComponent(designer->GetForm()->FindComponent("ShortcutList1"));
        std::unique_ptr<TPropertyEditor> editor = designer->GetPropertyEditor("Items");
        for (auto _ : state) {
            backend.Script([&] {
                auto* ok = dynamic_cast<TControl*>(Screen->GetActiveForm()->FindComponent("btOK"));
                const TPoint p = ok->ClientToScreen({ok->GetWidth() / 2, ok->GetHeight() / 2});
                backend.Click(p.X, p.Y);
            });
            editor->Edit();
        }
        if (designer->GetModifiedCount() != static_cast<Integer>(state.iterations()) || !backend.ScriptDone())
            state.SkipWithError("the dialog did not close with OK");
        designer.reset();
        backend.RunUntilIdle();
    }
    TickSource::UseMonotonicClock();
}
BENCHMARK(BM_ItemsEditorOpenClose)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace ld

BENCHMARK_MAIN();
