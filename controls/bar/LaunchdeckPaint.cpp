// TLaunchdeck: painting. Every tab is composed in one reused off-screen bitmap
// and copied in one operation; whatever the tabs leave is painted as one
// region in the bar's colour, so no pixel is drawn twice and nothing flickers.
// Also the window styles and, in flat mode, the 1-pixel frames of the bar and
// its sheets that replace the window border.
#include <memory>

#include "controls/bar/Launchdeck.h"
#include "controls/shared/ShortcutColors.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/Painting.h"
#include "platform/gfx/Regions.h"
#include "platform/gfx/Text.h"
#include "platform/win/Paint.h"

namespace ld {

namespace {

constexpr TColor HotTextColor = clNavy;

// Holds a window DC in a temporary canvas and lets both go, also when drawing
// fails.
class TWindowCanvas {
public:
    explicit TWindowCanvas(HWND window) : FWindow(window), FDC(GetWindowDC(window))
    {
        FCanvas.SetHandle(FDC);
    }
    ~TWindowCanvas()
    {
        FCanvas.SetHandle(nullptr);
        ReleaseDC(FWindow, FDC);
    }
    TWindowCanvas(const TWindowCanvas&) = delete;
    TWindowCanvas& operator=(const TWindowCanvas&) = delete;
    TCanvas& Canvas() { return FCanvas; }

private:
    HWND FWindow;
    HDC FDC;
    TCanvas FCanvas;
};

// The client rectangle in the coordinates of the window's own frame.
TRect ClientInWindow(HWND window)
{
    RECT windowRect;
    GetWindowRect(window, windowRect);
    MapWindowPoints(nullptr, window, windowRect);
    RECT client;
    GetClientRect(window, client);
    OffsetRect(client, -windowRect.Left, -windowRect.Top);
    return client;
}

void Stroke(TCanvas* canvas, TColor color)
{
    canvas->GetPen()->SetColor(color);
}

// Whether two fonts make the same glyphs (everything but the colour).
bool SameTypeface(const TFont* a, const TFont* b)
{
    return a->GetName() == b->GetName() && a->GetHeight() == b->GetHeight() && a->GetStyle() == b->GetStyle() &&
           a->GetCharset() == b->GetCharset() && a->GetPitch() == b->GetPitch() &&
           a->GetPixelsPerInch() == b->GetPixelsPerInch();
}

RECT& ProposedClientRect(TMessage& message)
{
    return reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam)->rgrc[0];
}

} // namespace

// ---- window styles -----------------------------------------------------------------------------

void TLaunchdeck::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
    // Flat tabs bring their own painted frame, whatever BorderStyle says.
    if (FBorderStyle == bsSingle && !FOptions.Contains(soFlatTabs)) {
        if (NewStyleControls && GetCtl3D()) {
            params.Style &= ~WS_BORDER;
            params.ExStyle |= WS_EX_CLIENTEDGE;
        } else {
            params.Style |= WS_BORDER;
        }
    }
    params.WindowClass.style = (params.WindowClass.style & ~(CS_HREDRAW | CS_VREDRAW)) | CS_DBLCLKS;
}

void TShortcutSheet::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

// ---- painting ----------------------------------------------------------------------------------

void TLaunchdeck::Paint()
{
    TCanvas* canvas = GetCanvas();
    const TRect client = GetClientRect();
    if (GetVisibleSheetCount() == 0 || FActiveSheet == nullptr) {
        canvas->GetBrush()->SetColor(GetColor());
        canvas->FillRect(client);
        return;
    }
    HRGN background = CreateRectRgnIndirect(client);
    Get3DColors(FTabColor, FShadowColor, FHighlightColor, FLightColor);
    auto bitmap = std::make_unique<TBitmap>();
    const TGroupMetrics m = Metrics();
    // A tab outside the area being painted would be composed for nothing (the
    // copy is clipped away entirely), and cutting it out of the background
    // changes the region only where the background fill is clipped away too;
    // so only the tabs that meet the paint area are visited, with the same
    // pixels as when every tab is.
    TRect paintArea;
    GetClipBox(canvas->GetHandle(), paintArea);
    for (Integer i = 0; i < m.VisibleCount; ++i) {
        const TRect tab = GroupRectOf(m, i, true);
        TRect visible;
        if (IsRectEmpty(tab) || !IntersectRect(visible, tab, paintArea))
            continue;
        bitmap->SetSize(tab.Width(), tab.Height());
        const TRect local = Rect(0, 0, bitmap->GetWidth(), bitmap->GetHeight());
        PaintTab(bitmap->GetCanvas(), i, local);
        canvas->CopyRect(tab, bitmap->GetCanvas(), local);
        HRGN tabRegion = CreateRectRgnIndirect(tab);
        CombineRgn(background, background, tabRegion, RGN_XOR);
        DeleteObject(tabRegion);
    }
    bitmap.reset();
    canvas->GetBrush()->SetColor(GetColor());
    PaintRgn(canvas->GetHandle(), background);
    DeleteObject(background);
}

