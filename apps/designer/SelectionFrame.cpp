#include "apps/designer/SelectionFrame.h"

#include "platform/gfx/Gdi.h"
#include "platform/win/Input.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"

namespace ld {

namespace {

constexpr const char* HandleClass = "LdGrabHandle";

LRESULT HandleProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, ps);
        RECT r;
        GetClientRect(hwnd, r);
        FillRect(dc, r, GetSysColorBrush(COLOR_HIGHLIGHT));
        EndPaint(hwnd, ps);
        return 0;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

void RegisterHandleClass()
{
    WNDCLASS wc;
    if (GetClassInfo(HandleClass, wc))
        return;
    wc.lpfnWndProc = &HandleProc;
    wc.lpszClassName = HandleClass;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClass(wc);
}

} // namespace

TSelectionFrame::~TSelectionFrame()
{
    // The handles go with the form's window when the form goes first.
    for (HWND h : FHandles)
        if (h != nullptr && IsWindow(h))
            DestroyWindow(h);
}

void TSelectionFrame::MakeWindows(HWND parent)
{
    RegisterHandleClass();
    for (HWND& h : FHandles) {
        if (h != nullptr && IsWindow(h))
            DestroyWindow(h);
        h = CreateWindowEx(0, HandleClass, "", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, HandleSize, HandleSize, parent);
    }
    FParent = parent;
}

void TSelectionFrame::Show(TCustomForm* form, TControl* control)
{
    if (form == nullptr || control == nullptr || control == form || !control->GetVisible()) {
        Hide();
        return;
    }
    const HWND parent = form->GetHandle();
    // The form's window may have been made again since (or the frame never shown).
    if (FParent != parent || FHandles[0] == nullptr || !IsWindow(FHandles[0]))
        MakeWindows(parent);
    const TPoint topLeft = form->ScreenToClient(control->ClientToScreen({0, 0}));
    const Integer left = topLeft.X, top = topLeft.Y;
    const Integer right = left + control->GetWidth(), bottom = top + control->GetHeight();
    const Integer midX = (left + right) / 2, midY = (top + bottom) / 2;
    const Integer half = HandleSize / 2;
    const std::array<TPoint, 8> centres{{{left, top}, {midX, top}, {right - 1, top}, {right - 1, midY},
                                         {right - 1, bottom - 1}, {midX, bottom - 1}, {left, bottom - 1}, {left, midY}}};
    for (size_t i = 0; i < FHandles.size(); ++i) {
        FRects[i] = {centres[i].X - half, centres[i].Y - half, centres[i].X - half + HandleSize,
                     centres[i].Y - half + HandleSize};
        SetWindowPos(FHandles[i], HWND_TOP, FRects[i].Left, FRects[i].Top, HandleSize, HandleSize, SWP_SHOWWINDOW);
    }
    FShown = true;
}

void TSelectionFrame::Hide()
{
    for (HWND h : FHandles)
        if (h != nullptr && IsWindow(h))
            ShowWindow(h, SW_HIDE);
    FShown = false;
}

} // namespace ld
