// Finding nodes by a text of their label or their window's handle, with
// F3 on the tree and in a small box that stays open while stepping.
#pragma once
#include <windows.h>

// Whether a node matches the text: its label holds the text, ignoring
// case, or its window's handle is the text read as hexadecimal, with or
// without 0x. Empty text matches nothing.
bool NodeMatches(const wchar_t *label, HWND window, const wchar_t *text);

// Opens the find box, or activates it: its field has the keyboard,
// holding the last text searched, selected.
void OpenFindBox(HWND mainDialog);

// Selects the next node (or previous, backwards) that matches the last
// text searched, in the tree's order and round again, after the selected
// node. With no text yet, or no match, the selection stays and the box
// opens, saying so.
void FindNextNode(HWND mainDialog, bool backwards);

// Gives the box its dialog keys, as the information window gets its own.
bool IsFindBoxMessage(MSG *message);

// Disabled with the main window, while a dialog of the main window's is open.
void EnableFindBox(bool enable);
