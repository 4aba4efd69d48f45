#include "apps/demo/DemoForm.h"

#include "apps/demo/DemoDialog.h"

#include <algorithm>

#include "platform/gfx/Graphics.h"
#include "platform/gfx/Text.h"
#include "platform/vcl/DragDrop.h"
#include "platform/win/Paint.h"

namespace ld::demo {

namespace {

// A one-pixel bevel: the top and left in one colour, bottom and right in the other.
void Bevel(TCanvas* c, TRect r, TColor topLeft, TColor bottomRight)
{
    c->GetPen()->SetColor(topLeft);
    c->MoveTo(r.Left, r.Bottom - 1);
    c->LineTo(r.Left, r.Top);
    c->LineTo(r.Right - 1, r.Top);
    c->GetPen()->SetColor(bottomRight);
    c->LineTo(r.Right - 1, r.Bottom - 1);
    c->LineTo(r.Left - 1, r.Bottom - 1);
}

} // namespace

// ---- TTile -------------------------------------------------------------------

TTile::TTile(TComponent* owner, const std::string& caption, TColor face, TLogSink log)
    : TCustomControl(owner), FFace(face), FLog(std::move(log))
{
    FControlStyle = {csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks};
    SetCaption(caption);
    SetBounds(0, 0, 96, 56);
}

void TTile::Paint()
{
    TCanvas* c = GetCanvas();
    TRect r = GetClientRect();
    c->GetBrush()->SetColor(FHot && !FDown ? clWhite : FFace);
    c->FillRect(r);
    if (FDown) {
        Bevel(c, r, clBlack, clBtnHighlight);
    } else {
        Bevel(c, r, clBtnHighlight, clBlack);
        InflateRect(r, -1, -1);
        Bevel(c, r, FHot ? clWhite : clBtnFace, clBtnShadow);
    }
    c->GetFont()->SetColor(FHot ? clNavy : clBlack);
    c->GetBrush()->SetStyle(bsClear);
    TRect text = GetClientRect();
    if (FDown)
        OffsetRect(text, 1, 1);
    DrawText(c->GetHandle(), GetCaption(), text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    c->GetBrush()->SetStyle(bsSolid);
}

void TTile::Dispatch(TMessage& m)
{
    if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
        bool hot = m.Msg == CM_MOUSEENTER;
        if (hot != FHot) {
            FHot = hot;
            FLog(GetCaption() + (hot ? " lights up" : " goes dark"));
            // Repaint now, without erasing: the tile covers all of itself.
            InvalidateRect(GetHandle(), nullptr, false);
            Update();
        }
    }
    TCustomControl::Dispatch(m);
}

void TTile::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y)
{
    if (button == mbLeft) {
        FDown = true;
        Repaint();
        if (shift.Contains(ssCtrl))
            BeginDrag(false);
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TTile::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y)
{
    if (button == mbLeft && FDown) {
        FDown = false;
        Repaint();
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TTile::Click()
{
    FLog(GetCaption() + " clicked");
    TCustomControl::Click();
}

void TTile::DoEndDrag(TObject* target, Integer x, Integer y)
{
    FDown = false;
    Repaint();
    FLog(GetCaption() + (target ? " dropped" : " drag cancelled"));
    TCustomControl::DoEndDrag(target, x, y);
}

// ---- TEventLog ---------------------------------------------------------------

TEventLog::TEventLog(TComponent* owner) : TCustomControl(owner)
{
    FControlStyle.Include(csOpaque);
    SetParentColor(false);
    SetColor(clWindow);
}

void TEventLog::Add(const std::string& line)
{
    FLines.push_back(line);
    Invalidate();
}

void TEventLog::Paint()
{
    TCanvas* c = GetCanvas();
    TRect r = GetClientRect();
    c->GetBrush()->SetColor(FDropHighlight ? TColor(0xE0FFE0) : GetColor());
    c->FillRect(r);
    c->GetFont()->SetColor(clBlack);
    Integer lineHeight = 14;
    Integer visible = std::max(1, (r.Height() - 4) / lineHeight);
    size_t first = FLines.size() > size_t(visible) ? FLines.size() - size_t(visible) : 0;
    Integer y = 2;
    for (size_t i = first; i < FLines.size(); ++i, y += lineHeight)
        c->TextOut(4, y, FLines[i]);
}

void TEventLog::DragOver(TObject* source, Integer x, Integer y, TDragState state, bool& accept)
{
    accept = dynamic_cast<TTile*>(source) != nullptr;
    bool highlight = accept && state != dsDragLeave;
    if (highlight != FDropHighlight) {
        FDropHighlight = highlight;
        Repaint();
    }
}

void TEventLog::DragDrop(TObject* source, Integer x, Integer y)
{
    if (auto* tile = dynamic_cast<TTile*>(source))
        Add("received " + tile->GetCaption() + " at " + std::to_string(x) + "," + std::to_string(y));
}

// ---- TMeter -------------------------------------------------------------------

TMeter::TMeter(TComponent* owner) : TCustomControl(owner), FTimer(new TTimer(this))
{
    FControlStyle.Include(csOpaque);
    FTimer->SetInterval(100);
    FTimer->SetOnTimer(TNotifyEvent(this, &TMeter::Step));
}

void TMeter::Step(TObject*)
{
    FPosition = (FPosition + 1) % 21;
    Invalidate();
}

void TMeter::Paint()
{
    TCanvas* c = GetCanvas();
    TRect r = GetClientRect();
    c->GetBrush()->SetColor(clBtnFace);
    c->FillRect(r);
    Bevel(c, r, clBtnShadow, clBtnHighlight);
    TRect bar = r;
    InflateRect(bar, -2, -2);
    bar.Right = bar.Left + bar.Width() * FPosition / 20;
    c->GetBrush()->SetColor(clNavy);
    c->FillRect(bar);
}

// ---- TDemoForm -------------------------------------------------------------------

TDemoForm::TDemoForm(TComponent* owner) : TForm(owner)
{
    SetCaption("Launchdeck platform demo");
    SetBounds(40, 40, 480, 320);
    FLog = new TEventLog(this);
    FLog->SetBounds(8, 140, 456, 120);
    FLog->SetParent(this);
    auto log = [this](const std::string& s) { FLog->Add(s); };
    const char* names[] = {"Inbox", "Calendar", "Contacts", "Tasks"};
    TColor faces[] = {TColor(0xC0C0C0), TColor(0xC0E0FF), TColor(0xC0FFC0), TColor(0xFFE0C0)};
    for (int i = 0; i < 4; ++i) {
        auto* t = new TTile(this, names[i], faces[i], log);
        t->SetLeft(8 + i * 114);
        t->SetTop(8);
        t->SetParent(this);
        FTiles.push_back(t);
    }
    FMeter = new TMeter(this);
    FMeter->SetBounds(8, 80, 456, 20);
    FMeter->SetParent(this);
    FMenu = new TPopupMenu(this);
    for (const char* caption : {"&Open", "&Rename", "-", "&Remove"}) {
        auto* item = new TMenuItem(FMenu);
        item->SetCaption(caption);
        item->SetOnClick(TNotifyEvent::Lambda([this, caption](TObject*) {
            FLog->Add(std::string("menu: ") + caption);
        }));
        FMenu->GetItems()->Add(item);
    }
    for (TTile* t : FTiles)
        t->SetPopupMenu(FMenu);
    FDialogButton = new TButton(this);
    FDialogButton->SetCaption("&Dialog...");
    FDialogButton->SetBounds(8, 108, 90, 25);
    FDialogButton->SetOnClick(TNotifyEvent(this, &TDemoForm::OpenDialog));
    FDialogButton->SetParent(this);
}

void TDemoForm::OpenDialog(TObject*)
{
    auto* dialog = new TDemoDialog(this);
    FOpenDialog = dialog;
    const TModalResult result = dialog->ShowModal();
    FOpenDialog = nullptr;
    FLog->Add(result == mrOk ? "dialog OK: " + dialog->Summary() : std::string("dialog cancelled"));
    dialog->Free();
}

} // namespace ld::demo
