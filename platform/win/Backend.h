// What the window system needs from the thing that shows the screen and
// delivers input: a headless screen in memory, or a real window.
#pragma once

#include "platform/win/Window.h"

#include <string>

namespace ld {

class TBackend {
public:
    virtual ~TBackend() = default;
    // Blocks until input has been delivered (through the Inject calls of
    // Input.h) or Timeout milliseconds have passed; INFINITE waits for input.
    // Returns false when the backend can deliver nothing more, so that a
    // message loop does not wait forever.
    virtual bool WaitForInput(DWORD timeout) = 0;
    // The window system has drawn into the screen inside this rectangle.
    virtual void ScreenChanged(const RECT& rect) {}
    virtual void CursorChanged(HCURSOR cursor) {}
    // A program read the tick count. Animations busy-wait on it and draw
    // straight to the screen while the message loop does not run: this is
    // the backend's chance to show what they drew. It must stay cheap.
    virtual void TicksRead() {}
    // The clipboard shared with other programs, where the backend has one;
    // without it the class library keeps copied text inside the program.
    virtual bool HasSystemClipboard() const { return false; }
    virtual void SetClipboardText(const std::string& text) {}
    virtual std::string GetClipboardText() { return {}; }
};

// The backend the queue waits in; nullptr (the default) makes waits fail.
void SetBackend(TBackend* backend);
TBackend* GetBackend();

} // namespace ld
