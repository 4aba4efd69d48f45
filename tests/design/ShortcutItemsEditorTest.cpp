// The items editor through real input on the headless screen: the property
// editor opens the dialog from its stored form on a copy of a list's items;
// keys, clicks, typing and drags go through the queue into the modal loop, and
// only OK and Apply change the list.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

#include "controls/list/ShortcutList.h"
#include "design/ShortcutItemsEditor.h"
#include "host/DesignHost.h"
#include "host/FormDesigner.h"
#include "platform/gfx/Bitmap.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/win/TickSource.h"
#include "tests/support/TestOutput.h"

namespace ld::test {
namespace {

struct TItemValues {
    std::string Caption;
    Integer ImageIndex = 0;
    Integer Tag = 0;
    bool Enabled = true;
    bool operator==(const TItemValues&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TItemValues& v)
{
    return out << "{" << v.Caption << ", " << v.ImageIndex << ", " << v.Tag << ", " << v.Enabled << "}";
}

std::string OutputPath(const std::string& name)
{
    return test::TestOutputPath(name);
}

class ShortcutItemsEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TickSource::UseSimulatedClock(10000);
        Backend = std::make_unique<THeadlessBackend>();
        Host = std::make_unique<TDesignHost>();
        Host->LoadPackage(LD_PACKAGE_FILE);
        Designer = std::make_unique<THostFormDesigner>(Host->GetRegistry());
        Designer->GetForm()->SetBounds(20, 20, 300, 300);
        Designer->GetForm()->Show();
        Backend->RunUntilIdle();
        List = dynamic_cast<TShortcutList*>(
            Designer->CreateComponent(TShortcutList::StaticClass(), nullptr, {0, 0, 84, 240}));
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

    void Fill(const std::vector<TItemValues>& values)
    {
        for (const TItemValues& v : values) {
            TShortcutItem* item = List->GetItems()->Add();
            item->SetCaption(v.Caption);
            item->SetImageIndex(v.ImageIndex);
            item->SetTag(v.Tag);
            item->SetEnabled(v.Enabled);
        }
    }
    std::vector<TItemValues> ListItems() const
    {
        std::vector<TItemValues> result;
        for (Integer i = 0; i < List->GetItems()->GetCount(); ++i) {
            const TShortcutItem* item = List->GetItems()->GetItem(i);
            result.push_back({item->GetCaption(), item->GetImageIndex(), item->GetTag(), item->GetEnabled()});
        }
        return result;
    }

