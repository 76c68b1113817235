#include "log_window.h"
#include <commctrl.h>
#include <windowsx.h>
#include "log_lines.h"
#include "message_names.h"
#include "message_text.h"
#include "watching.h"
#include "../app/cell_tip.h"
#include "../app/shared.h"
#include "../app/startup.h"
#include "../details/info_window.h"
#include "../resources/resource.h"
#include "../tree/window_tree.h"

enum { READ_TIMER = 1, READ_EVERY_MS = 20, READ_BUDGET_MS = 10, HIDDEN_MAX = 32, CLASS_CACHE = 16 };
enum { LOG_COLUMNS = 7, STATUS_CHARS = 512, COUNT_CHARS = 24 };

// In dialog units: the list's top, beneath the line above it; the
// columns' widths in their order.
enum { LIST_TOP_UNITS = 31, STATUS_LEFT_UNITS = 4 };
static const int COLUMN_UNITS[LOG_COLUMNS] = { 34, 44, 40, 22, 100, 230, 64 };

static HWND s_log;                       // the log while it is open
static HWND s_watched;                   // the window it watches
static RECT s_placed;                    // where the user last moved or sized it; empty until then
static wchar_t s_caption[TITLE_CHARS];   // the template's caption, before the window's
static LONG64 s_start;                   // QueryPerformanceCounter's count as the log began
static int s_stopped;                    // why it stopped, or could not watch (a string id); else 0
static LONG s_lost;                      // records the library found no room for, as last read
static bool s_paused;
static bool s_gone;             // the window was found gone: its last records are read, then the log stops
static LONG64 s_droppedShown;   // the lines dropped when the list last took its count
static DWORD s_shownAt;         // when the list last began to take its count, and how long it took
static DWORD s_showCost;
static wchar_t s_hidden[HIDDEN_MAX][MESSAGE_TEXT_CHARS];   // the names of the messages not shown
static int s_hiddenCount;

// The control classes of the windows seen last: records come mostly from a
// few, and a class name is a question to the system.
static struct {
    HWND window;
    BYTE controlClass;
} s_classes[CLASS_CACHE];
static int s_nextClass;

static BYTE ControlClassOfWindow(HWND window)
{
    if (!window)
        return 0;
    for (const auto &known : s_classes) {
        if (known.window == window)
            return known.controlClass;
    }
    wchar_t className[256] = L"";
    GetClassNameW(window, className, ARRAYSIZE(className));
    BYTE controlClass = ControlClassOf(className);
    s_classes[s_nextClass] = { window, controlClass };
    s_nextClass = (s_nextClass + 1) % CLASS_CACHE;
    return controlClass;
}

// The control a command or a notification comes from, which names its code.
static HWND SenderOf(const LogRecord &record)
{
    if (record.message == WM_COMMAND)
        return reinterpret_cast<HWND>(record.lParam);
    if (record.message == WM_NOTIFY && record.dataKind == DATA_NOTIFY && record.dataBytes == sizeof(NMHDR))
        return reinterpret_cast<const NMHDR *>(record.data)->hwndFrom;
    return nullptr;
}

static bool IsHidden(const LogLine &line)
{
    if (!s_hiddenCount)
        return false;
    wchar_t name[MESSAGE_TEXT_CHARS];
    FormatMessageName(line, name);
    for (int i = 0; i < s_hiddenCount; i++) {
        if (lstrcmpW(name, s_hidden[i]) == 0)
            return true;
    }
    return false;
}

static void FormatCount(wchar_t *text, LONG64 count)
{
    wchar_t digits[COUNT_CHARS];
    int length = 0;
    do {
        digits[length++] = static_cast<wchar_t>(L'0' + count % 10);
        count /= 10;
    } while (count > 0);
    for (int i = 0; i < length; i++)
        text[i] = digits[length - 1 - i];
    text[length] = L'\0';
}

static void AppendCount(wchar_t *status, int textId, LONG64 count)
{
    if (count <= 0)
        return;
    wchar_t text[STATUS_CHARS / 4] = L"";
    wchar_t number[COUNT_CHARS];
    LoadProgramString(textId, text, ARRAYSIZE(text));
    FormatCount(number, count);
    if (status[0])
        lstrcatW(status, L"  ");
    lstrcatW(status, text);
    lstrcatW(status, number);
}

