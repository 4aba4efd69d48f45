// A bar on a form, stored with the form and read back into a new form, as a
// user of the library does it: the bar's parent, its sheets, a custom tab
// height and a ShowHint it takes from the form.
#include "tests/bar/BarTestSupport.h"

#include "platform/core/ClassRegistry.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Stream.h"
#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"

namespace ld::test {
namespace {

using BarFormTest = BarTest;

// Stores the form into a stream and reads it back into a new form.
TForm* ThroughAStream(TForm* form)
{
    TMemoryStream stream;
    WriteComponentToStream(&stream, form);
    stream.SetPosition(0);
    RegisterClass(TForm::StaticClass());
    auto* copy = new TForm(nullptr);
    ReadComponentFromStream(&stream, copy);
    return copy;
}

TEST_F(BarFormTest, ABarReadBackIntoANewFormHasTheFormAsParentAndItsSheets)
{
    TLaunchdeck* bar = AddBar(3);
    bar->SetTabHeight(30);
    bar->SetActiveSheet(bar->GetSheet(1));
    TForm* copy = ThroughAStream(Form);
    auto* read = dynamic_cast<TLaunchdeck*>(copy->FindComponent("Bar"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetParent(), copy);
    ASSERT_EQ(read->GetSheetCount(), 3);
    for (Integer i = 0; i < 3; ++i) {
        EXPECT_EQ(read->GetSheet(i)->GetName(), "Sheet" + std::to_string(i));
        EXPECT_EQ(read->GetSheet(i)->GetParent(), read);
    }
    EXPECT_EQ(read->GetActiveSheet(), read->GetSheet(1));
    EXPECT_EQ(read->GetTabHeight(), 30);
    // Aligned to the left edge of the new form once it was read.
    EXPECT_EQ(read->GetHeight(), copy->GetClientHeight());
    EXPECT_EQ(StoredText(copy), StoredText(Form));
    copy->Free();
}

TEST_F(BarFormTest, BeingGivenAParentKeepsACustomTabHeight)
{
    auto* bar = new TLaunchdeck(Form);
    bar->SetTabHeight(30);
    bar->SetParent(Form);
    EXPECT_EQ(bar->GetTabHeight(), 30);
    // A font that really differs still sets the tab height from the font.
    Form->GetFont()->SetHeight(-20);
    EXPECT_EQ(bar->GetTabHeight(), MulDiv(20, 166, 100));
}

TEST_F(BarFormTest, AShowHintTakenFromTheFormIsNotStored)
{
    TLaunchdeck* bar = AddBar(1);
    Form->SetShowHint(true);
    EXPECT_TRUE(bar->GetShowHint());
    EXPECT_TRUE(bar->GetParentShowHint());
    const std::string text = StoredText(Form);
    EXPECT_EQ(text.find("ShowHint"), std::string::npos) << text;
    TForm* copy = ThroughAStream(Form);
    auto* read = dynamic_cast<TLaunchdeck*>(copy->FindComponent("Bar"));
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(read->GetParentShowHint());
    // One set on the bar itself is stored, and comes back as its own.
    bar->SetShowHint(false);
    bar->SetCtl3D(false);
    const std::string own = StoredText(Form);
    EXPECT_NE(own.find("    Ctl3D = False\r\n"), std::string::npos) << own;
    EXPECT_NE(own.find("    ParentShowHint = False\r\n"), std::string::npos) << own;
    copy->Free();
}

} // namespace
} // namespace ld::test
