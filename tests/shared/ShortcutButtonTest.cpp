// The scroll button through real input on the simulated clock: one click for a
// short press, auto-repeat while held and inside, hiding a held button, drag
// repeat, and the arrow it draws.
#include "tests/bar/BarTestSupport.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Frames.h"
#include "platform/vcl/DragDrop.h"
#include "platform/win/Input.h"

namespace ld::test {
namespace {

class ShortcutButtonTest : public BarTest {
protected:
    void SetUp() override
    {
        BarTest::SetUp();
        Button = new TShortcutButton(Form, sbUp);
        Button->SetParent(Form);
        Button->SetBounds(20, 20, 40, 16);
        Button->SetVisible(true);
        Button->SetOnClick(TNotifyEvent::Lambda([this](TObject*) { ++Clicks; }));
        Backend->RunUntilIdle();
    }
    void PointAt(Integer x, Integer y)
    {
        const TPoint p = Button->ClientToScreen({x, y});
        Backend->MoveTo(p.X, p.Y);
        Backend->RunUntilIdle();
    }
    void Press()
    {
        Backend->Press();
        Backend->RunUntilIdle();
    }
    void Release()
    {
        Backend->Release();
        Backend->RunUntilIdle();
    }
    TShortcutButton* Button = nullptr;
    int Clicks = 0;
};

TEST_F(ShortcutButtonTest, StartsAsAnInvisibleSquare)
{
    auto* b = new TShortcutButton(Form, sbDown);
    EXPECT_FALSE(b->GetVisible());
    EXPECT_EQ(b->GetWidth(), GetSystemMetrics(SM_CXHSCROLL));
    EXPECT_EQ(b->GetHeight(), b->GetWidth());
    EXPECT_EQ(b->GetButtonType(), sbDown);
    EXPECT_FALSE(b->GetControlStyle().Contains(csClickEvents));
}

TEST_F(ShortcutButtonTest, AQuickClickFiresOnceOnRelease)
{
    PointAt(5, 5);
    Press();
    EXPECT_EQ(Clicks, 0);
    Release();
    EXPECT_EQ(Clicks, 1);
    EXPECT_FALSE(Button->HasRepeatTimer());
    Backend->Advance(1000);
    EXPECT_EQ(Clicks, 1);
}

TEST_F(ShortcutButtonTest, HoldingRepeatsAtTheFirstTickThenEvery150ms)
{
    PointAt(5, 5);
    Press();
    Backend->Advance(10); // the timer's shortest period
    EXPECT_EQ(Clicks, 1);
    Backend->Advance(149);
    EXPECT_EQ(Clicks, 1);
    Backend->Advance(1);
    EXPECT_EQ(Clicks, 2);
    Backend->Advance(840); // one second held in all
    EXPECT_EQ(Clicks, 7);
    Release();
    EXPECT_EQ(Clicks, 7);
}

TEST_F(ShortcutButtonTest, LeavingPausesTheRepeatAndTheReleaseClicksNothing)
{
    PointAt(5, 5);
    Press();
    Backend->Advance(10);
    EXPECT_EQ(Clicks, 1);
    EXPECT_TRUE(Button->IsPushed());
    PointAt(100, 100);
    EXPECT_FALSE(Button->IsPushed());
    Backend->Advance(600);
    EXPECT_EQ(Clicks, 1);
    PointAt(6, 6);
    EXPECT_TRUE(Button->IsPushed());
    Backend->Advance(150);
    EXPECT_EQ(Clicks, 2);
    PointAt(100, 100);
    Release();
    EXPECT_EQ(Clicks, 2);
}

TEST_F(ShortcutButtonTest, AReleaseBeforeTheFirstTickClicksWhereverItHappens)
{
    PointAt(5, 5);
    Press();
    PointAt(200, 200);
    Release();
    EXPECT_EQ(Clicks, 1);
}

TEST_F(ShortcutButtonTest, HidingAHeldButtonReleasesItAndNoTimerSurvives)
{
    Button->SetOnClick(TNotifyEvent::Lambda([this](TObject*) {
        if (++Clicks == 3)
            Button->SetVisible(false);
    }));
    PointAt(5, 5);
    Press();
    Backend->Advance(400);
    EXPECT_EQ(Clicks, 3);
    EXPECT_FALSE(Button->IsPressed());
    EXPECT_FALSE(Button->HasRepeatTimer());
    EXPECT_EQ(GetCapture(), nullptr);
    Backend->Advance(1000);
    Release();
    EXPECT_EQ(Clicks, 3);
}

// A control that starts a drag when pressed.
class TDragSource : public TCustomControl {
public:
    explicit TDragSource(TComponent* owner) : TCustomControl(owner) {}
    void MouseDown(TMouseButton b, TShiftState s, Integer x, Integer y) override
    {
        TCustomControl::MouseDown(b, s, x, y);
        BeginDrag(true);
    }
};

TEST_F(ShortcutButtonTest, ADragRestingOnTheButtonClicksEvery150ms)
{
    auto* source = new TDragSource(Form);
    source->SetParent(Form);
    source->SetBounds(200, 20, 40, 40);
    Backend->RunUntilIdle();
    const TPoint start = source->ClientToScreen({10, 10});
    Backend->MoveTo(start.X, start.Y);
    Backend->RunUntilIdle();
    Backend->Press();
    Backend->RunUntilIdle();
    ASSERT_NE(GetDragObject(), nullptr);
    PointAt(5, 5);
    PointAt(6, 6);
    EXPECT_TRUE(Button->HasDragTimer());
    Backend->Advance(450);
    EXPECT_EQ(Clicks, 3);
    // The first tick after the drag has left ends the repetition.
    Backend->MoveTo(start.X, start.Y);
    Backend->RunUntilIdle();
    Backend->Advance(150);
    EXPECT_FALSE(Button->HasDragTimer());
    Backend->Advance(600);
    EXPECT_EQ(Clicks, 3);
    Backend->Release();
    Backend->RunUntilIdle();
}

TEST_F(ShortcutButtonTest, DrawsTheScrollArrowPushedWhilePressedInside)
{
    auto expected = [this](UINT state) {
        TBitmap bitmap(Button->GetWidth(), Button->GetHeight());
        DrawFrameControl(bitmap.GetCanvas()->GetHandle(), Rect(0, 0, bitmap.GetWidth(), bitmap.GetHeight()),
                         DFC_SCROLL, state);
        return bitmap.SaveToBytes(true);
    };
    auto shown = [this]() {
        TBitmap bitmap(Button->GetWidth(), Button->GetHeight());
        for (Integer y = 0; y < bitmap.GetHeight(); ++y)
            for (Integer x = 0; x < bitmap.GetWidth(); ++x)
                bitmap.Surface().SetPixel(x, y, ColorRefToPixel(Pixel(Button, x, y)));
        return bitmap.SaveToBytes(true);
    };
    EXPECT_EQ(shown(), expected(DFCS_SCROLLUP));
    PointAt(5, 5);
    Press();
    EXPECT_EQ(shown(), expected(DFCS_SCROLLUP | DFCS_PUSHED));
    PointAt(100, 100);
    EXPECT_EQ(shown(), expected(DFCS_SCROLLUP));
    Release();
}

} // namespace
} // namespace ld::test
