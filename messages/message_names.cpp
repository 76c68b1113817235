#include "message_names.h"
#include "../app/startup.h"
#include "../resources/resource.h"
#include "../styles/style_names.h"

// The table's lines read once, and each group asked for by where it starts
// and how long it is, so that a name costs a look through its group alone.
static TableLine *s_lines;
static int s_lineCount;

struct NameGroup {
    const wchar_t *prefix;
    int first;
    int count;
};
enum { NAME_GROUPS_MAX = 64 };
static NameGroup s_groups[NAME_GROUPS_MAX];
static int s_groupCount;

bool LoadMessageNames()
{
    if (s_lines)
        return true;
    wchar_t *text = LoadTableText(IDR_MESSAGE_NAMES);
    if (!text)
        return false;
    TableLine line;
    int count = 0;
    for (const wchar_t *next = text; (next = ReadTableLine(next, &line)) != nullptr;)
        count++;
    s_lines = static_cast<TableLine *>(HeapAlloc(GetProcessHeap(), 0, (count + 1) * sizeof(TableLine)));
    if (!s_lines) {
        GlobalFree(text);
        return false;
    }
    for (const wchar_t *next = text; (next = ReadTableLine(next, &s_lines[s_lineCount])) != nullptr;)
        s_lineCount++;
    return true;
}

static bool StartsWith(const TableLine &line, const wchar_t *prefix, int length)
{
    if (line.nameLength < length)
        return false;
    for (int i = 0; i < length; i++) {
        if (line.name[i] != prefix[i])
            return false;
    }
    return true;
}

// The first run of lines that start with the prefix; an empty one when the
// table has none, or no room is left to remember it.
static NameGroup GroupOf(const wchar_t *prefix)
{
    for (int i = 0; i < s_groupCount; i++) {
        if (s_groups[i].prefix == prefix)
            return s_groups[i];
    }
    int length = lstrlenW(prefix);
    NameGroup group = { prefix, 0, 0 };
    while (group.first < s_lineCount && !StartsWith(s_lines[group.first], prefix, length))
        group.first++;
    while (group.first + group.count < s_lineCount && StartsWith(s_lines[group.first + group.count], prefix, length))
        group.count++;
    if (s_groupCount < NAME_GROUPS_MAX)
        s_groups[s_groupCount++] = group;
    return group;
}

static void CopyName(const TableLine &line, wchar_t *name, int capacity)
{
    int length = line.nameLength < capacity - 1 ? line.nameLength : capacity - 1;
    for (int i = 0; i < length; i++)
        name[i] = line.name[i];
    name[length] = L'\0';
}

bool FindName(const wchar_t *prefix, DWORD value, wchar_t *name)
{
    NameGroup group = GroupOf(prefix);
    for (int i = group.first; i < group.first + group.count; i++) {
        if (s_lines[i].value == value) {
            CopyName(s_lines[i], name, MESSAGE_NAME_CHARS);
            return true;
        }
    }
    return false;
}

static void AppendFlag(wchar_t *text, int capacity, const wchar_t *name)
{
    int length = lstrlenW(text);
    if (length && length < capacity - 1)
        text[length++] = L'|';
    lstrcpynW(text + length, name, capacity - length);
}

void FormatFlagNames(const wchar_t *prefix, DWORD value, wchar_t *text, int capacity)
{
    NameGroup group = GroupOf(prefix);
    text[0] = L'\0';
    for (int i = group.first; i < group.first + group.count; i++) {
        DWORD flag = s_lines[i].value;
        if (!flag || (value & flag) != flag)
            continue;
        wchar_t name[MESSAGE_NAME_CHARS];
        CopyName(s_lines[i], name, MESSAGE_NAME_CHARS);
        AppendFlag(text, capacity, name);
        value &= ~flag;
    }
    if (value || !text[0]) {
        wchar_t rest[16];
        wsprintfW(rest, L"%lX", value);
        AppendFlag(text, capacity, rest);
    }
}
