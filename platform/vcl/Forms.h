// Forms and the application: TCustomForm/TForm (a top-level window with a
// caption bar, its active control, dialog keys, Show, Close and ShowModal
// with its own loop, and a slot for the form designer), TScreen (the
// screen's size, cursors, the active form and control), TApplication (the
// message loop, idle processing with the mouse enter and leave notices, and
// the reporting of exceptions), GetParentForm and IsAccel.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/vcl/Controls.h"

namespace ld {

class TCustomForm;

// What the form designer of the host hooks into a form at design time.
class TDesigner {
public:
    virtual ~TDesigner() = default;
    // Whether the designer takes this message away from Sender (every message
    // of a control being designed comes here first).
    virtual bool IsDesignMsg(TControl* sender, TMessage& message) = 0;
    // The form or something on it changed.
    virtual void Modified() = 0;
    virtual void Notification(TComponent* component, TOperation operation) {}
    virtual TCustomForm* GetForm() const { return nullptr; }
};

enum TPosition : Byte {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
};
const TEnumInfo& PositionInfo();

enum TCloseAction : Byte { caNone, caHide, caFree, caMinimize };
using TCloseEvent = TClosure<TObject*, TCloseAction&>;
using TCloseQueryEvent = TClosure<TObject*, bool&>;

enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateItem, uint8_t>;

// A form class of its own (a TForm descendant) is made as the host makes it:
// after the constructor, AfterConstruction reads the stored form resource named
// after the class in upper case (ancestor classes' resources first) from the
// module that holds the class, which creates the controls, binds the published
// fields and handlers by name; then OnCreate runs. CreateComponent and
// TApplication::CreateForm call AfterConstruction; a form made with plain new
// stays as built (the host's CreateNew). Free runs OnDestroy.
class TCustomForm : public TWinControl {
    LD_CLASS(TCustomForm, TWinControl)

    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;
    void AfterConstruction() override;
    void BeforeDestruction() override;

    TWinControl* GetActiveControl() const { return FActiveControl; }
    // Raises EInvalidOperation for a control that cannot take the focus.
    void SetActiveControl(TWinControl* control);
    void FocusControl(TWinControl* control);
    // Told by a control that receives the focus; false refuses it.
    bool SetFocusedControl(TWinControl* control);
    // A control going away or hidden gives up the focus.
    void DefocusControl(TWinControl* control, bool removing);
    void SendCancelMode(TControl* sender);
    bool GetActive() const { return FActive; }

    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    TPosition GetPosition() const { return FPosition; }
    void SetPosition(TPosition v) { FPosition = v; }
    bool GetKeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool v) { FKeyPreview = v; }
    // Setting it while ShowModal runs ends the modal loop with this result.
    TModalResult GetModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult v) { FModalResult = v; }
    // Only decides what a stored form keeps: Width and Height with it,
    // ClientWidth and ClientHeight without (there are no scroll bars).
    bool GetAutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool v) { FAutoScroll = v; }
    bool GetOldCreateOrder() const { return FOldCreateOrder; }
    void SetOldCreateOrder(bool v) { FOldCreateOrder = v; }
    // The resolution the form was designed at; forms are not scaled.
    Integer GetPixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(Integer value);
    // The height of a digit in the form's font: what a stored form records.
    Integer GetTextHeight() const;
    void SetClientWidth(Integer value);
    void SetClientHeight(Integer value);
    TRect GetClientRect() const override;
    bool IsFormSizeStored() const { return FAutoScroll; }
    bool IsClientSizeStored() const { return !FAutoScroll; }
    bool IsAutoScrollStored() const;
    void ReadState(TReader* reader) override;
    TFormState GetFormState() const { return FFormState; }
    TDesigner* GetDesigner() const { return FDesigner; }
    void SetDesigner(TDesigner* designer) { FDesigner = designer; }

    // While the form's own stored form is read (fsCreating), a stored Visible
    // waits in fsVisible: the form shows once OnCreate has run.
    void SetVisible(bool value);
    void Show();
    void Close();
    // The controls it parents that Root owns, then Root's components that have
    // no parent (timers, menus), as a stored form lists them.
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    bool CloseQuery();
    TModalResult ShowModal();
    // Frees the form once the messages now waiting have been handled.
    void Release();
    void SetFocus() override;

    TCloseEvent GetOnClose() const { return FOnClose; }
    void SetOnClose(TCloseEvent v) { FOnClose = v; }
    TCloseQueryEvent GetOnCloseQuery() const { return FOnCloseQuery; }
    void SetOnCloseQuery(TCloseQueryEvent v) { FOnCloseQuery = v; }
    TNotifyEvent GetOnShow() const { return FOnShow; }
    void SetOnShow(TNotifyEvent v) { FOnShow = v; }
    TNotifyEvent GetOnHide() const { return FOnHide; }
    void SetOnHide(TNotifyEvent v) { FOnHide = v; }
    TNotifyEvent GetOnActivate() const { return FOnActivate; }
    void SetOnActivate(TNotifyEvent v) { FOnActivate = v; }
    TNotifyEvent GetOnDeactivate() const { return FOnDeactivate; }
    void SetOnDeactivate(TNotifyEvent v) { FOnDeactivate = v; }
    TNotifyEvent GetOnCreate() const { return FOnCreate; }
    void SetOnCreate(TNotifyEvent v) { FOnCreate = v; }
    TNotifyEvent GetOnDestroy() const { return FOnDestroy; }
    void SetOnDestroy(TNotifyEvent v) { FOnDestroy = v; }

    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

    using TWinControl::DoKeyDown;
    using TWinControl::DoKeyPress;
    using TWinControl::DoKeyUp;

