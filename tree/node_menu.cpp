#include "node_menu.h"
#include <windowsx.h>
#include "main_dialog.h"
#include "outline.h"
#include "pointing.h"
#include "window_tree.h"
#include "../app/shared.h"
#include "../app/startup.h"
#include "../resources/resource.h"

enum { MENU_TEXT_CHARS = 128 };

static void AppendItem(HMENU menu, UINT flags, UINT id, int textId)
{
    wchar_t text[MENU_TEXT_CHARS] = L"";
    LoadProgramString(textId, text, MENU_TEXT_CHARS);
    AppendMenuW(menu, flags, id, text);
}

void AddFindToSystemMenu(HWND dialog)
{
    HMENU menu = GetSystemMenu(dialog, FALSE);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendItem(menu, MF_STRING, IDM_FIND_WINDOW, IDS_FIND_WINDOW);
}

// The clipboard takes the memory over once it accepts it.
static void PutOnClipboard(HWND owner, const wchar_t *text)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (lstrlenW(text) + 1) * sizeof(wchar_t));
    wchar_t *copy = memory ? static_cast<wchar_t *>(GlobalLock(memory)) : nullptr;
    if (!copy) {
        GlobalFree(memory);
        return;
    }
    lstrcpyW(copy, text);
    GlobalUnlock(memory);
    if (OpenClipboard(owner)) {
        EmptyClipboard();
        if (SetClipboardData(CF_UNICODETEXT, memory))
            memory = nullptr;
        CloseClipboard();
    }
    GlobalFree(memory);
}

// The node's label, a tab and its window's handle.
static void CopyNode(HWND dialog, HTREEITEM node)
{
    wchar_t text[NODE_LABEL_CHARS + HANDLE_CHARS] = L"";
    TVITEMW item = {};
    item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_PARAM;
    item.hItem = node;
    item.pszText = text;
    item.cchTextMax = NODE_LABEL_CHARS;
    SendMessageW(g_hTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    int length = lstrlenW(text);
    text[length] = L'\t';
    FormatHandle(text + length + 1, reinterpret_cast<HWND>(item.lParam));
    PutOnClipboard(dialog, text);
}

// A window that has gone loses its node, as when its details are asked for.
static void ShowWhereNodeIs(HWND dialog, HTREEITEM node)
{
    RECT rect;
    if (GetWindowRect(GetNodeWindow(node), &rect))
        FlashOutline(dialog, rect);
    else
        SendMessageW(g_hTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node));
}

static void RunNodeCommand(HWND dialog, UINT command)
{
    HTREEITEM node = SelectedNode();
    switch (command) {
    case IDM_DETAILS:
        OpenDetails(dialog);
        break;
    case IDM_SHOW_WHERE:
        if (node)
            ShowWhereNodeIs(dialog, node);
        break;
    case IDM_COPY:
        if (node)
            CopyNode(dialog, node);
        break;
    case IDM_FIND_WINDOW:
        StartPointing(dialog);
        break;
    case IDM_REFRESH:
        // Asked for from the tree, which hiding it for the refill took the focus from.
        RefillWindowTree(dialog);
        SetFocus(g_hTree);
        break;
    }
}

// The items, with separators (id 0) between the groups.
static const struct {
    UINT id;
    int textId;
    bool forNode;   // greyed where no node is
} NODE_MENU[] = {
    { IDM_DETAILS, IDS_MENU_DETAILS, true },    { 0, 0, false },
    { IDM_SHOW_WHERE, IDS_MENU_SHOW_WHERE, true }, { IDM_COPY, IDS_MENU_COPY, true }, { 0, 0, false },
    { IDM_FIND_WINDOW, IDS_FIND_WINDOW, false }, { IDM_REFRESH, IDS_MENU_REFRESH, false },
};

// Where the menu opens from the keyboard: under the selected node's label,
// scrolled into view, else at the tree's corner.
static POINT KeyboardMenuPoint(HTREEITEM node)
{
    RECT rect = {};
    if (node)
        SendMessageW(g_hTree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
    if (!node || !TreeView_GetItemRect(g_hTree, node, &rect, TRUE))
        rect = {};
    POINT point = { rect.left, rect.bottom };
    ClientToScreen(g_hTree, &point);
    return point;
}

void ShowNodeMenu(HWND dialog, LPARAM where)
{
    // The menu runs a loop of its own, which the pointing's clicks must not reach.
    CancelPointing();
    POINT point = { GET_X_LPARAM(where), GET_Y_LPARAM(where) };
    HTREEITEM node = nullptr;
    if (point.x == -1 && point.y == -1) {
        node = SelectedNode();
        point = KeyboardMenuPoint(node);
    } else {
        TVHITTESTINFO hit = {};
        hit.pt = point;
        ScreenToClient(g_hTree, &hit.pt);
        node = reinterpret_cast<HTREEITEM>(SendMessageW(g_hTree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (node)
            SendMessageW(g_hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
    }
    HMENU menu = CreatePopupMenu();
    for (const auto &item : NODE_MENU) {
        if (!item.id)
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        else
            AppendItem(menu, (node || !item.forNode) ? MF_STRING : MF_STRING | MF_GRAYED, item.id, item.textId);
    }
    SetMenuDefaultItem(menu, IDM_DETAILS, FALSE);
    UINT command = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, dialog, nullptr);
    DestroyMenu(menu);
    RunNodeCommand(dialog, command);
}

void OnTreeKey(HWND dialog, WORD key)
{
    bool control = GetKeyState(VK_CONTROL) < 0;
    if (control && key == 'F')
        RunNodeCommand(dialog, IDM_FIND_WINDOW);
    else if (control && key == 'C')
        RunNodeCommand(dialog, IDM_COPY);
    else if (key == VK_F5)
        RunNodeCommand(dialog, IDM_REFRESH);
    else if (key == VK_F10 && GetKeyState(VK_SHIFT) < 0)
        ShowNodeMenu(dialog, MAKELPARAM(-1, -1));
}
