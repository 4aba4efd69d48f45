// The four package builds side by side, each loaded as the environment loads
// it: what they publish, how their animations meet the tick count's wrap, and
// the resources they share and where they differ.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "host/DesignHost.h"
#include "host/FormDesigner.h"
#include "host/HostEnvironments.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/ClassRegistry.h"
#include "platform/gfx/Bmp.h"
#include "platform/gfx/Png.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Stream.h"
#include "platform/stream/TextForm.h"
#include "platform/vcl/Forms.h"
#include "platform/win/TickSource.h"

namespace ld::test {
namespace {

struct TBuild {
    const char* Id;
    const char* File;
    bool Newer; // Delphi 4 or 5
};

const TBuild Builds[] = {
    {"d3", LD_PACKAGE_D3, false},
    {"d4", LD_PACKAGE_D4, true},
    {"d5", LD_PACKAGE_D5, true},
    {"cb3", LD_PACKAGE_CB3, false},
};

std::string PrintBuild(const ::testing::TestParamInfo<TBuild>& info) { return info.param.Id; }

TClass PaletteClass(const TDesignHost& host, const std::string& name)
{
    for (const TPalettePage& page : host.GetRegistry().GetPalette())
        for (TClass cls : page.Classes)
            if (cls->Name == name)
                return cls;
    return nullptr;
}

class BuildTest : public ::testing::TestWithParam<TBuild> {
protected:
    void SetUp() override
    {
        TickSource::UseSimulatedClock(10000);
        Backend = std::make_unique<THeadlessBackend>();
        Host = std::make_unique<TDesignHost>();
        Package = &Host->LoadPackage(GetParam().File);
    }
    void TearDown() override
    {
        Backend->RunUntilIdle();
        Host.reset();
        Backend.reset();
        TickSource::UseMonotonicClock();
    }
    std::unique_ptr<THeadlessBackend> Backend;
    std::unique_ptr<TDesignHost> Host;
    const TPackage* Package = nullptr;
};

// ---- published properties -----------------------------------------------------------------

TEST_P(BuildTest, BarAndListPublishAnchorsConstraintsAndDockingOnlyInTheNewerHosts)
{
    TClass bar = PaletteClass(*Host, "TLaunchdeck");
    ASSERT_NE(bar, nullptr);
    const bool newer = GetParam().Newer;
    EXPECT_EQ(bar->Properties().size(), newer ? 45u : 40u);
    for (const char* name : {"Anchors", "Constraints", "DragKind", "OnEndDock", "OnStartDock"})
        EXPECT_EQ(bar->FindProperty(name) != nullptr, newer) << name;
    if (newer) {
        const TPropInfo* anchors = bar->FindProperty("Anchors");
        EXPECT_TRUE(anchors->HasDefault);
        EXPECT_EQ(anchors->Default, 3) << "left and top";
        const TPropInfo* dragKind = bar->FindProperty("DragKind");
        EXPECT_TRUE(dragKind->HasDefault);
        EXPECT_EQ(dragKind->Default, 0) << "drag rather than dock";
    }
    TClass list = PaletteClass(*Host, "TShortcutList");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Properties().size(), newer ? 37u : 35u);
    for (const char* name : {"OnEndDock", "OnStartDock"})
        EXPECT_EQ(list->FindProperty(name) != nullptr, newer) << name;
    EXPECT_EQ(list->FindProperty("Anchors"), nullptr);
    // The sheet is the same everywhere.
    TClass sheet = FindClass("TShortcutSheet");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->FindProperty("Anchors"), nullptr);
}

// ---- the animations and the tick count's wrap ---------------------------------------------

// A bar of two sheets on a shown form, the second open, made at run time.
const char* const BarForm = R"(object Form1: TForm
  Left = 0
  Top = 0
  Width = 200
  Height = 300
  object Launchdeck1: TLaunchdeck
    Left = 0
    Top = 0
    Width = 84
    Height = 260
    ActiveSheet = ShortcutSheet2
    object ShortcutSheet1: TShortcutSheet
      Caption = 'Programs'
    end
    object ShortcutSheet2: TShortcutSheet
      Caption = 'Tools'
    end
  end
end
)";

