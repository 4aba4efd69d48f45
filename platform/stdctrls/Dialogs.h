// Unit Dialogs: the message dialog (a question or a report with a row of
// buttons) and the one-line input query, both modal forms made on the spot.
#pragma once

#include <memory>
#include <string>

#include "platform/stdctrls/StdCtrls.h"
#include "platform/vcl/Forms.h"

namespace ld {

enum TMsgDlgType : Byte { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : Byte { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore };
using TMsgDlgButtons = TSet<TMsgDlgBtn, uint8_t>;

// The dialog MessageDlg shows, not yet shown: the caption of its type
// ("Warning", "Error", "Information", "Confirm"; none for mtCustom), the
// message, and one button per element of Buttons in the order above, named
// after it (Yes, No, OK, Cancel, Abort, Retry, Ignore) and ending the dialog
// with its modal result. OK, else Yes, is the default button; Cancel, else
// No, else OK, answers Escape. The dialog is centred on the screen.
std::unique_ptr<TForm> CreateMessageDialog(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons);
// Shows it modally and returns the modal result of the button chosen
// (mrCancel when the dialog was closed otherwise).
TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons);
// A report with an OK button and the application's title as caption.
void ShowMessage(const std::string& message);

// Asks for one line of text: Value is shown in the field and, after OK,
// holds what was typed. False (Value unchanged) after Cancel or Escape.
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);

} // namespace ld
