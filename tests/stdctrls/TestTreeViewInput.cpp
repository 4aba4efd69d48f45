// The tree through real input on the headless screen: clicks on labels and
// buttons, the navigation keys, the scroll bar's arrows, trough and thumb,
// dragging one node before another, and the look of the selection (with a
// picture of the tree in the test output).
#include "platform/backends/HeadlessBackend.h"
#include "platform/gfx/Frames.h"
#include "tests/stdctrls/TreeViewTestSupport.h"

namespace ld::test {
namespace {

using TreeInputTest = TreeViewTest;

TEST_F(TreeInputTest, AClickOnALabelSelectsAndOnAButtonOpens)
{
    TTreeNodes* items = Tree->GetItems();
    TTreeNode* a = items->Add(nullptr, "Alpha");
    items->AddChild(a, "Child");
    TTreeNode* b = items->Add(nullptr, "Beta");
    Backend->RunUntilIdle();
    std::vector<std::string> downs;
    Tree->SetOnMouseDown(TMouseEvent::Lambda([&](TObject*, TMouseButton, TShiftState, Integer x, Integer y) {
        // The control has done its part before the event.
        TTreeNode* selected = Tree->GetSelected();
        downs.push_back(selected ? selected->GetText() : "nil");
    }));
    ClickClient(LabelMiddle(b));
    EXPECT_EQ(Tree->GetSelected(), b);
    EXPECT_TRUE(Tree->Focused());
    EXPECT_EQ(Log, (std::vector<std::string>{"Changing Beta", "Change Beta"}));
    // The indent and the blank right of a label select nothing.
    ClickClient({2, 16 + 8});
    ClickClient({110, 8});
    EXPECT_EQ(Tree->GetSelected(), b);
    // The button opens A; its child takes the row below.
    ClickClient({9, 8});
    EXPECT_TRUE(a->GetExpanded());
    EXPECT_EQ(Tree->GetNodeAt(40, 16 + 8)->GetText(), "Child");
    // A double click on a label closes it again.
    const TPoint p = At(LabelMiddle(a).X, LabelMiddle(a).Y);
    Backend->DoubleClick(p.X, p.Y);
    Backend->RunUntilIdle();
    EXPECT_FALSE(a->GetExpanded());
    EXPECT_EQ(Tree->GetSelected(), a);
    EXPECT_EQ(downs.front(), "Beta");
    // The right button selects only with RightClickSelect.
    const TPoint beta = At(LabelMiddle(b).X, LabelMiddle(b).Y);
    Backend->MoveTo(beta.X, beta.Y);
    Backend->Click(beta.X, beta.Y, TPointerButton::Right);
    Backend->RunUntilIdle();
    EXPECT_EQ(Tree->GetSelected(), a);
    Tree->SetRightClickSelect(true);
    Backend->Click(beta.X, beta.Y, TPointerButton::Right);
    Backend->RunUntilIdle();
    EXPECT_EQ(Tree->GetSelected(), b);
    Tree->SetSelected(a);
    // A refused change keeps the selection through a click too.
    Refuse = true;
    ClickClient(LabelMiddle(b));
    EXPECT_EQ(Tree->GetSelected(), a);
}

// What OnMouseDown finds under real clicks, as the items dialog asks it.
TEST_F(TreeInputTest, HitTestsUnderRealClicks)
{
    auto* images = new TImageList(Form, 16, 16);
    auto* bitmap = new TBitmap();
    bitmap->SetSize(16, 16);
    images->Add(bitmap);
    delete bitmap;
    Tree->SetImages(images);
    AddTopLevel({"First", "Last"});
    Backend->RunUntilIdle();
    std::vector<std::string> seen;
    Tree->SetOnMouseDown(TMouseEvent::Lambda([&](TObject*, TMouseButton, TShiftState, Integer x, Integer y) {
        const THitTests hit = Tree->GetHitTestInfoAt(x, y);
        TTreeNode* node = Tree->GetNodeAt(x, y);
        std::string entry = node ? node->GetText() : "none";
        for (THitTest t : {htOnItem, htOnIcon, htOnLabel, htOnIndent, htOnRight, htNowhere})
            if (hit.Contains(t))
                entry += " " + HitTestInfo().NameOf(t);
        seen.push_back(entry);
    }));
    const TRect label = Node(1)->DisplayRect(true);
    const Integer y = label.Top + 8;
    for (TPoint p : {TPoint{label.Left + 4, y}, TPoint{label.Left - 8, y}, TPoint{5, y}, TPoint{label.Right + 10, y},
                     TPoint{label.Left + 4, y - 16}, TPoint{label.Left + 4, y + 16}})
        ClickClient(p);
    EXPECT_EQ(seen, (std::vector<std::string>{"Last htOnItem htOnLabel", "Last htOnItem htOnIcon", "Last htOnIndent",
                                              "Last htOnRight", "First htOnItem htOnLabel", "none htNowhere"}));
}

TEST_F(TreeInputTest, TheNavigationKeysMoveTheSelection)
{
    TTreeNodes* items = Tree->GetItems();
    for (int i = 0; i < 20; ++i)
        items->Add(nullptr, "N" + std::to_string(i));
    TTreeNode* n1 = Node(1);
    items->AddChild(n1, "N1a");
    items->AddChild(n1, "N1b");
    Tree->SetFocus();
    Backend->RunUntilIdle();
    const Integer page = Tree->VisibleRowCount() - 1;
    ASSERT_GT(page, 2);
    PressKey(VK_DOWN);  // nothing selected: the first row
    EXPECT_EQ(Tree->GetSelected()->GetText(), "N0");
    PressKey(VK_DOWN);
    EXPECT_EQ(Tree->GetSelected(), n1);
    PressKey(VK_RIGHT);  // opens N1
    EXPECT_TRUE(n1->GetExpanded());
    EXPECT_EQ(Tree->GetSelected(), n1);
    PressKey(VK_RIGHT);  // to its first child
    EXPECT_EQ(Tree->GetSelected()->GetText(), "N1a");
    PressKey(VK_DOWN);
    EXPECT_EQ(Tree->GetSelected()->GetText(), "N1b");
    PressKey(VK_BACK);  // to the parent
    EXPECT_EQ(Tree->GetSelected(), n1);
    PressKey(VK_LEFT);  // closes it
    EXPECT_FALSE(n1->GetExpanded());
    PressKey(VK_END);
    EXPECT_EQ(Tree->GetSelected()->GetText(), "N19");
    EXPECT_TRUE(Tree->GetSelected()->DisplayRect(false).Bottom <= Tree->GetClientHeight());
    PressKey(VK_PRIOR);
    EXPECT_EQ(Tree->GetSelected()->GetText(), "N" + std::to_string(19 - page));
    PressKey(VK_HOME);
    EXPECT_EQ(Tree->GetSelected()->GetText(), "N0");
    EXPECT_EQ(Tree->GetTopRow(), 0);
    PressKey(VK_NEXT);
    EXPECT_EQ(Tree->GetSelected()->GetText(), "N" + std::to_string(page));
    PressKey(VK_UP);
    EXPECT_EQ(Tree->GetSelected()->GetText(), "N" + std::to_string(page - 1));
    // Ctrl with the keys scrolls without moving the selection.
    TTreeNode* selected = Tree->GetSelected();
    Backend->KeyWith(VK_CONTROL, VK_END);
    Backend->RunUntilIdle();
    EXPECT_EQ(Tree->GetTopRow(), 20 - Tree->VisibleRowCount());
    Backend->KeyWith(VK_CONTROL, VK_UP);
    Backend->RunUntilIdle();
    EXPECT_EQ(Tree->GetTopRow(), 19 - Tree->VisibleRowCount());
    EXPECT_EQ(Tree->GetSelected(), selected);
    // A typed letter goes to the next row starting with it.
    items->Add(nullptr, "Zeta");
    PressKey('Z');
    EXPECT_EQ(Tree->GetSelected()->GetText(), "Zeta");
    // OnKeyDown sees the key first and may take it.
    Tree->SetOnKeyDown(TKeyEvent::Lambda([](TObject*, Word& key, TShiftState) { key = 0; }));
    PressKey(VK_HOME);
    EXPECT_EQ(Tree->GetSelected()->GetText(), "Zeta");
}

// 30 rows of 16 pixels in a client 113 pixels high: 7 whole rows, so the top
// row goes from 0 to 23.
class TreeScrollTest : public TreeViewTest {
protected:
    void SetUp() override
    {
        TreeViewTest::SetUp();
        for (int i = 0; i < 30; ++i)
            Tree->GetItems()->Add(nullptr, "Row " + std::to_string(i));
        Backend->RunUntilIdle();
    }
    // Screen points of the scroll bar, right of the client.
    TPoint Bar(Integer y) { return Tree->ClientToScreen({Tree->GetClientWidth() + 8, y}); }
    void ClickScreen(TPoint p)
    {
        Backend->MoveTo(p.X, p.Y);
        Backend->Press();
        Backend->Release();
        Backend->RunUntilIdle();
    }
};

TEST_F(TreeScrollTest, TheBarAppearsWhenTheRowsDoNotFitAndItsPartsScroll)
{
    ASSERT_TRUE(Tree->ScrollBarVisible());
    EXPECT_EQ(Tree->GetClientWidth(), 121 - 4 - 16);
    EXPECT_EQ(Tree->VisibleRowCount(), 7);
    // The arrows: one row each.
    ClickScreen(Bar(Tree->GetClientHeight() - 8));
    EXPECT_EQ(Tree->GetTopRow(), 1);
    ClickScreen(Bar(8));
    EXPECT_EQ(Tree->GetTopRow(), 0);
    // The trough below the thumb: a page.
    ClickScreen(Bar(Tree->GetClientHeight() - 24));
    EXPECT_EQ(Tree->GetTopRow(), 7);
    EXPECT_EQ(Tree->GetTopItem()->GetText(), "Row 7");
    // Dragging the thumb (at the top again) to the bottom shows the last rows.
    Tree->SetTopRow(0);
    Backend->MoveTo(Bar(16 + 6).X, Bar(16 + 6).Y);
    Backend->Press();
    Backend->DragTo(Bar(300).X, Bar(300).Y);
    Backend->RunUntilIdle();
    EXPECT_EQ(Tree->GetTopRow(), 23) << "the rows follow while the thumb is held";
    Backend->Release();
    Backend->RunUntilIdle();
    EXPECT_EQ(Tree->GetTopRow(), 23);
    EXPECT_EQ(Tree->GetNodeAt(20, 6 * 16 + 2)->GetText(), "Row 29");
    EXPECT_EQ(GetCapture(), nullptr);
    // Holding an arrow repeats after 400 ms, then every 50 ms.
    Backend->MoveTo(Bar(8).X, Bar(8).Y);
    Backend->Press();
    Backend->RunUntilIdle();
    EXPECT_EQ(Tree->GetTopRow(), 22);
    Backend->Advance(399);
    EXPECT_EQ(Tree->GetTopRow(), 22);
    Backend->Advance(1 + 50 * 4);
    EXPECT_EQ(Tree->GetTopRow(), 17);
    Backend->Release();
    Backend->RunUntilIdle();
    Backend->Advance(500);
    EXPECT_EQ(Tree->GetTopRow(), 17);
    // No mouse event saw any of it.
    EXPECT_FALSE(Tree->Focused());
    // Programs scroll it with WM_VSCROLL.
    Tree->Perform(0x0115, 1 /* SB_LINEDOWN */, 0);
    EXPECT_EQ(Tree->GetTopRow(), 18);
    Tree->Perform(0x0115, 7 /* SB_BOTTOM */, 0);
    EXPECT_EQ(Tree->GetTopRow(), 23);
    Tree->Perform(0x0115, MakeWParam(5 /* SB_THUMBTRACK */, 4), 0);
    EXPECT_EQ(Tree->GetTopRow(), 4);
}

// The wheel scrolls three rows a notch, a page for WHEEL_PAGESCROLL.
TEST_F(TreeScrollTest, TheWheelScrollsRowsWithinTheTree)
{
    const TPoint p = Tree->ClientToScreen({20, 20});
    Backend->MoveTo(p.X, p.Y);
    auto wheel = [&](Integer notches) {
        Backend->Wheel(notches);
        Backend->RunUntilIdle();
        return Tree->GetTopRow();
    };
    EXPECT_EQ(wheel(-1), 3);
    EXPECT_EQ(wheel(-10), 23);
    EXPECT_EQ(wheel(1), 20);
    SystemParametersInfo(SPI_SETWHEELSCROLLLINES, WHEEL_PAGESCROLL, nullptr, 0);
    EXPECT_EQ(wheel(1), 13);
    SystemParametersInfo(SPI_SETWHEELSCROLLLINES, 3, nullptr, 0);
}

// The arrows are the platform's scroll-arrow frame controls, pushed while held.
TEST_F(TreeScrollTest, TheArrowsAreTheFrameControlsPushedWhileHeld)
{
    auto arrowMatches = [this](Integer top, UINT state) {
        TBitmap expected;
        expected.SetSize(16, 16);
        DrawFrameControl(expected.GetCanvas()->GetHandle(), {0, 0, 16, 16}, DFC_SCROLL, state);
        const TPoint origin = Bar(top);
        Integer differing = 0;
        for (Integer y = 0; y < 16; ++y)
            for (Integer x = 0; x < 16; ++x)
                differing += Pixel(origin.X - 8 + x, origin.Y + y) != ColorToRGB(expected.GetCanvas()->GetPixel(x, y));
        return differing;
    };
    const Integer downTop = Tree->GetClientHeight() - 16;
    EXPECT_EQ(arrowMatches(0, DFCS_SCROLLUP), 0);
    EXPECT_GT(arrowMatches(0, DFCS_SCROLLDOWN), 0);  // the comparison tells arrows apart
    EXPECT_EQ(arrowMatches(downTop, DFCS_SCROLLDOWN), 0);
    Backend->MoveTo(Bar(downTop + 8).X, Bar(downTop + 8).Y);
    Backend->Press();
    Backend->RunUntilIdle();
    EXPECT_EQ(arrowMatches(downTop, DFCS_SCROLLDOWN | DFCS_PUSHED), 0);
    // Off the arrow it springs back and stops repeating.
    Backend->MoveTo(Bar(40).X, Bar(40).Y);
    Backend->RunUntilIdle();
    EXPECT_EQ(arrowMatches(downTop, DFCS_SCROLLDOWN), 0);
    Backend->Advance(1000);
    EXPECT_EQ(Tree->GetTopRow(), 1);
    Backend->Release();
    Backend->RunUntilIdle();
}

TEST_F(TreeScrollTest, TheScrolledPixelsMatchAFreshPaint)
{
    Tree->SetTopRow(5);
    Backend->RunUntilIdle();
    Tree->SetTopRow(8);
    Backend->RunUntilIdle();
    const TPoint origin = Tree->ClientToScreen({0, 0});
    std::vector<COLORREF> scrolled;
    for (Integer y = 0; y < Tree->GetClientHeight(); ++y)
        for (Integer x = 0; x < Tree->GetClientWidth(); ++x)
            scrolled.push_back(Pixel(origin.X + x, origin.Y + y));
    Tree->Invalidate();
    Tree->Update();
    size_t i = 0, differing = 0;
    for (Integer y = 0; y < Tree->GetClientHeight(); ++y)
        for (Integer x = 0; x < Tree->GetClientWidth(); ++x)
            differing += scrolled[i++] != Pixel(origin.X + x, origin.Y + y);
    EXPECT_EQ(differing, 0u);
    // Removing rows until they fit takes the bar away and gives the width back.
    Tree->GetItems()->BeginUpdate();
    while (Tree->GetItems()->GetCount() > 3)
        Node(3)->Delete();
    Tree->GetItems()->EndUpdate();
    Backend->RunUntilIdle();
    EXPECT_FALSE(Tree->ScrollBarVisible());
    EXPECT_EQ(Tree->GetTopRow(), 0);
    EXPECT_EQ(Tree->GetClientWidth(), 121 - 4);
}

// The items dialog's way: OnMouseDown starts a drag after the threshold,
// OnDragOver accepts, OnDragDrop moves the selected node before the node
// dropped on when the drop is on its label or icon.
class TreeDragTest : public TreeViewTest {
protected:
    void SetUp() override
    {
        TreeViewTest::SetUp();
        AddTopLevel({"A", "B", "C", "D"});
        Tree->SetOnMouseDown(TMouseEvent::Lambda([this](TObject*, TMouseButton, TShiftState, Integer x, Integer y) {
            if (Tree->GetNodeAt(x, y))
                Tree->BeginDrag(false);
        }));
        Tree->SetOnDragOver(TDragOverEvent::Lambda(
            [](TObject*, TObject*, Integer, Integer, TDragState, bool& accept) { accept = true; }));
        Tree->SetOnDragDrop(TDragDropEvent::Lambda([this](TObject*, TObject*, Integer x, Integer y) {
            const THitTests hit = Tree->GetHitTestInfoAt(x, y);
            TTreeNode* target = Tree->GetNodeAt(x, y);
            if (target && hit.Contains(htOnItem))
                Tree->GetSelected()->MoveTo(target, naInsert);
        }));
        Backend->RunUntilIdle();
    }
    void DragNode(TTreeNode* node, TPoint to)
    {
        const TPoint from = At(LabelMiddle(node).X, LabelMiddle(node).Y);
        Backend->MoveTo(from.X, from.Y);
        Backend->Press();
        Backend->RunUntilIdle();
        const TPoint target = At(to.X, to.Y);
        Backend->DragTo(target.X, target.Y);
        Backend->Release();
        Backend->RunUntilIdle();
    }
};

TEST_F(TreeDragTest, ANodeDroppedOnAnotherGoesBeforeIt)
{
    TTreeNode* d = Node(3);
    DragNode(d, LabelMiddle(Node(1)));
    EXPECT_EQ(Order(), "A D B C");
    EXPECT_EQ(Tree->GetSelected(), d);
    EXPECT_FALSE(Tree->Dragging());
    EXPECT_EQ(GetCapture(), nullptr);
    // Dropped on the blank area below the last node, or right of a label: nothing.
    DragNode(Node(0), {30, 4 * 16 + 10});
    DragNode(Node(0), {100, 16 + 8});
    EXPECT_EQ(Order(), "A D B C");
    // A press without a move past the threshold is a plain click.
    const TPoint c = At(LabelMiddle(Node(3)).X, LabelMiddle(Node(3)).Y);
    Backend->MoveTo(c.X, c.Y);
    Backend->Press();
    Backend->MoveTo(c.X + 3, c.Y);
    Backend->Release();
    Backend->RunUntilIdle();
    EXPECT_EQ(Order(), "A D B C");
    EXPECT_EQ(Tree->GetSelected()->GetText(), "C");
}

TEST_F(TreeDragTest, AutomaticDragModeSelectsAndDragsPastTheThreshold)
{
    Tree->SetOnMouseDown({});
    Tree->SetDragMode(dmAutomatic);
    DragNode(Node(2), LabelMiddle(Node(0)));
    EXPECT_EQ(Order(), "C A B D");
    EXPECT_EQ(Tree->GetSelected()->GetText(), "C");
}

TEST_F(TreeDragTest, AnImmediateDragStartsAtThePress)
{
    Tree->SetOnMouseDown(TMouseEvent::Lambda([this](TObject*, TMouseButton, TShiftState, Integer x, Integer y) {
        if (Tree->GetNodeAt(x, y))
            Tree->BeginDrag(true);
    }));
    const TPoint from = At(LabelMiddle(Node(3)).X, LabelMiddle(Node(3)).Y);
    Backend->MoveTo(from.X, from.Y);
    Backend->Press();
    Backend->RunUntilIdle();
    EXPECT_TRUE(Tree->Dragging());
    // Two pixels are enough to land on the row above.
    Backend->MoveTo(from.X, from.Y - 16);
    Backend->Release();
    Backend->RunUntilIdle();
    EXPECT_EQ(Order(), "A B D C");
}

TEST_F(TreeInputTest, HotTrackingUnderlinesTheLabelUnderThePointer)
{
    AddTopLevel({"Alpha", "Beta"});
    Tree->SetHotTrack(true);
    Backend->RunUntilIdle();
    const TPoint p = At(LabelMiddle(Node(1)).X, LabelMiddle(Node(1)).Y);
    Backend->MoveTo(p.X, p.Y);
    Backend->RunUntilIdle();
    EXPECT_EQ(Tree->GetHotNode(), Node(1));
    // Blue text, and an underline somewhere under it.
    const TRect band = Node(1)->DisplayRect(true);
    Integer blue = 0;
    for (Integer y = band.Top; y < band.Bottom; ++y)
        for (Integer x = band.Left; x < band.Right; ++x) {
            const TPoint s = Tree->ClientToScreen({x, y});
            blue += Pixel(s.X, s.Y) == ColorToRGB(clBlue);
        }
    EXPECT_GT(blue, band.Width() / 2);
    Backend->MoveTo(p.X + 100, p.Y + 200);
    Backend->RunUntilIdle();
    EXPECT_EQ(Tree->GetHotNode(), nullptr);
    Node(1)->Delete();
    EXPECT_EQ(Tree->GetHotNode(), nullptr);
}

TEST_F(TreeInputTest, TheSelectionBandShowsFocusAndHideSelection)
{
    AddTopLevel({"Alpha", "Beta", "Gamma"});
    TTreeNode* b = Node(1);
    Tree->SetSelected(b);
    Backend->RunUntilIdle();
    const TRect band = b->DisplayRect(true);
    const TPoint inBand = Tree->ClientToScreen({band.Left + 1, band.Top + 1});
    // Not focused, HideSelection True: no band at all.
    EXPECT_EQ(Pixel(inBand.X, inBand.Y), ColorToRGB(clWindow));
    Tree->SetHideSelection(false);
    Backend->RunUntilIdle();
    EXPECT_EQ(Pixel(inBand.X, inBand.Y), ColorToRGB(clBtnFace));
    Tree->SetFocus();
    Backend->RunUntilIdle();
    EXPECT_EQ(Pixel(inBand.X, inBand.Y), ColorToRGB(clHighlight));
    // The focus frame's dots invert the band's edge.
    Integer dotted = 0;
    for (Integer y = band.Top; y < band.Bottom; ++y) {
        const TPoint edge = Tree->ClientToScreen({band.Left, y});
        dotted += Pixel(edge.X, edge.Y) != ColorToRGB(clHighlight);
    }
    EXPECT_NEAR(dotted, band.Height() / 2, 1);
    // A drop target takes the highlight while it is one.
    Node(2)->SetDropTarget(true);
    Backend->RunUntilIdle();
    const TRect target = Node(2)->DisplayRect(true);
    const TPoint inTarget = Tree->ClientToScreen({target.Left + 1, target.Top + 1});
    EXPECT_EQ(Pixel(inTarget.X, inTarget.Y), ColorToRGB(clHighlight));
    EXPECT_EQ(Pixel(inBand.X, inBand.Y), ColorToRGB(clWindow));
    Node(2)->SetDropTarget(false);
    Backend->RunUntilIdle();
    EXPECT_EQ(Pixel(inBand.X, inBand.Y), ColorToRGB(clHighlight));
    // The other rows keep the window colour behind their text.
    const TRect other = Node(2)->DisplayRect(true);
    EXPECT_EQ(Pixel(Tree->ClientToScreen({other.Left + 1, other.Top + 1}).X,
                    Tree->ClientToScreen({other.Left + 1, other.Top + 1}).Y),
              ColorToRGB(clWindow));
}

TEST_F(TreeInputTest, APictureOfTheTree)
{
    Tree->SetBounds(10, 10, 160, 150);
    Tree->SetHideSelection(false);
    TTreeNodes* items = Tree->GetItems();
    TTreeNode* mail = items->Add(nullptr, "Mail");
    items->AddChild(mail, "Inbox");
    TTreeNode* sent = items->AddChild(mail, "Sent");
    items->AddChild(sent, "2025");
    items->AddChild(sent, "2026");
    items->AddChild(mail, "Drafts");
    TTreeNode* work = items->Add(nullptr, "Work");
    items->AddChild(work, "Reports");
    for (const char* text : {"Tools", "Games", "Music", "Pictures", "Videos"})
        items->Add(nullptr, text);
    mail->Expand(false);
    sent->Expand(false);
    Tree->SetSelected(sent);
    Tree->SetFocus();
    Backend->RunUntilIdle();
    EXPECT_TRUE(Tree->ScrollBarVisible());
    // The lines meet: the dotted vertical through Mail's children column.
    const TPoint line = Tree->ClientToScreen({19 + 9, 16 * 2});
    EXPECT_TRUE(Pixel(line.X, line.Y) == ColorToRGB(clGray) || Pixel(line.X, line.Y + 1) == ColorToRGB(clGray));
    // Mail's button shows a minus (no vertical bar), Work's a plus.
    const TPoint mailButton = Tree->ClientToScreen({9, 8});
    EXPECT_EQ(Pixel(mailButton.X, mailButton.Y), ColorToRGB(clWindowText));
    EXPECT_EQ(Pixel(mailButton.X, mailButton.Y - 2), ColorToRGB(clWindow));
    const TPoint workButton = Tree->ClientToScreen({9, 6 * 16 + 8});
    EXPECT_EQ(Pixel(workButton.X, workButton.Y - 2), ColorToRGB(clWindowText));
    Backend->SaveWindowShot(Form->GetHandle(), OutputPath("treeview.png"));
}

} // namespace
} // namespace ld::test
