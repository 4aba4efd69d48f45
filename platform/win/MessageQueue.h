// The message queue of the one user-interface thread. Sent messages run at
// once; GetMessage and PeekMessage hand out, in this order, posted messages
// (oldest first), then input, then WM_PAINT for a window whose update region
// is not empty, then WM_TIMER for the timer most overdue. WM_PAINT and
// WM_TIMER are never queued: they are made when nothing else is waiting.
#pragma once

#include "platform/win/Window.h"

namespace ld {

enum : UINT { PM_NOREMOVE = 0, PM_REMOVE = 1 };
enum : DWORD { INFINITE = 0xFFFFFFFF };

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(Integer exitCode);
// Takes back what a sender posted: every queued message Msg to Hwnd whose
// lParam is LParam. A sender that is freed with its message still queued
// calls it, so the address it leaves behind is never read from a message
// as if it named a new object put there.
void RemovePostedMessages(HWND hwnd, UINT msg, LPARAM lParam);

// Blocks in the backend until a message is there; false for WM_QUIT.
bool GetMessage(MSG& msg, HWND filter = nullptr, UINT minMsg = 0, UINT maxMsg = 0);
bool PeekMessage(MSG& msg, HWND filter, UINT minMsg, UINT maxMsg, UINT remove);
// Makes WM_CHAR (or WM_SYSCHAR) from a key message, posted to the same window.
bool TranslateMessage(const MSG& msg);
LRESULT DispatchMessage(const MSG& msg);
// Waits in the backend for input or the next timer; returns at once when a
// message is already there.
void WaitMessage();
// Whether any message (including paint and due timers) is there.
bool HasPendingMessages();

using TIMERPROC = void (*)(HWND, UINT, uintptr_t, DWORD);
// Elapse is clamped to the system's minimum of 10 ms, as the original does.
uintptr_t SetTimer(HWND hwnd, uintptr_t id, UINT elapse, TIMERPROC proc = nullptr);
bool KillTimer(HWND hwnd, uintptr_t id);
// Milliseconds until the next timer is due (0 when one is due), INFINITE when none.
DWORD NextTimerDelay();

} // namespace ld
