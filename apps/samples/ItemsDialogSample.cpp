#include "apps/samples/ItemsDialogSample.h"

#include <fstream>
#include <sstream>

#include "platform/core/SysUtils.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Stream.h"

namespace ld::samples {

TClass TItemsDialogSample::StaticClass()
{
    using D = TItemsDialogSample;
    static const TClassInfo info = TClassBuilder<D>("TItemsDialogSample", TForm::StaticClass())
        .Field("gbItems", &D::gbItems)
        .Field("gbProperties", &D::gbProperties)
        .Field("tvItems", &D::tvItems)
        .Field("btNewItem", &D::btNewItem)
        .Field("btDelete", &D::btDelete)
        .Field("Label1", &D::Label1)
        .Field("Label2", &D::Label2)
        .Field("etImageIndex", &D::etImageIndex)
        .Field("etCaption", &D::etCaption)
        .Field("btOK", &D::btOK)
        .Field("btCancel", &D::btCancel)
        .Field("btApply", &D::btApply)
        .Field("Label3", &D::Label3)
        .Field("etTag", &D::etTag)
        .Field("Label4", &D::Label4)
        .Field("cbEnabled", &D::cbEnabled)
        .Method("btNewItemClick", &D::btNewItemClick)
        .Method("etCaptionChange", &D::etCaptionChange)
        .Method("tvItemsChange", &D::tvItemsChange)
        .Method("btDeleteClick", &D::btDeleteClick)
        .Method("etImageIndexChange", &D::etImageIndexChange)
        .Method("btOKClick", &D::btOKClick)
        .Method("FormShow", &D::FormShow)
        .Method("tvItemsMouseDown", &D::tvItemsMouseDown)
        .Method("tvItemsDragOver", &D::tvItemsDragOver)
        .Method("tvItemsDragDrop", &D::tvItemsDragDrop)
        .Method("etTagChange", &D::etTagChange)
        .Method("FormDestroy", &D::FormDestroy)
        .Method("cbEnabledChange", &D::cbEnabledChange);
    return &info;
}

void TItemsDialogSample::btNewItemClick(TObject*) { Calls.push_back("btNewItemClick"); }
void TItemsDialogSample::etCaptionChange(TObject*) { Calls.push_back("etCaptionChange"); }
void TItemsDialogSample::tvItemsChange(TObject*, TTreeNode*) { Calls.push_back("tvItemsChange"); }
void TItemsDialogSample::btDeleteClick(TObject*) { Calls.push_back("btDeleteClick"); }
void TItemsDialogSample::etImageIndexChange(TObject*) { Calls.push_back("etImageIndexChange"); }
void TItemsDialogSample::FormShow(TObject*) { Calls.push_back("FormShow"); }
void TItemsDialogSample::etTagChange(TObject*) { Calls.push_back("etTagChange"); }
void TItemsDialogSample::FormDestroy(TObject*) { Calls.push_back("FormDestroy"); }
void TItemsDialogSample::cbEnabledChange(TObject*) { Calls.push_back("cbEnabledChange"); }

void TItemsDialogSample::btOKClick(TObject* sender)
{
    Calls.push_back("btOKClick");
    // OK and Apply share this handler; only OK closes the dialog.
    if (sender == btOK)
        SetModalResult(mrOk);
}

void TItemsDialogSample::tvItemsMouseDown(TObject*, TMouseButton, TShiftState, Integer, Integer)
{
    Calls.push_back("tvItemsMouseDown");
}

void TItemsDialogSample::tvItemsDragOver(TObject*, TObject*, Integer, Integer, TDragState, bool& accept)
{
    Calls.push_back("tvItemsDragOver");
    accept = true;
}

void TItemsDialogSample::tvItemsDragDrop(TObject*, TObject*, Integer, Integer) { Calls.push_back("tvItemsDragDrop"); }

std::string ItemsDialogText()
{
    std::ifstream file(LD_ITEMS_DIALOG_FORM, std::ios::binary);
    if (!file)
        throw EFOpenError("Cannot open file \"" LD_ITEMS_DIALOG_FORM "\"");
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

TItemsDialogSample* LoadItemsDialog(TComponent* owner, const std::string& stored)
{
    // Made as the host's CreateNew makes a form, then given its stored form.
    auto* dialog = new TItemsDialogSample(owner);
    try {
        TStringStream input(stored);
        ReadComponentFromStream(&input, dialog);
    } catch (...) {
        dialog->Free();
        throw;
    }
    return dialog;
}

} // namespace ld::samples
