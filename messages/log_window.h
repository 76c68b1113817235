// The message log: a window of its own beside the tree, listing what one
// window (or its descendants, thread or process) is sent, answers and is
// posted, decoded, as it happens.
#pragma once
#include <windows.h>

// Opens the log watching the window, or has the open log watch it instead,
// begun anew; the keyboard stays where it is.
void WatchMessages(HWND mainDialog, HWND window);

// Gives the log its dialog keys, as the information window gets its own.
bool IsLogWindowMessage(MSG *message);

// Disabled with the main window, while a dialog of the main window's is open.
void EnableLogWindow(bool enable);
