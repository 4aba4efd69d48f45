#include "platform/gfx/ImgList.h"

#include <algorithm>

#include "platform/core/SysUtils.h"
#include "platform/gfx/Blit.h"
#include "platform/gfx/Bmp.h"
#include "platform/gfx/GfxErrors.h"
#include "platform/stream/Filer.h"
#include "platform/stream/Stream.h"
#include "platform/gfx/GraphicsObjects.h"

namespace ld {

TClass TChangeLink::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TChangeLink>("TChangeLink", TObject::StaticClass());
    return &info;
}

TClass TCustomImageList::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TCustomImageList>("TCustomImageList", TComponent::StaticClass())
                                       .Abstract();
    return &info;
}

TClass TImageList::StaticClass()
{
    static const TClassInfo info =
        TClassBuilder<TImageList>("TImageList", TCustomImageList::StaticClass())
            .Integer("BkColor", &TImageList::GetBkColor, &TImageList::SetBkColor)
            .Idents(ColorIdentsInfo())
            .Default(clNone)
            .Integer("Height", &TImageList::GetHeight, &TImageList::SetHeight)
            .Default(16)
            .Boolean("Masked", &TImageList::GetMasked, &TImageList::SetMasked)
            .Default(true)
            .Integer("Width", &TImageList::GetWidth, &TImageList::SetWidth)
            .Default(16)
            .Event("OnChange", &TImageList::GetOnChange, &TImageList::SetOnChange);
    return &info;
}

// -- TChangeLink --

TChangeLink::~TChangeLink()
{
    if (FSender != nullptr)
        FSender->UnRegisterChanges(this);
}

void TChangeLink::Change()
{
    if (Assigned(FOnChange))
        FOnChange(FSender);
}

// -- TCustomImageList --

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::~TCustomImageList()
{
    while (!FClients.empty())
        UnRegisterChanges(FClients.back());
}

TImageList::TImageList(TComponent* owner, Integer width, Integer height) : TCustomImageList(owner)
{
    SetWidth(width);
    SetHeight(height);
}

void TCustomImageList::Assign(TPersistent* source)
{
    if (auto* list = dynamic_cast<TCustomImageList*>(source)) {
        if (list == this)
            return;
        FWidth = list->FWidth;
        FHeight = list->FHeight;
        FBkColor = list->FBkColor;
        FMasked = list->FMasked;
        FImages.clear();
        for (const auto& image : list->FImages) {
            auto copy = std::make_unique<TSurface>(image->Width(), image->Height());
            std::copy_n(image->Pixels(), size_t(image->Width()) * size_t(image->Height()), copy->Pixels());
            FImages.push_back(std::move(copy));
        }
        Change();
        return;
    }
    inherited::Assign(source);
}

void TCustomImageList::SetWidth(Integer value)
{
    if (value == FWidth)
        return;
    TSurface::CheckSize(value, FHeight);
    if (value <= 0)
        throw EInvalidOperation("Invalid image size");
    FWidth = value;
    FImages.clear();
    Change();
}

void TCustomImageList::SetHeight(Integer value)
{
    if (value == FHeight)
        return;
    TSurface::CheckSize(FWidth, value);
    if (value <= 0)
        throw EInvalidOperation("Invalid image size");
    FHeight = value;
    FImages.clear();
    Change();
}

void TCustomImageList::SetBkColor(TColor value)
{
    if (value == FBkColor)
        return;
    FBkColor = value;
    Change();
}

void TCustomImageList::SetMasked(bool value)
{
    if (value == FMasked)
        return;
    FMasked = value;
    Change();
}

void TCustomImageList::CheckIndex(Integer index) const
{
    if (index < 0 || index >= GetCount())
        throw EInvalidOperation("Invalid ImageList Index");
}

std::vector<std::unique_ptr<TSurface>> TCustomImageList::Cut(TBitmap* image, TBitmap* mask, bool keyed,
                                                             COLORREF key) const
{
    std::vector<std::unique_ptr<TSurface>> cells;
    if (image == nullptr || image->Empty())
        return cells;
    const TSurface& source = image->Surface();
    const TSurface* maskSurface = mask != nullptr && !mask->Empty() ? &mask->Surface() : nullptr;
    const Integer count = std::max(1, source.Width() / FWidth);
    for (Integer c = 0; c < count; ++c) {
        // Pixels the image does not reach stay transparent.
        auto cell = std::make_unique<TSurface>(FWidth, FHeight, 0u);
        for (Integer y = 0; y < FHeight && y < source.Height(); ++y)
            for (Integer x = 0; x < FWidth; ++x) {
                const Integer sx = c * FWidth + x;
                if (sx >= source.Width())
                    break;
                uint32_t pixel = source.Row(y)[sx];
                if (keyed && (pixel & 0x00FFFFFFu) == (ColorRefToPixel(key) & 0x00FFFFFFu))
                    pixel = 0;
                if (maskSurface != nullptr && (maskSurface->Pixel(sx, y) & 0x00FFFFFFu) != 0)
                    pixel = 0;
                cell->Row(y)[x] = pixel;
            }
        cells.push_back(std::move(cell));
    }
    return cells;
}

Integer TCustomImageList::Add(TBitmap* image, TBitmap* mask)
{
    auto cells = Cut(image, mask, false, 0);
    if (cells.empty())
        return -1;
    const Integer first = GetCount();
    for (auto& cell : cells)
        FImages.push_back(std::move(cell));
    Change();
    return first;
}

