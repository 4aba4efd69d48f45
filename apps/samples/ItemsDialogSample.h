// A form class for the stored form ItemsDialog.txt.dfm: the layout of the
// shortcut items dialog, with published fields and handlers of the same
// names, so that the form reads, binds and shows as the real dialog will.
// Its handlers only note that they ran; OK and Apply share one handler, and
// only OK closes the dialog.
#pragma once

#include <string>
#include <vector>

#include "platform/stdctrls/ComCtrls.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/vcl/Forms.h"

namespace ld::samples {

class TItemsDialogSample : public TForm {
    LD_CLASS(TItemsDialogSample, TForm)
    explicit TItemsDialogSample(TComponent* owner) : TForm(owner) {}

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

    // The handlers that ran, by name, in order.
    std::vector<std::string> Calls;

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
};

// The stored form, in the host's text form, as it lies in the source tree.
std::string ItemsDialogText();
// Reads a stored form (text or binary) into a new dialog owned by Owner.
TItemsDialogSample* LoadItemsDialog(TComponent* owner, const std::string& stored);

} // namespace ld::samples
