// String helpers of the installer. Case changes here touch the ASCII letters only,
// as the installer's own comparisons and its lower-cased folder require.
#pragma once

#include <string>
#include <vector>

namespace ld::deckinstall {

std::string AddBackslash(const std::string& s);
std::string RemoveBackslash(const std::string& s);
std::string UpperCaseAscii(std::string s);
std::string LowerCaseAscii(std::string s);

// Everything up to and including the last backslash or drive colon.
std::string ExtractFilePath(const std::string& fileName);
// Everything up to and including the last backslash.
std::string FolderPart(const std::string& fileName);

// Replaces every occurrence of Pattern, ignoring ASCII case; each search starts
// again at the beginning. When Replacement itself contains Pattern that would never
// end, so then every occurrence of the original text is replaced once, left to right.
std::string ReplaceTextNoCase(std::string s, const std::string& pattern, const std::string& replacement);

// A folder path in a form fit for comparing: forward slashes turned back, doubled
// backslashes, "." and ".." parts and a trailing backslash resolved away.
std::string NormaliseFolder(const std::string& folder);

std::vector<std::string> SplitList(std::string text, char separator);
std::string JoinList(const std::vector<std::string>& entries, char separator);

} // namespace ld::deckinstall
