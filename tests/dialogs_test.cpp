// The main window and the details dialog from their real templates and procedures,
// over windows the test makes and, in one case, over the built exe's as another process's.
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
#include "tree/pointing.h"
#include "tree/window_tree.h"

using Texts = std::vector<std::wstring>;

static std::wstring Hex(HWND window)
{
    wchar_t text[16];
    wsprintfW(text, L"%lX", static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(window)));
    return text;
}

// GWLP_USERDATA picks a behaviour: 1 refuses to close, counting the requests; 2 fills the
// text buffer unterminated; 3 answers g_lengthLie; 4 answers for its icon with a handle that
// is no icon; 5 counts the fills that ask its text, and while the first asks sends the main
// window a visible-box click, two refills and Cancel.
static HWND g_main, g_doomed, g_hung;
static int g_closeRequests, g_textAsks, g_refilled, g_heard;
static HANDLE g_thaw;
static LRESULT g_lengthLie;
static LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LONG_PTR kind = GetWindowLongPtrW(window, GWLP_USERDATA);
    g_heard += message == WM_COMMAND || message == WM_CONTEXTMENU;   // a click on a child button, a right click
    if (message == WM_APP)
        WaitForSingleObject(g_thaw, INFINITE);   // hung
    if (message == WM_CLOSE && kind == 1) {
        g_closeRequests++;
        return 0;
    }
    if (message == WM_GETTEXTLENGTH && kind == 3)
        return g_lengthLie;
    EXPECT_TRUE((kind != 2 && kind != 3) || message != WM_GETTEXT ||
                wParam < HeapSize(GetProcessHeap(), 0, reinterpret_cast<void *>(lParam)) / sizeof(wchar_t)) << "past the buffer, or no terminator spare";
    if (message == WM_GETTEXT && kind == 2) {
        std::fill(reinterpret_cast<wchar_t *>(lParam), reinterpret_cast<wchar_t *>(lParam) + wParam, L'x');
        return wParam;
    }
    if (message == WM_GETTEXT && kind == 5 && g_textAsks++ == 0) {
        SendMessageW(g_main, WM_COMMAND, IDC_MAIN_VISIBLE, reinterpret_cast<LPARAM>(GetDlgItem(g_main, IDC_MAIN_VISIBLE)));
        SendMessageW(g_main, WM_COMMAND, IDC_MAIN_REFRESH, 0);
        SendMessageW(g_main, WM_COMMAND, IDC_MAIN_ORDER_BY_TITLE, 0);
        SendMessageW(g_main, WM_COMMAND, IDCANCEL, 0);
    }
    if ((message == WM_QUERYDRAGICON || message == WM_GETICON) && kind == 4)
        return message == WM_QUERYDRAGICON ? reinterpret_cast<LRESULT>(window) : 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

// The first node, depth first, for which found(node) holds; null for none.
template <class Found> static HTREEITEM Search(Found found, HTREEITEM first = TreeView_GetRoot(g_hTree))
{
    for (HTREEITEM item = first; item; item = TreeView_GetNextSibling(g_hTree, item)) {
        HTREEITEM hit = found(item) ? item : Search(found, TreeView_GetChild(g_hTree, item));
        if (hit)
            return hit;
    }
    return nullptr;
}

static HTREEITEM Find(HWND window)
{
    return Search([=](HTREEITEM item) { return GetNodeWindow(item) == window; });
}

// A node's label, and its image, which must also be its selected image.
static std::pair<std::wstring, int> Node(HTREEITEM item)
{
    wchar_t text[NODE_LABEL_CHARS] = L"";
    TVITEMW tv = { TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, item, 0, 0, text, NODE_LABEL_CHARS };
    TreeView_GetItem(g_hTree, &tv);
    EXPECT_EQ(tv.iImage, tv.iSelectedImage);
    return { text, tv.iImage };
}

// Runs the script inside the modal loop of the next window the main window
// shows, then cancels that window; keeps its caption.
static void (*g_script)();
static std::wstring g_popupTitle;
static void CALLBACK RunScript(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND popup = GetLastActivePopup(g_main);
    if (popup == g_main)
        return;
    KillTimer(nullptr, timer);
    g_popupTitle = Text(popup);
    if (g_script)
        g_script();
    PostMessageW(popup, WM_COMMAND, IDCANCEL, 0);
}

// No tear-down: ctest runs each case in a process of its own, and its windows go with it.
class Dialogs : public ::testing::Test {
protected:
    HWND top = nullptr, dialog = nullptr;

