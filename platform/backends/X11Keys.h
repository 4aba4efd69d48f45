// From X key symbols to the window system's virtual-key codes.
#pragma once

#include "platform/core/Types.h"

namespace ld::x11 {

// The virtual key of an X key symbol (the key's unshifted symbol, so that
// Shift+1 is still the key '1'); 0 for a key the window system has no code for.
Integer VirtualKeyOf(unsigned long keysym);

} // namespace ld::x11
