// PNG files through libpng. Reading accepts every colour type and depth and
// keeps alpha; malformed or truncated data raises EInvalidGraphic, sizes beyond
// a surface's limits EOutOfResources.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/Surface.h"

namespace ld {

struct TPngOptions {
    // 1 with the Up filter encodes a screenshot about three times faster than
    // libpng's defaults, and screens compress well enough with it.
    int CompressionLevel = 1;
    bool UpFilterOnly = true;
    // Writes an alpha channel only when some pixel is not opaque.
    bool AlphaWhenNeeded = true;
};

std::unique_ptr<TSurface> ReadPng(const uint8_t* data, size_t size);
std::unique_ptr<TSurface> LoadPngFile(const std::string& path);
std::vector<uint8_t> WritePng(const TSurface& surface, const TPngOptions& options = {});
void SavePngFile(const std::string& path, const TSurface& surface, const TPngOptions& options = {});

} // namespace ld
