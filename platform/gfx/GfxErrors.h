// Failures of the graphics layer, on the class library's exception hierarchy.
// Readers of image files raise EInvalidGraphic for data they cannot accept;
// sizes no surface can have raise EOutOfResources (from platform/core).
#pragma once

#include "platform/core/SysUtils.h"

namespace ld {

class EInvalidGraphic : public Exception {
public:
    explicit EInvalidGraphic(std::string message) : Exception(std::move(message)) {}
};

class EInvalidGraphicOperation : public Exception {
public:
    explicit EInvalidGraphicOperation(std::string message) : Exception(std::move(message)) {}
};

} // namespace ld
