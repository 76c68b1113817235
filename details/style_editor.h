// The style editor: every named flag of a window's style and extended
// style, switched on and off, and what the window kept of it.
#pragma once
#include <windows.h>

// Runs the editor for the window, a modal dialog of the main window's.
void EditStyles(HWND mainDialog, HWND window);

INT_PTR CALLBACK StyleEditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