// The painter for one tab; the first rule that matches wins.
void TLaunchdeck::PaintTab(TCanvas* canvas, Integer index, const TRect& rect)
{
    const std::string caption = GetVisibleSheet(index)->GetCaption();
    const bool hot = FOptions.Contains(soHotTabs) && index == FActiveGroup && FDownIndex == -1;
    const bool buttons = FOptions.Contains(soButtonTabs);
    if (buttons && index == FDownIndex && index == FActiveGroup)
        PaintDownButton(canvas, rect, caption, hot);
    else if (buttons && index == FActiveGroup && FDownIndex == -1)
        PaintUpButton(canvas, rect, caption, hot);
    else if (FOptions.Contains(soFlatTabs))
        PaintFlatButton(canvas, rect, caption, hot);
    else
        PaintCtrl3DButton(canvas, rect, caption, hot);
}

void TLaunchdeck::BeginTab(TCanvas* canvas, const TRect& rect)
{
    // Assigning a font makes a new font handle; the bitmap reused for every
    // tab already has the bar's typeface after the first, and then only the
    // colour (which a hot tab changed) needs setting back.
    if (SameTypeface(canvas->GetFont(), GetFont()))
        canvas->GetFont()->SetColor(GetFont()->GetColor());
    else
        canvas->SetFont(GetFont());
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(FTabColor);
    canvas->FillRect(rect);
}

