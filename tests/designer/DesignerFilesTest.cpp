// The designer's files and frames through real input: the title and its star,
// the question about unsaved changes (Yes, No, Cancel) on closing and opening,
// a save that fails, opening a form at its stored place, the recent files,
// the designed form moved by its frame and closed by its close box, and the
// palette's choice.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "apps/designer/DesignerWindow.h"
#include "apps/designer/RecentFiles.h"
#include "host/DesignHost.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/stdctrls/Dialogs.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/TickSource.h"
#include "platform/win/Window.h"
#include "tests/host/HostTestClasses.h"

namespace ld::test {
namespace {

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class DesignerFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TickSource::UseSimulatedClock(10000);
        Backend = std::make_unique<THeadlessBackend>();
        Host = std::make_unique<TDesignHost>();
        RegisterComponents("Probes", {TProbe::StaticClass()});
        Dir = std::filesystem::temp_directory_path() / ("designer-files-" + std::to_string(::getpid()));
        std::filesystem::create_directories(Dir);
        Window = std::make_unique<TDesignerWindow>(Host->GetRegistry(),
                                                   std::make_unique<THostFormDesigner>(Host->GetRegistry()), "");
        Window->SetRecentFile((Dir / "config" / "recent").string());
        Backend->RunUntilIdle();
    }
    void TearDown() override
    {
        Window.reset();
        Host.reset();
        Backend->RunUntilIdle();
        Backend.reset();
        TickSource::UseMonotonicClock();
        std::filesystem::remove_all(Dir);
    }

    THostFormDesigner& Designer() { return Window->Designer(); }
    std::string Title() { return Window->PaletteForm()->GetCaption(); }
    void Place()
    {
        Designer().CreateComponent(TProbe::StaticClass(), nullptr, {10, 10, 70, 50});
        Backend->RunUntilIdle();
    }
    // The next dialog that comes up: its message is kept, Button pressed.
    void Answer(const std::string& button)
    {
        Backend->Script([this, button] {
            TCustomForm* dialog = Screen->GetActiveForm();
            ASSERT_TRUE(dialog != nullptr && dialog->GetFormState().Contains(fsModal)) << "no dialog for " << button;
            if (auto* text = dynamic_cast<TLabel*>(dialog->FindComponent("Message")))
                Messages.push_back(text->GetCaption());
            auto* control = dynamic_cast<TControl*>(dialog->FindComponent(button));
            ASSERT_NE(control, nullptr) << button;
            const TPoint p = control->ClientToScreen({control->GetWidth() / 2, control->GetHeight() / 2});
            Backend->Click(p.X, p.Y);
        });
    }

    std::unique_ptr<THeadlessBackend> Backend;
    std::unique_ptr<TDesignHost> Host;
    std::unique_ptr<TDesignerWindow> Window;
    std::filesystem::path Dir;
    std::vector<std::string> Messages;
};

TEST_F(DesignerFilesTest, ClosingWithChangesAsksAndCancelKeepsTheSession)
{
    EXPECT_EQ(Title(), "Launchdeck Designer - Form1");
    Place();
    EXPECT_EQ(Title(), "Launchdeck Designer - Form1*");

    // The close box of the palette window, then of the designed form: Cancel keeps all.
    for (HWND box : {Window->PaletteForm()->GetHandle(), Designer().GetForm()->GetHandle()}) {
        Answer("Cancel");
        PostMessage(box, WM_CLOSE, 0, 0);
        Backend->RunUntilIdle();
        EXPECT_TRUE(Window->PaletteForm()->GetVisible());
        EXPECT_TRUE(IsWindowVisible(Designer().GetForm()->GetHandle()));
        EXPECT_EQ(Designer().GetForm()->GetControlCount(), 1);
    }
    EXPECT_EQ(Messages, (std::vector<std::string>{"Save changes to Form1?", "Save changes to Form1?"}));

    // Yes on a form without a file asks for one, saves, then closes.
    const std::string file = (Dir / "Closed.dfm").string();
    Answer("Yes");
    Backend->Script([&] {
        Backend->KeyWith(VK_CONTROL, 'A');
        for (char c : file)
            InjectKey(0xBA, true, c), InjectKey(0xBA, false);
        Backend->Key(VK_RETURN);
    });
    PostMessage(Window->PaletteForm()->GetHandle(), WM_CLOSE, 0, 0);
    Backend->RunUntilIdle();
    EXPECT_FALSE(Window->PaletteForm()->GetVisible());
    EXPECT_EQ(ReadAll(file), Designer().Save(false));
    EXPECT_EQ(Title(), "Launchdeck Designer - " + file);
}

