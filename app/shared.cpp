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

void FormatWindowTitle(wchar_t *title, const wchar_t *caption, HWND window)
{
    wchar_t className[256] = L"";
    wchar_t handle[HANDLE_CHARS];
    GetClassNameW(window, className, ARRAYSIZE(className));
    FormatHandle(handle, window);
    lstrcpynW(title, caption, TITLE_CHARS - ARRAYSIZE(className) - HANDLE_CHARS - 8);
    wsprintfW(title + lstrlenW(title), L" - %s (%s)", handle, className);
}

void FormatHexBytes(wchar_t *text, UINT64 value, int bytes)
{
    for (int digit = 2 * bytes - 1; digit >= 0; digit--, value >>= 4)
        text[digit] = L"0123456789ABCDEF"[value & 0xF];
    text[2 * bytes] = L'\0';
}

bool ReadHexadecimal(const wchar_t *text, ULONG_PTR *value)
{
    if (text[0] == L'0' && (text[1] == L'x' || text[1] == L'X'))
        text += 2;
    int digits = 0;
    for (*value = 0; text[digits]; digits++) {
        wchar_t c = text[digits];
        wchar_t lower = c | 0x20;
        int digit = c >= L'0' && c <= L'9' ? c - L'0' : lower >= L'a' && lower <= L'f' ? lower - L'a' + 10 : -1;
        if (digit < 0 || digits == 2 * sizeof(ULONG_PTR))
            return false;
        *value = *value << 4 | static_cast<ULONG_PTR>(digit);
    }
    return digits > 0;
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
