// hello-launchdeck: a form with a bar of three sheets of icons, read from its
// stored form. With a display it opens a window until closed; headless
// (--headless, or no display) it clicks an icon and writes the form as
// hello-launchdeck.png into the folder given with --out.
//
//   hello-launchdeck                          in a window
//   hello-launchdeck --headless --out DIR     the picture
#include <cstdio>
#include <filesystem>

#include "HelloForm.h"
#include "platform/backends/BackendChoice.h"
#include "platform/backends/HeadlessBackend.h"

using namespace ld;
using hello::THelloForm;

namespace {

// For --help; RunDemoProgram answers the arguments it cannot follow itself.
int Usage()
{
    std::printf("usage: hello-launchdeck [--headless | --x11] [--out DIR]\n"
                "  in a window it runs until closed; headless it clicks an icon and writes its\n"
                "  picture into DIR\n");
    return 0;
}

int RunInWindow()
{
    Application->CreateForm<THelloForm>();
    Application->Run();
    return Application->GetExceptionCount() == 0 ? 0 : 1;
}

// Clicks the second icon of the open sheet, as a person would, and saves the form.
int RunHeadless(THeadlessBackend& screen, const std::filesystem::path& out)
{
    auto* form = Application->CreateForm<THelloForm>();
    form->Show();
    screen.RunUntilIdle();
    TShortcutList* list = form->ListPlaces;
    const TRect icon = list->GetIconRect(list->GetItems()->GetItem(1), false);
    const TPoint at = list->ClientToScreen({(icon.Left + icon.Right) / 2, (icon.Top + icon.Bottom) / 2});
    screen.Click(at.X, at.Y);
    screen.RunUntilIdle();
    const std::filesystem::path picture = out / "hello-launchdeck.png";
    screen.SaveWindowShot(form->GetHandle(), picture.string());
    std::printf("wrote %s\n", picture.string().c_str());
    return Application->GetExceptionCount() == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    Application->SetTitle("hello-launchdeck");
    return RunDemoProgram({"hello-launchdeck", Usage, RunInWindow, RunHeadless}, argc, argv);
}
