#include "info_window.h"
#include <commctrl.h>
#include "style_editor.h"
#include "window_info.h"
#include "../app/cell_tip.h"
#include "../app/shared.h"
#include "../app/startup.h"
#include "../resources/resource.h"
#include "../tree/window_tree.h"

static HWND s_info;     // the window while it is open
static HWND s_shown;    // the window whose rows it shows
static RECT s_placed;   // where the user last moved or sized it; empty until then

// In dialog units: the list's top, beneath the finder; the name column.
enum { LIST_TOP_UNITS = 28, NAME_COLUMN_UNITS = 90 };

enum { ROW_TEXT_CHARS = 1100 };

// A row's data: the string id of its name, or this for a heading.
static const LPARAM HEADING_ROW = -1;

static HWND InfoList() { return GetDlgItem(s_info, IDC_INFO_LIST); }

// Where the rows go: each over the list's row of its place. Rows are
// added or taken away with the list told not to draw meanwhile, which costs
// one whole redraw after them; without it the list lays itself out anew
// for each row.
struct RowPlace {
    HWND list;
    int row;
    bool quiet;
};

static void QuietenList(RowPlace *place)
{
    if (!place->quiet)
        SendMessageW(place->list, WM_SETREDRAW, FALSE, 0);
    place->quiet = true;
}

