#include "style_editor.h"
#include <commctrl.h>
#include "../app/shared.h"
#include "../app/startup.h"
#include "../resources/resource.h"
#include "../styles/style_panel.h"
#include "../styles/style_rows.h"

// The two styles it edits; each has a list, a value field and its button,
// three ids apart.
enum { STYLE_KINDS = 2, KIND_ID_STEP = 3 };
static const int KIND_STYLES[STYLE_KINDS] = { GWL_STYLE, GWL_EXSTYLE };

// The bits the system keeps itself: written raw, they would leave the
// window in a state it does not know, so each has its own call.
static const DWORD SYSTEM_KEPT[STYLE_KINDS] = { WS_VISIBLE | WS_DISABLED | WS_MAXIMIZE | WS_MINIMIZE, WS_EX_TOPMOST };

static HWND s_window;                                  // the window whose styles it changes
static DWORD s_opened[STYLE_KINDS];                    // its styles as the editor opened, for the undo
static StyleRow s_rows[STYLE_KINDS][STYLE_ROWS_MAX];   // what each list's rows stand for
static int s_rowCounts[STYLE_KINDS];
static bool s_showing;   // set while the lists are filled: their changes are no user's

// A row checked or cleared, posted: a list is not refilled inside its own notification.
enum { WM_STYLE_ROW_TOGGLED = WM_APP + 1 };

enum { CLASS_NAME_CHARS = 256, STATUS_CHARS = 2 * STYLE_CHANGE_CHARS + 256, PROBE_MS = 100 };

// In dialog units, as the template has them: the margin, the lists' top,
// the buttons' width and the height of a field; the rows beneath the lists
// by their distance from the bottom.
enum {
    MARGIN = 4,
    LISTS_TOP = 14,
    BUTTON_WIDTH = 54,
    FIELD_HEIGHT = 14,
    LINE_HEIGHT = 8,
    STATUS_HEIGHT = 16,
    VALUE_COLUMN_UNITS = 44,
    FIELDS_FROM_BOTTOM = 76,
    STATUS_FROM_BOTTOM = 58,
    NOTE_FROM_BOTTOM = 38,
    BUTTONS_FROM_BOTTOM = 20,
    TEMPLATE_WIDTH = 330,
    TEMPLATE_HEIGHT = 220,
};

static int ListId(int kind) { return IDC_STYLES_STYLE_LIST + KIND_ID_STEP * kind; }

static DWORD ReadStyle(int kind) { return static_cast<DWORD>(GetWindowLongPtrW(s_window, KIND_STYLES[kind])); }

static void ShowRows(HWND list, const StyleRow *rows, int count, DWORD value)
{
    s_showing = true;
    int shown = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; i++) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<wchar_t *>(rows[i].names);
        SendMessageW(list, i < shown ? LVM_SETITEMW : LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        wchar_t text[16];
        wsprintfW(text, L"%lX", rows[i].value);
        ListView_SetItemText(list, i, 1, text);
        ListView_SetCheckState(list, i, IsRowChecked(rows[i], value));
    }
    for (int row = shown - 1; row >= count; row--)
        SendMessageW(list, LVM_DELETEITEM, row, 0);
    s_showing = false;
}

// Both styles as read back from the window, and its class's.
static void ShowStyles(HWND dialog)
{
    wchar_t className[CLASS_NAME_CHARS] = L"";
    bool alive = GetClassNameW(s_window, className, CLASS_NAME_CHARS) > 0;
    for (int kind = 0; kind < STYLE_KINDS; kind++) {
        DWORD value = ReadStyle(kind);
        s_rowCounts[kind] = alive ? BuildStyleRows(className, KIND_STYLES[kind], value, s_rows[kind]) : 0;
        ShowRows(GetDlgItem(dialog, ListId(kind)), s_rows[kind], s_rowCounts[kind], value);
        wchar_t text[16] = L"";
        if (alive)
            wsprintfW(text, L"%lX", value);
        SetDlgItemTextW(dialog, ListId(kind) + 1, text);
    }
    wchar_t classStyle[STYLE_TEXT_CHARS] = L"";
    if (alive)
        FormatStyleText(s_window, GCL_STYLE, classStyle);
    SetDlgItemTextW(dialog, IDC_STYLES_CLASS_STYLE, classStyle);
}

// A window that is gone offers nothing to change.
static void StopEditing(HWND dialog)
{
    for (int id = IDC_STYLES_STYLE_LIST; id <= IDC_STYLES_SET_EXSTYLE; id++)
        EnableWindow(GetDlgItem(dialog, id), FALSE);
    EnableWindow(GetDlgItem(dialog, IDC_STYLES_UNDO), FALSE);
}

