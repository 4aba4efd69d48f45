// Copied text shared with other X programs through the CLIPBOARD selection.
// Our strings are Latin-1: text goes out as STRING as it is, or as
// UTF8_STRING converted, and comes in from either; a character beyond
// Latin-1 arrives as '?'. Asking another program never hangs: its answer is
// awaited for a bounded time, and a silent owner gives empty text.
#pragma once

#include <string>

#include "platform/core/Types.h"

typedef struct _XDisplay Display;
union _XEvent;

namespace ld::x11 {

class TClipboard {
public:
    TClipboard(Display* display, unsigned long window);

    void SetText(const std::string& text, unsigned long time);
    std::string GetText(unsigned long time);
    // Selection events for our window; true when the event was one.
    bool HandleEvent(const _XEvent& ev);
    bool Owns() const { return FOwned; }

    // How long another program may take to answer, and how much it may send.
    static constexpr int AnswerTimeoutMs = 1000;
    static constexpr size_t MaxText = size_t(64) << 20;

private:
    void Answer(const _XEvent& request);
    enum class TAnswer { Text, Refused, Silent };
    TAnswer Convert(unsigned long target, unsigned long time, std::string& out);
    bool WaitForEvent(int type, _XEvent& ev, long long deadlineMs);
    bool ReadIncremental(std::string& bytes, long long deadlineMs);
    bool TakeProperty(std::string& bytes, unsigned long& type);

    Display* FDisplay;
    unsigned long FWindow;
    unsigned long FClipboard, FTargets, FUtf8, FString, FText, FIncr, FProperty;
    std::string FTextHeld;
    bool FOwned = false;
};

std::string Latin1ToUtf8(const std::string& text);
std::string Utf8ToLatin1(const std::string& text);

} // namespace ld::x11
