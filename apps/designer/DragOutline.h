// The outlines a drag shows over the designed form: where the dragged
// controls would land, the rectangle being sized, the rubber band. They are
// drawn as frames two pixels wide that flip the colours beneath them, straight
// onto the form and everything on it, so each move of the pointer costs only
// the frames drawn again; when the drag ends, the area they covered is
// painted afresh.
#pragma once

#include <vector>

#include "platform/vcl/Forms.h"

namespace ld {

class TDragOutline {
public:
    TDragOutline() = default;
    ~TDragOutline();
    TDragOutline(const TDragOutline&) = delete;
    TDragOutline& operator=(const TDragOutline&) = delete;

    // Shows Rects (the form's client coordinates) instead of what was shown.
    void Show(TCustomForm* form, const std::vector<TRect>& rects);
    // Takes the outlines away.
    void Hide();
    const std::vector<TRect>& Rects() const { return FRects; }

private:
    void Invert(const std::vector<TRect>& rects);

    TCustomForm* FForm = nullptr;
    std::vector<TRect> FRects;
    TRect FCovered{0, 0, 0, 0};
};

} // namespace ld
