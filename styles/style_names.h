// The style-name table, the class-prefix table and the flag decoder.
#pragma once
#include <windows.h>

struct ClassPrefix {
    const wchar_t *className;
    const wchar_t *prefix;   // names of this class's styles in the table; "" for none
};

enum { CLASS_PREFIX_COUNT = 23 };
extern const ClassPrefix CLASS_PREFIXES[CLASS_PREFIX_COUNT];

// Rows of CLASS_PREFIXES that other code singles out.
enum { ROW_BUTTON = 0, ROW_SCROLLBAR = 1, ROW_COMBOBOX = 2, ROW_EDIT = 3 };

// Where the decoder puts each line it lists, "NAME HEX" (or a text without
// a space): a panel's row, or a line of names.
typedef void (*FlagSink)(void *target, wchar_t *line);

// Lists every name of the first run of table lines that start with
// `prefix` whose bits are all still set, taking them greedily in table
// order. Returns the bits no listed name took; an empty prefix returns 0.
DWORD DecodeFlags(FlagSink sink, void *target, const wchar_t *prefix, DWORD value);

// A line of a name table, "NAME HEX": its name, up to the space, and its value.
struct TableLine {
    const wchar_t *name;
    int nameLength;
    DWORD value;
};

// Reads the line the text starts at; returns the next line, or null at the
// table's end.
const wchar_t *ReadTableLine(const wchar_t *line, TableLine *read);

// The lines of the first run that start with `prefix`, at most `capacity`
// of them; returns how many.
int ReadTableRun(const wchar_t *table, const wchar_t *prefix, TableLine *lines, int capacity);

// The sink of the panels: adds the line as one two-column row of the list
// view. The text is cut at its space while the row is added and then restored.
void AddFlagRow(void *list, wchar_t *text);
