#include "tests/vcl/FormTestClasses.h"

#include "platform/core/ClassRegistry.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/Text.h"
#include "platform/win/Input.h"

namespace ld::test {

// ---- TTestBox ----------------------------------------------------------------

TClass TTestBox::StaticClass()
{
    using B = TTestBox;
    static const TClassInfo info = TClassBuilder<B>("TTestBox", TCustomControl::StaticClass())
        .String("Caption", &B::GetCaption, &B::SetCaption)
        .Integer("Color", &B::GetColor, &B::SetColor).Idents(ColorIdentsInfo()).Default(clWindow)
        .Boolean("Ctl3D", &B::GetCtl3D, &B::SetCtl3D).Default(true)
        .Object("Font", &B::GetFont, &B::SetFont)
        .Boolean("ParentColor", &B::GetParentColor, &B::SetParentColor).Default(true)
        .Boolean("ParentCtl3D", &B::GetParentCtl3D, &B::SetParentCtl3D).Default(true)
        .Boolean("ParentFont", &B::GetParentFont, &B::SetParentFont).Default(true)
        .Boolean("ParentShowHint", &B::GetParentShowHint, &B::SetParentShowHint).Default(true)
        .Boolean("ShowHint", &B::GetShowHint, &B::SetShowHint).Default(false)
        .Integer("TabOrder", &B::GetTabOrder, &B::SetTabOrder).Default(-1)
        .Boolean("TabStop", &B::GetTabStop, &B::SetTabStop).Default(false)
        .Event("OnClick", &B::GetOnClick, &B::SetOnClick);
    return &info;
}

TTestBox::TTestBox(TComponent* owner) : TCustomControl(owner)
{
    FControlStyle.Include(csAcceptsControls);
}

void TTestBox::Paint()
{
    GetCanvas()->GetBrush()->SetColor(GetColor());
    GetCanvas()->FillRect(GetClientRect());
    GetCanvas()->GetBrush()->SetColor(clBtnShadow);
    GetCanvas()->FrameRect(GetClientRect());
}

void TTestBox::Dispatch(TMessage& m)
{
    if (m.Msg == CM_DIALOGCHAR && IsAccel(Word(m.WParam), GetCaption()) && CanFocus()) {
        SelectFirst();
        m.Result = 1;
        return;
    }
    TCustomControl::Dispatch(m);
}

// ---- TTestLabel ----------------------------------------------------------------

TClass TTestLabel::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TTestLabel>("TTestLabel", TGraphicControl::StaticClass())
        .String("Caption", &TTestLabel::GetCaption, &TTestLabel::SetCaption);
    return &info;
}

void TTestLabel::Dispatch(TMessage& m)
{
    if (m.Msg == CM_DIALOGCHAR && FocusControl && GetEnabled() && IsAccel(Word(m.WParam), GetCaption()) &&
        FocusControl->CanFocus()) {
        FocusControl->SetFocus();
        m.Result = 1;
        return;
    }
    TGraphicControl::Dispatch(m);
}

void TTestLabel::Paint()
{
    TRect r = GetClientRect();
    SetBkMode(GetCanvas()->GetHandle(), TRANSPARENT);
    DrawText(GetCanvas()->GetHandle(), GetCaption(), r, DT_LEFT | DT_SINGLELINE);
}

// ---- TTestButton ---------------------------------------------------------------

TClass TTestButton::StaticClass()
{
    using B = TTestButton;
    static const TClassInfo info = TClassBuilder<B>("TTestButton", TCustomControl::StaticClass())
        .Boolean("Cancel", &B::GetCancel, &B::SetCancel).Default(false)
        .String("Caption", &B::GetCaption, &B::SetCaption)
        .Boolean("Default", &B::GetDefault, &B::SetDefault).Default(false)
        .Integer("ModalResult", &B::GetModalResult, &B::SetModalResult).Default(0)
        .Integer("TabOrder", &B::GetTabOrder, &B::SetTabOrder).Default(-1)
        .Boolean("TabStop", &B::GetTabStop, &B::SetTabStop).Default(true)
        .Event("OnClick", &B::GetOnClick, &B::SetOnClick);
    return &info;
}

TTestButton::TTestButton(TComponent* owner) : TCustomControl(owner)
{
    FTabStop = true;
    SetBounds(0, 0, 75, 25);
}

