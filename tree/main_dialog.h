// The main window: the tree of every window and the controls beneath it.
#pragma once
#include <windows.h>
#include <commctrl.h>

extern HWND g_hTarget;   // the window the details dialog shows

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Opens the details dialog for the selected node, removing the node when
// its window is gone, before or after.
void OpenDetails(HWND mainDialog);

HWND GetNodeWindow(HTREEITEM node);

// Dialog units in pixels, by the dialog's own font and DPI: Windows scales
// nothing for a DPI-aware program.
POINT DialogUnitsToPixels(HWND dialog, int x, int y);
