// TTreeNode and TTreeNodes: the tree itself. Adding, inserting, moving and
// deleting nodes, the tree-order and row-order lists rebuilt on demand, and the
// host's stored form of the nodes (the binary "Data" value).
//
// Index: TTreeNode; TTreeNodes: adding and deleting; the lists; the stored form.
#include <algorithm>
#include <cstring>

#include "platform/stdctrls/ComCtrls.h"
#include "platform/stream/Filer.h"

namespace ld {

TClass TTreeNode::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TTreeNode>("TTreeNode", TPersistent::StaticClass());
    return &info;
}

TClass TTreeNodes::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TTreeNodes>("TTreeNodes", TPersistent::StaticClass());
    return &info;
}

// ---- TTreeNode ----------------------------------------------------------------------

TTreeNode::TTreeNode(TTreeNodes* owner) : FOwner(owner) {}

// A node deleted with the selection inside it hands the selection on once,
// after the whole subtree is gone, so the view never reports a node that is
// about to go.
TTreeNode::~TTreeNode()
{
    FDeleting = true;
    TCustomTreeView* view = FOwner->FOwner;
    const bool viewAlive = view && !view->FDestroyingTree;
    TTreeNode* replacement = nullptr;
    bool hadSelection = false;
    if (viewAlive && view->FSelected && (view->FSelected == this || view->FSelected->HasAsParent(this))) {
        hadSelection = true;
        replacement = view->ReplacementFor(this);
        view->FSelected = nullptr;
    }
    while (!FChildren.empty())
        delete FChildren.back();
    if (viewAlive)
        view->Delete(this);
    FOwner->Detach(this);
    --FOwner->FCount;
    ++FOwner->FDeletions;
    if (hadSelection)
        view->NodeDeleted(replacement);
}

TCustomTreeView* TTreeNode::GetTreeView() const { return FOwner->FOwner; }

void TTreeNode::SetText(const std::string& value)
{
    if (FText == value)
        return;
    FText = value;
    if (TCustomTreeView* view = GetTreeView())
        view->NodeTextChanged(this);
}

// The image indexes only change how the row looks.
void TTreeNode::SetIndexValue(Integer& field, Integer value)
{
    if (field == value)
        return;
    field = value;
    if (TCustomTreeView* view = GetTreeView())
        view->InvalidateNode(this);
}

Integer TTreeNode::GetIndex() const
{
    FOwner->Reindex();
    return FIndex;
}

Integer TTreeNode::GetAbsoluteIndex() const
{
    FOwner->Reindex();
    return FAbsoluteIndex;
}

Integer TTreeNode::GetLevel() const
{
    Integer level = 0;
    for (const TTreeNode* p = FParent; p; p = p->FParent)
        ++level;
    return level;
}

TTreeNode* TTreeNode::GetItem(Integer index) const
{
    if (index < 0 || index >= GetCount())
        throw ETreeViewError(Format("List index out of bounds (%d)", {index}));
    return FChildren[size_t(index)];
}

Integer TTreeNode::IndexOf(const TTreeNode* child) const
{
    if (!child || child->FParent != this)
        return -1;
    return child->GetIndex();
}

bool TTreeNode::HasAsParent(const TTreeNode* node) const
{
    if (!node)
        return false;
    for (const TTreeNode* p = FParent; p; p = p->FParent)
        if (p == node)
            return true;
    return false;
}

