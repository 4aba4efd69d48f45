// The form designer: unique names, placing components, the selection, the
// editors it makes, and design mode (mouse and key input on designed controls
// goes to the designer unless a control claims the click).
#include <gtest/gtest.h>

#include <memory>

#include "host/DesignHost.h"
#include "host/FormDesigner.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/ClassRegistry.h"
#include "platform/win/TickSource.h"
#include "tests/host/HostTestClasses.h"

namespace ld::test {
namespace {

class FormDesignerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TickSource::UseSimulatedClock(10000);
        Backend = std::make_unique<THeadlessBackend>();
        Host = std::make_unique<TDesignHost>();
        RegisterComponents("Probes", {TProbe::StaticClass(), TProbeChild::StaticClass()});
        RegisterComponentEditor(TProbe::StaticClass(), ComponentEditorClass<TRecordingEditor>());
        TRecordingEditor::Verbs = {"&First", "Second"};
        TRecordingEditor::Log.clear();
        Designer = std::make_unique<THostFormDesigner>(Host->GetRegistry());
        Designer->GetForm()->SetBounds(100, 100, 400, 300);
        Designer->GetForm()->Show();
        Backend->RunUntilIdle();
    }
    void TearDown() override
    {
        Designer.reset();
        Host.reset();
        Backend->RunUntilIdle();
        Backend.reset();
        TickSource::UseMonotonicClock();
    }
    TProbe* Place(TClass cls, Integer left, Integer top)
    {
        auto* probe = dynamic_cast<TProbe*>(Designer->CreateComponent(cls, nullptr, {left, top, left + 60, top + 40}));
        Backend->RunUntilIdle();
        return probe;
    }
    TPoint Screen(TControl* control, Integer x, Integer y) { return control->ClientToScreen({x, y}); }

    std::unique_ptr<THeadlessBackend> Backend;
    std::unique_ptr<TDesignHost> Host;
    std::unique_ptr<THostFormDesigner> Designer;
};

TEST_F(FormDesignerTest, UniqueNameDropsTheClassPrefixAndSkipsNamesInUse)
{
    EXPECT_EQ(Designer->UniqueName("TProbe"), "Probe1");
    TProbe* first = Place(TProbe::StaticClass(), 10, 10);
    EXPECT_EQ(first->GetName(), "Probe1");
    first->SetName("PROBE2"); // names compare without case
    EXPECT_EQ(Designer->UniqueName("TProbe"), "Probe1");
    Place(TProbe::StaticClass(), 80, 10);
    EXPECT_EQ(Designer->UniqueName("TProbe"), "Probe3");
    EXPECT_EQ(Designer->UniqueName("T"), "T1");
    EXPECT_EQ(Designer->UniqueName("Form"), "Form2") << "the form's own name is taken";
}

TEST_F(FormDesignerTest, PlacedComponentsAreDesignedSelectedAndMarkTheForm)
{
    EXPECT_FALSE(Designer->IsModified());
    TProbe* probe = Place(TProbeChild::StaticClass(), 10, 20);
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->Owner(), Designer->GetForm());
    EXPECT_EQ(probe->GetParent(), Designer->GetForm());
    EXPECT_EQ(probe->GetLeft(), 10);
    EXPECT_EQ(probe->GetHeight(), 40);
    EXPECT_TRUE(probe->ComponentState().Contains(csDesigning));
    EXPECT_TRUE(Designer->GetForm()->ComponentState().Contains(csDesigning));
    EXPECT_EQ(Designer->GetSelection(), (std::vector<TPersistent*>{probe}));
    EXPECT_EQ(Designer->GetModifiedCount(), 1);

    // A freed component leaves the selection.
    probe->Free();
    EXPECT_TRUE(Designer->GetSelection().empty());
}

