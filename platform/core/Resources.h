// Resources of a module: named blocks of data (forms, bitmaps, string tables)
// compiled into a program or a shared library at build time (the CMake
// function ld_add_resources) and found again at run time per module, so that a
// package's resources are its own.
//
// A module handle is the load address of the program or shared library.
// HInstance() is the handle of the module whose code calls it (each module
// compiles its own copy), as HInstance is a package's own in the original.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/core/Types.h"

namespace ld {

using HMODULE = const void*;
using HINSTANCE = HMODULE;

// A resource name or type: a string, or a 16-bit number (MAKEINTRESOURCE).
struct TResName {
    TResName(const char* name) : Name(name ? name : ""), Id(0) {}
    TResName(const std::string& name) : Name(name), Id(0) {}
    TResName(Word id) : Id(id) {}
    TResName(int id) : Id(static_cast<Word>(id)) {}
    bool IsId() const { return Name.empty(); }
    // "#10" for numbers, the name itself otherwise.
    std::string ToString() const;
    std::string Name;
    Word Id;
};

constexpr Word RT_BITMAP = 2;
constexpr Word RT_STRING = 6;
constexpr Word RT_RCDATA = 10;
constexpr Word LANG_NEUTRAL = 0;

// One entry of a module's table, as the resource compiler generates it. Type and
// Name are upper-case strings or "#n" for numbers.
struct TResourceEntry {
    const char* Type;
    const char* Name;
    Word Language;
    const unsigned char* Data;
    size_t Size;
};

// Called by generated code when its module loads (and unloads). Address is any
// address inside the module.
void RegisterModuleResources(const void* address, const TResourceEntry* entries, size_t count);
void UnregisterModuleResources(const void* address);

// The module that holds Address (a function or data of the module).
HMODULE ModuleOf(const void* address);
// The program itself.
HMODULE MainModule();

namespace detail {
// One per module: its address says which module a piece of code belongs to.
[[maybe_unused]] static const char ModuleAnchor = 0;
} // namespace detail

// The module this code is compiled into.
[[maybe_unused]] static inline HMODULE HInstance() { return ModuleOf(&detail::ModuleAnchor); }

struct TResourceInfo {
    const TResourceEntry* Entry = nullptr;
    explicit operator bool() const { return Entry != nullptr; }
};
using HRSRC = TResourceInfo;

// Null (false) when the module has no such resource. With a language, that
// language is preferred, then neutral, then any.
HRSRC FindResource(HMODULE module, const TResName& name, const TResName& type);
HRSRC FindResourceEx(HMODULE module, const TResName& type, const TResName& name, Word language);
const void* LoadResource(HMODULE module, HRSRC resource);
DWORD SizeofResource(HMODULE module, HRSRC resource);

// A string of a module's string table; "" when there is none. Tables are given
// as "id text" lines (see ld_add_resources).
std::string LoadStr(HMODULE module, UINT id);
// A string of the calling code's own module.
[[maybe_unused]] static inline std::string LoadStr(UINT id) { return LoadStr(HInstance(), id); }
// The string or EResNotFound "Resource %s not found" (resource strings must exist).
std::string LoadResString(HMODULE module, UINT id);

} // namespace ld
