// bardemo: a form with a bar of four sheets. In an X window (DISPLAY set and
// answering, or --x11) it runs until the window is closed. On the headless
// screen (no display, or --headless) it saves PNG files into the folder given
// with --out: the default look, then each tab style (3D, flat, raised,
// pressed, hot text), the frames of a roll each way as strips (RollStrip);
// then sheets holding lists (ListDemo).
#include <cstdio>
#include <filesystem>
#include <string>

#include "apps/bardemo/ListDemo.h"
#include "apps/bardemo/RollStrip.h"
#include "controls/bar/Launchdeck.h"
#include "platform/backends/BackendChoice.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/backends/X11Backend.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Paint.h"

namespace ld {
namespace {

int Usage()
{
    std::fprintf(stderr, "usage: bardemo [--headless | --x11 [--virtual-desktop]] [--out DIR]\n"
                         "  in a window it runs until closed; headless it saves its pictures and needs --out\n");
    return 2;
}

class TBarDemo {
public:
    TBarDemo()
    {
        FForm = new TForm(nullptr);
        FForm->SetName("DemoForm");
        FForm->SetCaption("Launchdeck");
        FForm->SetBounds(40, 40, 320, 360);
        FBar = new TLaunchdeck(FForm);
        FBar->SetName("Bar");
        FBar->SetParent(FForm);
        for (const char* caption : {"&Mail", "&Work", "&Tools", "&Other"}) {
            TShortcutSheet* sheet = FBar->NewSheet();
            sheet->SetCaption(caption);
        }
        FBar->SetActiveSheet(FBar->GetSheet(1));
    }
    ~TBarDemo() { delete FForm; }

    void RunInWindow()
    {
        Application->SetMainForm(FForm);
        std::printf("The bar runs in its window. Close the window to end.\n");
        std::fflush(stdout);
        Application->Run();
    }

    void SavePictures(THeadlessBackend& backend, std::filesystem::path out)
    {
        FBackend = &backend;
        FOut = std::move(out);
        FForm->Show();
        FBackend->RunUntilIdle();
        Save("bar_default.png");
        Style({}, -1, -1, "bar_3d.png");
        Style({soFlatTabs}, -1, -1, "bar_flat.png");
        Style({soFlatTabs, soButtonTabs}, 0, -1, "bar_raised.png");
        Style({soFlatTabs, soButtonTabs}, 0, 0, "bar_pressed.png");
        Style({soFlatTabs, soHotTabs}, 2, -1, "bar_hottext.png");
        Style({soFlatTabs, soButtonTabs, soAnimatedSheets}, -1, -1, "bar_animated.png");
        SaveRollStrips(*FBackend, FBar, FOut);
    }

private:
    void Style(TShortcutOptions options, Integer hot, Integer down, const std::string& file)
    {
        FBar->SetDownIndex(-1);
        FBar->SetActiveGroup(-1);
        FBar->SetOptions(options);
        FBackend->RunUntilIdle();
        FBar->SetActiveGroup(hot);
        FBar->SetDownIndex(down);
        FBackend->RunUntilIdle();
        Save(file);
    }
    void Save(const std::string& file)
    {
        const std::filesystem::path path = FOut / file;
        FBackend->SaveWindowShot(FForm->GetHandle(), path.string());
        std::printf("%s\n", path.string().c_str());
    }

    THeadlessBackend* FBackend = nullptr;
    std::filesystem::path FOut;
    TForm* FForm = nullptr;
    TLaunchdeck* FBar = nullptr;
};

} // namespace
} // namespace ld

int main(int argc, char** argv)
{
    return ld::RunDemoProgram({"bardemo", ld::Usage,
                               [] {
                                   ld::TBarDemo demo;
                                   demo.RunInWindow();
                                   return 0;
                               },
                               [](ld::THeadlessBackend& backend, const std::filesystem::path& out) {
                                   ld::TBarDemo demo;
                                   demo.SavePictures(backend, out);
                                   ld::RunListDemo(backend, out);
                                   return 0;
                               }},
                              argc, argv);
}
