// What the system knows of a window, asked without sending it a message:
// a window that no longer answers is read as fast as any other.
#pragma once
#include <windows.h>

// Receives each row in turn, with the string id of its name (0 for a
// property or an extra byte's row); a heading comes with a null value.
typedef void (*InfoRowSink)(void *target, int nameId, const wchar_t *name, const wchar_t *value);

// The window's rows under their headings: the window, its class, its
// process, its thread and its properties. None for a window that is gone.
void ReadWindowInfo(HWND window, InfoRowSink sink, void *target);