// The ampersand marks the accelerator, so no DT_NOPREFIX; a pressed tab's
// text is not shifted.
void TLaunchdeck::DrawCaption(TCanvas* canvas, TRect rect, Integer inset, const std::string& caption, bool hot)
{
    InflateRect(rect, -inset, -inset);
    if (hot)
        canvas->GetFont()->SetColor(HotTextColor);
    DrawText(canvas->GetHandle(), caption, rect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

void TLaunchdeck::PaintCtrl3DButton(TCanvas* canvas, const TRect& rect, const std::string& caption, bool hot)
{
    const Integer L = rect.Left, T = rect.Top, R = rect.Right, B = rect.Bottom;
    BeginTab(canvas, rect);
    Stroke(canvas, FHighlightColor);
    canvas->MoveTo(L, B - 1);
    canvas->LineTo(L, T);
    canvas->LineTo(R - 2, T);
    Stroke(canvas, FShadowColor);
    canvas->LineTo(R - 2, B - 2);
    canvas->LineTo(L - 1, B - 2);
    Stroke(canvas, clBlack);
    canvas->MoveTo(R - 1, T);
    canvas->LineTo(R - 1, B - 1);
    canvas->LineTo(L - 1, B - 1);
    DrawCaption(canvas, rect, 2, caption, hot);
}

void TLaunchdeck::PaintFlatButton(TCanvas* canvas, const TRect& rect, const std::string& caption, bool hot)
{
    const Integer L = rect.Left, T = rect.Top, R = rect.Right, B = rect.Bottom;
    BeginTab(canvas, rect);
    Stroke(canvas, FHighlightColor);
    canvas->MoveTo(L, B - 2);
    canvas->LineTo(L, T);
    canvas->LineTo(R - 1, T);
    Stroke(canvas, FShadowColor);
    canvas->LineTo(R - 1, B - 2);
    canvas->LineTo(L - 1, B - 2);
    canvas->MoveTo(R - 1, B - 1);
    canvas->LineTo(L - 1, B - 1);
    DrawCaption(canvas, rect, 1, caption, hot);
}

void TLaunchdeck::PaintUpButton(TCanvas* canvas, const TRect& rect, const std::string& caption, bool hot)
{
    const Integer L = rect.Left, T = rect.Top, R = rect.Right, B = rect.Bottom;
    BeginTab(canvas, rect);
    Stroke(canvas, FHighlightColor);
    canvas->MoveTo(L, B - 1);
    canvas->LineTo(L, T);
    canvas->LineTo(R - 1, T);
    Stroke(canvas, FShadowColor);
    canvas->MoveTo(R - 2, T + 1);
    canvas->LineTo(R - 2, B - 2);
    canvas->LineTo(L, B - 2);
    Stroke(canvas, clBlack);
    canvas->MoveTo(R - 1, T);
    canvas->LineTo(R - 1, B - 1);
    canvas->LineTo(L - 1, B - 1);
    Stroke(canvas, FLightColor);
    canvas->MoveTo(L + 1, B - 3);
    canvas->LineTo(L + 1, T + 1);
    canvas->LineTo(R - 2, T + 1);
    DrawCaption(canvas, rect, 2, caption, hot);
}

void TLaunchdeck::PaintDownButton(TCanvas* canvas, const TRect& rect, const std::string& caption, bool hot)
{
    const Integer L = rect.Left, T = rect.Top, R = rect.Right, B = rect.Bottom;
    BeginTab(canvas, rect);
    Stroke(canvas, clBlack);
    canvas->MoveTo(L, B - 1);
    canvas->LineTo(L, T);
    canvas->LineTo(R - 1, T);
    Stroke(canvas, FLightColor);
    canvas->MoveTo(R - 2, T + 1);
    canvas->LineTo(R - 2, B - 2);
    canvas->LineTo(L, B - 2);
    Stroke(canvas, FHighlightColor);
    canvas->MoveTo(R - 1, T);
    canvas->LineTo(R - 1, B - 1);
    canvas->LineTo(L - 1, B - 1);
    Stroke(canvas, FShadowColor);
    canvas->MoveTo(L + 1, B - 3);
    canvas->LineTo(L + 1, T + 1);
    canvas->LineTo(R - 2, T + 1);
    DrawCaption(canvas, rect, 2, caption, hot);
}

// ---- flat-mode frames --------------------------------------------------------------------------

void TLaunchdeck::WMNCCalcSize(TMessage& message)
{
    inherited::Dispatch(message);
    if (FOptions.Contains(soFlatTabs) && message.LParam != 0)
        InflateRect(ProposedClientRect(message), -1, -1);
}

// A 1-pixel sunken frame: shadow left and top, highlight right and bottom.
void TLaunchdeck::WMNCPaint(TMessage& message)
{
    inherited::Dispatch(message);
    if (!FOptions.Contains(soFlatTabs) || !HandleAllocated())
        return;
    TRect f = ClientInWindow(FHandle);
    InflateRect(f, 1, 1);
    TWindowCanvas window(FHandle);
    TCanvas& canvas = window.Canvas();
    canvas.GetPen()->SetColor(clBtnShadow);
    canvas.MoveTo(f.Left, f.Bottom);
    canvas.LineTo(f.Left, f.Top);
    canvas.LineTo(f.Right, f.Top);
    canvas.GetPen()->SetColor(clBtnHighlight);
    canvas.MoveTo(f.Right - 1, f.Top);
    canvas.LineTo(f.Right - 1, f.Bottom - 1);
    canvas.LineTo(f.Left - 1, f.Bottom - 1);
}

bool TShortcutSheet::FlatFramed() const
{
    return FLaunchdeck != nullptr && FLaunchdeck->GetOptions().Contains(soFlatTabs);
}

void TShortcutSheet::WMNCCalcSize(TMessage& message)
{
    inherited::Dispatch(message);
    if (FlatFramed() && message.LParam != 0) {
        RECT& r = ProposedClientRect(message);
        r.Left += 1;
        r.Top += 1;
    }
}

// A black line along the sheet's left and top edges.
void TShortcutSheet::WMNCPaint(TMessage& message)
{
    inherited::Dispatch(message);
    if (!FlatFramed() || !HandleAllocated())
        return;
    TRect f = ClientInWindow(FHandle);
    f.Left -= 1;
    f.Top -= 1;
    TWindowCanvas window(FHandle);
    TCanvas& canvas = window.Canvas();
    canvas.GetPen()->SetColor(clBlack);
    canvas.MoveTo(f.Left, f.Bottom);
    canvas.LineTo(f.Left, f.Top);
    canvas.LineTo(f.Right, f.Top);
}

} // namespace ld
