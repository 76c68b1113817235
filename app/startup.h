// Start-up state that lives for the whole run, and the steps that set it.
#pragma once
#include <windows.h>

extern wchar_t *g_pStyleTable;   // style-name table as UTF-16, NUL-terminated, writable
extern HINSTANCE g_hInstance;    // the executable: icons, image strip, style-name table
extern HINSTANCE g_hResModule;   // dialogs and strings: the satellite file or the executable

// A name table of the exe (RT_RCDATA) as UTF-16, NUL-terminated, in
// memory of its own (GlobalAlloc); null when the resource is missing or no
// memory is left for it.
wchar_t *LoadTableText(int id);

// Loads the style-name table into g_pStyleTable; false when the resource
// is missing or no memory is left for it.
bool LoadStyleTable();

// The satellite "<exe path>.mui" when present, loadable and carrying both
// dialogs, else the exe.
HINSTANCE LoadResourceModule();

// A string of the resource module, or the exe's when the module lacks it, as
// a satellite made before the string was added does.
void LoadProgramString(int id, wchar_t *buffer, int capacity);

// The module that holds the dialog template: the resource module, or the
// exe when a satellite made before the template lacks it.
HINSTANCE DialogModule(int id);

// Appends ".mui" to the path of `length` characters in a buffer of
// `capacity`; false, writing nothing, for an empty path or one with no room.
bool AppendSatelliteSuffix(wchar_t *path, DWORD length, DWORD capacity);
