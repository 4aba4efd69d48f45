// The edit through real input: typing, deleting, moving with and without
// Shift, selecting with the mouse, the clipboard keys, MaxLength, ReadOnly,
// OnChange, the text messages and the blinking caret.
#include <cstring>

#include "platform/vcl/Clipbrd.h"
#include "tests/stdctrls/StdCtrlsTestSupport.h"

namespace ld::test {
namespace {

class EditTest : public StdCtrlsTest {
protected:
    void SetUp() override
    {
        StdCtrlsTest::SetUp();
        Edit = new TEdit(Form);
        Edit->SetName("Edit");
        // Named, it shows its name as the host's edits do; the tests start empty.
        EXPECT_EQ(Edit->GetText(), "Edit");
        Edit->SetText("");
        Edit->SetBounds(10, 10, 200, 21);
        Edit->SetParent(Form);
        Edit->SetOnChange(Changes.Event());
        Backend->RunUntilIdle();
        Edit->SetFocus();
        Backend->RunUntilIdle();
        Changes.Count = 0;
    }
    // The client x at which character Index begins.
    Integer XOf(Integer index)
    {
        const std::string text = Edit->GetText();
        return 1 + TextWidthOf(Edit, std::string_view(text).substr(0, size_t(index)));
    }

    TEdit* Edit = nullptr;
    TEventCounter Changes;
};

TEST_F(EditTest, TypingInsertsAtTheCaretAndFiresOnChangePerCharacter)
{
    Type("hello World");
    EXPECT_EQ(Edit->GetText(), "hello World");
    EXPECT_EQ(Changes.Count, 11);
    EXPECT_EQ(Edit->GetSelStart(), 11);
    EXPECT_TRUE(Edit->GetModified());
    Key(VK_HOME);
    Type("ab");
    EXPECT_EQ(Edit->GetText(), "abhello World");
    Key(VK_END);
    Key(VK_BACK);
    Key(VK_HOME);
    Key(VK_DELETE);
    EXPECT_EQ(Edit->GetText(), "bhello Worl");
    EXPECT_EQ(Changes.Count, 15);
}

TEST_F(EditTest, ShiftArrowsSelectAndTypingReplacesTheSelection)
{
    Edit->SetText("one two three");
    Key(VK_END);
    for (int i = 0; i < 5; ++i)
        KeyWith(VK_SHIFT, VK_LEFT);
    EXPECT_EQ(Edit->GetSelText(), "three");
    Type("4");
    EXPECT_EQ(Edit->GetText(), "one two 4");
    // Ctrl+Shift+Left takes a word; Shift+Home moves on from the same anchor.
    Backend->KeyDown(VK_CONTROL);
    KeyWith(VK_SHIFT, VK_LEFT);
    Backend->KeyUp(VK_CONTROL);
    EXPECT_EQ(Edit->GetSelText(), "4");
    KeyWith(VK_SHIFT, VK_HOME);
    EXPECT_EQ(Edit->GetSelText(), "one two 4");
    // Left without Shift collapses to the selection's start.
    Key(VK_LEFT);
    EXPECT_EQ(Edit->GetSelLength(), 0);
    EXPECT_EQ(Edit->GetSelStart(), 0);
}

TEST_F(EditTest, ClipboardKeysCopyCutAndPaste)
{
    Clipboard()->SetAsText("");
    Type("abc def");
    KeyWith(VK_CONTROL, 'A');
    EXPECT_EQ(Edit->GetSelText(), "abc def");
    KeyWith(VK_CONTROL, 'C');
    EXPECT_EQ(Clipboard()->GetAsText(), "abc def");
    Key(VK_END);
    KeyWith(VK_CONTROL, 'V');
    EXPECT_EQ(Edit->GetText(), "abc defabc def");
    for (int i = 0; i < 3; ++i)
        KeyWith(VK_SHIFT, VK_LEFT);
    KeyWith(VK_CONTROL, 'X');
    EXPECT_EQ(Edit->GetText(), "abc defabc ");
    EXPECT_EQ(Clipboard()->GetAsText(), "def");
    // A pasted line break ends what a single line takes.
    Clipboard()->SetAsText("x\r\ny");
    KeyWith(VK_CONTROL, 'V');
    EXPECT_EQ(Edit->GetText(), "abc defabc x");
}

TEST_F(EditTest, UndoTakesBackTheLastRunOfTypingOrTheLastCutAndRedoesOnASecondUndo)
{
    Type("abc");
    KeyWith(VK_CONTROL, 'Z');
    EXPECT_EQ(Edit->GetText(), "");
    KeyWith(VK_CONTROL, 'Z');
    EXPECT_EQ(Edit->GetText(), "abc");
    Key(VK_LEFT);
    Type("x");
    EXPECT_EQ(Edit->GetText(), "abxc");
    KeyWith(VK_CONTROL, 'Z');
    EXPECT_EQ(Edit->GetText(), "abc") << "moving the caret starts a new run";
    KeyWith(VK_CONTROL, 'A');
    KeyWith(VK_CONTROL, 'X');
    EXPECT_EQ(Edit->GetText(), "");
    KeyWith(VK_CONTROL, 'Z');
    EXPECT_EQ(Edit->GetText(), "abc");
    EXPECT_EQ(Edit->GetSelText(), "abc");
    // Text from the program leaves nothing to undo.
    Edit->SetText("set");
    EXPECT_FALSE(Edit->CanUndo());
    KeyWith(VK_CONTROL, 'Z');
    EXPECT_EQ(Edit->GetText(), "set");
}

TEST_F(EditTest, ALongLineScrollsToKeepTheCaretInView)
{
    Edit->SetWidth(60);
    Type("the caret stays in view");
    Backend->RunUntilIdle();
    // The caret's column is inside the client area although the text is wider.
    const Integer caretX = XOf(Integer(Edit->GetText().size()));
    EXPECT_GT(caretX, Edit->GetClientWidth());
    Key(VK_HOME);
    Type("A");
    EXPECT_EQ(Edit->GetText().substr(0, 4), "Athe");
    // A click near the left edge now lands near the start of the text.
    TPoint p = ScreenOf(Edit, 2, 10);
    Backend->Click(p.X, p.Y);
    Backend->RunUntilIdle();
    EXPECT_LE(Edit->GetSelStart(), 1);
    Key(VK_END);
    TPoint q = ScreenOf(Edit, Edit->GetClientWidth() - 2, 10);
    Backend->Click(q.X, q.Y);
    Backend->RunUntilIdle();
    EXPECT_GE(Edit->GetSelStart(), Integer(Edit->GetText().size()) - 2);
}

TEST_F(EditTest, MaxLengthAndReadOnlyLimitTheUserButNotTheProgram)
{
    Edit->SetMaxLength(4);
    Type("abcdef");
    EXPECT_EQ(Edit->GetText(), "abcd");
    Clipboard()->SetAsText("XYZ");
    KeyWith(VK_SHIFT, VK_LEFT);
    KeyWith(VK_CONTROL, 'V');
    EXPECT_EQ(Edit->GetText(), "abcX");
    Edit->SetText("longer than four");
    EXPECT_EQ(Edit->GetText(), "longer than four");

    Edit->SetReadOnly(true);
    Changes.Count = 0;
    Type("q");
    Key(VK_BACK);
    KeyWith(VK_CONTROL, 'A');
    KeyWith(VK_CONTROL, 'X');
    EXPECT_EQ(Edit->GetText(), "longer than four");
    EXPECT_EQ(Changes.Count, 0);
    KeyWith(VK_CONTROL, 'C');
    EXPECT_EQ(Clipboard()->GetAsText(), "longer than four");
}

TEST_F(EditTest, OnChangeFiresWhenTheTextChangesAlsoFromCode)
{
    Edit->SetText("a");
    Edit->SetText("a");
    EXPECT_EQ(Changes.Count, 1);
    Key(VK_BACK);  // the caret is at the start after SetText: nothing to delete
    EXPECT_EQ(Changes.Count, 1);
    Edit->SetText("");
    EXPECT_EQ(Changes.Count, 2);
}

TEST_F(EditTest, MouseClickPlacesTheCaretAndDragSelects)
{
    Edit->SetText("alpha beta gamma");
    Backend->RunUntilIdle();
    TPoint from = ScreenOf(Edit, XOf(6), 10);
    TPoint to = ScreenOf(Edit, XOf(10), 10);
    Backend->MoveTo(from.X, from.Y);
    Backend->Press();
    Backend->DragTo(to.X, to.Y);
    Backend->Release();
    Backend->RunUntilIdle();
    EXPECT_EQ(Edit->GetSelText(), "beta");
    // Shift+click extends from the anchor.
    TPoint end = ScreenOf(Edit, XOf(16) + 20, 10);
    Backend->KeyDown(VK_SHIFT);
    Backend->Click(end.X, end.Y);
    Backend->KeyUp(VK_SHIFT);
    Backend->RunUntilIdle();
    EXPECT_EQ(Edit->GetSelText(), "beta gamma");
}

TEST_F(EditTest, DoubleClickSelectsTheWordAndItsBlanks)
{
    Edit->SetText("alpha beta gamma");
    Backend->RunUntilIdle();
    TPoint p = ScreenOf(Edit, XOf(8), 10);
    Backend->DoubleClick(p.X, p.Y);
    Backend->RunUntilIdle();
    EXPECT_EQ(Edit->GetSelText(), "beta ");
}

TEST_F(EditTest, TextMessagesAndDialogCode)
{
    HWND h = Edit->GetHandle();
    SendMessage(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("from outside"));
    EXPECT_EQ(Edit->GetText(), "from outside");
    EXPECT_EQ(Changes.Count, 1);
    char buffer[5];
    EXPECT_EQ(SendMessage(h, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 4);
    EXPECT_STREQ(buffer, "from");
    EXPECT_EQ(SendMessage(h, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 0);
    LRESULT code = SendMessage(h, WM_GETDLGCODE, 0, 0);
    EXPECT_TRUE(code & DLGC_WANTCHARS);
    EXPECT_TRUE(code & DLGC_WANTARROWS);
    EXPECT_FALSE(code & DLGC_WANTALLKEYS);
    EXPECT_FALSE(code & DLGC_WANTTAB);
}

TEST_F(EditTest, CaretBlinksOnTheSimulatedClockOnlyWhileFocused)
{
    Type("x");
    EXPECT_TRUE(Edit->CaretShown());
    Backend->Advance(CaretBlinkTime);
    EXPECT_FALSE(Edit->CaretShown());
    Backend->Advance(CaretBlinkTime);
    EXPECT_TRUE(Edit->CaretShown());
    // A key shows it at once and starts the period again.
    Backend->Advance(CaretBlinkTime);
    Key(VK_LEFT);
    EXPECT_TRUE(Edit->CaretShown());
    Backend->Advance(CaretBlinkTime - 10);
    EXPECT_TRUE(Edit->CaretShown());

    auto* other = new TEdit(Form);
    other->SetBounds(10, 40, 100, 21);
    other->SetParent(Form);
    other->SetFocus();
    Backend->RunUntilIdle();
    EXPECT_FALSE(Edit->CaretShown());
    Backend->Advance(CaretBlinkTime * 3);
    EXPECT_FALSE(Edit->CaretShown());
}

TEST_F(EditTest, TabFocusSelectsAllAndTheCaretPaintsInverted)
{
    Edit->SetText("ab");
    auto* other = new TEdit(Form);
    other->SetBounds(10, 40, 100, 21);
    other->SetParent(Form);
    Key(VK_TAB);
    EXPECT_TRUE(other->Focused());
    Key(VK_TAB);
    EXPECT_TRUE(Edit->Focused());
    EXPECT_EQ(Edit->GetSelText(), "ab");
}

} // namespace
} // namespace ld::test