TTreeNode* TTreeNode::GetNextSibling() const
{
    const auto& siblings = FOwner->SiblingsOf(FParent);
    const Integer index = GetIndex() + 1;
    return index < Integer(siblings.size()) ? siblings[size_t(index)] : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const
{
    const Integer index = GetIndex() - 1;
    return index >= 0 ? FOwner->SiblingsOf(FParent)[size_t(index)] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const
{
    FOwner->Reindex();
    const size_t next = size_t(FAbsoluteIndex) + 1;
    return next < FOwner->FAll.size() ? FOwner->FAll[next] : nullptr;
}

TTreeNode* TTreeNode::GetPrev() const
{
    FOwner->Reindex();
    return FAbsoluteIndex > 0 ? FOwner->FAll[size_t(FAbsoluteIndex) - 1] : nullptr;
}

TTreeNode* TTreeNode::GetNextVisible() const
{
    const auto& rows = FOwner->Rows();
    if (FRow < 0 || size_t(FRow) + 1 >= rows.size())
        return nullptr;
    return rows[size_t(FRow) + 1];
}

TTreeNode* TTreeNode::GetPrevVisible() const
{
    FOwner->Rows();
    return FRow > 0 ? FOwner->FRows[size_t(FRow) - 1] : nullptr;
}

bool TTreeNode::IsVisible() const
{
    FOwner->Reindex();
    return FRow >= 0;
}

void TTreeNode::SetExpanded(bool value)
{
    if (value)
        Expand(false);
    else
        Collapse(false);
}

void TTreeNode::Expand(bool recurse)
{
    TCustomTreeView* view = GetTreeView();
    if (!FExpanded && GetHasChildren()) {
        if (view)
            view->SetNodeExpanded(this, true);
        else
            FExpanded = true;
    }
    if (recurse)
        for (TTreeNode* child : std::vector<TTreeNode*>(FChildren))
            child->Expand(true);
}

void TTreeNode::Collapse(bool recurse)
{
    TCustomTreeView* view = GetTreeView();
    if (FExpanded) {
        if (view)
            view->SetNodeExpanded(this, false);
        else
            FExpanded = false;
    }
    if (recurse)
        for (TTreeNode* child : std::vector<TTreeNode*>(FChildren))
            child->Collapse(true);
}

void TTreeNode::SetHasChildren(bool value)
{
    if (FHasChildren == value)
        return;
    FHasChildren = value;
    if (TCustomTreeView* view = GetTreeView())
        view->InvalidateNode(this);
}

bool TTreeNode::GetSelected() const
{
    TCustomTreeView* view = GetTreeView();
    return view && view->GetSelected() == this;
}

void TTreeNode::SetSelected(bool value)
{
    TCustomTreeView* view = GetTreeView();
    if (!view)
        return;
    if (value)
        view->SetSelected(this);
    else if (view->GetSelected() == this)
        view->SetSelected(nullptr);
}

bool TTreeNode::GetDropTarget() const
{
    TCustomTreeView* view = GetTreeView();
    return view && view->GetDropTarget() == this;
}

void TTreeNode::SetDropTarget(bool value)
{
    TCustomTreeView* view = GetTreeView();
    if (!view)
        return;
    if (value)
        view->SetDropTarget(this);
    else if (view->GetDropTarget() == this)
        view->SetDropTarget(nullptr);
}

void TTreeNode::MakeVisible()
{
    for (TTreeNode* p = FParent; p; p = p->FParent)
        if (!p->FExpanded)
            p->Expand(false);
    if (TCustomTreeView* view = GetTreeView())
        view->ScrollIntoView(this);
}

TRect TTreeNode::DisplayRect(bool textOnly) const
{
    TCustomTreeView* view = GetTreeView();
    if (!view || !IsVisible())
        return {};
    return textOnly ? view->LabelRect(this) : view->RowRect(FRow);
}

void TTreeNode::MoveTo(TTreeNode* destination, TNodeAttachMode mode)
{
    if (destination && destination->FOwner != FOwner)
        throw ETreeViewError("A node can only move within its own tree");
    if (FDeleting || (destination && destination->FDeleting))
        throw ETreeViewError("A node being deleted cannot move");
    const bool asChild = mode == naAddChild || mode == naAddChildFirst;
    if (destination && (destination->HasAsParent(this) || (destination == this && asChild)))
        return;
    if (destination == this && mode == naInsert)
        return;
    TTreeNode* newParent = asChild ? destination : (destination ? destination->FParent : nullptr);
    FOwner->Detach(this);
    const auto& siblings = FOwner->SiblingsOf(newParent);
    Integer position = Integer(siblings.size());
    if (mode == naAddFirst || mode == naAddChildFirst)
        position = 0;
    else if (mode == naInsert && destination)
        position = Integer(std::find(siblings.begin(), siblings.end(), destination) - siblings.begin());
    FOwner->Attach(this, newParent, position);
    if (TCustomTreeView* view = GetTreeView(); view && view->SortsByText())
        view->SortSiblings(FOwner->SiblingsOf(newParent), false);
}

void TTreeNode::Delete()
{
    if (!FDeleting)
        delete this;
}

void TTreeNode::DeleteChildren()
{
    FOwner->BeginUpdate();
    try {
        while (!FChildren.empty())
            delete FChildren.back();
    } catch (...) {
        FOwner->EndUpdate();
        throw;
    }
    FOwner->EndUpdate();
}

void TTreeNode::Assign(TPersistent* source)
{
    auto* node = dynamic_cast<TTreeNode*>(source);
    if (!node) {
        inherited::Assign(source);
        return;
    }
    SetText(node->FText);
    FData = node->FData;
    FImageIndex = node->FImageIndex;
    FSelectedIndex = node->FSelectedIndex;
    FStateIndex = node->FStateIndex;
    FOverlayIndex = node->FOverlayIndex;
}

// ---- TTreeNodes: adding and deleting --------------------------------------------------------

TTreeNodes::TTreeNodes(TCustomTreeView* owner) : FOwner(owner) {}

TTreeNodes::~TTreeNodes()
{
    while (!FRoots.empty())
        delete FRoots.back();
}

void TTreeNodes::Attach(TTreeNode* node, TTreeNode* parent, Integer position)
{
    auto& siblings = SiblingsOf(parent);
    position = std::clamp(position, 0, Integer(siblings.size()));
    siblings.insert(siblings.begin() + position, node);
    node->FParent = parent;
    ShapeChanged();
}

void TTreeNodes::Detach(TTreeNode* node)
{
    // Deletions mostly take the last node first, so the search starts there.
    auto& siblings = SiblingsOf(node->FParent);
    if (auto it = std::find(siblings.rbegin(), siblings.rend(), node); it != siblings.rend())
        siblings.erase(std::next(it).base());
    // A parent left without children has nothing to show expanded.
    if (node->FParent && node->FParent->FChildren.empty())
        node->FParent->FExpanded = false;
    node->FParent = nullptr;
    node->FRow = -1;
    ShapeChanged();
}

void TTreeNodes::ShapeChanged()
{
    FDirty = true;
    if (FOwner)
        FOwner->ShapeChanged();
}

TTreeNode* TTreeNodes::AddAt(TTreeNode* parent, Integer position, const std::string& text, void* data)
{
    if (parent && parent->FOwner != this)
        throw ETreeViewError("The node belongs to another tree");
    if (parent && parent->FDeleting)
        throw ETreeViewError("A node being deleted cannot take children");
    auto* node = new TTreeNode(this);
    node->FText = text;
    node->FData = data;
    if (FOwner && FOwner->SortsByText()) {
        // Sorted trees take a new node at its place in the order.
        auto& siblings = SiblingsOf(parent);
        position = Integer(siblings.size());
        for (Integer i = 0; i < Integer(siblings.size()); ++i)
            if (FOwner->CompareNodes(node, siblings[size_t(i)]) < 0) {
                position = i;
                break;
            }
    }
    ++FCount;
    Attach(node, parent, position);
    return node;
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* node, const std::string& text, void* data)
{
    TTreeNode* parent = node ? node->FParent : nullptr;
    return AddAt(parent, Integer(SiblingsOf(parent).size()), text, data);
}

TTreeNode* TTreeNodes::AddObjectFirst(TTreeNode* node, const std::string& text, void* data)
{
    return AddAt(node ? node->FParent : nullptr, 0, text, data);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* node, const std::string& text, void* data)
{
    return AddAt(node, Integer(SiblingsOf(node).size()), text, data);
}

TTreeNode* TTreeNodes::AddChildObjectFirst(TTreeNode* node, const std::string& text, void* data)
{
    return AddAt(node, 0, text, data);
}

TTreeNode* TTreeNodes::InsertObject(TTreeNode* node, const std::string& text, void* data)
{
    if (!node)
        return AddObject(nullptr, text, data);
    if (node->FOwner != this)
        throw ETreeViewError("The node belongs to another tree");
    return AddAt(node->FParent, node->GetIndex(), text, data);
}

void TTreeNodes::Delete(TTreeNode* node)
{
    if (!node)
        return;
    if (node->FOwner != this)
        throw ETreeViewError("The node belongs to another tree");
    node->Delete();
}

void TTreeNodes::Clear()
{
    if (FRoots.empty())
        return;
    TCustomTreeView* view = FOwner;
    const bool hadSelection = view && view->FSelected;
    if (view)
        view->FSelected = nullptr;
    BeginUpdate();
    try {
        while (!FRoots.empty())
            delete FRoots.back();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    if (hadSelection && !view->FDestroyingTree)
        view->NodeDeleted(nullptr);
}

void TTreeNodes::BeginUpdate() { ++FUpdateCount; }

void TTreeNodes::EndUpdate()
{
    if (FUpdateCount == 0)
        return;
    if (--FUpdateCount == 0 && FOwner)
        FOwner->ShapeChanged();
}

namespace {
void CopyChildren(TTreeNodes* into, TTreeNode* parent, const std::vector<TTreeNode*>& from)
{
    for (TTreeNode* source : from) {
        TTreeNode* node = into->AddChild(parent, source->GetText());
        node->Assign(source);
        const std::vector<TTreeNode*> children = [&] {
            std::vector<TTreeNode*> list;
            for (Integer i = 0; i < source->GetCount(); ++i)
                list.push_back(source->GetItem(i));
            return list;
        }();
        CopyChildren(into, node, children);
    }
}
} // namespace

void TTreeNodes::Assign(TPersistent* source)
{
    auto* nodes = dynamic_cast<TTreeNodes*>(source);
    if (!nodes) {
        inherited::Assign(source);
        return;
    }
    if (nodes == this)
        return;
    BeginUpdate();
    try {
        Clear();
        CopyChildren(this, nullptr, nodes->FRoots);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

// ---- TTreeNodes: the lists --------------------------------------------------------------------

// One walk in tree order fills both lists and every node's indexes; a node has
// a row when all its parents are expanded.
void TTreeNodes::Reindex() const
{
    if (!FDirty)
        return;
    FDirty = false;
    FAll.clear();
    FRows.clear();
    FAll.reserve(size_t(FCount));
    struct TStep {
        const std::vector<TTreeNode*>* Siblings;
        size_t Next;
        bool Shown;
    };
    std::vector<TStep> stack{{&FRoots, 0, true}};
    while (!stack.empty()) {
        TStep& step = stack.back();
        if (step.Next >= step.Siblings->size()) {
            stack.pop_back();
            continue;
        }
        TTreeNode* node = (*step.Siblings)[step.Next];
        node->FIndex = Integer(step.Next++);
        node->FAbsoluteIndex = Integer(FAll.size());
        FAll.push_back(node);
        node->FRow = -1;
        if (step.Shown) {
            node->FRow = Integer(FRows.size());
            FRows.push_back(node);
        }
        const bool childrenShown = step.Shown && node->FExpanded;
        if (!node->FChildren.empty())
            stack.push_back({&node->FChildren, 0, childrenShown});
    }
}

bool TTreeNodes::Contains(const TTreeNode* node) const
{
    Reindex();
    return std::find(FAll.begin(), FAll.end(), node) != FAll.end();
}

const std::vector<TTreeNode*>& TTreeNodes::Rows() const
{
    Reindex();
    return FRows;
}

TTreeNode* TTreeNodes::GetItem(Integer index) const
{
    if (index < 0 || index >= FCount)
        throw ETreeViewError("Invalid index");
    Reindex();
    return FAll[size_t(index)];
}

// ---- TTreeNodes: the stored form ------------------------------------------------------------------
//
// The host's layout, little-endian: the number of top-level nodes (32 bits),
// then each node in tree order as a 32-bit size followed by that many bytes:
// image index, selected index, state index, overlay index, the data value (32
// bits each), the number of children (32 bits) and the text as a short string
// (a length byte and at most 255 bytes); the children follow their parent.

namespace {

constexpr Integer NodeFixedSize = 6 * 4 + 1;     // the fields and the length byte
constexpr Int64 SmallestStoredNode = 4 + NodeFixedSize;

Integer ReadInt32(const Byte* p)
{
    uint32_t v;
    std::memcpy(&v, p, 4);
    return Integer(v);
}

void PutInt32(std::string& out, Integer value)
{
    const uint32_t v = uint32_t(value);
    out.append(reinterpret_cast<const char*>(&v), 4);
}

Integer ReadCount(TStream* stream, const char* what)
{
    Integer count;
    stream->ReadBuffer(&count, 4);
    // Every node takes at least SmallestStoredNode bytes, so a larger count
    // cannot be true and is not believed.
    if (count < 0 || count > stream->Remaining() / SmallestStoredNode)
        throw EReadError(Format("Tree nodes: %s %d does not fit the stored data", {std::string(what), count}));
    return count;
}

} // namespace

void TTreeNodes::DefineProperties(TFiler* filer)
{
    inherited::DefineProperties(filer);
    filer->DefineBinaryProperty("Data", TStreamProc(this, &TTreeNodes::ReadData),
                                TStreamProc(this, &TTreeNodes::WriteData), FCount > 0);
}

void TTreeNodes::ReadData(TStream* stream)
{
    BeginUpdate();
    try {
        Clear();
        struct TLevel {
            TTreeNode* Parent;
            Integer Left;
        };
        std::vector<TLevel> stack{{nullptr, ReadCount(stream, "count")}};
        while (!stack.empty()) {
            if (stack.back().Left == 0) {
                stack.pop_back();
                continue;
            }
            --stack.back().Left;
            TTreeNode* parent = stack.back().Parent;
            Integer size;
            stream->ReadBuffer(&size, 4);
            if (size < NodeFixedSize || size > NodeFixedSize + 255)
                throw EReadError(Format("Tree nodes: a node record of %d bytes", {size}));
            Byte record[NodeFixedSize + 255];
            stream->ReadBuffer(record, size);
            const Integer length = record[NodeFixedSize - 1];
            if (NodeFixedSize + length != size)
                throw EReadError(Format("Tree nodes: a text of %d bytes in a record of %d", {length, size}));
            TTreeNode* node = AddChild(parent, std::string(reinterpret_cast<const char*>(record + NodeFixedSize), size_t(length)));
            node->FImageIndex = ReadInt32(record);
            node->FSelectedIndex = ReadInt32(record + 4);
            node->FStateIndex = ReadInt32(record + 8);
            node->FOverlayIndex = ReadInt32(record + 12);
            // The data value (record + 16) was an address in the program that
            // wrote it; it means nothing here and is not taken.
            const Integer children = ReadInt32(record + 20);
            if (children < 0 || children > stream->Remaining() / SmallestStoredNode)
                throw EReadError(Format("Tree nodes: child count %d does not fit the stored data", {children}));
            if (children > 0)
                stack.push_back({node, children});
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TTreeNodes::WriteNode(TStream* stream, TTreeNode* node)
{
    const size_t length = std::min<size_t>(node->FText.size(), 255);
    std::string record;
    PutInt32(record, NodeFixedSize + Integer(length));
    PutInt32(record, node->FImageIndex);
    PutInt32(record, node->FSelectedIndex);
    PutInt32(record, node->FStateIndex);
    PutInt32(record, node->FOverlayIndex);
    PutInt32(record, 0);  // the data value: an address is not worth storing
    PutInt32(record, node->GetCount());
    record.push_back(char(length));
    record.append(node->FText, 0, length);
    stream->WriteBuffer(record.data(), Int64(record.size()));
}

void TTreeNodes::WriteData(TStream* stream)
{
    const Integer roots = Integer(FRoots.size());
    stream->WriteBuffer(&roots, 4);
    Reindex();
    for (TTreeNode* node : FAll)
        WriteNode(stream, node);
}

} // namespace ld