TEST_F(FormDesignerTest, VerbsComeFromTheRegisteredEditorAndEditRunsTheFirst)
{
    TProbe* probe = Place(TProbeChild::StaticClass(), 10, 20);
    EXPECT_EQ(Designer->GetVerbs(probe), (std::vector<std::string>{"&First", "Second"}));
    Designer->ExecuteVerb(probe, 1);
    Designer->EditComponent(probe);
    EXPECT_EQ(TRecordingEditor::Log, (std::vector<std::string>{"ProbeChild1:1", "ProbeChild1:0"}));

    TRecordingEditor::Verbs.clear();
    Designer->EditComponent(probe);
    EXPECT_EQ(TRecordingEditor::Log.size(), 2u) << "Edit runs nothing when there is no verb";
}

TEST_F(FormDesignerTest, ClassPropertyReadsTheFirstAndWritesEverySelected)
{
    TProbe* a = Place(TProbe::StaticClass(), 10, 20);
    TProbe* b = Place(TProbe::StaticClass(), 80, 20);
    a->GetValue()->Value = 7;
    b->GetValue()->Value = 9;
    const TPropInfo* prop = TProbe::StaticClass()->FindProperty("Value");
    TClassProperty editor(Designer.get(), {a, b}, prop);
    EXPECT_EQ(editor.GetOrdValue(), a->GetValue());

    const Integer before = Designer->GetModifiedCount();
    TProbeValue replacement;
    replacement.Value = 42;
    editor.SetOrdValue(&replacement);
    EXPECT_EQ(a->GetValue()->Value, 42);
    EXPECT_EQ(b->GetValue()->Value, 42);
    EXPECT_EQ(Designer->GetModifiedCount(), before + 1);

    // Through the designer: the selection's editor.
    Designer->SelectComponent(b);
    auto selected = Designer->GetPropertyEditor("value");
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->GetPropCount(), 1);
    EXPECT_EQ(selected->GetComponent(0), b);
    EXPECT_THROW(selected->GetComponent(1), EListError);
    EXPECT_EQ(Designer->GetPropertyEditor("NoSuchProperty"), nullptr);
}

TEST_F(FormDesignerTest, MouseOnDesignedControlsGoesToTheDesigner)
{
    TProbe* probe = Place(TProbe::StaticClass(), 10, 20);
    TProbe* other = Place(TProbe::StaticClass(), 100, 20);
    Designer->SelectComponent(nullptr);

    TPoint p = Screen(probe, 5, 5);
    Backend->Click(p.X, p.Y);
    Backend->RunUntilIdle();
    EXPECT_EQ(probe->MouseDowns, 0) << "the designer keeps the click";
    EXPECT_EQ(Designer->GetSelection(), (std::vector<TPersistent*>{probe}));

    // A control that claims the click gets it as at run time.
    other->HitTestAnswer = 1;
    p = Screen(other, 5, 5);
    Backend->Click(p.X, p.Y);
    Backend->RunUntilIdle();
    EXPECT_EQ(other->MouseDowns, 1);
    EXPECT_EQ(Designer->GetSelection(), (std::vector<TPersistent*>{probe})) << "a claimed click selects nothing";

    // A click on the form selects the form; a double-click edits the component.
    p = Screen(Designer->GetForm(), 300, 200);
    Backend->Click(p.X, p.Y);
    Backend->RunUntilIdle();
    EXPECT_EQ(Designer->GetSelection(), (std::vector<TPersistent*>{Designer->GetForm()}));
    p = Screen(probe, 5, 5);
    Backend->DoubleClick(p.X, p.Y);
    Backend->RunUntilIdle();
    EXPECT_EQ(TRecordingEditor::Log, (std::vector<std::string>{"Probe1:0"}));
    EXPECT_EQ(Designer->GetSelection(), (std::vector<TPersistent*>{probe}));
}

