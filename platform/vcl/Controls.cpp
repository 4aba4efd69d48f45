// TControl: bounds, visibility, text, parent font and colour, the mouse
// messages and their events, capture, invalidation, and the unit's helpers.
#include "platform/vcl/Controls.h"

#include <algorithm>
#include <cstdlib>

#include "platform/core/SysUtils.h"
#include "platform/gfx/Graphics.h"
#include "platform/stream/Reader.h"
#include "platform/vcl/DragDrop.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"

namespace ld {

const bool NewStyleControls = true;

namespace {
TControl* gCaptureControl = nullptr;
}

// ---- enumerations -------------------------------------------------------------

const TEnumInfo& AlignInfo()
{
    static const TEnumInfo info{"TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}};
    return info;
}
const TEnumInfo& DragModeInfo()
{
    static const TEnumInfo info{"TDragMode", {"dmManual", "dmAutomatic"}};
    return info;
}
const TEnumInfo& DragKindInfo()
{
    static const TEnumInfo info{"TDragKind", {"dkDrag", "dkDock"}};
    return info;
}
const TEnumInfo& AnchorKindInfo()
{
    static const TEnumInfo info{"TAnchorKind", {"akLeft", "akTop", "akRight", "akBottom"}};
    return info;
}
const TEnumInfo& BorderStyleInfo()
{
    static const TEnumInfo info{"TFormBorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
    return info;
}
const TIntegerIdents& CursorIdents()
{
    static const TIntegerIdents idents{"TCursor",
                                       {{crDefault, "crDefault"},     {crNone, "crNone"},       {crArrow, "crArrow"},
                                        {crCross, "crCross"},         {crIBeam, "crIBeam"},     {crSizeNESW, "crSizeNESW"},
                                        {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"}, {crSizeWE, "crSizeWE"},
                                        {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
                                        {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},   {crVSplit, "crVSplit"},
                                        {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"}, {crNo, "crNo"},
                                        {crAppStart, "crAppStart"},   {crHelp, "crHelp"},       {crHandPoint, "crHandPoint"},
                                        {crSizeAll, "crSizeAll"}}};
    return idents;
}

TShiftState KeysToShiftState(WPARAM keys)
{
    TShiftState s;
    if (keys & MK_SHIFT) s.Include(ssShift);
    if (keys & MK_CONTROL) s.Include(ssCtrl);
    if (keys & MK_LBUTTON) s.Include(ssLeft);
    if (keys & MK_RBUTTON) s.Include(ssRight);
    if (keys & MK_MBUTTON) s.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData)
{
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
    if (keyData & (LPARAM(1) << 29)) s.Include(ssAlt);
    return s;
}

// ---- TSizeConstraints -------------------------------------------------------------

TClass TSizeConstraints::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TSizeConstraints>("TSizeConstraints", TPersistent::StaticClass())
        .Integer("MaxHeight", &TSizeConstraints::GetMaxHeight, &TSizeConstraints::SetMaxHeight).Default(0)
        .Integer("MaxWidth", &TSizeConstraints::GetMaxWidth, &TSizeConstraints::SetMaxWidth).Default(0)
        .Integer("MinHeight", &TSizeConstraints::GetMinHeight, &TSizeConstraints::SetMinHeight).Default(0)
        .Integer("MinWidth", &TSizeConstraints::GetMinWidth, &TSizeConstraints::SetMinWidth).Default(0);
    return &info;
}

void TSizeConstraints::Assign(TPersistent* source)
{
    if (auto* s = dynamic_cast<TSizeConstraints*>(source)) {
        FMaxHeight = s->FMaxHeight;
        FMaxWidth = s->FMaxWidth;
        FMinHeight = s->FMinHeight;
        FMinWidth = s->FMinWidth;
        return;
    }
    inherited::Assign(source);
}

// ---- TControl ---------------------------------------------------------------------

TClass TControl::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TControl>("TControl", TComponent::StaticClass())
        .Integer("Left", &TControl::GetLeft, &TControl::SetLeft)
        .Integer("Top", &TControl::GetTop, &TControl::SetTop)
        .Integer("Width", &TControl::GetWidth, &TControl::SetWidth)
        .Integer("Height", &TControl::GetHeight, &TControl::SetHeight)
        .Integer("Cursor", &TControl::GetCursor, &TControl::SetCursor).Idents(CursorIdents()).Default(crDefault)
        .String("Hint", &TControl::GetHint, &TControl::SetHint)
        // Declared for the descendants that publish them, with the rule that
        // keeps a value taken from the parent out of the stored form.
        .Integer("Color", &TControl::GetColor, &TControl::SetColor).Stored(&TControl::IsColorStored).Protected()
        .Object("Font", &TControl::GetFont, &TControl::SetFont).Stored(&TControl::IsFontStored).Protected()
        .Boolean("ShowHint", &TControl::GetShowHint, &TControl::SetShowHint).Stored(&TControl::IsShowHintStored).Protected()
        .Abstract();
    return &info;
}

TControl::TControl(TComponent* owner) : TComponent(owner)
{
    FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FFont = new TFont();
    FFont->SetOnChange(TNotifyEvent(this, &TControl::FontChanged));
    FColor = clWindow;
    FConstraints = new TSizeConstraints(this);
}

TControl::~TControl()
{
    if (GetDragObject() && GetDragObject()->GetControl() == this)
        CancelDrag();
    if (gCaptureControl == this)
        SetCaptureControl(nullptr);
    Application->ControlDestroyed(this);
    if (FParent)
        FParent->RemoveControl(this);
    delete FFont;
    delete FConstraints;
}

void TControl::BeforeDestruction() { inherited::BeforeDestruction(); }

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetParentComponent(TComponent* value)
{
    if (auto* w = dynamic_cast<TWinControl*>(value))
        SetParent(w);
}

void TControl::ReadState(TReader* reader)
{
    FControlState.Include(csReadingState);
    auto* parent = dynamic_cast<TWinControl*>(reader->Parent());
    try {
        if (parent)
            SetParent(parent);
        inherited::ReadState(reader);
    } catch (...) {
        FControlState.Exclude(csReadingState);
        throw;
    }
    FControlState.Exclude(csReadingState);
    // What it takes from a parent the reader gave it, it takes now that its
    // own values are read.
    if (parent && FParent == parent) {
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
        Perform(CM_PARENTFONTCHANGED, 0, 0);
        Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    }
}

void TControl::SetParent(TWinControl* parent)
{
    if (FParent == parent)
        return;
    if (parent == this)
        throw EInvalidOperation("A control cannot have itself as its parent");
    if (FParent)
        FParent->RemoveControl(this);
    if (parent)
        parent->InsertControl(this);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage m{msg, wParam, lParam, 0};
    WndProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& m)
{
    if (ComponentState().Contains(csDesigning)) {
        // The designer sees every message first: input, and the form's closing and moving.
        TCustomForm* form = GetParentForm(this);
        if (form && form->GetDesigner() && form->GetDesigner()->IsDesignMsg(this, m))
            return;
    } else if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST) {
        if (!FControlStyle.Contains(csDoubleClicks) &&
            (m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_RBUTTONDBLCLK || m.Msg == WM_MBUTTONDBLCLK))
            m.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
        switch (m.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (FDragMode == dmAutomatic) {
                BeginDrag(true);
                return;
            }
            FControlState.Include(csLButtonDown);
            break;
        case WM_LBUTTONUP:
            FControlState.Exclude(csLButtonDown);
            break;
        }
    }
    Dispatch(m);
}

void TControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(m); return;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(m); return;
    case WM_RBUTTONDOWN: WMRButtonDown(m); return;
    case WM_RBUTTONDBLCLK: WMRButtonDblClk(m); return;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: WMMButtonDown(m); return;
    case WM_LBUTTONUP: WMLButtonUp(m); return;
    case WM_RBUTTONUP: WMRButtonUp(m); return;
    case WM_MBUTTONUP: WMMButtonUp(m); return;
    case WM_MOUSEMOVE: WMMouseMove(m); return;
    case WM_MOUSEWHEEL: WMMouseWheel(m); return;
    case CM_MOUSEWHEEL: CMMouseWheel(m); return;
    case WM_CANCELMODE: WMCancelMode(m); return;
    case CM_VISIBLECHANGED: CMVisibleChanged(m); return;
    case CM_ENABLEDCHANGED: CMEnabledChanged(m); return;
    case CM_FONTCHANGED: CMFontChanged(m); return;
    case CM_COLORCHANGED: CMColorChanged(m); return;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(m); return;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(m); return;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(m); return;
    case CM_TEXTCHANGED: CMTextChanged(m); return;
    case CM_MOUSEENTER: CMMouseEnter(m); return;
    case CM_MOUSELEAVE: CMMouseLeave(m); return;
    case CM_HITTEST: CMHitTest(m); return;
    case CM_DRAG: CMDrag(m); return;
    }
    inherited::Dispatch(m);
}

// ---- bounds ---------------------------------------------------------------------------

void TControl::SetBounds(Integer left, Integer top, Integer width, Integer height)
{
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight)
        return;
    InvalidateControl(FVisible, false);
    FLeft = left;
    FTop = top;
    FWidth = std::max(width, 0);
    FHeight = std::max(height, 0);
    Invalidate();
    if (FParent)
        FParent->AlignControl(this);
}

