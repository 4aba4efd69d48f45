// Index: construction; the window (CreateParams, CreateWnd, recreation,
// showing); children and z-order; alignment; bounds; painting of windowless
// children; messages. Focus, tab order and keys are in WinControlKeys.cpp.
#include <algorithm>

#include "platform/core/SysUtils.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/Painting.h"
#include "platform/stream/Reader.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/DragDrop.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"

namespace ld {

namespace {
// The control whose window is being made: its first messages arrive before
// CreateWindowEx returns the handle.
TWinControl* gCreationControl = nullptr;
} // namespace

TClass TWinControl::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TWinControl>("TWinControl", TControl::StaticClass())
        .Integer("HelpContext", &TWinControl::GetHelpContext, &TWinControl::SetHelpContext).Default(0)
        .Boolean("Ctl3D", &TWinControl::GetCtl3D, &TWinControl::SetCtl3D).Stored(&TWinControl::IsCtl3DStored).Protected()
        .Abstract();
    return &info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl()
{
    // Leave the parent while this is still a windowed control: from
    // ~TControl the parent could no longer tell, and would keep it listed.
    if (FParent) {
        if (TCustomForm* form = GetParentForm(this))
            form->DefocusControl(this, true);
        FParent->RemoveControl(this);
    }
    if (FHandle)
        DestroyHandle();
    // Children go with their parent, last first.
    while (GetControlCount() > 0) {
        TControl* child = GetControl(GetControlCount() - 1);
        RemoveControl(child);
        delete child;
    }
    if (FBrush)
        DeleteObject(FBrush);
}

// ---- the window ----------------------------------------------------------------

HWND TWinControl::GetHandle()
{
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded()
{
    if (FHandle)
        return;
    if (FParent)
        FParent->HandleNeeded();
    CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& params)
{
    params = TCreateParams{};
    params.Caption = FText;
    params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (FControlStyle.Contains(csAcceptsControls)) {
        params.Style |= WS_CLIPCHILDREN;
        params.ExStyle |= WS_EX_CONTROLPARENT;
    }
    if (!ComponentState().Contains(csDesigning) && !GetEnabled())
        params.Style |= WS_DISABLED;
    if (FTabStop)
        params.Style |= WS_TABSTOP;
    params.X = FLeft;
    params.Y = FTop;
    params.Width = FWidth;
    params.Height = FHeight;
    if (FParent)
        params.WndParent = FParent->GetHandle();
    params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    params.WindowClass.lpfnWndProc = DefWindowProc;
    params.WindowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    params.WindowClass.hbrBackground = 0;
    params.WinClassName = ClassName();
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    if (!params.WndParent && (params.Style & WS_CHILD))
        throw EInvalidOperation(Format("Control '%s' has no parent window", {GetName()}));
    WNDCLASS registered;
    if (!GetClassInfo(params.WinClassName, registered)) {
        WNDCLASS wc = params.WindowClass;
        wc.lpfnWndProc = &TWinControl::WindowProcedure;
        wc.lpszClassName = params.WinClassName;
        if (!RegisterClass(wc))
            throw EOutOfResources("Cannot register the window class " + params.WinClassName);
    }
    gCreationControl = this;
    try {
        CreateWindowHandle(params);
    } catch (...) {
        gCreationControl = nullptr;
        throw;
    }
    gCreationControl = nullptr;
    if (!FHandle)
        throw EOutOfResources("Error creating window for " + ClassName());
    UpdateBounds();
}

void TWinControl::CreateWindowHandle(const TCreateParams& p)
{
    FHandle = CreateWindowEx(p.ExStyle, p.WinClassName, p.Caption, p.Style, p.X, p.Y, p.Width, p.Height, p.WndParent,
                             p.Param);
}

void TWinControl::CreateHandle()
{
    if (FHandle)
        return;
    CreateWnd();
    if (FParent && FHandle)
        SetWindowPos(FHandle, FParent->PrecedingWindow(this), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::DestroyWnd() { DestroyWindowHandle(); }

void TWinControl::DestroyWindowHandle()
{
    FControlState.Include(csDestroyingHandle);
    HWND h = FHandle;
    FHandle = nullptr;
    DestroyWindow(h);
    FControlState.Exclude(csDestroyingHandle);
}

void TWinControl::DestroyHandle()
{
    if (!FHandle)
        return;
    for (TWinControl* c : std::vector<TWinControl*>(FWinControls))
        c->DestroyHandle();
    DestroyWnd();
    FShowing = false;
}

void TWinControl::RecreateWnd()
{
    if (!FHandle)
        return;
    bool hadFocus = Focused();
    Perform(CM_RECREATEWND, 0, 0);
    DestroyHandle();
    UpdateControlState();
    if (hadFocus && FHandle)
        ::ld::SetFocus(FHandle);
}

HWND TWinControl::PrecedingWindow(TWinControl* control) const
{
    // Our z-order list runs bottom to top; the window list top to bottom, so
    // the control goes just after (below) the next windowed sibling above it.
    auto it = std::find(FWinControls.begin(), FWinControls.end(), control);
    for (++it; it != FWinControls.end(); ++it)
        if ((*it)->HandleAllocated())
            return (*it)->FHandle;
    return HWND_TOP;
}

void TWinControl::UpdateShowing()
{
    bool show = (FVisible || (ComponentState().Contains(csDesigning) && !FControlStyle.Contains(csNoDesignVisible))) &&
                !FControlState.Contains(csReadingState);
    if (show) {
        if (!FHandle)
            CreateHandle();
        for (TWinControl* c : std::vector<TWinControl*>(FWinControls))
            c->UpdateShowing();
    }
    if (FHandle && FShowing != show) {
        FShowing = show;
        Perform(CM_SHOWINGCHANGED, 0, 0);
    }
}

// Windows exist only under a form (or a parentless control) that is showing.
void TWinControl::UpdateControlState()
{
    TWinControl* top = this;
    while (top->FParent) {
        top = top->FParent;
        if (!top->FShowing)
            return;
    }
    if (dynamic_cast<TCustomForm*>(top) || top == this)
        UpdateShowing();
}

void TWinControl::CMShowingChanged(TMessage&)
{
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (FShowing ? UINT(SWP_SHOWWINDOW) : UINT(SWP_HIDEWINDOW)));
}

void TWinControl::CMVisibleChanged(TMessage&)
{
    if (!FVisible && FParent)
        if (TCustomForm* form = GetParentForm(this))
            form->DefocusControl(this, false);
    if (!FVisible || (FParent && FParent->FShowing) || !FParent)
        UpdateControlState();
}

void TWinControl::CMEnabledChanged(TMessage&)
{
    if (!GetEnabled() && FParent)
        if (TCustomForm* form = GetParentForm(this))
            form->DefocusControl(this, false);
    if (FHandle && !ComponentState().Contains(csDesigning))
        EnableWindow(FHandle, GetEnabled());
}

void TWinControl::UpdateBounds()
{
    RECT r;
    GetWindowRect(FHandle, r);
    if (HWND parent = ::ld::GetParent(FHandle))
        MapWindowPoints(nullptr, parent, r);
    FLeft = r.Left;
    FTop = r.Top;
    FWidth = r.Width();
    FHeight = r.Height();
}

// ---- children ------------------------------------------------------------------

TControl* TWinControl::GetControl(Integer index) const
{
    auto n = Integer(FControls.size());
    if (index < 0 || index >= GetControlCount())
        throw EListError(Format("List index out of bounds (%d)", {index}));
    return index < n ? FControls[size_t(index)] : FWinControls[size_t(index - n)];
}

bool TWinControl::ContainsControl(TControl* control) const
{
    for (TControl* c = control; c; c = c->FParent)
        if (c == this)
            return true;
    return false;
}

void TWinControl::InsertControl(TControl* control)
{
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        FWinControls.push_back(w);
        FTabList.push_back(w);
    } else {
        FControls.push_back(control);
    }
    control->FParent = this;
    if (control->ComponentState().Contains(csReading))
        return;
    control->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    control->Perform(CM_PARENTFONTCHANGED, 0, 0);
    control->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        w->Perform(CM_PARENTCTL3DCHANGED, 0, 0);
        w->UpdateControlState();
    } else if (FHandle) {
        control->Invalidate();
    }
    AlignControl(control);
}

void TWinControl::RemoveControl(TControl* control)
{
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        if (TCustomForm* form = GetParentForm(this))
            form->DefocusControl(w, true);
        w->DestroyHandle();
        std::erase(FWinControls, w);
        std::erase(FTabList, w);
    } else {
        if (FHandle)
            control->InvalidateControl(control->FVisible, false);
        std::erase(FControls, control);
    }
    control->FParent = nullptr;
    if (!ComponentState().Contains(csDestroying))
        Realign();
}

