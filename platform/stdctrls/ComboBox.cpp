// TCustomComboBox: a field showing the chosen entry (csDropDownList) or an
// edit part (csDropDown), a button, and a drop-down list in a popup window
// over everything.
//
// The list, as a table of states and events:
//   closed   click on the box (csDropDown: on the button), F4, Alt+Down -> open
//            Up/Down/Home/End/PgUp/PgDn, a letter        -> choose at once
//   open     pointer over an entry                  -> mark it
//            release over an entry, Enter, F4, Alt+Up -> choose the mark, close
//            arrows                                 -> move the mark
//            Escape, press on the box or outside, focus or capture lost -> close
// While the list is open the box holds the mouse capture, so every press
// comes to it, wherever it is. A choice by the user fires OnClick, then
// OnChange; ItemIndex set in code fires neither.
#include <algorithm>
#include <cctype>

#include "platform/gfx/Graphics.h"
#include "platform/gfx/Painting.h"
#include "platform/gfx/Frames.h"
#include "platform/gfx/RectUtils.h"
#include "platform/gfx/Text.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/WheelScroll.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Input.h"
#include "platform/win/Paint.h"

namespace ld {

namespace {
constexpr WPARAM VK_F4_KEY = 0x73;
const char* const ListClassName = "ComboLBox";
} // namespace

// ---- the edit part ----------------------------------------------------------------------------

// The edit of a csDropDown box: owned by the box (so never stored), it hands
// the list keys to the box and mirrors its text into the box's.
class TComboEdit : public TCustomEdit {
public:
    explicit TComboEdit(TCustomComboBox* combo) : TCustomEdit(combo), FCombo(combo)
    {
        FBorderStyle = bsNone;
        FAutoSize = false;
        FTabStop = false;
        FParentColor = true;
    }

    void DefaultHandler(TMessage& m) override
    {
        if (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN) {
            const Word key = Word(m.WParam);
            const bool listKey = key == VK_UP || key == VK_DOWN || key == VK_F4_KEY || key == VK_PRIOR ||
                                 key == VK_NEXT || (FCombo->GetDroppedDown() && (key == VK_RETURN || key == VK_ESCAPE));
            if (listKey && FCombo->HandleComboKey(key, KeyDataToShiftState(m.LParam)))
                return;
        }
        TCustomEdit::DefaultHandler(m);
    }

protected:
    void Change() override
    {
        TCustomEdit::Change();
        if (FCombo->FText != FText) {
            FCombo->FText = FText;
            if (!FCombo->FSettingIndex)
                FCombo->Change();
        }
    }

private:
    TCustomComboBox* FCombo;
};

// ---- the list window ------------------------------------------------------------------------------

struct TComboListAccess {
    static TCustomComboBox* ComboOf(HWND hwnd)
    {
        return reinterpret_cast<TCustomComboBox*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
    }

    static void Paint(HWND hwnd, TCustomComboBox* combo)
    {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, ps);
        RECT client;
        GetClientRect(hwnd, client);
        HGDIOBJ oldFont = SelectObject(dc, combo->GetFont()->GetHandle());
        SetBkMode(dc, TRANSPARENT);
        const Integer h = combo->FItemHeight;
        const Integer right = combo->ListHasBar() ? combo->ListBarRect().Left : client.Right;
        Integer y = 0;
        for (Integer i = combo->FListTop; i < combo->FItems->Count() && y < client.Bottom; ++i, y += h) {
            TRect row = Rect(0, y, right, y + h);
            const bool marked = i == combo->FListIndex;
            FillRect(dc, row, marked ? GetSysColorBrush(COLOR_HIGHLIGHT) : combo->GetBrushHandle());
            SetTextColor(dc, marked ? GetSysColor(COLOR_HIGHLIGHTTEXT) : ColorToRGB(combo->GetFont()->GetColor()));
            TRect text = row;
            text.Left += 2;
            DrawText(dc, combo->FItems->Get(i), text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }
        if (y < client.Bottom)
            FillRect(dc, Rect(0, y, right, client.Bottom), combo->GetBrushHandle());
        SelectObject(dc, oldFont);
        if (combo->ListHasBar())
            PaintVerticalScrollBar(dc, combo->ListBarRect(), combo->ListRange(),
                                   combo->FListBarTracker ? combo->FListBarTracker->PressedPart() : TScrollHit::None);
        EndPaint(hwnd, ps);
    }

