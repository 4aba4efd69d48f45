// The graphics layer's hot paths, each beside the plain operation it should
// come close to.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gfx/Gdi.h"

namespace ld {
namespace {

constexpr Integer W = 300;
constexpr Integer H = 800;

void BM_ScrollDC(benchmark::State& state)
{
    TSurface surface(W, H, 0xFF808080u);
    HDC dc = CreateSurfaceDC(&surface);
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    const TRect all = Rect(0, 0, W, H);
    for (auto _ : state) {
        ScrollDC(dc, 0, 4, &all, &all, update, nullptr);
        benchmark::DoNotOptimize(surface.Pixels());
    }
    DeleteObject(update);
    DeleteDC(dc);
}
BENCHMARK(BM_ScrollDC)->Name("BM_ScrollDC/300x800");

void BM_Memmove(benchmark::State& state)
{
    std::vector<uint32_t> pixels(size_t(W) * H, 0xFF808080u);
    for (auto _ : state) {
        for (Integer y = H - 1; y >= 4; --y)
            std::memmove(&pixels[size_t(y) * W], &pixels[size_t(y - 4) * W], W * sizeof(uint32_t));
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Memmove)->Name("BM_Memmove/300x800");

void BM_FillRect(benchmark::State& state)
{
    TSurface surface(W, H);
    HDC dc = CreateSurfaceDC(&surface);
    HBRUSH brush = CreateSolidBrush(RGB(128, 128, 128));
    const TRect all = Rect(0, 0, W, H);
    for (auto _ : state) {
        FillRect(dc, all, brush);
        benchmark::DoNotOptimize(surface.Pixels());
        benchmark::ClobberMemory();
    }
    DeleteObject(brush);
    DeleteDC(dc);
}
BENCHMARK(BM_FillRect)->Name("BM_FillRect/300x800");

void BM_PlainFill(benchmark::State& state)
{
    std::vector<uint32_t> pixels(size_t(W) * H);
    for (auto _ : state) {
        std::fill(pixels.begin(), pixels.end(), 0xFF808080u);
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainFill)->Name("BM_PlainFill/300x800");

// A caption as the shortcut list draws it: wrapped, centred, transparent.
void BM_DrawTextLine(benchmark::State& state)
{
    TSurface surface(200, 40, 0xFFFFFFFFu);
    HDC dc = CreateSurfaceDC(&surface);
    SetBkMode(dc, TRANSPARENT);
    TRect r = Rect(0, 0, 200, 40);
    DrawText(dc, "Shortcut 1", r, DT_WORDBREAK | DT_CENTER); // fills the glyph cache
    for (auto _ : state) {
        TRect rect = Rect(0, 0, 200, 40);
        benchmark::DoNotOptimize(DrawText(dc, "Shortcut 1", rect, DT_WORDBREAK | DT_CENTER));
    }
    DeleteDC(dc);
}
BENCHMARK(BM_DrawTextLine);

void BM_DrawTextCalcRect(benchmark::State& state)
{
    TSurface surface(1, 1);
    HDC dc = CreateSurfaceDC(&surface);
    TRect warm = Rect(0, 0, 200, 0);
    DrawText(dc, "Shortcut 1", warm, DT_CALCRECT | DT_WORDBREAK);
    for (auto _ : state) {
        TRect rect = Rect(0, 0, 200, 0);
        benchmark::DoNotOptimize(DrawText(dc, "Shortcut 1", rect, DT_CALCRECT | DT_WORDBREAK));
    }
    DeleteDC(dc);
}
BENCHMARK(BM_DrawTextCalcRect);

// The bar's background: its client region loses 50 tab rectangles by XOR.
void BM_RegionXor50(benchmark::State& state)
{
    for (auto _ : state) {
        HRGN region = CreateRectRgn(0, 0, W, 50 * 21);
        for (Integer i = 0; i < 50; ++i) {
            HRGN tab = CreateRectRgn(0, i * 21, W, i * 21 + 20);
            CombineRgn(region, region, tab, RGN_XOR);
            DeleteObject(tab);
        }
        benchmark::DoNotOptimize(region);
        DeleteObject(region);
    }
}
BENCHMARK(BM_RegionXor50);

} // namespace
} // namespace ld

BENCHMARK_MAIN();
