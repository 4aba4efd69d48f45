// The drag modes of the designer's left button, as a state machine:
//
//   Idle --down on a component---------> Select --past the threshold--> Move --up--> Idle: moved (on the
//   Idle --down on the form,                |                                        grid, Alt: none), into
//          or Ctrl+down in a container---> Band --up--> Idle: what it touches       the container dropped on
//   Idle --down on a grab handle---------> Size --up--> Idle: the new bounds
//   Idle --down with a palette class-----> Place --up--> Idle: placed at the click or in the rectangle
//                                          Select --up--> Idle: the click selects
//   any --Escape, or a move without the button--> Idle, nothing changed
//
// Shift+down on a component adds it to the selection or takes it out (and
// then drags the selection); Shift on a band adds what it touches. A double
// click with Shift or Ctrl held is two clicks with them; without, the
// designer runs the component's editor.
#include "apps/designer/DesignDrag.h"

#include <algorithm>
#include <cstdlib>

#include "host/DesignEdits.h"
#include "platform/gfx/RectUtils.h"
#include "platform/vcl/ControlTypes.h"
#include "platform/win/Input.h"

namespace ld {

namespace {

TRect Normalized(TPoint a, TPoint b)
{
    return {std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)};
}

TRect ScreenRectOf(const TControl* control)
{
    const TPoint topLeft = ScreenTopLeft(control);
    return {topLeft.X, topLeft.Y, topLeft.X + control->GetWidth(), topLeft.Y + control->GetHeight()};
}

// The container a band or a placed component lives in: the control itself
// when it accepts controls, else the nearest parent that does.
TWinControl* ContainerOf(TControl* control, TCustomForm* form)
{
    for (TControl* c = control; c != nullptr; c = c->GetParent())
        if (auto* w = dynamic_cast<TWinControl*>(c); w != nullptr && w->GetControlStyle().Contains(csAcceptsControls))
            return w;
    return form;
}

bool AltHeld() { return GetKeyState(VK_MENU) < 0; }

} // namespace

TDesignDrag::TDesignDrag(THostFormDesigner& designer, TSelectionFrame& frame) : FDesigner(designer), FFrame(frame)
{
    FFrame.SetOnHandleDown([this](TSelectionFrame::THandle handle, TPoint p) { HandleDown(handle, p); });
}

TDesignDrag::~TDesignDrag()
{
    FFrame.SetOnHandleDown(nullptr);
    Cancel();
}

bool TDesignDrag::MouseMessage(TControl* sender, TMessage& message)
{
    const TPoint screen = sender->ClientToScreen(LParamToPoint(message.LParam));
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: // with Shift or Ctrl only: the second click toggles or bands again
        Down(screen, message.WParam);
        return true;
    case WM_MOUSEMOVE:
        if (FMode != TMode::Idle)
            Drag(screen, message.WParam);
        return true;
    case WM_LBUTTONUP:
        if (FMode != TMode::Idle)
            Up(screen, message.WParam);
        return true;
    }
    return false;
}

// While the button is held the form must stay as the drag found it: keys
// that would change it (Delete, Ctrl+Z) wait; Escape ends the drag.
bool TDesignDrag::KeyPreview(Word key, TShiftState)
{
    if (FMode == TMode::Idle)
        return false;
    if (key == VK_ESCAPE)
        Cancel();
    return true;
}

void TDesignDrag::Begin(TMode mode)
{
    FMode = mode;
    FDragged = false;
    TCustomForm* form = FDesigner.GetForm();
    SetCapture(form->GetHandle());
    // The designer's keys reach it through the focus.
    const HWND focus = GetFocus();
    if (focus == nullptr || (focus != form->GetHandle() && !IsChild(form->GetHandle(), focus)))
        SetFocus(form->GetHandle());
}

void TDesignDrag::Cancel()
{
    FOutline.Hide();
    if (FMode != TMode::Idle && GetCapture() == FDesigner.GetForm()->GetHandle())
        ReleaseCapture();
    FMode = TMode::Idle;
    FMoving.clear();
    FPressed = nullptr;
    FSized = nullptr;
    FContainer = nullptr;
}

bool TDesignDrag::PastThreshold(TPoint screen) const
{
    return std::abs(screen.X - FStart.X) > GetSystemMetrics(SM_CXDRAG) ||
           std::abs(screen.Y - FStart.Y) > GetSystemMetrics(SM_CYDRAG);
}

TRect TDesignDrag::ToForm(const TRect& r) const
{
    const TPoint topLeft = FDesigner.GetForm()->ScreenToClient({r.Left, r.Top});
    return {topLeft.X, topLeft.Y, topLeft.X + r.Width(), topLeft.Y + r.Height()};
}

// ---- the button goes down ------------------------------------------------------------------------

