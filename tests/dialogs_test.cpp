// The main window, the details dialog, the information window, the find box, the style editor and the message log
// from their real templates and procedures, over windows the test makes, by real input where input matters; and, for
// what crosses processes, the built exe.
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <set>
#include "support.h"
#include "app/shared.h"
#include "details/details_dialog.h"
#include "details/details_rules.h"
#include "details/info_window.h"
#include "details/style_editor.h"
#include "messages/watching.h"
#include "resources/resource.h"
#include "styles/style_names.h"
#include "tree/main_dialog.h"
#include "tree/node_index.h"
#include "tree/pointing.h"
#include "tree/window_tree.h"

using namespace std;

static wstring Hex(HWND window)
{
    wchar_t text[16];
    wsprintfW(text, L"%lX", static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(window)));
    return text;
}

static wstring String(int id)
{
    wchar_t text[256] = L"";
    LoadStringW(nullptr, id, text, 256);
    return text;
}

static wstring Text(HWND window)
{
    wstring text(GetWindowTextLengthW(window) + 1, L'\0');
    text.resize(GetWindowTextW(window, &text[0], static_cast<int>(text.size())));
    return text;
}

static RECT Rect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

static POINT Centre(HWND window)
{
    RECT r = Rect(window);
    return { (r.left + r.right) / 2, (r.top + r.bottom) / 2 };
}

static bool operator==(const RECT &a, const RECT &b) { return EqualRect(&a, &b); }

// GWLP_USERDATA picks a behaviour: 1 refuses to close, counting; 2 answers g_lengthLie for its text's length, its
// reads checked against their heap buffer; 3 answers for its icon with no icon; 4, asked its text by the first fill,
// notes the cursor and sends a visible-box click, two refills and Cancel; 5 refuses WS_HSCROLL and notes the messages
// it hears.
enum { REFUSES_CLOSE = 1, MISREPORTS_LENGTH, GIVES_NO_ICON, COMMANDS_INSIDE_FILL, REFUSES_HSCROLL };
// WM_APP hangs the window until g_thaw is set; FLOOD has it set its own text and read it back, then send itself
// that many messages, and answer how many milliseconds they took.
enum { FLOOD = WM_APP + 1 };
static HWND g_main, g_hung;
static int g_closeRequests, g_textAsks, g_heard;
static HANDLE g_thaw;
static HCURSOR g_fillCursor;
static LRESULT g_lengthLie;
static vector<UINT> g_messages;

static LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LONG_PTR kind = GetWindowLongPtrW(window, GWLP_USERDATA);
    g_heard += message == WM_COMMAND || message == WM_CONTEXTMENU;   // a click on a child button, a right click
    if (message == WM_APP)
        WaitForSingleObject(g_thaw, INFINITE);   // hung
    if (message == FLOOD) {
        wchar_t text[16];
        DWORD start = GetTickCount();
        SetWindowTextW(window, L"Watched");
        GetWindowTextW(window, text, ARRAYSIZE(text));
        for (WPARAM i = 0; i < wParam; i++)
            SendMessageW(window, WM_NULL, 0, 0);
        return GetTickCount() - start;
    }
    if (message == WM_CLOSE && kind == REFUSES_CLOSE) {
        g_closeRequests++;
        return 0;
    }
    if (message == WM_GETTEXTLENGTH && kind == MISREPORTS_LENGTH)
        return g_lengthLie;
    bool asksText = message == WM_GETTEXT && kind == MISREPORTS_LENGTH;
    SIZE_T room = asksText ? HeapSize(GetProcessHeap(), 0, reinterpret_cast<void *>(lParam)) / sizeof(wchar_t) : 0;
    EXPECT_TRUE(!asksText || wParam < room) << "past the buffer, or no terminator spare";
    if (message == WM_GETTEXT && kind == COMMANDS_INSIDE_FILL && g_textAsks++ == 0) {
        g_fillCursor = GetCursor();
        SendMessageW(g_main, WM_COMMAND, IDC_MAIN_VISIBLE,
                     reinterpret_cast<LPARAM>(GetDlgItem(g_main, IDC_MAIN_VISIBLE)));
        for (WPARAM command : { IDC_MAIN_ORDER_BY_TITLE, IDC_MAIN_REFRESH, IDCANCEL })
            SendMessageW(g_main, WM_COMMAND, command, 0);
    }
    if (message == WM_QUERYDRAGICON && kind == GIVES_NO_ICON)
        return reinterpret_cast<LRESULT>(window);
    if (message == WM_GETICON && kind == GIVES_NO_ICON)
        return 0;
    if (kind == REFUSES_HSCROLL)
        g_messages.push_back(message);
    if (message == WM_STYLECHANGING && kind == REFUSES_HSCROLL && wParam == static_cast<WPARAM>(GWL_STYLE))
        reinterpret_cast<STYLESTRUCT *>(lParam)->styleNew &= ~WS_HSCROLL;
    return DefWindowProcW(window, message, wParam, lParam);
}

