// Shared helpers of the window-system tests: a window class whose procedure
// records what it receives and paints its client area in a colour of its own.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/gfx/Colors.h"
#include "platform/gfx/Painting.h"
#include "platform/gfx/GdiObjects.h"
#include "platform/gfx/Surface.h"
#include "platform/win/Backend.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/TickSource.h"
#include "platform/win/Window.h"

namespace ld::test {

struct TRecord {
    HWND Window;
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
};

// Everything recorded windows received, in order.
std::vector<TRecord>& Log();
void ClearLog();
// Messages of one kind, or all but the noisy ones, as names for readable asserts.
std::vector<std::string> LogNames(HWND only = nullptr);
std::string MessageName(UINT msg);

// Options of a recording window, kept per handle.
struct TWindowOptions {
    COLORREF Fill = RGB(255, 0, 0);  // painted in WM_PAINT
    bool HandleErase = false;        // answer WM_ERASEBKGND with 1 without drawing
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM, bool&)> Hook;
};

// Registers (once) the recording classes: "Rec" (CS_DBLCLKS) and "RecPlain".
void RegisterRecordingClasses();
HWND MakeWindow(DWORD style, DWORD exStyle, TRect bounds, HWND parent, const TWindowOptions& options = {},
                const char* className = "Rec");
TWindowOptions& Options(HWND hwnd);

// Runs the queue until nothing is left, translating keys as a program does.
void PumpUntilIdle();
// The screen pixel as 0x00RRGGBB-less COLORREF.
COLORREF ScreenPixel(Integer x, Integer y);

} // namespace ld::test
