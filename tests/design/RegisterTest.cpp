// Register makes exactly its calls, in their order, and the palette the
// environment builds from them.
#include <gtest/gtest.h>

#include "controls/bar/Launchdeck.h"
#include "controls/list/ShortcutList.h"
#include "design/LaunchdeckEditor.h"
#include "design/LaunchdeckRegister.h"
#include "host/DesignHost.h"
#include "platform/core/ClassRegistry.h"

namespace ld::test {
namespace {

// Writes down every registration, with whether sheets could be streamed by then.
class TRecordingRegistrar : public TDesignRegistrar {
public:
    std::vector<std::string> Calls;

    void RegisterComponents(const std::string& page, const std::vector<TClass>& classes) override
    {
        Note("RegisterComponents " + page + Names(classes));
    }
    void RegisterNoIcon(const std::vector<TClass>& classes) override { Note("RegisterNoIcon" + Names(classes)); }
    void RegisterComponentEditor(TClass cls, const TComponentEditorClass& editor) override
    {
        Note("RegisterComponentEditor " + cls->Name + " " + editor.Class->Name);
    }
    void RegisterPropertyEditor(TClass type, TClass cls, const std::string& name,
                                const TPropertyEditorClass& editor) override
    {
        Note("RegisterPropertyEditor " + type->Name + " " + cls->Name + " " + name + " " + editor.Class->Name);
    }

private:
    void Note(const std::string& call)
    {
        Calls.push_back(call + (GetClass("TShortcutSheet") ? " (sheets streamable)" : ""));
    }
    static std::string Names(const std::vector<TClass>& classes)
    {
        std::string text;
        for (TClass c : classes)
            text += " " + c->Name;
        return text;
    }
};

TEST(Register, MakesItsCallsInOrderAndRegistersSheetsForStreamingLast)
{
    UnRegisterClass(TShortcutSheet::StaticClass());
    TRecordingRegistrar registrar;
    SetDesignRegistrar(&registrar);
    Register();
    SetDesignRegistrar(nullptr);
    EXPECT_EQ(registrar.Calls, (std::vector<std::string>{
                                   "RegisterComponents Launchdeck TLaunchdeck TShortcutList",
                                   "RegisterComponentEditor TLaunchdeck TLaunchdeckEditor",
                                   "RegisterComponentEditor TShortcutSheet TLaunchdeckEditor",
                                   "RegisterPropertyEditor TShortcutItems TShortcutList Items TShortcutItemsProperty",
                                   "RegisterNoIcon TShortcutSheet",
                               }));
    EXPECT_EQ(GetClass("TShortcutSheet"), TShortcutSheet::StaticClass());
}

TEST(Register, ThePaletteHoldsTheBarThenTheListAndSheetsHaveNoIcon)
{
    TDesignHost host;
    host.LoadPackage(LD_PACKAGE_FILE);
    const TDesignRegistry& registry = host.GetRegistry();
    ASSERT_EQ(registry.GetPalette().size(), 1u);
    const TPalettePage& page = registry.GetPalette()[0];
    EXPECT_EQ(page.Name, "Launchdeck");
    EXPECT_EQ(page.Classes, (std::vector<TClass>{TLaunchdeck::StaticClass(), TShortcutList::StaticClass()}));
    EXPECT_TRUE(registry.IsNoIcon(TShortcutSheet::StaticClass()));
    EXPECT_FALSE(registry.IsNoIcon(TLaunchdeck::StaticClass()));
    EXPECT_EQ(registry.FindComponentEditor(TShortcutSheet::StaticClass()).Class, TLaunchdeckEditor::StaticClass());
    EXPECT_EQ(registry.FindComponentEditor(TShortcutList::StaticClass()).Class, nullptr);
}

} // namespace
} // namespace ld::test
