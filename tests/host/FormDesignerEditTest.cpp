// The form designer's edits: every change undone and redone to the stored
// bytes, the selection keys, where dropped controls go, and components
// carried through the clipboard as their text form.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "host/DesignEdits.h"
#include "host/DesignHost.h"
#include "host/FormDesigner.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/win/TickSource.h"
#include "tests/host/HostTestClasses.h"

namespace ld::test {
namespace {

class FormDesignerEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TickSource::UseSimulatedClock(10000);
        Backend = std::make_unique<THeadlessBackend>();
        Host = std::make_unique<TDesignHost>();
        RegisterComponents("Probes", {TProbe::StaticClass(), TGroupBox::StaticClass()});
        Designer = std::make_unique<THostFormDesigner>(Host->GetRegistry());
        Form()->SetBounds(100, 100, 400, 300);
        Form()->Show();
        Designer->ResetHistory();
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
    TCustomForm* Form() const { return Designer->GetForm(); }
    TControl* Find(const std::string& name) const { return dynamic_cast<TControl*>(Form()->FindComponent(name)); }
    TControl* Place(TClass cls, const TRect& bounds, TWinControl* parent = nullptr)
    {
        return dynamic_cast<TControl*>(Designer->CreateComponent(cls, parent, bounds));
    }
    std::vector<std::string> SelectedNames() const
    {
        std::vector<std::string> names;
        for (TPersistent* p : Designer->GetSelection())
            names.push_back(dynamic_cast<TComponent*>(p)->GetName());
        return names;
    }

