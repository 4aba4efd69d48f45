// Index: state; capture; cursor; focus and activation; key state; injection;
// turning raw input into messages (hit test, WM_SETCURSOR, double clicks).
#include "platform/win/Input.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <deque>

#include "platform/win/Backend.h"
#include "platform/win/InputQueue.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/TickSource.h"
#include "platform/win/WindowTable.h"

namespace ld {

using namespace winimpl;

namespace {

enum class TRawKind { Move, Button, Wheel, Key };

struct TRawInput {
    TRawKind Kind = TRawKind::Move;
    POINT Pt;
    TPointerButton Button = TPointerButton::Left;
    bool Down = false;
    Integer Vk = 0;
    Integer WheelDelta = 0;
    bool HasText = false;  // the layout's character comes with the key
    char Text = 0;
    DWORD Time = 0;
};

struct TInputState {
    std::deque<TRawInput> Raw;
    std::array<Byte, 256> AsyncKeys{};  // as injected
    std::array<Byte, 256> SyncKeys{};   // as of the message last taken
    std::vector<std::string> NamedCursors;
    // The last button press, for double clicks.
    HWND LastDownWindow = nullptr;
    UINT LastDownMessage = 0;
    DWORD LastDownTime = 0;
    POINT LastDownPt;
    // The character the layout gave the key message last taken, if any.
    bool KeyHasText = false;
    Integer KeyTextVk = 0;
    char KeyText = 0;
};

TInputState& State()
{
    static TInputState* state = new TInputState;
    return *state;
}

constexpr uintptr_t kNamedCursorBase = 0x10000;

Integer ButtonVk(TPointerButton b)
{
    switch (b) {
    case TPointerButton::Left: return VK_LBUTTON;
    case TPointerButton::Right: return VK_RBUTTON;
    case TPointerButton::Middle: return VK_MBUTTON;
    }
    return VK_LBUTTON;
}

bool Down(const std::array<Byte, 256>& keys, Integer vk) { return (keys[size_t(vk) & 0xFF] & 0x80) != 0; }

WPARAM MouseKeys(const std::array<Byte, 256>& keys)
{
    WPARAM mk = 0;
    if (Down(keys, VK_LBUTTON)) mk |= MK_LBUTTON;
    if (Down(keys, VK_RBUTTON)) mk |= MK_RBUTTON;
    if (Down(keys, VK_MBUTTON)) mk |= MK_MBUTTON;
    if (Down(keys, VK_SHIFT)) mk |= MK_SHIFT;
    if (Down(keys, VK_CONTROL)) mk |= MK_CONTROL;
    return mk;
}

void SetKey(std::array<Byte, 256>& keys, Integer vk, bool down)
{
    Byte& k = keys[size_t(vk) & 0xFF];
    if (down && !(k & 0x80))
        k ^= 0x01;  // toggled on every press
    k = Byte(down ? (k | 0x80) : (k & ~0x80));
}

UINT ButtonMessage(TPointerButton b, bool down)
{
    switch (b) {
    case TPointerButton::Left: return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case TPointerButton::Right: return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case TPointerButton::Middle: return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    }
    return WM_LBUTTONDOWN;
}

void Enqueue(TRawInput in)
{
    in.Time = TickSource::Peek();
    State().Raw.push_back(in);
}

} // namespace

// ---- capture ------------------------------------------------------------

HWND SetCapture(HWND hwnd)
{
    WindowSystem& ws = WS();
    HWND old = ws.capture;
    if (hwnd && !IsWindow(hwnd))
        return old;
    if (old == hwnd)
        return old;
    ws.capture = hwnd;
    if (old && IsWindow(old))
        SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return old;
}

bool ReleaseCapture()
{
    WindowSystem& ws = WS();
    HWND old = ws.capture;
    if (!old)
        return true;
    ws.capture = nullptr;
    if (IsWindow(old))
        SendMessage(old, WM_CAPTURECHANGED, 0, 0);
    return true;
}

HWND GetCapture()
{
    HWND c = WS().capture;
    return IsWindow(c) ? c : nullptr;
}

// ---- cursor -------------------------------------------------------------

bool GetCursorPos(POINT& pt)
{
    pt = WS().cursorPos;
    return true;
}

bool SetCursorPos(Integer x, Integer y)
{
    InjectMouseMove(x, y);
    return true;
}

HCURSOR SetCursor(HCURSOR cursor)
{
    WindowSystem& ws = WS();
    HCURSOR old = ws.cursor;
    if (old != cursor) {
        ws.cursor = cursor;
        if (TBackend* b = GetBackend())
            b->CursorChanged(cursor);
    }
    return old;
}

HCURSOR GetCursor() { return WS().cursor; }

HCURSOR LoadCursor(void* instance, uintptr_t id)
{
    if (instance || id < IDC_ARROW || id > IDC_HELP)
        return nullptr;
    return reinterpret_cast<HCURSOR>(id);
}

HCURSOR CreateNamedCursor(const std::string& name)
{
    auto& names = State().NamedCursors;
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name)
            return reinterpret_cast<HCURSOR>(kNamedCursorBase + i);
    names.push_back(name);
    return reinterpret_cast<HCURSOR>(kNamedCursorBase + names.size() - 1);
}