void TWinControl::ReadState(TReader* reader)
{
    DisableAlign();
    try {
        inherited::ReadState(reader);
    } catch (...) {
        EnableAlign();
        throw;
    }
    EnableAlign();
    FixupTabList();
    // The read control's own stored place: a parent being read sorts its
    // children once they are all there; a control read on its own (the root)
    // takes it now, among siblings already in place.
    if (reader->Parent() == nullptr && FTabOrder >= 0) {
        const Integer order = FTabOrder;
        FTabOrder = -1;
        SetTabOrder(order);
    }
    if (FParent)
        Perform(CM_PARENTCTL3DCHANGED, 0, 0);
    // What was read may show it now: a form stored visible, a control read
    // into a parent already on the screen (no window came while reading). A
    // control read on its own, without a parent, waits for one.
    if (FParent || dynamic_cast<TCustomForm*>(this))
        UpdateControlState();
}

void TWinControl::Loaded()
{
    inherited::Loaded();
    if (FControlState.Contains(csAlignmentNeeded))
        Realign();
}

void TWinControl::SetParent(TWinControl* parent)
{
    if (FParent == parent)
        return;
    inherited::SetParent(parent);
}

TControl* TWinControl::ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls) const
{
    auto hit = [&](TControl* c) {
        TRect r = c->GetBoundsRect();
        bool shown = c->FVisible || (c->ComponentState().Contains(csDesigning) && !c->FControlStyle.Contains(csNoDesignVisible));
        if (!shown || !(c->GetEnabled() || allowDisabled) || !PtInRect(r, pos))
            return false;
        return c->Perform(CM_HITTEST, 0, PointToLParam({pos.X - c->FLeft, pos.Y - c->FTop})) != 0;
    };
    if (allowWinControls)
        for (auto it = FWinControls.rbegin(); it != FWinControls.rend(); ++it)
            if (hit(*it))
                return *it;
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
        if (hit(*it))
            return *it;
    return nullptr;
}

