// Bevels and the scroll arrows of standard controls, in the classic scheme.
#pragma once

#include "platform/gfx/DeviceContext.h"

namespace ld {

enum : UINT {
    BDR_RAISEDOUTER = 0x0001,
    BDR_SUNKENOUTER = 0x0002,
    BDR_RAISEDINNER = 0x0004,
    BDR_SUNKENINNER = 0x0008,
    EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,
    EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
    EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER,
    EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER,
};

enum : UINT {
    BF_LEFT = 0x0001,
    BF_TOP = 0x0002,
    BF_RIGHT = 0x0004,
    BF_BOTTOM = 0x0008,
    BF_TOPLEFT = BF_TOP | BF_LEFT,
    BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT,
    BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM,
    BF_MIDDLE = 0x0800,
    BF_SOFT = 0x1000,
    BF_ADJUST = 0x2000,
    BF_FLAT = 0x4000,
    BF_MONO = 0x8000,
};

// Each border is one pixel: its top and left lines in one colour and its right
// and bottom lines (which own the top-right and bottom-left corners) in
// another; the outer border first, then the inner one inside it. BF_MIDDLE
// fills what is left with the button face; BF_ADJUST shrinks rect to it.
BOOL DrawEdge(HDC dc, TRect& rect, UINT edge, UINT flags);

enum : UINT { DFC_CAPTION = 1, DFC_MENU = 2, DFC_SCROLL = 3, DFC_BUTTON = 4 };
enum : UINT {
    DFCS_CAPTIONCLOSE = 0x0000,
    DFCS_SCROLLUP = 0x0000,
    DFCS_SCROLLDOWN = 0x0001,
    DFCS_SCROLLLEFT = 0x0002,
    DFCS_SCROLLRIGHT = 0x0003,
    DFCS_INACTIVE = 0x0100,
    DFCS_PUSHED = 0x0200,
    DFCS_FLAT = 0x4000,
};

// DFC_SCROLL: a raised button face with a black arrow, centred; DFC_CAPTION
// with DFCS_CAPTIONCLOSE: the same face with the close cross. DFCS_PUSHED
// draws it sunken with the glyph one pixel right and down; DFCS_INACTIVE
// draws the glyph grey with a white shadow. Other types return 0.
BOOL DrawFrameControl(HDC dc, const TRect& rect, UINT type, UINT state);

} // namespace ld
