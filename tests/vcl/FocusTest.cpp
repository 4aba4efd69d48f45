// Focus, tab order and the dialog keys and characters of a form.
#include <algorithm>

#include "tests/vcl/VclTestSupport.h"

namespace ld::test {
namespace {

class FocusTest : public VclTest {
protected:
    void SetUp() override
    {
        VclTest::SetUp();
        A = AddProbe("A", Bounds(10, 10, 50, 30));
        B = AddProbe("B", Bounds(10, 50, 50, 30));
        C = AddProbe("C", Bounds(10, 90, 50, 30));
        for (TProbe* p : {A, B, C})
            p->SetTabStop(true);
        Backend->RunUntilIdle();
        A->SetFocus();
        Backend->RunUntilIdle();
        ClearEvents();
    }
    TProbe *A = nullptr, *B = nullptr, *C = nullptr;
};

TEST_F(FocusTest, SetFocusMakesTheActiveControlWithExitAndEnter)
{
    EXPECT_TRUE(A->Focused());
    EXPECT_EQ(Form->GetActiveControl(), A);
    EXPECT_EQ(Screen->GetActiveControl(), A);
    B->SetFocus();
    EXPECT_TRUE(B->Focused());
    EXPECT_EQ(Events(), (std::vector<std::string>{"A.Exit", "B.Enter"}));
}

TEST_F(FocusTest, TabMovesInTabOrderAndShiftTabBack)
{
    C->SetTabOrder(0);
    Backend->Key(VK_TAB);
    Backend->RunUntilIdle();
    EXPECT_TRUE(B->Focused());
    Backend->KeyWith(VK_SHIFT, VK_TAB);
    Backend->RunUntilIdle();
    EXPECT_TRUE(A->Focused());
    Backend->KeyWith(VK_SHIFT, VK_TAB);
    Backend->RunUntilIdle();
    EXPECT_TRUE(C->Focused());
    // The key itself never reaches the controls.
    for (const std::string& e : Events())
        EXPECT_EQ(e.find("KeyDown 9"), std::string::npos) << e;
}

TEST_F(FocusTest, AFreedWindowedControlLeavesItsParentsTabOrder)
{
    // Freed while still parented: the form must forget it as a windowed
    // control, or Tab and the form's own destruction reach freed memory.
    delete B;
    B = nullptr;
    EXPECT_EQ(Form->GetControlCount(), 2);
    Backend->Key(VK_TAB);
    Backend->RunUntilIdle();
    EXPECT_TRUE(C->Focused());
}

TEST_F(FocusTest, CanFocusNeedsVisibleAndEnabledUpToTheForm)
{
    B->SetEnabled(false);
    EXPECT_FALSE(B->CanFocus());
    EXPECT_THROW(Form->SetActiveControl(B), EInvalidOperation);
    B->SetEnabled(true);
    B->SetVisible(false);
    EXPECT_FALSE(B->CanFocus());
    Backend->Key(VK_TAB);
    Backend->RunUntilIdle();
    EXPECT_TRUE(C->Focused());
}

TEST_F(FocusTest, AltLetterIsADialogCharacter)
{
    C->Accel = 'i';
    Backend->KeyWith(VK_MENU, 'I');
    Backend->RunUntilIdle();
    // The key itself still reaches the focused control as a key.
    EXPECT_EQ(Events(), (std::vector<std::string>{"A.KeyDown 18", "A.KeyDown 73", "C.DialogChar i"}));
}

TEST_F(FocusTest, PlainLetterIsADialogCharacterUnlessTheFocusWantsCharacters)
{
    C->Accel = 'i';
    Backend->Key('I');
    Backend->RunUntilIdle();
    EXPECT_EQ(Events(), (std::vector<std::string>{"A.KeyDown 73", "C.DialogChar i"}));
    ClearEvents();
    A->WantChars = true;
    Backend->Key('I');
    Backend->RunUntilIdle();
    EXPECT_EQ(Events(), (std::vector<std::string>{"A.KeyDown 73", "A.KeyPress i"}));
}

TEST_F(FocusTest, EnterGoesToTheDefaultButtonAsADialogKey)
{
    C->Accel = '\r';
    Backend->Key(VK_RETURN);
    Backend->RunUntilIdle();
    EXPECT_EQ(Events(), (std::vector<std::string>{"C.DialogKey Enter"}));
}

TEST_F(FocusTest, PressingElsewhereSendsCancelModeToTheFocusedControl)
{
    ClickOn(B, 3, 3);
    auto at = [](const std::string& e) { return std::find(Events().begin(), Events().end(), e) - Events().begin(); };
    ASSERT_LT(at("A.CancelMode"), Integer(Events().size()));
    EXPECT_LT(at("A.CancelMode"), at("B.MouseDown 0 3,3"));
}

TEST_F(FocusTest, IsAccelTakesTheLetterAfterASingleAmpersand)
{
    EXPECT_TRUE(IsAccel('I', "&Inbox"));
    EXPECT_TRUE(IsAccel('i', "Mail &in"));
    EXPECT_FALSE(IsAccel('I', "Inbox"));
    EXPECT_FALSE(IsAccel('B', "R&&B"));
    EXPECT_TRUE(IsAccel('X', "R&&B &x"));
    EXPECT_FALSE(IsAccel('A', "Trailing&"));
    EXPECT_EQ(GetParentForm(C), Form);
    EXPECT_EQ(GetParentForm(nullptr), nullptr);
}

} // namespace
} // namespace ld::test
