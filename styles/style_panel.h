// The details dialog's three style panels: a flag list and its caption each.
#pragma once
#include <windows.h>
#include "style_names.h"

// Fills list `listId` of the dialog with g_hTarget's style named by `which`
// (GWL_STYLE, GWL_EXSTYLE or GCL_STYLE), then the bits no name covered, and
// sets the caption above it. With a prefix override the window style is
// decoded as if the target were of that class.
void FillStylePanel(HWND dialog, int listId, int which, const wchar_t *prefixOverride);

// Decodes the window's style named by `which` as the panels show it: the
// table's names (for the window style, its class's too), then each bit no
// name covered as eight hexadecimal digits. Returns the style.
DWORD DecodeWindowStyle(HWND window, int which, const wchar_t *prefixOverride, FlagSink sink, void *target);

enum { STYLE_TEXT_CHARS = 1040 };

// The window's style named by `which` in hexadecimal, then its names as the
// panels decode them, separated by spaces; longer than the text holds, the
// last names are left out. Returns the style.
DWORD FormatStyleText(HWND window, int which, wchar_t *text);

// True when `format` holds exactly one conversion, and that one takes a
// single 32-bit number with a width and precision of at most two digits,
// so wsprintfW reads only the value passed and writes under 256 characters.
bool IsSingleValueFormat(const wchar_t *format);
