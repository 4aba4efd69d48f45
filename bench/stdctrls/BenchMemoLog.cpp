// A memo used as an event log, at 1,000, 10,000 and 100,000 lines: what one
// line costs through Lines. BM_MemoAppendLine adds a line at the end and
// takes it away again; BM_MemoLogLine does what a log does per event: add a
// line, drop the oldest, put the caret at the end and repaint. Neither should
// grow with the lines already there.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/backends/HeadlessBackend.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/win/TickSource.h"

namespace ld {
namespace {

struct TLogScene {
    explicit TLogScene(Integer lines)
    {
        TickSource::UseSimulatedClock(10000);
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 700, 400);
        Memo = new TMemo(Form);
        Memo->SetBounds(10, 10, 424, 368);
        Memo->SetScrollBars(ssVertical);
        Memo->SetParent(Form);
        std::string text;
        for (Integer i = 0; i < lines; ++i)
            text += Line(i) + "\r\n";
        Memo->SetText(text);
        Form->Show();
        Backend.RunUntilIdle();
    }
    ~TLogScene()
    {
        delete Form;
        TickSource::UseMonotonicClock();
    }
    static std::string Line(Integer i) { return "ListPlaces.OnMouseMove at " + std::to_string(i % 150) + ",42"; }

    THeadlessBackend Backend;
    TForm* Form;
    TMemo* Memo;
};

void BM_MemoAppendLine(benchmark::State& state)
{
    TLogScene scene(Integer(state.range(0)));
    TStrings* lines = scene.Memo->GetLines();
    Integer i = 0;
    for (auto _ : state) {
        lines->Add(TLogScene::Line(i++));
        lines->Delete(lines->Count() - 1);
    }
    if (lines->Count() != state.range(0))
        state.SkipWithError("the memo lost or kept lines");
}
BENCHMARK(BM_MemoAppendLine)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_MemoLogLine(benchmark::State& state)
{
    TLogScene scene(Integer(state.range(0)));
    TStrings* lines = scene.Memo->GetLines();
    Integer i = 0;
    for (auto _ : state) {
        lines->Add(TLogScene::Line(i++));
        lines->Delete(0);
        scene.Memo->SetSelStart(scene.Memo->GetTextLen());
        scene.Backend.RunUntilIdle();
    }
    if (lines->Count() != state.range(0))
        state.SkipWithError("the memo lost or kept lines");
}
BENCHMARK(BM_MemoLogLine)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace ld
