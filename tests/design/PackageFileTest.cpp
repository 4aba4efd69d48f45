// The built package as the environment meets it, in a process that does not
// link it: a form with a bar and sheets loads once the package is loaded (and
// after a fresh load), and the package's resources read back from the file.
// The palette images are written to the test output as PNGs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "host/DesignHost.h"
#include "host/FormDesigner.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/ClassRegistry.h"
#include "platform/gfx/Bmp.h"
#include "platform/gfx/Png.h"
#include "platform/stream/Stream.h"
#include "platform/stream/TextForm.h"
#include "platform/win/TickSource.h"

namespace ld::test {
namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class PackageFileTest : public ::testing::Test {
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

void ExpectBarWithSheets(THostFormDesigner& designer)
{
    TCustomForm* form = designer.GetForm();
    TComponent* bar = form->FindComponent("Launchdeck1");
    TComponent* programs = form->FindComponent("ShortcutSheet1");
    TComponent* tools = form->FindComponent("ShortcutSheet2");
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(programs, nullptr);
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(bar->ClassName(), "TLaunchdeck");
    EXPECT_EQ(tools->ClassName(), "TShortcutSheet");
    EXPECT_TRUE(tools->ComponentState().Contains(csDesigning));
    const TPropInfo* active = bar->ClassType()->FindProperty("ActiveSheet");
    ASSERT_NE(active, nullptr);
    EXPECT_EQ(active->GetObj(bar), tools);
    EXPECT_EQ(tools->ClassType()->FindProperty("SheetIndex")->GetOrd(tools), 1);
    EXPECT_EQ(tools->ClassType()->FindProperty("Caption")->GetStr(tools), "Tools");
}

TEST_F(PackageFileTest, AFormWithABarAndSheetsLoadsAfterAFreshLoadOfThePackage)
{
    const std::string form = ReadFile(LD_FORM_DIR "/BarWithSheets.dfm");
    ASSERT_FALSE(form.empty());
    TDesignHost host;
    EXPECT_THROW(THostFormDesigner::Open(host.GetRegistry(), form), EClassNotFound) << "nothing knows the bar yet";

    const TPackage* package = &host.LoadPackage(LD_PACKAGE_FILE);
    ExpectBarWithSheets(*THostFormDesigner::Open(host.GetRegistry(), form));
    host.UnloadPackage(*package);
    EXPECT_THROW(THostFormDesigner::Open(host.GetRegistry(), form), EClassNotFound);

    package = &host.LoadPackage(LD_PACKAGE_FILE);
    ExpectBarWithSheets(*THostFormDesigner::Open(host.GetRegistry(), form));
}

// The package uses the standard controls for its items editor; they stay with
// the environment, so unloading and loading again finds them registered once.
TEST_F(PackageFileTest, ThePackageLoadsAgainAndAgainWhileTheStandardControlsStay)
{
    TDesignHost host;
    const TClass edit = FindClass("TEdit");
    for (int i = 0; i < 4; ++i) {
        const TPackage& package = host.LoadPackage(LD_PACKAGE_FILE);
        EXPECT_EQ(FindClass("TEdit"), edit);
        EXPECT_NE(GetClass("TShortcutList"), nullptr);
        host.UnloadPackage(package);
    }
    EXPECT_EQ(FindClass("TTreeView")->Name, "TTreeView");
}

// ---- resources ----------------------------------------------------------------------------

class PackageResourcesTest : public ::testing::Test {
protected:
    void SetUp() override { Module = Host.LoadPackage(LD_PACKAGE_FILE).Module; }
    const TResourceEntry* Entry(const TResName& type, const TResName& name)
    {
        HRSRC res = FindResourceEx(Module, type, name, LANG_NEUTRAL);
        return res ? res.Entry : nullptr;
    }
    TDesignHost Host;
    HMODULE Module = nullptr;
};

uint32_t U32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t U16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

TEST_F(PackageResourcesTest, DescriptionIsUtf16WithOneNul)
{
    const TResourceEntry* e = Entry(RT_RCDATA, "DESCRIPTION");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Language, LANG_NEUTRAL);
    const std::string expected("L\0a\0u\0n\0c\0h\0d\0e\0c\0k\0\0\0", 22);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(e->Data), e->Size), expected);
}

TEST_F(PackageResourcesTest, PackageInfoNamesTheRequiredPackageAndTheUnits)
{
    const TResourceEntry* e = Entry(RT_RCDATA, "PACKAGEINFO");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Language, LANG_NEUTRAL);
    const TPackageInfo info = ReadPackageInfo({reinterpret_cast<const char*>(e->Data), e->Size});
    EXPECT_EQ(info.Requires, (std::vector<std::string>{"vcl50"}));
    EXPECT_EQ(info.Flags & (pfDesignOnly | pfRunOnly), 0u) << "both design and run time";
    std::vector<std::string> units;
    for (const TPackageUnit& u : info.Contains) {
        EXPECT_EQ(u.Flags, ufPackageUnit) << u.Name << " is contained explicitly";
        units.push_back(u.Name);
    }
    for (const char* unit : {"Launchdeck", "ShortcutList", "ShortcutButton", "ShortcutColors", "ShortcutItemsEditor", "LaunchdeckEditor",
                             "LaunchdeckRegister"})
        EXPECT_NE(std::find(units.begin(), units.end(), unit), units.end()) << unit;
}

