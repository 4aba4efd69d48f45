// A shared library holding a form class and its stored form, as a package
// holds its dialogs: the form must read the stored form of this module.
#include "platform/core/ClassRegistry.h"
#include "platform/vcl/Forms.h"

namespace ld::test {

class TModulePanel : public TCustomControl {
    LD_CLASS(TModulePanel, TCustomControl)
    explicit TModulePanel(TComponent* owner) : TCustomControl(owner) {}
};

class TModuleDialog : public TForm {
    LD_CLASS(TModuleDialog, TForm)
    explicit TModuleDialog(TComponent* owner) : TForm(owner) {}
    TModulePanel* Panel = nullptr;
};

TClass TModulePanel::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TModulePanel>("TModulePanel", TCustomControl::StaticClass());
    return &info;
}

TClass TModuleDialog::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TModuleDialog>("TModuleDialog", TForm::StaticClass())
        .Field("Panel", &TModuleDialog::Panel);
    return &info;
}

namespace {
const bool Registered = [] {
    RegisterClasses({TModulePanel::StaticClass(), TModuleDialog::StaticClass()});
    return true;
}();
} // namespace

} // namespace ld::test

extern "C" ld::TClass TestModuleDialogClass() { return ld::test::TModuleDialog::StaticClass(); }
