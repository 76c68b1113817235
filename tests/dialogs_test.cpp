// The main window, the details dialog, the information window and the find box from their real templates and
// procedures, over windows the test makes, by real input where input matters; and in one case the built exe as another
// process.
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include "support.h"
#include <psapi.h>
#include "app/shared.h"
#include "details/details_dialog.h"
#include "details/details_rules.h"
#include "resources/resource.h"
#include "styles/style_names.h"
#include "tree/main_dialog.h"
#include "tree/node_index.h"
#include "tree/pointing.h"
#include "tree/window_tree.h"

static std::wstring Hex(HWND window)
{
    wchar_t text[16];
    return wsprintfW(text, L"%lX", static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(window))), text;
}
static std::wstring String(int id)
{
    wchar_t text[256] = L"";
    return LoadStringW(nullptr, id, text, 256), text;
}
static std::wstring Text(HWND window)
{
    std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
    return text.resize(GetWindowTextW(window, &text[0], static_cast<int>(text.size()))), text;
}
static RECT Rect(HWND window)
{
    RECT r = {};
    return GetWindowRect(window, &r), r;
}
static POINT Centre(HWND window)
{
    RECT r = Rect(window);
    return { (r.left + r.right) / 2, (r.top + r.bottom) / 2 };
}
static bool operator==(const RECT &a, const RECT &b) { return EqualRect(&a, &b); }
static SIZE_T CommittedBytes()
{
    PROCESS_MEMORY_COUNTERS counters = { sizeof counters };
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters), counters.PagefileUsage;
}
// The bytes more the process has committed after a step done again and again.
template <class Step> static SSIZE_T Growth(int times, Step step)
{
    SIZE_T before = CommittedBytes();
    while (times--)
        step();
    return CommittedBytes() - before;
}

// GWLP_USERDATA picks a behaviour: 1 refuses to close, counting; 2 fills the text buffer unterminated; 3 answers
// g_lengthLie; 4 answers for its icon with no icon; 5, asked its text by the first fill, notes the cursor and sends a
// visible-box click, two refills and Cancel.
static HWND g_main, g_doomed, g_hung;
static int g_closeRequests, g_textAsks, g_refilled, g_heard;
static HANDLE g_thaw;
static HCURSOR g_fillCursor;
static LRESULT g_lengthLie;
static LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LONG_PTR kind = GetWindowLongPtrW(window, GWLP_USERDATA);
    g_heard += message == WM_COMMAND || message == WM_CONTEXTMENU;   // a click on a child button, a right click
    if (message == WM_APP)
        WaitForSingleObject(g_thaw, INFINITE);   // hung
    if (message == WM_CLOSE && kind == 1)
        return g_closeRequests++, 0;
    if (message == WM_GETTEXTLENGTH && kind == 3)
        return g_lengthLie;
    EXPECT_TRUE((kind != 2 && kind != 3) || message != WM_GETTEXT ||
                wParam < HeapSize(GetProcessHeap(), 0, reinterpret_cast<void *>(lParam)) / sizeof(wchar_t))
        << "past the buffer, or no terminator spare";
    if (message == WM_GETTEXT && kind == 2)
        return std::fill(reinterpret_cast<wchar_t *>(lParam), reinterpret_cast<wchar_t *>(lParam) + wParam, L'x'),
               wParam;
    if (message == WM_GETTEXT && kind == 5 && g_textAsks++ == 0) {
        g_fillCursor = GetCursor();
        SendMessageW(g_main, WM_COMMAND, IDC_MAIN_VISIBLE,
                     reinterpret_cast<LPARAM>(GetDlgItem(g_main, IDC_MAIN_VISIBLE)));
        for (WPARAM command : { IDC_MAIN_REFRESH, IDC_MAIN_ORDER_BY_TITLE, IDCANCEL })
            SendMessageW(g_main, WM_COMMAND, command, 0);
    }
    if ((message == WM_QUERYDRAGICON || message == WM_GETICON) && kind == 4)
        return message == WM_QUERYDRAGICON ? reinterpret_cast<LRESULT>(window) : 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

// This thread's messages as the main window's modal loop handles them (its filter, then its dialog keys); until done().
static void Pump()
{
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
        if (!CallMsgFilterW(&msg, MSGF_DIALOGBOX) && !IsDialogMessageW(g_main, &msg))
            TranslateMessage(&msg), DispatchMessageW(&msg);
}
template <class Done> static bool WaitFor(Done done, DWORD ms = 4000)
{
    for (DWORD start = GetTickCount(); !done() && GetTickCount() - start < ms; Sleep(5))
        Pump();
    return done();
}
// Real input; then, unless inside a menu's own loop, pumped until a marker key (F24) sent after it is taken, wherever
// it goes, and once more. The hook also hears the X server's echo of the pointer put at g_put.
static bool g_marked, g_echoed;
static POINT g_put = { -1, -1 };
static LRESULT CALLBACK NoteInput(int code, WPARAM message, LPARAM event)
{
    const MSLLHOOKSTRUCT *mouse = reinterpret_cast<const MSLLHOOKSTRUCT *>(event);
    g_marked |=
        code == HC_ACTION && message == WM_KEYUP && reinterpret_cast<const KBDLLHOOKSTRUCT *>(event)->vkCode == VK_F24;
    g_echoed |= code == HC_ACTION && message == WM_MOUSEMOVE && !(mouse->flags & LLMHF_INJECTED) &&
                mouse->pt.x == g_put.x && mouse->pt.y == g_put.y;
    return CallNextHookEx(nullptr, code, message, event);
}
static INPUT Key(WORD key, DWORD flags = 0)
{
    INPUT in = { INPUT_KEYBOARD };
    return in.ki.wVk = key, in.ki.dwFlags = flags, in;
}
static void Input(std::vector<INPUT> inputs, bool pump = true)
{
    if (pump)
        inputs.push_back(Key(VK_F24)), inputs.push_back(Key(VK_F24, KEYEVENTF_KEYUP)), g_marked = false;
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    EXPECT_TRUE(!pump || (WaitFor([] { return g_marked; }) && (Pump(), true))) << "input lost";
}
// Keys pressed in order (modifiers first) and released in reverse; or typed, one after another.
static void Keys(std::vector<WORD> keys, bool pump = true)
{
    std::vector<INPUT> in;
    for (size_t i = 0, n = keys.size(); i < 2 * n; i++)
        in.push_back(i < n ? Key(keys[i]) : Key(keys[2 * n - 1 - i], KEYEVENTF_KEYUP));
    Input(in, pump);
}
static void Type(const std::wstring &text)
{
    for (wchar_t c : text)
        Keys({ static_cast<WORD>(VkKeyScanW(c) & 0xFF) });
}
// Moves the pointer there, then presses the buttons told (MOUSEEVENTF_ flags) there. SendInput leaves the X pointer
// behind, and Wine's GetCursorPos answers where that is once its own record is 100 ms old: it is put there too, its
// echo awaited lest it come late (none comes over the bare desktop).
static void Mouse(POINT at, DWORD buttons = 0)
{
    INPUT move = { INPUT_MOUSE };
    move.mi = { (at.x * 65536 + 32768) / GetSystemMetrics(SM_CXSCREEN),
                (at.y * 65536 + 32768) / GetSystemMetrics(SM_CYSCREEN), 0, MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE };
    std::vector<INPUT> clicks;
    for (DWORD flag = MOUSEEVENTF_LEFTDOWN; flag <= MOUSEEVENTF_RIGHTUP; flag <<= 1)
        if (buttons & flag)
            clicks.push_back(move), clicks.back().mi.dwFlags |= flag;
    if (at.x != g_put.x || at.y != g_put.y)
        g_put = at, g_echoed = false, SetCursorPos(at.x, at.y), WaitFor([] { return g_echoed; }, 200);
    if (Input({ move }), !clicks.empty())
        Input(clicks);
}
static const DWORD LEFT_CLICK = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP,
                   RIGHT_CLICK = MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_RIGHTUP;
