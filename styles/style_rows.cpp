#include "style_rows.h"
#include <commctrl.h>
#include "style_names.h"
#include "../app/startup.h"

// The fields whose values are a choice, not bits, with their masks: the
// headers' own where they name one, else the union of the field's values.
// A name of value 0 belongs to the field of the line before it.
static const struct {
    const wchar_t *prefix;
    DWORD mask;
} STYLE_FIELDS[] = {
    { L"WS_", WS_CHILD | WS_POPUP },
    { L"WS_EX_", WS_EX_RIGHT },
    { L"WS_EX_", WS_EX_RTLREADING },
    { L"WS_EX_", WS_EX_LEFTSCROLLBAR },
    { L"BS", BS_TYPEMASK },
    { L"BS", BS_ICON | BS_BITMAP },
    { L"BS", BS_CENTER },
    { L"BS", BS_VCENTER },
    { L"SS", SS_TYPEMASK },
    { L"SS", SS_ELLIPSISMASK },
    { L"ES", ES_CENTER | ES_RIGHT },
    { L"CBS", CBS_SIMPLE | CBS_DROPDOWN },
    { L"LVS", LVS_TYPEMASK },
    { L"LVS", LVS_ALIGNMASK },
    // The time format's value also sets the up-down bit, which is no part of the field.
    { L"DTS", DTS_LONGDATEFORMAT | DTS_SHORTDATECENTURYFORMAT },
    { L"TBS_", TBS_VERT },
    { L"TBS_", TBS_TOP },
    { L"SBS", SBS_VERT },
    { L"TCS", TCS_MULTILINE },
    { L"TCS", TCS_FIXEDWIDTH },
    { L"TCS", TCS_BUTTONS },
    { L"PGS", PGS_HORZ },
};

enum { GROUP_LINES_MAX = 64 };

static DWORD FieldMaskOf(const wchar_t *prefix, DWORD value)
{
    for (const auto &field : STYLE_FIELDS) {
        if (lstrcmpW(field.prefix, prefix) == 0 && (field.mask & value))
            return field.mask;
    }
    return 0;
}

// The table also names the masks of some fields, which are no value to give.
static bool NamesAMask(const TableLine &line)
{
    static const wchar_t MASK[] = L"MASK";
    int length = ARRAYSIZE(MASK) - 1;
    if (line.nameLength < length)
        return false;
    for (int i = 0; i < length; i++) {
        if (line.name[line.nameLength - length + i] != MASK[i])
            return false;
    }
    return true;
}

static void AppendBounded(wchar_t *text, const wchar_t *more, int capacity)
{
    int length = lstrlenW(text);
    lstrcpynW(text + length, more, capacity - length);
}

// The line's name after the row's others, an alias's comma as a " / ",
// unless the row ends with it already: the table doubles some lines.
static void AddRowName(StyleRow *row, const TableLine &line)
{
    wchar_t name[STYLE_ROW_NAME_CHARS];
    int length = 0;
    for (int i = 0; i < line.nameLength && length < STYLE_ROW_NAME_CHARS - 3; i++) {
        if (line.name[i] == L',') {
            lstrcpyW(name + length, L" / ");
            length += 3;
        } else {
            name[length++] = line.name[i];
        }
    }
    name[length] = L'\0';
    int rowLength = lstrlenW(row->names);
    if (rowLength >= length && lstrcmpW(row->names + rowLength - length, name) == 0)
        return;
    if (rowLength)
        AppendBounded(row->names, L" / ", STYLE_ROW_NAME_CHARS);
    AppendBounded(row->names, name, STYLE_ROW_NAME_CHARS);
}

static int AddGroupRows(const wchar_t *prefix, StyleRow *rows, int count)
{
    TableLine lines[GROUP_LINES_MAX];
    int lineCount = ReadTableRun(g_pStyleTable, prefix, lines, GROUP_LINES_MAX);
    DWORD fieldBefore = 0;
    for (int i = 0; i < lineCount; i++) {
        const TableLine &line = lines[i];
        if (NamesAMask(line))
            continue;
        DWORD field = line.value ? FieldMaskOf(prefix, line.value) : fieldBefore;
        bool option = field || !line.value;
        fieldBefore = option ? field : 0;
        DWORD mask = option ? field : line.value;
        int row = 0;
        while (row < count && !(rows[row].value == line.value && rows[row].mask == mask && rows[row].option == option))
            row++;
        if (row == count && count == STYLE_ROWS_MAX)
            continue;
        if (row == count)
            rows[count++] = { L"", line.value, mask, option };
        AddRowName(&rows[row], line);
    }
    return count;
}

int BuildStyleRows(const wchar_t *className, int which, DWORD value, StyleRow *rows)
{
    int count = 0;
    if (which == GWL_EXSTYLE) {
        count = AddGroupRows(L"WS_EX_", rows, count);
    } else {
        count = AddGroupRows(L"WS_", rows, count);
        for (int row = 0; row < CLASS_PREFIX_COUNT; row++) {
            if (lstrcmpiW(className, CLASS_PREFIXES[row].className) == 0 && CLASS_PREFIXES[row].prefix[0]) {
                count = AddGroupRows(CLASS_PREFIXES[row].prefix, rows, count);
                break;
            }
        }
        count = AddGroupRows(L"CCS", rows, count);
    }
    DWORD covered = 0;
    for (int row = 0; row < count; row++)
        covered |= rows[row].mask;
    for (int bit = 0; bit < 32 && count < STYLE_ROWS_MAX; bit++) {
        DWORD mask = 1u << bit;
        if (!(value & mask & ~covered))
            continue;
        rows[count] = { L"", mask, mask, false };
        wsprintfW(rows[count++].names, L"%.8lX", mask);
    }
    return count;
}

bool IsRowChecked(const StyleRow &row, DWORD style) { return (style & row.mask) == (row.value & row.mask); }

DWORD ToggleStyleRow(const StyleRow &row, DWORD style, bool checked)
{
    if (row.option)
        return checked ? (style & ~row.mask) | row.value : style;
    return checked ? style | row.value : style & ~row.value;
}

static void AppendName(wchar_t *list, const wchar_t *name)
{
    if (list[0])
        AppendBounded(list, L", ", STYLE_CHANGE_CHARS);
    AppendBounded(list, name, STYLE_CHANGE_CHARS);
}

// An option is named where it is on: the one wanted that did not take, or
// the one the window chose itself.
void DescribeStyleChange(const wchar_t *className, int which, DWORD before, DWORD wanted, DWORD after,
                         wchar_t *notTaken, wchar_t *onItsOwn)
{
    notTaken[0] = onItsOwn[0] = L'\0';
    StyleRow rows[STYLE_ROWS_MAX];
    int count = BuildStyleRows(className, which, before | wanted | after, rows);
    for (int i = 0; i < count; i++) {
        const StyleRow &row = rows[i];
        bool wantedOn = IsRowChecked(row, wanted);
        bool afterOn = IsRowChecked(row, after);
        bool userChanged = ((before ^ wanted) & row.mask) != 0;
        if (wantedOn == afterOn || (row.option && (userChanged ? afterOn : wantedOn)))
            continue;
        AppendName(userChanged ? notTaken : onItsOwn, row.names);
    }
}
