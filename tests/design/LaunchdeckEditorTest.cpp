// "New &Sheet" on a designed form: on a bar without sheets, on a selected
// sheet, twice, by double-click, and a failure while naming the sheet.
#include <gtest/gtest.h>

#include <memory>

#include "controls/bar/Launchdeck.h"
#include "design/LaunchdeckEditor.h"
#include "host/DesignHost.h"
#include "host/FormDesigner.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/gfx/RectUtils.h"
#include "platform/win/TickSource.h"

namespace ld::test {
namespace {

// A designer whose unique-name service hands out a name already in use.
class TBrokenNamesDesigner : public THostFormDesigner {
public:
    using THostFormDesigner::THostFormDesigner;
    std::string UniqueName(const std::string&) override { return "Launchdeck1"; }
};

class LaunchdeckEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TickSource::UseSimulatedClock(10000);
        Backend = std::make_unique<THeadlessBackend>();
        Host = std::make_unique<TDesignHost>();
        Host->LoadPackage(LD_PACKAGE_FILE);
        Designer = std::make_unique<THostFormDesigner>(Host->GetRegistry());
        ShowForm(*Designer);
        Bar = PlaceBar(*Designer);
    }
    void TearDown() override
    {
        Designer.reset();
        Host.reset();
        Backend->RunUntilIdle();
        Backend.reset();
        TickSource::UseMonotonicClock();
    }
    void ShowForm(THostFormDesigner& designer)
    {
        designer.GetForm()->SetBounds(100, 100, 400, 360);
        designer.GetForm()->Show();
        Backend->RunUntilIdle();
    }
    TLaunchdeck* PlaceBar(THostFormDesigner& designer)
    {
        auto* bar = dynamic_cast<TLaunchdeck*>(
            designer.CreateComponent(TLaunchdeck::StaticClass(), nullptr, {0, 0, 84, 300}));
        Backend->RunUntilIdle();
        return bar;
    }
    TShortcutSheet* NewSheetVia(TComponent* component)
    {
        const Integer before = Designer->GetModifiedCount();
        Designer->ExecuteVerb(component, 0);
        Backend->RunUntilIdle();
        EXPECT_EQ(Designer->GetModifiedCount(), before + 1);
        return Bar->GetSheet(Bar->GetSheetCount() - 1);
    }

    std::unique_ptr<THeadlessBackend> Backend;
    std::unique_ptr<TDesignHost> Host;
    std::unique_ptr<THostFormDesigner> Designer;
    TLaunchdeck* Bar = nullptr;
};

TEST_F(LaunchdeckEditorTest, OneVerbForTheBarAndForItsSheets)
{
    EXPECT_EQ(Designer->GetVerbs(Bar), (std::vector<std::string>{"New &Sheet"}));
    TShortcutSheet* sheet = NewSheetVia(Bar);
    EXPECT_EQ(Designer->GetVerbs(sheet), (std::vector<std::string>{"New &Sheet"}));

    TLaunchdeckEditor editor(Bar, Designer.get());
    EXPECT_EQ(editor.GetVerbCount(), 1);
    EXPECT_EQ(editor.GetVerb(1), "");
    editor.ExecuteVerb(1);
    EXPECT_EQ(Bar->GetSheetCount(), 1) << "only verb 0 does something";
}

TEST_F(LaunchdeckEditorTest, NewSheetOnABarWithoutSheetsOpensAndSelectsIt)
{
    ASSERT_EQ(Bar->GetSheetCount(), 0);
    TShortcutSheet* sheet = NewSheetVia(Bar);
    ASSERT_EQ(Bar->GetSheetCount(), 1);
    EXPECT_EQ(sheet->GetName(), "ShortcutSheet1");
    EXPECT_EQ(sheet->GetCaption(), "ShortcutSheet1") << "a new sheet's caption follows its name";
    EXPECT_EQ(sheet->Owner(), Designer->GetForm()) << "stored with the form";
    EXPECT_EQ(sheet->GetParent(), Bar);
    EXPECT_EQ(sheet->GetLaunchdeck(), Bar);
    EXPECT_TRUE(sheet->ComponentState().Contains(csDesigning));
    EXPECT_EQ(Bar->GetActiveSheet(), sheet);
    EXPECT_EQ(Designer->GetSelection(), (std::vector<TPersistent*>{sheet}));
}

