// The list: laying out and hit testing 1,000 items, a full paint and a hot-item
// repaint of a 300 x 800 list, writing and reading 10,000 items in the binary
// form, the frames of a one-item scroll on the real clock, and pointer moves
// through the queue: hot tracking and an item drag. At 10,000 items: filling
// the list inside one update, clearing it inside one and freeing it, and a
// paint and hot tracking scrolled to the end.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "controls/list/ShortcutList.h"
#include "controls/shared/AnimationTicks.h"
#include "controls/shared/ShortcutButton.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/gfx/Graphics.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Stream.h"
#include "platform/stream/Writer.h"
#include "platform/vcl/DragDrop.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Paint.h"

namespace ld {
namespace {

// Captions of one to three words, by turns.
std::string Caption(int i)
{
    static const char* const words[] = {"Mail", "Calendar", "Notes", "Projects", "Tasks", "Archive", "Contacts"};
    std::string caption = words[i % 7];
    for (int w = 1; w <= i % 3; ++w)
        caption += std::string(" ") + words[(i + w * 3) % 7];
    return caption;
}

struct TListScene {
    explicit TListScene(int items, bool icons = false)
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 340, 860);
        Form->Show();
        List = new TShortcutList(Form);
        List->SetParent(Form);
        List->SetBounds(0, 0, 300, 800);
        if (icons) {
            auto* images = new TImageList(Form, 32, 32);
            TBitmap icon(32, 32);
            icon.GetCanvas()->GetBrush()->SetColor(clTeal);
            icon.GetCanvas()->FillRect({4, 4, 28, 28});
            images->AddMasked(&icon, clWhite);
            List->SetLargeImages(images);
        }
        TShortcutItems* collection = List->GetItems();
        collection->BeginUpdate();
        for (int i = 0; i < items; ++i)
            collection->Add()->SetCaption(Caption(i));
        collection->EndUpdate();
        Backend.RunUntilIdle();
    }
    ~TListScene() { delete Form; }
    // The last item in view and the top item on the top line, as the down
    // arrow leaves the list when it has stepped as far as it goes.
    bool ScrollToEnd()
    {
        TShortcutItems* items = List->GetItems();
        const Integer halfGap = List->GetItemGap() / 2;
        const Integer lastBottom = List->GetItemRect(items->GetItem(items->GetCount() - 1)).Bottom;
        const Integer bottomLine = List->GetClientHeight() - halfGap;
        Integer top = items->GetCount() - 1;
        while (top > 0 && lastBottom + halfGap - items->GetItem(top - 1)->GetTop() < bottomLine)
            --top;
        List->ScrollItems(halfGap - items->GetItem(top)->GetTop());
        List->SetScrollButtons();
        Backend.RunUntilIdle();
        return List->GetTopItem() == items->GetItem(top) && !List->GetDownButton()->GetVisible();
    }
    THeadlessBackend Backend;
    TForm* Form;
    TShortcutList* List;
};

void BM_ListLayout1000(benchmark::State& state)
{
    TListScene scene(1000);
    for (auto _ : state)
        scene.List->LayoutChanged();
}
BENCHMARK(BM_ListLayout1000)->Unit(benchmark::kMicrosecond);

void BM_ListItemAt1000(benchmark::State& state)
{
    TListScene scene(1000);
    TShortcutItem* last = scene.List->GetItems()->GetItem(999);
    const TRect r = scene.List->GetItemRect(last);
    for (auto _ : state)
        benchmark::DoNotOptimize(scene.List->GetItemAt(r.Left + 1, r.Bottom - 1));
    if (scene.List->GetItemAt(r.Left + 1, r.Bottom - 1) != last)
        state.SkipWithError("missed the last item");
}
BENCHMARK(BM_ListItemAt1000)->Unit(benchmark::kMicrosecond);

void FullPaints(benchmark::State& state, TListScene& scene)
{
    HWND window = scene.List->GetHandle();
    for (auto _ : state) {
        InvalidateRect(window, nullptr, false);
        UpdateWindow(window);
    }
}

