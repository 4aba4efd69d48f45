// Editing a designed form as a person does, with the package loaded: the
// pointer selects, bands, moves (onto another parent) and sizes; the keys
// delete, undo and redo; a bar with its sheets and items goes through the
// clipboard as its text form.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "apps/designer/DesignerHand.h"
#include "apps/designer/DesignerWindow.h"
#include "host/DesignClipboard.h"
#include "host/DesignEdits.h"
#include "host/DesignHost.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/ClassRegistry.h"
#include "platform/gfx/ImgList.h"
#include "platform/gfx/Png.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/win/TickSource.h"

namespace ld::test {
namespace {

// A bar of three sheets, the second open and holding a list of two items.
const char* const BarForm = "object Form1: TForm\r\n"
                            "  Left = 0\r\n  Top = 120\r\n  Width = 420\r\n  Height = 320\r\n"
                            "  Caption = 'Form1'\r\n"
                            "  object Launchdeck1: TLaunchdeck\r\n"
                            "    Left = 0\r\n    Top = 0\r\n    Width = 84\r\n    Height = 293\r\n"
                            "    ActiveSheet = ShortcutSheet2\r\n"
                            "    object ShortcutSheet1: TShortcutSheet\r\n      Caption = 'Programs'\r\n    end\r\n"
                            "    object ShortcutSheet2: TShortcutSheet\r\n      Caption = 'Tools'\r\n"
                            "      object ShortcutList1: TShortcutList\r\n"
                            "        Items.Items = (\r\n          '1.7'\r\n          2\r\n"
                            "          'Mail'\r\n          0\r\n          0\r\n          True\r\n"
                            "          'Notes'\r\n          1\r\n          7\r\n          True)\r\n"
                            "      end\r\n    end\r\n"
                            "    object ShortcutSheet3: TShortcutSheet\r\n      Caption = 'Games'\r\n    end\r\n"
                            "  end\r\n"
                            "end\r\n";

class DesignerEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TickSource::UseSimulatedClock(10000);
        Backend = std::make_unique<THeadlessBackend>();
        Host = std::make_unique<TDesignHost>();
        Host->LoadPackage(LD_PACKAGE_FILE);
        Window = std::make_unique<TDesignerWindow>(
            Host->GetRegistry(), THostFormDesigner::Open(Host->GetRegistry(), BarForm), std::string());
        Hand = std::make_unique<TDesignerHand>(*Backend, *Window);
        Backend->RunUntilIdle();
    }
    void TearDown() override
    {
        Hand.reset();
        Window.reset();
        Backend->RunUntilIdle();
        Host.reset();
        Backend.reset();
        TickSource::UseMonotonicClock();
    }

    THostFormDesigner& Designer() { return Window->Designer(); }
    TCustomForm* Form() { return Designer().GetForm(); }
    TControl* Find(const std::string& name) { return dynamic_cast<TControl*>(Form()->FindComponent(name)); }
    TObject* Property(TComponent* c, const std::string& name)
    {
        return c->ClassType()->FindProperty(name)->GetObj(c);
    }
    // What a list stores of its items: their captions.
    bool HoldsItems(TComponent* list, std::initializer_list<const char*> captions)
    {
        const std::string text = ComponentsToText(Form(), {list});
        for (const char* caption : captions)
            if (text.find("'" + std::string(caption) + "'") == std::string::npos)
                return false;
        return true;
    }
    std::vector<TPersistent*> Selection(std::initializer_list<const char*> names)
    {
        std::vector<TPersistent*> items;
        for (const char* name : names)
            items.push_back(Form()->FindComponent(name));
        return items;
    }
    void Sync()
    {
        Backend->RunUntilIdle();
        Window->Sync();
        Backend->RunUntilIdle();
    }
    void Shot(const std::string& name)
    {
        const char* out = std::getenv("LD_TEST_OUTPUT");
        if (out == nullptr)
            return;
        std::filesystem::create_directories(std::filesystem::path(out) / "designer");
        SavePngFile((std::filesystem::path(out) / "designer" / name).string(), *Backend->Capture(Window->Area()));
    }

    std::unique_ptr<THeadlessBackend> Backend;
    std::unique_ptr<TDesignHost> Host;
    std::unique_ptr<TDesignerWindow> Window;
    std::unique_ptr<TDesignerHand> Hand;
};

