// A tree view in a form file: its published properties in the host's order
// with the host's defaults, the nodes as the binary Items.Data, a stored tree
// read and written back byte for byte, and malformed node data refused.
#include "platform/stream/Reader.h"
#include "platform/stream/Stream.h"
#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"
#include "tests/stdctrls/TreeViewTestSupport.h"

namespace ld::test {
namespace {

using TreeStreamTest = TreeViewTest;

std::string Binary(TComponent* root)
{
    TMemoryStream binary;
    WriteComponentToStream(&binary, root);
    const std::string all(reinterpret_cast<const char*>(binary.Memory()), size_t(binary.GetSize()));
    return std::string(StripResourceHeader(all));
}

std::string AsText(TComponent* root) { return BinaryToText(Binary(root)); }

// Text forms end their lines with CR LF, as the host's do.
std::string Crlf(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

TTreeView* ReadBack(const std::string& form, TForm* parent)
{
    auto* tree = new TTreeView(nullptr);
    tree->SetParent(parent);
    TStringStream input(form);
    ReadComponentFromStream(&input, tree);
    return tree;
}

// What the host writes for the items dialog's tree, given two nodes.
const char* const DialogTree = R"(object tvItems: TTreeView
  Left = 8
  Top = 16
  Width = 121
  Height = 117
  HideSelection = False
  Indent = 19
  ReadOnly = True
  TabOrder = 0
  Items.Data = {
    020000001A0000000000000000000000FFFFFFFFFFFFFFFF0000000000000000
    014120000000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF00000000000000000753
    6563C3B46E64}
end
)";

TEST_F(TreeStreamTest, AStoredTreeReadsAndWritesBackByteForByte)
{
    const std::string binary = TextToBinary(Crlf(DialogTree));
    TTreeView* tree = ReadBack(binary, Form);
    EXPECT_EQ(tree->GetName(), "tvItems");
    EXPECT_FALSE(tree->GetHideSelection());
    EXPECT_TRUE(tree->GetReadOnly());
    EXPECT_EQ(tree->GetIndent(), 19);
    ASSERT_EQ(tree->GetItems()->GetCount(), 2);
    EXPECT_EQ(tree->GetItems()->GetItem(0)->GetText(), "A");
    EXPECT_EQ(tree->GetItems()->GetItem(0)->GetImageIndex(), 0);
    EXPECT_EQ(tree->GetItems()->GetItem(0)->GetSelectedIndex(), 0);
    EXPECT_EQ(tree->GetItems()->GetItem(1)->GetText(), "Sec\xC3\xB4nd");
    EXPECT_EQ(tree->GetItems()->GetItem(1)->GetImageIndex(), -1);
    EXPECT_EQ(Binary(tree), binary);
    EXPECT_EQ(AsText(tree), Crlf(DialogTree));
    delete tree;
}

// A tree that is its own root publishes the dialog's handlers, so a stored
// tree can bind its events by name.
class THandlingTree : public TTreeView {
    LD_CLASS(THandlingTree, TTreeView)

