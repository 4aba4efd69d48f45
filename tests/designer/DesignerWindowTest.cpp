// The designer's windows through real input: the property view's editing
// (typed values, drop-down choices, refused text, the ellipsis of a dialog
// editor), the popup menu of verbs, the selection frame, and saving.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "apps/designer/DesignerWindow.h"
#include "host/DesignHost.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/gfx/Png.h"
#include "platform/gfx/RectUtils.h"
#include "platform/win/TickSource.h"
#include "platform/win/Window.h"
#include "tests/host/HostTestClasses.h"

namespace ld::test {
namespace {

// A dialog editor for TProbe's Value: counts its Edit calls and sets the value.
class TProbeValueDialog : public TClassProperty {
    LD_CLASS(TProbeValueDialog, TClassProperty)
    using TClassProperty::TClassProperty;
    static inline Integer Edits = 0;
    TPropertyAttributes GetAttributes() override
    {
        TPropertyAttributes attributes = TClassProperty::GetAttributes();
        attributes.Include(paDialog);
        return attributes;
    }
    void Edit() override
    {
        ++Edits;
        TProbeValue value;
        value.Value = 42;
        SetOrdValue(&value);
    }
};

TClass TProbeValueDialog::StaticClass()
{
    static const TClassInfo info =
        TClassBuilder<TProbeValueDialog>("TProbeValueDialog", TClassProperty::StaticClass()).Abstract();
    return &info;
}

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class DesignerWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TickSource::UseSimulatedClock(10000);
        Backend = std::make_unique<THeadlessBackend>();
        Host = std::make_unique<TDesignHost>();
        RegisterComponents("Probes", {TProbe::StaticClass()});
        RegisterComponentEditor(TProbe::StaticClass(), ComponentEditorClass<TRecordingEditor>());
        RegisterPropertyEditor(TProbeValue::StaticClass(), TProbe::StaticClass(), "Value",
                               PropertyEditorClass<TProbeValueDialog>());
        TRecordingEditor::Verbs = {"&First", "Second"};
        TRecordingEditor::Log.clear();
        TProbeValueDialog::Edits = 0;
        Dir = std::filesystem::temp_directory_path() / ("designer-window-" + std::to_string(::getpid()));
        std::filesystem::create_directories(Dir);
        Window = std::make_unique<TDesignerWindow>(Host->GetRegistry(),
                                                   std::make_unique<THostFormDesigner>(Host->GetRegistry()),
                                                   (Dir / "Form1.dfm").string());
        Backend->RunUntilIdle();
    }
    void TearDown() override
    {
        Window.reset();
        Host.reset();
        Backend->RunUntilIdle();
        Backend.reset();
        TickSource::UseMonotonicClock();
        std::filesystem::remove_all(Dir);
    }

    THostFormDesigner& Designer() { return Window->Designer(); }
    TPropertyView* View() { return Window->PropertyView(); }

    void ClickIn(TControl* control, const TRect& r, TPointerButton button = TPointerButton::Left)
    {
        const TPoint p = control->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
        Backend->Click(p.X, p.Y, button);
        Backend->RunUntilIdle();
    }

    TProbe* Place(Integer left, Integer top)
    {
        auto* probe = dynamic_cast<TProbe*>(
            Designer().CreateComponent(TProbe::StaticClass(), nullptr, {left, top, left + 60, top + 40}));
        Backend->RunUntilIdle();
        return probe;
    }

    // Clicks the value of Prop and types Text, then Enter.
    void TypeInto(const std::string& prop, const std::string& text)
    {
        const Integer row = View()->RowOf(prop);
        ASSERT_GE(row, 0) << prop;
        View()->MakeVisible(row);
        ClickIn(View(), View()->ValueRect(row));
        ASSERT_TRUE(View()->GetEditField()->GetVisible()) << prop;
        Backend->KeyWith(VK_CONTROL, 'A');
        Backend->Type(text);
        Backend->Key(VK_RETURN);
        Backend->RunUntilIdle();
    }

    void Shot(const std::string& name)
    {
        const char* out = std::getenv("LD_TEST_OUTPUT");
        if (out == nullptr)
            return;
        Backend->RunUntilIdle();
        std::filesystem::create_directories(std::filesystem::path(out) / "designer");
        SavePngFile((std::filesystem::path(out) / "designer" / name).string(), *Backend->Capture(Window->Area()));
    }

    std::unique_ptr<THeadlessBackend> Backend;
    std::unique_ptr<TDesignHost> Host;
    std::unique_ptr<TDesignerWindow> Window;
    std::filesystem::path Dir;
};

