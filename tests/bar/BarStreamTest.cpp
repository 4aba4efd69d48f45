// A bar with sheets written as a text form file and read back: the sheet
// order, the open sheet, the Options byte, and TabHeight stored only when it
// differs from the font's.
#include "tests/bar/BarTestSupport.h"

#include "platform/stream/Reader.h"
#include "platform/stream/Stream.h"
#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"

namespace ld::test {
namespace {

using BarStreamTest = BarTest;

// The bar as root, so that it owns its sheets and names them in the file.
TLaunchdeck* MakeBar(TForm* form)
{
    auto* bar = new TLaunchdeck(nullptr);
    bar->SetName("Bar");
    bar->SetParent(form);
    for (const char* name : {"Mail", "Work", "Tools"}) {
        auto* sheet = new TShortcutSheet(bar);
        sheet->SetName(name);
        sheet->SetCaption(std::string("&") + name);
        sheet->SetLaunchdeck(bar);
    }
    return bar;
}

TLaunchdeck* ReadBack(const std::string& text, TForm* form)
{
    auto* bar = new TLaunchdeck(nullptr);
    bar->SetParent(form);
    TStringStream input(text);
    ReadComponentFromStream(&input, bar);
    return bar;
}

TEST_F(BarStreamTest, SheetsComeBackInOrderWithTheOpenSheetAndTheOptions)
{
    TLaunchdeck* bar = MakeBar(Form);
    bar->GetSheet(2)->SetSheetIndex(0); // Tools, Mail, Work
    bar->SetActiveSheet(bar->GetSheet(1));
    bar->GetSheet(2)->SetVisible(false);
    bar->SetOptions({soHotTabs, soButtonItems});
    bar->SetTabHeight(25);
    bar->SetMinSheetHeight(40);
    const std::string text = StoredText(bar);
    EXPECT_NE(text.find("ActiveSheet = Mail"), std::string::npos) << text;
    EXPECT_NE(text.find("Options = [soHotTabs, soButtonItems]"), std::string::npos) << text;
    EXPECT_NE(text.find("TabHeight = 25"), std::string::npos) << text;
    const std::string sheets = text.substr(text.find("  object"));
    EXPECT_EQ(sheets.find("Left ="), std::string::npos) << "sheet bounds are not stored:\n" << text;
    EXPECT_EQ(sheets.find("SheetIndex"), std::string::npos) << text;
    EXPECT_LT(text.find("object Tools: TShortcutSheet"), text.find("object Mail: TShortcutSheet"));

    TLaunchdeck* copy = ReadBack(text, Form);
    ASSERT_EQ(copy->GetSheetCount(), 3);
    EXPECT_EQ(copy->GetSheet(0)->GetName(), "Tools");
    EXPECT_EQ(copy->GetSheet(1)->GetName(), "Mail");
    EXPECT_EQ(copy->GetSheet(2)->GetName(), "Work");
    EXPECT_EQ(copy->GetSheet(0)->GetCaption(), "&Tools");
    EXPECT_FALSE(copy->GetSheet(2)->GetVisible());
    EXPECT_EQ(copy->GetActiveSheet(), copy->GetSheet(1));
    EXPECT_EQ(copy->GetOptions().Bits(), 0x0Cu);
    EXPECT_EQ(copy->GetTabHeight(), 25);
    EXPECT_EQ(copy->GetMinSheetHeight(), 40);
    delete copy;
    delete bar;
}

TEST_F(BarStreamTest, DefaultsAreLeftOutAndAnUnstoredTabHeightFollowsTheFont)
{
    TLaunchdeck* bar = MakeBar(Form);
    bar->GetFont()->SetHeight(-14);
    const std::string text = StoredText(bar);
    EXPECT_EQ(text.find("TabHeight"), std::string::npos) << text;
    EXPECT_EQ(text.find("Options"), std::string::npos) << text;
    EXPECT_NE(text.find("Color = clBtnShadow"), std::string::npos) << text;
    EXPECT_NE(text.find("MinSheetHeight = 0"), std::string::npos) << text;
    TLaunchdeck* copy = ReadBack(text, Form);
    EXPECT_EQ(copy->GetTabHeight(), 23); // 14 * 1.66 rounded
    EXPECT_EQ(copy->GetOptions().Bits(), 19u);
    // With no ActiveSheet stored as open, Loaded opens the first visible sheet.
    EXPECT_NE(copy->GetActiveSheet(), nullptr);
    delete copy;
    delete bar;
}

TEST_F(BarStreamTest, ACustomTabHeightSurvivesAStoredFont)
{
    TLaunchdeck* bar = MakeBar(Form);
    bar->GetFont()->SetHeight(-14);
    bar->SetTabHeight(40);
    TLaunchdeck* copy = ReadBack(StoredText(bar), Form);
    EXPECT_EQ(copy->GetTabHeight(), 40);
    delete copy;
    delete bar;
}

} // namespace
} // namespace ld::test
