// The resources of the four builds, each loaded in turn: what they share byte
// for byte, the version block, the main icon (a different drawing in three
// builds, none in Delphi 3), and each host's form of the package information
// and package options. The icons go to the test output, enlarged, as PNGs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

#include "host/DesignHost.h"
#include "platform/gfx/Bmp.h"
#include "platform/gfx/Png.h"

namespace ld::test {
namespace {

constexpr Word RtIcon = 3;
constexpr Word RtGroupIcon = 14;
constexpr Word RtVersion = 16;
constexpr Word EnglishUk = 0x0809;

struct TBuild {
    const char* Id;
    const char* File;
};

const TBuild Builds[] = {
    {"d3", LD_PACKAGE_D3},
    {"d4", LD_PACKAGE_D4},
    {"d5", LD_PACKAGE_D5},
    {"cb3", LD_PACKAGE_CB3},
};

std::string Bytes(HMODULE module, const TResName& type, const TResName& name, Word language = LANG_NEUTRAL)
{
    HRSRC res = FindResourceEx(module, type, name, language);
    if (!res)
        return "<missing>";
    return std::string(reinterpret_cast<const char*>(res.Entry->Data), res.Entry->Size);
}

uint32_t U16(const std::string& s, size_t at) { return static_cast<unsigned char>(s.at(at)) | static_cast<unsigned char>(s.at(at + 1)) << 8; }
uint32_t U32(const std::string& s, size_t at) { return U16(s, at) | U16(s, at + 2) << 16; }

// What a test reads of one build: its resources, taken while it is loaded.
struct TBuildResources {
    TPackageInfo Info;
    std::string Options;
    std::map<std::string, std::string> Shared;
    std::string Version;
    std::string IconGroup;
    std::string Icon;
};

TBuildResources ReadBuild(const TBuild& build)
{
    TDesignHost host;
    const TPackage& package = host.LoadPackage(build.File);
    const HMODULE m = package.Module;
    TBuildResources r;
    r.Info = package.Info;
    r.Options = Bytes(m, RT_RCDATA, "PACKAGEOPTIONS");
    r.Shared["DESCRIPTION"] = Bytes(m, RT_RCDATA, "DESCRIPTION");
    r.Shared["TLAUNCHDECK"] = Bytes(m, RT_BITMAP, "TLAUNCHDECK", EnglishUk);
    r.Shared["TSHORTCUTLIST"] = Bytes(m, RT_BITMAP, "TSHORTCUTLIST", EnglishUk);
    r.Shared["strings"] = Bytes(m, RT_STRING, 65520 / 16 + 1);
    r.Version = Bytes(m, RtVersion, 1, EnglishUk);
    r.Shared["version"] = r.Version;
    r.IconGroup = Bytes(m, RtGroupIcon, "MAINICON", EnglishUk);
    if (r.IconGroup != "<missing>" && r.IconGroup.size() >= 20)
        r.Icon = Bytes(m, RtIcon, static_cast<Word>(U16(r.IconGroup, 18)), EnglishUk);
    return r;
}

const std::map<std::string, TBuildResources>& AllBuilds()
{
    static const std::map<std::string, TBuildResources> all = [] {
        std::map<std::string, TBuildResources> m;
        for (const TBuild& b : Builds)
            m[b.Id] = ReadBuild(b);
        return m;
    }();
    return all;
}

TEST(BuildResources, SharedResourcesAreByteForByteTheSameInAllFour)
{
    const auto& all = AllBuilds();
    for (const auto& [name, bytes] : all.at("d5").Shared) {
        EXPECT_NE(bytes, "<missing>") << name;
        for (const char* id : {"d3", "d4", "cb3"})
            EXPECT_EQ(all.at(id).Shared.at(name), bytes) << name << " of " << id;
    }
}

// ---- the version block ----------------------------------------------------------------------

struct TVersionNode {
    std::string Key;
    std::string Value; // the raw value bytes
    uint32_t ValueLength = 0;
    uint32_t Type = 0;
    std::vector<TVersionNode> Children;
};

std::string FromUtf16(const std::string& s, size_t& at)
{
    std::string text;
    for (;; at += 2) {
        const uint32_t c = U16(s, at);
        if (c == 0)
            break;
        text += static_cast<char>(c);
    }
    at += 2;
    return text;
}

TVersionNode ParseNode(const std::string& s, size_t at, size_t& next)
{
    TVersionNode node;
    const size_t length = U16(s, at);
    node.ValueLength = U16(s, at + 2);
    node.Type = U16(s, at + 4);
    size_t pos = at + 6;
    node.Key = FromUtf16(s, pos);
    pos = (pos + 3) & ~size_t(3);
    const size_t valueBytes = node.Type == 1 ? node.ValueLength * 2 : node.ValueLength;
    node.Value = s.substr(pos, valueBytes);
    pos = (pos + valueBytes + 3) & ~size_t(3);
    while (pos < at + length) {
        size_t after = 0;
        node.Children.push_back(ParseNode(s, pos, after));
        pos = (after + 3) & ~size_t(3);
    }
    next = at + length;
    return node;
}

TEST(BuildResources, TheVersionBlockIsOneZeroZeroZeroForAWin32ApplicationInEnglishUk)
{
    const std::string& v = AllBuilds().at("d5").Version;
    size_t end = 0;
    const TVersionNode root = ParseNode(v, 0, end);
    EXPECT_EQ(end, v.size());
    EXPECT_EQ(root.Key, "VS_VERSION_INFO");
    ASSERT_EQ(root.Value.size(), 52u);
    EXPECT_EQ(U32(root.Value, 0), 0xFEEF04BDu);
    EXPECT_EQ(U32(root.Value, 8), 0x00010000u) << "file version 1.0";
    EXPECT_EQ(U32(root.Value, 12), 0u) << "file version .0.0";
    EXPECT_EQ(U32(root.Value, 16), 0x00010000u) << "product version 1.0";
    EXPECT_EQ(U32(root.Value, 20), 0u);
    EXPECT_EQ(U32(root.Value, 28), 0u) << "file flags";
    EXPECT_EQ(U32(root.Value, 32), 4u) << "VOS__WINDOWS32";
    EXPECT_EQ(U32(root.Value, 36), 1u) << "VFT_APP";

    ASSERT_EQ(root.Children.size(), 2u);
    const TVersionNode& strings = root.Children[0];
    EXPECT_EQ(strings.Key, "StringFileInfo");
    ASSERT_EQ(strings.Children.size(), 1u);
    const TVersionNode& table = strings.Children[0];
    EXPECT_EQ(table.Key, "080904E4");
    std::map<std::string, std::string> values;
    for (const TVersionNode& value : table.Children) {
        size_t at = 0;
        values[value.Key] = FromUtf16(value.Value, at);
    }
    EXPECT_EQ(values.size(), 10u);
    for (const auto& [key, text] : values)
        EXPECT_EQ(text, key == "FileVersion" || key == "ProductVersion" ? "1.0.0.0" : "") << key;
    const TVersionNode& vars = root.Children[1];
    EXPECT_EQ(vars.Key, "VarFileInfo");
    ASSERT_EQ(vars.Children.size(), 1u);
    EXPECT_EQ(vars.Children[0].Key, "Translation");
    EXPECT_EQ(vars.Children[0].Value, std::string("\x09\x08\xE4\x04", 4)) << "0809, code page 1252";
}

// ---- the main icon --------------------------------------------------------------------------

TEST(BuildResources, TheMainIconIsOne32By32SixteenColourImageDrawnDifferentlyPerBuild)
{
    const auto& all = AllBuilds();
    EXPECT_EQ(all.at("d3").IconGroup, "<missing>") << "Delphi 3 carries no icon";
    std::set<std::string> drawings;
    for (const char* id : {"d4", "d5", "cb3"}) {
        SCOPED_TRACE(id);
        const TBuildResources& r = all.at(id);
        const std::string& group = r.IconGroup;
        ASSERT_EQ(group.size(), 6u + 14u);
        EXPECT_EQ(U16(group, 2), 1u) << "an icon";
        EXPECT_EQ(U16(group, 4), 1u) << "one image";
        EXPECT_EQ(static_cast<unsigned char>(group[6]), 32);
        EXPECT_EQ(static_cast<unsigned char>(group[7]), 32);
        EXPECT_EQ(static_cast<unsigned char>(group[8]), 16) << "colours";
        EXPECT_EQ(U16(group, 12), 4u) << "bits per pixel";
        const std::string& icon = r.Icon;
        ASSERT_EQ(U32(group, 14), icon.size());
        ASSERT_EQ(icon.size(), 40u + 64u + 32u * 16u + 32u * 4u) << "header, palette, colour bits, mask";
        EXPECT_EQ(U32(icon, 4), 32u);
        EXPECT_EQ(U32(icon, 8), 64u) << "colour and mask";
        EXPECT_EQ(U16(icon, 14), 4u);
        EXPECT_EQ(icon.substr(40 + 64 + 512), std::string(128, '\0')) << "all opaque";
        drawings.insert(icon);

        if (const char* out = std::getenv("LD_TEST_OUTPUT")) {
            // The colour half as a 32 x 32 bitmap, eight times the size.
            std::string dib = icon.substr(0, 40 + 64 + 512);
            dib[8] = 32;
            auto surface = ReadDib(reinterpret_cast<const unsigned char*>(dib.data()), dib.size());
            TSurface big(32 * 8, 32 * 8);
            for (Integer y = 0; y < big.Height(); ++y)
                for (Integer x = 0; x < big.Width(); ++x)
                    big.SetPixel(x, y, surface->Row(y / 8)[x / 8]);
            std::filesystem::create_directories(out);
            SavePngFile(std::string(out) + "/mainicon-" + id + ".png", big);
        }
    }
    EXPECT_EQ(drawings.size(), 3u) << "three different drawings";
}

// ---- package information and options ------------------------------------------------------

std::vector<std::string> Units(const TPackageInfo& info, uint8_t flags)
{
    std::vector<std::string> names;
    for (const TPackageUnit& u : info.Contains)
        if (u.Flags == flags)
            names.push_back(u.Name);
    return names;
}

TEST(BuildResources, PackageInformationNamesEachHostsPackageInItsCompilersForm)
{
    const auto& all = AllBuilds();
    const std::vector<std::string> units = Units(all.at("d5").Info, ufPackageUnit);
    // The units that have landed (the in-place editor and the items editor
    // join the list when they do).
    for (const char* unit : {"Launchdeck", "ShortcutList", "ShortcutButton", "ShortcutColors", "LaunchdeckEditor",
                             "LaunchdeckRegister"})
        EXPECT_NE(std::find(units.begin(), units.end(), unit), units.end()) << unit;
    for (const char* id : {"d3", "d4", "d5"}) {
        SCOPED_TRACE(id);
        const TPackageInfo& info = all.at(id).Info;
        EXPECT_EQ(Units(info, ufPackageUnit), units);
        EXPECT_TRUE(Units(info, ufWeakUnit).empty());
        EXPECT_TRUE(info.Imports.empty());
        EXPECT_EQ(info.Flags & (pfDesignOnly | pfRunOnly | pfExplicitBuild), 0u);
    }
    EXPECT_EQ(all.at("d3").Info.Requires, std::vector<std::string>{"vcl30"});
    EXPECT_EQ(all.at("d4").Info.Requires, std::vector<std::string>{"vcl40"});
    EXPECT_EQ(all.at("d5").Info.Requires, std::vector<std::string>{"vcl50"});
    EXPECT_EQ(all.at("d3").Info.Producer(), 0) << "the Delphi 3 compiler names none";
    EXPECT_EQ(all.at("d4").Info.Producer(), ppDelphi);
    EXPECT_EQ(all.at("d5").Info.Producer(), ppDelphi);

    const TPackageInfo& cb3 = all.at("cb3").Info;
    EXPECT_EQ(cb3.Requires, std::vector<std::string>{"VCL35"});
    EXPECT_EQ(cb3.Imports, (std::vector<std::string>{"cp3240mt", "borlndmm"}));
    EXPECT_EQ(cb3.Flags & (pfDesignOnly | pfRunOnly), 0u);
    EXPECT_NE(cb3.Flags & pfExplicitBuild, 0u) << "rebuilt only when asked";
    std::vector<std::string> spelled;
    for (std::string unit : units) {
        for (size_t i = 1; i < unit.size(); ++i)
            unit[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(unit[i])));
        spelled.push_back(unit);
    }
    EXPECT_EQ(Units(cb3, ufPackageUnit), spelled);
    EXPECT_EQ(Units(cb3, ufWeakUnit), (std::vector<std::string>{"Windows", "Messages", "Commctrl", "Commdlg", "Dlgs",
                                                                 "Imm", "Richedit", "Winspool"}));
}

TEST(BuildResources, PackageOptionsHoldTheAliasListAndDescriptionOfTheDelphiCompilers)
{
    const auto& all = AllBuilds();
    const std::string aliases = "WinTypes=Windows;WinProcs=Windows;DbiTypes=BDE;DbiProcs=BDE;DbiErrs=BDE";
    EXPECT_EQ(ReadPackageOptions(all.at("d3").Options).Texts, (std::vector<std::string>{aliases, "Launchdeck"}));
    for (const char* id : {"d4", "d5"})
        EXPECT_EQ(ReadPackageOptions(all.at(id).Options).Texts, (std::vector<std::string>{aliases + ";", "Launchdeck"}))
            << id;
    EXPECT_EQ(all.at("cb3").Options.size(), 4u) << "only the header";
    EXPECT_TRUE(ReadPackageOptions(all.at("cb3").Options).Texts.empty());
}

TEST(PackageOptions, MalformedDataIsRefusedWithItsOffset)
{
    const std::string data = WritePackageOptions({{"WinTypes=Windows", "Launchdeck"}});
    EXPECT_EQ(ReadPackageOptions(data).Texts, (std::vector<std::string>{"WinTypes=Windows", "Launchdeck"}));
    for (size_t n = 0; n < data.size(); ++n)
        EXPECT_THROW(ReadPackageOptions(data.substr(0, n)), EPackageError) << n << " bytes";
    EXPECT_THROW(ReadPackageOptions(data + 'x'), EPackageError);
    std::string longText = data;
    longText[4] = char(0xFF);
    try {
        ReadPackageOptions(longText);
        ADD_FAILURE() << "accepted";
    } catch (const EPackageError& e) {
        EXPECT_EQ(e.Message(), "Malformed package options at byte 6: text cut short");
    }
}

TEST(PackageInfoVersions, TheFirstLayoutWithoutImportsStillReads)
{
    TPackageInfo info;
    info.Requires = {"vcl40"};
    info.Contains = {{ufPackageUnit, "Launchdeck"}};
    std::string data = WritePackageInfo(info);
    ASSERT_EQ(data.back(), '\0') << "no imports";
    data.pop_back();
    data[4] = 1;
    EXPECT_EQ(ReadPackageInfo(data), info);
}

} // namespace
} // namespace ld::test