void BM_ListFullPaint(benchmark::State& state)
{
    TListScene scene(200, true);
    FullPaints(state, scene);
}
BENCHMARK(BM_ListFullPaint)->Unit(benchmark::kMicrosecond);

void BM_ListFullPaint10000(benchmark::State& state)
{
    TListScene scene(10000, true);
    if (!scene.ScrollToEnd())
        state.SkipWithError("not scrolled to the end");
    FullPaints(state, scene);
}
BENCHMARK(BM_ListFullPaint10000)->Unit(benchmark::kMicrosecond);

// 10,000 items, each added and given its caption inside one update, then the
// list shown: the update's end lays out and the paint that follows.
void BM_ListAdd10000InUpdate(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto scene = std::make_unique<TListScene>(0, true);
        TShortcutItems* items = scene->List->GetItems();
        state.ResumeTiming();
        items->BeginUpdate();
        for (int i = 0; i < 10000; ++i)
            items->Add()->SetCaption(Caption(i));
        items->EndUpdate();
        UpdateWindow(scene->List->GetHandle());
        state.PauseTiming();
        if (!scene->List->GetDownButton()->GetVisible())
            state.SkipWithError("the list was not laid out");
        scene.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ListAdd10000InUpdate)->Unit(benchmark::kMillisecond);

// A list of 10,000 items freed, and the same items cleared inside an update
// (as an assignment does before it copies): each item leaves in constant time.
void BM_ListFree10000(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto scene = std::make_unique<TListScene>(10000);
        state.ResumeTiming();
        delete scene->List;
        state.PauseTiming();
        scene.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ListFree10000)->Unit(benchmark::kMillisecond);

void BM_ListClear10000InUpdate(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto scene = std::make_unique<TListScene>(10000);
        TShortcutItems* items = scene->List->GetItems();
        state.ResumeTiming();
        items->BeginUpdate();
        items->Clear();
        items->EndUpdate();
        state.PauseTiming();
        if (items->GetCount() != 0)
            state.SkipWithError("the items were not cleared");
        scene.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ListClear10000InUpdate)->Unit(benchmark::kMillisecond);

void BM_ListHotItemRepaint(benchmark::State& state)
{
    TListScene scene(200, true);
    TShortcutItems* items = scene.List->GetItems();
    scene.List->SetActiveItem(items->GetItem(3));
    scene.List->SetActiveState(siUp);
    int hot = 3;
    for (auto _ : state) {
        hot = hot == 3 ? 4 : 3;
        scene.List->SetActiveItem(items->GetItem(hot));
    }
}
BENCHMARK(BM_ListHotItemRepaint)->Unit(benchmark::kMicrosecond);

// Out of line, so that instruction counts can be taken per move.
[[gnu::noinline]] void MovePointerAndSettle(THeadlessBackend& backend, TPoint p)
{
    backend.MoveTo(p.X, p.Y);
    backend.RunUntilIdle();
}

TPoint IconCentreOnScreen(TShortcutList* list, Integer index)
{
    const TRect r = list->GetIconRect(list->GetItems()->GetItem(index), false);
    return list->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
}

// One pointer move from item First to the next one or back: the queue, the
// hit test, the hot item's change and the repaint of both.
void HotTrackMoves(benchmark::State& state, TListScene& scene, Integer first)
{
    const TPoint points[2] = {IconCentreOnScreen(scene.List, first), IconCentreOnScreen(scene.List, first + 1)};
    int next = 0;
    for (auto _ : state) {
        MovePointerAndSettle(scene.Backend, points[next]);
        next = 1 - next;
    }
    if (scene.List->GetActiveItem() != scene.List->GetItems()->GetItem(first + (1 - next)))
        state.SkipWithError("the hot item did not follow the pointer");
}

void BM_ListHotTrackMove(benchmark::State& state)
{
    TListScene scene(200, true);
    HotTrackMoves(state, scene, 3);
}
BENCHMARK(BM_ListHotTrackMove)->Unit(benchmark::kMicrosecond);

void BM_ListHotTrackMove10000(benchmark::State& state)
{
    TListScene scene(10000, true);
    if (!scene.ScrollToEnd())
        state.SkipWithError("not scrolled to the end");
    HotTrackMoves(state, scene, 9997);
}
BENCHMARK(BM_ListHotTrackMove10000)->Unit(benchmark::kMicrosecond);