    explicit THandlingTree(TComponent* owner) : TTreeView(owner) {}
    void tvItemsChange(TObject*, TTreeNode*) { ++Changes; }
    void tvItemsDragDrop(TObject*, TObject*, Integer, Integer) {}
    void tvItemsDragOver(TObject*, TObject*, Integer, Integer, TDragState, bool& accept) { accept = true; }
    void tvItemsMouseDown(TObject*, TMouseButton, TShiftState, Integer, Integer) {}
    Integer Changes = 0;
};

TClass THandlingTree::StaticClass()
{
    static const TClassInfo info = TClassBuilder<THandlingTree>("THandlingTree", TTreeView::StaticClass())
                                       .Method("tvItemsChange", &THandlingTree::tvItemsChange)
                                       .Method("tvItemsDragDrop", &THandlingTree::tvItemsDragDrop)
                                       .Method("tvItemsDragOver", &THandlingTree::tvItemsDragOver)
                                       .Method("tvItemsMouseDown", &THandlingTree::tvItemsMouseDown);
    return &info;
}

TEST_F(TreeStreamTest, TheDialogsTreeWithItsHandlers)
{
    const std::string form = Crlf(R"(object tvItems: THandlingTree
  Left = 8
  Top = 16
  Width = 121
  Height = 117
  HideSelection = False
  Indent = 19
  ReadOnly = True
  TabOrder = 0
  OnChange = tvItemsChange
  OnDragDrop = tvItemsDragDrop
  OnDragOver = tvItemsDragOver
  OnMouseDown = tvItemsMouseDown
end
)");
    auto* tree = new THandlingTree(nullptr);
    tree->SetParent(Form);
    TStringStream input(TextToBinary(form));
    ReadComponentFromStream(&input, tree);
    EXPECT_EQ(AsText(tree), form);
    tree->GetItems()->Add(nullptr, "A")->SetSelected(true);
    EXPECT_EQ(tree->Changes, 1);
    delete tree;
}

TEST_F(TreeStreamTest, PropertiesComeInTheHostsOrderWithItsDefaults)
{
    // A fresh tree stores its bounds, Indent (which has no default) and its tab order.
    auto* fresh = new TTreeView(nullptr);
    fresh->SetName("Fresh");
    fresh->SetParent(Form);
    EXPECT_EQ(AsText(fresh), Crlf("object Fresh: TTreeView\n  Left = 0\n  Top = 0\n  Width = 121\n  Height = 97\n"
                                  "  Indent = 19\n  TabOrder = 1\nend\n"));
    delete fresh;

    Tree->SetName("T");
    Tree->SetDragMode(dmAutomatic);
    Tree->SetShowRoot(false);
    Tree->SetRowSelect(true);
    Tree->SetColor(clBtnFace);
    Tree->SetSortType(stText);
    Tree->SetBorderStyle(bsNone);
    Tree->SetTabStop(false);
    Tree->GetItems()->Add(nullptr, "Only");
    const std::string text = AsText(Tree);
    const char* order[] = {"BorderStyle = bsNone", "Color = clBtnFace", "DragMode = dmAutomatic", "Indent = 19",
                           "RowSelect = True", "ShowRoot = False", "SortType = stText", "TabOrder = 0",
                           "TabStop = False", "Items.Data"};
    size_t at = 0;
    for (const char* line : order) {
        const size_t found = text.find(line, at);
        ASSERT_NE(found, std::string::npos) << line << " missing or out of order in\n" << text;
        at = found;
    }
    TTreeView* copy = ReadBack(TextToBinary(text), Form);
    EXPECT_EQ(AsText(copy), text);
    EXPECT_FALSE(copy->GetShowRoot());
    EXPECT_EQ(copy->GetSortType(), stText);
    delete copy;
}

TEST_F(TreeStreamTest, NestedNodesKeepTheirPlaces)
{
    TTreeNodes* items = Tree->GetItems();
    TTreeNode* a = items->Add(nullptr, "A");
    TTreeNode* a1 = items->AddChild(a, "A1");
    items->AddChild(a1, "A1x");
    items->AddChild(a, "A2");
    items->Add(nullptr, "B")->SetImageIndex(4);
    items->Add(nullptr, std::string(300, 'x'));
    TTreeView* copy = ReadBack(Binary(Tree), Form);
    TTreeNodes* back = copy->GetItems();
    ASSERT_EQ(back->GetCount(), 6);
    EXPECT_EQ(back->GetItem(2)->GetText(), "A1x");
    EXPECT_EQ(back->GetItem(2)->GetLevel(), 2);
    EXPECT_EQ(back->GetItem(3)->GetParent(), back->GetItem(0));
    EXPECT_EQ(back->GetItem(4)->GetImageIndex(), 4);
    // The stored form holds at most 255 bytes of text, as the host's does.
    EXPECT_EQ(back->GetItem(5)->GetText(), std::string(255, 'x'));
    delete copy;
}

TEST_F(TreeStreamTest, MalformedNodeDataIsRefused)
{
    const std::string good = TextToBinary(Crlf(DialogTree));
    const size_t data = good.find("Items.Data") + 10;  // the vaBinary byte
    ASSERT_EQ(Byte(good[data]), vaBinary);
    auto withPayload = [&](const std::string& payload) {
        std::string bad = good.substr(0, data + 1);
        const uint32_t size = uint32_t(payload.size());
        bad.append(reinterpret_cast<const char*>(&size), 4);
        bad += payload;
        const size_t end = data + 1 + 4 + 70;
        bad += good.substr(end);
        return bad;
    };
    auto int32 = [](uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
    const std::string record = int32(0) + int32(0) + int32(0xFFFFFFFF) + int32(0xFFFFFFFF) + int32(0);
    const std::vector<std::string> payloads = {
        int32(1000000),                                                  // more nodes than bytes
        int32(1) + int32(24) + std::string(24, '\0'),                    // a record too short
        int32(1) + int32(26) + record + int32(0) + "\x05" "A",           // text longer than its record
        int32(1) + int32(26) + record + int32(0x7FFFFFFF) + "\x01" "A",  // children that cannot be there
        int32(1) + int32(26) + record,                                   // cut off
    };
    for (const std::string& payload : payloads) {
        auto* tree = new TTreeView(nullptr);
        tree->SetParent(Form);
        TStringStream input(withPayload(payload));
        EXPECT_THROW(ReadComponentFromStream(&input, tree), EReadError);
        delete tree;
    }
}

} // namespace
} // namespace ld::test
