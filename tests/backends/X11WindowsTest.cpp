// Forms as windows of the desktop, seen from the X server and driven through
// it: what each X window says of itself, the window system following where
// the server (or its window manager) puts and stacks windows and where the
// keyboard goes, pixels right after windows moved over and off each other,
// a modal dialog, a drop-down list, and an item dragged from one form to
// another. Each runs without a window manager and under one (with-xvfb --wm).
#include <unistd.h>

#include "controls/list/ShortcutList.h"
#include "platform/gfx/Png.h"
#include "platform/vcl/DragDrop.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "tests/backends/X11TestSupport.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace ld::x11test {
namespace {

class X11WindowsTest : public X11Test {
protected:
    std::vector<unsigned long> Cardinals(Window w, const char* property, Atom type = XA_CARDINAL)
    {
        Atom got;
        int format;
        unsigned long count, after;
        unsigned char* data = nullptr;
        std::vector<unsigned long> out;
        if (XGetWindowProperty(FHand, w, XInternAtom(FHand, property, False), 0, 1 << 16, False, type, &got, &format,
                               &count, &after, &data) == Success &&
            data) {
            auto* values = reinterpret_cast<unsigned long*>(data);
            out.assign(values, values + count);
            XFree(data);
        }
        return out;
    }
    bool HasAtom(Window w, const char* property, const char* atom)
    {
        for (unsigned long a : Cardinals(w, property, XA_ATOM))
            if (a == XInternAtom(FHand, atom, False))
                return true;
        return false;
    }
    TRect ServerRect(Window w)
    {
        XWindowAttributes a{};
        XGetWindowAttributes(FHand, w, &a);
        int x = 0, y = 0;
        Window child;
        XTranslateCoordinates(FHand, w, DefaultRootWindow(FHand), 0, 0, &x, &y, &child);
        return Bounds(x, y, a.width, a.height);
    }
    TRect ClientOnScreen(TWinControl* c)
    {
        TPoint p = c->ClientToScreen(TPoint{0, 0});
        return Bounds(p.X, p.Y, c->GetClientWidth(), c->GetClientHeight());
    }
    TForm* Form(const std::string& caption, TRect bounds, TBorderStyle style = bsSizeable)
    {
        auto* form = new TForm(nullptr);
        form->SetCaption(caption);
        form->SetBorderStyle(style);
        form->SetBoundsRect(bounds);
        FForms.push_back(form);
        return form;
    }
    void ClickAt(TPoint p, unsigned button = 1)
    {
        HandMoveTo(p.X, p.Y);
        HandButton(button, true);
        HandButton(button, false);
    }
    // What a person sees inside Area against the window system painting the
    // same layout anew: every window invalidated and painted at once.
    void ExpectSameAsRepainted(const TRect& area, const std::string& picture)
    {
        Settle();
        auto shown = FBackend->CaptureWindow(area);
        RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        const TSurface& fresh = GetScreenSurface();
        std::string first;
        for (Integer y = 0; y < area.Height() && first.empty(); ++y)
            for (Integer x = 0; x < area.Width() && first.empty(); ++x)
                if ((shown->Row(y)[x] | 0xFF000000u) != (fresh.Pixel(area.Left + x, area.Top + y) | 0xFF000000u))
                    first = std::to_string(area.Left + x) + "," + std::to_string(area.Top + y);
        SavePngFile((OutputDir() / picture).string(), *shown);
        EXPECT_EQ(first, "") << "see " << (OutputDir() / picture);
    }
};

TEST_F(X11WindowsTest, EachFormIsADesktopWindowOfItsClientAreaThatSaysWhatItIs)
{
    TForm* sizable = Form("Caf\xE9 list", Bounds(60, 50, 300, 200));
    sizable->GetConstraints()->SetMinWidth(200);
    sizable->GetConstraints()->SetMinHeight(150);
    TForm* fixed = Form("Fixed", Bounds(420, 50, 200, 120), bsSingle);
    sizable->Show();
    fixed->Show();
    WaitUntilShown(sizable);
    WaitUntilShown(fixed);
    Window w = XWindowOf(sizable);
    EXPECT_EQ(ServerRect(w), ClientOnScreen(sizable));
    EXPECT_EQ(sizable->GetClientWidth(), 300 - 8);  // the frame's insets stay: forms lay out as designed
    EXPECT_EQ(sizable->GetClientHeight(), 200 - 8 - 19);
    EXPECT_NE(XWindowOf(fixed), w);

    char* name = nullptr;
    ASSERT_TRUE(XFetchName(FHand, w, &name));
    EXPECT_EQ(std::string(name), "Caf\xE9 list");
    XFree(name);
    XClassHint cls{};
    ASSERT_TRUE(XGetClassHint(FHand, w, &cls));
    EXPECT_EQ(std::string(cls.res_name), "launchdeck");
    EXPECT_EQ(std::string(cls.res_class), "Launchdeck");
    XFree(cls.res_name);
    XFree(cls.res_class);
    EXPECT_EQ(Cardinals(w, "_NET_WM_PID"), std::vector<unsigned long>{static_cast<unsigned long>(getpid())});
    XWMHints* hints = XGetWMHints(FHand, w);
    ASSERT_NE(hints, nullptr);
    EXPECT_TRUE((hints->flags & InputHint) && hints->input);
    XFree(hints);
    EXPECT_TRUE(HasAtom(w, "WM_PROTOCOLS", "WM_DELETE_WINDOW"));

    // Sizable within its constraints (less the frame); fixed at its size.
    XSizeHints size{};
    long supplied;
    ASSERT_TRUE(XGetWMNormalHints(FHand, w, &size, &supplied));
    EXPECT_EQ(size.min_width, 200 - 8);
    EXPECT_EQ(size.min_height, 150 - 27);
    EXPECT_GT(size.max_width, 1000);
    ASSERT_TRUE(XGetWMNormalHints(FHand, XWindowOf(fixed), &size, &supplied));
    EXPECT_EQ(size.min_width, fixed->GetClientWidth());
    EXPECT_EQ(size.max_width, fixed->GetClientWidth());
    EXPECT_EQ(size.max_height, fixed->GetClientHeight());

    // A new caption is a new title; a hidden form is no window on the screen
    // until it is shown again; a freed one is gone.
    sizable->SetCaption("Renamed");
    Settle();
    ASSERT_TRUE(XFetchName(FHand, w, &name));
    EXPECT_EQ(std::string(name), "Renamed");
    XFree(name);
    sizable->Hide();
    ASSERT_TRUE(PumpUntil([&] {
        XWindowAttributes a{};
        return XGetWindowAttributes(FHand, w, &a) && a.map_state == IsUnmapped;
    }));
    sizable->Show();
    WaitUntilShown(sizable);
    EXPECT_EQ(XWindowOf(sizable), w);
    std::erase(FForms, fixed);
    Window fixedWindow = XWindowOf(fixed);
    delete fixed;
    Settle();
    EXPECT_FALSE(FBackend->IsOurWindow(fixedWindow));
}

TEST_F(X11WindowsTest, TheFormFollowsItsXWindowAndTheFormBelowShowsRightWhenItMovesOff)
{
    TProbe* probe;
    TForm* low = MakeForm(100, 100, &probe);
    low->SetBounds(low->GetLeft(), low->GetTop(), 420, 320);
    auto* memo = new TMemo(low);
    memo->SetBounds(140, 60, 250, 200);
    memo->SetParent(low);
    memo->GetLines()->Add("Under the dialog");
    TForm* high = Form("Over it", Bounds(low->GetLeft() + 120, low->GetTop() + 80, 260, 180));
    auto* notes = new TMemo(high);
    notes->SetAlign(alClient);
    notes->SetParent(high);
    high->Show();
    WaitUntilShown(low);
    WaitUntilShown(high);
    int resized = 0;
    high->SetOnResize(TNotifyEvent::Lambda([&](TObject*) { ++resized; }));
    const TRect lowArea = ClientOnScreen(low);

    // Moved by the server (a window manager's move reaches us the same way).
    TPoint away = low->ClientToScreen(TPoint{low->GetClientWidth() + 40, 30});
    XMoveWindow(FHand, XWindowOf(high), away.X, away.Y);
    XFlush(FHand);
    ASSERT_TRUE(PumpUntil([&] { return high->ClientToScreen(TPoint{0, 0}) == away; }));
    EXPECT_EQ(GetActiveWindow() != nullptr, true);
    ExpectSameAsRepainted(lowArea, "x11-windows-uncovered.png");

    // Over the form again and off once more; and sized by the server, which
    // aligns and fires OnResize.
    XMoveWindow(FHand, XWindowOf(high), lowArea.Left + 30, lowArea.Top + 30);
    XFlush(FHand);
    ASSERT_TRUE(PumpUntil([&] { return high->ClientToScreen(TPoint{0, 0}) == TPoint{lowArea.Left + 30, lowArea.Top + 30}; }));
    XMoveWindow(FHand, XWindowOf(high), away.X, away.Y + 20);
    XFlush(FHand);
    ASSERT_TRUE(PumpUntil([&] { return high->ClientToScreen(TPoint{0, 0}) == TPoint{away.X, away.Y + 20}; }));
    ExpectSameAsRepainted(lowArea, "x11-windows-uncovered-again.png");
    EXPECT_EQ(resized, 0);
    XResizeWindow(FHand, XWindowOf(high), 300, 200);
    XFlush(FHand);
    ASSERT_TRUE(PumpUntil([&] { return high->GetClientWidth() == 300 && high->GetClientHeight() == 200; }));
    EXPECT_EQ(high->GetWidth(), 308);
    EXPECT_EQ(resized, 1);
    EXPECT_EQ(notes->GetBoundsRect(), Bounds(0, 0, 300, 200));
    ExpectSameAsRepainted(ClientOnScreen(high), "x11-windows-resized.png");
}

TEST_F(X11WindowsTest, TheZOrderAndTheActiveFormFollowTheServerAndAClickRaises)
{
    TProbe* lowProbe;
    TProbe* highProbe;
    TForm* low = MakeForm(100, 100, &lowProbe);
    TForm* high = MakeForm(160, 140, &highProbe);
    ASSERT_EQ(GetTopWindow(nullptr), high->GetHandle());

    XRaiseWindow(FHand, XWindowOf(low));
    XFlush(FHand);
    ASSERT_TRUE(PumpUntil([&] { return GetTopWindow(nullptr) == low->GetHandle(); }));
    TRect overlap;
    IntersectRect(overlap, ClientOnScreen(low), ClientOnScreen(high));
    ASSERT_FALSE(IsRectEmpty(overlap));
    ExpectSameAsRepainted(overlap, "x11-windows-raised-by-server.png");

    // A click on what shows of the lower form raises it on the server too.
    TRect highArea = ClientOnScreen(high);
    ClickAt({highArea.Right - 10, highArea.Bottom - 10});
    ASSERT_TRUE(PumpUntil([&] { return GetTopWindow(nullptr) == high->GetHandle() && GetActiveWindow() == high->GetHandle(); }));
    ExpectSameAsRepainted(overlap, "x11-windows-raised-by-click.png");

    // Minimised by the window manager, a form covers nothing of the others;
    // restored, it is on top again.
    if (FBackend->HasWindowManager()) {
        XIconifyWindow(FHand, XWindowOf(high), DefaultScreen(FHand));
        XFlush(FHand);
        ASSERT_TRUE(PumpUntil([&] { return GetWindow(high->GetHandle(), GW_HWNDLAST) == high->GetHandle(); }));
        ExpectSameAsRepainted(overlap, "x11-windows-minimised.png");
        XMapWindow(FHand, XWindowOf(high));
        XFlush(FHand);
        ASSERT_TRUE(PumpUntil([&] { return GetTopWindow(nullptr) == high->GetHandle(); }));
        WaitUntilShown(high);
    }

    // The keyboard's window is the active form.
    HandFocusOurWindow(low);
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == low->GetHandle(); }));
    HandFocusOurWindow(high);
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == high->GetHandle(); }));
    // And a form the program activates gets the keyboard.
    low->SetFocus();
    ASSERT_TRUE(PumpUntil([&] {
        Window focus;
        int revert;
        XGetInputFocus(FHand, &focus, &revert);
        return focus == XWindowOf(low);
    }));
}

