// Windows bitmap files: reading 1, 4, 8, 24 and 32 bits per pixel, uncompressed
// (32 bits also with bit-field masks), bottom-up or top-down rows, with or
// without the file header (a packed bitmap as resources hold it); writing the
// same depths. Malformed or truncated data raises EInvalidGraphic; sizes beyond
// a surface's limits raise EOutOfResources.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/Colors.h"
#include "platform/gfx/Surface.h"

namespace ld {

// The 16 colours of the VGA palette, in palette order.
const std::array<COLORREF, 16>& VgaPalette();

// A whole .bmp file (starting with "BM").
std::unique_ptr<TSurface> ReadBmp(const uint8_t* data, size_t size);
// A packed bitmap: the info header, the palette and the bits, no file header.
std::unique_ptr<TSurface> ReadDib(const uint8_t* data, size_t size);
std::unique_ptr<TSurface> LoadBmpFile(const std::string& path);

// bitsPerPixel 1 (black and white), 4 (nearest VGA colour), 8 (the image's
// own colours when there are at most 256, else a colour cube), 24 or 32 (alpha
// kept). Rows are written bottom-up.
std::vector<uint8_t> WriteBmp(const TSurface& surface, Integer bitsPerPixel = 24);
void SaveBmpFile(const std::string& path, const TSurface& surface, Integer bitsPerPixel = 24);

// Whole-file helpers shared by the image readers and writers: the messages
// name the file and the system's reason (EInvalidGraphic for reading,
// EInvalidGraphicOperation for writing); a file is written whole or not at all.
std::vector<uint8_t> ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace ld
