// TCustomEdit as a window class: its properties, painting (lines, selection,
// caret), keys, characters, the mouse, the blinking caret, the clipboard and
// the text messages. The text engine it relies on is in EditText.cpp.
#include <algorithm>
#include <cstring>

#include "platform/gfx/Graphics.h"
#include "platform/gfx/Painting.h"
#include "platform/gfx/Frames.h"
#include "platform/gfx/RectUtils.h"
#include "platform/gfx/Text.h"
#include "platform/stdctrls/ScrollBar.h"
#include "platform/stdctrls/WheelScroll.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"

namespace ld {

namespace {
constexpr uintptr_t CaretTimer = 1;
constexpr WPARAM VK_INSERT_KEY = 0x2D;
} // namespace

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner)
{
    FControlStyle = {csCaptureMouse, csDesignInteractive, csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
    FWidth = 121;
    FHeight = 25;
    FTabStop = true;
    FParentColor = false;
    FColor = clWindow;
    AdjustHeight();
}

TCustomEdit::~TCustomEdit() = default;

void TCustomEdit::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    if (FBorderStyle == bsSingle) {
        if (GetCtl3D())
            params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            params.Style |= WS_BORDER;
    }
    params.WindowClass.hCursor = LoadCursor(nullptr, IDC_IBEAM);
}

void TCustomEdit::CreateWnd()
{
    inherited::CreateWnd();
    AdjustHeight();
    TextLayoutChanged();
}

void TCustomEdit::DestroyWnd()
{
    if (FHandle)
        KillTimer(FHandle, CaretTimer);
    FCaretOn = false;
    // A press held on the scroll bar ends with the window that had it.
    if (FBarTracker)
        FBarTracker->Release();
    inherited::DestroyWnd();
}

// ---- properties -------------------------------------------------------------------------

void TCustomEdit::SetMaxLength(Integer value) { FMaxLength = std::max(value, 0); }

void TCustomEdit::SetReadOnly(bool value)
{
    if (FReadOnly == value)
        return;
    FReadOnly = value;
    Invalidate();
}

void TCustomEdit::SetAutoSize(bool value)
{
    if (FAutoSize == value)
        return;
    FAutoSize = value;
    AdjustHeight();
}

void TCustomEdit::SetBorderStyle(TBorderStyle value)
{
    if (FBorderStyle == value)
        return;
    FBorderStyle = value;
    AdjustHeight();
    RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase value) { FCharCase = value; }

void TCustomEdit::SetHideSelection(bool value)
{
    if (FHideSelection == value)
        return;
    FHideSelection = value;
    Invalidate();
}

void TCustomEdit::SetPasswordChar(char value)
{
    if (FPasswordChar == value)
        return;
    FPasswordChar = value;
    TextLayoutChanged();
}

void TCustomEdit::AdjustHeight()
{
    if (!FAutoSize || IsMultiLine() || FBorderStyle != bsSingle)
        return;
    if (ComponentState().Contains(csReading) || ComponentState().Contains(csLoading))
        return;
    SetHeight(Metrics().Height + (GetCtl3D() ? 8 : 6));
}

void TCustomEdit::TextLayoutChanged()
{
    FLayoutValid = false;
    if (FHandle)
        InvalidateRect(FHandle, nullptr, false);
}

void TCustomEdit::Change()
{
    if (FOnChange)
        FOnChange(this);
}

// ---- clipboard -----------------------------------------------------------------------------

void TCustomEdit::CopyToClipboard()
{
    // A password is never handed out.
    if (GetSelLength() > 0 && !FPasswordChar)
        Clipboard()->SetAsText(GetSelText());
}

void TCustomEdit::CutToClipboard()
{
    if (FReadOnly || FPasswordChar)
        return;
    CopyToClipboard();
    if (GetSelLength() > 0) {
        UserReplace(GetSelStart(), GetSelStart() + GetSelLength(), {});
    }
}

void TCustomEdit::PasteFromClipboard() { InsertText(Clipboard()->GetAsText()); }

// ---- notifications ----------------------------------------------------------------------------

