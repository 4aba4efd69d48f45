// Buttons through real input: a click on release inside, Space, Enter for
// the active button, Escape for the cancel button, ModalResult, accelerators;
// and the accelerators of labels and group boxes.
#include "tests/stdctrls/StdCtrlsTestSupport.h"

namespace ld::test {
namespace {

class ButtonTest : public StdCtrlsTest {
protected:
    void SetUp() override
    {
        StdCtrlsTest::SetUp();
        Edit = new TEdit(Form);
        Edit->SetBounds(10, 10, 100, 21);
        Edit->SetParent(Form);
        Ok = AddButton("OK", 10, 50);
        Apply = AddButton("&Apply", 100, 50);
        Cancel = AddButton("Cancel", 190, 50);
        Ok->SetDefault(true);
        Ok->SetModalResult(mrOk);
        Cancel->SetCancel(true);
        Cancel->SetModalResult(mrCancel);
        Backend->RunUntilIdle();
        Edit->SetFocus();
        Backend->RunUntilIdle();
    }
    TButton* AddButton(const std::string& caption, Integer x, Integer y)
    {
        auto* b = new TButton(Form);
        b->SetCaption(caption);
        b->SetBounds(x, y, 75, 25);
        b->SetParent(Form);
        b->SetOnClick(Clicks.Event());
        return b;
    }
    TEdit* Edit = nullptr;
    TButton *Ok = nullptr, *Apply = nullptr, *Cancel = nullptr;
    TEventCounter Clicks;
};

TEST_F(ButtonTest, AClickFiresOnReleaseInsideOnly)
{
    TPoint in = ScreenOf(Apply, 30, 12);
    Backend->MoveTo(in.X, in.Y);
    Backend->Press();
    Backend->RunUntilIdle();
    EXPECT_TRUE(Apply->IsPressed());
    EXPECT_TRUE(Apply->Focused());
    Backend->DragTo(in.X, in.Y + 40);
    Backend->RunUntilIdle();
    EXPECT_FALSE(Apply->IsPressed());
    Backend->Release();
    Backend->RunUntilIdle();
    EXPECT_EQ(Clicks.Count, 0);

    Backend->Click(in.X, in.Y);
    Backend->RunUntilIdle();
    EXPECT_EQ(Clicks.Count, 1);
    EXPECT_EQ(Clicks.Sender, Apply);
    // Apply has no ModalResult: the form's stays as it was.
    EXPECT_EQ(Form->GetModalResult(), mrNone);
}

TEST_F(ButtonTest, SpaceClicksTheFocusedButtonOnRelease)
{
    Apply->SetFocus();
    Backend->RunUntilIdle();
    Backend->KeyDown(VK_SPACE);
    Backend->RunUntilIdle();
    EXPECT_TRUE(Apply->IsPressed());
    EXPECT_EQ(Clicks.Count, 0);
    Backend->KeyUp(VK_SPACE);
    Backend->RunUntilIdle();
    EXPECT_EQ(Clicks.Count, 1);
    EXPECT_EQ(Clicks.Sender, Apply);
}

TEST_F(ButtonTest, EnterClicksTheDefaultUnlessAnotherButtonHasTheFocus)
{
    EXPECT_TRUE(Ok->IsActive());
    Key(VK_RETURN);
    EXPECT_EQ(Clicks.Count, 1);
    EXPECT_EQ(Clicks.Sender, Ok);
    EXPECT_EQ(Form->GetModalResult(), mrOk);

    Form->SetModalResult(mrNone);
    Apply->SetFocus();
    Backend->RunUntilIdle();
    EXPECT_FALSE(Ok->IsActive());
    EXPECT_TRUE(Apply->IsActive());
    Key(VK_RETURN);
    EXPECT_EQ(Clicks.Count, 2);
    EXPECT_EQ(Clicks.Sender, Apply);
    EXPECT_EQ(Form->GetModalResult(), mrNone);

    Edit->SetFocus();
    Backend->RunUntilIdle();
    EXPECT_TRUE(Ok->IsActive());
    EXPECT_FALSE(Apply->IsActive());
}

TEST_F(ButtonTest, EscapeClicksTheCancelButtonWhereverTheFocusIs)
{
    Key(VK_ESCAPE);
    EXPECT_EQ(Clicks.Count, 1);
    EXPECT_EQ(Clicks.Sender, Cancel);
    EXPECT_EQ(Form->GetModalResult(), mrCancel);
    Form->SetModalResult(mrNone);
    Apply->SetFocus();
    Key(VK_ESCAPE);
    EXPECT_EQ(Clicks.Sender, Cancel);
    // A disabled cancel button takes nothing.
    Cancel->SetEnabled(false);
    Key(VK_ESCAPE);
    EXPECT_EQ(Clicks.Count, 2);
}

TEST_F(ButtonTest, TheAcceleratorClicksWithAltAndAsAPlainLetterOffTheEdit)
{
    KeyWith(VK_MENU, 'A');
    EXPECT_EQ(Clicks.Count, 1);
    EXPECT_EQ(Clicks.Sender, Apply);
    // The edit wants characters: a plain letter is typed there.
    Type("a");
    EXPECT_EQ(Edit->GetText(), "a");
    EXPECT_EQ(Clicks.Count, 1);
    Ok->SetFocus();
    Type("a");
    EXPECT_EQ(Clicks.Count, 2);
    EXPECT_EQ(Clicks.Sender, Apply);
}

TEST_F(ButtonTest, ShowModalEndsWithTheResultOfTheButtonThatClosedIt)
{
    auto* dialog = new TForm(nullptr);
    dialog->SetBounds(200, 200, 300, 150);
    auto* edit = new TEdit(dialog);
    edit->SetBounds(10, 10, 100, 21);
    edit->SetParent(dialog);
    auto* ok = new TButton(dialog);
    ok->SetBounds(10, 50, 75, 25);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    ok->SetParent(dialog);
    auto* cancel = new TButton(dialog);
    cancel->SetBounds(100, 50, 75, 25);
    cancel->SetCaption("Cancel");
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    cancel->SetParent(dialog);

    Backend->Script([&] { Backend->Key(VK_RETURN); });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    Backend->Script([&] { Backend->Key(VK_ESCAPE); });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    Backend->Script([&] {
        TPoint p = cancel->ClientToScreen({20, 10});
        Backend->Click(p.X, p.Y);
    });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    delete dialog;
}

TEST_F(ButtonTest, ALabelSendsItsAcceleratorToItsFocusControl)
{
    auto* label = new TLabel(Form);
    label->SetCaption("&Name:");
    label->SetBounds(10, 100, 50, 13);
    label->SetParent(Form);
    auto* name = new TEdit(Form);
    name->SetBounds(70, 100, 100, 21);
    name->SetParent(Form);
    Apply->SetFocus();
    Backend->RunUntilIdle();
    KeyWith(VK_MENU, 'N');
    EXPECT_TRUE(Apply->Focused()) << "without a focus control the label takes nothing";
    label->SetFocusControl(name);
    KeyWith(VK_MENU, 'N');
    EXPECT_TRUE(name->Focused());
    // The focus control going away leaves the label without one, and its
    // parent without it.
    const Integer controls = Form->GetControlCount();
    delete name;
    EXPECT_EQ(label->GetFocusControl(), nullptr);
    EXPECT_EQ(Form->GetControlCount(), controls - 1);
}

TEST_F(ButtonTest, AGroupBoxSendsItsAcceleratorToItsFirstChild)
{
    auto* group = new TGroupBox(Form);
    group->SetCaption("Item &Properties");
    group->SetBounds(10, 100, 200, 80);
    group->SetParent(Form);
    auto* first = new TEdit(Form);
    first->SetBounds(10, 20, 80, 21);
    first->SetParent(group);
    auto* second = new TEdit(Form);
    second->SetBounds(10, 48, 80, 21);
    second->SetParent(group);
    second->SetTabOrder(0);
    Backend->RunUntilIdle();
    KeyWith(VK_MENU, 'P');
    EXPECT_TRUE(second->Focused());
    // The group box's children sit inside its frame, under the caption.
    TRect client = group->GetClientRect();
    group->AdjustClientRect(client);
    EXPECT_GT(client.Top, 10);
    EXPECT_EQ(client.Left, 2);
}

} // namespace
} // namespace ld::test
