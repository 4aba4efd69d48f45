// The control classes: TControl, the base of everything on a form;
// TWinControl, a control with a window of its own, made on demand;
// TCustomControl, a windowed control that paints itself on a canvas; and
// TGraphicControl, a windowless control its parent paints. Also the mouse
// capture of controls and the global helpers of the unit.
//
// Index: TSizeConstraints; TControl; TWinControl; TCustomControl;
// TGraphicControl; unit functions.
#pragma once

#include <string>
#include <vector>

#include "platform/core/Component.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Graphics.h"
#include "platform/vcl/ControlTypes.h"
#include "platform/win/Window.h"

namespace ld {

class TWinControl;
class TPopupMenu;
class TDragObject;

// Limits of a control's size, kept and stored.
class TSizeConstraints : public TPersistent {
    LD_CLASS(TSizeConstraints, TPersistent)

    explicit TSizeConstraints(TControl* control) : FControl(control) {}
    Integer GetMaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(Integer v) { FMaxHeight = v; }
    Integer GetMaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(Integer v) { FMaxWidth = v; }
    Integer GetMinHeight() const { return FMinHeight; }
    void SetMinHeight(Integer v) { FMinHeight = v; }
    Integer GetMinWidth() const { return FMinWidth; }
    void SetMinWidth(Integer v) { FMinWidth = v; }
    void Assign(TPersistent* source) override;

private:
    TControl* FControl;
    Integer FMaxHeight = 0, FMaxWidth = 0, FMinHeight = 0, FMinWidth = 0;
};

// ---- TControl ----------------------------------------------------------------

class TControl : public TComponent {
    LD_CLASS(TControl, TComponent)

    explicit TControl(TComponent* owner);
    ~TControl() override;
    void BeforeDestruction() override;

    // Tree.
    TWinControl* GetParent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* value) override;

