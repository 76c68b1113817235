// Helpers shared by the test programs.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// Folder of the running test program, with a trailing backslash; the build
// puts orvalis.exe and the satellite one level up.
std::wstring TestDir();
std::wstring BuildDir();

// Loads the style-name table from this program's own resources once.
void EnsureStyleTable();

// A hidden two-column report list, sorted like the details dialog's panels.
HWND CreateFlagList();

// Rows of a list view in display order, each as "first second" (or just
// "first" when the second column is empty).
std::vector<std::wstring> ListRows(HWND list);
std::wstring ListCell(HWND list, int row, int column);

// Handles messages of this thread for the given time.
void PumpMessages(DWORD milliseconds);

// Starts a program; returns its process information (handles to close).
PROCESS_INFORMATION StartProgram(const std::wstring &exe, const std::wstring &arguments = L"");

// Waits for a visible top-level window of the process with the title given.
HWND WaitForProcessWindow(DWORD processId, const wchar_t *title, DWORD timeoutMs = 15000);

// Waits for the process to end; returns its exit code, or STILL_ACTIVE.
DWORD WaitForExit(HANDLE process, DWORD timeoutMs = 15000);

std::wstring WindowText(HWND window);
std::wstring ClassOf(HWND window);

// The fixture program (target_app.exe) running as a second process.
struct TargetApp {
    PROCESS_INFORMATION process = {};
    HWND fixture = nullptr;
    HWND refuser = nullptr;
    HWND closer = nullptr;

    bool Start();
    void Stop();
    HWND Control(int id) const { return GetDlgItem(fixture, id); }
};

// The details dialog, modeless, on the target given (the program runs it
// modally; its procedure does not tell the two apart).
HWND CreateDetailsDialog(HWND target);
void CloseDetailsDialog(HWND dialog);

// Runs the details dialog modally on the target; `script` runs inside its
// modal loop. Returns true when the dialog had ended when the script
// returned; otherwise ends it with IDCANCEL.
bool RunDetailsDialogModally(HWND target, void (*script)(HWND dialog));

std::wstring ItemText(HWND dialog, int id);
std::vector<std::wstring> ComboEntries(HWND dialog, int id);
