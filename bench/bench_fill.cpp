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
#include "app/shared.h"
#include "details/info_window.h"
#include "tree/find_box.h"
#include "tree/main_dialog.h"
#include "tree/node_index.h"
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

static double g_selectedAt, g_rowsAt;
static WNDPROC g_mainProc, g_listProc;
static wchar_t g_expected[HANDLE_CHARS];   // the handle the information window's rows are to show next

// Notes when the main window hears that the tree's selection changed.
static LRESULT CALLBACK NoteSelection(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR *>(lParam)->code == TVN_SELCHANGEDW)
        g_selectedAt = NowMs();
    return CallWindowProcW(g_mainProc, window, message, wParam, lParam);
}

// Notes when the information window's list has drawn the rows of the window expected: its
// handle is the first row's value.
static LRESULT CALLBACK NoteRows(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CallWindowProcW(g_listProc, list, message, wParam, lParam);
    if (message == WM_PAINT && !g_rowsAt) {
        wchar_t shown[HANDLE_CHARS] = L"";
        LVITEMW item = {};
        item.iSubItem = 1;
        item.pszText = shown;
        item.cchTextMax = HANDLE_CHARS;
        SendMessageW(list, LVM_GETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&item));
        if (lstrcmpW(shown, g_expected) == 0)
            g_rowsAt = NowMs();
    }
    return result;
}

static void PrintTimes(const char *what, double *times, int count)
{
    std::sort(times, times + count);
    printf(" %s in %.1f ms (median), %.1f ms (slowest);", what, times[count / 2], times[count - 1]);
}

// The window that the main window owns and shows: the information window or the find box, opened one at a time.
static HWND OwnedWindow(HWND owner)
{
    struct Search {
        HWND owner, found;
    } search = { owner, nullptr };
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM lParam) -> BOOL {
            Search *search = reinterpret_cast<Search *>(lParam);
            if (GetWindow(window, GW_OWNER) == search->owner && IsWindowVisible(window))
                search->found = window;
            return !search->found;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A point of a cell of the helper's grid: x across the cell, half way down.
static POINT CellPoint(int cell, int x = CELL_WIDTH / 2)
{
    return { cell % GRID_COLUMNS * CELL_WIDTH + x, cell / GRID_COLUMNS * CELL_HEIGHT + CELL_HEIGHT / 2 };
}

// By input, as a user moves it.
static void MoveTo(POINT point)
{
    INPUT move = { INPUT_MOUSE };
    move.mi.dx = (point.x * 65536 + 32768) / GetSystemMetrics(SM_CXSCREEN);
    move.mi.dy = (point.y * 65536 + 32768) / GetSystemMetrics(SM_CYSCREEN);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &move, sizeof move);
}

// Answers the messages waiting, and more until the time is up, or until
// `done` (when given) has been set.
static void PumpFor(double ms, const double *done = nullptr)
{
    double start = NowMs();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    } while (NowMs() - start < ms && !(done && *done));
}

enum { MOVES = 60 };

// Pointing on this desktop: its start (which indexes the tree's nodes), and
// for moves of the pointer from cell to cell of the helper's grid, the time
// from the move until the node of the window entered is selected, until the
// information window (when open) has drawn that window's rows, and until
// everything is drawn again (tree, outline and rows). Returns the median
// time until what is timed first: the rows when open, else the selection.
static double MeasurePointing(HWND dialog, bool withInfo)
{
    HWND list = nullptr;
    if (withInfo) {
        OpenInfoWindow(dialog);
        // Below the main window, away from the grid.
        HWND info = OwnedWindow(dialog);
        RECT main;
        GetWindowRect(dialog, &main);
        SetWindowPos(info, nullptr, main.left, main.bottom, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        list = GetDlgItem(info, IDC_INFO_LIST);
        g_listProc =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NoteRows)));
    }
    g_mainProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NoteSelection)));
    // Settled first, and the first move under the hook made untimed, at points
    // the timed moves never go to: Wine can hand the hook the echo of a move
    // late, and Wine 10 loses the first move the hook should see.
    MoveTo(CellPoint(0, CELL_WIDTH / 4));
    PumpFor(200);
    double start = NowMs();
    StartPointing(dialog);
    double startMs = NowMs() - start;
    MoveTo(CellPoint(0, CELL_WIDTH * 3 / 4));
    PumpFor(200);
    double selected[MOVES], rows[MOVES], drawn[MOVES];
    for (int i = 0; i < MOVES; i++) {
        // Across and down by a cell, so that each move enters another window.
        POINT point = CellPoint((i * (GRID_COLUMNS + 1) + 1) % (GRID_COLUMNS * GRID_ROWS));
        FormatHandle(g_expected, WindowAt(point));
        g_selectedAt = g_rowsAt = 0;
        double sent = NowMs();
        MoveTo(point);
        PumpFor(1000, withInfo ? &g_rowsAt : &g_selectedAt);
        PumpFor(1000, &g_selectedAt);
        PumpFor(0);
        selected[i] = (g_selectedAt ? g_selectedAt : NowMs()) - sent;
        rows[i] = (g_rowsAt ? g_rowsAt : NowMs()) - sent;
        drawn[i] = NowMs() - sent;
    }
    CancelPointing();
    SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_mainProc));
    printf("Pointing%s: start %.1f ms; %d moves into another window:",
           withInfo ? " with the information window open" : "", startMs, MOVES);
    PrintTimes("selected", selected, MOVES);
    if (withInfo)
        PrintTimes("rows drawn", rows, MOVES);
    PrintTimes("all drawn", drawn, MOVES);
    printf("\n");
    fflush(stdout);
    if (list)
        DestroyWindow(GetParent(list));
    return withInfo ? rows[MOVES / 2] : selected[MOVES / 2];
}

