// Text conversions of the Wine side: the 8-bit strings of the installer are code
// page 1252, the registry files hold Unicode (UTF-16 code units), Linux file names
// are UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ld::deckinstall {

std::u16string AnsiToWide(std::string_view ansi);
// Characters that code page 1252 lacks become '?', as the system's conversion does.
std::string WideToAnsi(std::u16string_view wide);

std::string WideToUtf8(std::u16string_view wide);
// Invalid UTF-8 bytes are taken one by one as Latin-1 characters.
std::u16string Utf8ToWide(std::string_view utf8);

// Length of the valid UTF-8 sequence at text[pos] (0 if there is none) and its
// code point.
size_t DecodeUtf8Char(std::string_view text, size_t pos, uint32_t& code);

std::string AnsiToUtf8(std::string_view ansi);
std::string Utf8ToAnsi(std::string_view utf8);

// Upper case for comparing names without regard to case (Latin, Greek, Cyrillic).
char16_t FoldCase(char16_t c);
std::u16string FoldCase(std::u16string_view text);
bool SameTextWide(std::u16string_view a, std::u16string_view b);

} // namespace ld::deckinstall
