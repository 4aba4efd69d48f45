#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <sys/wait.h>

#include "apps/launchdeck/LaunchdeckDemoForm.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/win/TickSource.h"
#include "tests/support/TestOutput.h"

using namespace ld;
using ld::launchdeck::TLaunchdeckDemoForm;

namespace {

std::filesystem::path OutputFolder(const std::string& name)
{
    std::filesystem::path path = test::TestOutputDir() / name;
    std::filesystem::remove_all(path);
    return path;
}

struct TRun {
    int Status = -1;
    std::string Output;
};

// Runs the program with Arguments, its standard output and error together.
TRun RunProgram(const std::string& arguments)
{
    TRun run;
    const std::string command = std::string(LD_LAUNCHDECK_PROGRAM) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.Output.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> Captions(TShortcutList* list)
{
    std::vector<std::string> result;
    for (Integer i = 0; i < list->GetItems()->GetCount(); ++i)
        result.push_back(list->GetItems()->GetItem(i)->GetCaption());
    return result;
}

class LaunchdeckDemoFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TickSource::UseSimulatedClock(10000);
        Backend = std::make_unique<THeadlessBackend>();
    }
    void TearDown() override
    {
        Backend.reset();
        TickSource::UseMonotonicClock();
    }
    std::unique_ptr<THeadlessBackend> Backend;
};

} // namespace

TEST_F(LaunchdeckDemoFormTest, TheStoredFormBindsEveryFieldAndHandlerAndHoldsItsItems)
{
    auto* form = Application->CreateForm<TLaunchdeckDemoForm>();
    form->Show();
    Backend->RunUntilIdle();
    EXPECT_EQ(form->GetCaption(), "Launchdeck demo");
    ASSERT_NE(form->Bar, nullptr);
    ASSERT_EQ(form->Bar->GetSheetCount(), 4);
    EXPECT_EQ(form->Bar->GetActiveSheet(), form->SheetPlaces);
    const std::array<TShortcutList*, 4> lists{form->ListPlaces, form->ListOffice, form->ListDevices, form->ListNetwork};
    for (Integer i = 0; i < 4; ++i) {
        ASSERT_NE(lists[i], nullptr);
        EXPECT_EQ(form->Bar->GetSheet(i)->GetShortcutList(), lists[i]);
        EXPECT_NE(lists[i]->GetLargeImages(), nullptr) << "icons from the theme";
        EXPECT_TRUE(lists[i]->GetOnClick()) << lists[i]->GetName();
        EXPECT_TRUE(lists[i]->GetOnReorder()) << lists[i]->GetName();
    }
    EXPECT_EQ(form->ListOffice->GetStyle(), ssSmallImages);
    EXPECT_EQ(form->ListDevices->GetStyle(), ssLargeImages);
    EXPECT_EQ(Captions(form->ListDevices), (std::vector<std::string>{"Computer", "Printer", "Server"}));
    // The items' stored form 1.7 carries tags and the enabled flag.
    EXPECT_EQ(form->ListPlaces->GetItems()->GetCount(), 10);
    EXPECT_EQ(form->ListPlaces->GetItems()->GetItem(9)->GetTag(), 9);
    EXPECT_EQ(form->ListPlaces->GetItems()->GetItem(9)->GetImageIndex(), 5);
    EXPECT_TRUE(form->ListPlaces->GetItems()->GetItem(9)->GetEnabled());

    // The boxes show the stored options; a click switches one and says so in the log.
    EXPECT_TRUE(form->FlatTabsBox->GetChecked());
    EXPECT_TRUE(form->ButtonTabsBox->GetChecked());
    EXPECT_FALSE(form->HotTabsBox->GetChecked());
    EXPECT_FALSE(form->FullSelectBox->GetChecked());
    const Integer lines = form->GetLogLineCount();
    const TPoint box = form->HotTabsBox->ClientToScreen({6, 8});
    Backend->Click(box.X, box.Y);
    Backend->RunUntilIdle();
    EXPECT_TRUE(form->HotTabsBox->GetChecked());
    EXPECT_TRUE(form->Bar->GetOptions().Contains(soHotTabs));
    ASSERT_EQ(form->GetLogLineCount(), lines + 1);
    EXPECT_EQ(form->Log->GetLines()->Get(lines),
              "HotTabsBox.OnClick options [soFlatTabs, soButtonTabs, soHotTabs, soAnimatedSheets]");
    form->HotTabsBox->SetChecked(false);
    EXPECT_FALSE(form->Bar->GetOptions().Contains(soHotTabs));
    form->Free();
}