// Why it does not watch, and what was dropped or lost: written only when it
// changed, so that the line does not flicker.
static void ShowLogStatus(HWND dialog)
{
    wchar_t status[STATUS_CHARS] = L"";
    if (s_stopped)
        LoadProgramString(s_stopped, status, STATUS_CHARS / 2);
    AppendCount(status, IDS_LOG_DROPPED, DroppedLogLines());
    AppendCount(status, IDS_LOG_LOST, s_lost);
    wchar_t shown[STATUS_CHARS] = L"";
    GetDlgItemTextW(dialog, IDC_LOG_STATUS, shown, STATUS_CHARS);
    if (lstrcmpW(shown, status) != 0)
        SetDlgItemTextW(dialog, IDC_LOG_STATUS, status);
}

// Without drawing meanwhile: Wine's list view sets each line on its own, and redraws it (measured: 8,000 lines in
// 300 ms, and in 20 ms this way).
static void SelectEveryLine(HWND list, bool selected)
{
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

// The list follows the lines: at the newest unless the user scrolled up.
// Lines dropped at the top move every row, and the rows selected with them.
static void ShowLines(HWND dialog, bool dropped)
{
    DWORD start = GetTickCount();
    s_droppedShown = DroppedLogLines();
    HWND list = GetDlgItem(dialog, IDC_LOG_LIST);
    int before = ListView_GetItemCount(list);
    int count = ShownLineCount();
    if (count != before || dropped) {
        bool atEnd = ListView_GetTopIndex(list) + ListView_GetCountPerPage(list) >= before;
        ListView_SetItemCountEx(list, count, LVSICF_NOSCROLL | (dropped ? 0 : LVSICF_NOINVALIDATEALL));
        if (dropped)
            SelectEveryLine(list, false);
        if (atEnd && count > 0)
            ListView_EnsureVisible(list, count - 1, FALSE);
    }
    ShowLogStatus(dialog);
    s_shownAt = start;
    s_showCost = GetTickCount() - start;
}

// The lines shown anew, after the messages hidden changed.
static void ShowChosenLines(HWND dialog)
{
    ClearShownLines();
    for (LONG64 number = FirstLogLine(); number < NextLogLine(); number++) {
        if (!IsHidden(*LogLineAt(number)))
            ShowLogLine(number);
    }
    ShowLines(dialog, true);
}

static void StopLog(HWND dialog, int why)
{
    StopWatching();
    KillTimer(dialog, READ_TIMER);
    s_stopped = why;
}

// Wine's list view takes tens of milliseconds to take a new count, more
// while another program floods its server: the lines are shown at most
// half the time, so that the keys are answered meanwhile.
static void ShowNewLines(HWND dialog)
{
    if (!IsWatching() || GetTickCount() - s_shownAt >= 2 * s_showCost)
        ShowLines(dialog, DroppedLogLines() != s_droppedShown);
}

// A share of the time at most, so that a flood leaves room for the keys.
// The window found gone, its last records are read at the next turn, and
// the log stops.
static void ReadNewRecords(HWND dialog)
{
    DWORD start = GetTickCount();
    LogRecord record;
    while (GetTickCount() - start < READ_BUDGET_MS && ReadRecord(&record)) {
        if (s_paused)
            continue;
        BYTE windowClass = ControlClassOfWindow(reinterpret_cast<HWND>(record.window));
        LONG64 number = AddLogLine(record, windowClass, ControlClassOfWindow(SenderOf(record)));
        if (!IsHidden(*LogLineAt(number)))
            ShowLogLine(number);
    }
    s_lost = LostRecords();
    if (s_gone)
        StopLog(dialog, IDS_LOG_GONE);
    s_gone = IsWatching() && !IsWindow(s_watched);
    ShowNewLines(dialog);
}

static void ShowPauseText(HWND dialog)
{
    wchar_t text[64] = L"";
    LoadProgramString(s_paused ? IDS_LOG_RESUME : IDS_LOG_PAUSE, text, ARRAYSIZE(text));
    SetDlgItemTextW(dialog, IDC_LOG_PAUSE, text);
}

// Begins the log anew: no lines, numbered and timed from here.
static void BeginWatching(HWND dialog)
{
    StopLog(dialog, 0);
    BeginLogLines();
    for (auto &known : s_classes)
        known.window = nullptr;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    s_start = now.QuadPart;
    s_paused = s_gone = false;
    s_lost = 0;
    ShowPauseText(dialog);
    int scope = static_cast<int>(SendDlgItemMessageW(dialog, IDC_LOG_SCOPE, CB_GETCURSEL, 0, 0));
    s_stopped = IsWindow(s_watched) ? StartWatching(s_watched, static_cast<WatchScope>(scope), dialog) : IDS_LOG_GONE;
    if (!s_stopped)
        SetTimer(dialog, READ_TIMER, READ_EVERY_MS, nullptr);
    wchar_t title[TITLE_CHARS];
    FormatWindowTitle(title, s_caption, s_watched);
    SetWindowTextW(dialog, title);
    ShowLines(dialog, true);
}

static void FormatColumn(const LogLine &line, LONG64 number, int column, wchar_t *text)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    LONG64 micro = (line.time - s_start) * 1000000 / frequency.QuadPart;
    switch (column) {
    case 0:
        FormatCount(text, number);
        break;
    case 1:
        wsprintfW(text, L"%ld.%03ld", static_cast<long>(micro / 1000), static_cast<long>(micro % 1000));
        break;
    case 2:
        FormatHandle(text, reinterpret_cast<HWND>(line.window));
        break;
    case 3:
        lstrcpyW(text, line.kind == LOG_SENT       ? L"S"
                       : line.kind == LOG_RETURNED ? L"R"
                       : line.kind == LOG_POSTED   ? L"P"
                                                   : L"?");
        break;
    case 4:
        FormatMessageName(line, text);
        break;
    case 5:
        FormatParameters(line, LogLineData(line), text);
        break;
    default:
        FormatResult(line, text);
        break;
    }
}

