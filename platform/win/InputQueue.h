// How the message queue takes input and characters from the input unit.
#pragma once

#include "platform/win/Messages.h"

namespace ld::winimpl {

bool TakeInput(MSG& msg);
char KeyChar(Integer vk);

} // namespace ld::winimpl
