#include "apps/designer/ComponentPalette.h"

#include <algorithm>

#include "platform/core/SysUtils.h"
#include "platform/gfx/Bmp.h"
#include "platform/gfx/Frames.h"
#include "platform/gfx/Painting.h"
#include "platform/gfx/RectUtils.h"
#include "platform/gfx/Text.h"
#include "platform/win/Input.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"

namespace ld {

namespace {

constexpr Word LangEnglishUK = 0x0809;
constexpr const char* HintClass = "LdPaletteHint";

// The hint window: a yellow box with a black border holding its text.
LRESULT HintProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, ps);
        RECT r;
        GetClientRect(hwnd, r);
        FillRect(dc, r, GetSysColorBrush(COLOR_INFOBK));
        auto* palette = reinterpret_cast<TComponentPalette*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
        if (palette != nullptr) {
            HGDIOBJ old = SelectObject(dc, palette->GetFont()->GetHandle());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
            TRect text = r;
            text.Left += 2;
            DrawText(dc, palette->GetHintText(), text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            SelectObject(dc, old);
        }
        EndPaint(hwnd, ps);
        return 0;
    }
    if (msg == WM_MOUSEACTIVATE)
        return 3; // MA_NOACTIVATE: a hint never takes the focus
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

std::unique_ptr<TBitmap> LoadPaletteImage(TClass cls)
{
    const HMODULE module = ModuleOf(cls);
    HRSRC res = FindResourceEx(module, RT_BITMAP, UpperCase(cls->Name), LangEnglishUK);
    if (!res)
        return nullptr;
    const auto surface = ReadDib(static_cast<const uint8_t*>(LoadResource(module, res)), SizeofResource(module, res));
    auto bitmap = std::make_unique<TBitmap>(surface->Width(), surface->Height());
    for (Integer y = 0; y < surface->Height(); ++y)
        std::copy_n(surface->Row(y), surface->Width(), bitmap->Surface().Row(y));
    bitmap->SetTransparent(true);
    return bitmap;
}

// The face of a pressed tool button: a dither of the face and highlight colours.
void PaintDownFace(TCanvas* canvas, const TRect& button)
{
    canvas->GetBrush()->SetColor(clBtnFace);
    canvas->FillRect(button);
    const COLORREF light = ColorToRGB(clBtnHighlight);
    for (Integer y = button.Top + 2; y < button.Bottom - 2; ++y)
        for (Integer x = button.Left + 2 + (y & 1); x < button.Right - 2; x += 2)
            SetPixel(canvas->GetHandle(), x, y, light);
}

} // namespace

TClass TComponentPalette::StaticClass()
{
    static const TClassInfo info =
        TClassBuilder<TComponentPalette>("TComponentPalette", TCustomControl::StaticClass()).Abstract();
    return &info;
}

TComponentPalette::TComponentPalette(TComponent* owner, const TDesignRegistry& registry)
    : TCustomControl(owner), FRegistry(registry)
{
    FControlStyle.Include(csOpaque);
    SetBounds(0, 0, 400, TabHeight + ButtonSize + 8);
    FHintTimer = new TTimer(this);
    FHintTimer->SetEnabled(false);
    FHintTimer->SetInterval(HintPause);
    FHintTimer->SetOnTimer(TNotifyEvent(this, &TComponentPalette::HintTimer));
    PaletteChanged();
}

TComponentPalette::~TComponentPalette()
{
    HideHint();
    SetParent(nullptr);
}

void TComponentPalette::PaletteChanged()
{
    FImages.clear();
    for (const TPalettePage& page : FRegistry.GetPalette())
        for (TClass cls : page.Classes)
            FImages.emplace_back(cls, LoadPaletteImage(cls));
    if (FPageIndex >= static_cast<Integer>(FRegistry.GetPalette().size()))
        FPageIndex = 0;
    FChosen = nullptr;
    Invalidate();
}

const TPalettePage* TComponentPalette::Page() const
{
    const auto& pages = FRegistry.GetPalette();
    return FPageIndex < static_cast<Integer>(pages.size()) ? &pages[static_cast<size_t>(FPageIndex)] : nullptr;
}

