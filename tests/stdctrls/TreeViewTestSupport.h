// A tree view on the test form, filled with named nodes, and the record of
// its selection events.
#pragma once

#include <filesystem>

#include "platform/stdctrls/ComCtrls.h"
#include "tests/support/TestOutput.h"
#include "tests/vcl/VclTestSupport.h"

namespace ld::test {

class TreeViewTest : public VclTest {
protected:
    void SetUp() override
    {
        VclTest::SetUp();
        Tree = new TTreeView(Form);
        Tree->SetName("Tree");
        Tree->SetBounds(10, 10, 121, 117);
        Tree->SetParent(Form);
        Tree->SetOnChange(TTVChangedEvent::Lambda([this](TObject*, TTreeNode* node) {
            Log.push_back("Change " + (node ? node->GetText() : std::string("nil")));
        }));
        Tree->SetOnChanging(TTVChangingEvent::Lambda([this](TObject*, TTreeNode* node, bool& allow) {
            Log.push_back("Changing " + (node ? node->GetText() : std::string("nil")));
            allow = !Refuse;
        }));
        Backend->RunUntilIdle();
    }
    // Top-level nodes with the given texts.
    void AddTopLevel(std::initializer_list<const char*> texts)
    {
        for (const char* text : texts)
            Tree->GetItems()->Add(nullptr, text);
    }
    TTreeNode* Node(Integer index) { return Tree->GetItems()->GetItem(index); }
    std::string Order()
    {
        std::string out;
        for (Integer i = 0; i < Tree->GetItems()->GetCount(); ++i)
            out += (i ? " " : "") + Node(i)->GetText();
        return out;
    }
    // A client point of Tree on the screen.
    TPoint At(Integer x, Integer y) { return Tree->ClientToScreen({x, y}); }
    // The middle of a node's label, in client coordinates.
    TPoint LabelMiddle(TTreeNode* node)
    {
        const TRect r = node->DisplayRect(true);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    void ClickClient(TPoint p) { ClickOn(Tree, p.X, p.Y); }
    void PressKey(Integer vk)
    {
        Backend->Key(vk);
        Backend->RunUntilIdle();
    }
    static std::string OutputPath(const std::string& name)
    {
        return test::TestOutputPath(name);
    }

    TTreeView* Tree = nullptr;
    std::vector<std::string> Log;
    bool Refuse = false;
};

} // namespace ld::test
