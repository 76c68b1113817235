// The hook library: loaded by the system into the program whose messages
// the log watches, it copies each message into the log's section. It runs
// inside that program, so it sends and posts nothing, never waits, takes
// nothing from the program's heap and uses no C runtime: a record is
// written whole, or counted lost.
#include <windows.h>
#include "log_record.h"

static LogSection *volatile s_section;   // the log's section, while it watches this process
static LogSection *volatile s_retired;   // one let go, unmapped once no hook call is inside it
static volatile LONG s_inside;           // hook calls inside a section now
static HWND s_bell;                      // the log's window, gone with the log
static DWORD s_nextLook;                 // after finding no log: when to look again
static DWORD s_nextBellCheck;            // when to ask again whether the log is there

enum { LOOK_EVERY_MS = 1000, BELL_CHECK_EVERY_MS = 100, CLAIM_TRIES = 64 };

static LogSection *OpenLogSection(HWND bell)
{
    wchar_t name[LOG_SECTION_NAME_CHARS];
    NameLogSection(name, bell);
    HANDLE mapping = OpenFileMappingW(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, name);
    if (!mapping)
        return nullptr;
    void *view = MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(LogSection));
    CloseHandle(mapping);
    LogSection *section = static_cast<LogSection *>(view);
    if (section && (section->magic != LOG_MAGIC || section->layout != LOG_LAYOUT)) {
        UnmapViewOfFile(section);
        section = nullptr;
    }
    return section;
}

// The log that watches this process, found by its bell; at most once a
// second while there is none.
static LogSection *LookForLog()
{
    DWORD now = GetTickCount();
    if (s_nextLook && static_cast<LONG>(now - s_nextLook) < 0)
        return nullptr;
    s_nextLook = now + LOOK_EVERY_MS;
    HWND bell = nullptr;
    while ((bell = FindWindowExW(HWND_MESSAGE, bell, LOG_BELL_CLASS, nullptr)) != nullptr) {
        if (static_cast<DWORD>(GetWindowLongPtrW(bell, GWLP_USERDATA)) == GetCurrentProcessId())
            break;
    }
    LogSection *section = bell ? OpenLogSection(bell) : nullptr;
    if (!section)
        return nullptr;
    // Another thread of this process may have found it first.
    if (InterlockedCompareExchangePointer(reinterpret_cast<void *volatile *>(&s_section), section, nullptr)) {
        UnmapViewOfFile(section);
        return nullptr;
    }
    s_bell = bell;
    s_nextBellCheck = now + BELL_CHECK_EVERY_MS;
    return section;
}

// A section stays mapped while a hook call may be inside it: it is kept
// aside and unmapped by the first call that finds itself alone.
static void LetGo(LogSection *section)
{
    if (InterlockedCompareExchangePointer(reinterpret_cast<void *volatile *>(&s_section), nullptr, section) != section)
        return;
    s_nextLook = GetTickCount();
    void *kept = InterlockedExchangePointer(reinterpret_cast<void *volatile *>(&s_retired), section);
    if (kept)
        UnmapViewOfFile(kept);
}

static void UnmapRetiredAlone()
{
    if (s_retired && s_inside == 1) {
        void *retired = InterlockedExchangePointer(reinterpret_cast<void *volatile *>(&s_retired), nullptr);
        if (retired)
            UnmapViewOfFile(retired);
    }
}

// Nothing is written once the log stops or is gone: a killed log sets no
// flag, but its bell goes with it. A log begun anew may be there already.
static LogSection *CurrentSection()
{
    UnmapRetiredAlone();
    LogSection *section = s_section;
    if (!section)
        return LookForLog();
    DWORD now = GetTickCount();
    bool checkBell = static_cast<LONG>(now - s_nextBellCheck) >= 0;
    if (checkBell)
        s_nextBellCheck = now + BELL_CHECK_EVERY_MS;
    if (section->closed || (checkBell && !IsWindow(s_bell))) {
        LetGo(section);
        return LookForLog();
    }
    return section;
}

static bool IsRecorded(const LogSection *section, HWND window)
{
    if (section->paused)
        return false;
    HWND own = reinterpret_cast<HWND>(section->own);
    if (section->ownProcess == GetCurrentProcessId() && own && (window == own || IsChild(own, window)))
        return false;
    HWND target = reinterpret_cast<HWND>(section->target);
    switch (section->filter) {
    case FILTER_WINDOW:
        return window == target;
    case FILTER_DESCENDANTS:
        return window == target || IsChild(target, window);
    default:
        return true;
    }
}