void TCustomEdit::CMTextChanged(TMessage& m)
{
    inherited::Dispatch(m);
    if (!FEditing) {
        // Text set from outside starts with the caret at the beginning, and
        // with nothing to undo.
        FCanUndo = false;
        FTypingEnd = -1;
        FAnchor = FCaret = 0;
        FScrollX = 0;
        FTopLine = 0;
        FWantX = -1;
    }
    if (FTextSpliced) {
        if (FHandle)
            InvalidateRect(FHandle, nullptr, false);
    } else {
        FParagraphsValid = false;
        TextLayoutChanged();
    }
    Change();
}

void TCustomEdit::CMEnter(TMessage& m)
{
    if (FAutoSelect && !IsMultiLine())
        SelectAll();
    inherited::Dispatch(m);
}

void TCustomEdit::CMFontChanged(TMessage& m)
{
    inherited::Dispatch(m);
    FMetrics.Valid = false;
    AdjustHeight();
    TextLayoutChanged();
}

void TCustomEdit::CMEnabledChanged(TMessage& m)
{
    inherited::Dispatch(m);
    Invalidate();
}

void TCustomEdit::CMColorChanged(TMessage& m)
{
    inherited::Dispatch(m);
    Invalidate();
}

void TCustomEdit::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_ERASEBKGND: m.Result = 1; return;  // the paint covers every pixel
    case CM_TEXTCHANGED: CMTextChanged(m); return;
    case CM_ENTER: CMEnter(m); return;
    case CM_FONTCHANGED: CMFontChanged(m); return;
    case CM_ENABLEDCHANGED: CMEnabledChanged(m); return;
    case CM_COLORCHANGED: CMColorChanged(m); return;
    case CM_CTL3DCHANGED:
        inherited::Dispatch(m);
        AdjustHeight();
        RecreateWnd();
        return;
    }
    inherited::Dispatch(m);
}

// ---- the window class -------------------------------------------------------------------------

void TCustomEdit::DefaultHandler(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(FHandle, ps);
        PaintEdit(dc);
        if (!m.WParam)
            EndPaint(FHandle, ps);
        return;
    }
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | (IsMultiLine() ? LRESULT(DLGC_WANTALLKEYS) : 0);
        return;
    case WM_VSCROLL: VScroll(LoWord(m.WParam), HiWord(m.WParam)); return;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        if (FBarTracker && (m.Msg == WM_CANCELMODE || reinterpret_cast<HWND>(m.LParam) != FHandle))
            FBarTracker->Release();
        break;
    case WM_KEYDOWN: HandleKeyDown(m); return;
    case WM_CHAR: HandleChar(m); return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE: HandleMouse(m); return;
    case WM_MOUSEWHEEL:
        if (ScrollByWheel(m.WParam)) {
            m.Result = 0;
            return;
        }
        break;
    case WM_SETFOCUS:
        StartCaret();
        Invalidate();
        return;
    case WM_KILLFOCUS:
        StopCaret();
        FMouseSelecting = false;
        Invalidate();
        return;
    case WM_TIMER:
        if (m.WParam == CaretTimer) {
            FCaretOn = !FCaretOn;
            InvalidateCaret();
            return;
        }
        break;
    case WM_SIZE:
        inherited::DefaultHandler(m);
        TextLayoutChanged();
        return;
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<char*>(m.LParam);
        if (!buffer || m.WParam == 0) {
            m.Result = 0;
            return;
        }
        size_t n = std::min(FText.size(), size_t(m.WParam) - 1);
        std::memcpy(buffer, FText.data(), n);
        buffer[n] = 0;
        m.Result = LRESULT(n);
        return;
    }
    case WM_GETTEXTLENGTH:
        m.Result = LRESULT(FText.size());
        return;
    // The edit keeps its text itself, as the system's edit class does, so
    // that changing a part of it copies nothing else.
    case WM_SETTEXT: {
        const char* text = m.LParam ? reinterpret_cast<const char*>(m.LParam) : "";
        // Our own SetText comes back here with the text it already holds.
        if (FText != text)
            SetText(text);
        m.Result = 1;
        return;
    }
    }
    inherited::DefaultHandler(m);
}

// ---- painting ------------------------------------------------------------------------------------

