// The reference's source as its checks see it: a section per chapter (\C) and
// per member or type (\H), with its declaration line, its text and index terms.
#pragma once

#include <string>
#include <vector>

namespace ld::test {

struct TReferenceSection {
    std::string Keyword;     // the section's keyword, also its topic and anchor: TLaunchdeck_Options
    std::string Title;       // Options property
    std::string Declaration; // the first code line: published property Options: ...
    std::string Text;        // everything up to the next section
    std::vector<std::string> IndexTerms;
    bool Chapter = false;

    // "TLaunchdeck" for TLaunchdeck_Options; the keyword itself for a chapter.
    std::string ClassName() const;
    // The member a "published property NAME" declaration publishes, else empty.
    std::string PublishedMember() const;
};

// The sections of the reference's source files, in order.
std::vector<TReferenceSection> ReadReferenceSections();
// The source files, as the build lists them (LD_REFERENCE_SOURCES, separated by |).
std::vector<std::string> ReferenceSourceFiles();

} // namespace ld::test
