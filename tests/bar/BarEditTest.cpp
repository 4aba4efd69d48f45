// Editing a sheet's caption in place, through real input on the simulated
// clock: where the editor goes, what applies and what drops the text, a click
// or an accelerator elsewhere while editing, and sheets removed (or the bar
// freed) while their caption is being edited, with the editor's late message.
#include "tests/bar/BarTestSupport.h"

#include "controls/shared/ShortcutEdit.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"

namespace ld::test {
namespace {

class BarEditTest : public BarTest {
protected:
    // Four sheets on a client of 84 x 300, the first open, and an edit on the
    // form to take the focus. The clock steps at every read, so rolls end.
    TLaunchdeck* EditBar()
    {
        TickSource::SetStep(1);
        TLaunchdeck* bar = AddBar(4, 300);
        Other = new TEdit(Form);
        Other->SetBounds(200, 10, 100, 21);
        Other->SetParent(Form);
        bar->SetActiveSheet(bar->GetSheet(0));
        Backend->RunUntilIdle();
        return bar;
    }
    void Type(const std::string& text)
    {
        Backend->Type(text);
        Backend->RunUntilIdle();
    }
    void Key(Integer vk)
    {
        Backend->Key(vk);
        Backend->RunUntilIdle();
    }
    void ClickAt(TControl* control, TPoint client)
    {
        const TPoint p = control->ClientToScreen(client);
        Backend->Click(p.X, p.Y);
        Backend->RunUntilIdle();
    }
    static TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
    // The screen's pixels of tab Index.
    static std::unique_ptr<TSurface> TabPixels(THeadlessBackend& backend, TLaunchdeck* bar, Integer index)
    {
        const TRect r = bar->GetGroupRect(index);
        const TPoint p = bar->ClientToScreen({r.Left, r.Top});
        return backend.Capture({p.X, p.Y, p.X + r.Width(), p.Y + r.Height()});
    }
    static bool SamePixels(const TSurface& a, const TSurface& b)
    {
        if (a.Width() != b.Width() || a.Height() != b.Height())
            return false;
        for (Integer y = 0; y < a.Height(); ++y)
            for (Integer x = 0; x < a.Width(); ++x)
                if (a.Pixel(x, y) != b.Pixel(x, y))
                    return false;
        return true;
    }

