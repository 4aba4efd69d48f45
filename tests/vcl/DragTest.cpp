// Drag and drop between controls: start with a threshold, enter, move and
// leave on the controls under the pointer, the drop, the end on the source,
// the cursor feedback, and cancelling by Escape and by cancel mode.
#include "tests/vcl/VclTestSupport.h"

namespace ld::test {
namespace {

class DragTest : public VclTest {
protected:
    void SetUp() override
    {
        VclTest::SetUp();
        Source = AddProbe("Src", Bounds(10, 10, 60, 60));
        Target = AddProbe("Dst", Bounds(150, 10, 60, 60));
        Other = AddProbe("Other", Bounds(250, 10, 60, 60));
        for (TProbe* p : {Source, Target, Other})
            p->LogMoves = false;
        Target->AcceptDrops = true;
        Source->SetOnMouseDown(TMouseEvent::Lambda([this](TObject*, TMouseButton, TShiftState, Integer, Integer) {
            Source->BeginDrag(false);
        }));
        Backend->RunUntilIdle();
    }
    void StartOnSource()
    {
        TPoint p = ScreenOf(Source, 10, 10);
        Backend->MoveTo(p.X, p.Y);
        Backend->RunUntilIdle();
        Backend->Press();
        Backend->RunUntilIdle();
        ClearEvents();
    }
    std::vector<std::string> DragEntries()
    {
        std::vector<std::string> out;
        for (const std::string& e : Events())
            if (e.find("Drag") != std::string::npos || e.find("EndDrag") != std::string::npos)
                out.push_back(e);
        return out;
    }
    TProbe* Source = nullptr;
    TProbe* Target = nullptr;
    TProbe* Other = nullptr;
};

TEST_F(DragTest, ItStartsOnlyPastTheThreshold)
{
    StartOnSource();
    TPoint p = ScreenOf(Source, 14, 10);
    Backend->MoveTo(p.X, p.Y);
    Backend->RunUntilIdle();
    EXPECT_TRUE(DragEntries().empty());
    EXPECT_TRUE(Source->Dragging());
    p = ScreenOf(Source, 15, 10);
    Backend->MoveTo(p.X, p.Y);
    Backend->RunUntilIdle();
    EXPECT_EQ(DragEntries(), (std::vector<std::string>{"Src.DragOver enter Src 15,10", "Src.DragOver move Src 15,10"}));
    EXPECT_EQ(GetCursorName(Backend->GetShownCursor()), "nodrop");
    Backend->Key(VK_ESCAPE);
    Backend->RunUntilIdle();
}

TEST_F(DragTest, OverDropAndEndInTheirOrder)
{
    StartOnSource();
    TPoint p = ScreenOf(Target, 5, 5);
    Backend->DragTo(p.X, p.Y, 50);
    Backend->RunUntilIdle();
    EXPECT_EQ(GetCursorName(Backend->GetShownCursor()), "drag");
    ClearEvents();
    p = ScreenOf(Target, 7, 8);
    Backend->MoveTo(p.X, p.Y);
    Backend->Release();
    Backend->RunUntilIdle();
    std::vector<std::string> expected = {"Dst.DragOver move Src 7,8", "Dst.DragOver leave Src 7,8", "Dst.DragDrop Src 7,8",
                                         "Src.EndDrag Dst 7,8"};
    EXPECT_EQ(DragEntries(), expected);
    EXPECT_FALSE(Source->Dragging());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(DragTest, MovingOnLeavesTheOldTargetBeforeEnteringTheNew)
{
    StartOnSource();
    TPoint p = ScreenOf(Target, 5, 5);
    Backend->DragTo(p.X, p.Y, 200);
    Backend->RunUntilIdle();
    ClearEvents();
    p = ScreenOf(Other, 5, 5);
    Backend->MoveTo(p.X, p.Y);
    Backend->RunUntilIdle();
    std::vector<std::string> expected = {"Dst.DragOver leave Src 5,5", "Other.DragOver enter Src 5,5", "Other.DragOver move Src 5,5"};
    EXPECT_EQ(DragEntries(), expected);
    // A release over a control that refuses drops nothing.
    ClearEvents();
    Backend->Release();
    Backend->RunUntilIdle();
    expected = {"Other.DragOver leave Src 5,5", "Src.EndDrag nil 0,0"};
    EXPECT_EQ(DragEntries(), expected);
}

TEST_F(DragTest, EscapeCancelsWithoutADrop)
{
    StartOnSource();
    TPoint p = ScreenOf(Target, 5, 5);
    Backend->DragTo(p.X, p.Y, 200);
    Backend->RunUntilIdle();
    ClearEvents();
    Backend->Key(VK_ESCAPE);
    Backend->RunUntilIdle();
    std::vector<std::string> expected = {"Dst.DragOver leave Src 5,5", "Src.EndDrag nil 0,0"};
    EXPECT_EQ(DragEntries(), expected);
    EXPECT_FALSE(Source->Dragging());
    Backend->Release();
    Backend->RunUntilIdle();
}

TEST_F(DragTest, CancelModeCancelsToo)
{
    StartOnSource();
    TPoint p = ScreenOf(Target, 5, 5);
    Backend->DragTo(p.X, p.Y, 200);
    Backend->RunUntilIdle();
    ClearEvents();
    SendMessage(GetCapture(), WM_CANCELMODE, 0, 0);
    EXPECT_EQ(DragEntries(), (std::vector<std::string>{"Dst.DragOver leave Src 5,5", "Src.EndDrag nil 0,0"}));
    Backend->Release();
    Backend->RunUntilIdle();
}

TEST_F(DragTest, ImmediateDragStartsAtOnceAndDragModeAutomaticToo)
{
    Source->SetOnMouseDown(nullptr);
    Source->SetDragMode(dmAutomatic);
    TPoint p = ScreenOf(Source, 10, 10);
    Backend->MoveTo(p.X, p.Y);
    Backend->RunUntilIdle();
    ClearEvents();
    Backend->Press();
    Backend->RunUntilIdle();
    EXPECT_TRUE(Source->Dragging());
    EXPECT_EQ(DragEntries(), (std::vector<std::string>{"Src.DragOver enter Src 10,10", "Src.DragOver move Src 10,10"}));
    Source->EndDrag(false);
    EXPECT_FALSE(Source->Dragging());
    Backend->Release();
    Backend->RunUntilIdle();
}

} // namespace
} // namespace ld::test
