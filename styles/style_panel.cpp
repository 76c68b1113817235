#include "style_panel.h"
#include <commctrl.h>
#include "../app/shared.h"
#include "../app/startup.h"

enum { CAPTION_FORMAT_CHARS = 128, CAPTION_CHARS = 256 };

// Panel list n has its caption label at n + 80 and its caption format in
// string n - 19.
static int CaptionIdFor(int listId) { return listId + 80; }
static int CaptionStringFor(int listId) { return listId - 19; }

static bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Skips up to two digits; false when there are more.
static bool SkipShortNumber(const wchar_t *&p)
{
    int digits = 0;
    while (IsDigit(*p)) {
        p++;
        digits++;
    }
    return digits <= 2;
}

bool IsSingleValueFormat(const wchar_t *format)
{
    int conversions = 0;
    for (const wchar_t *p = format; *p; p++) {
        if (*p != L'%')
            continue;
        p++;
        if (*p == L'%')
            continue;
        while (*p == L'-' || *p == L'#' || *p == L'0')
            p++;
        if (!SkipShortNumber(p))
            return false;
        if (*p == L'.') {
            p++;
            if (!SkipShortNumber(p))
                return false;
        }
        if (*p == L'l' || *p == L'h')
            p++;
        if (*p != L'd' && *p != L'i' && *p != L'u' && *p != L'x' && *p != L'X')
            return false;
        conversions++;
    }
    return conversions == 1;
}

// A satellite's caption that would read arguments never passed, or
// overrun the caption, gives way to the executable's own.
static void FormatCaption(int stringId, DWORD value, wchar_t *caption)
{
    wchar_t format[CAPTION_FORMAT_CHARS] = L"";
    LoadStringW(g_hResModule, stringId, format, CAPTION_FORMAT_CHARS);
    if (!IsSingleValueFormat(format))
        LoadStringW(g_hInstance, stringId, format, CAPTION_FORMAT_CHARS);
    wsprintfW(caption, format, value);
}

// The window style by the names of WS_, then of its class (or the one
// chosen instead) and of the common controls.
static DWORD DecodeStyleBits(HWND window, DWORD style, const wchar_t *prefixOverride, FlagSink sink, void *target)
{
    DWORD rest = DecodeFlags(sink, target, L"WS_", style);
    if (prefixOverride)
        return DecodeFlags(sink, target, L"CCS", DecodeFlags(sink, target, prefixOverride, rest));

    wchar_t className[256] = L"";
    GetClassNameW(window, className, ARRAYSIZE(className));
    for (int row = 0; row < CLASS_PREFIX_COUNT; row++) {
        if (lstrcmpiW(className, CLASS_PREFIXES[row].className) == 0)
            rest = DecodeFlags(sink, target, L"CCS", DecodeFlags(sink, target, CLASS_PREFIXES[row].prefix, rest));
    }
    return rest;
}

DWORD DecodeWindowStyle(HWND window, int which, const wchar_t *prefixOverride, FlagSink sink, void *target)
{
    DWORD value;
    DWORD rest;
    if (which == GCL_STYLE) {
        value = static_cast<DWORD>(GetClassLongPtrW(window, GCL_STYLE));
        rest = DecodeFlags(sink, target, L"CS_", value);
    } else if (which == GWL_EXSTYLE) {
        value = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
        rest = DecodeFlags(sink, target, L"WS_EX_", value);
    } else {
        value = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
        rest = DecodeStyleBits(window, value, prefixOverride, sink, target);
    }
    for (int bit = 0; bit < 32; bit++) {
        DWORD mask = 1u << bit;
        if (rest & mask) {
            wchar_t text[16];
            wsprintfW(text, L"%.8lX", mask);
            sink(target, text);
        }
    }
    return value;
}

void FillStylePanel(HWND dialog, int listId, int which, const wchar_t *prefixOverride)
{
    HWND list = GetDlgItem(dialog, listId);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    DWORD value = DecodeWindowStyle(g_hTarget, which, prefixOverride, AddFlagRow, list);
    wchar_t caption[CAPTION_CHARS];
    FormatCaption(CaptionStringFor(listId), value, caption);
    SetDlgItemTextW(dialog, CaptionIdFor(listId), caption);
}

enum { STYLE_NAMES_CHARS = STYLE_TEXT_CHARS - 16 };

struct NameLine {
    wchar_t text[STYLE_NAMES_CHARS];
    int length;
};

// Appends the name of a decoded line, the part before its space.
static void AppendFlagName(void *target, wchar_t *line)
{
    NameLine *names = static_cast<NameLine *>(target);
    if (names->length + lstrlenW(line) + 2 > STYLE_NAMES_CHARS)
        return;
    names->text[names->length++] = L' ';
    for (const wchar_t *c = line; *c && *c != L' '; c++)
        names->text[names->length++] = *c;
    names->text[names->length] = L'\0';
}

DWORD FormatStyleText(HWND window, int which, wchar_t *text)
{
    NameLine names = {};
    DWORD style = DecodeWindowStyle(window, which, nullptr, AppendFlagName, &names);
    wsprintfW(text, L"%lX", style);
    lstrcatW(text, names.text);
    return style;
}