TEST_F(DesignerFilesTest, AFailedSaveSaysWhyAndKeepsFileAndSession)
{
    Place();
    // Into a folder that is a file: the system's reason, nothing written.
    const std::filesystem::path notAFolder = Dir / "plain";
    std::ofstream(notAFolder) << "old";
    Answer("OK");
    EXPECT_FALSE(Window->SaveTo((notAFolder / "Form1.dfm").string(), false));
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0], "Cannot create file " + (notAFolder / "Form1.dfm").string() + ": Not a directory");
    EXPECT_EQ(Window->GetStatus(), Messages[0]);
    // Over a folder: the folder and the session stay as they were, with no file left behind.
    const std::filesystem::path folder = Dir / "Taken.dfm";
    std::filesystem::create_directories(folder / "inside");
    Answer("OK");
    EXPECT_FALSE(Window->SaveTo(folder.string(), true));
    EXPECT_EQ(Messages.back(), "Cannot create file " + folder.string() + ": Is a directory");
    EXPECT_TRUE(std::filesystem::is_directory(folder / "inside"));
    EXPECT_EQ(ReadAll(notAFolder), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir), {}), 2) << "no temporary file left";
    EXPECT_TRUE(Window->IsModified());
    EXPECT_EQ(Window->GetFileName(), "");
    EXPECT_EQ(Title(), "Launchdeck Designer - Form1*");
}

TEST_F(DesignerFilesTest, OpeningAsksFirstAndShowsTheFormWhereItWasStored)
{
    // A form stored at (300, 200) in the text form.
    THostFormDesigner stored(Host->GetRegistry(), "Stored");
    stored.GetForm()->SetBounds(300, 200, 250, 180);
    stored.GetForm()->SetCaption("");
    stored.CreateComponent(TProbe::StaticClass(), nullptr, {5, 5, 40, 40});
    const std::string file = (Dir / "Stored.dfm").string();
    std::ofstream(file, std::ios::binary) << stored.Save(true);
    std::ofstream(Dir / "Broken.dfm") << "object Broken: TForm\n  Left = \n";

    Place();
    // A file that does not read asks nothing and changes nothing.
    Answer("OK");
    EXPECT_FALSE(Window->OpenFile((Dir / "Broken.dfm").string()));
    EXPECT_EQ(Messages.size(), 1u);
    EXPECT_TRUE(Window->IsModified());
    Answer("Cancel");
    EXPECT_FALSE(Window->OpenFile(file));
    EXPECT_EQ(Designer().GetForm()->GetName(), "Form1");
    Answer("No");
    EXPECT_TRUE(Window->OpenFile(file));
    EXPECT_EQ(Messages.back(), "Save changes to Form1?");
    Backend->RunUntilIdle();
    TCustomForm* form = Designer().GetForm();
    EXPECT_EQ(form->GetName(), "Stored");
    EXPECT_EQ(form->GetBoundsRect(), (TRect{300, 200, 550, 380}));
    EXPECT_EQ(form->GetCaption(), "") << "an opened form keeps its caption";
    EXPECT_FALSE(Window->IsModified());
    EXPECT_TRUE(Window->IsTextForm());
    EXPECT_EQ(Title(), "Launchdeck Designer - " + file);
    EXPECT_EQ(Window->Recent().Entries().front(), std::filesystem::absolute(file).string());

    // Its frame moves and sizes it: Left, Top, Width, Height follow, and that is a change.
    const Integer modified = Designer().GetModifiedCount();
    SetWindowPos(form->GetHandle(), nullptr, 340, 230, 260, 190, SWP_NOZORDER | SWP_NOACTIVATE);
    Backend->RunUntilIdle();
    EXPECT_EQ(form->GetBoundsRect(), (TRect{340, 230, 600, 420}));
    EXPECT_EQ(Designer().GetModifiedCount(), modified + 1);
    EXPECT_NE(Designer().Save(true).find("Left = 340"), std::string::npos);
    // A size typed into the view is one change, not two.
    Designer().SelectComponent(form);
    Window->Sync();
    form->SetWidth(270);
    Designer().Modified();
    Backend->RunUntilIdle();
    EXPECT_EQ(Designer().GetModifiedCount(), modified + 2);
    // Both undone: the form is back where it was stored, its window with it,
    // and that move of the window is no new change that ends the redo.
    Designer().Undo();
    Designer().Undo();
    Backend->RunUntilIdle();
    EXPECT_EQ(Designer().Save(true), ReadAll(file));
    EXPECT_EQ(form->GetBoundsRect(), (TRect{300, 200, 550, 380}));
    EXPECT_TRUE(Designer().CanRedo());
    EXPECT_TRUE(Window->IsModified());
}

