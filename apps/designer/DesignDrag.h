// What the left button does on the designed form: it selects, drags a
// rubber band, moves the selection, sizes a control by a grab handle, or
// places the palette's chosen class. The designer hands this the left
// button's messages on designed controls; the grab handles tell it when one
// is pressed. While the button is held the designed form has the mouse
// capture and outlines show where things would go; the form changes only
// when the button comes up, in one change the designer records.
#pragma once

#include <vector>

#include "apps/designer/DragOutline.h"
#include "apps/designer/SelectionFrame.h"
#include "host/FormDesigner.h"

namespace ld {

class TDesignDrag {
public:
    enum class TMode { Idle, Select, Move, Size, Band, Place };

    TDesignDrag(THostFormDesigner& designer, TSelectionFrame& frame);
    ~TDesignDrag();
    TDesignDrag(const TDesignDrag&) = delete;
    TDesignDrag& operator=(const TDesignDrag&) = delete;

    TMode GetMode() const { return FMode; }
    // The outlines shown now, in the designed form's client coordinates.
    const std::vector<TRect>& OutlineRects() const { return FOutline.Rects(); }

    // The designer's hook for WM_LBUTTONDOWN, WM_MOUSEMOVE and WM_LBUTTONUP.
    bool MouseMessage(TControl* sender, TMessage& message);
    // The designer's key preview: while dragging every key is taken, and
    // Escape ends the drag without a change.
    bool KeyPreview(Word key, TShiftState shift);
    // A grab handle pressed (the selection frame's notice).
    void HandleDown(TSelectionFrame::THandle handle, TPoint screenPoint);
    // Ends the drag; nothing changes.
    void Cancel();

private:
    void Down(TPoint screen, WPARAM keys);
    void Drag(TPoint screen, WPARAM keys);
    void Up(TPoint screen, WPARAM keys);
    void Begin(TMode mode);
    bool PastThreshold(TPoint screen) const;

    void ShowMove(TPoint screen, bool snap);
    void ShowSize(TPoint screen, bool snap);
    void ShowBand(TPoint screen);
    void ShowPlace(TPoint screen, bool snap);
    void FinishMove();
    void FinishBand(TPoint screen, bool add);
    void FinishPlace(TPoint screen, bool snap);

    // A rectangle in screen coordinates as the form's client coordinates.
    TRect ToForm(const TRect& screenRect) const;

    THostFormDesigner& FDesigner;
    TSelectionFrame& FFrame;
    TDragOutline FOutline;
    TMode FMode = TMode::Idle;
    TPoint FStart;             // where the button went down, screen
    bool FDragged = false;     // the pointer went past the threshold
    TComponent* FPressed = nullptr;
    bool FReduceOnClick = false; // a click on a member of several selects it alone
    // Move
    std::vector<TControl*> FMoving;
    TPoint FMoveDelta;
    TWinControl* FMoveTarget = nullptr;
    // Size
    TControl* FSized = nullptr;
    TSelectionFrame::THandle FHandle = TSelectionFrame::hBottomRight;
    TRect FSizeStart, FSizeRect;
    // Band and Place: the container they are drawn in
    TWinControl* FContainer = nullptr;
};

} // namespace ld
