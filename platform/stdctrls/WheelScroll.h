// How far the wheel scrolls a control that shows lines (the memo, the tree
// view, the combo box's open list), as the system's own controls do.
#pragma once

#include "platform/win/Messages.h"

namespace ld {

// The lines to scroll for a WM_MOUSEWHEEL whose wParam is given, positive
// towards the start: for each whole notch gathered in Accumulator, the
// system's lines per notch (SPI_GETWHEELSCROLLLINES), a page at most, a page
// for WHEEL_PAGESCROLL. False, with the turn not counted, when Shift or Ctrl
// is held: then the wheel is not for scrolling and the control passes it on.
bool WheelScrollLines(Integer& accumulator, WPARAM wParam, Integer page, Integer& lines);

} // namespace ld