TEST_F(X11WindowsTest, AModalDialogIsAWindowOfItsOwnAboveItsOwnerCentredAndItsCloseBoxCancelsIt)
{
    TForm* main = MakeForm(40, 40, nullptr);
    HandFocusOurWindow(main);
    PumpUntil([&] { return GetActiveWindow() == main->GetHandle(); });
    TForm* dialog = Form("Dialog", Bounds(0, 0, 300, 160), bsDialog);
    dialog->SetPosition(poScreenCenter);
    std::string seen;
    bool closed = false;
    Application->SetOnIdle(TIdleEvent::Lambda([&](TObject*, bool&) {
        Window w = XWindowOf(dialog);
        XWindowAttributes a{};
        if (closed || !w || !XGetWindowAttributes(FHand, w, &a) || a.map_state != IsViewable)
            return;
        Window owner = 0;
        XGetTransientForHint(FHand, w, &owner);
        RECT r;
        GetWindowRect(dialog->GetHandle(), r);
        seen = std::string(owner == XWindowOf(main) ? "transient" : "not transient") +
               (HasAtom(w, "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_DIALOG") ? ", dialog" : "") +
               (HasAtom(w, "_NET_WM_STATE", "_NET_WM_STATE_MODAL") ? ", modal" : "") +
               (r.Left + r.Width() / 2 == DisplayWidth(FHand, 0) / 2 && r.Top + r.Height() / 2 == DisplayHeight(FHand, 0) / 2
                    ? ", centred"
                    : ", at " + std::to_string(r.Left) + "," + std::to_string(r.Top)) +
               (IsWindowEnabled(main->GetHandle()) ? ", owner enabled" : "");
        SendCloseRequest(FHand, w);
        closed = true;
    }));
    TModalResult result = dialog->ShowModal();
    Application->SetOnIdle({});
    EXPECT_EQ(seen, "transient, dialog, modal, centred");
    EXPECT_EQ(result, mrCancel);
    Settle();
    XWindowAttributes a{};
    ASSERT_TRUE(XGetWindowAttributes(FHand, XWindowOf(dialog), &a));
    EXPECT_EQ(a.map_state, IsUnmapped);
    EXPECT_TRUE(IsWindowEnabled(main->GetHandle()));
}

