#include "platform/backends/X11Cursors.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/win/Input.h"

#include <X11/Xlib.h>
#include <X11/cursorfont.h>

namespace ld::x11 {

// ---- shapes ---------------------------------------------------------------

TCursorShape::TCursorShape()
{
    for (auto& row : Pixels) {
        std::memset(row, ' ', Size);
        row[Size] = 0;
    }
}

void TCursorShape::Set(int x, int y, char c)
{
    if (x >= 0 && x < Size && y >= 0 && y < Size)
        Pixels[y][x] = c;
}

namespace {

// The host's arrow: black outline, white inside, its tip the hot spot.
const char* const kArrow[] = {
    "#",
    "##",
    "#.#",
    "#..#",
    "#...#",
    "#....#",
    "#.....#",
    "#......#",
    "#.......#",
    "#........#",
    "#.....#####",
    "#..#..#",
    "#.# #..#",
    "##  #..#",
    "#    #..#",
    "     #..#",
    "      ##",
};

void DrawArrow(TCursorShape& s)
{
    int y = 0;
    for (const char* row : kArrow) {
        for (int x = 0; row[x]; ++x)
            if (row[x] != ' ')
                s.Set(x, y, row[x]);
        ++y;
    }
}

// A sheet of paper with a black edge, its top-left corner at (Left, Top).
void DrawPage(TCursorShape& s, int left, int top, int width, int height)
{
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x) {
            bool edge = x == left || y == top || x == left + width - 1 || y == top + height - 1;
            s.Set(x, y, edge ? '#' : '.');
        }
}

} // namespace

TCursorShape DragShape()
{
    TCursorShape s;
    DrawArrow(s);
    DrawPage(s, 9, 17, 10, 8);
    return s;
}

TCursorShape MultiDragShape()
{
    TCursorShape s;
    DrawArrow(s);
    DrawPage(s, 12, 15, 10, 8);
    DrawPage(s, 9, 18, 10, 8);
    return s;
}

// A ring with a slash from its top left to its bottom right, in black with a
// white rim so that it shows on any background; the hot spot is its centre.
TCursorShape NoDropShape()
{
    TCursorShape s;
    const int c = 11;
    for (int y = 0; y < TCursorShape::Size; ++y)
        for (int x = 0; x < TCursorShape::Size; ++x) {
            int dx = x - c, dy = y - c;
            int d2 = dx * dx + dy * dy;
            bool inside = d2 <= 10 * 10;
            bool ring = inside && d2 >= 7 * 7;
            bool slash = inside && std::abs(dx - dy) <= 1;
            bool rim = d2 <= 11 * 11 && !inside;
            if (ring || slash)
                s.Set(x, y, '#');
            else if (rim || (inside && std::abs(dx - dy) == 2) || (d2 < 7 * 7 && d2 >= 6 * 6))
                s.Set(x, y, '.');
        }
    s.HotX = c;
    s.HotY = c;
    return s;
}

// ---- X cursors ---------------------------------------------------------------

namespace {

struct TFontCursor {
    const char* Name;
    unsigned Shape;
};

// The window system's names (GetCursorName) and the nearest font cursor.
constexpr TFontCursor kFontCursors[] = {
    {"arrow", XC_left_ptr},        {"ibeam", XC_xterm},
    {"wait", XC_watch},            {"cross", XC_crosshair},
    {"uparrow", XC_sb_up_arrow},   {"size", XC_fleur},
    {"sizeall", XC_fleur},         {"sizenwse", XC_bottom_right_corner},
    {"sizenesw", XC_bottom_left_corner}, {"sizewe", XC_sb_h_double_arrow},
    {"sizens", XC_sb_v_double_arrow}, {"hand", XC_hand2},
    {"appstarting", XC_watch},     {"help", XC_question_arrow},
    {"hsplit", XC_sb_h_double_arrow}, {"vsplit", XC_sb_v_double_arrow},
    {"sqlwait", XC_watch},
};

} // namespace

TCursors::TCursors(Display* display) : FDisplay(display) {}

TCursors::~TCursors()
{
    for (auto& [name, cursor] : FMade)
        XFreeCursor(FDisplay, cursor);
}

unsigned long TCursors::CursorFor(HCURSOR cursor)
{
    std::string name = GetCursorName(cursor);
    auto it = FMade.find(name);
    if (it != FMade.end())
        return it->second;
    unsigned long made = Make(name);
    FMade[name] = made;
    return made;
}

unsigned long TCursors::Make(const std::string& name)
{
    if (name == "drag")
        return FromShape(DragShape());
    if (name == "multidrag")
        return FromShape(MultiDragShape());
    if (name == "nodrop" || name == "no")
        return FromShape(NoDropShape());
    if (name == "none")
        return FromShape(TCursorShape());
    for (const TFontCursor& f : kFontCursors)
        if (name == f.Name)
            return XCreateFontCursor(FDisplay, f.Shape);
    return XCreateFontCursor(FDisplay, XC_left_ptr);
}

// Two bitmaps, rows padded to bytes and the lowest bit leftmost: the source
// says black or white, the mask where the cursor shows at all.
unsigned long TCursors::FromShape(const TCursorShape& shape)
{
    constexpr int n = TCursorShape::Size;
    constexpr int rowBytes = n / 8;
    std::vector<char> source(rowBytes * n), mask(rowBytes * n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            char c = shape.At(x, y);
            char bit = char(1 << (x % 8));
            if (c != ' ')
                mask[size_t(y * rowBytes + x / 8)] |= bit;
            if (c == '#')
                source[size_t(y * rowBytes + x / 8)] |= bit;
        }
    Window root = DefaultRootWindow(FDisplay);
    Pixmap src = XCreateBitmapFromData(FDisplay, root, source.data(), n, n);
    Pixmap msk = XCreateBitmapFromData(FDisplay, root, mask.data(), n, n);
    XColor black{}, white{};
    white.red = white.green = white.blue = 0xFFFF;
    black.flags = white.flags = DoRed | DoGreen | DoBlue;
    Cursor cursor = XCreatePixmapCursor(FDisplay, src, msk, &black, &white, unsigned(shape.HotX), unsigned(shape.HotY));
    XFreePixmap(FDisplay, src);
    XFreePixmap(FDisplay, msk);
    return cursor;
}

} // namespace ld::x11