// What the clipboard holds; then emptied but for a marker, which a copy must take away with the rest.
static std::wstring Clipboard()
{
    HANDLE data = OpenClipboard(nullptr) ? GetClipboardData(CF_UNICODETEXT) : nullptr;
    std::wstring text = (data ? static_cast<const wchar_t *>(GlobalLock(data)) : L"") +
                        std::wstring(IsClipboardFormatAvailable(CF_DIF) ? L" (and the marker)" : L"");
    return GlobalUnlock(data), EmptyClipboard(), SetClipboardData(CF_DIF, GlobalAlloc(GMEM_MOVEABLE, 1)),
           CloseClipboard(), text;
}

// The first node, depth first, for which found(node) holds; null for none.
template <class Found> static HTREEITEM Search(Found found, HTREEITEM first = TreeView_GetRoot(g_hTree))
{
    for (HTREEITEM item = first; item; item = TreeView_GetNextSibling(g_hTree, item))
        if (HTREEITEM hit = found(item) ? item : Search(found, TreeView_GetChild(g_hTree, item)))
            return hit;
    return nullptr;
}
static HTREEITEM Find(HWND window)
{
    return Search([=](HTREEITEM item) { return GetNodeWindow(item) == window; });
}
static HWND Selected() { return GetNodeWindow(TreeView_GetSelection(g_hTree)); }
// A node's label, and its image, which must also be its selected image.
static std::pair<std::wstring, int> Node(HTREEITEM item)
{
    wchar_t text[NODE_LABEL_CHARS] = L"";
    TVITEMW tv = { TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, item, 0, 0, text, NODE_LABEL_CHARS };
    EXPECT_TRUE(TreeView_GetItem(g_hTree, &tv) && tv.iImage == tv.iSelectedImage)
        << "no such node, or another picture when selected";
    return { text, tv.iImage };
}
// A window's node as the copies give it, and where its label is on the screen.
static std::wstring Line(HWND window) { return Node(Find(window)).first + L"\t" + Hex(window); }
static POINT Label(HWND window)
{
    RECT row = {};
    return TreeView_GetItemRect(g_hTree, Find(window), &row, TRUE),
           MapWindowPoints(g_hTree, nullptr, reinterpret_cast<POINT *>(&row), 2), POINT{ row.left + 2, row.top + 2 };
}

// A list view's rows as "name\tvalue", a heading (marked in its data) alone; whether its two columns fill it, but for a
// scroll bar.
static Texts Rows(HWND list)
{
    Texts rows;
    for (int row = 0; row < ListView_GetItemCount(list); row++) {
        wchar_t name[256] = L"", value[1100] = L"";
        LVITEMW item = { LVIF_PARAM | LVIF_TEXT, row, 0, 0, 0, name, 256 };
        ListView_GetItem(list, &item);
        ListView_GetItemText(list, row, 1, value, 1100);
        rows.push_back(item.lParam ? name : std::wstring(name) + L"\t" + value);
    }
    return rows;
}
static bool ColumnsFit(HWND list)
{
    RECT client;
    GetClientRect(list, &client);
    int width = ListView_GetColumnWidth(list, 0) + ListView_GetColumnWidth(list, 1);
    return width <= client.right && width >= client.right - GetSystemMetrics(SM_CXVSCROLL);
}
// The information window and the find box; the rows of the one, and the value of a row by its name ("?" for none).
static HWND Info() { return FindWindowW(L"#32770", L"視窗資訊"); }
static HWND FindBox() { return FindWindowW(L"#32770", L"尋找文字"); }
static Texts InfoRows() { return Rows(GetDlgItem(Info(), IDC_INFO_LIST)); }
static std::wstring InfoRow(int nameId)
{
    for (const std::wstring &row : InfoRows())
        if (row.rfind(String(nameId) + L"\t", 0) == 0)
            return row.substr(row.find(L'\t') + 1);
    return L"?";
}
static bool InfoShows(HWND window) { return window ? InfoRow(IDS_ROW_HANDLE) == Hex(window) : InfoRows().empty(); }

