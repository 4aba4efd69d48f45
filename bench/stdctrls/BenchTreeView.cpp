// The tree view: selecting the next node of a 10,000-node tree with its repaint
// (the two rows concerned, and the scroll by one row once the selection runs
// off the bottom), and the hit test of a point on a label.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/backends/HeadlessBackend.h"
#include "platform/stdctrls/ComCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Paint.h"

namespace ld {
namespace {

// The items dialog's tree (121 x 117) holding 10,000 nodes: 1,000 top-level
// nodes with 9 children each, every node open.
struct TTreeScene {
    TTreeScene()
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 300);
        Form->Show();
        Tree = new TTreeView(Form);
        Tree->SetParent(Form);
        Tree->SetBounds(8, 16, 121, 117);
        Tree->SetHideSelection(false);
        TTreeNodes* items = Tree->GetItems();
        items->BeginUpdate();
        for (int i = 0; i < 1000; ++i) {
            TTreeNode* parent = items->Add(nullptr, "Node " + std::to_string(i));
            for (int j = 0; j < 9; ++j)
                items->AddChild(parent, "Child " + std::to_string(j));
            parent->Expand(false);
        }
        items->EndUpdate();
        Tree->SetFocus();
        Backend.RunUntilIdle();
    }
    ~TTreeScene() { delete Form; }
    THeadlessBackend Backend;
    TForm* Form;
    TTreeView* Tree;
};

void BM_TreeSelectNext(benchmark::State& state)
{
    TTreeScene scene;
    TTreeView* tree = scene.Tree;
    TTreeNode* first = tree->GetItems()->GetFirstNode();
    tree->SetSelected(first);
    tree->Update();
    for (auto _ : state) {
        TTreeNode* next = tree->GetSelected()->GetNext();
        tree->SetSelected(next ? next : first);
        tree->Update();
    }
    state.counters["nodes"] = double(tree->GetItems()->GetCount());
}
BENCHMARK(BM_TreeSelectNext)->Unit(benchmark::kMicrosecond);

void BM_TreeHitTest(benchmark::State& state)
{
    TTreeScene scene;
    TTreeView* tree = scene.Tree;
    tree->SetTopRow(5000);
    const TRect label = tree->GetTopItem()->DisplayRect(true);
    Integer x = label.Left + 2;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tree->GetHitTestInfoAt(x, label.Top + 5));
        x = x == label.Left + 2 ? label.Left + 3 : label.Left + 2;
    }
}
BENCHMARK(BM_TreeHitTest)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace ld

