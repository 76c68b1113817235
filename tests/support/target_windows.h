// Windows for the dialogs to look at, made by the test itself.
#pragma once
#include <windows.h>

// A top-level window of a class of the tests' own, with a small class icon.
HWND CreateTestTopWindow(const wchar_t *title, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE);
HWND CreateTestChild(HWND parent, const wchar_t *className, const wchar_t *text, DWORD style, int id = 0);

// A top-level window whose class has no icon and that answers
// WM_QUERYDRAGICON with its own icon; counts the WM_GETICON it receives.
HWND CreateDragIconWindow(HICON dragIcon, int *getIconCount);

// A class named "richedit" (the table's row says "RICHEDIT"), without icon.
const wchar_t *LowerCaseRichEditClass();
