// Input: the mouse capture, the cursor's position and shape, the keyboard
// focus and the active window, key state, and the raw input that a backend
// injects. Injected input waits in the queue as raw events; when the loop
// takes one, it finds the target window (the capture, or the window under
// the pointer by WM_NCHITTEST), sends WM_SETCURSOR for a mouse event that is
// not captured, and hands out the mouse, wheel or key message.
#pragma once

#include <string>

#include "platform/win/Window.h"

namespace ld {

// Capture. Taking the capture from another window first sends that window
// WM_CANCELMODE; every change tells the old holder WM_CAPTURECHANGED.
HWND SetCapture(HWND hwnd);
bool ReleaseCapture();
HWND GetCapture();

bool GetCursorPos(POINT& pt);
bool SetCursorPos(Integer x, Integer y);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();

// Standard cursors by their resource numbers; LoadCursor(nullptr, IDC_ARROW).
enum : uintptr_t {
    IDC_ARROW = 32512,
    IDC_IBEAM = 32513,
    IDC_WAIT = 32514,
    IDC_CROSS = 32515,
    IDC_UPARROW = 32516,
    IDC_SIZE = 32640,
    IDC_SIZENWSE = 32642,
    IDC_SIZENESW = 32643,
    IDC_SIZEWE = 32644,
    IDC_SIZENS = 32645,
    IDC_SIZEALL = 32646,
    IDC_NO = 32648,
    IDC_HAND = 32649,
    IDC_APPSTARTING = 32650,
    IDC_HELP = 32651,
};
HCURSOR LoadCursor(void* instance, uintptr_t id);
// A cursor of the application's own (the drag cursors), known by its name.
HCURSOR CreateNamedCursor(const std::string& name);
std::string GetCursorName(HCURSOR cursor);

HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
// Moves the focus off a window that was hidden, to its parent.
void MoveFocusOffHiddenWindow(HWND hwnd);

// Key state as of the message being handled: bit 15 down, bit 0 toggled.
int16_t GetKeyState(Integer vk);
int16_t GetAsyncKeyState(Integer vk);

// ---- Injection, for backends ----------------------------------------------
enum class TPointerButton { Left, Right, Middle };
void InjectMouseMove(Integer screenX, Integer screenY);
void InjectMouseButton(TPointerButton button, bool down);
// A turn of the wheel where the pointer is: Delta in WHEEL_DELTA units per
// notch, positive away from the user. It goes as WM_MOUSEWHEEL to the window
// holding the capture, else to the window under the pointer.
void InjectMouseWheel(Integer delta);
// A key by its virtual key code; TranslateMessage makes the characters.
void InjectKey(Integer vk, bool down);
// A key press whose character the backend's own keyboard layout has already
// found (0: the key makes none); TranslateMessage hands out that one.
void InjectKey(Integer vk, bool down, char text);
// Whether injected input is waiting to be taken by the loop.
bool HasPendingInput();

} // namespace ld