// F2 and the context menus' Rename open the caption editors; an item dragged
// onto a tab is welcome there, and dropped there it goes to that sheet's list.
TEST_F(LaunchdeckDemoFormTest, CaptionsAreEditedByF2AndByRenameAndTabsTakeDraggedItems)
{
    // The clock moves at every read, so that the roll of an opening sheet ends.
    TickSource::UseSimulatedClock(10000, 1);
    auto* form = Application->CreateForm<TLaunchdeckDemoForm>();
    form->Show();
    Backend->RunUntilIdle();
    TLaunchdeck* bar = form->Bar;
    TShortcutList* places = form->ListPlaces;
    const auto screen = [](TControl* c, TPoint p) { return c->ClientToScreen(p); };
    const auto centre = [](const TRect& r) { return TPoint{r.Left + r.Width() / 2, r.Top + r.Height() / 2}; };
    const auto moveTo = [&](TPoint p) {
        Backend->MoveTo(p.X, p.Y);
        Backend->RunUntilIdle();
    };
    const auto escape = [&] {
        Backend->Key(VK_ESCAPE);
        Backend->RunUntilIdle();
    };
    TShortcutItem* music = places->GetItems()->GetItem(2);

    moveTo(screen(places, centre(places->GetIconRect(music, false))));
    Backend->Key(VK_F2);
    Backend->RunUntilIdle();
    ASSERT_NE(places->GetCaptionEdit(), nullptr) << "F2 on the hot item";
    EXPECT_EQ(places->GetEditItem(), music);
    Backend->Key(VK_F2);   // a second F2 while editing changes nothing
    Backend->RunUntilIdle();
    EXPECT_EQ(bar->GetCaptionEdit(), nullptr);
    escape();
    EXPECT_EQ(places->GetCaptionEdit(), nullptr);

    moveTo(screen(form, {400, 200}));
    Backend->Key(VK_F2);
    Backend->RunUntilIdle();
    ASSERT_NE(bar->GetCaptionEdit(), nullptr) << "F2 with no item hot: the open sheet's tab";
    EXPECT_EQ(bar->GetEditSheet(), form->SheetPlaces);
    escape();

    // Rename from the menu of a closed tab and of an item.
    const auto rename = [&](TPopupMenu* menu, TPoint at) {
        Backend->Script([&] {
            RECT r;
            GetWindowRect(menu->GetWindowHandle(), r);
            Backend->Click(r.Left + 20, r.Top + TPopupMenu::ItemHeight / 2);
        });
        Backend->Click(at.X, at.Y, TPointerButton::Right);
        Backend->RunUntilIdle();
        EXPECT_TRUE(Backend->ScriptDone()) << "the menu did not open";
    };
    rename(form->TabMenu, screen(bar, centre(bar->GetGroupRect(3))));
    ASSERT_NE(bar->GetCaptionEdit(), nullptr);
    EXPECT_EQ(bar->GetEditSheet(), form->SheetNetwork);
    escape();
    rename(form->ItemMenu, screen(places, centre(places->GetIconRect(music, false))));
    ASSERT_NE(places->GetCaptionEdit(), nullptr);
    EXPECT_EQ(places->GetEditItem(), music);
    escape();
    EXPECT_EQ(music->GetCaption(), "Music");

    // An item dragged over a closed tab: the cursor says a drop is possible.
    const TPoint icon = screen(places, centre(places->GetIconRect(music, false)));
    moveTo(icon);
    Backend->Press();
    Backend->RunUntilIdle();
    Backend->DragTo(icon.X, icon.Y + 6);
    Backend->RunUntilIdle();
    const TPoint devices = screen(bar, centre(bar->GetGroupRect(2)));
    Backend->DragTo(devices.X, devices.Y);
    Backend->RunUntilIdle();
    EXPECT_EQ(Backend->GetShownCursor(), Screen->GetCursors(crDrag));
    Backend->Release();
    Backend->RunUntilIdle();
    EXPECT_EQ(Captions(form->ListDevices), (std::vector<std::string>{"Computer", "Printer", "Server", "Music"}));
    EXPECT_EQ(places->GetItems()->GetCount(), 9);
    EXPECT_EQ(bar->GetActiveSheet(), form->SheetDevices) << "the sheet opens to show where the item went";
    form->Free();
}

