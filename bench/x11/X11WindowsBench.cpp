// What forms as windows of the desktop cost: a move of a form's X window by
// the server (as a window manager's move arrives) until the form's pixels
// are presented at the new place, and a modal dialog's X window made,
// mapped and first presented. Wall-clock time: the X server's part counts.
#include <benchmark/benchmark.h>

#include "platform/backends/X11Backend.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"

#include <X11/Xlib.h>

using namespace ld;

namespace {

// The loop's work until Done says so: events, messages, paints, presenting.
template <class F>
void PumpUntil(TX11Backend& backend, F done)
{
    for (int i = 0; i < 100000 && !done(); ++i) {
        backend.WaitForInput(1);
        Application->ProcessMessages();
    }
    Application->ProcessMessages();
    backend.Present();
}

bool Viewable(Display* d, unsigned long w)
{
    XWindowAttributes a{};
    return w && XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable;
}

// A form of some substance: a memo of text and a few buttons.
TForm* MakeForm(const std::string& caption, TBorderStyle style, TRect bounds)
{
    auto* form = new TForm(nullptr);
    form->SetCaption(caption);
    form->SetBorderStyle(style);
    form->SetBoundsRect(bounds);
    auto* memo = new TMemo(form);
    memo->SetBounds(8, 8, bounds.Width() - 32, bounds.Height() - 90);
    memo->SetParent(form);
    for (int i = 0; i < 12; ++i)
        memo->GetLines()->Add("A line of the memo, number " + std::to_string(i));
    for (int i = 0; i < 3; ++i) {
        auto* button = new TButton(form);
        button->SetCaption(i == 0 ? "OK" : i == 1 ? "Cancel" : "Help");
        button->SetBounds(8 + i * 84, bounds.Height() - 70, 75, 25);
        button->SetParent(form);
    }
    return form;
}

void BM_MoveFormRepaint(benchmark::State& state)
{
    TX11Backend backend;
    Display* hand = XOpenDisplay(nullptr);
    TForm* form = MakeForm("Moved", bsSizeable, Bounds(100, 100, 420, 320));
    form->Show();
    PumpUntil(backend, [&] { return Viewable(hand, backend.XWindowOf(form->GetHandle())); });
    const unsigned long window = backend.XWindowOf(form->GetHandle());
    int step = 0;
    for (auto _ : state) {
        const TPoint to{200 + (step & 1) * 40, 160};
        ++step;
        XMoveWindow(hand, window, to.X, to.Y);
        XFlush(hand);
        PumpUntil(backend, [&] { return form->ClientToScreen(TPoint{0, 0}) == to && !HasPendingMessages(); });
        XSync(backend.GetDisplay(), False);
    }
    delete form;
    XCloseDisplay(hand);
}
BENCHMARK(BM_MoveFormRepaint)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_OpenDialogWindow(benchmark::State& state)
{
    TX11Backend backend;
    Display* hand = XOpenDisplay(nullptr);
    TForm* owner = MakeForm("Owner", bsSizeable, Bounds(40, 40, 500, 400));
    owner->Show();
    PumpUntil(backend, [&] { return Viewable(hand, backend.XWindowOf(owner->GetHandle())); });
    for (auto _ : state) {
        TForm* dialog = MakeForm("Dialog", bsDialog, Bounds(0, 0, 340, 260));
        dialog->SetPosition(poScreenCenter);
        // The modal loop runs until the dialog's window is on the screen and shown.
        Application->SetOnIdle(TIdleEvent::Lambda([&](TObject*, bool&) {
            if (!Viewable(hand, backend.XWindowOf(dialog->GetHandle())))
                return;
            backend.Present();
            XSync(backend.GetDisplay(), False);
            dialog->SetModalResult(mrOk);
        }));
        dialog->ShowModal();
        Application->SetOnIdle({});
        state.PauseTiming();
        delete dialog;
        PumpUntil(backend, [] { return !HasPendingMessages(); });
        state.ResumeTiming();
    }
    delete owner;
    XCloseDisplay(hand);
}
BENCHMARK(BM_OpenDialogWindow)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