void TDesignDrag::Down(TPoint screen, WPARAM keys)
{
    Cancel();
    TCustomForm* form = FDesigner.GetForm();
    TControl* hit = DesignedControlAt(form, form->ScreenToClient(screen));
    if (hit == nullptr)
        hit = form;
    TComponent* component = FDesigner.DesignedComponent(hit);
    FStart = screen;
    FPressed = component;
    if (FDesigner.GetPlacingClass() != nullptr) {
        FContainer = ContainerOf(hit, form);
        Begin(TMode::Place);
        return;
    }
    if ((keys & MK_CONTROL) != 0 || component == form) {
        FContainer = ContainerOf(hit, form);
        Begin(TMode::Band);
        return;
    }
    if ((keys & MK_SHIFT) != 0) {
        FDesigner.ToggleSelection(component);
        FReduceOnClick = false;
        if (FDesigner.IsSelected(component))
            Begin(TMode::Select);
        return;
    }
    FReduceOnClick = FDesigner.IsSelected(component) && FDesigner.GetSelection().size() > 1;
    if (!FDesigner.IsSelected(component))
        FDesigner.SelectComponent(component);
    Begin(TMode::Select);
}

void TDesignDrag::HandleDown(TSelectionFrame::THandle handle, TPoint screen)
{
    Cancel();
    FSized = FFrame.SizedControl();
    if (FSized == nullptr)
        return;
    FHandle = handle;
    FStart = screen;
    FSizeStart = FSizeRect = FSized->GetBoundsRect();
    Begin(TMode::Size);
}

// ---- the pointer moves with the button held ----------------------------------------------------

void TDesignDrag::Drag(TPoint screen, WPARAM keys)
{
    if ((keys & MK_LBUTTON) == 0) {
        Cancel();
        return;
    }
    if (!FDragged && !PastThreshold(screen))
        return;
    FDragged = true;
    const bool snap = !AltHeld();
    switch (FMode) {
    case TMode::Select:
        FMoving = FDesigner.SelectedControls();
        if (FMoving.empty())
            return;
        FMode = TMode::Move;
        ShowMove(screen, snap);
        break;
    case TMode::Move: ShowMove(screen, snap); break;
    case TMode::Size: ShowSize(screen, snap); break;
    case TMode::Band: ShowBand(screen); break;
    case TMode::Place: ShowPlace(screen, snap); break;
    case TMode::Idle: break;
    }
}

// The pressed control (or the first moved) lands on the grid of the
// container it goes into; the others keep their places beside it.
void TDesignDrag::ShowMove(TPoint screen, bool snap)
{
    TCustomForm* form = FDesigner.GetForm();
    TPoint delta{screen.X - FStart.X, screen.Y - FStart.Y};
    FMoveTarget = DropTargetAt(form, screen, FMoving);
    TControl* primary = FMoving.front();
    if (auto it = std::find(FMoving.begin(), FMoving.end(), dynamic_cast<TControl*>(FPressed)); it != FMoving.end())
        primary = *it;
    if (snap) {
        TWinControl* into = primary->GetParent();
        if (FMoveTarget != into && !IsHeldByParent(primary) && AcceptsChild(FMoveTarget, primary))
            into = FMoveTarget;
        const TPoint from = ScreenTopLeft(primary);
        const TPoint local = into->ScreenToClient({from.X + delta.X, from.Y + delta.Y});
        const TPoint to = into->ClientToScreen({SnapToGrid(local.X), SnapToGrid(local.Y)});
        delta = {to.X - from.X, to.Y - from.Y};
    }
    FMoveDelta = delta;
    std::vector<TRect> rects;
    for (TControl* c : FMoving) {
        const TRect r = ScreenRectOf(c);
        rects.push_back(ToForm({r.Left + delta.X, r.Top + delta.Y, r.Right + delta.X, r.Bottom + delta.Y}));
    }
    FOutline.Show(form, rects);
}

// The edges the handle holds follow the pointer (onto the grid); an edge
// never passes the opposite one.
void TDesignDrag::ShowSize(TPoint screen, bool snap)
{
    const Integer dx = screen.X - FStart.X, dy = screen.Y - FStart.Y;
    const bool left = FHandle == TSelectionFrame::hTopLeft || FHandle == TSelectionFrame::hLeft ||
                      FHandle == TSelectionFrame::hBottomLeft;
    const bool right = FHandle == TSelectionFrame::hTopRight || FHandle == TSelectionFrame::hRight ||
                       FHandle == TSelectionFrame::hBottomRight;
    const bool top = FHandle == TSelectionFrame::hTopLeft || FHandle == TSelectionFrame::hTop ||
                     FHandle == TSelectionFrame::hTopRight;
    const bool bottom = FHandle == TSelectionFrame::hBottomLeft || FHandle == TSelectionFrame::hBottom ||
                        FHandle == TSelectionFrame::hBottomRight;
    auto edge = [snap](Integer value) { return snap ? SnapToGrid(value) : value; };
    TRect r = FSizeStart;
    if (left)
        r.Left = std::min(edge(r.Left + dx), r.Right);
    if (right)
        r.Right = std::max(edge(r.Right + dx), r.Left);
    if (top)
        r.Top = std::min(edge(r.Top + dy), r.Bottom);
    if (bottom)
        r.Bottom = std::max(edge(r.Bottom + dy), r.Top);
    FSizeRect = r;
    const TPoint origin = FSized->GetParent()->ClientToScreen({r.Left, r.Top});
    FOutline.Show(FDesigner.GetForm(), {ToForm({origin.X, origin.Y, origin.X + r.Width(), origin.Y + r.Height()})});
}

