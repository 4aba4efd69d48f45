// The built reference held against the classes and against itself: every
// published property and event has its section and no section outlives its
// member; the help file has every topic and index term; the contents file
// names only topics that exist; the HTML pages are well-formed XHTML whose
// links all resolve. Also the help file reader on malformed files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "apps/hlpdump/HelpFile.h"
#include "controls/bar/Launchdeck.h"
#include "controls/list/ShortcutList.h"
#include "controls/shared/ShortcutButton.h"
#include "tests/reference/ReferenceSource.h"

namespace ld::test {
namespace {

namespace fs = std::filesystem;
using hlp::EHelpFileError;
using hlp::THelpFile;

const fs::path Built = LD_REFERENCE_DIR;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Join(const std::set<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

// The classes the reference has a chapter for, as this build publishes them
// (the newest host's: the build with the most members).
const std::vector<TClass>& DocumentedClasses()
{
    static const std::vector<TClass> classes = {
        TLaunchdeck::StaticClass(),    TShortcutSheet::StaticClass(), TShortcutList::StaticClass(),
        TShortcutItems::StaticClass(), TShortcutItem::StaticClass(),  TShortcutButton::StaticClass()};
    return classes;
}

TEST(Reference, DocumentsEveryPublishedPropertyAndEventAndNothingElseAsPublished)
{
    const std::vector<TReferenceSection> sections = ReadReferenceSections();
    std::set<std::string> chapters;
    std::map<std::string, std::set<std::string>> documented;
    for (const TReferenceSection& section : sections) {
        if (section.Chapter)
            chapters.insert(section.Keyword);
        else if (const std::string member = section.PublishedMember(); !member.empty()) {
            EXPECT_EQ(section.Keyword, section.ClassName() + "_" + member) << "the section's keyword names its member";
            documented[section.ClassName()].insert(member);
        }
    }
    std::set<std::string> classNames;
    for (TClass cls : DocumentedClasses()) {
        classNames.insert(cls->Name);
        EXPECT_TRUE(chapters.count(cls->Name)) << "no chapter for " << cls->Name;
        std::set<std::string> published, missing, stale;
        for (const TPropInfo* prop : cls->Properties())
            published.insert(prop->Name);
        for (const std::string& name : published)
            if (!documented[cls->Name].count(name))
                missing.insert(name);
        for (const std::string& name : documented[cls->Name])
            if (!published.count(name))
                stale.insert(name);
        EXPECT_TRUE(missing.empty()) << cls->Name << " publishes, without a section: " << Join(missing);
        EXPECT_TRUE(stale.empty()) << cls->Name << " has sections for members it does not publish: " << Join(stale);
    }
    for (const auto& [owner, members] : documented)
        EXPECT_TRUE(classNames.count(owner)) << "published members documented for an unknown class " << owner;
}

TEST(Reference, HelpFileHasEveryTopicByItsContextNameAndEveryIndexTerm)
{
    const THelpFile help = THelpFile::Load((Built / "Launchdeck.hlp").string());
    EXPECT_EQ(help.Title(), "Launchdeck Component Reference");
    for (TClass cls : DocumentedClasses()) {
        const auto topic = help.FindContext(cls->Name);
        ASSERT_TRUE(topic) << "no topic " << cls->Name;
        EXPECT_TRUE(help.TitleOf(*topic).ends_with(": " + cls->Name)) << help.TitleOf(*topic);
    }
    const std::vector<TReferenceSection> sections = ReadReferenceSections();
    size_t terms = 0;
    for (const TReferenceSection& section : sections) {
        SCOPED_TRACE(section.Keyword);
        const auto topic = help.FindContext(section.Keyword);
        ASSERT_TRUE(topic) << "no topic has the context name";
        EXPECT_TRUE(help.TitleOf(*topic).ends_with(": " + section.Title)) << help.TitleOf(*topic);
        for (const std::string& term : section.IndexTerms) {
            const hlp::THelpKeyword* keyword = help.FindKeyword(term);
            ASSERT_NE(keyword, nullptr) << "index term " << term;
            EXPECT_NE(std::find(keyword->Topics.begin(), keyword->Topics.end(), *topic), keyword->Topics.end())
                << "index term " << term << " leads elsewhere";
            ++terms;
        }
        if (!section.Chapter && section.Keyword != "Types") {
            const std::string member = section.Keyword.substr(section.Keyword.find('_') + 1);
            EXPECT_TRUE(help.FindKeyword(member) || help.FindKeyword(section.Keyword)) << "no bare index term";
        }
    }
    EXPECT_GT(terms, 2 * sections.size() - 20) << "a section without its index terms";
}

TEST(Reference, ContentsFileHasItsBaseABookPerClassAndOnlyTopicsThatExist)
{
    const std::string contents = ReadFile(Built / "Launchdeck.cnt");
    const THelpFile help = THelpFile::Load((Built / "Launchdeck.hlp").string());
    ASSERT_TRUE(contents.starts_with(":Title Launchdeck Component Reference\r\n:Base Launchdeck.hlp\r\n")) << contents.substr(0, 80);
    EXPECT_TRUE(contents.ends_with("\r\n"));
    EXPECT_EQ(std::regex_search(contents, std::regex("[^\r]\n")), false) << "every line ends with CR LF";

    std::set<std::string> books, listed;
    std::istringstream lines(contents);
    for (std::string line; std::getline(lines, line);) {
        line.erase(line.find_last_not_of('\r') + 1);
        std::smatch match;
        if (std::regex_match(line, match, std::regex(R"(1 Chapter \d+: (\w+))")))
            books.insert(match[1]);
        else if (std::regex_match(line, match, std::regex(R"(\d+ [^=]+=(\w+))"))) {
            EXPECT_TRUE(help.FindContext(match[1].str())) << "the contents file lists the missing topic " << match[1];
            listed.insert(match[1]);
        }
    }
    for (TClass cls : DocumentedClasses())
        EXPECT_TRUE(books.count(cls->Name)) << "no book for " << cls->Name;
    for (const TReferenceSection& section : ReadReferenceSections())
        EXPECT_TRUE(listed.count(section.Keyword)) << "the contents file leaves out " << section.Keyword;
}

// ---- the HTML edition ---------------------------------------------------------------------

// A well-formedness check of XHTML as Halibut writes it: every element closed
// in order, attributes quoted, only XML's own and numeric character references.
// Collects the ids and the link targets.
struct TPage {
    std::set<std::string> Ids;
    std::vector<std::string> Links;
};

TPage ParseXhtml(const std::string& text, const std::string& name)
{
    TPage page;
    std::vector<std::string> open;
    size_t pos = 0;
    const auto fail = [&](const std::string& what) {
        ADD_FAILURE() << name << " at byte " << pos << ": " << what;
        pos = text.size();
    };
    static const std::regex attribute(R"re(\s+([\w:-]+)="([^"<]*)")re");
    while (pos < text.size()) {
        const size_t lt = text.find('<', pos);
        const std::string chars = text.substr(pos, lt == std::string::npos ? std::string::npos : lt - pos);
        for (size_t amp = chars.find('&'); amp != std::string::npos; amp = chars.find('&', amp + 1))
            if (!std::regex_search(chars.substr(amp), std::regex("^&(amp|lt|gt|quot|apos|#[0-9]+|#x[0-9a-fA-F]+);")))
                fail("a bare ampersand");
        if (lt == std::string::npos)
            break;
        pos = lt;
        if (text.compare(pos, 4, "<!--") == 0) {
            const size_t end = text.find("-->", pos);
            end == std::string::npos ? fail("an open comment") : void(pos = end + 3);
            continue;
        }
        const size_t gt = text.find('>', pos);
        if (gt == std::string::npos) {
            fail("an open tag");
            break;
        }
        const std::string tag = text.substr(pos + 1, gt - pos - 1);
        pos = gt + 1;
        if (tag.starts_with("?") || tag.starts_with("!DOCTYPE"))
            continue;
        if (tag.starts_with("/")) {
            if (open.empty() || open.back() != tag.substr(1))
                fail("</" + tag.substr(1) + "> closes " + (open.empty() ? "nothing" : "<" + open.back() + ">"));
            else
                open.pop_back();
            continue;
        }
        const bool empty = tag.ends_with("/");
        const std::string body = empty ? tag.substr(0, tag.size() - 1) : tag;
        const size_t nameEnd = body.find_first_of(" \t\r\n");
        const std::string element = body.substr(0, nameEnd);
        const std::string rest = nameEnd == std::string::npos ? "" : body.substr(nameEnd);
        if (!std::regex_match(rest, std::regex(R"re((\s+[\w:-]+="[^"<]*")*\s*)re")))
            fail("malformed attributes in <" + element + ">");
        for (auto it = std::sregex_iterator(rest.begin(), rest.end(), attribute); it != std::sregex_iterator(); ++it) {
            if ((*it)[1] == "id")
                page.Ids.insert((*it)[2]);
            if ((*it)[1] == "href")
                page.Links.push_back((*it)[2]);
        }
        if (!empty)
            open.push_back(element);
    }
    if (!open.empty())
        ADD_FAILURE() << name << ": <" << open.back() << "> is never closed";
    return page;
}

TEST(Reference, HtmlPagesAreWellFormedEveryLinkResolvesAndEveryMemberHasItsAnchor)
{
    const fs::path html = Built / "html";
    std::map<std::string, TPage> pages;
    for (const auto& entry : fs::directory_iterator(html))
        if (entry.path().extension() == ".html")
            pages[entry.path().filename().string()] = ParseXhtml(ReadFile(entry.path()), entry.path().filename().string());
    ASSERT_TRUE(pages.count("index.html"));
    for (TClass cls : DocumentedClasses())
        EXPECT_TRUE(pages.count(cls->Name + ".html")) << "no page for " << cls->Name;

    size_t links = 0;
    for (const auto& [name, page] : pages)
        for (const std::string& link : page.Links) {
            if (link.starts_with("http:") || link.starts_with("https:"))
                continue;
            const size_t hash = link.find('#');
            const std::string file = hash == 0 ? name : link.substr(0, hash);
            ASSERT_TRUE(pages.count(file)) << name << " links to the missing page " << link;
            if (hash != std::string::npos) {
                EXPECT_TRUE(pages[file].Ids.count(link.substr(hash + 1))) << name << " links to the missing anchor " << link;
            }
            ++links;
        }
    EXPECT_GT(links, 200u);

    for (const TReferenceSection& section : ReadReferenceSections()) {
        if (!section.PublishedMember().empty()) {
            EXPECT_TRUE(pages[section.ClassName() + ".html"].Ids.count(section.Keyword))
                << section.ClassName() << ".html has no anchor " << section.Keyword;
        }
    }
}

// ---- the reader on malformed files ---------------------------------------------------------

void PutU32(std::string& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char(value >> (8 * i));
}

int Int16At(const std::string& bytes, size_t at)
{
    return int16_t(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8);
}

// Where the first leaf page of the B+ tree of an internal file starts.
size_t FirstLeafAt(const std::string& bytes, const hlp::THelpInternalFile& file)
{
    const size_t tree = file.Offset + 9;
    const size_t pageSize = uint16_t(Int16At(bytes, tree + 4));
    int page = Int16At(bytes, tree + 26);
    for (int level = 1; level < Int16At(bytes, tree + 32); ++level)
        page = Int16At(bytes, tree + 38 + size_t(page) * pageSize + 4);
    return tree + 38 + size_t(page) * pageSize;
}

std::string ErrorOf(const std::string& bytes)
{
    try {
        THelpFile help(bytes);
        return "";
    } catch (const EHelpFileError& e) {
        return e.what();
    }
}

TEST(HelpFileReader, RefusesMalformedFilesWithTheOffsetAndTheFault)
{
    const std::string good = ReadFile(Built / "Launchdeck.hlp");
    ASSERT_EQ(ErrorOf(good), "");
    const THelpFile help(good);
    EXPECT_EQ(THelpFile::ContextHash(""), 1);
    EXPECT_EQ(THelpFile::ContextHash("TLAUNCHDECK"), THelpFile::ContextHash("tlaunchdeck")) << "letters hash alike";

    std::string bad = good;
    bad[0] = 'X';
    EXPECT_EQ(ErrorOf(bad), "offset 4: file header: not a help file");
    EXPECT_NE(ErrorOf(good.substr(0, good.size() / 2)).find("the header gives the file size"), std::string::npos);
    EXPECT_NE(ErrorOf(good.substr(0, 10)).find("needs 4 bytes, 2 left"), std::string::npos);

    bad = good;
    PutU32(bad, 4, 0x7FFFFFF0); // the directory far beyond the end
    EXPECT_NE(ErrorOf(bad).find("internal directory: its offset 2147483632 lies outside the file"), std::string::npos);

    // |KWBTREE's first keyword pointing at a count of topics beyond |KWDATA.
    const hlp::THelpInternalFile* keywords = help.FindFile("|KWBTREE");
    ASSERT_NE(keywords, nullptr);
    const size_t countAt = good.find('\0', FirstLeafAt(good, *keywords) + 8) + 1;
    bad = good;
    bad[countAt] = char(0xFF);
    bad[countAt + 1] = 0x7F;
    EXPECT_NE(ErrorOf(bad).find("lie outside |KWDATA"), std::string::npos) << ErrorOf(bad);

    // A leaf of the titles whose next leaf is itself.
    const hlp::THelpInternalFile* titles = help.FindFile("|TTLBTREE");
    ASSERT_NE(titles, nullptr);
    ASSERT_GT(Int16At(good, titles->Offset + 9 + 32), 1) << "the titles span more than one page";
    const size_t leafAt = FirstLeafAt(good, *titles);
    const size_t page = (leafAt - titles->Offset - 9 - 38) / uint16_t(Int16At(good, titles->Offset + 9 + 4));
    bad = good;
    bad[leafAt + 6] = char(page);
    bad[leafAt + 7] = char(page >> 8);
    EXPECT_NE(ErrorOf(bad).find("|TTLBTREE: the leaf pages form a loop"), std::string::npos) << ErrorOf(bad);

    EXPECT_THROW(THelpFile::Load((Built / "no such file.hlp").string()), EHelpFileError);
}

} // namespace
} // namespace ld::test
