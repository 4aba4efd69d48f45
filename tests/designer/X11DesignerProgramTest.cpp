// The designer program on a real X display, its palette, form and property
// view each a window of the desktop, driven by a hand through XTest as a
// person would: palette buttons, clicks and double-clicks on the form, drags
// of a list and of a grab handle, keys, the Save button, and the close box
// that ends the program; then the saved form opened again.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "platform/gfx/Png.h"
#include "platform/gfx/Surface.h"
#include "tests/support/TestOutput.h"

namespace ld::test {
namespace {

long long NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::filesystem::path OutputDir()
{
    return ld::test::TestOutputDir("designer");
}

std::string ReadAll(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class X11DesignerProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "no DISPLAY: run under tests/backends/with-xvfb";
        FDisplay = XOpenDisplay(nullptr);
        ASSERT_NE(FDisplay, nullptr);
        // Walking the tree races with the window manager making and dropping
        // its frames: a window gone meanwhile is no failure.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        FErr = OutputDir() / ("x11-designer-" + std::to_string(getpid()) + ".err");
    }
    void TearDown() override
    {
        if (FPid > 0) {
            kill(FPid, SIGKILL);
            waitpid(FPid, nullptr, 0);
        }
        if (FDisplay)
            XCloseDisplay(FDisplay);
    }