    void SetUp() override
    {
        UseOwnResources();
        WNDCLASSW wc = {};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = TestWindowProc;
        wc.lpszClassName = L"OrvalisTest";
        RegisterClassW(&wc);
        top = Window(nullptr, L"OrvalisTest", L"Top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400, 300);
        g_main = CreateDialogParamW(g_hInstance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialogProc, 0);
    }
    HWND Window(HWND parent, const wchar_t *className, const wchar_t *text, DWORD style = WS_CHILD | WS_VISIBLE,
                int x = 10, int y = 10, int width = 50, int height = 20, int id = 0, DWORD exStyle = 0)
    {
        return CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }

    // Presses `id` of the main window (0: none), then what that posted; a popup runs the script and is cancelled.
    void Command(int id, void (*script)() = nullptr)
    {
        g_script = script;
        g_popupTitle.clear();
        UINT_PTR timer = SetTimer(nullptr, 0, 20, RunScript);
        if (id)
            Click(g_main, id);
        PumpUntil([] { return false; }, 1);
        if (g_popupTitle.empty())
            KillTimer(nullptr, timer);
    }
    void Select(HWND window) { TreeView_SelectItem(g_hTree, Find(window)); }

    void Open(HWND target)
    {
        DestroyWindow(dialog);
        g_hTarget = target;
        dialog = CreateDialogParamW(g_hInstance, MAKEINTRESOURCEW(IDD_DETAILS), nullptr, DetailsDialogProc, 0);
        ShowWindow(dialog, SW_SHOWNOACTIVATE);
    }
    std::wstring Field(int id) { return Text(GetDlgItem(dialog, id)); }
    Texts Panel(int id) { return Rows(GetDlgItem(dialog, id)); }
    LRESULT Ask(int id, UINT message, WPARAM wParam = 0) { return SendDlgItemMessageW(dialog, id, message, wParam, 0); }
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
    Texts Relative(int tab)
    {
        TabCtrl_SetCurSel(GetDlgItem(dialog, IDC_DETAILS_RELATIVES_TAB), tab);
        NMHDR header = { GetDlgItem(dialog, IDC_DETAILS_RELATIVES_TAB), IDC_DETAILS_RELATIVES_TAB, static_cast<UINT>(TCN_SELCHANGE) };
        SendMessageW(dialog, WM_NOTIFY, IDC_DETAILS_RELATIVES_TAB, reinterpret_cast<LPARAM>(&header));
        wchar_t label[16] = L"";
        TCITEMW item = { TCIF_TEXT, 0, 0, label, ARRAYSIZE(label) };
        TabCtrl_GetItem(GetDlgItem(dialog, IDC_DETAILS_RELATIVES_TAB), tab, &item);
        return { label, Field(IDC_DETAILS_RELATIVE_TEXT), Field(IDC_DETAILS_RELATIVE_CLASS), Field(IDC_DETAILS_RELATIVE_HANDLE) };
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

TEST_F(MainWindow, ListsEveryWindowBeneathItsParentInOrderWithItsPicture)
{
    HWND panel = Window(top, L"Static", L"Panel");
    HWND box = Window(panel, L"Button", L"Box", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX);
    SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TestWindowProc));
    SetWindowLongPtrW(box, GWLP_USERDATA, 4);
    for (const wchar_t *text : { L"b", L"B", L"a", L"b", L"A", L"ab", L"Ab", L"_", L"a", L"" })
        Window(top, text[0] == L'a' ? L"Button" : L"Static", text);
    Command(IDC_MAIN_REFRESH);

    // The eleven children in lstrcmpW order, as the tree's own sorted insertion has them.
    HTREEITEM item = TreeView_GetChild(g_hTree, Find(top));
    for (int i = 1; i < 11; i++) {
        HTREEITEM next = TreeView_GetNextSibling(g_hTree, item);
        EXPECT_LE(lstrcmpW(Node(item).first.c_str(), Node(next).first.c_str()), 0) << Node(item).first << " before " << Node(next).first;
        item = next;
    }
    EXPECT_EQ(TreeView_GetNextSibling(g_hTree, item), nullptr) << "nodes left over";
    EXPECT_EQ(Node(Find(box)).second, IMAGE_CHECKBOX) << "an icon the list refuses";
    EXPECT_GT(Node(Find(top)).second, IMAGE_WINDOW) << "a window's own icon";
    // The strip's pictures and the generic one first, where the image rule looks for them; then one image for
    // each icon the list takes (DefWindowProc gives this process's windows one; Wine asks no other process's).
    int icons = -1;   // the box's, which it refuses
    Search([&](HTREEITEM item) {
        icons += FindWindowIcon(GetNodeWindow(item)) != nullptr;
        return false;
    });
    EXPECT_EQ(ImageList_GetImageCount(g_hImageList), IMAGE_WINDOW + 1 + icons);

    EXPECT_EQ(Node(Find(panel)).first, L"Static | Panel");
    Command(IDC_MAIN_ORDER_BY_TITLE);
    EXPECT_EQ(Node(Find(panel)).first, L"Panel | Static");
}

TEST_F(MainWindow, RefreshesOneAtATimeAndCostNoMemory)
{
    // Commands sent inside a fill, as another program's run in its wait, are carried out after it: refills as one.
    SetWindowLongPtrW(Window(nullptr, L"OrvalisTest", L"", WS_POPUP), GWLP_USERDATA, 5);
    Command(IDC_MAIN_REFRESH);
    EXPECT_EQ(g_textAsks, 2);
    EXPECT_FALSE(IsWindowVisible(g_main)) << "Cancel lost";
    UINT nodes = TreeView_GetCount(g_hTree);
    Command(IDC_MAIN_REFRESH);
    EXPECT_EQ(TreeView_GetCount(g_hTree), nodes) << "not the tree a plain refresh gives";

    // A leaked bitmap shows in the committed bytes (28 KiB a refresh); GetGuiResources answers 0 under Wine.
    PROCESS_MEMORY_COUNTERS before = { sizeof before }, after = { sizeof after };
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    for (int i = 0; i < 40; i++)
        Command(IDC_MAIN_REFRESH);
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    EXPECT_LT(after.PagefileUsage, before.PagefileUsage + (512 << 10));

    Command(IDCANCEL);
    Command(IDCANCEL);
    EXPECT_EQ(TreeView_GetImageList(g_hTree, TVSIL_NORMAL), nullptr) << "cancel twice destroys the list once";
}

TEST_F(MainWindow, OpensTheSelectedWindowAndDropsTheNodeOfAVanishedOneOnly)
{
    HWND stays = Window(top, L"Static", L"Stays");
    HWND gone = Window(top, L"Static", L"Gone");
    Window(gone, L"Button", L"Inside");
    g_doomed = Window(top, L"Static", L"Doomed");
    Command(IDC_MAIN_REFRESH);
    UINT nodes = TreeView_GetCount(g_hTree);
    Command(IDOK);
    Command(IDC_MAIN_VISIBLE);
    EXPECT_TRUE(TreeView_GetCount(g_hTree) == nodes && IsDlgButtonChecked(g_main, IDC_MAIN_VISIBLE) && IsWindowVisible(g_main))
        << "Enter or the visible box without a selection, as after a refill";

    EXPECT_EQ(SendMessageW(g_main, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(LoadIconW(g_hInstance, MAKEINTRESOURCEW(IDI_ORVALIS))));
    Select(stays);
    Command(IDC_MAIN_ABOUT);
    EXPECT_EQ(g_popupTitle, L"關於 Orvalis 1.0 版本");
    EXPECT_TRUE(IsWindowVisible(stays)) << "About went on into the visible box";
    Command(IDC_MAIN_VISIBLE);
    EXPECT_FALSE(IsWindowVisible(stays)) << "the visible box did not follow the selection";
    Command(IDC_MAIN_VISIBLE);
    EXPECT_TRUE(IsWindowVisible(stays)) << "the visible box did not show it again";

    // A double click opens the details once the tree is done with it: no node goes from under it.
    DestroyWindow(gone);
    Select(gone);
    RECT row;
    TreeView_GetItemRect(g_hTree, Find(gone), &row, TRUE);
    SendMessageW(g_hTree, WM_LBUTTONDBLCLK, 0, MAKELPARAM(row.left + 1, row.top + 1));
    EXPECT_EQ(TreeView_GetCount(g_hTree), nodes) << "deleted inside the tree's double click";
    Command(0);
    EXPECT_TRUE(g_popupTitle.empty()) << "opened for a window that is gone";
    ASSERT_EQ(TreeView_GetCount(g_hTree), nodes - 2) << "the node and its descendants go";

    // Enter opens the details; they refill the tree, then their target goes: its node is found anew.
    Select(g_doomed);
    Command(IDOK, [] {
        SendMessageW(g_main, WM_COMMAND, IDC_MAIN_REFRESH, 0);
        g_refilled = TreeView_GetCount(g_hTree);
        DestroyWindow(g_doomed);
    });
    EXPECT_EQ(g_popupTitle, L"詳細內容");
    EXPECT_EQ(Find(g_doomed), nullptr);
    EXPECT_EQ(static_cast<int>(TreeView_GetCount(g_hTree)), g_refilled - 1) << "another node went";
}

static RECT Placed(int id)
{
    RECT r;
    GetWindowRect(GetDlgItem(g_main, id), &r);
    MapWindowPoints(nullptr, g_main, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

TEST_F(MainWindow, TheTreeFillsTheClientAboveControlsThatKeepTheirCornersAfterASizeChange)
{
    // As it opens, larger, then maximized without a control, as from a satellite that lacks it.
    std::map<int, POINT> opened;   // each one's distance to its corner as the window opens
    for (int step : { 0, 1, 2 }) {
        if (step == 1)
            SetWindowPos(g_main, nullptr, 0, 0, 1000, 800, SWP_NOMOVE | SWP_NOZORDER);
        if (step == 2) {
            DestroyWindow(GetDlgItem(g_main, IDC_MAIN_ABOUT));
            ShowWindow(g_main, SW_MAXIMIZE);
        }
        RECT client, tree = Placed(IDC_MAIN_TREE);
        GetClientRect(g_main, &client);
        EXPECT_TRUE(tree.top == 0 && (step == 0 || tree.right == client.right)) << "the tree's width (the template's leaves a margin) at " << step;
        // Each keeps its distance to its corner (the tree's foot and the boxes bottom left, the buttons bottom right;
        // measured from the right or the bottom, two roundings of dialog units may part by a pixel). The row lies just
        // below the tree, less than a control's height away; once moved, each waits to be drawn anew (Wine leaves copied bits blank).
        for (int id : { IDC_MAIN_TREE, IDC_MAIN_ORDER_BY_TITLE, IDC_MAIN_VISIBLE, IDC_MAIN_ABOUT, IDC_MAIN_REFRESH }) {
            if (!GetDlgItem(g_main, id))
                continue;
            RECT r = Placed(id);
            bool fromRight = id == IDC_MAIN_ABOUT || id == IDC_MAIN_REFRESH;
            POINT corner = { fromRight ? client.right - r.left : r.left, client.bottom - r.bottom };
            if (step == 0)
                opened[id] = corner;
            EXPECT_TRUE(abs(corner.x - opened[id].x) <= (fromRight ? 1 : 0) && abs(corner.y - opened[id].y) <= 1) << id << " left its corner at " << step;
            EXPECT_TRUE(id == IDC_MAIN_TREE || (r.top >= tree.bottom && r.top - tree.bottom < r.bottom - r.top)) << id << " apart from the tree at " << step;
            EXPECT_TRUE(step == 0 || GetUpdateRect(GetDlgItem(g_main, id), nullptr, FALSE)) << id << " left undrawn at " << step;
        }
        PumpUntil([] { return false; }, 20);
    }
    // Called, not sent, so that reading this lParam as a notification header faults the test.
    MainDialogProc(g_main, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 0));
    EXPECT_EQ(Placed(IDC_MAIN_TREE).bottom, 0) << "a short window gives the tree no height, not a negative one";
}

// Real input, then (unless inside a menu's own loop) this thread's messages pumped as the main window's own loop
// would, Esc and Enter made commands.
static void Input(std::vector<INPUT> inputs, bool pump = true)
{
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    for (int i = 0; pump && i < 30; i++, Sleep(10))
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
            if (!IsDialogMessageW(g_main, &msg))
                DispatchMessageW(&msg);
}
// Keys pressed in order (modifiers first) and released in reverse.
static void Keys(std::vector<WORD> keys, bool pump = true)
{
    std::vector<INPUT> in(2 * keys.size(), { INPUT_KEYBOARD });
    for (size_t i = 0, last = in.size() - 1; i < keys.size(); i++)
        in[i].ki.wVk = in[last - i].ki.wVk = keys[i], in[last - i].ki.dwFlags = KEYEVENTF_KEYUP;
    Input(in, pump);
}
// Moves the pointer to the point, then presses and releases a button there (down: its MOUSEEVENTF_ down flag).
static void Mouse(POINT at, DWORD down = 0)
{
    INPUT move = { INPUT_MOUSE };
    move.mi = { (at.x * 65536 + 32768) / GetSystemMetrics(SM_CXSCREEN), (at.y * 65536 + 32768) / GetSystemMetrics(SM_CYSCREEN), 0, MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE };
    INPUT press = move, release = move;
    press.mi.dwFlags |= down;
    release.mi.dwFlags |= down * 2;   // each button's up flag is twice its down flag
    // The button after the move has settled, and at the point again: Wine can deliver the X server's echo of a move
    // late, and a tree or button that sees the pointer away from where the button went down takes the click for a drag.
    Input({ move });
    if (down)
        Input({ press, release });
}
static RECT Rect(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}
static POINT Centre(HWND window)
{
    RECT r = Rect(window);
    return { (r.left + r.right) / 2, (r.top + r.bottom) / 2 };
}
// This thread's top-level windows and its mouse capture (null for none), sorted: what pointing must not add to.
static std::vector<HWND> Owned()
{
    std::vector<HWND> windows = { GetCapture() };
    EnumThreadWindows(GetCurrentThreadId(), [](HWND window, LPARAM list) -> BOOL { return reinterpret_cast<std::vector<HWND> *>(list)->push_back(window), TRUE; },
                      reinterpret_cast<LPARAM>(&windows));
    std::sort(windows.begin(), windows.end());
    return windows;
}
static bool NothingAddedTo(const std::vector<HWND> &before, std::vector<HWND> now = Owned())
{
    return std::includes(before.begin(), before.end(), now.begin(), now.end());
}
// What the outline covers: the bounds of this thread's shown windows that let the mouse through.
static RECT Outline()
{
    RECT bounds = {};
    for (HWND window : Owned()) {
        RECT r = Rect(window);
        if (IsWindowVisible(window) && (GetWindowLongW(window, GWL_EXSTYLE) & (WS_EX_LAYERED | WS_EX_TRANSPARENT)) == (WS_EX_LAYERED | WS_EX_TRANSPARENT))
            UnionRect(&bounds, &bounds, &r);
    }
    return bounds;
}
static bool operator==(const RECT &a, const RECT &b) { return EqualRect(&a, &b); }

TEST_F(MainWindow, PointingSelectsTheWindowUnderThePointerAndEveryWayOutLeavesNothingBehind)
{
    CloseHandle(CreateThread(nullptr, 0, [](void *) -> DWORD {
        g_hung = CreateWindowExW(0, L"OrvalisTest", L"Hung", WS_POPUP | WS_VISIBLE, 900, 100, 100, 60, nullptr, nullptr, nullptr, nullptr);
        for (MSG msg; GetMessageW(&msg, nullptr, 0, 0); DispatchMessageW(&msg)) {}
        return 0;
    }, nullptr, 0, nullptr));
    HWND label = Window(top, L"Static", L"Label", WS_CHILD | WS_VISIBLE, 30, 50, 80, 20);
    Window(top, L"Static", L"Beneath the label", WS_CHILD | WS_VISIBLE, 30, 50, 80, 20);
    HWND group = Window(top, L"Button", L"Group", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 10, 10, 200, 150);
    Window(top, L"Static", L"Beneath the caption", WS_CHILD | WS_VISIBLE, 300, -60, 40, 70);
    HWND off = Window(top, L"Button", L"Off", WS_CHILD | WS_VISIBLE | WS_DISABLED, 250, 20, 80, 30);
    HWND former = Window(top, L"Static", L"Former", WS_CHILD | WS_VISIBLE, 30, 200);
    HWND button = Window(top, L"Button", L"Press", WS_CHILD | WS_VISIBLE, 250, 80, 80, 30);
    PumpUntil([] { return g_hung != nullptr; });
    SetWindowPos(g_main, nullptr, 450, 360, 0, 0, SWP_NOSIZE | SWP_NOZORDER);   // clear of them all, at 144 DPI too
    Command(IDC_MAIN_REFRESH);
    g_thaw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    PostMessageW(g_hung, WM_APP, 0, 0);
    std::vector<HWND> before = Owned();
    // Esc, a right click, the program no longer in front, a click, a click on a window made after the fill, the window closed.
    HWND picked = button;
    for (int way = 0; way < 6; way++) {
        Select(former);
        SetForegroundWindow(g_main);
        SetFocus(g_hTree);
        Keys({ VK_CONTROL, 'F' });
        EXPECT_TRUE(way == 0 || TreeView_GetSelection(g_hTree) == Find(button)) << "not what is under the pointer as it starts, at " << way;
        // A button's edge under its outline, the label above its twin and the group box, a caption above a child
        // beneath it, the bare desktop (no node).
        for (auto [window, at] : { std::pair{ button, Centre(button) }, { button, POINT{ Rect(button).left + 1, Centre(button).y } },
                                   { off, Centre(off) }, { label, Centre(label) }, { group, POINT{ Rect(group).left + 8, Rect(group).bottom - 8 } },
                                   { top, POINT{ Rect(top).left + 320, Rect(top).top + 4 } }, { nullptr, POINT{ 1270, 1010 } }, { g_hung, Centre(g_hung) } }) {
            Mouse(at);
            EXPECT_TRUE(TreeView_GetSelection(g_hTree) == Find(window) && Outline() == Rect(window)) << Hex(window) << " at " << way;
        }
        if (way == 0) {
            Keys({ VK_ESCAPE });
            SetEvent(g_thaw), SendMessageW(g_hung, WM_NULL, 0, 0);   // for the refill ahead; and its late pointer events spent
        }
        if (way == 1 || way == 3)
            Mouse(Centre(button), way == 1 ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
        if (way == 2)
            SendMessageW(g_main, WM_ACTIVATEAPP, FALSE, 0);
        if (way == 4) {
            HWND late = Window(top, L"Button", L"Late", WS_CHILD | WS_VISIBLE, 250, 150, 80, 30);
            Mouse(Centre(late));
            EXPECT_EQ(TreeView_GetSelection(g_hTree), Find(top)) << "its nearest ancestor that has a node";
            Mouse(Centre(late), MOUSEEVENTF_LEFTDOWN);
            picked = late;
        }
        if (way == 5)
            DestroyWindow(g_main);
        // Picked: selected, the tree in focus and Orvalis in front; else the former selection back, Orvalis still open.
        EXPECT_TRUE(way == 3 || way == 4 ? TreeView_GetSelection(g_hTree) == Find(picked) && GetForegroundWindow() == g_main && GetFocus() == g_hTree
                           : way == 5 || (TreeView_GetSelection(g_hTree) == Find(former) && IsWindowVisible(g_main))) << way;
        EXPECT_TRUE(!IsPointing() && NothingAddedTo(before) && g_heard == way) << "the click heard, or something left, at " << way;
        Mouse(Centre(button), MOUSEEVENTF_LEFTDOWN);
        EXPECT_EQ(g_heard, way + 1) << "a later click kept from its window after " << way;
    }
}

// Inside the loop of the menu opened next: notes its items ("*" marks the default, "-" a greyed one) and chooses
// g_choice by its access key; then cancels the window that the item opens, noting its caption.
static UINT g_choice;
static Texts g_items;
static HMENU g_menu;
static void CALLBACK ChooseFromMenu(HWND, UINT, UINT_PTR, DWORD)
{
    HWND shown = nullptr;
    while ((shown = FindWindowExW(nullptr, shown, L"#32768", nullptr)) && !IsWindowVisible(shown))
        ;
    HMENU menu = shown ? reinterpret_cast<HMENU>(SendMessageW(shown, MN_GETHMENU, 0, 0)) : nullptr;
    if (g_choice && menu) {
        g_menu = menu;
        for (int i = 0; i < GetMenuItemCount(menu); i++) {
            wchar_t text[128] = L"";
            UINT id = GetMenuItemID(menu, i);
            if (!GetMenuStringW(menu, i, text, 128, MF_BYPOSITION) && GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR)
                continue;
            g_items.push_back(text + std::wstring(id == GetMenuDefaultItem(menu, FALSE, 0) ? L"*" : L"") + (GetMenuState(menu, i, MF_BYPOSITION) & MF_GRAYED ? L"-" : L""));
            if (id == g_choice)
                Keys({ static_cast<WORD>(VkKeyScanW(wcschr(text, L'&')[1]) & 0xFF) }, false);
        }
        g_choice = 0;
    }
    if (!g_choice && !menu)
        RunScript(nullptr, 0, 0, 0);
}
static Texts Menu(UINT choice, std::function<void()> open = [] { Keys({ VK_APPS }); })
{
    g_choice = choice;
    g_items.clear();
    g_popupTitle.clear();
    g_script = nullptr;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, ChooseFromMenu);
    // Twice at most: Wine at times moves the pointer by a late message of its own between the press and the
    // release of a right click, and the tree takes that for the start of a drag.
    for (int tries = 0; tries < 2 && g_choice; tries++) {
        SetForegroundWindow(g_main), SetFocus(g_hTree), open();   // each try from Orvalis in front
        PumpUntil([] { return !g_choice; }, 100);
    }
    KillTimer(nullptr, timer);
    EXPECT_TRUE(!IsMenu(g_menu) || g_menu == GetSystemMenu(g_main, FALSE)) << "a menu left behind";
    return g_items;
}
static std::wstring Clipboard()
{
    OpenClipboard(nullptr);
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    std::wstring text = data ? static_cast<const wchar_t *>(GlobalLock(data)) : L"";
    return GlobalUnlock(data), CloseClipboard(), text;
}

TEST_F(MainWindow, TheNodeMenuAndTheTreesKeysActOnTheNode)
{
    HWND panel = Window(top, L"Static", L"Panel");
    Command(IDC_MAIN_REFRESH);
    OpenClipboard(nullptr), EmptyClipboard(), CloseClipboard();   // of what an earlier run copied
    SetForegroundWindow(g_main);
    SetFocus(g_hTree);
    Keys({ 'F' }), Keys({ VK_CONTROL, 'V' });   // the tree's own search, and a key of no command
    Select(panel);
    Keys({ VK_CONTROL, 'C' });
    EXPECT_TRUE(Clipboard() == Node(Find(panel)).first + L"\t" + Hex(panel) && !IsPointing());

    // Each item has an access key of its own; the texts a satellite lacks are the exe's.
    Texts items = Menu(IDM_DETAILS);
    EXPECT_TRUE(g_popupTitle == L"詳細內容" && Outline() == RECT{}) << "the details not opened, or more done";
    std::set<wchar_t> keys;
    for (const std::wstring &item : items)
        EXPECT_TRUE(item.find(L'&') < item.size() && keys.insert(towupper(item[item.find(L'&') + 1])).second && item.back() != L'-') << item << " greyed, or no key of its own";
    EXPECT_NE(items[0].find(L'*'), std::wstring::npos) << "the details not the default";
    g_hResModule = LoadLibraryExW(BuildFile(L"tests\\bad_captions.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_EQ(Menu(IDM_DETAILS, [] { Keys({ VK_SHIFT, VK_F10 }); }), items) << "Shift+F10, from a satellite made before these texts";
    g_hResModule = g_hInstance;

    // Shown for about two seconds, and never a node: a refill ends it first. (Wine draws a layered window before it
    // is given its opacity, which Windows does not: a missing SetLayeredWindowAttributes shows on Windows alone.)
    Menu(IDM_SHOW_WHERE);
    PumpUntil([] { return false; }, 10);
    HDC screen = GetDC(nullptr);
    EXPECT_TRUE(Outline() == Rect(panel) && GetPixel(screen, Rect(panel).left, Rect(panel).top) == GetSysColor(COLOR_HIGHLIGHT));
    ReleaseDC(nullptr, screen);
    UINT nodes = TreeView_GetCount(g_hTree);
    Keys({ VK_F5 });
    EXPECT_TRUE(Outline() == RECT{} && TreeView_GetCount(g_hTree) == nodes);
    Menu(IDM_SHOW_WHERE);
    PumpUntil([] { return Outline() == RECT{}; }, 300);
    EXPECT_TRUE(Outline() == RECT{}) << "the outline stayed";

    // A right click opens the menu of the node under it.
    RECT row;
    TreeView_GetItemRect(g_hTree, Find(top), &row, TRUE);
    MapWindowPoints(g_hTree, nullptr, reinterpret_cast<POINT *>(&row), 2);
    Menu(IDM_COPY, [&] { Mouse({ row.left + 2, row.top + 2 }, MOUSEEVENTF_RIGHTDOWN); });
    EXPECT_EQ(Clipboard(), Node(Find(top)).first + L"\t" + Hex(top));

    // From the system menu, and from the node's, the pointing starts; the menu's item refills, as F5 did.
    Menu(IDM_FIND_WINDOW, [] { Keys({ VK_MENU, VK_SPACE }); });
    EXPECT_TRUE(IsPointing());
    Menu(IDM_FIND_WINDOW);
    EXPECT_TRUE(IsPointing()) << "the node's menu did not start the pointing anew";
    Keys({ VK_ESCAPE });
    HWND late = Window(top, L"Static", L"Late");
    TreeView_SelectItem(g_hTree, nullptr);
    items = Menu(IDM_REFRESH);
    EXPECT_TRUE(Find(late) && items[0].back() == L'-' && items.back().back() != L'-') << "no node: the node's items not greyed";
}

TEST_F(Details, ShowsAChildInItsParentsCoordinatesWithItsRelativesAndStyles)
{
    // Its parent mirrored, as right-to-left programs make theirs: the client x runs from the right edge.
    HWND mirror = Window(top, L"Static", L"Mirror", WS_CHILD | WS_VISIBLE, 0, 0, 300, 100, 0, WS_EX_LAYOUTRTL);
    HWND before = Window(mirror, L"Static", L"Before", WS_CHILD);
    HWND button = Window(mirror, L"Button", L"Press", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 17, 23, 90, 30, 4321);
    HWND after = Window(mirror, L"Static", L"After", WS_CHILD), child = Window(button, L"Static", L"Child", WS_CHILD);
    Open(button);
    EXPECT_EQ(Shown(), (Texts{ L"Press", L"Button", L"17", L"23", L"90", L"30", Hex(button), L"4321", L"2 of 4", L"0 of 5", L"off", L"on", L"off" }));
    EXPECT_EQ(Panel(IDC_DETAILS_STYLE_LIST), (Texts{ L"BS_PUSHBUTTON 0", L"BS_TEXT 0", L"WS_CHILD 40000000", L"WS_MAXIMIZEBOX 10000", L"WS_VISIBLE 10000000" }));
    EXPECT_EQ(Field(IDC_DETAILS_STYLE_CAPTION), L"視窗形態 : 50010000");
    // The names shown (WS_EX_RIGHTSCROLLBAR among them) fit their column with the list's label margin; the value column ends inside.
    HWND list = GetDlgItem(dialog, IDC_DETAILS_EXSTYLE_LIST);
    int widest = 0;
    for (int id : { IDC_DETAILS_STYLE_LIST, IDC_DETAILS_EXSTYLE_LIST, IDC_DETAILS_CLASSSTYLE_LIST })
        for (const std::wstring &row : Panel(id))
            widest = std::max(widest, ListView_GetStringWidth(list, row.substr(0, row.find(L' ')).c_str()));
    RECT client;
    GetClientRect(list, &client);
    EXPECT_LE(widest + 12, ListView_GetColumnWidth(list, 0));
    EXPECT_LE(ListView_GetColumnWidth(list, 0) + ListView_GetColumnWidth(list, 1), client.right);

    EXPECT_EQ(Relative(0), (Texts{ L"主視窗", L"Mirror", L"Static", Hex(mirror) }));
    EXPECT_EQ(Relative(1), (Texts{ L"擁有視窗", L"", L"", L"" })) << "no owner (a child has none): the parent's fields emptied";
    // Every relative shows, each under a tab of its own name.
    std::set<std::wstring> names, relatives;
    for (int tab = 0; tab < TabCtrl_GetItemCount(GetDlgItem(dialog, IDC_DETAILS_RELATIVES_TAB)); tab++) {
        Texts shown = Relative(tab);
        EXPECT_TRUE(!shown[0].empty() && names.insert(shown[0]).second && relatives.insert(shown[3]).second) << tab;
    }
    for (HWND relative : { mirror, before, after, child })
        EXPECT_EQ(relatives.count(Hex(relative)), 1u) << Text(relative);
    // Placed where the fields say, so that a press leaves unedited values where they are.
    SetDlgItemTextW(dialog, IDC_DETAILS_LEFT, L"-30");
    Press(IDC_DETAILS_SET_RECT);
    Open(button);
    EXPECT_EQ(Field(IDC_DETAILS_LEFT), L"-30");

    // Bits its class names nothing for show as they are; read as a Button, as its names.
    HWND owned = Window(top, L"OrvalisTest", L"Owned", WS_POPUP | WS_DISABLED | 0x0401, -120, -45, 333, 222, 0, WS_EX_TOPMOST);
    Open(owned);
    EXPECT_EQ(Shown(), (Texts{ L"Owned", L"OrvalisTest", L"-120", L"-45", L"333", L"222", Hex(owned), L"0", L"2 of 4", L"0 of 4", L"on", L"off", L"on" }));
    EXPECT_EQ(Panel(IDC_DETAILS_CLASSSTYLE_LIST), Texts{ L"CS_DBLCLKS 8" });
    EXPECT_EQ(Panel(IDC_DETAILS_STYLE_LIST), (Texts{ L"00000001", L"00000400", L"WS_CLIPSIBLINGS 4000000", L"WS_DISABLED 8000000",
                                                     L"WS_OVERLAPPED 0", L"WS_POPUP 80000000" }));
    Press(IDC_DETAILS_CLASS_LIST, 0, IDC_DETAILS_CLASS_LIST);
    EXPECT_EQ(Panel(IDC_DETAILS_STYLE_LIST), (Texts{ L"BS_DEFPUSHBUTTON 1", L"BS_TEXT 0", L"BS_TOP 400", L"WS_CLIPSIBLINGS 4000000",
                                                     L"WS_DISABLED 8000000", L"WS_OVERLAPPED 0", L"WS_POPUP 80000000" }));
    // Every other class decodes it by its own names: beside the WS_ ones, only its prefix's, then CCS and leftover bits (none without a prefix).
    for (int row = 1; row < CLASS_PREFIX_COUNT; row++) {
        Press(IDC_DETAILS_CLASS_LIST, row, IDC_DETAILS_CLASS_LIST);
        std::wstring prefix = CLASS_PREFIXES[row].prefix;
        for (const std::wstring &name : Panel(IDC_DETAILS_STYLE_LIST)) {
            bool classs = !prefix.empty() && (name.rfind(prefix, 0) == 0 || name.rfind(L"CCS", 0) == 0 || name.size() == 8);
            EXPECT_TRUE(classs || name.rfind(L"WS_", 0) == 0) << CLASS_PREFIXES[row].className << ": " << name;
        }
    }

    // Formats that would read arguments never passed give way to the exe's.
    g_hResModule = LoadLibraryExW(BuildFile(L"tests\\bad_captions.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    Open(owned);
    EXPECT_EQ(Field(IDC_DETAILS_EXSTYLE_CAPTION), L"額外形態 : 8");
    EXPECT_EQ(Field(IDC_DETAILS_CLASSSTYLE_CAPTION), L"系列形態 : 8");
    EnableWindow(owned, TRUE);   // by its own program, once read: the visible box shows it and leaves that so
    Press(IDC_DETAILS_VISIBLE);
    EXPECT_TRUE(IsWindowVisible(owned) && IsWindowEnabled(owned));
}

TEST_F(Details, TextGoesBackWholeAndOnlyByItsButton)
{
    // One past what the first read holds, and far past it.
    HWND target = Window(top, L"OrvalisTest", L"", WS_POPUP);
    for (size_t length : { 256, 100000 }) {
        std::wstring text = std::wstring(length - 1, L'a') + L'z';
        SetWindowTextW(target, text.c_str());
        Open(target);
        EXPECT_EQ(Field(IDC_DETAILS_TEXT), text) << length;
    }
    // Pressed again and again, it leaves no copy behind: 40 copies take 8 MB, and Wine's heap grows by under 1 MB.
    PROCESS_MEMORY_COUNTERS before = { sizeof before }, after = { sizeof after };
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    for (int i = 0; i < 40; i++)
        Press(IDC_DETAILS_SET_TEXT);
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    EXPECT_LT(after.PagefileUsage, before.PagefileUsage + (4 << 20));
    SetDlgItemTextW(dialog, IDC_DETAILS_TEXT, L"Short");
    Press(IDC_DETAILS_SET_TEXT);
    EXPECT_EQ(Text(target), L"Short");
    // Misreported lengths: the field keeps at least the plain read, no read asks past its heap buffer, and the text goes back no shorter.
    for (LRESULT lie : { LRESULT(300), LRESULT(0x7FFFFFFF), LRESULT(-1), LRESULT(0x7FFFFFFFFFFFFFFF) }) {
        g_lengthLie = lie;
        SetWindowTextW(target, std::wstring(600, L'q').c_str());
        SetWindowLongPtrW(target, GWLP_USERDATA, 3);
        Open(target);
        std::wstring shown = Field(IDC_DETAILS_TEXT);
        EXPECT_EQ(shown, std::wstring(600, L'q').substr(0, std::max<size_t>(shown.size(), 255))) << lie;
        Press(IDC_DETAILS_SET_TEXT);
        wchar_t kept[700] = L"";
        EXPECT_GE(InternalGetWindowText(target, kept, 700), static_cast<int>(shown.size())) << lie;
    }
    SetWindowLongPtrW(Window(top, L"OrvalisTest", L"", WS_CHILD), GWLP_USERDATA, 2);
    Open(top);
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
        EXPECT_EQ(std::count(ex.begin(), ex.end(), L"WS_EX_TOPMOST 8"), on ? 1 : 0);
        EXPECT_NE(IsWindowVisible(top), on);
        EXPECT_NE(IsWindowEnabled(top), on);
    }

    const struct { int entry; BOOL zoomed, iconic; } commands[] = {
        { COMMAND_MAXIMIZE, TRUE, FALSE }, { COMMAND_MINIMIZE, FALSE, TRUE }, { COMMAND_RESTORE, TRUE, FALSE }, { COMMAND_RESTORE, FALSE, FALSE },
    };
    for (const auto &c : commands) {
        Press(IDC_DETAILS_EXECUTE, c.entry);
        EXPECT_TRUE(IsZoomed(top) == c.zoomed && IsIconic(top) == c.iconic) << "entry " << c.entry;
    }
    // Asked twice, since SC_CLOSE alone may be ignored; a refusal keeps the dialog.
    SetWindowLongPtrW(top, GWLP_USERDATA, 1);
    Press(IDC_DETAILS_EXECUTE, COMMAND_CLOSE);
    EXPECT_EQ(g_closeRequests, 2);
    EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog ended";
    SetWindowLongPtrW(top, GWLP_USERDATA, 0);
    HANDLE process = g_hTargetProcess;
    Press(IDC_DETAILS_EXECUTE, COMMAND_CLOSE);
    EXPECT_FALSE(IsWindowVisible(dialog)) << "the dialog stays for a closed window";
    EXPECT_TRUE(!CloseHandle(process) && !g_hTargetProcess) << "the process handle left open, or kept for a second end to close";
}

// The built exe, with its satellite, as the other program whose windows
// these dialogs change: priority, the click and the close cross processes.
using Program = Dialogs;
TEST_F(Program, SpeaksItsSatellitesLanguageAndHasItsWindowsChangedFromAnotherProcess)
{
    std::wstring exe = BuildFile(L"orvalis.exe");
    ASSERT_TRUE(CopyFileW(BuildFile(L"satellite\\orvalis.exe.mui").c_str(), (exe + L".mui").c_str(), FALSE));
    STARTUPINFOW startup = { sizeof startup };
    PROCESS_INFORMATION orvalis;
    CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &orvalis);
    HWND other = nullptr;
    PumpUntil([&] { return IsWindowVisible(other = FindWindowW(nullptr, L"Orvalis version 1.0")); });
    DeleteFileW((exe + L".mui").c_str());
    ASSERT_NE(other, nullptr) << "the satellite was not used";

    ASSERT_TRUE(SetPriorityClass(orvalis.hProcess, ABOVE_NORMAL_PRIORITY_CLASS));
    Open(GetDlgItem(other, IDC_MAIN_REFRESH));
    EXPECT_EQ(Ask(IDC_DETAILS_PRIORITY, CB_GETCURSEL), CB_ERR) << "no entry for above normal";
    LRESULT entries = Ask(IDC_DETAILS_PRIORITY, CB_GETCOUNT);
    EXPECT_TRUE(PriorityClassFor(0) && PriorityClassFor(entries - 1) && !PriorityClassFor(entries)) << "one entry for each priority it can set, and no other";
    Press(IDC_DETAILS_SET_PRIORITY, PRIORITY_HIGH, IDC_DETAILS_PRIORITY);
    EXPECT_EQ(GetPriorityClass(orvalis.hProcess), static_cast<DWORD>(HIGH_PRIORITY_CLASS));
    // Clicked, the other's refresh button refills its tree, which now holds this dialog.
    UINT nodes = TreeView_GetCount(GetWindow(other, GW_CHILD));
    EXPECT_NE(nodes, 0u) << "the exe listed nothing at its start";
    Press(IDC_DETAILS_EXECUTE, COMMAND_CLICK);
    EXPECT_GT(TreeView_GetCount(GetWindow(other, GW_CHILD)), nodes);

    Open(other);
    EXPECT_EQ(Ask(IDC_DETAILS_COMMANDS, CB_GETCOUNT), 4) << "the click for a dialog, whose class sorts before Button";
    Press(IDC_DETAILS_EXECUTE, COMMAND_CLOSE);
    EXPECT_EQ(WaitForSingleObject(orvalis.hProcess, 15000), WAIT_OBJECT_0);
    DWORD code = STILL_ACTIVE;
    EXPECT_TRUE(GetExitCodeProcess(orvalis.hProcess, &code) && code == 0) << code;
}
