// What a script's user does through the designer's windows, with the pointer
// and the keys on the headless screen: sets properties in the property view,
// names event handlers, and works with files, answering the dialogs that come
// up (the file name asked for, "Save changes to FILE?", a failure's report).
//
//   set [NAME] PATH VALUE...  NAME selected first when given. PATH is a row of
//                             the property view, dotted for a sub-property
//                             (Font.Size, Options.soHotTabs, Font.Style.fsBold);
//                             its parents are expanded by their boxes. A set
//                             takes [a, b] (each element's True or False chosen);
//                             values offered in the row's list are chosen there,
//                             others typed and Enter pressed. A refused value
//                             fails the step with the message.
//   event [NAME] EVENT        double-click EVENT's value: an empty one gets a
//                             new handler's name
//   new [ANSWER]              the New button
//   open FILE [ANSWER]        the Open button, FILE typed into its dialog
//   save [FILE] [text|binary] the Save button, or with FILE the Save As button
//                             (the format chosen first when given)
//   close [form] [ANSWER]     the close box of the palette window (of the
//                             designed form with "form")
//   expecttitle TEXT...       stop with an error unless the palette window's
//                             title is TEXT
//
// ANSWER (yes, no or cancel) answers "Save changes to FILE?"; the step fails
// when the question was expected and not asked, or asked and not expected.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "apps/designer/DesignerWindow.h"
#include "platform/backends/HeadlessBackend.h"

namespace ld {

class TScriptedUser {
public:
    // Shot pictures the screen with a suffix for a picture taken within a step.
    TScriptedUser(THeadlessBackend& backend, TDesignerWindow& window, std::function<void(const std::string&)> shot);

    // Plays a step that is one of the above; false for any other step.
    bool Step(const std::vector<std::string>& args);
    // The palette window was closed: the session is over.
    bool IsClosed() const { return FClosed; }

    // A point of a control, in screen pixels, clicked with the left button.
    void ClickAt(TControl* control, const TRect& r);
    // Types any printable text into the control with the focus.
    void TypeText(const std::string& text);

private:
    struct TDialogPlan {
        std::string FileName; // typed into a dialog that asks for one
        std::string Answer;   // the button that answers the question ("" none expected)
        std::vector<std::string> Questions;
        std::vector<std::string> Reports;
        Integer Inputs = 0;
    };

    TComponent* Component(const std::string& name) const;
    void SetProperty(const std::string& path, const std::string& value);
    void SetSetProperty(const std::string& path, const std::string& value);
    void ChooseOrType(Integer row, const std::string& value);
    void DoubleClickValue(const std::string& path);
    Integer ExpandTo(const std::string& path);
    void ChooseFromOpenList(TComboBox* choice, const std::string& value);
    // Does Act (which brings up dialogs) and answers each as Plan says.
    void WithDialogs(TDialogPlan& plan, const std::function<void()>& act);
    void AnswerDialog(TDialogPlan& plan);
    void CheckAnswered(const TDialogPlan& plan, const std::string& what);
    void ChooseFormat(const std::string& format);

    THeadlessBackend& FBackend;
    TDesignerWindow& FWindow;
    std::function<void(const std::string&)> FShot;
    bool FClosed = false;
};

} // namespace ld
