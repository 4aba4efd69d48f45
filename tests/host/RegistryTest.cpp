// The registration tables: palette order, no-icon classes, which editor a
// component or a property gets, and forgetting what a module registered.
#include <gtest/gtest.h>

#include "host/DesignHost.h"
#include "platform/core/ClassRegistry.h"
#include "tests/host/HostTestClasses.h"

namespace ld::test {
namespace {

const HMODULE ModuleA = reinterpret_cast<HMODULE>(0x1000);
const HMODULE ModuleB = reinterpret_cast<HMODULE>(0x2000);

std::vector<std::string> Names(const std::vector<TClass>& classes)
{
    std::vector<std::string> names;
    for (TClass c : classes)
        names.push_back(c->Name);
    return names;
}

TEST(DesignRegistry, PalettePagesKeepTheirOrderAndTheClassArraysOrder)
{
    TDesignRegistry registry;
    registry.RegisterComponents("Probes", {TProbeChild::StaticClass(), TProbe::StaticClass()});
    registry.RegisterComponents("Other", {TComponent::StaticClass()});
    // Registered again, even on another page, a class stays where it is.
    registry.RegisterComponents("probes", {TProbe::StaticClass(), TComponent::StaticClass()});

    ASSERT_EQ(registry.GetPalette().size(), 2u);
    EXPECT_EQ(registry.GetPalette()[0].Name, "Probes");
    EXPECT_EQ(Names(registry.GetPalette()[0].Classes), (std::vector<std::string>{"TProbeChild", "TProbe"}));
    EXPECT_EQ(Names(registry.GetPalette()[1].Classes), (std::vector<std::string>{"TComponent"}));
    EXPECT_EQ(registry.FindPage("PROBES"), &registry.GetPalette()[0]);
    // A placed component must load again: palette classes can be streamed.
    EXPECT_EQ(GetClass("TProbeChild"), TProbeChild::StaticClass());
}

TEST(DesignRegistry, OnlyComponentClassesAreRegistered)
{
    TDesignRegistry registry;
    EXPECT_THROW(registry.RegisterComponents("Probes", {TProbe::StaticClass(), TProbeValue::StaticClass()}),
                 EComponentError);
    EXPECT_TRUE(registry.GetPalette().empty()) << "a refused array leaves nothing behind";
    EXPECT_THROW(registry.RegisterComponents("  ", {TProbe::StaticClass()}), EComponentError);
    EXPECT_THROW(registry.RegisterNoIcon({nullptr}), EComponentError);
    EXPECT_THROW(registry.RegisterComponentEditor(TProbeValue::StaticClass(), ComponentEditorClass<TOtherEditor>()),
                 EComponentError);
}

TEST(DesignRegistry, NoIconAppliesToDescendantsUnlessTheyAreOnThePalette)
{
    TDesignRegistry registry;
    registry.RegisterNoIcon({TProbe::StaticClass()});
    EXPECT_TRUE(registry.IsNoIcon(TProbe::StaticClass()));
    EXPECT_TRUE(registry.IsNoIcon(TProbeChild::StaticClass()));
    EXPECT_FALSE(registry.IsNoIcon(TCustomControl::StaticClass()));
    registry.RegisterComponents("Probes", {TProbeChild::StaticClass()});
    EXPECT_FALSE(registry.IsNoIcon(TProbeChild::StaticClass()));
}

TEST(DesignRegistry, ComponentEditorOfTheNearestAncestorWinsThenTheLatest)
{
    TDesignRegistry registry;
    EXPECT_EQ(registry.FindComponentEditor(TProbeChild::StaticClass()).Class, nullptr);
    registry.RegisterComponentEditor(TProbe::StaticClass(), ComponentEditorClass<TRecordingEditor>());
    EXPECT_EQ(registry.FindComponentEditor(TProbeChild::StaticClass()).Class, TRecordingEditor::StaticClass());
    EXPECT_EQ(registry.FindComponentEditor(TCustomControl::StaticClass()).Class, nullptr);

    // A farther ancestor registered later does not override the nearer one...
    registry.RegisterComponentEditor(TCustomControl::StaticClass(), ComponentEditorClass<TOtherEditor>());
    EXPECT_EQ(registry.FindComponentEditor(TProbeChild::StaticClass()).Class, TRecordingEditor::StaticClass());
    // ...a later registration for the same class does.
    registry.RegisterComponentEditor(TProbe::StaticClass(), ComponentEditorClass<TOtherEditor>());
    EXPECT_EQ(registry.FindComponentEditor(TProbeChild::StaticClass()).Class, TOtherEditor::StaticClass());
    registry.RegisterComponentEditor(TProbeChild::StaticClass(), ComponentEditorClass<TRecordingEditor>());
    EXPECT_EQ(registry.FindComponentEditor(TProbeChild::StaticClass()).Class, TRecordingEditor::StaticClass());

    // Without a registration a component gets the default editor: no verbs.
    TComponent plain(nullptr);
    auto editor = registry.GetComponentEditor(&plain, nullptr);
    EXPECT_EQ(editor->ClassType(), TDefaultEditor::StaticClass());
    EXPECT_EQ(editor->GetVerbCount(), 0);
    editor->Edit(); // nothing to run
}

TEST(DesignRegistry, PropertyEditorMatchesTypeComponentClassAndName)
{
    TDesignRegistry registry;
    const TPropInfo* value = TProbe::StaticClass()->FindProperty("Value");
    const TPropInfo* other = TProbe::StaticClass()->FindProperty("Other");

    registry.RegisterPropertyEditor(TProbeValue::StaticClass(), TProbe::StaticClass(), "Value",
                                    PropertyEditorClass<TProbeValueProperty>());
    EXPECT_EQ(registry.FindPropertyEditor(value, TProbe::StaticClass()).Class, TProbeValueProperty::StaticClass());
    EXPECT_EQ(registry.FindPropertyEditor(value, TProbeChild::StaticClass()).Class,
              TProbeValueProperty::StaticClass())
        << "applies to descendants of the component class";
    EXPECT_EQ(registry.FindPropertyEditor(other, TProbe::StaticClass()).Class, nullptr) << "another name";
    EXPECT_EQ(registry.FindPropertyEditor(value, TCustomControl::StaticClass()).Class, nullptr)
        << "an ancestor of the component class";

    // Any property of an ancestor type, on any component: a weaker match than the
    // one naming the component class and the property.
    registry.RegisterPropertyEditor(TPersistent::StaticClass(), nullptr, "", PropertyEditorClass<TOtherValueProperty>());
    EXPECT_EQ(registry.FindPropertyEditor(value, TProbe::StaticClass()).Class, TProbeValueProperty::StaticClass());
    EXPECT_EQ(registry.FindPropertyEditor(other, TProbe::StaticClass()).Class, TOtherValueProperty::StaticClass());

    // Without a registration an object property gets TClassProperty.
    TDesignRegistry empty;
    TProbe probe(nullptr);
    auto editor = empty.GetPropertyEditor(value, {&probe}, nullptr);
    EXPECT_EQ(editor->ClassType(), TClassProperty::StaticClass());
    EXPECT_EQ(editor->GetValue(), "(TProbeValue)");
    EXPECT_EQ(editor->GetAttributes(), (TPropertyAttributes{paMultiSelect, paSubProperties, paReadOnly}));
}

TEST(DesignRegistry, UnregisteringAModuleTakesOnlyItsRegistrations)
{
    TDesignRegistry registry;
    registry.SetRegisteringModule(ModuleA);
    registry.RegisterComponents("Probes", {TProbe::StaticClass()});
    registry.RegisterComponentEditor(TProbe::StaticClass(), ComponentEditorClass<TRecordingEditor>());
    registry.RegisterNoIcon({TProbeChild::StaticClass()});
    registry.SetRegisteringModule(ModuleB);
    registry.RegisterComponents("Probes", {TProbeChild::StaticClass()});
    registry.RegisterComponents("B only", {TComponent::StaticClass()});
    registry.RegisterPropertyEditor(TProbeValue::StaticClass(), nullptr, "", PropertyEditorClass<TProbeValueProperty>());

    registry.UnregisterModule(ModuleB);
    ASSERT_EQ(registry.GetPalette().size(), 1u) << "a page left empty goes";
    EXPECT_EQ(Names(registry.GetPalette()[0].Classes), (std::vector<std::string>{"TProbe"}));
    EXPECT_EQ(registry.FindPropertyEditor(TProbe::StaticClass()->FindProperty("Value"), TProbe::StaticClass()).Class,
              nullptr);
    EXPECT_EQ(registry.FindComponentEditor(TProbe::StaticClass()).Class, TRecordingEditor::StaticClass());

    registry.UnregisterModule(ModuleA);
    EXPECT_TRUE(registry.GetPalette().empty());
    EXPECT_FALSE(registry.IsNoIcon(TProbeChild::StaticClass()));
    EXPECT_EQ(registry.FindComponentEditor(TProbe::StaticClass()).Class, nullptr);
}

TEST(DesignRegistration, RoutinesReachTheRunningEnvironmentOnly)
{
    EXPECT_THROW(RegisterComponents("Probes", {TProbe::StaticClass()}), EComponentError);
    EXPECT_THROW(RegisterComponentEditor(TProbe::StaticClass(), ComponentEditorClass<TRecordingEditor>()),
                 EComponentError);
    {
        TDesignHost host;
        EXPECT_THROW(TDesignHost second, EInvalidOperation);
        RegisterComponents("Probes", {TProbe::StaticClass()});
        RegisterNoIcon({TProbeChild::StaticClass()});
        RegisterComponentEditor(TProbe::StaticClass(), ComponentEditorClass<TRecordingEditor>());
        RegisterPropertyEditor(TProbeValue::StaticClass(), TProbe::StaticClass(), "Value",
                               PropertyEditorClass<TProbeValueProperty>());
        const TDesignRegistry& registry = host.GetRegistry();
        ASSERT_NE(registry.FindPage("Probes"), nullptr);
        EXPECT_TRUE(registry.IsNoIcon(TProbeChild::StaticClass()));
        EXPECT_EQ(registry.FindComponentEditor(TProbe::StaticClass()).Class, TRecordingEditor::StaticClass());
        EXPECT_EQ(registry.FindPropertyEditor(TProbe::StaticClass()->FindProperty("Value"), TProbe::StaticClass()).Class,
                  TProbeValueProperty::StaticClass());
    }
    EXPECT_EQ(GetDesignRegistrar(), nullptr);
    EXPECT_THROW(RegisterNoIcon({TProbe::StaticClass()}), EComponentError);
}

} // namespace
} // namespace ld::test
