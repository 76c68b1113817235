// The information window: everything the system knows of a window, beside
// the tree, following its selection and the pointer while pointing.
#pragma once
#include <windows.h>

// Opens it beside the main window, or shows it again; the keyboard stays
// where it is. It shows the selected node's window.
void OpenInfoWindow(HWND mainDialog);

// The window while it is open, else null.
HWND InfoWindow();

// Shows the rows of the window (none for null), when the window is open
// and showed another.
void ShowWindowInfo(HWND window);

// Gives the window its dialog keys, which the main window's modal loop
// gives no other window: true when the message was its own and so handled.
bool IsInfoWindowMessage(MSG *message);

// Disabled with the main window, while a dialog of the main window's is open.
void EnableInfoWindow(bool enable);
