// Finding a window's node by pointing at the window on the screen.
#pragma once
#include <windows.h>

// What the pointing's mouse hook posts to the main window.
enum {
    WM_POINTING_MOVED = WM_APP + 1,   // follow the pointer to where it now is
    WM_POINTING_PICKED,               // a left click: pick what is under it
    WM_POINTING_CANCELLED,            // a right click
};

// The deepest visible window at a screen point, as a user sees it: a
// disabled control, a label, or a control inside a group box included.
// Nothing is sent to any window. Null where no window is.
HWND WindowAt(POINT point);

bool IsPointing();

// Selects, while the mouse moves, the node of the window under the pointer
// and outlines that window; the clicks go to no window meanwhile.
void StartPointing(HWND dialog);

// Follows the pointer to where the hook last saw it.
void FollowPointer(HWND dialog);

// Ends the pointing with the window under the pointer picked: its node
// selected (after a refill if it had none) and the tree given the focus.
void PickPointedWindow(HWND dialog);

// Ends the pointing, if on, with the node selected before it selected again.
void CancelPointing();