    TEdit* Other = nullptr;
};

TEST_F(BarEditTest, TheEditorCoversTheTabWithTheCaptionAndTheFocus)
{
    TLaunchdeck* bar = EditBar();
    TShortcutSheet* sheet = bar->GetSheet(2);
    sheet->EditCaption();
    Backend->RunUntilIdle();
    TShortcutEdit* edit = bar->GetCaptionEdit();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(bar->GetEditSheet(), sheet);
    EXPECT_EQ(edit->Owner(), bar);
    EXPECT_EQ(edit->GetParent(), bar);
    EXPECT_EQ(edit->GetText(), "Sheet2");
    EXPECT_EQ(edit->GetBoundsRect(), bar->GetGroupRect(2));
    EXPECT_TRUE(edit->Focused());
    Backend->SaveWindowShot(bar->GetHandle(), OutputPath("bar_caption_editor.png"));

    // A second editor is refused while this one is open, for any sheet.
    bar->EditCaption(bar->GetSheet(1));
    sheet->EditCaption();
    EXPECT_EQ(bar->GetCaptionEdit(), edit);
    EXPECT_EQ(bar->GetEditSheet(), sheet);
}

TEST_F(BarEditTest, ASheetWithoutATabOnTheBarIsNotEdited)
{
    TLaunchdeck* bar = EditBar();
    bar->GetSheet(3)->SetVisible(false);
    bar->EditCaption(bar->GetSheet(3));
    bar->EditCaption(nullptr);
    auto* loose = new TShortcutSheet(Form);
    loose->EditCaption();
    bar->EditCaption(loose);
    EXPECT_EQ(bar->GetCaptionEdit(), nullptr);
    EXPECT_EQ(bar->GetEditSheet(), nullptr);
    delete loose;
}

TEST_F(BarEditTest, ABarThatCannotTakeTheFocusKeepsNoEditor)
{
    TLaunchdeck* bar = EditBar();
    bar->SetEnabled(false);
    EXPECT_THROW(bar->EditCaption(bar->GetSheet(1)), EInvalidOperation);
    EXPECT_EQ(bar->GetCaptionEdit(), nullptr);
    EXPECT_EQ(bar->GetEditSheet(), nullptr);
    bar->SetEnabled(true);
    bar->EditCaption(bar->GetSheet(1));
    EXPECT_NE(bar->GetCaptionEdit(), nullptr);
}

TEST_F(BarEditTest, ReturnAppliesTheTextAndRepaintsTheTab)
{
    TLaunchdeck* bar = EditBar();
    LogChanges(bar);
    const auto before = TabPixels(*Backend, bar, 1);
    const Integer children = bar->GetControlCount();
    bar->EditCaption(bar->GetSheet(1));
    Backend->RunUntilIdle();
    Type("New ");
    Key(VK_RETURN);
    EXPECT_EQ(bar->GetSheet(1)->GetCaption(), "New Sheet1");
    EXPECT_EQ(bar->GetCaptionEdit(), nullptr);
    EXPECT_EQ(bar->GetEditSheet(), nullptr);
    EXPECT_EQ(bar->GetControlCount(), children) << "the editor is gone";
    EXPECT_TRUE(Events.empty()) << "editing opens no sheet";
    const auto after = TabPixels(*Backend, bar, 1);
    EXPECT_FALSE(SamePixels(*before, *after));
    Repaint(bar);
    EXPECT_TRUE(SamePixels(*after, *TabPixels(*Backend, bar, 1))) << "the tab was repainted with its new caption";
}

TEST_F(BarEditTest, EscapeDropsTheTextAndLeavesTheTabAsItWas)
{
    TLaunchdeck* bar = EditBar();
    const auto before = TabPixels(*Backend, bar, 2);
    bar->EditCaption(bar->GetSheet(2));
    Backend->RunUntilIdle();
    Type("Changed");
    Key(VK_ESCAPE);
    EXPECT_EQ(bar->GetSheet(2)->GetCaption(), "Sheet2");
    EXPECT_EQ(bar->GetCaptionEdit(), nullptr);
    EXPECT_TRUE(SamePixels(*before, *TabPixels(*Backend, bar, 2)));
}

// The editor keeps Return and Escape from the form's Default and Cancel
// buttons; with no editor open they are the buttons' again.
TEST_F(BarEditTest, ReturnAndEscapeEndTheEditorAndClickNoButton)
{
    TLaunchdeck* bar = EditBar();
    AddDialogButtons();
    bar->EditCaption(bar->GetSheet(1));
    Backend->RunUntilIdle();
    Type("Dropped ");
    Key(VK_ESCAPE);
    EXPECT_EQ(bar->GetCaptionEdit(), nullptr);
    ClickAt(Other, {5, 5});
    EXPECT_EQ(bar->GetSheet(1)->GetCaption(), "Sheet1") << "Escape dropped the text for good";

    bar->EditCaption(bar->GetSheet(2));
    Backend->RunUntilIdle();
    Type("Kept ");
    Key(VK_RETURN);
    EXPECT_EQ(bar->GetCaptionEdit(), nullptr);
    EXPECT_EQ(bar->GetSheet(2)->GetCaption(), "Kept Sheet2");
    EXPECT_TRUE(Clicks.empty());

    Other->SetFocus();
    Key(VK_RETURN);
    Key(VK_ESCAPE);
    EXPECT_EQ(Clicks, (std::vector<std::string>{"OK", "Cancel"}));
}

TEST_F(BarEditTest, FocusLeavingTheEditorApplies)
{
    TLaunchdeck* bar = EditBar();
    bar->EditCaption(bar->GetSheet(0));
    Backend->RunUntilIdle();
    Type("My ");
    ClickAt(Other, {5, 5});
    EXPECT_TRUE(Other->Focused());
    EXPECT_EQ(bar->GetSheet(0)->GetCaption(), "My Sheet0");
    EXPECT_EQ(bar->GetCaptionEdit(), nullptr);
}

TEST_F(BarEditTest, AClickOnAnotherTabAppliesTheTextThenRollsThatSheetOpen)
{
    TLaunchdeck* bar = EditBar();
    LogChanges(bar);
    bar->EditCaption(bar->GetSheet(0));
    Backend->RunUntilIdle();
    Type("First ");
    // The bar does not take the focus: the press ends editing by cancel mode,
    // and the editor is gone before the tabs slide.
    bar->SetOnChanging(TSheetChangingEvent::Lambda([this, bar](TObject*, bool&) {
        Events.push_back("changing");
        EXPECT_EQ(bar->GetSheet(0)->GetCaption(), "First Sheet0") << "applied when the press came";
    }));
    ClickAt(bar, Centre(bar->GetGroupRect(2)));
    EXPECT_EQ(bar->GetSheet(0)->GetCaption(), "First Sheet0");
    EXPECT_EQ(bar->GetCaptionEdit(), nullptr);
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(2));
    EXPECT_EQ(Events, (std::vector<std::string>{"changing", "change"}));
}

TEST_F(BarEditTest, AClickOnTheOpenSheetApplies)
{
    TLaunchdeck* bar = EditBar();
    bar->EditCaption(bar->GetSheet(3));
    Backend->RunUntilIdle();
    Type("x");
    ClickAt(bar->GetActiveSheet(), {20, 20});
    EXPECT_EQ(bar->GetSheet(3)->GetCaption(), "xSheet3");
    EXPECT_EQ(bar->GetCaptionEdit(), nullptr);
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(0));
}