void TWinControl::Broadcast(TMessage& message)
{
    for (Integer i = 0; i < GetControlCount(); ++i) {
        GetControl(i)->WndProc(message);
        if (message.Result != 0)
            return;
    }
}

void TWinControl::ShowControl(TControl*)
{
    if (FParent)
        FParent->ShowControl(this);
}

void TWinControl::GetChildren(const TGetChildProc& proc, TComponent* root)
{
    for (Integer i = 0; i < GetControlCount(); ++i)
        if (GetControl(i)->Owner() == root)
            proc(GetControl(i));
}

void TWinControl::NotifyControls(UINT msg)
{
    TMessage m{msg, 0, 0, 0};
    for (Integer i = 0; i < GetControlCount(); ++i)
        GetControl(i)->WndProc(m);
}

void TWinControl::BringToFront()
{
    if (FParent) {
        auto& list = FParent->FWinControls;
        if (auto it = std::find(list.begin(), list.end(), this); it != list.end()) {
            list.erase(it);
            list.push_back(this);
        }
    }
    if (FHandle)
        SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::SendToBack()
{
    if (FParent) {
        auto& list = FParent->FWinControls;
        if (auto it = std::find(list.begin(), list.end(), this); it != list.end()) {
            list.erase(it);
            list.insert(list.begin(), this);
        }
    }
    if (FHandle)
        SetWindowPos(FHandle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// ---- alignment -------------------------------------------------------------------

void TWinControl::EnableAlign()
{
    if (--FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded))
        Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AlignControl(TControl* control)
{
    if (ComponentState().Contains(csDestroying))
        return;
    if (FAlignLevel > 0 || ComponentState().Contains(csLoading)) {
        FControlState.Include(csAlignmentNeeded);
        return;
    }
    FControlState.Exclude(csAlignmentNeeded);
    TRect rect = GetClientRect();
    AdjustClientRect(rect);
    ++FAlignLevel;
    AlignControls(control, rect);
    --FAlignLevel;
}

namespace {

bool AlignsBefore(TAlign align, const TControl* a, const TControl* b)
{
    switch (align) {
    case alTop: return a->GetTop() < b->GetTop();
    case alBottom: return a->GetTop() + a->GetHeight() > b->GetTop() + b->GetHeight();
    case alLeft: return a->GetLeft() < b->GetLeft();
    case alRight: return a->GetLeft() + a->GetWidth() > b->GetLeft() + b->GetWidth();
    default: return false;
    }
}

} // namespace

// Top, bottom, left, right, then client: each group in the order of its
// members' positions, the control that asked going first among equals.
void TWinControl::AlignControls(TControl* control, TRect& rect)
{
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        std::vector<TControl*> group;
        for (Integer i = 0; i < GetControlCount(); ++i) {
            TControl* c = GetControl(i);
            if (c->FAlign == align && (c->FVisible || c->ComponentState().Contains(csDesigning)))
                group.push_back(c);
        }
        std::stable_sort(group.begin(), group.end(), [&](TControl* a, TControl* b) {
            if (a == control && !AlignsBefore(align, b, a))
                return true;
            if (b == control && !AlignsBefore(align, a, b))
                return false;
            return AlignsBefore(align, a, b);
        });
        for (TControl* c : group) {
            Integer w = rect.Width(), h = rect.Height();
            switch (align) {
            case alTop:
                c->SetBounds(rect.Left, rect.Top, w, c->FHeight);
                rect.Top += c->FHeight;
                break;
            case alBottom:
                c->SetBounds(rect.Left, rect.Bottom - c->FHeight, w, c->FHeight);
                rect.Bottom -= c->FHeight;
                break;
            case alLeft:
                c->SetBounds(rect.Left, rect.Top, c->FWidth, h);
                rect.Left += c->FWidth;
                break;
            case alRight:
                c->SetBounds(rect.Right - c->FWidth, rect.Top, c->FWidth, h);
                rect.Right -= c->FWidth;
                break;
            case alClient:
                c->SetBounds(rect.Left, rect.Top, std::max(w, 0), std::max(h, 0));
                break;
            default:
                break;
            }
        }
    }
}

// ---- bounds -----------------------------------------------------------------------

void TWinControl::SetBounds(Integer left, Integer top, Integer width, Integer height)
{
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight)
        return;
    if (FHandle) {
        SetWindowPos(FHandle, nullptr, left, top, std::max(width, 0), std::max(height, 0), SWP_NOZORDER | SWP_NOACTIVATE);
        // WM_WINDOWPOSCHANGED updated the fields; a child of a form that was
        // not shown yet still needs them.
        UpdateBounds();
    } else {
        FLeft = left;
        FTop = top;
        FWidth = std::max(width, 0);
        FHeight = std::max(height, 0);
    }
    if (FParent)
        FParent->AlignControl(this);
    if (!FHandle)
        Realign();
}

TRect TWinControl::GetClientRect() const
{
    if (!FHandle)
        return inherited::GetClientRect();
    RECT r;
    ::ld::GetClientRect(FHandle, r);
    return r;
}

TPoint TWinControl::GetClientOrigin() const
{
    if (!FHandle)
        return inherited::GetClientOrigin();
    POINT p{0, 0};
    ::ld::ClientToScreen(FHandle, p);
    return p;
}

void TWinControl::WMWindowPosChanged(TMessage& m)
{
    auto* pos = reinterpret_cast<WINDOWPOS*>(m.LParam);
    (void)pos;
    UpdateBounds();
    DefaultHandler(m);
}

void TWinControl::WMSize(TMessage& m)
{
    UpdateBounds();
    DefaultHandler(m);
    Realign();
    if (!ComponentState().Contains(csLoading))
        Resize();
}

// ---- painting -------------------------------------------------------------------------

void TWinControl::Invalidate() { Perform(CM_INVALIDATE, 0, 0); }

void TWinControl::CMInvalidate(TMessage&)
{
    if (FHandle)
        InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::Update()
{
    if (FHandle)
        UpdateWindow(FHandle);
}

HBRUSH TWinControl::GetBrushHandle()
{
    if (!FBrush || FBrushColor != FColor) {
        if (FBrush)
            DeleteObject(FBrush);
        FBrush = CreateSolidBrush(ColorToRGB(FColor));
        FBrushColor = FColor;
    }
    return FBrush;
}

void TWinControl::WMEraseBkgnd(TMessage& m)
{
    RECT r = GetClientRect();
    FillRect(reinterpret_cast<HDC>(m.WParam), r, GetBrushHandle());
    m.Result = 1;
}

void TWinControl::WMPaint(TMessage& m)
{
    if (m.WParam == 0 && !FControlState.Contains(csCustomPaint) && GetControlCount() == 0 )
        DefaultHandler(m);
    else
        PaintHandler(m);
}

void TWinControl::PaintHandler(TMessage& m)
{
    PAINTSTRUCT ps;
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    if (!dc)
        dc = BeginPaint(FHandle, ps);
    try {
        if (FControls.empty()) {
            PaintWindow(dc);
        } else {
            Integer saved = SaveDC(dc);
            Integer clip = SIMPLEREGION;
            for (TControl* c : FControls)
                if ((c->FVisible || c->ComponentState().Contains(csDesigning)) && c->FControlStyle.Contains(csOpaque)) {
                    clip = ExcludeClipRect(dc, c->FLeft, c->FTop, c->FLeft + c->FWidth, c->FTop + c->FHeight);
                    if (clip == NULLREGION)
                        break;
                }
            if (clip != NULLREGION)
                PaintWindow(dc);
            RestoreDC(dc, saved);
        }
        PaintControls(dc, nullptr);
    } catch (...) {
        if (!m.WParam)
            EndPaint(FHandle, ps);
        throw;
    }
    if (!m.WParam)
        EndPaint(FHandle, ps);
}

void TWinControl::PaintControls(HDC dc, TControl* first)
{
    auto it = first ? std::find(FControls.begin(), FControls.end(), first) : FControls.begin();
    for (; it != FControls.end(); ++it) {
        TControl* c = *it;
        bool shown = c->FVisible || (c->ComponentState().Contains(csDesigning) && !c->FControlStyle.Contains(csNoDesignVisible));
        if (!shown || !RectVisible(dc, c->GetBoundsRect()))
            continue;
        Integer saved = SaveDC(dc);
        TPoint org;
        GetViewportOrgEx(dc, &org);
        SetViewportOrgEx(dc, org.X + c->FLeft, org.Y + c->FTop, nullptr);
        IntersectClipRect(dc, 0, 0, c->FWidth, c->FHeight);
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
    }
}

// ---- messages --------------------------------------------------------------------------------

LRESULT TWinControl::WindowProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* control = reinterpret_cast<TWinControl*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
    if (!control) {
        control = gCreationControl;
        if (!control)
            return DefWindowProc(hwnd, msg, wParam, lParam);
        gCreationControl = nullptr;
        SetWindowLongPtr(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
        control->FHandle = hwnd;
    }
    TMessage m{msg, wParam, lParam, 0};
    control->MainWndProc(m);
    return m.Result;
}

void TWinControl::MainWndProc(TMessage& message)
{
    try {
        WndProc(message);
    } catch (const std::exception& e) {
        Application->HandleException(this, e);
    }
    FreeControlCanvases();
}

void TWinControl::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_SETFOCUS:
        if (TCustomForm* form = GetParentForm(this); form && !form->SetFocusedControl(this))
            return;
        break;
    case WM_KILLFOCUS:
        if (FControlState.Contains(csFocusing))
            return;
        break;
    case WM_NCHITTEST:
        inherited::WndProc(m);
        if (m.Result == HTTRANSPARENT && ControlAtPos(ScreenToClient(LParamToPoint(m.LParam)), false))
            m.Result = HTCLIENT;
        return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (GetDragObject()) {
            if (m.WParam == VK_ESCAPE)
                CancelDrag();
            return;
        }
        break;
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
        if (GetDragObject())
            return;
        break;
    case WM_CANCELMODE: {
        TControl* captured = GetCaptureControl();
        if (FHandle && GetCapture() == FHandle && captured && captured != this && captured->GetParent() == this)
            captured->Perform(WM_CANCELMODE, 0, 0);
        break;
    }
    }
    if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST && !ComponentState().Contains(csDesigning) && IsControlMouseMsg(m)) {
        if (m.Result == 0 && FHandle)
            DefWindowProc(FHandle, m.Msg, m.WParam, m.LParam);
        return;
    }
    inherited::WndProc(m);
}