// A place in the ring, without a lock: a writer that finds its slot taken
// tries the next place, a bounded number of times.
static LogSlot *ClaimSlot(LogSection *section, LONG64 *place)
{
    LONG64 claimed = section->claimed;
    for (int tries = 0; tries < CLAIM_TRIES; tries++) {
        LogSlot *slot = &section->slots[claimed & (LOG_SLOT_COUNT - 1)];
        LONG64 ahead = slot->sequence - (claimed & ~static_cast<LONG64>(LOG_SLOT_COUNT - 1));
        if (ahead < 0)
            break;   // full: the slot still holds a record the log has not read
        if (ahead > 0) {
            claimed = section->claimed;
            continue;
        }
        LONG64 seen = InterlockedCompareExchange64(&section->claimed, claimed + 1, claimed);
        if (seen == claimed) {
            *place = claimed;
            return slot;
        }
        claimed = seen;
    }
    InterlockedIncrement(&section->lost);
    return nullptr;
}

// How many of the bytes from there can be read here. Under Wine the hooks of a message sent from another process
// are given the sender's pointer, which here may point at nothing, or at something else.
static SIZE_T ReadableBytes(const void *from, SIZE_T wanted)
{
    const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                           PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    const BYTE *start = static_cast<const BYTE *>(from);
    const BYTE *end = start;
    MEMORY_BASIC_INFORMATION region;
    while (end < start + wanted && VirtualQuery(end, &region, sizeof region) && region.State == MEM_COMMIT &&
           (region.Protect & readable) && !(region.Protect & PAGE_GUARD))
        end = static_cast<const BYTE *>(region.BaseAddress) + region.RegionSize;
    SIZE_T found = static_cast<SIZE_T>(end - start);
    return found < wanted ? found : wanted;
}

static void CopyBytes(BYTE *to, const void *from, int bytes)
{
    const BYTE *source = static_cast<const BYTE *>(from);
    for (int i = 0; i < bytes; i++)
        to[i] = source[i];
}

// At most `limit` characters, up to the terminator or `length` of them.
static int CopyText(wchar_t *to, const wchar_t *from, int length, int limit)
{
    SIZE_T bytes = ReadableBytes(from, static_cast<SIZE_T>(limit) * sizeof(wchar_t));
    int readable = static_cast<int>(bytes / sizeof(wchar_t));
    int count = 0;
    while (count < readable && count < length && from[count]) {
        to[count] = from[count];
        count++;
    }
    return count;
}

static void CopyString(wchar_t *to, const wchar_t *from, int capacity)
{
    to[CopyText(to, from, capacity - 1, capacity - 1)] = L'\0';
}

static void CopyStruct(LogRecord *record, LogData kind, const void *from, int bytes)
{
    if (ReadableBytes(from, bytes) < static_cast<SIZE_T>(bytes))
        return;
    CopyBytes(record->data, from, bytes);
    record->dataKind = kind;
    record->dataBytes = static_cast<WORD>(bytes);
}

static void CopyTextData(LogRecord *record, const wchar_t *text, int length)
{
    wchar_t *to = reinterpret_cast<wchar_t *>(record->data);
    int count = CopyText(to, text, length, LOG_TEXT_CHARS + 1);
    bool cut = count > LOG_TEXT_CHARS;
    record->dataKind = cut ? DATA_TEXT_CUT : DATA_TEXT;
    record->dataBytes = static_cast<WORD>((cut ? LOG_TEXT_CHARS : count) * sizeof(wchar_t));
}

static void CopyCreation(LogRecord *record, const CREATESTRUCTW *creation)
{
    if (ReadableBytes(creation, sizeof *creation) < sizeof *creation)
        return;
    LogCreate *copy = reinterpret_cast<LogCreate *>(record->data);
    copy->x = creation->x;
    copy->y = creation->y;
    copy->cx = creation->cx;
    copy->cy = creation->cy;
    copy->style = static_cast<DWORD>(creation->style);
    bool atom = IS_INTRESOURCE(creation->lpszClass);
    copy->classAtom = atom ? reinterpret_cast<ULONG_PTR>(creation->lpszClass) : 0;
    CopyString(copy->className, atom ? nullptr : creation->lpszClass, LOG_NAME_CHARS);
    // A dialog's control may be named by a resource ordinal, which is no text.
    const wchar_t *name = creation->lpszName;
    bool text = ReadableBytes(name, sizeof *name) && name[0] != 0xFFFF;
    CopyString(copy->text, text ? name : nullptr, 2 * LOG_NAME_CHARS);
    record->dataKind = DATA_CREATE;
    record->dataBytes = sizeof(LogCreate);
}

