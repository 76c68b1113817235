// Helpers shared by the test programs.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// Loads the style-name table and the common controls, with this program
// standing in for the exe and the resource module.
void UseOwnResources();

// The window's whole text, asked with a time-out.
std::wstring Text(HWND window);

// A two-column list view sorted like the style panels, and its rows as
// "name value" (or "name" alone).
HWND CreateFlagList();
std::vector<std::wstring> Rows(HWND list);

// A file of the build folder, the one above the tests.
std::wstring BuildFile(const std::wstring &name);

// Waits up to 15 s for a visible top-level window of the process with
// this title; null when none came.
HWND WaitForWindow(DWORD processId, const std::wstring &title);

// Runs `script` inside the modal loop of the next visible dialog of this
// thread other than g_modalOwner, then cancels that dialog if it is still
// open. Afterwards g_popupTitle holds its caption and g_popupEndedItself
// whether the script's own doing ended it.
extern HWND g_modalOwner;
extern std::wstring g_popupTitle;
extern bool g_popupEndedItself;
void RunInNextPopup(void (*script)(HWND popup));
