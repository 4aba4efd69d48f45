// Deckinstall.exe: the Win32 program. No window of its own, no arguments.
#include "installer/core/Deckinstall.h"
#include "installer/win32/Win32Os.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    ld::deckinstall::TWin32Os os;
    return ld::deckinstall::RunDeckinstall(os);
}