Integer TCustomImageList::AddMasked(TBitmap* image, TColor maskColor)
{
    if (image == nullptr || image->Empty())
        return -1;
    const TColor key = maskColor == clDefault
                           ? TColor(PixelToColorRef(image->Surface().Pixel(0, image->GetHeight() - 1)))
                           : maskColor;
    auto cells = Cut(image, nullptr, true, ColorToRGB(key));
    const Integer first = GetCount();
    for (auto& cell : cells)
        FImages.push_back(std::move(cell));
    Change();
    return first;
}

void TCustomImageList::Replace(Integer index, TBitmap* image, TBitmap* mask)
{
    CheckIndex(index);
    auto cells = Cut(image, mask, false, 0);
    if (cells.empty())
        return;
    FImages[size_t(index)] = std::move(cells.front());
    Change();
}

void TCustomImageList::Delete(Integer index)
{
    CheckIndex(index);
    FImages.erase(FImages.begin() + index);
    Change();
}

void TCustomImageList::Move(Integer curIndex, Integer newIndex)
{
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    if (curIndex == newIndex)
        return;
    auto image = std::move(FImages[size_t(curIndex)]);
    FImages.erase(FImages.begin() + curIndex);
    FImages.insert(FImages.begin() + newIndex, std::move(image));
    Change();
}

void TCustomImageList::Clear()
{
    if (FImages.empty())
        return;
    FImages.clear();
    Change();
}

const TSurface* TCustomImageList::Image(Integer index) const
{
    return index >= 0 && index < GetCount() ? FImages[size_t(index)].get() : nullptr;
}

bool TCustomImageList::GetBitmap(Integer index, TBitmap* bitmap) const
{
    const TSurface* image = Image(index);
    if (image == nullptr || bitmap == nullptr)
        return false;
    bitmap->SetSize(FWidth, FHeight);
    std::copy_n(image->Pixels(), size_t(FWidth) * size_t(FHeight), bitmap->Surface().Pixels());
    return true;
}

void TCustomImageList::Draw(TCanvas* canvas, Integer x, Integer y, Integer index, bool enabled)
{
    const TSurface* image = Image(index);
    if (image == nullptr || canvas == nullptr)
        return;
    HDC dc = canvas->GetHandle();
    if (enabled) {
        DrawSurfaceBlended(dc, x, y, *image);
        return;
    }
    // The greyed look: the shape in highlight one pixel down and right, then in shadow.
    TSurface greyed(FWidth + 1, FHeight + 1, 0u);
    const uint32_t highlight = ColorRefToPixel(ColorToRGB(clBtnHighlight));
    const uint32_t shadow = ColorRefToPixel(ColorToRGB(clBtnShadow));
    for (int pass = 0; pass < 2; ++pass)
        for (Integer py = 0; py < FHeight; ++py)
            for (Integer px = 0; px < FWidth; ++px)
                if ((image->Row(py)[px] >> 24) >= 128)
                    greyed.SetPixel(px + 1 - pass, py + 1 - pass, pass == 0 ? highlight : shadow);
    DrawSurfaceBlended(dc, x, y, greyed);
}

void TCustomImageList::RegisterChanges(TChangeLink* link)
{
    if (link == nullptr)
        return;
    if (link->GetSender() != nullptr && link->GetSender() != this)
        link->GetSender()->UnRegisterChanges(link);
    link->SetSender(this);
    if (std::find(FClients.begin(), FClients.end(), link) == FClients.end())
        FClients.push_back(link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* link)
{
    const auto it = std::find(FClients.begin(), FClients.end(), link);
    if (it == FClients.end())
        return;
    FClients.erase(it);
    link->SetSender(nullptr);
}

void TCustomImageList::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FChangedDuringUpdate) {
        FChangedDuringUpdate = false;
        Change();
    }
}

void TCustomImageList::DefineProperties(TFiler* filer)
{
    inherited::DefineProperties(filer);
    filer->DefineBinaryProperty("Bitmap", TStreamProc(this, &TCustomImageList::ReadImages),
                                TStreamProc(this, &TCustomImageList::WriteImages), GetCount() > 0);
}

void TCustomImageList::WriteImages(TStream* stream)
{
    TSurface strip(FWidth * GetCount(), FHeight, 0u);
    for (Integer i = 0; i < GetCount(); ++i)
        for (Integer y = 0; y < FHeight; ++y)
            std::copy_n(FImages[size_t(i)]->Row(y), FWidth, strip.Row(y) + i * FWidth);
    const std::vector<uint8_t> bytes = WriteBmp(strip, 32);
    stream->WriteBuffer(bytes.data(), Int64(bytes.size()));
}

void TCustomImageList::ReadImages(TStream* stream)
{
    const Int64 size = stream->Remaining();
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max<Int64>(size, 0)));
    stream->ReadBuffer(bytes.data(), Int64(bytes.size()));
    const std::unique_ptr<TSurface> strip = ReadBmp(bytes.data(), bytes.size());
    if (strip->Height() != FHeight || strip->Width() % FWidth != 0)
        throw EInvalidGraphic("The stored images do not fit the image list's size");
    FImages.clear();
    for (Integer i = 0; i < strip->Width() / FWidth; ++i) {
        auto image = std::make_unique<TSurface>(FWidth, FHeight, 0u);
        for (Integer y = 0; y < FHeight; ++y)
            std::copy_n(strip->Row(y) + i * FWidth, FWidth, image->Row(y));
        FImages.push_back(std::move(image));
    }
    Change();
}

void TCustomImageList::Change()
{
    if (FUpdateCount > 0) {
        FChangedDuringUpdate = true;
        return;
    }
    // A link's handler may unregister links; walk a copy and skip the ones gone.
    const std::vector<TChangeLink*> clients = FClients;
    for (TChangeLink* link : clients)
        if (std::find(FClients.begin(), FClients.end(), link) != FClients.end())
            link->Change();
    if (Assigned(FOnChange))
        FOnChange(this);
}

} // namespace ld
