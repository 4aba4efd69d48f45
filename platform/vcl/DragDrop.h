// Drag and drop between controls. One drag at a time: BeginDrag makes a drag
// object and takes the mouse with a capture window of its own; every move
// finds the control under the pointer and sends it CM_DRAG (dsDragEnter when
// the target changes, after dsDragLeave to the old one, then dsDragMove);
// the cursor shows crDrag or crNoDrop as the target accepts or not. A release
// ends it with dsDragLeave, then DragDrop on the target when it accepted, then
// DoEndDrag on the source. Escape, WM_CANCELMODE or the loss of the capture
// ends it without a drop.
#pragma once

#include "platform/vcl/Controls.h"

namespace ld {

class TDragObject : public TObject {
    LD_CLASS(TDragObject, TObject)

    TDragObject() = default;
    // The control that began the drag, when there is one.
    virtual TControl* GetControl() const { return nullptr; }
    virtual TCursor GetDragCursor(bool accepted, Integer x, Integer y);
    // Told when the drag ends, before the source's DoEndDrag.
    virtual void Finished(TObject* target, Integer x, Integer y, bool accepted) {}

    TPoint DragPos;          // screen
    TPoint DragTargetPos;    // target's client coordinates
    TControl* DragTarget = nullptr;
    bool Cancelling = false;
    bool Dropped = false;
    bool AutoCreated = false;
};

class TDragControlObject : public TDragObject {
    LD_CLASS(TDragControlObject, TDragObject)

    explicit TDragControlObject(TControl* control) : FControl(control) {}
    TControl* GetControl() const override { return FControl; }
    TCursor GetDragCursor(bool accepted, Integer x, Integer y) override;
    void Finished(TObject* target, Integer x, Integer y, bool accepted) override;

private:
    TControl* FControl;
};

// Ends the drag under way without a drop.
void CancelDrag();
// The pixels the pointer must move before a non-immediate drag starts.
constexpr Integer DefaultDragThreshold = 5;

namespace dragimpl {
void DragInit(TDragObject* object, bool immediate, Integer threshold);
void DragDone(bool drop);
} // namespace dragimpl

} // namespace ld
