// Package information and loading packages: the real package build, a library
// that is no package, and a package whose Register fails halfway.
#include <gtest/gtest.h>

#include <fstream>

#include "host/DesignHost.h"
#include "platform/core/ClassRegistry.h"

namespace ld::test {
namespace {

TPackageInfo SampleInfo()
{
    TPackageInfo info;
    info.Flags = pfExplicitBuild | (3u << pfProducerShift);
    info.Requires = {"vcl50", "Other_1"};
    info.Contains = {{ufPackageUnit, "Launchdeck"}, {ufWeakUnit, "Windows"}};
    info.Imports = {"cp3240mt"};
    return info;
}

TEST(PackageInfo, RoundTripsAndRejectsEveryCutShortPrefix)
{
    const std::string data = WritePackageInfo(SampleInfo());
    EXPECT_EQ(ReadPackageInfo(data), SampleInfo());
    EXPECT_EQ(ReadPackageInfo(data).Producer(), 3);
    for (size_t n = 0; n < data.size(); ++n)
        EXPECT_THROW(ReadPackageInfo(data.substr(0, n)), EPackageError) << n << " bytes";
    EXPECT_THROW(ReadPackageInfo(data + '\0'), EPackageError);
}

TEST(PackageInfo, MalformedDataIsNamedWithItsOffset)
{
    std::string data = WritePackageInfo(SampleInfo());
    auto message = [](const std::string& bytes) {
        try {
            ReadPackageInfo(bytes);
        } catch (const EPackageError& e) {
            return e.Message();
        }
        return std::string("accepted");
    };
    std::string badMagic = data;
    badMagic[0] = 'X';
    EXPECT_EQ(message(badMagic), "Malformed package information at byte 0: not package information (signature missing)");
    std::string badVersion = data;
    badVersion[4] = 3;
    EXPECT_EQ(message(badVersion), "Malformed package information at byte 4: unknown version 3");
    std::string badName = data;
    badName[12] = '9'; // "vcl50" -> "9cl50"
    EXPECT_EQ(message(badName), "Malformed package information at byte 11: invalid required package name");
    std::string longCount = data;
    longCount[11] = char(200); // a name longer than what is left
    EXPECT_EQ(message(longCount), "Malformed package information at byte 12: required package cut short");

    TPackageInfo invalid;
    invalid.Requires = {"not a name"};
    EXPECT_THROW(WritePackageInfo(invalid), EPackageError);
    invalid.Requires = std::vector<std::string>(256, "vcl50");
    EXPECT_THROW(WritePackageInfo(invalid), EPackageError);
}

bool IsMapped(const std::string& fileName)
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
        if (line.find(fileName) != std::string::npos)
            return true;
    return false;
}

std::string LoadFailure(TDesignHost& host, const std::string& file)
{
    try {
        host.LoadPackage(file);
    } catch (const EPackageError& e) {
        return e.Message();
    }
    return "loaded";
}

TEST(DesignHost, LoadsThePackageOnceAndUnloadsWhatItRegistered)
{
    TDesignHost host;
    const TPackage& package = host.LoadPackage(LD_PACKAGE_FILE);
    EXPECT_EQ(package.Description, "Launchdeck");
    EXPECT_EQ(package.Info.Requires, (std::vector<std::string>{"vcl50"}));
    ASSERT_NE(host.GetRegistry().FindPage("Launchdeck"), nullptr);
    EXPECT_EQ(host.GetRegistry().FindPage("Launchdeck")->Classes.size(), 2u);
    EXPECT_EQ(&host.LoadPackage(LD_PACKAGE_FILE), &package) << "no second Register";
    EXPECT_EQ(host.GetPackages().size(), 1u);
    EXPECT_NE(GetClass("TShortcutSheet"), nullptr);

    host.UnloadPackage(package);
    EXPECT_TRUE(host.GetPackages().empty());
    EXPECT_TRUE(host.GetRegistry().GetPalette().empty());
    EXPECT_EQ(GetClass("TShortcutSheet"), nullptr) << "no class record of an unloaded package stays registered";
    EXPECT_EQ(GetClass("TLaunchdeck"), nullptr);
    EXPECT_FALSE(IsMapped("LaunchdeckPackageD5.bpl")) << "the library left the process";

    // And again, fresh.
    const TPackage& again = host.LoadPackage(LD_PACKAGE_FILE);
    EXPECT_EQ(again.Description, "Launchdeck");
    EXPECT_NE(GetClass("TShortcutSheet"), nullptr);
}

TEST(DesignHost, RefusesWhatIsNotALoadablePackage)
{
    TDesignHost host;
    EXPECT_EQ(LoadFailure(host, "/nonexistent/Nothing.bpl").rfind("Cannot load package /nonexistent/Nothing.bpl: ", 0), 0u);
    EXPECT_EQ(LoadFailure(host, LD_PLAIN_LIBRARY),
              std::string(LD_PLAIN_LIBRARY) + " is not a design package: it has no Register procedure");
    EXPECT_EQ(LoadFailure(host, LD_NO_INFO_PACKAGE),
              std::string(LD_NO_INFO_PACKAGE) + " is not a package: it has no package information");
    EXPECT_TRUE(host.GetPackages().empty());
}

TEST(DesignHost, AnEnvironmentRefusesABuildForAnotherHostBeforeItsRegister)
{
    TDesignHost host;
    host.SetOfferedPackage("vcl40");
    EXPECT_EQ(LoadFailure(host, LD_PACKAGE_FILE), std::string("Cannot load package ") + LD_PACKAGE_FILE +
                                                      ": it requires vcl50, but this environment offers vcl40");
    EXPECT_TRUE(host.GetPackages().empty());
    EXPECT_TRUE(host.GetRegistry().GetPalette().empty());
    EXPECT_FALSE(IsMapped("LaunchdeckPackageD5.bpl"));
    host.SetOfferedPackage("VCL50"); // names compare without regard to case
    EXPECT_EQ(host.LoadPackage(LD_PACKAGE_FILE).Description, "Launchdeck");
}

TEST(DesignHost, AFailingRegisterLeavesNothingRegistered)
{
    TDesignHost host;
    EXPECT_EQ(LoadFailure(host, LD_BROKEN_PACKAGE), "Invalid component registration");
    EXPECT_TRUE(host.GetPackages().empty());
    EXPECT_EQ(host.GetRegistry().FindComponentEditor(TComponent::StaticClass()).Class, nullptr);
    EXPECT_TRUE(host.GetRegistry().GetPalette().empty());
}

} // namespace
} // namespace ld::test