static const LogLine *ShownLine(int item, LONG64 *number)
{
    if (item < 0 || item >= ShownLineCount())
        return nullptr;
    *number = ShownLineAt(item);
    return LogLineAt(*number);
}

// The list asks for the text of each cell it draws: the buffer stays until it asks again.
static void GiveCellText(NMLVDISPINFOW *cell)
{
    static wchar_t text[MESSAGE_TEXT_CHARS];
    LONG64 number;
    const LogLine *line = ShownLine(cell->item.iItem, &number);
    text[0] = L'\0';
    if (line && (cell->item.mask & LVIF_TEXT))
        FormatColumn(*line, number, cell->item.iSubItem, text);
    cell->item.pszText = text;
}

// The selected lines, one a line ending in CR LF, their columns apart by tabs.
static void CopySelectedLines(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_LOG_LIST);
    TextBuffer copy = {};
    for (int item = -1; (item = ListView_GetNextItem(list, item, LVNI_SELECTED)) >= 0;) {
        LONG64 number;
        const LogLine *line = ShownLine(item, &number);
        for (int column = 0; line && column < LOG_COLUMNS; column++) {
            wchar_t text[MESSAGE_TEXT_CHARS];
            FormatColumn(*line, number, column, text);
            AppendText(&copy, text);
            AppendText(&copy, column + 1 < LOG_COLUMNS ? L"\t" : L"\r\n");
        }
    }
    PutOnClipboard(dialog, &copy);
}

static void HideMessage(HWND dialog, const wchar_t *name)
{
    if (s_hiddenCount == HIDDEN_MAX)
        return;
    lstrcpynW(s_hidden[s_hiddenCount++], name, MESSAGE_TEXT_CHARS);
    ShowChosenLines(dialog);
}

static void AppendMenuText(HMENU menu, UINT flags, UINT id, int textId, const wchar_t *after)
{
    wchar_t text[MESSAGE_TEXT_CHARS + 64] = L"";
    LoadProgramString(textId, text, 64);
    lstrcatW(text, after);
    AppendMenuW(menu, flags, id, text);
}

