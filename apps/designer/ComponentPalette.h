// The component palette: a row of page tabs, one per palette page the loaded
// packages registered, over the buttons of the chosen page in registration
// order. Each button shows its class's palette image, the bitmap resource named
// after the class in upper case in the module that holds the class, drawn with
// its bottom-left colour transparent. Clicking a button chooses its class for
// placing (clicking it again takes the choice back); the chosen button is drawn
// pressed. The arrow button before them stands for "no choice": it is drawn
// pressed while no class is chosen, and clicking it takes a choice back. The
// pointer resting on a button shows a hint naming its class.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/DesignRegistry.h"
#include "platform/gfx/Graphics.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/ExtCtrls.h"

namespace ld {

class TComponentPalette : public TCustomControl {
    LD_CLASS(TComponentPalette, TCustomControl)

    static constexpr Integer TabHeight = 18;
    static constexpr Integer ButtonSize = 28;

    TComponentPalette(TComponent* owner, const TDesignRegistry& registry);
    ~TComponentPalette() override;

    // The palette changed (a package loaded): the pages and images are read again.
    void PaletteChanged();
    Integer GetPageIndex() const { return FPageIndex; }
    void SetPageIndex(Integer index);
    TClass GetChosenClass() const { return FChosen; }
    void SetChosenClass(TClass cls);
    // Told when a button is chosen or the choice is taken back.
    void SetOnChoose(std::function<void(TClass)> handler) { FOnChoose = std::move(handler); }

    TRect PageTabRect(Integer index) const;
    TRect ArrowRect() const;
    TRect ButtonRect(Integer index) const;
    // The hint shown now ("" when none), and its window.
    const std::string& GetHintText() const { return FHintText; }
    HWND GetHintWindow() const { return FHintWindow; }
    // How long the pointer rests on a button before its hint shows.
    static constexpr Cardinal HintPause = 500;
    // The image shown for a class, null when its module has none.
    TBitmap* ImageOf(TClass cls) const;

    void Dispatch(TMessage& message) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
    void MouseMove(TShiftState shift, Integer x, Integer y) override;

private:
    const TPalettePage* Page() const;
    // The page's button under a point, -1 for none.
    Integer ButtonAt(TPoint p) const;
    void PaintArrow(TCanvas* canvas);
    void HintTimer(TObject* sender);
    void ShowHint();
    void HideHint();

    const TDesignRegistry& FRegistry;
    Integer FPageIndex = 0;
    TClass FChosen = nullptr;
    std::vector<std::pair<TClass, std::unique_ptr<TBitmap>>> FImages;
    std::function<void(TClass)> FOnChoose;
    TTimer* FHintTimer;
    Integer FHintButton = -1; // the button the pointer rests on
    std::string FHintText;
    HWND FHintWindow = nullptr;
};

} // namespace ld
