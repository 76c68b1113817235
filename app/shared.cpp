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
    SIZE_T length = lstrlenW(text);
    if (!buffer->failed && buffer->length + length >= buffer->capacity) {
        SIZE_T capacity = 2 * (buffer->length + length) + 256;
        void *grown = buffer->text ? HeapReAlloc(GetProcessHeap(), 0, buffer->text, capacity * sizeof(wchar_t))
                                   : HeapAlloc(GetProcessHeap(), 0, capacity * sizeof(wchar_t));
        buffer->failed = !grown;
        if (grown) {
            buffer->text = static_cast<wchar_t *>(grown);
            buffer->capacity = capacity;
        }
    }
    if (buffer->failed)
        return;
    lstrcpyW(buffer->text + buffer->length, text);
    buffer->length += length;
}

// The clipboard takes the memory over once it accepts it.
void PutOnClipboard(HWND owner, TextBuffer *text)
{
    HGLOBAL memory =
        text->text && !text->failed ? GlobalAlloc(GMEM_MOVEABLE, (text->length + 1) * sizeof(wchar_t)) : nullptr;
    wchar_t *copy = memory ? static_cast<wchar_t *>(GlobalLock(memory)) : nullptr;
    if (copy) {
        lstrcpyW(copy, text->text);
        GlobalUnlock(memory);
    }
    if (text->text)
        HeapFree(GetProcessHeap(), 0, text->text);
    *text = {};
    if (copy && OpenClipboard(owner)) {
        EmptyClipboard();
        if (SetClipboardData(CF_UNICODETEXT, memory))
            memory = nullptr;
        CloseClipboard();
    }
    GlobalFree(memory);
}
