#include "tests/win/WinTestSupport.h"

#include <map>

namespace ld::test {

namespace {

std::map<HWND, TWindowOptions>& AllOptions()
{
    static std::map<HWND, TWindowOptions> options;
    return options;
}

LRESULT RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Log().push_back({hwnd, msg, wParam, lParam});
    TWindowOptions& o = Options(hwnd);
    if (o.Hook) {
        bool handled = false;
        LRESULT r = o.Hook(hwnd, msg, wParam, lParam, handled);
        if (handled)
            return r;
    }
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, ps);
        RECT client;
        GetClientRect(hwnd, client);
        HBRUSH brush = CreateSolidBrush(o.Fill);
        FillRect(dc, client, brush);
        DeleteObject(brush);
        EndPaint(hwnd, ps);
        return 0;
    }
    case WM_ERASEBKGND:
        if (o.HandleErase)
            return 1;
        break;
    case WM_NCDESTROY:
        AllOptions().erase(hwnd);
        break;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

} // namespace

std::vector<TRecord>& Log()
{
    static std::vector<TRecord> log;
    return log;
}

void ClearLog() { Log().clear(); }

std::string MessageName(UINT msg)
{
    switch (msg) {
    case WM_CREATE: return "WM_CREATE";
    case WM_DESTROY: return "WM_DESTROY";
    case WM_MOVE: return "WM_MOVE";
    case WM_SIZE: return "WM_SIZE";
    case WM_ACTIVATE: return "WM_ACTIVATE";
    case WM_SETFOCUS: return "WM_SETFOCUS";
    case WM_KILLFOCUS: return "WM_KILLFOCUS";
    case WM_ENABLE: return "WM_ENABLE";
    case WM_PAINT: return "WM_PAINT";
    case WM_CLOSE: return "WM_CLOSE";
    case WM_SYSCOMMAND: return "WM_SYSCOMMAND";
    case WM_ERASEBKGND: return "WM_ERASEBKGND";
    case WM_SHOWWINDOW: return "WM_SHOWWINDOW";
    case WM_CANCELMODE: return "WM_CANCELMODE";
    case WM_SETCURSOR: return "WM_SETCURSOR";
    case WM_MOUSEACTIVATE: return "WM_MOUSEACTIVATE";
    case WM_WINDOWPOSCHANGED: return "WM_WINDOWPOSCHANGED";
    case WM_NCCREATE: return "WM_NCCREATE";
    case WM_NCDESTROY: return "WM_NCDESTROY";
    case WM_NCCALCSIZE: return "WM_NCCALCSIZE";
    case WM_NCHITTEST: return "WM_NCHITTEST";
    case WM_NCPAINT: return "WM_NCPAINT";
    case WM_KEYDOWN: return "WM_KEYDOWN";
    case WM_KEYUP: return "WM_KEYUP";
    case WM_CHAR: return "WM_CHAR";
    case WM_SYSKEYDOWN: return "WM_SYSKEYDOWN";
    case WM_SYSKEYUP: return "WM_SYSKEYUP";
    case WM_SYSCHAR: return "WM_SYSCHAR";
    case WM_TIMER: return "WM_TIMER";
    case WM_MOUSEMOVE: return "WM_MOUSEMOVE";
    case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return "WM_LBUTTONUP";
    case WM_LBUTTONDBLCLK: return "WM_LBUTTONDBLCLK";
    case WM_RBUTTONDOWN: return "WM_RBUTTONDOWN";
    case WM_RBUTTONUP: return "WM_RBUTTONUP";
    case WM_NCMOUSEMOVE: return "WM_NCMOUSEMOVE";
    case WM_NCLBUTTONDOWN: return "WM_NCLBUTTONDOWN";
    case WM_CAPTURECHANGED: return "WM_CAPTURECHANGED";
    }
    if (msg >= WM_USER)
        return "WM_USER+" + std::to_string(msg - WM_USER);
    return "0x" + std::to_string(msg);
}

std::vector<std::string> LogNames(HWND only)
{
    std::vector<std::string> names;
    for (const TRecord& r : Log())
        if (!only || r.Window == only)
            names.push_back(MessageName(r.Msg));
    return names;
}

void RegisterRecordingClasses()
{
    WNDCLASS wc;
    if (GetClassInfo("Rec", wc))
        return;
    wc.lpfnWndProc = RecordingProc;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.style = CS_DBLCLKS;
    wc.lpszClassName = "Rec";
    RegisterClass(wc);
    wc.style = 0;
    wc.lpszClassName = "RecPlain";
    RegisterClass(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpszClassName = "RecRedraw";
    RegisterClass(wc);
}

HWND MakeWindow(DWORD style, DWORD exStyle, TRect bounds, HWND parent, const TWindowOptions& options, const char* className)
{
    RegisterRecordingClasses();
    // The options must be in place before the first message arrives; the
    // handle is not known yet, so they wait under a null key.
    AllOptions()[nullptr] = options;
    HWND h = CreateWindowEx(exStyle, className, "", style, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(), parent);
    return h;
}

TWindowOptions& Options(HWND hwnd)
{
    auto& all = AllOptions();
    auto it = all.find(hwnd);
    if (it == all.end()) {
        TWindowOptions pending = all[nullptr];
        it = all.emplace(hwnd, pending).first;
    }
    return it->second;
}

void PumpUntilIdle()
{
    MSG msg;
    while (PeekMessage(msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(msg);
        DispatchMessage(msg);
    }
}

COLORREF ScreenPixel(Integer x, Integer y)
{
    uint32_t p = GetScreenSurface().Pixel(x, y);
    return RGB(Byte(p >> 16), Byte(p >> 8), Byte(p));
}

} // namespace ld::test
