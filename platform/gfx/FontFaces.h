// Which font file draws a logical font. The host's own face names map to
// Debian's fonts-wine faces, made with the host's metrics, so that stored
// forms lay out as they were designed: "MS Sans Serif" (bitmap strikes),
// "Tahoma" and "Marlett" (outlines), and the names the host resolves to them.
// Every other name, and every host name whose file is missing, is drawn with
// the DejaVu family.
#pragma once

#include <string>

#include "platform/core/Types.h"

namespace ld {

struct TFaceFile {
    std::string Path;
    // A bitmap face: the cell height of the strike to draw with, and that
    // strike's internal leading (the room for accents above the character
    // height). 0 for an outline face.
    Integer Strike = 0;
    Integer InternalLeading = 0;
    // Bold or italic asked of a face that has no such file: the regular
    // glyphs are drawn a pixel wider, or slanted.
    bool Embolden = false;
    bool Oblique = false;
};

// LogicalHeight as LOGFONT has it: negative the character height, positive
// the cell height, 0 the default size. A bitmap face without a strike of that
// size is drawn with its nearest outline face instead.
TFaceFile FaceFileFor(const std::string& faceName, Integer logicalHeight, bool bold, bool italic);

// The character height of the default size (LOGFONT height 0).
constexpr Integer DefaultCharacterHeight = 11;

} // namespace ld
