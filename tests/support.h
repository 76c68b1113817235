// Helpers shared by the test programs.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>
#include "app/startup.h"

// This program stands in for the exe and the resource module.
inline void UseOwnResources()
{
    INITCOMMONCONTROLSEX init = { sizeof init, ICC_WIN95_CLASSES };
    InitCommonControlsEx(&init);
    g_hInstance = g_hResModule = GetModuleHandleW(nullptr);
    if (!g_pStyleTable)
        LoadStyleTable();
}

inline std::wstring Text(HWND window)
{
    std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
    text.resize(GetWindowTextW(window, &text[0], static_cast<int>(text.size())));
    return text;
}

// A flag list's rows as "name value", or "name" alone; no name holds a space.
inline std::vector<std::wstring> Rows(HWND list)
{
    std::vector<std::wstring> rows;
    for (int row = 0; row < ListView_GetItemCount(list); row++) {
        wchar_t name[256] = L"", value[256] = L"";
        ListView_GetItemText(list, row, 0, name, 256);
        ListView_GetItemText(list, row, 1, value, 256);
        EXPECT_EQ(wcschr(name, L' '), nullptr) << "a row not split at its space";
        rows.push_back(*value ? std::wstring(name) + L" " + value : name);
    }
    return rows;
}

// A click on control `id` of a dialog; a check box toggles first, as under a click.
inline void Click(HWND dialog, int id, WORD code = BN_CLICKED)
{
    HWND control = GetDlgItem(dialog, id);
    if (code == BN_CLICKED && (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX)
        CheckDlgButton(dialog, id, IsDlgButtonChecked(dialog, id) ? BST_UNCHECKED : BST_CHECKED);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

// Dispatches this thread's messages every 10 ms until done() or 15 s (or the tries told).
template <class Done> void PumpUntil(Done done, int tries = 1500)
{
    for (int i = 0; i < tries && !done(); i++) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(10);
    }
}

// A file of the build folder, the one above the tests.
inline std::wstring BuildFile(const std::wstring &name)
{
    wchar_t path[MAX_PATH];
    std::wstring exe(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    std::wstring tests = exe.substr(0, exe.find_last_of(L'\\'));
    return tests.substr(0, tests.find_last_of(L'\\') + 1) + name;
}
