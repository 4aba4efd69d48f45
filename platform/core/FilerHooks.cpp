#include "platform/core/FilerHooks.h"

namespace ld {

TFilerHooks& FilerHooks()
{
    static TFilerHooks hooks;
    return hooks;
}

} // namespace ld
