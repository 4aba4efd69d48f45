#include "host/DesignHost.h"

#include <dlfcn.h>

#include <algorithm>

#include "platform/core/FileIO.h"

namespace ld {

namespace {

TDesignHost* LiveHost = nullptr;

using TRegisterProc = void (*)();

std::string ResourceBytes(HMODULE module, const char* name)
{
    HRSRC res = FindResource(module, name, RT_RCDATA);
    if (!res)
        return {};
    return std::string(static_cast<const char*>(LoadResource(module, res)), SizeofResource(module, res));
}

// The loader searches its library path for a name without a slash; a package
// named on a command line is a file, in the current folder then.
std::string LoaderPath(const std::string& fileName)
{
    return fileName.find('/') == std::string::npos ? "./" + fileName : fileName;
}

// A file the loader cannot take is named with the system's reason, or as no
// package at all, rather than in the loader's words about shared objects.
void CheckPackageFile(const std::string& fileName)
{
    std::string head;
    try {
        head = ReadFileHead(fileName, 4);
    } catch (const Exception& e) {
        throw EPackageError(e.Message());
    }
    if (head != "\x7F" "ELF")
        throw EPackageError(Format("%s is not a package: it is not a shared library", {fileName}));
}

} // namespace

std::string ReadPackageDescription(HMODULE module)
{
    const std::string bytes = ResourceBytes(module, "DESCRIPTION");
    std::string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const unsigned unit = static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
        if (unit == 0)
            break;
        text += unit < 256 ? static_cast<char>(unit) : '?';
    }
    return text;
}

TDesignHost::TDesignHost()
{
    if (LiveHost != nullptr || GetDesignRegistrar() != nullptr)
        throw EInvalidOperation("A design environment is running already");
    LiveHost = this;
    SetDesignRegistrar(&FRegistry);
}

TDesignHost::~TDesignHost()
{
    while (!FPackages.empty())
        UnloadPackage(*FPackages.back());
    SetDesignRegistrar(nullptr);
    LiveHost = nullptr;
}

const TPackage& TDesignHost::LoadPackage(const std::string& fileName)
{
    CheckPackageFile(fileName);
    void* handle = dlopen(LoaderPath(fileName).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        throw EPackageError(Format("Cannot load package %s: %s", {fileName, reason ? reason : "unknown error"}));
    }
    for (const auto& p : FPackages)
        if (p->Handle == handle) {
            dlclose(handle); // the loader counted this open; the package keeps its own
            return *p;
        }
    auto package = std::make_unique<TPackage>();
    package->FileName = fileName;
    package->Handle = handle;
    const auto registerProc = reinterpret_cast<TRegisterProc>(dlsym(handle, "Register"));
    try {
        if (registerProc == nullptr)
            throw EPackageError(Format("%s is not a design package: it has no Register procedure", {fileName}));
        package->Module = ModuleOf(reinterpret_cast<const void*>(registerProc));
        const std::string info = ResourceBytes(package->Module, "PACKAGEINFO");
        if (info.empty())
            throw EPackageError(Format("%s is not a package: it has no package information", {fileName}));
        try {
            package->Info = ReadPackageInfo(info);
        } catch (const EPackageError& e) {
            throw EPackageError(fileName + ": " + e.Message());
        }
        package->Description = ReadPackageDescription(package->Module);
        CheckRequiredPackages(*package);
        CheckUnitsNotLoaded(*package);
    } catch (...) {
        Unload(*package);
        throw;
    }
    FRegistry.SetRegisteringModule(package->Module);
    // The exception may be of a class the package defines: its message is taken
    // before the package goes, and reaches the caller in an exception of ours.
    std::string failure;
    bool failed = true;
    try {
        registerProc();
        failed = false;
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "Register of " + fileName + " failed";
    }
    if (failed) {
        FRegistry.SetRegisteringModule(nullptr);
        Unload(*package);
        throw EPackageError(failure);
    }
    FRegistry.SetRegisteringModule(nullptr);
    FPackages.push_back(std::move(package));
    return *FPackages.back();
}

void TDesignHost::CheckRequiredPackages(const TPackage& package) const
{
    if (FOfferedPackage.empty())
        return;
    for (const std::string& required : package.Info.Requires)
        if (!SameText(required, FOfferedPackage))
            throw EPackageError(Format("Cannot load package %s: it requires %s, but this environment offers %s",
                                       {package.FileName, required, FOfferedPackage}));
}

// A unit lives in one package of an environment: a second package holding one
// of its units (another build of the same units) would register the same
// classes again. Weak units stay private to the package that links them.
void TDesignHost::CheckUnitsNotLoaded(const TPackage& package) const
{
    for (const TPackageUnit& unit : package.Info.Contains) {
        if (unit.Flags & ufWeakUnit)
            continue;
        for (const auto& loaded : FPackages)
            for (const TPackageUnit& other : loaded->Info.Contains)
                if (!(other.Flags & ufWeakUnit) && SameText(unit.Name, other.Name))
                    throw EPackageError(Format("Cannot load package %s: it contains unit %s, which is also in "
                                               "package %s, loaded already",
                                               {package.FileName, unit.Name, loaded->FileName}));
    }
}

void TDesignHost::Unload(TPackage& package)
{
    if (package.Module != nullptr)
        FRegistry.UnregisterModule(package.Module);
    dlclose(package.Handle);
    package.Handle = nullptr;
}

void TDesignHost::UnloadPackage(const TPackage& package)
{
    auto it = std::find_if(FPackages.begin(), FPackages.end(), [&](const auto& p) { return p.get() == &package; });
    if (it == FPackages.end())
        throw EInvalidOperation(Format("Package %s is not loaded", {package.FileName}));
    Unload(**it);
    FPackages.erase(it);
}

} // namespace ld
