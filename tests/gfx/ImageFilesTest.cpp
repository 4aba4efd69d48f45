#include <gtest/gtest.h>

#include <cstring>

#include "platform/gfx/Bmp.h"
#include "platform/gfx/GfxErrors.h"
#include "platform/gfx/Png.h"

namespace ld {
namespace {

// A 7 x 5 picture (odd sizes exercise row padding) drawing from palette.
std::unique_ptr<TSurface> Picture(const std::vector<COLORREF>& palette, bool withAlpha = false)
{
    auto s = std::make_unique<TSurface>(7, 5);
    for (Integer y = 0; y < 5; ++y)
        for (Integer x = 0; x < 7; ++x) {
            uint32_t p = ColorRefToPixel(palette[size_t(x * 3 + y * 5) % palette.size()]);
            if (withAlpha)
                p = (p & 0x00FFFFFFu) | (uint32_t((x * 40 + y * 7) & 0xFF) << 24);
            s->SetPixel(x, y, p);
        }
    return s;
}

bool Same(const TSurface& a, const TSurface& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    return std::memcmp(a.Pixels(), b.Pixels(), size_t(a.Width()) * size_t(a.Height()) * 4) == 0;
}

TEST(Bmp, RoundTripsAtEveryDepth)
{
    const std::vector<COLORREF> vga(VgaPalette().begin(), VgaPalette().end());
    std::vector<COLORREF> many;
    for (int i = 0; i < 40; ++i)
        many.push_back(RGB(Byte(i * 6), Byte(255 - i * 3), Byte(i * i % 256)));
    struct TCase {
        Integer Bits;
        std::unique_ptr<TSurface> Image;
    };
    TCase cases[] = {{1, Picture({RGB(0, 0, 0), RGB(255, 255, 255)})},
                     {4, Picture(vga)},
                     {8, Picture(many)},
                     {24, Picture(many)},
                     {32, Picture(many, true)}};
    for (const TCase& c : cases) {
        const std::vector<uint8_t> file = WriteBmp(*c.Image, c.Bits);
        EXPECT_EQ(file[28], c.Bits);
        const auto back = ReadBmp(file.data(), file.size());
        EXPECT_TRUE(Same(*back, *c.Image)) << c.Bits << " bits";
    }
}

TEST(Bmp, FourBitsMapToTheNearestVgaColour)
{
    TSurface s(2, 1);
    s.SetPixel(0, 0, ColorRefToPixel(RGB(250, 10, 5)));
    s.SetPixel(1, 0, ColorRefToPixel(RGB(120, 130, 125)));
    const std::vector<uint8_t> file = WriteBmp(s, 4);
    const auto back = ReadBmp(file.data(), file.size());
    EXPECT_EQ(PixelToColorRef(back->Pixel(0, 0)), RGB(255, 0, 0));
    EXPECT_EQ(PixelToColorRef(back->Pixel(1, 0)), RGB(128, 128, 128));
}

// A hand-made 2 x 2 top-down file of 24 bits: the first row stored is the top.
TEST(Bmp, TopDownRowsAndPackedBitmaps)
{
    TSurface s(2, 2);
    s.SetPixel(0, 0, ColorRefToPixel(RGB(255, 0, 0)));
    s.SetPixel(1, 1, ColorRefToPixel(RGB(0, 0, 255)));
    std::vector<uint8_t> file = WriteBmp(s, 24);
    // Flip to top-down: negate the height and reverse the two rows.
    const int32_t negative = -2;
    std::memcpy(file.data() + 22, &negative, 4);
    const size_t bits = 54, stride = 8;
    std::swap_ranges(file.begin() + bits, file.begin() + bits + stride, file.begin() + bits + stride);
    const auto back = ReadBmp(file.data(), file.size());
    EXPECT_TRUE(Same(*back, s));
    // The same without its file header, as resources store it.
    const auto dib = ReadDib(file.data() + 14, file.size() - 14);
    EXPECT_TRUE(Same(*dib, s));
}

TEST(Bmp, EveryTruncationIsRefusedCleanly)
{
    const std::vector<COLORREF> vga(VgaPalette().begin(), VgaPalette().end());
    for (Integer bits : {1, 4, 8, 24, 32}) {
        const std::vector<uint8_t> file = WriteBmp(*Picture(vga), bits);
        for (size_t n = 0; n < file.size(); ++n)
            EXPECT_THROW(ReadBmp(file.data(), n), EInvalidGraphic) << bits << " bits, " << n << " bytes";
    }
}

TEST(Bmp, AbsurdHeadersAreRefused)
{
    const std::vector<uint8_t> good = WriteBmp(*Picture({RGB(1, 2, 3)}), 24);
    auto with = [&](size_t at, int32_t value) {
        std::vector<uint8_t> f = good;
        std::memcpy(f.data() + at, &value, 4);
        return f;
    };
    const auto wide = with(18, 1000000);
    EXPECT_THROW(ReadBmp(wide.data(), wide.size()), EOutOfResources);
    const auto huge = with(18, 30000);
    const auto huger = [&] {
        auto f = huge;
        const int32_t h = 30000;
        std::memcpy(f.data() + 22, &h, 4);
        return f;
    }();
    EXPECT_THROW(ReadBmp(huger.data(), huger.size()), EOutOfResources);
    const auto negativeWidth = with(18, -7);
    EXPECT_THROW(ReadBmp(negativeWidth.data(), negativeWidth.size()), EInvalidGraphic);
    const auto offset = with(10, 0x7FFFFFF0);
    EXPECT_THROW(ReadBmp(offset.data(), offset.size()), EInvalidGraphic);
    auto rle = good;
    rle[30] = 1;
    EXPECT_THROW(ReadBmp(rle.data(), rle.size()), EInvalidGraphic);
    auto depth = good;
    depth[28] = 16;
    EXPECT_THROW(ReadBmp(depth.data(), depth.size()), EInvalidGraphic);
    const auto palette = WriteBmp(*Picture({RGB(1, 2, 3)}), 8);
    std::vector<uint8_t> bigPalette = palette;
    const int32_t colours = 100000;
    std::memcpy(bigPalette.data() + 46, &colours, 4);
    EXPECT_THROW(ReadBmp(bigPalette.data(), bigPalette.size()), EInvalidGraphic);
    try {
        ReadBmp(rle.data(), rle.size());
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(std::string(e.what()).find("compressed"), std::string::npos);
    }
}

TEST(Png, RoundTripKeepsAlphaAndOpaqueImagesLoseNothing)
{
    std::vector<COLORREF> many;
    for (int i = 0; i < 30; ++i)
        many.push_back(RGB(Byte(i * 8), Byte(i * 5), Byte(255 - i)));
    for (bool alpha : {false, true}) {
        const auto image = Picture(many, alpha);
        const std::vector<uint8_t> file = WritePng(*image);
        const auto back = ReadPng(file.data(), file.size());
        EXPECT_TRUE(Same(*back, *image)) << alpha;
        EXPECT_EQ(file[25], alpha ? 6 : 2); // colour type in the header
    }
    TPngOptions thorough;
    thorough.CompressionLevel = 9;
    thorough.UpFilterOnly = false;
    const auto image = Picture(many);
    const std::vector<uint8_t> file = WritePng(*image, thorough);
    EXPECT_TRUE(Same(*ReadPng(file.data(), file.size()), *image));
}

TEST(Png, TruncatedOrCorruptDataIsRefused)
{
    const auto image = Picture({RGB(10, 20, 30), RGB(200, 100, 0)});
    const std::vector<uint8_t> file = WritePng(*image);
    for (size_t n = 0; n + 1 < file.size(); n += 3)
        EXPECT_THROW(ReadPng(file.data(), n), EInvalidGraphic) << n;
    std::vector<uint8_t> corrupt = file;
    corrupt[corrupt.size() / 2] ^= 0x55;
    EXPECT_THROW(ReadPng(corrupt.data(), corrupt.size()), EInvalidGraphic);
    std::vector<uint8_t> wide = file;
    // Width 2^30 in the header (its CRC then fails too; either way it is refused).
    wide[16] = 0x40;
    EXPECT_ANY_THROW(ReadPng(wide.data(), wide.size()));
    EXPECT_THROW(LoadPngFile("/nonexistent/picture.png"), EInvalidGraphic);
}

} // namespace
} // namespace ld