TEST_F(X11WindowsTest, AComboListDropsDownBelowTheComboAndAClickChoosesAnEntryOrClosesItOutside)
{
    TForm* form = Form("Combo", Bounds(200, 200, 260, 160));
    auto* combo = new TComboBox(form);
    combo->SetStyle(csDropDownList);
    combo->SetBounds(10, 10, 150, 21);
    combo->SetParent(form);
    for (const char* item : {"North", "East", "South", "West"})
        combo->GetItems()->Add(item);
    form->Show();
    WaitUntilShown(form);
    TRect box = ClientOnScreen(combo);
    RECT outer;
    GetWindowRect(combo->GetHandle(), outer);
    ClickAt({box.Left + 20, box.Top + 8});
    Window list = 0;
    ASSERT_TRUE(PumpUntil([&] {
        for (HWND h = GetTopWindow(nullptr); h && !list; h = GetWindow(h, GW_HWNDNEXT))
            if (IsPopupWindow(h) && IsWindowVisible(h) && FBackend->XWindowOf(h))
                list = FBackend->XWindowOf(h);
        return list != 0;
    }));
    Settle();
    XWindowAttributes a{};
    ASSERT_TRUE(XGetWindowAttributes(FHand, list, &a));
    EXPECT_TRUE(a.override_redirect);
    EXPECT_EQ(a.map_state, IsViewable);
    EXPECT_EQ(ServerRect(list).TopLeft(), (TPoint{outer.Left, outer.Bottom}));
    const TRect listArea = ServerRect(list);
    ExpectSameAsRepainted(listArea, "x11-windows-combo-list.png");
    // The third entry, 2 rows down.
    ClickAt({listArea.Left + 20, listArea.Top + 1 + combo->GetItemHeight() * 2 + combo->GetItemHeight() / 2});
    ASSERT_TRUE(PumpUntil([&] { return combo->GetItemIndex() == 2 && !FBackend->IsOurWindow(list); }));
    EXPECT_EQ(combo->GetText(), "South");

    // Open again, and a click on another program's part of the screen closes it unchosen.
    ClickAt({box.Left + 20, box.Top + 8});
    ASSERT_TRUE(PumpUntil([&] { return GetCapture() == combo->GetHandle(); }));
    Settle();
    ClickAt({1200, 1000});
    ASSERT_TRUE(PumpUntil([&] { return GetCapture() == nullptr; }));
    EXPECT_EQ(combo->GetItemIndex(), 2);
}

