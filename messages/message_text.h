// How the log shows a message: its name, its parameters decoded and its
// result, as far as the names and the copies the library made allow.
#pragma once
#include <windows.h>
#include "log_lines.h"

enum { MESSAGE_TEXT_CHARS = 720 };

// The control class by a window's class name, which names its messages
// and the notifications it sends; 0 for any other class.
BYTE ControlClassOf(const wchar_t *className);

// False for a record whose values do not hold together (its kind, what it
// copied and how much): it is shown by its raw values alone.
bool IsWellFormed(const LogLine &line);

// The message's name: by the window's class, registered, WM_USER+n,
// WM_APP+n, or its number.
void FormatMessageName(const LogLine &line, wchar_t *text);

// The parameters as name:value pairs, or wParam and lParam in hexadecimal.
void FormatParameters(const LogLine &line, const BYTE *data, wchar_t *text);

// A returned message's result, decoded where it has a meaning; empty for
// the others.
void FormatResult(const LogLine &line, wchar_t *text);
