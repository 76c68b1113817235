// The main window, made from its real template and procedure, looking at
// windows the test makes.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>
#include "app/startup.h"
#include "resources/resource.h"
#include "tree/main_dialog.h"
#include "tree/window_tree.h"
#include "support/target_app_ids.h"
#include "support/target_windows.h"
#include "support/test_support.h"

struct Node {
    std::wstring label;
    int image;
    HWND window;
};

static Node ReadNode(HTREEITEM item)
{
    wchar_t text[NODE_LABEL_CHARS] = L"";
    TVITEMW tv = {};
    tv.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = NODE_LABEL_CHARS;
    SendMessageW(g_hTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    EXPECT_EQ(tv.iImage, tv.iSelectedImage) << "selected image differs for " << std::string(text, text + lstrlenW(text));
    return { text, tv.iImage, reinterpret_cast<HWND>(tv.lParam) };
}

static HTREEITEM Next(HTREEITEM item, UINT how)
{
    return reinterpret_cast<HTREEITEM>(SendMessageW(g_hTree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

static std::vector<HTREEITEM> ChildNodes(HTREEITEM parent)
{
    std::vector<HTREEITEM> nodes;
    HTREEITEM item = parent ? Next(parent, TVGN_CHILD) : Next(nullptr, TVGN_ROOT);
    for (; item; item = Next(item, TVGN_NEXT))
        nodes.push_back(item);
    return nodes;
}

static HTREEITEM FindNode(HTREEITEM parent, HWND window)
{
    for (HTREEITEM item : ChildNodes(parent)) {
        if (ReadNode(item).window == window)
            return item;
    }
    return nullptr;
}

class MainDialog : public ::testing::Test {
protected:
    HWND dialog = nullptr;
    HWND top = nullptr;

    void SetUp() override
    {
        EnsureStyleTable();
        top = CreateTestTopWindow(L"Fixture Top");
        dialog = CreateDialogParamW(g_hInstance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialogProc, 0);
        ASSERT_NE(dialog, nullptr);
    }

    void TearDown() override
    {
        DestroyWindow(dialog);
        ImageList_Destroy(g_hImageList);
        DestroyWindow(top);
    }

    void Command(int id, int code = BN_CLICKED)
    {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }

    void ClickBox(int id)
    {
        HWND box = GetDlgItem(dialog, id);
        SendMessageW(box, BM_SETCHECK, SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
        Command(id);
    }

    HTREEITEM TopNode() { return FindNode(nullptr, top); }
};

TEST_F(MainDialog, ListsEveryDescendantBeneathItsParent)
{
    HWND push = CreateTestChild(top, L"Button", L"OK", WS_VISIBLE | BS_PUSHBUTTON);
    HWND hidden = CreateTestChild(top, L"Static", L"Hidden", 0);
    HWND password = CreateTestChild(top, L"Edit", L"", WS_VISIBLE | ES_PASSWORD);
    HWND chain = CreateTestChild(top, L"Static", L"Outer", WS_VISIBLE);
    HWND middle = CreateTestChild(chain, L"Button", L"Middle", WS_VISIBLE | BS_CHECKBOX);
    HWND inner = CreateTestChild(middle, L"Edit", L"Inner", WS_VISIBLE);
    Command(IDC_MAIN_REFRESH);

    HTREEITEM topNode = TopNode();
    ASSERT_NE(topNode, nullptr) << "top-level window missing from the root level";
    EXPECT_EQ(ReadNode(topNode).label, L"OrvalisTestTop | Fixture Top");
    EXPECT_EQ(ChildNodes(topNode).size(), 4u);

    const struct { HWND window; const wchar_t *label; } expected[] = {
        { push, L"Button | OK" }, { hidden, L"Static | Hidden" }, { password, L"Edit | " }, { chain, L"Static | Outer" },
    };
    for (const auto &e : expected)
        EXPECT_NE(FindNode(topNode, e.window), nullptr) << "no node under its parent for " << std::wstring(e.label).size();
    for (const auto &e : expected)
        EXPECT_EQ(ReadNode(FindNode(topNode, e.window)).label, e.label);

    HTREEITEM middleNode = FindNode(FindNode(topNode, chain), middle);
    ASSERT_NE(middleNode, nullptr) << "grandchild not beneath its parent";
    HTREEITEM innerNode = FindNode(middleNode, inner);
    ASSERT_NE(innerNode, nullptr) << "great-grandchild not beneath its parent";
    EXPECT_EQ(ReadNode(innerNode).label, L"Edit | Inner");
    EXPECT_TRUE(ChildNodes(innerNode).empty());
}

TEST_F(MainDialog, OwnWindowsShowTheirIconsOneImageEach)
{
    // In the window's own process DefWindowProc answers WM_QUERYDRAGICON
    // with an icon, so every one of these windows has one to show.
    HWND first = CreateTestChild(top, L"Button", L"One", WS_VISIBLE);
    HWND second = CreateTestChild(top, L"Button", L"Two", WS_VISIBLE);
    Command(IDC_MAIN_REFRESH);
    int topImage = ReadNode(TopNode()).image;
    int firstImage = ReadNode(FindNode(TopNode(), first)).image;
    int secondImage = ReadNode(FindNode(TopNode(), second)).image;
    EXPECT_GT(topImage, IMAGE_WINDOW);
    EXPECT_GT(firstImage, IMAGE_WINDOW);
    EXPECT_GT(secondImage, IMAGE_WINDOW);
    EXPECT_NE(firstImage, secondImage) << "each window appends its own image";
    EXPECT_LT(secondImage, ImageList_GetImageCount(g_hImageList));
}

TEST_F(MainDialog, AnotherProcessesControlsShowTheirKind)
{
    // Wine sends neither WM_QUERYDRAGICON nor WM_GETICON to another process's
    // windows and reports no class icon for them, so the fixture's controls
    // take their pictures from the strip by class and style.
    TargetApp app;
    ASSERT_TRUE(app.Start());
    Command(IDC_MAIN_REFRESH);
    HTREEITEM fixtureNode = FindNode(nullptr, app.fixture);
    ASSERT_NE(fixtureNode, nullptr);
    EXPECT_EQ(ReadNode(fixtureNode).image, IMAGE_WINDOW);
    EXPECT_EQ(ChildNodes(fixtureNode).size(), 10u);

    const struct { int id; const wchar_t *label; int image; } expected[] = {
        { FIXTURE_PUSH, L"Button | OK", IMAGE_PUSHBUTTON },     { FIXTURE_CHECK, L"Button | Check", IMAGE_CHECKBOX },
        { FIXTURE_RADIO, L"Button | Radio", IMAGE_RADIO },      { FIXTURE_GROUP, L"Button | Group", IMAGE_GROUPBOX },
        { FIXTURE_OWNERDRAW, L"Button | Drawn", IMAGE_PUSHBUTTON }, { FIXTURE_EDIT, L"Edit | Lines", 3 },
        { FIXTURE_PASSWORD, L"Edit | ", IMAGE_PASSWORD },       { FIXTURE_VSCROLL, L"ScrollBar | ", IMAGE_VSCROLL },
        { FIXTURE_HSCROLL, L"ScrollBar | ", IMAGE_HSCROLL },    { FIXTURE_STATIC, L"Static | Label", 10 },
    };
    for (const auto &e : expected) {
        HTREEITEM node = FindNode(fixtureNode, app.Control(e.id));
        ASSERT_NE(node, nullptr) << "control " << e.id;
        Node info = ReadNode(node);
        EXPECT_EQ(info.label, e.label) << "control " << e.id;
        EXPECT_EQ(info.image, e.image) << "control " << e.id;
    }
    app.Stop();
}

TEST_F(MainDialog, SiblingsAreSortedByLabel)
{
    CreateTestChild(top, L"Static", L"b", WS_VISIBLE);
    CreateTestChild(top, L"Button", L"z", WS_VISIBLE);
    CreateTestChild(top, L"Static", L"a", WS_VISIBLE);
    Command(IDC_MAIN_REFRESH);
    std::vector<std::wstring> labels;
    for (HTREEITEM node : ChildNodes(TopNode()))
        labels.push_back(ReadNode(node).label);
    EXPECT_EQ(labels, (std::vector<std::wstring>{ L"Button | z", L"Static | a", L"Static | b" }));
}

TEST_F(MainDialog, OrderBoxRebuildsTheTreeByTitleAndBack)
{
    CreateTestChild(top, L"Static", L"b", WS_VISIBLE);
    CreateTestChild(top, L"Button", L"z", WS_VISIBLE);
    CreateTestChild(top, L"Static", L"a", WS_VISIBLE);

    auto labels = [&] {
        std::vector<std::wstring> result;
        for (HTREEITEM node : ChildNodes(TopNode()))
            result.push_back(ReadNode(node).label);
        return result;
    };
    ClickBox(IDC_MAIN_ORDER_BY_TITLE);
    ASSERT_NE(TopNode(), nullptr);
    EXPECT_EQ(ReadNode(TopNode()).label, L"Fixture Top | OrvalisTestTop");
    EXPECT_EQ(labels(), (std::vector<std::wstring>{ L"a | Static", L"b | Static", L"z | Button" }));
    EXPECT_TRUE(IsWindowVisible(g_hTree)) << "tree left hidden after the refill";

    ClickBox(IDC_MAIN_ORDER_BY_TITLE);
    EXPECT_EQ(labels(), (std::vector<std::wstring>{ L"Button | z", L"Static | a", L"Static | b" }));
}

TEST_F(MainDialog, RefreshPicksUpNewWindowsAndDropsDestroyedOnes)
{
    HWND doomed = CreateTestChild(top, L"Static", L"Doomed", WS_VISIBLE);
    Command(IDC_MAIN_REFRESH);
    ASSERT_NE(FindNode(TopNode(), doomed), nullptr);

    DestroyWindow(doomed);
    HWND born = CreateTestChild(top, L"Edit", L"Born", WS_VISIBLE);
    EXPECT_NE(FindNode(TopNode(), doomed), nullptr) << "the tree must not update on its own";
    Command(IDC_MAIN_REFRESH);
    EXPECT_EQ(FindNode(TopNode(), doomed), nullptr);
    EXPECT_NE(FindNode(TopNode(), born), nullptr);
}

TEST_F(MainDialog, QueryDragIconWinsOverEveryOtherIcon)
{
    int getIconCount = 0;
    HICON drag = LoadIconW(nullptr, IDI_WARNING);
    HWND window = CreateDragIconWindow(drag, &getIconCount);
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(LoadIconW(nullptr, IDI_ERROR)));
    getIconCount = 0;
    int before = ImageList_GetImageCount(g_hImageList);
    Command(IDC_MAIN_REFRESH);
    HTREEITEM node = FindNode(nullptr, window);
    ASSERT_NE(node, nullptr);
    EXPECT_GT(ReadNode(node).image, IMAGE_WINDOW);
    EXPECT_EQ(getIconCount, 0) << "WM_GETICON asked although WM_QUERYDRAGICON answered";
    EXPECT_GT(before, IMAGE_WINDOW) << "strip and generic icon missing from the image list";
    DestroyWindow(window);
}

TEST_F(MainDialog, OpeningAVanishedWindowRemovesItsNodeAndDescendants)
{
    HWND parent = CreateTestChild(top, L"Static", L"Parent", WS_VISIBLE);
    CreateTestChild(parent, L"Button", L"Child", WS_VISIBLE);
    Command(IDC_MAIN_REFRESH);
    HTREEITEM node = FindNode(TopNode(), parent);
    ASSERT_NE(node, nullptr);
    SendMessageW(g_hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
    size_t siblingsBefore = ChildNodes(TopNode()).size();

    DestroyWindow(parent);
    Command(IDOK, 0);
    EXPECT_EQ(FindNode(TopNode(), parent), nullptr);
    EXPECT_EQ(ChildNodes(TopNode()).size(), siblingsBefore - 1);
}

TEST_F(MainDialog, EnterWithoutSelectionDoesNothing)
{
    Command(IDC_MAIN_REFRESH);
    SendMessageW(g_hTree, TVM_SELECTITEM, TVGN_CARET, 0);
    size_t roots = ChildNodes(nullptr).size();
    Command(IDOK, 0);
    EXPECT_EQ(ChildNodes(nullptr).size(), roots);
}

// Closes the details dialog from inside its modal loop, first destroying
// the target when asked to.
static HWND g_closeTarget;
static bool g_destroyTargetFirst;
static bool g_sawDetails;

static void CALLBACK CloseDetailsSoon(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND details = GetLastActivePopup(GetAncestor(g_hTree, GA_ROOT));
    if (details == GetAncestor(g_hTree, GA_ROOT))
        return;
    g_sawDetails = true;
    KillTimer(nullptr, timer);
    if (g_destroyTargetFirst)
        DestroyWindow(g_closeTarget);
    PostMessageW(details, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(MainDialog, NodeGoesWhenItsWindowIsGoneAfterTheDetailsDialog)
{
    HWND stays = CreateTestChild(top, L"Static", L"Stays", WS_VISIBLE);
    HWND goes = CreateTestChild(top, L"Static", L"Goes", WS_VISIBLE);
    Command(IDC_MAIN_REFRESH);

    for (HWND window : { stays, goes }) {
        g_closeTarget = window;
        g_destroyTargetFirst = window == goes;
        g_sawDetails = false;
        SendMessageW(g_hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(FindNode(TopNode(), window)));
        SetTimer(nullptr, 0, 50, CloseDetailsSoon);
        Command(IDOK, 0);
        EXPECT_TRUE(g_sawDetails) << "details dialog did not open";
        EXPECT_EQ(g_hTarget, window);
    }
    EXPECT_NE(FindNode(TopNode(), stays), nullptr);
    EXPECT_EQ(FindNode(TopNode(), goes), nullptr);
}

TEST_F(MainDialog, VisibleBoxFollowsTheSelectionAndShowsOrHides)
{
    HWND shown = CreateTestChild(top, L"Static", L"Shown", WS_VISIBLE);
    HWND hidden = CreateTestChild(top, L"Static", L"Hidden", 0);
    Command(IDC_MAIN_REFRESH);
    HWND box = GetDlgItem(dialog, IDC_MAIN_VISIBLE);

    SendMessageW(g_hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(FindNode(TopNode(), hidden)));
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageW(g_hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(FindNode(TopNode(), shown)));
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);

    ClickBox(IDC_MAIN_VISIBLE);
    EXPECT_FALSE(IsWindowVisible(shown));
    ClickBox(IDC_MAIN_VISIBLE);
    EXPECT_TRUE(IsWindowVisible(shown));
    EXPECT_FALSE(IsWindowVisible(hidden)) << "a window that was not selected changed";
}

TEST_F(MainDialog, VisibleBoxWithoutSelectionTouchesNoWindow)
{
    HWND hidden = CreateTestChild(top, L"Static", L"Hidden", 0);
    Command(IDC_MAIN_REFRESH);
    SendMessageW(g_hTree, TVM_SELECTITEM, TVGN_CARET, 0);
    HWND box = GetDlgItem(dialog, IDC_MAIN_VISIBLE);
    SendMessageW(box, BM_SETCHECK, BST_UNCHECKED, 0);

    ClickBox(IDC_MAIN_VISIBLE);
    EXPECT_FALSE(IsWindowVisible(hidden));
    EXPECT_TRUE(IsWindowVisible(top));
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "box claims a change that did not happen";
}

static RECT ChildRect(HWND dialog, HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

TEST_F(MainDialog, SizeKeepsButtonsBottomRightAndBoxesBottomLeft)
{
    SendMessageW(dialog, WM_SIZE, SIZE_RESTORED, MAKELPARAM(600, 400));
    RECT tree = ChildRect(dialog, g_hTree);
    EXPECT_EQ(tree.right - tree.left, 600);
    EXPECT_EQ(tree.bottom - tree.top, 370);
    EXPECT_EQ(ChildRect(dialog, GetDlgItem(dialog, IDC_MAIN_REFRESH)).left, 600 - 87);
    EXPECT_EQ(ChildRect(dialog, GetDlgItem(dialog, IDC_MAIN_REFRESH)).top, 400 - 24);
    EXPECT_EQ(ChildRect(dialog, GetDlgItem(dialog, IDC_MAIN_ABOUT)).left, 600 - 178);
    EXPECT_EQ(ChildRect(dialog, GetDlgItem(dialog, IDC_MAIN_ABOUT)).top, 400 - 24);
    EXPECT_EQ(ChildRect(dialog, GetDlgItem(dialog, IDC_MAIN_ORDER_BY_TITLE)).left, 5);
    EXPECT_EQ(ChildRect(dialog, GetDlgItem(dialog, IDC_MAIN_ORDER_BY_TITLE)).top, 400 - 21);
    EXPECT_EQ(ChildRect(dialog, GetDlgItem(dialog, IDC_MAIN_VISIBLE)).left, 162);

    SendMessageW(dialog, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    tree = ChildRect(dialog, g_hTree);
    EXPECT_GE(tree.bottom - tree.top, 0);
    SendMessageW(dialog, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 20));
    tree = ChildRect(dialog, g_hTree);
    EXPECT_EQ(tree.bottom - tree.top, 0);
}

TEST_F(MainDialog, TreeIsTheFirstChildAndTheWindowHasTheProgramIcon)
{
    EXPECT_EQ(GetWindow(dialog, GW_CHILD), g_hTree);
    EXPECT_EQ(GetDlgCtrlID(g_hTree), IDC_MAIN_TREE);
    EXPECT_EQ(WindowText(dialog), L"Orvalis 1.0 版本");
    EXPECT_NE(SendMessageW(dialog, WM_GETICON, ICON_BIG, 0), 0);
}
