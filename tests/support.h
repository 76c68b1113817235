// Helpers shared by the test programs.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <algorithm>
#include <string>
#include <vector>
#include "app/startup.h"

using Texts = std::vector<std::wstring>;

// This program stands in for the exe and the resource module.
inline void UseOwnResources()
{
    INITCOMMONCONTROLSEX init = { sizeof init, ICC_WIN95_CLASSES };
    InitCommonControlsEx(&init);
    g_hInstance = g_hResModule = GetModuleHandleW(nullptr);
    if (!g_pStyleTable)
        LoadStyleTable();
}

// A file of the build folder, the one above the tests.
inline std::wstring BuildFile(const std::wstring &name)
{
    wchar_t path[MAX_PATH];
    std::wstring exe(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    std::wstring tests = exe.substr(0, exe.find_last_of(L'\\'));
    return tests.substr(0, tests.find_last_of(L'\\') + 1) + name;
}

// The bytes more the process has committed after a step done again and again: GetGuiResources answers 0 under Wine,
// but a leaked bitmap's pixels show here.
template <class Step> SSIZE_T Growth(int times, Step step)
{
    PROCESS_MEMORY_COUNTERS before = { sizeof before };
    PROCESS_MEMORY_COUNTERS after = { sizeof after };
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    while (times--)
        step();
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    return after.PagefileUsage - before.PagefileUsage;
}

// The parts of a text between the separators.
inline Texts Split(const std::wstring &text, const std::wstring &separator)
{
    Texts parts;
    for (size_t start = 0; start <= text.size();) {
        size_t end = std::min(text.find(separator, start), text.size());
        parts.push_back(text.substr(start, end - start));
        start = end + separator.size();
    }
    return parts;
}
