#include "platform/core/Resources.h"

#include <dlfcn.h>
#include <link.h>

#include <map>
#include <mutex>
#include <vector>

#include "platform/core/SysUtils.h"

namespace ld {

namespace {

struct TModuleResources {
    std::vector<const TResourceEntry*> Entries;
};

std::map<HMODULE, TModuleResources>& Modules()
{
    static std::map<HMODULE, TModuleResources> modules;
    return modules;
}

bool SameName(const char* stored, const TResName& name)
{
    return SameText(stored, name.ToString());
}

} // namespace

std::string TResName::ToString() const { return IsId() ? "#" + IntToStr(Id) : UpperCase(Name); }

HMODULE ModuleOf(const void* address)
{
    Dl_info info{};
    if (address != nullptr && dladdr(address, &info) != 0)
        return info.dli_fbase;
    return nullptr;
}

HMODULE MainModule()
{
    // The program's own handle; dladdr on a symbol of the program gives its base.
    // The first object the dynamic linker lists is the program; its lowest
    // loaded segment is where dladdr says its objects live.
    static HMODULE main = [] {
        uintptr_t base = 0;
        dl_iterate_phdr(
            [](dl_phdr_info* info, size_t, void* data) -> int {
                uintptr_t lowest = UINTPTR_MAX;
                for (int i = 0; i < info->dlpi_phnum; ++i)
                    if (info->dlpi_phdr[i].p_type == PT_LOAD && info->dlpi_phdr[i].p_vaddr < lowest)
                        lowest = info->dlpi_phdr[i].p_vaddr;
                *static_cast<uintptr_t*>(data) = info->dlpi_addr + (lowest == UINTPTR_MAX ? 0 : lowest);
                return 1;
            },
            &base);
        return reinterpret_cast<HMODULE>(base);
    }();
    return main;
}

void RegisterModuleResources(const void* address, const TResourceEntry* entries, size_t count)
{
    HMODULE module = ModuleOf(address);
    TModuleResources& table = Modules()[module];
    for (size_t i = 0; i < count; ++i)
        table.Entries.push_back(&entries[i]);
}

void UnregisterModuleResources(const void* address) { Modules().erase(ModuleOf(address)); }

HRSRC FindResourceEx(HMODULE module, const TResName& type, const TResName& name, Word language)
{
    auto it = Modules().find(module);
    if (it == Modules().end())
        return {};
    const TResourceEntry* neutral = nullptr;
    const TResourceEntry* any = nullptr;
    for (const TResourceEntry* e : it->second.Entries) {
        if (!SameName(e->Type, type) || !SameName(e->Name, name))
            continue;
        if (e->Language == language)
            return {e};
        if (e->Language == LANG_NEUTRAL && neutral == nullptr)
            neutral = e;
        if (any == nullptr)
            any = e;
    }
    return {neutral != nullptr ? neutral : any};
}

HRSRC FindResource(HMODULE module, const TResName& name, const TResName& type)
{
    return FindResourceEx(module, type, name, LANG_NEUTRAL);
}

const void* LoadResource(HMODULE, HRSRC resource) { return resource ? resource.Entry->Data : nullptr; }

DWORD SizeofResource(HMODULE, HRSRC resource)
{
    return resource ? static_cast<DWORD>(resource.Entry->Size) : 0;
}

namespace {

// A string table block holds 16 strings, each a 16-bit length and its bytes;
// block n + 1 holds the strings 16n to 16n + 15, as the original lays them out.
bool FindString(HMODULE module, UINT id, std::string& out)
{
    HRSRC block = FindResource(module, static_cast<Word>((id >> 4) + 1), RT_STRING);
    if (!block)
        return false;
    const unsigned char* p = block.Entry->Data;
    size_t left = block.Entry->Size;
    for (UINT i = 0; i < 16; ++i) {
        if (left < 2)
            return false;
        const size_t n = p[0] | (p[1] << 8);
        p += 2;
        left -= 2;
        if (n > left)
            return false;
        if (i == (id & 15)) {
            out.assign(reinterpret_cast<const char*>(p), n);
            return n > 0;
        }
        p += n;
        left -= n;
    }
    return false;
}

} // namespace

std::string LoadStr(HMODULE module, UINT id)
{
    std::string s;
    FindString(module, id, s);
    return s;
}

std::string LoadResString(HMODULE module, UINT id)
{
    std::string s;
    if (!FindString(module, id, s))
        throw EResNotFound(Format("Resource %d not found", {id}));
    return s;
}

} // namespace ld
