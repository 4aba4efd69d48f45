// The demo's form driven through the X server as a person would drive it:
// hot tracking, a click, a drag onto the log with Ctrl held, and a popup
// menu whose nested loop waits in the same backend.
#include "apps/demo/DemoDialog.h"
#include "apps/demo/DemoForm.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/vcl/Menus.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "tests/backends/X11TestSupport.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace ld::x11test {
namespace {

class X11DemoFormTest : public X11Test {
protected:
    void SetUp() override
    {
        X11Test::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        FDemo = new demo::TDemoForm(nullptr);
        FDemo->Show();
        WaitUntilShown(FDemo);
    }
    void TearDown() override
    {
        delete FDemo;
        X11Test::TearDown();
    }
    bool Logged(const std::string& line) const
    {
        for (const std::string& l : FDemo->GetLog()->Lines())
            if (l == line)
                return true;
        return false;
    }
    TPoint At(TControl* c, Integer x, Integer y) const { return c->ClientToScreen(TPoint{x, y}); }
    demo::TDemoForm* FDemo = nullptr;
};

TEST_F(X11DemoFormTest, TilesLightUpUnderThePointerAndClick)
{
    TPoint inbox = At(FDemo->GetTile(0), 40, 20);
    HandMoveTo(inbox.X, inbox.Y);
    ASSERT_TRUE(PumpUntil([&] { return FDemo->GetTile(0)->IsHot(); }));
    HandButton(1, true);
    HandButton(1, false);
    ASSERT_TRUE(PumpUntil([&] { return Logged("Inbox clicked"); }));
    TPoint calendar = At(FDemo->GetTile(1), 40, 20);
    HandMoveTo(calendar.X, calendar.Y);
    ASSERT_TRUE(PumpUntil([&] { return FDemo->GetTile(1)->IsHot() && !FDemo->GetTile(0)->IsHot(); }));
}

TEST_F(X11DemoFormTest, ATileDraggedOntoTheLogWithCtrlHeldIsReceived)
{
    TPoint from = At(FDemo->GetTile(2), 40, 20);
    TPoint to = At(FDemo->GetLog(), 200, 60);
    HandMoveTo(from.X, from.Y);
    HandKey(XK_Control_L, true);
    HandButton(1, true);
    ASSERT_TRUE(HandGlide(from, to, 10));
    HandButton(1, false);
    HandKey(XK_Control_L, false);
    ASSERT_TRUE(PumpUntil([&] { return Logged("Contacts dropped"); })) << [&] {
        std::string all;
        for (const std::string& l : FDemo->GetLog()->Lines())
            all += l + "; ";
        return all;
    }();
    EXPECT_TRUE(Logged("received Contacts at 200,60"));
}

TEST_F(X11DemoFormTest, ARightClickOpensTheMenuAndItsItemIsChosenInItsOwnLoop)
{
    TPoint tasks = At(FDemo->GetTile(3), 30, 30);
    HandMoveTo(tasks.X, tasks.Y);
    HandButton(3, true);
    HandButton(3, false);
    // The hand goes for the item once the menu is on the screen, as a
    // person's does: the menu's nested loop runs the idle work meanwhile.
    bool chosen = false;
    Application->SetOnIdle(TIdleEvent::Lambda([&](TObject*, bool&) {
        HWND menu = FDemo->GetMenu()->GetWindowHandle();
        XWindowAttributes a{};
        if (chosen || !menu || !XGetWindowAttributes(FHand, FBackend->XWindowOf(menu), &a) || a.map_state != IsViewable)
            return;
        chosen = true;
        // The second item, "Rename", one item height below the first.
        HandMoveTo(tasks.X + 20, tasks.Y + 1 + TPopupMenu::ItemHeight + 8);
        HandButton(1, true);
        HandButton(1, false);
    }));
    bool done = PumpUntil([&] { return Logged("menu: &Rename"); });
    Application->SetOnIdle({});
    EXPECT_TRUE(done);
}

TEST_F(X11DemoFormTest, TheDialogButtonOpensAModalDialogThatTakesTypedTextAndEnter)
{
    HandFocusOurWindow(FDemo);
    TPoint button = At(FDemo->GetDialogButton(), 20, 12);
    HandMoveTo(button.X, button.Y);
    HandButton(1, true);
    HandButton(1, false);
    // The hand types once the dialog has the keyboard, as a person does: the
    // keys go to the X window with the focus. Should they go astray, the
    // dialog's loop would wait for ever: close it from its idle time after a
    // while, and say what it held.
    std::string stuck;
    bool typed = false;
    const long long giveUp = NowMs() + 3000;
    Application->SetOnIdle(TIdleEvent::Lambda([&](TObject*, bool&) {
        demo::TDemoDialog* d = FDemo->GetOpenDialog();
        Window focus = 0;
        int revert;
        XGetInputFocus(FHand, &focus, &revert);
        if (d && !typed && focus && focus == XWindowOf(d)) {
            typed = true;
            for (unsigned long key : {XK_x, XK_y, XK_Return}) {
                HandKey(key, true);
                HandKey(key, false);
            }
        }
        if (d && NowMs() > giveUp && stuck.empty()) {
            TWinControl* focus = FindControl(GetFocus());
            stuck = "name '" + d->GetNameEdit()->GetText() + "', focus " +
                    (focus ? focus->ClassName() + " " + focus->GetName() : std::string("none")) +
                    ", ctrl " + std::to_string(GetKeyState(VK_CONTROL)) + ", shift " + std::to_string(GetKeyState(VK_SHIFT)) +
                    ", alt " + std::to_string(GetKeyState(VK_MENU));
            d->SetModalResult(mrAbort);
        }
    }));
    auto& lines = FDemo->GetLog()->Lines();
    bool done = PumpUntil([&] { return !lines.empty() && lines.back().rfind("dialog", 0) == 0; }, 5000);
    Application->SetOnIdle({});
    ASSERT_TRUE(done);
    EXPECT_EQ(stuck, "");
    EXPECT_EQ(lines.back(), "dialog OK: name 'xy', priority Normal, folder Inbox, 0 lines of notes");
    EXPECT_EQ(FDemo->GetOpenDialog(), nullptr);
}

} // namespace
} // namespace ld::x11test
