#include "details_dialog.h"
#include <commctrl.h>
#include "details_rules.h"
#include "../app/shared.h"
#include "../app/startup.h"
#include "../resources/resource.h"
#include "../styles/style_names.h"
#include "../styles/style_panel.h"

HANDLE g_hTargetProcess;

enum { RELATIVE_TAB_COUNT = 5 };

static void SetDlgItemHandle(HWND dialog, int id, HWND window)
{
    wchar_t text[HANDLE_CHARS];
    FormatHandle(text, window);
    SetDlgItemTextW(dialog, id, text);
}

// One spare character past what the window may fill stays NUL, so a window
// that fills the buffer without a terminator cannot make us read past it.
static wchar_t *AskWindowText(HWND window, SIZE_T capacity)
{
    wchar_t *text =
        static_cast<wchar_t *>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, (capacity + 1) * sizeof(wchar_t)));
    if (text)
        SendMessageW(window, WM_GETTEXT, capacity, reinterpret_cast<LPARAM>(text));
    return text;
}

// Past this a window's answer to WM_GETTEXTLENGTH is taken for a false one:
// 16 Mi characters, far beyond any real window text, and a buffer (32 MiB)
// that neither strains memory nor lets the size arithmetic wrap.
static const LRESULT LONGEST_TEXT = 1 << 24;

wchar_t *ReadWindowText(HWND window)
{
    wchar_t *text = AskWindowText(window, TEXT_CHARS);
    if (!text || lstrlenW(text) < TEXT_CHARS - 1)
        return text;
    // Perhaps cut. The length is only the window's word for it.
    LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    if (length < TEXT_CHARS || length > LONGEST_TEXT)
        return text;
    wchar_t *whole = AskWindowText(window, static_cast<SIZE_T>(length) + 1);
    if (!whole)
        return text;
    // The longer read stands only when it brings at least what the first had.
    bool longer = lstrlenW(whole) >= lstrlenW(text);
    HeapFree(GetProcessHeap(), 0, longer ? text : whole);
    return longer ? whole : text;
}

// Asked of the window itself, so that other programs' windows answer too.
static void ShowWindowText(HWND dialog, int id, HWND window)
{
    wchar_t *text = ReadWindowText(window);
    SetDlgItemTextW(dialog, id, text ? text : L"");
    if (text)
        HeapFree(GetProcessHeap(), 0, text);
}

static void SetDlgItemSigned(HWND dialog, int id, LONG value)
{
    wchar_t text[TEXT_CHARS];
    wsprintfW(text, L"%ld", value);
    SetDlgItemTextW(dialog, id, text);
}

