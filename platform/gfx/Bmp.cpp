#include "platform/gfx/Bmp.h"

#include <algorithm>
#include <map>

#include "platform/core/FileIO.h"
#include "platform/gfx/GfxErrors.h"

namespace ld {

namespace {

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr size_t FileHeaderSize = 14;
constexpr size_t InfoHeaderSize = 40;

[[noreturn]] void Bad(const std::string& why)
{
    throw EInvalidGraphic("Invalid bitmap: " + why);
}

uint32_t U16(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8);
}

uint32_t U32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

int32_t S32(const uint8_t* p)
{
    return int32_t(U32(p));
}

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// Where the bits of a mask start and how wide it is, to scale a field to 8 bits.
struct TMask {
    uint32_t Mask = 0;
    int Shift = 0;
    int Bits = 0;
    explicit TMask(uint32_t mask = 0) : Mask(mask)
    {
        if (mask == 0)
            return;
        while (((mask >> Shift) & 1) == 0)
            ++Shift;
        while (Shift + Bits < 32 && ((mask >> (Shift + Bits)) & 1))
            ++Bits;
    }
    uint32_t Extract(uint32_t v) const
    {
        if (Bits == 0)
            return 0;
        const uint32_t field = (v & Mask) >> Shift;
        const uint32_t max = Bits >= 32 ? 0xFFFFFFFFu : ((1u << Bits) - 1);
        return uint32_t((uint64_t(field) * 255 + max / 2) / max);
    }
};

// data/size start at the info header; bitsAt is where the pixels start,
// counted from the info header (0 = right after the palette).
std::unique_ptr<TSurface> DecodeDib(const uint8_t* data, size_t size, size_t bitsAt)
{
    if (size < 12)
        Bad("the header is truncated");
    const uint32_t headerSize = U32(data);
    int64_t width = 0, height = 0;
    uint32_t bpp = 0, compression = BI_RGB, colorsUsed = 0;
    size_t paletteEntrySize = 4;
    uint32_t masks[4] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0};
    if (headerSize == 12) {
        width = U16(data + 4);
        height = int16_t(U16(data + 6));
        if (U16(data + 8) != 1)
            Bad("the plane count is not 1");
        bpp = U16(data + 10);
        paletteEntrySize = 3;
    } else if (headerSize >= InfoHeaderSize && headerSize <= 1024) {
        if (size < headerSize)
            Bad("the header is truncated");
        width = S32(data + 4);
        height = S32(data + 8);
        if (U16(data + 12) != 1)
            Bad("the plane count is not 1");
        bpp = U16(data + 14);
        compression = U32(data + 16);
        colorsUsed = U32(data + 32);
        if (headerSize >= 56) {
            masks[0] = U32(data + 40);
            masks[1] = U32(data + 44);
            masks[2] = U32(data + 48);
            masks[3] = U32(data + 52);
        }
    } else {
        Bad("unknown header size " + std::to_string(headerSize));
    }
    if (compression == BI_RLE8 || compression == BI_RLE4)
        Bad("compressed bitmaps are not supported");
    if (compression != BI_RGB && compression != BI_BITFIELDS)
        Bad("unknown compression " + std::to_string(compression));
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)
        Bad(std::to_string(bpp) + " bits per pixel are not supported");
    if (compression == BI_BITFIELDS && bpp != 32)
        Bad("bit fields need 32 bits per pixel");
    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (width <= 0 || height <= 0)
        Bad("the size " + std::to_string(width) + " x " + std::to_string(height) + " is empty or negative");
    if (width > TSurface::MaxSide || height > TSurface::MaxSide)
        TSurface::CheckSize(Integer(std::min<int64_t>(width, INT32_MAX)), Integer(std::min<int64_t>(height, INT32_MAX)));
    TSurface::CheckSize(Integer(width), Integer(height));

    size_t offset = headerSize;
    if (compression == BI_BITFIELDS && headerSize == InfoHeaderSize) {
        if (size < offset + 12)
            Bad("the colour masks are truncated");
        masks[0] = U32(data + offset);
        masks[1] = U32(data + offset + 4);
        masks[2] = U32(data + offset + 8);
        masks[3] = 0;
        offset += 12;
    }
    std::vector<COLORREF> palette;
    if (bpp <= 8) {
        const uint32_t maxColors = 1u << bpp;
        const uint32_t count = colorsUsed == 0 ? maxColors : colorsUsed;
        if (count > maxColors)
            Bad("the palette has " + std::to_string(count) + " colours");
        if (offset + size_t(count) * paletteEntrySize > size)
            Bad("the palette is truncated");
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* e = data + offset + size_t(i) * paletteEntrySize;
            palette.push_back(RGB(e[2], e[1], e[0]));
        }
        offset += size_t(count) * paletteEntrySize;
    }
    if (bitsAt == 0)
        bitsAt = offset;
    const uint64_t stride = ((uint64_t(width) * bpp + 31) / 32) * 4;
    if (bitsAt > size || stride * uint64_t(height) > size - bitsAt)
        Bad("the pixel data is truncated");

    auto surface = std::make_unique<TSurface>(Integer(width), Integer(height));
    const bool fields = compression == BI_BITFIELDS;
    const TMask red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    bool anyAlpha = false;
    for (int64_t row = 0; row < height; ++row) {
        const uint8_t* src = data + bitsAt + size_t(row) * stride;
        const Integer y = Integer(topDown ? row : height - 1 - row);
        uint32_t* out = surface->Row(y);
        for (int64_t x = 0; x < width; ++x) {
            uint32_t pixel = 0xFF000000u;
            if (bpp <= 8) {
                const uint64_t bit = uint64_t(x) * bpp;
                const uint32_t index = (src[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
                pixel = index < palette.size() ? ColorRefToPixel(palette[index]) : 0xFF000000u;
            } else if (bpp == 24) {
                const uint8_t* p = src + x * 3;
                pixel = 0xFF000000u | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
            } else {
                const uint32_t v = U32(src + x * 4);
                if (fields) {
                    pixel = (red.Extract(v) << 16) | (green.Extract(v) << 8) | blue.Extract(v);
                    pixel |= masks[3] != 0 ? alpha.Extract(v) << 24 : 0xFF000000u;
                } else
                    pixel = v;
                anyAlpha = anyAlpha || (pixel >> 24) != 0;
            }
            out[x] = pixel;
        }
    }
    // Plain 32-bit files usually leave the fourth byte 0: that means opaque.
    if (bpp == 32 && !fields && !anyAlpha)
        for (Integer y = 0; y < surface->Height(); ++y)
            for (Integer x = 0; x < surface->Width(); ++x)
                surface->Row(y)[x] |= 0xFF000000u;
    return surface;
}

uint32_t Distance(COLORREF a, COLORREF b)
{
    const int dr = int(GetRValue(a)) - GetRValue(b), dg = int(GetGValue(a)) - GetGValue(b),
              db = int(GetBValue(a)) - GetBValue(b);
    return uint32_t(dr * dr + dg * dg + db * db);
}

Byte Nearest(const std::vector<COLORREF>& palette, COLORREF c)
{
    size_t best = 0;
    uint32_t bestDistance = UINT32_MAX;
    for (size_t i = 0; i < palette.size(); ++i) {
        const uint32_t d = Distance(palette[i], c);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return Byte(best);
}

std::vector<COLORREF> PaletteFor(const TSurface& s, Integer bpp)
{
    if (bpp == 1)
        return {RGB(0, 0, 0), RGB(255, 255, 255)};
    if (bpp == 4)
        return {VgaPalette().begin(), VgaPalette().end()};
    std::vector<COLORREF> colours;
    std::map<COLORREF, bool> seen;
    for (Integer y = 0; y < s.Height() && colours.size() <= 256; ++y)
        for (Integer x = 0; x < s.Width() && colours.size() <= 256; ++x) {
            const COLORREF c = PixelToColorRef(s.Row(y)[x]);
            if (seen.emplace(c, true).second)
                colours.push_back(c);
        }
    if (colours.size() <= 256)
        return colours;
    colours.clear();
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                colours.push_back(RGB(Byte(r * 51), Byte(g * 51), Byte(b * 51)));
    return colours;
}

} // namespace

const std::array<COLORREF, 16>& VgaPalette()
{
    static const std::array<COLORREF, 16> palette = {
        RGB(0, 0, 0),     RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
        RGB(0, 0, 128),   RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
        RGB(128, 128, 128), RGB(255, 0, 0), RGB(0, 255, 0),   RGB(255, 255, 0),
        RGB(0, 0, 255),   RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255),
    };
    return palette;
}

