// Package information and loading packages: the real package builds, files
// that are no package, and a package whose Register fails halfway; whatever is
// refused or unloaded leaves the registries as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "host/DesignHost.h"
#include "host/FormDesigner.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/ClassRegistry.h"
#include "platform/vcl/Controls.h"
#include "platform/win/TickSource.h"
#include "tests/host/HostTestClasses.h"

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

// What the environment's registries hold, to compare before and after.
struct TRegistries {
    std::vector<TClass> Classes;
    std::vector<std::string> Palette; // "page: TClass TClass"
    bool operator==(const TRegistries&) const = default;
};

TRegistries RegistriesOf(const TDesignHost& host)
{
    TRegistries r{RegisteredClasses(), {}};
    std::sort(r.Classes.begin(), r.Classes.end());
    for (const TPalettePage& page : host.GetRegistry().GetPalette()) {
        r.Palette.push_back(page.Name + ":");
        for (TClass cls : page.Classes)
            r.Palette.back() += " " + cls->Name;
    }
    return r;
}

std::string ReadForm(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Opens the stored form of a bar with two sheets; the bar's class is the one
// the package at Module holds.
void ExpectFormOpensWith(TDesignHost& host, HMODULE module)
{
    auto designer = THostFormDesigner::Open(host.GetRegistry(), ReadForm(LD_FORM_DIR "/BarWithSheets.dfm"));
    TComponent* bar = designer->GetForm()->FindComponent("Launchdeck1");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(ModuleOf(bar->ClassType()), module);
    EXPECT_EQ(designer->GetForm()->FindComponent("ShortcutSheet2")->ClassName(), "TShortcutSheet");
}

class DesignHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TickSource::UseSimulatedClock(10000);
        Backend = std::make_unique<THeadlessBackend>();
    }
    void TearDown() override
    {
        Backend->RunUntilIdle();
        Backend.reset();
        TickSource::UseMonotonicClock();
    }
    std::unique_ptr<THeadlessBackend> Backend;
};

TEST_F(DesignHostTest, LoadsThePackageOnceAndUnloadsWhatItRegistered)
{
    TDesignHost host;
    const TRegistries before = RegistriesOf(host);
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
    EXPECT_TRUE(RegistriesOf(host) == before) << "the ancestors it registered go too";
    EXPECT_EQ(GetClass("TShortcutSheet"), nullptr) << "no class record of an unloaded package stays registered";
    EXPECT_FALSE(IsMapped("LaunchdeckPackageD5.bpl")) << "the library left the process";

    // And again, fresh: a form opens with the classes of the new load.
    const TPackage& again = host.LoadPackage(LD_PACKAGE_FILE);
    EXPECT_EQ(again.Description, "Launchdeck");
    ExpectFormOpensWith(host, again.Module);
}

TEST_F(DesignHostTest, RefusesWhatIsNotALoadablePackage)
{
    TDesignHost host;
    EXPECT_EQ(LoadFailure(host, "/nonexistent/Nothing.bpl"),
              "Cannot open file /nonexistent/Nothing.bpl: No such file or directory");
    EXPECT_EQ(LoadFailure(host, LD_FORM_DIR), "Cannot open file " LD_FORM_DIR ": Is a directory");
    EXPECT_EQ(LoadFailure(host, LD_FORM_DIR "/BarWithSheets.dfm"),
              LD_FORM_DIR "/BarWithSheets.dfm is not a package: it is not a shared library");
    EXPECT_EQ(LoadFailure(host, LD_PLAIN_LIBRARY),
              std::string(LD_PLAIN_LIBRARY) + " is not a design package: it has no Register procedure");
    EXPECT_EQ(LoadFailure(host, LD_NO_INFO_PACKAGE),
              std::string(LD_NO_INFO_PACKAGE) + " is not a package: it has no package information");
    EXPECT_TRUE(host.GetPackages().empty());
}

