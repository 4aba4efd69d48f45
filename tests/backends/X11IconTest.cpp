// The program's icon as the window manager takes it: each image's size then
// its ARGB pixels, top row first; the mask's pixels clear, an image's own
// alpha kept; malformed images refused with an exception.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/backends/X11Icon.h"
#include "platform/core/SysUtils.h"
#include "platform/gfx/GfxErrors.h"

namespace ld::x11test {
namespace {

// A packed bitmap of an icon: the header (height doubled), then the colour
// rows and the mask rows, bottom row first.
std::vector<uint8_t> IconDib(int32_t width, int32_t height, uint16_t bpp, const std::vector<uint8_t>& bits)
{
    std::vector<uint8_t> out(40, 0);
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(out.data() + at, &v, 4); };
    put32(0, 40);
    put32(4, uint32_t(width));
    put32(8, uint32_t(height * 2));
    out[12] = 1;
    out[14] = uint8_t(bpp);
    if (!bits.empty())
        out.insert(out.end(), bits.begin(), bits.end());
    return out;
}

TEST(X11Icon, ImagesBecomeSizesAndArgbPixelsWithTheMaskClearOrTheirOwnAlpha)
{
    // 2 x 2 in 24 bits (rows of 8 bytes), the mask clearing the bottom row's right pixel.
    std::vector<uint8_t> bits = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0,
                                 0x40, 0, 0, 0, 0, 0, 0, 0};
    std::vector<unsigned long> p = x11::IconImageProperty(IconDib(2, 2, 24, bits).data(), 40 + bits.size());
    EXPECT_EQ(p, (std::vector<unsigned long>{2, 2, 0xFF0000FFu, 0xFFFFFFFFu, 0xFFFF0000u, 0u}));

    // 32 bits with alpha of their own: the mask is not read.
    bits = {0, 0, 255, 255, 0, 255, 0, 128, 0xFF, 0, 0, 0, 0};
    p = x11::IconImageProperty(IconDib(3, 1, 32, bits).data(), 40 + bits.size());
    EXPECT_EQ(p, (std::vector<unsigned long>{3, 1, 0xFFFF0000u, 0x8000FF00u, 0x000000FFu}));

    for (const auto& bad : {IconDib(2, 2, 24, {}), IconDib(2, 0, 24, {}), IconDib(70000, 1, 24, {}),
                            std::vector<uint8_t>(12, 0)}) {
        EXPECT_THROW(x11::IconImageProperty(bad.data(), bad.size()), Exception);
    }
    std::vector<uint8_t> odd = IconDib(2, 2, 24, bits);
    odd[8] = 3;  // a height that is no colour part and mask part
    EXPECT_THROW(x11::IconImageProperty(odd.data(), odd.size()), EInvalidGraphic);
    EXPECT_THROW(x11::IconImageProperty(nullptr, 40), EInvalidGraphic);
}

} // namespace
} // namespace ld::x11test