static void ChangeSystemKeptBits(int kind, DWORD wanted)
{
    DWORD changed = ReadStyle(kind) ^ wanted;
    if (kind == 1) {
        if (changed & WS_EX_TOPMOST) {
            HWND insertAfter = (wanted & WS_EX_TOPMOST) ? HWND_TOPMOST : HWND_NOTOPMOST;
            SetWindowPos(s_window, insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        return;
    }
    // Restoring or maximizing shows the window, so its visibility comes
    // after. Nothing maximizes a window without activating it.
    if (changed & (WS_MINIMIZE | WS_MAXIMIZE)) {
        int show = (wanted & WS_MINIMIZE)   ? SW_SHOWMINNOACTIVE
                   : (wanted & WS_MAXIMIZE) ? SW_MAXIMIZE
                                            : SW_SHOWNOACTIVATE;
        ShowWindow(s_window, show);
    }
    if ((ReadStyle(kind) ^ wanted) & WS_VISIBLE)
        ShowWindow(s_window, (wanted & WS_VISIBLE) ? SW_SHOWNA : SW_HIDE);
    if (changed & WS_DISABLED)
        EnableWindow(s_window, !(wanted & WS_DISABLED));
}

// The frame is computed anew and all of it drawn again, so that the change
// shows at once.
static void WriteRawBits(int kind, DWORD wanted)
{
    DWORD now = ReadStyle(kind);
    DWORD raw = (wanted & ~SYSTEM_KEPT[kind]) | (now & SYSTEM_KEPT[kind]);
    if (raw == now)
        return;
    SetWindowLongPtrW(s_window, KIND_STYLES[kind], static_cast<LONG_PTR>(raw));
    const UINT frameOnly = SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(s_window, nullptr, 0, 0, 0, 0, frameOnly);
    RedrawWindow(s_window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

static void AppendStatus(wchar_t *status, int textId, const wchar_t *names)
{
    if (!names[0])
        return;
    wchar_t text[128] = L"";
    LoadProgramString(textId, text, ARRAYSIZE(text));
    if (status[0])
        lstrcatW(status, L" ");
    lstrcatW(status, text);
    lstrcatW(status, names);
}

// Writes one style, then names what the window did not keep of it.
static void WriteStyle(int kind, DWORD wanted, wchar_t *status)
{
    DWORD before = ReadStyle(kind);
    ChangeSystemKeptBits(kind, wanted);
    WriteRawBits(kind, wanted);
    wchar_t className[CLASS_NAME_CHARS] = L"";
    GetClassNameW(s_window, className, CLASS_NAME_CHARS);
    wchar_t notTaken[STYLE_CHANGE_CHARS], onItsOwn[STYLE_CHANGE_CHARS];
    DescribeStyleChange(className, KIND_STYLES[kind], before, wanted, ReadStyle(kind), notTaken, onItsOwn);
    AppendStatus(status, IDS_STYLES_NOT_TAKEN, notTaken);
    AppendStatus(status, IDS_STYLES_ON_ITS_OWN, onItsOwn);
}

// Each write waits for the window's answer: nothing is written to one that
// does not answer, either for seconds (as the system judges) or to a
// moment's question.
static bool Answers(HWND window)
{
    DWORD_PTR result;
    return !IsHungAppWindow(window) && SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, PROBE_MS, &result);
}

// Writes the styles that differ from the window's, then shows what it kept.
static void WriteStyles(HWND dialog, const DWORD *wanted, int doneId)
{
    wchar_t status[STATUS_CHARS] = L"";
    if (!IsWindow(s_window)) {
        LoadProgramString(IDS_STYLES_GONE, status, STATUS_CHARS);
        StopEditing(dialog);
    } else if (!Answers(s_window)) {
        LoadProgramString(IDS_STYLES_HUNG, status, STATUS_CHARS);
    } else {
        if (doneId)
            LoadProgramString(doneId, status, STATUS_CHARS);
        for (int kind = 0; kind < STYLE_KINDS; kind++) {
            if (wanted[kind] != ReadStyle(kind))
                WriteStyle(kind, wanted[kind], status);
        }
    }
    SetDlgItemTextW(dialog, IDC_STYLES_STATUS, status);
    ShowStyles(dialog);
}

static void ToggleRow(HWND dialog, int kind, bool checked, int row)
{
    if (row < 0 || row >= s_rowCounts[kind])
        return;
    DWORD wanted[STYLE_KINDS] = { ReadStyle(0), ReadStyle(1) };
    wanted[kind] = ToggleStyleRow(s_rows[kind][row], wanted[kind], checked);
    WriteStyles(dialog, wanted, 0);
}

// The value typed is written whole.
static void WriteTypedStyle(HWND dialog, int kind)
{
    wchar_t text[16] = L"";
    GetDlgItemTextW(dialog, ListId(kind) + 1, text, ARRAYSIZE(text));
    ULONG_PTR value;
    if (!ReadHexadecimal(text, &value) || value > MAXDWORD) {
        wchar_t status[STATUS_CHARS] = L"";
        LoadProgramString(IDS_STYLES_NOT_A_VALUE, status, STATUS_CHARS);
        SetDlgItemTextW(dialog, IDC_STYLES_STATUS, status);
        return;
    }
    DWORD wanted[STYLE_KINDS] = { ReadStyle(0), ReadStyle(1) };
    wanted[kind] = static_cast<DWORD>(value);
    WriteStyles(dialog, wanted, 0);
}

// The user's own check or clear, not the lists being filled.
static void OnStyleListNotify(HWND dialog, const NMHDR *header)
{
    const NMLISTVIEW *change = reinterpret_cast<const NMLISTVIEW *>(header);
    if (header->code != LVN_ITEMCHANGED || s_showing || !(change->uChanged & LVIF_STATE))
        return;
    if (!((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK))
        return;
    bool checked = (change->uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
    int kind = header->idFrom == static_cast<UINT_PTR>(ListId(1));
    PostMessageW(dialog, WM_STYLE_ROW_TOGGLED, MAKEWPARAM(kind, checked), change->iItem);
}

static HDWP Place(HDWP batch, HWND dialog, int id, int x, int y, int width, int height)
{
    HWND control = GetDlgItem(dialog, id);
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
    return control ? DeferWindowPos(batch, control, nullptr, x, y, width, height, flags) : batch;
}

static int Across(HWND dialog, int units) { return DialogUnitsToPixels(dialog, units, 0).x; }

static int Down(HWND dialog, int units) { return DialogUnitsToPixels(dialog, 0, units).y; }

// The value column fits eight digits; the names take the rest, but for the
// scroll bar that the rows may bring.
static void FitColumns(HWND dialog, HWND list)
{
    RECT client;
    GetClientRect(list, &client);
    int valueWidth = Across(dialog, VALUE_COLUMN_UNITS);
    int scrollBar = (GetWindowLongPtrW(list, GWL_STYLE) & WS_VSCROLL) ? 0 : GetSystemMetrics(SM_CXVSCROLL);
    int nameWidth = client.right - valueWidth - scrollBar;
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, nameWidth > 0 ? nameWidth : 0);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, valueWidth);
}

// The lists share the width and take the height; what lies beneath them
// keeps its distance from the bottom.
static void LayOutStyleEditor(HWND dialog, int width, int height)
{
    int gap = Across(dialog, MARGIN);
    int half = (width - 3 * gap) / 2;
    int buttonWidth = Across(dialog, BUTTON_WIDTH);
    int fieldHeight = Down(dialog, FIELD_HEIGHT);
    int lineHeight = Down(dialog, LINE_HEIGHT);
    int listsTop = Down(dialog, LISTS_TOP);
    int fieldsTop = height - Down(dialog, FIELDS_FROM_BOTTOM);
    int buttonsTop = height - Down(dialog, BUTTONS_FROM_BOTTOM);
    int listHeight = fieldsTop - Down(dialog, MARGIN) - listsTop;
    HDWP batch = BeginDeferWindowPos(13);
    for (int kind = 0; kind < STYLE_KINDS; kind++) {
        int left = gap + kind * (half + gap);
        batch = Place(batch, dialog, ListId(kind), left, listsTop, half, listHeight > 0 ? listHeight : 0);
        batch = Place(batch, dialog, ListId(kind) + 1, left, fieldsTop, half - buttonWidth - gap, fieldHeight);
        batch = Place(batch, dialog, ListId(kind) + 2, left + half - buttonWidth, fieldsTop, buttonWidth, fieldHeight);
    }
    batch = Place(batch, dialog, IDC_STYLES_EXSTYLE_LABEL, 2 * gap + half, Down(dialog, MARGIN), half, lineHeight);
    int statusTop = height - Down(dialog, STATUS_FROM_BOTTOM);
    batch = Place(batch, dialog, IDC_STYLES_STATUS, gap, statusTop, width - 2 * gap, Down(dialog, STATUS_HEIGHT));
    int noteTop = height - Down(dialog, NOTE_FROM_BOTTOM);
    batch = Place(batch, dialog, IDC_STYLES_CLASS_NOTE, gap, noteTop, width - 2 * gap, lineHeight);
    int classWidth = width - 4 * gap - 2 * buttonWidth;
    int classTop = buttonsTop + (fieldHeight - lineHeight) / 2;
    batch = Place(batch, dialog, IDC_STYLES_CLASS_STYLE, gap, classTop, classWidth, lineHeight);
    batch =
        Place(batch, dialog, IDC_STYLES_UNDO, width - 2 * (gap + buttonWidth), buttonsTop, buttonWidth, fieldHeight);
    batch = Place(batch, dialog, IDCANCEL, width - gap - buttonWidth, buttonsTop, buttonWidth, fieldHeight);
    EndDeferWindowPos(batch);
    for (int kind = 0; kind < STYLE_KINDS; kind++)
        FitColumns(dialog, GetDlgItem(dialog, ListId(kind)));
}

// Never smaller than the template, where every control has its room.
static void KeepTemplateSize(HWND dialog, MINMAXINFO *limits)
{
    RECT rect = { 0, 0, TEMPLATE_WIDTH, TEMPLATE_HEIGHT };
    MapDialogRect(dialog, &rect);
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    limits->ptMinTrackSize = { rect.right - rect.left, rect.bottom - rect.top };
}

// Reading the styles asks nothing of the window: it opens at once for one
// that does not answer.
static void InitStyleEditor(HWND dialog, HWND window)
{
    s_window = window;
    wchar_t caption[TITLE_CHARS] = L"";
    wchar_t title[TITLE_CHARS];
    GetWindowTextW(dialog, caption, TITLE_CHARS);
    FormatWindowTitle(title, caption, window);
    SetWindowTextW(dialog, title);
    for (int kind = 0; kind < STYLE_KINDS; kind++) {
        s_opened[kind] = ReadStyle(kind);
        HWND list = GetDlgItem(dialog, ListId(kind));
        SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                     LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
        LVCOLUMNW column = {};
        column.mask = LVCF_WIDTH;
        SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
        SendMessageW(list, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
        SendDlgItemMessageW(dialog, ListId(kind) + 1, EM_LIMITTEXT, ARRAYSIZE(L"0x12345678") - 1, 0);
    }
    ShowStyles(dialog);
    for (int kind = 0; kind < STYLE_KINDS; kind++)
        ListView_SetItemState(GetDlgItem(dialog, ListId(kind)), 0, LVIS_FOCUSED, LVIS_FOCUSED);
    if (!IsWindow(window)) {
        wchar_t status[STATUS_CHARS] = L"";
        LoadProgramString(IDS_STYLES_GONE, status, STATUS_CHARS);
        SetDlgItemTextW(dialog, IDC_STYLES_STATUS, status);
        StopEditing(dialog);
    }
    RECT client;
    GetClientRect(dialog, &client);
    LayOutStyleEditor(dialog, client.right, client.bottom);
    SetFocus(GetDlgItem(dialog, IsWindow(window) ? ListId(0) : IDCANCEL));
}

// Enter writes the value of the field that has the keyboard.
static void OnStyleEditorCommand(HWND dialog, WPARAM wParam)
{
    HWND focus = GetFocus();
    switch (wParam) {
    case IDCANCEL:
        EndDialog(dialog, 0);
        break;
    case IDOK:
        for (int kind = 0; kind < STYLE_KINDS; kind++) {
            if (focus == GetDlgItem(dialog, ListId(kind) + 1))
                WriteTypedStyle(dialog, kind);
        }
        break;
    case IDC_STYLES_SET_STYLE:
    case IDC_STYLES_SET_EXSTYLE:
        WriteTypedStyle(dialog, (LOWORD(wParam) - IDC_STYLES_SET_STYLE) / KIND_ID_STEP);
        break;
    case IDC_STYLES_UNDO:
        WriteStyles(dialog, s_opened, IDS_STYLES_RESTORED);
        break;
    }
}

INT_PTR CALLBACK StyleEditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitStyleEditor(dialog, reinterpret_cast<HWND>(lParam));
        break;
    case WM_SIZE:
        LayOutStyleEditor(dialog, LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_GETMINMAXINFO:
        KeepTemplateSize(dialog, reinterpret_cast<MINMAXINFO *>(lParam));
        break;
    case WM_NOTIFY:
        OnStyleListNotify(dialog, reinterpret_cast<const NMHDR *>(lParam));
        break;
    case WM_STYLE_ROW_TOGGLED:
        ToggleRow(dialog, LOWORD(wParam), HIWORD(wParam) != 0, static_cast<int>(lParam));
        break;
    case WM_COMMAND:
        OnStyleEditorCommand(dialog, wParam);
        break;
    }
    return FALSE;
}

void EditStyles(HWND mainDialog, HWND window)
{
    DialogBoxParamW(DialogModule(IDD_STYLES), MAKEINTRESOURCEW(IDD_STYLES), mainDialog, StyleEditorProc,
                    reinterpret_cast<LPARAM>(window));
}
