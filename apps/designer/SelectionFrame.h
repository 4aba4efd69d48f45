// The selection frame: eight small grab handles at the corners and edge
// middles of the selected control. They are child windows of the designed
// form's window but no controls of it, so the form's controls, their tab order
// and the stored form never see them; they sit above every control of the form.
#pragma once

#include <array>

#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"

namespace ld {

class TSelectionFrame {
public:
    static constexpr Integer HandleSize = 6;

    TSelectionFrame() = default;
    ~TSelectionFrame();
    TSelectionFrame(const TSelectionFrame&) = delete;
    TSelectionFrame& operator=(const TSelectionFrame&) = delete;

    // Frames Control on Form; the form itself, a component that is no control
    // or a hidden control (null) takes the frame away.
    void Show(TCustomForm* form, TControl* control);
    void Hide();
    // The handles' rectangles in the form's client coordinates, for tests.
    std::array<TRect, 8> HandleRects() const { return FRects; }
    bool IsShown() const { return FShown; }

private:
    void MakeWindows(HWND parent);

    std::array<HWND, 8> FHandles{};
    std::array<TRect, 8> FRects{};
    HWND FParent = nullptr;
    bool FShown = false;
};

} // namespace ld
