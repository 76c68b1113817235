// The node's menu and the tree's keys, and what they do.
#pragma once
#include <windows.h>

// Adds the find item to the main window's system menu.
void AddFindToSystemMenu(HWND dialog);

// The menu of the node at the point of a WM_CONTEXTMENU: a right click
// selects the node under it; from the keyboard (-1, -1) it is the selected
// node's, shown beneath it.
void ShowNodeMenu(HWND dialog, LPARAM where);

// Ctrl+F, Ctrl+M, Ctrl+C, Ctrl+Shift+C, F3, Shift+F3 and F5 on the tree, and
// Shift+F10, which Wine passes to the tree as a plain key where Windows
// makes a WM_CONTEXTMENU of it.
void OnTreeKey(HWND dialog, WORD key);
