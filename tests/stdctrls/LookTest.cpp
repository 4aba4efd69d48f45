// How the standard controls look: a form holding each of them in its usual
// states, written as PNG files into the test output folder (one per control
// and one of the whole form), with the pixels that make each look checked.
#include <filesystem>

#include "platform/backends/HeadlessBackend.h"
#include "platform/gfx/Png.h"
#include "tests/stdctrls/StdCtrlsTestSupport.h"

namespace ld::test {
namespace {

class LookTest : public StdCtrlsTest {
protected:
    void SetUp() override
    {
        StdCtrlsTest::SetUp();
        std::filesystem::create_directories(OutputPath(""));
        Form->SetBounds(40, 40, 440, 330);
        Form->SetCaption("Standard controls");
        Edit = Add<TEdit>(Bounds(10, 10, 150, 21));
        Edit->SetText("Hello world");
        Disabled = Add<TEdit>(Bounds(10, 40, 150, 21));
        Disabled->SetText("Disabled");
        Disabled->SetEnabled(false);
        Memo = Add<TMemo>(Bounds(10, 70, 150, 70));
        Memo->SetText("A memo wraps its words at the edge of its client area.\r\nSecond paragraph.");
        Scrolled = Add<TMemo>(Bounds(280, 150, 140, 80));
        Scrolled->SetScrollBars(ssVertical);
        Scrolled->SetText("With a scroll bar, the lines keep clear of it and the thumb shows where they are.\r\n"
                          "One\r\nTwo\r\nThree\r\nFour\r\nFive");
        DisabledMemo = Add<TMemo>(Bounds(280, 240, 140, 50));
        DisabledMemo->SetScrollBars(ssVertical);
        DisabledMemo->SetText("A disabled memo\r\nwith more lines\r\nthan it shows");
        DisabledMemo->SetEnabled(false);
        Normal = AddButton("&Apply", 180, 10);
        Default = AddButton("OK", 180, 45);
        Default->SetDefault(true);
        Greyed = AddButton("&Disabled", 180, 80);
        Greyed->SetEnabled(false);
        Pressed = AddButton("Pressed", 180, 115);
        Combo = Add<TComboBox>(Bounds(270, 10, 120, 21));
        Combo->SetStyle(csDropDownList);
        Combo->SetItemHeight(13);
        for (const char* s : {"False", "True", "Maybe", "Never", "Always", "Sometimes", "Often", "Rarely", "Once", "Twice"})
            Combo->GetItems()->Add(s);
        Combo->SetItemIndex(1);
        Typed = Add<TComboBox>(Bounds(270, 40, 120, 21));
        Typed->GetItems()->Add("typed");
        Typed->SetText("An edit part");
        Group = Add<TGroupBox>(Bounds(10, 150, 250, 80));
        Group->SetCaption("Item &Properties");
        Label = new TLabel(Form);
        Label->SetCaption("&Caption:");
        Label->SetBounds(10, 24, 50, 13);
        Label->SetParent(Group);
        auto* inner = new TEdit(Form);
        inner->SetBounds(76, 20, 120, 21);
        inner->SetParent(Group);
        Label->SetFocusControl(inner);
        Backend->RunUntilIdle();
        Edit->SetFocus();
        Edit->SetSelStart(6);
        Edit->SetSelLength(5);
        Backend->RunUntilIdle();
    }
    template <class T>
    T* Add(TRect bounds)
    {
        auto* c = new T(Form);
        c->SetBoundsRect(bounds);
        c->SetParent(Form);
        return c;
    }
    TButton* AddButton(const std::string& caption, Integer x, Integer y)
    {
        auto* b = Add<TButton>(Bounds(x, y, 75, 25));
        b->SetCaption(caption);
        return b;
    }
    // A control's pixel, in its own client coordinates.
    COLORREF At(TControl* c, Integer x, Integer y) const
    {
        TPoint p = c->ClientToScreen({x, y});
        return Pixel(p.X, p.Y);
    }
    bool Shows(TControl* c, COLORREF colour)
    {
        for (Integer y = 0; y < c->GetClientHeight(); ++y)
            for (Integer x = 0; x < c->GetClientWidth(); ++x)
                if (At(c, x, y) == colour)
                    return true;
        return false;
    }
    void Shot(TControl* c, const std::string& name, Integer margin = 0)
    {
        TPoint p = c->GetParent()->ClientToScreen({c->GetLeft(), c->GetTop()});
        TRect r = Bounds(p.X - margin, p.Y - margin, c->GetWidth() + 2 * margin, c->GetHeight() + 2 * margin);
        SavePngFile(OutputPath(name), *Backend->Capture(r));
    }

