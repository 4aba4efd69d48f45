#include "apps/launchdeck/LaunchdeckTour.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>

#include "controls/shared/ShortcutButton.h"
#include "platform/core/FileIO.h"
#include "platform/core/SysUtils.h"
#include "platform/win/TickSource.h"

namespace ld::launchdeck {
namespace {

TPoint Centre(const TRect& r) { return {r.Left + r.Width() / 2, r.Top + r.Height() / 2}; }

class TTour {
public:
    TTour(THeadlessBackend& backend, TLaunchdeckDemoForm& form, std::filesystem::path out)
        : FBackend(backend), FForm(form), FOut(std::move(out))
    {
    }

    void Play()
    {
        TLaunchdeck* bar = FForm.Bar;
        Shot("start", "the form as stored: four sheets, Places open, the log of its creation");

        MoveTo(bar, Centre(bar->GetGroupRect(2)));
        Shot("hot-tab", "the pointer rests on the Devices tab");

        MoveTo(FForm.ListPlaces, IconCentre(FForm.ListPlaces, 1));
        Shot("hot-item", "the pointer rests on Documents, which is raised");

        ClickAt(FForm.ListPlaces, IconCentre(FForm.ListPlaces, 3));
        Shot("click-item", "a click on Pictures: OnMouseDown, OnClick, OnMouseUp");

        ScrollDown(FForm.ListPlaces, 3);
        Shot("scrolled", "three clicks on the down arrow scroll the long list");

        ClickAt(bar, Centre(bar->GetGroupRect(1)));
        Shot("open-by-click", "a click on the Office tab rolls its sheet of small icons open");

        FBackend.KeyWith(VK_MENU, 'D');
        FBackend.RunUntilIdle();
        Shot("open-by-key", "Alt+D opens the Devices sheet by its accelerator");

        ReorderWithin(FForm.ListDevices, 0, 2);
        Shot("reordered", "Computer dragged below Printer in the same list");

        DragToOtherSheet(FForm.ListDevices, 0, 3);
        Shot("moved", "Printer dragged onto the Network tab: resting there rolls it open, the drop moves it");

        RenameTabByMenu(2);
        ReplaceEditorText(FForm.SheetDevices->GetCaption(), "Hardware");
        Shot("edit-caption", "Rename edits the Devices tab's caption in place: Hardware typed");
        FBackend.Key(VK_RETURN);
        FBackend.RunUntilIdle();
        Shot("caption-edited", "Enter ends the edit: the tab is called Hardware");

        TShortcutItem* server = FForm.ListNetwork->GetItems()->GetItem(0);
        MoveTo(FForm.ListNetwork, IconCentre(FForm.ListNetwork, 0));
        FBackend.Key(VK_F2);
        FBackend.RunUntilIdle();
        ReplaceEditorText(server->GetCaption(), "File Server");
        Shot("edit-item-caption", "F2 edits the hot item's caption in place: File Server typed");
        FBackend.Key(VK_RETURN);
        FBackend.RunUntilIdle();
        Shot("item-caption-edited", "Enter ends the edit: the item is called File Server");

        DropOnTab(FForm.ListNetwork, 2, 0);
        Shot("dropped-on-tab", "Shared Music dropped on the Places tab: it goes to the end of that list");

        ClickAt(bar, Centre(bar->GetGroupRect(0)));
        // Tab looks are shown with the pointer on a closed tab, item looks on an item.
        ToggleOption(FForm.FlatTabsBox, false);
        ToggleOption(FForm.ButtonTabsBox, false);
        ToggleOption(FForm.HotTabsBox, false);
        ToggleOption(FForm.FullSelectBox, true);

        FBackend.MoveTo(5, 740);
        FBackend.RunUntilIdle();
        Shot("end", "the pointer gone; the log tells the story");
    }