static void AddStringToList(HWND dialog, int listId, int stringId)
{
    wchar_t text[TEXT_CHARS] = L"";
    LoadStringW(g_hResModule, stringId, text, TEXT_CHARS);
    SendDlgItemMessageW(dialog, listId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

// In dialog units, so that the longest flag names fit at every font and DPI.
enum { NAME_COLUMN_UNITS = 105, VALUE_COLUMN_MIN_UNITS = 40 };

// The value column takes the rest of the list's width, so that eight hex
// digits are not cut either.
static void AddStyleListColumns(HWND dialog, int listId)
{
    HWND list = GetDlgItem(dialog, listId);
    int nameWidth = DialogUnitsToPixels(dialog, NAME_COLUMN_UNITS, 0).x;
    int valueMinWidth = DialogUnitsToPixels(dialog, VALUE_COLUMN_MIN_UNITS, 0).x;
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH;
    column.fmt = LVCFMT_LEFT;
    column.cx = nameWidth;
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    RECT client;
    GetClientRect(list, &client);
    int rest = client.right - nameWidth - GetSystemMetrics(SM_CXVSCROLL);
    column.fmt = LVCFMT_RIGHT;
    column.cx = rest > valueMinWidth ? rest : valueMinWidth;
    SendMessageW(list, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

static void ShowCommands(HWND dialog, const wchar_t *className)
{
    int count = CommandCountFor(className);
    for (int entry = 0; entry < count; entry++)
        AddStringToList(dialog, IDC_DETAILS_COMMANDS, IDS_COMMAND_CLOSE + entry);
    SendDlgItemMessageW(dialog, IDC_DETAILS_COMMANDS, CB_SETCURSEL, COMMAND_CLOSE, 0);
}

// A child's top-left in its parent's client area, anything else on the
// screen: the coordinates SetWindowPos takes back unchanged.
static void ShowPlacement(HWND dialog, HWND target)
{
    RECT rect;
    if (!GetWindowRect(target, &rect))
        return;   // the window is gone: the fields stay empty
    LONG width = rect.right - rect.left;
    LONG height = rect.bottom - rect.top;
    // Both corners: in a mirrored parent the left that SetWindowPos takes is
    // where the window's right edge lies on the screen.
    HWND parent = GetParent(target);
    if ((GetWindowLongPtrW(target, GWL_STYLE) & WS_CHILD) && parent)
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&rect), 2);
    SetDlgItemSigned(dialog, IDC_DETAILS_LEFT, rect.left);
    SetDlgItemSigned(dialog, IDC_DETAILS_TOP, rect.top);
    SetDlgItemSigned(dialog, IDC_DETAILS_WIDTH, width);
    SetDlgItemSigned(dialog, IDC_DETAILS_HEIGHT, height);
}

static void ShowPriority(HWND dialog, HWND target)
{
    for (int entry = 0; entry < PRIORITY_ENTRY_COUNT; entry++)
        AddStringToList(dialog, IDC_DETAILS_PRIORITY, IDS_PRIORITY_REALTIME + entry);
    DWORD processId = 0;
    GetWindowThreadProcessId(target, &processId);
    g_hTargetProcess = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_SET_INFORMATION, FALSE, processId);
    // A class without an entry, or an unknown one, selects nothing rather
    // than an entry the process does not have.
    SendDlgItemMessageW(dialog, IDC_DETAILS_PRIORITY, CB_SETCURSEL,
                        PriorityEntryFor(GetPriorityClass(g_hTargetProcess)), 0);
}

// Cleared once closed: the dialog can be ended twice, and the value may by
// then belong to another handle.
void CloseTargetProcess()
{
    if (g_hTargetProcess)
        CloseHandle(g_hTargetProcess);
    g_hTargetProcess = nullptr;
}

static void AddRelativeTabs(HWND dialog)
{
    HWND tab = GetDlgItem(dialog, IDC_DETAILS_RELATIVES_TAB);
    for (int i = 0; i < RELATIVE_TAB_COUNT; i++) {
        wchar_t text[TEXT_CHARS] = L"";
        LoadStringW(g_hResModule, IDS_TAB_PARENT + i, text, TEXT_CHARS);
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        SendMessageW(tab, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
}

static void InitDetailsDialog(HWND dialog)
{
    HWND target = g_hTarget;
    AddStyleListColumns(dialog, IDC_DETAILS_STYLE_LIST);
    AddStyleListColumns(dialog, IDC_DETAILS_EXSTYLE_LIST);
    AddStyleListColumns(dialog, IDC_DETAILS_CLASSSTYLE_LIST);

    ShowWindowText(dialog, IDC_DETAILS_TEXT, target);
    wchar_t className[TEXT_CHARS] = L"";
    GetClassNameW(target, className, TEXT_CHARS);
    SetDlgItemTextW(dialog, IDC_DETAILS_CLASS, className);

    ShowCommands(dialog, className);
    ShowPlacement(dialog, target);
    SetDlgItemHandle(dialog, IDC_DETAILS_HANDLE, target);
    SetDlgItemInt(dialog, IDC_DETAILS_ID, static_cast<UINT>(GetWindowLongPtrW(target, GWLP_ID)), FALSE);
    ShowPriority(dialog, target);

    DWORD style = static_cast<DWORD>(GetWindowLongPtrW(target, GWL_STYLE));
    CheckDlgButton(dialog, IDC_DETAILS_VISIBLE, (style & WS_VISIBLE) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_DETAILS_DISABLED, (style & WS_DISABLED) ? BST_CHECKED : BST_UNCHECKED);
    FillStylePanel(dialog, IDC_DETAILS_STYLE_LIST, GWL_STYLE, nullptr);
    DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(target, GWL_EXSTYLE));
    CheckDlgButton(dialog, IDC_DETAILS_TOPMOST, (exStyle & WS_EX_TOPMOST) ? BST_CHECKED : BST_UNCHECKED);
    FillStylePanel(dialog, IDC_DETAILS_EXSTYLE_LIST, GWL_EXSTYLE, nullptr);
    FillStylePanel(dialog, IDC_DETAILS_CLASSSTYLE_LIST, GCL_STYLE, nullptr);

    AddRelativeTabs(dialog);
    ShowRelative(dialog);
    for (int row = 0; row < CLASS_PREFIX_COUNT; row++) {
        SendDlgItemMessageW(dialog, IDC_DETAILS_CLASS_LIST, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(CLASS_PREFIXES[row].className));
    }
}

static HWND FindRelative(HWND target, int tab)
{
    switch (tab) {
    case 0:
        return reinterpret_cast<HWND>(GetWindowLongPtrW(target, GWLP_HWNDPARENT));
    case 1:
        return GetWindow(target, GW_OWNER);
    case 2:
        return GetWindow(target, GW_HWNDPREV);
    case 3:
        return GetWindow(target, GW_HWNDNEXT);
    default:
        return GetWindow(target, GW_CHILD);
    }
}

void ShowRelative(HWND dialog)
{
    int tab = static_cast<int>(SendDlgItemMessageW(dialog, IDC_DETAILS_RELATIVES_TAB, TCM_GETCURSEL, 0, 0));
    HWND relative = FindRelative(g_hTarget, tab);
    if (!relative) {
        SetDlgItemTextW(dialog, IDC_DETAILS_RELATIVE_TEXT, L"");
        SetDlgItemTextW(dialog, IDC_DETAILS_RELATIVE_CLASS, L"");
        SetDlgItemTextW(dialog, IDC_DETAILS_RELATIVE_HANDLE, L"");
        return;
    }
    ShowWindowText(dialog, IDC_DETAILS_RELATIVE_TEXT, relative);
    wchar_t className[TEXT_CHARS] = L"";
    GetClassNameW(relative, className, TEXT_CHARS);
    SetDlgItemTextW(dialog, IDC_DETAILS_RELATIVE_CLASS, className);
    SetDlgItemHandle(dialog, IDC_DETAILS_RELATIVE_HANDLE, relative);
}

INT_PTR CALLBACK DetailsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitDetailsDialog(dialog);
        break;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR *>(lParam)->code == TCN_SELCHANGE)
            ShowRelative(dialog);
        break;
    case WM_COMMAND:
        OnDetailsCommand(dialog, wParam, lParam);
        break;
    }
    return FALSE;
}
