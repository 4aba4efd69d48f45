// Painting: the hot item's outline and full-select band in each state, corner
// pixel by corner pixel, the three drop-marker shapes pixel by pixel, the
// design-time frame, and colours that follow the parent. A failing test
// writes what the screen showed as a PNG into the test output folder.
#include "tests/list/ListTestSupport.h"

#include <set>
#include <utility>

#include "platform/gfx/Colors.h"

namespace ld::test {
namespace {

constexpr TColor IconColor = 0x0000A000; // a green no frame or band uses

class ListPaintTest : public ListTest {
protected:
    void TearDown() override
    {
        ListDropState() = TListDropState();
        if (HasFailure()) {
            const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
            Backend->SaveWindowShot(Form->GetHandle(), OutputPath("list_paint_" + name + ".png"));
        }
        ListTest::TearDown();
    }
    // A list of three items with green 32 x 32 icons on a form of colour Color.
    TShortcutList* IconList(TColor color = 0x00808080)
    {
        Form->SetColor(color);
        TShortcutList* list = AddList(120, 260);
        list->SetLargeImages(MakeImages(32, {IconColor}));
        AddItems(list, {"One", "Two", "Three"});
        Backend->RunUntilIdle();
        return list;
    }
    TShortcutList* BandList()
    {
        TShortcutList* list = AddBarList({soFlatTabs, soButtonItems});
        list->SetLargeImages(MakeImages(32, {IconColor}));
        AddItems(list, {"One", "Two", "Three"});
        Backend->RunUntilIdle();
        return list;
    }
    static COLORREF Rgb(TColor color) { return ColorToRGB(color) & 0x00FFFFFF; }
};

struct TCorners {
    COLORREF TopLeft, TopRight, BottomLeft, BottomRight;
};

TCorners CornersOf(TControl* control, const TRect& r)
{
    return {ScreenPixel(control, r.Left, r.Top), ScreenPixel(control, r.Right - 1, r.Top),
            ScreenPixel(control, r.Left, r.Bottom - 1), ScreenPixel(control, r.Right - 1, r.Bottom - 1)};
}

TEST_F(ListPaintTest, TheHotItemsOutlineIsRaisedOrSunkenInTheDerivedColoursAndMovesNothing)
{
    TShortcutList* list = IconList();
    TShortcutItem* item = list->GetItems()->GetItem(1);
    const TRect frame = list->GetHighlightRect(item);
    EXPECT_EQ(frame, list->GetIconRect(item, true));
    const COLORREF shadow = RGB(0x40, 0x40, 0x40);
    const COLORREF highlight = RGB(0xC0, 0xC0, 0xC0);
    const COLORREF back = RGB(0x80, 0x80, 0x80);
    // No state yet: nothing drawn around the icon.
    list->SetActiveItem(item);
    EXPECT_EQ(Pixel(list, frame.Left, frame.Top), back);
    list->SetActiveState(siUp);
    TCorners c = CornersOf(list, frame);
    EXPECT_EQ(c.TopLeft, highlight);
    EXPECT_EQ(c.BottomLeft, highlight) << "the first pen owns the bottom-left corner";
    EXPECT_EQ(c.TopRight, shadow);
    EXPECT_EQ(c.BottomRight, shadow);
    EXPECT_EQ(Pixel(list, frame.Left + 1, frame.Top + 1), back);
    EXPECT_EQ(Pixel(list, item->GetLeft(), item->GetTop()), RGB(0, 0xA0, 0));
    list->SetActiveState(siDown);
    c = CornersOf(list, frame);
    EXPECT_EQ(c.TopLeft, shadow);
    EXPECT_EQ(c.BottomLeft, shadow);
    EXPECT_EQ(c.TopRight, highlight);
    EXPECT_EQ(c.BottomRight, highlight);
    EXPECT_EQ(Pixel(list, item->GetLeft(), item->GetTop()), RGB(0, 0xA0, 0)) << "the icon does not move";
    EXPECT_EQ(list->GetShadowColor(), TColor(0x02404040));
    // Another hot item: the old frame goes.
    list->SetActiveItem(list->GetItems()->GetItem(0));
    EXPECT_EQ(Pixel(list, frame.Left, frame.Top), back);
}

TEST_F(ListPaintTest, TheFullSelectBandIsRaisedOrSunkenAndPressedMovesIconAndCaption)
{
    TShortcutList* list = BandList();
    TShortcutItem* item = list->GetItems()->GetItem(1);
    const TRect band = list->GetHighlightRect(item);
    const COLORREF white = RGB(255, 255, 255), grey = RGB(128, 128, 128), face = RGB(192, 192, 192);
    const COLORREF green = RGB(0, 0xA0, 0);
    list->SetActiveItem(item);
    list->SetActiveState(siUp);
    TCorners c = CornersOf(list, band);
    EXPECT_EQ(c.TopLeft, white);
    EXPECT_EQ(c.TopRight, grey);
    EXPECT_EQ(c.BottomLeft, grey) << "here the second pen owns the bottom-left corner";
    EXPECT_EQ(c.BottomRight, grey);
    EXPECT_EQ(Pixel(list, band.Left + 1, band.Top + 1), face);
    EXPECT_EQ(Pixel(list, band.Right - 2, band.Bottom - 2), face);
    EXPECT_EQ(Pixel(list, item->GetLeft(), item->GetTop()), green);
    // The neighbour's band starts on the next row, in the list's colour.
    EXPECT_EQ(Pixel(list, band.Left, band.Bottom), Rgb(list->GetColor()));
    // The caption is black on the face.
    const TRect text = list->GetTextRect(item);
    std::set<COLORREF> captionColors;
    for (Integer y = text.Top; y < text.Bottom; ++y)
        for (Integer x = text.Left; x < text.Right; ++x)
            captionColors.insert(Pixel(list, x, y));
    EXPECT_EQ(captionColors, (std::set<COLORREF>{face, RGB(0, 0, 0)}));

    list->SetActiveState(siDown);
    c = CornersOf(list, band);
    EXPECT_EQ(c.TopLeft, grey);
    EXPECT_EQ(c.TopRight, white);
    EXPECT_EQ(c.BottomLeft, white);
    EXPECT_EQ(c.BottomRight, white);
    EXPECT_EQ(Pixel(list, item->GetLeft(), item->GetTop()), face) << "the icon moved right and down";
    EXPECT_EQ(Pixel(list, item->GetLeft() + 32, item->GetTop() + 32), green);

    // Pressed, then the pointer left: no band, but still a black caption on the face.
    list->SetActiveState(siNone);
    const COLORREF back = Rgb(list->GetColor());
    EXPECT_EQ(Pixel(list, band.Left, band.Top), back);
    EXPECT_EQ(Pixel(list, band.Left + 1, band.Top + 1), back);
    EXPECT_EQ(Pixel(list, item->GetLeft(), item->GetTop()), green);
    std::set<COLORREF> unpressed;
    for (Integer y = text.Top; y < text.Bottom; ++y)
        for (Integer x = text.Left; x < text.Right; ++x)
            unpressed.insert(Pixel(list, x, y));
    EXPECT_EQ(unpressed, (std::set<COLORREF>{face, RGB(0, 0, 0)}));
}

// The black pixels a drop marker at Rect should show, within Rect grown by 5.
std::set<std::pair<Integer, Integer>> MarkerPixels(const TRect& r, bool shown, bool lowerHalves)
{
    std::set<std::pair<Integer, Integer>> pixels;
    if (!shown)
        return pixels;
    const Integer y = r.Top + (r.Bottom - r.Top) / 2;
    for (Integer x = r.Left; x < r.Right; ++x)
        pixels.insert({x, y});
    for (Integer i = 0; i < 8; ++i) {
        const Integer h = 4 - i / 2;
        for (Integer d = 1; d <= h; ++d)
            for (Integer x : {r.Left + i, r.Right - 1 - i}) {
                pixels.insert({x, y - d});
                if (lowerHalves)
                    pixels.insert({x, y + d});
            }
    }
    return pixels;
}

// Every pixel around Rect inside the client: black exactly where expected.
void ExpectMarker(TShortcutList* list, const TRect& r, bool shown, bool lowerHalves = true)
{
    const auto expected = MarkerPixels(r, shown, lowerHalves);
    Integer wrong = 0;
    for (Integer y = std::max<Integer>(r.Top - 5, 0); y < r.Bottom + 5; ++y)
        for (Integer x = 0; x < list->GetClientWidth(); ++x) {
            const bool black = ScreenPixel(list, x, y) == RGB(0, 0, 0);
            if (black != (expected.count({x, y}) > 0) && ++wrong <= 5)
                ADD_FAILURE() << "pixel " << x << "," << y << (black ? " is black" : " is not black");
        }
    EXPECT_EQ(wrong, 0);
}

TEST_F(ListPaintTest, TheDropMarkerHasItsThreeShapes)
{
    TShortcutList* list = IconList(clBtnFace);
    TShortcutItem* second = list->GetItems()->GetItem(1);
    const Integer w = list->GetClientWidth();
    // Between two items: a line with arrowheads pointing inward at both ends.
    const TRect between{0, second->GetTop() - 12, w, second->GetTop()};
    SetDropMark(list, second, 1, between);
    ExpectMarker(list, between, true, true);
    // After the last item: only the upper halves.
    const Integer bottom = list->GetItemRect(list->GetItems()->GetItem(2)).Bottom;
    const TRect after{0, bottom, w, bottom + 12};
    SetDropMark(list, nullptr, 2, after);
    ExpectMarker(list, after, true, false);
    ExpectMarker(list, between, false); // the old marker is gone
    // Kind 0 shows nothing.
    SetDropMark(list, nullptr, 0, between);
    ExpectMarker(list, after, false);
    ExpectMarker(list, between, false);
    // An empty list: both halves at y = 0, the upper ones outside.
    list->GetItems()->Clear();
    const TRect empty{0, 6 - 12, w, 6};
    SetDropMark(list, nullptr, 2, empty);
    ExpectMarker(list, empty, true, true);
}

TEST_F(ListPaintTest, DesignTimeShowsADottedFrameAndRunTimeNone)
{
    TShortcutList* running = IconList(clBtnFace);
    for (Integer x = 0; x < running->GetClientWidth(); ++x)
        ASSERT_EQ(Pixel(running, x, 0), RGB(192, 192, 192)) << x;
    Form->SetDesigning(true);
    auto* designed = new TShortcutList(Form);
    designed->SetParent(Form);
    designed->SetBounds(200, 10, 80, 80);
    Backend->RunUntilIdle();
    Repaint(designed);
    Integer black = 0, other = 0;
    for (Integer x = 0; x < 80; ++x)
        (Pixel(designed, x, 0) == RGB(0, 0, 0) ? black : other)++;
    EXPECT_GT(black, 10);
    EXPECT_GT(other, 10) << "dotted, not solid";
    EXPECT_EQ(Pixel(designed, 79, 79) == RGB(0, 0, 0) || Pixel(designed, 79, 78) == RGB(0, 0, 0), true);
    EXPECT_EQ(Pixel(designed, 40, 40), RGB(192, 192, 192));
    delete designed;
    Form->SetDesigning(false);
}

// A list scrolled some items and part of one more shows, pixel for pixel, what
// a taller list of the same items shows lower down, where the paint needs no
// search for its first item and no end to its walk: in both styles, with the
// full-select band or not, the partly hidden top item hot and pressed, after a
// full paint and after a repaint of one thin strip after another.
TEST_F(ListPaintTest, AScrolledListShowsWhatATallerListShowsAtTheSameItems)
{
    Form->SetBounds(0, 0, 600, 760);
    const std::vector<std::string> captions{"Mail", "", "A caption long enough to wrap", "&&x", "Notes"};
    for (const bool fullSelect : {false, true}) {
        for (const TShortcutStyle style : {ssLargeImages, ssSmallImages}) {
            // On a bar, the bar is what is placed and freed.
            auto holder = [fullSelect](TShortcutList* list) -> TControl* {
                return fullSelect ? list->GetParent()->GetParent() : list;
            };
            auto makeList = [&](Integer left, Integer height) {
                TShortcutList* list =
                    fullSelect ? AddBarList({soFlatTabs, soButtonItems}, 1, height) : AddList(120, height);
                TControl* placed = holder(list);
                if (fullSelect) {
                    placed->SetName("Bar" + std::to_string(left));
                    list->GetParent()->SetName("Sheet" + std::to_string(left));
                }
                placed->SetBounds(left, 10, placed->GetWidth(), placed->GetHeight());
                list->SetStyle(style);
                list->SetLargeImages(MakeImages(32, {IconColor, clBlue}));
                list->SetSmallImages(MakeImages(16, {IconColor, clBlue}));
                for (Integer i = 0; i < 20; ++i) {
                    TShortcutItem* item = list->GetItems()->Add();
                    item->SetCaption(captions[i % captions.size()]);
                    item->SetImageIndex(i % 2);
                }
                return list;
            };
            TShortcutList* scrolled = makeList(10, 240);
            for (int step = 0; step < 3; ++step)
                scrolled->DownButtonClick(nullptr);
            scrolled->ScrollItems(-17);
            const Integer shift = scrolled->GetScrollOffset();
            TShortcutList* tall = makeList(250, 300 - shift);
            TShortcutItems* items = scrolled->GetItems();
            Integer partial = 0;
            while (scrolled->GetItemRect(items->GetItem(partial)).Bottom <= 0)
                ++partial;
            const std::string name = std::string(fullSelect ? "full-select " : "") + (style ? "small" : "large");
            const Integer width = scrolled->GetClientWidth() - scrolled->GetUpButton()->GetWidth();
            const Integer height = scrolled->GetClientHeight();
            ASSERT_EQ(tall->GetClientWidth(), scrolled->GetClientWidth()) << name;
            auto differing = [&] {
                int count = 0;
                for (Integer y = 0; y < height; ++y)
                    for (Integer x = 0; x < width; ++x)
                        count += Pixel(scrolled, x, y) != Pixel(tall, x, y - shift);
                return count;
            };
            // The partly hidden item, then one whose frame or band reaches
            // above its top from below the strips it is tried against.
            for (const Integer hot : {partial, partial + 2}) {
                for (TShortcutList* list : {scrolled, tall}) {
                    list->SetActiveItem(list->GetItems()->GetItem(hot));
                    list->SetActiveState(siDown);
                    Repaint(list);
                }
                EXPECT_EQ(differing(), 0) << name << ", item " << hot << " hot, full paint";
                for (Integer top = 0; top < height; top += 4) {
                    const TRect strip{0, top, width, top + 3};
                    InvalidateRect(scrolled->GetHandle(), &strip, false);
                    UpdateWindow(scrolled->GetHandle());
                }
                EXPECT_EQ(differing(), 0) << name << ", item " << hot << " hot, in strips";
            }
            if (HasFailure())
                return;
            delete holder(scrolled);
            delete holder(tall);
        }
    }
}

TEST_F(ListPaintTest, ColoursFollowTheParentAndAMissingImageLeavesTheCaptionInPlace)
{
    TShortcutList* list = IconList(0x00FFFFFF);
    EXPECT_EQ(list->GetShadowColor(), TColor(0x02808080));
    Form->SetColor(0x00808080);
    Backend->RunUntilIdle();
    EXPECT_EQ(list->GetColor(), TColor(0x00808080));
    EXPECT_EQ(list->GetShadowColor(), TColor(0x02404040));
    EXPECT_EQ(Pixel(list, 1, 1), RGB(0x80, 0x80, 0x80));
    TShortcutItem* item = list->GetItems()->GetItem(0);
    const TRect text = list->GetTextRect(item);
    item->SetImageIndex(5);
    Backend->RunUntilIdle();
    EXPECT_EQ(Pixel(list, item->GetLeft() + 5, item->GetTop() + 5), RGB(0x80, 0x80, 0x80));
    EXPECT_EQ(list->GetTextRect(item), text);
    bool white = false;
    for (Integer y = text.Top; y < text.Bottom; ++y)
        for (Integer x = text.Left; x < text.Right; ++x)
            white = white || Pixel(list, x, y) == RGB(255, 255, 255);
    EXPECT_TRUE(white) << "the caption is drawn in the list's white font";
}

} // namespace
} // namespace ld::test
