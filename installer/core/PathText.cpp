#include "installer/core/PathText.h"

namespace ld::deckinstall {

std::string AddBackslash(const std::string& s)
{
    if (s.empty() || s.back() == '\\')
        return s;
    return s + '\\';
}

std::string RemoveBackslash(const std::string& s)
{
    if (!s.empty() && s.back() == '\\')
        return s.substr(0, s.size() - 1);
    return s;
}

std::string UpperCaseAscii(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string LowerCaseAscii(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string ExtractFilePath(const std::string& fileName)
{
    const size_t at = fileName.find_last_of("\\:");
    return at == std::string::npos ? std::string() : fileName.substr(0, at + 1);
}

std::string FolderPart(const std::string& fileName)
{
    const size_t at = fileName.rfind('\\');
    return at == std::string::npos ? std::string() : fileName.substr(0, at + 1);
}

namespace {

std::string ReplaceEachOnce(const std::string& s, const std::string& upperPattern, const std::string& replacement)
{
    const std::string upper = UpperCaseAscii(s);
    std::string result;
    size_t from = 0;
    for (size_t at = upper.find(upperPattern); at != std::string::npos; at = upper.find(upperPattern, from)) {
        result.append(s, from, at - from);
        result += replacement;
        from = at + upperPattern.size();
    }
    result.append(s, from, std::string::npos);
    return result;
}

} // namespace

std::string ReplaceTextNoCase(std::string s, const std::string& pattern, const std::string& replacement)
{
    if (pattern.empty())
        return s;
    const std::string upperPattern = UpperCaseAscii(pattern);
    if (UpperCaseAscii(replacement).find(upperPattern) != std::string::npos)
        return ReplaceEachOnce(s, upperPattern, replacement);
    for (;;) {
        const size_t at = UpperCaseAscii(s).find(upperPattern);
        if (at == std::string::npos)
            return s;
        s.replace(at, pattern.size(), replacement);
    }
}

std::string NormaliseFolder(const std::string& folder)
{
    std::string path = folder;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    // Keep a leading "\\" (a network or device path) and a drive prefix as they are.
    std::string head;
    size_t pos = 0;
    if (path.size() >= 2 && path[1] == ':') {
        head = path.substr(0, 2);
        pos = 2;
    } else if (path.rfind("\\\\", 0) == 0) {
        head = "\\\\";
        pos = 2;
    }
    const bool absolute = pos < path.size() && path[pos] == '\\';
    std::vector<std::string> parts;
    for (const std::string& part : SplitList(path.substr(pos), '\\')) {
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (!absolute)
                parts.push_back(part);
            continue;
        }
        parts.push_back(part);
    }
    return head + (absolute ? "\\" : "") + JoinList(parts, '\\');
}

std::vector<std::string> SplitList(std::string text, char separator)
{
    // Repeat-until: an empty text still yields one (empty) entry, a trailing
    // separator none.
    std::vector<std::string> entries;
    size_t from = 0;
    do {
        const size_t at = text.find(separator, from);
        if (at == std::string::npos) {
            entries.push_back(text.substr(from));
            from = text.size();
        } else {
            entries.push_back(text.substr(from, at - from));
            from = at + 1;
        }
    } while (from < text.size());
    return entries;
}

std::string JoinList(const std::vector<std::string>& entries, char separator)
{
    std::string text;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i > 0)
            text += separator;
        text += entries[i];
    }
    return text;
}

} // namespace ld::deckinstall
