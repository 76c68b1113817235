// The details dialog: one window's properties, and the means to change them.
#pragma once
#include <windows.h>

enum { TEXT_CHARS = 256 };   // class names, strings and numbers; window texts take what they need

// The window's text, whole unless the window misreports its length, on the
// process heap (free it with HeapFree); null when there is no memory for it.
wchar_t *ReadWindowText(HWND window);

extern HANDLE g_hTargetProcess;   // the target's process, open while the dialog is

// Closes g_hTargetProcess and clears it, as the dialog ends.
void CloseTargetProcess();

INT_PTR CALLBACK DetailsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Fills the relative's text, class and handle for the current tab.
void ShowRelative(HWND dialog);

// The dialog's WM_COMMAND: every change, command and the end of the dialog.
void OnDetailsCommand(HWND dialog, WPARAM wParam, LPARAM lParam);
