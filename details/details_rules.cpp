#include "details_rules.h"
#include "../styles/style_names.h"

static const DWORD PRIORITY_CLASSES[PRIORITY_ENTRY_COUNT] = {
    REALTIME_PRIORITY_CLASS,
    HIGH_PRIORITY_CLASS,
    NORMAL_PRIORITY_CLASS,
    IDLE_PRIORITY_CLASS,
};

int PriorityEntryFor(DWORD priorityClass)
{
    for (int entry = 0; entry < PRIORITY_ENTRY_COUNT; entry++) {
        if (PRIORITY_CLASSES[entry] == priorityClass)
            return entry;
    }
    return -1;
}

DWORD PriorityClassFor(int entry) { return entry >= 0 && entry < PRIORITY_ENTRY_COUNT ? PRIORITY_CLASSES[entry] : 0; }

int CommandCountFor(const wchar_t *className)
{
    return lstrcmpW(className, CLASS_PREFIXES[ROW_BUTTON].className) == 0 ? COMMAND_CLICK + 1 : COMMAND_CLICK;
}

UINT SysCommandFor(int entry)
{
    switch (entry) {
    case COMMAND_MAXIMIZE:
        return SC_MAXIMIZE;
    case COMMAND_MINIMIZE:
        return SC_MINIMIZE;
    case COMMAND_RESTORE:
        return SC_RESTORE;
    default:
        return 0;
    }
}
