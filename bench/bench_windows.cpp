// Helper process for the fill benchmark: creates N windows in the shape of
// a busy desktop (a few hundred top-level windows, each with controls and a
// nested panel, some classes with icons), signals, and answers messages
// until it is told to quit.
#include <windows.h>
#include <cwchar>
#include <cstdlib>

static void RegisterWindowClass(const wchar_t *name, HICON icon)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = name;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    RegisterClassExW(&wc);
}

static HWND MakeChild(HWND parent, const wchar_t *className, const wchar_t *text, DWORD style)
{
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 60, 20, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int)
{
    int total = _wtoi(commandLine);
    if (total < 10)
        total = 1000;
    RegisterWindowClass(L"BenchPlainWindow", nullptr);
    RegisterWindowClass(L"BenchIconWindow", LoadIconW(nullptr, IDI_APPLICATION));

    int topLevel = 100 + total / 50;
    int created = 0;
    for (int t = 0; t < topLevel && created < total; t++) {
        wchar_t title[64];
        swprintf(title, 64, L"Bench document %d", t);
        HWND top = CreateWindowExW(0, t % 4 == 0 ? L"BenchIconWindow" : L"BenchPlainWindow", title, WS_OVERLAPPEDWINDOW,
                                   0, 0, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        created++;
        int children = (total - topLevel) / topLevel;
        HWND panel = MakeChild(top, L"Static", L"panel", SS_LEFT);
        created++;
        for (int c = 1; c < children && created < total; c++, created++) {
            swprintf(title, 64, L"Item %d", c);
            HWND parent = c % 2 ? top : panel;
            switch (c % 5) {
            case 0: MakeChild(parent, L"Button", title, BS_PUSHBUTTON); break;
            case 1: MakeChild(parent, L"Button", title, BS_AUTOCHECKBOX); break;
            case 2: MakeChild(parent, L"Edit", title, ES_AUTOHSCROLL); break;
            case 3: MakeChild(parent, L"Static", title, SS_LEFT); break;
            default: MakeChild(parent, L"ScrollBar", L"", SBS_VERT); break;
            }
        }
    }

    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"OrvalisBenchReady");
    HANDLE quit = OpenEventW(SYNCHRONIZE, FALSE, L"OrvalisBenchQuit");
    SetEvent(ready);
    // Keep answering the benchmark's messages until it is done.
    while (MsgWaitForMultipleObjects(1, &quit, FALSE, 600000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    return 0;
}
