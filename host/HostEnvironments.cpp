#include "host/HostEnvironments.h"

#include "platform/core/SysUtils.h"

namespace ld {

const std::vector<THostEnvironment>& HostEnvironments()
{
    static const std::vector<THostEnvironment> environments = {
        {"d3", "Delphi 3", 30, "vcl30", "LaunchdeckPackageD3.dpl", "LibD3", "Software\\Borland\\Delphi\\3.0"},
        {"d4", "Delphi 4", 40, "vcl40", "LaunchdeckPackageD4.bpl", "LibD4", "Software\\Borland\\Delphi\\4.0"},
        {"d5", "Delphi 5", 50, "vcl50", "LaunchdeckPackageD5.bpl", "LibD5", "Software\\Borland\\Delphi\\5.0"},
        {"cb3", "C++Builder 3", 35, "VCL35", "LaunchdeckPackageCB3.bpl", "LibCB3", "Software\\Borland\\C++Builder\\3.0"},
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

const THostEnvironment* HostOfRequiredPackage(std::string_view package)
{
    for (const THostEnvironment& e : HostEnvironments())
        if (SameText(package, e.RequiredPackage))
            return &e;
    return nullptr;
}

} // namespace ld
