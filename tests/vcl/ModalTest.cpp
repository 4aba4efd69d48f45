// Modal dialogs: a form class with its own stored form shown with ShowModal
// and closed by Enter, Escape, an accelerator and a click; Tab order inside
// it; the other windows refusing input meanwhile; the window that was active
// before gets its focus back.
#include <cstdlib>
#include <filesystem>

#include "platform/core/ClassRegistry.h"
#include "tests/vcl/FormTestClasses.h"
#include "tests/support/TestOutput.h"
#include "tests/vcl/VclTestSupport.h"

namespace ld::test {
namespace {

std::string OutputPath(const std::string& name)
{
    return test::TestOutputPath(name);
}

class ModalTest : public VclTest {
protected:
    void SetUp() override
    {
        VclTest::SetUp();
        RegisterFormTestClasses();
        Behind = AddProbe("Behind", Bounds(10, 10, 60, 30));
        Behind->SetTabStop(true);
        Backend->RunUntilIdle();
        Behind->SetFocus();
        Backend->RunUntilIdle();
        Dialog = static_cast<TTestDialog*>(CreateComponent(TTestDialog::StaticClass(), nullptr));
        ClearEvents();
    }
    void TearDown() override
    {
        FreeObject(Dialog);
        VclTest::TearDown();
    }
    // Queues input for the modal loop, one step per wait.
    void Then(std::function<void()> step) { Backend->Script(std::move(step)); }
    void Press(Integer vk) { Then([this, vk] { Backend->Key(vk); }); }
    // The control with the focus, by name, as the modal loop sees it.
    void NoteFocus(std::vector<std::string>& seen)
    {
        Then([this, &seen] {
            TWinControl* c = FindControl(GetFocus());
            seen.push_back(c ? c->GetName() : "none");
        });
    }

