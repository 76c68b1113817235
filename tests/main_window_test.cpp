// The main window from its real template and procedure, over windows the
// test makes in its own process.
#include <gtest/gtest.h>
#include "support.h"
#include <psapi.h>
#include "resources/resource.h"
#include "tree/main_dialog.h"
#include "tree/window_tree.h"

struct Node {
    std::wstring label;
    int image;
    HWND window;
};

static Node Read(HWND tree, HTREEITEM item)
{
    wchar_t text[NODE_LABEL_CHARS] = L"";
    TVITEMW tv = { TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, item };
    tv.pszText = text;
    tv.cchTextMax = NODE_LABEL_CHARS;
    TreeView_GetItem(tree, &tv);
    EXPECT_EQ(tv.iImage, tv.iSelectedImage);
    return { text, tv.iImage, reinterpret_cast<HWND>(tv.lParam) };
}

static std::vector<Node> Children(HWND tree, HTREEITEM parent)
{
    std::vector<Node> nodes;
    for (HTREEITEM item = TreeView_GetChild(tree, parent); item; item = TreeView_GetNextSibling(tree, item))
        nodes.push_back(Read(tree, item));
    return nodes;
}

static HTREEITEM Find(HWND window, HTREEITEM first = TreeView_GetRoot(g_hTree))
{
    for (HTREEITEM item = first; item; item = TreeView_GetNextSibling(g_hTree, item)) {
        if (Read(g_hTree, item).window == window)
            return item;
        if (HTREEITEM found = Find(window, TreeView_GetChild(g_hTree, item)))
            return found;
    }
    return nullptr;
}

// Runs the script inside the modal loop of the next window the main window
// shows, then cancels that window; keeps its caption.
static HWND g_dialog;
static void (*g_script)(HWND);
static std::wstring g_popupTitle;
static void CALLBACK RunScript(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND popup = nullptr;
    do
        popup = FindWindowExW(nullptr, popup, L"#32770", nullptr);
    while (popup && GetWindow(popup, GW_OWNER) != g_dialog);
    if (!popup)
        return;
    KillTimer(nullptr, timer);
    g_popupTitle = Text(popup);
    if (g_script)
        g_script(popup);
    PostMessageW(popup, WM_COMMAND, IDCANCEL, 0);
}

class MainWindow : public ::testing::Test {
protected:
    HWND top = nullptr;

    void SetUp() override
    {
        UseOwnResources();
        top = CreateWindowExW(0, L"Static", L"Top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                              nullptr, nullptr);
        g_dialog = CreateDialogParamW(g_hInstance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialogProc, 0);
    }
    void TearDown() override
    {
        DestroyWindow(g_dialog);
        DestroyWindow(top);
    }
    HWND Child(HWND parent, const wchar_t *className, const wchar_t *text, DWORD style = WS_VISIBLE)
    {
        return CreateWindowExW(0, className, text, WS_CHILD | style, 0, 0, 50, 20, parent, nullptr, nullptr, nullptr);
    }
    void Command(int id)
    {
        if (id == IDC_MAIN_ORDER_BY_TITLE || id == IDC_MAIN_VISIBLE)
            CheckDlgButton(g_dialog, id, IsDlgButtonChecked(g_dialog, id) ? BST_UNCHECKED : BST_CHECKED);
        SendMessageW(g_dialog, WM_COMMAND, id, reinterpret_cast<LPARAM>(GetDlgItem(g_dialog, id)));
    }
    void CommandWithPopup(int id, void (*script)(HWND) = nullptr)
    {
        g_script = script;
        SetTimer(nullptr, 0, 20, RunScript);
        Command(id);
    }
    void Select(HWND window) { TreeView_SelectItem(g_hTree, Find(window)); }
};

// A check box that answers no icon query, so it takes its picture from the strip.
static WNDPROC g_buttonProc;
static LRESULT CALLBACK IconlessButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_QUERYDRAGICON || message == WM_GETICON)
        return 0;
    return CallWindowProcW(g_buttonProc, window, message, wParam, lParam);
}

// The fill's sibling order must be the one the tree's own sorted insertion
// gives the same labels in the same order, ties and mixed case included.
static void ExpectSortedLikeTheTree(HWND parent)
{
    HWND scratch = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::wstring label = Read(g_hTree, Find(child)).label;
        TVINSERTSTRUCTW insert = { TVI_ROOT, TVI_SORT, { TVIF_TEXT | TVIF_PARAM } };
        insert.item.pszText = &label[0];
        insert.item.lParam = reinterpret_cast<LPARAM>(child);
        TreeView_InsertItem(scratch, &insert);
    }
    std::vector<Node> filled = Children(g_hTree, Find(parent)), sorted = Children(scratch, TVI_ROOT);
    ASSERT_EQ(filled.size(), 11u);
    for (size_t i = 0; i < filled.size(); i++)
        EXPECT_EQ(filled[i].window, sorted[i].window) << "at " << i;
    DestroyWindow(scratch);
}