protected:
    void CreateParams(TCreateParams& params) override;
    void DefineProperties(TFiler* filer) override;
    // OnCreate and OnDestroy; a failure in OnCreate is reported, not raised.
    virtual void DoCreate();
    virtual void DoDestroy();
    // Reads the stored forms of the form's classes; false when none has one.
    bool InitInheritedComponent();
    // Ends ShowModal once CloseQuery and OnClose agree; an exception is reported.
    void CloseModal();
    void SetActive(bool value);
    void SetWindowFocus();
    void CMShowingChanged(TMessage& m);
    void CMDialogKey(TMessage& m);
    void CMRelease(TMessage& m);
    void WMActivate(TMessage& m);
    void WMClose(TMessage& m);
    void WMGetMinMaxInfo(TMessage& m);
    void WMSetFocus(TMessage& m);
    void MoveToPosition();

    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    TDesigner* FDesigner = nullptr;
    TBorderStyle FBorderStyle = bsSizeable;
    TPosition FPosition = poDesigned;
    TModalResult FModalResult = mrNone;
    TFormState FFormState;
    bool FActive = false;
    bool FKeyPreview = false;
    bool FAutoScroll = true;
    bool FOldCreateOrder = false;
    bool FCreated = false;        // AfterConstruction has run
    Integer FPixelsPerInch = 96;
    Integer FTextHeight = 0;      // as read from the stored form, 0 when not read
    Integer FClientWidth = 0;     // client size read, applied once the whole form is read
    Integer FClientHeight = 0;
    TCloseEvent FOnClose;
    TCloseQueryEvent FOnCloseQuery;
    TNotifyEvent FOnShow, FOnHide, FOnActivate, FOnDeactivate, FOnCreate, FOnDestroy;
};

class TForm : public TCustomForm {
    LD_CLASS(TForm, TCustomForm)
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

// ---- TScreen ------------------------------------------------------------------

class TScreen : public TComponent {
    LD_CLASS(TScreen, TComponent)

