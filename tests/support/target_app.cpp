// A second process with known windows, for the tests whose behaviour
// crosses processes. Its windows report what reached them in their titles:
//   "Orvalis Fixture"  parent of the controls; a click sets its title to
//                      "clicked <id> <button handle in hex>"
//   "Orvalis Refuser"  refuses WM_CLOSE; its title counts the requests
//   "Orvalis Closer"   closes normally
// It ends when the fixture window is closed or after two minutes.
#include <windows.h>
#include <cwchar>
#include "target_app_ids.h"

static int g_closeRequests;

static void MakeChildren(HWND parent)
{
    struct { const wchar_t *className; const wchar_t *text; DWORD style; int id; } children[] = {
        { L"Button", L"OK", BS_PUSHBUTTON, FIXTURE_PUSH },
        { L"Button", L"Check", BS_AUTOCHECKBOX, FIXTURE_CHECK },
        { L"Button", L"Radio", BS_AUTORADIOBUTTON, FIXTURE_RADIO },
        { L"Button", L"Group", BS_GROUPBOX, FIXTURE_GROUP },
        { L"Button", L"Drawn", BS_OWNERDRAW, FIXTURE_OWNERDRAW },
        { L"Edit", L"Lines", ES_MULTILINE, FIXTURE_EDIT },
        { L"Edit", L"", ES_PASSWORD, FIXTURE_PASSWORD },
        { L"ScrollBar", L"", SBS_VERT, FIXTURE_VSCROLL },
        { L"ScrollBar", L"", SBS_HORZ, FIXTURE_HSCROLL },
        { L"Static", L"Label", SS_LEFT, FIXTURE_STATIC },
    };
    int y = 4;
    for (const auto &c : children) {
        CreateWindowExW(0, c.className, c.text, WS_CHILD | WS_VISIBLE | c.style, 4, y, 120, 20, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), GetModuleHandleW(nullptr), nullptr);
        y += 22;
    }
}

static LRESULT CALLBACK FixtureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && lParam) {
            wchar_t title[64];
            swprintf(title, 64, L"clicked %u %llX", LOWORD(wParam), static_cast<unsigned long long>(lParam));
            SetWindowTextW(window, title);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

static LRESULT CALLBACK RefuserProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        wchar_t title[64];
        swprintf(title, 64, L"Orvalis Refuser %d", ++g_closeRequests);
        SetWindowTextW(window, title);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

static void Register(const wchar_t *name, WNDPROC proc)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    RegisterClassW(&wc);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    Register(L"OrvalisFixture", FixtureProc);
    Register(L"OrvalisRefuser", RefuserProc);
    Register(L"OrvalisCloser", DefWindowProcW);
    HWND fixture = CreateWindowExW(0, L"OrvalisFixture", L"Orvalis Fixture", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                   700, 60, 300, 300, nullptr, nullptr, instance, nullptr);
    MakeChildren(fixture);
    CreateWindowExW(0, L"OrvalisRefuser", L"Orvalis Refuser", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 400, 240, 120,
                    nullptr, nullptr, instance, nullptr);
    CreateWindowExW(0, L"OrvalisCloser", L"Orvalis Closer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 540, 240, 120,
                    nullptr, nullptr, instance, nullptr);
    SetTimer(nullptr, 0, 120000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && !msg.hwnd)
            break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
