#include "platform/gfx/Bitmap.h"

#include <cstring>

#include "platform/gfx/Bmp.h"
#include "platform/gfx/GfxErrors.h"
#include "platform/gfx/Png.h"
#include "platform/stream/Stream.h"

namespace ld {

namespace {

// The bitmap's own canvas: a memory DC with the bitmap selected, made on demand.
class TBitmapCanvas : public TCanvas {
    LD_CLASS(TBitmapCanvas, TCanvas)

    explicit TBitmapCanvas(TBitmap* bitmap) : FBitmap(bitmap) {}
    ~TBitmapCanvas() override
    {
        HDC dc = CurrentHandle();
        SetHandle(nullptr);
        if (dc != nullptr)
            DeleteDC(dc);
    }
    // The surface changed size: the DC's clip follows.
    void SurfaceResized()
    {
        if (HDC dc = CurrentHandle())
            dc->InvalidateClip();
    }

protected:
    void CreateHandle() override
    {
        HDC dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, FBitmap->GetHandle());
        SetHandle(dc);
    }

private:
    TBitmap* FBitmap;
};

TClass TBitmapCanvasClass()
{
    static const TClassInfo info = TClassBuilder<TBitmapCanvas>("TBitmapCanvas", TCanvas::StaticClass());
    return &info;
}

const uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool HasAlpha(const TSurface& s)
{
    for (Integer y = 0; y < s.Height(); ++y)
        for (Integer x = 0; x < s.Width(); ++x)
            if ((s.Row(y)[x] >> 24) != 0xFF)
                return true;
    return false;
}

} // namespace

TClass TBitmapCanvas::StaticClass()
{
    return TBitmapCanvasClass();
}

TClass TBitmap::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TBitmap>("TBitmap", TGraphicsObject::StaticClass());
    return &info;
}

TBitmap::TBitmap() : FHandle(CreateBitmap(0, 0, 1, 32, nullptr)) {}

TBitmap::TBitmap(Integer width, Integer height) : TBitmap()
{
    SetSize(width, height);
}

TBitmap::~TBitmap()
{
    if (FCanvas != nullptr)
        FCanvas->Free();
    DeleteObject(FHandle);
}

void TBitmap::Assign(TPersistent* source)
{
    if (auto* bitmap = dynamic_cast<TBitmap*>(source)) {
        if (bitmap == this)
            return;
        TakeSurface(bitmap->Surface());
        FTransparent = bitmap->FTransparent;
        FTransparentColor = bitmap->FTransparentColor;
        Changed();
        return;
    }
    inherited::Assign(source);
}

Integer TBitmap::GetWidth() const
{
    return FHandle->Surface->Width();
}

Integer TBitmap::GetHeight() const
{
    return FHandle->Surface->Height();
}

void TBitmap::SetWidth(Integer value)
{
    SetSize(value, GetHeight());
}

void TBitmap::SetHeight(Integer value)
{
    SetSize(GetWidth(), value);
}

void TBitmap::SetSize(Integer width, Integer height)
{
    if (width == GetWidth() && height == GetHeight())
        return;
    FHandle->Surface->Resize(width, height, 0xFFFFFFFFu);
    Resized();
    Changed();
}

void TBitmap::Resized()
{
    if (FCanvas != nullptr)
        static_cast<TBitmapCanvas*>(FCanvas)->SurfaceResized();
}

void TBitmap::TakeSurface(const TSurface& surface)
{
    FHandle->Surface->Resize(surface.Width(), surface.Height());
    std::memcpy(FHandle->Surface->Pixels(), surface.Pixels(),
                size_t(surface.Width()) * size_t(surface.Height()) * sizeof(uint32_t));
    Resized();
}

TCanvas* TBitmap::GetCanvas()
{
    if (FCanvas == nullptr)
        FCanvas = new TBitmapCanvas(this);
    return FCanvas;
}

void TBitmap::SetTransparent(bool value)
{
    if (value == FTransparent)
        return;
    FTransparent = value;
    Changed();
}

TColor TBitmap::GetTransparentColor() const
{
    if (FTransparentColor != clDefault)
        return FTransparentColor;
    if (Empty())
        return clDefault;
    return TColor(PixelToColorRef(Surface().Pixel(0, GetHeight() - 1)));
}

void TBitmap::SetTransparentColor(TColor value)
{
    if (value == FTransparentColor)
        return;
    FTransparentColor = value;
    Changed();
}

void TBitmap::LoadFromBytes(const uint8_t* data, size_t size)
{
    std::unique_ptr<TSurface> image;
    if (size >= 2 && data[0] == 'B' && data[1] == 'M')
        image = ReadBmp(data, size);
    else if (size >= 8 && std::memcmp(data, PngSignature, 8) == 0)
        image = ReadPng(data, size);
    else
        throw EInvalidGraphic("Unknown picture file format");
    TakeSurface(*image);
    Changed();
}

std::vector<uint8_t> TBitmap::SaveToBytes(bool png) const
{
    if (Empty())
        throw EInvalidGraphicOperation("Cannot save an empty bitmap");
    if (png)
        return WritePng(Surface());
    return WriteBmp(Surface(), HasAlpha(Surface()) ? 32 : 24);
}

void TBitmap::LoadFromFile(const std::string& path)
{
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    LoadFromBytes(bytes.data(), bytes.size());
}

void TBitmap::SaveToFile(const std::string& path) const
{
    const bool png = path.size() >= 4 && (path.compare(path.size() - 4, 4, ".png") == 0 ||
                                          path.compare(path.size() - 4, 4, ".PNG") == 0);
    WriteWholeFile(path, SaveToBytes(png));
}

// A BMP file in a stream says its own length; anything else runs to the end.
void TBitmap::LoadFromStream(TStream* stream)
{
    if (stream == nullptr)
        throw EInvalidGraphic("No stream to read a bitmap from");
    const Int64 remaining = stream->Remaining();
    if (remaining < 14)
        throw EInvalidGraphic("Invalid bitmap: the file header is truncated");
    uint8_t header[14];
    stream->ReadBuffer(header, 14);
    Int64 length = remaining;
    if (header[0] == 'B' && header[1] == 'M') {
        const uint32_t declared =
            uint32_t(header[2]) | (uint32_t(header[3]) << 8) | (uint32_t(header[4]) << 16) | (uint32_t(header[5]) << 24);
        if (declared < 14 || Int64(declared) > remaining)
            throw EInvalidGraphic("Invalid bitmap: the declared size does not fit the data");
        length = declared;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    std::memcpy(bytes.data(), header, 14);
    stream->ReadBuffer(bytes.data() + 14, length - 14);
    LoadFromBytes(bytes.data(), bytes.size());
}

void TBitmap::SaveToStream(TStream* stream) const
{
    const std::vector<uint8_t> bytes = SaveToBytes(false);
    stream->WriteBuffer(bytes.data(), Int64(bytes.size()));
}

} // namespace ld