    void Start(const std::vector<std::string>& args)
    {
        FPid = fork();
        if (FPid == 0) {
            int err = open(FErr.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            int out = open("/dev/null", O_WRONLY);
            dup2(out, 1);
            dup2(err, 2);
            std::vector<char*> argv{const_cast<char*>(LD_DESIGNER_PROGRAM)};
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(LD_DESIGNER_PROGRAM, argv.data());
            _exit(127);
        }
    }

    int WaitForExit(int timeoutMs)
    {
        const long long deadline = NowMs() + timeoutMs;
        for (;;) {
            int status = 0;
            if (waitpid(FPid, &status, WNOHANG) == FPid) {
                FPid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            if (NowMs() > deadline)
                return -1;
            usleep(5000);
        }
    }

    // A viewable window named Title anywhere in the tree (a window manager
    // keeps it inside a frame of its own).
    Window FindIn(Window w, const std::string& title)
    {
        char* name = nullptr;
        if (XFetchName(FDisplay, w, &name) && name) {
            const bool match = title == name;
            XFree(name);
            XWindowAttributes a;
            if (match && XGetWindowAttributes(FDisplay, w, &a) && a.map_state == IsViewable)
                return w;
        }
        Window root, parent, *children = nullptr, found = 0;
        unsigned n = 0;
        if (XQueryTree(FDisplay, w, &root, &parent, &children, &n)) {
            for (unsigned i = 0; i < n && !found; ++i)
                found = FindIn(children[i], title);
            if (children)
                XFree(children);
        }
        return found;
    }

    Window FindWindow(const std::string& title, int timeoutMs)
    {
        const long long deadline = NowMs() + timeoutMs;
        while (NowMs() < deadline) {
            if (Window found = FindIn(DefaultRootWindow(FDisplay), title))
                return found;
            usleep(10000);
        }
        return 0;
    }

    // A left click at a point of one of the program's windows.
    void ClickAt(Window w, int x, int y)
    {
        int rootX = 0, rootY = 0;
        Window child;
        XTranslateCoordinates(FDisplay, w, DefaultRootWindow(FDisplay), x, y, &rootX, &rootY, &child);
        XTestFakeMotionEvent(FDisplay, DefaultScreen(FDisplay), rootX, rootY, CurrentTime);
        XTestFakeButtonEvent(FDisplay, 1, True, CurrentTime);
        XTestFakeButtonEvent(FDisplay, 1, False, CurrentTime);
        XSync(FDisplay, False);
        usleep(300000);
    }

    void DoubleClickAt(Window w, int x, int y)
    {
        MoveTo(w, x, y);
        for (int i = 0; i < 2; ++i) {
            XTestFakeButtonEvent(FDisplay, 1, True, CurrentTime);
            XTestFakeButtonEvent(FDisplay, 1, False, CurrentTime);
        }
        XSync(FDisplay, False);
        usleep(300000);
    }

    // The button held from one point to another, in steps as a hand moves.
    void DragFromTo(Window w, int x1, int y1, int x2, int y2)
    {
        MoveTo(w, x1, y1);
        XTestFakeButtonEvent(FDisplay, 1, True, CurrentTime);
        XSync(FDisplay, False);
        usleep(100000);
        for (int i = 1; i <= 8; ++i) {
            MoveTo(w, x1 + (x2 - x1) * i / 8, y1 + (y2 - y1) * i / 8);
            usleep(30000);
        }
        XTestFakeButtonEvent(FDisplay, 1, False, CurrentTime);
        XSync(FDisplay, False);
        usleep(300000);
    }

    void MoveTo(Window w, int x, int y)
    {
        int rootX = 0, rootY = 0;
        Window child;
        XTranslateCoordinates(FDisplay, w, DefaultRootWindow(FDisplay), x, y, &rootX, &rootY, &child);
        XTestFakeMotionEvent(FDisplay, DefaultScreen(FDisplay), rootX, rootY, CurrentTime);
        XSync(FDisplay, False);
    }

    // A key, with Ctrl held when asked.
    void Press(KeySym key, bool ctrl = false)
    {
        const KeyCode control = XKeysymToKeycode(FDisplay, XK_Control_L);
        if (ctrl)
            XTestFakeKeyEvent(FDisplay, control, True, CurrentTime);
        XTestFakeKeyEvent(FDisplay, XKeysymToKeycode(FDisplay, key), True, CurrentTime);
        XTestFakeKeyEvent(FDisplay, XKeysymToKeycode(FDisplay, key), False, CurrentTime);
        if (ctrl)
            XTestFakeKeyEvent(FDisplay, control, False, CurrentTime);
        XSync(FDisplay, False);
        usleep(300000);
    }

    // Save pressed; true once the file is there with bytes other than Old's.
    bool SaveAndWait(Window w, const std::filesystem::path& file, const std::string& old)
    {
        ClickAt(w, 646, 19);
        const long long deadline = NowMs() + 10000;
        while (NowMs() < deadline) {
            if (std::filesystem::exists(file) && ReadAll(file) != old)
                return true;
            usleep(20000);
        }
        return false;
    }

    // A scripted session of the designer on Form that checks it as Script says.
    int Check(const std::filesystem::path& form, const std::string& script)
    {
        const std::filesystem::path file = OutputDir() / ("x11-check-" + std::to_string(getpid()) + ".txt");
        std::ofstream(file) << script;
        const std::string command = std::string(LD_DESIGNER_PROGRAM) + " " + LD_PACKAGE_FILE + " " + form.string() +
                                    " --script " + file.string() + " --out " + (OutputDir() / "x11-check").string() +
                                    " >/dev/null 2>>" + FErr.string();
        const int rc = std::system(command.c_str());
        std::filesystem::remove(file);
        return rc;
    }

    // The whole screen as a person sees it, the window manager's frames included.
    void SaveScreenPicture(const std::string& name) { SaveWindowPicture(DefaultRootWindow(FDisplay), name); }

    void SaveWindowPicture(Window w, const std::string& name)
    {
        XWindowAttributes a{};
        ASSERT_TRUE(XGetWindowAttributes(FDisplay, w, &a));
        XImage* image = XGetImage(FDisplay, w, 0, 0, unsigned(a.width), unsigned(a.height), AllPlanes, ZPixmap);
        ASSERT_NE(image, nullptr);
        TSurface picture(a.width, a.height);
        for (Integer y = 0; y < a.height; ++y)
            for (Integer x = 0; x < a.width; ++x)
                picture.Row(y)[x] = 0xFF000000u | uint32_t(XGetPixel(image, x, y) & 0xFFFFFF);
        XDestroyImage(image);
        SavePngFile((OutputDir() / name).string(), picture);
    }

    void SendClose(Window w)
    {
        XEvent ev{};
        ev.xclient.type = ClientMessage;
        ev.xclient.window = w;
        ev.xclient.message_type = XInternAtom(FDisplay, "WM_PROTOCOLS", False);
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = long(XInternAtom(FDisplay, "WM_DELETE_WINDOW", False));
        XSendEvent(FDisplay, w, False, NoEventMask, &ev);
        XFlush(FDisplay);
    }

    // Where W (or the frame a window manager put it in) lies among the
    // root's children: higher is nearer the top.
    int StackIndex(Window w)
    {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned n = 0;
        while (XQueryTree(FDisplay, w, &root, &parent, &children, &n) && parent != root) {
            if (children)
                XFree(children);
            children = nullptr;
            w = parent;
        }
        if (children)
            XFree(children);
        if (!XQueryTree(FDisplay, root, &root, &parent, &children, &n))
            return -1;
        int at = -1;
        for (unsigned i = 0; i < n; ++i)
            if (children[i] == w)
                at = int(i);
        if (children)
            XFree(children);
        return at;
    }

    TRect RootRect(Window w)
    {
        XWindowAttributes a{};
        XGetWindowAttributes(FDisplay, w, &a);
        int x = 0, y = 0;
        Window child;
        XTranslateCoordinates(FDisplay, w, DefaultRootWindow(FDisplay), 0, 0, &x, &y, &child);
        return {x, y, x + a.width, y + a.height};
    }

    // The rows of the property view for a list just placed, as a scripted
    // session of the designer prints them: property names in view order.
    std::vector<std::string> ListPropertyRows()
    {
        const std::filesystem::path script = OutputDir() / ("x11-designer-props-" + std::to_string(getpid()) + ".txt");
        const std::filesystem::path out = OutputDir() / ("x11-designer-props-" + std::to_string(getpid()) + ".out");
        std::ofstream(script) << "palette TShortcutList\nclick Form1 146 57\nprops\n";
        const std::string command = std::string(LD_DESIGNER_PROGRAM) + " " + LD_PACKAGE_FILE + " --script " +
                                    script.string() + " > " + out.string() + " 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << ReadAll(out);
        std::vector<std::string> rows;
        std::istringstream lines(ReadAll(out));
        bool listing = false;
        for (std::string line; std::getline(lines, line);) {
            if (line.find(": TShortcutList") != std::string::npos)
                listing = true;
            else if (listing && line.rfind("  ", 0) == 0)
                rows.push_back(line.substr(2, line.find(' ', 2) - 2));
        }
        return rows;
    }

    Display* FDisplay = nullptr;
    pid_t FPid = -1;
    std::filesystem::path FErr;
};

// Points on the palette and on the designed form are in each window's own
// client area: the palette's arrow, then a button per class; Save at the top.
TEST_F(X11DesignerProgramTest, APersonBuildsABarEditsItSavesAndTheFormOpensAgain)
{
    const std::filesystem::path saved = OutputDir() / ("x11-designed-" + std::to_string(getpid()) + ".dfm");
    std::filesystem::remove(saved);
    Start({LD_PACKAGE_FILE, "--save", saved.string()});
    Window w = FindWindow("Launchdeck Designer - " + saved.string(), 10000);
    ASSERT_NE(w, 0u) << ReadAll(FErr);
    Window form = FindWindow("Form1", 10000);
    ASSERT_NE(form, 0u);
    usleep(300000);

    ClickAt(w, 46, 36);         // the first button of the palette, after the arrow: the bar
    ClickAt(form, 26, 17);       // on the form: the bar takes its left side
    DoubleClickAt(form, 36, 107); // the bar's default verb: a sheet
    DoubleClickAt(form, 36, 157); // on that sheet: another one
    ClickAt(w, 74, 36);         // the list
    ClickAt(form, 146, 17);       // on the form, right of the bar
    DragFromTo(form, 181, 107, 36, 107); // the list onto the open sheet
    Press(XK_Escape);           // the sheet the list went to
    Press(XK_Escape);           // its bar
    DragFromTo(form, 84, 106, 120, 106); // the bar's right grab handle
    ClickAt(form, 36, 107);       // the list, now on the sheet
    Press(XK_Delete);
    Press(XK_z, true);          // the list comes back
    ASSERT_TRUE(SaveAndWait(w, saved, {})) << ReadAll(FErr);
    SaveWindowPicture(form, "x11-designer-window.png");
    const std::string stored = ReadAll(saved);
    // The bar sized onto the grid, its two sheets, the list snapped to the open one.
    EXPECT_EQ(Check(saved, "expect Launchdeck1 TLaunchdeck Width 120\n"
                           "expect Launchdeck1 TLaunchdeck ActiveSheet ShortcutSheet2\n"
                           "expect ShortcutSheet1 TShortcutSheet\n"
                           "expect ShortcutList1 TShortcutList Left 5\n"),
              0)
        << "see x11-designer-window.png; " << ReadAll(FErr);
    SendClose(w);
    ASSERT_EQ(WaitForExit(10000), 0) << ReadAll(FErr);

    // Opened again, the form shows with everything on it: saved once more, the bytes are the same.
    Start({LD_PACKAGE_FILE, saved.string()});
    w = FindWindow("Launchdeck Designer - " + saved.string(), 10000);
    ASSERT_NE(w, 0u) << ReadAll(FErr);
    form = FindWindow("Form1", 10000);
    ASSERT_NE(form, 0u);
    usleep(300000);
    SaveWindowPicture(form, "x11-designer-reopened.png");
    std::filesystem::remove(saved);
    ASSERT_TRUE(SaveAndWait(w, saved, {})) << ReadAll(FErr);
    EXPECT_EQ(ReadAll(saved), stored) << "see x11-designer-reopened.png";
    SendClose(w);
    EXPECT_EQ(WaitForExit(10000), 0) << ReadAll(FErr);
    std::filesystem::remove(saved);
}

TEST_F(X11DesignerProgramTest, TheItemsDialogIsAWindowOfItsOwnCentredAndAboveTheWindowItWasOpenedFrom)
{
    const std::vector<std::string> rows = ListPropertyRows();
    const auto items = std::find(rows.begin(), rows.end(), "Items");
    ASSERT_NE(items, rows.end());
    const int itemsRow = int(items - rows.begin());

    Start({LD_PACKAGE_FILE});
    const Window palette = FindWindow("Launchdeck Designer - Form1", 10000);
    ASSERT_NE(palette, 0u) << ReadAll(FErr);
    const Window form = FindWindow("Form1", 10000);
    const Window properties = FindWindow("Properties", 10000);
    ASSERT_NE(form, 0u);
    ASSERT_NE(properties, 0u);
    usleep(300000);
    ClickAt(palette, 74, 36); // the list's button, after the arrow and the bar's
    ClickAt(form, 146, 57);   // placed, and selected

    // The ellipsis of the Items row: rows of 17 pixels under a heading row,
    // the button 16 pixels wide at the right, left of a scroll bar if the rows overflow.
    const TRect view = RootRect(properties);
    const int visibleRows = view.Height() / 17 - 1;
    ASSERT_LT(itemsRow, visibleRows);
    const int right = view.Width() - (int(rows.size()) > visibleRows ? 16 : 0);
    ClickAt(properties, right - 8, (itemsRow + 1) * 17 + 8);
    const Window dialog = FindWindow("ShortcutList Items Editor", 10000);
    ASSERT_NE(dialog, 0u) << ReadAll(FErr);
    usleep(300000);

    Window owner = 0;
    XGetTransientForHint(FDisplay, dialog, &owner);
    EXPECT_EQ(owner, properties);
    EXPECT_GT(StackIndex(dialog), StackIndex(properties)) << "the dialog above the window it came from";
    EXPECT_GT(StackIndex(dialog), StackIndex(form));
    const TRect at = RootRect(dialog);
    EXPECT_EQ(at.Width(), 403);
    EXPECT_EQ(at.Height(), 189);
    // Centred: its frame of 3 pixels and caption of 19 around the client area.
    const int screenWidth = DisplayWidth(FDisplay, DefaultScreen(FDisplay));
    const int screenHeight = DisplayHeight(FDisplay, DefaultScreen(FDisplay));
    EXPECT_EQ(at.Left, (screenWidth - 409) / 2 + 3);
    EXPECT_EQ(at.Top, (screenHeight - 214) / 2 + 3 + 19);
    SaveScreenPicture("x11-designer-items-dialog.png");

    // Its close box cancels it; the palette's asks about the placed list, and
    // No ends the program.
    SendClose(dialog);
    const long long deadline = NowMs() + 5000;
    while (FindIn(DefaultRootWindow(FDisplay), "ShortcutList Items Editor") && NowMs() < deadline)
        usleep(20000);
    EXPECT_EQ(FindIn(DefaultRootWindow(FDisplay), "ShortcutList Items Editor"), 0u);
    SendClose(palette);
    ASSERT_NE(FindWindow("Confirm", 5000), 0u) << ReadAll(FErr);
    usleep(300000);
    Press(XK_n);
    EXPECT_EQ(WaitForExit(10000), 0) << ReadAll(FErr);
}

TEST_F(X11DesignerProgramTest, WithoutADisplayOnlyAScriptedSessionRuns)
{
    FPid = fork();
    if (FPid == 0) {
        int err = open(FErr.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(err, 2);
        unsetenv("DISPLAY");
        execl(LD_DESIGNER_PROGRAM, LD_DESIGNER_PROGRAM, LD_PACKAGE_FILE, static_cast<char*>(nullptr));
        _exit(127);
    }
    EXPECT_EQ(WaitForExit(10000), 1);
    EXPECT_NE(ReadAll(FErr).find("give a script (--script FILE)"), std::string::npos) << ReadAll(FErr);
}

} // namespace
} // namespace ld::test