    static LRESULT Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        TCustomComboBox* combo = ComboOf(hwnd);
        if (combo && msg == WM_PAINT) {
            Paint(hwnd, combo);
            return 0;
        }
        if (msg == WM_MOUSEACTIVATE)
            return 3;  // MA_NOACTIVATE: the list never takes the focus
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
};

// ---- TCustomComboBox ----------------------------------------------------------------------------------

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner), FItems(new TStringList())
{
    FControlStyle = {csSetCaption, csDoubleClicks, csFixedHeight};
    FWidth = 145;
    FHeight = 21;
    FTabStop = true;
    FParentColor = false;
    FColor = clWindow;
    FItems->SetOnChange(TNotifyEvent(this, &TCustomComboBox::ItemsChanged));
    UpdateEditPart();
}

TCustomComboBox::~TCustomComboBox()
{
    if (FListWindow)
        DestroyWindow(FListWindow);
    FListWindow = nullptr;
    FItems->SetOnChange({});
    delete FItems;
}

TCustomEdit* TCustomComboBox::GetEditPart() const { return FEdit; }

void TCustomComboBox::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.ExStyle |= WS_EX_CLIENTEDGE;
    params.Style |= WS_CLIPCHILDREN;
}

void TCustomComboBox::CreateWnd()
{
    inherited::CreateWnd();
    SyncEditPart();
}

void TCustomComboBox::Loaded()
{
    inherited::Loaded();
    if (FStyle == csDropDownList && !FText.empty()) {
        FItemIndex = FItems->IndexOf(FText);
        if (FItemIndex < 0)
            FText.clear();
    }
    SyncEditPart();
}

void TCustomComboBox::SetBounds(Integer left, Integer top, Integer width, Integer height)
{
    inherited::SetBounds(left, top, width, height);
    SyncEditPart();
}

// ---- properties ---------------------------------------------------------------------------------

void TCustomComboBox::SetItemIndex(Integer value)
{
    if (value < -1 || value >= FItems->Count())
        value = -1;
    FItemIndex = value;
    const std::string text = value >= 0 ? FItems->Get(value) : std::string();
    if (FEdit) {
        FSettingIndex = true;
        try {
            FEdit->SetText(text);
        } catch (...) {
            FSettingIndex = false;
            throw;
        }
        FSettingIndex = false;
    }
    FText = text;
    if (FListWindow)
        FListIndex = value;
    Invalidate();
}

void TCustomComboBox::SetItemHeight(Integer value)
{
    if (value <= 0 || FItemHeight == value)
        return;
    FItemHeight = value;
    Invalidate();
}

void TCustomComboBox::SetStyle(TComboBoxStyle value)
{
    if (FStyle == value)
        return;
    FStyle = value;
    UpdateEditPart();
    Invalidate();
}

void TCustomComboBox::SetMaxLength(Integer value)
{
    FMaxLength = std::max(value, 0);
    if (FEdit)
        FEdit->SetMaxLength(FMaxLength);
}

void TCustomComboBox::SetSorted(bool value)
{
    if (FSorted == value)
        return;
    FSorted = value;
    FItems->SetSorted(value);
}

void TCustomComboBox::SetDroppedDown(bool value)
{
    if (value)
        OpenList();
    else
        CloseList(false);
}

void TCustomComboBox::ItemsChanged(TObject*)
{
    if (FItemIndex >= FItems->Count())
        FItemIndex = -1;
    if (FStyle == csDropDownList && FItemIndex < 0 && !ComponentState().Contains(csLoading))
        FText.clear();
    if (FListWindow)
        CloseList(false);
    Invalidate();
}

void TCustomComboBox::Change()
{
    if (FOnChange)
        FOnChange(this);
}

void TCustomComboBox::DropDown()
{
    if (FOnDropDown)
        FOnDropDown(this);
}

// The edit part exists exactly for csDropDown and csSimple.
void TCustomComboBox::UpdateEditPart()
{
    const bool wanted = FStyle == csDropDown || FStyle == csSimple;
    if (wanted && !FEdit) {
        FEdit = new TComboEdit(this);
        FEdit->SetMaxLength(FMaxLength);
        FEdit->SetText(FText);
        FEdit->SetParent(this);
        SyncEditPart();
    } else if (!wanted && FEdit) {
        TComboEdit* edit = FEdit;
        FEdit = nullptr;
        delete edit;
    }
}