TEST_F(DesignerWindowTest, PropertyViewFollowsTheSelectionAndStoresTypedValues)
{
    TForm* form = dynamic_cast<TForm*>(Designer().GetForm());
    Designer().SelectComponent(form);
    Backend->RunUntilIdle();
    const Integer captionRow = View()->RowOf("Caption");
    ASSERT_GE(captionRow, 0);
    EXPECT_EQ(View()->ValueText(captionRow), "Form1");

    const Integer before = Designer().GetModifiedCount();
    TypeInto("Caption", "Hello there");
    EXPECT_EQ(form->GetCaption(), "Hello there");
    EXPECT_EQ(View()->ValueText(captionRow), "Hello there");
    EXPECT_EQ(Designer().GetModifiedCount(), before + 1);

    TypeInto("Width", "321");
    EXPECT_EQ(form->GetWidth(), 321);

    // Text a number property refuses leaves the value as it was and the form unmodified.
    const Integer modified = Designer().GetModifiedCount();
    const Integer exceptions = Application->GetExceptionCount();
    TypeInto("Width", "wide");
    EXPECT_EQ(form->GetWidth(), 321);
    EXPECT_EQ(Designer().GetModifiedCount(), modified);
    EXPECT_EQ(Application->GetExceptionCount(), exceptions + 1) << "the refusal is reported";
    EXPECT_NE(Window->GetStatus().find("'wide' is not a valid integer value"), std::string::npos) << Window->GetStatus();

    // Another selection shows its own properties.
    Place(10, 10);
    Backend->RunUntilIdle();
    EXPECT_GE(View()->RowOf("Value"), 0);
    EXPECT_EQ(View()->RowOf("Caption"), -1);
}

TEST_F(DesignerWindowTest, RowsThatDoNotFitScrollWithTheBar)
{
    Window->PropertyForm()->SetHeight(300);
    Designer().SelectComponent(Designer().GetForm());
    Backend->RunUntilIdle();
    ASSERT_TRUE(View()->HasScrollBar()) << "a form publishes more properties than a short view shows";
    const TRect bar = View()->ScrollBarRect();
    const Integer arrow = bar.Right - bar.Left;
    ClickIn(View(), {bar.Left, bar.Bottom - arrow, bar.Right, bar.Bottom});
    EXPECT_EQ(View()->GetTopRow(), 1) << "the down arrow scrolls one row";
    // A click on a row goes to the row shown there, not to the first rows.
    ClickIn(View(), View()->ValueRect(View()->RowOf("Name")));
    EXPECT_EQ(View()->GetEditingRow(), -1) << "Name is scrolled out of view";
    ClickIn(View(), View()->ValueRect(1));
    EXPECT_EQ(View()->GetEditingRow(), 1);
    View()->MakeVisible(View()->RowCount() - 1);
    EXPECT_EQ(View()->GetTopRow(), View()->RowCount() - View()->VisibleRows());
    EXPECT_EQ(View()->GetEditingRow(), -1) << "scrolling ends the edit";
    // Held, the up arrow repeats: a row at once, two more by 450 ms.
    const TPoint up = View()->ClientToScreen({(bar.Left + bar.Right) / 2, bar.Top + arrow / 2});
    Backend->MoveTo(up.X, up.Y);
    Backend->Press();
    Backend->RunUntilIdle();
    Backend->Advance(400 + 50);
    Backend->Release();
    Backend->RunUntilIdle();
    EXPECT_EQ(View()->GetTopRow(), View()->RowCount() - View()->VisibleRows() - 3);
    Shot("property-view-scrolled.png");
    // Another subject starts at its top.
    Place(10, 10);
    EXPECT_EQ(View()->GetTopRow(), 0);
}

