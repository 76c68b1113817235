#include "message_text.h"
#include <commctrl.h>
#include "message_names.h"
#include "../app/shared.h"
#include "../app/startup.h"
#include "../resources/resource.h"

// The classes whose messages (and the notifications they send) have names
// of their own; the common controls, from the tree view on, also take the
// messages they share.
static const struct {
    const wchar_t *className;
    const wchar_t *messages;
    const wchar_t *notifications;
} CONTROL_CLASSES[] = {
    { L"", nullptr, nullptr },   // any other class
    { L"Button", L"BM_", L"BN_" },
    { L"Edit", L"EM_", L"EN_" },
    { L"RICHEDIT", L"EM_", L"EN_" },
    { L"RichEdit20W", L"EM_", L"EN_" },
    { L"RICHEDIT50W", L"EM_", L"EN_" },
    { L"ListBox", L"LB_", L"LBN_" },
    { L"ComboLBox", L"LB_", L"LBN_" },
    { L"ComboBox", L"CB_", L"CBN_" },
    { L"ScrollBar", L"SBM_", nullptr },
    { L"Static", L"STM_", L"STN_" },
    { L"SysTreeView32", L"TVM_", L"TVN_" },
    { L"SysListView32", L"LVM_", L"LVN_" },
    { L"SysTabControl32", L"TCM_", L"TCN_" },
    { L"SysHeader32", L"HDM_", L"HDN_" },
    { L"ToolbarWindow32", L"TB_", L"TBN_" },
    { L"msctls_statusbar32", L"SB_", L"SBN_" },
    { L"tooltips_class32", L"TTM_", L"TTN_" },
    { L"msctls_progress32", L"PBM_", nullptr },
    { L"msctls_updown32", L"UDM_", L"UDN_" },
    { L"msctls_trackbar32", L"TBM_", L"TRBN_" },
    { L"SysMonthCal32", L"MCM_", L"MCN_" },
    { L"SysDateTimePick32", L"DTM_", L"DTN_" },
    { L"ComboBoxEx32", L"CBEM_", L"CBEN_" },
    { L"SysAnimate32", L"ACM_", L"ACN_" },
    { L"ReBarWindow32", L"RB_", L"RBN_" },
    { L"SysIPAddress32", L"IPM_", L"IPN_" },
    { L"msctls_hotkey32", L"HKM_", nullptr },
    { L"SysPager", L"PGM_", L"PGN_" },
};
enum { FIRST_COMMON_CONTROL = 11, REGISTERED_FIRST = 0xC000, REGISTERED_LAST = 0xFFFF };

BYTE ControlClassOf(const wchar_t *className)
{
    for (BYTE row = 1; row < ARRAYSIZE(CONTROL_CLASSES); row++) {
        if (lstrcmpiW(className, CONTROL_CLASSES[row].className) == 0)
            return row;
    }
    return 0;
}

static int DataBytesOf(BYTE kind)
{
    switch (kind) {
    case DATA_CREATE:
        return sizeof(LogCreate);
    case DATA_WINDOWPOS:
        return sizeof(WINDOWPOS);
    case DATA_STYLE:
        return sizeof(STYLESTRUCT);
    case DATA_MINMAX:
        return sizeof(MINMAXINFO);
    case DATA_RECT:
        return sizeof(RECT);
    case DATA_NOTIFY:
        return sizeof(NMHDR);
    default:
        return -1;
    }
}

bool IsWellFormed(const LogLine &line)
{
    if (line.kind < LOG_SENT || line.kind > LOG_POSTED || line.dataBytes > LOG_DATA_BYTES)
        return false;
    if (line.dataKind == DATA_NONE)
        return line.dataBytes == 0;
    if (line.dataKind == DATA_TEXT || line.dataKind == DATA_TEXT_CUT)
        return line.dataBytes % sizeof(wchar_t) == 0 && line.dataBytes <= LOG_TEXT_CHARS * sizeof(wchar_t);
    return line.dataBytes == DataBytesOf(line.dataKind);
}

// A text built by appending, never past its capacity.
struct Out {
    wchar_t *text;
    int length;
};

static void Put(Out &out, const wchar_t *more)
{
    while (*more && out.length < MESSAGE_TEXT_CHARS - 1)
        out.text[out.length++] = *more++;
    out.text[out.length] = L'\0';
}

// " name:" before each field but the first.
static void Field(Out &out, const wchar_t *name)
{
    if (out.length)
        Put(out, L" ");
    Put(out, name);
    Put(out, L":");
}

