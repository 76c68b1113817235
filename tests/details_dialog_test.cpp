// The details dialog's display, made from its real template and procedure,
// looking at windows the test makes in its own process.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <sstream>
#include <string>
#include <vector>
#include "app/startup.h"
#include "details/details_dialog.h"
#include "resources/resource.h"
#include "styles/style_names.h"
#include "tree/main_dialog.h"
#include "support/target_windows.h"
#include "support/test_support.h"

using Rows = std::vector<std::wstring>;

static std::wstring Hex(HWND window)
{
    std::wostringstream text;
    text << std::uppercase << std::hex << static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(window));
    return text.str();
}

static Rows PanelRows(HWND dialog, int listId) { return ListRows(GetDlgItem(dialog, listId)); }

class DetailsDisplay : public ::testing::Test {
protected:
    HWND top = nullptr;
    HWND dialog = nullptr;

    void SetUp() override
    {
        EnsureStyleTable();
        top = CreateTestTopWindow(L"Details Top");
    }
    void TearDown() override
    {
        if (dialog)
            CloseDetailsDialog(dialog);
        DestroyWindow(top);
    }
    void Open(HWND target) { dialog = CreateDetailsDialog(target); }
    void ChooseTab(int tab)
    {
        HWND control = GetDlgItem(dialog, IDC_DETAILS_RELATIVES_TAB);
        SendMessageW(control, TCM_SETCURSEL, tab, 0);
        NMHDR header = { control, IDC_DETAILS_RELATIVES_TAB, static_cast<UINT>(TCN_SELCHANGE) };
        SendMessageW(dialog, WM_NOTIFY, IDC_DETAILS_RELATIVES_TAB, reinterpret_cast<LPARAM>(&header));
    }
    void ChooseClass(int row)
    {
        HWND list = GetDlgItem(dialog, IDC_DETAILS_CLASS_LIST);
        SendMessageW(list, CB_SETCURSEL, row, 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_DETAILS_CLASS_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    }
};

TEST_F(DetailsDisplay, ChildButtonShowsItsFieldsInParentCoordinates)
{
    HWND button = CreateWindowExW(0, L"Button", L"Press me", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 17, 23, 90, 30,
                                  top, reinterpret_cast<HMENU>(4321), GetModuleHandleW(nullptr), nullptr);
    Open(button);
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_TEXT), L"Press me");
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_CLASS), L"Button");
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_LEFT), L"17");
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_TOP), L"23");
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_WIDTH), L"90");
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_HEIGHT), L"30");
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_HANDLE), Hex(button));
    EXPECT_NE(ItemText(dialog, IDC_DETAILS_HANDLE)[0], L'0');
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_ID), L"4321");
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_DETAILS_VISIBLE), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_DETAILS_DISABLED), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_DETAILS_TOPMOST), BST_UNCHECKED);

    EXPECT_EQ(ComboEntries(dialog, IDC_DETAILS_COMMANDS), (Rows{ L"關閉", L"最大化", L"最小化", L"復原", L"按鍵" }));
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_DETAILS_COMMANDS, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(ComboEntries(dialog, IDC_DETAILS_PRIORITY), (Rows{ L"最高", L"高等", L"一般", L"閒置" }));
    EXPECT_NE(g_hTargetProcess, nullptr);
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_DETAILS_PRIORITY, CB_GETCURSEL, 0, 0), 2) << "this process runs at normal";
}

TEST_F(DetailsDisplay, TopLevelWindowShowsScreenCoordinatesWithSign)
{
    SetWindowPos(top, nullptr, -120, -45, 333, 222, SWP_NOZORDER | SWP_NOACTIVATE);
    Open(top);
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_LEFT), L"-120");
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_TOP), L"-45");
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_WIDTH), L"333");
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_HEIGHT), L"222");
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_TEXT), L"Details Top");
    EXPECT_EQ(ComboEntries(dialog, IDC_DETAILS_COMMANDS).size(), 4u) << "the click is for buttons only";
}

