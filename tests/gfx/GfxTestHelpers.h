// Small helpers for pixel tests: a surface with a DC on it, and a picture of a
// part of the surface as text, one character per pixel.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Painting.h"
#include "platform/gfx/Surface.h"

namespace ld::test {

struct TCanvasFixture {
    std::unique_ptr<TSurface> Surface;
    HDC DC = nullptr;
    TCanvasFixture(Integer width, Integer height, uint32_t fill = 0xFFFFFFFFu)
        : Surface(std::make_unique<TSurface>(width, height, fill)), DC(CreateSurfaceDC(Surface.get()))
    {
    }
    ~TCanvasFixture() { DeleteDC(DC); }
};

// Rows of the area joined by '\n'; each pixel is looked up in legend (colour ->
// character), '?' for a colour not in it.
inline std::string Picture(const TSurface& s, const TRect& area, const std::map<COLORREF, char>& legend)
{
    std::string text;
    for (Integer y = area.Top; y < area.Bottom; ++y) {
        for (Integer x = area.Left; x < area.Right; ++x) {
            const auto it = legend.find(PixelToColorRef(s.Pixel(x, y)));
            text += it == legend.end() ? '?' : it->second;
        }
        text += '\n';
    }
    return text;
}

inline std::string BlackOnWhite(const TSurface& s, const TRect& area)
{
    return Picture(s, area, {{RGB(255, 255, 255), '.'}, {RGB(0, 0, 0), '#'}});
}

inline COLORREF At(const TSurface& s, Integer x, Integer y)
{
    return PixelToColorRef(s.Pixel(x, y));
}

inline int CountColor(const TSurface& s, COLORREF color)
{
    int n = 0;
    for (Integer y = 0; y < s.Height(); ++y)
        for (Integer x = 0; x < s.Width(); ++x)
            n += PixelToColorRef(s.Pixel(x, y)) == color;
    return n;
}

} // namespace ld::test
