// The four development environments a package build is made for: how a user
// names one on a command line, the class-library package it offers its
// packages and where its settings live in the registry.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ld {

struct THostEnvironment {
    std::string Id;              // "d3", "d4", "d5", "cb3"
    std::string Name;            // "Delphi 3"
    std::string RequiredPackage; // the host's class-library package, "vcl30"
    std::string BaseKey;         // under HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER
};

// In the order the installer treats them: Delphi 3, 4, 5, C++Builder 3.
const std::vector<THostEnvironment>& HostEnvironments();
// nullptr for an unknown id (compared without regard to case).
const THostEnvironment* FindHostEnvironment(std::string_view id);

} // namespace ld
