// The floor of the log's benchmark: a hook library like the log's, whose
// procedure only passes each message on.
#include <windows.h>

extern "C" __declspec(dllexport) LRESULT CALLBACK PassOn(int code, WPARAM wParam, LPARAM lParam)
{
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" BOOL WINAPI EmptyHookEntry(HINSTANCE, DWORD, void *) { return TRUE; }
