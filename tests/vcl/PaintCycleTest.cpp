// Painting controls: only invalidated areas, erase by csOpaque, Update at
// once, windowless children, handle recreation keeping children, alignment,
// and the notifications of properties inherited from the parent.
#include "tests/vcl/VclTestSupport.h"

#include "platform/gfx/Graphics.h"

namespace ld::test {
namespace {

using PaintCycleTest = VclTest;

TEST_F(PaintCycleTest, InvalidateRectWithoutEraseAndUpdatePaintsAtOnce)
{
    TProbe* a = AddProbe("A", Bounds(10, 10, 84, 60));
    a->FControlStyle.Include(csOpaque);
    Backend->RunUntilIdle();
    TPoint o = a->ClientToScreen({0, 0});
    EXPECT_EQ(Pixel(o.X + 1, o.Y + 1), RGB(0, 255, 0));
    Integer before = a->Paints;
    a->Fill = 0x0000FF;  // red in TColor
    RECT r = Bounds(0, 18, 84, 18);
    InvalidateRect(a->GetHandle(), &r, false);
    a->Update();
    EXPECT_EQ(a->Paints, before + 1);
    EXPECT_EQ(Pixel(o.X + 5, o.Y + 20), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(o.X + 5, o.Y + 5), RGB(0, 255, 0));
    EXPECT_EQ(GetPaintCounters().Paints > 0, true);
}

TEST_F(PaintCycleTest, InvalidateErasesOnlyWhenTheControlIsNotOpaque)
{
    TProbe* a = AddProbe("A", Bounds(10, 10, 50, 50));
    Backend->RunUntilIdle();
    auto erases = GetPaintCounters().Erases;
    a->Invalidate();
    Backend->RunUntilIdle();
    EXPECT_EQ(GetPaintCounters().Erases, erases + 1);
    a->FControlStyle.Include(csOpaque);
    a->Invalidate();
    Backend->RunUntilIdle();
    EXPECT_EQ(GetPaintCounters().Erases, erases + 1);
}

TEST_F(PaintCycleTest, RecreateWndKeepsChildrenAndTakesNewStyles)
{
    TProbe* outer = AddProbe("Outer", Bounds(10, 10, 200, 150));
    TProbe* inner = AddProbe("Inner", Bounds(20, 20, 40, 40), outer);
    inner->SetCaption("kept");
    Backend->RunUntilIdle();
    HWND oldOuter = outer->GetHandle();
    HWND oldInner = inner->GetHandle();
    outer->ExtraStyle = WS_BORDER;
    outer->RecreateWnd();
    Backend->RunUntilIdle();
    EXPECT_NE(outer->GetHandle(), oldOuter);
    EXPECT_FALSE(IsWindow(oldInner));
    ASSERT_TRUE(inner->HandleAllocated());
    EXPECT_EQ(GetParent(inner->GetHandle()), outer->GetHandle());
    EXPECT_EQ(GetWindowText(inner->GetHandle()), "kept");
    EXPECT_EQ(inner->GetBoundsRect(), Bounds(20, 20, 40, 40));
    EXPECT_TRUE(IsWindowVisible(inner->GetHandle()));
    EXPECT_EQ(outer->GetClientRect(), Rect(0, 0, 198, 148));
    TPoint o = outer->ClientToScreen({0, 0});
    EXPECT_EQ(Pixel(o.X - 1, o.Y - 1), RGB(0, 0, 0));
}

TEST_F(PaintCycleTest, AlignmentFillsTheSidesThenTheClientAndFollowsResizes)
{
    TProbe* left = AddProbe("L", Bounds(0, 0, 84, 10));
    TProbe* top = AddProbe("T", Bounds(0, 0, 10, 20));
    TProbe* client = AddProbe("C", Bounds(0, 0, 10, 10));
    left->SetAlign(alLeft);
    top->SetAlign(alTop);
    client->SetAlign(alClient);
    TRect fc = Form->GetClientRect();
    EXPECT_EQ(top->GetBoundsRect(), Rect(0, 0, fc.Right, 20));
    EXPECT_EQ(left->GetBoundsRect(), Rect(0, 20, 84, fc.Bottom));
    EXPECT_EQ(client->GetBoundsRect(), Rect(84, 20, fc.Right, fc.Bottom));
    Form->SetWidth(Form->GetWidth() + 50);
    Backend->RunUntilIdle();
    fc = Form->GetClientRect();
    EXPECT_EQ(client->GetBoundsRect(), Rect(84, 20, fc.Right, fc.Bottom));
}

TEST_F(PaintCycleTest, WindowlessChildrenArePaintedByTheirParent)
{
    class TSwatch : public TGraphicControl {
    public:
        using TGraphicControl::TGraphicControl;
        void Paint() override
        {
            GetCanvas()->GetBrush()->SetColor(0xFF0000);  // blue
            GetCanvas()->FillRect(GetClientRect());
        }
    };
    TProbe* host = AddProbe("Host", Bounds(10, 10, 100, 100));
    auto* s = new TSwatch(Form);
    s->SetBounds(10, 10, 20, 20);
    s->SetParent(host);
    Backend->RunUntilIdle();
    TPoint o = host->ClientToScreen({0, 0});
    EXPECT_EQ(Pixel(o.X + 15, o.Y + 15), RGB(0, 0, 255));
    EXPECT_EQ(Pixel(o.X + 5, o.Y + 5), RGB(0, 255, 0));
    s->SetVisible(false);
    Backend->RunUntilIdle();
    EXPECT_EQ(Pixel(o.X + 15, o.Y + 15), RGB(0, 255, 0));
}

TEST_F(PaintCycleTest, ParentFontAndColorFlowDownWithTheirNotifications)
{
    TProbe* outer = AddProbe("Outer", Bounds(10, 10, 200, 150));
    TProbe* inner = AddProbe("Inner", Bounds(20, 20, 40, 40), outer);
    ClearEvents();
    outer->GetFont()->SetHeight(-20);
    EXPECT_EQ(inner->GetFont()->GetHeight(), -20);
    EXPECT_TRUE(inner->GetParentFont());
    EXPECT_FALSE(outer->GetParentFont());
    std::vector<std::string> expected = {"Outer.FontChanged", "Inner.ParentFontChanged", "Inner.FontChanged"};
    EXPECT_EQ(Events(), expected);
    inner->GetFont()->SetHeight(-9);
    EXPECT_FALSE(inner->GetParentFont());
    outer->GetFont()->SetHeight(-30);
    EXPECT_EQ(inner->GetFont()->GetHeight(), -9);
    outer->SetColor(clRed);
    EXPECT_EQ(inner->GetColor(), clRed);
    EXPECT_TRUE(inner->GetParentColor());
    inner->SetParentColor(false);
    outer->SetColor(clBlue);
    EXPECT_EQ(inner->GetColor(), clRed);
}

TEST_F(PaintCycleTest, TextVisibleAndEnabledTellTheControl)
{
    TProbe* a = AddProbe("A", Bounds(10, 10, 50, 50));
    Backend->RunUntilIdle();
    ClearEvents();
    a->SetCaption("x");
    a->SetCaption("x");
    a->SetVisible(false);
    a->SetEnabled(false);
    EXPECT_EQ(Events(), (std::vector<std::string>{"A.TextChanged", "A.VisibleChanged", "A.EnabledChanged"}));
    EXPECT_FALSE(IsWindowVisible(a->GetHandle()));
    EXPECT_FALSE(IsWindowEnabled(a->GetHandle()));
}

} // namespace
} // namespace ld::test