// A click on control `id` of a dialog; a check box toggles first, as under a click.
static void Click(HWND dialog, int id, WORD code = BN_CLICKED)
{
    HWND control = GetDlgItem(dialog, id);
    if (code == BN_CLICKED && (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX)
        CheckDlgButton(dialog, id, IsDlgButtonChecked(dialog, id) ? BST_UNCHECKED : BST_CHECKED);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}
// Runs the script inside the modal loop of the next window the main window shows, then cancels that window; keeps its
// caption.
static void (*g_script)();
static std::wstring g_popupTitle;
static void CALLBACK RunScript(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND popup = GetLastActivePopup(g_main);
    if (popup == g_main)
        return;
    KillTimer(nullptr, timer), g_popupTitle = Text(popup);
    g_script();
    PostMessageW(popup, WM_COMMAND, IDCANCEL, 0);
}

// No tear-down: ctest runs each case in a process of its own, and its windows go with it.
class Dialogs : public ::testing::Test
{
protected:
    HWND top = nullptr, dialog = nullptr;
    ATOM atom = 0;

    void SetUp() override
    {
        UseOwnResources(), SetWindowsHookExW(WH_KEYBOARD_LL, NoteInput, g_hInstance, 0),
            SetWindowsHookExW(WH_MOUSE_LL, NoteInput, g_hInstance, 0);
        WNDCLASSW wc = { CS_DBLCLKS, TestWindowProc, 24,      16,
                         nullptr,    nullptr,        nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1),
                         nullptr,    L"OrvalisTest" };
        atom = RegisterClassW(&wc),
        top = Window(nullptr, L"OrvalisTest", L"Top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400, 300);
        g_main = CreateDialogParamW(g_hInstance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialogProc, 0);
    }
    // Of this module, whose icons Wine's DefWindowProc searches for WM_QUERYDRAGICON: quick, found at once.
    HWND Window(HWND parent, const wchar_t *className, const wchar_t *text, DWORD style = WS_CHILD | WS_VISIBLE,
                int x = 10, int y = 10, int width = 50, int height = 20, int id = 0, DWORD exStyle = 0)
    {
        return CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    }
    // Presses `id` of the main window (0: none), then handles what that posted; a popup runs the script and is
    // cancelled.
    void Command(int id, void (*script)() = [] {})
    {
        g_script = script, g_popupTitle.clear();
        UINT_PTR timer = SetTimer(nullptr, 0, 20, RunScript);
        if (id)
            Click(g_main, id);
        if (Pump(), g_popupTitle.empty())
            KillTimer(nullptr, timer);
    }
    void Select(HWND window) { TreeView_SelectItem(g_hTree, Find(window)); }
    void Focus()
    {
        SetForegroundWindow(g_main), SetFocus(g_hTree);
    }   // the tree in front with the keyboard, as a user has it

    void Open(HWND target)
    {
        DestroyWindow(dialog), g_hTarget = target;
        ShowWindow(dialog =
                       CreateDialogParamW(g_hInstance, MAKEINTRESOURCEW(IDD_DETAILS), nullptr, DetailsDialogProc, 0),
                   SW_SHOWNOACTIVATE);
    }
    std::wstring Field(int id) { return Text(GetDlgItem(dialog, id)); }
    LRESULT Ask(int id, UINT message, WPARAM wParam = 0) { return SendDlgItemMessageW(dialog, id, message, wParam, 0); }
    Texts Panel(int id) { return Rows(GetDlgItem(dialog, id)); }
    Texts Shown()
    {
        Texts shown;
        for (int id = IDC_DETAILS_TEXT; id <= IDC_DETAILS_ID; id++)
            shown.push_back(Field(id));
        for (int id : { IDC_DETAILS_PRIORITY, IDC_DETAILS_COMMANDS })
            shown.push_back(std::to_wstring(Ask(id, CB_GETCURSEL)) + L" of " + std::to_wstring(Ask(id, CB_GETCOUNT)));
        for (int id : { IDC_DETAILS_TOPMOST, IDC_DETAILS_VISIBLE, IDC_DETAILS_DISABLED })
            shown.push_back(IsDlgButtonChecked(dialog, id) ? L"on" : L"off");
        return shown;
    }
    // The tab's name and the relative's fields, the tab chosen as a click chooses it.
    Texts Relative(int tab)
    {
        wchar_t label[16] = L"";
        TCITEMW item = { TCIF_TEXT, 0, 0, label, ARRAYSIZE(label) };
        TabCtrl_SetCurFocus(GetDlgItem(dialog, IDC_DETAILS_RELATIVES_TAB), tab),
            TabCtrl_GetItem(GetDlgItem(dialog, IDC_DETAILS_RELATIVES_TAB), tab, &item);
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
    HWND panel = Window(top, L"Static", L"Panel"),
         box = Window(panel, L"Button", L"Box", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX);
    SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TestWindowProc)),
        SetWindowLongPtrW(box, GWLP_USERDATA, 4);
    for (const wchar_t *text : { L"b", L"B", L"a", L"b", L"A", L"ab", L"Ab", L"_", L"a", L"" })
        Window(top, text[0] == L'a' ? L"Button" : L"Static", text);
    Command(IDC_MAIN_REFRESH);
    // The eleven children in lstrcmpW order, equal labels in the z-order, as the tree's own sorted insertion of them
    // one by one has them.
    std::vector<std::pair<std::wstring, HWND>> expected, shown;
    for (HWND child = GetWindow(top, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        expected.push_back({ Node(Find(child)).first, child });
    std::stable_sort(expected.begin(), expected.end(),
                     [](auto &a, auto &b) { return lstrcmpW(a.first.c_str(), b.first.c_str()) < 0; });
    for (HTREEITEM item = TreeView_GetChild(g_hTree, Find(top)); item; item = TreeView_GetNextSibling(g_hTree, item))
        shown.push_back({ Node(item).first, GetNodeWindow(item) });
    EXPECT_TRUE(expected.size() == 11 && shown == expected);
    EXPECT_TRUE(Node(Find(box)).second == IMAGE_CHECKBOX && Node(Find(top)).second > IMAGE_WINDOW)
        << "an icon the list refuses, or a window's own";
    ICONINFO picture = {};
    HDC dc =
        CreateCompatibleDC(nullptr);   // the first picture's corner is of the strip's background, which is no colour
    GetIconInfo(ImageList_GetIcon(g_hImageList, 0, ILD_NORMAL), &picture), SelectObject(dc, picture.hbmMask);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255)) << "the strip's background drawn";
    // The strip's pictures and the generic one first, then one for each icon taken (Wine asks no other process's
    // windows).
    int icons = -1;   // the box's, which it refuses
    Search([&](HTREEITEM item) { return icons += FindWindowIcon(GetNodeWindow(item)) != nullptr, false; });
    EXPECT_EQ(ImageList_GetImageCount(g_hImageList), IMAGE_WINDOW + 1 + icons);
    EXPECT_EQ(Node(Find(panel)).first, L"Static | Panel");
    Command(IDC_MAIN_ORDER_BY_TITLE);
    EXPECT_EQ(Node(Find(panel)).first, L"Panel | Static");

    // Commands sent inside a fill, as another program's run in its wait, are carried out after it: refills as one.
    SetWindowLongPtrW(Window(nullptr, L"OrvalisTest", L"", WS_POPUP), GWLP_USERDATA, 5);
    Command(IDC_MAIN_REFRESH);
    EXPECT_TRUE(g_textAsks == 2 && !IsWindowVisible(g_main)) << "refilled more than once, or Cancel lost";
    EXPECT_TRUE(g_fillCursor == LoadCursorW(nullptr, IDC_WAIT) && GetCursor() == LoadCursorW(nullptr, IDC_ARROW))
        << "no wait cursor while it fills";
    UINT nodes = TreeView_GetCount(g_hTree);
    Command(IDC_MAIN_REFRESH);
    EXPECT_EQ(TreeView_GetCount(g_hTree), nodes) << "not the tree a plain refresh gives";
    // A leaked bitmap (28 KiB a refresh) or node index, made again and again, shows in the committed bytes;
    // GetGuiResources answers 0 under Wine.
    EXPECT_LT(Growth(12,
                     [&] {
                         Command(IDC_MAIN_REFRESH);
                         for (int i = 0; i < 30; i++)
                             ForgetNodeIndex(), PlaceOfWindow(top);
                     }),
              160 << 10);
    Command(IDCANCEL), Command(IDCANCEL);
    EXPECT_EQ(TreeView_GetImageList(g_hTree, TVSIL_NORMAL), nullptr) << "cancel twice destroys the list once";
}

TEST_F(MainWindow, OpensTheSelectedWindowAndDropsTheNodeOfAVanishedOneOnly)
{
    HWND stays = Window(top, L"Static", L"Stays"), gone = Window(top, L"Static", L"Gone");
    Window(gone, L"Button", L"Inside"), g_doomed = Window(top, L"Static", L"Doomed"), Command(IDC_MAIN_REFRESH);
    UINT nodes = TreeView_GetCount(g_hTree);
    Command(IDOK), Command(IDC_MAIN_VISIBLE);
    EXPECT_TRUE(TreeView_GetCount(g_hTree) == nodes && IsDlgButtonChecked(g_main, IDC_MAIN_VISIBLE) &&
                IsWindowVisible(g_main))
        << "Enter or the visible box without a selection, as after a refill";
    EXPECT_EQ(SendMessageW(g_main, WM_GETICON, ICON_BIG, 0),
              reinterpret_cast<LRESULT>(LoadIconW(g_hInstance, MAKEINTRESOURCEW(IDI_ORVALIS))));
    Select(stays), Command(IDC_MAIN_ABOUT);
    EXPECT_TRUE(g_popupTitle == L"關於 Orvalis 1.0 版本" && IsWindowVisible(stays))
        << "no About, or it went on into the visible box";
    BOOL hidden = (Command(IDC_MAIN_VISIBLE), !IsWindowVisible(stays));
    Command(IDC_MAIN_VISIBLE);
    EXPECT_TRUE(hidden && IsWindowVisible(stays)) << "the visible box did not follow the selection";

    // A double click opens the details once the tree is done with it: no node goes from under it.
    DestroyWindow(gone), Select(gone);
    POINT label = Label(gone);
    ScreenToClient(g_hTree, &label), SendMessageW(g_hTree, WM_LBUTTONDBLCLK, 0, MAKELPARAM(label.x, label.y));
    EXPECT_EQ(TreeView_GetCount(g_hTree), nodes) << "deleted inside the tree's double click";
    Command(0);
    EXPECT_TRUE(g_popupTitle.empty()) << "opened for a window that is gone";
    ASSERT_EQ(TreeView_GetCount(g_hTree), nodes - 2) << "the node and its descendants go";

    // Enter opens the details; they refill the tree, then their target goes: its node is found anew.
    Select(g_doomed);
    Command(IDOK, [] {
        SendMessageW(g_main, WM_COMMAND, IDC_MAIN_REFRESH, 0), g_refilled = TreeView_GetCount(g_hTree),
                                                               DestroyWindow(g_doomed);
    });
    EXPECT_TRUE(g_popupTitle == L"詳細內容" && !Find(g_doomed));
    EXPECT_EQ(static_cast<int>(TreeView_GetCount(g_hTree)), g_refilled - 1) << "another node went";
}

