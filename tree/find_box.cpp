#include "find_box.h"
#include <commctrl.h>
#include "node_index.h"
#include "window_tree.h"
#include "../app/shared.h"
#include "../app/startup.h"
#include "../resources/resource.h"

enum { FIND_TEXT_CHARS = NODE_LABEL_CHARS, STATUS_CHARS = 128 };

static HWND s_box;                        // the find box while it is open
static wchar_t s_text[FIND_TEXT_CHARS];   // the last text searched, until the program ends

// The text searched, made ready once for every node it is held against:
// upper-cased by the system's rules, which know the case of every script,
// and read as a handle where it is one.
struct Needle {
    wchar_t upper[FIND_TEXT_CHARS];
    int length;
    bool isHandle;
    ULONG_PTR handle;
};

static void MakeNeedle(Needle *needle, const wchar_t *text)
{
    lstrcpynW(needle->upper, text, FIND_TEXT_CHARS);
    needle->length = lstrlenW(needle->upper);
    CharUpperBuffW(needle->upper, needle->length);
    needle->isHandle = ReadHexadecimal(text, &needle->handle);
}

// Handles are compared as the details show them, by their low 32 bits.
static bool NeedleMatches(const Needle &needle, const wchar_t *label, HWND window)
{
    if (needle.length == 0)
        return false;
    if (needle.isHandle && needle.handle == static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(window)))
        return true;
    wchar_t upper[NODE_LABEL_CHARS];
    lstrcpynW(upper, label, NODE_LABEL_CHARS);
    int length = lstrlenW(upper);
    CharUpperBuffW(upper, length);
    for (int start = 0; start + needle.length <= length; start++) {
        int matched = 0;
        while (matched < needle.length && upper[start + matched] == needle.upper[matched])
            matched++;
        if (matched == needle.length)
            return true;
    }
    return false;
}

bool NodeMatches(const wchar_t *label, HWND window, const wchar_t *text)
{
    Needle needle;
    MakeNeedle(&needle, text);
    return NeedleMatches(needle, label, window);
}

static bool NodeMatchesNeedle(HTREEITEM node, const Needle &needle)
{
    wchar_t label[NODE_LABEL_CHARS] = L"";
    TVITEMW item = {};
    item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_PARAM;
    item.hItem = node;
    item.pszText = label;
    item.cchTextMax = NODE_LABEL_CHARS;
    SendMessageW(g_hTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return NeedleMatches(needle, label, reinterpret_cast<HWND>(item.lParam));
}

// Every node once, in the tree's order (or against it), from the one after
// the selected node round to the selected node itself; from the first (or
// the last) when none is selected.
static HTREEITEM FindMatchingNode(const wchar_t *text, bool backwards)
{
    Needle needle;
    MakeNeedle(&needle, text);
    int count = IndexedNodeCount();
    HTREEITEM selected = SelectedNode();
    int place = selected ? PlaceOfWindow(GetNodeWindow(selected)) : -1;
    if (place < 0)
        place = backwards ? 0 : count - 1;
    for (int step = 0; step < count; step++) {
        place = (place + (backwards ? count - 1 : 1)) % count;
        if (NodeMatchesNeedle(IndexedNodeAt(place), needle))
            return IndexedNodeAt(place);
    }
    return nullptr;
}

static void SetFindStatus(int textId)
{
    wchar_t text[STATUS_CHARS] = L"";
    if (textId)
        LoadProgramString(textId, text, STATUS_CHARS);
    SetDlgItemTextW(s_box, IDC_FIND_STATUS, text);
}

// Selecting expands the node's ancestors and scrolls it into view.
static void SelectNextMatch(HWND mainDialog, bool backwards)
{
    HTREEITEM node = FindMatchingNode(s_text, backwards);
    if (node)
        SendMessageW(g_hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
    else
        OpenFindBox(mainDialog);
    if (s_box)
        SetFindStatus(node ? 0 : IDS_FIND_NO_MATCH);
}

void FindNextNode(HWND mainDialog, bool backwards)
{
    if (s_text[0])
        SelectNextMatch(mainDialog, backwards);
    else
        OpenFindBox(mainDialog);
}

// Enter (the default button) finds the next match, Shift+Enter the previous.
static void FindFromBox(HWND box, bool backwards)
{
    GetDlgItemTextW(box, IDC_FIND_TEXT, s_text, FIND_TEXT_CHARS);
    SelectNextMatch(GetWindow(box, GW_OWNER), backwards);
}

static INT_PTR CALLBACK FindBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageW(box, IDC_FIND_TEXT, EM_LIMITTEXT, FIND_TEXT_CHARS - 1, 0);
        break;
    case WM_COMMAND:
        if (wParam == IDOK)
            FindFromBox(box, GetKeyState(VK_SHIFT) < 0);
        else if (wParam == IDC_FIND_PREVIOUS)
            FindFromBox(box, true);
        else if (wParam == IDCANCEL) {
            DestroyWindow(box);
            SetFocus(g_hTree);
        }
        break;
    case WM_DESTROY:
        s_box = nullptr;
        break;
    }
    return FALSE;
}

// At the tree's top right corner, over the tree, where it hides least.
static void PlaceFindBox(HWND box)
{
    RECT tree, own;
    GetWindowRect(g_hTree, &tree);
    GetWindowRect(box, &own);
    SetWindowPos(box, nullptr, tree.right - (own.right - own.left), tree.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void OpenFindBox(HWND mainDialog)
{
    if (!s_box) {
        s_box = CreateDialogParamW(DialogModule(IDD_FIND), MAKEINTRESOURCEW(IDD_FIND), mainDialog, FindBoxProc, 0);
        if (!s_box)
            return;
        PlaceFindBox(s_box);
        ShowWindow(s_box, SW_SHOW);
    }
    HWND field = GetDlgItem(s_box, IDC_FIND_TEXT);
    SetWindowTextW(field, s_text);
    SendMessageW(field, EM_SETSEL, 0, -1);
    SetActiveWindow(s_box);
    SetFocus(field);
}

bool IsFindBoxMessage(MSG *message) { return s_box && IsDialogMessageW(s_box, message); }

void EnableFindBox(bool enable)
{
    if (s_box)
        EnableWindow(s_box, enable);
}
