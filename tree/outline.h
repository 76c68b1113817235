// The outline that shows where a window is on the screen.
#pragma once
#include <windows.h>

// Outlines the rectangle (screen coordinates) until HideOutline, or moves
// the outline there; its thickness follows the dialog's units.
void ShowOutline(HWND dialog, const RECT &rect);

// Outlines the rectangle for about two seconds.
void FlashOutline(HWND dialog, const RECT &rect);

// Destroys the outline's windows, if any.
void HideOutline();