TEST_F(DesignerEditTest, AListDraggedOffItsSheetLandsOnTheFormWithItsItemsAndComesBackWithUndo)
{
    TControl* list = Find("ShortcutList1");
    const std::string before = Designer().Save(false);
    const TPoint from = FreePointOf(list);
    const TPoint to = Form()->ClientToScreen({200, 150});
    // Halfway: outlines where it would land, nothing moved yet.
    Backend->MoveTo(from.X, from.Y);
    Backend->Press();
    Backend->DragTo(to.X, to.Y);
    Backend->RunUntilIdle();
    EXPECT_EQ(Window->Drag().GetMode(), TDesignDrag::TMode::Move);
    ASSERT_EQ(Window->Drag().OutlineRects().size(), 1u);
    const TRect outline = Window->Drag().OutlineRects()[0];
    EXPECT_EQ(outline.Left % DesignGrid, 0) << "on the grid of the form it goes to";
    EXPECT_EQ(outline.Width(), list->GetWidth());
    EXPECT_EQ(list->GetParent(), Find("ShortcutSheet2"));
    Shot("designer-moving.png");
    Backend->Release();
    Sync();

    ASSERT_EQ(list->GetParent(), Form()) << "the list left its sheet";
    EXPECT_EQ(list->GetLeft(), outline.Left);
    EXPECT_EQ(list->GetTop(), outline.Top);
    EXPECT_TRUE(HoldsItems(list, {"Mail", "Notes"}));
    EXPECT_TRUE(Window->Drag().OutlineRects().empty());
    const std::string after = Designer().Save(false);

    Hand->FocusDesignedForm();
    Backend->KeyWith(VK_CONTROL, 'Z');
    Backend->RunUntilIdle();
    EXPECT_EQ(Designer().Save(false), before);
    list = Find("ShortcutList1");
    EXPECT_EQ(list->GetParent(), Find("ShortcutSheet2"));
    EXPECT_EQ(list->GetLeft(), 5) << "snapped to its sheet again";
    EXPECT_EQ(Designer().GetSelection(), Selection({"ShortcutList1"}));
    Backend->KeyWith(VK_CONTROL, 'Y');
    Backend->RunUntilIdle();
    EXPECT_EQ(Designer().Save(false), after);

    // Dragged within its sheet it stays where the sheet puts it.
    list = Find("ShortcutList1");
    Backend->KeyWith(VK_CONTROL, 'Z');
    Backend->RunUntilIdle();
    list = Find("ShortcutList1");
    const TPoint p = FreePointOf(list);
    Hand->Drag(p, {p.X + 10, p.Y + 20});
    EXPECT_EQ(list->GetParent(), Find("ShortcutSheet2"));
    EXPECT_EQ(Designer().Save(false), before);
}

