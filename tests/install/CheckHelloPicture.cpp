// check_hello_picture PNG: what hello-launchdeck's headless run must show. Its
// form (client 380 x 300 in a 4-pixel frame under a 19-pixel caption) holds the
// bar at the left with the Places sheet open: four icons in a column on the
// sheet's dark face, Documents raised under the pointer after its click. Prints
// every point that differs and exits 1, or exits 0.
#include <cstdio>
#include <exception>
#include <string>

#include "platform/gfx/Png.h"

using namespace ld;

namespace {

constexpr uint32_t Face = 0xFFC0C0C0;     // clBtnFace: the form and the tabs
constexpr uint32_t Shadow = 0xFF808080;   // the open sheet's face
constexpr uint32_t Black = 0xFF000000;
constexpr uint32_t Caption = 0xFF000080;  // the active caption

int Failures = 0;

void Expect(bool ok, const std::string& what)
{
    if (!ok) {
        std::printf("check_hello_picture: %s\n", what.c_str());
        ++Failures;
    }
}

std::string Hex(uint32_t pixel)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08X", pixel);
    return text;
}

void ExpectPixel(const TSurface& s, Integer x, Integer y, uint32_t want, const std::string& what)
{
    const uint32_t got = s.Pixel(x, y);
    Expect(got == want, what + " at " + std::to_string(x) + "," + std::to_string(y) + ": " + Hex(got) +
                            ", not " + Hex(want));
}

// A line of pixels of one colour, from (x0, y0) to (x1, y1) inclusive.
void ExpectLine(const TSurface& s, Integer x0, Integer y0, Integer x1, Integer y1, uint32_t want, const std::string& what)
{
    for (Integer y = y0; y <= y1; ++y)
        for (Integer x = x0; x <= x1; ++x)
            if (s.Pixel(x, y) != want)
                return ExpectPixel(s, x, y, want, what);
}

// The folder icons are blue: their pixels in a 32-pixel box centred on (cx, cy).
int BluePixels(const TSurface& s, Integer cx, Integer cy)
{
    int count = 0;
    for (Integer y = cy - 16; y < cy + 16; ++y)
        for (Integer x = cx - 16; x < cx + 16; ++x) {
            const uint32_t p = s.Pixel(x, y);
            const int r = (p >> 16) & 0xFF, b = p & 0xFF;
            count += b > r + 40 ? 1 : 0;
        }
    return count;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: check_hello_picture PNG\n");
        return 2;
    }
    try {
        const auto shot = LoadPngFile(argv[1]);
        const TSurface& s = *shot;
        if (s.Width() != 388 || s.Height() != 327) {
            std::printf("check_hello_picture: %s is %d x %d, not the form's 388 x 327\n", argv[1], s.Width(), s.Height());
            return 1;
        }
        ExpectPixel(s, 200, 10, Caption, "the caption bar");
        ExpectPixel(s, 200, 200, Face, "the form beside the bar");
        ExpectPixel(s, 20, 60, Shadow, "the open sheet");
        ExpectPixel(s, 40, 31, Face, "the Places tab");
        for (int i = 0; i < 4; ++i)
            Expect(BluePixels(s, 80, 70 + 60 * i) >= 100, "no icon " + std::to_string(i) + " in the open sheet");
        // Documents raised: a light top edge, a black right and bottom edge.
        ExpectLine(s, 61, 112, 95, 112, Face, "the raised item's top edge");
        ExpectLine(s, 96, 112, 96, 147, Black, "the raised item's right edge");
        ExpectLine(s, 62, 147, 96, 147, Black, "the raised item's bottom edge");
    } catch (const std::exception& e) {
        std::printf("check_hello_picture: %s: %s\n", argv[1], e.what());
        return 1;
    }
    return Failures == 0 ? 0 : 1;
}
