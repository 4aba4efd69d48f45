// Help contents files (".cnt") as lists of 8-bit lines.
#pragma once

#include <string>
#include <vector>

namespace ld::deckinstall {

// Lines end at CR LF, a lone CR or a lone LF; a break at the very end makes no
// empty last line; the text ends at its first zero byte.
std::vector<std::string> SplitContentsLines(const std::string& bytes);
// Every line followed by CR LF.
std::string JoinContentsLines(const std::vector<std::string>& lines);

} // namespace ld::deckinstall