TEST_F(DesignerEditTest, BandShiftClickHandlesSizingAndEscape)
{
    TControl* bar = Find("Launchdeck1");
    // A band from the form's empty part over the bar selects it; Shift+band adds.
    Hand->Drag(Form()->ClientToScreen({300, 20}), Form()->ClientToScreen({60, 60}));
    EXPECT_EQ(Designer().GetSelection(), Selection({"Launchdeck1"}));
    // Ctrl+band inside the open sheet selects its list.
    TControl* sheet = Find("ShortcutSheet2");
    Hand->Drag(sheet->ClientToScreen({2, 2}), sheet->ClientToScreen({30, 30}), {.Shift = true, .Ctrl = true});
    EXPECT_EQ(Designer().GetSelection(), Selection({"Launchdeck1", "ShortcutList1"}));
    Sync();
    EXPECT_TRUE(Window->Frame().IsMultiple());
    EXPECT_EQ(Window->Frame().HandleRects().size(), 8u) << "four grey handles each";
    const TRect grey = Window->Frame().HandleRects()[0];
    const TPoint corner = Form()->ClientToScreen({grey.Left, grey.Top});
    EXPECT_EQ(Backend->Capture({corner.X, corner.Y, corner.X + 1, corner.Y + 1})->Row(0)[0] & 0xFFFFFF, 0x808080u);
    Shot("designer-multiple.png");

    // Shift+click takes one out; the other keeps eight handles of the highlight colour.
    Hand->Click(FreePointOf(Find("ShortcutList1")), {.Shift = true});
    Sync();
    EXPECT_EQ(Designer().GetSelection(), Selection({"Launchdeck1"}));
    EXPECT_EQ(Window->Frame().SizedControl(), bar);

    // The right handle: the edge on the grid, without it with Alt.
    Hand->SizeBy(bar, TSelectionFrame::hRight, {37, 0});
    EXPECT_EQ(bar->GetWidth(), 120);
    Hand->SizeBy(bar, TSelectionFrame::hRight, {-7, 0}, {.Alt = true});
    EXPECT_EQ(bar->GetWidth(), 113);

    // A palette class placed by a rectangle dragged on the form, then by a click.
    auto choose = [&] {
        const TRect button = Window->Palette()->ButtonRect(1);
        Hand->Click(Window->Palette()->ClientToScreen({(button.Left + button.Right) / 2, button.Top + 4}));
        ASSERT_EQ(Designer().GetPlacingClass()->Name, "TShortcutList");
    };
    choose();
    Hand->Drag(Form()->ClientToScreen({203, 37}), Form()->ClientToScreen({290, 150}));
    EXPECT_EQ(Find("ShortcutList2")->GetBoundsRect(), (TRect{200, 40, 288, 152}));
    choose();
    Hand->Click(Form()->ClientToScreen({301, 203}));
    EXPECT_EQ(Find("ShortcutList3")->GetLeft(), 304);
    EXPECT_EQ(Find("ShortcutList3")->GetTop(), 200);
    EXPECT_EQ(Designer().GetPlacingClass(), nullptr);

    // Escape while dragging: nothing moves, nothing is recorded.
    const size_t changes = Designer().GetHistory().UndoCount();
    const TPoint p = FreePointOf(Find("ShortcutList1"));
    Backend->MoveTo(p.X, p.Y);
    Backend->Press();
    Backend->DragTo(p.X + 150, p.Y);
    Backend->Key(VK_ESCAPE);
    Backend->Release();
    Backend->RunUntilIdle();
    EXPECT_EQ(Window->Drag().GetMode(), TDesignDrag::TMode::Idle);
    EXPECT_EQ(Find("ShortcutList1")->GetParent(), sheet);
    EXPECT_EQ(Designer().GetHistory().UndoCount(), changes);
}

TEST_F(DesignerEditTest, DeletingTheOpenSheetOpensTheNextAndUndoBringsItBack)
{
    // Found anew each time: undo reads the bar again.
    auto activeSheet = [&] { return dynamic_cast<TComponent*>(Property(Find("Launchdeck1"), "ActiveSheet")); };
    const std::string before = Designer().Save(false);
    Designer().SelectComponent(Find("ShortcutSheet2"));
    Hand->FocusDesignedForm();
    Backend->Key(VK_DELETE);
    Backend->RunUntilIdle();
    EXPECT_EQ(Find("ShortcutSheet2"), nullptr);
    EXPECT_EQ(Find("ShortcutList1"), nullptr) << "its list goes with it";
    EXPECT_EQ(activeSheet(), Find("ShortcutSheet3")) << "the sheet after it opens";
    EXPECT_EQ(Designer().GetSelection(), Selection({"Launchdeck1"}));

    Backend->KeyWith(VK_CONTROL, 'Z');
    Backend->RunUntilIdle();
    EXPECT_EQ(Designer().Save(false), before);
    EXPECT_EQ(activeSheet(), Find("ShortcutSheet2"));
    EXPECT_TRUE(HoldsItems(Find("ShortcutList1"), {"Mail", "Notes"}));

    // Deleting the bar takes its sheets and list along.
    Designer().SelectComponent(Find("Launchdeck1"));
    Backend->Key(VK_DELETE);
    Backend->RunUntilIdle();
    EXPECT_EQ(Form()->ComponentCount(), 0);
}

