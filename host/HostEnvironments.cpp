#include "host/HostEnvironments.h"

#include "platform/core/SysUtils.h"

namespace ld {

const std::vector<THostEnvironment>& HostEnvironments()
{
    static const std::vector<THostEnvironment> environments = {
        {"d3", "Delphi 3", "vcl30", "Software\\Borland\\Delphi\\3.0"},
        {"d4", "Delphi 4", "vcl40", "Software\\Borland\\Delphi\\4.0"},
        {"d5", "Delphi 5", "vcl50", "Software\\Borland\\Delphi\\5.0"},
        {"cb3", "C++Builder 3", "VCL35", "Software\\Borland\\C++Builder\\3.0"},
    };
    return environments;
}

const THostEnvironment* FindHostEnvironment(std::string_view id)
{
    for (const THostEnvironment& e : HostEnvironments())
        if (SameText(id, e.Id))
            return &e;
    return nullptr;
}

} // namespace ld
