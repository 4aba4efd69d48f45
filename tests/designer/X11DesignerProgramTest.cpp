// The designer program in a real X window, driven by a hand through XTest as
// a person would: palette buttons, clicks and double-clicks on the form, drags
// of a list and of a grab handle, keys, the Save button, and the close box
// that ends the program; then the saved form opened again.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

    Window FindWindow(const std::string& title, int timeoutMs)
    {
        const long long deadline = NowMs() + timeoutMs;
        while (NowMs() < deadline) {
            Window root, parent, *children = nullptr, found = 0;
            unsigned n = 0;
            if (XQueryTree(FDisplay, DefaultRootWindow(FDisplay), &root, &parent, &children, &n)) {
                for (unsigned i = 0; i < n && !found; ++i) {
                    char* name = nullptr;
                    XWindowAttributes a;
                    if (XFetchName(FDisplay, children[i], &name) && name) {
                        if (title == name && XGetWindowAttributes(FDisplay, children[i], &a) &&
                            a.map_state == IsViewable)
                            found = children[i];
                        XFree(name);
                    }
                }
                XFree(children);
            }
            if (found)
                return found;
            usleep(10000);
        }
        return 0;
    }

    // A left click at a point of the program's window (it shows the whole screen at the root's origin).
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

    void Close(Window w)
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

    // Save pressed; true once the file is there with bytes other than Old's.
    bool SaveAndWait(Window w, const std::filesystem::path& file, const std::string& old)
    {
        ClickAt(w, 650, 42);
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

    void SaveWindowPicture(Window w, const std::string& name)
    {
        XImage* image = XGetImage(FDisplay, w, 0, 0, 920, 760, AllPlanes, ZPixmap);
        ASSERT_NE(image, nullptr);
        TSurface picture(920, 760);
        for (Integer y = 0; y < 760; ++y)
            for (Integer x = 0; x < 920; ++x)
                picture.Row(y)[x] = 0xFF000000u | uint32_t(XGetPixel(image, x, y) & 0xFFFFFF);
        XDestroyImage(image);
        SavePngFile((OutputDir() / name).string(), picture);
    }

    Display* FDisplay = nullptr;
    pid_t FPid = -1;
    std::filesystem::path FErr;
};

// The new form lies at (0, 120) of the screen, its client area from (4, 143);
// the palette's buttons and Save are where the palette window puts them.
TEST_F(X11DesignerProgramTest, APersonBuildsABarEditsItSavesAndTheFormOpensAgain)
{
    const std::filesystem::path saved = OutputDir() / ("x11-designed-" + std::to_string(getpid()) + ".dfm");
    std::filesystem::remove(saved);
    Start({LD_PACKAGE_FILE, "--save", saved.string()});
    Window w = FindWindow("Launchdeck Designer - " + saved.string(), 10000);
    ASSERT_NE(w, 0u) << ReadAll(FErr);
    usleep(300000);

    ClickAt(w, 50, 59);         // the first button of the palette, after the arrow: the bar
    ClickAt(w, 30, 160);        // on the form: the bar takes its left side
    DoubleClickAt(w, 40, 250);  // the bar's default verb: a sheet
    DoubleClickAt(w, 40, 300);  // on that sheet: another one
    ClickAt(w, 78, 59);         // the list
    ClickAt(w, 150, 160);       // on the form, right of the bar
    DragFromTo(w, 185, 250, 40, 250); // the list onto the open sheet
    Press(XK_Escape);           // the sheet the list went to
    Press(XK_Escape);           // its bar
    DragFromTo(w, 88, 249, 124, 249); // the bar's right grab handle
    ClickAt(w, 40, 250);        // the list, now on the sheet
    Press(XK_Delete);
    Press(XK_z, true);          // the list comes back
    ASSERT_TRUE(SaveAndWait(w, saved, {})) << ReadAll(FErr);
    SaveWindowPicture(w, "x11-designer-window.png");
    const std::string form = ReadAll(saved);
    // The bar sized onto the grid, its two sheets, the list snapped to the open one.
    EXPECT_EQ(Check(saved, "expect Launchdeck1 TLaunchdeck Width 120\n"
                           "expect Launchdeck1 TLaunchdeck ActiveSheet ShortcutSheet2\n"
                           "expect ShortcutSheet1 TShortcutSheet\n"
                           "expect ShortcutList1 TShortcutList Left 5\n"),
              0)
        << "see x11-designer-window.png; " << ReadAll(FErr);
    Close(w);
    ASSERT_EQ(WaitForExit(10000), 0) << ReadAll(FErr);

    // Opened again, the form shows with everything on it: saved once more, the bytes are the same.
    Start({LD_PACKAGE_FILE, saved.string()});
    w = FindWindow("Launchdeck Designer - " + saved.string(), 10000);
    ASSERT_NE(w, 0u) << ReadAll(FErr);
    usleep(300000);
    SaveWindowPicture(w, "x11-designer-reopened.png");
    std::filesystem::remove(saved);
    ASSERT_TRUE(SaveAndWait(w, saved, {})) << ReadAll(FErr);
    EXPECT_EQ(ReadAll(saved), form) << "see x11-designer-reopened.png";
    Close(w);
    EXPECT_EQ(WaitForExit(10000), 0) << ReadAll(FErr);
    std::filesystem::remove(saved);
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
