// The program's entry point: no C runtime start-up and no command line.
#include <windows.h>
#include <commctrl.h>
#include "startup.h"
#include "../tree/main_dialog.h"
#include "../resources/resource.h"

extern "C" void WINAPI OrvalisStart()
{
    if (LoadStyleTable()) {
        // Imported by ordinal 17, which every comctl32 version exports.
        InitCommonControls();
        g_hInstance = GetModuleHandleW(nullptr);
        g_hResModule = LoadResourceModule();
        DialogBoxParamW(g_hResModule, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialogProc, 0);
        GlobalFree(g_pStyleTable);
    }
    ExitProcess(0);
}