TEST_F(MainWindow, TheTreeFillsTheClientAboveControlsThatKeepTheirCornersAfterASizeChange)
{
    auto placed = [](int id) {
        RECT r = Rect(GetDlgItem(g_main, id));
        return MapWindowPoints(nullptr, g_main, reinterpret_cast<POINT *>(&r), 2), r;
    };
    // As it opens, then maximized without a control, as from a satellite that lacks it.
    std::map<int, POINT> opened;   // each one's distance to its corner as the window opens
    for (int step : { 0, 1 }) {
        if (step == 1)
            DestroyWindow(GetDlgItem(g_main, IDC_MAIN_ABOUT)), ShowWindow(g_main, SW_MAXIMIZE);
        RECT client, tree = placed(IDC_MAIN_TREE);
        GetClientRect(g_main, &client);
        EXPECT_TRUE(tree.top == 0 && (step == 0 || tree.right == client.right))
            << "the tree's width (the template's leaves a margin) at " << step;
        // Each keeps its distance to its corner (two roundings of dialog units may part by a pixel), the row just below
        // the tree, less than a control's height away; once moved, each waits to be drawn anew (Wine leaves copied bits
        // blank).
        for (int id : { IDC_MAIN_TREE, IDC_MAIN_ORDER_BY_TITLE, IDC_MAIN_VISIBLE, IDC_MAIN_ABOUT, IDC_MAIN_REFRESH }) {
            RECT r = placed(id);
            bool fromRight = id == IDC_MAIN_ABOUT || id == IDC_MAIN_REFRESH;
            POINT corner = { fromRight ? client.right - r.left : r.left, client.bottom - r.bottom };
            opened.emplace(id, corner);   // as it opens
            EXPECT_TRUE(!GetDlgItem(g_main, id) ||
                        (abs(corner.x - opened[id].x) <= (fromRight ? 1 : 0) && abs(corner.y - opened[id].y) <= 1 &&
                         (id == IDC_MAIN_TREE || (r.top >= tree.bottom && r.top - tree.bottom < r.bottom - r.top)) &&
                         (step == 0 || GetUpdateRect(GetDlgItem(g_main, id), nullptr, FALSE))))
                << id << " left its corner, apart from the tree or undrawn at " << step;
        }
        WaitFor([] { return false; }, 200);
    }
    // Called, not sent, so that reading this lParam as a notification header faults the test.
    MainDialogProc(g_main, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 0));
    EXPECT_EQ(placed(IDC_MAIN_TREE).bottom, 0) << "a short window gives the tree no height, not a negative one";
}

// This thread's top-level windows and its capture, sorted; and the outline, the bounds of those shown that let the
// mouse through.
static std::vector<HWND> Owned()
{
    std::vector<HWND> windows = { GetCapture() };
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) -> BOOL {
            return reinterpret_cast<std::vector<HWND> *>(list)->push_back(window), TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return std::sort(windows.begin(), windows.end()), windows;
}
static RECT Outline()
{
    RECT bounds = {}, r;
    for (HWND window : Owned())
        if (IsWindowVisible(window) && (GetWindowLongW(window, GWL_EXSTYLE) & (WS_EX_LAYERED | WS_EX_TRANSPARENT)) ==
                                           (WS_EX_LAYERED | WS_EX_TRANSPARENT))
            r = Rect(window), UnionRect(&bounds, &bounds, &r);
    return bounds;
}

TEST_F(MainWindow, PointingOrDraggingTheFinderFollowsThePointerAndEveryWayOutLeavesNothingBehind)
{
    CloseHandle(CreateThread(
        nullptr, 0,
        [](void *) -> DWORD {
            g_hung = CreateWindowExW(0, L"OrvalisTest", L"Hung", WS_POPUP | WS_VISIBLE, 900, 100, 100, 60, nullptr,
                                     nullptr, nullptr, nullptr);
            for (MSG msg; GetMessageW(&msg, nullptr, 0, 0); DispatchMessageW(&msg)) {
            }
            return 0;
        },
        nullptr, 0, nullptr));
    HWND label = Window(top, L"Static", L"Label", WS_CHILD | WS_VISIBLE, 30, 50, 80, 20),
         group = Window(top, L"Button", L"Group", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 10, 10, 200, 150);
    Window(top, L"Static", L"Beneath the label", WS_CHILD | WS_VISIBLE, 0, 56, 210, 8),
        Window(top, L"Static", L"Hidden", WS_CHILD, 40, 55, 40, 10);
    HWND off = (Window(top, L"Static", L"Beneath the caption", WS_CHILD | WS_VISIBLE, 300, -60, 40, 70),
                Window(top, L"Button", L"Off", WS_CHILD | WS_VISIBLE | WS_DISABLED, 250, 20, 80, 30));
    HWND former = Window(top, L"Static", L"Former", WS_CHILD | WS_VISIBLE, 30, 200),
         button = Window(top, L"Button", L"Press", WS_CHILD | WS_VISIBLE, 250, 80, 80, 30);
    WaitFor([] { return g_hung != nullptr; });
    // Clear of them and of the information window beside it: Wine raises the main window above its own when X activates
    // it.
    SetWindowPos(g_main, nullptr, 0, 360, 500, 450, SWP_NOZORDER), Command(IDC_MAIN_REFRESH);
    // The information window beside it, opened by Alt+Enter without the keyboard, shows what is pointed at too.
    Select(former), Focus(), Keys({ VK_MENU, VK_RETURN });
    HWND info = Info(), finder = GetDlgItem(info, IDC_INFO_FINDER);
    ASSERT_TRUE(IsWindowVisible(info) && GetFocus() == g_hTree && InfoShows(former)) << "not opened beside the tree";
    g_thaw = CreateEventW(nullptr, TRUE, FALSE, nullptr), PostMessageW(g_hung, WM_APP, 0, 0);
    std::vector<HWND> before = Owned();
    // By Ctrl+F: Esc, a right click, another program in front, a click, a click on a window made after the fill; by the
    // finder: Esc, let go over the information window, over a button; then the window closed.
    HWND picked = button;
    for (int way = 0; way < 9; way++) {
        bool drag = way >= 5 && way < 8;
        Select(former), Focus();
        drag ? Mouse(Centre(finder), MOUSEEVENTF_LEFTDOWN) : Keys({ VK_CONTROL, 'F' });
        EXPECT_TRUE(drag ? Selected() == former && GetCapture() == info : way == 0 || Selected() == button)
            << "not what is under the pointer as it starts, at " << way;
        // A button's edge under its outline, a label above a wider, flatter window and the group box, a caption above a
        // child, the bare desktop, a hung window. (Under Wine a drag by SendInput over another thread's window reaches
        // it, not the capture; a real drag is followed.)
        for (auto [window, at] : { std::pair{ button, Centre(button) },
                                   { button, POINT{ Rect(button).left + 1, Centre(button).y } },
                                   { off, Centre(off) },
                                   { label, Centre(label) },
                                   { group, POINT{ Rect(group).left + 8, Rect(group).bottom - 8 } },
                                   { top, POINT{ Rect(top).left + 320, Rect(top).top + 4 } },
                                   { nullptr, POINT{ 1270, 300 } },
                                   { g_hung, Centre(g_hung) } })
            if (!drag || (window && window != g_hung)) {
                Mouse(at);
                EXPECT_TRUE(WaitFor([&] {
                    return Selected() == window && Outline() == Rect(window) && InfoShows(window);
                })) << Hex(window)
                    << " at " << way;
            }
        if (way == 0 || way == 5)
            Keys({ VK_ESCAPE });
        if (way == 0)
            SetEvent(g_thaw),
                SendMessageW(g_hung, WM_NULL, 0, 0);   // for the refill ahead; and its late pointer events spent
        if (way == 1 || way == 3)
            Mouse(Centre(button), way == 1 ? RIGHT_CLICK : LEFT_CLICK);
        if (way == 2)
            SendMessageW(g_main, WM_ACTIVATEAPP, FALSE, 0);
        if (way == 4) {
            Mouse(Centre(picked = Window(top, L"Button", L"Late", WS_CHILD | WS_VISIBLE, 250, 150, 80, 30)));
            EXPECT_TRUE(WaitFor([&] { return Selected() == top && InfoShows(picked); }))
                << "not its nearest ancestor that has a node";
            Mouse(Centre(picked), LEFT_CLICK);
        }
        if (way == 6 || way == 7)
            Mouse(Centre(way == 6 ? GetDlgItem(info, IDC_INFO_LIST) : (picked = button)), MOUSEEVENTF_LEFTUP);
        if (way == 8)
            DestroyWindow(g_main);
        // Picked: selected, the tree in focus and Orvalis in front; else the former selection back, Orvalis still open.
        bool pick = way == 3 || way == 4 || way == 7;
        EXPECT_TRUE(pick ? Selected() == picked && GetForegroundWindow() == g_main && GetFocus() == g_hTree
                         : way == 8 || (Selected() == former && IsWindowVisible(g_main) && IsWindowVisible(info)))
            << way;
        std::vector<HWND> now = Owned();
        EXPECT_TRUE(!IsPointing() && std::includes(before.begin(), before.end(), now.begin(), now.end()) &&
                    g_heard == way && (way == 8 || InfoShows(Selected())))
            << "the click heard, or something left, at " << way;
        Mouse(Centre(button), LEFT_CLICK);
        EXPECT_EQ(g_heard, way + 1) << "a later click kept from its window after " << way;
    }
}