TEST_F(DetailsDisplay, PushButtonStylePanelAndCaption)
{
    HWND button = CreateTestChild(top, L"Button", L"OK", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON);
    ASSERT_EQ(GetWindowLongPtrW(button, GWL_STYLE), 0x50010000);
    Open(button);
    EXPECT_EQ(PanelRows(dialog, IDC_DETAILS_STYLE_LIST),
              (Rows{ L"BS_PUSHBUTTON 0", L"BS_TEXT 0", L"WS_CHILD 40000000", L"WS_MAXIMIZEBOX 10000", L"WS_VISIBLE 10000000" }));
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_STYLE_CAPTION), L"視窗形態 : 50010000");
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_EXSTYLE_CAPTION), L"額外形態 : 0");
}

TEST_F(DetailsDisplay, UnlistedClassShowsLeftoverBitsAsHexRows)
{
    HWND child = CreateTestChild(top, L"OrvalisTestTop", L"", WS_VISIBLE | 0x0401);
    Open(child);
    EXPECT_EQ(PanelRows(dialog, IDC_DETAILS_STYLE_LIST),
              (Rows{ L"00000001", L"00000400", L"WS_CHILD 40000000", L"WS_VISIBLE 10000000" }));
}

TEST_F(DetailsDisplay, HotKeyControlShowsNoLeftoverRows)
{
    HWND hotkey = CreateTestChild(top, HOTKEY_CLASSW, L"", WS_VISIBLE | 0x0401);
    Open(hotkey);
    for (const std::wstring &row : PanelRows(dialog, IDC_DETAILS_STYLE_LIST))
        EXPECT_EQ(row.compare(0, 3, L"WS_"), 0) << "unexpected row";
    EXPECT_FALSE(PanelRows(dialog, IDC_DETAILS_STYLE_LIST).empty());
}

TEST_F(DetailsDisplay, ClassStyleOfZeroListsNothing)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"OrvalisNoClassStyle";
    RegisterClassW(&wc);
    HWND plain = CreateTestChild(top, L"OrvalisNoClassStyle", L"", WS_VISIBLE);
    Open(plain);
    EXPECT_TRUE(PanelRows(dialog, IDC_DETAILS_CLASSSTYLE_LIST).empty());
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_CLASSSTYLE_CAPTION), L"系列形態 : 0");
}

TEST_F(DetailsDisplay, StyleListsHaveNoHeaderAndKeepRowsSorted)
{
    Open(top);
    for (int id : { IDC_DETAILS_STYLE_LIST, IDC_DETAILS_EXSTYLE_LIST, IDC_DETAILS_CLASSSTYLE_LIST }) {
        HWND list = GetDlgItem(dialog, id);
        EXPECT_TRUE(GetWindowLongPtrW(list, GWL_STYLE) & LVS_NOCOLUMNHEADER);
        EXPECT_EQ(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
        EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), 158);
        EXPECT_GE(SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0), 60);
        Rows rows = PanelRows(dialog, id);
        EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end())) << "list " << id;
    }
    EXPECT_FALSE(PanelRows(dialog, IDC_DETAILS_STYLE_LIST).empty());
}