bool TWinControl::IsControlMouseMsg(TMessage& m)
{
    TControl* control = nullptr;
    if (FHandle && GetCapture() == FHandle) {
        TControl* captured = GetCaptureControl();
        if (captured && captured != this && captured->GetParent() == this)
            control = captured;
    } else {
        control = ControlAtPos(LParamToPoint(m.LParam), false);
    }
    if (!control)
        return false;
    TPoint p = LParamToPoint(m.LParam);
    m.Result = control->Perform(m.Msg, m.WParam, MakeLParam(p.X - control->FLeft, p.Y - control->FTop));
    return true;
}

void TWinControl::WMSetCursor(TMessage& m)
{
    if (reinterpret_cast<HWND>(m.WParam) == FHandle && int16_t(LoWord(uintptr_t(m.LParam))) == HTCLIENT) {
        TCursor cursor = Screen->GetCursor();
        if (cursor == crDefault) {
            POINT p;
            GetCursorPos(p);
            TControl* c = ControlAtPos(ScreenToClient(p), false);
            if (c && c->ComponentState().Contains(csDesigning))
                c = nullptr;
            cursor = c ? c->GetCursor() : FCursor;
        }
        if (cursor != crDefault) {
            ::ld::SetCursor(Screen->GetCursors(cursor));
            m.Result = 1;
            return;
        }
    }
    DefaultHandler(m);
}

