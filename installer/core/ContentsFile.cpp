#include "installer/core/ContentsFile.h"

namespace ld::deckinstall {

std::vector<std::string> SplitContentsLines(const std::string& bytes)
{
    const size_t end = bytes.find('\0') == std::string::npos ? bytes.size() : bytes.find('\0');
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < end) {
        const size_t start = pos;
        while (pos < end && bytes[pos] != '\r' && bytes[pos] != '\n')
            ++pos;
        lines.push_back(bytes.substr(start, pos - start));
        if (pos < end && bytes[pos] == '\r')
            ++pos;
        if (pos < end && bytes[pos] == '\n')
            ++pos;
    }
    return lines;
}

std::string JoinContentsLines(const std::vector<std::string>& lines)
{
    size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

} // namespace ld::deckinstall
