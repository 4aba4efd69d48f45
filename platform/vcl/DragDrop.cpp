// The drag manager: the one drag under way, its capture window, and the
// CM_DRAG conversation with the controls under the pointer.
#include "platform/vcl/DragDrop.h"

#include <cstdlib>

#include "platform/vcl/Forms.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"

namespace ld {

TClass TDragObject::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TDragObject>("TDragObject", TObject::StaticClass());
    return &info;
}

TClass TDragControlObject::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TDragControlObject>("TDragControlObject", TDragObject::StaticClass());
    return &info;
}

TCursor TDragObject::GetDragCursor(bool accepted, Integer, Integer) { return accepted ? crDrag : crNoDrop; }

TCursor TDragControlObject::GetDragCursor(bool accepted, Integer, Integer)
{
    return accepted ? FControl->GetDragCursor() : TCursor(crNoDrop);
}

void TDragControlObject::Finished(TObject* target, Integer x, Integer y, bool)
{
    FControl->DoEndDrag(target, x, y);
}

namespace {

struct TDragState_ {
    TDragObject* Object = nullptr;
    HWND Capture = nullptr;
    TPoint StartPos;
    Integer Threshold = 0;
    bool Active = false;
    HCURSOR SavedCursor = nullptr;
};

TDragState_& Drag()
{
    static TDragState_ state;
    return state;
}

// The source as a control sees it: the control itself for a control drag.
TObject* SourceOf(TDragObject* object)
{
    if (TControl* c = object->GetControl())
        return c;
    return object;
}

bool SendDrag(TDragMessage msg, TDragObject* object)
{
    TControl* target = object->DragTarget;
    if (!target)
        return false;
    TDragRec rec;
    rec.Pos = object->DragPos;
    rec.Source = object;
    rec.Target = target;
    return target->Perform(CM_DRAG, msg, reinterpret_cast<LPARAM>(&rec)) != 0;
}

void DragTo(TPoint pos)
{
    TDragState_& d = Drag();
    if (!d.Object)
        return;
    if (!d.Active && std::abs(pos.X - d.StartPos.X) < d.Threshold && std::abs(pos.Y - d.StartPos.Y) < d.Threshold)
        return;
    d.Active = true;
    TDragObject* object = d.Object;
    TControl* target = FindDragTarget(pos, false);
    if (target != object->DragTarget) {
        SendDrag(dmDragLeave, object);
        if (d.Object != object)
            return;
        object->DragTarget = target;
        object->DragPos = pos;
        SendDrag(dmDragEnter, object);
        if (d.Object != object)
            return;
    }
    object->DragPos = pos;
    if (object->DragTarget)
        object->DragTargetPos = object->DragTarget->ScreenToClient(pos);
    bool accepted = SendDrag(dmDragMove, object);
    if (d.Object != object)
        return;
    SetCursor(Screen->GetCursors(object->GetDragCursor(accepted, pos.X, pos.Y)));
}

LRESULT CaptureProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TDragState_& d = Drag();
    if (d.Object && hwnd == d.Capture) {
        switch (msg) {
        case WM_MOUSEMOVE: {
            POINT p;
            GetCursorPos(p);
            DragTo(p);
            return 0;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            dragimpl::DragDone(true);
            return 0;
        case WM_CANCELMODE:
            dragimpl::DragDone(false);
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != hwnd)
                dragimpl::DragDone(false);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE)
                dragimpl::DragDone(false);
            return 0;
        }
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

HWND MakeCaptureWindow()
{
    WNDCLASS wc;
    if (!GetClassInfo("TDragCapture", wc)) {
        wc.lpfnWndProc = CaptureProc;
        wc.lpszClassName = "TDragCapture";
        RegisterClass(wc);
    }
    return CreateWindowEx(0, "TDragCapture", "", WS_POPUP, 0, 0, 0, 0, nullptr);
}

} // namespace

