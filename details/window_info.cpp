#include "window_info.h"
#include "../app/shared.h"
#include "../app/startup.h"
#include "../resources/resource.h"
#include "../styles/style_panel.h"

// Values are read into buffers of this size; what does not fit (a path
// longer than this) shows as a value the system could not give.
enum { VALUE_CHARS = 1024, NAME_CHARS = 128 };

// The extra bytes shown at most: a class may ask for thousands.
enum { EXTRA_BYTES_SHOWN = 1024 };

struct RowWriter {
    InfoRowSink sink;
    void *target;
};

static void Row(const RowWriter &rows, int nameId, const wchar_t *value)
{
    wchar_t name[NAME_CHARS] = L"";
    LoadProgramString(nameId, name, NAME_CHARS);
    rows.sink(rows.target, nameId, name, value);
}

static void Heading(const RowWriter &rows, int nameId) { Row(rows, nameId, nullptr); }

// A row whose call may fail: empty then, never a made-up value.
static void TextRow(const RowWriter &rows, int nameId, bool known, const wchar_t *value)
{
    Row(rows, nameId, known ? value : L"");
}

static void StringRow(const RowWriter &rows, int nameId, bool known, int valueId)
{
    wchar_t value[NAME_CHARS] = L"";
    LoadProgramString(valueId, value, NAME_CHARS);
    TextRow(rows, nameId, known, value);
}

static void NumberRow(const RowWriter &rows, int nameId, bool known, DWORD value)
{
    wchar_t text[16];
    wsprintfW(text, L"%lu", value);
    TextRow(rows, nameId, known, text);
}

enum { HEX64_CHARS = 17 };

static void HexRow(const RowWriter &rows, int nameId, bool known, ULONG_PTR value)
{
    wchar_t text[HEX64_CHARS];
    FormatHexBytes(text, value, sizeof value);
    TextRow(rows, nameId, known, text);
}

static void RectRow(const RowWriter &rows, int nameId, bool known, const RECT &rect)
{
    wchar_t text[96];
    wsprintfW(text, L"%ld, %ld, %ld, %ld (%ld \x00D7 %ld)", rect.left, rect.top, rect.right, rect.bottom,
              rect.right - rect.left, rect.bottom - rect.top);
    TextRow(rows, nameId, known, text);
}

// A window as the details show its handle, then its class in parentheses.
static void WindowRow(const RowWriter &rows, int nameId, bool known, HWND window)
{
    wchar_t text[HANDLE_CHARS + 256 + 3];
    FormatHandle(text, window);
    if (window) {
        int length = lstrlenW(text);
        lstrcpyW(text + length, L" (");
        GetClassNameW(window, text + length + 2, 256);
        lstrcatW(text, L")");
    }
    TextRow(rows, nameId, known, text);
}

// The style's value in hexadecimal, then its names as the details decode them.
static void StyleRow(const RowWriter &rows, int nameId, HWND window, int which)
{
    wchar_t text[STYLE_TEXT_CHARS];
    FormatStyleText(window, which, text);
    Row(rows, nameId, text);
}

// 0 is a value like any other: only the last error tells a failure from it.
static bool AskWindowLong(HWND window, int index, LONG_PTR *value)
{
    SetLastError(ERROR_SUCCESS);
    *value = GetWindowLongPtrW(window, index);
    return *value || GetLastError() == ERROR_SUCCESS;
}

static bool AskClassLong(HWND window, int index, ULONG_PTR *value)
{
    SetLastError(ERROR_SUCCESS);
    *value = GetClassLongPtrW(window, index);
    return *value || GetLastError() == ERROR_SUCCESS;
}

static void WindowLongRow(const RowWriter &rows, int nameId, HWND window, int index)
{
    LONG_PTR value;
    bool known = AskWindowLong(window, index, &value);
    HexRow(rows, nameId, known, static_cast<ULONG_PTR>(value));
}

static void ClassLongRow(const RowWriter &rows, int nameId, HWND window, int index)
{
    ULONG_PTR value;
    bool known = AskClassLong(window, index, &value);
    HexRow(rows, nameId, known, value);
}

static void ClassCountRow(const RowWriter &rows, int nameId, HWND window, int index)
{
    ULONG_PTR value;
    bool known = AskClassLong(window, index, &value);
    NumberRow(rows, nameId, known, static_cast<DWORD>(value));
}