void TCustomComboBox::SyncEditPart()
{
    if (!FEdit)
        return;
    TRect field = FieldRect();
    FEdit->SetBounds(field.Left + 1, field.Top + 1, std::max(field.Width() - 1, 0), std::max(field.Height() - 2, 0));
}

// ---- geometry ----------------------------------------------------------------------------------------

TRect TCustomComboBox::ButtonRect() const
{
    TRect client = Rect(0, 0, std::max(FWidth - 4, 0), std::max(FHeight - 4, 0));
    if (FHandle) {
        RECT r;
        ::ld::GetClientRect(FHandle, r);
        client = r;
    }
    const Integer w = GetSystemMetrics(SM_CXVSCROLL);
    return Rect(std::max(client.Right - w, 0), client.Top, client.Right, client.Bottom);
}

TRect TCustomComboBox::FieldRect() const
{
    TRect button = ButtonRect();
    return Rect(0, button.Top, button.Left, button.Bottom);
}

Integer TCustomComboBox::ListRows() const { return std::clamp(FItems->Count(), 1, std::max(FDropDownCount, 1)); }

// In the list's client coordinates.
TRect TCustomComboBox::ListBarRect() const
{
    RECT client{};
    if (FListWindow)
        ::ld::GetClientRect(FListWindow, client);
    return Rect(std::max(client.Right - GetSystemMetrics(SM_CXVSCROLL), 0), client.Top, client.Right, client.Bottom);
}

Integer TCustomComboBox::ListIndexAtScreen(TPoint screen) const
{
    if (!FListWindow)
        return -1;
    RECT window;
    GetWindowRect(FListWindow, window);
    POINT p = screen;
    ::ld::ScreenToClient(FListWindow, p);
    RECT client;
    ::ld::GetClientRect(FListWindow, client);
    if (!PtInRect(window, screen) || !PtInRect(client, p) || (ListHasBar() && PtInRect(ListBarRect(), p)))
        return -1;
    Integer index = FListTop + p.Y / FItemHeight;
    return index < FItems->Count() ? index : -1;
}

// ---- opening and closing ---------------------------------------------------------------------------------

void TCustomComboBox::OpenList()
{
    if (FListWindow || !FHandle || FItems->Count() == 0)
        return;
    DropDown();
    WNDCLASS wc;
    if (!GetClassInfo(ListClassName, wc)) {
        wc.lpfnWndProc = &TComboListAccess::Proc;
        wc.lpszClassName = ListClassName;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        RegisterClass(wc);
    }
    const Integer rows = ListRows();
    const Integer height = rows * FItemHeight + 2;
    RECT box;
    GetWindowRect(FHandle, box);
    Integer top = box.Bottom;
    if (top + height > GetSystemMetrics(SM_CYSCREEN) && box.Top - height >= 0)
        top = box.Top - height;
    FListIndex = FItemIndex;
    FListTop = std::clamp(FItemIndex - rows + 1, 0, std::max(FItems->Count() - rows, 0));
    FListWindow = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, ListClassName, "", WS_POPUP | WS_BORDER, box.Left, top,
                                 box.Width(), height, nullptr);
    SetWindowLongPtr(FListWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ShowWindow(FListWindow, SW_SHOWNA);
    SetCapture(FHandle);
    Invalidate();
}

void TCustomComboBox::CloseList(bool choose)
{
    if (!FListWindow)
        return;
    if (FListBarTracker)
        FListBarTracker->Release();
    HWND list = FListWindow;
    FListWindow = nullptr;
    FButtonDown = false;
    DestroyWindow(list);
    if (FHandle && GetCapture() == FHandle)
        ReleaseCapture();
    Invalidate();
    if (choose && FListIndex >= 0 && FListIndex != FItemIndex)
        ChooseByUser(FListIndex);
}

void TCustomComboBox::ScrollList(Integer first)
{
    if (!FListWindow || first == FListTop)
        return;
    FListTop = first;
    InvalidateRect(FListWindow, nullptr, false);
}

