// The demo program: a form of custom controls on the platform layers. In an
// X window (DISPLAY set and answering, or --x11) it runs until the window is
// closed. On the headless screen (no display, or --headless) it plays a
// short scripted tour, writes a PNG after each step into the folder given
// with --out, and prints what happened.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "apps/demo/DemoForm.h"
#include "platform/backends/BackendChoice.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/backends/X11Backend.h"
#include "platform/win/TickSource.h"

using namespace ld;

namespace {

struct TTour {
    THeadlessBackend& Backend;
    demo::TDemoForm& Form;
    std::filesystem::path Out;
    int Shots = 0;

    void Shot(const std::string& name, const std::string& what)
    {
        Backend.RunUntilIdle();
        std::string file = std::to_string(++Shots) + "-" + name + ".png";
        if (Shots < 10)
            file = "0" + file;
        Backend.SaveScreenshot((Out / file).string());
        std::printf("  %-13s %s\n", file.c_str(), what.c_str());
    }
    TPoint At(TControl* c, Integer x, Integer y) const { return c->ClientToScreen({x, y}); }
    void MoveTo(TPoint p)
    {
        Backend.MoveTo(p.X, p.Y);
        Backend.RunUntilIdle();
    }
};

void Play(TTour& t)
{
    demo::TDemoForm& f = t.Form;
    t.Shot("start", "the form, its tiles, the meter and the log");

    t.MoveTo(t.At(f.GetTile(0), 40, 20));
    t.Shot("hot", "the pointer rests on Inbox, which lights up");

    t.MoveTo(t.At(f.GetTile(1), 40, 20));
    t.Backend.Press();
    t.Shot("pressed", "Calendar held down");
    t.Backend.Release();
    t.Backend.RunUntilIdle();

    t.Backend.Advance(1000);
    t.Shot("timer", "one second later the meter has moved ten steps");

    t.MoveTo(t.At(f.GetTile(2), 40, 20));
    t.Backend.KeyDown(VK_CONTROL);
    t.Backend.Press();
    t.Backend.RunUntilIdle();
    TPoint drop = t.At(f.GetLog(), 200, 60);
    t.Backend.DragTo(drop.X, drop.Y, 12);
    t.Shot("drag", "Contacts dragged over the log, which accepts it");
    t.Backend.Release();
    t.Backend.KeyUp(VK_CONTROL);
    t.Backend.RunUntilIdle();

    TPoint menuAt = t.At(f.GetTile(3), 30, 30);
    t.MoveTo(menuAt);
    t.Backend.Script([&t, menuAt] {
        t.Shot("menu", "a right click on Tasks opens its menu");
        // The second item, "Rename", one item height below the first.
        t.Backend.Click(menuAt.X + 20, menuAt.Y + 1 + TPopupMenu::ItemHeight + 8);
    });
    t.Backend.Click(menuAt.X, menuAt.Y, TPointerButton::Right);
    t.Backend.RunUntilIdle();

    t.MoveTo({5, 700});
    t.Shot("end", "the pointer gone, the log tells the story");
}

int Usage()
{
    std::fprintf(stderr, "usage: demo [--headless | --x11] [--out DIR]\n"
                         "  in a window it runs until closed; headless it plays its tour and needs --out\n");
    return 2;
}

int RunTour(THeadlessBackend& backend, const std::filesystem::path& out)
{
    auto* form = new demo::TDemoForm(Application);
    Application->SetMainForm(form);
    form->Show();
    std::printf("Tour, screenshots in %s:\n", out.string().c_str());
    TTour tour{backend, *form, out};
    Play(tour);
    std::printf("What the log recorded:\n");
    for (const std::string& line : form->GetLog()->Lines())
        std::printf("  %s\n", line.c_str());
    std::printf("Meter at step %d of 20; %d screenshots written.\n", form->GetMeter()->Position(), tour.Shots);
    delete form;
    return Application->GetExceptionCount() == 0 ? 0 : 1;
}

int RunInWindow()
{
    auto* form = new demo::TDemoForm(Application);
    Application->SetMainForm(form);
    std::printf("The demo runs in its window: point at the tiles, click them, drag one onto the log with Ctrl "
                "held, right-click one for its menu. Close the window to end.\n");
    std::fflush(stdout);
    Application->Run();
    delete form;
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::filesystem::path out;
    TBackendRequest request = TBackendRequest::Automatic;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc)
            out = argv[++i];
        else if (!TakeBackendArgument(argv[i], request))
            return Usage();
    }
    try {
        TBackendChoice choice = OpenBackend(request);
        if (!choice.Note.empty())
            std::fprintf(stderr, "demo: %s\n", choice.Note.c_str());
        if (choice.X11())
            return RunInWindow();
        if (out.empty())
            return Usage();
        std::error_code ec;
        std::filesystem::create_directories(out, ec);
        if (ec) {
            std::fprintf(stderr, "demo: cannot create %s: %s\n", out.string().c_str(), ec.message().c_str());
            return 1;
        }
        // The tour runs on the simulated clock: the same pictures on every machine.
        TickSource::UseSimulatedClock(0);
        return RunTour(*choice.Headless(), out);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "demo: %s\n", e.what());
        return 1;
    }
}
