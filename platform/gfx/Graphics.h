// The class library's graphics unit in one include: TColor and ColorToRGB,
// TFont, TPen, TBrush, TCanvas and TBitmap.
#pragma once

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/GraphicsObjects.h"