namespace dragimpl {

void DragInit(TDragObject* object, bool immediate, Integer threshold)
{
    TDragState_& d = Drag();
    d.Object = object;
    object->DragTarget = nullptr;
    GetCursorPos(d.StartPos);
    object->DragPos = d.StartPos;
    d.SavedCursor = GetCursor();
    d.Threshold = threshold;
    d.Capture = MakeCaptureWindow();
    SetCapture(d.Capture);
    d.Active = false;
    if (immediate) {
        d.Active = true;
        DragTo(d.StartPos);
    }
}

void DragDone(bool drop)
{
    TDragState_& d = Drag();
    TDragObject* object = d.Object;
    if (!object || object->Cancelling)
        return;
    object->Cancelling = true;
    object->Dropped = drop;
    HWND capture = d.Capture;
    d.Capture = nullptr;
    if (GetCapture() == capture)
        ReleaseCapture();
    bool accepted = d.Active && SendDrag(dmDragLeave, object) && drop;
    TControl* target = object->DragTarget;
    TPoint targetPos = target ? target->ScreenToClient(object->DragPos) : object->DragPos;
    d.Object = nullptr;
    d.Active = false;
    if (target && accepted) {
        TDragRec rec;
        rec.Pos = object->DragPos;
        rec.Source = object;
        rec.Target = target;
        target->Perform(CM_DRAG, dmDragDrop, reinterpret_cast<LPARAM>(&rec));
    }
    if (!accepted) {
        target = nullptr;
        targetPos = {0, 0};
    }
    SetCursor(d.SavedCursor);
    DestroyWindow(capture);
    object->Finished(target, targetPos.X, targetPos.Y, accepted);
    if (object->AutoCreated)
        delete object;
}

} // namespace dragimpl

void CancelDrag() { dragimpl::DragDone(false); }

TDragObject* GetDragObject() { return Drag().Object; }

// ---- TControl's side ------------------------------------------------------------

void TControl::BeginDrag(bool immediate, Integer threshold)
{
    if (GetDragObject())
        return;
    if (threshold < 0)
        threshold = DefaultDragThreshold;
    TDragObject* object = nullptr;
    DoStartDrag(object);
    if (!object) {
        object = new TDragControlObject(this);
        object->AutoCreated = true;
    }
    dragimpl::DragInit(object, immediate, threshold);
}

void TControl::EndDrag(bool drop)
{
    if (Dragging())
        dragimpl::DragDone(drop);
}

bool TControl::Dragging() const
{
    TDragObject* d = GetDragObject();
    return d && d->GetControl() == this;
}

void TControl::DoStartDrag(TDragObject*& dragObject)
{
    if (FOnStartDrag)
        FOnStartDrag(this, dragObject);
}

void TControl::DragOver(TObject* source, Integer x, Integer y, TDragState state, bool& accept)
{
    accept = false;
    if (FOnDragOver) {
        accept = true;
        FOnDragOver(this, source, x, y, state, accept);
    }
}

void TControl::DragDrop(TObject* source, Integer x, Integer y)
{
    if (FOnDragDrop)
        FOnDragDrop(this, source, x, y);
}

void TControl::DoEndDrag(TObject* target, Integer x, Integer y)
{
    if (FOnEndDrag)
        FOnEndDrag(this, target, x, y);
}

void TControl::CMDrag(TMessage& m)
{
    auto* rec = reinterpret_cast<TDragRec*>(m.LParam);
    m.Result = 0;
    if (!rec || !rec->Target)
        return;
    TControl* target = rec->Target;
    TPoint p = target->ScreenToClient(rec->Pos);
    TObject* source = SourceOf(rec->Source);
    switch (TDragMessage(m.WParam)) {
    case dmDragEnter:
    case dmDragLeave:
    case dmDragMove: {
        bool accept = false;
        TDragState state = m.WParam == dmDragEnter ? dsDragEnter : m.WParam == dmDragLeave ? dsDragLeave : dsDragMove;
        target->DragOver(source, p.X, p.Y, state, accept);
        m.Result = accept;
        break;
    }
    case dmDragDrop:
        target->DragDrop(source, p.X, p.Y);
        break;
    default:
        break;
    }
}

} // namespace ld