// The list holds the names sorted, as the host lists them; the one chosen is stored.
TEST_F(DesignerWindowTest, BooleansAndEnumerationsAreChosenFromTheDropDownList)
{
    TForm* form = dynamic_cast<TForm*>(Designer().GetForm());
    for (const auto& [prop, wanted] : {std::pair<std::string, std::string>{"KeyPreview", "True"}, {"BorderStyle", "bsDialog"}}) {
        const Integer row = View()->RowOf(prop);
        ASSERT_GE(row, 0) << "nothing selected shows the form";
        View()->MakeVisible(row);
        ClickIn(View(), View()->ValueRect(row));
        TComboBox* choice = View()->GetChoiceField();
        ASSERT_TRUE(choice->GetVisible()) << prop;
        EXPECT_EQ(choice->GetText(), View()->ValueText(row));
        const TRect box = choice->GetClientRect();
        ClickIn(choice, {box.Right - 8, box.Top, box.Right, box.Bottom});
        ASSERT_NE(choice->GetListHandle(), nullptr) << prop;
        if (prop == "BorderStyle") {
            EXPECT_EQ(choice->GetItems()->Get(0), "bsDialog");
            Shot("property-view-choice.png");
        }
        const Integer index = choice->GetItems()->IndexOf(wanted);
        RECT list;
        GetWindowRect(choice->GetListHandle(), list);
        Backend->Click(list.Left + 10, list.Top + 1 + index * choice->GetItemHeight() + choice->GetItemHeight() / 2);
        Backend->RunUntilIdle();
        EXPECT_EQ(View()->ValueText(row), wanted);
    }
    EXPECT_TRUE(form->GetKeyPreview());
    EXPECT_EQ(form->GetBorderStyle(), bsDialog);

    // A double-click on a value steps to the next one of its list.
    const Integer row = View()->RowOf("KeyPreview");
    const TPoint p = View()->ClientToScreen({View()->ValueRect(row).Left + 8, View()->ValueRect(row).Top + 8});
    Backend->Advance(GetDoubleClickTime() + 1);
    Backend->DoubleClick(p.X, p.Y);
    Backend->RunUntilIdle();
    EXPECT_FALSE(form->GetKeyPreview());
}

TEST_F(DesignerWindowTest, EllipsisRunsTheDialogEditorOfTheProperty)
{
    TProbe* probe = Place(10, 10);
    Backend->RunUntilIdle();
    const Integer row = View()->RowOf("Value");
    ASSERT_GE(row, 0);
    EXPECT_FALSE(IsRectEmpty(View()->EllipsisRect(row)));
    EXPECT_TRUE(IsRectEmpty(View()->EllipsisRect(View()->RowOf("Other")))) << "no dialog editor for Other";
    Shot("property-view.png");

    const Integer before = Designer().GetModifiedCount();
    ClickIn(View(), View()->EllipsisRect(row));
    EXPECT_EQ(TProbeValueDialog::Edits, 1);
    EXPECT_EQ(probe->GetValue()->Value, 42);
    EXPECT_EQ(Designer().GetModifiedCount(), before + 1);

    // A click on the value beside the button edits nothing of a class property.
    ClickIn(View(), View()->NameRect(row));
    EXPECT_EQ(TProbeValueDialog::Edits, 1);
    EXPECT_FALSE(View()->GetEditField()->GetVisible());
}

TEST_F(DesignerWindowTest, RightClickOpensTheVerbsAndRunsTheChosenOne)
{
    TProbe* probe = Place(10, 10);
    const TPoint p = probe->ClientToScreen({20, 20});
    std::vector<std::string> shown;
    Backend->Script([&] {
        HWND menu = Window->ContextMenu()->GetWindowHandle();
        ASSERT_NE(menu, nullptr);
        TMenuItem* items = Window->ContextMenu()->GetItems();
        for (Integer i = 0; i < items->GetCount(); ++i)
            shown.push_back(items->GetItem(i)->GetCaption());
        Shot("context-menu.png");
        RECT r;
        GetWindowRect(menu, r);
        Backend->Click(r.Left + 20, r.Top + 1 + TPopupMenu::ItemHeight + TPopupMenu::ItemHeight / 2);
    });
    Backend->Click(p.X, p.Y, TPointerButton::Right);
    Backend->RunUntilIdle();
    EXPECT_TRUE(Backend->ScriptDone());
    EXPECT_EQ(shown, (std::vector<std::string>{"&First", "Second"}));
    EXPECT_EQ(TRecordingEditor::Log, (std::vector<std::string>{"Probe1:1"}));
    EXPECT_EQ(Window->ContextMenu()->GetWindowHandle(), nullptr);

    // A component without verbs opens no menu (the script step would stay queued).
    TRecordingEditor::Verbs.clear();
    Backend->Click(p.X, p.Y, TPointerButton::Right);
    Backend->RunUntilIdle();
    EXPECT_EQ(TRecordingEditor::Log.size(), 1u);
}

