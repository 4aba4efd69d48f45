// The memo: its lines view of the text, line breaks and word wrapping,
// scrolling that keeps the caret in view, WantReturns and WantTabs, and a
// subclass that takes Return, Escape and Tab for itself as an in-place
// editor does.
#include <filesystem>

#include "platform/gfx/Png.h"
#include "tests/stdctrls/StdCtrlsTestSupport.h"

namespace ld::test {
namespace {

class MemoTest : public StdCtrlsTest {
protected:
    void SetUp() override
    {
        StdCtrlsTest::SetUp();
        Memo = new TMemo(Form);
        Memo->SetName("Memo");
        Memo->SetText("");
        Memo->SetBounds(10, 10, 150, 80);
        Memo->SetParent(Form);
        Backend->RunUntilIdle();
        Memo->SetFocus();
        Backend->RunUntilIdle();
    }
    // The displayed lines as strings.
    std::vector<std::string> Shown()
    {
        std::vector<std::string> out;
        const std::string text = Memo->GetText();
        for (const TEditLine& line : Memo->DisplayLines())
            out.push_back(text.substr(size_t(line.Start), size_t(line.Length)));
        return out;
    }
    TMemo* Memo = nullptr;
};

TEST_F(MemoTest, LinesAreTheTextBetweenLineBreaks)
{
    TStrings* lines = Memo->GetLines();
    lines->Add("one");
    EXPECT_EQ(Memo->GetText(), "one\r\n");
    lines->Add("two");
    EXPECT_EQ(Memo->GetText(), "one\r\ntwo\r\n");
    EXPECT_EQ(lines->Count(), 2);
    lines->Insert(0, "zero");
    lines->Delete(1);
    lines->Put(1, "TWO");
    EXPECT_EQ(Memo->GetText(), "zero\r\nTWO\r\n");
    Memo->SetText("x\r\ny");
    EXPECT_EQ(lines->Count(), 2);
    EXPECT_EQ(lines->Get(1), "y");
    lines->Add("z");
    EXPECT_EQ(Memo->GetText(), "x\r\ny\r\nz");
    lines->Delete(2);
    EXPECT_EQ(Memo->GetText(), "x\r\ny\r\n");
    EXPECT_ANY_THROW(lines->Get(2));
    EXPECT_ANY_THROW(lines->Delete(-1));
    EXPECT_EQ(Memo->GetText(), "x\r\ny\r\n");
    lines->Clear();
    EXPECT_EQ(lines->Count(), 0);
}

// Line edits and typing change only the lines they touch; whatever they
// touch, the memo must show what it shows for the same text set afresh, and
// its lines must be the text's.
TEST_F(MemoTest, EditsInPlaceShowWhatTheSameTextSetAfreshShows)
{
    auto* fresh = new TMemo(Form);
    fresh->SetBounds(170, 10, 150, 80);
    fresh->SetParent(Form);
    Backend->RunUntilIdle();
    TStrings* lines = Memo->GetLines();
    Integer step = 0;
    const auto same = [&] {
        ++step;
        fresh->SetText(Memo->GetText());
        const auto& patched = Memo->DisplayLines();
        const auto& whole = fresh->DisplayLines();
        ASSERT_EQ(patched.size(), whole.size()) << "step " << step;
        for (size_t i = 0; i < whole.size(); ++i) {
            EXPECT_EQ(patched[i].Start, whole[i].Start) << "step " << step << " line " << i;
            EXPECT_EQ(patched[i].Length, whole[i].Length) << "step " << step << " line " << i;
        }
        ASSERT_EQ(lines->Count(), fresh->GetLines()->Count()) << "step " << step;
        for (Integer i = 0; i < lines->Count(); ++i)
            EXPECT_EQ(lines->Get(i), fresh->GetLines()->Get(i)) << "step " << step;
        EXPECT_EQ(GetWindowText(Memo->GetHandle()), Memo->GetText()) << "step " << step;
    };
    const std::string wide = "a line long enough to wrap over three lines of this narrow memo";
    for (int i = 0; i < 6; ++i)
        lines->Add(i % 2 ? wide : "line " + std::to_string(i));
    same();
    lines->Put(lines->Count() - 1, "the last line, now short");
    same();
    lines->Put(1, "short");                       // a wrapped line becomes one
    same();
    lines->Insert(2, wide + " " + wide);          // and the other way
    same();
    lines->Delete(0);                             // the oldest line goes: every line moves up
    same();
    lines->Delete(lines->Count() - 1);
    same();
    lines->Add("");
    lines->Add("after an empty line");
    same();
    Memo->SetText("a\rb\nc");                    // lone breaks, as text from elsewhere may hold
    lines->Put(0, "A");
    lines->Insert(1, "between");
    same();
    Memo->SetSelStart(2);                         // after the lone CR: an LF makes it one break
    Memo->SetSelText("\nX");
    same();
    Memo->SetSelStart(Memo->GetTextLen());
    Type(" typed at the end of the text, long enough to wrap");
    Key(VK_RETURN);
    Type("new");
    same();
    Memo->SetSelStart(0);
    Memo->SetSelLength(Memo->GetTextLen() - 2);   // everything but the last two characters
    Key(VK_DELETE);
    same();
}

TEST_F(MemoTest, EnterBreaksTheLineAndBackspaceJoinsItAgain)
{
    Type("ab");
    Key(VK_RETURN);
    Type("cd");
    EXPECT_EQ(Memo->GetText(), "ab\r\ncd");
    EXPECT_EQ(Memo->GetCaretPos(), (TPoint{2, 1}));
    Key(VK_HOME);
    EXPECT_EQ(Memo->GetCaretPos(), (TPoint{0, 1}));
    Key(VK_LEFT);  // over the whole break at once
    EXPECT_EQ(Memo->GetCaretPos(), (TPoint{2, 0}));
    Key(VK_DELETE);
    EXPECT_EQ(Memo->GetText(), "abcd");
    Key(VK_RETURN);
    Key(VK_BACK);
    EXPECT_EQ(Memo->GetText(), "abcd");
}

TEST_F(MemoTest, WordWrapBreaksAfterBlanksWithinTheClientWidth)
{
    Memo->SetText("the quick brown fox jumps over the lazy dog and keeps on running");
    const Integer width = Memo->GetClientWidth() - 2;
    auto shown = Shown();
    ASSERT_GT(shown.size(), 2u);
    std::string joined;
    for (const std::string& line : shown) {
        joined += line;
        std::string trimmed = line.substr(0, line.find_last_not_of(' ') + 1);
        EXPECT_LE(TextWidthOf(Memo, trimmed), width) << line;
        EXPECT_NE(line.front(), ' ') << "a line starts after the blanks: " << line;
    }
    EXPECT_EQ(joined, Memo->GetText());
    // Each line ends where the next word would not have fitted.
    for (size_t i = 0; i + 1 < shown.size(); ++i) {
        std::string next = shown[i + 1].substr(0, shown[i + 1].find(' '));
        EXPECT_GT(TextWidthOf(Memo, shown[i] + next), width) << shown[i] << "|" << next;
    }
    Memo->SetWordWrap(false);
    EXPECT_EQ(Shown().size(), 1u);
}

TEST_F(MemoTest, AWordWiderThanTheMemoBreaksInside)
{
    Memo->SetText(std::string(60, 'w'));
    auto shown = Shown();
    ASSERT_GT(shown.size(), 1u);
    for (const std::string& line : shown)
        EXPECT_LE(TextWidthOf(Memo, line), Memo->GetClientWidth() - 2);
}

TEST_F(MemoTest, TypingRewrapsAndTheCaretFollowsOntoTheNextLine)
{
    Type("aaaa bbbb cccc dddd eeee ffff gggg");
    auto shown = Shown();
    ASSERT_GT(shown.size(), 1u);
    EXPECT_EQ(Memo->GetCaretIndex(), Integer(Memo->GetText().size()));
    // Up keeps the column: the caret lands on the line above.
    Key(VK_UP);
    const auto& lines = Memo->DisplayLines();
    Integer caret = Memo->GetCaretIndex();
    EXPECT_GE(caret, lines[lines.size() - 2].Start);
    EXPECT_LE(caret, lines[lines.size() - 2].Start + lines[lines.size() - 2].Length);
}

TEST_F(MemoTest, ScrollingKeepsTheCaretInView)
{
    for (int i = 0; i < 12; ++i) {
        Type("line");
        Key(VK_RETURN);
    }
    const Integer visible = (Memo->GetClientHeight()) / 13;
    EXPECT_GT(Memo->GetTopLine(), 0);
    Integer row = 12;
    EXPECT_GE(row, Memo->GetTopLine());
    EXPECT_LT(row, Memo->GetTopLine() + visible);
    KeyWith(VK_CONTROL, VK_HOME);
    EXPECT_EQ(Memo->GetTopLine(), 0);
    EXPECT_EQ(Memo->GetCaretIndex(), 0);
}

TEST_F(MemoTest, TheVerticalScrollBarScrollsByLineAndByPageAndLeavesTheCaret)
{
    Memo->SetScrollBars(ssVertical);
    std::string text;
    for (int i = 0; i < 20; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    Memo->SetText(text);
    Backend->RunUntilIdle();
    const Integer right = Memo->GetClientWidth() - 4;
    EXPECT_LE(Memo->DisplayLines().size(), 21u);
    ClickOn(Memo, right, Memo->GetClientHeight() - 4);
    EXPECT_EQ(Memo->GetTopLine(), 1);
    EXPECT_EQ(Memo->GetCaretIndex(), 0);
    ClickOn(Memo, right, Memo->GetClientHeight() - 24);
    const Integer page = Memo->GetClientHeight() / 13 - 1;
    EXPECT_EQ(Memo->GetTopLine(), 1 + page);
    ClickOn(Memo, right, 4);
    EXPECT_EQ(Memo->GetTopLine(), page);
    // The text keeps clear of the bar: no line runs under it.
    Memo->SetText(std::string(40, 'w'));
    for (const TEditLine& line : Memo->DisplayLines())
        EXPECT_LE(TextWidthOf(Memo, std::string(size_t(line.Length), 'w')), Memo->GetClientWidth() - 16 - 2);
}

// Each notch of the wheel scrolls the system's lines per notch (3 unless
// set), within the text; with Shift or Ctrl held it scrolls nothing.
TEST_F(MemoTest, TheWheelScrollsTheSystemsLinesPerNotchWithinTheText)
{
    Memo->SetScrollBars(ssVertical);
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    Memo->SetText(text);
    const TPoint p = ScreenOf(Memo, 20, 20);
    Backend->MoveTo(p.X, p.Y);
    auto wheel = [&](Integer notches) {
        Backend->Wheel(notches);
        Backend->RunUntilIdle();
        return Memo->GetTopLine();
    };
    EXPECT_EQ(wheel(-1), 3);
    EXPECT_EQ(wheel(-2), 9);
    const Integer last = wheel(-20);
    EXPECT_EQ(Memo->DisplayLines().size() - size_t(last), size_t(Memo->GetClientHeight() / 13)) << "the last page";
    EXPECT_EQ(wheel(-1), last);
    EXPECT_EQ(wheel(1), last - 3);
    Backend->KeyDown(VK_SHIFT);
    EXPECT_EQ(wheel(1), last - 3);
    Backend->KeyUp(VK_SHIFT);
    SystemParametersInfo(SPI_SETWHEELSCROLLLINES, 1, nullptr, 0);
    EXPECT_EQ(wheel(1), last - 4);
    SystemParametersInfo(SPI_SETWHEELSCROLLLINES, 3, nullptr, 0);
    EXPECT_EQ(Memo->GetCaretIndex(), 0) << "scrolling leaves the caret";
}

// Held, an arrow repeats after 400 ms, then every 50 ms, while the pointer
// stays on it; the track pages until the thumb reaches the pointer; the text
// follows the dragged thumb before the release.
TEST_F(MemoTest, HoldingTheBarRepeatsAndDraggingTheThumbScrolls)
{
    Memo->SetScrollBars(ssVertical);
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    Memo->SetText(text);
    Backend->RunUntilIdle();
    const Integer right = Memo->GetClientWidth() - 4;
    const Integer downArrow = Memo->GetClientHeight() - 4;
    auto moveTo = [&](Integer y) {
        const TPoint p = ScreenOf(Memo, right, y);
        Backend->MoveTo(p.X, p.Y);
        Backend->RunUntilIdle();
    };
    moveTo(downArrow);
    Backend->Press();
    Backend->RunUntilIdle();
    EXPECT_EQ(Memo->GetTopLine(), 1);
    Backend->Advance(399);
    EXPECT_EQ(Memo->GetTopLine(), 1);
    Backend->Advance(1 + 2 * 50);
    EXPECT_EQ(Memo->GetTopLine(), 4);
    moveTo(downArrow - 30);
    Backend->Advance(200);
    EXPECT_EQ(Memo->GetTopLine(), 4) << "off the arrow it waits";
    moveTo(downArrow);
    Backend->Advance(50);
    EXPECT_EQ(Memo->GetTopLine(), 5);
    Backend->Release();
    Backend->RunUntilIdle();
    Backend->Advance(500);
    EXPECT_EQ(Memo->GetTopLine(), 5);
    EXPECT_EQ(Memo->GetCaretIndex(), 0);

    // The track just above the down arrow: pages, then stops under the thumb.
    const Integer page = Memo->GetClientHeight() / 13 - 1;
    moveTo(downArrow - 20);
    Backend->Press();
    Backend->RunUntilIdle();
    EXPECT_EQ(Memo->GetTopLine(), 5 + page);
    const TPoint held = ScreenOf(Memo, right, downArrow - 20);
    EXPECT_EQ(Pixel(held.X, held.Y), GetSysColor(COLOR_3DDKSHADOW)) << "the held part of the track is dark";
    RECT shown;
    GetWindowRect(Memo->GetHandle(), shown);
    std::filesystem::create_directories(OutputPath(""));
    SavePngFile(OutputPath("stdctrls-memo-track-held.png"), *Backend->Capture(shown));
    Backend->Advance(5000);
    const Integer stopped = Memo->GetTopLine();
    EXPECT_GT(stopped, 5 + page);
    EXPECT_LT(stopped, 56) << "the thumb came under the pointer before the end";
    Backend->Release();
    Backend->RunUntilIdle();

    // The thumb, dragged from the top to the bottom and half way back.
    Memo->Perform(WM_VSCROLL, SB_TOP, 0);
    moveTo(16 + 2);
    Backend->Press();
    moveTo(Memo->GetClientHeight() + 40);
    const Integer last = Memo->GetTopLine();
    EXPECT_GE(last, 56) << "the text follows the thumb while it is held";
    moveTo(16 + (Memo->GetClientHeight() - 32 - 8) / 2 + 2);
    EXPECT_NEAR(Memo->GetTopLine(), last / 2, 2);
    const Integer middle = Memo->GetTopLine();
    Backend->Release();
    Backend->RunUntilIdle();
    EXPECT_EQ(Memo->GetTopLine(), middle);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MemoTest, WantReturnsFalseLeavesEnterToTheDefaultButton)
{
    auto* ok = new TButton(Form);
    ok->SetBounds(200, 10, 75, 25);
    ok->SetParent(Form);
    ok->SetDefault(true);
    TEventCounter clicks;
    ok->SetOnClick(clicks.Event());
    Backend->RunUntilIdle();

    Type("ab");
    Key(VK_RETURN);
    EXPECT_EQ(Memo->GetText(), "ab\r\n");
    EXPECT_EQ(clicks.Count, 0);
    EXPECT_TRUE(SendMessage(Memo->GetHandle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS);

    Memo->SetWantReturns(false);
    Key(VK_RETURN);
    EXPECT_EQ(Memo->GetText(), "ab\r\n");
    EXPECT_EQ(clicks.Count, 1);
    // Without a default button nothing takes Enter, and still no break.
    ok->SetDefault(false);
    Key(VK_RETURN);
    EXPECT_EQ(Memo->GetText(), "ab\r\n");
}

TEST_F(MemoTest, WantTabsDecidesBetweenATabAndTheNextControl)
{
    auto* next = new TEdit(Form);
    next->SetBounds(200, 10, 75, 21);
    next->SetParent(Form);
    Backend->RunUntilIdle();
    Key(VK_TAB);
    EXPECT_TRUE(next->Focused());
    Memo->SetFocus();
    Memo->SetWantTabs(true);
    Type("a");
    Key(VK_TAB);
    Type("b");
    EXPECT_TRUE(Memo->Focused());
    EXPECT_EQ(Memo->GetText(), "a\tb");
}

// An editor in the manner of an in-place caption editor: it ends on Return
// and Escape, swallows Tab, and keeps Tab from the dialog.
class TInPlaceEditor : public TCustomMemo {
public:
    explicit TInPlaceEditor(TComponent* owner) : TCustomMemo(owner)
    {
        SetWordWrap(true);
        SetWantReturns(false);
    }
    void KeyDown(Word& key, TShiftState shift) override
    {
        TCustomMemo::KeyDown(key, shift);
        if (key == VK_RETURN)
            Ends.push_back("accept");
        if (key == VK_ESCAPE)
            Ends.push_back("discard");
    }
    void KeyPress(char& key) override
    {
        TCustomMemo::KeyPress(key);
        if (key == '\t')
            key = 0;
    }
    void Dispatch(TMessage& m) override
    {
        TCustomMemo::Dispatch(m);
        if (m.Msg == WM_GETDLGCODE)
            m.Result |= DLGC_WANTTAB;
    }
    std::vector<std::string> Ends;
};

TEST_F(MemoTest, ASubclassTakesReturnEscapeAndTabForItself)
{
    auto* other = new TEdit(Form);
    other->SetBounds(200, 10, 75, 21);
    other->SetParent(Form);
    auto* editor = new TInPlaceEditor(Form);
    editor->SetBounds(10, 100, 60, 40);
    editor->SetParent(Form);
    Backend->RunUntilIdle();
    editor->SetFocus();
    Backend->RunUntilIdle();
    Type("one two three four");
    Key(VK_TAB);
    EXPECT_TRUE(editor->Focused());
    Key(VK_RETURN);
    Key(VK_ESCAPE);
    EXPECT_EQ(editor->GetText(), "one two three four");
    EXPECT_EQ(editor->Ends, (std::vector<std::string>{"accept", "discard"}));
    EXPECT_GT(editor->DisplayLines().size(), 1u) << "a long text wraps inside the editor";
}

} // namespace
} // namespace ld::test
