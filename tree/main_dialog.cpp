#include "main_dialog.h"
#include "node_index.h"
#include "node_menu.h"
#include "outline.h"
#include "pointing.h"
#include "window_tree.h"
#include "../app/shared.h"
#include "../app/startup.h"
#include "../details/details_dialog.h"
#include "../details/info_window.h"
#include "find_box.h"
#include "../messages/log_window.h"
#include "../resources/resource.h"

// The template's distances, in dialog units, of the controls beneath the
// tree from the client's edges.
enum {
    TREE_FROM_BOTTOM = 20,
    BUTTON_FROM_BOTTOM = 16,
    BOX_FROM_BOTTOM = 14,
    REFRESH_FROM_RIGHT = 58,
    ABOUT_FROM_RIGHT = 119,
    ORDER_BOX_LEFT = 3,
    VISIBLE_BOX_LEFT = 108,
};

// Set while the tree fills. The fill's requests to other windows wait in
// SendMessageW, and what other programs send us meanwhile runs inside that
// wait: a command then is posted, to be carried out once the fill is done.
static bool s_filling;
// A refill so posted, which further requests during the fill join.
static bool s_refillPosted;

// The fill indexes its nodes as it adds them: the first search after it
// finds the index made.
static void FillTree(HWND dialog)
{
    s_filling = true;
    ForgetNodeIndex();
    FillWindowTree(dialog, IndexNode);
    s_filling = false;
}

// The main window's modal loop gives IsDialogMessage to it alone and runs no
// accelerators, but calls this filter before each message: the information
// window, the find box and the log get their dialog keys here, and so does
// Alt+Enter, which the tree keeps to itself.
static HHOOK s_messageFilter;
// IsDialogMessage calls the filter itself, for the message it is given.
static bool s_filtering;

