// Which node of the tree shows a window, and the nodes in the tree's order,
// without walking every node each time they are asked for.
#pragma once
#include <windows.h>
#include <commctrl.h>

// The window's node; null when it has none.
HTREEITEM NodeOfWindow(HWND window);

// Selects the node of the window or, for a window made after the fill, of
// its nearest ancestor that has one, scrolled into view; selects nothing
// when none has.
void SelectNodeOf(HWND window);

// The nodes in the tree's order, depth first, collapsed ones too: how many
// there are, the one at a place in that order, and the place of a window's
// node (-1 for a window without one).
int IndexedNodeCount();
HTREEITEM IndexedNodeAt(int place);
int PlaceOfWindow(HWND window);

// Indexes the node, which follows those already indexed in the tree's order:
// the fill tells each node it adds.
void IndexNode(HTREEITEM node, HWND window);

// Drops the index: nodes were deleted, or are to be added anew. Until nodes
// are indexed again, it is made from the tree when next asked.
void ForgetNodeIndex();
