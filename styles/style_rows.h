// The style editor's rows: every name a window's style can take, and what
// checking or clearing one does to the style.
#pragma once
#include <windows.h>

enum { STYLE_ROW_NAME_CHARS = 96, STYLE_ROWS_MAX = 128, STYLE_CHANGE_CHARS = 512 };

struct StyleRow {
    wchar_t names[STYLE_ROW_NAME_CHARS];   // the names that share the value, joined by " / "
    DWORD value;
    DWORD mask;    // the bits that say whether it is checked: its own, or its field's
    bool option;   // one of a field's values: checked alone, and never cleared
};

// The rows of the window style (GWL_STYLE: the WS_ names, those of the
// class's group and the CCS ones) or of the extended style (GWL_EXSTYLE),
// in the table's order, then one for each bit of `value` that no name
// covers. Returns how many.
int BuildStyleRows(const wchar_t *className, int which, DWORD value, StyleRow *rows);

bool IsRowChecked(const StyleRow &row, DWORD style);

// The style with the row checked or cleared: a plain flag's bits set or
// cleared, an option's value put in its field; an option stays when cleared.
DWORD ToggleStyleRow(const StyleRow &row, DWORD style, bool checked);

// What was read back against what was written, by row: the rows the user
// changed that did not take, and those the window changed on its own, each
// a list of names separated by commas; empty where none.
void DescribeStyleChange(const wchar_t *className, int which, DWORD before, DWORD wanted, DWORD after,
                         wchar_t *notTaken, wchar_t *onItsOwn);