TEST_F(LaunchdeckEditorTest, NewSheetOnASelectedSheetAppendsToItsBarTwiceWithTwoNames)
{
    TShortcutSheet* first = NewSheetVia(Bar);
    TShortcutSheet* second = NewSheetVia(first);
    TShortcutSheet* third = NewSheetVia(first);
    EXPECT_EQ(second->GetName(), "ShortcutSheet2");
    EXPECT_EQ(third->GetName(), "ShortcutSheet3");
    ASSERT_EQ(Bar->GetSheetCount(), 3);
    EXPECT_EQ(Bar->GetSheet(1), second);
    EXPECT_EQ(Bar->GetSheet(2), third) << "at the end of the sheet order";
    EXPECT_EQ(Bar->GetActiveSheet(), third);
    EXPECT_EQ(Designer->GetSelection(), (std::vector<TPersistent*>{third}));
}

TEST_F(LaunchdeckEditorTest, DoubleClickOnTheBarOrASheetAddsASheet)
{
    TPoint p = Bar->ClientToScreen({40, 100});
    Backend->DoubleClick(p.X, p.Y);
    Backend->RunUntilIdle();
    ASSERT_EQ(Bar->GetSheetCount(), 1);
    TShortcutSheet* first = Bar->GetSheet(0);
    EXPECT_EQ(Bar->GetActiveSheet(), first);
    EXPECT_EQ(Designer->GetSelection(), (std::vector<TPersistent*>{first}));

    // The open sheet's window now lies under the pointer: the sheet is edited.
    ASSERT_TRUE(PtInRect(first->GetBoundsRect(), Bar->ScreenToClient(p)));
    Backend->DoubleClick(p.X, p.Y);
    Backend->RunUntilIdle();
    ASSERT_EQ(Bar->GetSheetCount(), 2);
    EXPECT_EQ(Bar->GetActiveSheet(), Bar->GetSheet(1));
    EXPECT_EQ(Bar->GetSheet(1)->GetName(), "ShortcutSheet2");
}

TEST_F(LaunchdeckEditorTest, AFailureWhileNamingFreesTheHalfMadeSheetAndLeavesTheBarAsItWas)
{
    TBrokenNamesDesigner broken(Host->GetRegistry());
    ShowForm(broken);
    TLaunchdeck* bar = PlaceBar(broken);
    ASSERT_EQ(bar->GetName(), "Launchdeck1");
    TShortcutSheet* first = bar->NewSheet();
    TShortcutSheet* second = bar->NewSheet();
    bar->SetActiveSheet(first);
    broken.SelectComponent(second);
    const Integer components = broken.GetForm()->ComponentCount();
    const Integer modified = broken.GetModifiedCount();

    try {
        broken.ExecuteVerb(bar, 0);
        FAIL() << "the name clash must reach the caller";
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "A component named Launchdeck1 already exists");
    }
    EXPECT_EQ(broken.GetForm()->ComponentCount(), components) << "the half-made sheet was freed";
    ASSERT_EQ(bar->GetSheetCount(), 2);
    EXPECT_EQ(bar->GetSheet(0), first);
    EXPECT_EQ(bar->GetSheet(1), second);
    EXPECT_EQ(bar->GetActiveSheet(), first);
    EXPECT_EQ(bar->GetControlCount(), 2);
    EXPECT_EQ(broken.GetSelection(), (std::vector<TPersistent*>{second}));
    EXPECT_EQ(broken.GetModifiedCount(), modified);
}

TEST_F(LaunchdeckEditorTest, ASheetOutsideABarOffersTheVerbButDoesNothing)
{
    auto* loose = new TShortcutSheet(Designer->GetForm());
    loose->SetName("Loose");
    EXPECT_EQ(Designer->GetVerbs(loose), (std::vector<std::string>{"New &Sheet"}));
    const Integer components = Designer->GetForm()->ComponentCount();
    Designer->ExecuteVerb(loose, 0);
    EXPECT_EQ(Designer->GetForm()->ComponentCount(), components);

    TComponent other(nullptr);
    TLaunchdeckEditor editor(&other, Designer.get());
    EXPECT_THROW(editor.ExecuteVerb(0), EInvalidCast);
}

} // namespace
} // namespace ld::test
