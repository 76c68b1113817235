// Times what the message log costs the program it watches: a window of
// another process is sent 20,000 messages and posted 5,000, without a hook,
// with a library whose hooks only pass each message on (the platform's own
// cost of hooks: the floor), and with the log open on it.
//   bench_log           runs the three ways, three rounds, and prints them
//   bench_log --target  the other process: one window, answering
#include <windows.h>
#include <algorithm>
#include <commctrl.h>
#include <cstdio>
#include <cwchar>
#include "app/startup.h"
#include "messages/log_record.h"
#include "messages/log_window.h"
#include "resources/resource.h"
#include "tree/main_dialog.h"

enum { SENT = 20000, POSTED = 5000, ROUNDS = 3, DRAINED = WM_APP };
static const wchar_t TARGET_CLASS[] = L"OrvalisBenchLogTarget";
static const wchar_t DRAINED_EVENT[] = L"OrvalisBenchLogDrained";

// The target's window tells the bench, by an event, once it has taken the
// last message posted after the others.
static LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == DRAINED) {
        HANDLE drained = OpenEventW(EVENT_MODIFY_STATE, FALSE, DRAINED_EVENT);
        SetEvent(drained);
        CloseHandle(drained);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

static int RunTarget()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = TargetProc;
    wc.lpszClassName = TARGET_CLASS;
    RegisterClassW(&wc);
    CreateWindowExW(0, TARGET_CLASS, L"Bench target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 500, 300, 200, nullptr,
                    nullptr, nullptr, nullptr);
    for (MSG msg; GetMessageW(&msg, nullptr, 0, 0) > 0;)
        DispatchMessageW(&msg);
    return 0;
}

static HWND g_target;
static HANDLE g_drained;

// On a thread of its own, so that the log's thread goes on reading.
static DWORD WINAPI SendAndPost(void *milliseconds)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < SENT; i++)
        SendMessageW(g_target, WM_USER, i, 0);
    for (int i = 0; i < POSTED; i++)
        PostMessageW(g_target, WM_USER + 1, i, 0);
    PostMessageW(g_target, DRAINED, 0, 0);
    WaitForSingleObject(g_drained, INFINITE);
    QueryPerformanceCounter(&end);
    *static_cast<double *>(milliseconds) = 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart;
    return 0;
}

// The time of one run, this thread's messages handled meanwhile.
static double TimeOneRun()
{
    double milliseconds = 0;
    HANDLE thread = CreateThread(nullptr, 0, SendAndPost, &milliseconds, 0, nullptr);
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageW(&msg);
    }
    CloseHandle(thread);
    return milliseconds;
}

static double TimeWithEmptyHooks()
{
    HMODULE library = LoadLibraryW(L"bench_empty_hook.dll");
    DWORD thread = GetWindowThreadProcessId(g_target, nullptr);
    const int kinds[] = { WH_CALLWNDPROC, WH_CALLWNDPROCRET, WH_GETMESSAGE };
    HHOOK hooks[3];
    for (int i = 0; i < 3; i++) {
        auto found = reinterpret_cast<void (*)()>(GetProcAddress(library, "PassOn"));
        hooks[i] = SetWindowsHookExW(kinds[i], reinterpret_cast<HOOKPROC>(found), library, thread);
    }
    double milliseconds = TimeOneRun();
    for (HHOOK hook : hooks)
        UnhookWindowsHookEx(hook);
    return milliseconds;
}

static BOOL CALLBACK CloseLog(HWND window, LPARAM)
{
    if (GetDlgItem(window, IDC_LOG_LIST))
        SendMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

static double TimeWithLog(HWND mainDialog)
{
    WatchMessages(mainDialog, g_target);
    double milliseconds = TimeOneRun();
    EnumThreadWindows(GetCurrentThreadId(), CloseLog, 0);
    return milliseconds;
}

int wmain(int argc, wchar_t **argv)
{
    if (argc > 1 && lstrcmpW(argv[1], L"--target") == 0)
        return RunTarget();
    INITCOMMONCONTROLSEX init = { sizeof init, ICC_WIN95_CLASSES };
    InitCommonControlsEx(&init);
    g_hInstance = g_hResModule = GetModuleHandleW(nullptr);
    LoadStyleTable();
    g_drained = CreateEventW(nullptr, FALSE, FALSE, DRAINED_EVENT);
    wchar_t line[] = L"bench_log.exe --target";
    STARTUPINFOW startup = { sizeof startup };
    PROCESS_INFORMATION target = {};
    CreateProcessW(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &target);
    for (int i = 0; i < 500 && !(g_target = FindWindowW(TARGET_CLASS, nullptr)); i++)
        Sleep(20);
    HWND mainDialog = CreateDialogParamW(g_hInstance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialogProc, 0);
    TimeOneRun();   // the target's first messages, and Wine's, out of the way

    double times[3][ROUNDS];
    for (int round = 0; round < ROUNDS; round++) {
        times[0][round] = TimeOneRun();
        times[1][round] = TimeWithEmptyHooks();
        times[2][round] = TimeWithLog(mainDialog);
    }
    const wchar_t *ways[3] = { L"no hook", L"empty hooks (floor)", L"log open" };
    double median[3];
    printf("%d messages sent and %d posted to a window of another process, the median of %d rounds:\n", SENT, POSTED,
           ROUNDS);
    printf("| way                 | time      | per message | against the floor |\n");
    printf("|---------------------|-----------|-------------|-------------------|\n");
    for (int way = 0; way < 3; way++) {
        std::sort(times[way], times[way] + ROUNDS);
        median[way] = times[way][ROUNDS / 2];
    }
    for (int way = 0; way < 3; way++) {
        printf("| %-19ls | %7.2f s | %8.1f us | %16.2fx |\n", ways[way], median[way] / 1000,
               1000 * median[way] / (SENT + POSTED), median[way] / median[1]);
    }
    TerminateProcess(target.hProcess, 0);
    return median[2] <= 1.2 * median[1] ? 0 : 1;
}
