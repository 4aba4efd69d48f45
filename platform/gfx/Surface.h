// A 32-bit pixel surface: rows of 0xAARRGGBB words, top row first. The screen
// and every bitmap are surfaces; device contexts draw on them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/core/Types.h"

typedef union pixman_image pixman_image_t;

namespace ld {

class TSurface {
public:
    // Sizes are refused (EOutOfResources) when negative, wider or taller than
    // MaxSide or larger than MaxPixels in all.
    static constexpr Integer MaxSide = 32767;
    static constexpr int64_t MaxPixels = int64_t(1) << 24;

    TSurface(Integer width, Integer height, uint32_t fill = 0xFF000000u);
    ~TSurface();
    TSurface(const TSurface&) = delete;
    TSurface& operator=(const TSurface&) = delete;

    Integer Width() const { return FWidth; }
    Integer Height() const { return FHeight; }
    TRect Bounds() const { return {0, 0, FWidth, FHeight}; }
    uint32_t* Row(Integer y) { return FPixels.data() + std::size_t(y) * std::size_t(FWidth); }
    const uint32_t* Row(Integer y) const { return FPixels.data() + std::size_t(y) * std::size_t(FWidth); }
    uint32_t* Pixels() { return FPixels.data(); }
    const uint32_t* Pixels() const { return FPixels.data(); }
    // Reads outside the surface give 0; writes outside are dropped.
    uint32_t Pixel(Integer x, Integer y) const;
    void SetPixel(Integer x, Integer y, uint32_t pixel);
    void Fill(uint32_t pixel);
    // Keeps the overlapping top-left part; new pixels get fill.
    void Resize(Integer width, Integer height, uint32_t fill = 0xFFFFFFFFu);
    // A pixman image over the same pixels; valid until the next Resize.
    pixman_image_t* Image();

    static void CheckSize(Integer width, Integer height);

private:
    Integer FWidth = 0;
    Integer FHeight = 0;
    std::vector<uint32_t> FPixels;
    pixman_image_t* FImage = nullptr;
    void DropImage();
};

} // namespace ld