// A line's menu: from the keyboard (-1, -1) under the focused line, else at
// the line clicked.
static void ShowLogMenu(HWND dialog, HWND window, LPARAM where)
{
    HWND list = GetDlgItem(dialog, IDC_LOG_LIST);
    if (window != list)
        return;
    POINT point = { GET_X_LPARAM(where), GET_Y_LPARAM(where) };
    int item = -1;
    if (point.x == -1 && point.y == -1) {
        item = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
        RECT rect = {};
        ListView_GetItemRect(list, item, &rect, LVIR_LABEL);
        point = { rect.left, rect.bottom };
        ClientToScreen(list, &point);
    } else {
        LVHITTESTINFO hit = {};
        hit.pt = point;
        ScreenToClient(list, &hit.pt);
        item = ListView_HitTest(list, &hit);
    }
    LONG64 number;
    const LogLine *line = ShownLine(item, &number);
    wchar_t name[MESSAGE_TEXT_CHARS] = L"";
    if (line)
        FormatMessageName(*line, name);
    HMENU menu = CreatePopupMenu();
    AppendMenuText(menu, line ? MF_STRING : MF_STRING | MF_GRAYED, IDM_LOG_HIDE, IDS_LOG_HIDE, name);
    AppendMenuText(menu, s_hiddenCount ? MF_STRING : MF_STRING | MF_GRAYED, IDM_LOG_SHOW_ALL, IDS_LOG_SHOW_ALL, L"");
    UINT command = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, dialog, nullptr);
    DestroyMenu(menu);
    if (command == IDM_LOG_HIDE) {
        HideMessage(dialog, name);
    } else if (command == IDM_LOG_SHOW_ALL) {
        s_hiddenCount = 0;
        ShowChosenLines(dialog);
    }
}

// Ctrl+A, Ctrl+C, and Shift+F10, which Wine passes to the list as a plain
// key where Windows makes a WM_CONTEXTMENU of it. A step to another line
// finds the others cleared: Wine's list clears and redraws them one by one
// (measured: a second for 8,000).
static void OnLogKey(HWND dialog, WORD key)
{
    HWND list = GetDlgItem(dialog, IDC_LOG_LIST);
    bool control = GetKeyState(VK_CONTROL) < 0;
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool step = key == VK_UP || key == VK_DOWN || (key >= VK_PRIOR && key <= VK_HOME);
    if (control && key == 'A')
        SelectEveryLine(list, true);
    else if (control && key == 'C')
        CopySelectedLines(dialog);
    else if (key == VK_F10 && shift)
        ShowLogMenu(dialog, list, MAKELPARAM(-1, -1));
    else if (step && !control && !shift && ListView_GetSelectedCount(list) > 1)
        SelectEveryLine(list, false);
}

static void OnLogNotify(HWND dialog, NMHDR *header)
{
    if (header->code == LVN_GETDISPINFOW)
        GiveCellText(reinterpret_cast<NMLVDISPINFOW *>(header));
    else if (header->code == LVN_KEYDOWN)
        OnLogKey(dialog, reinterpret_cast<NMLVKEYDOWN *>(header)->wVKey);
}

static void TogglePause(HWND dialog)
{
    s_paused = !s_paused;
    PauseWatching(s_paused);
    ShowPauseText(dialog);
}

static void ClearLog(HWND dialog)
{
    ClearLogLines();
    ShowLines(dialog, true);
}

// Esc or the close box: the watching ends, and the tree has the keyboard back.
static void CloseLog(HWND dialog)
{
    DestroyWindow(dialog);
    SetFocus(g_hTree);
}

static void OnLogCommand(HWND dialog, WPARAM wParam)
{
    switch (wParam) {
    case IDCANCEL:
        CloseLog(dialog);
        break;
    case IDC_LOG_PAUSE:
        TogglePause(dialog);
        break;
    case IDC_LOG_CLEAR:
        ClearLog(dialog);
        break;
    case MAKEWPARAM(IDC_LOG_SCOPE, CBN_SELCHANGE):
        BeginWatching(dialog);
        break;
    }
}

// The list under the line above it fills the rest.
static void LayOutLogWindow(HWND dialog, int width, int height)
{
    int top = DialogUnitsToPixels(dialog, 0, LIST_TOP_UNITS).y;
    int left = DialogUnitsToPixels(dialog, STATUS_LEFT_UNITS, 0).x;
    HWND status = GetDlgItem(dialog, IDC_LOG_STATUS);
    RECT line;
    GetWindowRect(status, &line);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&line), 2);
    SetWindowPos(status, nullptr, 0, 0, width - 2 * left, line.bottom - line.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND list = GetDlgItem(dialog, IDC_LOG_LIST);
    SetWindowPos(list, nullptr, 0, top, width, height > top ? height - top : 0, SWP_NOZORDER | SWP_NOACTIVATE);
}