std::unique_ptr<TSurface> ReadBmp(const uint8_t* data, size_t size)
{
    if (data == nullptr || size < FileHeaderSize)
        Bad("the file header is truncated");
    if (data[0] != 'B' || data[1] != 'M')
        Bad("the signature is not BM");
    const uint32_t bitsOffset = U32(data + 10);
    if (bitsOffset != 0 && (bitsOffset < FileHeaderSize || bitsOffset > size))
        Bad("the pixel offset lies outside the file");
    return DecodeDib(data + FileHeaderSize, size - FileHeaderSize,
                     bitsOffset == 0 ? 0 : bitsOffset - FileHeaderSize);
}

std::unique_ptr<TSurface> ReadDib(const uint8_t* data, size_t size)
{
    if (data == nullptr)
        Bad("no data");
    return DecodeDib(data, size, 0);
}

std::vector<uint8_t> ReadWholeFile(const std::string& path)
{
    try {
        const std::string bytes = ReadFileBytes(path);
        return std::vector<uint8_t>(bytes.begin(), bytes.end());
    } catch (const Exception& e) {
        throw EInvalidGraphic(e.Message());
    }
}

void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    try {
        WriteFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    } catch (const Exception& e) {
        throw EInvalidGraphicOperation(e.Message());
    }
}