void TCustomEdit::PaintEdit(HDC dc)
{
    Layout();
    const Integer h = Metrics().Height;
    RECT client;
    ::ld::GetClientRect(FHandle, client);
    TRect fr = FormatRect();
    HBRUSH background = BackgroundBrush();
    HGDIOBJ oldFont = SelectObject(dc, FFont->GetHandle());
    SetBkMode(dc, TRANSPARENT);
    const bool showSelection = GetSelLength() > 0 && (Focused() || !FHideSelection);

    FillRect(dc, Rect(client.Left, client.Top, client.Right, fr.Top), background);
    FillRect(dc, Rect(client.Left, fr.Top, fr.Left, client.Bottom), background);
    FillRect(dc, Rect(fr.Right, fr.Top, HasVerticalBar() ? VerticalBarRect().Left : client.Right, client.Bottom), background);
    Integer saved = SaveDC(dc);
    IntersectClipRect(dc, fr.Left, fr.Top, fr.Right, client.Bottom);
    Integer y = fr.Top;
    for (size_t row = size_t(FTopLine); row < FLines.size() && y < client.Bottom; ++row, y += h)
        PaintLine(dc, FLines[row], y, fr, showSelection);
    RestoreDC(dc, saved);
    if (y < client.Bottom)
        FillRect(dc, Rect(fr.Left, y, fr.Right, client.Bottom), background);
    if (HasVerticalBar())
        PaintVerticalBar(dc);
    if (CaretShown()) {
        TPoint caret = CaretPoint();
        if (caret.X >= client.Left && caret.X < client.Right && caret.Y >= fr.Top)
            PatBlt(dc, caret.X, caret.Y, 1, h, DSTINVERT);
    }
    SelectObject(dc, oldFont);
}

// Disabled, the window system draws an edit as static text: on the button
// face whatever its colour, with grey text (PaintLine).
HBRUSH TCustomEdit::BackgroundBrush() { return GetEnabled() ? GetBrushHandle() : GetSysColorBrush(COLOR_BTNFACE); }

// One line in runs of the same colour; a tab is a gap up to its stop.
void TCustomEdit::PaintLine(HDC dc, const TEditLine& line, Integer y, const TRect& fr, bool showSelection)
{
    const Integer h = FMetrics.Height;
    TRect row = Rect(fr.Left, y, fr.Right, y + h);
    if (!RectVisible(dc, row))
        return;
    FillRect(dc, row, BackgroundBrush());
    const Integer selFrom = GetSelStart(), selTo = selFrom + GetSelLength();
    const Integer left = fr.Left - FScrollX + LineOffset(line);
    const COLORREF textColor = ColorToRGB(GetEnabled() ? FFont->GetColor() : clGrayText);
    const std::string_view text(FText);
    const std::string masked = FPasswordChar ? std::string(size_t(line.Length), FPasswordChar) : std::string();
    Integer x = 0;
    for (Integer i = 0; i < line.Length;) {
        const bool selected = showSelection && line.Start + i >= selFrom && line.Start + i < selTo;
        const Integer runX = x;
        Integer j = i;
        bool tab = false;
        while (j < line.Length) {
            const Integer at = line.Start + j;
            if ((showSelection && at >= selFrom && at < selTo) != selected)
                break;
            if (text[size_t(at)] == '\t' && !FPasswordChar) {
                if (j == i) {
                    x += CharWidth(at, x);
                    ++j;
                    tab = true;
                }
                break;
            }
            x += CharWidth(at, x);
            ++j;
        }
        if (left + runX >= fr.Right)
            break;
        if (left + x > fr.Left) {
            if (selected)
                FillRect(dc, Rect(left + runX, y, left + x, y + h), GetSysColorBrush(COLOR_HIGHLIGHT));
            if (!tab) {
                SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : textColor);
                TextOut(dc, left + runX, y,
                        FPasswordChar ? std::string_view(masked).substr(size_t(i), size_t(j - i))
                                      : text.substr(size_t(line.Start + i), size_t(j - i)));
            }
        }
        i = j;
    }
}

// ---- the vertical scroll bar -------------------------------------------------------------------
//
// The arrows scroll a line, the track a page, the thumb where it is dragged;
// the caret stays where it is.

TRect TCustomEdit::VerticalBarRect()
{
    RECT client;
    ::ld::GetClientRect(FHandle, client);
    return Rect(std::max(client.Right - GetSystemMetrics(SM_CXVSCROLL), 0), client.Top, client.Right, client.Bottom);
}

