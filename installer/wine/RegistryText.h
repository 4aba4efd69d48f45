// The text of Wine's registry files: escaped names and data, and the value forms
// "name"="text", str(N):"text", dword:xxxxxxxx, hex:..., hex(N):...
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ld::deckinstall {

// A value as the registry holds it: strings as UTF-16LE bytes with their zero.
struct TRegistryData {
    uint32_t Type = 0;
    std::string Bytes;
};

std::u16string BytesToWide(std::string_view bytes);
std::string WideToBytes(std::u16string_view wide);

// Reads escaped text from line[pos] up to the unescaped delimiter and leaves pos
// after it. False (with a reason) when the line ends first.
bool ParseEscaped(std::string_view line, size_t& pos, char delimiter, std::u16string& text, std::string& error);
// Escapes text; the two characters of Specials are escaped too ("[]" for key
// names, "\"\"" for values).
std::string EscapeText(std::u16string_view text, const char* specials);

// Whether the data part of a value (after "=") continues on the next line, which
// only hex data does.
bool DataContinues(std::string_view line);
// Parses the data part of a value, continuation lines already joined.
bool ParseValueData(std::string_view text, TRegistryData& data, std::string& error);
// One value as Wine writes it, with its line break(s).
std::string FormatValue(std::u16string_view name, const TRegistryData& data);

} // namespace ld::deckinstall
