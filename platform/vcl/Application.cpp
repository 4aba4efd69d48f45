// TApplication and TScreen, and the two objects every program has.
#include <cstdio>

#include "platform/core/SysUtils.h"
#include "platform/vcl/DragDrop.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"

namespace ld {

TScreen* Screen = new TScreen(nullptr);
TApplication* Application = new TApplication(nullptr);

// ---- TScreen ------------------------------------------------------------------

TClass TScreen::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TScreen>("TScreen", TComponent::StaticClass());
    return &info;
}

TScreen::TScreen(TComponent* owner) : TComponent(owner)
{
    auto std = [](uintptr_t id) { return LoadCursor(nullptr, id); };
    FCursors = {
        {crDefault, std(IDC_ARROW)},       {crArrow, std(IDC_ARROW)},           {crCross, std(IDC_CROSS)},
        {crIBeam, std(IDC_IBEAM)},         {crSizeAll, std(IDC_SIZEALL)},       {crSizeNESW, std(IDC_SIZENESW)},
        {crSizeNS, std(IDC_SIZENS)},       {crSizeNWSE, std(IDC_SIZENWSE)},     {crSizeWE, std(IDC_SIZEWE)},
        {crUpArrow, std(IDC_UPARROW)},     {crHourGlass, std(IDC_WAIT)},        {crNo, std(IDC_NO)},
        {crAppStart, std(IDC_APPSTARTING)}, {crHelp, std(IDC_HELP)},           {crHandPoint, std(IDC_HAND)},
        {crNone, nullptr},
        {crDrag, CreateNamedCursor("drag")},           {crNoDrop, CreateNamedCursor("nodrop")},
        {crHSplit, CreateNamedCursor("hsplit")},       {crVSplit, CreateNamedCursor("vsplit")},
        {crMultiDrag, CreateNamedCursor("multidrag")}, {crSQLWait, CreateNamedCursor("sqlwait")},
    };
}

Integer TScreen::GetWidth() const { return GetSystemMetrics(SM_CXSCREEN); }
Integer TScreen::GetHeight() const { return GetSystemMetrics(SM_CYSCREEN); }

HCURSOR TScreen::GetCursors(TCursor index) const
{
    auto it = FCursors.find(index);
    return it == FCursors.end() ? FCursors.at(crDefault) : it->second;
}

void TScreen::SetCursors(TCursor index, HCURSOR handle) { FCursors[index] = handle ? handle : FCursors.at(crArrow); }

void TScreen::SetCursor(TCursor value)
{
    if (FCursor == value)
        return;
    FCursor = value;
    if (value != crDefault) {
        ::ld::SetCursor(GetCursors(value));
        return;
    }
    // Back to the controls' own cursors: ask the window under the pointer.
    POINT p;
    GetCursorPos(p);
    if (HWND w = WindowFromPoint(p)) {
        LRESULT hit = SendMessage(w, WM_NCHITTEST, 0, PointToLParam(p));
        SendMessage(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), MakeLParam(Integer(hit), WM_MOUSEMOVE));
    }
}

void TScreen::AddForm(TCustomForm* form) { FForms.push_back(form); }

void TScreen::RemoveForm(TCustomForm* form)
{
    std::erase(FForms, form);
    if (FActiveForm == form)
        FActiveForm = nullptr;
    if (FActiveControl && GetParentForm(FActiveControl) == form)
        FActiveControl = nullptr;
}

// ---- TApplication -----------------------------------------------------------------

TClass TApplication::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TApplication>("TApplication", TComponent::StaticClass());
    return &info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {}

void TApplication::Run()
{
    if (FMainForm)
        FMainForm->Show();
    while (!FTerminated) {
        try {
            HandleMessage();
        } catch (const std::exception& e) {
            HandleException(this, e);
        }
    }
}

void TApplication::Terminate() { PostQuitMessage(0); }

// Keys go first to the control as reflected messages (CN_), which turn dialog
// keys and characters into CM_DIALOGKEY and CM_DIALOGCHAR for its form. With
// the mouse captured, the captor hears them: a drag ends on Escape that way.
bool TApplication::IsKeyMsg(MSG& msg)
{
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST)
        return false;
    HWND target = GetCapture();
    if (!target)
        target = msg.hwnd;
    if (!target)
        return false;
    return SendMessage(target, CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

bool TApplication::ProcessMessage()
{
    MSG msg;
    if (!PeekMessage(msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    if (!IsKeyMsg(msg)) {
        TranslateMessage(msg);
        DispatchMessage(msg);
    }
    return true;
}

void TApplication::ProcessMessages()
{
    while (ProcessMessage()) {
    }
}

void TApplication::DoIdleWork()
{
    DoMouseIdle();
    bool done = true;
    if (FOnIdle) {
        try {
            FOnIdle(this, done);
        } catch (const std::exception& e) {
            HandleException(this, e);
        }
    }
}

void TApplication::HandleMessage()
{
    if (!ProcessMessage()) {
        DoIdleWork();
        if (!HasPendingMessages())
            WaitMessage();
    }
}

// The control under the pointer changed: the old one hears CM_MOUSELEAVE and
// the new one CM_MOUSEENTER, unless another control holds the mouse.
TControl* TApplication::DoMouseIdle()
{
    POINT p;
    GetCursorPos(p);
    TControl* control = FindDragTarget(p, true);
    if (control && control->ComponentState().Contains(csDesigning))
        control = nullptr;
    TControl* captured = GetCaptureControl();
    if (FMouseControl != control) {
        if ((FMouseControl && !captured) || (captured && FMouseControl == captured))
            FMouseControl->Perform(CM_MOUSELEAVE, 0, 0);
        FMouseControl = control;
        if ((FMouseControl && !captured) || (captured && FMouseControl == captured))
            FMouseControl->Perform(CM_MOUSEENTER, 0, 0);
    }
    return control;
}

void TApplication::ControlDestroyed(TControl* control)
{
    if (FMouseControl == control)
        FMouseControl = nullptr;
    if (FMainForm == control)
        FMainForm = nullptr;
}

void TApplication::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FMainForm)
        FMainForm = nullptr;
}

void TApplication::HandleException(TObject* sender, const std::exception& e)
{
    if (dynamic_cast<const EAbort*>(&e))
        return;
    if (FOnException)
        FOnException(sender, e);
    else
        ShowException(e);
}

// There is no message box on a headless screen: the report goes to the error
// stream and is kept for whoever asks.
void TApplication::ShowException(const std::exception& e)
{
    ++FExceptionCount;
    FLastExceptionMessage = e.what();
    std::string title = FTitle.empty() ? "Error" : FTitle;
    std::fprintf(stderr, "%s: %s\n", title.c_str(), FLastExceptionMessage.c_str());
}

} // namespace ld
