// Shared pieces of the standard control tests: a counter of notify events,
// typing helpers, and where pictures go.
#pragma once

#include <cstdlib>
#include <string>

#include "platform/gfx/Text.h"
#include "platform/stdctrls/StdCtrls.h"
#include "tests/support/TestOutput.h"
#include "tests/vcl/VclTestSupport.h"

namespace ld::test {

// Counts the notify events bound to it and remembers the last sender.
struct TEventCounter : TObject {
    Integer Count = 0;
    TObject* Sender = nullptr;
    void Fired(TObject* sender)
    {
        ++Count;
        Sender = sender;
    }
    TNotifyEvent Event() { return TNotifyEvent(this, &TEventCounter::Fired); }
};

class StdCtrlsTest : public VclTest {
protected:
    void Type(const std::string& text)
    {
        Backend->Type(text);
        Backend->RunUntilIdle();
    }
    void Key(Integer vk)
    {
        Backend->Key(vk);
        Backend->RunUntilIdle();
    }
    void KeyWith(Integer modifier, Integer vk)
    {
        Backend->KeyWith(modifier, vk);
        Backend->RunUntilIdle();
    }
    // The width of Text in Control's font.
    static Integer TextWidthOf(TControl* control, std::string_view text)
    {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, control->GetFont()->GetHandle());
        TSize size;
        GetTextExtentPoint32(dc, text, size);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        return size.cx;
    }
    static std::string OutputPath(const std::string& name)
    {
        return TestOutputPath(name);
    }
};

} // namespace ld::test