TEST_F(X11WindowsTest, AnItemDraggedFromAListOnOneFormOntoAListOnAnotherMovesThere)
{
    auto list = [&](TForm* form, std::vector<std::string> captions) {
        auto* l = new TShortcutList(form);
        l->SetBounds(4, 4, 120, 200);
        l->SetParent(form);
        for (const std::string& c : captions)
            l->GetItems()->Add()->SetCaption(c);
        return l;
    };
    TForm* left = Form("From", Bounds(80, 120, 160, 260));
    TForm* right = Form("To", Bounds(420, 160, 160, 260));
    TShortcutList* from = list(left, {"Inbox", "Calendar", "Contacts"});
    TShortcutList* to = list(right, {"Tasks"});
    from->SetName("From");
    to->SetName("To");
    left->Show();
    right->Show();
    WaitUntilShown(left);
    WaitUntilShown(right);
    const TRect item = from->GetItemRect(from->GetItems()->GetItem(1));
    const TPoint start = from->ClientToScreen(TPoint{(item.Left + item.Right) / 2, (item.Top + item.Bottom) / 2});
    const TPoint end = to->ClientToScreen(TPoint{60, 170});
    // On the item first, so that it lights up, then pressed.
    HandMoveTo(start.X, start.Y);
    ASSERT_TRUE(PumpUntil([&] { return from->GetActiveItem() == from->GetItems()->GetItem(1); }));
    HandButton(1, true);
    ASSERT_TRUE(PumpUntil([&] { return from->IsPressed(); }));
    ASSERT_TRUE(HandGlide(start, end, 12));
    auto where = [&] {
        POINT c;
        GetCursorPos(c);
        TControl* target = GetDragObject() ? GetDragObject()->DragTarget : nullptr;
        return "pointer " + std::to_string(c.X) + "," + std::to_string(c.Y) + " (end " + std::to_string(end.X) + "," +
               std::to_string(end.Y) + "), target " + (target ? target->ClassName() + " " + target->GetName() : "none") +
               ", drag " + (GetDragObject() ? "on" : "off") + ", capture " + (GetCapture() ? "held" : "free");
    };
    EXPECT_EQ(GetDragObject() ? GetDragObject()->DragTarget : nullptr, to) << where();
    HandButton(1, false);
    ASSERT_TRUE(PumpUntil([&] { return to->GetItems()->GetCount() == 2; })) << where();
    EXPECT_EQ(to->GetItems()->GetItem(1)->GetCaption(), "Calendar");
    ASSERT_EQ(from->GetItems()->GetCount(), 2);
    EXPECT_EQ(from->GetItems()->GetItem(1)->GetCaption(), "Contacts");
}

} // namespace
} // namespace ld::x11test