    // Messages: WndProc first (mouse, design time, drag), then Dispatch.
    virtual void WndProc(TMessage& message);
    void Dispatch(TMessage& message) override;
    LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);

    // Bounds in the parent's client coordinates.
    Integer GetLeft() const { return FLeft; }
    Integer GetTop() const { return FTop; }
    Integer GetWidth() const { return FWidth; }
    Integer GetHeight() const { return FHeight; }
    void SetLeft(Integer v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(Integer v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(Integer v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(Integer v) { SetBounds(FLeft, FTop, FWidth, v); }
    virtual void SetBounds(Integer left, Integer top, Integer width, Integer height);
    TRect GetBoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    virtual TRect GetClientRect() const;
    Integer GetClientWidth() const { return GetClientRect().Width(); }
    Integer GetClientHeight() const { return GetClientRect().Height(); }
    void SetClientWidth(Integer v);
    void SetClientHeight(Integer v);
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;
    virtual TPoint GetClientOrigin() const;

    TAlign GetAlign() const { return FAlign; }
    void SetAlign(TAlign value);
    TAnchors GetAnchors() const { return FAnchors; }
    void SetAnchors(TAnchors v) { FAnchors = v; }
    TSizeConstraints* GetConstraints() const { return FConstraints; }
    void SetConstraints(TSizeConstraints* v) { FConstraints->Assign(v); }

    bool GetVisible() const { return FVisible; }
    void SetVisible(bool value);
    // Asks the parents to bring this control into view (a page control opens
    // its page), then makes it visible.
    void Show();
    void Hide() { SetVisible(false); }
    virtual bool GetEnabled() const { return FEnabled; }
    virtual void SetEnabled(bool value);
    // Visible, and so is every parent up to the top.
    bool IsShowing() const;

    // Text: Caption and Text are the same value.
    std::string GetText() const { return FText; }
    Integer GetTextLen() const { return Integer(FText.size()); }
    void SetText(const std::string& value);
    std::string GetCaption() const { return FText; }
    void SetCaption(const std::string& value) { SetText(value); }
    // With csSetCaption a caption that still equals the name follows a new
    // name, except while a stored form is read (it has its own caption).
    void SetName(const std::string& newName) override;

    TFont* GetFont() const { return FFont; }
    void SetFont(TFont* value);
    bool GetParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    TColor GetColor() const { return FColor; }
    void SetColor(TColor value);
    bool GetParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    bool GetShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    // The stored rules of the values a control may take from its parent.
    bool IsColorStored() const { return !FParentColor; }
    bool IsFontStored() const { return !FParentFont; }
    bool IsShowHintStored() const { return !FParentShowHint; }
    bool GetParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool value);
    std::string GetHint() const { return FHint; }
    void SetHint(const std::string& v) { FHint = v; }
    TCursor GetCursor() const { return FCursor; }
    void SetCursor(TCursor value);
    TCursor GetDragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor v) { FDragCursor = v; }
    TDragMode GetDragMode() const { return FDragMode; }
    virtual void SetDragMode(TDragMode v) { FDragMode = v; }
    TDragKind GetDragKind() const { return FDragKind; }
    void SetDragKind(TDragKind v) { FDragKind = v; }
    TPopupMenu* GetPopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* value);
    Integer GetHelpContext() const { return FHelpContext; }
    void SetHelpContext(Integer v) { FHelpContext = v; }

    TControlStyle GetControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle v) { FControlStyle = v; }
    TControlState GetControlState() const { return FControlState; }
    void SetControlState(TControlState v) { FControlState = v; }

    // Painting.
    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    virtual void BringToFront();
    virtual void SendToBack();

    // Mouse capture: a windowless control captures through its parent.
    bool GetMouseCapture() const;
    void SetMouseCapture(bool value);

    // Drag and drop.
    void BeginDrag(bool immediate, Integer threshold = -1);
    void EndDrag(bool drop);
    bool Dragging() const;
    virtual void DragDrop(TObject* source, Integer x, Integer y);
    virtual void DragOver(TObject* source, Integer x, Integer y, TDragState state, bool& accept);
    virtual void DoEndDrag(TObject* target, Integer x, Integer y);
    virtual void DoStartDrag(TDragObject*& dragObject);

    // Events.
    TNotifyEvent GetOnClick() const { return FOnClick; }
    void SetOnClick(TNotifyEvent v) { FOnClick = v; }
    TNotifyEvent GetOnDblClick() const { return FOnDblClick; }
    void SetOnDblClick(TNotifyEvent v) { FOnDblClick = v; }
    TMouseEvent GetOnMouseDown() const { return FOnMouseDown; }
    void SetOnMouseDown(TMouseEvent v) { FOnMouseDown = v; }
    TMouseMoveEvent GetOnMouseMove() const { return FOnMouseMove; }
    void SetOnMouseMove(TMouseMoveEvent v) { FOnMouseMove = v; }
    TMouseEvent GetOnMouseUp() const { return FOnMouseUp; }
    void SetOnMouseUp(TMouseEvent v) { FOnMouseUp = v; }
    TDragOverEvent GetOnDragOver() const { return FOnDragOver; }
    void SetOnDragOver(TDragOverEvent v) { FOnDragOver = v; }
    TDragDropEvent GetOnDragDrop() const { return FOnDragDrop; }
    void SetOnDragDrop(TDragDropEvent v) { FOnDragDrop = v; }
    TEndDragEvent GetOnEndDrag() const { return FOnEndDrag; }
    void SetOnEndDrag(TEndDragEvent v) { FOnEndDrag = v; }
    TStartDragEvent GetOnStartDrag() const { return FOnStartDrag; }
    void SetOnStartDrag(TStartDragEvent v) { FOnStartDrag = v; }
    TEndDragEvent GetOnEndDock() const { return FOnEndDock; }
    void SetOnEndDock(TEndDragEvent v) { FOnEndDock = v; }
    TStartDockEvent GetOnStartDock() const { return FOnStartDock; }
    void SetOnStartDock(TStartDockEvent v) { FOnStartDock = v; }
    TNotifyEvent GetOnResize() const { return FOnResize; }
    void SetOnResize(TNotifyEvent v) { FOnResize = v; }
    TMouseWheelEvent GetOnMouseWheel() const { return FOnMouseWheel; }
    void SetOnMouseWheel(TMouseWheelEvent v) { FOnMouseWheel = v; }
    TMouseWheelUpDownEvent GetOnMouseWheelDown() const { return FOnMouseWheelDown; }
    void SetOnMouseWheelDown(TMouseWheelUpDownEvent v) { FOnMouseWheelDown = v; }
    TMouseWheelUpDownEvent GetOnMouseWheelUp() const { return FOnMouseWheelUp; }
    void SetOnMouseWheelUp(TMouseWheelUpDownEvent v) { FOnMouseWheelUp = v; }

    // The dynamic methods; each inherited one fires the matching event.
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y);
    virtual void MouseMove(TShiftState shift, Integer x, Integer y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y);
    // The control's size changed (a windowed control's, after its children
    // were aligned again); fires OnResize.
    virtual void Resize();
    // Where WM_MOUSEWHEEL goes first: CM_MOUSEWHEEL to the control itself,
    // which offers it to DoMouseWheel and, unhandled, to each parent in turn.
    virtual void MouseWheelHandler(TMessage& message);

    // Acts only on the popup menu, which it watches with FreeNotification; a
    // descendant that overrides it again hears every notice of its owner.
    using TWatchedOnlyNotification = TControl;

    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;
    // A control read from a stored form takes the component that holds it
    // there as its parent.
    void ReadState(TReader* reader) override;

