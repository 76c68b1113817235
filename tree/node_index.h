// Which node of the tree shows a window, without walking every node.
#pragma once
#include <windows.h>
#include <commctrl.h>

// The window's node; null when it has none.
HTREEITEM NodeOfWindow(HWND window);

// Selects the node of the window or, for a window made after the fill, of
// its nearest ancestor that has one, scrolled into view; selects nothing
// when none has.
void SelectNodeOf(HWND window);

// Drops the index: nodes were added or deleted. It is made anew when next asked.
void ForgetNodeIndex();
