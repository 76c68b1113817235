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

void AppendText(TextBuffer *buffer, const wchar_t *text)
{
    if (buffer->failed)
        return;
    SIZE_T length = lstrlenW(text);
    if (buffer->length + length >= buffer->capacity) {
        SIZE_T capacity = 2 * (buffer->length + length) + 256;
        void *grown = buffer->text ? HeapReAlloc(GetProcessHeap(), 0, buffer->text, capacity * sizeof(wchar_t))
                                   : HeapAlloc(GetProcessHeap(), 0, capacity * sizeof(wchar_t));
        if (!grown) {
            FreeText(buffer);
            buffer->failed = true;
            return;
        }
        buffer->text = static_cast<wchar_t *>(grown);
        buffer->capacity = capacity;
    }
    lstrcpyW(buffer->text + buffer->length, text);
    buffer->length += length;
}

void FreeText(TextBuffer *buffer)
{
    if (buffer->text)
        HeapFree(GetProcessHeap(), 0, buffer->text);
    *buffer = {};
}

// The clipboard takes the memory over once it accepts it.
void PutOnClipboard(HWND owner, const wchar_t *text)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (lstrlenW(text) + 1) * sizeof(wchar_t));
    wchar_t *copy = memory ? static_cast<wchar_t *>(GlobalLock(memory)) : nullptr;
    if (!copy) {
        GlobalFree(memory);
        return;
    }
    lstrcpyW(copy, text);
    GlobalUnlock(memory);
    if (OpenClipboard(owner)) {
        EmptyClipboard();
        if (SetClipboardData(CF_UNICODETEXT, memory))
            memory = nullptr;
        CloseClipboard();
    }
    GlobalFree(memory);
}
