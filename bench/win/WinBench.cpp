// The window system's costs: a message through three levels of handlers,
// one invalidate-and-update round of an 84 x 18 area, and a repaint of the
// whole screen with 50 windows on it.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/backends/HeadlessBackend.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/Painting.h"
#include "platform/vcl/Forms.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"

using namespace ld;

namespace {

constexpr UINT kBenchMessage = WM_USER + 7;

// Three classes, each with a handler for the message that does a little and
// hands it to its base class, as a control's handlers do.
class TLevel1 : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    Integer Count = 0;
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == kBenchMessage) {
            ++Count;
            m.Result = Count;
            return;
        }
        TCustomControl::Dispatch(m);
    }
};

class TLevel2 : public TLevel1 {
public:
    using TLevel1::TLevel1;
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == kBenchMessage)
            m.WParam += 1;
        TLevel1::Dispatch(m);
    }
};

class TLevel3 : public TLevel2 {
public:
    using TLevel2::TLevel2;
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == kBenchMessage)
            m.WParam += 2;
        TLevel2::Dispatch(m);
    }
};

class TFiller : public TCustomControl {
public:
    explicit TFiller(TComponent* owner) : TCustomControl(owner) { FControlStyle.Include(csOpaque); }
    void Paint() override
    {
        GetCanvas()->GetBrush()->SetColor(clNavy);
        GetCanvas()->FillRect(GetClientRect());
    }
};

struct TBenchScreen {
    THeadlessBackend Backend;
    TForm* Form;
    TBenchScreen()
    {
        Form = new TForm(nullptr);
        Form->SetBounds(20, 20, 600, 400);
        Form->Show();
        Backend.RunUntilIdle();
    }
    ~TBenchScreen()
    {
        delete Form;
        Backend.RunUntilIdle();
    }
};

void BM_Dispatch3Levels(benchmark::State& state)
{
    TBenchScreen screen;
    auto* c = new TLevel3(screen.Form);
    c->SetParent(screen.Form);
    for (auto _ : state)
        benchmark::DoNotOptimize(c->Perform(kBenchMessage, 0, 0));
}
BENCHMARK(BM_Dispatch3Levels);

void BM_SendMessage3Levels(benchmark::State& state)
{
    TBenchScreen screen;
    auto* c = new TLevel3(screen.Form);
    c->SetParent(screen.Form);
    HWND h = c->GetHandle();
    for (auto _ : state)
        benchmark::DoNotOptimize(SendMessage(h, kBenchMessage, 0, 0));
}
BENCHMARK(BM_SendMessage3Levels);

void BM_InvalidateUpdate84x18(benchmark::State& state)
{
    TBenchScreen screen;
    auto* c = new TFiller(screen.Form);
    c->SetBounds(10, 10, 84, 300);
    c->SetParent(screen.Form);
    screen.Backend.RunUntilIdle();
    HWND h = c->GetHandle();
    RECT area = Bounds(0, 18, 84, 18);
    for (auto _ : state) {
        InvalidateRect(h, &area, false);
        UpdateWindow(h);
    }
}
BENCHMARK(BM_InvalidateUpdate84x18);

LRESULT FillProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, ps);
        RECT r;
        GetClientRect(hwnd, r);
        FillRect(dc, r, GetSysColorBrush(COLOR_BTNFACE));
        EndPaint(hwnd, ps);
        return 0;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

void BM_FullScreenRepaint50(benchmark::State& state)
{
    THeadlessBackend backend;
    WNDCLASS wc;
    if (!GetClassInfo("BenchFill", wc)) {
        wc.lpfnWndProc = FillProc;
        wc.lpszClassName = "BenchFill";
        wc.hbrBackground = COLOR_WINDOW + 1;
        RegisterClass(wc);
    }
    std::vector<HWND> windows;
    for (int i = 0; i < 50; ++i) {
        Integer x = (i % 10) * 96, y = (i / 10) * 140;
        windows.push_back(CreateWindowEx(WS_EX_CLIENTEDGE, "BenchFill", "", WS_VISIBLE | WS_BORDER, x, y, 160, 180, nullptr));
    }
    backend.RunUntilIdle();
    for (auto _ : state)
        RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (HWND h : windows)
        DestroyWindow(h);
    backend.RunUntilIdle();
}
BENCHMARK(BM_FullScreenRepaint50)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