TEST_F(MainWindow, ListsEveryWindowBeneathItsParentInOrderWithItsPicture)
{
    HWND panel = Child(top, L"Static", L"Panel");
    HWND box = Child(panel, L"Button", L"Box", WS_VISIBLE | BS_AUTOCHECKBOX);
    g_buttonProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(IconlessButton)));
    HWND edit = Child(top, L"Edit", L"Text");
    for (const wchar_t *text : { L"b", L"B", L"a", L"b", L"A", L"ab", L"Ab", L"_", L"a" })
        Child(top, text[0] == L'a' ? L"Button" : L"Static", text);
    Command(IDC_MAIN_REFRESH);

    EXPECT_EQ(GetWindow(g_dialog, GW_CHILD), g_hTree);
    EXPECT_NE(SendMessageW(g_dialog, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_TRUE(IsWindowVisible(g_hTree));
    RECT row;
    EXPECT_TRUE(TreeView_GetItemRect(g_hTree, TreeView_GetRoot(g_hTree), &row, TRUE) && row.bottom > row.top) << "not laid out";
    ExpectSortedLikeTheTree(top);
    std::vector<Node> inner = Children(g_hTree, Find(panel));
    ASSERT_EQ(inner.size(), 1u);
    EXPECT_EQ(inner[0].window, box);
    EXPECT_EQ(inner[0].image, IMAGE_CHECKBOX);
    EXPECT_EQ(TreeView_GetChild(g_hTree, Find(box)), nullptr);
    EXPECT_EQ(Read(g_hTree, Find(panel)).label, L"Static | Panel");

    // In its own process DefWindowProc answers WM_QUERYDRAGICON, so these
    // windows show icons of their own, one image each. (Wine asks no other
    // process's window for its icon.)
    int topImage = Read(g_hTree, Find(top)).image, editImage = Read(g_hTree, Find(edit)).image;
    EXPECT_GT(topImage, IMAGE_WINDOW);
    EXPECT_GT(editImage, IMAGE_WINDOW);
    EXPECT_NE(topImage, editImage);
    EXPECT_GT(ImageList_GetImageCount(g_hImageList), editImage);
    EXPECT_EQ(TreeView_GetImageList(g_hTree, TVSIL_NORMAL), g_hImageList);
    EXPECT_EQ(TreeView_GetImageList(g_hTree, TVSIL_STATE), g_hImageList);

    Command(IDC_MAIN_ORDER_BY_TITLE);
    EXPECT_EQ(Read(g_hTree, Find(panel)).label, L"Panel | Static");
    ExpectSortedLikeTheTree(top);
}

TEST_F(MainWindow, RefreshFollowsTheDesktopAndCostsNoMemory)
{
    HWND doomed = Child(top, L"Static", L"Doomed");
    Command(IDC_MAIN_REFRESH);
    DestroyWindow(doomed);
    HWND born = Child(top, L"Static", L"Born");
    EXPECT_NE(Find(doomed), nullptr) << "the tree changed on its own";
    Command(IDC_MAIN_REFRESH);
    EXPECT_EQ(Find(doomed), nullptr);
    EXPECT_NE(Find(born), nullptr);

    // GetGuiResources answers 0 under Wine; a leaked bitmap shows in the
    // committed bytes (about 28 KiB a refresh at screen depth).
    PROCESS_MEMORY_COUNTERS before = { sizeof before }, after = { sizeof after };
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    for (int i = 0; i < 40; i++)
        Command(IDC_MAIN_REFRESH);
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    EXPECT_LT(after.PagefileUsage, before.PagefileUsage + (512 << 10));

    Command(IDCANCEL);
    Command(IDCANCEL);
    EXPECT_EQ(g_hImageList, nullptr) << "cancel twice destroys the list once";
    EXPECT_EQ(TreeView_GetImageList(g_hTree, TVSIL_NORMAL), nullptr);
    EXPECT_EQ(TreeView_GetImageList(g_hTree, TVSIL_STATE), nullptr);
}

static HWND g_doomed;
static void RefillThenDestroyTheTarget(HWND)
{
    SendMessageW(g_dialog, WM_COMMAND, IDC_MAIN_REFRESH, 0);
    DestroyWindow(g_doomed);
}

TEST_F(MainWindow, OpeningDropsTheNodeOfAVanishedWindowOnly)
{
    HWND stays = Child(top, L"Static", L"Stays");
    HWND gone = Child(top, L"Static", L"Gone");
    Child(gone, L"Button", L"Inside");
    g_doomed = Child(top, L"Static", L"Doomed");
    Command(IDC_MAIN_REFRESH);
    TreeView_SelectItem(g_hTree, nullptr);
    Command(IDOK);
    EXPECT_EQ(Children(g_hTree, Find(top)).size(), 3u) << "Enter without a selection";

    Select(stays);
    CommandWithPopup(IDOK);
    EXPECT_EQ(g_hTarget, stays);
    EXPECT_EQ(g_popupTitle, L"詳細內容");
    EXPECT_NE(Find(stays), nullptr);

    DestroyWindow(gone);
    Select(gone);
    Command(IDOK);
    EXPECT_EQ(Find(gone), nullptr);
    ASSERT_EQ(Children(g_hTree, Find(top)).size(), 2u) << "the node and its descendants go";

    // The dialog refills the tree, then its target goes: its node is found anew.
    Select(g_doomed);
    CommandWithPopup(IDOK, RefillThenDestroyTheTarget);
    EXPECT_EQ(Find(g_doomed), nullptr);
    EXPECT_NE(Find(stays), nullptr);
}

TEST_F(MainWindow, VisibleBoxFollowsTheSelectionAndAboutLeavesItAlone)
{
    HWND hidden = Child(top, L"Static", L"Hidden", 0);
    Command(IDC_MAIN_REFRESH);
    TreeView_SelectItem(g_hTree, nullptr);
    UINT before = IsDlgButtonChecked(g_dialog, IDC_MAIN_VISIBLE);
    Command(IDC_MAIN_VISIBLE);
    EXPECT_EQ(IsDlgButtonChecked(g_dialog, IDC_MAIN_VISIBLE), before) << "no selection: the box undoes its toggle";
    EXPECT_FALSE(IsWindowVisible(hidden));

    Select(hidden);
    EXPECT_EQ(IsDlgButtonChecked(g_dialog, IDC_MAIN_VISIBLE), BST_UNCHECKED);
    Select(top);
    EXPECT_EQ(IsDlgButtonChecked(g_dialog, IDC_MAIN_VISIBLE), BST_CHECKED);
    CommandWithPopup(IDC_MAIN_ABOUT);
    EXPECT_EQ(g_popupTitle, L"關於 Orvalis 1.0 版本");
    EXPECT_TRUE(IsWindowVisible(top)) << "About went on into the visible box";
    Command(IDC_MAIN_VISIBLE);
    EXPECT_FALSE(IsWindowVisible(top));
    Command(IDC_MAIN_VISIBLE);
    EXPECT_TRUE(IsWindowVisible(top));
    EXPECT_FALSE(IsWindowVisible(hidden));
}

static RECT Placed(int id)
{
    RECT r;
    GetWindowRect(GetDlgItem(g_dialog, id), &r);
    MapWindowPoints(nullptr, g_dialog, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

// What the screen shows of a control.
static std::vector<COLORREF> Pixels(int id)
{
    RECT r;
    GetWindowRect(GetDlgItem(g_dialog, id), &r);
    HDC screen = GetDC(nullptr);
    std::vector<COLORREF> pixels;
    for (int y = r.top; y < r.bottom; y++)
        for (int x = r.left; x < r.right; x++)
            pixels.push_back(GetPixel(screen, x, y));
    ReleaseDC(nullptr, screen);
    return pixels;
}

static void Pump()
{
    for (int i = 0; i < 20; i++) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(10);
    }
}

TEST_F(MainWindow, EveryControlIsDrawnInsideTheClientBelowTheTreeAfterASizeChange)
{
    const int below[] = { IDC_MAIN_ORDER_BY_TITLE, IDC_MAIN_VISIBLE, IDC_MAIN_ABOUT, IDC_MAIN_REFRESH };
    RECT start;
    GetWindowRect(g_dialog, &start);
    for (int grow : { 0, 1, 300, -1 }) {
        if (grow < 0)
            ShowWindow(g_dialog, SW_MAXIMIZE);
        else
            SetWindowPos(g_dialog, nullptr, 0, 0, start.right - start.left + grow, start.bottom - start.top + grow / 2, SWP_NOMOVE | SWP_NOZORDER);
        Pump();
        RECT client, tree = Placed(IDC_MAIN_TREE), overlap;
        GetClientRect(g_dialog, &client);
        std::vector<std::vector<COLORREF>> shown;
        for (int id : below) {
            RECT r = Placed(id);
            EXPECT_TRUE(r.left >= 0 && r.right <= client.right && r.bottom <= client.bottom) << id << " crosses the edge at " << grow;
            EXPECT_GE(r.top, tree.bottom) << id << " overlaps the tree at " << grow;
            for (int other : below) {
                RECT o = Placed(other);
                EXPECT_TRUE(other == id || !IntersectRect(&overlap, &r, &o)) << id << " overlaps " << other;
            }
            shown.push_back(Pixels(id));
        }
        RedrawWindow(g_dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        for (int i = 0; i < 4; i++)
            EXPECT_EQ(shown[i], Pixels(below[i])) << below[i] << " not drawn at " << grow;
    }
    // Called, not sent: read as a notification header this size points into
    // the unmapped first page, and the fault must end the test.
    MainDialogProc(g_dialog, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 0));
    EXPECT_EQ(Placed(IDC_MAIN_TREE).bottom, 0) << "a short window gives the tree no height, not a negative one";
}
