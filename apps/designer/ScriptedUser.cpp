#include "apps/designer/ScriptedUser.h"

#include <cctype>
#include <cstdio>

#include "platform/core/SysUtils.h"
#include "platform/gfx/RectUtils.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"

namespace ld {

namespace {

std::string Joined(const std::vector<std::string>& a, size_t from)
{
    std::string text;
    for (size_t i = from; i < a.size(); ++i)
        text += (i > from ? " " : "") + a[i];
    return text;
}

bool IsAnswer(const std::string& word) { return word == "yes" || word == "no" || word == "cancel"; }

// The elements a set's text names: "[a, b]" or "[a,b]" or "[]".
std::vector<std::string> SetElements(const std::string& text)
{
    const std::string inner = Trim(text.substr(1, text.size() >= 2 && text.back() == ']' ? text.size() - 2 : 0));
    std::vector<std::string> elements;
    size_t start = 0;
    while (start <= inner.size() && !inner.empty()) {
        const size_t comma = inner.find(',', start);
        const std::string element = Trim(inner.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (!element.empty())
            elements.push_back(element);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return elements;
}

} // namespace

TScriptedUser::TScriptedUser(THeadlessBackend& backend, TDesignerWindow& window,
                             std::function<void(const std::string&)> shot)
    : FBackend(backend), FWindow(window), FShot(std::move(shot))
{
}

TComponent* TScriptedUser::Component(const std::string& name) const
{
    return FWindow.Designer().GetComponent(name);
}

bool TScriptedUser::Step(const std::vector<std::string>& a)
{
    const std::string& cmd = a[0];
    if (FClosed)
        throw EInvalidOperation("the designer was closed");
    auto need = [&](size_t n) {
        if (a.size() < n)
            throw EConvertError(cmd + ": " + std::to_string(n - 1) + " arguments expected");
    };
    if (cmd == "set" || cmd == "edit") {
        need(3);
        size_t at = 1;
        if (cmd == "set" && a.size() >= 4 && Component(a[1]) != nullptr) {
            FWindow.Designer().SelectComponent(Component(a[1]));
            FBackend.RunUntilIdle();
            FWindow.Sync();
            at = 2;
        }
        // 'text' in quotes is the text without them.
        std::string value = Joined(a, at + 1);
        if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'')
            value = value.substr(1, value.size() - 2);
        SetProperty(a[at], value);
    } else if (cmd == "event") {
        need(2);
        size_t at = 1;
        if (a.size() >= 3) {
            TComponent* c = Component(a[1]);
            if (c == nullptr)
                throw EComponentError("No component named " + a[1]);
            FWindow.Designer().SelectComponent(c);
            FBackend.RunUntilIdle();
            FWindow.Sync();
            at = 2;
        }
        DoubleClickValue(a[at]);
    } else if (cmd == "new") {
        TDialogPlan plan;
        plan.Answer = a.size() > 1 ? a[1] : "";
        WithDialogs(plan, [&] { ClickAt(FWindow.NewButton(), FWindow.NewButton()->GetClientRect()); });
        CheckAnswered(plan, "new");
    } else if (cmd == "open") {
        need(2);
        TDialogPlan plan;
        plan.FileName = a[1];
        plan.Answer = a.size() > 2 ? a[2] : "";
        WithDialogs(plan, [&] { ClickAt(FWindow.OpenButton(), FWindow.OpenButton()->GetClientRect()); });
        CheckAnswered(plan, "open");
        if (FWindow.GetFileName() != a[1])
            throw EInvalidOperation(a[1] + " was not opened: " + FWindow.GetStatus());
    } else if (cmd == "save" || cmd == "savefield") {
        TDialogPlan plan;
        const bool named = a.size() > 1 && a[1] != "text" && a[1] != "binary";
        const std::string format = a.size() > (named ? 2u : 1u) ? a[named ? 2 : 1] : "";
        if (!format.empty())
            ChooseFormat(format);
        TButton* button = named ? FWindow.SaveAsButton() : FWindow.SaveButton();
        plan.FileName = named ? a[1] : "";
        WithDialogs(plan, [&] { ClickAt(button, button->GetClientRect()); });
        CheckAnswered(plan, "save");
        if (FWindow.GetStatus().rfind("Saved ", 0) != 0)
            throw EInOutError(FWindow.GetStatus());
    } else if (cmd == "close") {
        const bool form = a.size() > 1 && a[1] == "form";
        TDialogPlan plan;
        plan.Answer = a.size() > (form ? 2u : 1u) ? a[form ? 2 : 1] : "";
        if (!plan.Answer.empty() && !IsAnswer(plan.Answer))
            throw EConvertError("close: yes, no or cancel expected, not " + plan.Answer);
        HWND window = form ? FWindow.Designer().GetForm()->GetHandle() : FWindow.PaletteForm()->GetHandle();
        WithDialogs(plan, [&] {
            PostMessage(window, WM_CLOSE, 0, 0);
            FBackend.RunUntilIdle();
        });
        CheckAnswered(plan, "close");
        FClosed = !FWindow.PaletteForm()->GetVisible();
        std::printf("%s\n", FClosed ? "the designer closed" : "the designer stays open");
    } else if (cmd == "expecttitle") {
        need(2);
        if (FWindow.PaletteForm()->GetCaption() != Joined(a, 1))
            throw EInvalidOperation("the title is " + FWindow.PaletteForm()->GetCaption());
    } else {
        return false;
    }
    return true;
}

// ---- the property view -------------------------------------------------------------------

void TScriptedUser::SetProperty(const std::string& path, const std::string& value)
{
    const Integer exceptions = Application->GetExceptionCount();
    const Integer row = ExpandTo(path);
    TPropertyView* view = FWindow.PropertyView();
    if (view->IsExpandable(row) && value.starts_with("["))
        SetSetProperty(path, value);
    else
        ChooseOrType(row, value);
    FBackend.RunUntilIdle();
    if (Application->GetExceptionCount() != exceptions)
        throw EPropertyError(Format("%s refused %s: %s", {path, value, FWindow.GetStatus()}));
}

// Each element whose value differs is chosen in its own row.
void TScriptedUser::SetSetProperty(const std::string& path, const std::string& value)
{
    TPropertyView* view = FWindow.PropertyView();
    const std::vector<std::string> wanted = SetElements(value);
    if (!view->IsExpanded(view->RowOf(path)))
        ClickAt(view, view->ExpandBoxRect(view->RowOf(path)));
    size_t found = 0;
    for (Integer row = view->RowOf(path) + 1; row < view->RowCount(); ++row) {
        const std::string& elementPath = view->PathOf(row);
        if (!elementPath.starts_with(path + "."))
            break;
        const std::string element = elementPath.substr(path.size() + 1);
        bool in = false;
        for (const std::string& w : wanted)
            in = in || SameText(w, element);
        found += in ? 1 : 0;
        if (view->ValueText(row) != (in ? "True" : "False"))
            ChooseOrType(row, in ? "True" : "False");
    }
    if (found != wanted.size())
        throw EConvertError(Format("%s has no element of %s", {path, value}));
}

// Parents are expanded by their boxes, the row scrolled into view.
Integer TScriptedUser::ExpandTo(const std::string& path)
{
    TPropertyView* view = FWindow.PropertyView();
    for (size_t dot = path.find('.'); dot != std::string::npos; dot = path.find('.', dot + 1)) {
        const Integer parent = view->RowOf(path.substr(0, dot));
        if (parent < 0)
            break;
        if (view->IsExpandable(parent) && !view->IsExpanded(parent)) {
            view->MakeVisible(parent);
            ClickAt(view, view->ExpandBoxRect(parent));
        }
    }
    const Integer row = view->RowOf(path);
    if (row < 0)
        throw EInvalidOperation("The property view shows no property " + path);
    view->MakeVisible(row);
    return row;
}

// A value the row's list offers is chosen from the open list; any other typed.
void TScriptedUser::ChooseOrType(Integer row, const std::string& value)
{
    TPropertyView* view = FWindow.PropertyView();
    view->MakeVisible(row);
    ClickAt(view, view->ValueRect(row));
    TComboBox* choice = view->GetChoiceField();
    if (choice->GetVisible() && choice->GetItems()->IndexOf(value) >= 0) {
        ChooseFromOpenList(choice, value);
    } else if (choice->GetVisible() || view->GetEditField()->GetVisible()) {
        FBackend.KeyWith(VK_CONTROL, 'A');
        if (value.empty())
            FBackend.Key(VK_DELETE);
        TypeText(value);
        FBackend.Key(VK_RETURN);
    } else {
        throw EInvalidOperation(view->PathOf(row) + " is not typed in");
    }
    FBackend.RunUntilIdle();
}

// The list opens by its button; the arrows move its mark to the entry, Enter takes it.
void TScriptedUser::ChooseFromOpenList(TComboBox* choice, const std::string& value)
{
    const TRect client = choice->GetClientRect();
    ClickAt(choice, {client.Right - 8, client.Top, client.Right - 1, client.Bottom});
    if (choice->GetListHandle() == nullptr)
        throw EInvalidOperation("the drop-down list did not open");
    FShot("-list");
    const Integer wanted = choice->GetItems()->IndexOf(value);
    Integer mark = choice->GetListIndex();
    if (mark < 0) {
        FBackend.Key(VK_DOWN);
        mark = 0;
    }
    for (; mark < wanted; ++mark)
        FBackend.Key(VK_DOWN);
    for (; mark > wanted; --mark)
        FBackend.Key(VK_UP);
    FBackend.Key(VK_RETURN);
    FBackend.RunUntilIdle();
}

// The first click puts the field over the value, the second lands on it.
void TScriptedUser::DoubleClickValue(const std::string& path)
{
    const Integer exceptions = Application->GetExceptionCount();
    const Integer row = ExpandTo(path);
    TPropertyView* view = FWindow.PropertyView();
    const TRect r = view->ValueRect(row);
    const TPoint p = view->ClientToScreen({r.Left + 8, (r.Top + r.Bottom) / 2});
    FBackend.DoubleClick(p.X, p.Y);
    FBackend.RunUntilIdle();
    if (Application->GetExceptionCount() != exceptions)
        throw EPropertyError(FWindow.GetStatus());
    std::printf("%s = %s\n", path.c_str(), view->ValueText(view->RowOf(path)).c_str());
}

// ---- files and dialogs -------------------------------------------------------------------

void TScriptedUser::ChooseFormat(const std::string& format)
{
    if (format != "text" && format != "binary")
        throw EConvertError("text or binary expected, not " + format);
    TComboBox* choice = FWindow.FormatChoice();
    const std::string entry = format == "text" ? "Text form" : "Binary form";
    if (choice->GetText() != entry)
        ChooseFromOpenList(choice, entry);
}

// Each dialog comes up in a loop of its own, which takes one scripted step
// whenever it waits: a step answers the dialog in front, and does nothing
// when there is none (the steps left over are run once Act is done).
void TScriptedUser::WithDialogs(TDialogPlan& plan, const std::function<void()>& act)
{
    for (int i = 0; i < 4; ++i)
        FBackend.Script([this, &plan] { AnswerDialog(plan); });
    act();
    FBackend.RunUntilIdle();
    while (!FBackend.ScriptDone())
        FBackend.WaitForInput(0);
}

void TScriptedUser::AnswerDialog(TDialogPlan& plan)
{
    TCustomForm* dialog = Screen->GetActiveForm();
    if (dialog == nullptr || !dialog->GetFormState().Contains(fsModal))
        return;
    FShot("-dialog");
    auto click = [&](const std::string& name) {
        auto* button = dynamic_cast<TControl*>(dialog->FindComponent(name));
        if (button == nullptr)
            throw EComponentError("The dialog has no button " + name);
        const TPoint p = button->ClientToScreen({button->GetWidth() / 2, button->GetHeight() / 2});
        FBackend.Click(p.X, p.Y);
    };
    if (dialog->FindComponent("Value") != nullptr) {
        ++plan.Inputs;
        if (plan.FileName.empty()) {
            click("Cancel");
            return;
        }
        FBackend.KeyWith(VK_CONTROL, 'A');
        TypeText(plan.FileName);
        FBackend.Key(VK_RETURN);
        return;
    }
    auto* message = dynamic_cast<TLabel*>(dialog->FindComponent("Message"));
    const std::string text = message != nullptr ? message->GetCaption() : dialog->GetCaption();
    std::printf("%s: %s\n", dialog->GetCaption().c_str(), text.c_str());
    if (dialog->FindComponent("Yes") != nullptr) {
        plan.Questions.push_back(text);
        if (plan.Answer.empty())
            click("Cancel");
        else
            click(plan.Answer == "yes" ? "Yes" : plan.Answer == "no" ? "No" : "Cancel");
    } else {
        plan.Reports.push_back(text);
        click("OK");
    }
}

void TScriptedUser::CheckAnswered(const TDialogPlan& plan, const std::string& what)
{
    if (!plan.Reports.empty())
        throw EInOutError(plan.Reports.front());
    if (!plan.Answer.empty() && plan.Questions.empty())
        throw EInvalidOperation(what + ": no question about unsaved changes was asked");
    if (plan.Answer.empty() && !plan.Questions.empty())
        throw EInvalidOperation(what + ": unexpected question \"" + plan.Questions.front() + "\" (cancelled)");
    if (!plan.FileName.empty() && plan.Inputs == 0)
        throw EInvalidOperation(what + ": no file name was asked for");
}

// ---- pointer and keys --------------------------------------------------------------------

void TScriptedUser::ClickAt(TControl* control, const TRect& r)
{
    const TPoint p = control->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    FBackend.Click(p.X, p.Y);
    FBackend.RunUntilIdle();
}

// Letters, digits and blanks as keys; every other character as the key that
// makes it on the user's layout.
void TScriptedUser::TypeText(const std::string& text)
{
    constexpr Integer VK_OEM_KEY = 0xBA;
    for (char c : text) {
        if (std::isalnum(static_cast<unsigned char>(c)) || c == ' ') {
            FBackend.Type(std::string(1, c));
        } else {
            InjectKey(VK_OEM_KEY, true, c);
            InjectKey(VK_OEM_KEY, false);
        }
    }
}

} // namespace ld
