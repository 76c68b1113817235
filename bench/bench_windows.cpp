// Helper process for the fill benchmark: creates windows in one shape of
// desktop, signals, and answers messages until it is told to quit.
//   bench_windows SHAPE COUNT ORDER
// SHAPE:  desktop   a busy desktop: 100 + COUNT/50 top-level windows, each
//                   with controls and a nested panel, some with icons
//         grid      top-level windows with 99 children each
//         children  all windows children of one parent
//         toplevel  all windows top-level
// ORDER:  ascending, descending or random: the order of the labels in
//         which the windows are made.
#include <windows.h>
#include <cwchar>
#include <cstdlib>
#include "bench_grid.h"

static HWND Make(const wchar_t *className, const wchar_t *text, DWORD style, HWND parent)
{
    return CreateWindowExW(0, className, text, style | (parent ? WS_CHILD | WS_VISIBLE : 0), 0, 0, 60, 20, parent,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

static void MakeDesktop(int total)
{
    WNDCLASSEXW wc = { sizeof wc };
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = L"BenchPlainWindow";
    RegisterClassExW(&wc);
    wc.lpszClassName = L"BenchIconWindow";
    wc.hIcon = wc.hIconSm = LoadIconW(nullptr, IDI_APPLICATION);
    RegisterClassExW(&wc);

    int topLevel = 100 + total / 50;
    int created = 0;
    for (int t = 0; t < topLevel && created < total; t++) {
        wchar_t title[64];
        swprintf(title, 64, L"Bench document %d", t);
        HWND top = Make(t % 4 == 0 ? L"BenchIconWindow" : L"BenchPlainWindow", title, WS_OVERLAPPEDWINDOW, nullptr);
        int cell = t % (GRID_COLUMNS * GRID_ROWS);
        SetWindowPos(top, nullptr, cell % GRID_COLUMNS * CELL_WIDTH, cell / GRID_COLUMNS * CELL_HEIGHT, CELL_WIDTH,
                     CELL_HEIGHT, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        HWND panel = Make(L"Static", L"panel", SS_LEFT, top);
        created += 2;
        int children = (total - topLevel) / topLevel;
        for (int c = 1; c < children && created < total; c++, created++) {
            swprintf(title, 64, L"Item %d", c);
            HWND parent = c % 2 ? top : panel;
            HWND child;
            switch (c % 5) {
            case 0:
                child = Make(L"Button", title, BS_PUSHBUTTON, parent);
                break;
            case 1:
                child = Make(L"Button", title, BS_AUTOCHECKBOX, parent);
                break;
            case 2:
                child = Make(L"Edit", title, ES_AUTOHSCROLL, parent);
                break;
            case 3:
                child = Make(L"Static", title, SS_LEFT, parent);
                break;
            default:
                child = Make(L"ScrollBar", L"", SBS_VERT, parent);
                break;
            }
            SetWindowPos(child, nullptr, c % 5 * 22, c / 5 % 4 * 15, 20, 14, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

// The label of the i-th window made, so that the labels come in the order asked.
static int g_count;
static int *g_permutation;
static void Label(wchar_t *text, int i, const wchar_t *order)
{
    int rank = order[0] == L'a' ? i : order[0] == L'd' ? g_count - 1 - i : g_permutation[i];
    swprintf(text, 32, L"Window %06d", rank);
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const wchar_t *shape = argc > 1 ? argv[1] : L"desktop";
    g_count = argc > 2 ? _wtoi(argv[2]) : 1000;
    const wchar_t *order = argc > 3 ? argv[3] : L"ascending";

    g_permutation = static_cast<int *>(malloc(g_count * sizeof(int)));
    for (int i = 0; i < g_count; i++)
        g_permutation[i] = i;
    srand(2024);
    for (int i = g_count - 1; i > 0; i--) {
        int j = rand() % (i + 1), swap = g_permutation[i];
        g_permutation[i] = g_permutation[j];
        g_permutation[j] = swap;
    }

    wchar_t text[32];
    if (lstrcmpW(shape, L"desktop") == 0) {
        MakeDesktop(g_count);
    } else if (lstrcmpW(shape, L"toplevel") == 0) {
        for (int i = 0; i < g_count; i++) {
            Label(text, i, order);
            Make(L"Static", text, WS_OVERLAPPEDWINDOW, nullptr);
        }
    } else {
        int perParent = lstrcmpW(shape, L"grid") == 0 ? 100 : g_count;
        HWND parent = nullptr;
        for (int i = 0; i < g_count; i++) {
            Label(text, i, order);
            if (i % perParent == 0)
                parent = Make(L"Static", text, WS_OVERLAPPEDWINDOW, nullptr);
            else
                Make(L"Static", text, SS_LEFT, parent);
        }
    }

    // Drawn before the benchmark starts, so that painting does not weigh on what it times.
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
        DispatchMessageW(&msg);
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"OrvalisBenchReady");
    HANDLE quit = OpenEventW(SYNCHRONIZE, FALSE, L"OrvalisBenchQuit");
    SetEvent(ready);
    // Keep answering the benchmark's messages until it is done.
    while (MsgWaitForMultipleObjects(1, &quit, FALSE, 1800000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    return 0;
}