// The dialog's stored form, compiled from its text form to the binary stream.
TEST_F(PackageResourcesTest, ItemsEditorFormIsABinaryFormOfTheDialog)
{
    const TResourceEntry* e = Entry(RT_RCDATA, "TSHORTCUTITEMSEDITORFORM");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Language, LANG_NEUTRAL);
    const std::string data(reinterpret_cast<const char*>(e->Data), e->Size);
    ASSERT_GT(data.size(), 4u);
    EXPECT_EQ(data.substr(0, 4), "TPF0");
    TStringStream binary(data), text;
    ObjectBinaryToText(&binary, &text);
    const std::string form = text.DataString();
    EXPECT_EQ(form.rfind("object ShortcutItemsEditorForm: TShortcutItemsEditorForm", 0), 0u);
    std::vector<std::string> order;
    for (size_t at = form.find("object ", 1); at != std::string::npos; at = form.find("object ", at + 1))
        order.push_back(form.substr(at + 7, form.find(':', at) - at - 7));
    EXPECT_EQ(order, (std::vector<std::string>{"gbItems", "tvItems", "btNewItem", "btDelete", "gbProperties", "Label1",
                                               "Label2", "Label3", "Label4", "etCaption", "etImageIndex", "etTag",
                                               "cbEnabled", "btOK", "btCancel", "btApply"}));
}

TEST_F(PackageResourcesTest, StringTableHoldsTheSheetIndexMessageAt65520)
{
    EXPECT_EQ(LoadStr(Module, 65520), "%d is an invalid SheetIndex value.  SheetIndex must be between 0 and %d");
    const TResourceEntry* block = Entry(RT_STRING, 65520 / 16 + 1);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->Language, LANG_NEUTRAL);
    EXPECT_EQ(Entry(RT_STRING, 61440 / 16 + 1), nullptr) << "the old place is empty";
}

// 24 x 24, 4 bits, uncompressed, the standard palette, stored for English
// (United Kingdom), the bottom-left pixel in the background colour.
void CheckPaletteBitmap(HMODULE module, const char* name, COLORREF background)
{
    SCOPED_TRACE(name);
    HRSRC res = FindResourceEx(module, RT_BITMAP, name, 0x0809);
    ASSERT_TRUE(res);
    EXPECT_EQ(res.Entry->Language, 0x0809);
    const unsigned char* dib = res.Entry->Data;
    ASSERT_GE(res.Entry->Size, 40u + 64u + 12u * 24u);
    EXPECT_EQ(U32(dib), 40u);
    EXPECT_EQ(U32(dib + 4), 24u);
    EXPECT_EQ(U32(dib + 8), 24u) << "bottom-up";
    EXPECT_EQ(U16(dib + 12), 1);
    EXPECT_EQ(U16(dib + 14), 4);
    EXPECT_EQ(U32(dib + 16), 0u) << "BI_RGB";
    for (size_t i = 0; i < 16; ++i) {
        const unsigned char* q = dib + 40 + 4 * i;
        EXPECT_EQ(RGB(q[2], q[1], q[0]), VgaPalette()[i]) << "palette entry " << i;
    }
    const unsigned char* bits = dib + 40 + 64;
    const size_t corner = bits[0] >> 4; // the first stored row is the bottom one
    EXPECT_EQ(VgaPalette()[corner], background);

    auto surface = ReadDib(dib, res.Entry->Size);
    ASSERT_EQ(surface->Width(), 24);
    const char* out = std::getenv("LD_TEST_OUTPUT");
    if (out == nullptr)
        return;
    // Eight times the size, to look at.
    TSurface big(24 * 8, 24 * 8);
    for (Integer y = 0; y < big.Height(); ++y)
        for (Integer x = 0; x < big.Width(); ++x)
            big.SetPixel(x, y, surface->Row(y / 8)[x / 8]);
    std::filesystem::create_directories(out);
    SavePngFile(std::string(out) + "/palette-" + name + ".png", big);
}

TEST_F(PackageResourcesTest, PaletteBitmapsAreFourBitWithATransparentCorner)
{
    CheckPaletteBitmap(Module, "TLAUNCHDECK", RGB(255, 0, 255));
    CheckPaletteBitmap(Module, "TSHORTCUTLIST", RGB(128, 128, 0));
}

} // namespace
} // namespace ld::test
