// What the main window, the details dialog and the style panels share.
#pragma once
#include <windows.h>

extern HWND g_hTarget;   // the window the details dialog shows; set by the main window

// What pointing's mouse hook, and the information window's finder while
// it is dragged, tell the main window.
enum {
    WM_POINTING_MOVED = WM_APP + 1,   // follow the pointer to where it now is
    WM_POINTING_PICKED,               // a left click or the finder let go: pick what is under it
    WM_POINTING_CANCELLED,            // a right click, Esc or the capture lost
    WM_POINTING_DRAG,                 // the finder pressed: wParam holds the window to capture the mouse
};

// Dialog units in pixels, by the dialog's own font and DPI: Windows scales
// nothing for a DPI-aware program.
POINT DialogUnitsToPixels(HWND dialog, int x, int y);

enum { HANDLE_CHARS = 9 };   // eight hexadecimal digits and the terminator

// A handle as the details show it: its low 32 bits in upper-case
// hexadecimal, without leading zeros.
void FormatHandle(wchar_t *text, HWND window);

enum { TITLE_CHARS = 600 };

// A window's title: the caption, then the window's handle and class.
void FormatWindowTitle(wchar_t *title, const wchar_t *caption, HWND window);

// A value of that many bytes in all its hexadecimal digits: pointers,
// handles and parameters never cut.
void FormatHexBytes(wchar_t *text, UINT64 value, int bytes);

// Hexadecimal digits, after an optional 0x, into the value; false for
// anything else, no digits, or more than a pointer holds.
bool ReadHexadecimal(const wchar_t *text, ULONG_PTR *value);

// Text that grows as it is appended to, on the process heap, until it is
// put on the clipboard. Once memory runs out nothing more is appended, and
// nothing of it is put there: a part would pass for the whole.
struct TextBuffer {
    wchar_t *text;
    SIZE_T length;
    SIZE_T capacity;
    bool failed;
};
void AppendText(TextBuffer *buffer, const wchar_t *text);

// Puts the text on the clipboard as Unicode text, and frees it.
void PutOnClipboard(HWND owner, TextBuffer *text);
