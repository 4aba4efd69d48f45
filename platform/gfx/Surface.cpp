#include "platform/gfx/Surface.h"

#include <algorithm>
#include <pixman.h>
#include <string>

#include "platform/gfx/GfxErrors.h"

namespace ld {

void TSurface::CheckSize(Integer width, Integer height)
{
    if (width < 0 || height < 0 || width > MaxSide || height > MaxSide ||
        int64_t(width) * int64_t(height) > MaxPixels)
        throw EOutOfResources("Cannot create a surface of " + std::to_string(width) + " x " +
                              std::to_string(height) + " pixels");
}

TSurface::TSurface(Integer width, Integer height, uint32_t fill)
{
    CheckSize(width, height);
    FWidth = width;
    FHeight = height;
    FPixels.assign(size_t(width) * size_t(height), fill);
}

TSurface::~TSurface()
{
    DropImage();
}

void TSurface::DropImage()
{
    if (FImage != nullptr) {
        pixman_image_unref(FImage);
        FImage = nullptr;
    }
}

uint32_t TSurface::Pixel(Integer x, Integer y) const
{
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight)
        return 0;
    return FPixels[size_t(y) * size_t(FWidth) + size_t(x)];
}

void TSurface::SetPixel(Integer x, Integer y, uint32_t pixel)
{
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight)
        return;
    FPixels[size_t(y) * size_t(FWidth) + size_t(x)] = pixel;
}

void TSurface::Fill(uint32_t pixel)
{
    std::fill(FPixels.begin(), FPixels.end(), pixel);
}

void TSurface::Resize(Integer width, Integer height, uint32_t fill)
{
    CheckSize(width, height);
    if (width == FWidth && height == FHeight)
        return;
    std::vector<uint32_t> pixels(size_t(width) * size_t(height), fill);
    const Integer keepW = std::min(width, FWidth);
    const Integer keepH = std::min(height, FHeight);
    for (Integer y = 0; y < keepH; ++y)
        std::copy_n(Row(y), keepW, pixels.data() + size_t(y) * size_t(width));
    DropImage();
    FPixels.swap(pixels);
    FWidth = width;
    FHeight = height;
}

pixman_image_t* TSurface::Image()
{
    if (FImage == nullptr && FWidth > 0 && FHeight > 0)
        FImage = pixman_image_create_bits(PIXMAN_a8r8g8b8, FWidth, FHeight, FPixels.data(),
                                          FWidth * int(sizeof(uint32_t)));
    return FImage;
}

} // namespace ld
