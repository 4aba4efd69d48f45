#include "platform/stdctrls/Dialogs.h"

#include <algorithm>
#include <array>

#include "platform/vcl/Forms.h"

namespace ld {

namespace {

constexpr Integer ButtonWidth = 75;
constexpr Integer ButtonHeight = 25;
constexpr Integer ButtonGap = 8;
constexpr Integer Margin = 12;
constexpr Integer MessageWidth = 360; // where a long message wraps

struct TButtonText {
    const char* Caption;
    const char* Name;
    TModalResult Result;
};

constexpr std::array<TButtonText, 7> ButtonTexts{{{"&Yes", "Yes", mrYes},
                                                  {"&No", "No", mrNo},
                                                  {"OK", "OK", mrOk},
                                                  {"Cancel", "Cancel", mrCancel},
                                                  {"&Abort", "Abort", mrAbort},
                                                  {"&Retry", "Retry", mrRetry},
                                                  {"&Ignore", "Ignore", mrIgnore}}};

const char* CaptionOf(TMsgDlgType type)
{
    switch (type) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirm";
    case mtCustom: break;
    }
    return "";
}

TMsgDlgBtn DefaultButtonOf(TMsgDlgButtons buttons) { return buttons.Contains(mbOK) ? mbOK : mbYes; }

TMsgDlgBtn CancelButtonOf(TMsgDlgButtons buttons)
{
    if (buttons.Contains(mbCancel))
        return mbCancel;
    return buttons.Contains(mbNo) ? mbNo : mbOK;
}

void CentreOnScreen(TForm* form)
{
    form->SetBounds((Screen->GetWidth() - form->GetWidth()) / 2, (Screen->GetHeight() - form->GetHeight()) / 2,
                    form->GetWidth(), form->GetHeight());
}

TButton* AddButton(TForm* form, const char* caption, const char* name, TModalResult result)
{
    auto* button = new TButton(form);
    button->SetName(name);
    button->SetParent(form);
    button->SetCaption(caption);
    button->SetModalResult(result);
    return button;
}

} // namespace

std::unique_ptr<TForm> CreateMessageDialog(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBorderStyle(bsDialog);
    form->SetCaption(CaptionOf(type));
    auto* text = new TLabel(form.get());
    text->SetName("Message");
    text->SetParent(form.get());
    text->SetBounds(Margin, Margin, MessageWidth, 0);
    text->SetCaption(message);
    // A short message takes its own width; a long one wraps at MessageWidth,
    // or at its longest word (a file's path) when that is wider.
    if (text->GetWidth() > MessageWidth) {
        text->SetWidth(MessageWidth);
        text->SetWordWrap(true);
    }
    text->SetWidth(std::min(text->GetWidth(), Screen->GetWidth() - 4 * Margin));

    std::vector<TButton*> row;
    for (size_t i = 0; i < ButtonTexts.size(); ++i) {
        const auto kind = static_cast<TMsgDlgBtn>(i);
        if (!buttons.Contains(kind))
            continue;
        TButton* button = AddButton(form.get(), ButtonTexts[i].Caption, ButtonTexts[i].Name, ButtonTexts[i].Result);
        button->SetDefault(kind == DefaultButtonOf(buttons));
        button->SetCancel(kind == CancelButtonOf(buttons));
        row.push_back(button);
    }
    const Integer rowWidth = static_cast<Integer>(row.size()) * (ButtonWidth + ButtonGap) - ButtonGap;
    const Integer clientWidth = std::max(text->GetWidth(), rowWidth) + 2 * Margin;
    const Integer buttonTop = text->GetTop() + text->GetHeight() + 2 * Margin;
    Integer left = (clientWidth - rowWidth) / 2;
    for (TButton* button : row) {
        button->SetBounds(left, buttonTop, ButtonWidth, ButtonHeight);
        left += ButtonWidth + ButtonGap;
    }
    form->SetClientWidth(clientWidth);
    form->SetClientHeight(buttonTop + ButtonHeight + Margin);
    CentreOnScreen(form.get());
    for (TButton* button : row)
        if (button->GetDefault())
            form->SetActiveControl(button);
    return form;
}

TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons)
{
    return CreateMessageDialog(message, type, buttons)->ShowModal();
}

void ShowMessage(const std::string& message)
{
    std::unique_ptr<TForm> dialog = CreateMessageDialog(message, mtCustom, {mbOK});
    dialog->SetCaption(Application->GetTitle());
    dialog->ShowModal();
}

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBorderStyle(bsDialog);
    form->SetCaption(caption);
    constexpr Integer FieldWidth = 400;
    auto* label = new TLabel(form.get());
    label->SetParent(form.get());
    label->SetCaption(prompt);
    label->SetBounds(Margin, Margin, FieldWidth, 16);
    auto* field = new TEdit(form.get());
    field->SetName("Value");
    field->SetParent(form.get());
    field->SetBounds(Margin, label->GetTop() + label->GetHeight() + 4, FieldWidth, 22);
    field->SetText(value);
    label->SetFocusControl(field);
    const Integer buttonTop = field->GetTop() + field->GetHeight() + Margin;
    TButton* ok = AddButton(form.get(), "OK", "OK", mrOk);
    ok->SetDefault(true);
    ok->SetBounds(Margin + FieldWidth - 2 * ButtonWidth - ButtonGap, buttonTop, ButtonWidth, ButtonHeight);
    TButton* cancel = AddButton(form.get(), "Cancel", "Cancel", mrCancel);
    cancel->SetCancel(true);
    cancel->SetBounds(Margin + FieldWidth - ButtonWidth, buttonTop, ButtonWidth, ButtonHeight);
    form->SetClientWidth(FieldWidth + 2 * Margin);
    form->SetClientHeight(buttonTop + ButtonHeight + Margin);
    CentreOnScreen(form.get());
    form->SetActiveControl(field);
    field->SelectAll();
    if (form->ShowModal() != mrOk)
        return false;
    value = field->GetText();
    return true;
}

} // namespace ld
