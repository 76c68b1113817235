#include "details_dialog.h"

HANDLE g_hTargetProcess;

INT_PTR CALLBACK DetailsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && wParam == IDCANCEL)
        EndDialog(dialog, 0);
    return FALSE;
}