static LRESULT CALLBACK FilterDialogMessage(int code, WPARAM wParam, LPARAM lParam)
{
    MSG *message = reinterpret_cast<MSG *>(lParam);
    if (code == MSGF_DIALOGBOX && !s_filtering) {
        // Taken before it is translated, so that no WM_SYSCHAR follows, which would beep.
        if (message->message == WM_SYSKEYDOWN && message->wParam == VK_RETURN && message->hwnd == g_hTree) {
            OpenInfoWindow(GetParent(g_hTree));
            return TRUE;
        }
        s_filtering = true;
        bool taken = IsInfoWindowMessage(message) || IsFindBoxMessage(message) || IsLogWindowMessage(message);
        s_filtering = false;
        if (taken)
            return TRUE;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

static void InitMainDialog(HWND dialog)
{
    g_hTree = GetWindow(dialog, GW_CHILD);
    SendMessageW(dialog, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconW(g_hInstance, MAKEINTRESOURCEW(IDI_ORVALIS))));
    AddFindToSystemMenu(dialog);
    s_messageFilter = SetWindowsHookExW(WH_MSGFILTER, FilterDialogMessage, nullptr, GetCurrentThreadId());
    FillTree(dialog);
}

// A satellite's dialog may lack a control, and one failed DeferWindowPos
// would abandon the whole batch: a missing control is left out.
static HDWP DeferMove(HDWP batch, HWND control, int x, int y)
{
    // Moved controls are drawn anew: the bits at their old places need not be
    // theirs after a resize (under Wine they are the bare background).
    const UINT moveOnly = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
    return control ? DeferWindowPos(batch, control, nullptr, x, y, 0, 0, moveOnly) : batch;
}

// Tree above, check boxes bottom left, buttons bottom right.
static void LayOutMainDialog(HWND dialog, int width, int height)
{
    POINT tree = DialogUnitsToPixels(dialog, 0, TREE_FROM_BOTTOM);
    POINT refresh = DialogUnitsToPixels(dialog, REFRESH_FROM_RIGHT, BUTTON_FROM_BOTTOM);
    POINT about = DialogUnitsToPixels(dialog, ABOUT_FROM_RIGHT, BUTTON_FROM_BOTTOM);
    POINT order = DialogUnitsToPixels(dialog, ORDER_BOX_LEFT, BOX_FROM_BOTTOM);
    POINT visible = DialogUnitsToPixels(dialog, VISIBLE_BOX_LEFT, BOX_FROM_BOTTOM);
    // A minimised or very short window must not give the tree a negative height.
    int treeHeight = height > tree.y ? height - tree.y : 0;
    HDWP batch = BeginDeferWindowPos(5);
    batch =
        DeferWindowPos(batch, g_hTree, nullptr, 0, 0, width, treeHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    batch = DeferMove(batch, GetDlgItem(dialog, IDC_MAIN_REFRESH), width - refresh.x, height - refresh.y);
    batch = DeferMove(batch, GetDlgItem(dialog, IDC_MAIN_ABOUT), width - about.x, height - about.y);
    batch = DeferMove(batch, GetDlgItem(dialog, IDC_MAIN_ORDER_BY_TITLE), order.x, height - order.y);
    batch = DeferMove(batch, GetDlgItem(dialog, IDC_MAIN_VISIBLE), visible.x, height - visible.y);
    EndDeferWindowPos(batch);
}

void OpenDetails(HWND mainDialog)
{
    HTREEITEM node = SelectedNode();
    if (!node)
        return;
    g_hTarget = GetNodeWindow(node);
    if (IsWindow(g_hTarget)) {
        DialogBoxParamW(g_hResModule, MAKEINTRESOURCEW(IDD_DETAILS), mainDialog, DetailsDialogProc, 0);
        if (IsWindow(g_hTarget))
            return;
        // The dialog can refill the tree (a click sent to our own refresh
        // button), which frees every node it had: look the window up anew.
        node = NodeOfWindow(g_hTarget);
        if (!node)
            return;
    }
    SendMessageW(g_hTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node));
}

// Empties the tree and fills it anew, ending any pointing or outline first:
// neither may become a node. The fill takes seconds on a large desktop and
// handles no message meanwhile: the pointer says so.
static void RefillWindowTree(HWND dialog)
{
    CancelPointing();
    HideOutline();
    s_refillPosted = false;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    // Hidden while it refills, so that it does not repaint for every node.
    ShowWindow(g_hTree, SW_HIDE);
    SendMessageW(g_hTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    DestroyTreeImages();
    FillTree(dialog);
    ShowWindow(g_hTree, SW_SHOW);
    ShowWindowInfo(nullptr);
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

// Inside a fill every command waits for it: a refill would free the nodes
// and images the fill is using, Cancel would destroy them, and the details
// or the About box would run a message loop inside it.
static void PostUntilTheFillEnds(HWND dialog, WPARAM wParam, LPARAM lParam)
{
    bool refill = wParam == IDC_MAIN_REFRESH || wParam == IDC_MAIN_ORDER_BY_TITLE;
    if (refill && s_refillPosted)
        return;
    s_refillPosted = s_refillPosted || refill;
    PostMessageW(dialog, WM_COMMAND, wParam, lParam);
}

// The visible box, and the information window unless pointing has it
// show the window under the pointer, follow the selection.
static void OnSelectionChanged(HWND dialog, const NMTREEVIEWW *change)
{
    HWND window = reinterpret_cast<HWND>(change->itemNew.lParam);
    SendDlgItemMessageW(dialog, IDC_MAIN_VISIBLE, BM_SETCHECK, IsWindowVisible(window) ? BST_CHECKED : BST_UNCHECKED,
                        0);
    if (!IsPointing())
        ShowWindowInfo(window);
}

static void ShowOrHideSelectedWindow(HWND box)
{
    bool checked = SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    HTREEITEM node = SelectedNode();
    if (!node) {
        // Nothing to show or hide: undo the box's own toggle.
        SendMessageW(box, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
        return;
    }
    ShowWindow(GetNodeWindow(node), checked ? SW_SHOWNOACTIVATE : SW_HIDE);
}

static void ShowAboutBox(HWND dialog)
{
    wchar_t text[256] = L"";
    wchar_t caption[256] = L"";
    LoadStringW(g_hResModule, IDS_ABOUT_TEXT, text, ARRAYSIZE(text));
    LoadStringW(g_hResModule, IDS_ABOUT_CAPTION, caption, ARRAYSIZE(caption));

    MSGBOXPARAMSW box = {};
    box.cbSize = sizeof box;
    box.hwndOwner = dialog;
    box.hInstance = g_hInstance;
    box.lpszText = text;
    box.lpszCaption = caption;
    box.dwStyle = MB_USERICON;
    box.lpszIcon = MAKEINTRESOURCEW(IDI_ORVALIS);
    MessageBoxIndirectW(&box);
}

static void OnMainNotify(HWND dialog, const NMHDR *header)
{
    switch (header->code) {
    case TVN_SELCHANGEDW:
        OnSelectionChanged(dialog, reinterpret_cast<const NMTREEVIEWW *>(header));
        break;
    case NM_DBLCLK:
        // The tree goes on with the double click once this returns: the
        // details open after it, so that no node it holds is deleted under it.
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        break;
    case TVN_KEYDOWN:
        OnTreeKey(dialog, reinterpret_cast<const NMTVKEYDOWN *>(header)->wVKey);
        break;
    case TVN_DELETEITEMW:
        ForgetNodeIndex();
        break;
    }
}

// The information window, the find box and the log are disabled with the
// main window, while a dialog of its own is open.
static void EnableToolWindows(bool enable)
{
    EnableInfoWindow(enable);
    EnableFindBox(enable);
    EnableLogWindow(enable);
}

// Nothing of pointing, and no hook, outlives the window.
static void CloseMainDialogTools()
{
    CancelPointing();
    HideOutline();
    UnhookWindowsHookEx(s_messageFilter);
}

// Cancel can arrive twice (the close command aimed at this window sends
// SC_CLOSE and then WM_CLOSE): the list is gone after the first.
static void CloseMainDialog(HWND dialog)
{
    DestroyTreeImages();
    EndDialog(dialog, 0);
}

// The system keeps the low four bits of a system command's id for itself.
enum { SYSTEM_COMMAND_ID_MASK = 0xFFF0 };

// The system menu's find item starts the pointing, once any fill is done;
// any other system command (a menu of its own, a move or size by keyboard)
// ends it.
static void OnMainSysCommand(HWND dialog, WPARAM command, LPARAM lParam)
{
    if ((command & SYSTEM_COMMAND_ID_MASK) != IDM_FIND_WINDOW)
        CancelPointing();
    else if (s_filling)
        PostMessageW(dialog, WM_SYSCOMMAND, command, lParam);
    else
        StartPointing(dialog);
}

// The tree's menu, once any fill is done: its loop must not run inside one.
static void OnMainContextMenu(HWND dialog, HWND window, LPARAM where)
{
    if (window != g_hTree)
        return;
    if (s_filling)
        PostMessageW(dialog, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), where);
    else
        ShowNodeMenu(dialog, where);
}

// Compared on the whole wParam: each action answers one notification of one control.
static void OnMainCommand(HWND dialog, WPARAM wParam, LPARAM lParam)
{
    if (s_filling) {
        PostUntilTheFillEnds(dialog, wParam, lParam);
        return;
    }
    // While pointing, Enter picks and Esc ends the pointing, not the program;
    // any other command ends it before it is carried out.
    if (IsPointing()) {
        if (wParam == IDOK) {
            PickPointedWindow(dialog);
            return;
        }
        CancelPointing();
        if (wParam == IDCANCEL)
            return;
    }
    switch (wParam) {
    case IDOK:
        OpenDetails(dialog);
        break;
    case IDCANCEL:
        CloseMainDialog(dialog);
        break;
    case IDC_MAIN_REFRESH:
    case IDC_MAIN_ORDER_BY_TITLE:
        RefillWindowTree(dialog);
        break;
    case IDC_MAIN_ABOUT:
        ShowAboutBox(dialog);
        break;
    case IDC_MAIN_VISIBLE:
        ShowOrHideSelectedWindow(reinterpret_cast<HWND>(lParam));
        break;
    }
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitMainDialog(dialog);
        break;
    case WM_SIZE:
        LayOutMainDialog(dialog, LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_NOTIFY:
        OnMainNotify(dialog, reinterpret_cast<const NMHDR *>(lParam));
        break;
    case WM_COMMAND:
        OnMainCommand(dialog, wParam, lParam);
        break;
    case WM_CONTEXTMENU:
        OnMainContextMenu(dialog, reinterpret_cast<HWND>(wParam), lParam);
        break;
    case WM_SYSCOMMAND:
        OnMainSysCommand(dialog, wParam, lParam);
        break;
    case WM_POINTING_MOVED:
        FollowPointer(dialog);
        break;
    case WM_POINTING_DRAG:
        StartDragging(dialog, reinterpret_cast<HWND>(wParam));
        break;
    case WM_POINTING_PICKED:
        PickPointedWindow(dialog);
        break;
    // A right click, or the window closing (Cancel follows, and closes it).
    case WM_POINTING_CANCELLED:
    case WM_CLOSE:
        CancelPointing();
        break;
    case WM_ACTIVATEAPP:
        if (!wParam)
            CancelPointing();
        break;
    case WM_ENABLE:
        EnableToolWindows(wParam);
        break;
    case WM_DESTROY:
        CloseMainDialogTools();
        break;
    }
    return FALSE;
}
