// Ctrl+C, Ctrl+X and Ctrl+V typed into an edit through the X server exchange
// text with another X program through the CLIPBOARD selection, both ways.
#include <X11/keysym.h>

#include "platform/stdctrls/StdCtrls.h"
#include "tests/backends/X11TestSupport.h"
// After the tests' own headers: Xlib's macros (None) would break them.
#include "tests/backends/X11OtherProgram.h"

namespace ld::x11test {
namespace {

class X11EditClipboardTest : public X11Test {
protected:
    void SetUp() override
    {
        X11Test::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        auto* form = new TForm(nullptr);
        form->SetCaption("Edit form");
        form->SetBounds(40, 40, 240, 100);
        Edit = new TEdit(form);
        Edit->SetBounds(8, 8, 200, 21);
        Edit->SetParent(form);
        form->Show();
        FForms.push_back(form);
        WaitUntilShown(form);
        HandFocusOurWindow(form);
        Edit->SetFocus();
        ASSERT_TRUE(PumpUntil([&] { return Edit->Focused(); }));
    }
    void CtrlKey(unsigned long keysym)
    {
        HandKey(XK_Control_L, true);
        HandKey(keysym, true);
        HandKey(keysym, false);
        HandKey(XK_Control_L, false);
    }
    // Asks for the clipboard as UTF-8, as another program would.
    std::string ReadAsOther(TOtherProgram& other)
    {
        XConvertSelection(other.D, other.Clipboard, other.Utf8, other.Prop, other.W, CurrentTime);
        XFlush(other.D);
        XEvent ev;
        if (!PumpUntil([&] { return XCheckTypedWindowEvent(other.D, other.W, SelectionNotify, &ev) != 0; }))
            return "(no answer)";
        if (ev.xselection.property == None)
            return "(refused)";
        Atom type;
        return other.Property(&type);
    }
    Window OwnerSeenBy(TOtherProgram& other) { return XGetSelectionOwner(other.D, other.Clipboard); }

    TEdit* Edit = nullptr;
};

TEST_F(X11EditClipboardTest, CopyAndCutReachAnotherProgram)
{
    TOtherProgram other;
    other.TakeClipboard();  // so that taking it back is seen
    Edit->SetText("caf\xE9 au lait");
    Edit->SetSelStart(0);
    Edit->SetSelLength(8);
    CtrlKey(XK_c);
    ASSERT_TRUE(PumpUntil([&] { return FBackend->IsOurWindow(OwnerSeenBy(other)); }));
    EXPECT_EQ(ReadAsOther(other), "caf\xC3\xA9 au ");
    EXPECT_EQ(Edit->GetText(), "caf\xE9 au lait");

    CtrlKey(XK_a);
    CtrlKey(XK_x);
    ASSERT_TRUE(PumpUntil([&] { return Edit->GetText().empty(); }));
    EXPECT_EQ(ReadAsOther(other), "caf\xC3\xA9 au lait");
}

TEST_F(X11EditClipboardTest, PasteTakesAnotherProgramsText)
{
    TOtherProgram other;
    other.TakeClipboard();
    Edit->SetText("<>");
    Edit->SetSelStart(1);
    Edit->SetSelLength(0);
    {
        // The edit waits for the answer inside its key handler; the other
        // program answers from its own thread meanwhile.
        TClipboardOwnerThread owner(other, "gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC");
        CtrlKey(XK_v);
        PumpUntil([&] { return Edit->GetText() != "<>"; });
    }
    EXPECT_EQ(Edit->GetText(), "<gr\xFC\xDF" "e ?>");
    EXPECT_EQ(Edit->GetSelStart(), 8);  // the caret after the pasted text
}

} // namespace
} // namespace ld::x11test