static void InitLogWindow(HWND dialog)
{
    GetWindowTextW(dialog, s_caption, TITLE_CHARS);
    HWND list = GetDlgItem(dialog, IDC_LOG_LIST);
    for (int column = 0; column < LOG_COLUMNS; column++) {
        wchar_t text[64] = L"";
        LoadProgramString(IDS_LOG_COLUMN_NUMBER + column, text, ARRAYSIZE(text));
        LVCOLUMNW heading = {};
        heading.mask = LVCF_TEXT | LVCF_WIDTH;
        heading.pszText = text;
        heading.cx = DialogUnitsToPixels(dialog, COLUMN_UNITS[column], 0).x;
        SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&heading));
    }
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    AddCellTips(list);
    for (int scope = 0; scope < WATCH_SCOPES; scope++) {
        wchar_t text[64] = L"";
        LoadProgramString(IDS_LOG_SCOPE_WINDOW + scope, text, ARRAYSIZE(text));
        SendDlgItemMessageW(dialog, IDC_LOG_SCOPE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SendDlgItemMessageW(dialog, IDC_LOG_SCOPE, CB_SETCURSEL, WATCH_WINDOW, 0);
    LoadMessageNames();
}

// Where it covers neither the main window nor the information window:
// below the main window, above it, right or left of it, or beside the
// information window, the first place the work area holds; else at the
// work area's bottom right. Where the user put it, once moved or sized.
static void PlaceLogWindow(HWND log, HWND mainDialog)
{
    RECT rect = s_placed;
    if (IsRectEmpty(&rect)) {
        RECT own, main, info = {};
        GetWindowRect(log, &own);
        GetWindowRect(mainDialog, &main);
        if (InfoWindow())
            GetWindowRect(InfoWindow(), &info);
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(mainDialog, MONITOR_DEFAULTTONEAREST), &monitor);
        const RECT &work = monitor.rcWork;
        int width = own.right - own.left;
        int height = own.bottom - own.top;
        const POINT corners[] = {
            { main.left, main.bottom },      { main.left, main.top - height }, { main.right, main.top },
            { main.left - width, main.top }, { info.right, info.top },         { info.left - width, info.top },
        };
        rect = { work.right - width, work.bottom - height, work.right, work.bottom };
        for (POINT corner : corners) {
            RECT place = { corner.x, corner.y, corner.x + width, corner.y + height };
            RECT inside, overlap;
            bool fits = IntersectRect(&inside, &place, &work) && EqualRect(&inside, &place);
            if (fits && !IntersectRect(&overlap, &place, &main) && !IntersectRect(&overlap, &place, &info)) {
                rect = place;
                break;
            }
        }
    }
    SetWindowPos(log, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// Closed, or gone with the main window: nothing of the watching stays.
static void EndLog()
{
    StopWatching();
    EndLogLines();
    s_log = s_watched = nullptr;
}

static INT_PTR CALLBACK LogWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitLogWindow(dialog);
        break;
    case WM_SIZE:
        LayOutLogWindow(dialog, LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_EXITSIZEMOVE:
        GetWindowRect(dialog, &s_placed);
        break;
    case WM_TIMER:
        ReadNewRecords(dialog);
        break;
    case WM_COMMAND:
        OnLogCommand(dialog, wParam);
        break;
    case WM_NOTIFY:
        OnLogNotify(dialog, reinterpret_cast<NMHDR *>(lParam));
        break;
    case WM_CONTEXTMENU:
        ShowLogMenu(dialog, reinterpret_cast<HWND>(wParam), lParam);
        break;
    case WM_DESTROY:
        EndLog();
        break;
    }
    return FALSE;
}

void WatchMessages(HWND mainDialog, HWND window)
{
    if (!s_log) {
        s_log = CreateDialogParamW(DialogModule(IDD_LOG), MAKEINTRESOURCEW(IDD_LOG), mainDialog, LogWindowProc, 0);
        if (!s_log)
            return;
        PlaceLogWindow(s_log, mainDialog);
    }
    s_watched = window;
    BeginWatching(s_log);
    ShowWindow(s_log, SW_SHOWNOACTIVATE);
}

bool IsLogWindowMessage(MSG *message) { return s_log && IsDialogMessageW(s_log, message); }

void EnableLogWindow(bool enable)
{
    if (s_log)
        EnableWindow(s_log, enable);
}
