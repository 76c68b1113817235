// Runs the program's own resource-module choice from wherever it is copied
// to. Exit code 1: the exe's own resources; 2: a satellite was chosen.
#include <windows.h>
#include "app/startup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return LoadResourceModule() == GetModuleHandleW(nullptr) ? 1 : 2;
}
