// The help file reader on arbitrary bytes: it must either read them or refuse
// them with EHelpFileError, and every lookup on what it read must hold.
#include <cstddef>
#include <cstdint>
#include <string>

#include "apps/hlpdump/HelpFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        const ld::hlp::THelpFile help(std::string(reinterpret_cast<const char*>(data), size));
        for (const ld::hlp::THelpKeyword& keyword : help.Keywords())
            for (const uint32_t topic : keyword.Topics)
                (void)help.TitleOf(topic);
        (void)help.FindContext("TLaunchdeck");
    } catch (const ld::hlp::EHelpFileError&) {
    }
    return 0;
}