static void Number(Out &out, const wchar_t *name, int value)
{
    wchar_t text[16];
    wsprintfW(text, L"%d", value);
    Field(out, name);
    Put(out, text);
}

static void Hex(Out &out, const wchar_t *name, DWORD value)
{
    wchar_t text[16];
    wsprintfW(text, L"%lX", value);
    Field(out, name);
    Put(out, text);
}

static void Window(Out &out, const wchar_t *name, UINT64 window)
{
    wchar_t text[HANDLE_CHARS];
    FormatHandle(text, reinterpret_cast<HWND>(window));
    Field(out, name);
    Put(out, text);
}

// The value's name in the group, else its number in hexadecimal.
static void Named(Out &out, const wchar_t *field, const wchar_t *prefix, DWORD value)
{
    wchar_t name[MESSAGE_NAME_CHARS];
    if (prefix && FindName(prefix, value, name)) {
        Field(out, field);
        Put(out, name);
    } else {
        Hex(out, field, value);
    }
}

static void Flags(Out &out, const wchar_t *field, const wchar_t *prefix, DWORD value)
{
    wchar_t names[MESSAGE_TEXT_CHARS];
    FormatFlagNames(prefix, value, names, MESSAGE_TEXT_CHARS);
    Field(out, field);
    Put(out, names);
}

static void Point(Out &out, LPARAM point)
{
    Number(out, L"x", static_cast<short>(LOWORD(point)));
    Number(out, L"y", static_cast<short>(HIWORD(point)));
}

static void Quoted(Out &out, const wchar_t *field, const wchar_t *text, int length, bool cut)
{
    wchar_t character[2] = L"";
    Field(out, field);
    Put(out, L"\"");
    for (int i = 0; i < length && text[i]; i++) {
        character[0] = text[i];
        Put(out, character);
    }
    Put(out, cut ? L"\x2026\"" : L"\"");
}

static void RawParameters(Out &out, const LogLine &line)
{
    wchar_t text[17];
    FormatHexBytes(text, line.wParam, sizeof line.wParam);
    Field(out, L"wParam");
    Put(out, text);
    FormatHexBytes(text, line.lParam, sizeof line.lParam);
    Field(out, L"lParam");
    Put(out, text);
}

// A key's name, a letter or digit as itself; and the fields of its lParam.
static void KeyFields(Out &out, const LogLine &line, bool character)
{
    wchar_t key[MESSAGE_NAME_CHARS] = { static_cast<wchar_t>(line.wParam), 0 };
    if (character) {
        if (key[0] >= L' ')
            Quoted(out, L"char", key, 1, false);
        else
            Hex(out, L"char", key[0]);
    } else if ((key[0] >= L'0' && key[0] <= L'9') || (key[0] >= L'A' && key[0] <= L'Z')) {
        Field(out, L"key");
        Put(out, key);
    } else {
        Named(out, L"key", L"VK_", static_cast<DWORD>(line.wParam));
    }
    DWORD flags = static_cast<DWORD>(line.lParam);
    Number(out, L"repeat", LOWORD(flags));
    Hex(out, L"scan", (flags >> 16) & 0xFF);
    Number(out, L"extended", (flags >> 24) & 1);
    Number(out, L"alt", (flags >> 29) & 1);
    Number(out, L"previous", (flags >> 30) & 1);
    Number(out, L"up", (flags >> 31) & 1);
}

// A notification code by the name the sender's class gives it, or a
// common control's; a command's code of a menu (0) or an accelerator (1)
// is a number.
static void NotificationCode(Out &out, DWORD code, BYTE senderClass, bool common)
{
    wchar_t name[MESSAGE_NAME_CHARS];
    const wchar_t *own = CONTROL_CLASSES[senderClass].notifications;
    bool named = (own && FindName(own, code, name)) || (common && FindName(L"NM_", code, name));
    if (named) {
        Field(out, L"code");
        Put(out, name);
    } else {
        Hex(out, L"code", code);
    }
}

static void CommandFields(Out &out, const LogLine &line)
{
    Number(out, L"id", LOWORD(line.wParam));
    // The code is a WORD: a negative notification as its sign extended.
    DWORD code = static_cast<DWORD>(static_cast<short>(HIWORD(line.wParam)));
    if (line.lParam)
        NotificationCode(out, code, line.senderClass, false);
    else
        Number(out, L"code", HIWORD(line.wParam));
    Window(out, L"control", line.lParam);
}