// The clipboard holds the text form: pasted into a new form the bar is
// stored as it was; pasted beside itself it gets new names, its open sheet
// still its own.
TEST_F(DesignerEditTest, ABarCopiedWithItsSheetsAndItemsPastesAsItWasButForNames)
{
    TControl* bar = Find("Launchdeck1");
    Designer().SelectComponent(bar);
    Hand->FocusDesignedForm();
    Backend->KeyWith(VK_CONTROL, 'C');
    Backend->RunUntilIdle();
    const std::string copied = Clipboard()->GetAsText();
    EXPECT_EQ(copied, ComponentsToText(Form(), {bar}));
    EXPECT_EQ(copied.rfind("object Launchdeck1: TLaunchdeck\r\n", 0), 0u) << copied;
    EXPECT_NE(copied.find("'Notes'"), std::string::npos) << "the items come along";

    THostFormDesigner other(Host->GetRegistry());
    other.GetForm()->SetBounds(0, 0, 420, 320);
    other.PasteFromClipboard();
    auto* pasted = dynamic_cast<TControl*>(other.GetForm()->FindComponent("Launchdeck1"));
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(ComponentsToText(other.GetForm(), {pasted}), copied);

    Designer().SelectComponent(Form());
    Backend->KeyWith(VK_CONTROL, 'V');
    Backend->RunUntilIdle();
    TControl* twin = Find("Launchdeck2");
    ASSERT_NE(twin, nullptr);
    std::string renamed = ComponentsToText(Form(), {twin});
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"Launchdeck2", "Launchdeck1"},
                                   {"ShortcutSheet4", "ShortcutSheet1"}, {"ShortcutSheet5", "ShortcutSheet2"},
                                   {"ShortcutSheet6", "ShortcutSheet3"}, {"ShortcutList2", "ShortcutList1"},
                                   // Aligned to the left, the second bar stands beside the first.
                                   {"TLaunchdeck\r\n  Left = 84", "TLaunchdeck\r\n  Left = 0"}})
        for (size_t at; (at = renamed.find(from)) != std::string::npos;)
            renamed.replace(at, from.size(), to);
    EXPECT_EQ(renamed, copied);
    EXPECT_EQ(Property(twin, "ActiveSheet"), Find("ShortcutSheet5"));

    // Text cut out of a form file, as another program puts it on the clipboard.
    Clipboard()->SetAsText("    object ShortcutList7: TShortcutList\r\n"
                           "      Left = 120\r\n      Top = 8\r\n      Width = 90\r\n      Height = 120\r\n"
                           "      Items.Items = (\r\n        '1.7'\r\n        1\r\n"
                           "        'Calendar'\r\n        2\r\n        0\r\n        False)\r\n"
                           "      Style = ssSmallImages\r\n"
                           "    end\r\n");
    Backend->KeyWith(VK_CONTROL, 'V');
    Backend->RunUntilIdle();
    TControl* list = Find("ShortcutList7");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetParent(), Form());
    EXPECT_EQ(list->GetBoundsRect(), (TRect{120, 8, 210, 128}));
    EXPECT_NO_THROW(FreePointOf(list)) << "a pasted control shows at once";
    EXPECT_TRUE(HoldsItems(list, {"Calendar"}));
}

// A change of a component others refer to: reading it again alone would
// leave the references cut, so the whole form is read again.
TEST_F(DesignerEditTest, UndoKeepsReferencesToAComponentReadAgain)
{
    RegisterClasses({TImageList::StaticClass()});
    Window.reset();
    Window = std::make_unique<TDesignerWindow>(
        Host->GetRegistry(),
        THostFormDesigner::Open(Host->GetRegistry(),
                                "object Form1: TForm\r\n  Width = 420\r\n  Height = 320\r\n"
                                "  object Icons: TImageList\r\n    Height = 32\r\n    Width = 32\r\n  end\r\n"
                                "  object ShortcutList1: TShortcutList\r\n    LargeImages = Icons\r\n  end\r\n"
                                "end\r\n"),
        std::string());
    Hand = std::make_unique<TDesignerHand>(*Backend, *Window);
    Backend->RunUntilIdle();
    const std::string before = Designer().Save(false);
    auto* icons = dynamic_cast<TImageList*>(Form()->FindComponent("Icons"));
    icons->SetWidth(48);
    Designer().Modified();
    Designer().Undo();
    EXPECT_EQ(Designer().Save(false), before);
    EXPECT_EQ(Property(Find("ShortcutList1"), "LargeImages"), Form()->FindComponent("Icons"));
}

} // namespace
} // namespace ld::test
