// bardemo --out DIR: a form with a bar of four sheets on the headless screen,
// saved as PNG files: the default look, then each tab style (3D, flat, raised,
// pressed, hot text); then sheets holding lists (ListDemo).
#include <cstdio>
#include <filesystem>
#include <string>

#include "apps/bardemo/ListDemo.h"
#include "controls/bar/Launchdeck.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Paint.h"

namespace ld {
namespace {

int Usage()
{
    std::fprintf(stderr, "usage: bardemo --out DIR\n");
    return 2;
}

class TBarDemo {
public:
    explicit TBarDemo(std::filesystem::path out) : FOut(std::move(out))
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
        FForm->Show();
        FBackend.RunUntilIdle();
    }
    ~TBarDemo() { delete FForm; }
    THeadlessBackend& Backend() { return FBackend; }

    void Run()
    {
        Save("bar_default.png");
        Style({}, -1, -1, "bar_3d.png");
        Style({soFlatTabs}, -1, -1, "bar_flat.png");
        Style({soFlatTabs, soButtonTabs}, 0, -1, "bar_raised.png");
        Style({soFlatTabs, soButtonTabs}, 0, 0, "bar_pressed.png");
        Style({soFlatTabs, soHotTabs}, 2, -1, "bar_hottext.png");
    }

private:
    void Style(TShortcutOptions options, Integer hot, Integer down, const std::string& file)
    {
        FBar->SetDownIndex(-1);
        FBar->SetActiveGroup(-1);
        FBar->SetOptions(options);
        FBackend.RunUntilIdle();
        FBar->SetActiveGroup(hot);
        FBar->SetDownIndex(down);
        FBackend.RunUntilIdle();
        Save(file);
    }
    void Save(const std::string& file)
    {
        const std::filesystem::path path = FOut / file;
        FBackend.SaveWindowShot(FForm->GetHandle(), path.string());
        std::printf("%s\n", path.string().c_str());
    }

    THeadlessBackend FBackend;
    std::filesystem::path FOut;
    TForm* FForm = nullptr;
    TLaunchdeck* FBar = nullptr;
};

} // namespace
} // namespace ld

int main(int argc, char** argv)
{
    std::string out;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--out" && i + 1 < argc)
            out = argv[++i];
        else
            return ld::Usage();
    }
    if (out.empty())
        return ld::Usage();
    try {
        std::filesystem::create_directories(out);
        ld::TBarDemo demo(out);
        demo.Run();
        ld::RunListDemo(demo.Backend(), out);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bardemo: %s\n", e.what());
        return 1;
    }
    return 0;
}