protected:
    virtual void Changed() {}
    virtual void FontChanged(TObject* sender);
    void InvalidateControl(bool isVisible, bool isOpaque);
    // The windowless control's paint entry; TGraphicControl overrides.
    virtual void SendCancelMode(TControl* sender);

    // Message handlers of TControl.
    void WMLButtonDown(TMessage& m);
    void WMLButtonDblClk(TMessage& m);
    void WMRButtonDown(TMessage& m);
    void WMRButtonDblClk(TMessage& m);
    void WMMButtonDown(TMessage& m);
    void WMLButtonUp(TMessage& m);
    void WMRButtonUp(TMessage& m);
    void WMMButtonUp(TMessage& m);
    void WMMouseMove(TMessage& m);
    void WMCancelMode(TMessage& m);
    void CMVisibleChanged(TMessage& m);
    void CMEnabledChanged(TMessage& m);
    void CMFontChanged(TMessage& m);
    void CMColorChanged(TMessage& m);
    void CMParentFontChanged(TMessage& m);
    void CMParentColorChanged(TMessage& m);
    void CMParentShowHintChanged(TMessage& m);
    void CMTextChanged(TMessage& m) {}
    void CMMouseEnter(TMessage& m);
    void CMMouseLeave(TMessage& m);
    void CMHitTest(TMessage& m) { m.Result = HTCLIENT; }
    void CMDrag(TMessage& m);

    void WMMouseWheel(TMessage& m);
    void CMMouseWheel(TMessage& m);
    // OnMouseWheel first; unhandled, whole notches (WHEEL_DELTA) gathered
    // from the turns go one by one to DoMouseWheelDown or DoMouseWheelUp,
    // which fire their events. True when the wheel was used.
    virtual bool DoMouseWheel(TShiftState shift, Integer wheelDelta, TPoint mousePos);
    virtual bool DoMouseWheelDown(TShiftState shift, TPoint mousePos);
    virtual bool DoMouseWheelUp(TShiftState shift, TPoint mousePos);

    void DoMouseDown(TMessage& m, TMouseButton button, TShiftState shift);
    void DoMouseUp(TMessage& m, TMouseButton button);
    void ShowPopupAt(TMessage& m);

    TWinControl* FParent = nullptr;
    Integer FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TControlStyle FControlStyle;
    TControlState FControlState;
    bool FVisible = true;
    bool FEnabled = true;
    bool FParentFont = true;
    bool FParentColor = true;
    bool FParentShowHint = true;
    bool FShowHint = false;
    TAlign FAlign = alNone;
    TAnchors FAnchors{akLeft, akTop};
    TDragMode FDragMode = dmManual;
    TDragKind FDragKind = dkDrag;
    std::string FText;
    std::string FHint;
    TFont* FFont = nullptr;
    TColor FColor;
    TCursor FCursor = crDefault;
    TCursor FDragCursor = crDrag;
    TPopupMenu* FPopupMenu = nullptr;
    TSizeConstraints* FConstraints = nullptr;
    Integer FHelpContext = 0;
    bool FIsControl = false;
    Integer FWheelAccumulator = 0;  // the part of a notch turned so far

    TNotifyEvent FOnClick, FOnDblClick, FOnResize;
    TMouseEvent FOnMouseDown, FOnMouseUp;
    TMouseMoveEvent FOnMouseMove;
    TDragOverEvent FOnDragOver;
    TDragDropEvent FOnDragDrop;
    TEndDragEvent FOnEndDrag, FOnEndDock;
    TStartDragEvent FOnStartDrag;
    TStartDockEvent FOnStartDock;
    TMouseWheelEvent FOnMouseWheel;
    TMouseWheelUpDownEvent FOnMouseWheelDown, FOnMouseWheelUp;

    friend class TWinControl;
};

