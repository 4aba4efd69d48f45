// TBitmap: a memory surface of 32 bits per pixel with a canvas. A new Width or
// Height resizes it, keeping the pixels that still fit; new pixels are white.
// Reads and writes BMP and PNG files (the format is told by the data's
// signature when reading, by the file name's extension when writing).
#pragma once

#include <string>
#include <vector>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Surface.h"

namespace ld {

class TStream;

class TBitmap : public TGraphicsObject {
    LD_CLASS(TBitmap, TGraphicsObject)

    TBitmap();
    TBitmap(Integer width, Integer height);
    ~TBitmap() override;
    void Assign(TPersistent* source) override;

    Integer GetWidth() const;
    void SetWidth(Integer value);
    Integer GetHeight() const;
    void SetHeight(Integer value);
    void SetSize(Integer width, Integer height);
    bool Empty() const { return GetWidth() == 0 || GetHeight() == 0; }

    TCanvas* GetCanvas();
    HBITMAP GetHandle() const { return FHandle; }
    TSurface& Surface() { return *FHandle->Surface; }
    const TSurface& Surface() const { return *FHandle->Surface; }

    // When Transparent, TCanvas.Draw leaves pixels of TransparentColor out
    // (clDefault: the colour of the bottom-left pixel).
    bool GetTransparent() const { return FTransparent; }
    void SetTransparent(bool value);
    TColor GetTransparentColor() const;
    void SetTransparentColor(TColor value);

    void LoadFromBytes(const uint8_t* data, size_t size);
    std::vector<uint8_t> SaveToBytes(bool png = false) const;
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;
    // A BMP file's bytes, as form files keep pictures.
    void LoadFromStream(TStream* stream);
    void SaveToStream(TStream* stream) const;

private:
    HBITMAP FHandle = nullptr;
    TCanvas* FCanvas = nullptr;
    bool FTransparent = false;
    TColor FTransparentColor = clDefault;
    void Resized();
    void TakeSurface(const TSurface& surface);
};

} // namespace ld
