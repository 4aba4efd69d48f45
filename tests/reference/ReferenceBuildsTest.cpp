// The four package builds publish different members of the bar and the list:
// the reference says where a member is published in some builds only, and
// says it of no member that every build publishes.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

#include "host/DesignHost.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/ClassRegistry.h"
#include "tests/reference/ReferenceSource.h"

namespace ld::test {
namespace {

struct TBuild {
    const char* Id;
    const char* File;
};

const TBuild Builds[] = {
    {"D3", LD_PACKAGE_D3},
    {"D4", LD_PACKAGE_D4},
    {"D5", LD_PACKAGE_D5},
    {"CB3", LD_PACKAGE_CB3},
};

// For each class and published member, the builds that publish it.
using TMembers = std::map<std::string, std::map<std::string, std::set<std::string>>>;

TMembers PublishedPerBuild()
{
    TMembers members;
    for (const TBuild& build : Builds) {
        THeadlessBackend backend;
        TDesignHost host;
        host.LoadPackage(build.File);
        for (const char* name : {"TLaunchdeck", "TShortcutSheet", "TShortcutList"}) {
            TClass cls = FindClass(name);
            EXPECT_NE(cls, nullptr) << build.Id << " registers no " << name;
            if (cls == nullptr)
                continue;
            for (const TPropInfo* prop : cls->Properties())
                members[name][prop->Name].insert(build.Id);
        }
    }
    return members;
}

TEST(ReferenceBuilds, SaysWhichMembersOnlyTheNewerBuildsPublish)
{
    const TMembers members = PublishedPerBuild();
    std::map<std::string, TReferenceSection> sections;
    for (const TReferenceSection& section : ReadReferenceSections())
        sections[section.Keyword] = section;

    const std::set<std::string> newer{"D4", "D5"};
    size_t someBuildsOnly = 0;
    for (const auto& [cls, published] : members)
        for (const auto& [member, builds] : published) {
            const std::string keyword = cls + "_" + member;
            ASSERT_TRUE(sections.count(keyword)) << "no section " << keyword;
            const std::string& text = sections[keyword].Text;
            if (builds.size() == 4) {
                EXPECT_EQ(text.find("builds only"), std::string::npos) << keyword << " is published in every build";
                continue;
            }
            ++someBuildsOnly;
            EXPECT_EQ(builds, newer) << keyword << ": a set of builds the reference has no words for";
            EXPECT_NE(text.find("Published in the D4 and D5 builds only"), std::string::npos)
                << keyword << " does not say that only the D4 and D5 builds publish it";
        }
    EXPECT_EQ(someBuildsOnly, 7u) << "five members of the bar and two of the list";
}

} // namespace
} // namespace ld::test
