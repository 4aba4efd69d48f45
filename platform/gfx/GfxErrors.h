// Failures of the graphics layer. Readers of image files raise EInvalidGraphic
// for data they cannot accept; EOutOfResources refuses sizes no surface can have.
#pragma once

#include <stdexcept>
#include <string>

namespace ld {

class EGraphicsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EInvalidGraphic : public EGraphicsError {
public:
    using EGraphicsError::EGraphicsError;
};

class EInvalidGraphicOperation : public EGraphicsError {
public:
    using EGraphicsError::EGraphicsError;
};

class EOutOfResources : public EGraphicsError {
public:
    using EGraphicsError::EGraphicsError;
};

} // namespace ld
