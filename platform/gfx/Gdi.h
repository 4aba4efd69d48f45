// The window system's drawing calls in one include: device contexts, regions,
// lines and fills, blits and scrolling, text, edges and arrows, rectangles.
#pragma once

#include "platform/gfx/Blit.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Frames.h"
#include "platform/gfx/GdiObjects.h"
#include "platform/gfx/Painting.h"
#include "platform/gfx/RectUtils.h"
#include "platform/gfx/Regions.h"
#include "platform/gfx/Surface.h"
#include "platform/gfx/Text.h"