// One pointer move during an item drag, between the gap above item 6 (the
// marker drawn) and item 6's icon (no drop: every item tested, the marker
// erased): the drag's hit test, the drop position and the marker's repaint.
void BM_ItemDragOver(benchmark::State& state)
{
    TListScene scene(200, true);
    TShortcutList* list = scene.List;
    const TPoint start = IconCentreOnScreen(list, 0);
    MovePointerAndSettle(scene.Backend, start);
    scene.Backend.Press();
    MovePointerAndSettle(scene.Backend, {start.X, start.Y + 6});
    if (!ListDropState().ItemDragging) {
        state.SkipWithError("the drag did not start");
        return;
    }
    const TRect sixth = list->GetItemRect(list->GetItems()->GetItem(6));
    const TPoint points[2] = {list->ClientToScreen({sixth.Left + 2, sixth.Top - 3}), IconCentreOnScreen(list, 6)};
    int next = 0;
    for (auto _ : state) {
        MovePointerAndSettle(scene.Backend, points[next]);
        next = 1 - next;
    }
    const Integer expected = next == 1 ? 1 : 0;
    if (ListDropState().DropKind != expected)
        state.SkipWithError("the drop position did not follow the pointer");
    scene.Backend.Release();
    scene.Backend.RunUntilIdle();
}
BENCHMARK(BM_ItemDragOver)->Unit(benchmark::kMicrosecond);

constexpr int StoredItems = 10000;

std::unique_ptr<TShortcutList> StoredList()
{
    auto list = std::make_unique<TShortcutList>(nullptr);
    list->SetName("List");
    for (int i = 0; i < StoredItems; ++i) {
        TShortcutItem* item = list->GetItems()->Add();
        item->SetCaption(Caption(i));
        item->SetImageIndex(i % 12);
        item->SetTag(i);
    }
    return list;
}

void BM_ItemsWrite10000(benchmark::State& state)
{
    std::unique_ptr<TShortcutList> list = StoredList();
    for (auto _ : state) {
        TMemoryStream stream;
        WriteComponentToStream(&stream, list.get());
        benchmark::DoNotOptimize(stream.GetSize());
    }
    state.SetItemsProcessed(state.iterations() * StoredItems);
}
BENCHMARK(BM_ItemsWrite10000)->Unit(benchmark::kMillisecond);

void BM_ItemsRead10000(benchmark::State& state)
{
    TMemoryStream stored;
    WriteComponentToStream(&stored, StoredList().get());
    for (auto _ : state) {
        stored.SetPosition(0);
        auto* list = new TShortcutList(nullptr);
        ReadComponentFromStream(&stored, list);
        state.PauseTiming();
        if (list->GetItems()->GetCount() != StoredItems)
            state.SkipWithError("items lost");
        delete list;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * StoredItems);
}
BENCHMARK(BM_ItemsRead10000)->Unit(benchmark::kMillisecond);

// One whole one-item scroll per iteration, down and up by turns, on the real
// clock: the frames of its 40 ms and the slowest frame's own work.
void BM_ListScrollFrames(benchmark::State& state)
{
    TListScene scene(200, true);
    const Integer pitch = scene.List->GetItemRect(scene.List->GetItems()->GetItem(0)).Height() + 12;
    Integer direction = -1;
    double frames = 0;
    double fewest = 1e9;
    double worst = 0;
    for (auto _ : state) {
        scene.List->ScrollItems(direction * pitch);
        direction = -direction;
        const TAnimationStats last = LastAnimationStats();
        frames += last.Frames;
        fewest = std::min<double>(fewest, last.Frames);
        worst = std::max(worst, last.WorstFrameMicroseconds);
    }
    state.counters["frames"] = frames / double(state.iterations());
    state.counters["fewest_frames"] = fewest;
    state.counters["worst_frame_us"] = worst;
}
BENCHMARK(BM_ListScrollFrames)->Unit(benchmark::kMillisecond)->Iterations(50);

} // namespace
} // namespace ld

BENCHMARK_MAIN();
