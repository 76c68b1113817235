// What the hook library writes and the message log reads: a section of
// shared memory, named for the log, holding a header and a ring of slots,
// one record each. Any program of the same user can open the section and
// write into it, so the log checks every value it reads there.
#pragma once
#include <windows.h>

// The library finds the log by its message-only window of this class,
// whose user data holds the process it watches.
#define LOG_BELL_CLASS L"OrvalisLogBell"

enum {
    LOG_MAGIC = 0x4C4F5652,   // "RVOL"
    LOG_LAYOUT = 1,           // changed with any change below
    LOG_SLOT_COUNT = 8192,    // a power of two
    LOG_TEXT_CHARS = 256,     // a text's characters copied at most
    LOG_DATA_BYTES = 520,
    LOG_NAME_CHARS = 64,
};

// What a record says happened to the message.
enum LogKind : BYTE {
    LOG_SENT = 1,       // sent, before the window procedure
    LOG_RETURNED = 2,   // after it, with its result
    LOG_POSTED = 3,     // taken from the thread's queue
};

// What the record copied of what a pointer parameter points at.
enum LogData : BYTE {
    DATA_NONE,
    DATA_TEXT,        // the characters, all of them
    DATA_TEXT_CUT,    // the first LOG_TEXT_CHARS of them
    DATA_CREATE,      // LogCreate
    DATA_WINDOWPOS,   // WINDOWPOS
    DATA_STYLE,       // STYLESTRUCT
    DATA_MINMAX,      // MINMAXINFO
    DATA_RECT,        // RECT
    DATA_NOTIFY,      // NMHDR
};

// The window's creation, its strings cut to fit.
struct LogCreate {
    int x, y, cx, cy;
    DWORD style;
    UINT64 classAtom;   // the class as an atom, or 0 where it came as a name
    wchar_t className[LOG_NAME_CHARS];
    wchar_t text[2 * LOG_NAME_CHARS];
};

// Which windows of the threads hooked the library records.
enum LogFilter {
    FILTER_WINDOW,        // the window alone
    FILTER_DESCENDANTS,   // the window and every window beneath it
    FILTER_NONE,          // every window
};

struct LogRecord {
    LONG64 time;   // QueryPerformanceCounter's
    UINT64 window;
    UINT64 wParam;
    UINT64 lParam;
    UINT64 result;   // of a returned message
    UINT message;
    BYTE kind;
    BYTE dataKind;
    WORD dataBytes;
    BYTE data[LOG_DATA_BYTES];
};

// A slot is free for the writer whose place is on the lap its sequence
// names, and written for the reader at that lap plus one: zero-filled, the
// ring starts empty.
struct LogSlot {
    volatile LONG64 sequence;
    LogRecord record;
};

struct LogSection {
    DWORD magic;
    DWORD layout;
    volatile LONG64 claimed;   // the next place a writer takes
    volatile LONG lost;        // records that found the ring full
    volatile LONG paused;      // set by the log: record nothing
    volatile LONG closed;      // set by the log as it stops watching: let the section go
    DWORD filter;              // a LogFilter
    UINT64 target;             // the window watched
    UINT64 own;                // the log's own window, whose messages, and its children's, are never recorded
    DWORD ownProcess;          // the log's process
    LogSlot slots[LOG_SLOT_COUNT];
};

enum { LOG_SECTION_NAME_CHARS = 64 };

// The section's name, for the log's process and its bell.
inline void NameLogSection(wchar_t *name, HWND bell)
{
    DWORD process = 0;
    GetWindowThreadProcessId(bell, &process);
    wsprintfW(name, L"Local\\OrvalisLog.%lu.%lX", process, static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(bell)));
}