TEST_F(DesignerWindowTest, SelectionFrameSurroundsTheSelectedControlButStaysOutOfTheForm)
{
    TProbe* first = Place(20, 30);
    Backend->RunUntilIdle();
    ASSERT_TRUE(Window->Frame().IsShown());
    const auto handles = Window->Frame().HandleRects();
    const Integer half = TSelectionFrame::HandleSize / 2;
    EXPECT_EQ(handles[0], (TRect{20 - half, 30 - half, 20 - half + 6, 30 - half + 6}));
    EXPECT_EQ(handles[4].Right, 20 + 60 - 1 - half + 6);
    EXPECT_EQ(handles[4].Bottom, 30 + 40 - 1 - half + 6);
    // The handles are windows over the control, painted in the highlight colour.
    const TPoint corner = Designer().GetForm()->ClientToScreen({20, 30});
    auto pixel = Backend->Capture({corner.X, corner.Y, corner.X + 1, corner.Y + 1});
    EXPECT_EQ(pixel->Row(0)[0] & 0xFFFFFF, ColorRefToPixel(ColorToRGB(clHighlight)) & 0xFFFFFF);

    Place(100, 30);
    EXPECT_EQ(Designer().GetForm()->GetControlCount(), 2) << "the handles are no controls of the form";
    const std::string text = Designer().Save(true);
    size_t objects = 0;
    for (size_t at = text.find("object "); at != std::string::npos; at = text.find("object ", at + 1))
        ++objects;
    EXPECT_EQ(objects, 3u) << text;

    // The form selected, or the selection freed: no frame.
    Designer().SelectComponent(Designer().GetForm());
    Backend->RunUntilIdle();
    EXPECT_FALSE(Window->Frame().IsShown());
    Designer().SelectComponent(first);
    Backend->RunUntilIdle();
    EXPECT_TRUE(Window->Frame().IsShown());
    first->Free();
    Backend->RunUntilIdle();
    EXPECT_FALSE(Window->Frame().IsShown());
}

TEST_F(DesignerWindowTest, TheSessionsShowingIsNotStoredAndASavedFormShowsWhenOpened)
{
    EXPECT_TRUE(IsWindowVisible(Designer().GetForm()->GetHandle()));
    const std::string saved = Designer().Save(true);
    EXPECT_EQ(saved.find("Visible"), std::string::npos) << saved;

    // Opened again, the saved form shows; one stored visible keeps that value.
    std::string storedVisible = saved;
    storedVisible.insert(storedVisible.find("  PixelsPerInch"), "  Visible = True\r\n");
    for (const std::string* text : {&saved, static_cast<const std::string*>(&storedVisible)}) {
        Window.reset();
        Window = std::make_unique<TDesignerWindow>(
            Host->GetRegistry(), THostFormDesigner::Open(Host->GetRegistry(), *text), (Dir / "Form1.dfm").string());
        Backend->RunUntilIdle();
        EXPECT_TRUE(IsWindowVisible(Designer().GetForm()->GetHandle()));
        EXPECT_EQ(Designer().Save(true), *text);
    }
}

TEST_F(DesignerWindowTest, SaveWritesTheFormThatOpensAgainUnchanged)
{
    TProbe* probe = Place(20, 30);
    probe->GetValue()->Value = 5;
    ClickIn(Window->SaveButton(), Window->SaveButton()->GetClientRect());
    const std::string binary = ReadAll(Dir / "Form1.dfm");
    ASSERT_FALSE(binary.empty()) << Window->GetStatus();
    EXPECT_EQ(static_cast<uint8_t>(binary[0]), 0xFF) << "the binary form with its resource header";

    // Ctrl+S with a designed control focused: the designer keeps the key from it and saves.
    probe->SetFocus();
    Backend->RunUntilIdle();
    ASSERT_TRUE(Window->SaveTo((Dir / "Form1.txt.dfm").string(), true));
    const std::string text = ReadAll(Dir / "Form1.txt.dfm");
    ASSERT_EQ(text.rfind("object Form1: TForm", 0), 0u) << Window->GetStatus();
    std::filesystem::remove(Dir / "Form1.txt.dfm");
    Backend->KeyWith(VK_CONTROL, 'S');
    Backend->RunUntilIdle();
    EXPECT_EQ(ReadAll(Dir / "Form1.txt.dfm"), text) << "saved again in the text form it has now";

    // Each opens again in a new designer and saves the same bytes.
    for (const std::string* saved : {&binary, &text}) {
        auto again = THostFormDesigner::Open(Host->GetRegistry(), *saved);
        EXPECT_EQ(again->Save(saved == &text), *saved);
    }
}

} // namespace
} // namespace ld::test