TScrollBarTracker& TCustomComboBox::ListBarTracker()
{
    if (!FListBarTracker)
        FListBarTracker = std::make_unique<TScrollBarTracker>(
            [this](TRect& bar, TScrollRange& range) {
                bar = ListBarRect();
                range = ListRange();
            },
            [this](Word request, Integer position) { ScrollList(ScrolledFirst(request, position, ListRange())); },
            [this] {
                if (FListWindow) {
                    const RECT bar = ListBarRect();
                    InvalidateRect(FListWindow, &bar, false);
                }
            });
    return *FListBarTracker;
}

void TCustomComboBox::ChooseByUser(Integer index)
{
    if (index < 0 || index >= FItems->Count() || index == FItemIndex)
        return;
    SetItemIndex(index);
    Click();
    Change();
}

// Moves the mark of the open list, or the choice of a closed box.
bool TCustomComboBox::HandleComboKey(Word key, TShiftState shift)
{
    const bool alt = shift.Contains(ssAlt);
    if ((key == VK_F4_KEY && !alt) || (alt && (key == VK_DOWN || key == VK_UP))) {
        if (FListWindow)
            CloseList(true);
        else
            OpenList();
        return true;
    }
    const Integer count = FItems->Count();
    const Integer page = std::max(std::min(FDropDownCount, count) - 1, 1);
    const Integer current = FListWindow ? FListIndex : FItemIndex;
    Integer next = current;
    switch (key) {
    case VK_UP:
    case VK_LEFT: next = current < 0 ? 0 : current - 1; break;
    case VK_DOWN:
    case VK_RIGHT: next = current + 1; break;
    case VK_HOME: next = 0; break;
    case VK_END: next = count - 1; break;
    case VK_PRIOR: next = current - page; break;
    case VK_NEXT: next = current < 0 ? page : current + page; break;
    case VK_RETURN:
        if (!FListWindow)
            return false;
        CloseList(true);
        return true;
    case VK_ESCAPE:
        if (!FListWindow)
            return false;
        CloseList(false);
        return true;
    default: return false;
    }
    if (count == 0)
        return true;
    next = std::clamp(next, 0, count - 1);
    if (!FListWindow) {
        ChooseByUser(next);
        return true;
    }
    FListIndex = next;
    const Integer rows = ListRows();
    if (FListIndex < FListTop)
        ScrollList(FListIndex);
    else if (FListIndex >= FListTop + rows)
        ScrollList(FListIndex - rows + 1);
    InvalidateRect(FListWindow, nullptr, false);
    return true;
}

void TCustomComboBox::HandleMouse(TMessage& m)
{
    const TPoint p = LParamToPoint(m.LParam);
    const TPoint screen = ClientToScreen(p);
    RECT client;
    ::ld::GetClientRect(FHandle, client);
    const bool onBox = PtInRect(client, p);
    POINT inList = screen;
    if (FListWindow)
        ::ld::ScreenToClient(FListWindow, inList);
    // A press held on the list's scroll bar has every move and the release.
    if (TrackingListBar() && (m.Msg == WM_MOUSEMOVE || m.Msg == WM_LBUTTONUP)) {
        if (m.Msg == WM_MOUSEMOVE)
            FListBarTracker->Move(inList);
        else
            FListBarTracker->Release();
        return;
    }
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (FListWindow) {
            if (ListIndexAtScreen(screen) < 0) {
                RECT list;
                GetWindowRect(FListWindow, list);
                if (!PtInRect(list, screen))
                    CloseList(false);
                else if (ListHasBar())
                    ListBarTracker().Press(inList);
            }
            return;
        }
        if (!onBox)
            return;
        if (!Focused() && CanFocus())
            SetFocus();
        if (FStyle == csDropDownList || PtInRect(ButtonRect(), p)) {
            OpenList();
            FButtonDown = FListWindow != nullptr;
        }
        return;
    case WM_MOUSEMOVE:
        if (FListWindow) {
            Integer index = ListIndexAtScreen(screen);
            if (index >= 0 && index != FListIndex) {
                FListIndex = index;
                InvalidateRect(FListWindow, nullptr, false);
            }
        }
        return;
    case WM_LBUTTONUP:
        if (FListWindow && ListIndexAtScreen(screen) >= 0) {
            FListIndex = ListIndexAtScreen(screen);
            CloseList(true);
        } else if (FButtonDown) {
            FButtonDown = false;
            Invalidate();
        }
        return;
    }
}

