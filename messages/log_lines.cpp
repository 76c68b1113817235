#include "log_lines.h"

// Three rings: the lines, the numbers of those shown, and the bytes their
// pointers' copies take, each copy in one piece. Positions count from the
// lines' beginning and never go back, so that what a ring no longer holds
// is known by its position alone.
enum { DATA_RING_BYTES = 4 << 20, DATA_ALIGNMENT = 8 };

static LogLine *s_lines;
static LONG64 *s_shown;
static BYTE *s_data;
static LONG64 s_first, s_next;             // line numbers kept
static LONG64 s_shownFirst, s_shownNext;   // positions in the shown ring
static LONG64 s_dataWritten;
static LONG64 s_dropped;

static void *Take(SIZE_T bytes) { return HeapAlloc(GetProcessHeap(), 0, bytes); }

static void Give(void *memory)
{
    if (memory)
        HeapFree(GetProcessHeap(), 0, memory);
}

void EndLogLines()
{
    Give(s_lines);
    Give(s_shown);
    Give(s_data);
    s_lines = nullptr;
    s_shown = nullptr;
    s_data = nullptr;
}

bool BeginLogLines()
{
    if (!s_lines) {
        s_lines = static_cast<LogLine *>(Take(LOG_LINES_MAX * sizeof(LogLine)));
        s_shown = static_cast<LONG64 *>(Take(LOG_LINES_MAX * sizeof(LONG64)));
        s_data = static_cast<BYTE *>(Take(DATA_RING_BYTES));
    }
    if (!s_lines || !s_shown || !s_data) {
        EndLogLines();
        return false;
    }
    s_first = s_next = 1;
    s_shownFirst = s_shownNext = 0;
    s_dataWritten = 0;
    s_dropped = 0;
    return true;
}

// A copy that would not fit before the ring's end starts at its beginning.
static LONG64 KeepData(const BYTE *data, int bytes)
{
    LONG64 offset = s_dataWritten % DATA_RING_BYTES;
    if (offset + bytes > DATA_RING_BYTES)
        s_dataWritten += DATA_RING_BYTES - offset;
    LONG64 at = s_dataWritten;
    BYTE *to = s_data + at % DATA_RING_BYTES;
    for (int i = 0; i < bytes; i++)
        to[i] = data[i];
    s_dataWritten += (bytes + DATA_ALIGNMENT - 1) / DATA_ALIGNMENT * DATA_ALIGNMENT;
    return at;
}

LONG64 AddLogLine(const LogRecord &record, BYTE windowClass, BYTE senderClass)
{
    if (s_next - s_first == LOG_LINES_MAX) {
        if (s_shownNext > s_shownFirst && s_shown[s_shownFirst % LOG_LINES_MAX] == s_first)
            s_shownFirst++;
        s_first++;
        s_dropped++;
    }
    LogLine &line = s_lines[s_next % LOG_LINES_MAX];
    line.time = record.time;
    line.window = record.window;
    line.wParam = record.wParam;
    line.lParam = record.lParam;
    line.result = record.result;
    line.message = record.message;
    line.kind = record.kind;
    line.dataKind = record.dataKind;
    line.windowClass = windowClass;
    line.senderClass = senderClass;
    // The record's own count is not trusted: what it copied is kept at most whole.
    line.dataBytes = record.dataBytes < LOG_DATA_BYTES ? record.dataBytes : static_cast<WORD>(LOG_DATA_BYTES);
    line.dataAt = KeepData(record.data, line.dataBytes);
    line.dataBytes = record.dataBytes;
    return s_next++;
}

const LogLine *LogLineAt(LONG64 number)
{
    return number >= s_first && number < s_next ? &s_lines[number % LOG_LINES_MAX] : nullptr;
}

const BYTE *LogLineData(const LogLine &line)
{
    if (!line.dataBytes || line.dataAt < s_dataWritten - DATA_RING_BYTES)
        return nullptr;
    return s_data + line.dataAt % DATA_RING_BYTES;
}

LONG64 FirstLogLine() { return s_first; }

LONG64 NextLogLine() { return s_next; }

LONG64 DroppedLogLines() { return s_dropped; }

void ClearLogLines()
{
    s_first = s_next;
    ClearShownLines();
}

void ShowLogLine(LONG64 number) { s_shown[s_shownNext++ % LOG_LINES_MAX] = number; }

void ClearShownLines() { s_shownFirst = s_shownNext; }

int ShownLineCount() { return static_cast<int>(s_shownNext - s_shownFirst); }

LONG64 ShownLineAt(int index) { return s_shown[(s_shownFirst + index) % LOG_LINES_MAX]; }
