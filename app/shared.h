// What the main window, the details dialog and the style panels share.
#pragma once
#include <windows.h>

extern HWND g_hTarget;   // the window the details dialog shows; set by the main window

// Dialog units in pixels, by the dialog's own font and DPI: Windows scales
// nothing for a DPI-aware program.
POINT DialogUnitsToPixels(HWND dialog, int x, int y);