template <class Function> static Function User32Function(const char *name)
{
    // Through a plain function type: the compiler warns of casts between others.
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

struct NamedValue {
    LONG_PTR value;
    const wchar_t *name;
};

// The name of the value in the table; null for one it lacks.
template <int N> static const wchar_t *NameOf(const NamedValue (&table)[N], LONG_PTR value)
{
    for (const NamedValue &entry : table) {
        if (entry.value == value)
            return entry.name;
    }
    return nullptr;
}

static const NamedValue AWARENESS_NAMES[] = {
    { DPI_AWARENESS_UNAWARE, L"DPI_AWARENESS_UNAWARE" },
    { DPI_AWARENESS_SYSTEM_AWARE, L"DPI_AWARENESS_SYSTEM_AWARE" },
    { DPI_AWARENESS_PER_MONITOR_AWARE, L"DPI_AWARENESS_PER_MONITOR_AWARE" },
};

// Newer than Windows 7, so looked up: the program starts where they are missing.
static void DpiRows(const RowWriter &rows, HWND window)
{
    typedef UINT(WINAPI * DpiOfWindow)(HWND);
    typedef DPI_AWARENESS_CONTEXT(WINAPI * AwarenessContextOfWindow)(HWND);
    typedef DPI_AWARENESS(WINAPI * AwarenessOfContext)(DPI_AWARENESS_CONTEXT);
    auto dpiOf = User32Function<DpiOfWindow>("GetDpiForWindow");
    auto contextOf = User32Function<AwarenessContextOfWindow>("GetWindowDpiAwarenessContext");
    auto awarenessOf = User32Function<AwarenessOfContext>("GetAwarenessFromDpiAwarenessContext");
    UINT dpi = dpiOf ? dpiOf(window) : 0;
    NumberRow(rows, IDS_ROW_DPI, dpi != 0, dpi);
    const wchar_t *awareness =
        contextOf && awarenessOf ? NameOf(AWARENESS_NAMES, awarenessOf(contextOf(window))) : nullptr;
    TextRow(rows, IDS_ROW_DPI_AWARENESS, awareness != nullptr, awareness);
}

static int ShowStateName(UINT showCommand)
{
    switch (showCommand) {
    case SW_SHOWMINIMIZED:
        return IDS_SHOW_MINIMIZED;
    case SW_SHOWMAXIMIZED:
        return IDS_SHOW_MAXIMIZED;
    default:
        return IDS_SHOW_NORMAL;
    }
}

static void WindowRows(const RowWriter &rows, HWND window)
{
    wchar_t text[VALUE_CHARS] = L"";
    Heading(rows, IDS_INFO_WINDOW);
    FormatHandle(text, window);
    Row(rows, IDS_ROW_HANDLE, text);
    TextRow(rows, IDS_ROW_CLASS_NAME, GetClassNameW(window, text, 256) > 0, text);
    // The system's own copy of the text: no message to the window.
    text[0] = L'\0';
    InternalGetWindowText(window, text, VALUE_CHARS);
    Row(rows, IDS_ROW_TEXT, text);
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    if (style & WS_CHILD) {
        LONG_PTR id;
        bool known = AskWindowLong(window, GWLP_ID, &id);
        NumberRow(rows, IDS_ROW_CONTROL_ID, known, static_cast<DWORD>(id));
    } else {
        HexRow(rows, IDS_ROW_MENU, true, reinterpret_cast<ULONG_PTR>(GetMenu(window)));
    }

    RECT rect = {};
    RectRow(rows, IDS_ROW_WINDOW_RECT, GetWindowRect(window, &rect), rect);
    POINT origin = {};
    bool client = GetClientRect(window, &rect) && ClientToScreen(window, &origin);
    OffsetRect(&rect, origin.x, origin.y);
    RectRow(rows, IDS_ROW_CLIENT_RECT, client, rect);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    bool placed = GetWindowPlacement(window, &placement);
    RectRow(rows, IDS_ROW_RESTORED_RECT, placed, placement.rcNormalPosition);
    StringRow(rows, IDS_ROW_SHOW_STATE, placed, ShowStateName(placement.showCmd));

    StyleRow(rows, IDS_ROW_STYLE, window, GWL_STYLE);
    StyleRow(rows, IDS_ROW_EXSTYLE, window, GWL_EXSTYLE);
    WindowLongRow(rows, IDS_ROW_PROCEDURE, window, GWLP_WNDPROC);
    WindowLongRow(rows, IDS_ROW_INSTANCE, window, GWLP_HINSTANCE);
    WindowLongRow(rows, IDS_ROW_USER_DATA, window, GWLP_USERDATA);
    DpiRows(rows, window);
    StringRow(rows, IDS_ROW_CHARSET, true, IsWindowUnicode(window) ? IDS_CHARSET_UNICODE : IDS_CHARSET_ANSI);
    WindowRow(rows, IDS_ROW_PARENT, (style & WS_CHILD) != 0, GetAncestor(window, GA_PARENT));
    WindowRow(rows, IDS_ROW_OWNER, true, GetWindow(window, GW_OWNER));
    WindowRow(rows, IDS_ROW_ROOT_OWNER, true, GetAncestor(window, GA_ROOTOWNER));
}

// A brush of the value COLOR_x + 1 paints in that system colour.
static const NamedValue COLOR_NAMES[] = {
    { COLOR_SCROLLBAR, L"COLOR_SCROLLBAR" },
    { COLOR_BACKGROUND, L"COLOR_BACKGROUND" },
    { COLOR_ACTIVECAPTION, L"COLOR_ACTIVECAPTION" },
    { COLOR_INACTIVECAPTION, L"COLOR_INACTIVECAPTION" },
    { COLOR_MENU, L"COLOR_MENU" },
    { COLOR_WINDOW, L"COLOR_WINDOW" },
    { COLOR_WINDOWFRAME, L"COLOR_WINDOWFRAME" },
    { COLOR_MENUTEXT, L"COLOR_MENUTEXT" },
    { COLOR_WINDOWTEXT, L"COLOR_WINDOWTEXT" },
    { COLOR_CAPTIONTEXT, L"COLOR_CAPTIONTEXT" },
    { COLOR_ACTIVEBORDER, L"COLOR_ACTIVEBORDER" },
    { COLOR_INACTIVEBORDER, L"COLOR_INACTIVEBORDER" },
    { COLOR_APPWORKSPACE, L"COLOR_APPWORKSPACE" },
    { COLOR_HIGHLIGHT, L"COLOR_HIGHLIGHT" },
    { COLOR_HIGHLIGHTTEXT, L"COLOR_HIGHLIGHTTEXT" },
    { COLOR_BTNFACE, L"COLOR_BTNFACE" },
    { COLOR_BTNSHADOW, L"COLOR_BTNSHADOW" },
    { COLOR_GRAYTEXT, L"COLOR_GRAYTEXT" },
    { COLOR_BTNTEXT, L"COLOR_BTNTEXT" },
    { COLOR_INACTIVECAPTIONTEXT, L"COLOR_INACTIVECAPTIONTEXT" },
    { COLOR_BTNHIGHLIGHT, L"COLOR_BTNHIGHLIGHT" },
    { COLOR_3DDKSHADOW, L"COLOR_3DDKSHADOW" },
    { COLOR_3DLIGHT, L"COLOR_3DLIGHT" },
    { COLOR_INFOTEXT, L"COLOR_INFOTEXT" },
    { COLOR_INFOBK, L"COLOR_INFOBK" },
    { COLOR_HOTLIGHT, L"COLOR_HOTLIGHT" },
    { COLOR_GRADIENTACTIVECAPTION, L"COLOR_GRADIENTACTIVECAPTION" },
    { COLOR_GRADIENTINACTIVECAPTION, L"COLOR_GRADIENTINACTIVECAPTION" },
    { COLOR_MENUHILIGHT, L"COLOR_MENUHILIGHT" },
    { COLOR_MENUBAR, L"COLOR_MENUBAR" },
};

// The window's extra bytes at their offsets, a pointer's size at a time,
// then in smaller reads what is left (a single last byte cannot be read
// alone). Under Wine a read can leave a stale last error beside a right
// value: what it returns is shown.
static void ExtraByteRows(const RowWriter &rows, HWND window, int count)
{
    for (int offset = 0; offset + 2 <= count && offset < EXTRA_BYTES_SHOWN;) {
        int rest = count - offset;
        int bytes = rest >= 8 ? 8 : rest >= 4 ? 4 : 2;
        ULONG_PTR value = bytes == 8   ? static_cast<ULONG_PTR>(GetWindowLongPtrW(window, offset))
                          : bytes == 4 ? static_cast<DWORD>(GetWindowLongW(window, offset))
                                       : GetWindowWord(window, offset);
        wchar_t name[16];
        wchar_t text[HEX64_CHARS];
        wsprintfW(name, L"+%d", offset);
        FormatHexBytes(text, value, bytes);
        rows.sink(rows.target, 0, name, text);
        offset += bytes;
    }
}

static void ClassRows(const RowWriter &rows, HWND window)
{
    Heading(rows, IDS_INFO_CLASS);
    wchar_t text[16];
    ATOM atom = static_cast<ATOM>(GetClassWord(window, GCW_ATOM));
    wsprintfW(text, L"%X", atom);
    TextRow(rows, IDS_ROW_ATOM, atom != 0, text);
    StyleRow(rows, IDS_ROW_CLASS_STYLE, window, GCL_STYLE);
    ClassCountRow(rows, IDS_ROW_CLASS_EXTRA, window, GCL_CBCLSEXTRA);
    ClassCountRow(rows, IDS_ROW_WINDOW_EXTRA, window, GCL_CBWNDEXTRA);
    ExtraByteRows(rows, window, static_cast<int>(GetClassLongPtrW(window, GCL_CBWNDEXTRA)));
    ClassLongRow(rows, IDS_ROW_MODULE, window, GCLP_HMODULE);
    ClassLongRow(rows, IDS_ROW_CLASS_PROCEDURE, window, GCLP_WNDPROC);
    ClassLongRow(rows, IDS_ROW_ICON, window, GCLP_HICON);
    ClassLongRow(rows, IDS_ROW_SMALL_ICON, window, GCLP_HICONSM);
    ClassLongRow(rows, IDS_ROW_CURSOR, window, GCLP_HCURSOR);
    ULONG_PTR brush;
    bool known = AskClassLong(window, GCLP_HBRBACKGROUND, &brush);
    const wchar_t *colour = brush ? NameOf(COLOR_NAMES, static_cast<LONG_PTR>(brush) - 1) : nullptr;
    if (colour)
        Row(rows, IDS_ROW_BACKGROUND, colour);
    else
        HexRow(rows, IDS_ROW_BACKGROUND, known, brush);
}

static const NamedValue PRIORITY_NAMES[] = {
    { REALTIME_PRIORITY_CLASS, L"REALTIME_PRIORITY_CLASS" },
    { HIGH_PRIORITY_CLASS, L"HIGH_PRIORITY_CLASS" },
    { ABOVE_NORMAL_PRIORITY_CLASS, L"ABOVE_NORMAL_PRIORITY_CLASS" },
    { NORMAL_PRIORITY_CLASS, L"NORMAL_PRIORITY_CLASS" },
    { BELOW_NORMAL_PRIORITY_CLASS, L"BELOW_NORMAL_PRIORITY_CLASS" },
    { IDLE_PRIORITY_CLASS, L"IDLE_PRIORITY_CLASS" },
};

static void ProcessRows(const RowWriter &rows, DWORD processId)
{
    Heading(rows, IDS_INFO_PROCESS);
    NumberRow(rows, IDS_ROW_PROCESS_ID, processId != 0, processId);
    // The least right that answers all of these, which a process of
    // another user grants more often than more.
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    wchar_t image[VALUE_CHARS];
    DWORD size = VALUE_CHARS;
    TextRow(rows, IDS_ROW_IMAGE, process && QueryFullProcessImageNameW(process, 0, image, &size), image);
    // This program is 64-bit, so the system is: a process is 32-bit only under WOW64.
    BOOL wow64 = FALSE;
    bool bitsKnown = process && IsWow64Process(process, &wow64);
    StringRow(rows, IDS_ROW_BITNESS, bitsKnown, wow64 ? IDS_BITS_32 : IDS_BITS_64);
    DWORD session = 0;
    bool sessionKnown = ProcessIdToSessionId(processId, &session);
    NumberRow(rows, IDS_ROW_SESSION, sessionKnown, session);
    const wchar_t *priority = process ? NameOf(PRIORITY_NAMES, GetPriorityClass(process)) : nullptr;
    TextRow(rows, IDS_ROW_PRIORITY, priority != nullptr, priority);
    if (process)
        CloseHandle(process);
}

static void ThreadRows(const RowWriter &rows, DWORD threadId)
{
    Heading(rows, IDS_INFO_THREAD);
    NumberRow(rows, IDS_ROW_THREAD_ID, threadId != 0, threadId);
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof thread;
    bool known = threadId && GetGUIThreadInfo(threadId, &thread);
    WindowRow(rows, IDS_ROW_ACTIVE, known, thread.hwndActive);
    WindowRow(rows, IDS_ROW_FOCUS, known, thread.hwndFocus);
    WindowRow(rows, IDS_ROW_CAPTURE, known, thread.hwndCapture);
    WindowRow(rows, IDS_ROW_CARET, known, thread.hwndCaret);
}

// A property by its name, or its atom where it has none; its value in hexadecimal.
static BOOL CALLBACK AddPropertyRow(HWND, LPWSTR name, HANDLE value, ULONG_PTR target)
{
    const RowWriter &rows = *reinterpret_cast<const RowWriter *>(target);
    wchar_t atom[8], text[HEX64_CHARS];
    if (IS_INTRESOURCE(name)) {
        wsprintfW(atom, L"%X", static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)));
        name = atom;
    }
    FormatHexBytes(text, reinterpret_cast<ULONG_PTR>(value), sizeof value);
    rows.sink(rows.target, 0, name, text);
    return TRUE;
}

void ReadWindowInfo(HWND window, InfoRowSink sink, void *target)
{
    if (!window || !IsWindow(window))
        return;
    RowWriter rows = { sink, target };
    WindowRows(rows, window);
    ClassRows(rows, window);
    DWORD processId = 0;
    DWORD threadId = GetWindowThreadProcessId(window, &processId);
    ProcessRows(rows, processId);
    ThreadRows(rows, threadId);
    Heading(rows, IDS_INFO_PROPERTIES);
    EnumPropsExW(window, AddPropertyRow, reinterpret_cast<LPARAM>(&rows));
}