void TComponentPalette::SetPageIndex(Integer index)
{
    if (index == FPageIndex || index < 0 || index >= static_cast<Integer>(FRegistry.GetPalette().size()))
        return;
    FPageIndex = index;
    SetChosenClass(nullptr);
    Invalidate();
}

void TComponentPalette::SetChosenClass(TClass cls)
{
    if (cls == FChosen)
        return;
    FChosen = cls;
    Invalidate();
    if (FOnChoose)
        FOnChoose(cls);
}

TBitmap* TComponentPalette::ImageOf(TClass cls) const
{
    for (const auto& [c, image] : FImages)
        if (c == cls)
            return image.get();
    return nullptr;
}

// Tabs are as wide as their captions; each has its own rectangle along the top.
TRect TComponentPalette::PageTabRect(Integer index) const
{
    Integer left = 2;
    const auto& pages = FRegistry.GetPalette();
    for (Integer i = 0; i < static_cast<Integer>(pages.size()); ++i) {
        const Integer width = GetCanvas()->TextWidth(pages[static_cast<size_t>(i)].Name) + 12;
        if (i == index)
            return {left, 0, left + width, TabHeight};
        left += width;
    }
    return {};
}

TRect TComponentPalette::ArrowRect() const { return {4, TabHeight + 4, 4 + ButtonSize, TabHeight + 4 + ButtonSize}; }

TRect TComponentPalette::ButtonRect(Integer index) const
{
    const Integer left = 4 + (index + 1) * ButtonSize;
    return {left, TabHeight + 4, left + ButtonSize, TabHeight + 4 + ButtonSize};
}

Integer TComponentPalette::ButtonAt(TPoint p) const
{
    const TPalettePage* page = Page();
    if (page == nullptr)
        return -1;
    for (Integer i = 0; i < static_cast<Integer>(page->Classes.size()); ++i)
        if (PtInRect(ButtonRect(i), p))
            return i;
    return -1;
}