TRect TControl::GetClientRect() const { return {0, 0, FWidth, FHeight}; }

void TControl::SetClientWidth(Integer v) { SetWidth(FWidth - GetClientWidth() + v); }
void TControl::SetClientHeight(Integer v) { SetHeight(FHeight - GetClientHeight() + v); }

TPoint TControl::GetClientOrigin() const
{
    if (!FParent)
        return {FLeft, FTop};
    TPoint p = FParent->GetClientOrigin();
    return {p.X + FLeft, p.Y + FTop};
}

TPoint TControl::ClientToScreen(TPoint p) const
{
    TPoint o = GetClientOrigin();
    return {p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const
{
    TPoint o = GetClientOrigin();
    return {p.X - o.X, p.Y - o.Y};
}

void TControl::SetAlign(TAlign value)
{
    if (FAlign == value)
        return;
    TAlign old = FAlign;
    FAlign = value;
    FAnchors = {akLeft, akTop};
    if (FParent && !ComponentState().Contains(csLoading)) {
        // Leaving an alignment keeps the size the aligned control had.
        if (old == alTop || old == alBottom) {
            if (value == alRight || value == alLeft)
                SetWidth(FWidth);
        }
        FParent->Realign();
    }
}

// ---- visibility, enabled, text ---------------------------------------------------------

void TControl::SetVisible(bool value)
{
    if (FVisible == value)
        return;
    FVisible = value;
    Perform(CM_VISIBLECHANGED, value, 0);
    if (FParent)
        FParent->Realign();
}

void TControl::Show()
{
    if (FParent)
        FParent->ShowControl(this);
    if (!ComponentState().Contains(csDesigning) || FControlStyle.Contains(csNoDesignVisible))
        SetVisible(true);
}

bool TControl::IsShowing() const
{
    for (const TControl* c = this; c; c = c->FParent)
        if (!c->FVisible && !c->ComponentState().Contains(csDesigning))
            return false;
    return true;
}

void TControl::SetEnabled(bool value)
{
    if (FEnabled == value)
        return;
    FEnabled = value;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetText(const std::string& value)
{
    if (FText == value)
        return;
    FText = value;
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
        SetWindowText(w->FHandle, value);
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetName(const std::string& newName)
{
    const TComponent* owner = Owner();
    const bool ownerLoading = dynamic_cast<const TControl*>(owner) && owner->ComponentState().Contains(csLoading);
    const bool followName = FControlStyle.Contains(csSetCaption) && !ComponentState().Contains(csLoading) &&
                            !ownerLoading && GetName() == FText;
    inherited::SetName(newName);
    if (followName)
        SetText(newName);
}

// ---- font, colour, hint, cursor -----------------------------------------------------------

void TControl::SetFont(TFont* value) { FFont->Assign(value); }

void TControl::FontChanged(TObject*)
{
    FParentFont = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool value)
{
    if (FParentFont == value)
        return;
    FParentFont = value;
    if (FParent && !ComponentState().Contains(csReading))
        Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetColor(TColor value)
{
    if (FColor == value)
        return;
    FColor = value;
    FParentColor = false;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool value)
{
    if (FParentColor == value)
        return;
    FParentColor = value;
    if (FParent && !ComponentState().Contains(csReading))
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetShowHint(bool value)
{
    if (FShowHint == value)
        return;
    FShowHint = value;
    FParentShowHint = false;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool value)
{
    if (FParentShowHint == value)
        return;
    FParentShowHint = value;
    if (FParent && !ComponentState().Contains(csReading))
        Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor value)
{
    if (FCursor == value)
        return;
    FCursor = value;
    Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TPopupMenu* value)
{
    FPopupMenu = value;
    if (value)
        value->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FPopupMenu)
        FPopupMenu = nullptr;
}

void TControl::Loaded()
{
    inherited::Loaded();
    if (FParent) {
        if (FParentColor)
            Perform(CM_PARENTCOLORCHANGED, 0, 0);
        if (FParentFont)
            Perform(CM_PARENTFONTCHANGED, 0, 0);
        if (FParentShowHint)
            Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    }
}

void TControl::CMVisibleChanged(TMessage&) { InvalidateControl(true, FVisible && FControlStyle.Contains(csOpaque)); }
void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }
void TControl::CMFontChanged(TMessage&) { Invalidate(); }
void TControl::CMColorChanged(TMessage&) { Invalidate(); }

void TControl::CMParentFontChanged(TMessage&)
{
    if (FParentFont && FParent) {
        FFont->Assign(FParent->GetFont());
        FParentFont = true;
    }
}

void TControl::CMParentColorChanged(TMessage&)
{
    if (FParentColor && FParent) {
        SetColor(FParent->GetColor());
        FParentColor = true;
    }
}

void TControl::CMParentShowHintChanged(TMessage&)
{
    if (FParentShowHint && FParent) {
        SetShowHint(FParent->GetShowHint());
        FParentShowHint = true;
    }
}

// The parent hears of a child's enter and leave too, with the child in lParam.
void TControl::CMMouseEnter(TMessage& m)
{
    if (FParent)
        FParent->Perform(CM_MOUSEENTER, 0, m.LParam ? m.LParam : reinterpret_cast<LPARAM>(this));
}

void TControl::CMMouseLeave(TMessage& m)
{
    if (FParent)
        FParent->Perform(CM_MOUSELEAVE, 0, m.LParam ? m.LParam : reinterpret_cast<LPARAM>(this));
}

// ---- painting -------------------------------------------------------------------------------

void TControl::InvalidateControl(bool isVisible, bool isOpaque)
{
    if ((isVisible || ComponentState().Contains(csDesigning)) && FParent && FParent->HandleAllocated()) {
        RECT r = GetBoundsRect();
        InvalidateRect(FParent->FHandle, &r, !(isOpaque || FParent->FControlStyle.Contains(csOpaque)));
    }
}

void TControl::Invalidate() { InvalidateControl(FVisible, FControlStyle.Contains(csOpaque)); }

void TControl::Update()
{
    if (FParent)
        FParent->Update();
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::BringToFront()
{
    if (!FParent)
        return;
    auto& list = FParent->FControls;
    if (auto it = std::find(list.begin(), list.end(), this); it != list.end()) {
        list.erase(it);
        list.push_back(this);
        Invalidate();
    }
}

void TControl::SendToBack()
{
    if (!FParent)
        return;
    auto& list = FParent->FControls;
    if (auto it = std::find(list.begin(), list.end(), this); it != list.end()) {
        list.erase(it);
        list.insert(list.begin(), this);
        Invalidate();
    }
}

// ---- mouse ---------------------------------------------------------------------------------------

bool TControl::GetMouseCapture() const { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool value)
{
    if (GetMouseCapture() != value)
        SetCaptureControl(value ? this : nullptr);
}

// A press elsewhere cancels whatever the focused control of each enclosing form
// was doing with the mouse (an open in-place editor, for one).
void TControl::SendCancelMode(TControl* sender)
{
    for (TControl* c = this; c; c = c->FParent)
        if (auto* form = dynamic_cast<TCustomForm*>(c))
            form->SendCancelMode(sender);
}

void TControl::DoMouseDown(TMessage& m, TMouseButton button, TShiftState shift)
{
    if (FControlStyle.Contains(csNoStdEvents))
        return;
    TPoint p = LParamToPoint(m.LParam);
    MouseDown(button, KeysToShiftState(m.WParam) + shift, p.X, p.Y);
}

void TControl::DoMouseUp(TMessage& m, TMouseButton button)
{
    if (FControlStyle.Contains(csNoStdEvents))
        return;
    TPoint p = LParamToPoint(m.LParam);
    MouseUp(button, KeysToShiftState(m.WParam), p.X, p.Y);
}

void TControl::WMLButtonDown(TMessage& m)
{
    SendCancelMode(this);
    inherited::Dispatch(m);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(true);
    if (FControlStyle.Contains(csClickEvents))
        FControlState.Include(csClicked);
    DoMouseDown(m, mbLeft, {});
}

void TControl::WMLButtonDblClk(TMessage& m)
{
    SendCancelMode(this);
    inherited::Dispatch(m);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(true);
    if (FControlStyle.Contains(csClickEvents))
        DblClick();
    DoMouseDown(m, mbLeft, {ssDouble});
}

void TControl::WMRButtonDown(TMessage& m)
{
    inherited::Dispatch(m);
    DoMouseDown(m, mbRight, {});
}

void TControl::WMRButtonDblClk(TMessage& m)
{
    inherited::Dispatch(m);
    DoMouseDown(m, mbRight, {ssDouble});
}

void TControl::WMMButtonDown(TMessage& m)
{
    inherited::Dispatch(m);
    DoMouseDown(m, mbMiddle, {});
}

void TControl::WMLButtonUp(TMessage& m)
{
    inherited::Dispatch(m);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(false);
    if (FControlState.Contains(csClicked)) {
        FControlState.Exclude(csClicked);
        if (PtInRect(GetClientRect(), LParamToPoint(m.LParam)))
            Click();
    }
    DoMouseUp(m, mbLeft);
}

void TControl::WMRButtonUp(TMessage& m)
{
    inherited::Dispatch(m);
    DoMouseUp(m, mbRight);
    ShowPopupAt(m);
}

void TControl::WMMButtonUp(TMessage& m)
{
    inherited::Dispatch(m);
    DoMouseUp(m, mbMiddle);
}

void TControl::ShowPopupAt(TMessage& m)
{
    if (!FPopupMenu || !FPopupMenu->GetAutoPopup() || ComponentState().Contains(csDesigning))
        return;
    TPoint p = ClientToScreen(LParamToPoint(m.LParam));
    FPopupMenu->SetPopupComponent(this);
    FPopupMenu->Popup(p.X, p.Y);
    m.Result = 1;
}

void TControl::WMMouseMove(TMessage& m)
{
    inherited::Dispatch(m);
    if (FControlStyle.Contains(csNoStdEvents))
        return;
    TPoint p = LParamToPoint(m.LParam);
    MouseMove(KeysToShiftState(m.WParam), p.X, p.Y);
}

void TControl::WMCancelMode(TMessage& m)
{
    inherited::Dispatch(m);
    if (GetMouseCapture()) {
        SetMouseCapture(false);
        if (FControlState.Contains(csLButtonDown))
            Perform(WM_LBUTTONUP, 0, MakeLParam(-1, -1));  // a release nowhere: no click
    } else {
        FControlState.Exclude(csLButtonDown);
    }
}

void TControl::Click()
{
    if (FOnClick)
        FOnClick(this);
}

void TControl::DblClick()
{
    if (FOnDblClick)
        FOnDblClick(this);
}

void TControl::Resize()
{
    if (FOnResize)
        FOnResize(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y)
{
    if (FOnMouseDown)
        FOnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, Integer x, Integer y)
{
    if (FOnMouseMove)
        FOnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y)
{
    if (FOnMouseUp)
        FOnMouseUp(this, button, shift, x, y);
}

// ---- the wheel ------------------------------------------------------------------------------------

void TControl::WMMouseWheel(TMessage& m)
{
    // The notification carries the shift state where the message has the keys.
    const TShiftState shift = KeysToShiftState(GetKeyStateWParam(m.WParam));
    TMessage cm{CM_MOUSEWHEEL, MakeWParam(Integer(shift.Bits()), GetWheelDeltaWParam(m.WParam)), m.LParam, 0};
    MouseWheelHandler(cm);
    m.Result = cm.Result;
    if (m.Result == 0)
        DefaultHandler(m);
}

void TControl::MouseWheelHandler(TMessage& m) { m.Result = Perform(CM_MOUSEWHEEL, m.WParam, m.LParam); }

void TControl::CMMouseWheel(TMessage& m)
{
    const TShiftState shift = TShiftState::FromBits(LoWord(m.WParam));
    m.Result = 0;
    if (DoMouseWheel(shift, GetWheelDeltaWParam(m.WParam), LParamToPoint(m.LParam)))
        m.Result = 1;
    else if (FParent)
        m.Result = FParent->Perform(CM_MOUSEWHEEL, m.WParam, m.LParam);
}

bool TControl::DoMouseWheel(TShiftState shift, Integer wheelDelta, TPoint mousePos)
{
    bool handled = false;
    if (FOnMouseWheel)
        FOnMouseWheel(this, shift, wheelDelta, mousePos, handled);
    if (handled)
        return true;
    FWheelAccumulator += wheelDelta;
    while (std::abs(FWheelAccumulator) >= WHEEL_DELTA) {
        const bool down = FWheelAccumulator < 0;
        FWheelAccumulator += down ? WHEEL_DELTA : -WHEEL_DELTA;
        handled = down ? DoMouseWheelDown(shift, mousePos) : DoMouseWheelUp(shift, mousePos);
    }
    return handled;
}

bool TControl::DoMouseWheelDown(TShiftState shift, TPoint mousePos)
{
    bool handled = false;
    if (FOnMouseWheelDown)
        FOnMouseWheelDown(this, shift, mousePos, handled);
    return handled;
}

bool TControl::DoMouseWheelUp(TShiftState shift, TPoint mousePos)
{
    bool handled = false;
    if (FOnMouseWheelUp)
        FOnMouseWheelUp(this, shift, mousePos, handled);
    return handled;
}

// ---- capture and lookup ------------------------------------------------------------------------

TWinControl* FindControl(HWND hwnd)
{
    if (!hwnd || !IsWindow(hwnd) || GetWindowLongPtr(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&TWinControl::WindowProcedure))
        return nullptr;
    return reinterpret_cast<TWinControl*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
}

TControl* GetCaptureControl()
{
    TControl* result = FindControl(GetCapture());
    if (result && gCaptureControl && gCaptureControl->GetParent() == result)
        result = gCaptureControl;
    return result;
}

void SetCaptureControl(TControl* control)
{
    ReleaseCapture();
    gCaptureControl = nullptr;
    if (!control)
        return;
    if (!dynamic_cast<TWinControl*>(control)) {
        if (!control->GetParent())
            return;
        gCaptureControl = control;
        control = control->GetParent();
    }
    SetCapture(static_cast<TWinControl*>(control)->GetHandle());
}

TControl* FindDragTarget(TPoint pos, bool allowDisabled)
{
    TControl* result = FindControl(WindowFromPoint(pos));
    while (auto* w = dynamic_cast<TWinControl*>(result)) {
        TControl* child = w->ControlAtPos(w->ScreenToClient(pos), allowDisabled, true);
        if (!child)
            break;
        result = child;
    }
    return result;
}

} // namespace ld
