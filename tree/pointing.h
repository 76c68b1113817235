// Finding a window's node by pointing at the window on the screen: with
// the keyboard's Ctrl+F, or by dragging the information window's finder.
#pragma once
#include <windows.h>

// The deepest visible window at a screen point, as a user sees it: a
// disabled control, a label, or a control inside a group box included.
// Nothing is sent to any window. Null where no window is.
HWND WindowAt(POINT point);

bool IsPointing();

// Selects, while the mouse moves, the node of the window under the pointer
// and outlines that window; the clicks go to no window meanwhile.
void StartPointing(HWND dialog);

// The same while the finder is dragged: the mouse is captured by
// `capturer`, which passes its moves on, and its own windows are no window
// to pick.
void StartDragging(HWND dialog, HWND capturer);

// Follows the pointer to where it now is.
void FollowPointer(HWND dialog);

// Ends the pointing with the window under the pointer picked: its node
// selected (after a refill if it had none) and the tree given the focus.
// Where there is none to pick, cancels.
void PickPointedWindow(HWND dialog);

// Ends the pointing, if on, with the node selected before it selected again.
void CancelPointing();
