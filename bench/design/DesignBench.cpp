// Loading the package and running its Register, then unloading it again, as
// the environment does for each package at start; the items editor on a
// list of 100 items, opened from the object inspector and closed with OK;
// and editing in the designer: one step of dragging a selection, an undo on
// a form of 200 components, pasting a bar with its sheets and items.
#include <benchmark/benchmark.h>

#include "apps/designer/DesignerHand.h"
#include "apps/designer/DesignerWindow.h"
#include "host/DesignEdits.h"
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

// The text of a list of Count items at Left, Top, indented by Indent.
std::string ListText(const std::string& name, Integer left, Integer top, Integer count, const std::string& indent)
{
    std::string text = indent + "object " + name + ": TShortcutList\r\n" + indent + "  Left = " + IntToStr(left) +
                       "\r\n" + indent + "  Top = " + IntToStr(top) + "\r\n" + indent + "  Width = 60\r\n" + indent +
                       "  Height = 60\r\n";
    if (count > 0) {
        text += indent + "  Items.Items = (\r\n" + indent + "    '1.7'\r\n" + indent + "    " + IntToStr(count);
        for (Integer i = 0; i < count; ++i)
            text += "\r\n" + indent + "    'Item " + IntToStr(i) + "'\r\n" + indent + "    " + IntToStr(i % 8) +
                    "\r\n" + indent + "    0\r\n" + indent + "    True";
        text += ")\r\n";
    }
    return text + indent + "end\r\n";
}

// A bar named Bar at Left with Sheets sheets, each holding a list of Items items.
std::string BarText(const std::string& bar, Integer left, Integer sheets, Integer items, const std::string& indent)
{
    std::string text = indent + "object " + bar + ": TLaunchdeck\r\n" + indent + "  Left = " + IntToStr(left) +
                       "\r\n" + indent + "  Align = alNone\r\n" + indent + "  Height = 200\r\n";
    for (Integer s = 0; s < sheets; ++s) {
        const std::string sheet = bar + "Sheet" + IntToStr(s);
        text += indent + "  object " + sheet + ": TShortcutSheet\r\n" + indent + "    Caption = 'Sheet " +
                IntToStr(s) + "'\r\n" + ListText(sheet + "List", 5, 5, items, indent + "    ") + indent + "  end\r\n";
    }
    return text + indent + "end\r\n";
}

// The designer's windows on the headless screen, the package loaded, the form Text open.
struct TDesignSession {
    explicit TDesignSession(const std::string& text)
    {
        Host.LoadPackage(LD_PACKAGE_FILE);
        Window = std::make_unique<TDesignerWindow>(Host.GetRegistry(),
                                                   THostFormDesigner::Open(Host.GetRegistry(), text), std::string());
        Backend.RunUntilIdle();
    }
    ~TDesignSession()
    {
        Window.reset();
        Backend.RunUntilIdle();
    }
    THostFormDesigner& Designer() { return Window->Designer(); }

    THeadlessBackend Backend;
    TDesignHost Host;
    std::unique_ptr<TDesignerWindow> Window;
};

std::string FormText(const std::string& components)
{
    return "object Form1: TForm\r\n  Left = 0\r\n  Top = 120\r\n  Width = 600\r\n  Height = 560\r\n" + components +
           "end\r\n";
}

// Ten lists selected and taken by the pointer; each step moves the pointer a
// grid step on (and back), which the queue turns into WM_MOUSEMOVE for the
// captured form: the drop target found, the ten outlines drawn again.
void BM_DesignerMoveStep(benchmark::State& state)
{
    TickSource::UseSimulatedClock(10000);
    {
        std::string lists;
        for (Integer i = 0; i < 10; ++i)
            lists += ListText("List" + IntToStr(i), 8 + (i % 5) * 72, 8 + (i / 5) * 72, 3, "  ");
        TDesignSession session(FormText(lists));
        std::vector<TPersistent*> all;
        for (Integer i = 0; i < 10; ++i)
            all.push_back(session.Designer().GetForm()->FindComponent("List" + IntToStr(i)));
        session.Designer().SetSelection(all);
        const TPoint from = FreePointOf(dynamic_cast<TControl*>(all[0]));
        session.Backend.MoveTo(from.X, from.Y);
        session.Backend.Press();
        session.Backend.DragTo(from.X + 40, from.Y + 40);
        session.Backend.RunUntilIdle();
        Integer step = 0;
        for (auto _ : state) {
            const Integer offset = (++step % 2) * DesignGrid;
            session.Backend.MoveTo(from.X + 40 + offset, from.Y + 40);
            session.Backend.RunUntilIdle();
        }
        if (session.Window->Drag().OutlineRects().size() != 10)
            state.SkipWithError("the ten outlines are not shown");
        session.Backend.Release();
        session.Backend.RunUntilIdle();
    }
    TickSource::UseMonotonicClock();
}
BENCHMARK(BM_DesignerMoveStep)->Unit(benchmark::kMicrosecond);

// Undo of one property change on a form of 200 components (25 bars of three
// sheets, each sheet with a list of two items, and 25 lists on the form): the
// form's bytes compared, every component freed and read again from the bytes
// before the change, the selection found again.
void BM_DesignerUndo(benchmark::State& state)
{
    TickSource::UseSimulatedClock(10000);
    {
        std::string components;
        for (Integer i = 0; i < 25; ++i) {
            components += BarText("Bar" + IntToStr(i), i * 20, 3, 2, "  ");
            components += ListText("Loose" + IntToStr(i), 8 + i * 20, 220, 2, "  ");
        }
        TDesignSession session(FormText(components));
        THostFormDesigner& designer = session.Designer();
        if (designer.GetForm()->ComponentCount() != 200)
            state.SkipWithError("the form does not hold 200 components");
        Integer width = 60;
        for (auto _ : state) {
            state.PauseTiming();
            auto* list = dynamic_cast<TControl*>(designer.GetForm()->FindComponent("Loose0"));
            designer.SelectComponent(list);
            list->SetWidth(++width);
            designer.Modified();
            state.ResumeTiming();
            designer.Undo();
        }
    }
    TickSource::UseMonotonicClock();
}
BENCHMARK(BM_DesignerUndo)->Unit(benchmark::kMillisecond);

// A bar of four sheets with 25 items in each list pasted from clipboard text
// into the form: the text read, the components named and laid out, the
// change recorded.
void BM_DesignerPasteBar(benchmark::State& state)
{
    TickSource::UseSimulatedClock(10000);
    {
        TDesignSession session(FormText(""));
        THostFormDesigner& designer = session.Designer();
        const std::string bar = BarText("Launchdeck1", 0, 4, 25, "");
        for (auto _ : state) {
            designer.SelectComponent(designer.GetForm());
            designer.PasteText(bar);
            state.PauseTiming();
            designer.DeleteSelection();
            state.ResumeTiming();
        }
        if (designer.GetForm()->ComponentCount() != 0)
            state.SkipWithError("the pasted bar was not taken away again");
    }
    TickSource::UseMonotonicClock();
}
BENCHMARK(BM_DesignerPasteBar)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace ld

BENCHMARK_MAIN();
