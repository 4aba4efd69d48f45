// Unit ShortcutItemsEditor: the property editor of a list's Items and its
// dialog. The object inspector cannot edit the collection itself (it has no
// published properties), so the editor opens TShortcutItemsEditorForm on a
// detached working copy; only OK and Apply write the copy back to the list,
// through the property editor, which marks the form modified.
//
// The dialog is read from its stored form (the RCDATA resource
// TSHORTCUTITEMSEDITORFORM, kept as design/ShortcutItemsEditor.dfm). Each tree
// node stands for one item: its text is the caption, its data a TItemProperties
// with the rest (a node made by New Item has none until a value is edited, and
// then stands for a new item's values).
#pragma once

#include "controls/list/ShortcutList.h"
#include "platform/stdctrls/ComCtrls.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/vcl/DsgnIntf.h"

namespace ld {

class TShortcutItemsEditorForm;

// The item values a tree node cannot hold itself; owned by the dialog.
class TItemProperties : public TObject {
    LD_CLASS(TItemProperties, TObject)

    Integer ImageIndex = 0;
    Integer Tag = 0;
    bool Enabled = true;
};

class TShortcutItemsProperty : public TClassProperty {
    LD_CLASS(TShortcutItemsProperty, TClassProperty)

    using TClassProperty::TClassProperty;

    // The base's attributes with the dialog and without the sub-properties.
    TPropertyAttributes GetAttributes() override;
    // Runs the dialog modally on a copy of the first selected list's items.
    void Edit() override;
};

class TShortcutItemsEditorForm : public TForm {
    LD_CLASS(TShortcutItemsEditorForm, TForm)

    explicit TShortcutItemsEditorForm(TComponent* owner) : TForm(owner) {}

    // Published fields, bound by name from the stored form.
    TGroupBox* gbItems = nullptr;
    TGroupBox* gbProperties = nullptr;
    TTreeView* tvItems = nullptr;
    TButton* btNewItem = nullptr;
    TButton* btDelete = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TEdit* etImageIndex = nullptr;
    TEdit* etCaption = nullptr;
    TButton* btOK = nullptr;
    TButton* btCancel = nullptr;
    TButton* btApply = nullptr;
    TLabel* Label3 = nullptr;
    TEdit* etTag = nullptr;
    TLabel* Label4 = nullptr;
    TComboBox* cbEnabled = nullptr;

    // Published handlers.
    void btNewItemClick(TObject* sender);
    void etCaptionChange(TObject* sender);
    void tvItemsChange(TObject* sender, TTreeNode* node);
    void btDeleteClick(TObject* sender);
    void etImageIndexChange(TObject* sender);
    void btOKClick(TObject* sender);
    void FormShow(TObject* sender);
    void tvItemsMouseDown(TObject* sender, TMouseButton button, TShiftState shift, Integer x, Integer y);
    void tvItemsDragOver(TObject* sender, TObject* source, Integer x, Integer y, TDragState state, bool& accept);
    void tvItemsDragDrop(TObject* sender, TObject* source, Integer x, Integer y);
    void etTagChange(TObject* sender);
    void FormDestroy(TObject* sender);
    void cbEnabledChange(TObject* sender);

    // What the property editor hands over before ShowModal.
    TShortcutItems* GetWorkItems() const { return FWorkItems; }
    void SetWorkItems(TShortcutItems* items) { FWorkItems = items; }
    TShortcutItemsProperty* GetPropertyEditor() const { return FPropertyEditor; }
    void SetPropertyEditor(TShortcutItemsProperty* editor) { FPropertyEditor = editor; }

private:
    // The selected node's values, attached on first edit.
    TItemProperties* SelectedProperties();
    // Stores the number typed into Edit; empty text is 0, other text is ignored.
    void StoreNumber(TEdit* edit, Integer TItemProperties::*field);
    void EnableValueControls(bool enabled);
    void RebuildWorkItems();

    TShortcutItems* FWorkItems = nullptr;
    TShortcutItemsProperty* FPropertyEditor = nullptr;
};

} // namespace ld
