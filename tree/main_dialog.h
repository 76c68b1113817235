// The main window: the tree of every window and the controls beneath it.
#pragma once
#include <windows.h>
#include <commctrl.h>

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Opens the details dialog for the selected node, removing the node when
// its window is gone, before or after.
void OpenDetails(HWND mainDialog);

HWND GetNodeWindow(HTREEITEM node);

// The node in that relation (TVGN_) to this one; null for none.
HTREEITEM NextNode(HTREEITEM node, UINT relation);

// The selected node; null when none is.
HTREEITEM SelectedNode();

// Empties the tree and fills it anew, ending any pointing or outline first:
// neither may become a node.
void RefillWindowTree(HWND dialog);
