// Helpers shared by the test programs.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// This program stands in for the exe and the resource module.
void UseOwnResources();
std::wstring Text(HWND window);
// A flag list's rows as "name value", or "name" alone.
std::vector<std::wstring> Rows(HWND list);
// A file of the build folder, the one above the tests.
std::wstring BuildFile(const std::wstring &name);
