// The property view on the package's own components, driven as a person
// drives it: every kind of property edited through its row (a set element by
// element, colours by name and number, a reference from its list, an object's
// sub-properties, events), refusals with the host's messages, and the form
// file that results, which opens again to the same bytes.
#include <gtest/gtest.h>

#include <filesystem>

#include "apps/designer/DesignerWindow.h"
#include "apps/designer/ScriptedUser.h"
#include "controls/bar/Launchdeck.h"
#include "controls/list/ShortcutList.h"
#include "host/DesignHost.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/gfx/Png.h"
#include "platform/win/TickSource.h"

namespace ld::test {
namespace {

class PropertyViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TickSource::UseSimulatedClock(10000);
        Backend = std::make_unique<THeadlessBackend>();
        Host = std::make_unique<TDesignHost>();
        Host->LoadPackage(LD_PACKAGE_FILE);
        Window = std::make_unique<TDesignerWindow>(Host->GetRegistry(),
                                                   std::make_unique<THostFormDesigner>(Host->GetRegistry()), "");
        User = std::make_unique<TScriptedUser>(*Backend, *Window, [](const std::string&) {});
        Bar = dynamic_cast<TLaunchdeck*>(
            Designer().CreateComponent(TLaunchdeck::StaticClass(), nullptr, {0, 0, 100, 300}));
        Designer().ExecuteVerb(Bar, 0);
        Designer().ExecuteVerb(Bar, 0);
        List = dynamic_cast<TShortcutList*>(
            Designer().CreateComponent(TShortcutList::StaticClass(), Bar->GetSheet(1), {0, 0, 80, 200}));
        Designer().SelectComponent(Bar);
        Backend->RunUntilIdle();
        Window->Sync();
    }
    void TearDown() override
    {
        User.reset();
        Window.reset();
        Host.reset();
        Backend->RunUntilIdle();
        Backend.reset();
        TickSource::UseMonotonicClock();
    }

    THostFormDesigner& Designer() { return Window->Designer(); }
    TPropertyView* View() { return Window->PropertyView(); }
    void Do(const std::vector<std::string>& step) { ASSERT_TRUE(User->Step(step)) << step[0]; }
    std::string Value(const std::string& path) { return View()->ValueText(View()->RowOf(path)); }

    // A step the view refuses: the message the host gives, the value and the form as they were.
    void ExpectRefused(const std::string& path, const std::string& text, const std::string& message)
    {
        const std::string before = Value(path);
        const Integer modified = Designer().GetModifiedCount();
        try {
            User->Step({"set", path, text});
            ADD_FAILURE() << path << " took " << text;
        } catch (const EPropertyError& e) {
            EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
        }
        EXPECT_EQ(Value(path), before) << path;
        EXPECT_EQ(Designer().GetModifiedCount(), modified) << path;
    }

    std::unique_ptr<THeadlessBackend> Backend;
    std::unique_ptr<TDesignHost> Host;
    std::unique_ptr<TDesignerWindow> Window;
    std::unique_ptr<TScriptedUser> User;
    TLaunchdeck* Bar = nullptr;
    TShortcutList* List = nullptr;
};

