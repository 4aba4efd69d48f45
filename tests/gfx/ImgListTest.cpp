#include <gtest/gtest.h>

#include "platform/core/SysUtils.h"
#include "platform/gfx/GfxErrors.h"
#include "platform/gfx/ImgList.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Stream.h"
#include "platform/stream/Writer.h"

namespace ld {
namespace {

COLORREF At(TBitmap& b, Integer x, Integer y)
{
    return PixelToColorRef(b.Surface().Pixel(x, y));
}

// A w x h bitmap filled with colour, with a one-pixel magenta border.
std::unique_ptr<TBitmap> Icon(Integer w, Integer h, TColor colour)
{
    auto b = std::make_unique<TBitmap>(w, h);
    b->GetCanvas()->GetBrush()->SetColor(clFuchsia);
    b->GetCanvas()->FillRect(Rect(0, 0, w, h));
    b->GetCanvas()->GetBrush()->SetColor(colour);
    b->GetCanvas()->FillRect(Rect(1, 1, w - 1, h - 1));
    return b;
}

TEST(ImageList, WideImagesAreCutAndMaskedColoursLeftOut)
{
    TImageList list(nullptr, 8, 8);
    EXPECT_EQ(list.GetCount(), 0);
    auto strip = Icon(16, 8, clRed);
    EXPECT_EQ(list.AddMasked(strip.get(), clFuchsia), 0);
    EXPECT_EQ(list.GetCount(), 2);
    auto single = Icon(8, 8, clBlue);
    EXPECT_EQ(list.AddMasked(single.get(), clDefault), 2); // bottom-left pixel: magenta
    TBitmap target(20, 10);
    target.GetCanvas()->GetBrush()->SetColor(clGreen);
    target.GetCanvas()->FillRect(Rect(0, 0, 20, 10));
    list.Draw(target.GetCanvas(), 2, 1, 2);
    EXPECT_EQ(At(target, 2, 1), RGB(0, 128, 0)); // border left out
    EXPECT_EQ(At(target, 3, 2), RGB(0, 0, 255));
    EXPECT_EQ(At(target, 9, 8), RGB(0, 128, 0));
    // Index outside the list: nothing drawn, nothing raised.
    TBitmap untouched(20, 10);
    for (Integer index : {-1, 3, 1000}) {
        list.Draw(untouched.GetCanvas(), 0, 0, index);
        EXPECT_EQ(At(untouched, 4, 4), RGB(255, 255, 255)) << index;
    }
}

TEST(ImageList, AlphaBlendsAndDisabledDrawsGreyed)
{
    TImageList list(nullptr, 4, 4);
    TBitmap half(4, 4);
    for (Integer y = 0; y < 4; ++y)
        for (Integer x = 0; x < 4; ++x)
            half.Surface().SetPixel(x, y, 0x80FFFFFFu); // white at half strength
    list.Add(&half);
    TBitmap target(4, 4);
    target.GetCanvas()->GetBrush()->SetColor(clBlack);
    target.GetCanvas()->FillRect(Rect(0, 0, 4, 4));
    list.Draw(target.GetCanvas(), 0, 0, 0);
    EXPECT_EQ(At(target, 1, 1), RGB(128, 128, 128));

    TImageList icons(nullptr, 8, 8);
    auto icon = Icon(8, 8, clRed);
    icons.AddMasked(icon.get(), clFuchsia);
    TBitmap greyed(10, 10);
    greyed.GetCanvas()->GetBrush()->SetColor(clBtnFace);
    greyed.GetCanvas()->FillRect(Rect(0, 0, 10, 10));
    icons.Draw(greyed.GetCanvas(), 0, 0, 0, false);
    EXPECT_EQ(At(greyed, 3, 3), RGB(128, 128, 128));
    EXPECT_EQ(At(greyed, 7, 7), RGB(255, 255, 255)); // the highlight below and right
    EXPECT_EQ(At(greyed, 0, 0), RGB(192, 192, 192));
    for (Integer y = 0; y < 10; ++y)
        for (Integer x = 0; x < 10; ++x)
            EXPECT_NE(At(greyed, x, y), RGB(255, 0, 0));
}

TEST(ImageList, ChangeLinksHearOfEveryChange)
{
    auto list = std::make_unique<TImageList>(nullptr);
    int told = 0;
    TObject* sender = nullptr;
    TChangeLink link;
    link.SetOnChange(TNotifyEvent::Lambda([&](TObject* s) {
        ++told;
        sender = s;
    }));
    list->RegisterChanges(&link);
    EXPECT_EQ(link.GetSender(), list.get());
    auto icon = Icon(16, 16, clRed);
    list->Add(icon.get());
    list->AddMasked(icon.get(), clFuchsia);
    list->Replace(0, icon.get());
    list->Move(0, 1);
    list->Delete(0);
    list->SetBkColor(clWhite);
    list->Clear();
    list->SetWidth(32); // a new size empties the list
    EXPECT_EQ(told, 8);
    EXPECT_EQ(sender, list.get());
    list->BeginUpdate();
    list->Add(icon.get());
    list->Add(icon.get());
    list->EndUpdate();
    EXPECT_EQ(told, 9);
    EXPECT_THROW(list->Delete(5), EInvalidOperation);
    list->UnRegisterChanges(&link);
    list->Clear();
    EXPECT_EQ(told, 9);
    // A link outliving its list is let go; one dying first unregisters itself.
    list->RegisterChanges(&link);
    {
        TChangeLink shortLived;
        list->RegisterChanges(&shortLived);
    }
    list->Add(icon.get());
    EXPECT_EQ(told, 10);
    list.reset();
    EXPECT_EQ(link.GetSender(), nullptr);
}

TEST(ImageList, GetBitmapAndAssign)
{
    TImageList list(nullptr, 6, 6);
    auto icon = Icon(6, 6, clTeal);
    list.Add(icon.get());
    TBitmap out;
    EXPECT_TRUE(list.GetBitmap(0, &out));
    EXPECT_EQ(out.GetWidth(), 6);
    EXPECT_EQ(At(out, 3, 3), RGB(0, 128, 128));
    EXPECT_FALSE(list.GetBitmap(1, &out));
    TImageList copy(nullptr);
    copy.Assign(&list);
    EXPECT_EQ(copy.GetCount(), 1);
    EXPECT_EQ(copy.GetWidth(), 6);
    EXPECT_NE(TImageList::StaticClass()->FindProperty("Width"), nullptr);
}

TEST(ImageList, ImagesTravelThroughTheFormFile)
{
    TImageList list(nullptr, 8, 6);
    list.SetName("Icons");
    auto red = Icon(8, 6, clRed);
    auto blue = Icon(8, 6, clBlue);
    list.AddMasked(red.get(), clFuchsia);
    list.Add(blue.get());
    TMemoryStream stream;
    WriteComponentToStream(&stream, &list);
    stream.SetPosition(0);
    TImageList back(nullptr);
    ReadComponentFromStream(&stream, &back);
    EXPECT_EQ(back.GetWidth(), 8);
    EXPECT_EQ(back.GetHeight(), 6);
    ASSERT_EQ(back.GetCount(), 2);
    EXPECT_EQ(back.Image(0)->Pixel(0, 0), 0u); // the masked border stays transparent
    EXPECT_EQ(back.Image(0)->Pixel(3, 3), list.Image(0)->Pixel(3, 3));
    EXPECT_EQ(back.Image(1)->Pixel(0, 0), list.Image(1)->Pixel(0, 0));
    // An empty list stores no images at all.
    TImageList empty(nullptr);
    TMemoryStream small;
    WriteComponentToStream(&small, &empty);
    EXPECT_EQ(small.DataString().find("Bitmap"), std::string::npos);
}

} // namespace
} // namespace ld