// The band stays inside its container's client area.
void TDesignDrag::ShowBand(TPoint screen)
{
    const TPoint origin = FContainer->ClientToScreen({0, 0});
    const TPoint to{std::clamp(screen.X, origin.X, origin.X + FContainer->GetClientWidth() - 1),
                    std::clamp(screen.Y, origin.Y, origin.Y + FContainer->GetClientHeight() - 1)};
    FOutline.Show(FDesigner.GetForm(), {ToForm(Normalized(FStart, to))});
}

void TDesignDrag::ShowPlace(TPoint screen, bool snap)
{
    TRect r = Normalized(FStart, screen);
    if (snap) {
        const TPoint a = FContainer->ScreenToClient({r.Left, r.Top});
        const TPoint b = FContainer->ScreenToClient({r.Right, r.Bottom});
        const TPoint sa = FContainer->ClientToScreen({SnapToGrid(a.X), SnapToGrid(a.Y)});
        const TPoint sb = FContainer->ClientToScreen({SnapToGrid(b.X), SnapToGrid(b.Y)});
        r = {sa.X, sa.Y, sb.X, sb.Y};
    }
    FOutline.Show(FDesigner.GetForm(), {ToForm(r)});
}

// ---- the button comes up -------------------------------------------------------------------------

void TDesignDrag::Up(TPoint screen, WPARAM keys)
{
    FOutline.Hide();
    const bool shift = (keys & MK_SHIFT) != 0;
    switch (FMode) {
    case TMode::Select:
        if (FReduceOnClick)
            FDesigner.SelectComponent(FPressed);
        break;
    case TMode::Move: FinishMove(); break;
    case TMode::Size:
        if (FDragged && FSizeRect != FSized->GetBoundsRect())
            FDesigner.SetControlBounds(FSized, FSizeRect);
        break;
    case TMode::Band:
        if (FDragged)
            FinishBand(screen, shift);
        else if (!shift)
            FDesigner.SelectComponent(FPressed);
        break;
    case TMode::Place: FinishPlace(screen, !AltHeld()); break;
    case TMode::Idle: break;
    }
    Cancel();
}

// Nothing to record when nothing would move and nothing change parent.
void TDesignDrag::FinishMove()
{
    const bool reparents = std::any_of(FMoving.begin(), FMoving.end(), [&](TControl* c) {
        return FMoveTarget != c->GetParent() && !IsHeldByParent(c) && AcceptsChild(FMoveTarget, c);
    });
    if (FMoveDelta.X != 0 || FMoveDelta.Y != 0 || reparents)
        FDesigner.MoveSelection(FMoveDelta, FMoveTarget);
}

// What the band touches among the container's own controls; nothing touched
// selects the container.
void TDesignDrag::FinishBand(TPoint screen, bool add)
{
    const TPoint origin = FContainer->ClientToScreen({0, 0});
    const TPoint to{std::clamp(screen.X, origin.X, origin.X + FContainer->GetClientWidth() - 1),
                    std::clamp(screen.Y, origin.Y, origin.Y + FContainer->GetClientHeight() - 1)};
    const TRect band = Normalized(FStart, to);
    TCustomForm* form = FDesigner.GetForm();
    std::vector<TPersistent*> touched = add ? FDesigner.GetSelection() : std::vector<TPersistent*>{};
    for (Integer i = 0; i < FContainer->GetControlCount(); ++i) {
        TControl* c = FContainer->GetControl(i);
        TRect common;
        if (c->Owner() == form && IntersectRect(common, band, ScreenRectOf(c)))
            touched.push_back(c);
    }
    if (touched.empty())
        touched.push_back(FDesigner.DesignedComponent(FContainer));
    FDesigner.SetSelection(touched);
}

// At the click with the size the class gives itself, or in the dragged rectangle.
void TDesignDrag::FinishPlace(TPoint screen, bool snap)
{
    auto onGrid = [snap](TPoint p) { return snap ? TPoint{SnapToGrid(p.X), SnapToGrid(p.Y)} : p; };
    if (!FDragged) {
        FDesigner.PlaceAt(FContainer, onGrid(FContainer->ScreenToClient(screen)));
        return;
    }
    const TRect r = Normalized(FStart, screen);
    const TPoint a = onGrid(FContainer->ScreenToClient({r.Left, r.Top}));
    const TPoint b = onGrid(FContainer->ScreenToClient({r.Right, r.Bottom}));
    const TClass cls = FDesigner.GetPlacingClass();
    FDesigner.SetPlacingClass(nullptr);
    FDesigner.CreateComponent(cls, FContainer, {a.X, a.Y, b.X, b.Y});
}

} // namespace ld
