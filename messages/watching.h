// Watching a window's messages: the hook library set on its threads and
// the section it writes into, from which the log reads the records.
#pragma once
#include <windows.h>
#include "log_record.h"

// What the log watches: the window, it and its descendants, every window
// of its thread, or of its process (every thread of it that has windows).
enum WatchScope { WATCH_WINDOW, WATCH_DESCENDANTS, WATCH_THREAD, WATCH_PROCESS, WATCH_SCOPES };

// The hook library, beside the program's own file.
#define HOOK_LIBRARY_NAME L"orvalis_hook.dll"

// Starts watching, after any watching before; `own` is the log's window,
// never recorded. Returns 0, or the string id of why it cannot: the
// library missing, a 32-bit process, or the system refusing the hooks.
int StartWatching(HWND target, WatchScope scope, HWND own);

// Removes every hook and lets the section go.
void StopWatching();

bool IsWatching();

// The next record the library wrote, copied out of the section as it is;
// false when there is none yet.
bool ReadRecord(LogRecord *record);

// Records that found the section full.
LONG LostRecords();

// While paused the library records nothing.
void PauseWatching(bool paused);