TScrollRange TCustomEdit::VerticalRange()
{
    Layout();
    return {FTopLine, std::max(FormatRect().Height() / Metrics().Height, 1), Integer(FLines.size())};
}

void TCustomEdit::PaintVerticalBar(HDC dc)
{
    const TScrollHit pressed = FBarTracker ? FBarTracker->PressedPart() : TScrollHit::None;
    PaintVerticalScrollBar(dc, VerticalBarRect(), VerticalRange(), pressed, GetEnabled());
}

TScrollBarTracker& TCustomEdit::VerticalBarTracker()
{
    if (!FBarTracker)
        FBarTracker = std::make_unique<TScrollBarTracker>(
            [this](TRect& bar, TScrollRange& range) {
                bar = VerticalBarRect();
                range = VerticalRange();
            },
            [this](Word request, Integer position) { VScroll(request, position); },
            [this] {
                const RECT bar = VerticalBarRect();
                InvalidateRect(FHandle, &bar, false);
            });
    return *FBarTracker;
}

void TCustomEdit::VScroll(Word request, Integer position)
{
    const Integer first = ScrolledFirst(request, position, VerticalRange());
    if (first == FTopLine)
        return;
    FTopLine = first;
    InvalidateRect(FHandle, nullptr, false);
}

bool TCustomEdit::ScrollByWheel(WPARAM wParam)
{
    if (!IsMultiLine())
        return false;
    const TScrollRange range = VerticalRange();
    Integer lines;
    if (!WheelScrollLines(FWheelTurn, wParam, range.Visible, lines))
        return false;
    const Integer first = std::clamp(FTopLine - lines, 0, std::max(range.Total - range.Visible, 0));
    if (first != FTopLine) {
        FTopLine = first;
        InvalidateRect(FHandle, nullptr, false);
    }
    return true;
}

// ---- caret ----------------------------------------------------------------------------------------

void TCustomEdit::StartCaret()
{
    FCaretOn = true;
    if (FHandle)
        SetTimer(FHandle, CaretTimer, CaretBlinkTime);
    InvalidateCaret();
}

void TCustomEdit::StopCaret()
{
    if (FHandle)
        KillTimer(FHandle, CaretTimer);
    InvalidateCaret();
    FCaretOn = false;
}

// A moved caret shows at once and starts a new period.
void TCustomEdit::ResetBlink()
{
    if (!FHandle || !Focused())
        return;
    InvalidateCaret();
    FCaretOn = true;
    KillTimer(FHandle, CaretTimer);
    SetTimer(FHandle, CaretTimer, CaretBlinkTime);
    InvalidateCaret();
}

void TCustomEdit::InvalidateCaret()
{
    if (!FHandle)
        return;
    TPoint p = CaretPoint();
    RECT r = Rect(p.X - 1, p.Y, p.X + 2, p.Y + Metrics().Height);
    InvalidateRect(FHandle, &r, false);
}

// ---- keys and mouse ---------------------------------------------------------------------------------