// In the menu opened next, notes its items ("*" the default, "-" greyed) and chooses g_choice by its key; then runs
// RunScript.
static UINT g_choice;
static Texts g_items;
static HMENU g_menu;
static void CALLBACK ChooseFromMenu(HWND, UINT, UINT_PTR, DWORD)
{
    HWND shown = nullptr;
    while ((shown = FindWindowExW(nullptr, shown, L"#32768", nullptr)) && !IsWindowVisible(shown)) {
    }
    HMENU menu = shown ? reinterpret_cast<HMENU>(SendMessageW(shown, MN_GETHMENU, 0, 0)) : nullptr;
    for (int i = 0; g_choice && menu && i < GetMenuItemCount(g_menu = menu); i++) {
        wchar_t text[128] = L"";
        UINT id = GetMenuItemID(menu, i), state = GetMenuState(menu, i, MF_BYPOSITION);
        if (!GetMenuStringW(menu, i, text, 128, MF_BYPOSITION) && state & MF_SEPARATOR)
            continue;
        g_items.push_back(text + std::wstring(id == GetMenuDefaultItem(menu, FALSE, 0) ? L"*" : L"") +
                          (state & MF_GRAYED ? L"-" : L""));
        if (id == g_choice)
            Keys({ static_cast<WORD>(VkKeyScanW(wcschr(text, L'&')[1]) & 0xFF) }, false);
    }
    if (menu)
        g_choice = 0;
    else if (!g_choice)
        RunScript(nullptr, 0, 0, 0);
}
// Opens a menu (by the menu key unless told otherwise) from Orvalis in front and chooses the item; its items. Twice at
// most: Wine at times moves the pointer by a late message of its own inside a right click, which the tree takes for a
// drag.
static Texts Menu(UINT choice, std::function<void()> open = [] { Keys({ VK_APPS }); })
{
    g_choice = choice, g_items.clear(), g_popupTitle.clear(), g_script = [] {};
    UINT_PTR timer = SetTimer(nullptr, 0, 50, ChooseFromMenu);
    for (int tries = 0; tries < 2 && g_choice; tries++)
        SetForegroundWindow(g_main), SetFocus(g_hTree), open(), WaitFor([] { return !g_choice; }, 3000);
    KillTimer(nullptr, timer), WaitFor([] { return false; }, 100);
    EXPECT_TRUE(!IsMenu(g_menu) || g_menu == GetSystemMenu(g_main, FALSE)) << "a menu left behind";
    return g_items;
}

