// A second process whose windows the program inspects and changes:
// "Orvalis Fixture", whose title reports a click as "clicked <id> <button
// in hex>", with its button "OK" (id 101); and "Orvalis Closer", which
// closes when asked. It ends with the fixture or after two minutes.
#include <windows.h>
#include <cwchar>

static LRESULT CALLBACK FixtureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && lParam) {
        wchar_t title[64];
        swprintf(title, 64, L"clicked %u %llX", LOWORD(wParam), static_cast<unsigned long long>(lParam));
        SetWindowTextW(window, title);
        return 0;
    }
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = FixtureProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"OrvalisFixture";
    RegisterClassW(&wc);
    HWND fixture = CreateWindowExW(0, wc.lpszClassName, L"Orvalis Fixture", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 60,
                                   300, 200, nullptr, nullptr, instance, nullptr);
    CreateWindowExW(0, L"Button", L"OK", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24, fixture, reinterpret_cast<HMENU>(101),
                    instance, nullptr);
    CreateWindowExW(0, L"Static", L"Orvalis Closer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 300, 240, 120, nullptr,
                    nullptr, instance, nullptr);
    SetTimer(nullptr, 0, 120000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0 && !(msg.message == WM_TIMER && !msg.hwnd))
        DispatchMessageW(&msg);
    return 0;
}
