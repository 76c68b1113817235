// The details dialog: one window's properties, and the means to change them.
#pragma once
#include <windows.h>

extern HANDLE g_hTargetProcess;   // the target's process, open while the dialog is

INT_PTR CALLBACK DetailsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
