#include "node_menu.h"
#include <windowsx.h>
#include "find_box.h"
#include "outline.h"
#include "pointing.h"
#include "window_tree.h"
#include "../app/shared.h"
#include "../app/startup.h"
#include "../details/info_window.h"
#include "../details/style_editor.h"
#include "../messages/log_window.h"
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

// The node's line as the copies give it: its label, a tab and its window's
// handle as the details show it.
static void AppendNodeLine(TextBuffer *copy, HTREEITEM node)
{
    wchar_t text[NODE_LABEL_CHARS + 1 + HANDLE_CHARS] = L"";
    TVITEMW item = {};
    item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_PARAM;
    item.hItem = node;
    item.pszText = text;
    item.cchTextMax = NODE_LABEL_CHARS;
    SendMessageW(g_hTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    int length = lstrlenW(text);
    text[length] = L'\t';
    FormatHandle(text + length + 1, reinterpret_cast<HWND>(item.lParam));
    AppendText(copy, text);
}

// The node and every node beneath it, collapsed ones too, in the tree's
// order: one a line ending in CR LF, indented by a tab for each level
// below the first. Alone (no branch), the node's line without an end.
static void CopyNodes(HWND dialog, HTREEITEM top, bool branch)
{
    TextBuffer copy = {};
    int depth = 0;
    for (HTREEITEM node = top; node;) {
        for (int level = 0; level < depth; level++)
            AppendText(&copy, L"\t");
        AppendNodeLine(&copy, node);
        if (!branch)
            break;
        AppendText(&copy, L"\r\n");
        // Down to the first child; else on to the next sibling of the
        // nearest node that has one, short of leaving the branch.
        HTREEITEM next = NextNode(node, TVGN_CHILD);
        if (next)
            depth++;
        while (!next && node != top) {
            next = NextNode(node, TVGN_NEXT);
            if (!next) {
                node = NextNode(node, TVGN_PARENT);
                depth--;
            }
        }
        node = next;
    }
    PutOnClipboard(dialog, &copy);
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

// The main window's own commands are asked of it as its buttons and Enter do.
static void RunNodeCommand(HWND dialog, UINT command)
{
    HTREEITEM node = SelectedNode();
    switch (command) {
    case IDM_DETAILS:
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        break;
    case IDM_INFO:
        OpenInfoWindow(dialog);
        break;
    case IDM_WATCH:
        if (node)
            WatchMessages(dialog, GetNodeWindow(node));
        break;
    case IDM_EDIT_STYLES:
        if (node)
            EditStyles(dialog, GetNodeWindow(node));
        break;
    case IDM_SHOW_WHERE:
        if (node)
            ShowWhereNodeIs(dialog, node);
        break;
    case IDM_COPY:
    case IDM_COPY_BRANCH:
        if (node)
            CopyNodes(dialog, node, command == IDM_COPY_BRANCH);
        break;
    case IDM_FIND_WINDOW:
        StartPointing(dialog);
        break;
    case IDM_FIND_TEXT:
        OpenFindBox(dialog);
        break;
    case IDM_REFRESH:
        // Asked for from the tree, which hiding it for the refill took the focus from.
        SendMessageW(dialog, WM_COMMAND, IDC_MAIN_REFRESH, 0);
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
    { IDM_DETAILS, IDS_MENU_DETAILS, true },
    { IDM_INFO, IDS_MENU_INFO, false },
    { IDM_WATCH, IDS_MENU_WATCH, true },
    { IDM_EDIT_STYLES, IDS_MENU_EDIT_STYLES, true },
    { 0, 0, false },
    { IDM_SHOW_WHERE, IDS_MENU_SHOW_WHERE, true },
    { IDM_COPY, IDS_MENU_COPY, true },
    { IDM_COPY_BRANCH, IDS_MENU_COPY_BRANCH, true },
    { 0, 0, false },
    { IDM_FIND_WINDOW, IDS_FIND_WINDOW, false },
    { IDM_FIND_TEXT, IDS_MENU_FIND_TEXT, false },
    { IDM_REFRESH, IDS_MENU_REFRESH, false },
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
    bool shift = GetKeyState(VK_SHIFT) < 0;
    if (control && key == 'F')
        RunNodeCommand(dialog, IDM_FIND_WINDOW);
    else if (control && key == 'M')
        RunNodeCommand(dialog, IDM_WATCH);
    else if (control && key == 'C')
        RunNodeCommand(dialog, shift ? IDM_COPY_BRANCH : IDM_COPY);
    else if (key == VK_F3)
        FindNextNode(dialog, shift);
    else if (key == VK_F5)
        RunNodeCommand(dialog, IDM_REFRESH);
    else if (key == VK_F10 && shift)
        ShowNodeMenu(dialog, MAKELPARAM(-1, -1));
}
