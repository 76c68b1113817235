// Times the real tree fill against its floor: the same platform queries the
// fill makes (enumeration, class name, icon queries, text), done bare.
#include <windows.h>
#include <algorithm>
#include <commctrl.h>
#include <cstdio>
#include <string>
#include "app/startup.h"
#include "resources/resource.h"
#include "tree/main_dialog.h"
#include "tree/window_tree.h"

static LARGE_INTEGER g_frequency;

static double NowMs()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * now.QuadPart / g_frequency.QuadPart;
}


static void QueryLikeTheFill(HWND window)
{
    wchar_t className[256] = L"";
    GetClassNameW(window, className, 256);
    if (!FindWindowIcon(window))
        GetWindowLongPtrW(window, GWL_STYLE);
    wchar_t text[256] = L"";
    SendMessageW(window, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(text));
    for (HWND child = FindWindowExW(window, nullptr, nullptr, nullptr); child;
         child = FindWindowExW(window, child, nullptr, nullptr))
        QueryLikeTheFill(child);
}

static BOOL CALLBACK FloorTopLevel(HWND window, LPARAM)
{
    QueryLikeTheFill(window);
    return TRUE;
}

static void ClearTree()
{
    SendMessageW(g_hTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    DestroyTreeImages();
}

// Fill and floor in seconds, the best of two rounds, with the tree shown
// as it is at the program's first fill.
static void Measure(const wchar_t *shape, int windows, const wchar_t *order, double *fillSeconds)
{
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, L"OrvalisBenchReady");
    HANDLE quit = CreateEventW(nullptr, TRUE, FALSE, L"OrvalisBenchQuit");
    std::wstring commandLine = L"bench_windows.exe " + std::wstring(shape) + L" " + std::to_wstring(windows) + L" " + order;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION helper = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &helper)) {
        printf("cannot start bench_windows.exe\n");
        return;
    }
    WaitForSingleObject(ready, 1800000);

    HWND dialog = CreateDialogParamW(g_hInstance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialogProc, 0);
    double floorMs = 1e30, fillMs = 1e30;
    for (int round = 0; round < 2; round++) {
        double start = NowMs();
        EnumWindows(FloorTopLevel, 0);
        floorMs = std::min(floorMs, NowMs() - start);

        ClearTree();
        start = NowMs();
        FillWindowTree(dialog);
        fillMs = std::min(fillMs, NowMs() - start);
    }
    UINT nodes = static_cast<UINT>(SendMessageW(g_hTree, TVM_GETCOUNT, 0, 0));
    printf("| %-8ls | %-10ls | %6d | %6u | %7.2f s | %7.2f s | %5.2f |\n", shape, order, windows, nodes, floorMs / 1000,
           fillMs / 1000, fillMs / floorMs);
    fflush(stdout);
    *fillSeconds = fillMs / 1000;
    ClearTree();
    DestroyWindow(dialog);

    SetEvent(quit);
    WaitForSingleObject(helper.hProcess, 60000);
    CloseHandle(helper.hProcess);
    CloseHandle(helper.hThread);
    CloseHandle(ready);
    CloseHandle(quit);
}

// bench_fill [SHAPE...]: every shape when none is named.
int wmain(int argc, wchar_t **argv)
{
    QueryPerformanceFrequency(&g_frequency);
    INITCOMMONCONTROLSEX init = { sizeof init, ICC_TREEVIEW_CLASSES };
    InitCommonControlsEx(&init);
    g_hInstance = GetModuleHandleW(nullptr);
    g_hResModule = g_hInstance;
    LoadStyleTable();

    auto wanted = [&](const wchar_t *shape) {
        for (int i = 1; i < argc; i++) {
            if (lstrcmpW(argv[i], shape) == 0)
                return true;
        }
        return argc == 1;
    };
    printf("| shape    | order      | windows | nodes | floor     | fill      | ratio |\n");
    printf("|---|---|---|---|---|---|---|\n");
    double seconds;
    if (wanted(L"desktop")) {
        for (int windows : { 1000, 3000, 10000 })
            Measure(L"desktop", windows, L"ascending", &seconds);
    }
    // At 7,500 windows every shape and order should take at most twice the grid's time.
    double grid7500 = 0, worst7500 = 0;
    for (const wchar_t *shape : { L"grid", L"children", L"toplevel" }) {
        if (!wanted(shape))
            continue;
        for (int windows : { 2500, 5000, 7500 }) {
            for (const wchar_t *order : { L"ascending", L"descending", L"random" }) {
                Measure(shape, windows, order, &seconds);
                if (windows == 7500) {
                    worst7500 = std::max(worst7500, seconds);
                    if (lstrcmpW(shape, L"grid") == 0)
                        grid7500 = std::max(grid7500, seconds);
                }
            }
        }
    }
    if (grid7500 > 0)
        printf("At 7,500 windows: slowest fill %.2f s, %.2f times the grid's slowest\n", worst7500, worst7500 / grid7500);
    return 0;
}
