// hlpdump FILE [CONTEXT...]
//
// Without context names: the help file's title, contents file, internal files,
// topic titles and keywords with the titles of their topics. With context
// names: the title of the topic each one leads to, one a line; a name that
// leads nowhere is reported and makes the exit code 1.
#include <cstdio>

#include "LaunchdeckVersion.h"
#include "apps/hlpdump/HelpFile.h"

using namespace ld::hlp;

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: hlpdump FILE [CONTEXT...] | hlpdump --version\n");
    return 2;
}

std::string TopicName(const THelpFile& help, uint32_t offset)
{
    const std::string title = help.TitleOf(offset);
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", offset);
    return title.empty() ? std::string(hex) : hex + std::string(" ") + title;
}

void Dump(const THelpFile& help)
{
    std::printf("title: %s\n", help.Title().c_str());
    std::printf("contents file: %s\n", help.ContentsFile().c_str());
    std::printf("format: 1.%u\n", help.Minor());
    std::printf("internal files:\n");
    for (const THelpInternalFile& file : help.Files())
        std::printf("  %-12s %8u bytes at %u\n", file.Name.c_str(), file.Size, file.Offset);
    std::printf("topics: %zu titled, %zu context names\n", help.TopicTitles().size(), help.Contexts().size());
    for (const auto& [offset, title] : help.TopicTitles())
        std::printf("  0x%08X %s\n", offset, title.c_str());
    std::printf("keywords: %zu\n", help.Keywords().size());
    for (const THelpKeyword& keyword : help.Keywords()) {
        std::printf("  %s\n", keyword.Text.c_str());
        for (const uint32_t topic : keyword.Topics)
            std::printf("    %s\n", TopicName(help, topic).c_str());
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "--version")
        return ld::PrintVersion("hlpdump");
    if (argc < 2 || argv[1][0] == '-')
        return Usage();
    try {
        const THelpFile help = THelpFile::Load(argv[1]);
        if (argc == 2) {
            Dump(help);
            return 0;
        }
        int result = 0;
        for (int i = 2; i < argc; ++i) {
            if (const auto topic = help.FindContext(argv[i])) {
                std::printf("%s: %s\n", argv[i], TopicName(help, *topic).c_str());
            } else {
                std::fprintf(stderr, "hlpdump: %s: no topic has the context name %s\n", argv[1], argv[i]);
                result = 1;
            }
        }
        return result;
    } catch (const EHelpFileError& e) {
        std::fprintf(stderr, "hlpdump: %s: %s\n", argv[1], e.what());
        return 1;
    }
}