TEST_F(PropertyViewTest, EveryKindIsEditedInItsRowAndStoredAsTheHostStoresIt)
{
    // A set, element by element: three rows change, each a modification.
    const Integer modified = Designer().GetModifiedCount();
    Do({"set", "Options", "[soFlatTabs,", "soHotTabs]"});
    EXPECT_EQ(Bar->GetOptions(), (TShortcutOptions{soFlatTabs, soHotTabs}));
    EXPECT_EQ(Value("Options"), "[soFlatTabs,soHotTabs]");
    EXPECT_EQ(Value("Options.soHotTabs"), "True");
    EXPECT_EQ(Designer().GetModifiedCount(), modified + 3);
    if (const char* out = std::getenv("LD_TEST_OUTPUT")) {
        std::filesystem::create_directories(std::filesystem::path(out) / "designer");
        SavePngFile((std::filesystem::path(out) / "designer" / "property-view-options.png").string(),
                    *Backend->Capture(Window->PropertyForm()->GetBoundsRect()));
    }

    // Colours by name, by number (shown by name when it has one, else in hex).
    Do({"set", "TabColor", "clInfoBk"});
    EXPECT_EQ(Bar->GetTabColor(), clInfoBk);
    Do({"set", "TabColor", "$00FF8000"});
    EXPECT_EQ(Value("TabColor"), "$00FF8000");
    Do({"set", "TabColor", "255"});
    EXPECT_EQ(Value("TabColor"), "clRed");

    // A reference chosen from the components of its class; an object's own properties.
    Do({"set", "ActiveSheet", "ShortcutSheet1"});
    EXPECT_EQ(Bar->GetActiveSheet(), Bar->GetSheet(0));
    ASSERT_TRUE(View()->GetChoiceField()->GetVisible());
    EXPECT_EQ(View()->GetChoiceField()->GetItems()->Count(), 2) << "the sheets only";
    Do({"set", "Font.Size", "12"});
    Do({"set", "Font.Style", "[fsBold]"});
    Do({"set", "Constraints.MinWidth", "50"});
    EXPECT_EQ(Bar->GetFont()->GetSize(), 12);
    EXPECT_EQ(Value("Font.Style.fsBold"), "True");
    EXPECT_EQ(Bar->GetConstraints()->GetMinWidth(), 50);

    // Events: a name typed, a name proposed by a double-click on an empty value.
    Do({"set", "OnChange", "BarChange"});
    Do({"event", "OnChanging"});
    EXPECT_EQ(Value("OnChanging"), "Launchdeck1Changing");
    Designer().ExecuteVerb(Bar, 0); // asks OnChanging and fires OnChange: handlers without code do nothing
    EXPECT_EQ(Bar->GetSheetCount(), 3);
    Do({"event", "ShortcutList1", "OnClick"});
    EXPECT_EQ(Value("OnClick"), "ShortcutList1Click");

    // Refusals, with the host's messages.
    ExpectRefused("OnReorder", "ShortcutList1Click", "Invalid property value"); // bound to another signature
    ExpectRefused("OnReorder", "1st", "Invalid property value");
    Designer().SelectComponent(Bar);
    Window->Sync();
    ExpectRefused("MinSheetHeight", "tall", "'tall' is not a valid integer value");
    ExpectRefused("BorderStyle", "bsThick", "Invalid property value");
    ExpectRefused("ActiveSheet", "ShortcutList1", "Invalid property value");
    ExpectRefused("Name", "", "'' is not a valid component name");

    const std::string text = Designer().Save(true);
    for (const char* line : {"Options = [soFlatTabs, soHotTabs]", "TabColor = clRed", "ActiveSheet = ShortcutSheet3",
                             "Font.Height = -16", "Font.Style = [fsBold]", "Constraints.MinWidth = 50",
                             "OnChange = BarChange", "OnChanging = Launchdeck1Changing",
                             "OnClick = ShortcutList1Click"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    // The handlers' names come back when the form opens again, and so do the bytes.
    for (bool asText : {true, false}) {
        auto again = THostFormDesigner::Open(Host->GetRegistry(), Designer().Save(asText));
        EXPECT_EQ(again->Save(asText), Designer().Save(asText));
    }
}

// A list has no component editor of its own: a double-click opens its Items
// editor. The form's double-click names its OnCreate handler.
TEST_F(PropertyViewTest, DoubleClickEditsItemsOrNamesTheFirstEvent)
{
    std::string dialog;
    Backend->Script([&] {
        if (TCustomForm* active = Screen->GetActiveForm())
            dialog = active->GetCaption();
        Backend->Key(VK_ESCAPE);
    });
    Designer().EditComponent(List);
    Backend->RunUntilIdle();
    EXPECT_EQ(dialog, "ShortcutList Items Editor");
    Designer().EditComponent(Designer().GetForm());
    EXPECT_EQ(dynamic_cast<TForm*>(Designer().GetForm())->GetOnCreate().MethodName(), "FormCreate");
    Designer().EditComponent(Designer().GetForm());
    EXPECT_EQ(dynamic_cast<TForm*>(Designer().GetForm())->GetOnCreate().MethodName(), "FormCreate")
        << "a handler that has a name keeps it";
}

} // namespace
} // namespace ld::test
