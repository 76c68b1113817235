#include "shared.h"

HWND g_hTarget;

POINT DialogUnitsToPixels(HWND dialog, int x, int y)
{
    RECT rect = { 0, 0, x, y };
    MapDialogRect(dialog, &rect);
    return { rect.right, rect.bottom };
}

void FormatHandle(wchar_t *text, HWND window)
{
    wsprintfW(text, L"%lX", static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(window)));
}
