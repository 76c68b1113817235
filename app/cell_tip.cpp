#include "cell_tip.h"
#include <commctrl.h>

// One tip for every list, as the pointer rests on one cell at a time: the
// list and the cell it is for, from the moment the pointer comes to rest.
static HWND s_tip;
static HWND s_tipList;
static POINT s_tipCell;      // column and row
static WNDPROC s_listProc;   // every list view's own procedure, its class's

enum { TIP_TIMER = 0x7100, CELL_TEXT_CHARS = 1100, LABEL_MARGIN = 12 };

static void HideCellTip()
{
    if (s_tipList)
        KillTimer(s_tipList, TIP_TIMER);
    if (s_tip)
        DestroyWindow(s_tip);
    s_tip = s_tipList = nullptr;
}

// Beneath the cell, where it hides neither the pointer nor the row.
static void ShowCellTip(HWND list)
{
    KillTimer(list, TIP_TIMER);
    wchar_t text[CELL_TEXT_CHARS] = L"";
    LVITEMW item = {};
    item.iSubItem = s_tipCell.x;
    item.pszText = text;
    item.cchTextMax = CELL_TEXT_CHARS;
    SendMessageW(list, LVM_GETITEMTEXTW, s_tipCell.y, reinterpret_cast<LPARAM>(&item));
    RECT cell = {};
    cell.top = s_tipCell.x;
    cell.left = LVIR_LABEL;
    RECT client;
    GetClientRect(list, &client);
    if (!SendMessageW(list, LVM_GETSUBITEMRECT, s_tipCell.y, reinterpret_cast<LPARAM>(&cell)))
        return;
    int shown = (cell.right < client.right ? cell.right : client.right) - (cell.left > 0 ? cell.left : 0);
    int needed = static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text)));
    if (needed + LABEL_MARGIN <= shown)
        return;
    s_tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0,
                            0, GetAncestor(list, GA_ROOT), nullptr, nullptr, nullptr);
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
    tool.hwnd = list;
    tool.lpszText = text;
    SendMessageW(s_tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(s_tip, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXSCREEN) / 2);
    POINT below = { cell.left, cell.bottom };
    ClientToScreen(list, &below);
    SendMessageW(s_tip, TTM_TRACKPOSITION, 0, MAKELPARAM(below.x, below.y));
    SendMessageW(s_tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

// A move to another cell starts the wait anew; one within the cell is rest.
static void FollowPointer(HWND list, LPARAM where)
{
    LVHITTESTINFO hit = {};
    hit.pt = { static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where)) };
    SendMessageW(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (list == s_tipList && hit.iItem == s_tipCell.y && hit.iSubItem == s_tipCell.x)
        return;
    HideCellTip();
    if (hit.iItem < 0)
        return;
    s_tipList = list;
    s_tipCell = { hit.iSubItem, hit.iItem };
    UINT rest = 0;
    SystemParametersInfoW(SPI_GETMOUSEHOVERTIME, 0, &rest, 0);
    SetTimer(list, TIP_TIMER, rest, nullptr);
    TRACKMOUSEEVENT leave = { sizeof leave, TME_LEAVE, list, 0 };
    TrackMouseEvent(&leave);
}

static LRESULT CALLBACK WatchPointer(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
        FollowPointer(list, lParam);
        break;
    case WM_TIMER:
        if (wParam != TIP_TIMER)
            break;
        ShowCellTip(list);
        return 0;
    // Whatever else the pointer does there moves the cell or covers it.
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_KEYDOWN:
    case WM_DESTROY:
        HideCellTip();
        break;
    }
    return CallWindowProcW(s_listProc, list, message, wParam, lParam);
}

// Not SetWindowSubclass: under Wine it finds its chain in a property of the
// window, which costs a call to Wine's server for every message the list
// gets (measured: the information window's rows drawn four times slower).
void AddCellTips(HWND list)
{
    LONG_PTR watch = reinterpret_cast<LONG_PTR>(WatchPointer);
    s_listProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(list, GWLP_WNDPROC, watch));
}
