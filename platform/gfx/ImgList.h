// Image lists: a row of equal-sized images drawn by index, and the change
// links through which controls hear of every change to a list they use.
#pragma once

#include <memory>
#include <vector>

#include "platform/core/Component.h"
#include "platform/gfx/Bitmap.h"

namespace ld {

class TCustomImageList;

class TChangeLink : public TObject {
    LD_CLASS(TChangeLink, TObject)

    TChangeLink() = default;
    // Unregisters itself from its list.
    ~TChangeLink() override;

    TCustomImageList* GetSender() const { return FSender; }
    void SetSender(TCustomImageList* value) { FSender = value; }
    TNotifyEvent GetOnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent value) { FOnChange = std::move(value); }
    virtual void Change();

private:
    TCustomImageList* FSender = nullptr;
    TNotifyEvent FOnChange;
};

class TCustomImageList : public TComponent {
    LD_CLASS(TCustomImageList, TComponent)

    explicit TCustomImageList(TComponent* owner);
    ~TCustomImageList() override;
    void Assign(TPersistent* source) override;

    // A new size empties the list.
    Integer GetWidth() const { return FWidth; }
    void SetWidth(Integer value);
    Integer GetHeight() const { return FHeight; }
    void SetHeight(Integer value);
    Integer GetCount() const { return Integer(FImages.size()); }
    TColor GetBkColor() const { return FBkColor; }
    void SetBkColor(TColor value);
    bool GetMasked() const { return FMasked; }
    void SetMasked(bool value);
    TNotifyEvent GetOnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent value) { FOnChange = std::move(value); }

    // Adds image, cut into as many images as its width holds (at least one).
    // Its alpha is kept; with a mask, the mask's non-black pixels are left out.
    // Returns the index of the first image added, -1 for an empty image.
    Integer Add(TBitmap* image, TBitmap* mask = nullptr);
    // The same, leaving out the pixels of maskColor (clDefault: the colour of
    // the image's bottom-left pixel).
    Integer AddMasked(TBitmap* image, TColor maskColor);
    // Bad indexes raise EInvalidOperation "Invalid ImageList Index".
    void Replace(Integer index, TBitmap* image, TBitmap* mask = nullptr);
    void Delete(Integer index);
    void Move(Integer curIndex, Integer newIndex);
    void Clear();
    // Copies image index into bitmap (resized to the list's size); false for a bad index.
    bool GetBitmap(Integer index, TBitmap* bitmap) const;
    const TSurface* Image(Integer index) const;

    // Draws image index with its top-left at x, y. An index outside the list
    // draws nothing. Alpha blends; disabled draws the shape greyed (embossed in
    // the button highlight and shadow colours).
    void Draw(TCanvas* canvas, Integer x, Integer y, Integer index, bool enabled = true);

    void RegisterChanges(TChangeLink* link);
    void UnRegisterChanges(TChangeLink* link);
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

protected:
    virtual void Change();
    // The images are stored as "Bitmap": one 32-bit BMP strip, images side by side.
    void DefineProperties(TFiler* filer) override;

private:
    Integer FWidth = 16;
    Integer FHeight = 16;
    TColor FBkColor = clNone;
    bool FMasked = true;
    Integer FUpdateCount = 0;
    bool FChangedDuringUpdate = false;
    std::vector<std::unique_ptr<TSurface>> FImages;
    std::vector<TChangeLink*> FClients;
    TNotifyEvent FOnChange;
    std::vector<std::unique_ptr<TSurface>> Cut(TBitmap* image, TBitmap* mask, bool keyed, COLORREF key) const;
    void CheckIndex(Integer index) const;
    void ReadImages(TStream* stream);
    void WriteImages(TStream* stream);
};

class TImageList : public TCustomImageList {
    LD_CLASS(TImageList, TCustomImageList)

    explicit TImageList(TComponent* owner) : TCustomImageList(owner) {}
    // A list of the given image size, as the host's CreateSize.
    TImageList(TComponent* owner, Integer width, Integer height);
};

} // namespace ld