static void InsertAfter(Out &out, UINT64 window)
{
    // HWND_TOP and HWND_BOTTOM are small numbers, HWND_TOPMOST and
    // HWND_NOTOPMOST small negative ones.
    LONG64 value = static_cast<LONG64>(window);
    if (value >= -2 && value <= 1)
        Named(out, L"after", L"HWND_", static_cast<DWORD>(value));
    else
        Window(out, L"after", window);
}

static void DataFields(Out &out, const LogLine &line, const BYTE *data)
{
    switch (line.dataKind) {
    case DATA_TEXT:
    case DATA_TEXT_CUT:
        Quoted(out, L"text", reinterpret_cast<const wchar_t *>(data), line.dataBytes / sizeof(wchar_t),
               line.dataKind == DATA_TEXT_CUT);
        break;
    case DATA_CREATE: {
        const LogCreate *create = reinterpret_cast<const LogCreate *>(data);
        if (create->classAtom) {
            Hex(out, L"class", static_cast<DWORD>(create->classAtom));
        } else {
            Quoted(out, L"class", create->className, LOG_NAME_CHARS, false);
        }
        Quoted(out, L"text", create->text, 2 * LOG_NAME_CHARS, false);
        Number(out, L"x", create->x);
        Number(out, L"y", create->y);
        Number(out, L"cx", create->cx);
        Number(out, L"cy", create->cy);
        Hex(out, L"style", create->style);
        break;
    }
    case DATA_WINDOWPOS: {
        const WINDOWPOS *position = reinterpret_cast<const WINDOWPOS *>(data);
        InsertAfter(out, reinterpret_cast<ULONG_PTR>(position->hwndInsertAfter));
        Number(out, L"x", position->x);
        Number(out, L"y", position->y);
        Number(out, L"cx", position->cx);
        Number(out, L"cy", position->cy);
        Flags(out, L"flags", L"SWP_", position->flags);
        break;
    }
    case DATA_STYLE: {
        const STYLESTRUCT *styles = reinterpret_cast<const STYLESTRUCT *>(data);
        Named(out, L"which", L"GWL_", static_cast<DWORD>(line.wParam));
        Hex(out, L"old", styles->styleOld);
        Hex(out, L"new", styles->styleNew);
        break;
    }
    case DATA_MINMAX: {
        const POINT *points = &reinterpret_cast<const MINMAXINFO *>(data)->ptMaxSize;
        static const wchar_t *const NAMES[] = { L"maxsize", L"maxpos", L"mintrack", L"maxtrack" };
        for (int i = 0; i < 4; i++) {
            wchar_t text[32];
            wsprintfW(text, L"%ld,%ld", points[i].x, points[i].y);
            Field(out, NAMES[i]);
            Put(out, text);
        }
        break;
    }
    case DATA_RECT: {
        const RECT *rect = reinterpret_cast<const RECT *>(data);
        wchar_t text[64];
        wsprintfW(text, L"%ld,%ld,%ld,%ld", rect->left, rect->top, rect->right, rect->bottom);
        Number(out, L"dpi", LOWORD(line.wParam));
        Field(out, L"rect");
        Put(out, text);
        break;
    }
    case DATA_NOTIFY: {
        const NMHDR *header = reinterpret_cast<const NMHDR *>(data);
        Number(out, L"id", static_cast<int>(header->idFrom));
        NotificationCode(out, header->code, line.senderClass, true);
        Window(out, L"from", reinterpret_cast<ULONG_PTR>(header->hwndFrom));
        break;
    }
    }
}

static bool IsMouseMessage(UINT message)
{
    return (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) ||
           (message >= WM_XBUTTONDOWN && message <= WM_XBUTTONDBLCLK);
}

