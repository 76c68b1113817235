// The message-name table: the names of messages, of notifications and of
// the constants their parameters carry, grouped by prefix as the style
// names are ("WM_", "BM_", "NM_", "VK_", "HT", "SWP_"...).
#pragma once
#include <windows.h>

enum { MESSAGE_NAME_CHARS = 64 };

// Loads the table, once; false when the resource is missing or no memory
// is left for it.
bool LoadMessageNames();

// The name of the first line of the prefix's group with the value; false
// when it has none. The prefix must outlive the program: its group is
// remembered by it.
bool FindName(const wchar_t *prefix, DWORD value, wchar_t *name);

// The names of the group's flags that the value holds, taken greedily in
// the table's order and joined by '|', then the bits no name took in
// hexadecimal; "0" for none.
void FormatFlagNames(const wchar_t *prefix, DWORD value, wchar_t *text, int capacity);
