#include "main_dialog.h"

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && wParam == IDCANCEL)
        EndDialog(dialog, 0);
    return FALSE;
}
