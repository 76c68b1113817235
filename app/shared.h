// What the main window, the details dialog and the style panels share.
#pragma once
#include <windows.h>

extern HWND g_hTarget;   // the window the details dialog shows; set by the main window

// Dialog units in pixels, by the dialog's own font and DPI: Windows scales
// nothing for a DPI-aware program.
POINT DialogUnitsToPixels(HWND dialog, int x, int y);

enum { HANDLE_CHARS = 9 };   // eight hexadecimal digits and the terminator

// A handle as the details show it: its low 32 bits in upper-case
// hexadecimal, without leading zeros.
void FormatHandle(wchar_t *text, HWND window);