// The parameters of the messages decoded without a copy of what they point at.
static bool ValueFields(Out &out, const LogLine &line)
{
    UINT message = line.message;
    WPARAM w = static_cast<WPARAM>(line.wParam);
    LPARAM l = static_cast<LPARAM>(line.lParam);
    if (IsMouseMessage(message)) {
        Point(out, l);
        Flags(out, L"keys", L"MK_", LOWORD(w));
        return true;
    }
    if (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) {
        Named(out, L"hit", L"HT", static_cast<DWORD>(static_cast<short>(LOWORD(w))));
        Point(out, l);
        return true;
    }
    switch (message) {
    case WM_SIZE:
        Named(out, L"type", L"SIZE_", static_cast<DWORD>(w));
        Number(out, L"width", LOWORD(l));
        Number(out, L"height", HIWORD(l));
        return true;
    case WM_MOVE:
    case WM_NCHITTEST:
        Point(out, l);
        return true;
    case WM_SHOWWINDOW:
        Number(out, L"shown", static_cast<int>(w));
        Named(out, L"status", L"SW_", static_cast<DWORD>(l));
        return true;
    case WM_ACTIVATE:
        Named(out, L"state", L"WA_", LOWORD(w));
        Number(out, L"minimized", HIWORD(w) != 0);
        Window(out, L"other", line.lParam);
        return true;
    case WM_ACTIVATEAPP:
        Number(out, L"active", static_cast<int>(w));
        Number(out, L"thread", static_cast<int>(l));
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Window(out, L"other", line.wParam);
        return true;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        KeyFields(out, line, false);
        return true;
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_DEADCHAR:
        KeyFields(out, line, true);
        return true;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        Number(out, L"delta", static_cast<short>(HIWORD(w)));
        Flags(out, L"keys", L"MK_", LOWORD(w));
        Point(out, l);
        return true;
    case WM_COMMAND:
        CommandFields(out, line);
        return true;
    case WM_SYSCOMMAND:
        Named(out, L"command", L"SC_", static_cast<DWORD>(w & 0xFFF0));
        Point(out, l);
        return true;
    case WM_TIMER:
        Number(out, L"id", static_cast<int>(w));
        return true;
    case WM_SETCURSOR:
        Window(out, L"window", line.wParam);
        Named(out, L"hit", L"HT", static_cast<DWORD>(static_cast<short>(LOWORD(l))));
        Named(out, L"mouse", L"WM_", HIWORD(l));
        return true;
    case WM_CONTEXTMENU:
        Window(out, L"window", line.wParam);
        Point(out, l);
        return true;
    }
    return false;
}

void FormatParameters(const LogLine &line, const BYTE *data, wchar_t *text)
{
    Out out = { text, 0 };
    text[0] = L'\0';
    if (!IsWellFormed(line)) {
        Hex(out, L"message", line.message);
        Number(out, L"kind", line.kind);
        RawParameters(out, line);
        Number(out, L"data", line.dataKind);
        Number(out, L"bytes", line.dataBytes);
        return;
    }
    if (data && line.dataKind != DATA_NONE)
        DataFields(out, line, data);
    else if (!ValueFields(out, line))
        RawParameters(out, line);
}

void FormatMessageName(const LogLine &line, wchar_t *text)
{
    if (!IsWellFormed(line)) {
        LoadProgramString(IDS_LOG_MALFORMED, text, MESSAGE_TEXT_CHARS);
        return;
    }
    UINT message = line.message;
    const wchar_t *own = CONTROL_CLASSES[line.windowClass].messages;
    bool common = line.windowClass >= FIRST_COMMON_CONTROL;
    if ((own && FindName(own, message, text)) || (common && FindName(L"CCM_", message, text)))
        return;
    if (message < WM_USER && FindName(L"WM_", message, text))
        return;
    bool registered = message >= REGISTERED_FIRST && message <= REGISTERED_LAST;
    if (registered && GetClipboardFormatNameW(message, text, MESSAGE_TEXT_CHARS))
        return;
    if (message >= WM_USER && message < WM_APP)
        wsprintfW(text, L"WM_USER+%u", message - WM_USER);
    else if (message >= WM_APP && message < REGISTERED_FIRST)
        wsprintfW(text, L"WM_APP+%u", message - WM_APP);
    else
        wsprintfW(text, L"0x%04X", message);
}

void FormatResult(const LogLine &line, wchar_t *text)
{
    Out out = { text, 0 };
    text[0] = L'\0';
    if (line.kind != LOG_RETURNED || !IsWellFormed(line))
        return;
    wchar_t name[MESSAGE_NAME_CHARS];
    DWORD result = static_cast<DWORD>(line.result);
    if (line.message == WM_NCHITTEST && FindName(L"HT", result, name)) {
        Put(out, name);
    } else if (line.message == WM_GETTEXT || line.message == WM_GETTEXTLENGTH) {
        wsprintfW(text, L"%d", static_cast<int>(line.result));
    } else {
        FormatHexBytes(text, line.result, sizeof line.result);
    }
}
