#include "apps/designer/SelectionFrame.h"

#include "platform/gfx/Gdi.h"
#include "platform/win/Input.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"

namespace ld {

namespace {

constexpr const char* HandleClass = "LdGrabHandle";
// The window's GWLP_ID: its handle number, and this bit for a grey one.
constexpr LONG_PTR GreyHandle = 0x100;

// The pointer over a handle shows which way it sizes.
uintptr_t CursorOf(Integer handle)
{
    switch (handle) {
    case TSelectionFrame::hTopLeft:
    case TSelectionFrame::hBottomRight: return IDC_SIZENWSE;
    case TSelectionFrame::hTopRight:
    case TSelectionFrame::hBottomLeft: return IDC_SIZENESW;
    case TSelectionFrame::hTop:
    case TSelectionFrame::hBottom: return IDC_SIZENS;
    default: return IDC_SIZEWE;
    }
}

void RegisterHandleClass(WNDPROC proc)
{
    WNDCLASS wc;
    if (GetClassInfo(HandleClass, wc))
        return;
    wc.lpfnWndProc = proc;
    wc.lpszClassName = HandleClass;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClass(wc);
}

} // namespace

LRESULT TSelectionFrame::HandleProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const LONG_PTR id = GetWindowLongPtr(hwnd, GWLP_ID);
    const bool grey = (id & GreyHandle) != 0;
    auto* frame = reinterpret_cast<TSelectionFrame*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, ps);
        RECT r;
        GetClientRect(hwnd, r);
        HBRUSH brush = grey ? CreateSolidBrush(ColorToRGB(clGray)) : GetSysColorBrush(COLOR_HIGHLIGHT);
        FillRect(dc, r, brush);
        if (grey)
            DeleteObject(brush);
        EndPaint(hwnd, ps);
        return 0;
    }
    case WM_NCHITTEST:
        if (grey)
            return HTTRANSPARENT;
        break;
    case WM_SETCURSOR:
        if (!grey) {
            SetCursor(LoadCursor(nullptr, CursorOf(static_cast<Integer>(id))));
            return 1;
        }
        break;
    case WM_LBUTTONDOWN:
        if (!grey && frame != nullptr && frame->FOnHandleDown) {
            POINT p = LParamToPoint(lParam);
            ClientToScreen(hwnd, p);
            frame->FOnHandleDown(static_cast<THandle>(id), {p.X, p.Y});
        }
        return 0;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

TSelectionFrame::~TSelectionFrame()
{
    // The handles go with the form's window when the form goes first.
    for (HWND h : FHandles)
        if (IsWindow(h))
            DestroyWindow(h);
}

// As many handle windows as needed on Parent; the form's window may have been
// made again since they were made.
void TSelectionFrame::UseWindows(HWND parent, size_t count)
{
    if (parent != FParent) {
        for (HWND h : FHandles)
            if (IsWindow(h))
                DestroyWindow(h);
        FHandles.clear();
        FParent = parent;
    }
    std::erase_if(FHandles, [](HWND h) { return !IsWindow(h); });
    RegisterHandleClass(&TSelectionFrame::HandleProc);
    while (FHandles.size() < count) {
        HWND h = CreateWindowEx(0, HandleClass, "", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, HandleSize, HandleSize, parent);
        SetWindowLongPtr(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        FHandles.push_back(h);
    }
    for (size_t i = count; i < FHandles.size(); ++i)
        ShowWindow(FHandles[i], SW_HIDE);
}

void TSelectionFrame::Place(size_t index, const TRect& r, bool grey)
{
    const HWND h = FHandles[index];
    const LONG_PTR id = static_cast<LONG_PTR>(index % 8) | (grey ? GreyHandle : 0);
    if (GetWindowLongPtr(h, GWLP_ID) != id) {
        SetWindowLongPtr(h, GWLP_ID, id);
        InvalidateRect(h, nullptr, true);
    }
    SetWindowPos(h, HWND_TOP, r.Left, r.Top, r.Width(), r.Height(), SWP_SHOWWINDOW);
    FRects.push_back(r);
}

void TSelectionFrame::Show(TCustomForm* form, const std::vector<TControl*>& controls)
{
    std::vector<TControl*> framed;
    for (TControl* c : controls)
        if (c != nullptr && c != form && c->GetVisible())
            framed.push_back(c);
    if (form == nullptr || framed.empty()) {
        Hide();
        return;
    }
    FMultiple = framed.size() > 1;
    FSized = framed.front();
    UseWindows(form->GetHandle(), FMultiple ? 4 * framed.size() : 8);
    FRects.clear();
    const Integer size = HandleSize, half = HandleSize / 2;
    size_t index = 0;
    for (TControl* control : framed) {
        const TPoint topLeft = form->ScreenToClient(control->ClientToScreen({0, 0}));
        const Integer left = topLeft.X, top = topLeft.Y;
        const Integer right = left + control->GetWidth(), bottom = top + control->GetHeight();
        if (FMultiple) {
            for (const TPoint corner : {TPoint{left, top}, TPoint{right - size, top},
                                        TPoint{right - size, bottom - size}, TPoint{left, bottom - size}})
                Place(index++, {corner.X, corner.Y, corner.X + size, corner.Y + size}, true);
            continue;
        }
        const Integer midX = (left + right) / 2, midY = (top + bottom) / 2;
        for (const TPoint centre : {TPoint{left, top}, TPoint{midX, top}, TPoint{right - 1, top},
                                    TPoint{right - 1, midY}, TPoint{right - 1, bottom - 1}, TPoint{midX, bottom - 1},
                                    TPoint{left, bottom - 1}, TPoint{left, midY}})
            Place(index++, {centre.X - half, centre.Y - half, centre.X - half + size, centre.Y - half + size}, false);
    }
}

void TSelectionFrame::Hide()
{
    for (HWND h : FHandles)
        if (IsWindow(h))
            ShowWindow(h, SW_HIDE);
    FRects.clear();
    FSized = nullptr;
    FMultiple = false;
}

} // namespace ld