static void PutInfoRow(void *target, int nameId, const wchar_t *name, const wchar_t *value)
{
    RowPlace *place = static_cast<RowPlace *>(target);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = place->row++;
    item.pszText = const_cast<wchar_t *>(name);
    item.lParam = value ? nameId : HEADING_ROW;
    if (item.iItem < static_cast<int>(SendMessageW(place->list, LVM_GETITEMCOUNT, 0, 0))) {
        SendMessageW(place->list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    } else {
        QuietenList(place);
        SendMessageW(place->list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    item.iSubItem = 1;
    item.pszText = const_cast<wchar_t *>(value ? value : L"");
    SendMessageW(place->list, LVM_SETITEMTEXTW, item.iItem, reinterpret_cast<LPARAM>(&item));
}

// The rows are written over those shown, which the list redraws by itself.
void ShowWindowInfo(HWND window)
{
    if (!s_info || window == s_shown)
        return;
    s_shown = window;
    RowPlace place = { InfoList(), 0, false };
    ReadWindowInfo(window, PutInfoRow, &place);
    for (int row = static_cast<int>(SendMessageW(place.list, LVM_GETITEMCOUNT, 0, 0)); row > place.row; row--) {
        QuietenList(&place);
        SendMessageW(place.list, LVM_DELETEITEM, row - 1, 0);
    }
    if (place.quiet) {
        SendMessageW(place.list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(place.list, nullptr, TRUE);
    }
    // Drawn now, not once the queue is empty: while pointing, the next move
    // may come first.
    UpdateWindow(place.list);
}

// The list under the finder fills the rest; its value column the list's
// width past the names, and past the scroll bar that the rows bring.
static void LayOutInfoWindow(HWND dialog, int width, int height)
{
    HWND list = GetDlgItem(dialog, IDC_INFO_LIST);
    int top = DialogUnitsToPixels(dialog, 0, LIST_TOP_UNITS).y;
    SetWindowPos(list, nullptr, 0, top, width, height > top ? height - top : 0, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(list, &client);
    int scrollBar = (GetWindowLongPtrW(list, GWL_STYLE) & WS_VSCROLL) ? 0 : GetSystemMetrics(SM_CXVSCROLL);
    int rest = client.right - scrollBar - DialogUnitsToPixels(dialog, NAME_COLUMN_UNITS, 0).x;
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, rest > 0 ? rest : 0);
}

static void InitInfoWindow(HWND dialog)
{
    SendDlgItemMessageW(dialog, IDC_INFO_FINDER, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadIconW(g_hInstance, MAKEINTRESOURCEW(IDI_FINDER))), 0);
    HWND list = GetDlgItem(dialog, IDC_INFO_LIST);
    LVCOLUMNW column = {};
    column.mask = LVCF_WIDTH;
    column.cx = DialogUnitsToPixels(dialog, NAME_COLUMN_UNITS, 0).x;
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    SendMessageW(list, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    AddCellTips(list);
}

// Right of the main window where its monitor's work area has room, else
// left of it, else at the work area's right edge; as tall as the main
// window. Where the user put it, once moved or sized.
static void PlaceInfoWindow(HWND info, HWND mainDialog)
{
    RECT rect = s_placed;
    if (IsRectEmpty(&rect)) {
        RECT own, main;
        GetWindowRect(info, &own);
        GetWindowRect(mainDialog, &main);
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(mainDialog, MONITOR_DEFAULTTONEAREST), &monitor);
        const RECT &work = monitor.rcWork;
        int width = own.right - own.left;
        int left = main.right + width <= work.right ? main.right
                   : main.left - width >= work.left ? main.left - width
                                                    : work.right - width;
        rect = { left, main.top, left + width, main.bottom };
    }
    SetWindowPos(info, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// Selected rows, one a line ending in CR LF: a heading alone, a row its
// name, a tab and its value.
static void CopySelectedRows(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_INFO_LIST);
    TextBuffer copy = {};
    for (int row = -1; (row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0;) {
        wchar_t text[ROW_TEXT_CHARS] = L"";
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = row;
        item.pszText = text;
        item.cchTextMax = ROW_TEXT_CHARS;
        SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        AppendText(&copy, text);
        if (item.lParam != HEADING_ROW) {
            item.iSubItem = 1;
            SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
            AppendText(&copy, L"\t");
            AppendText(&copy, text);
        }
        AppendText(&copy, L"\r\n");
    }
    PutOnClipboard(dialog, &copy);
}

static void OnInfoKey(HWND dialog, WORD key)
{
    if (GetKeyState(VK_CONTROL) >= 0)
        return;
    if (key == 'A') {
        LVITEMW item = {};
        item.stateMask = item.state = LVIS_SELECTED;
        SendDlgItemMessageW(dialog, IDC_INFO_LIST, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(&item));
    } else if (key == 'C') {
        CopySelectedRows(dialog);
    }
}

// Headings in the highlight colour on the face of buttons, so that the
// rows under them read as a group.
static LRESULT DrawInfoRow(NMLVCUSTOMDRAW *draw)
{
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && draw->nmcd.lItemlParam == HEADING_ROW) {
        draw->clrText = GetSysColor(COLOR_HIGHLIGHT);
        draw->clrTextBk = GetSysColor(COLOR_BTNFACE);
    }
    return CDRF_DODEFAULT;
}

// Enter or a double click on a style's row: the style editor, for the window shown.
static void EditShownStyles(HWND dialog, int row)
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!s_shown || !SendDlgItemMessageW(dialog, IDC_INFO_LIST, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return;
    if (item.lParam == IDS_ROW_STYLE || item.lParam == IDS_ROW_EXSTYLE)
        EditStyles(GetWindow(dialog, GW_OWNER), s_shown);
}

static INT_PTR OnInfoNotify(HWND dialog, NMHDR *header)
{
    if (header->code == LVN_KEYDOWN)
        OnInfoKey(dialog, reinterpret_cast<NMLVKEYDOWN *>(header)->wVKey);
    if (header->code == NM_DBLCLK)
        EditShownStyles(dialog, reinterpret_cast<NMITEMACTIVATE *>(header)->iItem);
    if (header->code != NM_CUSTOMDRAW)
        return FALSE;
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, DrawInfoRow(reinterpret_cast<NMLVCUSTOMDRAW *>(header)));
    return TRUE;
}

// The finder pressed: the main window captures the mouse here and points
// as it moves; the finder leaves its place for the cursor while it does.
static void StartFinderDrag(HWND dialog)
{
    SendMessageW(GetWindow(dialog, GW_OWNER), WM_POINTING_DRAG, reinterpret_cast<WPARAM>(dialog), 0);
    if (GetCapture() == dialog)
        SendDlgItemMessageW(dialog, IDC_INFO_FINDER, STM_SETICON, 0, 0);
}

static void OnFinderLost(HWND dialog)
{
    SendDlgItemMessageW(dialog, IDC_INFO_FINDER, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadIconW(g_hInstance, MAKEINTRESOURCEW(IDI_FINDER))), 0);
    SendMessageW(GetWindow(dialog, GW_OWNER), WM_POINTING_CANCELLED, 0, 0);
}

// Esc ends a drag of the finder; else it closes the window, and the tree has the keyboard back.
static void CloseInfoWindow(HWND dialog)
{
    if (GetCapture() == dialog) {
        ReleaseCapture();
        return;
    }
    DestroyWindow(dialog);
    SetFocus(g_hTree);
}

// While the finder is dragged the moves and the release come here, and go
// on to the main window, which points.
static void PassOnDrag(HWND dialog, UINT message)
{
    if (GetCapture() == dialog)
        SendMessageW(GetWindow(dialog, GW_OWNER), message, 0, 0);
}

static INT_PTR CALLBACK InfoWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitInfoWindow(dialog);
        break;
    case WM_SIZE:
        LayOutInfoWindow(dialog, LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_EXITSIZEMOVE:
        GetWindowRect(dialog, &s_placed);
        break;
    case WM_COMMAND:
        if (wParam == MAKEWPARAM(IDC_INFO_FINDER, STN_CLICKED))
            StartFinderDrag(dialog);
        else if (wParam == IDCANCEL)
            CloseInfoWindow(dialog);
        else if (wParam == IDOK)
            EditShownStyles(dialog, ListView_GetNextItem(GetDlgItem(dialog, IDC_INFO_LIST), -1, LVNI_FOCUSED));
        break;
    case WM_NOTIFY:
        return OnInfoNotify(dialog, reinterpret_cast<NMHDR *>(lParam));
    case WM_MOUSEMOVE:
        PassOnDrag(dialog, WM_POINTING_MOVED);
        break;
    case WM_LBUTTONUP:
        PassOnDrag(dialog, WM_POINTING_PICKED);
        break;
    case WM_CAPTURECHANGED:
        OnFinderLost(dialog);
        break;
    case WM_DESTROY:
        s_info = s_shown = nullptr;
        break;
    }
    return FALSE;
}

void OpenInfoWindow(HWND mainDialog)
{
    if (!s_info) {
        s_info = CreateDialogParamW(DialogModule(IDD_INFO), MAKEINTRESOURCEW(IDD_INFO), mainDialog, InfoWindowProc, 0);
        if (!s_info)
            return;
        PlaceInfoWindow(s_info, mainDialog);
    }
    ShowWindow(s_info, SW_SHOWNOACTIVATE);
    HTREEITEM node = SelectedNode();
    ShowWindowInfo(node ? GetNodeWindow(node) : nullptr);
}

HWND InfoWindow() { return s_info; }

bool IsInfoWindowMessage(MSG *message) { return s_info && IsDialogMessageW(s_info, message); }

void EnableInfoWindow(bool enable)
{
    if (s_info)
        EnableWindow(s_info, enable);
}
