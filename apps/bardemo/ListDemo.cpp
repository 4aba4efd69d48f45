#include "apps/bardemo/ListDemo.h"

#include <cstdio>
#include <string>
#include <vector>

#include "controls/bar/Launchdeck.h"
#include "controls/list/ShortcutList.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/SysUtils.h"
#include "platform/gfx/Graphics.h"
#include "platform/vcl/Forms.h"

namespace ld {
namespace {

const char* const IconFolder = "/usr/share/icons/Adwaita";

struct TShortcut {
    const char* Caption;
    const char* Icon;
};

const std::vector<TShortcut> Shortcuts{
    {"&Home", "places/user-home"},
    {"Documents", "places/folder-documents"},
    {"Music && Sound", "places/folder-music"},
    {"Pictures", "places/folder-pictures"},
    {"Calendar", "mimetypes/x-office-calendar"},
    {"Address Book", "mimetypes/x-office-address-book"},
    {"Computer", "devices/computer"},
    {"Printer", "devices/printer"},
    {"Network Server", "places/network-server"},
    {"Trash", "places/user-trash"},
};

// The theme's full-colour icons of one size, in the order of Shortcuts.
TImageList* LoadIcons(TComponent* owner, Integer size)
{
    auto* images = new TImageList(owner, size, size);
    for (const TShortcut& shortcut : Shortcuts) {
        const std::string path = std::string(IconFolder) + "/" + std::to_string(size) + "x" + std::to_string(size) +
                                 "/" + shortcut.Icon + ".png";
        if (!std::filesystem::exists(path))
            throw Exception("icon file missing: " + path + " (Debian package adwaita-icon-theme)");
        TBitmap icon;
        icon.LoadFromFile(path);
        images->Add(&icon);
    }
    return images;
}

class TListDemo {
public:
    TListDemo(THeadlessBackend& backend, std::filesystem::path out) : FBackend(backend), FOut(std::move(out))
    {
        FForm = new TForm(nullptr);
        FForm->SetName("ListDemoForm");
        FForm->SetCaption("Launchdeck lists");
        FForm->SetBounds(40, 40, 560, 420);
        FLarge = LoadIcons(FForm, 32);
        FSmall = LoadIcons(FForm, 16);
    }
    ~TListDemo() { delete FForm; }

    void Run()
    {
        TLaunchdeck* bar = AddBar(0, 170, {soFlatTabs, soButtonTabs, soAnimatedSheets});
        Save("list_large.png");
        bar->SetActiveSheet(bar->GetSheet(1));
        Save("list_small.png");
        delete bar;

        // Full-select: raised, pressed, and pressed with the pointer gone.
        const TShortcutItemState states[] = {siUp, siDown, siNone};
        for (Integer i = 0; i < 3; ++i) {
            TLaunchdeck* full = AddBar(i * 180, 170, {soFlatTabs, soButtonTabs, soButtonItems});
            TShortcutList* list = full->GetActiveList();
            list->SetActiveItem(list->GetItems()->GetItem(1));
            list->SetActiveState(siDown);
            list->SetActiveState(states[i]);
        }
        Save("list_fullselect.png");
        for (Integer i = FForm->GetControlCount() - 1; i >= 0; --i)
            delete FForm->GetControl(i);

        TLaunchdeck* scrolled = AddBar(0, 170, {soFlatTabs, soButtonTabs});
        scrolled->SetHeight(260);
        TShortcutList* list = scrolled->GetActiveList();
        list->DownButtonClick(nullptr);
        list->DownButtonClick(nullptr);
        Save("list_scrolled.png");
    }

private:
    // A bar of three sheets: large icons, small icons, and an empty one.
    TLaunchdeck* AddBar(Integer left, Integer width, TShortcutOptions options)
    {
        auto* bar = new TLaunchdeck(FForm);
        bar->SetParent(FForm);
        bar->SetAlign(alNone);
        bar->SetBounds(left, 0, width, 390);
        bar->SetOptions(options);
        const char* captions[] = {"&Places", "&Small icons", "&Other"};
        for (const char* caption : captions) {
            TShortcutSheet* sheet = nullptr;
            TShortcutList* list = nullptr;
            bar->NewSheetAndList(sheet, list);
            sheet->SetCaption(caption);
            list->SetLargeImages(FLarge);
            list->SetSmallImages(FSmall);
            if (sheet->GetSheetIndex() == 2)
                continue;
            if (sheet->GetSheetIndex() == 1)
                list->SetStyle(ssSmallImages);
            for (size_t i = 0; i < Shortcuts.size(); ++i) {
                TShortcutItem* item = list->GetItems()->Add();
                item->SetCaption(Shortcuts[i].Caption);
                item->SetImageIndex(Integer(i));
            }
        }
        bar->SetActiveSheet(bar->GetSheet(0));
        FForm->Show();
        FBackend.RunUntilIdle();
        return bar;
    }
    void Save(const std::string& file)
    {
        FBackend.RunUntilIdle();
        const std::filesystem::path path = FOut / file;
        FBackend.SaveWindowShot(FForm->GetHandle(), path.string());
        std::printf("%s\n", path.string().c_str());
    }

    THeadlessBackend& FBackend;
    std::filesystem::path FOut;
    TForm* FForm = nullptr;
    TImageList* FLarge = nullptr;
    TImageList* FSmall = nullptr;
};

} // namespace

void RunListDemo(THeadlessBackend& backend, const std::filesystem::path& out)
{
    TListDemo demo(backend, out);
    demo.Run();
}

} // namespace ld
