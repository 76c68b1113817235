// The details dialog's lists and what their entries stand for.
#pragma once
#include <windows.h>

// Entries of the priority list, in list order.
enum PriorityEntry { PRIORITY_REALTIME, PRIORITY_HIGH, PRIORITY_NORMAL, PRIORITY_IDLE, PRIORITY_ENTRY_COUNT };

// The entry that shows a process's priority class; -1 (no entry) for a
// class the list has no entry for, and for 0, a query that failed.
int PriorityEntryFor(DWORD priorityClass);

// The priority class an entry sets; 0 when the entry is none of the four.
DWORD PriorityClassFor(int entry);

// Entries of the command list, in list order; the click is for buttons only.
enum CommandEntry { COMMAND_CLOSE, COMMAND_MAXIMIZE, COMMAND_MINIMIZE, COMMAND_RESTORE, COMMAND_CLICK };

// How many commands a window of this class gets: the click only for the
// class spelled exactly "Button".
int CommandCountFor(const wchar_t *className);

// The WM_SYSCOMMAND an entry sends on its own; 0 for the close sequence,
// the click and anything else.
UINT SysCommandFor(int entry);
