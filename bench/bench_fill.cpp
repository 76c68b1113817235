// Times the real tree fill against its floor: the same platform queries the
// fill makes (enumeration, class name, icon queries, text), done bare.
#include <windows.h>
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

static int g_floorCount;

static void QueryLikeTheFill(HWND window)
{
    wchar_t className[256] = L"";
    GetClassNameW(window, className, 256);
    if (!FindWindowIcon(window))
        GetWindowLongPtrW(window, GWL_STYLE);
    wchar_t text[256] = L"";
    SendMessageW(window, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(text));
    g_floorCount++;
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
    ImageList_Destroy(g_hImageList);
}

static void Measure(int windows)
{
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, L"OrvalisBenchReady");
    HANDLE quit = CreateEventW(nullptr, TRUE, FALSE, L"OrvalisBenchQuit");
    std::wstring commandLine = L"bench_windows.exe " + std::to_wstring(windows);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION helper = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &helper)) {
        printf("cannot start bench_windows.exe\n");
        return;
    }
    WaitForSingleObject(ready, 300000);

    HWND dialog = CreateDialogParamW(g_hInstance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialogProc, 0);
    ShowWindow(g_hTree, SW_HIDE);
    double floorMs = 1e30, fillMs = 1e30;
    for (int round = 0; round < 3; round++) {
        g_floorCount = 0;
        double start = NowMs();
        EnumWindows(FloorTopLevel, 0);
        floorMs = std::min(floorMs, NowMs() - start);

        ClearTree();
        start = NowMs();
        FillWindowTree(dialog);
        fillMs = std::min(fillMs, NowMs() - start);
    }
    UINT nodes = static_cast<UINT>(SendMessageW(g_hTree, TVM_GETCOUNT, 0, 0));
    printf("%6d windows: %6u nodes, floor %8.1f ms, fill %8.1f ms, ratio %.2f\n", windows, nodes, floorMs, fillMs,
           fillMs / floorMs);
    fflush(stdout);
    ClearTree();
    DestroyWindow(dialog);

    SetEvent(quit);
    WaitForSingleObject(helper.hProcess, 60000);
    CloseHandle(helper.hProcess);
    CloseHandle(helper.hThread);
    CloseHandle(ready);
    CloseHandle(quit);
}

int main()
{
    QueryPerformanceFrequency(&g_frequency);
    INITCOMMONCONTROLSEX init = { sizeof init, ICC_TREEVIEW_CLASSES };
    InitCommonControlsEx(&init);
    g_hInstance = GetModuleHandleW(nullptr);
    g_hResModule = g_hInstance;
    LoadStyleTable();
    for (int windows : { 1000, 3000, 10000 })
        Measure(windows);
    return 0;
}