static void ClearTree()
{
    SendMessageW(g_hTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    DestroyTreeImages();
}

// As the main window fills its tree: the fill indexes the nodes it adds.
static void FillTree(HWND dialog)
{
    ForgetNodeIndex();
    FillWindowTree(dialog, IndexNode);
}

// F3 from the first node, from the key until the node is selected.
static double TimeF3(HWND dialog, HTREEITEM first)
{
    TreeView_SelectItem(g_hTree, first);
    SetForegroundWindow(dialog);
    SetFocus(g_hTree);
    PumpFor(100);
    g_selectedAt = 0;
    INPUT key[2] = { { INPUT_KEYBOARD }, { INPUT_KEYBOARD } };
    key[0].ki.wVk = key[1].ki.wVk = VK_F3;
    key[1].ki.dwFlags = KEYEVENTF_KEYUP;
    double sent = NowMs();
    SendInput(2, key, sizeof(INPUT));
    PumpFor(2000, &g_selectedAt);
    return (g_selectedAt ? g_selectedAt : NowMs()) - sent;
}

// F3 through every node: from the first node to the last one, found by its
// window's handle, from the key to the node selected, as the first search
// after a refill and as later ones; and a text no node holds, a whole round
// of the tree, until the find box says so.
static void MeasureFinding(HWND dialog)
{
    wchar_t text[HANDLE_CHARS];
    FormatHandle(text, GetNodeWindow(IndexedNodeAt(IndexedNodeCount() - 1)));
    OpenFindBox(dialog);
    HWND box = OwnedWindow(dialog);
    SetDlgItemTextW(box, IDC_FIND_TEXT, text);
    SendMessageW(box, WM_COMMAND, IDOK, 0);
    SendMessageW(box, WM_COMMAND, IDCANCEL, 0);
    g_mainProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NoteSelection)));
    double first[3], later[5], none[5];
    for (double &time : first) {
        ClearTree();
        FillTree(dialog);
        time = TimeF3(dialog, TreeView_GetRoot(g_hTree));
    }
    for (double &time : later)
        time = TimeF3(dialog, TreeView_GetRoot(g_hTree));
    SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_mainProc));
    OpenFindBox(dialog);
    box = OwnedWindow(dialog);
    SetDlgItemTextW(box, IDC_FIND_TEXT, L"no window has this text");
    for (double &time : none) {
        double start = NowMs();
        SendMessageW(box, WM_COMMAND, IDOK, 0);
        time = NowMs() - start;
    }
    SendMessageW(box, WM_COMMAND, IDCANCEL, 0);
    printf("Finding through %u nodes:", static_cast<unsigned>(SendMessageW(g_hTree, TVM_GETCOUNT, 0, 0)));
    PrintTimes("F3 to the last node's window, the first after a refill", first, 3);
    PrintTimes("later", later, 5);
    PrintTimes("no match, a whole round", none, 5);
    printf("\n");
    fflush(stdout);
}

// Fill and floor in seconds, the best of two rounds, with the tree shown
// as it is at the program's first fill.
static void Measure(const wchar_t *shape, int windows, const wchar_t *order, double *fillSeconds)
{
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, L"OrvalisBenchReady");
    HANDLE quit = CreateEventW(nullptr, TRUE, FALSE, L"OrvalisBenchQuit");
    std::wstring commandLine =
        L"bench_windows.exe " + std::wstring(shape) + L" " + std::to_wstring(windows) + L" " + order;
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
        FillTree(dialog);
        fillMs = std::min(fillMs, NowMs() - start);
    }
    UINT nodes = static_cast<UINT>(SendMessageW(g_hTree, TVM_GETCOUNT, 0, 0));
    printf("| %-8ls | %-10ls | %6d | %6u | %7.2f s | %7.2f s | %5.2f |\n", shape, order, windows, nodes, floorMs / 1000,
           fillMs / 1000, fillMs / floorMs);
    fflush(stdout);
    if (lstrcmpW(shape, L"desktop") == 0) {
        double selection = MeasurePointing(dialog, false);
        double rows = MeasurePointing(dialog, true);
        printf("Rows drawn with the information window open in %.2f times the selection without it (medians)\n",
               rows / selection);
        MeasureFinding(dialog);
    }
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
        printf("At 7,500 windows: slowest fill %.2f s, %.2f times the grid's slowest\n", worst7500,
               worst7500 / grid7500);
    return 0;
}
