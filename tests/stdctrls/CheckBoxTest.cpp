// The check box through real input (a click, a press taken away, Space, its
// accelerator), its look in each state, and its stored form.
#include "platform/gfx/Png.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Stream.h"
#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"
#include "tests/stdctrls/StdCtrlsTestSupport.h"

namespace ld::test {
namespace {

class CheckBoxTest : public StdCtrlsTest {
protected:
    void SetUp() override
    {
        StdCtrlsTest::SetUp();
        Edit = new TEdit(Form);
        Edit->SetBounds(10, 10, 100, 21);
        Edit->SetParent(Form);
        Box = new TCheckBox(Form);
        Box->SetName("Box");
        Box->SetCaption("&Hot tabs");
        Box->SetBounds(10, 40, 100, 17);
        Box->SetParent(Form);
        Box->SetOnClick(Clicks.Event());
        Backend->RunUntilIdle();
        Edit->SetFocus();
        Backend->RunUntilIdle();
    }
    COLORREF InBox(Integer x, Integer y) const
    {
        const TRect box = Box->BoxRect();
        const TPoint p = Box->ClientToScreen({box.Left + x, box.Top + y});
        return Pixel(p.X, p.Y);
    }
    // The check's lowest pixel, inside the two-pixel edge.
    COLORREF CheckPixel() const { return InBox(2 + 2, 2 + 6); }
    TEdit* Edit = nullptr;
    TCheckBox* Box = nullptr;
    TEventCounter Clicks;
};

TEST_F(CheckBoxTest, ClicksSpaceAndTheAcceleratorToggleItAndEachChangeFiresOnClick)
{
    const COLORREF white = GetSysColor(COLOR_WINDOW), black = GetSysColor(COLOR_WINDOWTEXT),
                   face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(InBox(0, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(InBox(1, 1), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(InBox(12, 12), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(CheckPixel(), white);

    // A press shows the box pressed; taken off the box before the release, it changes nothing.
    const TPoint at = ScreenOf(Box, 6, 8);
    Backend->MoveTo(at.X, at.Y);
    Backend->Press();
    Backend->RunUntilIdle();
    EXPECT_TRUE(Box->IsPressed());
    EXPECT_EQ(CheckPixel(), face);
    Backend->DragTo(at.X, at.Y + 40);
    Backend->Release();
    Backend->RunUntilIdle();
    EXPECT_FALSE(Box->GetChecked());
    EXPECT_EQ(Clicks.Count, 0);

    ClickOn(Box, 60, 8);   // on the caption too
    EXPECT_TRUE(Box->GetChecked());
    EXPECT_TRUE(Box->Focused());
    EXPECT_EQ(Clicks.Count, 1);
    EXPECT_EQ(CheckPixel(), black);
    Backend->SaveWindowShot(Form->GetHandle(), OutputPath("stdctrls-checkbox.png"));

    Backend->KeyDown(VK_SPACE);
    Backend->RunUntilIdle();
    EXPECT_TRUE(Box->GetChecked()) << "Space toggles on release";
    Backend->KeyUp(VK_SPACE);
    Backend->RunUntilIdle();
    EXPECT_FALSE(Box->GetChecked());
    EXPECT_EQ(Clicks.Count, 2);

    Edit->SetFocus();
    KeyWith(VK_MENU, 'H');
    EXPECT_TRUE(Box->GetChecked());
    EXPECT_TRUE(Box->Focused());
    EXPECT_EQ(Clicks.Count, 3);

    // From the program, a change fires OnClick as well; no change, no click.
    Box->SetChecked(true);
    EXPECT_EQ(Clicks.Count, 3);
    Box->SetChecked(false);
    EXPECT_EQ(Clicks.Count, 4);
    Box->SetAllowGrayed(true);
    Key(VK_SPACE);
    EXPECT_EQ(Box->GetState(), cbGrayed);
    EXPECT_EQ(CheckPixel(), GetSysColor(COLOR_BTNSHADOW));
    Key(VK_SPACE);
    EXPECT_EQ(Box->GetState(), cbChecked);
    Box->SetEnabled(false);
    Backend->RunUntilIdle();
    EXPECT_EQ(CheckPixel(), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(InBox(6, 1 + 2), face) << "a disabled box is the button face inside";
}

TEST_F(CheckBoxTest, AStoredCheckedBoxReadsBackCheckedWithoutAClick)
{
    Box->SetChecked(true);
    Box->SetAlignment(taLeftJustify);
    TMemoryStream stream;
    WriteComponentToStream(&stream, Box);
    const std::string text = BinaryToText(StripResourceHeader(
        std::string_view(reinterpret_cast<const char*>(stream.Memory()), size_t(stream.GetSize()))));
    EXPECT_NE(text.find("Alignment = taLeftJustify\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Checked = True\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("State = cbChecked\r\n"), std::string::npos) << text;

    auto* copy = new TCheckBox(nullptr);
    TStringStream input(text);
    Clicks.Count = 0;
    copy->SetOnClick(Clicks.Event());
    ReadComponentFromStream(&input, copy);
    EXPECT_TRUE(copy->GetChecked());
    EXPECT_EQ(copy->GetAlignment(), taLeftJustify);
    EXPECT_EQ(Clicks.Count, 0);
    delete copy;
}

} // namespace
} // namespace ld::test
