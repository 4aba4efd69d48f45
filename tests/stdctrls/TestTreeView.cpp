// The tree's model and geometry: adding and inserting in tree order, MoveTo in
// each mode, deleting and where the selection goes, OnChanging refusing, and
// the hit-test codes at points of a row.
#include "tests/stdctrls/TreeViewTestSupport.h"

namespace ld::test {
namespace {

using TreeModelTest = TreeViewTest;

TEST_F(TreeModelTest, NodesComeInTreeOrderWithTheirIndexesAndLevels)
{
    TTreeNodes* items = Tree->GetItems();
    TTreeNode* b = items->Add(nullptr, "B");
    TTreeNode* a = items->AddFirst(b, "A");
    TTreeNode* d = items->Add(b, "D");
    TTreeNode* b2 = items->AddChild(b, "B2");
    items->AddChildFirst(b, "B1");
    items->Insert(d, "C");
    items->AddChild(b2, "B2a");
    EXPECT_EQ(Order(), "A B B1 B2 B2a C D");
    EXPECT_EQ(items->GetCount(), 7);
    EXPECT_EQ(b->GetCount(), 2);
    EXPECT_EQ(b2->GetIndex(), 1);
    EXPECT_EQ(b2->GetLevel(), 1);
    EXPECT_EQ(items->GetItem(4)->GetLevel(), 2);
    EXPECT_EQ(d->GetAbsoluteIndex(), 6);
    EXPECT_EQ(a->GetNextSibling(), b);
    EXPECT_EQ(b->GetNextSibling()->GetText(), "C");
    EXPECT_EQ(b2->GetParent(), b);
    EXPECT_EQ(b2->GetNext()->GetText(), "B2a");
    EXPECT_EQ(d->GetPrev()->GetText(), "C");
    // Children of a closed node have no row.
    EXPECT_FALSE(b2->IsVisible());
    EXPECT_EQ(b->GetNextVisible()->GetText(), "C");
    b->Expand(false);
    EXPECT_EQ(b->GetNextVisible(), b->GetItem(0));
    EXPECT_THROW(items->GetItem(7), ETreeViewError);
    EXPECT_THROW(items->GetItem(-1), ETreeViewError);
    EXPECT_THROW(b->GetItem(2), ETreeViewError);
}

TEST_F(TreeModelTest, MoveToPlacesTheNodeInEachMode)
{
    AddTopLevel({"A", "B", "C", "D"});
    TTreeNode* d = Node(3);
    d->MoveTo(Node(1), naInsert);  // before B
    EXPECT_EQ(Order(), "A D B C");
    Node(0)->MoveTo(Node(3), naAdd);  // A to the end of C's level
    EXPECT_EQ(Order(), "D B C A");
    Node(3)->MoveTo(Node(2), naAddFirst);
    EXPECT_EQ(Order(), "A D B C");
    TTreeNode* a = Node(0);
    TTreeNode* b = Node(2);
    TTreeNode* c = Node(3);
    c->MoveTo(a, naAddChild);
    b->MoveTo(a, naAddChildFirst);
    EXPECT_EQ(Order(), "A B C D");
    EXPECT_EQ(a->GetCount(), 2);
    EXPECT_EQ(a->GetItem(0), b);
    EXPECT_EQ(c->GetParent(), a);
    // Into its own child, or before itself: nothing happens.
    a->MoveTo(c, naAddChild);
    a->MoveTo(c, naInsert);
    a->MoveTo(a, naInsert);
    EXPECT_EQ(Order(), "A B C D");
    EXPECT_EQ(a->GetParent(), nullptr);
    // A move keeps the selection and asks nobody.
    Tree->SetSelected(c);
    Log.clear();
    c->MoveTo(nullptr, naAdd);
    EXPECT_EQ(Order(), "A B D C");
    EXPECT_EQ(c->GetLevel(), 0);
    EXPECT_EQ(Tree->GetSelected(), c);
    EXPECT_TRUE(Log.empty());
}

TEST_F(TreeModelTest, DeletingTheSelectionSelectsTheNextOrThePrevious)
{
    AddTopLevel({"A", "B", "C"});
    Tree->SetSelected(Node(1));
    Log.clear();
    Node(1)->Delete();
    EXPECT_EQ(Tree->GetSelected()->GetText(), "C");
    Node(1)->Delete();  // C, the last: the one before it
    EXPECT_EQ(Tree->GetSelected()->GetText(), "A");
    EXPECT_EQ(Log, (std::vector<std::string>{"Change C", "Change A"}));
    Log.clear();
    Tree->GetItems()->Delete(Node(0));
    EXPECT_EQ(Tree->GetSelected(), nullptr);
    EXPECT_EQ(Tree->GetItems()->GetCount(), 0);
    EXPECT_EQ(Log, (std::vector<std::string>{"Change nil"}));
}

TEST_F(TreeModelTest, DeletingAParentMovesTheSelectionOutOfItOnce)
{
    TTreeNodes* items = Tree->GetItems();
    TTreeNode* a = items->Add(nullptr, "A");
    items->AddChild(a, "A1");
    TTreeNode* a2 = items->AddChild(a, "A2");
    items->Add(nullptr, "B");
    a->Expand(false);
    Tree->SetSelected(a2);
    std::vector<std::string> deleted;
    Tree->SetOnDeletion(TTVExpandedEvent::Lambda([&](TObject*, TTreeNode* node) { deleted.push_back(node->GetText()); }));
    Log.clear();
    a->Delete();
    EXPECT_EQ(Order(), "B");
    EXPECT_EQ(Tree->GetSelected()->GetText(), "B");
    EXPECT_EQ(Log, (std::vector<std::string>{"Change B"}));
    EXPECT_EQ(deleted, (std::vector<std::string>{"A2", "A1", "A"}));
    Log.clear();
    items->Clear();
    EXPECT_EQ(Log, (std::vector<std::string>{"Change nil"}));
    EXPECT_EQ(items->GetCount(), 0);
}

TEST_F(TreeModelTest, OnChangingCanRefuseASelection)
{
    AddTopLevel({"A", "B"});
    Tree->SetSelected(Node(0));
    Refuse = true;
    Log.clear();
    Node(1)->SetSelected(true);
    EXPECT_EQ(Tree->GetSelected(), Node(0));
    EXPECT_EQ(Log, (std::vector<std::string>{"Changing B"}));
    Refuse = false;
    Log.clear();
    Tree->SetSelected(Node(1));
    EXPECT_TRUE(Node(1)->GetSelected());
    EXPECT_EQ(Log, (std::vector<std::string>{"Changing B", "Change B"}));
}

TEST_F(TreeModelTest, HandlersThatDeleteNodesLeaveNothingDangling)
{
    AddTopLevel({"A", "B", "C"});
    Tree->SetSelected(Node(0));
    // OnChanging deletes the node it is asked about.
    Tree->SetOnChanging(TTVChangingEvent::Lambda([](TObject*, TTreeNode* node, bool&) {
        if (node && node->GetText() == "C")
            node->Delete();
    }));
    Tree->SetSelected(Node(2));
    EXPECT_EQ(Order(), "A B");
    EXPECT_EQ(Tree->GetSelected()->GetText(), "A");
    // OnDeletion may not hang children on, or move, a node on its way out.
    TTreeNode* b = Node(1);
    std::vector<std::string> refused;
    Tree->SetOnDeletion(TTVExpandedEvent::Lambda([&](TObject*, TTreeNode* node) {
        try {
            Tree->GetItems()->AddChild(node, "late");
        } catch (const ETreeViewError&) {
            refused.push_back("add");
        }
        try {
            node->MoveTo(nullptr, naAdd);
        } catch (const ETreeViewError&) {
            refused.push_back("move");
        }
    }));
    b->Delete();
    EXPECT_EQ(refused, (std::vector<std::string>{"add", "move"}));
    EXPECT_EQ(Order(), "A");
}

TEST_F(TreeModelTest, ANodeOfAnotherTreeIsRefused)
{
    auto* other = new TTreeView(Form);
    other->SetParent(Form);
    TTreeNode* foreign = other->GetItems()->Add(nullptr, "X");
    AddTopLevel({"A"});
    EXPECT_THROW(Tree->SetSelected(foreign), ETreeViewError);
    EXPECT_THROW(Tree->GetItems()->AddChild(foreign, "Y"), ETreeViewError);
    EXPECT_THROW(Node(0)->MoveTo(foreign, naInsert), ETreeViewError);
    EXPECT_EQ(Order(), "A");
}

// Rows of 16 pixels (13-pixel text); Indent 19 with ShowRoot puts a top-level
// node's label at x = 19, an image (16 wide) pushes it to 35.
TEST_F(TreeModelTest, HitTestCodesAtThePartsOfARow)
{
    TTreeNodes* items = Tree->GetItems();
    TTreeNode* a = items->Add(nullptr, "Alpha");
    items->AddChild(a, "Child");
    items->Add(nullptr, "Beta");
    const Integer h = Tree->GetItemHeight();
    ASSERT_EQ(h, 16);
    const TRect label = a->DisplayRect(true);
    EXPECT_EQ(label.Left, 19);
    EXPECT_EQ(label.Top, 0);
    EXPECT_EQ(label.Bottom, h);

    EXPECT_EQ(Tree->GetHitTestInfoAt(label.Left + 3, 5), (THitTests{htOnItem, htOnLabel}));
    EXPECT_EQ(Tree->GetHitTestInfoAt(label.Right - 1, 5), (THitTests{htOnItem, htOnLabel}));
    EXPECT_EQ(Tree->GetHitTestInfoAt(label.Right, 5), (THitTests{htOnRight}));
    EXPECT_EQ(Tree->GetHitTestInfoAt(5, 5), (THitTests{htOnButton}));   // A has a child
    EXPECT_EQ(Tree->GetHitTestInfoAt(5, h + 5), (THitTests{htOnIndent})); // Beta has none
    EXPECT_EQ(Tree->GetHitTestInfoAt(30, 2 * h + 2), (THitTests{htNowhere}));  // below the last node
    EXPECT_EQ(Tree->GetHitTestInfoAt(30, -1), (THitTests{htAbove}));
    EXPECT_EQ(Tree->GetHitTestInfoAt(30, Tree->GetClientHeight()), (THitTests{htBelow}));
    EXPECT_EQ(Tree->GetHitTestInfoAt(-1, 5), (THitTests{htToLeft}));
    EXPECT_EQ(Tree->GetHitTestInfoAt(Tree->GetClientWidth(), -3), (THitTests{htToRight, htAbove}));
    // GetNodeAt finds the row's node anywhere in the row, nothing elsewhere.
    EXPECT_EQ(Tree->GetNodeAt(2, 5), a);
    EXPECT_EQ(Tree->GetNodeAt(Tree->GetClientWidth() - 1, h + 1)->GetText(), "Beta");
    EXPECT_EQ(Tree->GetNodeAt(30, 2 * h + 2), nullptr);
    EXPECT_EQ(Tree->GetNodeAt(30, -1), nullptr);

    auto* images = new TImageList(Form, 16, 16);
    auto* bitmap = new TBitmap();
    bitmap->SetSize(16, 16);
    images->Add(bitmap);
    delete bitmap;
    Tree->SetImages(images);
    EXPECT_EQ(Tree->GetHitTestInfoAt(19, 5), (THitTests{htOnItem, htOnIcon}));
    EXPECT_EQ(Tree->GetHitTestInfoAt(34, 5), (THitTests{htOnItem, htOnIcon}));
    EXPECT_EQ(Tree->GetHitTestInfoAt(35, 5), (THitTests{htOnItem, htOnLabel}));
    EXPECT_EQ(a->DisplayRect(true).Left, 35);
    // Freeing the image list leaves the tree without one.
    delete images;
    EXPECT_EQ(Tree->GetImages(), nullptr);
    EXPECT_EQ(Tree->GetHitTestInfoAt(19, 5), (THitTests{htOnItem, htOnLabel}));
}

TEST_F(TreeModelTest, ACollapseOverTheSelectionSelectsTheCollapsingNode)
{
    TTreeNodes* items = Tree->GetItems();
    TTreeNode* a = items->Add(nullptr, "A");
    TTreeNode* child = items->AddChild(a, "A1");
    child->MakeVisible();
    EXPECT_TRUE(a->GetExpanded());
    Tree->SetSelected(child);
    bool refuse = true;
    Tree->SetOnCollapsing(TTVCollapsingEvent::Lambda([&](TObject*, TTreeNode*, bool& allow) { allow = !refuse; }));
    a->Collapse(false);
    EXPECT_TRUE(a->GetExpanded());
    refuse = false;
    Log.clear();
    a->Collapse(false);
    EXPECT_FALSE(a->GetExpanded());
    EXPECT_EQ(Tree->GetSelected(), a);
    EXPECT_EQ(Log, (std::vector<std::string>{"Change A"}));
}

TEST_F(TreeModelTest, AButtonWithoutChildrenGetsThemFromOnExpanding)
{
    AddTopLevel({"Lazy", "Empty"});
    Node(0)->SetHasChildren(true);
    Node(1)->SetHasChildren(true);
    Tree->SetOnExpanding(TTVExpandingEvent::Lambda([this](TObject*, TTreeNode* node, bool&) {
        if (node->GetText() == "Lazy" && node->GetCount() == 0)
            Tree->GetItems()->AddChild(node, "Loaded");
    }));
    EXPECT_EQ(Tree->GetHitTestInfoAt(9, 8), (THitTests{htOnButton}));
    Node(0)->Expand(false);
    EXPECT_TRUE(Node(0)->GetExpanded());
    EXPECT_EQ(Order(), "Lazy Loaded Empty");
    // Nothing came: the button goes.
    TTreeNode* empty = Node(2);
    empty->Expand(false);
    EXPECT_FALSE(empty->GetExpanded());
    EXPECT_FALSE(empty->GetHasChildren());
    EXPECT_EQ(Tree->GetHitTestInfoAt(9, 2 * 16 + 8), (THitTests{htOnIndent}));
}

TEST_F(TreeModelTest, ChangeDelayReportsTheLastSelectionOnceAfterTheDelay)
{
    AddTopLevel({"A", "B", "C"});
    Tree->SetChangeDelay(100);
    Tree->SetSelected(Node(0));
    Backend->Advance(60);
    Tree->SetSelected(Node(1));
    Tree->SetSelected(Node(2));
    Backend->Advance(99);
    EXPECT_EQ(Log, (std::vector<std::string>{"Changing A", "Changing B", "Changing C"}));
    Backend->Advance(1);
    Backend->Advance(300);
    EXPECT_EQ(Log.back(), "Change C");
    EXPECT_EQ(Log.size(), 4u);
}

TEST_F(TreeModelTest, AutoExpandOpensTheSelectedNodeAndClosesTheOneLeft)
{
    TTreeNodes* items = Tree->GetItems();
    TTreeNode* a = items->Add(nullptr, "A");
    items->AddChild(a, "A1");
    TTreeNode* b = items->Add(nullptr, "B");
    TTreeNode* b1 = items->AddChild(b, "B1");
    items->AddChild(b1, "B1x");
    Tree->SetAutoExpand(true);
    Tree->SetSelected(a);
    EXPECT_TRUE(a->GetExpanded());
    Tree->SetSelected(b);
    EXPECT_FALSE(a->GetExpanded());
    EXPECT_TRUE(b->GetExpanded());
    // Going down into a node's own children leaves it open.
    Tree->SetSelected(b1);
    EXPECT_TRUE(b->GetExpanded());
    EXPECT_TRUE(b1->GetExpanded());
}

TEST_F(TreeModelTest, SortedTreesKeepTheirNodesInTextOrder)
{
    AddTopLevel({"pear", "Apple", "fig"});
    Tree->SetSortType(stText);
    EXPECT_EQ(Order(), "Apple fig pear");
    Tree->GetItems()->Add(nullptr, "banana");
    EXPECT_EQ(Order(), "Apple banana fig pear");
    Node(0)->SetText("zucchini");
    EXPECT_EQ(Order(), "banana fig pear zucchini");
}

} // namespace
} // namespace ld::test