// ---- TWinControl ---------------------------------------------------------------

// What CreateParams fills and CreateWnd makes the window from.
struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    Integer X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    WNDCLASS WindowClass;
    std::string WinClassName;
};

class TWinControl : public TControl {
    LD_CLASS(TWinControl, TControl)

    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // The window, made on first use (and its parents' before it).
    HWND GetHandle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded();
    // Destroys the window and makes it again with fresh CreateParams; the
    // children and every property survive.
    void RecreateWnd();

    // Children: windowless ones first, then windowed ones, each in z-order
    // from the bottom.
    Integer GetControlCount() const { return Integer(FControls.size() + FWinControls.size()); }
    TControl* GetControl(Integer index) const;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    bool ContainsControl(TControl* control) const;
    // The child (windowless before windowed, topmost first) at a client point.
    TControl* ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls = false) const;
    // Sends a message to every child until one answers it (Result not 0).
    void Broadcast(TMessage& message);
    void NotifyControls(UINT msg);
    // Brings a child into view; a container that pages its children overrides it.
    virtual void ShowControl(TControl* control);
    // The children a stored form keeps under this control: those Root owns.
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    // Reads with alignment held back, then puts the children read into the tab
    // order their stored TabOrder values give.
    void ReadState(TReader* reader) override;
    // Aligns the children once the stored form is wholly read.
    void Loaded() override;

    void SetBounds(Integer left, Integer top, Integer width, Integer height) override;
    TRect GetClientRect() const override;
    TPoint GetClientOrigin() const override;
    void Invalidate() override;
    void Update() override;
    void BringToFront() override;
    void SendToBack() override;
    void SetParent(TWinControl* parent) override;

    // Alignment of the children.
    void Realign();
    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();
    virtual void AlignControls(TControl* control, TRect& rect);
    virtual void AdjustClientRect(TRect& rect) {}

    // Focus and tab order.
    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();
    Integer GetTabOrder() const;
    void SetTabOrder(Integer value);
    bool GetTabStop() const { return FTabStop; }
    void SetTabStop(bool value);
    void SelectFirst();
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const;
    void GetTabOrderList(std::vector<TWinControl*>& list) const;

    bool GetCtl3D() const { return FCtl3D; }
    void SetCtl3D(bool value);
    bool GetParentCtl3D() const { return FParentCtl3D; }
    void SetParentCtl3D(bool value);
    bool IsCtl3DStored() const { return !FParentCtl3D; }
    // The brush WM_ERASEBKGND fills with: the control's Color.
    HBRUSH GetBrushHandle();

    TKeyEvent GetOnKeyDown() const { return FOnKeyDown; }
    void SetOnKeyDown(TKeyEvent v) { FOnKeyDown = v; }
    TKeyPressEvent GetOnKeyPress() const { return FOnKeyPress; }
    void SetOnKeyPress(TKeyPressEvent v) { FOnKeyPress = v; }
    TKeyEvent GetOnKeyUp() const { return FOnKeyUp; }
    void SetOnKeyUp(TKeyEvent v) { FOnKeyUp = v; }
    TNotifyEvent GetOnEnter() const { return FOnEnter; }
    void SetOnEnter(TNotifyEvent v) { FOnEnter = v; }
    TNotifyEvent GetOnExit() const { return FOnExit; }
    void SetOnExit(TNotifyEvent v) { FOnExit = v; }

    virtual void KeyDown(Word& key, TShiftState shift);
    virtual void KeyUp(Word& key, TShiftState shift);
    virtual void KeyPress(char& key);

    void WndProc(TMessage& message) override;
    void Dispatch(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    // The procedure of every window a control made; it finds the control.
    static LRESULT WindowProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // The window procedure's entry: WndProc, with exceptions reported.
    void MainWndProc(TMessage& message);

    // Whether WM_PAINT should be given to Paint (TCustomControl) or the default.
    virtual void PaintWindow(HDC dc) {}
    void PaintHandler(TMessage& m);
    void PaintControls(HDC dc, TControl* first);

protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& params);
    virtual void DestroyWnd();
    virtual void DestroyWindowHandle();
    void CreateHandle();
    void DestroyHandle();
    void UpdateShowing();
    void UpdateControlState();
    void UpdateBounds();
    // The window this one goes above in the z-order of its siblings.
    HWND PrecedingWindow(TWinControl* control) const;
    void AlignControl(TControl* control);
    bool IsControlMouseMsg(TMessage& m);
    bool DoKeyDown(TMessage& m);
    bool DoKeyUp(TMessage& m);
    bool DoKeyPress(TMessage& m);
    // Orders FTabList by the TabOrder each child was given while being read.
    void FixupTabList();

    void WMPaint(TMessage& m);
    void WMEraseBkgnd(TMessage& m);
    void WMSize(TMessage& m);
    void WMWindowPosChanged(TMessage& m);
    void WMSetCursor(TMessage& m);
    void WMSetFocus(TMessage& m);
    void WMKillFocus(TMessage& m);
    void WMKeyDown(TMessage& m);
    void WMKeyUp(TMessage& m);
    void WMChar(TMessage& m);
    void WMNCDestroy(TMessage& m);
    void WMNCHitTest(TMessage& m);
    void CNKeyDown(TMessage& m);
    void CNChar(TMessage& m);
    void CNSysChar(TMessage& m);
    void CMDialogKey(TMessage& m) { Broadcast(m); }
    void CMDialogChar(TMessage& m) { Broadcast(m); }
    void CMFocusChanged(TMessage& m) { Broadcast(m); }
    void CMFontChanged(TMessage& m);
    void CMColorChanged(TMessage& m);
    void CMCtl3DChanged(TMessage& m);
    void CMParentCtl3DChanged(TMessage& m);
    void CMVisibleChanged(TMessage& m);
    void CMEnabledChanged(TMessage& m);
    void CMShowingChanged(TMessage& m);
    void CMShowHintChanged(TMessage& m) { NotifyControls(CM_PARENTSHOWHINTCHANGED); }
    void CMInvalidate(TMessage& m);
    void CMTextChanged(TMessage& m);
    void CMEnter(TMessage& m);
    void CMExit(TMessage& m);

    HWND FHandle = nullptr;
    std::vector<TControl*> FControls;     // windowless children
    std::vector<TWinControl*> FWinControls;
    std::vector<TWinControl*> FTabList;
    bool FShowing = false;
    bool FTabStop = false;
    bool FCtl3D = true;
    bool FParentCtl3D = true;
    Integer FAlignLevel = 0;
    Integer FTabOrder = -1; // the stored TabOrder while being read, for FixupTabList
    HBRUSH FBrush = nullptr;
    TColor FBrushColor = -1;
    TKeyEvent FOnKeyDown, FOnKeyUp;
    TKeyPressEvent FOnKeyPress;
    TNotifyEvent FOnEnter, FOnExit;

    friend class TControl;
};

