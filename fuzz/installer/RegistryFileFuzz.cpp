// Registry files from outside: a malformed one must be rejected with
// ERegistryFileError, never crash; one that is read must write back unchanged and
// survive an edit.
#include "installer/wine/RegistryFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace ld::deckinstall;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        TRegistryFile file(text, "fuzz.reg");
        if (file.Serialize() != text)
            std::abort();
        const std::u16string key = u"Software\\Borland\\Delphi\\4.0\\Library";
        TRegistryData value;
        file.QueryValue(key, u"Search Path", value);
        for (const std::u16string& name : file.ValueNames(key))
            file.DeleteValue(key, name, 1);
        file.SetValue(key, u"Search Path", TRegistryData{1, std::string("$\0(\0\xf6\0\0\0", 8)}, 1);
        TRegistryFile again(file.Serialize(), "again.reg");
        if (!again.QueryValue(key, u"search path", value) || value.Bytes != std::string("$\0(\0\xf6\0\0\0", 8))
            std::abort();
    } catch (const ERegistryFileError&) {
    }
    return 0;
}
