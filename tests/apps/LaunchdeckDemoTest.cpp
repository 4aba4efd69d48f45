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

using namespace ld;
using ld::launchdeck::TLaunchdeckDemoForm;

namespace {

std::filesystem::path OutputFolder(const std::string& name)
{
    const char* dir = std::getenv("LD_TEST_OUTPUT");
    std::filesystem::path path = std::filesystem::path(dir ? dir : "test-output") / name;
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

    // An option button switches its option and says so in the log.
    const Integer lines = form->GetLogLineCount();
    form->HotTabsButton->Click();
    EXPECT_TRUE(form->Bar->GetOptions().Contains(soHotTabs));
    ASSERT_EQ(form->GetLogLineCount(), lines + 1);
    EXPECT_EQ(form->Log->GetLines()->Get(lines),
              "HotTabsButton.OnClick options [soFlatTabs, soButtonTabs, soHotTabs, soAnimatedSheets]");
    form->HotTabsButton->Click();
    EXPECT_FALSE(form->Bar->GetOptions().Contains(soHotTabs));
    form->Free();
}

TEST(LaunchdeckDemoProgram, TheHeadlessTourExitsZeroWritesItsPicturesAndLogsTheEvents)
{
    const std::filesystem::path out = OutputFolder("launchdeck");
    const TRun run = RunProgram("--headless --out " + out.string());
    ASSERT_EQ(run.Status, 0) << run.Output;
    const char* const pictures[] = {"01-start",         "02-hot-tab",          "03-hot-item",
                                    "04-click-item",    "05-scrolled",         "06-open-by-click",
                                    "07-open-by-key",   "08-reordering",       "09-reordered",
                                    "10-resting-drag",  "11-moved",            "12-edit-caption",
                                    "13-caption-edited", "14-edit-item-caption", "15-item-caption-edited",
                                    "16-option-flat-tabs", "17-option-button-tabs", "18-option-hot-tabs",
                                    "19-option-full-select", "20-end"};
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
        "Bar.OnEnter",
        "FullSelectButton.OnClick options [soHotTabs, soButtonItems, soAnimatedSheets]",
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