namespace ld::test {
namespace {

class TPager : public TProbe {
public:
    using TProbe::TProbe;
    TControl* Shown = nullptr;
    void ShowControl(TControl* c) override
    {
        Shown = c;
        TProbe::ShowControl(c);
    }
};

TEST_F(PaintCycleTest, StoredChildrenAreTheOwnedOnesAndShowAsksTheParents)
{
    auto* pager = new TPager(Form, "Pager");
    pager->SetParent(Form);
    TProbe* page = AddProbe("Page", Bounds(0, 0, 10, 10), pager);
    auto* stranger = new TProbe(nullptr, "Stranger");
    stranger->SetParent(pager);
    auto* timer = new TTimer(Form);
    timer->SetName("Ticker");
    std::vector<std::string> names;
    pager->GetChildren([&](TComponent* c) { names.push_back(c->GetName()); }, Form);
    EXPECT_EQ(names, std::vector<std::string>{"Page"});
    names.clear();
    Form->GetChildren([&](TComponent* c) { names.push_back(c->GetName()); }, Form);
    EXPECT_EQ(names, (std::vector<std::string>{"Pager", "Ticker"}));
    page->SetVisible(false);
    page->Show();
    EXPECT_EQ(pager->Shown, page);
    EXPECT_TRUE(page->GetVisible());
}

} // namespace
} // namespace ld::test
