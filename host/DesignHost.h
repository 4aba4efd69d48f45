// The design environment: the packages it has loaded and what they registered.
// Loading a package opens the shared library, reads its package information and
// description, and calls its Register once, before any editor is made; the
// registrations it makes belong to that package and go when it is unloaded.
//
// One environment at a time: while it lives it is the registrar that the
// class library's registration routines report to.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/DesignRegistry.h"
#include "host/PackageInfo.h"

namespace ld {

struct TPackage {
    std::string FileName;
    void* Handle = nullptr; // the loader's handle
    HMODULE Module = nullptr; // the resource module (HInstance inside the package)
    TPackageInfo Info;
    std::string Description;
};

class TDesignHost {
public:
    // EInvalidOperation when another environment is alive.
    TDesignHost();
    ~TDesignHost();
    TDesignHost(const TDesignHost&) = delete;
    TDesignHost& operator=(const TDesignHost&) = delete;

    // Loads a package build and runs its Register. FileName is a file, relative
    // to the current folder unless absolute (never searched for). Loading a
    // package that is loaded already returns it again without a second
    // Register. EPackageError for a file that cannot be read (with the system's
    // reason), one that is no shared library, one the loader refuses (with its
    // reason), one without package information or without Register. When
    // Register fails the package is unloaded again and its message reaches the
    // caller as an EPackageError (the failure's own class may go with the
    // package). Refused before its Register runs, with an EPackageError naming
    // both: a package that requires a class-library package other than the
    // one this environment offers (see SetOfferedPackage), and one containing
    // a unit that a loaded package contains (another build of the same units).
    // A refused or failed package leaves every registry as it was.
    const TPackage& LoadPackage(const std::string& fileName);
    // The class-library package this environment is ("vcl40"); empty, the
    // default, accepts whatever a package requires.
    void SetOfferedPackage(std::string name) { FOfferedPackage = std::move(name); }
    const std::string& GetOfferedPackage() const { return FOfferedPackage; }
    // Every component of the package's classes must have been freed first.
    void UnloadPackage(const TPackage& package);
    const std::vector<std::unique_ptr<TPackage>>& GetPackages() const { return FPackages; }

    TDesignRegistry& GetRegistry() { return FRegistry; }
    const TDesignRegistry& GetRegistry() const { return FRegistry; }

private:
    void Unload(TPackage& package);
    void CheckRequiredPackages(const TPackage& package) const;
    void CheckUnitsNotLoaded(const TPackage& package) const;

    TDesignRegistry FRegistry;
    std::string FOfferedPackage;
    std::vector<std::unique_ptr<TPackage>> FPackages;
};

// The description of a package module: its DESCRIPTION resource, UTF-16LE text
// up to the first NUL, as 8-bit characters (? for those beyond Latin-1).
// "" when the module has none.
std::string ReadPackageDescription(HMODULE module);

} // namespace ld