// This thread's messages as the modal loops handle them: the main window's filter, then the dialog keys of the
// window a message is for.
static void Pump()
{
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {
        HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        if (CallMsgFilterW(&msg, MSGF_DIALOGBOX) || (root && IsDialogMessageW(root, &msg)))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

template <class Done> static bool WaitFor(Done done, DWORD ms = 4000)
{
    for (DWORD start = GetTickCount(); !done() && GetTickCount() - start < ms; Sleep(5))
        Pump();
    return done();
}

static void Rest(DWORD ms)
{
    WaitFor([] { return false; }, ms);
}

// Real input; then, unless inside a menu's own loop, pumped until a marker key (F24) sent after it is taken, wherever
// it goes, and once more. The hook also hears the X server's echo of the pointer put at g_put.
static bool g_marked, g_echoed;
static POINT g_put = { -1, -1 };

static LRESULT CALLBACK NoteInput(int code, WPARAM message, LPARAM event)
{
    const MSLLHOOKSTRUCT *mouse = reinterpret_cast<const MSLLHOOKSTRUCT *>(event);
    bool marker = message == WM_KEYUP && reinterpret_cast<const KBDLLHOOKSTRUCT *>(event)->vkCode == VK_F24;
    bool echo =
        message == WM_MOUSEMOVE && !(mouse->flags & LLMHF_INJECTED) && mouse->pt.x == g_put.x && mouse->pt.y == g_put.y;
    g_marked |= code == HC_ACTION && marker;
    g_echoed |= code == HC_ACTION && echo;
    return CallNextHookEx(nullptr, code, message, event);
}

static INPUT Key(WORD key, DWORD flags = 0)
{
    INPUT in = { INPUT_KEYBOARD };
    in.ki.wVk = key;
    in.ki.dwFlags = flags;
    return in;
}

static void Input(vector<INPUT> inputs, bool pump = true)
{
    if (pump) {
        inputs.push_back(Key(VK_F24));
        inputs.push_back(Key(VK_F24, KEYEVENTF_KEYUP));
        g_marked = false;
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    if (!pump)
        return;
    EXPECT_TRUE(WaitFor([] { return g_marked; })) << "input lost";
    Pump();
}

// Keys pressed in order (modifiers first) and released in reverse.
static void Keys(vector<WORD> keys, bool pump = true)
{
    vector<INPUT> in;
    for (WORD key : keys)
        in.push_back(Key(key));
    for (size_t i = keys.size(); i-- > 0;)
        in.push_back(Key(keys[i], KEYEVENTF_KEYUP));
    Input(in, pump);
}

// Moves the pointer there, then presses the buttons told (MOUSEEVENTF_ flags) there. SendInput leaves the X pointer
// behind, and Wine's GetCursorPos answers where that is once its own record is 100 ms old: it is put there too, its
// echo awaited lest it come late (none comes over the bare desktop).
static void Mouse(POINT at, DWORD buttons = 0)
{
    INPUT move = { INPUT_MOUSE };
    move.mi.dx = (at.x * 65536 + 32768) / GetSystemMetrics(SM_CXSCREEN);
    move.mi.dy = (at.y * 65536 + 32768) / GetSystemMetrics(SM_CYSCREEN);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    vector<INPUT> clicks;
    for (DWORD flag = MOUSEEVENTF_LEFTDOWN; flag <= MOUSEEVENTF_RIGHTUP; flag <<= 1) {
        if (!(buttons & flag))
            continue;
        clicks.push_back(move);
        clicks.back().mi.dwFlags |= flag;
    }
    if (at.x != g_put.x || at.y != g_put.y) {
        g_put = at;
        g_echoed = false;
        SetCursorPos(at.x, at.y);
        WaitFor([] { return g_echoed; }, 200);
    }
    Input({ move });
    if (!clicks.empty())
        Input(clicks);
}

static const DWORD LEFT_CLICK = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP;
static const DWORD RIGHT_CLICK = MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_RIGHTUP;

// What the clipboard holds; then emptied but for a marker, which a copy must take away with the rest.
static wstring Clipboard()
{
    HANDLE data = OpenClipboard(nullptr) ? GetClipboardData(CF_UNICODETEXT) : nullptr;
    wstring text = data ? static_cast<const wchar_t *>(GlobalLock(data)) : L"";
    if (IsClipboardFormatAvailable(CF_DIF))
        text += L" (and the marker)";
    GlobalUnlock(data);
    EmptyClipboard();
    SetClipboardData(CF_DIF, GlobalAlloc(GMEM_MOVEABLE, 1));
    CloseClipboard();
    return text;
}

static HWND Selected() { return GetNodeWindow(TreeView_GetSelection(g_hTree)); }

// A node's label, and its image, which must also be its selected image.
static pair<wstring, int> Node(HTREEITEM item)
{
    wchar_t text[NODE_LABEL_CHARS] = L"";
    TVITEMW tv = { TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, item, 0, 0, text, NODE_LABEL_CHARS };
    EXPECT_TRUE(TreeView_GetItem(g_hTree, &tv) && tv.iImage == tv.iSelectedImage)
        << "no such node, or another picture when selected";
    return { text, tv.iImage };
}

// A window's node as the copies give it, and where its label is on the screen.
static wstring Line(HWND window) { return Node(NodeOfWindow(window)).first + L"\t" + Hex(window); }

static POINT Label(HWND window)
{
    RECT row = {};
    TreeView_GetItemRect(g_hTree, NodeOfWindow(window), &row, TRUE);
    MapWindowPoints(g_hTree, nullptr, reinterpret_cast<POINT *>(&row), 2);
    return { row.left + 2, row.top + 2 };
}

// A list view's rows, their columns apart by tabs; a heading of the information window (marked in its data) alone.
static Texts Rows(HWND list, int columns = 2)
{
    Texts rows;
    for (int row = 0; row < ListView_GetItemCount(list); row++) {
        wchar_t text[1100] = L"";
        LVITEMW item = { LVIF_PARAM, row };
        ListView_GetItem(list, &item);
        wstring line;
        for (int column = 0; column < (item.lParam == -1 ? 1 : columns); column++) {
            ListView_GetItemText(list, row, column, text, 1100);
            line += (column ? L"\t" : L"") + wstring(text);
        }
        rows.push_back(line);
    }
    return rows;
}

// Whether Ctrl+A, then Ctrl+C, in the list copies the rows, a line each.
static bool CopiesEveryRow(HWND list, const Texts &rows)
{
    wstring lines;
    for (const wstring &row : rows)
        lines += row + L"\r\n";
    SetForegroundWindow(GetParent(list));
    SetFocus(list);
    Keys({ VK_CONTROL, 'A' });
    Keys({ VK_CONTROL, 'C' });
    return Clipboard() == lines;
}

// Whether the list's columns fill it, but for a scroll bar.
static bool ColumnsFit(HWND list)
{
    RECT client;
    GetClientRect(list, &client);
    int width = ListView_GetColumnWidth(list, 0) + ListView_GetColumnWidth(list, 1);
    return width <= client.right && width >= client.right - GetSystemMetrics(SM_CXVSCROLL);
}

// This thread's top-level windows and its capture, sorted.
static vector<HWND> Owned()
{
    vector<HWND> windows = { GetCapture() };
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) -> BOOL {
            reinterpret_cast<vector<HWND> *>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    sort(windows.begin(), windows.end());
    return windows;
}

// The window of this thread, shown or not, that holds the control: the information window, the find box, the log.
static HWND WindowWith(int controlId)
{
    for (HWND window : Owned()) {
        if (GetDlgItem(window, controlId))
            return window;
    }
    return nullptr;
}

static HWND FindBox() { return WindowWith(IDC_FIND_TEXT); }

static Texts InfoRows() { return Rows(GetDlgItem(InfoWindow(), IDC_INFO_LIST)); }

// The value of the information window's row of that name; "?" for none.
static wstring InfoRow(const wstring &name)
{
    for (const wstring &row : InfoRows()) {
        if (row.rfind(name + L"\t", 0) == 0)
            return row.substr(row.find(L'\t') + 1);
    }
    return L"?";
}

static bool InfoShows(HWND window)
{
    return window ? InfoRow(String(IDS_ROW_HANDLE)) == Hex(window) : InfoRows().empty();
}

// A click on control `id` of a dialog; a check box toggles first, as under a click.
static void Click(HWND dialog, int id, WORD code = BN_CLICKED)
{
    HWND control = GetDlgItem(dialog, id);
    bool box = (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX;
    if (code == BN_CLICKED && box)
        CheckDlgButton(dialog, id, IsDlgButtonChecked(dialog, id) ? BST_UNCHECKED : BST_CHECKED);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

// Cancels the next modal window the main window shows, inside its loop; keeps its caption.
static wstring g_popupTitle;

static void CALLBACK CancelPopup(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND popup = GetLastActivePopup(g_main);
    if (popup == g_main || IsWindowEnabled(g_main))
        return;
    KillTimer(nullptr, timer);
    g_popupTitle = Text(popup);
    PostMessageW(popup, WM_COMMAND, IDCANCEL, 0);
}

// No tear-down: ctest runs each case in a process of its own, and its windows go with it.
class Dialogs : public ::testing::Test
{
protected:
    HWND top = nullptr;
    HWND dialog = nullptr;
    ATOM atom = 0;

    void SetUp() override
    {
        UseOwnResources();
        SetWindowsHookExW(WH_KEYBOARD_LL, NoteInput, g_hInstance, 0);
        SetWindowsHookExW(WH_MOUSE_LL, NoteInput, g_hInstance, 0);
        WNDCLASSW wc = { CS_DBLCLKS, TestWindowProc, 24,      12,
                         nullptr,    nullptr,        nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1),
                         nullptr,    L"OrvalisTest" };
        atom = RegisterClassW(&wc);
        top = Window(nullptr, L"OrvalisTest", L"Top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400, 300);
        g_main = CreateDialogParamW(g_hInstance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialogProc, 0);
    }

    // Of this module, whose icons Wine's DefWindowProc searches for WM_QUERYDRAGICON: quick, found at once.
    HWND Window(HWND parent, const wchar_t *className, const wchar_t *text, DWORD style = WS_CHILD | WS_VISIBLE,
                int x = 10, int y = 10, int width = 50, int height = 20, int id = 0, DWORD exStyle = 0)
    {
        HMENU menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
        return CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent, menu,
                               GetModuleHandleW(nullptr), nullptr);
    }

    // Does the action, then handles what it posted; a window the main window shows meanwhile is cancelled.
    void WithPopup(function<void()> action)
    {
        g_popupTitle.clear();
        UINT_PTR timer = SetTimer(nullptr, 0, 20, CancelPopup);
        action();
        Pump();
        if (g_popupTitle.empty())
            KillTimer(nullptr, timer);
    }

    void Command(int id)
    {
        Click(g_main, id);
        Pump();
    }

    void Select(HWND window) { TreeView_SelectItem(g_hTree, NodeOfWindow(window)); }

    // The tree in front with the keyboard, as a user has it.
    void Focus()
    {
        SetForegroundWindow(g_main);
        SetFocus(g_hTree);
    }

    // A dialog of the template and procedure, modeless, shown without the keyboard.
    void Open(int templateId, DLGPROC procedure, HWND target)
    {
        DestroyWindow(dialog);
        g_hTarget = target;
        dialog = CreateDialogParamW(g_hInstance, MAKEINTRESOURCEW(templateId), nullptr, procedure,
                                    reinterpret_cast<LPARAM>(target));
        ShowWindow(dialog, SW_SHOWNOACTIVATE);
    }

    void Open(HWND target) { Open(IDD_DETAILS, DetailsDialogProc, target); }

    wstring Field(int id) { return Text(GetDlgItem(dialog, id)); }

    LRESULT Ask(int id, UINT message, WPARAM wParam = 0) { return SendDlgItemMessageW(dialog, id, message, wParam, 0); }

    Texts Panel(int id) { return Rows(GetDlgItem(dialog, id)); }

    Texts Shown()
    {
        Texts shown;
        for (int id = IDC_DETAILS_TEXT; id <= IDC_DETAILS_ID; id++)
            shown.push_back(Field(id));
        for (int id : { IDC_DETAILS_PRIORITY, IDC_DETAILS_COMMANDS })
            shown.push_back(to_wstring(Ask(id, CB_GETCURSEL)) + L" of " + to_wstring(Ask(id, CB_GETCOUNT)));
        for (int id : { IDC_DETAILS_TOPMOST, IDC_DETAILS_VISIBLE, IDC_DETAILS_DISABLED })
            shown.push_back(IsDlgButtonChecked(dialog, id) ? L"on" : L"off");
        return shown;
    }

    // The tab's name and the relative's fields, the tab chosen as a click chooses it.
    Texts Relative(int tab)
    {
        wchar_t label[16] = L"";
        TCITEMW item = { TCIF_TEXT, 0, 0, label, ARRAYSIZE(label) };
        HWND tabs = GetDlgItem(dialog, IDC_DETAILS_RELATIVES_TAB);
        TabCtrl_SetCurFocus(tabs, tab);
        TabCtrl_GetItem(tabs, tab, &item);
        return { label, Field(IDC_DETAILS_RELATIVE_TEXT), Field(IDC_DETAILS_RELATIVE_CLASS),
                 Field(IDC_DETAILS_RELATIVE_HANDLE) };
    }

    // Chooses `entry` of a list, then presses `id`, or the list itself.
    void Press(int id, int entry = -1, int list = IDC_DETAILS_COMMANDS)
    {
        if (entry >= 0)
            Ask(list, CB_SETCURSEL, entry);
        Click(dialog, id, id == list ? CBN_SELCHANGE : BN_CLICKED);
    }
};
using MainWindow = Dialogs;
using Details = Dialogs;

TEST_F(MainWindow, ListsEveryWindowInOrderWithItsPictureAndRefillsOneAtATimeUnderTheWaitCursorCostingNoMemory)
{
    HWND panel = Window(top, L"Static", L"Panel");
    HWND box = Window(panel, L"Button", L"Box", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX);
    SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TestWindowProc));
    SetWindowLongPtrW(box, GWLP_USERDATA, GIVES_NO_ICON);
    for (const wchar_t *text : { L"b", L"B", L"a", L"b", L"A", L"ab", L"Ab", L"_", L"a", L"" })
        Window(top, text[0] == L'a' ? L"Button" : L"Static", text);
    Command(IDC_MAIN_REFRESH);
    // The eleven children in lstrcmpW order, equal labels in the z-order, as the tree's own sorted insertion of them
    // one by one has them.
    vector<pair<wstring, HWND>> expected;
    vector<pair<wstring, HWND>> shown;
    for (HWND child = GetWindow(top, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        expected.push_back({ Node(NodeOfWindow(child)).first, child });
    auto before = [](auto &a, auto &b) { return lstrcmpW(a.first.c_str(), b.first.c_str()) < 0; };
    stable_sort(expected.begin(), expected.end(), before);
    for (HTREEITEM item = TreeView_GetChild(g_hTree, NodeOfWindow(top)); item;
         item = TreeView_GetNextSibling(g_hTree, item))
        shown.push_back({ Node(item).first, GetNodeWindow(item) });
    EXPECT_TRUE(expected.size() == 11 && shown == expected);
    EXPECT_TRUE(Node(NodeOfWindow(box)).second == IMAGE_CHECKBOX && Node(NodeOfWindow(top)).second > IMAGE_WINDOW &&
                TreeView_GetImageList(g_hTree, TVSIL_STATE) == g_hImageList)
        << "an icon the list refuses, or a window's own, or no state pictures";
    Command(IDC_MAIN_ORDER_BY_TITLE);
    EXPECT_EQ(Node(NodeOfWindow(panel)).first, L"Panel | Static");

    // Commands sent inside a fill, as another program's run in its wait, are carried out after it: refills as one.
    SetWindowLongPtrW(Window(nullptr, L"OrvalisTest", L"", WS_POPUP), GWLP_USERDATA, COMMANDS_INSIDE_FILL);
    Command(IDC_MAIN_REFRESH);
    EXPECT_TRUE(g_textAsks == 2 && !IsWindowVisible(g_main)) << "refilled more than once, or Cancel lost";
    EXPECT_TRUE(g_fillCursor == LoadCursorW(nullptr, IDC_WAIT) && GetCursor() == LoadCursorW(nullptr, IDC_ARROW))
        << "no wait cursor while it fills";
    // A leaked bitmap (28 KiB a refresh) or node index, made again and again.
    SSIZE_T growth = Growth(12, [&] {
        Command(IDC_MAIN_REFRESH);
        for (int i = 0; i < 30; i++) {
            ForgetNodeIndex();
            PlaceOfWindow(top);
        }
    });
    EXPECT_LT(growth, 160 << 10);
}

// In the menu opened next, notes its items ("*" the default, "-" greyed) and chooses g_choice by its key; then
// cancels the window the choice opens.
static UINT g_choice;
static Texts g_items;
static HMENU g_menu;

static void CALLBACK ChooseFromMenu(HWND, UINT, UINT_PTR, DWORD)
{
    HWND shown = nullptr;
    while ((shown = FindWindowExW(nullptr, shown, L"#32768", nullptr)) && !IsWindowVisible(shown)) {
    }
    HMENU menu = shown ? reinterpret_cast<HMENU>(SendMessageW(shown, MN_GETHMENU, 0, 0)) : nullptr;
    if (menu)
        g_menu = menu;
    for (int i = 0; g_choice && menu && i < GetMenuItemCount(menu); i++) {
        wchar_t text[128] = L"";
        UINT id = GetMenuItemID(menu, i);
        UINT state = GetMenuState(menu, i, MF_BYPOSITION);
        if (!GetMenuStringW(menu, i, text, 128, MF_BYPOSITION) && (state & MF_SEPARATOR))
            continue;
        bool isDefault = id == GetMenuDefaultItem(menu, FALSE, 0);
        g_items.push_back(text + wstring(isDefault ? L"*" : L"") + ((state & MF_GRAYED) ? L"-" : L""));
        if (id == g_choice)
            Keys({ static_cast<WORD>(VkKeyScanW(wcschr(text, L'&')[1]) & 0xFF) }, false);
    }
    if (menu)
        g_choice = 0;
    else if (!g_choice)
        CancelPopup(nullptr, 0, 0, 0);
}

// Opens a menu (by the menu key unless told otherwise) from Orvalis in front and chooses the item; its items. Twice
// at most: Wine at times moves the pointer by a late message of its own inside a right click, which the tree takes
// for a drag.
static Texts Menu(UINT choice, function<void()> open = [] { Keys({ VK_APPS }); }, HWND focus = g_hTree)
{
    g_choice = choice;
    g_items.clear();
    g_popupTitle.clear();
    UINT_PTR timer = SetTimer(nullptr, 0, 50, ChooseFromMenu);
    for (int tries = 0; tries < 2 && g_choice; tries++) {
        SetForegroundWindow(GetAncestor(focus, GA_ROOT));
        SetFocus(focus);
        open();
        WaitFor([] { return !g_choice; }, 3000);
    }
    KillTimer(nullptr, timer);
    Rest(100);
    EXPECT_TRUE(!IsMenu(g_menu) || g_menu == GetSystemMenu(g_main, FALSE)) << "a menu left behind";
    return g_items;
}

static RECT Placed(HWND dialog, HWND control)
{
    RECT r = Rect(control);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

// Every control of the window inside its client area and clear of the others.
static bool ControlsApart(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    vector<RECT> placed;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r = Placed(window, child);
        RECT inside;
        RECT overlap;
        bool within = IntersectRect(&inside, &r, &client) && EqualRect(&inside, &r);
        for (const RECT &other : placed)
            within = within && !IntersectRect(&overlap, &r, &other);
        if (!within)
            return false;
        placed.push_back(r);
    }
    return true;
}

// The margins of the window's controls, all together, to its client area's right and bottom edges.
static POINT Margins(HWND window)
{
    RECT client;
    RECT all = {};
    GetClientRect(window, &client);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r = Placed(window, child);
        UnionRect(&all, &all, &r);
    }
    return { client.right - all.right, client.bottom - all.bottom };
}

TEST_F(MainWindow, EveryWindowLaysOutItsControlsByItsUnitsAsItOpensResizedAndMaximized)
{
    // Each window's controls inside it and apart as it opens, resized and maximized; its list (the main window's
    // tree) taking what the window gains; the controls keeping their margins to its right and bottom edges (two
    // roundings of dialog units may part by a pixel), and, once moved, waiting to be drawn anew (Wine leaves copied
    // bits blank); the columns inside but for the log's many. The main window without a control, as from a
    // satellite that lacks it.
    DestroyWindow(GetDlgItem(g_main, IDC_MAIN_ABOUT));
    Open(IDD_STYLES, StyleEditorProc, top);
    Select(top);
    Menu(IDM_WATCH);
    Menu(IDM_INFO);
    HWND log = WindowWith(IDC_LOG_LIST);
    for (auto [window, list] : { pair{ g_main, IDC_MAIN_TREE },
                                 { dialog, IDC_STYLES_STYLE_LIST },
                                 { log, IDC_LOG_LIST },
                                 { InfoWindow(), IDC_INFO_LIST } }) {
        HWND control = GetDlgItem(window, list);
        RECT opened = Rect(control);
        EXPECT_TRUE(ControlsApart(window)) << list << " as it opens";
        RECT size = Rect(window);
        SetWindowPos(window, nullptr, 0, 0, size.right - size.left + 200, size.bottom - size.top + 150, SWP_NOMOVE);
        POINT margins = Margins(window);
        EXPECT_TRUE(ControlsApart(window) && Rect(control).bottom > opened.bottom) << list << " resized";
        ShowWindow(window, SW_MAXIMIZE);
        POINT now = Margins(window);
        bool kept = abs(now.x - margins.x) <= 1 && abs(now.y - margins.y) <= 1;
        bool drawn = window != g_main || GetUpdateRect(GetDlgItem(g_main, IDC_MAIN_REFRESH), nullptr, FALSE);
        bool fit = window == g_main || window == log || ColumnsFit(control);
        EXPECT_TRUE(ControlsApart(window) && kept && drawn && fit) << list << " maximized";
    }
    RECT client;
    RECT tree = Placed(g_main, g_hTree);
    GetClientRect(g_main, &client);
    EXPECT_TRUE(tree.top == 0 && tree.right == client.right) << "the tree short of the full width";
    // Called, not sent, so that reading this lParam as a notification header faults the test.
    MainDialogProc(g_main, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 0));
    EXPECT_EQ(Placed(g_main, g_hTree).bottom, 0) << "a short window gives the tree no height, not a negative one";
}

// The outline: the bounds of the windows shown that let the mouse through.
static RECT Outline()
{
    RECT bounds = {};
    const LONG clickThrough = WS_EX_LAYERED | WS_EX_TRANSPARENT;
    for (HWND window : Owned()) {
        RECT r = Rect(window);
        if (IsWindowVisible(window) && (GetWindowLongW(window, GWL_EXSTYLE) & clickThrough) == clickThrough)
            UnionRect(&bounds, &bounds, &r);
    }
    return bounds;
}

// A window of a thread of its own, which stops answering once sent WM_APP, until g_thaw is set.
static HWND HungWindow()
{
    static HWND made;
    made = nullptr;
    g_thaw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    auto run = [](void *) -> DWORD {
        made = CreateWindowExW(0, L"OrvalisTest", L"Hung", WS_POPUP | WS_VISIBLE, 900, 100, 100, 60, nullptr, nullptr,
                               nullptr, nullptr);
        for (MSG msg; GetMessageW(&msg, nullptr, 0, 0);)
            DispatchMessageW(&msg);
        return 0;
    };
    CloseHandle(CreateThread(nullptr, 0, run, nullptr, 0, nullptr));
    WaitFor([] { return made != nullptr; });
    return made;
}

TEST_F(MainWindow, PointingOrDraggingTheFinderFollowsThePointerAndEveryWayOutLeavesNothingBehind)
{
    g_hung = HungWindow();
    HWND label = Window(top, L"Static", L"Label", WS_CHILD | WS_VISIBLE, 30, 50, 80, 20);
    HWND group = Window(top, L"Button", L"Group", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 10, 10, 200, 150);
    Window(top, L"Static", L"Beneath the label", WS_CHILD | WS_VISIBLE, 0, 56, 210, 8);
    Window(top, L"Static", L"Hidden", WS_CHILD, 40, 55, 40, 10);
    HWND former = Window(top, L"Static", L"Former", WS_CHILD | WS_VISIBLE, 30, 200);
    HWND button = Window(top, L"Button", L"Press", WS_CHILD | WS_VISIBLE, 250, 80, 80, 30);
    // Clear of them and of the information window beside it: Wine raises the main window above its own when X
    // activates it.
    SetWindowPos(g_main, nullptr, 0, 360, 500, 450, SWP_NOZORDER);
    Command(IDC_MAIN_REFRESH);
    // The information window beside it, opened by Alt+Enter without the keyboard, shows what is pointed at too.
    Select(former);
    Focus();
    Keys({ VK_MENU, VK_RETURN });
    HWND info = InfoWindow();
    HWND finder = GetDlgItem(info, IDC_INFO_FINDER);
    ASSERT_TRUE(IsWindowVisible(info) && GetFocus() == g_hTree && InfoShows(former)) << "not opened beside the tree";
    PostMessageW(g_hung, WM_APP, 0, 0);
    vector<HWND> before = Owned();
    // By Ctrl+F: Esc, a right click, a click; by the finder, let go over a button; then the window closed.
    for (int way = 0; way < 5; way++) {
        Select(former);
        Focus();
        if (way == 3)
            Mouse(Centre(finder), MOUSEEVENTF_LEFTDOWN);
        else
            Keys({ VK_CONTROL, 'F' });
        // A button under its outline, a label above a wider, flatter window and the group box, the bare desktop, a
        // hung window. (Under Wine a drag by SendInput over another thread's window
        // reaches it, not the capture; a real drag is followed.)
        for (auto [window, at] : { pair{ button, Centre(button) },
                                   { label, Centre(label) },
                                   { group, POINT{ Rect(group).left + 8, Rect(group).bottom - 8 } },
                                   { nullptr, POINT{ 1270, 300 } },
                                   { g_hung, Centre(g_hung) } }) {
            if (way == 3 && (!window || window == g_hung))
                continue;
            Mouse(at);
            HWND pointed = window;
            auto shown = [&] { return Selected() == pointed && Outline() == Rect(pointed) && InfoShows(pointed); };
            EXPECT_TRUE(WaitFor(shown)) << Hex(window) << " at " << way;
        }
        if (way == 0) {
            Keys({ VK_ESCAPE });
            // Its late pointer events spent.
            SetEvent(g_thaw);
            SendMessageW(g_hung, WM_NULL, 0, 0);
        }
        if (way == 1 || way == 2)
            Mouse(Centre(button), way == 1 ? RIGHT_CLICK : LEFT_CLICK);
        if (way == 3)
            Mouse(Centre(button), MOUSEEVENTF_LEFTUP);
        if (way == 4)
            DestroyWindow(g_main);
        // Picked: selected, the tree in focus and Orvalis in front; else the former selection back, Orvalis still
        // open.
        bool pick = way == 2 || way == 3;
        EXPECT_TRUE(pick ? Selected() == button && GetForegroundWindow() == g_main && GetFocus() == g_hTree
                         : way == 4 || (Selected() == former && IsWindowVisible(g_main) && IsWindowVisible(info)))
            << way;
        vector<HWND> now = Owned();
        EXPECT_TRUE(!IsPointing() && includes(before.begin(), before.end(), now.begin(), now.end()) && g_heard == way &&
                    (way == 4 || InfoShows(Selected())))
            << "the click heard, or something left, at " << way;
        Mouse(Centre(button), LEFT_CLICK);
        EXPECT_EQ(g_heard, way + 1) << "a later click kept from its window after " << way;
    }
}

TEST_F(MainWindow, TheNodeMenuAndTheTreesKeysActOnTheNodeAndFindNodesByTextOrHandleRoundAgain)
{
    HWND panel = Window(top, L"Static", L"Panel");
    HWND child = Window(panel, L"Button", L"Child");
    HWND first = Window(child, L"Edit", L"Needle one");
    HWND plain = Window(top, L"Static", L"Hay");
    HWND second = Window(top, L"Static", L"NEEDLE TWO");
    Command(IDC_MAIN_REFRESH);
    Clipboard();   // emptied of what an earlier run copied
    Focus();
    Select(panel);
    Keys({ VK_CONTROL, 'C' });
    EXPECT_EQ(Clipboard(), Line(panel));
    // The branch, collapsed as it is: a line each in the tree's order, indented by its level below the node.
    wstring branch = Line(panel) + L"\r\n\t" + Line(child) + L"\r\n\t\t" + Line(first) + L"\r\n";
    Keys({ VK_CONTROL, VK_SHIFT, 'C' });
    EXPECT_EQ(Clipboard(), branch);

    // Each item has an access key of its own; the texts, and the windows' templates, a satellite lacks are the exe's.
    Texts items = Menu(IDM_DETAILS);
    EXPECT_TRUE(g_popupTitle == L"詳細內容" && Outline() == RECT{} && items[0].find(L'*') < items[0].size())
        << "the details not opened by default, or more done";
    set<wchar_t> keys;
    for (const wstring &item : items) {
        size_t key = item.find(L'&');
        EXPECT_TRUE(key < item.size() && keys.insert(towupper(item[key + 1])).second && item.back() != L'-')
            << item << " greyed, or no key of its own";
    }
    g_hResModule = LoadLibraryExW(BuildFile(L"tests\\bad_captions.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_EQ(Menu(IDM_COPY_BRANCH, [] { Keys({ VK_SHIFT, VK_F10 }); }), items)
        << "Shift+F10, from a satellite made before these texts";
    EXPECT_EQ(Clipboard(), branch);
    // The editor for the node's window, and the log watching it.
    Menu(IDM_EDIT_STYLES);
    EXPECT_EQ(g_popupTitle, L"變更形態 - " + Hex(panel) + L" (Static)");
    Menu(IDM_WATCH);
    HWND log = WindowWith(IDC_LOG_LIST);
    Menu(IDM_FIND_TEXT);
    EXPECT_EQ(GetFocus(), GetDlgItem(FindBox(), IDC_FIND_TEXT));
    for (HWND window : { FindBox(), log })
        DestroyWindow(window);
    g_hResModule = g_hInstance;

    // Shown for about two seconds. (Wine draws a layered window without its opacity, Windows does not.)
    Menu(IDM_SHOW_WHERE);
    EXPECT_TRUE(Outline() == Rect(panel));
    EXPECT_TRUE(WaitFor([] { return Outline() == RECT{}; })) << "the outline stayed";
    // A right click opens the menu of the node under it.
    Menu(IDM_COPY, [&] { Mouse(Label(top), RIGHT_CLICK); });
    EXPECT_EQ(Clipboard(), Line(top));
    // The menu's item refills; with no node, the node's items are greyed.
    HWND late = Window(top, L"Static", L"Late");
    TreeView_SelectItem(g_hTree, nullptr);
    items = Menu(IDM_REFRESH);
    EXPECT_TRUE(NodeOfWindow(late) && items[0].back() == L'-' && items[1].back() != L'-');

    // F3 with no text yet opens the find box, its field with the keyboard.
    Select(panel);
    Focus();
    Keys({ VK_F3 });
    HWND box = FindBox();
    HWND field = GetDlgItem(box, IDC_FIND_TEXT);
    HWND status = GetDlgItem(box, IDC_FIND_STATUS);
    ASSERT_TRUE(box && GetFocus() == field && SendMessageW(field, EM_GETLIMITTEXT, 0, 0) < NODE_LABEL_CHARS)
        << "or it takes more than is searched";
    // Typed (over the last text), then stepped: into a collapsed branch, opened and scrolled to; round again; back;
    // to a handle with 0x, in lower case; a text no node has, the selection kept, the box saying so; Esc, then F3
    // and Shift+F3 from the tree, with the last text.
    const struct {
        wstring typed;
        vector<WORD> keys;
        HWND selected;
    } steps[] = {
        { L"needle", { VK_RETURN }, first },     { L"", { VK_RETURN }, second },
        { L"", { VK_SHIFT, VK_RETURN }, first }, { L"0x" + Hex(plain), { VK_RETURN }, plain },
        { L"zzz", { VK_RETURN }, plain },        { L"needle", { VK_RETURN }, second },
        { L"", { VK_ESCAPE }, second },          { L"", { VK_F3 }, first },
        { L"", { VK_SHIFT, VK_F3 }, second },
    };
    for (const auto &step : steps) {
        if (!step.typed.empty())
            Keys({ VK_CONTROL, 'A' });
        for (wchar_t c : step.typed)
            Keys({ static_cast<WORD>(VkKeyScanW(c) & 0xFF) });
        Keys(step.keys);
        RECT shown;
        EXPECT_TRUE(Selected() == step.selected &&
                    TreeView_GetItemRect(g_hTree, NodeOfWindow(step.selected), &shown, TRUE))
            << step.typed << " " << step.keys[0];
        EXPECT_EQ(Text(status) == String(IDS_FIND_NO_MATCH), step.typed == L"zzz") << step.typed;
    }
    EXPECT_TRUE(!IsWindow(box) && GetFocus() == g_hTree) << "the box left open, or the tree without the keyboard";
}

// The tip shown, and what it says; empty when none is shown.
static wstring Tip()
{
    HWND tip = nullptr;
    while ((tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) && !IsWindowVisible(tip)) {
    }
    return Text(tip);
}

// A point inside a list's cell, of the row of that data.
static POINT Cell(HWND list, LPARAM data, int column)
{
    LVFINDINFOW find = { LVFI_PARAM, nullptr, data };
    RECT cell = {};
    ListView_GetSubItemRect(list, ListView_FindItem(list, -1, &find), column, LVIR_LABEL, &cell);
    POINT point = { cell.left + 4, (cell.top + cell.bottom) / 2 };
    ClientToScreen(list, &point);
    return point;
}

TEST_F(MainWindow, TheInformationWindowShowsEverythingAboutTheSelectedWindowWithoutAskingIt)
{
    const wstring text = L"Probe, with a text far longer than its column, so that a tip shows it whole";
    HWND probe = Window(top, L"OrvalisTest", text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 20, 70, 30, 77);
    SetWindowLongPtrW(probe, GWLP_USERDATA, 0x7EADBEEFCAFEF00D);
    SetWindowLongPtrW(probe, 0, 0x1122334455667788);
    SetWindowLongW(probe, 8, 0x99AABBCC);
    SetPropW(probe, L"OrvalisProperty", reinterpret_cast<HANDLE>(0x123456789ABCDEF0));
    Command(IDC_MAIN_REFRESH);
    SetWindowPos(g_main, nullptr, 0, 0, 500, 450, SWP_NOZORDER);   // room beside it for the information window
    Select(probe);
    Focus();
    Menu(IDM_INFO);
    HWND info = InfoWindow();
    HWND list = GetDlgItem(info, IDC_INFO_LIST);
    RECT main = Rect(g_main);
    RECT placed = Rect(info);
    ASSERT_TRUE(info);
    EXPECT_TRUE(placed.left == main.right && placed.top == main.top && placed.bottom == main.bottom)
        << "not beside the main window, as tall";

    // Every row once, under its heading, in order; the extra bytes after their count, in reads of eight bytes and
    // then four; the properties after them all.
    Texts rows = InfoRows();
    size_t next = 0;
    for (int id = IDS_INFO_WINDOW; id <= IDS_INFO_PROPERTIES; id++) {
        // The menu is a top-level window's.
        wstring row = id == IDS_ROW_MENU ? String(id) : next < rows.size() ? rows[next++] : L"";
        EXPECT_EQ(row.substr(0, row.find(L'\t')), String(id)) << "missing or out of place";
        if (id == IDS_ROW_WINDOW_EXTRA) {
            EXPECT_EQ(Texts(rows.begin() + next, rows.begin() + next + 2),
                      (Texts{ L"+0\t1122334455667788", L"+8\t99AABBCC" }));
            next += 2;
        }
    }
    EXPECT_EQ(Texts(rows.begin() + next, rows.end()), Texts{ L"OrvalisProperty\t123456789ABCDEF0" });
    // Values as the system has them, in their formats.
    RECT r = Rect(probe);
    wstring rect = to_wstring(r.left) + L", " + to_wstring(r.top) + L", " + to_wstring(r.right) + L", " +
                   to_wstring(r.bottom) + L" (70 \x00D7 30)";
    const pair<int, wstring> values[] = {
        { IDS_ROW_TEXT, text },
        { IDS_ROW_CONTROL_ID, L"77" },
        { IDS_ROW_WINDOW_RECT, rect },
        { IDS_ROW_STYLE, L"50010000 WS_CHILD WS_MAXIMIZEBOX WS_VISIBLE" },
        { IDS_ROW_USER_DATA, L"7EADBEEFCAFEF00D" },
        { IDS_ROW_PARENT, Hex(top) + L" (OrvalisTest)" },
        { IDS_ROW_CLASS_STYLE, L"8 CS_DBLCLKS" },
        { IDS_ROW_WINDOW_EXTRA, L"12" },
        { IDS_ROW_BACKGROUND, L"COLOR_WINDOW" },
        { IDS_ROW_FOCUS, Hex(g_hTree) + L" (SysTreeView32)" },
        { IDS_ROW_CHARSET, String(IDS_CHARSET_UNICODE) },
    };
    for (auto [id, value] : values)
        EXPECT_EQ(InfoRow(String(id)), value) << String(id);
    // A value its column cuts shows whole in a tip while the pointer rests on it.
    Mouse(Cell(list, IDS_ROW_TEXT, 1));
    EXPECT_TRUE(WaitFor([&] { return Tip() == text; })) << "no tip, or not the whole value";

    // No node, no rows.
    Command(IDC_MAIN_REFRESH);
    EXPECT_TRUE(InfoRows().empty()) << "rows with no node selected, after a refill";
    Select(probe);
    // Clicked, it has the keys: Enter on a style's row opens the style editor; Ctrl+A and Ctrl+C copy every row, a
    // line each; Esc closes it for the tree.
    Mouse(Cell(list, IDS_ROW_EXSTYLE, 0), LEFT_CLICK);
    WithPopup([] { Keys({ VK_RETURN }); });
    EXPECT_TRUE(IsWindowVisible(info) && g_popupTitle == L"變更形態 - " + Hex(probe) + L" (OrvalisTest)");
    EXPECT_TRUE(CopiesEveryRow(list, InfoRows()));
    Keys({ VK_ESCAPE });
    EXPECT_TRUE(!IsWindow(info) && GetFocus() == g_hTree);
}

TEST_F(Details, ShowsAChildInItsParentsCoordinatesWithItsRelativesAndStyles)
{
    // Its parent mirrored, as right-to-left programs make theirs: the client x runs from the right edge.
    HWND mirror = Window(top, L"Static", L"Mirror", WS_CHILD | WS_VISIBLE, 0, 0, 300, 100, 0, WS_EX_LAYOUTRTL);
    HWND before = Window(mirror, L"Static", L"Before", WS_CHILD);
    HWND button = Window(mirror, L"Button", L"Press", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 17, 23, 90, 30, 4321);
    HWND after = Window(mirror, L"Static", L"After", WS_CHILD);
    HWND child = Window(button, L"Static", L"Child", WS_CHILD);
    Open(button);
    EXPECT_EQ(Shown(), (Texts{ L"Press", L"Button", L"17", L"23", L"90", L"30", Hex(button), L"4321", L"2 of 4",
                               L"0 of 5", L"off", L"on", L"off" }));
    EXPECT_EQ(Field(IDC_DETAILS_STYLE_CAPTION), L"視窗形態 : 50010000");
    // The widest name shown fits its column with the list's label margin; the value column ends inside.
    HWND list = GetDlgItem(dialog, IDC_DETAILS_EXSTYLE_LIST);
    int widest = ListView_GetStringWidth(list, L"WS_EX_RIGHTSCROLLBAR");
    EXPECT_TRUE(widest + 12 <= ListView_GetColumnWidth(list, 0) && ColumnsFit(list));
    EXPECT_EQ(Relative(0), (Texts{ L"主視窗", L"Mirror", L"Static", Hex(mirror) }));
    // The siblings and the child, each under a tab of its own.
    Texts relatives;
    for (int tab = 2; tab < TabCtrl_GetItemCount(GetDlgItem(dialog, IDC_DETAILS_RELATIVES_TAB)); tab++)
        relatives.push_back(Relative(tab)[3]);
    EXPECT_EQ(relatives, (Texts{ Hex(before), Hex(after), Hex(child) }));
    // Placed where the fields say, so that a press leaves unedited values where they are; and nothing more done.
    SetDlgItemTextW(dialog, IDC_DETAILS_LEFT, L"-30");
    Press(IDC_DETAILS_SET_RECT, PRIORITY_IDLE, IDC_DETAILS_PRIORITY);
    Open(button);
    EXPECT_TRUE(Field(IDC_DETAILS_LEFT) == L"-30" && GetPriorityClass(GetCurrentProcess()) == NORMAL_PRIORITY_CLASS);

    // Bits its class names nothing for show as they are; read as a Button, as its names.
    const DWORD popup = WS_POPUP | WS_DISABLED | 0x0401;
    HWND owned = Window(top, L"OrvalisTest", L"Owned", popup, -120, -45, 333, 222, 0, WS_EX_TOPMOST);
    Open(owned);
    EXPECT_EQ(Shown(), (Texts{ L"Owned", L"OrvalisTest", L"-120", L"-45", L"333", L"222", Hex(owned), L"0", L"2 of 4",
                               L"0 of 4", L"on", L"off", L"on" }));
    EXPECT_EQ(Panel(IDC_DETAILS_CLASSSTYLE_LIST), Texts{ L"CS_DBLCLKS\t8" });
    EXPECT_EQ(Panel(IDC_DETAILS_STYLE_LIST),
              (Texts{ L"00000001\t", L"00000400\t", L"WS_CLIPSIBLINGS\t4000000", L"WS_DISABLED\t8000000",
                      L"WS_OVERLAPPED\t0", L"WS_POPUP\t80000000" }));
    Press(IDC_DETAILS_CLASS_LIST, 0, IDC_DETAILS_CLASS_LIST);
    EXPECT_EQ(Panel(IDC_DETAILS_STYLE_LIST),
              (Texts{ L"BS_DEFPUSHBUTTON\t1", L"BS_TEXT\t0", L"BS_TOP\t400", L"WS_CLIPSIBLINGS\t4000000",
                      L"WS_DISABLED\t8000000", L"WS_OVERLAPPED\t0", L"WS_POPUP\t80000000" }));
}

TEST_F(Details, TextGoesBackWholeAndOnlyByItsButton)
{
    // One past what the first read holds, and far past it.
    HWND target = Window(top, L"OrvalisTest", L"", WS_POPUP);
    for (size_t length : { 256, 100000 }) {
        wstring text = wstring(length - 1, L'a') + L'z';
        SetWindowTextW(target, text.c_str());
        Open(target);
        EXPECT_EQ(Field(IDC_DETAILS_TEXT), text) << length;
    }
    SetDlgItemTextW(dialog, IDC_DETAILS_TEXT, L"Short");
    Press(IDC_DETAILS_SET_TEXT);
    EXPECT_EQ(Text(target), L"Short");
    // Misreported lengths: the field keeps at least the plain read, no read asks past its heap buffer, and the text
    // goes back no shorter.
    SetWindowLongPtrW(target, GWLP_USERDATA, MISREPORTS_LENGTH);
    for (LRESULT lie : { LRESULT(300), LRESULT(-1), LRESULT(0x7FFFFFFFFFFFFFFF) }) {
        g_lengthLie = lie;
        SetWindowTextW(target, wstring(600, L'q').c_str());
        Open(target);
        wstring shown = Field(IDC_DETAILS_TEXT);
        wchar_t kept[700] = L"";
        EXPECT_EQ(shown, wstring(600, L'q').substr(0, max<size_t>(shown.size(), 255))) << lie;
        Press(IDC_DETAILS_SET_TEXT);
        EXPECT_GE(InternalGetWindowText(target, kept, 700), static_cast<int>(shown.size())) << lie;
    }
}

TEST_F(Details, ButtonsBoxesAndCommandsChangeTheTarget)
{
    // The boxes on, then off; the extended panel shows what the system made of topmost.
    Open(top);
    for (bool on : { true, false }) {
        for (int box : { IDC_DETAILS_TOPMOST, IDC_DETAILS_VISIBLE, IDC_DETAILS_DISABLED })
            Press(box);
        Texts ex = Panel(IDC_DETAILS_EXSTYLE_LIST);
        bool topmost = count(ex.begin(), ex.end(), L"WS_EX_TOPMOST\t8") == 1;
        EXPECT_TRUE(topmost == on && IsWindowVisible(top) != on && IsWindowEnabled(top) != on) << on;
    }
    const struct {
        int entry;
        BOOL zoomed, iconic;
    } commands[] = {
        { COMMAND_MAXIMIZE, TRUE, FALSE },
        { COMMAND_MINIMIZE, FALSE, TRUE },
        { COMMAND_RESTORE, TRUE, FALSE },
        { COMMAND_RESTORE, FALSE, FALSE },
    };
    for (const auto &c : commands) {
        Press(IDC_DETAILS_EXECUTE, c.entry);
        EXPECT_TRUE(IsZoomed(top) == c.zoomed && IsIconic(top) == c.iconic) << "entry " << c.entry;
    }
    // Asked twice, since SC_CLOSE alone may be ignored; a refusal keeps the dialog.
    SetWindowLongPtrW(top, GWLP_USERDATA, REFUSES_CLOSE);
    Press(IDC_DETAILS_EXECUTE, COMMAND_CLOSE);
    EXPECT_TRUE(g_closeRequests == 2 && IsWindowVisible(dialog)) << "not asked twice, or the dialog ended";
    SetWindowLongPtrW(top, GWLP_USERDATA, 0);
    Press(IDC_DETAILS_EXECUTE, COMMAND_CLOSE);
    EXPECT_FALSE(IsWindowVisible(dialog)) << "the dialog stays for a closed window";
}

// Of the style editor: a list's row by its names, checked or cleared from the keyboard as a user does it, the row
// focused, then Space; and the row's box.
static int EditorRow(HWND editor, int listId, const wchar_t *names)
{
    LVFINDINFOW find = { LVFI_STRING, names };
    return ListView_FindItem(GetDlgItem(editor, listId), -1, &find);
}

static void Toggle(HWND editor, int listId, const wchar_t *names)
{
    HWND list = GetDlgItem(editor, listId);
    const UINT focused = LVIS_FOCUSED | LVIS_SELECTED;
    ListView_SetItemState(list, EditorRow(editor, listId, names), focused, focused);
    SetForegroundWindow(editor);
    SetFocus(list);
    Keys({ VK_SPACE });
}

static bool IsChecked(HWND editor, int listId, const wchar_t *names)
{
    return ListView_GetCheckState(GetDlgItem(editor, listId), EditorRow(editor, listId, names));
}

static DWORD StyleOf(HWND window, int which = GWL_STYLE)
{
    return static_cast<DWORD>(GetWindowLongPtrW(window, which));
}

TEST_F(Details, TheStyleEditorSwitchesEveryNamedFlagThroughTheRightCallAndSaysWhatTheWindowDidNotKeep)
{
    const DWORD button = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_NOTIFY;
    HWND target = Window(top, L"Button", L"Press", button, 10, 10, 80, 30);
    Open(IDD_STYLES, StyleEditorProc, target);
    // A flag on and off, as the rules have it for every row.
    Toggle(dialog, IDC_STYLES_STYLE_LIST, L"WS_BORDER");
    EXPECT_TRUE(StyleOf(target) == (button | WS_BORDER) && IsChecked(dialog, IDC_STYLES_STYLE_LIST, L"WS_BORDER"));
    Toggle(dialog, IDC_STYLES_STYLE_LIST, L"WS_BORDER");
    EXPECT_EQ(StyleOf(target), button);
    // A value typed is written whole, by Enter in its field; the undo puts back both styles as they were.
    SetDlgItemTextW(dialog, IDC_STYLES_EXSTYLE_VALUE, L"0x200");
    SetFocus(GetDlgItem(dialog, IDC_STYLES_EXSTYLE_VALUE));
    Keys({ VK_RETURN });
    EXPECT_TRUE(StyleOf(target, GWL_EXSTYLE) == WS_EX_CLIENTEDGE &&
                IsChecked(dialog, IDC_STYLES_EXSTYLE_LIST, L"WS_EX_CLIENTEDGE"));
    Keys({ VK_MENU, 'U' });
    EXPECT_TRUE(StyleOf(target) == button && StyleOf(target, GWL_EXSTYLE) == 0 &&
                Field(IDC_STYLES_STATUS) == String(IDS_STYLES_RESTORED));

    // The bits the system keeps, through its own calls: heard by the window, and as the system sees them.
    SetWindowLongPtrW(top, GWLP_USERDATA, REFUSES_HSCROLL);
    Open(IDD_STYLES, StyleEditorProc, top);
    const struct {
        int list;
        const wchar_t *names;
        UINT heard;
        function<bool()> done;
    } kept[] = {
        { IDC_STYLES_STYLE_LIST, L"WS_VISIBLE", WM_SHOWWINDOW, [&] { return !IsWindowVisible(top); } },
        { IDC_STYLES_STYLE_LIST, L"WS_DISABLED", WM_ENABLE, [&] { return !IsWindowEnabled(top); } },
        { IDC_STYLES_EXSTYLE_LIST, L"WS_EX_TOPMOST", WM_WINDOWPOSCHANGING,
          [&] { return (StyleOf(top, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; } },
        { IDC_STYLES_STYLE_LIST, L"WS_MAXIMIZE", WM_GETMINMAXINFO, [&] { return IsZoomed(top) != FALSE; } },
    };
    for (const auto &bit : kept) {
        g_messages.clear();
        Toggle(dialog, bit.list, bit.names);
        bool heard = count(g_messages.begin(), g_messages.end(), bit.heard) > 0;
        EXPECT_TRUE(bit.done() && heard && Field(IDC_STYLES_STATUS).empty()) << bit.names;
    }
    // A bit the window refuses is named, and shown as it is.
    Toggle(dialog, IDC_STYLES_STYLE_LIST, L"WS_HSCROLL");
    EXPECT_TRUE(!(StyleOf(top) & WS_HSCROLL) && !IsChecked(dialog, IDC_STYLES_STYLE_LIST, L"WS_HSCROLL"));
    EXPECT_EQ(Field(IDC_STYLES_STATUS), String(IDS_STYLES_NOT_TAKEN) + L"WS_HSCROLL");

    // Nothing is written to a window that does not answer, and Orvalis answers meanwhile.
    HWND hung = HungWindow();
    PostMessageW(hung, WM_APP, 0, 0);
    Open(IDD_STYLES, StyleEditorProc, hung);
    DWORD start = GetTickCount();
    Toggle(dialog, IDC_STYLES_STYLE_LIST, L"WS_BORDER");
    EXPECT_TRUE(GetTickCount() - start < 1000 && Field(IDC_STYLES_STATUS) == String(IDS_STYLES_HUNG) &&
                !(StyleOf(hung) & WS_BORDER));
    SetEvent(g_thaw);
}

// The built exe, with its satellite, as the other program whose windows these dialogs change and the log watches
// across processes.
using Program = Dialogs;

// A process this case starts, ended as the case ends however it does: under Wine one left running holds ctest's
// output open.
struct Started {
    PROCESS_INFORMATION process = {};

    Started(const wstring &exe, const wstring &arguments = L"")
    {
        wstring line = L"\"" + exe + L"\" " + arguments;
        STARTUPINFOW startup = { sizeof startup };
        CreateProcessW(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    }

    ~Started() { TerminateProcess(process.hProcess, 1); }
};

TEST_F(Program, SpeaksItsSatellitesLanguageAndHasItsWindowsChangedFromAnotherProcess)
{
    wstring exe = BuildFile(L"orvalis.exe");
    ASSERT_TRUE(CopyFileW(BuildFile(L"satellite\\orvalis.exe.mui").c_str(), (exe + L".mui").c_str(), FALSE));
    Started orvalis(exe);
    HWND other = nullptr;
    WaitFor([&] { return IsWindowVisible(other = FindWindowW(nullptr, L"Orvalis version 1.0")); }, 15000);
    DeleteFileW((exe + L".mui").c_str());
    ASSERT_NE(other, nullptr) << "the satellite was not used";

    ASSERT_TRUE(SetPriorityClass(orvalis.process.hProcess, ABOVE_NORMAL_PRIORITY_CLASS));
    Open(GetDlgItem(other, IDC_MAIN_REFRESH));
    Press(IDC_DETAILS_SET_PRIORITY, PRIORITY_HIGH, IDC_DETAILS_PRIORITY);
    EXPECT_EQ(GetPriorityClass(orvalis.process.hProcess), static_cast<DWORD>(HIGH_PRIORITY_CLASS));
    // Clicked, the other's refresh button refills its tree, which now holds this dialog.
    UINT nodes = TreeView_GetCount(GetWindow(other, GW_CHILD));
    Press(IDC_DETAILS_EXECUTE, COMMAND_CLICK);
    EXPECT_TRUE(nodes && TreeView_GetCount(GetWindow(other, GW_CHILD)) > nodes)
        << "listed nothing at its start, or not refilled";
    Open(other);
    Press(IDC_DETAILS_EXECUTE, COMMAND_CLOSE);
    WaitForSingleObject(orvalis.process.hProcess, 15000);
    DWORD code = STILL_ACTIVE;
    EXPECT_TRUE(GetExitCodeProcess(orvalis.process.hProcess, &code) && code == 0)
        << "still running, or ended with " << code;
}

// The log's rows whole, and its lines of one window: each its kind, its message, " = " and its result when it has
// one, and its parameters.
static Texts LogRows(HWND log) { return Rows(GetDlgItem(log, IDC_LOG_LIST), 7); }

static Texts LogLines(HWND log, HWND window)
{
    Texts lines;
    for (const wstring &row : LogRows(log)) {
        Texts column = Split(row, L"\t");
        wstring result = column[6].empty() ? L"" : L" = " + column[6];
        if (column[2] == Hex(window))
            lines.push_back(column[3] + L" " + column[4] + result + L" " + column[5]);
    }
    return lines;
}

// How many of the lines expected are among the lines in their order, each known by what it begins with; others
// may come between them.
static size_t InOrder(const Texts &lines, const Texts &expected)
{
    size_t found = 0;
    for (const wstring &line : lines) {
        if (found < expected.size() && line.rfind(expected[found], 0) == 0)
            found++;
    }
    return found;
}

static wstring LogStatus(HWND log) { return Text(GetDlgItem(log, IDC_LOG_STATUS)); }

TEST_F(Program, TheLogWatchesAnotherProgramsWindowAndLeavesItAsItWas)
{
    Started helper(BuildFile(L"tests\\dialog_tests.exe"), L"--helper");
    HWND watched = nullptr;
    HWND child = nullptr;
    ASSERT_TRUE(
        WaitFor([&] { return (child = GetWindow(watched = FindWindowW(nullptr, L"Helper"), GW_CHILD)); }, 15000));
    Command(IDC_MAIN_REFRESH);
    DWORD_PTR unwatched = SendMessageW(watched, FLOOD, 400, 0);
    Select(watched);
    Focus();
    Keys({ VK_CONTROL, 'M' });
    HWND log = WindowWith(IDC_LOG_LIST);
    HWND list = GetDlgItem(log, IDC_LOG_LIST);
    ASSERT_TRUE(IsWindowVisible(log) && GetFocus() == g_hTree && IsWatching()) << "not opened, or the keyboard taken";

    // Sent and returned with the result and text, posted, a registered message by its name: in order, soon, from 1;
    // and nothing of the child's. The texts are the window's own: under Wine the hooks of a message sent from
    // another process see the sender's pointer, and Wine 8 gives the returned one a result of 0.
    // First a text at an address the other program has nothing at, where Wine points its hooks: the watching goes on.
    void *aloof =
        VirtualAlloc(reinterpret_cast<void *>(0x600000000000), 1 << 16, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_TRUE(aloof);
    SendMessageW(watched, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(aloof));
    SendMessageW(watched, FLOOD, 0, 0);
    SendMessageW(child, WM_NULL, 0, 0);
    PostMessageW(watched, RegisterWindowMessageW(L"OrvalisTestMessage"), 1, 2);
    DWORD posted = GetTickCount();
    PostMessageW(watched, WM_USER + 5, 3, 4);
    // Wine 10 gives the hook of a returned WM_GETTEXT a buffer of its own, with nothing in it.
    auto wine = reinterpret_cast<const char *(*)()>(GetProcAddress(GetModuleHandleW(L"ntdll"), "wine_get_version"));
    wstring gave = wine && atoi(wine()) >= 10 ? L"" : L" text:\"Watched\"";
    const Texts expected = {
        L"S WM_APP+1",
        L"S WM_SETTEXT text:\"Watched\"",
        L"R WM_SETTEXT = 0000000000000001",
        L"S WM_GETTEXT wParam:0000000000000010",
        L"R WM_GETTEXT = 7" + gave,
        L"R WM_APP+1",
        L"P OrvalisTestMessage wParam:0000000000000001 lParam:0000000000000002",
        L"P WM_USER+5 wParam:0000000000000003 lParam:0000000000000004",
    };
    ASSERT_TRUE(WaitFor([&] { return InOrder(LogLines(log, watched), expected) == expected.size(); }));
    EXPECT_LT(GetTickCount() - posted, 300u) << "listed late";
    Texts rows = LogRows(log);
    EXPECT_TRUE(stoi(rows[0]) == 1 && LogLines(log, child).empty()) << "not numbered from 1, or the child's";
    EXPECT_TRUE(CopiesEveryRow(list, rows));

    // Cleared, the numbers go on; the scope of the window and its descendants begins anew, with the child's
    // messages. (Under Wine a thread's messages after its hooks are set again can run without them until one comes
    // from its queue.)
    Keys({ VK_MENU, 'L' });
    SendMessageW(watched, WM_NULL, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return ListView_GetItemCount(list) && stoi(LogRows(log)[0]) > 1; }));
    Keys({ VK_MENU, 'S' });
    Keys({ VK_DOWN });
    auto childHeard = [&] {
        PostMessageW(child, WM_NULL, 0, 0);
        return !LogLines(log, child).empty();
    };
    ASSERT_TRUE(WaitFor(childHeard)) << "the descendants not watched";
    EXPECT_EQ(stoi(LogRows(log)[0]), 1) << "not begun anew";

    // A flood that finds the section full is counted as lost; the keys are answered while the program floods.
    SendMessageW(watched, FLOOD, 6000, 0);
    EXPECT_TRUE(WaitFor([&] { return LogStatus(log).find(String(IDS_LOG_LOST)) == 0; })) << LogStatus(log);
    SetFocus(list);
    for (int i = 0; i < 4000; i++)
        PostMessageW(watched, WM_NULL, 0, 0);
    DWORD pressed = GetTickCount();
    Keys({ VK_CONTROL, 'A' });
    Keys({ VK_DOWN });
    EXPECT_LT(GetTickCount() - pressed, 400u) << "the keys waited for the flood, or a step for the others to clear";
    DWORD_PTR watchedTime = SendMessageW(watched, FLOOD, 400, 0);

    // Closed, it leaves no hook behind: the program's messages are as fast as before. (Under Wine a hook costs about
    // a tenth of a millisecond a message, far more than the message.)
    Keys({ VK_ESCAPE });
    DWORD_PTR after = SendMessageW(watched, FLOOD, 400, 0);
    EXPECT_TRUE(!IsWindow(log) && !IsWatching() && GetFocus() == g_hTree);
    EXPECT_LT(after, unwatched + (watchedTime - unwatched) / 4) << unwatched << " ms, " << watchedTime << " watched";
    // A log gone without a word, as when Orvalis is killed, is gone with its bell: the library writes no more.
    Keys({ VK_CONTROL, 'M' });
    log = WindowWith(IDC_LOG_LIST);
    auto listing = [&] {
        SendMessageW(watched, WM_NULL, 0, 0);
        return ListView_GetItemCount(GetDlgItem(log, IDC_LOG_LIST)) > 0;
    };
    EXPECT_TRUE(WaitFor(listing));
    DestroyWindow(FindWindowExW(HWND_MESSAGE, nullptr, LOG_BELL_CLASS, nullptr));
    Rest(300);
    Texts listed = LogRows(log);
    SendMessageW(watched, WM_NULL, 0, 0);
    Rest(200);
    EXPECT_EQ(LogRows(log), listed) << "written after the bell went";
    // Begun anew, then the window's end: its last messages, then the log says it is gone, and watches no more.
    Keys({ VK_CONTROL, 'M' });
    ASSERT_TRUE(WaitFor(listing));
    PostMessageW(watched, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return LogStatus(log) == String(IDS_LOG_GONE); }));
    EXPECT_TRUE(!IsWatching() && LogLines(log, watched).back().rfind(L"R WM_NCDESTROY", 0) == 0);
}

// Started with --helper, this test is another program for the log to watch: a window with a child.
int main(int argc, char **argv)
{
    if (argc > 1 && string(argv[1]) == "--helper") {
        WNDCLASSW wc = { 0, TestWindowProc };
        wc.lpszClassName = L"OrvalisTest";
        RegisterClassW(&wc);
        HWND window = CreateWindowExW(0, wc.lpszClassName, L"Helper", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 500, 300,
                                      200, nullptr, nullptr, nullptr, nullptr);
        CreateWindowExW(0, L"Static", L"Child", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, window, nullptr, nullptr, nullptr);
        for (MSG msg; GetMessageW(&msg, nullptr, 0, 0);)
            DispatchMessageW(&msg);
        return 0;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
