// TCustomControl and TGraphicControl: controls that paint themselves on a
// canvas; and the control canvas, whose device context lives as long as the
// message that asked for it.
#include <algorithm>
#include <vector>

#include "platform/vcl/Controls.h"
#include "platform/win/Paint.h"

namespace ld {

namespace {
std::vector<TControlCanvas*>& CanvasesWithHandles()
{
    static std::vector<TControlCanvas*> list;
    return list;
}
} // namespace

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::CreateHandle()
{
    if (FDeviceContext)
        return;
    if (auto* w = dynamic_cast<TWinControl*>(FControl)) {
        FWindow = w->GetHandle();
        FDeviceContext = GetDC(FWindow);
    } else {
        TWinControl* parent = FControl->GetParent();
        if (!parent)
            return;
        FWindow = parent->GetHandle();
        FDeviceContext = GetDCEx(FWindow, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
        SetViewportOrgEx(FDeviceContext, FControl->GetLeft(), FControl->GetTop(), nullptr);
        IntersectClipRect(FDeviceContext, 0, 0, FControl->GetWidth(), FControl->GetHeight());
    }
    SetHandle(FDeviceContext);
    CanvasesWithHandles().push_back(this);
}

void TControlCanvas::FreeHandle()
{
    if (!FDeviceContext)
        return;
    SetHandle(nullptr);
    ReleaseDC(FWindow, FDeviceContext);
    FDeviceContext = nullptr;
    FWindow = nullptr;
    std::erase(CanvasesWithHandles(), this);
}

void FreeControlCanvases()
{
    auto list = CanvasesWithHandles();
    for (TControlCanvas* c : list)
        c->FreeHandle();
}

// ---- TCustomControl ------------------------------------------------------------------

TClass TCustomControl::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TCustomControl>("TCustomControl", TWinControl::StaticClass()).Abstract();
    return &info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) { FCanvas = new TControlCanvas(this); }

TCustomControl::~TCustomControl()
{
    delete FCanvas;
    FCanvas = nullptr;
}

void TCustomControl::PaintWindow(HDC dc)
{
    auto* canvas = static_cast<TControlCanvas*>(FCanvas);
    canvas->FreeHandle();
    canvas->SetHandle(dc);
    try {
        Paint();
    } catch (...) {
        canvas->SetHandle(nullptr);
        throw;
    }
    canvas->SetHandle(nullptr);
}

void TCustomControl::Dispatch(TMessage& m)
{
    if (m.Msg == WM_PAINT) {
        FControlState.Include(csCustomPaint);
        try {
            inherited::Dispatch(m);
        } catch (...) {
            FControlState.Exclude(csCustomPaint);
            throw;
        }
        FControlState.Exclude(csCustomPaint);
        return;
    }
    inherited::Dispatch(m);
}

// ---- TGraphicControl -------------------------------------------------------------------

TClass TGraphicControl::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TGraphicControl>("TGraphicControl", TControl::StaticClass()).Abstract();
    return &info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) { FCanvas = new TControlCanvas(this); }

TGraphicControl::~TGraphicControl()
{
    delete FCanvas;
    FCanvas = nullptr;
}

void TGraphicControl::Dispatch(TMessage& m)
{
    if (m.Msg == WM_PAINT && m.WParam) {
        auto* canvas = static_cast<TControlCanvas*>(FCanvas);
        canvas->FreeHandle();
        canvas->SetHandle(reinterpret_cast<HDC>(m.WParam));
        try {
            Paint();
        } catch (...) {
            canvas->SetHandle(nullptr);
            throw;
        }
        canvas->SetHandle(nullptr);
        return;
    }
    inherited::Dispatch(m);
}

} // namespace ld
