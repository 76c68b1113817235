// The main window: the tree of every window and the controls beneath it.
#pragma once
#include <windows.h>
#include <commctrl.h>

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Opens the details dialog for the selected node, removing the node when
// its window is gone, before or after.
void OpenDetails(HWND mainDialog);
