// The window system's cursor shapes as X cursors. The standard shapes come
// from the X cursor font; the drag cursors are drawn here as the host draws
// them: an arrow carrying a small page (two pages for a multiple drag), and
// a circle with a slash where nothing may be dropped.
#pragma once

#include <map>
#include <string>

#include "platform/win/Window.h"

typedef struct _XDisplay Display;

namespace ld::x11 {

// A 32 x 32 picture: '#' black, '.' white, ' ' clear.
struct TCursorShape {
    static constexpr int Size = 32;
    char Pixels[Size][Size + 1];
    int HotX = 0;
    int HotY = 0;
    TCursorShape();
    char At(int x, int y) const { return Pixels[y][x]; }
    void Set(int x, int y, char c);
};

TCursorShape DragShape();
TCursorShape MultiDragShape();
TCursorShape NoDropShape();

class TCursors {
public:
    explicit TCursors(Display* display);
    ~TCursors();
    TCursors(const TCursors&) = delete;
    TCursors& operator=(const TCursors&) = delete;

    // The X cursor for a window-system cursor, made on first use.
    unsigned long CursorFor(HCURSOR cursor);

private:
    unsigned long Make(const std::string& name);
    unsigned long FromShape(const TCursorShape& shape);

    Display* FDisplay;
    std::map<std::string, unsigned long> FMade;
};

} // namespace ld::x11
