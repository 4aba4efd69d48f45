#include <gtest/gtest.h>

#include "platform/core/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/GfxErrors.h"
#include "platform/gfx/Graphics.h"
#include "platform/stream/Stream.h"

namespace ld {
namespace {

COLORREF At(TBitmap& b, Integer x, Integer y)
{
    return PixelToColorRef(b.Surface().Pixel(x, y));
}

TEST(Font, SizeAndHeightAt96PixelsPerInchAndChangeNotices)
{
    TFont font;
    EXPECT_EQ(font.GetName(), "MS Sans Serif");
    EXPECT_EQ(font.GetHeight(), -11);
    EXPECT_EQ(font.GetSize(), 8);
    EXPECT_EQ(font.GetColor(), clWindowText);
    int changes = 0;
    font.SetOnChange(TNotifyEvent::Lambda([&](TObject*) { ++changes; }));
    font.SetSize(10);
    EXPECT_EQ(font.GetHeight(), -13);
    font.SetSize(10); // unchanged: no notice
    font.SetStyle({fsBold, fsUnderline});
    font.SetColor(clNavy);
    font.SetName("Courier New");
    EXPECT_EQ(changes, 4);
    LOGFONT lf = font.LogFont();
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfUnderline);
    TFont copy;
    copy.Assign(&font);
    EXPECT_EQ(copy.GetHeight(), -13);
    EXPECT_EQ(copy.GetStyle(), (TFontStyles{fsBold, fsUnderline}));
    EXPECT_THROW(copy.Assign(nullptr), EConvertError);
}

TEST(Font, PublishesItsPropertiesAndTheColourNamesAreRegistered)
{
    const TClass info = TFont::StaticClass();
    for (const char* name : {"Charset", "Color", "Height", "Name", "Pitch", "Size", "Style"})
        EXPECT_NE(info->FindProperty(name), nullptr) << name;
    EXPECT_FALSE(info->FindProperty("Size")->IsStored(nullptr));
    const TIntegerIdents* colours = FindIntegerConsts("TColor");
    ASSERT_NE(colours, nullptr);
    Integer value = 0;
    EXPECT_TRUE(colours->IdentToInt("clBtnFace", value));
    EXPECT_EQ(value, clBtnFace);
    std::string name;
    EXPECT_TRUE(colours->IntToIdent(clNavy, name));
    EXPECT_EQ(name, "clNavy");
    EXPECT_EQ(ColorToString(0x123456), "$00123456");
    EXPECT_EQ(StringToColor("clWhite"), clWhite);
    EXPECT_EQ(StringToColor("$00800000"), clNavy);
    EXPECT_EQ(StringToColor("-2147483633"), clBtnFace);
    EXPECT_THROW(StringToColor("clNoSuchColour"), std::invalid_argument);
}

TEST(Colors, SystemPaletteAndPlainValues)
{
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(192, 192, 192));
    EXPECT_EQ(ColorToRGB(clBtnShadow), RGB(128, 128, 128));
    EXPECT_EQ(ColorToRGB(clBtnHighlight), RGB(255, 255, 255));
    EXPECT_EQ(ColorToRGB(clWindow), RGB(255, 255, 255));
    EXPECT_EQ(ColorToRGB(clWindowText), RGB(0, 0, 0));
    EXPECT_EQ(ColorToRGB(clNavy), RGB(0, 0, 128));
    EXPECT_EQ(ColorToRGB(PaletteRGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(ColorToRGB(TColor(clSystemColor | 200)), RGB(0, 0, 0));
}

TEST(Canvas, PenBrushAndFontChangesReachTheDeviceContext)
{
    TBitmap bitmap(40, 20);
    TCanvas* canvas = bitmap.GetCanvas();
    canvas->GetBrush()->SetColor(clBtnFace);
    canvas->FillRect(Rect(0, 0, 40, 20));
    EXPECT_EQ(At(bitmap, 39, 19), RGB(192, 192, 192));
    canvas->GetPen()->SetColor(clRed);
    canvas->MoveTo(0, 0);
    canvas->LineTo(10, 0);
    canvas->GetPen()->SetColor(clBlue); // after the DC already holds the red pen
    canvas->LineTo(10, 5);
    EXPECT_EQ(At(bitmap, 9, 0), RGB(255, 0, 0));
    EXPECT_EQ(At(bitmap, 10, 0), RGB(0, 0, 255));
    EXPECT_EQ(At(bitmap, 10, 5), RGB(192, 192, 192)); // end point left out
    EXPECT_EQ(canvas->GetPenPos(), Point(10, 5));
    canvas->GetBrush()->SetColor(clYellow);
    canvas->Rectangle(20, 2, 30, 12);
    EXPECT_EQ(At(bitmap, 25, 7), RGB(255, 255, 0));
    EXPECT_EQ(At(bitmap, 20, 2), RGB(0, 0, 255));
    EXPECT_EQ(At(bitmap, 30, 12), RGB(192, 192, 192));
}

TEST(Canvas, TextUsesTheFontColourAndTheBrushAsBackground)
{
    TBitmap bitmap(80, 20);
    TCanvas* canvas = bitmap.GetCanvas();
    canvas->GetFont()->SetColor(clRed);
    canvas->GetBrush()->SetColor(clBlue);
    canvas->TextOut(2, 2, "Hi");
    const Integer w = canvas->TextWidth("Hi"), h = canvas->TextHeight("Hi");
    EXPECT_GT(w, 0);
    EXPECT_EQ(canvas->GetPenPos(), Point(2 + w, 2));
    int red = 0, blue = 0;
    for (Integer y = 2; y < 2 + h; ++y)
        for (Integer x = 2; x < 2 + w; ++x) {
            red += At(bitmap, x, y) == RGB(255, 0, 0);
            blue += At(bitmap, x, y) == RGB(0, 0, 255);
        }
    EXPECT_GT(red, 5);
    EXPECT_GT(blue, 5);
    EXPECT_EQ(red + blue, w * h); // the whole cell: ink or background
    // A clear brush leaves the background alone.
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->TextOut(40, 2, "Hi");
    EXPECT_EQ(At(bitmap, 40, 2), RGB(255, 255, 255));
}

TEST(Canvas, CopyRectAndDrawBetweenBitmaps)
{
    TBitmap tab(10, 5);
    tab.GetCanvas()->GetBrush()->SetColor(clNavy);
    tab.GetCanvas()->FillRect(Rect(0, 0, 10, 5));
    TBitmap target(30, 30);
    target.GetCanvas()->CopyRect(Rect(5, 5, 15, 10), tab.GetCanvas(), Rect(0, 0, 10, 5));
    EXPECT_EQ(At(target, 5, 5), RGB(0, 0, 128));
    EXPECT_EQ(At(target, 14, 9), RGB(0, 0, 128));
    EXPECT_EQ(At(target, 15, 9), RGB(255, 255, 255));
    tab.SetTransparent(true);
    tab.GetCanvas()->GetPen()->SetColor(clRed);
    tab.GetCanvas()->MoveTo(0, 0);
    tab.GetCanvas()->LineTo(10, 0);
    tab.SetTransparentColor(clNavy);
    target.GetCanvas()->Draw(0, 20, &tab);
    EXPECT_EQ(At(target, 3, 20), RGB(255, 0, 0));
    EXPECT_EQ(At(target, 3, 21), RGB(255, 255, 255)); // navy left out
}

TEST(Canvas, WithoutAHandleDrawingIsRefused)
{
    TCanvas canvas;
    EXPECT_THROW(canvas.FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);
    TBitmap bitmap(4, 4);
    canvas.SetHandle(bitmap.GetCanvas()->GetHandle());
    canvas.GetBrush()->SetColor(clBlack);
    canvas.FillRect(Rect(0, 0, 2, 2));
    EXPECT_EQ(At(bitmap, 1, 1), RGB(0, 0, 0));
    canvas.SetHandle(nullptr);
}

TEST(Bitmap, ResizingKeepsPixelsAndTheCanvasFollows)
{
    TBitmap bitmap;
    EXPECT_TRUE(bitmap.Empty());
    bitmap.SetWidth(4);
    bitmap.SetHeight(3);
    bitmap.GetCanvas()->GetBrush()->SetColor(clRed);
    bitmap.GetCanvas()->FillRect(Rect(0, 0, 4, 3));
    int changes = 0;
    bitmap.SetOnChange(TNotifyEvent::Lambda([&](TObject*) { ++changes; }));
    bitmap.SetSize(8, 6);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(At(bitmap, 3, 2), RGB(255, 0, 0));
    EXPECT_EQ(At(bitmap, 4, 2), RGB(255, 255, 255));
    bitmap.GetCanvas()->FillRect(Rect(0, 0, 8, 6)); // the grown part is drawable
    EXPECT_EQ(At(bitmap, 7, 5), RGB(255, 0, 0));
    EXPECT_THROW(bitmap.SetWidth(-1), EOutOfResources);
    EXPECT_THROW(bitmap.SetSize(100000, 100000), EOutOfResources);
    EXPECT_EQ(bitmap.GetWidth(), 8);
}

TEST(Bitmap, FilesAndStreamsRoundTrip)
{
    TBitmap bitmap(5, 3);
    bitmap.GetCanvas()->SetPixel(1, 1, clLime);
    for (bool png : {false, true}) {
        const std::vector<uint8_t> bytes = bitmap.SaveToBytes(png);
        TBitmap back;
        back.LoadFromBytes(bytes.data(), bytes.size());
        EXPECT_EQ(back.GetWidth(), 5);
        EXPECT_EQ(At(back, 1, 1), RGB(0, 255, 0));
    }
    TMemoryStream stream;
    bitmap.SaveToStream(&stream);
    const Int64 bmpSize = stream.GetSize();
    const char trailer[] = "after";
    stream.WriteBuffer(trailer, 5);
    stream.SetPosition(0);
    TBitmap fromStream;
    fromStream.LoadFromStream(&stream);
    EXPECT_EQ(stream.GetPosition(), bmpSize); // reads its own bytes, not the trailer
    EXPECT_EQ(At(fromStream, 1, 1), RGB(0, 255, 0));
    const uint8_t junk[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_THROW(fromStream.LoadFromBytes(junk, sizeof junk), EInvalidGraphic);
    EXPECT_THROW(TBitmap().SaveToBytes(), EInvalidGraphicOperation);
}

} // namespace
} // namespace ld