// ---- TCustomControl and TGraphicControl -----------------------------------------

class TCustomControl : public TWinControl {
    LD_CLASS(TCustomControl, TWinControl)

    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    TCanvas* GetCanvas() const { return FCanvas; }
    void PaintWindow(HDC dc) override;
    void Dispatch(TMessage& message) override;

protected:
    virtual void Paint() {}
    TCanvas* FCanvas = nullptr;
};

class TGraphicControl : public TControl {
    LD_CLASS(TGraphicControl, TControl)

    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    TCanvas* GetCanvas() const { return FCanvas; }
    void Dispatch(TMessage& message) override;

protected:
    virtual void Paint() {}
    TCanvas* FCanvas = nullptr;
};

// ---- unit functions --------------------------------------------------------------

// The control that made a window, or nullptr.
TWinControl* FindControl(HWND hwnd);
// The control holding the mouse: a windowless one captures through its parent.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);
// The control under a screen point, windowless controls included, descending
// to the deepest; with AllowDisabled disabled controls count too.
TControl* FindDragTarget(TPoint pos, bool allowDisabled);
// The drag under way, or nullptr.
TDragObject* GetDragObject();
// A canvas on a control: its device context is made when first needed (from
// GetDC outside painting) and let go when the message that needed it is done.
class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TControl* control) : FControl(control) {}
    ~TControlCanvas() override;
    void CreateHandle() override;
    void FreeHandle();
    TControl* GetControl() const { return FControl; }

private:
    TControl* FControl;
    HDC FDeviceContext = nullptr;
    HWND FWindow = nullptr;
};
// Lets go of every device context a control canvas took outside painting.
void FreeControlCanvases();

// Whether the platform has the new-style (3D) controls; it always has.
extern const bool NewStyleControls;

} // namespace ld
