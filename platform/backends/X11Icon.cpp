#include "platform/backends/X11Icon.h"

#include <algorithm>
#include <cstring>

#include "platform/gfx/Bmp.h"
#include "platform/gfx/GfxErrors.h"
#include "platform/gfx/Png.h"

namespace ld::x11 {

namespace {

constexpr Word RT_ICON = 3;
constexpr Word RT_GROUP_ICON = 14;
constexpr size_t kGroupHeader = 6, kGroupEntry = 14, kInfoHeader = 40;

uint32_t Get16(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8); }
uint32_t Get32(const uint8_t* p) { return Get16(p) | (Get16(p + 2) << 16); }

// Where an icon's transparency mask lies: after the header, the palette and
// the colour rows. Zero when the data holds no whole mask.
size_t MaskOffset(const uint8_t* data, size_t size, Integer width, Integer height)
{
    const uint32_t headerSize = Get32(data);
    const uint32_t bpp = Get16(data + 14);
    const uint32_t used = Get32(data + 32);
    uint64_t offset = headerSize;
    if (bpp <= 8)
        offset += uint64_t(used ? used : (1u << bpp)) * 4;
    offset += ((uint64_t(width) * bpp + 31) / 32) * 4 * uint64_t(height);
    const uint64_t maskBytes = ((uint64_t(width) + 31) / 32) * 4 * uint64_t(height);
    if (offset > size || maskBytes > size - offset)
        return 0;
    return size_t(offset);
}

bool HasAlpha(const TSurface& image)
{
    for (Integer y = 0; y < image.Height(); ++y)
        for (Integer x = 0; x < image.Width(); ++x)
            if ((image.Row(y)[x] >> 24) != 0xFF)
                return true;
    return false;
}

// A packed bitmap whose height counts the colour rows and the mask rows.
std::unique_ptr<TSurface> DecodeIconBitmap(const uint8_t* data, size_t size)
{
    if (size < kInfoHeader || Get32(data) < kInfoHeader)
        throw EInvalidGraphic("the icon image's header is truncated");
    const auto doubled = int32_t(Get32(data + 8));
    if (doubled <= 0 || doubled % 2 != 0)
        throw EInvalidGraphic("the icon image's height is not that of colours and a mask");
    std::vector<uint8_t> colours(data, data + size);
    const int32_t height = doubled / 2;
    std::memcpy(colours.data() + 8, &height, 4);
    std::unique_ptr<TSurface> image = ReadDib(colours.data(), colours.size());
    const bool alpha = Get16(data + 14) == 32 && HasAlpha(*image);
    if (alpha)
        return image;
    const size_t mask = MaskOffset(data, size, image->Width(), image->Height());
    if (mask == 0)
        return image;
    const size_t stride = ((size_t(image->Width()) + 31) / 32) * 4;
    for (Integer row = 0; row < image->Height(); ++row) {
        const uint8_t* bits = data + mask + size_t(row) * stride;
        uint32_t* out = image->Row(image->Height() - 1 - row);  // bottom-up, as the colours
        for (Integer x = 0; x < image->Width(); ++x)
            if (bits[x / 8] & (0x80 >> (x % 8)))
                out[x] = 0;
    }
    return image;
}

} // namespace

std::vector<unsigned long> IconImageProperty(const uint8_t* data, size_t size)
{
    static const uint8_t png[] = {0x89, 'P', 'N', 'G'};
    if (!data)
        throw EInvalidGraphic("no icon image");
    std::unique_ptr<TSurface> image = size >= 4 && std::memcmp(data, png, 4) == 0 ? ReadPng(data, size)
                                                                                 : DecodeIconBitmap(data, size);
    std::vector<unsigned long> out;
    out.reserve(2 + size_t(image->Width()) * size_t(image->Height()));
    out.push_back(static_cast<unsigned long>(image->Width()));
    out.push_back(static_cast<unsigned long>(image->Height()));
    for (Integer y = 0; y < image->Height(); ++y)
        for (Integer x = 0; x < image->Width(); ++x)
            out.push_back(image->Row(y)[x]);
    return out;
}

std::vector<unsigned long> MainIconProperty(HMODULE module)
{
    HRSRC group = FindResource(module, "MAINICON", RT_GROUP_ICON);
    if (!group)
        return {};
    const auto* dir = static_cast<const uint8_t*>(LoadResource(module, group));
    const size_t dirSize = SizeofResource(module, group);
    if (!dir || dirSize < kGroupHeader)
        return {};
    const size_t count = std::min<size_t>(Get16(dir + 4), (dirSize - kGroupHeader) / kGroupEntry);
    std::vector<std::vector<unsigned long>> images;
    for (size_t i = 0; i < count; ++i) {
        const Word id = Word(Get16(dir + kGroupHeader + i * kGroupEntry + 12));
        HRSRC entry = FindResource(module, TResName(id), RT_ICON);
        if (!entry)
            continue;
        try {
            images.push_back(IconImageProperty(static_cast<const uint8_t*>(LoadResource(module, entry)),
                                               SizeofResource(module, entry)));
        } catch (const EInvalidGraphic&) {
        } catch (const EOutOfResources&) {
        }
    }
    std::sort(images.begin(), images.end(), [](const auto& a, const auto& b) { return a[0] > b[0]; });
    std::vector<unsigned long> out;
    for (const auto& image : images)
        out.insert(out.end(), image.begin(), image.end());
    return out;
}

} // namespace ld::x11
