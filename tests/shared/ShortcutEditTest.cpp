// The in-place caption editor through real keys and clicks on the simulated
// clock: what ends editing, the one SEM_FINISHED it posts to its parent, and
// the keys it keeps (Tab) or keeps out of the text (Return).
#include "tests/bar/BarTestSupport.h"

#include <utility>
#include <vector>

#include "controls/shared/ShortcutEdit.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/win/MessageQueue.h"

namespace ld::test {
namespace {

// A host in the manner of the bar and the list: it notes each SEM_FINISHED
// (the low byte of wParam and lParam) and, as a host must, frees the editor.
class TEditHost : public TCustomControl {
public:
    explicit TEditHost(TComponent* owner) : TCustomControl(owner) {}
    void Dispatch(TMessage& m) override
    {
        if (m.Msg != SEM_FINISHED)
            return TCustomControl::Dispatch(m);
        Messages.emplace_back(Integer(Byte(m.WParam)), m.LParam);
        if (m.LParam == reinterpret_cast<LPARAM>(Edit)) {
            Text = Edit->GetText();
            FreeAndNil(Edit);
        }
    }
    void Paint() override
    {
        GetCanvas()->GetBrush()->SetColor(clBtnFace);
        GetCanvas()->FillRect(GetClientRect());
    }
    std::vector<std::pair<Integer, LPARAM>> Messages;
    TShortcutEdit* Edit = nullptr;
    std::string Text;
};

class ShortcutEditTest : public BarTest {
protected:
    void SetUp() override
    {
        BarTest::SetUp();
        Host = new TEditHost(Form);
        Host->SetBounds(10, 10, 200, 100);
        Host->SetParent(Form);
        Other = new TEdit(Form);
        Other->SetBounds(10, 150, 100, 21);
        Other->SetParent(Form);
        Backend->RunUntilIdle();
        Edit = OpenEditor("Caption");
    }
    // An editor as a host opens one: owned by and parented to the host, over
    // a caption 80 x 20, focused.
    TShortcutEdit* OpenEditor(const std::string& text)
    {
        auto* edit = new TShortcutEdit(Host);
        edit->SetParent(Host);
        edit->SetText(text);
        edit->SetBounds(10, 10, 80, 20);
        edit->SetFocus();
        Host->Edit = edit;
        Backend->RunUntilIdle();
        return edit;
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
    void ClickAt(TControl* control, Integer x, Integer y)
    {
        const TPoint p = control->ClientToScreen({x, y});
        Backend->Click(p.X, p.Y);
        Backend->RunUntilIdle();
    }
    using Messages = std::vector<std::pair<Integer, LPARAM>>;
    LPARAM Self() const { return reinterpret_cast<LPARAM>(Edit); }

    TEditHost* Host = nullptr;
    TEdit* Other = nullptr;
    TShortcutEdit* Edit = nullptr;
};

TEST_F(ShortcutEditTest, StartsWithNoSizeAndItsOwnLookNotTheHosts)
{
    Host->GetFont()->SetHeight(-20);
    Host->GetFont()->SetColor(clRed);
    Host->SetColor(clBlue);
    auto* edit = new TShortcutEdit(Host);
    edit->SetParent(Host);
    EXPECT_EQ(edit->GetBoundsRect(), TRect(0, 0, 0, 0));
    EXPECT_EQ(edit->GetFont()->GetHeight(), -11);
    EXPECT_EQ(edit->GetFont()->GetColor(), clWindowText);
    EXPECT_EQ(edit->GetColor(), clWindow);
    EXPECT_FALSE(edit->GetCtl3D());
    EXPECT_TRUE(edit->GetWordWrap());
    EXPECT_FALSE(edit->GetWantReturns());
    EXPECT_FALSE(edit->IsFinished());
}

TEST_F(ShortcutEditTest, ReturnPostsOneApplyMessageAndAddsNoLineBreak)
{
    Type("X");
    EXPECT_TRUE(Edit->Focused());
    const LPARAM self = Self();
    Key(VK_RETURN);
    EXPECT_EQ(Host->Messages, (Messages{{1, self}}));
    EXPECT_EQ(Host->Text, "XCaption") << "typed at the caret, which starts at the beginning";
    EXPECT_EQ(Host->Edit, nullptr);
}

TEST_F(ShortcutEditTest, EscapePostsOneDiscardMessage)
{
    Type("abc");
    const LPARAM self = Self();
    Key(VK_ESCAPE);
    EXPECT_EQ(Host->Messages, (Messages{{0, self}}));
}

TEST_F(ShortcutEditTest, TheMessageIsPostedSoItArrivesAfterTheHandlerThatEnded)
{
    Edit->Finished(true);
    EXPECT_TRUE(Edit->IsFinished());
    EXPECT_TRUE(Host->Messages.empty()) << "nothing is sent while the editor's own handler runs";
    MSG msg;
    ASSERT_TRUE(PeekMessage(msg, Host->GetHandle(), SEM_FINISHED, SEM_FINISHED, PM_NOREMOVE));
    EXPECT_EQ(msg.hwnd, Host->GetHandle());
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_EQ(msg.lParam, Self());
    // Whatever ends editing later (Escape, the focus going) posts nothing more.
    Edit->Finished(false);
    Backend->RunUntilIdle();
    EXPECT_EQ(Host->Messages.size(), 1u);
}

TEST_F(ShortcutEditTest, ReturnAndThenAFocusChangePostOneMessage)
{
    // Freed by hand later, so the focus change reaches a live editor.
    Host->Edit = nullptr;
    Key(VK_RETURN);
    Other->SetFocus();
    Backend->RunUntilIdle();
    Key(VK_ESCAPE);
    EXPECT_EQ(Host->Messages, (Messages{{1, Self()}}));
}

TEST_F(ShortcutEditTest, LosingTheFocusApplies)
{
    Type("new ");
    const LPARAM self = Self();
    ClickAt(Other, 5, 5);
    EXPECT_TRUE(Other->Focused());
    EXPECT_EQ(Host->Messages, (Messages{{1, self}}));
    EXPECT_EQ(Host->Text, "new Caption");
}

TEST_F(ShortcutEditTest, APressElsewhereAppliesThroughCancelModeAPressInsideOnlyMovesTheCaret)
{
    ClickAt(Edit, 60, 5);
    EXPECT_TRUE(Host->Messages.empty());
    EXPECT_GT(Edit->GetCaretIndex(), 0);
    // The host does not take the focus; the press cancels the editing mode.
    const LPARAM self = Self();
    ClickAt(Host, 150, 80);
    EXPECT_EQ(Host->Messages, (Messages{{1, self}}));
}

TEST_F(ShortcutEditTest, TabNeitherMovesTheFocusNorGoesIntoTheText)
{
    Type("a");
    Key(VK_TAB);
    Type("b");
    EXPECT_TRUE(Edit->Focused());
    EXPECT_EQ(Edit->GetText(), "abCaption");
    EXPECT_TRUE(Host->Messages.empty());
    EXPECT_TRUE(SendMessage(Edit->GetHandle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB);
}

TEST_F(ShortcutEditTest, ALongTextWrapsInsideTheEditor)
{
    Type("a rather long caption for so narrow an editor ");
    EXPECT_GT(Edit->DisplayLines().size(), 1u);
    EXPECT_EQ(Edit->GetText().find('\n'), std::string::npos);
}

TEST_F(ShortcutEditTest, AnEditorWithoutAParentEndsQuietly)
{
    auto* loose = new TShortcutEdit(Form);
    loose->Finished(true);
    EXPECT_TRUE(loose->IsFinished());
    Backend->RunUntilIdle();
    EXPECT_TRUE(Host->Messages.empty());
    delete loose;
}

} // namespace
} // namespace ld::test
