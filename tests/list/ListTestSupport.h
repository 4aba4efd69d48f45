// Helpers of the list tests: lists on the form or on a sheet of a bar, image
// lists of plainly coloured icons, and the pixels a list shows.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "controls/list/ShortcutList.h"
#include "platform/gfx/Graphics.h"
#include "tests/bar/BarTestSupport.h"

namespace ld::test {

class ListTest : public BarTest {
protected:
    // Every read of the clock moves it 1 ms, so an animated scroll, which
    // waits for the clock to move, ends after a known number of frames.
    void SetUp() override
    {
        BarTest::SetUp();
        TickSource::SetStep(1);
    }

    // A list directly on the form (no sheet), with a client of Width x Height.
    TShortcutList* AddList(Integer width = 120, Integer height = 200)
    {
        auto* list = new TShortcutList(Form);
        list->SetParent(Form);
        list->SetBounds(10, 10, width, height);
        list->HandleNeeded();
        Backend->RunUntilIdle();
        return list;
    }
    // A bar whose first sheet holds a list; the bar's client is 150 x Height.
    TShortcutList* AddBarList(TShortcutOptions options, Integer sheets = 1, Integer height = 300)
    {
        TLaunchdeck* bar = AddBar(sheets);
        bar->SetOptions(options);
        SetClient(bar, 150, height);
        TShortcutList* list = bar->GetSheet(0)->NewList();
        bar->SetActiveSheet(bar->GetSheet(0));
        Backend->RunUntilIdle();
        return list;
    }
    static void AddItems(TShortcutList* list, const std::vector<std::string>& captions)
    {
        for (const std::string& caption : captions)
            list->GetItems()->Add()->SetCaption(caption);
    }
    // Count icons of Size, icon I filled with the colour $00RRGGBB = Colors[I].
    TImageList* MakeImages(Integer size, const std::vector<TColor>& colors)
    {
        auto* images = new TImageList(Form, size, size);
        for (TColor color : colors) {
            TBitmap bitmap(size, size);
            bitmap.GetCanvas()->GetBrush()->SetColor(color);
            bitmap.GetCanvas()->FillRect({0, 0, size, size});
            images->AddMasked(&bitmap, clFuchsia);
        }
        return images;
    }
};

// The screen pixel at a client point of a control.
inline COLORREF ScreenPixel(TControl* control, Integer x, Integer y)
{
    const TPoint p = control->ClientToScreen({x, y});
    return PixelToColorRef(GetScreenSurface().Pixel(p.X, p.Y));
}

inline bool SameSurface(const TSurface& a, const TSurface& b)
{
    return a.Width() == b.Width() && a.Height() == b.Height() &&
           std::equal(a.Pixels(), a.Pixels() + size_t(a.Width()) * size_t(a.Height()), b.Pixels());
}

} // namespace ld::test
