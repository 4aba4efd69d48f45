#include "apps/bardemo/RollStrip.h"

#include <cstdio>
#include <string>
#include <vector>

#include "controls/bar/Launchdeck.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/gfx/Png.h"
#include "platform/gfx/Surface.h"
#include "platform/win/Paint.h"
#include "platform/win/TickSource.h"

namespace ld {
namespace {

constexpr DWORD FrameEvery = 16; // ms of the roll's 125 between two pictures
constexpr Integer Gap = 6;

// Stands in for the headless backend while a roll runs: the roll reads the
// tick count once per frame, and every FrameEvery ms a picture of the bar is
// taken from the screen. Everything else goes to the real backend.
class TFrameRecorder : public TBackend {
public:
    TFrameRecorder(THeadlessBackend& inner, TLaunchdeck* bar) : FInner(inner), FBar(bar)
    {
        SetBackend(this);
        FNext = TickSource::Peek();
    }
    ~TFrameRecorder() override { SetBackend(&FInner); }

    bool WaitForInput(DWORD timeout) override { return FInner.WaitForInput(timeout); }
    void ScreenChanged(const RECT& rect) override { FInner.ScreenChanged(rect); }
    void CursorChanged(HCURSOR cursor) override { FInner.CursorChanged(cursor); }
    void TicksRead() override
    {
        if (TickAfter(FNext, TickSource::Peek()))
            return;
        Take();
        FNext = TickSource::Peek() + FrameEvery;
    }
    // The bar's client pixels as they are on the screen now.
    void Take()
    {
        const TPoint origin = FBar->ClientToScreen({0, 0});
        std::vector<uint32_t> frame;
        for (Integer y = 0; y < FBar->GetClientHeight(); ++y)
            for (Integer x = 0; x < FBar->GetClientWidth(); ++x)
                frame.push_back(GetScreenSurface().Pixel(origin.X + x, origin.Y + y));
        FFrames.push_back(std::move(frame));
    }
    void Save(const std::filesystem::path& path) const
    {
        const Integer width = FBar->GetClientWidth();
        const Integer height = FBar->GetClientHeight();
        const Integer count = Integer(FFrames.size());
        TSurface strip(count * width + (count + 1) * Gap, height + 2 * Gap, 0xFFFFFFFFu);
        for (Integer i = 0; i < count; ++i)
            for (Integer y = 0; y < height; ++y)
                for (Integer x = 0; x < width; ++x)
                    strip.Row(Gap + y)[Gap + i * (width + Gap) + x] = FFrames[size_t(i)][size_t(y * width + x)];
        SavePngFile(path.string(), strip);
        std::printf("%s (%d frames)\n", path.string().c_str(), count);
    }

private:
    THeadlessBackend& FInner;
    TLaunchdeck* FBar;
    DWORD FNext = 0;
    std::vector<std::vector<uint32_t>> FFrames;
};

void Roll(THeadlessBackend& backend, TLaunchdeck* bar, Integer to, const std::filesystem::path& path)
{
    TFrameRecorder recorder(backend, bar);
    bar->RollInSheet(to);
    backend.RunUntilIdle();
    recorder.Take(); // the final paint
    recorder.Save(path);
}

} // namespace

void SaveRollStrips(THeadlessBackend& backend, TLaunchdeck* bar, const std::filesystem::path& out)
{
    // One millisecond per read of the tick count: the roll's frames land on
    // the same ticks at every run, so the strips are always the same.
    TickSource::UseSimulatedClock(1000, 1);
    bar->SetActiveSheet(bar->GetSheet(0));
    backend.RunUntilIdle();
    Roll(backend, bar, bar->GetVisibleSheetCount() - 1, out / "roll_up_strip.png");
    Roll(backend, bar, 0, out / "roll_down_strip.png");
    TickSource::UseMonotonicClock();
}

} // namespace ld