// Only what the system defines a message's pointer to be is followed:
// never the parameters of a message whose meaning is not known here.
static void CopyPointed(LogRecord *record, UINT message, WPARAM wParam, LPARAM lParam, LRESULT result)
{
    const void *pointed = reinterpret_cast<const void *>(lParam);
    bool returned = record->kind == LOG_RETURNED;
    switch (message) {
    case WM_SETTEXT:
        if (!returned)
            CopyTextData(record, static_cast<const wchar_t *>(pointed), LOG_TEXT_CHARS + 1);
        break;
    // What the window wrote, as long as it says. (Wine 8 says 0 for a message sent from another process.)
    case WM_GETTEXT:
        if (returned && result > 0)
            CopyTextData(record, static_cast<const wchar_t *>(pointed),
                         static_cast<int>(static_cast<WPARAM>(result) < wParam ? result : wParam));
        break;
    case WM_CREATE:
    case WM_NCCREATE:
        if (!returned)
            CopyCreation(record, static_cast<const CREATESTRUCTW *>(pointed));
        break;
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
        CopyStruct(record, DATA_WINDOWPOS, pointed, sizeof(WINDOWPOS));
        break;
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
        CopyStruct(record, DATA_STYLE, pointed, sizeof(STYLESTRUCT));
        break;
    case WM_GETMINMAXINFO:
        if (returned)
            CopyStruct(record, DATA_MINMAX, pointed, sizeof(MINMAXINFO));
        break;
    case WM_DPICHANGED:
        if (!returned)
            CopyStruct(record, DATA_RECT, pointed, sizeof(RECT));
        break;
    case WM_NOTIFY:
        if (!returned)
            CopyStruct(record, DATA_NOTIFY, pointed, sizeof(NMHDR));
        break;
    }
}

static void RecordMessage(BYTE kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT result)
{
    InterlockedIncrement(&s_inside);
    LogSection *section = CurrentSection();
    LONG64 place;
    LogSlot *slot = section && IsRecorded(section, window) ? ClaimSlot(section, &place) : nullptr;
    if (slot) {
        LogRecord *record = &slot->record;
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        record->time = now.QuadPart;
        record->window = reinterpret_cast<ULONG_PTR>(window);
        record->wParam = wParam;
        record->lParam = static_cast<ULONG_PTR>(lParam);
        record->result = static_cast<ULONG_PTR>(result);
        record->message = message;
        record->kind = kind;
        record->dataKind = DATA_NONE;
        record->dataBytes = 0;
        CopyPointed(record, message, wParam, lParam, result);
        InterlockedExchange64(&slot->sequence, (place & ~static_cast<LONG64>(LOG_SLOT_COUNT - 1)) + 1);
    }
    InterlockedDecrement(&s_inside);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK OrvalisCallWndProc(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT *sent = reinterpret_cast<const CWPSTRUCT *>(lParam);
    if (code == HC_ACTION)
        RecordMessage(LOG_SENT, sent->hwnd, sent->message, sent->wParam, sent->lParam, 0);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK OrvalisCallWndRetProc(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT *done = reinterpret_cast<const CWPRETSTRUCT *>(lParam);
    if (code == HC_ACTION)
        RecordMessage(LOG_RETURNED, done->hwnd, done->message, done->wParam, done->lParam, done->lResult);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Peeking without removing shows the message again when it is taken.
extern "C" __declspec(dllexport) LRESULT CALLBACK OrvalisGetMsgProc(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG *taken = reinterpret_cast<const MSG *>(lParam);
    if (code == HC_ACTION && (wParam & PM_REMOVE))
        RecordMessage(LOG_POSTED, taken->hwnd, taken->message, taken->wParam, taken->lParam, 0);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The views go with the library; not as the process ends, when they go anyway.
extern "C" BOOL WINAPI HookLibraryEntry(HINSTANCE, DWORD reason, void *ending)
{
    if (reason == DLL_PROCESS_DETACH && !ending) {
        if (s_section)
            UnmapViewOfFile(s_section);
        if (s_retired)
            UnmapViewOfFile(s_retired);
    }
    return TRUE;
}
