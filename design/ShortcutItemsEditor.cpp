#include "design/ShortcutItemsEditor.h"

#include <memory>

#include "platform/core/ClassRegistry.h"
#include "platform/core/SysUtils.h"

namespace ld {

namespace {

TItemProperties* PropertiesOf(const TTreeNode* node) { return static_cast<TItemProperties*>(node->GetData()); }

// Frees a node's values and leaves the node without any.
void FreeProperties(TTreeNode* node)
{
    delete PropertiesOf(node);
    node->SetData(nullptr);
}

} // namespace

TClass TItemProperties::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TItemProperties>("TItemProperties", TObject::StaticClass());
    return &info;
}

// ---- the property editor ------------------------------------------------------------------

TClass TShortcutItemsProperty::StaticClass()
{
    static const TClassInfo info =
        TClassBuilder<TShortcutItemsProperty>("TShortcutItemsProperty", TClassProperty::StaticClass());
    return &info;
}

TPropertyAttributes TShortcutItemsProperty::GetAttributes()
{
    TPropertyAttributes attributes = TClassProperty::GetAttributes();
    attributes.Include(paDialog);
    attributes.Exclude(paSubProperties);
    return attributes;
}

// The modal result is not looked at: OK and Apply have written the items back
// while the dialog was open.
void TShortcutItemsProperty::Edit()
{
    auto* dialog = static_cast<TShortcutItemsEditorForm*>(
        CreateComponent(TShortcutItemsEditorForm::StaticClass(), Application));
    std::unique_ptr<TShortcutItems> work;
    try {
        work = std::make_unique<TShortcutItems>(nullptr);
        dialog->SetWorkItems(work.get());
        work->Assign(static_cast<TShortcutItems*>(GetOrdValue()));
        dialog->SetPropertyEditor(this);
        dialog->ShowModal();
    } catch (...) {
        work.reset();
        FreeObject(dialog);
        throw;
    }
    work.reset();
    FreeObject(dialog);
}

// ---- the dialog ---------------------------------------------------------------------------

TClass TShortcutItemsEditorForm::StaticClass()
{
    using F = TShortcutItemsEditorForm;
    static const TClassInfo info = TClassBuilder<F>("TShortcutItemsEditorForm", TForm::StaticClass())
        .Field("gbItems", &F::gbItems)
        .Field("gbProperties", &F::gbProperties)
        .Field("tvItems", &F::tvItems)
        .Field("btNewItem", &F::btNewItem)
        .Field("btDelete", &F::btDelete)
        .Field("Label1", &F::Label1)
        .Field("Label2", &F::Label2)
        .Field("etImageIndex", &F::etImageIndex)
        .Field("etCaption", &F::etCaption)
        .Field("btOK", &F::btOK)
        .Field("btCancel", &F::btCancel)
        .Field("btApply", &F::btApply)
        .Field("Label3", &F::Label3)
        .Field("etTag", &F::etTag)
        .Field("Label4", &F::Label4)
        .Field("cbEnabled", &F::cbEnabled)
        .Method("btNewItemClick", &F::btNewItemClick)
        .Method("etCaptionChange", &F::etCaptionChange)
        .Method("tvItemsChange", &F::tvItemsChange)
        .Method("btDeleteClick", &F::btDeleteClick)
        .Method("etImageIndexChange", &F::etImageIndexChange)
        .Method("btOKClick", &F::btOKClick)
        .Method("FormShow", &F::FormShow)
        .Method("tvItemsMouseDown", &F::tvItemsMouseDown)
        .Method("tvItemsDragOver", &F::tvItemsDragOver)
        .Method("tvItemsDragDrop", &F::tvItemsDragDrop)
        .Method("etTagChange", &F::etTagChange)
        .Method("FormDestroy", &F::FormDestroy)
        .Method("cbEnabledChange", &F::cbEnabledChange);
    return &info;
}

void TShortcutItemsEditorForm::EnableValueControls(bool enabled)
{
    etCaption->SetEnabled(enabled);
    etImageIndex->SetEnabled(enabled);
    etTag->SetEnabled(enabled);
    cbEnabled->SetEnabled(enabled);
}

void TShortcutItemsEditorForm::FormShow(TObject*)
{
    TTreeNodes* nodes = tvItems->GetItems();
    for (Integer i = 0; i < FWorkItems->GetCount(); ++i) {
        const TShortcutItem* item = FWorkItems->GetItem(i);
        auto* values = new TItemProperties;
        values->ImageIndex = item->GetImageIndex();
        values->Tag = item->GetTag();
        values->Enabled = item->GetEnabled();
        nodes->AddObject(nullptr, item->GetCaption(), values);
    }
    if (nodes->GetCount() > 0) {
        tvItems->SetSelected(nodes->GetFirstNode());
        EnableValueControls(true);
    }
}

void TShortcutItemsEditorForm::tvItemsChange(TObject*, TTreeNode*)
{
    TTreeNode* node = tvItems->GetSelected();
    if (node == nullptr)
        return;
    etCaption->SetText(node->GetText());
    if (const TItemProperties* values = PropertiesOf(node)) {
        etImageIndex->SetText(IntToStr(values->ImageIndex));
        etTag->SetText(IntToStr(values->Tag));
        cbEnabled->SetItemIndex(values->Enabled ? 1 : 0);
    } else {
        etImageIndex->SetText("0");
        etTag->SetText("0");
        cbEnabled->SetItemIndex(1);
    }
}