// ---- the window class ---------------------------------------------------------------------------------

void TCustomComboBox::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_ERASEBKGND: m.Result = 1; return;
    case CM_TEXTCHANGED:
        if (FStyle == csDropDownList && !ComponentState().Contains(csLoading)) {
            // The field shows entries only: a text picks the entry that has it.
            FItemIndex = FItems->IndexOf(FText);
            if (FItemIndex < 0)
                FText.clear();
        } else if (FEdit && FEdit->GetText() != FText) {
            FEdit->SetText(FText);
        }
        Invalidate();
        break;
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
        inherited::Dispatch(m);
        Invalidate();
        return;
    case WM_SIZE:
        inherited::Dispatch(m);
        SyncEditPart();
        return;
    }
    inherited::Dispatch(m);
}

void TCustomComboBox::DefaultHandler(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(FHandle, ps);
        PaintCombo(dc);
        if (!m.WParam)
            EndPaint(FHandle, ps);
        return;
    }
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (FListWindow ? LRESULT(DLGC_WANTALLKEYS) : 0);
        return;
    case WM_SETFOCUS:
        if (FEdit && FEdit->HandleAllocated())
            ::ld::SetFocus(FEdit->GetHandle());
        Invalidate();
        return;
    case WM_KILLFOCUS:
        CloseList(false);
        Invalidate();
        return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (HandleComboKey(Word(m.WParam), KeyDataToShiftState(m.LParam)))
            return;
        break;
    case WM_CHAR:
        // A letter picks the next entry that starts with it.
        if (FStyle == csDropDownList && Byte(m.WParam) >= 32) {
            const Integer count = FItems->Count();
            const int wanted = std::toupper(int(Byte(m.WParam)));
            for (Integer step = 1; step <= count; ++step) {
                Integer i = ((FListWindow ? FListIndex : FItemIndex) + step + count) % count;
                const std::string item = FItems->Get(i);
                if (!item.empty() && std::toupper(int(Byte(item[0]))) == wanted) {
                    if (FListWindow) {
                        FListIndex = i;
                        InvalidateRect(FListWindow, nullptr, false);
                    } else {
                        ChooseByUser(i);
                    }
                    break;
                }
            }
            return;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE: HandleMouse(m); return;
    case WM_MOUSEWHEEL: {
        // The open list holds the mouse, so the wheel comes here wherever the pointer is.
        Integer lines;
        if (!FListWindow || !WheelScrollLines(FWheelTurn, m.WParam, ListRows(), lines))
            break;
        ScrollList(std::clamp(FListTop - lines, 0, std::max(FItems->Count() - ListRows(), 0)));
        m.Result = 0;
        return;
    }
    case WM_CANCELMODE: CloseList(false); break;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(m.LParam) != FHandle)
            CloseList(false);
        break;
    }
    inherited::DefaultHandler(m);
}

void TCustomComboBox::PaintCombo(HDC dc)
{
    RECT client;
    ::ld::GetClientRect(FHandle, client);
    TRect field = FieldRect();
    FillRect(dc, field, GetBrushHandle());
    if (!FEdit) {
        const bool focused = Focused() && !FListWindow;
        TRect inner = field;
        InflateRect(inner, -1, -1);
        if (focused)
            FillRect(dc, inner, GetSysColorBrush(COLOR_HIGHLIGHT));
        HGDIOBJ oldFont = SelectObject(dc, FFont->GetHandle());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, !GetEnabled() ? GetSysColor(COLOR_GRAYTEXT)
                         : focused     ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                       : ColorToRGB(FFont->GetColor()));
        TRect text = inner;
        text.Left += 1;
        DrawText(dc, FText, text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        SelectObject(dc, oldFont);
        if (focused) {
            SetTextColor(dc, 0);
            SetBkColor(dc, 0xFFFFFF);
            DrawFocusRect(dc, inner);
        }
    }
    UINT state = DFCS_SCROLLDOWN;
    if (FListWindow && FButtonDown)
        state |= DFCS_PUSHED | DFCS_FLAT;
    if (!GetEnabled())
        state |= DFCS_INACTIVE;
    DrawFrameControl(dc, ButtonRect(), DFC_SCROLL, state);
}

} // namespace ld
