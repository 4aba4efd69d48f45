// Small control and form classes for the tests of stored forms and dialogs:
// a container that publishes what a stored control keeps, a button that takes
// the dialog keys as the host's button does, and form classes of their own.
#pragma once

#include <string>
#include <vector>

#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"

namespace ld::test {

// A windowed container with the inherited-from-parent properties published
// without stored rules of its own, as a control unit would declare them.
class TTestBox : public TCustomControl {
    LD_CLASS(TTestBox, TCustomControl)
    explicit TTestBox(TComponent* owner);
    using TCustomControl::FControlStyle;

    // Its accelerator moves the focus to its first child, as a group box does.
    void Dispatch(TMessage& m) override;

protected:
    void Paint() override;
};

// A windowless caption whose accelerator focuses another control, as a label does.
class TTestLabel : public TGraphicControl {
    LD_CLASS(TTestLabel, TGraphicControl)
    explicit TTestLabel(TComponent* owner) : TGraphicControl(owner) {}
    TWinControl* FocusControl = nullptr;
    void Dispatch(TMessage& m) override;

protected:
    void Paint() override;
};

// A push button in miniature: Default, Cancel and ModalResult as the host's
// button keeps them, Enter and Escape through CM_DIALOGKEY, its accelerator
// through CM_DIALOGCHAR, Space when focused.
class TTestButton : public TCustomControl {
    LD_CLASS(TTestButton, TCustomControl)
    explicit TTestButton(TComponent* owner);

    bool GetDefault() const { return FDefault; }
    void SetDefault(bool value);
    bool GetCancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    TModalResult GetModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    // Enter is this button's to take: it has the focus, or it is the default
    // button and the focus is on no other button.
    bool IsActive() const { return FActive; }
    void Click() override;
    void Dispatch(TMessage& m) override;
    Integer Clicks = 0;

protected:
    void Paint() override;
    void KeyDown(Word& key, TShiftState shift) override;

private:
    bool FDefault = false;
    bool FCancel = false;
    bool FActive = false;
    TModalResult FModalResult = mrNone;
};

// A form class with its own stored form (resource TTESTDIALOG).
class TTestDialog : public TForm {
    LD_CLASS(TTestDialog, TForm)
    explicit TTestDialog(TComponent* owner) : TForm(owner) {}

    TTestBox* Group = nullptr;
    TTestBox* First = nullptr;
    TTestBox* Second = nullptr;
    TTestButton* Ok = nullptr;
    TTestButton* Cancel = nullptr;

    // What OnCreate saw: the fields are bound before it runs.
    bool CreateSawFields = false;
    Integer OkClicks = 0;
    static Integer Destroyed;

    void FormCreate(TObject* sender);
    void FormDestroy(TObject* sender);
    void OkClick(TObject* sender);
};

// A form class whose stored form names a property no class has.
class TTestBrokenDialog : public TForm {
    LD_CLASS(TTestBrokenDialog, TForm)
    explicit TTestBrokenDialog(TComponent* owner) : TForm(owner) {}
    TTestBox* Group = nullptr;
};

// A form class whose stored form holds Visible = True (resource TTESTSHOWNFORM);
// it notes what its events saw.
class TTestShownForm : public TForm {
    LD_CLASS(TTestShownForm, TForm)
    explicit TTestShownForm(TComponent* owner) : TForm(owner) {}
    std::vector<std::string> Steps;
    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
};

// A form class without a stored form.
class TTestBareForm : public TForm {
    LD_CLASS(TTestBareForm, TForm)
    explicit TTestBareForm(TComponent* owner) : TForm(owner) {}
};

void RegisterFormTestClasses();

} // namespace ld::test