void TWinControl::WMNCDestroy(TMessage& m)
{
    DefaultHandler(m);
    FHandle = nullptr;
    FShowing = false;
}

void TWinControl::WMNCHitTest(TMessage& m)
{
    if (ComponentState().Contains(csDesigning) && FParent)
        m.Result = HTCLIENT;
    else
        DefaultHandler(m);
}

void TWinControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT: WMPaint(m); return;
    case WM_ERASEBKGND: WMEraseBkgnd(m); return;
    case WM_SIZE: WMSize(m); return;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(m); return;
    case WM_SETCURSOR: WMSetCursor(m); return;
    case WM_SETFOCUS: WMSetFocus(m); return;
    case WM_KILLFOCUS: WMKillFocus(m); return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: WMKeyDown(m); return;
    case WM_KEYUP:
    case WM_SYSKEYUP: WMKeyUp(m); return;
    case WM_CHAR: WMChar(m); return;
    case WM_NCDESTROY: WMNCDestroy(m); return;
    case WM_NCHITTEST: WMNCHitTest(m); return;
    case CN_KEYDOWN: CNKeyDown(m); return;
    case CN_CHAR: CNChar(m); return;
    case CN_SYSCHAR: CNSysChar(m); return;
    case CM_DIALOGKEY: CMDialogKey(m); return;
    case CM_DIALOGCHAR: CMDialogChar(m); return;
    case CM_FOCUSCHANGED: CMFocusChanged(m); return;
    case CM_FONTCHANGED: CMFontChanged(m); return;
    case CM_COLORCHANGED: CMColorChanged(m); return;
    case CM_CTL3DCHANGED: CMCtl3DChanged(m); return;
    case CM_PARENTCTL3DCHANGED: CMParentCtl3DChanged(m); return;
    case CM_VISIBLECHANGED: CMVisibleChanged(m); return;
    case CM_ENABLEDCHANGED: CMEnabledChanged(m); return;
    case CM_SHOWINGCHANGED: CMShowingChanged(m); return;
    case CM_SHOWHINTCHANGED: CMShowHintChanged(m); return;
    case CM_INVALIDATE: CMInvalidate(m); return;
    case CM_TEXTCHANGED: CMTextChanged(m); return;
    case CM_ENTER: CMEnter(m); return;
    case CM_EXIT: CMExit(m); return;
    }
    inherited::Dispatch(m);
}

void TWinControl::DefaultHandler(TMessage& m)
{
    // The control and its parents have had the wheel as CM_MOUSEWHEEL; passing
    // it up the parent windows as well would offer it to them a second time.
    if (m.Msg == WM_MOUSEWHEEL)
        return;
    if (FHandle && m.Msg < CM_BASE)
        m.Result = DefWindowProc(FHandle, m.Msg, m.WParam, m.LParam);
}

} // namespace ld