    TEdit *Edit = nullptr, *Disabled = nullptr;
    TMemo *Memo = nullptr, *Scrolled = nullptr, *DisabledMemo = nullptr;
    TButton *Normal = nullptr, *Default = nullptr, *Greyed = nullptr, *Pressed = nullptr;
    TComboBox *Combo = nullptr, *Typed = nullptr;
    TGroupBox* Group = nullptr;
    TLabel* Label = nullptr;
};

TEST_F(LookTest, EachControlInItsStates)
{
    // Hold a press on one button for its pressed look.
    TPoint p = ScreenOf(Pressed, 30, 12);
    Backend->MoveTo(p.X, p.Y);
    Backend->Press();
    Backend->RunUntilIdle();
    ASSERT_TRUE(Pressed->IsPressed());
    Shot(Pressed, "stdctrls-button-pressed.png", 2);
    Backend->Release();
    Backend->RunUntilIdle();
    Edit->SetFocus();
    Backend->RunUntilIdle();

    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);

    // The edit: the selection in the highlight colour, sunken two-pixel edge.
    EXPECT_TRUE(Shows(Edit, highlight));
    EXPECT_EQ(At(Edit, -2, -2), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(At(Edit, -1, -1), GetSysColor(COLOR_3DDKSHADOW));
    // Disabled, an edit or memo is grey text on the button face.
    for (TControl* c : {static_cast<TControl*>(Disabled), static_cast<TControl*>(DisabledMemo)}) {
        EXPECT_EQ(At(c, 1, 1), GetSysColor(COLOR_BTNFACE));
        EXPECT_TRUE(Shows(c, grey));
    }
    EXPECT_FALSE(Shows(Disabled, black));
    // The memo shows text on more than one line.
    Integer rowsWithText = 0;
    for (Integer y = 0; y < Memo->GetClientHeight(); y += 13) {
        bool any = false;
        for (Integer yy = y; yy < y + 13 && yy < Memo->GetClientHeight(); ++yy)
            for (Integer x = 0; x < Memo->GetClientWidth(); ++x)
                any = any || At(Memo, x, yy) == black;
        rowsWithText += any;
    }
    EXPECT_GE(rowsWithText, 3);
    // Buttons: the default one in a black frame, the others raised.
    EXPECT_EQ(At(Default, 0, 0), black);
    EXPECT_EQ(At(Default, 1, 1), white);
    EXPECT_EQ(At(Normal, 0, 0), white);
    EXPECT_EQ(At(Normal, Normal->GetWidth() - 1, Normal->GetHeight() - 1), black);
    EXPECT_EQ(At(Normal, Normal->GetWidth() - 2, Normal->GetHeight() - 2), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_TRUE(Shows(Greyed, GetSysColor(COLOR_BTNSHADOW)));
    // The group box: the etched frame at half the caption's height.
    const Integer mid = 13 / 2 - 1;
    EXPECT_EQ(At(Group, 0, mid + 20), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(At(Group, 1, mid + 20), white);

    SavePngFile(OutputPath("stdctrls-form.png"), *Backend->Capture(Form->GetBoundsRect()));
    Shot(Edit, "stdctrls-edit.png", 2);
    Shot(Disabled, "stdctrls-edit-disabled.png", 2);
    Shot(Memo, "stdctrls-memo.png", 2);
    Shot(Scrolled, "stdctrls-memo-scrollbar.png", 2);
    Shot(DisabledMemo, "stdctrls-memo-disabled.png", 2);
    Shot(Normal, "stdctrls-button.png", 2);
    Shot(Default, "stdctrls-button-default.png", 2);
    Shot(Greyed, "stdctrls-button-disabled.png", 2);
    Shot(Group, "stdctrls-groupbox.png", 2);
    Shot(Label, "stdctrls-label.png", 2);

    // The combo box, closed and focused, then open over everything.
    Combo->SetFocus();
    Backend->RunUntilIdle();
    EXPECT_TRUE(Shows(Combo, highlight));
    Shot(Combo, "stdctrls-combo.png", 2);
    Shot(Typed, "stdctrls-combo-dropdown.png", 2);
    EXPECT_EQ(Typed->GetEditPart()->GetText(), "An edit part");
    EXPECT_TRUE(Shows(Typed->GetEditPart(), black));
    // The box around its edit part: white field, the button's raised face.
    EXPECT_EQ(At(Typed, 0, 0), white);
    EXPECT_EQ(At(Typed, Typed->GetClientWidth() - 8, 2), GetSysColor(COLOR_BTNFACE));
    KeyWith(VK_MENU, VK_DOWN);
    ASSERT_TRUE(Combo->GetDroppedDown());
    RECT list;
    GetWindowRect(Combo->GetListHandle(), list);
    EXPECT_EQ(Pixel(list.Left + 10, list.Top + 1 + 13 + 6), highlight) << "the marked entry";
    TPoint at = Combo->ClientToScreen({0, 0});
    SavePngFile(OutputPath("stdctrls-combo-open.png"),
                *Backend->Capture(Rect(at.X - 4, at.Y - 4, list.Right + 4, list.Bottom + 4)));
    SavePngFile(OutputPath("stdctrls-form-combo-open.png"), *Backend->Capture(Form->GetBoundsRect()));
}

} // namespace
} // namespace ld::test
