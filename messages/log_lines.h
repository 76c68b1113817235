// The log's lines: the last LOG_LINES_MAX records read, oldest first, with
// what their pointer parameters pointed at, and which of them are shown.
// Lines are numbered from 1 in the order they came; the memory they take
// is fixed when the log opens.
#pragma once
#include <windows.h>
#include "log_record.h"

enum { LOG_LINES_MAX = 100000 };

struct LogLine {
    LONG64 time;
    UINT64 window;
    UINT64 wParam;
    UINT64 lParam;
    UINT64 result;
    UINT message;
    BYTE kind;
    BYTE dataKind;
    WORD dataBytes;
    BYTE windowClass;   // the control class of the window (ControlClassOf)
    BYTE senderClass;   // of the control a notification or command comes from
    LONG64 dataAt;      // where its data begins, in bytes written since the lines began
};

// Takes the memory for the lines, and begins them anew from number 1;
// false when there is no memory for them.
bool BeginLogLines();

// Gives the memory back.
void EndLogLines();

// Adds the record as the newest line, the oldest dropped past
// LOG_LINES_MAX; returns its number.
LONG64 AddLogLine(const LogRecord &record, BYTE windowClass, BYTE senderClass);

// The line of that number; null for one dropped or cleared.
const LogLine *LogLineAt(LONG64 number);

// What the line's pointer pointed at; null when it copied nothing, or
// newer lines' copies have taken its place.
const BYTE *LogLineData(const LogLine &line);

// The numbers of the lines kept: from the first to one before the next.
LONG64 FirstLogLine();
LONG64 NextLogLine();

// How many lines were dropped as the oldest.
LONG64 DroppedLogLines();

// Drops every line; numbers go on.
void ClearLogLines();

// The lines shown, in order: shown one by one as they come, or anew after
// their choice changed; a dropped line is no longer shown.
void ShowLogLine(LONG64 number);
void ClearShownLines();
int ShownLineCount();
LONG64 ShownLineAt(int index);
