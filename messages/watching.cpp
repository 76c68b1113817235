#include "watching.h"
#include "../app/startup.h"
#include "../resources/resource.h"

enum { HOOKED_THREADS_MAX = 64, HOOK_TYPES = 3 };

static HMODULE s_library;   // loaded once, kept to the end
static HHOOK s_hooks[HOOKED_THREADS_MAX * HOOK_TYPES];
static int s_hookCount;
static HWND s_bell;   // tells the library where the section is
static HANDLE s_mapping;
static LogSection *s_section;   // while watching
static LONG64 s_readPlace;      // the next place to read

static const int HOOK_KINDS[HOOK_TYPES] = { WH_CALLWNDPROC, WH_CALLWNDPROCRET, WH_GETMESSAGE };
static const char *const HOOK_PROCEDURES[HOOK_TYPES] = { "OrvalisCallWndProc", "OrvalisCallWndRetProc",
                                                         "OrvalisGetMsgProc" };

// Beside the program's file, never wherever the search path finds one.
static HMODULE LoadHookLibrary()
{
    if (s_library)
        return s_library;
    wchar_t path[MAX_PATH + 32];
    DWORD length = GetModuleFileNameW(g_hInstance, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    while (length > 0 && path[length - 1] != L'\\')
        length--;
    lstrcpyW(path + length, HOOK_LIBRARY_NAME);
    s_library = LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    return s_library;
}

// This program is 64-bit, and so is the library: a 32-bit process, under
// WOW64, would refuse it.
static bool IsThirtyTwoBit(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    BOOL wow64 = FALSE;
    if (process) {
        IsWow64Process(process, &wow64);
        CloseHandle(process);
    }
    return wow64;
}

static bool MakeSection(HWND target, WatchScope scope, HWND own)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = g_hInstance;
    wc.lpszClassName = LOG_BELL_CLASS;
    RegisterClassW(&wc);   // fails harmlessly once registered
    s_bell = CreateWindowExW(0, LOG_BELL_CLASS, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, g_hInstance, nullptr);
    DWORD processId = 0;
    GetWindowThreadProcessId(target, &processId);
    SetWindowLongPtrW(s_bell, GWLP_USERDATA, processId);
    wchar_t name[LOG_SECTION_NAME_CHARS];
    NameLogSection(name, s_bell);
    s_mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LogSection), name);
    // A section made before this one under its name is no log's own.
    if (s_mapping && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(s_mapping);
        s_mapping = nullptr;
    }
    void *view =
        s_mapping ? MapViewOfFile(s_mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(LogSection)) : nullptr;
    s_section = static_cast<LogSection *>(view);
    if (!s_section)
        return false;
    s_section->filter = scope == WATCH_WINDOW        ? FILTER_WINDOW
                        : scope == WATCH_DESCENDANTS ? FILTER_DESCENDANTS
                                                     : FILTER_NONE;
    s_section->target = reinterpret_cast<ULONG_PTR>(target);
    s_section->own = reinterpret_cast<ULONG_PTR>(own);
    s_section->ownProcess = GetCurrentProcessId();
    s_section->layout = LOG_LAYOUT;
    s_section->magic = LOG_MAGIC;
    s_readPlace = 0;
    return true;
}

// The threads to hook, each once: the window's, its descendants', or those
// of every window of its process.
struct ThreadList {
    DWORD threads[HOOKED_THREADS_MAX];
    int count;
    DWORD process;   // for a whole process: the one whose windows count
};

static void AddThreadOf(HWND window, ThreadList *list)
{
    DWORD process = 0;
    DWORD thread = GetWindowThreadProcessId(window, &process);
    if (!thread || (list->process && process != list->process))
        return;
    for (int i = 0; i < list->count; i++) {
        if (list->threads[i] == thread)
            return;
    }
    if (list->count < HOOKED_THREADS_MAX)
        list->threads[list->count++] = thread;
}

static BOOL CALLBACK AddWindowThread(HWND window, LPARAM list)
{
    AddThreadOf(window, reinterpret_cast<ThreadList *>(list));
    return TRUE;
}

static BOOL CALLBACK AddProcessWindowThreads(HWND window, LPARAM list)
{
    ThreadList *threads = reinterpret_cast<ThreadList *>(list);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == threads->process) {
        AddThreadOf(window, threads);
        EnumChildWindows(window, AddWindowThread, list);
    }
    return TRUE;
}

static void ListThreads(HWND target, WatchScope scope, ThreadList *list)
{
    *list = {};
    AddThreadOf(target, list);
    if (scope == WATCH_DESCENDANTS)
        EnumChildWindows(target, AddWindowThread, reinterpret_cast<LPARAM>(list));
    if (scope == WATCH_PROCESS) {
        GetWindowThreadProcessId(target, &list->process);
        EnumWindows(AddProcessWindowThreads, reinterpret_cast<LPARAM>(list));
    }
}

static bool SetHooks(const ThreadList &list)
{
    for (int i = 0; i < list.count; i++) {
        for (int type = 0; type < HOOK_TYPES; type++) {
            // Through a plain function type: the compiler warns of casts between others.
            auto found = reinterpret_cast<void (*)()>(GetProcAddress(s_library, HOOK_PROCEDURES[type]));
            auto procedure = reinterpret_cast<HOOKPROC>(found);
            HHOOK hook =
                procedure ? SetWindowsHookExW(HOOK_KINDS[type], procedure, s_library, list.threads[i]) : nullptr;
            if (!hook)
                return false;
            s_hooks[s_hookCount++] = hook;
        }
    }
    return list.count > 0;
}

int StartWatching(HWND target, WatchScope scope, HWND own)
{
    StopWatching();
    if (!LoadHookLibrary())
        return IDS_LOG_NO_LIBRARY;
    DWORD processId = 0;
    GetWindowThreadProcessId(target, &processId);
    if (IsThirtyTwoBit(processId))
        return IDS_LOG_WOW64;
    ThreadList threads;
    ListThreads(target, scope, &threads);
    if (!MakeSection(target, scope, own) || !SetHooks(threads)) {
        StopWatching();
        return IDS_LOG_REFUSED;
    }
    return 0;
}

// The hooks go first, then the library is told to let the section go: the
// closed flag stops a hooked program at once, the bell's end a killed one.
void StopWatching()
{
    while (s_hookCount > 0)
        UnhookWindowsHookEx(s_hooks[--s_hookCount]);
    if (s_section) {
        InterlockedExchange(&s_section->closed, TRUE);
        UnmapViewOfFile(s_section);
    }
    if (s_mapping)
        CloseHandle(s_mapping);
    if (s_bell)
        DestroyWindow(s_bell);
    s_section = nullptr;
    s_mapping = nullptr;
    s_bell = nullptr;
}

bool IsWatching() { return s_section != nullptr; }

// The slot is read once the library marks it written, and given back.
bool ReadRecord(LogRecord *record)
{
    if (!s_section)
        return false;
    LogSlot *slot = &s_section->slots[s_readPlace & (LOG_SLOT_COUNT - 1)];
    LONG64 lap = s_readPlace & ~static_cast<LONG64>(LOG_SLOT_COUNT - 1);
    if (slot->sequence != lap + 1)
        return false;
    *record = slot->record;
    InterlockedExchange64(&slot->sequence, lap + LOG_SLOT_COUNT);
    s_readPlace++;
    return true;
}

LONG LostRecords() { return s_section ? s_section->lost : 0; }

void PauseWatching(bool paused)
{
    if (s_section)
        InterlockedExchange(&s_section->paused, paused);
}