TEST_F(DetailsDisplay, RelativesTabShowsEachRelative)
{
    HWND first = CreateTestChild(top, L"Static", L"First", WS_VISIBLE);
    HWND second = CreateTestChild(top, L"Edit", L"Second", WS_VISIBLE);
    HWND grandchild = CreateTestChild(first, L"Button", L"Grand", WS_VISIBLE);
    Open(first);

    HWND tab = GetDlgItem(dialog, IDC_DETAILS_RELATIVES_TAB);
    ASSERT_EQ(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 5);
    const wchar_t *names[] = { L"主視窗", L"擁有視窗", L"上一個", L"下一個", L"子視窗" };
    for (int i = 0; i < 5; i++) {
        wchar_t text[64] = L"";
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(tab, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(text, names[i]);
    }
    EXPECT_EQ(SendMessageW(tab, TCM_GETCURSEL, 0, 0), 0);

    auto shown = [&] {
        return Rows{ ItemText(dialog, IDC_DETAILS_RELATIVE_TEXT), ItemText(dialog, IDC_DETAILS_RELATIVE_CLASS),
                     ItemText(dialog, IDC_DETAILS_RELATIVE_HANDLE) };
    };
    EXPECT_EQ(shown(), (Rows{ L"Details Top", L"OrvalisTestTop", Hex(top) })) << "parent";
    ChooseTab(4);
    EXPECT_EQ(shown(), (Rows{ L"Grand", L"Button", Hex(grandchild) })) << "child";
    ChooseTab(1);
    EXPECT_EQ(shown(), (Rows{ L"", L"", L"" })) << "a child has no owner";
    // Children are stacked newest last: the next window below `first` is `second`.
    ChooseTab(3);
    EXPECT_EQ(shown(), (Rows{ L"Second", L"Edit", Hex(second) })) << "next";
    ChooseTab(2);
    EXPECT_EQ(shown(), (Rows{ L"", L"", L"" })) << "first is at the top of its z-order";
}

TEST_F(DetailsDisplay, TopLevelWithoutOwnerShowsEmptyParentAndOwnedPopupItsOwner)
{
    Open(top);
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_RELATIVE_TEXT), L"");
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_RELATIVE_CLASS), L"");
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_RELATIVE_HANDLE), L"");
    CloseDetailsDialog(dialog);

    HWND popup = CreateWindowExW(0, L"OrvalisTestTop", L"Owned", WS_POPUP, 0, 0, 50, 50, top, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    Open(popup);
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_RELATIVE_HANDLE), Hex(top)) << "the parent tab shows a popup's owner";
    ChooseTab(1);
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_RELATIVE_TEXT), L"Details Top");
    ChooseTab(4);
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_RELATIVE_HANDLE), L"");
    CloseDetailsDialog(dialog);
    dialog = nullptr;
    DestroyWindow(popup);
}

TEST_F(DetailsDisplay, ClassListRedecodesTheStyleByTheChosenClass)
{
    HWND check = CreateTestChild(top, L"Button", L"Box", WS_VISIBLE | BS_AUTOCHECKBOX);
    Open(check);
    std::vector<std::wstring> classes = ComboEntries(dialog, IDC_DETAILS_CLASS_LIST);
    ASSERT_EQ(classes.size(), static_cast<size_t>(CLASS_PREFIX_COUNT));
    EXPECT_EQ(classes.front(), L"Button");
    EXPECT_EQ(classes.back(), L"SysIPAddress32");
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_DETAILS_CLASS_LIST, CB_GETCURSEL, 0, 0), CB_ERR);
    Rows own = PanelRows(dialog, IDC_DETAILS_STYLE_LIST);
    EXPECT_EQ(own, (Rows{ L"BS_AUTOCHECKBOX 3", L"BS_TEXT 0", L"WS_CHILD 40000000", L"WS_VISIBLE 10000000" }));

    ChooseClass(10);   // Static: type 3 is SS_ICON
    EXPECT_EQ(PanelRows(dialog, IDC_DETAILS_STYLE_LIST), (Rows{ L"SS_ICON 3", L"WS_CHILD 40000000", L"WS_VISIBLE 10000000" }));
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_STYLE_CAPTION), L"視窗形態 : 50000003");
    Rows extended = PanelRows(dialog, IDC_DETAILS_EXSTYLE_LIST);
    ChooseClass(0);
    EXPECT_EQ(PanelRows(dialog, IDC_DETAILS_STYLE_LIST), own);
    EXPECT_EQ(PanelRows(dialog, IDC_DETAILS_EXSTYLE_LIST), extended) << "only the style panel changes";
}

TEST_F(DetailsDisplay, CaptionFormatsThatWouldMisreadFallBackToTheExes)
{
    HMODULE bad = LoadLibraryExW((TestDir() + L"bad_captions.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(bad, nullptr);
    HINSTANCE own = g_hResModule;
    g_hResModule = bad;
    Open(top);
    g_hResModule = own;
    DWORD style = static_cast<DWORD>(GetWindowLongPtrW(top, GWL_STYLE));
    wchar_t expected[64];
    wsprintfW(expected, L"視窗形態 : %lX", style);
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_STYLE_CAPTION), expected);
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_EXSTYLE_CAPTION).compare(0, 7, L"額外形態 : "), 0);
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_CLASSSTYLE_CAPTION).compare(0, 7, L"系列形態 : "), 0);
    CloseDetailsDialog(dialog);
    dialog = nullptr;
    FreeLibrary(bad);
}