    Integer GetShots() const { return FShots; }

private:
    static TPoint IconCentre(TShortcutList* list, Integer index)
    {
        return Centre(list->GetIconRect(list->GetItems()->GetItem(index), false));
    }
    void MoveTo(TControl* control, TPoint client)
    {
        const TPoint p = control->ClientToScreen(client);
        FBackend.MoveTo(p.X, p.Y);
        FBackend.RunUntilIdle();
    }
    void DragTo(TControl* control, TPoint client)
    {
        const TPoint p = control->ClientToScreen(client);
        FBackend.DragTo(p.X, p.Y);
        FBackend.RunUntilIdle();
    }
    void ClickAt(TControl* control, TPoint client)
    {
        MoveTo(control, client);
        FBackend.Press();
        FBackend.RunUntilIdle();
        FBackend.Release();
        FBackend.RunUntilIdle();
    }
    void ScrollDown(TShortcutList* list, Integer clicks)
    {
        TControl* arrow = list->GetDownButton();
        if (arrow == nullptr || !arrow->GetVisible())
            throw Exception(list->GetName() + " shows no down arrow to scroll with");
        for (Integer i = 0; i < clicks; ++i)
            ClickAt(arrow, {arrow->GetWidth() / 2, arrow->GetHeight() / 2});
    }
    // Presses on an item and moves five pixels: the item drag begins.
    void StartItemDrag(TShortcutList* list, Integer index)
    {
        const TPoint at = IconCentre(list, index);
        MoveTo(list, at);
        FBackend.Press();
        FBackend.RunUntilIdle();
        DragTo(list, {at.X, at.Y + 5});
    }
    void ReorderWithin(TShortcutList* list, Integer index, Integer below)
    {
        StartItemDrag(list, index);
        const TRect r = list->GetItemRect(list->GetItems()->GetItem(below));
        DragTo(list, {r.Left + 4, r.Bottom + list->GetItemGap() / 2});
        Shot("reordering", "the drop marker shows where the item will go");
        FBackend.Release();
        FBackend.RunUntilIdle();
    }
    // The bar opens a tab an item drag rests on for 200 ms, with its roll.
    void DragToOtherSheet(TShortcutList* list, Integer index, Integer sheet)
    {
        TLaunchdeck* bar = FForm.Bar;
        StartItemDrag(list, index);
        DragTo(bar, Centre(bar->GetGroupRect(sheet)));
        // The bar's timer opens the tab after 200 ms; the moving clock lets
        // the roll it starts run its course.
        FBackend.Advance(250);
        TShortcutList* target = bar->GetSheet(sheet)->GetShortcutList();
        const TRect first = target->GetItemRect(target->GetItems()->GetItem(0));
        DragTo(target, {first.Left + 4, first.Bottom + target->GetItemGap() / 2});
        Shot("resting-drag", "the drag rested on the Network tab, which rolled open; the marker shows the drop");
        FBackend.Release();
        FBackend.RunUntilIdle();
    }
    // A right click on the tab shows the bar's menu; its Rename opens the editor.
    void RenameTabByMenu(Integer tab)
    {
        TPopupMenu* menu = FForm.TabMenu;
        FBackend.Script([this, menu] {
            Shot("tab-menu", "a right click on the Devices tab: its menu offers Rename");
            RECT r;
            GetWindowRect(menu->GetWindowHandle(), r);
            FBackend.Click(r.Left + 20, r.Top + TPopupMenu::ItemHeight / 2);
        });
        const TPoint p = FForm.Bar->ClientToScreen(Centre(FForm.Bar->GetGroupRect(tab)));
        FBackend.Click(p.X, p.Y, TPointerButton::Right);
        FBackend.RunUntilIdle();
        if (!FBackend.ScriptDone() || FForm.Bar->GetCaptionEdit() == nullptr)
            throw Exception("the tab's menu did not open the caption editor");
    }
    // The editor opens with the caret before the old caption: delete it, type anew.
    void ReplaceEditorText(const std::string& old, const std::string& text)
    {
        FBackend.Key(VK_HOME);
        for (size_t i = 0; i < old.size(); ++i)
            FBackend.Key(VK_DELETE);
        FBackend.Type(text);
    }
    // Drags an item onto a tab and lets go at once: the bar takes the drop.
    void DropOnTab(TShortcutList* list, Integer index, Integer tab)
    {
        StartItemDrag(list, index);
        DragTo(FForm.Bar, Centre(FForm.Bar->GetGroupRect(tab)));
        FBackend.Release();
        FBackend.RunUntilIdle();
    }
    void ToggleOption(TCheckBox* button, bool onItem)
    {
        ClickAt(button, {button->GetWidth() / 2, button->GetHeight() / 2});
        TShortcutList* list = FForm.Bar->GetActiveList();
        if (onItem)
            MoveTo(list, IconCentre(list, list->GetTopItem()->GetIndex() + 1));
        else
            MoveTo(FForm.Bar, Centre(FForm.Bar->GetGroupRect(2)));
        std::string name = button->GetCaption();
        for (char& c : name)
            c = c == ' ' ? '-' : char(std::tolower(static_cast<unsigned char>(c)));
        Shot("option-" + name, "the " + button->GetCaption() + " box switches the bar's option and shows it");
    }

    void Shot(const std::string& name, const std::string& what)
    {
        FBackend.RunUntilIdle();
        std::string file = std::to_string(++FShots) + "-" + name + ".png";
        if (FShots < 10)
            file = "0" + file;
        FBackend.SaveWindowShot(FForm.GetHandle(), (FOut / file).string());
        std::printf("%s  %s\n", file.c_str(), what.c_str());
        TStrings* lines = FForm.Log->GetLines();
        // The last line printed may have grown since (a run of moves).
        Integer from = FPrinted;
        if (from > 0 && from <= lines->Count() && lines->Get(from - 1) != FLastPrinted)
            --from;
        for (Integer i = from; i < lines->Count(); ++i)
            std::printf("    %s\n", lines->Get(i).c_str());
        FPrinted = lines->Count();
        FLastPrinted = FPrinted > 0 ? lines->Get(FPrinted - 1) : std::string();
        WriteLog();
    }
    void WriteLog() const
    {
        std::string text;
        TStrings* lines = FForm.Log->GetLines();
        for (Integer i = 0; i < lines->Count(); ++i)
            text += lines->Get(i) + '\n';
        WriteFileAtomically((FOut / "log.txt").string(), text);
    }

    THeadlessBackend& FBackend;
    TLaunchdeckDemoForm& FForm;
    std::filesystem::path FOut;
    Integer FShots = 0;
    Integer FPrinted = 0;
    std::string FLastPrinted;
};

} // namespace

Integer PlayTour(THeadlessBackend& backend, TLaunchdeckDemoForm& form, const std::filesystem::path& out)
{
    TTour tour(backend, form, out);
    tour.Play();
    return tour.GetShots();
}

} // namespace ld::launchdeck