std::string GetCursorName(HCURSOR cursor)
{
    auto v = reinterpret_cast<uintptr_t>(cursor);
    switch (v) {
    case 0: return "none";
    case IDC_ARROW: return "arrow";
    case IDC_IBEAM: return "ibeam";
    case IDC_WAIT: return "wait";
    case IDC_CROSS: return "cross";
    case IDC_UPARROW: return "uparrow";
    case IDC_SIZE: return "size";
    case IDC_SIZENWSE: return "sizenwse";
    case IDC_SIZENESW: return "sizenesw";
    case IDC_SIZEWE: return "sizewe";
    case IDC_SIZENS: return "sizens";
    case IDC_SIZEALL: return "sizeall";
    case IDC_NO: return "no";
    case IDC_HAND: return "hand";
    case IDC_APPSTARTING: return "appstarting";
    case IDC_HELP: return "help";
    }
    auto& names = State().NamedCursors;
    if (v >= kNamedCursorBase && v - kNamedCursorBase < names.size())
        return names[v - kNamedCursorBase];
    return "unknown";
}

namespace {

// The arrow, or over a sizing border the double arrow along which it sizes.
uintptr_t SizingCursor(Integer hit)
{
    switch (hit) {
    case HTLEFT:
    case HTRIGHT: return IDC_SIZEWE;
    case HTTOP:
    case HTBOTTOM: return IDC_SIZENS;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: return IDC_SIZENWSE;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: return IDC_SIZENESW;
    }
    return IDC_ARROW;
}

} // namespace

namespace winimpl {

LRESULT DefSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    // The parent has the first say, so a container can set the cursor for its children.
    if (HWND parent = GetParent(hwnd))
        if (SendMessage(parent, WM_SETCURSOR, wParam, lParam))
            return 1;
    WindowRec* w = Lookup(hwnd);
    if (!w)
        return 0;
    auto hit = int16_t(LoWord(uintptr_t(lParam)));
    if (hit == HTCLIENT) {
        if (w->cls.hCursor) {
            SetCursor(w->cls.hCursor);
            return 1;
        }
        return 0;
    }
    if (hit == HTERROR)
        return 0;
    SetCursor(LoadCursor(nullptr, SizingCursor(hit)));
    return 1;
}

} // namespace winimpl

// ---- focus and activation ---------------------------------------------------

namespace {

bool CanTakeFocus(HWND hwnd)
{
    for (WindowRec* w = Lookup(hwnd); w && w->handle != WS().desktop; w = Lookup(w->parent))
        if (w->style & WS_DISABLED)
            return false;
    return true;
}

} // namespace