// The log keeps its last lines only: a long session neither slows down nor
// grows without end.
TEST_F(LaunchdeckDemoFormTest, TheLogKeepsItsLastTenThousandLines)
{
    auto* form = Application->CreateForm<TLaunchdeckDemoForm>();
    const Integer events = TLaunchdeckDemoForm::MaxLogLines + 5;
    for (Integer i = 0; i < events; ++i)
        (i % 2 ? form->ControlExit(form->Bar) : form->ControlEnter(form->Bar));
    TStrings* lines = form->Log->GetLines();
    EXPECT_EQ(lines->Count(), TLaunchdeckDemoForm::MaxLogLines);
    EXPECT_EQ(lines->Get(0), "Bar.OnExit") << "the creation and the first five events are gone";
    EXPECT_EQ(lines->Get(lines->Count() - 1), "Bar.OnEnter");
    EXPECT_EQ(form->Log->GetSelStart(), form->Log->GetTextLen()) << "the caret follows the last line";
    form->Free();
}

TEST(LaunchdeckDemoProgram, TheHeadlessTourExitsZeroWritesItsPicturesAndLogsTheEvents)
{
    const std::filesystem::path out = OutputFolder("launchdeck");
    const TRun run = RunProgram("--headless --out " + out.string());
    ASSERT_EQ(run.Status, 0) << run.Output;
    const char* const pictures[] = {"01-start",          "02-hot-tab",           "03-hot-item",
                                    "04-click-item",     "05-scrolled",          "06-open-by-click",
                                    "07-open-by-key",    "08-reordering",        "09-reordered",
                                    "10-resting-drag",   "11-moved",             "12-tab-menu",
                                    "13-edit-caption",   "14-caption-edited",    "15-edit-item-caption",
                                    "16-item-caption-edited", "17-dropped-on-tab", "18-option-flat-tabs",
                                    "19-option-button-tabs", "20-option-hot-tabs", "21-option-full-select",
                                    "22-end"};
    for (const char* name : pictures) {
        const std::filesystem::path png = out / (std::string(name) + ".png");
        ASSERT_TRUE(std::filesystem::exists(png)) << png;
        EXPECT_EQ(ReadFile(png).substr(0, 8), "\x89PNG\r\n\x1a\n") << png;
    }
    // What the log saw, in the order the tour caused it.
    const std::string log = ReadFile(out / "log.txt");
    const char* const expected[] = {
        "ListPlaces.OnClick 'Pictures'",
        "Bar.OnChanging leaving SheetPlaces\nBar.OnChange now SheetOffice",
        "Bar.OnChanging leaving SheetOffice\nBar.OnChange now SheetDevices",
        "ListDevices.OnReordering 'Computer'",
        "ListDevices.OnReorder 'Computer' now at 2",
        "Bar.OnChanging leaving SheetDevices\nBar.OnChange now SheetNetwork",
        "ListNetwork.OnReorder 'Printer' now at 1",
        "RenameTab.OnClick edits the tab of SheetDevices",
        "LaunchdeckDemoForm.OnKeyDown F2 edits 'Server'",
        "Bar.OnDragDrop 'Shared Music' to the end of SheetPlaces",
        "Bar.OnChanging leaving SheetNetwork",
        "Bar.OnChange now SheetPlaces",
        "FullSelectBox.OnClick options [soHotTabs, soButtonItems, soAnimatedSheets]",
    };
    size_t at = 0;
    for (const char* line : expected) {
        const size_t found = log.find(line, at);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << line << "\n" << log;
        at = found;
    }
}

TEST(LaunchdeckDemoProgram, HeadlessWithoutAnOutputFolderAsksForOne)
{
    const TRun run = RunProgram("--headless");
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Output.find("needs --out DIR"), std::string::npos) << run.Output;
}