TEST_F(FormDesignerTest, AChosenPaletteClassIsPlacedWhereTheFormIsClicked)
{
    TProbe* probe = Place(TProbe::StaticClass(), 10, 20);
    Designer->SetPlacingClass(TProbeChild::StaticClass());
    // On a control that takes no controls: placed on its parent, the form.
    TPoint p = Screen(probe, 30, 5);
    Backend->Click(p.X, p.Y);
    Backend->RunUntilIdle();
    auto* placed = dynamic_cast<TProbeChild*>(Designer->GetForm()->FindComponent("ProbeChild1"));
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(placed->GetParent(), Designer->GetForm());
    EXPECT_EQ(placed->GetLeft(), 40);
    EXPECT_EQ(placed->GetTop(), 25);
    EXPECT_EQ(placed->GetWidth(), 50) << "keeps the size it gave itself";
    EXPECT_EQ(placed->GetHeight(), 30);
    EXPECT_TRUE(placed->ComponentState().Contains(csDesigning));
    EXPECT_EQ(Designer->GetSelection(), (std::vector<TPersistent*>{placed}));
    EXPECT_EQ(Designer->GetPlacingClass(), nullptr) << "one click places one component";
    EXPECT_EQ(probe->MouseDowns, 0);
}

TEST_F(FormDesignerTest, RightClickOffersTheVerbsOfTheComponentUnderThePointer)
{
    TProbe* probe = Place(TProbe::StaticClass(), 10, 20);
    TComponent* menuFor = nullptr;
    TPoint menuAt;
    Designer->SetOnContextMenu([&](TComponent* c, TPoint at) {
        menuFor = c;
        menuAt = at;
    });
    const TPoint p = Screen(probe, 6, 7);
    Backend->Click(p.X, p.Y, TPointerButton::Right);
    Backend->RunUntilIdle();
    EXPECT_EQ(menuFor, probe);
    EXPECT_EQ(menuAt.X, p.X);
    EXPECT_EQ(menuAt.Y, p.Y);
}

TEST_F(FormDesignerTest, SavedFormOpensAgainWithItsDesignedComponents)
{
    TProbe* probe = Place(TProbeChild::StaticClass(), 10, 20);
    probe->GetValue()->Value = 5;
    for (bool asText : {false, true}) {
        const std::string file = Designer->Save(asText);
        auto reopened = THostFormDesigner::Open(Host->GetRegistry(), file);
        EXPECT_EQ(reopened->GetForm()->GetName(), "Form1");
        auto* copy = dynamic_cast<TProbeChild*>(reopened->GetForm()->FindComponent("ProbeChild1"));
        ASSERT_NE(copy, nullptr);
        EXPECT_TRUE(copy->ComponentState().Contains(csDesigning));
        EXPECT_EQ(copy->GetLeft(), 10);
        EXPECT_EQ(copy->GetWidth(), 60);
        EXPECT_EQ(reopened->GetForm()->ComponentCount(), 1);
    }
    EXPECT_THROW(THostFormDesigner::Open(Host->GetRegistry(), "object Form1: TForm\n  object X: TNoSuchClass\n  end\nend\n"),
                 EClassNotFound);
}

TEST_F(FormDesignerTest, TheEnvironmentHearsOfChangesAndOfKeysKeptFromDesignedControls)
{
    Integer changes = 0;
    Designer->SetOnChange([&] { ++changes; });
    TProbe* probe = Place(TProbe::StaticClass(), 10, 20);
    EXPECT_EQ(changes, 2) << "selected, then modified";
    Designer->SelectComponent(nullptr);
    EXPECT_EQ(changes, 3);
    Designer->SelectComponent(probe);
    probe->Free();
    EXPECT_EQ(changes, 5) << "a freed selected component changes the selection";
    TProbe* other = Place(TProbe::StaticClass(), 100, 20);
    Designer->SelectComponent(nullptr);
    const Integer before = changes;
    other->Free();
    EXPECT_EQ(changes, before) << "freeing what is not selected changes nothing";

    std::vector<Word> keys;
    Designer->SetOnKeyDown([&](Word key) { keys.push_back(key); });
    TProbe* focused = Place(TProbe::StaticClass(), 10, 80);
    focused->SetFocus();
    Backend->RunUntilIdle();
    Backend->Key('S');
    Backend->RunUntilIdle();
    EXPECT_EQ(keys, (std::vector<Word>{'S'}));
}

} // namespace
} // namespace ld::test