// Ticks read while the first tab is clicked open, starting at Start: a roll
// reads the clock for its 125 ms; a skipped one hardly at all.
uint64_t ReadsOfARollFrom(THeadlessBackend& backend, DWORD start)
{
    auto* form = new TForm(nullptr);
    TStringStream stream(BarForm);
    ReadComponentFromStream(&stream, form);
    form->Show();
    auto* bar = dynamic_cast<TControl*>(form->FindComponent("Launchdeck1"));
    TComponent* programs = form->FindComponent("ShortcutSheet1");
    EXPECT_NE(bar, nullptr);
    backend.RunUntilIdle();
    const TPropInfo* active = bar->ClassType()->FindProperty("ActiveSheet");
    EXPECT_NE(active->GetObj(bar), programs);

    TickSource::UseSimulatedClock(start, 1);
    const TPoint tab = bar->ClientToScreen({40, 5});
    backend.Click(tab.X, tab.Y);
    backend.RunUntilIdle();
    const uint64_t reads = TickSource::ReadCount();
    EXPECT_EQ(active->GetObj(bar), programs) << "the sheet opens whether it rolled or not";
    delete form;
    return reads;
}

TEST_P(BuildTest, AnAnimationWhoseWindowCrossesTheWrapOfItsTicksIsSkipped)
{
    const bool signedTicks = !GetParam().Newer;
    const uint64_t normal = ReadsOfARollFrom(*Backend, 1000000);
    EXPECT_GE(normal, 100u) << "125 ms read a tick at a time";
    const uint64_t nearSignedWrap = ReadsOfARollFrom(*Backend, 0x7FFFFFFFu - 60);
    const uint64_t nearUnsignedWrap = ReadsOfARollFrom(*Backend, 0xFFFFFFFFu - 60);
    // The wrap point is 2^31 ms of uptime for a signed tick count, 2^32 for an
    // unsigned one; a window across the other point rolls as usual.
    const uint64_t skipped = signedTicks ? nearSignedWrap : nearUnsignedWrap;
    const uint64_t rolled = signedTicks ? nearUnsignedWrap : nearSignedWrap;
    EXPECT_LT(skipped, 20u);
    EXPECT_GE(rolled, 100u);
}

INSTANTIATE_TEST_SUITE_P(Builds, BuildTest, ::testing::ValuesIn(Builds), PrintBuild);

// ---- items across builds ------------------------------------------------------------------

// A list whose items vary in everything stored: captions (empty, quoted, long,
// 8-bit), image indexes (negative too), tags and enabled states.
const char* const ListForm = "object Form1: TForm\r\n"
                             "  object ShortcutList1: TShortcutList\r\n"
                             "    Items.Items = (\r\n"
                             "      '1.7'\r\n"
                             "      4\r\n"
                             "      'Mail'\r\n"
                             "      0\r\n"
                             "      0\r\n"
                             "      True\r\n"
                             "      'It'#39's \xE9t\xE9'\r\n"
                             "      -3\r\n"
                             "      2147483647\r\n"
                             "      False\r\n"
                             "      ''\r\n"
                             "      7\r\n"
                             "      -2147483648\r\n"
                             "      True\r\n"
                             "      'A caption long enough to need a long string in the stored form: xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx'\r\n"
                             "      1\r\n"
                             "      -1\r\n"
                             "      False)\r\n"
                             "  end\r\n"
                             "end\r\n";

// The binary form file the build at File writes after reading Form, or the text
// it writes for each of the given binary forms.
std::vector<std::string> Resave(const char* file, const std::vector<std::string>& forms, bool asText)
{
    THeadlessBackend backend;
    TDesignHost host;
    host.LoadPackage(file);
    std::vector<std::string> saved;
    for (const std::string& form : forms)
        saved.push_back(THostFormDesigner::Open(host.GetRegistry(), form)->Save(asText));
    return saved;
}

// The stored items of a form's text: the defined property's list.
std::string ItemsBlock(const std::string& text)
{
    const size_t begin = text.find("Items.Items = (");
    if (begin == std::string::npos)
        return "<no items>";
    return text.substr(begin, text.find(")\r\n", begin) + 3 - begin);
}

TEST(CrossBuild, ItemsStoredByAnyBuildReadBackTheSameInEveryOther)
{
    // The stored form itself, as the class library's converter writes it,
    // with no build involved.
    const std::string expected = ItemsBlock(BinaryToText(TextToBinary(ListForm)));
    ASSERT_NE(expected.find("-2147483648\r\n      True"), std::string::npos) << expected;
    TickSource::UseSimulatedClock(10000);
    std::vector<std::string> stored;
    for (const TBuild& writer : Builds)
        stored.push_back(Resave(writer.File, {ListForm}, false).front());
    for (const TBuild& reader : Builds) {
        SCOPED_TRACE(reader.Id);
        // Written back as text, what each build read from each build's file
        // shows every caption, image index, tag and enabled state it read.
        const std::vector<std::string> texts = Resave(reader.File, stored, true);
        for (size_t w = 0; w < texts.size(); ++w)
            EXPECT_EQ(ItemsBlock(texts[w]), expected) << "stored by " << Builds[w].Id;
    }
    TickSource::UseMonotonicClock();
}

} // namespace
} // namespace ld::test
