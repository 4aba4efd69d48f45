#include "tests/reference/ReferenceSource.h"

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace ld::test {

std::string TReferenceSection::ClassName() const
{
    return Keyword.substr(0, Keyword.find('_'));
}

std::string TReferenceSection::PublishedMember() const
{
    static const std::regex published(R"(^published property (\w+)\b)");
    std::smatch match;
    return std::regex_search(Declaration, match, published) ? match[1].str() : std::string();
}

std::vector<std::string> ReferenceSourceFiles()
{
    std::vector<std::string> files;
    std::stringstream list(LD_REFERENCE_SOURCES);
    for (std::string file; std::getline(list, file, '|');)
        files.push_back(file);
    return files;
}

namespace {

// Runs of blanks and line breaks become one blank, as the source's paragraphs read.
std::string Normalized(const std::string& text)
{
    return std::regex_replace(text, std::regex(R"(\s+)"), " ");
}

// Replaces the uses of the source's \define'd texts by the texts.
void ExpandDefinitions(TReferenceSection& section, const std::map<std::string, std::string>& definitions)
{
    for (const auto& [name, text] : definitions)
        section.Text = std::regex_replace(section.Text, std::regex("\\\\" + name + "\\b"), text);
}

} // namespace

std::vector<TReferenceSection> ReadReferenceSections()
{
    static const std::regex heading(R"(^\\([CH])\{(\w+)\} (.*)$)");
    static const std::regex indexTerm(R"(\\I\{([^}]*)\})");
    static const std::regex definition(R"(^\\define\{(\w+)\} (.*)$)");
    std::vector<TReferenceSection> sections;
    std::map<std::string, std::string> definitions;
    std::string* defining = nullptr;
    for (const std::string& file : ReferenceSourceFiles()) {
        std::ifstream in(file);
        if (!in)
            throw std::runtime_error("cannot read " + file);
        defining = nullptr;
        for (std::string line; std::getline(in, line);) {
            std::smatch match;
            if (std::regex_match(line, match, definition)) {
                defining = &definitions[match[1]];
                *defining = match[2];
                continue;
            }
            if (defining != nullptr) {
                if (line.empty())
                    defining = nullptr;
                else
                    *defining += " " + line;
                continue;
            }
            if (std::regex_match(line, match, heading)) {
                TReferenceSection section;
                section.Chapter = match[1] == "C";
                section.Keyword = match[2];
                section.Title = match[3];
                sections.push_back(section);
                continue;
            }
            if (sections.empty())
                continue;
            TReferenceSection& section = sections.back();
            if (section.Declaration.empty() && line.rfind("\\c ", 0) == 0)
                section.Declaration = line.substr(3);
            section.Text += line + "\n";
            for (auto it = std::sregex_iterator(line.begin(), line.end(), indexTerm); it != std::sregex_iterator(); ++it)
                section.IndexTerms.push_back((*it)[1]);
        }
    }
    for (TReferenceSection& section : sections) {
        ExpandDefinitions(section, definitions);
        section.Text = Normalized(section.Text);
    }
    return sections;
}

} // namespace ld::test
