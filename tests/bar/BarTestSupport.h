// A headless screen on the simulated clock with a form on it, and helpers to
// put a bar with named sheets on the form and read its pixels.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "controls/bar/Launchdeck.h"
#include "controls/list/ShortcutList.h"
#include "controls/shared/ShortcutButton.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/ClassRegistry.h"
#include "platform/gfx/Surface.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stream/Stream.h"
#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Paint.h"
#include "platform/win/TickSource.h"
#include "tests/support/TestOutput.h"

namespace ld::test {

// The text form of what WriteComponentToStream stores for Root.
inline std::string StoredText(TComponent* root)
{
    TMemoryStream binary;
    WriteComponentToStream(&binary, root);
    binary.SetPosition(0);
    TStringStream text;
    ObjectResourceToText(&binary, &text);
    return text.DataString();
}

class BarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The stored forms read here name these classes, and a plain TForm
        // declares no fields of them: registered as an application does.
        RegisterClasses({TLaunchdeck::StaticClass(), TShortcutSheet::StaticClass(), TShortcutList::StaticClass()});
        TickSource::UseSimulatedClock(10000);
        Backend = std::make_unique<THeadlessBackend>();
        Form = new TForm(nullptr);
        Form->SetName("Form");
        Form->SetBounds(100, 100, 400, 360);
        Form->Show();
        Backend->RunUntilIdle();
    }
    void TearDown() override
    {
        delete Form;
        Backend->MoveTo(1000, 760);
        Backend->RunUntilIdle();
        Backend.reset();
        TickSource::UseMonotonicClock();
    }

    // A bar on the form with sheets captioned "Sheet0", "Sheet1", ... The
    // client is made exactly Width x Height when given.
    TLaunchdeck* AddBar(Integer sheets, Integer clientHeight = 0)
    {
        auto* bar = new TLaunchdeck(Form);
        bar->SetName("Bar");
        bar->SetParent(Form);
        for (Integer i = 0; i < sheets; ++i) {
            TShortcutSheet* sheet = bar->NewSheet();
            sheet->SetName("Sheet" + std::to_string(i));
            sheet->SetCaption("Sheet" + std::to_string(i));
        }
        if (clientHeight > 0)
            SetClient(bar, 84, clientHeight);
        Backend->RunUntilIdle();
        return bar;
    }
    void SetClient(TLaunchdeck* bar, Integer width, Integer height)
    {
        bar->SetAlign(alNone);
        bar->SetBounds(0, 0, width, height);
        bar->HandleNeeded();
        const TRect c = bar->GetClientRect();
        bar->SetBounds(0, 0, width + width - c.Width(), height + height - c.Height());
        Backend->RunUntilIdle();
    }
    // The screen pixel at a client point of a control.
    static COLORREF Pixel(TControl* control, Integer x, Integer y)
    {
        const TPoint p = control->ClientToScreen({x, y});
        return PixelToColorRef(GetScreenSurface().Pixel(p.X, p.Y));
    }
    void Repaint(TWinControl* control)
    {
        control->Invalidate();
        control->Update();
    }
    static std::string OutputPath(const std::string& name)
    {
        return test::TestOutputPath(name);
    }

    // Writes "changing" and "change" into Events as the bar fires them;
    // OnChanging answers with Allow.
    void LogChanges(TLaunchdeck* bar)
    {
        bar->SetOnChanging(TSheetChangingEvent::Lambda([this](TObject*, bool& allow) {
            Events.push_back("changing");
            allow = Allow;
        }));
        bar->SetOnChange(TNotifyEvent::Lambda([this](TObject*) { Events.push_back("change"); }));
    }

    // An "OK" button that is the form's Default and a "Cancel" button that is
    // its Cancel, at the form's bottom right; each click goes into Clicks.
    void AddDialogButtons()
    {
        const std::string names[] = {"OK", "Cancel"};
        for (Integer i = 0; i < 2; ++i) {
            auto* button = new TButton(Form);
            button->SetCaption(names[i]);
            button->SetBounds(220 + 85 * i, 290, 75, 25);
            button->SetParent(Form);
            if (i == 0)
                button->SetDefault(true);
            else
                button->SetCancel(true);
            button->SetOnClick(TNotifyEvent::Lambda([this, name = names[i]](TObject*) { Clicks.push_back(name); }));
        }
        Backend->RunUntilIdle();
    }

    std::unique_ptr<THeadlessBackend> Backend;
    TForm* Form = nullptr;
    std::vector<std::string> Events;
    std::vector<std::string> Clicks;
    bool Allow = true;
};

} // namespace ld::test