void TCustomEdit::HandleKeyDown(TMessage& m)
{
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool multi = IsMultiLine();
    const auto size = Integer(FText.size());
    Layout();
    switch (m.WParam) {
    case VK_LEFT:
    case VK_UP:
        if (m.WParam == VK_UP && multi) {
            Integer row = LineOf(FCaret);
            if (row == 0)
                return MoveCaret(0, shift);
            const TEditLine& line = FLines[size_t(row)];
            if (FWantX < 0)
                FWantX = LineOffset(line) + LineWidthUpTo(line, FCaret - line.Start);
            const TEditLine& up = FLines[size_t(row - 1)];
            return MoveCaret(IndexAtX(up, FWantX - LineOffset(up)), shift, true);
        }
        if (!shift && FAnchor != FCaret)
            return MoveCaret(GetSelStart(), false);
        return MoveCaret(ctrl ? WordStartBefore(FCaret) : PrevIndex(FCaret), shift);
    case VK_RIGHT:
    case VK_DOWN:
        if (m.WParam == VK_DOWN && multi) {
            Integer row = LineOf(FCaret);
            if (row + 1 >= Integer(FLines.size()))
                return MoveCaret(size, shift);
            const TEditLine& line = FLines[size_t(row)];
            if (FWantX < 0)
                FWantX = LineOffset(line) + LineWidthUpTo(line, FCaret - line.Start);
            const TEditLine& down = FLines[size_t(row + 1)];
            return MoveCaret(IndexAtX(down, FWantX - LineOffset(down)), shift, true);
        }
        if (!shift && FAnchor != FCaret)
            return MoveCaret(GetSelStart() + GetSelLength(), false);
        return MoveCaret(ctrl ? WordEndAfter(FCaret) : NextIndex(FCaret), shift);
    case VK_HOME:
        return MoveCaret(ctrl || !multi ? 0 : FLines[size_t(LineOf(FCaret))].Start, shift);
    case VK_END: {
        if (ctrl || !multi)
            return MoveCaret(size, shift);
        const TEditLine& line = FLines[size_t(LineOf(FCaret))];
        return MoveCaret(IndexAtX(line, 1 << 29), shift);
    }
    case VK_PRIOR:
    case VK_NEXT: {
        if (!multi)
            return;
        Integer page = std::max(FormatRect().Height() / Metrics().Height, 1);
        Integer row = LineOf(FCaret) + (m.WParam == VK_NEXT ? page : -page);
        row = std::clamp(row, 0, Integer(FLines.size()) - 1);
        const TEditLine& line = FLines[size_t(LineOf(FCaret))];
        if (FWantX < 0)
            FWantX = LineOffset(line) + LineWidthUpTo(line, FCaret - line.Start);
        FTopLine = std::clamp(FTopLine + (m.WParam == VK_NEXT ? page : -page), 0, Integer(FLines.size()) - 1);
        const TEditLine& target = FLines[size_t(row)];
        return MoveCaret(IndexAtX(target, FWantX - LineOffset(target)), shift, true);
    }
    case VK_DELETE:
        if (shift)
            return CutToClipboard();
        return DeleteForward();
    case VK_INSERT_KEY:
        if (ctrl)
            return CopyToClipboard();
        if (shift)
            return PasteFromClipboard();
        return;
    }
    inherited::DefaultHandler(m);
}

void TCustomEdit::HandleChar(TMessage& m)
{
    const char c = char(m.WParam);
    switch (Byte(c)) {
    case 8: return DeleteBack();
    case 1: return SelectAll();          // Ctrl+A
    case 3: return CopyToClipboard();    // Ctrl+C
    case 22: return PasteFromClipboard(); // Ctrl+V
    case 24: return CutToClipboard();    // Ctrl+X
    case 26: return Undo();              // Ctrl+Z
    case '\r':
        if (TakesReturns())
            InsertText("\r\n");
        return;
    case '\t':
        if (IsMultiLine())
            InsertText("\t");
        return;
    }
    if (Byte(c) >= 32)
        InsertText(std::string(1, c));
}

void TCustomEdit::HandleMouse(TMessage& m)
{
    TPoint p = LParamToPoint(m.LParam);
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
        if (!Focused() && CanFocus())
            SetFocus();
        if (HasVerticalBar() && PtInRect(VerticalBarRect(), p)) {
            VerticalBarTracker().Press(p);
            return;
        }
        MoveCaret(IndexAtPoint(p), (m.WParam & MK_SHIFT) != 0);
        FMouseSelecting = true;
        return;
    case WM_LBUTTONDBLCLK:
        if (!Focused() && CanFocus())
            SetFocus();
        if (HasVerticalBar() && PtInRect(VerticalBarRect(), p)) {
            VerticalBarTracker().Press(p);
            return;
        }
        SelectWordAt(IndexAtPoint(p));
        FMouseSelecting = false;
        return;
    case WM_MOUSEMOVE:
        if (FBarTracker && FBarTracker->Tracking())
            FBarTracker->Move(p);
        else if (FMouseSelecting && (m.WParam & MK_LBUTTON))
            MoveCaret(IndexAtPoint(p), true);
        return;
    case WM_LBUTTONUP:
        if (FBarTracker)
            FBarTracker->Release();
        FMouseSelecting = false;
        return;
    }
}

} // namespace ld
