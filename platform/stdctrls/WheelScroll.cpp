#include "platform/stdctrls/WheelScroll.h"

#include <algorithm>

#include "platform/win/Window.h"

namespace ld {

bool WheelScrollLines(Integer& accumulator, WPARAM wParam, Integer page, Integer& lines)
{
    lines = 0;
    if (GetKeyStateWParam(wParam) & (MK_SHIFT | MK_CONTROL))
        return false;
    UINT setting = 3;
    SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &setting, 0);
    page = std::max(page, 1);
    const Integer perNotch = setting == WHEEL_PAGESCROLL ? page : Integer(std::min<UINT>(setting, UINT(page)));
    const Integer delta = GetWheelDeltaWParam(wParam);
    // A turn the other way starts afresh.
    if ((accumulator > 0 && delta < 0) || (accumulator < 0 && delta > 0))
        accumulator = 0;
    accumulator += delta;
    const Integer notches = accumulator / WHEEL_DELTA;
    accumulator -= notches * WHEEL_DELTA;
    lines = notches * perNotch;
    return true;
}

} // namespace ld