void TShortcutItemsEditorForm::btNewItemClick(TObject*)
{
    TTreeNode* node = tvItems->GetItems()->Add(nullptr, "");
    tvItems->SetSelected(node);
    EnableValueControls(true);
    etCaption->SetFocus();
}

// The tree picks the node that takes the deleted one's place (and reports the
// change); only when none is left do the value controls go blank and grey.
void TShortcutItemsEditorForm::btDeleteClick(TObject*)
{
    TTreeNode* node = tvItems->GetSelected();
    if (node == nullptr)
        return;
    FreeProperties(node);
    node->Delete();
    if (tvItems->GetSelected() == nullptr) {
        etCaption->SetText("");
        etImageIndex->SetText("");
        etTag->SetText("");
        cbEnabled->SetItemIndex(-1);
        EnableValueControls(false);
    }
}

void TShortcutItemsEditorForm::etCaptionChange(TObject*)
{
    if (TTreeNode* node = tvItems->GetSelected())
        node->SetText(etCaption->GetText());
}

TItemProperties* TShortcutItemsEditorForm::SelectedProperties()
{
    TTreeNode* node = tvItems->GetSelected();
    if (node == nullptr)
        return nullptr;
    if (PropertiesOf(node) == nullptr)
        node->SetData(new TItemProperties);
    return PropertiesOf(node);
}

// Text that is not a number (half typed, say) is ignored without a word: the
// last number stays what OK writes.
void TShortcutItemsEditorForm::StoreNumber(TEdit* edit, Integer TItemProperties::*field)
{
    TItemProperties* values = SelectedProperties();
    if (values == nullptr)
        return;
    const std::string text = edit->GetText();
    try {
        values->*field = text.empty() ? 0 : StrToInt(text);
    } catch (const EConvertError&) {
    }
}

void TShortcutItemsEditorForm::etImageIndexChange(TObject*) { StoreNumber(etImageIndex, &TItemProperties::ImageIndex); }

void TShortcutItemsEditorForm::etTagChange(TObject*) { StoreNumber(etTag, &TItemProperties::Tag); }

void TShortcutItemsEditorForm::cbEnabledChange(TObject*)
{
    if (TItemProperties* values = SelectedProperties())
        values->Enabled = cbEnabled->GetItemIndex() != 0;
}

// Any button starts it: the drag begins once the pointer has moved far enough.
void TShortcutItemsEditorForm::tvItemsMouseDown(TObject*, TMouseButton, TShiftState, Integer x, Integer y)
{
    if (tvItems->GetNodeAt(x, y) != nullptr)
        tvItems->BeginDrag(false);
}

void TShortcutItemsEditorForm::tvItemsDragOver(TObject*, TObject*, Integer, Integer, TDragState, bool& accept)
{
    accept = true;
}

// Only a drop on a node's icon or label moves the selected node before it; the
// indent and the blank space right of the label or below the last node do not.
void TShortcutItemsEditorForm::tvItemsDragDrop(TObject*, TObject*, Integer x, Integer y)
{
    const THitTests hit = tvItems->GetHitTestInfoAt(x, y);
    TTreeNode* target = tvItems->GetNodeAt(x, y);
    TTreeNode* moved = tvItems->GetSelected();
    if (target == nullptr || moved == nullptr || moved == target)
        return;
    if (hit.Contains(htOnItem) || hit.Contains(htOnIcon) || hit.Contains(htOnLabel) || hit.Contains(htOnStateIcon))
        moved->MoveTo(target, naInsert);
}

void TShortcutItemsEditorForm::RebuildWorkItems()
{
    FWorkItems->BeginUpdate();
    try {
        FWorkItems->Clear();
        TTreeNodes* nodes = tvItems->GetItems();
        for (Integer i = 0; i < nodes->GetCount(); ++i) {
            const TTreeNode* node = nodes->GetItem(i);
            TShortcutItem* item = FWorkItems->Add();
            item->SetCaption(node->GetText());
            if (const TItemProperties* values = PropertiesOf(node)) {
                item->SetImageIndex(values->ImageIndex);
                item->SetTag(values->Tag);
                item->SetEnabled(values->Enabled);
            }
        }
    } catch (...) {
        FWorkItems->EndUpdate();
        throw;
    }
    FWorkItems->EndUpdate();
}

// OK and Apply both write the items; only OK closes the dialog.
void TShortcutItemsEditorForm::btOKClick(TObject* sender)
{
    RebuildWorkItems();
    if (FPropertyEditor != nullptr)
        FPropertyEditor->SetOrdValue(FWorkItems);
    if (sender == btOK)
        SetModalResult(mrOk);
}

void TShortcutItemsEditorForm::FormDestroy(TObject*)
{
    if (tvItems == nullptr)
        return;
    TTreeNodes* nodes = tvItems->GetItems();
    for (Integer i = 0; i < nodes->GetCount(); ++i)
        FreeProperties(nodes->GetItem(i));
}

} // namespace ld