HWND SetActiveWindow(HWND hwnd)
{
    WindowSystem& ws = WS();
    HWND old = ws.active;
    if (hwnd)
        hwnd = GetAncestorTopLevel(hwnd);
    if (old == hwnd)
        return old;
    // Activation moving elsewhere takes any pending mouse operation with it.
    if (ws.capture)
        SendMessage(ws.capture, WM_CANCELMODE, 0, 0);
    ws.active = hwnd;
    if (old && IsWindow(old)) {
        SendMessage(old, WM_ACTIVATE, 0 /* WA_INACTIVE */, reinterpret_cast<LPARAM>(hwnd));
        RedrawWindow(old, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
    }
    if (hwnd && IsWindow(hwnd)) {
        SendMessage(hwnd, WM_ACTIVATE, 1 /* WA_ACTIVE */, reinterpret_cast<LPARAM>(old));
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
    }
    return old;
}

HWND GetActiveWindow() { return WS().active; }

HWND SetFocus(HWND hwnd)
{
    WindowSystem& ws = WS();
    HWND old = ws.focus;
    if (hwnd && (!IsWindow(hwnd) || !CanTakeFocus(hwnd)))
        return nullptr;
    if (old == hwnd)
        return old;
    if (hwnd && GetAncestorTopLevel(hwnd) != ws.active)
        SetActiveWindow(hwnd);
    ws.focus = hwnd;
    if (old && IsWindow(old))
        SendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (hwnd && ws.focus == hwnd && IsWindow(hwnd))
        SendMessage(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

HWND GetFocus()
{
    HWND f = WS().focus;
    return IsWindow(f) ? f : nullptr;
}

void MoveFocusOffHiddenWindow(HWND hwnd)
{
    HWND focus = WS().focus;
    if (focus && (focus == hwnd || IsChild(hwnd, focus)))
        SetFocus(GetParent(hwnd));
}

namespace winimpl {

void ForgetWindowInput(HWND hwnd)
{
    WindowSystem& ws = WS();
    if (ws.capture == hwnd)
        ws.capture = nullptr;
    if (ws.focus && (ws.focus == hwnd || IsChild(hwnd, ws.focus))) {
        HWND parent = GetParent(hwnd);
        ws.focus = nullptr;
        if (parent && !Lookup(parent)->destroying)
            SetFocus(parent);
    }
    if (ws.active == hwnd)
        ws.active = nullptr;
    if (State().LastDownWindow == hwnd)
        State().LastDownWindow = nullptr;
}

} // namespace winimpl

// ---- key state ------------------------------------------------------------

int16_t GetKeyState(Integer vk)
{
    Byte k = State().SyncKeys[size_t(vk) & 0xFF];
    return int16_t(((k & 0x80) ? 0x8000 : 0) | (k & 0x01));
}

int16_t GetAsyncKeyState(Integer vk) { return (State().AsyncKeys[size_t(vk) & 0xFF] & 0x80) ? int16_t(0x8000) : 0; }

// ---- injection --------------------------------------------------------------

void InjectMouseMove(Integer screenX, Integer screenY)
{
    WS().cursorPos = {screenX, screenY};
    TRawInput in;
    in.Kind = TRawKind::Move;
    in.Pt = {screenX, screenY};
    Enqueue(in);
}

void InjectMouseButton(TPointerButton button, bool down)
{
    SetKey(State().AsyncKeys, ButtonVk(button), down);
    TRawInput in;
    in.Kind = TRawKind::Button;
    in.Pt = WS().cursorPos;
    in.Button = button;
    in.Down = down;
    Enqueue(in);
}

void InjectMouseWheel(Integer delta)
{
    TRawInput in;
    in.Kind = TRawKind::Wheel;
    in.Pt = WS().cursorPos;
    in.WheelDelta = delta;
    Enqueue(in);
}

namespace {

void EnqueueKey(Integer vk, bool down, bool hasText, char text)
{
    SetKey(State().AsyncKeys, vk, down);
    TRawInput in;
    in.Kind = TRawKind::Key;
    in.Vk = vk;
    in.Down = down;
    in.HasText = hasText;
    in.Text = text;
    Enqueue(in);
}

} // namespace

void InjectKey(Integer vk, bool down) { EnqueueKey(vk, down, false, 0); }
void InjectKey(Integer vk, bool down, char text) { EnqueueKey(vk, down, true, text); }

bool HasPendingInput() { return !State().Raw.empty(); }

// ---- raw input to messages ----------------------------------------------------

namespace {

bool IsDoubleClick(HWND hwnd, UINT msg, const TRawInput& in)
{
    TInputState& s = State();
    if (!(GetClassStyle(hwnd) & CS_DBLCLKS) || s.LastDownWindow != hwnd || s.LastDownMessage != msg)
        return false;
    Integer half = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
    return DWORD(in.Time - s.LastDownTime) <= GetDoubleClickTime() && std::abs(in.Pt.X - s.LastDownPt.X) <= half &&
           std::abs(in.Pt.Y - s.LastDownPt.Y) <= half;
}

bool TranslateMouse(const TRawInput& in, MSG& msg)
{
    TInputState& s = State();
    if (in.Kind == TRawKind::Button)
        SetKey(s.SyncKeys, ButtonVk(in.Button), in.Down);
    UINT base = in.Kind == TRawKind::Move ? WM_MOUSEMOVE : ButtonMessage(in.Button, in.Down);
    if (in.Kind == TRawKind::Move ? FrameDragTakesMove(in.Pt)
                                  : FrameDragTakesButton(in.Pt, in.Button == TPointerButton::Left, in.Down))
        return false;

    HWND target = GetCapture();
    LRESULT hit = HTCLIENT;
    if (!target) {
        target = HitWindow(in.Pt, hit);
        if (!target) {
            // Over the bare desktop, or off the screen: the desktop's arrow.
            SetCursor(LoadCursor(nullptr, IDC_ARROW));
            return false;
        }
        SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MakeLParam(Integer(hit), Integer(base)));
        if (!IsWindow(target))
            return false;
        if (in.Kind == TRawKind::Button && in.Down) {
            // The window clicked into becomes active and comes to the front
            // of the others, unless it asks not to be activated.
            HWND top = GetAncestorTopLevel(target);
            bool activate = top && top != GetActiveWindow();
            if (activate &&
                SendMessage(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top), MakeLParam(Integer(hit), Integer(base))) == 3)
                top = nullptr;  // MA_NOACTIVATE
            if (top && activate)
                SetActiveWindow(top);
            if (top && IsWindow(top))
                SetWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            if (!IsWindow(target))
                return false;
        }
    }
    msg.hwnd = target;
    msg.time = in.Time;
    msg.pt = in.Pt;
    if (hit == HTCLIENT) {
        POINT client = in.Pt;
        ScreenToClient(target, client);
        msg.message = base;
        msg.wParam = MouseKeys(s.SyncKeys);
        msg.lParam = PointToLParam(client);
    } else {
        msg.message = base - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
        msg.wParam = WPARAM(hit);
        msg.lParam = PointToLParam(in.Pt);
    }
    if (hit == HTCLIENT && in.Kind == TRawKind::Button && in.Down) {
        if (IsDoubleClick(target, base, in)) {
            msg.message = base + 2;  // the DBLCLK message follows each DOWN
            s.LastDownWindow = nullptr;
        } else {
            s.LastDownWindow = target;
            s.LastDownMessage = base;
            s.LastDownTime = in.Time;
            s.LastDownPt = in.Pt;
        }
    }
    return true;
}

// The wheel sets no cursor and activates nothing: it only scrolls.
bool TranslateWheel(const TRawInput& in, MSG& msg)
{
    HWND target = GetCapture();
    if (!target) {
        LRESULT hit;
        target = HitWindow(in.Pt, hit);
        if (!target)
            return false;
    }
    msg.hwnd = target;
    msg.time = in.Time;
    msg.pt = in.Pt;
    msg.message = WM_MOUSEWHEEL;
    msg.wParam = MakeWParam(Integer(MouseKeys(State().SyncKeys)), std::clamp(in.WheelDelta, -32768, 32767));
    msg.lParam = PointToLParam(in.Pt);
    return true;
}

bool TranslateKey(const TRawInput& in, MSG& msg)
{
    TInputState& s = State();
    bool wasDown = Down(s.SyncKeys, in.Vk);
    SetKey(s.SyncKeys, in.Vk, in.Down);
    s.KeyHasText = in.HasText;
    s.KeyTextVk = in.Vk;
    s.KeyText = in.Text;
    if (FrameDragTakesKey(in.Vk, in.Down))
        return false;
    HWND target = GetFocus();
    if (!target)
        target = GetActiveWindow();
    if (!target)
        return false;
    bool alt = Down(s.SyncKeys, VK_MENU) || (in.Vk == VK_MENU && !in.Down);
    bool sys = (alt && !Down(s.SyncKeys, VK_CONTROL)) || in.Vk == VK_F1 + 9;  // F10 is a system key too
    msg.hwnd = target;
    msg.time = in.Time;
    msg.pt = WS().cursorPos;
    msg.message = in.Down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    msg.wParam = WPARAM(in.Vk);
    uint32_t l = 1;
    if (alt)
        l |= 1u << 29;
    if (wasDown)
        l |= 1u << 30;
    if (!in.Down)
        l |= 1u << 31;
    msg.lParam = LPARAM(int32_t(l));
    return true;
}

} // namespace

namespace winimpl {

bool TakeInput(MSG& msg)
{
    TInputState& s = State();
    while (!s.Raw.empty()) {
        TRawInput in = s.Raw.front();
        s.Raw.pop_front();
        bool made = in.Kind == TRawKind::Key     ? TranslateKey(in, msg)
                    : in.Kind == TRawKind::Wheel ? TranslateWheel(in, msg)
                                                 : TranslateMouse(in, msg);
        if (made)
            return true;
    }
    return false;
}

// The character a key makes with the shift state of the message being handled.
char KeyChar(Integer vk)
{
    TInputState& s = State();
    if (s.KeyHasText && s.KeyTextVk == vk)
        return s.KeyText;
    bool shift = Down(s.SyncKeys, VK_SHIFT);
    bool ctrl = Down(s.SyncKeys, VK_CONTROL) && !Down(s.SyncKeys, VK_MENU);
    if (vk >= 'A' && vk <= 'Z') {
        if (ctrl)
            return char(vk - 'A' + 1);
        return char(shift ? vk : vk - 'A' + 'a');
    }
    if (vk >= '0' && vk <= '9') {
        static const char shifted[] = ")!@#$%^&*(";
        return shift ? shifted[vk - '0'] : char(vk);
    }
    switch (vk) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_ESCAPE: return 27;
    case VK_TAB: return '\t';
    case VK_BACK: return 8;
    }
    return 0;
}

} // namespace winimpl

} // namespace ld
