// The selection frame: small grab handles around the selected controls. One
// selected control gets eight handles at its corners and edge middles, in
// the highlight colour, that a person drags to size it; several get four grey
// handles each, inside their corners, that size nothing (the pointer passes
// through them to the control). The handles are child windows of the
// designed form's window but no controls of it, so the form's controls, their
// tab order and the stored form never see them; they sit above every control
// of the form.
#pragma once

#include <functional>
#include <vector>

#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"

namespace ld {

class TSelectionFrame {
public:
    static constexpr Integer HandleSize = 6;
    // The eight handles of one control, clockwise from the top-left corner.
    enum THandle { hTopLeft, hTop, hTopRight, hRight, hBottomRight, hBottom, hBottomLeft, hLeft };

    TSelectionFrame() = default;
    ~TSelectionFrame();
    TSelectionFrame(const TSelectionFrame&) = delete;
    TSelectionFrame& operator=(const TSelectionFrame&) = delete;

    // Frames Controls on Form; the form itself and hidden controls are left out.
    void Show(TCustomForm* form, const std::vector<TControl*>& controls);
    void Hide();
    // The handles' rectangles in the form's client coordinates: eight for one
    // control, four for each of several, for tests.
    std::vector<TRect> HandleRects() const { return FRects; }
    bool IsShown() const { return !FRects.empty(); }
    // Whether the handles are those of several controls (grey, not for sizing).
    bool IsMultiple() const { return FMultiple; }
    // The control the eight handles size; null for none or several.
    TControl* SizedControl() const { return FMultiple ? nullptr : FSized; }
    // Told when the left button goes down on one of the eight handles.
    void SetOnHandleDown(std::function<void(THandle handle, TPoint screenPoint)> handler)
    {
        FOnHandleDown = std::move(handler);
    }

private:
    static LRESULT HandleProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void UseWindows(HWND parent, size_t count);
    void Place(size_t index, const TRect& r, bool grey);

    std::vector<HWND> FHandles;
    std::vector<TRect> FRects;
    HWND FParent = nullptr;
    bool FMultiple = false;
    TControl* FSized = nullptr;
    std::function<void(THandle, TPoint)> FOnHandleDown;
};

} // namespace ld
