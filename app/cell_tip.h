// A tip under a list view's cell whose column cuts its text, with the
// whole text, once the pointer rests on the cell. The list view's own
// label tips would do it on Windows; Wine's list view has none.
#pragma once
#include <windows.h>

void AddCellTips(HWND list);