TEST_F(DesignerFilesTest, RecentFilesToleratesWhatItCannotUse)
{
    const std::string longLine(TRecentFiles::MaxPathLength + 1, 'x');
    EXPECT_EQ(TRecentFiles::Parse("/a.dfm\r\n\n/b.dfm\n/a.dfm\nbad\x01line\n" + longLine + "\n/c.dfm"),
              (std::vector<std::string>{"/a.dfm", "/b.dfm", "/c.dfm"}));
    std::string many;
    for (int i = 0; i < 20; ++i)
        many += "/f" + std::to_string(i) + "\n";
    EXPECT_EQ(TRecentFiles::Parse(many).size(), TRecentFiles::MaxEntries);

    const std::string file = (Dir / "config" / "recent").string();
    TRecentFiles recent(file);
    recent.Add("/x/one.dfm");
    recent.Add("/x/two.dfm");
    recent.Add("/x/one.dfm");
    EXPECT_EQ(TRecentFiles(file).Entries(), (std::vector<std::string>{"/x/one.dfm", "/x/two.dfm"}));
    // A list that cannot be written is kept for the session.
    TRecentFiles unwritable((Dir / "config" / "recent" / "under-a-file").string());
    unwritable.Add("/x/three.dfm");
    EXPECT_EQ(unwritable.Entries().size(), 1u);
}

TEST_F(DesignerFilesTest, PaletteChoiceIsToldAndTakenBackByEscapeOrTheArrow)
{
    TComponentPalette* palette = Window->Palette();
    auto clickIn = [&](const TRect& r) {
        const TPoint p = palette->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
        Backend->Click(p.X, p.Y);
        Backend->RunUntilIdle();
    };
    // Resting on a button names its class.
    const TPoint over = palette->ClientToScreen({palette->ButtonRect(0).Left + 5, palette->ButtonRect(0).Top + 5});
    Backend->MoveTo(over.X, over.Y);
    Backend->Advance(TComponentPalette::HintPause + 10);
    EXPECT_EQ(palette->GetHintText(), "Probe");
    EXPECT_NE(palette->GetHintWindow(), nullptr);

    clickIn(palette->ButtonRect(0));
    EXPECT_EQ(palette->GetHintWindow(), nullptr);
    EXPECT_EQ(Designer().GetPlacingClass(), TProbe::StaticClass());
    EXPECT_EQ(Window->GetStatus(), "A click on the form places a TProbe. Escape or the arrow button takes the choice back.");
    Window->PaletteForm()->SetFocus();
    Backend->Key(VK_ESCAPE);
    Backend->RunUntilIdle();
    EXPECT_EQ(Designer().GetPlacingClass(), nullptr);
    clickIn(palette->ButtonRect(0));
    clickIn(palette->ArrowRect());
    EXPECT_EQ(Designer().GetPlacingClass(), nullptr);
    EXPECT_EQ(palette->GetChosenClass(), nullptr);
}

} // namespace
} // namespace ld::test
