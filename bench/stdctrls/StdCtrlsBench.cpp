// Typing into the standard controls through the real input path (key down,
// the character, key up, then the repaint): one character into an edit of
// 100 characters, and one into a word-wrapped memo of 2,000 characters with
// the caret in its middle. Iterations alternate a letter and Backspace, so
// the text keeps its length.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/backends/HeadlessBackend.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/win/TickSource.h"

namespace ld {
namespace {

struct TTypingScene {
    TTypingScene()
    {
        TickSource::UseSimulatedClock(10000);
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 700, 400);
        Form->Show();
        Backend.RunUntilIdle();
    }
    ~TTypingScene()
    {
        delete Form;
        TickSource::UseMonotonicClock();
    }
    void Focus(TWinControl* control)
    {
        control->SetParent(Form);
        Backend.RunUntilIdle();
        control->SetFocus();
        Backend.RunUntilIdle();
    }
    // Kept out of line, so that instruction counts can be taken per call.
    [[gnu::noinline]] void TypeOne(bool letter)
    {
        Backend.Key(letter ? Integer('X') : Integer(VK_BACK));
        Backend.RunUntilIdle();
    }
    THeadlessBackend Backend;
    TForm* Form;
};

std::string Words(size_t length)
{
    std::string text;
    while (text.size() < length)
        text += (text.size() / 6) % 3 ? "words " : "lorem ";
    text.resize(length);
    return text;
}

void BM_EditTypeChar(benchmark::State& state)
{
    TTypingScene scene;
    auto* edit = new TEdit(scene.Form);
    edit->SetBounds(10, 10, 640, 21);
    edit->SetText(Words(100));
    scene.Focus(edit);
    edit->SetSelStart(50);
    bool letter = true;
    for (auto _ : state) {
        scene.TypeOne(letter);
        letter = !letter;
    }
    if (edit->GetText().size() < 100)
        state.SkipWithError("the edit lost text");
}
BENCHMARK(BM_EditTypeChar)->Unit(benchmark::kMicrosecond);

void BM_MemoTypeCharWrap(benchmark::State& state)
{
    TTypingScene scene;
    auto* memo = new TMemo(scene.Form);
    memo->SetBounds(10, 10, 300, 200);
    memo->SetText(Words(2000));
    scene.Focus(memo);
    memo->SetSelStart(1000);
    scene.Backend.RunUntilIdle();
    if (memo->DisplayLines().size() < 20)
        state.SkipWithError("the memo does not wrap");
    bool letter = true;
    for (auto _ : state) {
        scene.TypeOne(letter);
        letter = !letter;
    }
}
BENCHMARK(BM_MemoTypeCharWrap)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace ld

BENCHMARK_MAIN();
