#include "platform/backends/X11Keys.h"

#include <X11/keysym.h>

#include "platform/win/Messages.h"

namespace ld::x11 {

namespace {

// Codes the window system's own headers do not name yet.
enum : Integer {
    VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14,
    VK_INSERT = 0x2D,
    VK_LWIN = 0x5B,
    VK_RWIN = 0x5C,
    VK_APPS = 0x5D,
    VK_NUMPAD0 = 0x60,
    VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B,
    VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E,
    VK_DIVIDE = 0x6F,
    VK_NUMLOCK = 0x90,
    VK_SCROLL = 0x91,
    VK_OEM_1 = 0xBA,  // ;:
    VK_OEM_PLUS = 0xBB,
    VK_OEM_COMMA = 0xBC,
    VK_OEM_MINUS = 0xBD,
    VK_OEM_PERIOD = 0xBE,
    VK_OEM_2 = 0xBF,  // /?
    VK_OEM_3 = 0xC0,  // `~
    VK_OEM_4 = 0xDB,  // [{
    VK_OEM_5 = 0xDC,  // \|
    VK_OEM_6 = 0xDD,  // ]}
    VK_OEM_7 = 0xDE,  // '"
    VK_OEM_102 = 0xE2,  // <> of the ISO keyboards
};

struct TKeyPair {
    unsigned long Sym;
    Integer Vk;
};

constexpr TKeyPair kKeys[] = {
    {XK_BackSpace, VK_BACK},       {XK_Tab, VK_TAB},           {XK_ISO_Left_Tab, VK_TAB},
    {XK_Return, VK_RETURN},        {XK_KP_Enter, VK_RETURN},   {XK_Escape, VK_ESCAPE},
    {XK_space, VK_SPACE},          {XK_Pause, VK_PAUSE},       {XK_Caps_Lock, VK_CAPITAL},
    {XK_Shift_L, VK_SHIFT},        {XK_Shift_R, VK_SHIFT},     {XK_Control_L, VK_CONTROL},
    {XK_Control_R, VK_CONTROL},    {XK_Alt_L, VK_MENU},        {XK_Alt_R, VK_MENU},
    {XK_Meta_L, VK_MENU},          {XK_Meta_R, VK_MENU},       {XK_ISO_Level3_Shift, VK_MENU},
    {XK_Super_L, VK_LWIN},         {XK_Super_R, VK_RWIN},      {XK_Menu, VK_APPS},
    {XK_Prior, VK_PRIOR},          {XK_Next, VK_NEXT},         {XK_End, VK_END},
    {XK_Home, VK_HOME},            {XK_Left, VK_LEFT},         {XK_Up, VK_UP},
    {XK_Right, VK_RIGHT},          {XK_Down, VK_DOWN},         {XK_Insert, VK_INSERT},
    {XK_Delete, VK_DELETE},        {XK_KP_Prior, VK_PRIOR},    {XK_KP_Next, VK_NEXT},
    {XK_KP_End, VK_END},           {XK_KP_Home, VK_HOME},      {XK_KP_Left, VK_LEFT},
    {XK_KP_Up, VK_UP},             {XK_KP_Right, VK_RIGHT},    {XK_KP_Down, VK_DOWN},
    {XK_KP_Insert, VK_INSERT},     {XK_KP_Delete, VK_DELETE},  {XK_KP_Multiply, VK_MULTIPLY},
    {XK_KP_Add, VK_ADD},           {XK_KP_Subtract, VK_SUBTRACT}, {XK_KP_Decimal, VK_DECIMAL},
    {XK_KP_Divide, VK_DIVIDE},     {XK_Num_Lock, VK_NUMLOCK},  {XK_Scroll_Lock, VK_SCROLL},
    {XK_semicolon, VK_OEM_1},      {XK_equal, VK_OEM_PLUS},    {XK_plus, VK_OEM_PLUS},
    {XK_comma, VK_OEM_COMMA},      {XK_minus, VK_OEM_MINUS},   {XK_period, VK_OEM_PERIOD},
    {XK_slash, VK_OEM_2},          {XK_grave, VK_OEM_3},       {XK_bracketleft, VK_OEM_4},
    {XK_backslash, VK_OEM_5},      {XK_bracketright, VK_OEM_6}, {XK_apostrophe, VK_OEM_7},
    {XK_less, VK_OEM_102},
};

} // namespace

Integer VirtualKeyOf(unsigned long sym)
{
    if (sym >= XK_a && sym <= XK_z)
        return Integer(sym - XK_a) + 'A';
    if (sym >= XK_A && sym <= XK_Z)
        return Integer(sym - XK_A) + 'A';
    if (sym >= XK_0 && sym <= XK_9)
        return Integer(sym - XK_0) + '0';
    if (sym >= XK_KP_0 && sym <= XK_KP_9)
        return Integer(sym - XK_KP_0) + VK_NUMPAD0;
    if (sym >= XK_F1 && sym <= XK_F24)
        return Integer(sym - XK_F1) + VK_F1;
    for (const TKeyPair& k : kKeys)
        if (k.Sym == sym)
            return k.Vk;
    return 0;
}

} // namespace ld::x11