    explicit TScreen(TComponent* owner);
    Integer GetWidth() const;
    Integer GetHeight() const;
    // The cursor handle for a cursor index; unknown indexes give the arrow.
    HCURSOR GetCursors(TCursor index) const;
    void SetCursors(TCursor index, HCURSOR handle);
    // A cursor for the whole application; crDefault leaves it to the controls.
    TCursor GetCursor() const { return FCursor; }
    void SetCursor(TCursor value);
    TCustomForm* GetActiveForm() const { return FActiveForm; }
    TWinControl* GetActiveControl() const { return FActiveControl; }
    Integer GetFormCount() const { return Integer(FForms.size()); }
    TCustomForm* GetForm(Integer index) const { return FForms.at(size_t(index)); }

    // For the forms.
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void SetActiveForm(TCustomForm* form) { FActiveForm = form; }
    void SetActiveControl(TWinControl* control) { FActiveControl = control; }

private:
    std::map<TCursor, HCURSOR> FCursors;
    TCursor FCursor = crDefault;
    TCustomForm* FActiveForm = nullptr;
    TWinControl* FActiveControl = nullptr;
    std::vector<TCustomForm*> FForms;
};

// ---- TApplication --------------------------------------------------------------

using TIdleEvent = TClosure<TObject*, bool&>;
using TExceptionEvent = TClosure<TObject*, const std::exception&>;

class TApplication : public TComponent {
    LD_CLASS(TApplication, TComponent)

    explicit TApplication(TComponent* owner);

    // Shows the main form and handles messages until Terminate.
    void Run();
    // Handles every message waiting, without waiting for more.
    void ProcessMessages();
    // Handles one message, or when none is there runs the idle work and waits.
    void HandleMessage();
    // Handles one message if there is one.
    bool ProcessMessage();
    // The idle work without the wait: mouse enter and leave, OnIdle.
    void DoIdleWork();
    void Terminate();
    bool GetTerminated() const { return FTerminated; }
    void ResetTerminated() { FTerminated = false; }

    // Reports an exception a message handler let through.
    void HandleException(TObject* sender, const std::exception& e);
    void ShowException(const std::exception& e);
    // What the last report said, and how many there were.
    const std::string& GetLastExceptionMessage() const { return FLastExceptionMessage; }
    Integer GetExceptionCount() const { return FExceptionCount; }

    TCustomForm* GetMainForm() const { return FMainForm; }
    void SetMainForm(TCustomForm* form) { FMainForm = form; }
    // Makes a form of class T owned by the application, its stored form read
    // and OnCreate run; the first form made is the main form.
    template <class T>
    T* CreateForm()
    {
        T* form = new T(this);
        try {
            form->AfterConstruction();
        } catch (...) {
            form->Free();
            throw;
        }
        if (!FMainForm)
            FMainForm = form;
        return form;
    }
    std::string GetTitle() const { return FTitle; }
    void SetTitle(const std::string& v) { FTitle = v; }

    TIdleEvent GetOnIdle() const { return FOnIdle; }
    void SetOnIdle(TIdleEvent v) { FOnIdle = v; }
    TExceptionEvent GetOnException() const { return FOnException; }
    void SetOnException(TExceptionEvent v) { FOnException = v; }

    // The control the pointer is over, as the last idle turn found it.
    TControl* GetMouseControl() const { return FMouseControl; }
    void ControlDestroyed(TControl* control);
    void Notification(TComponent* component, TOperation operation) override;

private:
    TControl* DoMouseIdle();
    bool IsKeyMsg(MSG& msg);

    TCustomForm* FMainForm = nullptr;
    TControl* FMouseControl = nullptr;
    bool FTerminated = false;
    std::string FTitle;
    std::string FLastExceptionMessage;
    Integer FExceptionCount = 0;
    TIdleEvent FOnIdle;
    TExceptionEvent FOnException;
};

extern TApplication* Application;
extern TScreen* Screen;

TCustomForm* GetParentForm(TControl* control);
// Like GetParentForm, but EInvalidOperation when there is none.
TCustomForm* ValidParentForm(TControl* control);
// The accelerator of a caption: the character after a single ampersand.
char GetHotkey(const std::string& text);
// Whether the character is the caption's accelerator, ignoring case.
bool IsAccel(Word vk, const std::string& caption);

} // namespace ld