TEST_F(BarEditTest, AnAcceleratorTypedIntoTheEditorAppliesTheTextAndOpensItsSheet)
{
    TLaunchdeck* bar = EditBar();
    bar->GetSheet(3)->SetCaption("&Internet");
    LogChanges(bar);
    bar->EditCaption(bar->GetSheet(1));
    Backend->RunUntilIdle();
    Type("Edited ");
    Backend->KeyWith(VK_MENU, 'I');
    Backend->RunUntilIdle();
    EXPECT_EQ(bar->GetSheet(1)->GetCaption(), "Edited Sheet1");
    EXPECT_EQ(bar->GetCaptionEdit(), nullptr);
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(3));
    EXPECT_EQ(Events, (std::vector<std::string>{"changing", "change"}));
}

TEST_F(BarEditTest, AnAcceleratorThatOnChangingRefusesLeavesTheEditorOpen)
{
    TLaunchdeck* bar = EditBar();
    bar->GetSheet(3)->SetCaption("&Internet");
    LogChanges(bar);
    Allow = false;
    bar->EditCaption(bar->GetSheet(1));
    Backend->RunUntilIdle();
    TShortcutEdit* edit = bar->GetCaptionEdit();
    Type("Edited ");
    Backend->KeyWith(VK_MENU, 'I');
    Backend->RunUntilIdle();
    EXPECT_EQ(Events, (std::vector<std::string>{"changing"}));
    EXPECT_EQ(bar->GetActiveSheet(), bar->GetSheet(0));
    EXPECT_EQ(bar->GetCaptionEdit(), edit);
    EXPECT_FALSE(edit->IsFinished());
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(bar->GetSheet(1)->GetCaption(), "Sheet1");
    Type("x");
    Key(VK_RETURN);
    EXPECT_EQ(bar->GetSheet(1)->GetCaption(), "Edited xSheet1");
}

TEST_F(BarEditTest, EditingAScrolledAwayTabScrollsItIntoViewFirst)
{
    TLaunchdeck* bar = AddBar(12, 150);
    bar->SetActiveSheet(bar->GetSheet(0));
    Backend->RunUntilIdle();
    auto inView = [bar](Integer i) {
        const TRect r = bar->GetGroupRect(i);
        return r.Top >= 0 && r.Bottom <= bar->GetClientHeight();
    };
    Integer hidden = 0;
    while (hidden < 12 && inView(hidden))
        ++hidden;
    ASSERT_LT(hidden, 12) << "some tab starts out of view";
    const Integer offset = bar->GetScrollOffset();
    bar->EditCaption(bar->GetSheet(hidden));
    Backend->RunUntilIdle();
    ASSERT_NE(bar->GetCaptionEdit(), nullptr);
    EXPECT_NE(bar->GetScrollOffset(), offset);
    EXPECT_TRUE(inView(hidden));
    EXPECT_EQ(bar->GetCaptionEdit()->GetBoundsRect(), bar->GetGroupRect(hidden));
}

// ---- removal while editing -------------------------------------------------------------

TEST_F(BarEditTest, FreeingTheEditedSheetFromATimerFreesTheEditorAndDropsTheText)
{
    TLaunchdeck* bar = EditBar();
    bar->EditCaption(bar->GetSheet(2));
    Backend->RunUntilIdle();
    Type("lost");
    TShortcutSheet* doomed = bar->GetSheet(2);
    TShortcutSheet* kept = bar->GetSheet(1);
    const Integer children = bar->GetControlCount();
    auto* timer = new TTimer(Form);
    timer->SetInterval(50);
    timer->SetOnTimer(TNotifyEvent::Lambda([&](TObject*) {
        timer->SetEnabled(false);
        delete doomed;
    }));
    Backend->Advance(60);
    Backend->RunUntilIdle();
    EXPECT_EQ(bar->GetSheetCount(), 3);
    EXPECT_EQ(bar->GetCaptionEdit(), nullptr);
    EXPECT_EQ(bar->GetEditSheet(), nullptr);
    EXPECT_EQ(bar->GetControlCount(), children - 2) << "neither the sheet nor the editor is left";
    // Keys go nowhere near the freed editor, and nothing else took the text.
    Type("more");
    Key(VK_RETURN);
    EXPECT_EQ(kept->GetCaption(), "Sheet1");
    EXPECT_EQ(bar->GetSheet(2)->GetCaption(), "Sheet3");
}

