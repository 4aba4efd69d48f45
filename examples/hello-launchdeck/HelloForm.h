// The form of hello-launchdeck. Its layout, its items and which handler each
// event calls come from its stored form HelloForm.dfm, compiled into the program
// as the resource THELLOFORM: the class library reads it by the class's name
// when the form is created. The fields and handlers the stored form names are
// published in the class's table in HelloForm.cpp.
#pragma once

#include "controls/bar/Launchdeck.h"
#include "controls/list/ShortcutList.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/vcl/Forms.h"

namespace hello {

class THelloForm : public ld::TForm {
    LD_CLASS(THelloForm, ld::TForm)
    explicit THelloForm(ld::TComponent* owner) : ld::TForm(owner) {}

    // Set by name as the stored form is read; their classes are how the reader
    // knows the class names the stored form holds.
    ld::TLaunchdeck* Bar = nullptr;
    ld::TShortcutSheet* SheetPlaces = nullptr;
    ld::TShortcutSheet* SheetOffice = nullptr;
    ld::TShortcutSheet* SheetSystem = nullptr;
    ld::TShortcutList* ListPlaces = nullptr;
    ld::TShortcutList* ListOffice = nullptr;
    ld::TShortcutList* ListSystem = nullptr;
    ld::TLabel* Hint = nullptr;
    ld::TLabel* Clicked = nullptr;

    // OnCreate: the icons from the user's icon theme.
    void FormCreate(ld::TObject* sender);
    // Every list's OnClick: which item it was.
    void ListClick(ld::TObject* sender);
};

} // namespace hello
