// Times the real tree fill against its floor: the same platform queries the
// fill makes (enumeration, class name, icon queries, text), done bare.
#include <windows.h>
#include <algorithm>
#include <commctrl.h>
#include <cstdio>
#include <string>
#include "app/startup.h"
#include "bench_grid.h"
#include "resources/resource.h"
#include "tree/main_dialog.h"
#include "tree/pointing.h"
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

static double g_selectedAt;
static WNDPROC g_mainProc;

// Notes when the main window hears that the tree's selection changed.
static LRESULT CALLBACK NoteSelection(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR *>(lParam)->code == TVN_SELCHANGEDW)
        g_selectedAt = NowMs();
    return CallWindowProcW(g_mainProc, window, message, wParam, lParam);
}

static void PrintTimes(const char *what, double *times, int count)
{
    std::sort(times, times + count);
    printf(" %s in %.1f ms (median), %.1f ms (slowest);", what, times[count / 2], times[count - 1]);
}

// By input, as a user moves it, to a point of a cell of the helper's grid:
// x across the cell, half way down.
static void MoveToCell(int cell, int x = CELL_WIDTH / 2)
{
    INPUT move = { INPUT_MOUSE };
    move.mi.dx = ((cell % GRID_COLUMNS * CELL_WIDTH + x) * 65536 + 32768) / GetSystemMetrics(SM_CXSCREEN);
    move.mi.dy = ((cell / GRID_COLUMNS * CELL_HEIGHT + CELL_HEIGHT / 2) * 65536 + 32768) / GetSystemMetrics(SM_CYSCREEN);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &move, sizeof move);
}

// Answers the messages waiting, and more until the time is up, or until the
// node of a window is selected if told to stop there.
static void PumpFor(double ms, bool untilSelected = false)
{
    double start = NowMs();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    } while (NowMs() - start < ms && !(untilSelected && g_selectedAt));
}

// What pointing takes on this desktop: its start (which indexes the tree's
// nodes), and, for moves of the pointer from cell to cell of the helper's
// grid, the time from the move until the node of the window entered is
// selected, and until everything is drawn again (tree and outline).
static void MeasurePointing(HWND dialog)
{
    enum { MOVES = 60 };
    g_mainProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NoteSelection)));
    // Settled first, and the first move under the hook made untimed, at points
    // the timed moves never go to: Wine can hand the hook the echo of a move
    // late, and Wine 10 loses the first move the hook should see.
    MoveToCell(0, CELL_WIDTH / 4);
    PumpFor(200);
    double start = NowMs();
    StartPointing(dialog);
    double startMs = NowMs() - start;
    MoveToCell(0, CELL_WIDTH * 3 / 4);
    PumpFor(200);
    double selected[MOVES], drawn[MOVES];
    for (int i = 0; i < MOVES; i++) {
        // Across and down by a cell, so that each move enters another window.
        g_selectedAt = 0;
        double sent = NowMs();
        MoveToCell((i * (GRID_COLUMNS + 1) + 1) % (GRID_COLUMNS * GRID_ROWS));
        PumpFor(1000, true);
        PumpFor(0);
        selected[i] = (g_selectedAt ? g_selectedAt : NowMs()) - sent;
        drawn[i] = NowMs() - sent;
    }
    CancelPointing();
    SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_mainProc));
    printf("Pointing: start %.1f ms; %d moves into another window:", startMs, MOVES);
    PrintTimes("selected", selected, MOVES);
    PrintTimes("all drawn", drawn, MOVES);
    printf("\n");
    fflush(stdout);
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
    // Right of the helper's grid of windows, where pointing does not meet it.
    SetWindowPos(dialog, nullptr, GRID_RIGHT + CELL_WIDTH / 2, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
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
    if (lstrcmpW(shape, L"desktop") == 0)
        MeasurePointing(dialog);
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