// A name without a slash is a file in the current folder, not a library the
// loader searches for.
TEST_F(DesignHostTest, APackageNamedWithoutAFolderIsTheFileInTheCurrentFolder)
{
    const std::filesystem::path package(LD_PACKAGE_FILE);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(package.parent_path());
    TDesignHost host;
    std::string loaded;
    try {
        loaded = host.LoadPackage(package.filename().string()).Description;
    } catch (const Exception& e) {
        loaded = e.Message();
    }
    std::filesystem::current_path(previous);
    EXPECT_EQ(loaded, "Launchdeck");
}

// A build for another host is refused before its Register and leaves nothing
// behind, so the right build then loads and a form opens with its classes.
TEST_F(DesignHostTest, AnEnvironmentRefusesABuildForAnotherHostAndLoadsItsOwnAfter)
{
    TDesignHost host;
    host.SetOfferedPackage("VCL50"); // names compare without regard to case
    const TRegistries before = RegistriesOf(host);
    EXPECT_EQ(LoadFailure(host, LD_PACKAGE_D3), std::string("Cannot load package ") + LD_PACKAGE_D3 +
                                                    ": it requires vcl30, but this environment offers VCL50");
    EXPECT_TRUE(host.GetPackages().empty());
    EXPECT_TRUE(RegistriesOf(host) == before);
    EXPECT_FALSE(IsMapped("LaunchdeckPackageD3.dpl"));

    const TPackage& d5 = host.LoadPackage(LD_PACKAGE_FILE);
    ExpectFormOpensWith(host, d5.Module);
}

// Two builds of the same units in one environment: the second is refused
// before its Register, naming the first, which goes on working. Unit names
// compare without regard to case (C++Builder 3 spells them its own way).
TEST_F(DesignHostTest, ASecondBuildOfTheSameUnitsIsRefusedNamingTheFirst)
{
    TDesignHost host;
    const TPackage& d5 = host.LoadPackage(LD_PACKAGE_FILE);
    const TRegistries withD5 = RegistriesOf(host);
    EXPECT_EQ(LoadFailure(host, LD_PACKAGE_D4),
              std::string("Cannot load package ") + LD_PACKAGE_D4 +
                  ": it contains unit Launchdeck, which is also in package " + LD_PACKAGE_FILE + ", loaded already");
    EXPECT_EQ(LoadFailure(host, LD_PACKAGE_CB3).find(": it contains unit Launchdeck, which is also in package "),
              std::string(LD_PACKAGE_CB3).size() + std::string("Cannot load package ").size());
    EXPECT_TRUE(RegistriesOf(host) == withD5);
    EXPECT_EQ(host.GetPackages().size(), 1u);
    EXPECT_FALSE(IsMapped("LaunchdeckPackageD4.bpl"));
    ExpectFormOpensWith(host, d5.Module);

    host.UnloadPackage(d5);
    ExpectFormOpensWith(host, host.LoadPackage(LD_PACKAGE_D4).Module);
}

TEST_F(DesignHostTest, AFailingRegisterLeavesNothingRegistered)
{
    // The package's class must add an ancestor of the class library to the
    // class registry (the probes of earlier tests registered it).
    UnRegisterClass(TCustomControl::StaticClass());
    TDesignHost host;
    const TRegistries before = RegistriesOf(host);
    EXPECT_EQ(LoadFailure(host, LD_BROKEN_PACKAGE), "Invalid component registration");
    EXPECT_TRUE(host.GetPackages().empty());
    EXPECT_TRUE(RegistriesOf(host) == before);
    EXPECT_EQ(host.GetRegistry().FindComponentEditor(TComponent::StaticClass()).Class, nullptr);
    EXPECT_FALSE(host.GetRegistry().IsNoIcon(TCustomControl::StaticClass()));
    EXPECT_EQ(host.GetRegistry().FindPropertyEditor(TProbe::StaticClass()->FindProperty("Value"),
                                                    TProbe::StaticClass()).Class,
              nullptr);
    EXPECT_FALSE(IsMapped(std::filesystem::path(LD_BROKEN_PACKAGE).filename().string()));
}

} // namespace
} // namespace ld::test