    std::unique_ptr<THeadlessBackend> Backend;
    std::unique_ptr<TDesignHost> Host;
    std::unique_ptr<THostFormDesigner> Designer;
};

// Components are found by name in every step: undo and redo read them anew.
TEST_F(FormDesignerEditTest, EveryChangeUndoesToTheBytesBeforeItAndRedoesToThoseAfter)
{
    const std::string empty = Designer->Save(false);
    const std::vector<std::pair<std::string, std::function<void()>>> changes{
        {"place", [&] { Place(TProbe::StaticClass(), {8, 8, 68, 48}); }},
        {"place a group box", [&] { Place(TGroupBox::StaticClass(), {120, 40, 320, 240}); }},
        {"move into the group box",
         [&] {
             Designer->SelectComponent(Find("Probe1"));
             Designer->MoveSelection({150, 60}, dynamic_cast<TWinControl*>(Find("GroupBox1")));
         }},
        {"size by a handle", [&] { Designer->SetControlBounds(Find("Probe1"), {16, 24, 96, 64}); }},
        {"Ctrl+Right", [&] { Designer->KeyDown(VK_RIGHT, TShiftState{ssCtrl}); }},
        {"Shift+Down", [&] { Designer->KeyDown(VK_DOWN, TShiftState{ssShift}); }},
        {"a property editor",
         [&] {
             auto* probe = dynamic_cast<TProbe*>(Find("Probe1"));
             TProbeValue value;
             value.Value = 42;
             TClassProperty(Designer.get(), {probe}, TProbe::StaticClass()->FindProperty("Value")).SetOrdValue(&value);
         }},
        {"the form's own property",
         [&] {
             dynamic_cast<TForm*>(Form())->SetKeyPreview(true);
             Designer->Modified();
         }},
        {"paste", [&] {
             Designer->SelectComponent(Find("GroupBox1"));
             Designer->CopySelection();
             Designer->SelectComponent(Form());
             Designer->PasteFromClipboard();
         }},
        {"delete", [&] {
             Designer->SelectComponent(Find("GroupBox1"));
             Designer->KeyDown(VK_DELETE, {});
         }},
    };
    std::vector<std::string> states{empty};
    for (const auto& [name, change] : changes) {
        const std::string before = Designer->Save(false);
        change();
        Backend->RunUntilIdle();
        const std::string after = Designer->Save(false);
        ASSERT_NE(after, before) << name;
        Designer->Undo();
        EXPECT_EQ(Designer->Save(false), before) << "undo of " << name;
        Designer->Redo();
        EXPECT_EQ(Designer->Save(false), after) << "redo of " << name;
        states.push_back(after);
    }
    EXPECT_EQ(Designer->GetHistory().UndoCount(), changes.size());

    // All the way back and forth again, over every state.
    for (size_t i = states.size() - 1; i > 0; --i) {
        Designer->Undo();
        EXPECT_EQ(Designer->Save(false), states[i - 1]) << "undo to the state before " << changes[i - 1].first;
    }
    EXPECT_FALSE(Designer->CanUndo());
    EXPECT_FALSE(dynamic_cast<TForm*>(Form())->GetKeyPreview()) << "a property stored no more is back at its default";
    for (size_t i = 1; i < states.size(); ++i)
        Designer->Redo();
    EXPECT_EQ(Designer->Save(false), states.back());

    // The undo of a delete selects what it brings back; a new change ends the redo.
    Designer->Undo();
    EXPECT_EQ(SelectedNames(), std::vector<std::string>{"GroupBox1"});
    EXPECT_EQ(Find("Probe1")->GetParent(), Find("GroupBox1")) << "children come back with their parent";
    Designer->KeyDown(VK_LEFT, TShiftState{ssCtrl});
    EXPECT_FALSE(Designer->CanRedo());
}

// Escape climbs to the parent, Tab walks the form's components round; a
// control dropped goes into the deepest container under the pointer that
// takes it, and never into itself or out of a parent that placed it.
TEST_F(FormDesignerEditTest, KeysWalkTheSelectionAndDropsFollowTheContainers)
{
    TControl* a = Place(TProbe::StaticClass(), {8, 8, 68, 48});
    auto* box = dynamic_cast<TWinControl*>(Place(TGroupBox::StaticClass(), {120, 40, 320, 240}));
    TControl* inner = Place(TProbe::StaticClass(), {16, 24, 76, 64}, box);
    // A control put into one that takes no controls (as a bar holds its sheets).
    auto* holder = dynamic_cast<TWinControl*>(Place(TProbe::StaticClass(), {8, 120, 108, 220}));
    TControl* held = Place(TProbe::StaticClass(), {4, 4, 40, 40}, holder);
    Backend->RunUntilIdle();

    Designer->SelectComponent(held);
    Designer->KeyDown(VK_ESCAPE, {});
    EXPECT_EQ(Designer->GetSelection(), std::vector<TPersistent*>{holder});
    Designer->KeyDown(VK_ESCAPE, {});
    EXPECT_EQ(Designer->GetSelection(), std::vector<TPersistent*>{Form()});
    Designer->KeyDown(VK_TAB, {});
    EXPECT_EQ(Designer->GetSelection(), std::vector<TPersistent*>{a});
    Designer->KeyDown(VK_TAB, TShiftState{ssShift});
    EXPECT_EQ(Designer->GetSelection(), std::vector<TPersistent*>{held}) << "Shift+Tab goes round backwards";
    Designer->KeyDown(VK_TAB, {});
    EXPECT_EQ(Designer->GetSelection(), std::vector<TPersistent*>{a});

    const TPoint overInner = inner->ClientToScreen({5, 5});
    EXPECT_EQ(DropTargetAt(Form(), overInner, {a}), box) << "the group box, not the probe in it";
    EXPECT_EQ(DropTargetAt(Form(), overInner, {box}), Form()) << "never into itself";
    EXPECT_EQ(DropTargetAt(Form(), holder->ClientToScreen({60, 60}), {a}), Form()) << "a probe takes no controls";
    EXPECT_TRUE(IsHeldByParent(held));
    EXPECT_FALSE(IsHeldByParent(inner));

    // Both moved by one drop: the held one only within its holder.
    Designer->SetSelection({a, held});
    Designer->MoveSelection({130, 60}, box);
    EXPECT_EQ(a->GetParent(), box);
    EXPECT_EQ(ScreenTopLeft(a), Form()->ClientToScreen({8 + 130, 8 + 60}));
    EXPECT_EQ(held->GetParent(), holder);
    EXPECT_EQ(held->GetLeft(), 4 + 130);

    EXPECT_EQ(SnapToGrid(11), 8);
    EXPECT_EQ(SnapToGrid(12), 16);
    EXPECT_EQ(SnapToGrid(-5), -8);
    EXPECT_EQ(SnapToGrid(-3), 0);
}

TEST_F(FormDesignerEditTest, CopiedComponentsAreTheirTextFormAndPasteWithFreeNames)
{
    auto* box = dynamic_cast<TWinControl*>(Place(TGroupBox::StaticClass(), {120, 40, 320, 240}));
    auto* probe = dynamic_cast<TProbe*>(Place(TProbe::StaticClass(), {16, 24, 76, 64}, box));
    probe->GetValue()->Value = 7;
    Designer->SetSelection({probe, box});
    const std::string text = Designer->CopySelection();
    EXPECT_EQ(text, "object GroupBox1: TGroupBox\r\n"
                    "  Left = 120\r\n"
                    "  Top = 40\r\n"
                    "  Width = 200\r\n"
                    "  Height = 200\r\n"
                    "  Caption = 'GroupBox1'\r\n"
                    "  TabOrder = 0\r\n"
                    "  object Probe1: TProbe\r\n"
                    "    Left = 16\r\n"
                    "    Top = 24\r\n"
                    "    Width = 60\r\n"
                    "    Height = 40\r\n"
                    "    Value.Value = 7\r\n"
                    "  end\r\n"
                    "end\r\n")
        << "the outermost selected only, with what it holds";
    EXPECT_EQ(Clipboard()->GetAsText(), text);

    // Into the selected container; names in use give way.
    Designer->SelectComponent(box);
    const Integer before = Designer->GetModifiedCount();
    const std::vector<TComponent*> pasted = Designer->PasteFromClipboard();
    ASSERT_EQ(pasted.size(), 1u);
    EXPECT_EQ(pasted[0]->GetName(), "GroupBox2");
    EXPECT_EQ(dynamic_cast<TControl*>(pasted[0])->GetParent(), box);
    auto* copy = dynamic_cast<TProbe*>(Find("Probe2"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetParent(), pasted[0]);
    EXPECT_EQ(copy->GetValue()->Value, 7);
    EXPECT_EQ(Designer->GetSelection(), std::vector<TPersistent*>{pasted[0]});
    EXPECT_EQ(Designer->GetModifiedCount(), before + 1);

    // Two blocks as they stand in a form file, indented, one after the other,
    // into the selected control's container.
    Designer->SelectComponent(probe);
    const std::vector<TComponent*> two = Designer->PasteText("  object Probe1: TProbe\r\n    Left = 1\r\n  end\r\n"
                                                             "  object Extra: TProbe\r\n    Top = 2\r\n  end\r\n");
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0]->GetName(), "Probe3");
    EXPECT_EQ(two[1]->GetName(), "Extra");
    EXPECT_EQ(dynamic_cast<TControl*>(two[1])->GetParent(), box);

    // Text that is no form text changes nothing.
    const std::string saved = Designer->Save(false);
    const size_t undoable = Designer->GetHistory().UndoCount();
    EXPECT_THROW(Designer->PasteText("object Broken: TProbe\r\n  Left = \r\n"), EParserError);
    EXPECT_THROW(Designer->PasteText("object A: TNoSuchClass\r\nend\r\n"), EClassNotFound);
    EXPECT_THROW(Designer->PasteText("Hello"), EParserError);
    EXPECT_EQ(Designer->Save(false), saved);
    EXPECT_EQ(Designer->GetHistory().UndoCount(), undoable);
}

} // namespace
} // namespace ld::test