void TTestButton::SetDefault(bool value)
{
    FDefault = value;
    // Like the host's button: the default button is active unless the focus
    // is on another button.
    if (TCustomForm* form = GetParentForm(this)) {
        auto* focused = dynamic_cast<TTestButton*>(form->GetActiveControl());
        FActive = focused ? focused == this : value;
    } else {
        FActive = value;
    }
}

void TTestButton::Click()
{
    ++Clicks;
    if (TCustomForm* form = GetParentForm(this); form && FModalResult != mrNone)
        form->SetModalResult(FModalResult);
    TCustomControl::Click();
}

void TTestButton::KeyDown(Word& key, TShiftState shift)
{
    TCustomControl::KeyDown(key, shift);
    if (key == VK_SPACE)
        Click();
}

void TTestButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_FOCUSCHANGED: {
        auto* sender = reinterpret_cast<TObject*>(m.LParam);
        FActive = dynamic_cast<TTestButton*>(sender) ? sender == this : FDefault;
        break;
    }
    case CM_DIALOGKEY:
        if (((m.WParam == VK_RETURN && FActive) || (m.WParam == VK_ESCAPE && FCancel)) &&
            KeyDataToShiftState(m.LParam).Empty() && CanFocus()) {
            Click();
            m.Result = 1;
            return;
        }
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(Word(m.WParam), GetCaption()) && CanFocus()) {
            Click();
            m.Result = 1;
            return;
        }
        break;
    }
    TCustomControl::Dispatch(m);
}

// A face with the caption, framed black while Enter is the button's to take.
void TTestButton::Paint()
{
    TCanvas* canvas = GetCanvas();
    TRect r = GetClientRect();
    canvas->GetBrush()->SetColor(FActive ? clBlack : clBtnShadow);
    canvas->FrameRect(r);
    InflateRect(r, -1, -1);
    canvas->GetBrush()->SetColor(clBtnFace);
    canvas->FillRect(r);
    canvas->GetFont()->Assign(GetFont());
    SetBkMode(canvas->GetHandle(), TRANSPARENT);
    DrawText(canvas->GetHandle(), GetCaption(), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// ---- the form classes ------------------------------------------------------------

Integer TTestDialog::Destroyed = 0;

TClass TTestDialog::StaticClass()
{
    using D = TTestDialog;
    static const TClassInfo info = TClassBuilder<D>("TTestDialog", TForm::StaticClass())
        .Field("Group", &D::Group)
        .Field("First", &D::First)
        .Field("Second", &D::Second)
        .Field("Ok", &D::Ok)
        .Field("Cancel", &D::Cancel)
        .Method("FormCreate", &D::FormCreate)
        .Method("FormDestroy", &D::FormDestroy)
        .Method("OkClick", &D::OkClick);
    return &info;
}

void TTestDialog::FormCreate(TObject*) { CreateSawFields = Group && First && Second && Ok && Cancel; }
void TTestDialog::FormDestroy(TObject*) { ++Destroyed; }
void TTestDialog::OkClick(TObject*) { ++OkClicks; }

TClass TTestBrokenDialog::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TTestBrokenDialog>("TTestBrokenDialog", TForm::StaticClass())
        .Field("Group", &TTestBrokenDialog::Group);
    return &info;
}

TClass TTestShownForm::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TTestShownForm>("TTestShownForm", TForm::StaticClass())
        .Method("FormCreate", &TTestShownForm::FormCreate)
        .Method("FormShow", &TTestShownForm::FormShow);
    return &info;
}

void TTestShownForm::FormCreate(TObject*) { Steps.push_back(IsWindowVisible(GetHandle()) ? "create, on screen" : "create"); }
void TTestShownForm::FormShow(TObject*) { Steps.push_back("show"); }

TClass TTestBareForm::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TTestBareForm>("TTestBareForm", TForm::StaticClass());
    return &info;
}

void RegisterFormTestClasses()
{
    RegisterClasses({TTestBox::StaticClass(), TTestButton::StaticClass(), TTestDialog::StaticClass(),
                     TTestBrokenDialog::StaticClass(), TTestBareForm::StaticClass(), TTestShownForm::StaticClass(),
                     TForm::StaticClass()});
}

} // namespace ld::test