std::unique_ptr<TSurface> LoadBmpFile(const std::string& path)
{
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    return ReadBmp(bytes.data(), bytes.size());
}

std::vector<uint8_t> WriteBmp(const TSurface& s, Integer bpp)
{
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)
        throw EInvalidGraphicOperation("Cannot write a bitmap of " + std::to_string(bpp) + " bits per pixel");
    if (s.Width() == 0 || s.Height() == 0)
        throw EInvalidGraphicOperation("Cannot write an empty bitmap");
    const std::vector<COLORREF> palette = bpp <= 8 ? PaletteFor(s, bpp) : std::vector<COLORREF>{};
    const size_t stride = ((size_t(s.Width()) * size_t(bpp) + 31) / 32) * 4;
    const size_t paletteBytes = palette.size() * 4;
    const size_t bitsOffset = FileHeaderSize + InfoHeaderSize + paletteBytes;
    const size_t fileSize = bitsOffset + stride * size_t(s.Height());
    std::vector<uint8_t> out;
    out.reserve(fileSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, uint32_t(fileSize));
    Put32(out, 0);
    Put32(out, uint32_t(bitsOffset));
    Put32(out, InfoHeaderSize);
    Put32(out, uint32_t(s.Width()));
    Put32(out, uint32_t(s.Height()));
    Put16(out, 1);
    Put16(out, uint32_t(bpp));
    Put32(out, BI_RGB);
    Put32(out, uint32_t(stride * size_t(s.Height())));
    Put32(out, 3780); // 96 pixels per inch
    Put32(out, 3780);
    Put32(out, uint32_t(palette.size()));
    Put32(out, 0);
    for (const COLORREF c : palette) {
        out.push_back(GetBValue(c));
        out.push_back(GetGValue(c));
        out.push_back(GetRValue(c));
        out.push_back(0);
    }
    std::map<COLORREF, Byte> indexCache;
    for (Integer y = s.Height() - 1; y >= 0; --y) {
        std::vector<uint8_t> row(stride, 0);
        const uint32_t* in = s.Row(y);
        for (Integer x = 0; x < s.Width(); ++x) {
            const uint32_t p = in[x];
            if (bpp == 24) {
                row[size_t(x) * 3] = uint8_t(p);
                row[size_t(x) * 3 + 1] = uint8_t(p >> 8);
                row[size_t(x) * 3 + 2] = uint8_t(p >> 16);
            } else if (bpp == 32) {
                for (int k = 0; k < 4; ++k)
                    row[size_t(x) * 4 + size_t(k)] = uint8_t(p >> (8 * k));
            } else {
                const COLORREF c = PixelToColorRef(p);
                auto it = indexCache.find(c);
                if (it == indexCache.end())
                    it = indexCache.emplace(c, Nearest(palette, c)).first;
                const size_t bit = size_t(x) * size_t(bpp);
                row[bit / 8] |= uint8_t(it->second << (8 - bpp - bit % 8));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

void SaveBmpFile(const std::string& path, const TSurface& surface, Integer bitsPerPixel)
{
    WriteWholeFile(path, WriteBmp(surface, bitsPerPixel));
}

} // namespace ld
