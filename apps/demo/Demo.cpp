// The demo program: a form of custom controls on the platform layers. In an
// X window (DISPLAY set and answering, or --x11) it runs until the window is
// closed. On the headless screen (no display, or --headless) it plays a
// short scripted tour, writes a PNG after each step into the folder given
// with --out, and prints what happened.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "apps/demo/DemoDialog.h"
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

// The Dialog button's modal dialog, filled in by its own loop's steps.
void PlayDialog(TTour& t)
{
    demo::TDemoForm& f = t.Form;
    auto dialog = [&f] { return f.GetOpenDialog(); };
    auto centre = [&t](TControl* c) { return t.At(c, c->GetWidth() / 2, c->GetHeight() / 2); };
    auto click = [&t](TPoint p) { t.Backend.Click(p.X, p.Y); };
    t.Backend.Script([&t] {
        t.Shot("dialog", "the Dialog button opens a modal dialog, centred, the focus in its first edit");
        t.Backend.Type("Ada");
    });
    t.Backend.Script([&] { click(centre(dialog()->GetPriority())); });
    t.Backend.Script([&] {
        t.Shot("dialog-list", "a click on the priority drops its list down over everything");
        TComboBox* box = dialog()->GetPriority();
        click(t.At(box, 20, box->GetHeight() + 2 * box->GetItemHeight() + box->GetItemHeight() / 2 + 1));
    });
    t.Backend.Script([&] {
        click(centre(dialog()->GetNotes()));
        t.Backend.Type("Remember the milk\rand the bread");
    });
    t.Backend.Script([&] {
        TTreeView* tree = dialog()->GetFolders();
        TRect sent = tree->GetItems()->GetItem(2)->DisplayRect(true);
        click(t.At(tree, sent.Left + 4, sent.Top + sent.Height() / 2));
    });
    t.Backend.Script([&] {
        t.Shot("dialog-filled", "a name typed, High chosen, two lines of notes, the Sent folder selected");
        click(centre(dialog()->GetOk()));
    });
    t.Backend.Click(centre(f.GetDialogButton()).X, centre(f.GetDialogButton()).Y);
    t.Backend.RunUntilIdle();
    t.Shot("dialog-done", "OK closed the dialog; the log shows what it gave back");
}

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

    PlayDialog(t);

    t.MoveTo({5, 700});
    t.Shot("end", "the pointer gone, the log tells the story");
}

int Usage()
{
    std::fprintf(stderr, "usage: demo [--headless | --x11 [--virtual-desktop]] [--out DIR]\n"
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
                "held, right-click one for its menu, open the dialog with the Dialog button. Close the window to "
                "end.\n");
    std::fflush(stdout);
    Application->Run();
    delete form;
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return RunDemoProgram({"demo", Usage, RunInWindow,
                           [](THeadlessBackend& backend, const std::filesystem::path& out) {
                               // The tour runs on the simulated clock: the same pictures on every machine.
                               TickSource::UseSimulatedClock(0);
                               return RunTour(backend, out);
                           }},
                          argc, argv);
}