TEST_F(BarEditTest, TheEditedSheetRemovedByOnChangingTakesItsEditorAndTextAlong)
{
    TLaunchdeck* bar = EditBar();
    bar->GetSheet(3)->SetCaption("&Internet");
    bar->EditCaption(bar->GetSheet(1));
    Backend->RunUntilIdle();
    Type("gone ");
    TShortcutSheet* doomed = bar->GetSheet(1);
    // OnChanging, asked for the accelerator typed into the editor, takes the
    // edited sheet off the bar, which frees the editor while its own key
    // handler is still running. The editor is still open then: the change
    // might yet be refused.
    bar->SetOnChanging(TSheetChangingEvent::Lambda([&](TObject*, bool&) {
        ASSERT_NE(bar->GetCaptionEdit(), nullptr);
        EXPECT_FALSE(bar->GetCaptionEdit()->IsFinished());
        doomed->SetLaunchdeck(nullptr);
        EXPECT_EQ(bar->GetCaptionEdit(), nullptr);
        EXPECT_EQ(bar->GetEditSheet(), nullptr);
    }));
    Backend->KeyWith(VK_MENU, 'I');
    Backend->RunUntilIdle();
    EXPECT_EQ(doomed->GetCaption(), "Sheet1") << "the text of a removed sheet is dropped";
    EXPECT_EQ(bar->GetSheetCount(), 3);
    EXPECT_EQ(bar->GetCaptionEdit(), nullptr);
    for (Integer i = 0; i < bar->GetSheetCount(); ++i)
        EXPECT_EQ(bar->GetSheet(i)->GetCaption().find("gone"), std::string::npos);
    MSG msg;
    EXPECT_FALSE(PeekMessage(msg, nullptr, SEM_FINISHED, SEM_FINISHED, PM_NOREMOVE)) << "a message of the freed editor";
    delete doomed;
}

TEST_F(BarEditTest, AMessageFromAnEditorThatIsNotCurrentChangesNothing)
{
    TLaunchdeck* bar = EditBar();
    bar->EditCaption(bar->GetSheet(0));
    Backend->RunUntilIdle();
    TShortcutEdit* edit = bar->GetCaptionEdit();
    Type("x");
    auto* stranger = new TShortcutEdit(Form);
    PostMessage(bar->GetHandle(), SEM_FINISHED, 1, reinterpret_cast<LPARAM>(stranger));
    PostMessage(bar->GetHandle(), SEM_FINISHED, 1, 0);
    Backend->RunUntilIdle();
    EXPECT_EQ(bar->GetCaptionEdit(), edit);
    EXPECT_EQ(bar->GetSheet(0)->GetCaption(), "Sheet0");
    // Only the low byte of wParam counts: 0x100 discards.
    PostMessage(bar->GetHandle(), SEM_FINISHED, 0x100, reinterpret_cast<LPARAM>(edit));
    Backend->RunUntilIdle();
    EXPECT_EQ(bar->GetCaptionEdit(), nullptr);
    EXPECT_EQ(bar->GetSheet(0)->GetCaption(), "Sheet0");
    delete stranger;
}

TEST_F(BarEditTest, AnEditorFreedByOthersIsForgotten)
{
    TLaunchdeck* bar = EditBar();
    bar->EditCaption(bar->GetSheet(1));
    Backend->RunUntilIdle();
    delete bar->GetCaptionEdit();
    Backend->RunUntilIdle();
    EXPECT_EQ(bar->GetCaptionEdit(), nullptr);
    EXPECT_EQ(bar->GetEditSheet(), nullptr);
    bar->EditCaption(bar->GetSheet(2));
    EXPECT_NE(bar->GetCaptionEdit(), nullptr) << "a new editor opens";
}

TEST_F(BarEditTest, FreeingTheBarWhileEditingLeavesNothingBehind)
{
    TLaunchdeck* bar = EditBar();
    bar->EditCaption(bar->GetSheet(1));
    Backend->RunUntilIdle();
    Type("y");
    bar->GetCaptionEdit()->Finished(true);  // its message arrives at no window
    delete bar;
    Backend->RunUntilIdle();
    MSG msg;
    EXPECT_FALSE(PeekMessage(msg, nullptr, SEM_FINISHED, SEM_FINISHED, PM_NOREMOVE));
    ClickAt(Other, {5, 5});
    EXPECT_TRUE(Other->Focused());
}

} // namespace
} // namespace ld::test