    TProbe* Behind = nullptr;
    TTestDialog* Dialog = nullptr;
};

TEST_F(ModalTest, EnterClicksTheDefaultButtonWhichEndsTheLoopWithItsResult)
{
    bool behindDisabled = false;
    Then([&] {
        behindDisabled = !IsWindowEnabled(Form->GetHandle());
        Backend->Key(VK_RETURN);
    });
    EXPECT_EQ(Dialog->ShowModal(), mrOk);
    EXPECT_TRUE(Backend->ScriptDone());
    EXPECT_EQ(Dialog->OkClicks, 1);
    EXPECT_TRUE(behindDisabled);
    EXPECT_FALSE(Dialog->GetVisible());
    // The form behind takes input again, with the focus where it was.
    EXPECT_TRUE(IsWindowEnabled(Form->GetHandle()));
    EXPECT_EQ(Screen->GetActiveForm(), Form);
    EXPECT_TRUE(Behind->Focused());
}

TEST_F(ModalTest, EscapeAndTheCancelButtonAndItsAcceleratorEachCancel)
{
    Press(VK_ESCAPE);
    EXPECT_EQ(Dialog->ShowModal(), mrCancel);
    Then([&] {
        TPoint p = Dialog->Cancel->ClientToScreen({10, 10});
        Backend->Click(p.X, p.Y);
    });
    EXPECT_EQ(Dialog->ShowModal(), mrCancel);
    EXPECT_EQ(Dialog->Cancel->Clicks, 2);
    Then([&] { Backend->KeyWith(VK_MENU, 'C'); });
    EXPECT_EQ(Dialog->ShowModal(), mrCancel);
    EXPECT_EQ(Dialog->Cancel->Clicks, 3);
    EXPECT_EQ(Dialog->OkClicks, 0);
}

TEST_F(ModalTest, EnterClicksTheFocusedButtonRatherThanTheDefaultOne)
{
    std::vector<std::string> focus;
    NoteFocus(focus);
    Press(VK_TAB);
    NoteFocus(focus);
    Press(VK_RETURN);
    EXPECT_EQ(Dialog->ShowModal(), mrCancel);
    EXPECT_EQ(focus, (std::vector<std::string>{"Ok", "Cancel"}));
    EXPECT_EQ(Dialog->OkClicks, 0);
    // Shown again, the dialog gives the focus back to its active control. On
    // a control that is no button, Enter is the default button's again.
    NoteFocus(focus);
    Press(VK_TAB);
    NoteFocus(focus);
    Press(VK_RETURN);
    EXPECT_EQ(Dialog->ShowModal(), mrOk);
    EXPECT_EQ(focus, (std::vector<std::string>{"Ok", "Cancel", "Cancel", "First"}));
}

TEST_F(ModalTest, TabAndShiftTabGoRoundInTabOrderThroughContainers)
{
    std::vector<std::string> focus;
    NoteFocus(focus);
    for (int i = 0; i < 4; ++i) {
        Press(VK_TAB);
        NoteFocus(focus);
    }
    for (int i = 0; i < 2; ++i) {
        Then([this] { Backend->KeyWith(VK_SHIFT, VK_TAB); });
        NoteFocus(focus);
    }
    Press(VK_ESCAPE);
    Dialog->ShowModal();
    // The stored tab order puts the buttons first; the group itself is no tab stop.
    EXPECT_EQ(focus, (std::vector<std::string>{"Ok", "Cancel", "First", "Second", "Ok", "Second", "First"}));
}

TEST_F(ModalTest, AltWithALetterReachesContainersAndWindowlessControls)
{
    auto* label = new TTestLabel(Dialog);
    label->SetCaption("&Last:");
    label->SetBounds(240, 20, 60, 13);
    label->FocusControl = Dialog->Second;
    label->SetParent(Dialog);
    std::vector<std::string> focus;
    Then([this] { Backend->KeyWith(VK_MENU, 'L'); });
    NoteFocus(focus);
    Then([this] { Backend->KeyWith(VK_MENU, 'I'); });
    NoteFocus(focus);
    Press(VK_ESCAPE);
    Dialog->ShowModal();
    EXPECT_EQ(focus, (std::vector<std::string>{"Second", "First"}));
    EXPECT_EQ(Dialog->Cancel->Clicks, 1);
}

TEST_F(ModalTest, ClicksOnOtherWindowsAreRefusedWhileTheDialogIsUp)
{
    bool stillModal = false;
    Then([&] {
        TPoint p = Behind->ClientToScreen({5, 5});
        Backend->Click(p.X, p.Y);
    });
    Then([&] {
        stillModal = Dialog->GetVisible();
        Backend->Key(VK_ESCAPE);
    });
    EXPECT_EQ(Dialog->ShowModal(), mrCancel);
    EXPECT_TRUE(stillModal);
    for (const std::string& e : Events())
        EXPECT_EQ(e.find("Behind.Mouse"), std::string::npos) << e;
    // Afterwards they take clicks again.
    ClickOn(Behind, 5, 5);
    EXPECT_NE(std::find(Events().begin(), Events().end(), "Behind.MouseDown 0 5,5"), Events().end());
}

TEST_F(ModalTest, TheDialogIsCentredInItsDialogFrame)
{
    RECT window{};
    Then([&] {
        GetWindowRect(Dialog->GetHandle(), window);
        Backend->SaveWindowShot(Dialog->GetHandle(), OutputPath("modal-dialog.png"));
        Backend->Key(VK_ESCAPE);
    });
    Dialog->ShowModal();
    // A 3-pixel dialog frame and a 19-pixel caption around the stored client size.
    EXPECT_EQ(window.Width(), 403 + 6);
    EXPECT_EQ(window.Height(), 189 + 6 + 19);
    EXPECT_EQ(window.Left, (1024 - 409) / 2);
    EXPECT_EQ(window.Top, (768 - 214) / 2);
}

TEST_F(ModalTest, OnCloseDecidesAndAFailureInItIsReportedWithoutClosing)
{
    int closes = 0;
    Dialog->SetOnClose(TCloseEvent::Lambda([&](TObject*, TCloseAction& action) {
        if (++closes == 1)
            throw EConvertError("'x' is not a valid integer value");
        if (closes == 2)
            action = caNone;
    }));
    const Integer reports = Application->GetExceptionCount();
    bool openAfterFailure = false, openAfterRefusal = false;
    Press(VK_ESCAPE);
    Then([&] {
        openAfterFailure = Dialog->GetVisible();
        Backend->Key(VK_ESCAPE);
    });
    Then([&] {
        openAfterRefusal = Dialog->GetVisible();
        Backend->Key(VK_RETURN);
    });
    EXPECT_EQ(Dialog->ShowModal(), mrOk);
    EXPECT_TRUE(openAfterFailure);
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_EQ(Application->GetExceptionCount(), reports + 1);
    EXPECT_EQ(closes, 3);
}

TEST_F(ModalTest, ACloseActionOfFreeReleasesTheDialogAfterTheLoop)
{
    TTestDialog::Destroyed = 0;
    Dialog->SetOnClose(TCloseEvent::Lambda([](TObject*, TCloseAction& action) { action = caFree; }));
    Press(VK_ESCAPE);
    EXPECT_EQ(Dialog->ShowModal(), mrCancel);
    Backend->RunUntilIdle();
    EXPECT_EQ(TTestDialog::Destroyed, 1);
    Dialog = nullptr;
}

} // namespace
} // namespace ld::test