void TComponentPalette::Paint()
{
    TCanvas* canvas = GetCanvas();
    canvas->GetBrush()->SetColor(clBtnFace);
    canvas->FillRect(GetClientRect());
    canvas->SetFont(GetFont());
    const auto& pages = FRegistry.GetPalette();
    for (Integer i = 0; i < static_cast<Integer>(pages.size()); ++i) {
        TRect tab = PageTabRect(i);
        DrawEdge(canvas->GetHandle(), tab, i == FPageIndex ? EDGE_RAISED : BDR_RAISEDINNER, BF_RECT);
        canvas->GetBrush()->SetStyle(bsClear);
        canvas->TextOut(tab.Left + 6, tab.Top + 2, pages[static_cast<size_t>(i)].Name);
        canvas->GetBrush()->SetStyle(bsSolid);
    }
    PaintArrow(canvas);
    const TPalettePage* page = Page();
    if (page == nullptr)
        return;
    for (Integer i = 0; i < static_cast<Integer>(page->Classes.size()); ++i) {
        const TClass cls = page->Classes[static_cast<size_t>(i)];
        TRect button = ButtonRect(i);
        const bool chosen = cls == FChosen;
        if (chosen)
            PaintDownFace(canvas, button);
        DrawEdge(canvas->GetHandle(), button, chosen ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        if (TBitmap* image = ImageOf(cls)) {
            const Integer shift = chosen ? 1 : 0;
            canvas->Draw(button.Left + (ButtonSize - image->GetWidth()) / 2 + shift,
                         button.Top + (ButtonSize - image->GetHeight()) / 2 + shift, image);
        }
    }
}

// The arrow of the pointer tool, pressed while no class is chosen.
void TComponentPalette::PaintArrow(TCanvas* canvas)
{
    TRect button = ArrowRect();
    const bool down = FChosen == nullptr;
    if (down)
        PaintDownFace(canvas, button);
    DrawEdge(canvas->GetHandle(), button, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    const Integer shift = down ? 1 : 0;
    const Integer x = button.Left + 10 + shift, y = button.Top + 6 + shift;
    // Rows of the arrow: its left edge is the column x, each row one pixel wider.
    canvas->GetPen()->SetColor(clBlack);
    for (Integer row = 0; row < 11; ++row) {
        const Integer width = row < 8 ? row + 1 : 8 - row + 7;
        canvas->MoveTo(x, y + row);
        canvas->LineTo(x + std::max<Integer>(width, 1), y + row);
    }
    for (Integer row = 9; row < 16; ++row) {
        const Integer left = x + 2 + (row - 9) / 2;
        canvas->MoveTo(left, y + row);
        canvas->LineTo(left + 2, y + row);
    }
}

void TComponentPalette::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y)
{
    inherited::MouseDown(button, shift, x, y);
    HideHint();
    FHintTimer->SetEnabled(false);
    if (button != mbLeft)
        return;
    if (PtInRect(ArrowRect(), {x, y})) {
        SetChosenClass(nullptr);
        return;
    }
    for (Integer i = 0; i < static_cast<Integer>(FRegistry.GetPalette().size()); ++i)
        if (PtInRect(PageTabRect(i), {x, y})) {
            SetPageIndex(i);
            return;
        }
    const Integer index = ButtonAt({x, y});
    if (index >= 0) {
        const TClass cls = Page()->Classes[static_cast<size_t>(index)];
        SetChosenClass(cls == FChosen ? nullptr : cls);
    }
}

// ---- hints ------------------------------------------------------------------------------

// Resting on a button starts the pause; moving to another one while a hint
// shows moves the hint at once.
void TComponentPalette::MouseMove(TShiftState shift, Integer x, Integer y)
{
    inherited::MouseMove(shift, x, y);
    const Integer index = ButtonAt({x, y});
    if (index == FHintButton)
        return;
    const bool showing = FHintWindow != nullptr;
    HideHint();
    FHintButton = index;
    FHintTimer->SetEnabled(false);
    if (index < 0)
        return;
    if (showing)
        ShowHint();
    else
        FHintTimer->SetEnabled(true);
}

void TComponentPalette::Dispatch(TMessage& message)
{
    if (message.Msg == CM_MOUSELEAVE) {
        FHintTimer->SetEnabled(false);
        FHintButton = -1;
        HideHint();
    }
    inherited::Dispatch(message);
}

void TComponentPalette::HintTimer(TObject*)
{
    FHintTimer->SetEnabled(false);
    ShowHint();
}

// The hint names the class as the palette does, without its T.
void TComponentPalette::ShowHint()
{
    const TPalettePage* page = Page();
    if (page == nullptr || FHintButton < 0 || FHintButton >= static_cast<Integer>(page->Classes.size()))
        return;
    std::string name = page->Classes[static_cast<size_t>(FHintButton)]->Name;
    if (name.size() > 1 && (name[0] == 'T' || name[0] == 't'))
        name.erase(0, 1);
    HideHint();
    FHintText = name;
    WNDCLASS wc;
    if (!GetClassInfo(HintClass, wc)) {
        wc.lpfnWndProc = &HintProc;
        wc.lpszClassName = HintClass;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        RegisterClass(wc);
    }
    GetCanvas()->SetFont(GetFont());
    const Integer width = GetCanvas()->TextWidth(FHintText) + 6;
    const TRect button = ButtonRect(FHintButton);
    const TPoint at = ClientToScreen({button.Left + ButtonSize / 2, button.Bottom + 2});
    FHintWindow = CreateWindowEx(WS_EX_TOPMOST, HintClass, "", WS_POPUP | WS_BORDER, at.X, at.Y, width, 18, nullptr);
    SetWindowLongPtr(FHintWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ShowWindow(FHintWindow, SW_SHOWNA);
}

void TComponentPalette::HideHint()
{
    if (FHintWindow != nullptr && IsWindow(FHintWindow))
        DestroyWindow(FHintWindow);
    FHintWindow = nullptr;
    FHintText.clear();
}

} // namespace ld