TEST_F(MainWindow, TheNodeMenuAndTheTreesKeysActOnTheNodeAndFindNodesByTextOrHandleRoundAgain)
{
    HWND panel = Window(top, L"Static", L"Panel"), child = Window(panel, L"Button", L"Child"),
         grandchild = Window(child, L"Edit", L"Grandchild");
    HWND bulk = Window(top, L"Static", L"Bulk"), outer = Window(top, L"Static", L"Outer"),
         plain = Window(top, L"Static", L"Hay");
    HWND first = Window(Window(outer, L"Static", L"Middle"), L"Button", L"Needle one"),
         second = Window(top, L"Static", L"NEEDLE TWO");
    for (int i = 0; i < 100; i++)
        Window(bulk, L"Static", L"One of many windows with a long text, for a copy of them that costs memory");
    Command(IDC_MAIN_REFRESH), Clipboard(), Focus();   // the clipboard emptied of what an earlier run copied
    Keys({ 'F' }), Keys({ VK_CONTROL, 'V' });          // the tree's own search, and a key of no command
    Select(panel), Keys({ VK_CONTROL, 'C' });
    EXPECT_TRUE(Clipboard() == Line(panel) && !IsPointing());
    // The branch, collapsed as it is: a line each in the tree's order, indented by its level below the node.
    std::wstring branch = Line(panel) + L"\r\n\t" + Line(child) + L"\r\n\t\t" + Line(grandchild) + L"\r\n";
    Keys({ VK_CONTROL, VK_SHIFT, 'C' });
    EXPECT_EQ(Clipboard(), branch);
    // Copied again and again, a branch of a hundred leaves no copy behind (16 KB each).
    EXPECT_LT((Select(bulk), Growth(30, [] { Keys({ VK_CONTROL, VK_SHIFT, 'C' }); })), 256 << 10);

    // Each item has an access key of its own; the texts, and the windows' templates, a satellite lacks are the exe's.
    Texts items = (Select(panel), Menu(IDM_DETAILS));
    EXPECT_TRUE(g_popupTitle == L"詳細內容" && Outline() == RECT{} && items[0].find(L'*') < items[0].size())
        << "the details not opened by default, or more done";
    std::set<wchar_t> keys;
    for (const std::wstring &item : items)
        EXPECT_TRUE(item.find(L'&') < item.size() && keys.insert(towupper(item[item.find(L'&') + 1])).second &&
                    item.back() != L'-')
            << item << " greyed, or no key of its own";
    g_hResModule = LoadLibraryExW(BuildFile(L"tests\\bad_captions.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_EQ(Menu(IDM_COPY_BRANCH, [] { Keys({ VK_SHIFT, VK_F10 }); }), items)
        << "Shift+F10, from a satellite made before these texts";
    EXPECT_EQ(Clipboard(), branch);
    Menu(IDM_INFO), Menu(IDM_FIND_TEXT), Keys({ VK_TAB }),
        Menu(IDM_FIND_TEXT);   // opened again while its button had the keyboard
    EXPECT_TRUE(Info() && FindBox() && GetFocus() == GetDlgItem(FindBox(), IDC_FIND_TEXT));
    DestroyWindow(Info()), DestroyWindow(FindBox()), g_hResModule = g_hInstance;

    // Shown for about two seconds, never a node: a refill ends it. (Wine draws a layered window without its opacity,
    // Windows does not.)
    Menu(IDM_SHOW_WHERE), WaitFor([] { return false; }, 100);
    HDC screen = GetDC(nullptr);
    EXPECT_TRUE(Outline() == Rect(panel) &&
                GetPixel(screen, Rect(panel).left, Rect(panel).top) == GetSysColor(COLOR_HIGHLIGHT));
    UINT nodes = (ReleaseDC(nullptr, screen), TreeView_GetCount(g_hTree));
    Keys({ VK_F5 });
    EXPECT_TRUE(Outline() == RECT{} && TreeView_GetCount(g_hTree) == nodes);
    Menu(IDM_SHOW_WHERE);
    EXPECT_TRUE(WaitFor([] { return Outline() == RECT{}; })) << "the outline stayed";
    // A right click opens the menu of the node under it.
    Menu(IDM_COPY, [&] { Mouse(Label(top), RIGHT_CLICK); });
    EXPECT_EQ(Clipboard(), Line(top));
    // From the system menu, and from the node's, the pointing starts; the menu's item refills, as F5 did.
    Menu(IDM_FIND_WINDOW, [] { Keys({ VK_MENU, VK_SPACE }); });
    EXPECT_TRUE(IsPointing());
    Menu(IDM_FIND_WINDOW);
    EXPECT_TRUE(IsPointing()) << "the node's menu did not start the pointing anew";
    HWND late = (Keys({ VK_ESCAPE }), Window(top, L"Static", L"Late"));
    TreeView_SelectItem(g_hTree, nullptr), items = Menu(IDM_REFRESH);
    EXPECT_TRUE(Find(late) && items[0].back() == L'-' && items[1].back() != L'-' && items.back().back() != L'-')
        << "no node: the node's items not greyed";

    // F3 with no text yet opens the find box, its field with the keyboard.
    Select(outer), Focus(), Keys({ VK_F3 });
    HWND box = FindBox(), field = GetDlgItem(box, IDC_FIND_TEXT), status = GetDlgItem(box, IDC_FIND_STATUS);
    ASSERT_TRUE(box && GetFocus() == field && SendMessageW(field, EM_GETLIMITTEXT, 0, 0) < NODE_LABEL_CHARS)
        << "or it takes more than is searched";
    EXPECT_TRUE(Rect(box).right == Rect(g_hTree).right && Rect(box).top == Rect(g_hTree).top)
        << "not over the tree's top right corner";
    // Typed (over the last text), then stepped: into a collapsed branch, opened and scrolled to; on; round again; back;
    // to a handle with 0x, in lower case; a text no node has, the selection kept, the box saying so; Esc, then F3 and
    // Shift+F3 from the tree, with the last text.
    const struct {
        std::wstring typed;
        std::vector<WORD> keys;
        HWND selected;
        bool none;
    } steps[] = {
        { L"needle", { VK_RETURN }, first },
        { L"", { VK_RETURN }, second },
        { L"", { VK_RETURN }, first },
        { L"", { VK_SHIFT, VK_RETURN }, second },
        { L"0x" + Hex(plain), { VK_RETURN }, plain },
        { L"zzz", { VK_RETURN }, plain, true },
        { L"needle", { VK_RETURN }, second },
        { L"", { VK_ESCAPE }, second },
        { L"", { VK_F3 }, first },
        { L"", { VK_SHIFT, VK_F3 }, second },
    };
    for (const auto &step : steps) {
        if (!step.typed.empty())
            Keys({ VK_CONTROL, 'A' }), Type(step.typed);
        Keys(step.keys);
        RECT shown;
        EXPECT_TRUE(Selected() == step.selected && TreeView_GetItemRect(g_hTree, Find(step.selected), &shown, TRUE))
            << step.typed << " " << step.keys[0];
        EXPECT_EQ(Text(status) == String(IDS_FIND_NO_MATCH), step.none) << step.typed;
    }
    EXPECT_TRUE(!IsWindow(box) && GetFocus() == g_hTree) << "the box left open, or the tree without the keyboard";
}

TEST_F(MainWindow, TheInformationWindowShowsEverythingAboutTheSelectedWindowWithoutAskingIt)
{
    HWND probe = Window(top, L"OrvalisTest", L"Probe", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 20, 70, 30, 77);
    SetWindowLongPtrW(probe, GWLP_USERDATA, 0x7EADBEEFCAFEF00D),
        SetPropW(probe, L"OrvalisProperty", reinterpret_cast<HANDLE>(0x123456789ABCDEF0));
    Command(IDC_MAIN_REFRESH),
        SetWindowPos(g_main, nullptr, 0, 0, 500, 450, SWP_NOZORDER);   // room beside it for the information window
    Select(probe), Focus(), Menu(IDM_INFO);
    HWND info = Info(), list = GetDlgItem(info, IDC_INFO_LIST);
    RECT main = Rect(g_main), placed = Rect(info), client, heading;
    ASSERT_TRUE(info && GetFocus() == g_hTree) << "the keyboard taken from the tree";
    EXPECT_TRUE(placed.left == main.right && placed.top == main.top && placed.bottom == main.bottom)
        << "not beside the main window, as tall";
    // Its list fills it below the finder, the columns inside; a heading on the face colour, where the rows are white.
    GetClientRect(info, &client), ListView_GetItemRect(list, 0, &heading, LVIR_BOUNDS),
        MapWindowPoints(list, nullptr, reinterpret_cast<POINT *>(&heading), 2);
    EXPECT_TRUE(ColumnsFit(list) && Rect(list).bottom - Rect(list).top > client.bottom / 2 &&
                Rect(list).top > Rect(GetDlgItem(info, IDC_INFO_FINDER)).bottom);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetPixel(screen, heading.right - 2, heading.top + 1), GetSysColor(COLOR_BTNFACE));

    // Every row once, under its heading, in order; the properties after them.
    Texts rows = InfoRows();
    size_t next = 0;
    for (int id = IDS_INFO_WINDOW; id <= IDS_INFO_PROPERTIES; id++) {
        std::wstring row = id == IDS_ROW_MENU   ? String(id)
                           : next < rows.size() ? rows[next++]
                                                : L"";   // the menu: a top-level window's
        EXPECT_EQ(row.substr(0, row.find(L'\t')), String(id)) << "missing or out of place";
    }
    EXPECT_EQ(Texts(rows.begin() + next, rows.end()), Texts{ L"OrvalisProperty\t123456789ABCDEF0" });
    // Values as the system has them, in their formats.
    RECT r = Rect(probe), area;
    GetClientRect(probe, &area);
    auto rect = [](RECT r) {
        return std::to_wstring(r.left) + L", " + std::to_wstring(r.top) + L", " + std::to_wstring(r.right) + L", " +
               std::to_wstring(r.bottom) + L" (" + std::to_wstring(r.right - r.left) + L" \x00D7 " +
               std::to_wstring(r.bottom - r.top) + L")";
    };
    wchar_t image[MAX_PATH];
    DWORD session = 0;
    GetModuleFileNameW(nullptr, image, MAX_PATH), ProcessIdToSessionId(GetCurrentProcessId(), &session);
    const std::pair<int, std::wstring> values[] = {
        { IDS_ROW_CLASS_NAME, L"OrvalisTest" },
        { IDS_ROW_TEXT, L"Probe" },
        { IDS_ROW_CONTROL_ID, L"77" },
        { IDS_ROW_SHOW_STATE, String(IDS_SHOW_NORMAL) },
        { IDS_ROW_WINDOW_RECT, rect(r) },
        { IDS_ROW_CLIENT_RECT, rect({ r.left, r.top, r.left + area.right, r.top + area.bottom }) },
        { IDS_ROW_STYLE, L"50010000 WS_CHILD WS_MAXIMIZEBOX WS_VISIBLE" },
        { IDS_ROW_USER_DATA, L"7EADBEEFCAFEF00D" },
        { IDS_ROW_OWNER, L"0" },
        { IDS_ROW_DPI, std::to_wstring(GetDeviceCaps(screen, LOGPIXELSX)) },
        { IDS_ROW_PARENT, Hex(top) + L" (OrvalisTest)" },
        { IDS_ROW_ATOM, Hex(reinterpret_cast<HWND>(atom)) },
        { IDS_ROW_CLASS_STYLE, L"8 CS_DBLCLKS" },
        { IDS_ROW_CLASS_EXTRA, L"24" },
        { IDS_ROW_BACKGROUND, L"COLOR_WINDOW" },
        { IDS_ROW_PROCESS_ID, std::to_wstring(GetCurrentProcessId()) },
        { IDS_ROW_IMAGE, image },
        { IDS_ROW_BITNESS, String(IDS_BITS_64) },
        { IDS_ROW_SESSION, std::to_wstring(session) },
        { IDS_ROW_PRIORITY, L"NORMAL_PRIORITY_CLASS" },
        { IDS_ROW_THREAD_ID, std::to_wstring(GetCurrentThreadId()) },
        { IDS_ROW_FOCUS, Hex(g_hTree) + L" (SysTreeView32)" },
    };
    ReleaseDC(nullptr, screen);
    for (auto [id, value] : values)
        EXPECT_EQ(InfoRow(id), value) << String(id);
    EXPECT_EQ(InfoRow(IDS_ROW_DPI_AWARENESS).rfind(L"DPI_AWARENESS_", 0), 0u);

    // It follows the selection, by keys and by a click; a top-level window shows its menu; no node, no rows.
    Keys({ VK_UP });
    EXPECT_TRUE(InfoShows(Selected()) && Selected() != probe);
    Mouse(Label(top), LEFT_CLICK);
    EXPECT_TRUE(InfoShows(top) && InfoRow(IDS_ROW_MENU) == L"0000000000000000" && InfoRow(IDS_ROW_PARENT).empty());
    Command(IDC_MAIN_REFRESH);
    EXPECT_TRUE(InfoRows().empty()) << "rows with no node selected, after a refill";
    // Disabled while a dialog of the main window's is open.
    Select(probe), Command(IDOK, [] { g_refilled = IsWindowEnabled(Info()); });
    EXPECT_TRUE(g_refilled == FALSE && IsWindowEnabled(info));
    // Clicked, it has the keys: Enter leaves it open, Ctrl+A and Ctrl+C copy every row, a line each; Esc closes it for
    // the tree.
    Mouse(Centre(list), LEFT_CLICK), Keys({ VK_RETURN }), Keys({ VK_CONTROL, 'A' }), Keys({ VK_CONTROL, 'C' });
    std::wstring lines;
    for (const std::wstring &line : InfoRows())
        lines += line + L"\r\n";
    EXPECT_EQ(Clipboard(), lines);
    // Moved by the user, it keeps its place when opened again.
    SetWindowPos(info, nullptr, 5, 6, 300, 200, SWP_NOZORDER), SendMessageW(info, WM_EXITSIZEMOVE, 0, 0),
        placed = Rect(info);
    Keys({ VK_ESCAPE });
    EXPECT_TRUE(!IsWindow(info) && GetFocus() == g_hTree);
    Keys({ VK_MENU, VK_RETURN });
    EXPECT_TRUE(Rect(Info()) == placed) << "not where the user put it";
}

TEST_F(Details, ShowsAChildInItsParentsCoordinatesWithItsRelativesAndStyles)
{
    // Its parent mirrored, as right-to-left programs make theirs: the client x runs from the right edge.
    HWND mirror = Window(top, L"Static", L"Mirror", WS_CHILD | WS_VISIBLE, 0, 0, 300, 100, 0, WS_EX_LAYOUTRTL),
         before = Window(mirror, L"Static", L"Before", WS_CHILD);
    HWND button = Window(mirror, L"Button", L"Press", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 17, 23, 90, 30, 4321);
    HWND after = Window(mirror, L"Static", L"After", WS_CHILD), child = Window(button, L"Static", L"Child", WS_CHILD);
    Open(button);
    EXPECT_EQ(Shown(), (Texts{ L"Press", L"Button", L"17", L"23", L"90", L"30", Hex(button), L"4321", L"2 of 4",
                               L"0 of 5", L"off", L"on", L"off" }));
    EXPECT_EQ(Panel(IDC_DETAILS_STYLE_LIST), (Texts{ L"BS_PUSHBUTTON\t0", L"BS_TEXT\t0", L"WS_CHILD\t40000000",
                                                     L"WS_MAXIMIZEBOX\t10000", L"WS_VISIBLE\t10000000" }));
    EXPECT_EQ(Field(IDC_DETAILS_STYLE_CAPTION), L"視窗形態 : 50010000");
    // The names shown (WS_EX_RIGHTSCROLLBAR among them) fit their column with the list's label margin; the value column
    // ends inside.
    HWND list = GetDlgItem(dialog, IDC_DETAILS_EXSTYLE_LIST);
    int widest = 0;
    for (int id : { IDC_DETAILS_STYLE_LIST, IDC_DETAILS_EXSTYLE_LIST, IDC_DETAILS_CLASSSTYLE_LIST })
        for (const std::wstring &row : Panel(id))
            widest = std::max(widest, ListView_GetStringWidth(list, row.substr(0, row.find(L'\t')).c_str()));
    EXPECT_TRUE(widest + 12 <= ListView_GetColumnWidth(list, 0) && ColumnsFit(list));
    EXPECT_EQ(Relative(0), (Texts{ L"主視窗", L"Mirror", L"Static", Hex(mirror) }));
    EXPECT_EQ(Relative(1), (Texts{ L"擁有視窗", L"", L"", L"" }))
        << "no owner (a child has none): the parent's fields emptied";
    // Every relative shows, each under a tab of its own name.
    std::set<std::wstring> names, relatives;
    for (int tab = 0; tab < TabCtrl_GetItemCount(GetDlgItem(dialog, IDC_DETAILS_RELATIVES_TAB)); tab++) {
        Texts shown = Relative(tab);
        EXPECT_TRUE(!shown[0].empty() && names.insert(shown[0]).second && relatives.insert(shown[3]).second) << tab;
    }
    for (HWND relative : { mirror, before, after, child })
        EXPECT_EQ(relatives.count(Hex(relative)), 1u) << Text(relative);
    // Placed where the fields say, so that a press leaves unedited values where they are; and nothing more done.
    SetDlgItemTextW(dialog, IDC_DETAILS_LEFT, L"-30"), Press(IDC_DETAILS_SET_RECT, PRIORITY_IDLE, IDC_DETAILS_PRIORITY),
        Open(button);
    EXPECT_TRUE(Field(IDC_DETAILS_LEFT) == L"-30" && GetPriorityClass(GetCurrentProcess()) == NORMAL_PRIORITY_CLASS);

    // Bits its class names nothing for show as they are; read as a Button, as its names.
    HWND owned =
        Window(top, L"OrvalisTest", L"Owned", WS_POPUP | WS_DISABLED | 0x0401, -120, -45, 333, 222, 0, WS_EX_TOPMOST);
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
    // Every other class decodes it by its own names: beside the WS_ ones, only its prefix's, then CCS and leftover bits
    // (none without a prefix).
    for (int row = 1; row < CLASS_PREFIX_COUNT; row++) {
        std::wstring prefix = (Press(IDC_DETAILS_CLASS_LIST, row, IDC_DETAILS_CLASS_LIST), CLASS_PREFIXES[row].prefix);
        for (const std::wstring &name : Panel(IDC_DETAILS_STYLE_LIST))
            EXPECT_TRUE((!prefix.empty() &&
                         (name.rfind(prefix, 0) == 0 || name.rfind(L"CCS", 0) == 0 || name.back() == L'\t')) ||
                        name.rfind(L"WS_", 0) == 0)
                << CLASS_PREFIXES[row].className << ": " << name;
    }
    // Formats that would read arguments never passed give way to the exe's.
    g_hResModule = LoadLibraryExW(BuildFile(L"tests\\bad_captions.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE),
    Open(owned);
    EXPECT_TRUE(Field(IDC_DETAILS_EXSTYLE_CAPTION) == L"額外形態 : 8" &&
                Field(IDC_DETAILS_CLASSSTYLE_CAPTION) == L"系列形態 : 8");
    EnableWindow(owned, TRUE),
        Press(
            IDC_DETAILS_VISIBLE);   // enabled by its own program once read: the visible box shows it and leaves that so
    EXPECT_TRUE(IsWindowVisible(owned) && IsWindowEnabled(owned));
}

TEST_F(Details, TextGoesBackWholeAndOnlyByItsButton)
{
    // One past what the first read holds, and far past it.
    HWND target = Window(top, L"OrvalisTest", L"", WS_POPUP);
    for (size_t length : { 256, 100000 }) {
        std::wstring text = std::wstring(length - 1, L'a') + L'z';
        SetWindowTextW(target, text.c_str()), Open(target);
        EXPECT_EQ(Field(IDC_DETAILS_TEXT), text) << length;
    }
    // Pressed again and again, it leaves no copy behind: 40 copies take 8 MB, and Wine's heap grows by under 1 MB.
    EXPECT_LT(Growth(40, [&] { Press(IDC_DETAILS_SET_TEXT); }), 4 << 20);
    SetDlgItemTextW(dialog, IDC_DETAILS_TEXT, L"Short"), Press(IDC_DETAILS_SET_TEXT);
    EXPECT_EQ(Text(target), L"Short");
    // Misreported lengths: the field keeps at least the plain read, no read asks past its heap buffer, and the text
    // goes back no shorter.
    for (LRESULT lie : { LRESULT(300), LRESULT(0x7FFFFFFF), LRESULT(-1), LRESULT(0x7FFFFFFFFFFFFFFF) }) {
        g_lengthLie = lie, SetWindowTextW(target, std::wstring(600, L'q').c_str()),
        SetWindowLongPtrW(target, GWLP_USERDATA, 3), Open(target);
        std::wstring shown = Field(IDC_DETAILS_TEXT);
        wchar_t kept[700] = L"";
        EXPECT_EQ(shown, std::wstring(600, L'q').substr(0, std::max<size_t>(shown.size(), 255))) << lie;
        Press(IDC_DETAILS_SET_TEXT);
        EXPECT_GE(InternalGetWindowText(target, kept, 700), static_cast<int>(shown.size())) << lie;
    }
    SetWindowLongPtrW(Window(top, L"OrvalisTest", L"", WS_CHILD), GWLP_USERDATA, 2), Open(top);
    EXPECT_EQ(Relative(4)[1], std::wstring(256, L'x')) << "read past the text buffer";
}

TEST_F(Details, ButtonsBoxesAndCommandsChangeTheTarget)
{
    // The boxes on, then off; the extended panel shows what the system made of topmost.
    Open(top);
    for (bool on : { true, false }) {
        for (int box : { IDC_DETAILS_TOPMOST, IDC_DETAILS_VISIBLE, IDC_DETAILS_DISABLED })
            Press(box);
        Texts ex = Panel(IDC_DETAILS_EXSTYLE_LIST);
        EXPECT_TRUE(std::count(ex.begin(), ex.end(), L"WS_EX_TOPMOST\t8") == on && IsWindowVisible(top) != on &&
                    IsWindowEnabled(top) != on)
            << on;
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
    SetWindowLongPtrW(top, GWLP_USERDATA, 1), Press(IDC_DETAILS_EXECUTE, COMMAND_CLOSE);
    EXPECT_TRUE(g_closeRequests == 2 && IsWindowVisible(dialog)) << "not asked twice, or the dialog ended";
    HANDLE process = g_hTargetProcess;
    SetWindowLongPtrW(top, GWLP_USERDATA, 0), Press(IDC_DETAILS_EXECUTE, COMMAND_CLOSE);
    EXPECT_FALSE(IsWindowVisible(dialog)) << "the dialog stays for a closed window";
    EXPECT_TRUE(!CloseHandle(process) && !g_hTargetProcess)
        << "the process handle left open, or kept for a second end to close";
}

// The built exe, with its satellite, as the other program whose windows these dialogs change across processes.
using Program = Dialogs;
TEST_F(Program, SpeaksItsSatellitesLanguageAndHasItsWindowsChangedFromAnotherProcess)
{
    std::wstring exe = BuildFile(L"orvalis.exe");
    ASSERT_TRUE(CopyFileW(BuildFile(L"satellite\\orvalis.exe.mui").c_str(), (exe + L".mui").c_str(), FALSE));
    STARTUPINFOW startup = { sizeof startup };
    PROCESS_INFORMATION orvalis;
    HWND other = nullptr;
    CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &orvalis);
    WaitFor([&] { return IsWindowVisible(other = FindWindowW(nullptr, L"Orvalis version 1.0")); }, 15000);
    DeleteFileW((exe + L".mui").c_str());
    ASSERT_NE(other, nullptr) << "the satellite was not used";

    ASSERT_TRUE(SetPriorityClass(orvalis.hProcess, ABOVE_NORMAL_PRIORITY_CLASS));
    Open(GetDlgItem(other, IDC_MAIN_REFRESH));
    LRESULT entries = Ask(IDC_DETAILS_PRIORITY, CB_GETCOUNT);
    EXPECT_EQ(Ask(IDC_DETAILS_PRIORITY, CB_GETCURSEL), CB_ERR) << "no entry for above normal";
    EXPECT_TRUE(PriorityClassFor(0) && PriorityClassFor(entries - 1) && !PriorityClassFor(entries))
        << "one entry for each priority it can set, and no other";
    Press(IDC_DETAILS_SET_PRIORITY, PRIORITY_HIGH, IDC_DETAILS_PRIORITY);
    EXPECT_EQ(GetPriorityClass(orvalis.hProcess), static_cast<DWORD>(HIGH_PRIORITY_CLASS));
    // Clicked, the other's refresh button refills its tree, which now holds this dialog.
    UINT nodes = TreeView_GetCount(GetWindow(other, GW_CHILD));
    Press(IDC_DETAILS_EXECUTE, COMMAND_CLICK);
    EXPECT_TRUE(nodes && TreeView_GetCount(GetWindow(other, GW_CHILD)) > nodes)
        << "listed nothing at its start, or not refilled";
    Open(other);
    EXPECT_EQ(Ask(IDC_DETAILS_COMMANDS, CB_GETCOUNT), 4) << "the click for a dialog, whose class sorts before Button";
    Press(IDC_DETAILS_EXECUTE, COMMAND_CLOSE);
    DWORD code = (WaitForSingleObject(orvalis.hProcess, 15000), STILL_ACTIVE);
    EXPECT_TRUE(GetExitCodeProcess(orvalis.hProcess, &code) && code == 0) << "still running, or ended with " << code;
}
