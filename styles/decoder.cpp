#include "style_names.h"
#include <commctrl.h>
#include "../app/startup.h"

const ClassPrefix CLASS_PREFIXES[CLASS_PREFIX_COUNT] = {
    { L"Button", L"BS" },
    { L"ScrollBar", L"SBS" },
    { L"ComboBox", L"CBS" },
    { L"Edit", L"ES" },
    { L"SysAnimate32", L"ACS" },
    { L"SysTabControl32", L"TCS" },
    { L"SysTreeView32", L"TVS" },
    { L"msctls_trackbar32", L"TBS_" },   // the underscore keeps TBSTYLE out
    { L"msctls_updown32", L"UDS" },
    { L"msctls_progress32", L"PBS" },
    { L"Static", L"SS" },
    { L"SysHeader32", L"HDS" },
    { L"msctls_statusbar32", L"SBARS" },
    { L"msctls_hotkey32", L"" },
    { L"tooltips_class32", L"TTS" },
    { L"ToolbarWindow32", L"TBSTYLE" },
    { L"ComboBoxEx32", L"CBES" },
    { L"ListBox", L"LBS" },
    { L"SysListView32", L"LVS" },
    { L"SysMonthCal32", L"MCS" },
    { L"SysDateTimePick32", L"DTS" },
    { L"RICHEDIT", L"ES" },
    { L"SysIPAddress32", L"" },
};

static bool LineStartsWith(const wchar_t *line, const wchar_t *prefix, int prefixLength)
{
    for (int i = 0; i < prefixLength; i++) {
        if (line[i] != prefix[i])
            return false;
    }
    return true;
}

// The table is trusted to hold "NAME HEX\r\n" lines; a NUL still stops the
// scan so that a damaged table cannot send it past the end.
static wchar_t *FindLineEnd(wchar_t *line)
{
    while (*line && *line != L'\r' && *line != L'\n')
        line++;
    return line;
}

static DWORD ParseLineValue(const wchar_t *line, const wchar_t *end)
{
    while (line < end && *line != L' ')
        line++;
    DWORD value = 0;
    for (line++; line < end; line++) {
        wchar_t c = *line;
        value = (value << 4) | static_cast<DWORD>(c <= L'9' ? c - 0x30 : c - 0x37);
    }
    return value;
}

static wchar_t *NextLine(wchar_t *end)
{
    while (*end == L'\r' || *end == L'\n')
        end++;
    return end;
}

const wchar_t *ReadTableLine(const wchar_t *line, TableLine *read)
{
    if (!*line)
        return nullptr;
    wchar_t *end = FindLineEnd(const_cast<wchar_t *>(line));
    read->name = line;
    read->nameLength = 0;
    while (line + read->nameLength < end && line[read->nameLength] != L' ')
        read->nameLength++;
    read->value = ParseLineValue(line, end);
    return NextLine(end);
}

int ReadTableRun(const wchar_t *table, const wchar_t *prefix, TableLine *lines, int capacity)
{
    int prefixLength = lstrlenW(prefix);
    int count = 0;
    TableLine line;
    for (const wchar_t *next = table; (next = ReadTableLine(next, &line)) != nullptr;) {
        bool inRun = line.nameLength >= prefixLength && LineStartsWith(line.name, prefix, prefixLength);
        if (!inRun && count > 0)
            break;
        if (inRun && count < capacity)
            lines[count++] = line;
    }
    return count;
}

DWORD DecodeFlags(FlagSink sink, void *target, const wchar_t *prefix, DWORD value)
{
    int prefixLength = lstrlenW(prefix);
    if (prefixLength == 0)
        return 0;

    wchar_t *line = g_pStyleTable;
    while (*line && !LineStartsWith(line, prefix, prefixLength))
        line = NextLine(FindLineEnd(line));

    // Set right after a non-zero name is listed, so that the zero name of
    // the same field (BS_PUSHBUTTON after BS_DEFPUSHBUTTON) is not.
    bool justListedNonZero = false;
    while (*line && LineStartsWith(line, prefix, prefixLength)) {
        wchar_t *end = FindLineEnd(line);
        DWORD lineValue = ParseLineValue(line, end);
        if ((value & lineValue) == lineValue) {
            if (lineValue != 0 || !justListedNonZero) {
                wchar_t saved = *end;
                *end = L'\0';
                sink(target, line);
                *end = saved;
                value ^= lineValue;
                justListedNonZero = lineValue != 0;
            } else {
                justListedNonZero = false;
            }
        }
        line = NextLine(end);
    }
    return value;
}

void AddFlagRow(void *list, wchar_t *text)
{
    wchar_t *space = text;
    while (*space && *space != L' ')
        space++;
    bool hasValue = *space == L' ';
    if (hasValue)
        *space = L'\0';

    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.pszText = text;
    int index =
        static_cast<int>(SendMessageW(static_cast<HWND>(list), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (!hasValue)
        return;

    *space = L' ';
    if (index >= 0) {
        item.iItem = index;
        item.iSubItem = 1;
        item.pszText = space + 1;
        SendMessageW(static_cast<HWND>(list), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
}
