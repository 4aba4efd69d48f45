#include "apps/designer/ComponentPalette.h"

#include "platform/core/SysUtils.h"
#include "platform/gfx/Bmp.h"
#include "platform/gfx/Frames.h"

namespace ld {

namespace {

constexpr Word LangEnglishUK = 0x0809;

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
    PaletteChanged();
}

TComponentPalette::~TComponentPalette() { SetParent(nullptr); }

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

TRect TComponentPalette::ButtonRect(Integer index) const
{
    const Integer left = 4 + index * ButtonSize;
    return {left, TabHeight + 4, left + ButtonSize, TabHeight + 4 + ButtonSize};
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
    const TPalettePage* page = Page();
    if (page == nullptr)
        return;
    for (Integer i = 0; i < static_cast<Integer>(page->Classes.size()); ++i) {
        const TClass cls = page->Classes[static_cast<size_t>(i)];
        TRect button = ButtonRect(i);
        const bool chosen = cls == FChosen;
        DrawEdge(canvas->GetHandle(), button, chosen ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        if (TBitmap* image = ImageOf(cls)) {
            const Integer shift = chosen ? 1 : 0;
            canvas->Draw(button.Left + (ButtonSize - image->GetWidth()) / 2 + shift,
                         button.Top + (ButtonSize - image->GetHeight()) / 2 + shift, image);
        }
    }
}

void TComponentPalette::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y)
{
    inherited::MouseDown(button, shift, x, y);
    if (button != mbLeft)
        return;
    for (Integer i = 0; i < static_cast<Integer>(FRegistry.GetPalette().size()); ++i)
        if (PtInRect(PageTabRect(i), {x, y})) {
            SetPageIndex(i);
            return;
        }
    const TPalettePage* page = Page();
    if (page == nullptr)
        return;
    for (Integer i = 0; i < static_cast<Integer>(page->Classes.size()); ++i)
        if (PtInRect(ButtonRect(i), {x, y})) {
            const TClass cls = page->Classes[static_cast<size_t>(i)];
            SetChosenClass(cls == FChosen ? nullptr : cls);
            return;
        }
}

} // namespace ld