    // A step of the dialog's modal loop; the dialog is the active form then.
    void Then(std::function<void(TShortcutItemsEditorForm&)> step)
    {
        Backend->Script([this, step] {
            auto* dialog = dynamic_cast<TShortcutItemsEditorForm*>(Screen->GetActiveForm());
            ASSERT_NE(dialog, nullptr) << "the dialog is showing";
            step(*dialog);
        });
    }
    void ClickOn(TControl* control, TPoint at)
    {
        const TPoint p = control->ClientToScreen(at);
        Backend->Click(p.X, p.Y);
    }
    void ClickOn(TControl* control) { ClickOn(control, {control->GetWidth() / 2, control->GetHeight() / 2}); }
    // Clicks into an edit and replaces its text by typing.
    void Retype(TEdit* edit, const std::string& text)
    {
        ClickOn(edit);
        Backend->KeyWith(VK_CONTROL, 'A');
        if (text.empty())
            Backend->Key(VK_DELETE);
        else
            Backend->Type(text);
    }
    TPoint LabelCentre(TTreeView* tree, Integer index)
    {
        const TRect r = tree->LabelRect(tree->GetItems()->GetItem(index));
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    // Two steps of the modal loop: the press (which starts the drag, once the
    // tree has had it), then the move past the threshold and the release.
    void DragThen(std::function<TPoint(TShortcutItemsEditorForm&)> from,
                  std::function<TPoint(TShortcutItemsEditorForm&)> to)
    {
        Then([this, from](TShortcutItemsEditorForm& d) {
            const TPoint a = d.tvItems->ClientToScreen(from(d));
            Backend->MoveTo(a.X, a.Y);
            Backend->Press();
        });
        Then([this, to](TShortcutItemsEditorForm& d) {
            const TPoint b = d.tvItems->ClientToScreen(to(d));
            Backend->DragTo(b.X, b.Y);
            Backend->Release();
        });
    }
    static std::vector<std::string> NodeTexts(TTreeView* tree)
    {
        std::vector<std::string> texts;
        for (Integer i = 0; i < tree->GetItems()->GetCount(); ++i)
            texts.push_back(tree->GetItems()->GetItem(i)->GetText());
        return texts;
    }
    // Opens the items editor of the list as the object inspector's ellipsis does.
    void EditItems()
    {
        Designer->SelectComponent(List);
        std::unique_ptr<TPropertyEditor> editor = Designer->GetPropertyEditor("Items");
        ASSERT_NE(editor, nullptr);
        ASSERT_NE(dynamic_cast<TShortcutItemsProperty*>(editor.get()), nullptr);
        editor->Edit();
        EXPECT_TRUE(Backend->ScriptDone()) << "every step ran while the dialog was open";
        EXPECT_EQ(Screen->GetActiveForm(), Designer->GetForm());
    }

    std::unique_ptr<THeadlessBackend> Backend;
    std::unique_ptr<TDesignHost> Host;
    std::unique_ptr<THostFormDesigner> Designer;
    TShortcutList* List = nullptr;
};

TEST_F(ShortcutItemsEditorTest, TheInspectorShowsAnEllipsisAndNoSubProperties)
{
    Designer->SelectComponent(List);
    const TPropertyAttributes attributes = Designer->GetPropertyEditor("Items")->GetAttributes();
    EXPECT_TRUE(attributes.Contains(paDialog));
    EXPECT_FALSE(attributes.Contains(paSubProperties));
    EXPECT_TRUE(attributes.Contains(paReadOnly)) << "the base's other attributes stay";
}

TEST_F(ShortcutItemsEditorTest, TheDialogComesFromItsStoredFormAndShowsTheItems)
{
    Fill({{"Mail", 0, 0, true}, {"Notes", 1, 7, false}, {"Calendar", 2, 0, true}});
    Then([&](TShortcutItemsEditorForm& d) {
        EXPECT_EQ(d.GetCaption(), "ShortcutList Items Editor");
        EXPECT_EQ(d.GetClientRect(), (TRect{0, 0, 403, 189}));
        EXPECT_EQ(d.GetLeft(), (Screen->GetWidth() - d.GetWidth()) / 2) << "centred, not at the stored 301";
        EXPECT_EQ(d.btNewItem->GetParent(), d.gbItems);
        EXPECT_EQ(d.cbEnabled->GetBoundsRect(), (TRect{76, 104, 155, 125}));
        // The stored label widths are the host font's measure of the captions:
        // each caption fits its label whole.
        TBitmap measure(1, 1);
        for (auto [label, stored] : {std::pair{d.Label1, 39}, {d.Label2, 61}, {d.Label3, 22}, {d.Label4, 42}}) {
            measure.GetCanvas()->GetFont()->Assign(label->GetFont());
            EXPECT_EQ(label->GetWidth(), stored);
            EXPECT_EQ(measure.GetCanvas()->TextWidth(label->GetCaption()), stored) << label->GetCaption();
        }
        EXPECT_EQ(NodeTexts(d.tvItems), (std::vector<std::string>{"Mail", "Notes", "Calendar"}));
        EXPECT_EQ(d.tvItems->GetSelected(), d.tvItems->GetItems()->GetItem(0));
        EXPECT_EQ(d.etCaption->GetText(), "Mail");
        EXPECT_TRUE(d.etCaption->GetEnabled());
        ClickOn(d.tvItems, LabelCentre(d.tvItems, 1));
    });
    Then([&](TShortcutItemsEditorForm& d) {
        EXPECT_EQ(d.etCaption->GetText(), "Notes");
        EXPECT_EQ(d.etImageIndex->GetText(), "1");
        EXPECT_EQ(d.etTag->GetText(), "7");
        EXPECT_EQ(d.cbEnabled->GetItemIndex(), 0);
        Backend->SaveWindowShot(d.GetHandle(), OutputPath("design-items-editor.png"));
        Backend->Key(VK_ESCAPE);
    });
    EditItems();
}

TEST_F(ShortcutItemsEditorTest, AnEmptyListShowsDisabledEditsAndAnEnabledEmptyCombo)
{
    Then([&](TShortcutItemsEditorForm& d) {
        EXPECT_EQ(d.tvItems->GetItems()->GetCount(), 0);
        EXPECT_FALSE(d.etCaption->GetEnabled());
        EXPECT_FALSE(d.etTag->GetEnabled());
        EXPECT_TRUE(d.cbEnabled->GetEnabled());
        EXPECT_EQ(d.cbEnabled->GetItemIndex(), -1);
        Backend->Key(VK_ESCAPE);
    });
    EditItems();
}

TEST_F(ShortcutItemsEditorTest, EnterClicksNewItemAndEscapeCancelsLeavingTheListAlone)
{
    Fill({{"Mail", 3, 1, true}});
    const Integer modified = Designer->GetModifiedCount();
    Then([&](TShortcutItemsEditorForm&) { Backend->Key(VK_RETURN); });
    Then([&](TShortcutItemsEditorForm& d) {
        EXPECT_EQ(NodeTexts(d.tvItems), (std::vector<std::string>{"Mail", ""}));
        EXPECT_EQ(d.tvItems->GetSelected(), d.tvItems->GetItems()->GetItem(1));
        EXPECT_EQ(d.GetActiveControl(), d.etCaption) << "New Item moves the focus to the caption";
        EXPECT_EQ(d.etImageIndex->GetText(), "0");
        EXPECT_EQ(d.cbEnabled->GetItemIndex(), 1);
        Backend->Type("Notes");
    });
    Then([&](TShortcutItemsEditorForm& d) {
        EXPECT_EQ(NodeTexts(d.tvItems), (std::vector<std::string>{"Mail", "Notes"})) << "the tree follows the typing";
        Backend->Key(VK_RETURN); // from the edit, Enter is still New Item's
    });
    Then([&](TShortcutItemsEditorForm& d) {
        EXPECT_EQ(d.tvItems->GetItems()->GetCount(), 3);
        Backend->Key(VK_ESCAPE);
    });
    EditItems();
    EXPECT_EQ(ListItems(), (std::vector<TItemValues>{{"Mail", 3, 1, true}}));
    EXPECT_EQ(Designer->GetModifiedCount(), modified);
}

TEST_F(ShortcutItemsEditorTest, ApplyThenCancelKeepsTheAppliedItems)
{
    Fill({{"Mail", 3, 1, false}});
    const Integer modified = Designer->GetModifiedCount();
    Then([&](TShortcutItemsEditorForm& d) {
        ClickOn(d.btNewItem);
        Backend->Type("Tools");
    });
    Then([&](TShortcutItemsEditorForm& d) { ClickOn(d.btApply); });
    Then([&](TShortcutItemsEditorForm& d) {
        EXPECT_TRUE(d.GetVisible()) << "Apply leaves the dialog open";
        EXPECT_EQ(ListItems().size(), 2u);
        ClickOn(d.btNewItem);
    });
    Then([&](TShortcutItemsEditorForm& d) { ClickOn(d.btCancel); });
    EditItems();
    EXPECT_EQ(ListItems(), (std::vector<TItemValues>{{"Mail", 3, 1, false}, {"Tools", 0, 0, true}}));
    EXPECT_EQ(Designer->GetModifiedCount(), modified + 1);
}

TEST_F(ShortcutItemsEditorTest, TextThatIsNoNumberIsIgnoredAndAnEmptyFieldStoresZero)
{
    Fill({{"Mail", 3, 9, true}, {"Notes", 4, 5, true}});
    Then([&](TShortcutItemsEditorForm& d) { Retype(d.etImageIndex, "12x"); });
    Then([&](TShortcutItemsEditorForm& d) {
        EXPECT_EQ(d.etImageIndex->GetText(), "12x");
        Retype(d.etTag, "");
    });
    Then([&](TShortcutItemsEditorForm& d) {
        // Choosing False in the combo box by keyboard.
        ClickOn(d.cbEnabled);
        Backend->Key(VK_UP);
        Backend->Key(VK_RETURN);
    });
    Then([&](TShortcutItemsEditorForm& d) {
        EXPECT_EQ(d.cbEnabled->GetItemIndex(), 0);
        // Back and forth: the first node shows what was stored, not what was typed.
        ClickOn(d.tvItems, LabelCentre(d.tvItems, 1));
        ClickOn(d.tvItems, LabelCentre(d.tvItems, 0));
    });
    Then([&](TShortcutItemsEditorForm& d) {
        EXPECT_EQ(d.etImageIndex->GetText(), "12");
        EXPECT_EQ(d.etTag->GetText(), "0");
        ClickOn(d.btOK);
    });
    EditItems();
    EXPECT_EQ(ListItems(), (std::vector<TItemValues>{{"Mail", 12, 0, false}, {"Notes", 4, 5, true}}));
}

TEST_F(ShortcutItemsEditorTest, DeletingTheOnlyNodeClearsAndDisablesTheValueControls)
{
    Fill({{"Mail", 3, 1, true}});
    Then([&](TShortcutItemsEditorForm& d) { ClickOn(d.btDelete); });
    Then([&](TShortcutItemsEditorForm& d) {
        EXPECT_EQ(d.tvItems->GetItems()->GetCount(), 0);
        for (TEdit* edit : {d.etCaption, d.etImageIndex, d.etTag}) {
            EXPECT_EQ(edit->GetText(), "") << edit->GetName();
            EXPECT_FALSE(edit->GetEnabled()) << edit->GetName();
        }
        EXPECT_EQ(d.cbEnabled->GetItemIndex(), -1);
        EXPECT_FALSE(d.cbEnabled->GetEnabled());
        ClickOn(d.btDelete); // nothing left to delete
        ClickOn(d.btOK);
    });
    EditItems();
    EXPECT_TRUE(ListItems().empty());
}

TEST_F(ShortcutItemsEditorTest, DeletingANodeSelectsTheNextOneOrThePreviousAtTheEnd)
{
    Fill({{"A", 1, 0, true}, {"B", 2, 0, true}, {"C", 3, 0, true}});
    Then([&](TShortcutItemsEditorForm& d) { ClickOn(d.btDelete); });
    Then([&](TShortcutItemsEditorForm& d) {
        EXPECT_EQ(d.etCaption->GetText(), "B");
        EXPECT_EQ(d.etImageIndex->GetText(), "2");
        ClickOn(d.tvItems, LabelCentre(d.tvItems, 1));
        ClickOn(d.btDelete);
    });
    Then([&](TShortcutItemsEditorForm& d) {
        EXPECT_EQ(d.etCaption->GetText(), "B");
        ClickOn(d.btOK);
    });
    EditItems();
    EXPECT_EQ(ListItems(), (std::vector<TItemValues>{{"B", 2, 0, true}}));
}

TEST_F(ShortcutItemsEditorTest, DraggingANodeOntoAnotherMovesItBeforeAndBlankSpaceDoesNothing)
{
    Fill({{"A", 1, 0, true}, {"B", 2, 0, true}, {"C", 3, 0, true}});
    auto label = [this](Integer index) {
        return [this, index](TShortcutItemsEditorForm& d) { return LabelCentre(d.tvItems, index); };
    };
    DragThen(label(2), label(0));
    Then([&](TShortcutItemsEditorForm& d) {
        EXPECT_EQ(NodeTexts(d.tvItems), (std::vector<std::string>{"C", "A", "B"}));
        EXPECT_EQ(d.etCaption->GetText(), "C") << "the dragged node is the selected one";
    });
    // Below the last node, and right of a label: neither moves anything.
    DragThen(label(0), [](TShortcutItemsEditorForm& d) { return TPoint{20, d.tvItems->GetClientHeight() - 4}; });
    DragThen(label(2), [](TShortcutItemsEditorForm& d) {
        const TRect r = d.tvItems->LabelRect(d.tvItems->GetItems()->GetItem(0));
        return TPoint{r.Right + 10, (r.Top + r.Bottom) / 2};
    });
    Then([&](TShortcutItemsEditorForm& d) {
        EXPECT_EQ(NodeTexts(d.tvItems), (std::vector<std::string>{"C", "A", "B"}));
        ClickOn(d.btOK);
    });
    EditItems();
    EXPECT_EQ(ListItems(), (std::vector<TItemValues>{{"C", 3, 0, true}, {"A", 1, 0, true}, {"B", 2, 0, true}}));
}

} // namespace
} // namespace ld::test
