// The details dialog from its real template and procedure, over windows
// the test makes in its own process.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <commctrl.h>
#include <string>
#include <vector>
#include "app/startup.h"
#include "details/details_dialog.h"
#include "resources/resource.h"
#include "tree/main_dialog.h"
#include "support.h"

using Texts = std::vector<std::wstring>;

static std::wstring Hex(HWND window)
{
    wchar_t text[16];
    wsprintfW(text, L"%lX", static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(window)));
    return text;
}

// Windows of a class with no class style; GWLP_USERDATA picks a behaviour.
enum { REFUSES_CLOSE = 1, FILLS_TEXT_BUFFER };
static int g_closeRequests;
static LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LONG_PTR kind = GetWindowLongPtrW(window, GWLP_USERDATA);
    if (message == WM_CLOSE && kind == REFUSES_CLOSE) {
        g_closeRequests++;
        return 0;
    }
    if (message == WM_GETTEXT && kind == FILLS_TEXT_BUFFER) {
        std::fill(reinterpret_cast<wchar_t *>(lParam), reinterpret_cast<wchar_t *>(lParam) + wParam, L'x');
        return wParam;   // no terminator
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class Details : public ::testing::Test {
protected:
    HWND top = nullptr, dialog = nullptr;

    void SetUp() override
    {
        UseOwnResources();
        WNDCLASSW wc = {};
        wc.lpfnWndProc = TestWindowProc;
        wc.lpszClassName = L"OrvalisTest";
        RegisterClassW(&wc);
        top = Window(WS_EX_LEFT, L"OrvalisTest", L"Top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 40, 40, 400, 300);
    }
    void TearDown() override
    {
        Close();
        DestroyWindow(top);
    }
    HWND Window(DWORD exStyle, const wchar_t *className, const wchar_t *text, DWORD style, HWND parent, int x = 10,
                int y = 10, int width = 50, int height = 20, int id = 0)
    {
        return CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    void Open(HWND target)
    {
        Close();
        g_hTarget = target;
        dialog = CreateDialogParamW(g_hInstance, MAKEINTRESOURCEW(IDD_DETAILS), nullptr, DetailsDialogProc, 0);
    }
    void Close()
    {
        if (dialog) {
            SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            DestroyWindow(dialog);
        }
        dialog = nullptr;
    }
    std::wstring Field(int id) { return Text(GetDlgItem(dialog, id)); }
    Texts Panel(int id) { return Rows(GetDlgItem(dialog, id)); }
    Texts Relative(int tab)
    {
        HWND control = GetDlgItem(dialog, IDC_DETAILS_RELATIVES_TAB);
        SendMessageW(control, TCM_SETCURSEL, tab, 0);
        NMHDR header = { control, IDC_DETAILS_RELATIVES_TAB, static_cast<UINT>(TCN_SELCHANGE) };
        SendMessageW(dialog, WM_NOTIFY, IDC_DETAILS_RELATIVES_TAB, reinterpret_cast<LPARAM>(&header));
        return { Field(IDC_DETAILS_RELATIVE_TEXT), Field(IDC_DETAILS_RELATIVE_CLASS), Field(IDC_DETAILS_RELATIVE_HANDLE) };
    }
    Texts Entries(int id)
    {
        Texts entries;
        for (int i = 0; i < SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0); i++) {
            wchar_t text[64] = L"";
            SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            entries.push_back(text);
        }
        return entries;
    }
    LRESULT Selected(int id) { return SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0); }
    void Press(int id, int code = BN_CLICKED, LPARAM from = 0)
    {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), from ? from : reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
    void ClickBox(int id)
    {
        CheckDlgButton(dialog, id, IsDlgButtonChecked(dialog, id) ? BST_UNCHECKED : BST_CHECKED);
        Press(id);
    }
    void Choose(int id, int entry) { SendDlgItemMessageW(dialog, id, CB_SETCURSEL, entry, 0); }
};

TEST_F(Details, ShowsAChildButtonInItsParentsCoordinates)
{
    HWND button = Window(0, L"Button", L"Press", WS_CHILD | WS_VISIBLE | WS_TABSTOP, top, 17, 23, 90, 30, 4321);
    HWND next = Window(0, L"Edit", L"Next", WS_CHILD, top);
    HWND inner = Window(0, L"Static", L"Inner", WS_CHILD, button);
    Open(button);
    Texts fields;
    for (int id = IDC_DETAILS_TEXT; id <= IDC_DETAILS_ID; id++)
        fields.push_back(Field(id));
    EXPECT_EQ(fields, (Texts{ L"Press", L"Button", L"17", L"23", L"90", L"30", Hex(button), L"4321" }));
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_DETAILS_VISIBLE), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_DETAILS_DISABLED), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_DETAILS_TOPMOST), BST_UNCHECKED);
    EXPECT_EQ(Entries(IDC_DETAILS_COMMANDS), (Texts{ L"關閉", L"最大化", L"最小化", L"復原", L"按鍵" }));
    EXPECT_EQ(Selected(IDC_DETAILS_COMMANDS), 0);
    EXPECT_EQ(Entries(IDC_DETAILS_PRIORITY), (Texts{ L"最高", L"高等", L"一般", L"閒置" }));
    EXPECT_EQ(Selected(IDC_DETAILS_PRIORITY), 2) << "this process runs at normal priority";
    Texts classes = Entries(IDC_DETAILS_CLASS_LIST);
    EXPECT_EQ(classes.size(), 23u);
    EXPECT_EQ(classes.back(), L"SysIPAddress32");
    EXPECT_EQ(Selected(IDC_DETAILS_CLASS_LIST), CB_ERR);

    EXPECT_EQ(Panel(IDC_DETAILS_STYLE_LIST),
              (Texts{ L"BS_PUSHBUTTON 0", L"BS_TEXT 0", L"WS_CHILD 40000000", L"WS_MAXIMIZEBOX 10000", L"WS_VISIBLE 10000000" }));
    EXPECT_EQ(Field(IDC_DETAILS_STYLE_CAPTION), L"視窗形態 : 50010000");
    EXPECT_EQ(Field(IDC_DETAILS_EXSTYLE_CAPTION), L"額外形態 : 0");
    HWND list = GetDlgItem(dialog, IDC_DETAILS_CLASSSTYLE_LIST);
    RECT client;
    GetClientRect(list, &client);
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), 158);
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0), client.right - 158 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);

    Texts tabs;
    for (int i = 0; i < 5; i++) {
        wchar_t text[16] = L"";
        TCITEMW item = { TCIF_TEXT, 0, 0, text, 16 };
        SendDlgItemMessageW(dialog, IDC_DETAILS_RELATIVES_TAB, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        tabs.push_back(text);
    }
    EXPECT_EQ(tabs, (Texts{ L"主視窗", L"擁有視窗", L"上一個", L"下一個", L"子視窗" }));
    EXPECT_EQ(Relative(0), (Texts{ L"Top", L"OrvalisTest", Hex(top) })) << "parent";
    EXPECT_EQ(Relative(1), (Texts{ L"", L"", L"" })) << "a child has no owner";
    EXPECT_EQ(Relative(2), (Texts{ L"", L"", L"" })) << "the first child is on top";
    EXPECT_EQ(Relative(3), (Texts{ L"Next", L"Edit", Hex(next) }));
    EXPECT_EQ(Relative(4), (Texts{ L"Inner", L"Static", Hex(inner) }));
}

TEST_F(Details, ShowsAnOwnedTopLevelWindowOnTheScreenWithItsStates)
{
    HWND owned = Window(WS_EX_TOPMOST, L"OrvalisTest", L"Owned", WS_POPUP | WS_DISABLED, top, -120, -45, 333, 222);
    Open(owned);
    EXPECT_EQ((Texts{ Field(IDC_DETAILS_LEFT), Field(IDC_DETAILS_TOP), Field(IDC_DETAILS_WIDTH), Field(IDC_DETAILS_HEIGHT) }),
              (Texts{ L"-120", L"-45", L"333", L"222" }));
    EXPECT_EQ(Entries(IDC_DETAILS_COMMANDS).size(), 4u) << "the click is for buttons only";
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_DETAILS_VISIBLE), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_DETAILS_DISABLED), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_DETAILS_TOPMOST), BST_CHECKED);
    EXPECT_TRUE(Panel(IDC_DETAILS_CLASSSTYLE_LIST).empty());
    EXPECT_EQ(Field(IDC_DETAILS_CLASSSTYLE_CAPTION), L"系列形態 : 0");
    EXPECT_EQ(Relative(0)[2], Hex(top)) << "a top-level window's parent tab shows its owner";
    EXPECT_EQ(Relative(1)[0], L"Top");
    Open(top);
    EXPECT_EQ(Relative(0), (Texts{ L"", L"", L"" }));
}

TEST_F(Details, StylePanelDecodesByClassLeftoversAndChosenClass)
{
    Open(Window(0, L"OrvalisTest", L"", WS_CHILD | WS_VISIBLE | 0x0401, top));
    EXPECT_EQ(Panel(IDC_DETAILS_STYLE_LIST), (Texts{ L"00000001", L"00000400", L"WS_CHILD 40000000", L"WS_VISIBLE 10000000" }));
    Open(Window(0, HOTKEY_CLASSW, L"", WS_CHILD | WS_VISIBLE | 0x0401, top));
    EXPECT_EQ(Panel(IDC_DETAILS_STYLE_LIST), (Texts{ L"WS_CHILD 40000000", L"WS_VISIBLE 10000000" }));

    // The common-control names take what the class's own names left.
    Open(Window(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | CCS_NODIVIDER | CCS_NOPARENTALIGN, top));
    EXPECT_EQ(Panel(IDC_DETAILS_STYLE_LIST),
              (Texts{ L"CCS_NODIVIDER 40", L"CCS_NOPARENTALIGN 8", L"WS_CHILD 40000000", L"WS_VISIBLE 10000000" }));

    Open(Window(0, L"Button", L"Box", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, top));
    Texts own = Panel(IDC_DETAILS_STYLE_LIST), extended = Panel(IDC_DETAILS_EXSTYLE_LIST);
    EXPECT_EQ(own, (Texts{ L"BS_AUTOCHECKBOX 3", L"BS_TEXT 0", L"WS_CHILD 40000000", L"WS_VISIBLE 10000000" }));
    HWND classList = GetDlgItem(dialog, IDC_DETAILS_CLASS_LIST);
    Choose(IDC_DETAILS_CLASS_LIST, 10);   // Static: type 3 is SS_ICON
    Press(IDC_DETAILS_CLASS_LIST, CBN_SELCHANGE, reinterpret_cast<LPARAM>(classList));
    EXPECT_EQ(Panel(IDC_DETAILS_STYLE_LIST), (Texts{ L"SS_ICON 3", L"WS_CHILD 40000000", L"WS_VISIBLE 10000000" }));
    EXPECT_EQ(Field(IDC_DETAILS_STYLE_CAPTION), L"視窗形態 : 50000003");
    Choose(IDC_DETAILS_CLASS_LIST, 0);
    Press(IDC_DETAILS_CLASS_LIST, CBN_SELCHANGE, reinterpret_cast<LPARAM>(classList));
    EXPECT_EQ(Panel(IDC_DETAILS_STYLE_LIST), own);
    EXPECT_EQ(Panel(IDC_DETAILS_EXSTYLE_LIST), extended) << "only the style panel changes";
}

TEST_F(Details, CaptionFormatsThatWouldMisreadFallBackToTheExes)
{
    HMODULE bad = LoadLibraryExW(BuildFile(L"tests\\bad_captions.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(bad, nullptr);
    g_hResModule = bad;
    Open(top);
    g_hResModule = g_hInstance;
    wchar_t style[64], exStyle[64];
    wsprintfW(style, L"視窗形態 : %lX", static_cast<DWORD>(GetWindowLongPtrW(top, GWL_STYLE)));
    wsprintfW(exStyle, L"額外形態 : %lX", static_cast<DWORD>(GetWindowLongPtrW(top, GWL_EXSTYLE)));
    EXPECT_EQ(Field(IDC_DETAILS_STYLE_CAPTION), style);
    EXPECT_EQ(Field(IDC_DETAILS_EXSTYLE_CAPTION), exStyle);
    EXPECT_EQ(Field(IDC_DETAILS_CLASSSTYLE_CAPTION), L"系列形態 : 0");
    Close();
    FreeLibrary(bad);
}

TEST_F(Details, ProcessWithoutAnEntrySelectsNoneAndKeepsItsPriority)
{
    ASSERT_TRUE(SetPriorityClass(GetCurrentProcess(), ABOVE_NORMAL_PRIORITY_CLASS));
    Open(top);
    EXPECT_EQ(Selected(IDC_DETAILS_PRIORITY), CB_ERR);
    Press(IDC_DETAILS_SET_PRIORITY);
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(ABOVE_NORMAL_PRIORITY_CLASS));
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
}

TEST_F(Details, TextGoesBackWholeAndOnlyByItsButton)
{
    for (size_t length : { 1000, 100000 }) {
        std::wstring text(length, L'a');
        text[length - 1] = L'z';
        HWND target = Window(0, L"OrvalisTest", text.c_str(), WS_POPUP, nullptr);
        Open(target);
        EXPECT_EQ(Field(IDC_DETAILS_TEXT), text);
        Press(IDC_DETAILS_SET_TEXT);
        EXPECT_EQ(Text(target), text) << "pressed unedited";
        SetDlgItemTextW(dialog, IDC_DETAILS_TEXT, L"Short");
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(Text(target), text) << "typing and Enter alone";
        Press(IDC_DETAILS_SET_TEXT);
        EXPECT_EQ(Text(target), L"Short");
        Close();
        DestroyWindow(target);
    }
    HWND filler = Window(0, L"OrvalisTest", L"", WS_CHILD, top);
    SetWindowLongPtrW(filler, GWLP_USERDATA, FILLS_TEXT_BUFFER);
    Open(top);
    EXPECT_EQ(Relative(4)[0], std::wstring(256, L'x')) << "read past the text buffer";
}

TEST_F(Details, PlacementIsAppliedAsShown)
{
    HWND edit = Window(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, top, 10, 10, 50, 20);
    Open(edit);
    Press(IDC_DETAILS_SET_RECT);
    RECT r;
    GetWindowRect(edit, &r);
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT *>(&r), 2);
    EXPECT_EQ((std::vector<LONG>{ r.left, r.top, r.right, r.bottom }), (std::vector<LONG>{ 10, 10, 60, 30 }));
    const wchar_t *typed[] = { L"30", L"", L"150", L"40" };
    for (int i = 0; i < 4; i++)
        SetDlgItemTextW(dialog, IDC_DETAILS_LEFT + i, typed[i]);
    Press(IDC_DETAILS_SET_RECT);
    GetWindowRect(edit, &r);
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT *>(&r), 2);
    EXPECT_EQ((std::vector<LONG>{ r.left, r.top, r.right, r.bottom }), (std::vector<LONG>{ 30, 0, 180, 40 }));

    Open(top);
    SetDlgItemTextW(dialog, IDC_DETAILS_LEFT, L"-20");
    Press(IDC_DETAILS_SET_RECT);
    GetWindowRect(top, &r);
    EXPECT_EQ((std::vector<LONG>{ r.left, r.top, r.right, r.bottom }), (std::vector<LONG>{ -20, 40, 380, 340 }));
}

TEST_F(Details, BoxesAndCommandsChangeTheTarget)
{
    Open(top);
    auto listsTopmost = [&] {
        Texts rows = Panel(IDC_DETAILS_EXSTYLE_LIST);
        return std::find(rows.begin(), rows.end(), L"WS_EX_TOPMOST 8") != rows.end();
    };
    ClickBox(IDC_DETAILS_TOPMOST);
    EXPECT_TRUE(GetWindowLongPtrW(top, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(listsTopmost());
    wchar_t caption[64];
    wsprintfW(caption, L"額外形態 : %lX", static_cast<DWORD>(GetWindowLongPtrW(top, GWL_EXSTYLE)));
    EXPECT_EQ(Field(IDC_DETAILS_EXSTYLE_CAPTION), caption);
    ClickBox(IDC_DETAILS_TOPMOST);
    EXPECT_FALSE(GetWindowLongPtrW(top, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(listsTopmost());

    ClickBox(IDC_DETAILS_VISIBLE);
    EXPECT_FALSE(IsWindowVisible(top));
    Texts rows = Panel(IDC_DETAILS_STYLE_LIST);
    EXPECT_NE(std::find(rows.begin(), rows.end(), L"WS_VISIBLE 10000000"), rows.end()) << "this box refreshes nothing";
    ClickBox(IDC_DETAILS_VISIBLE);
    EXPECT_TRUE(IsWindowVisible(top));
    ClickBox(IDC_DETAILS_DISABLED);
    EXPECT_FALSE(IsWindowEnabled(top));
    ClickBox(IDC_DETAILS_DISABLED);
    EXPECT_TRUE(IsWindowEnabled(top));

    const struct { int entry; BOOL zoomed, iconic; } commands[] = { { 1, TRUE, FALSE }, { 2, FALSE, TRUE }, { 3, TRUE, FALSE }, { 3, FALSE, FALSE } };
    for (const auto &c : commands) {
        Choose(IDC_DETAILS_COMMANDS, c.entry);
        Press(IDC_DETAILS_EXECUTE);
        EXPECT_EQ(IsZoomed(top), c.zoomed) << "entry " << c.entry;
        EXPECT_EQ(IsIconic(top), c.iconic) << "entry " << c.entry;
    }
}

// Enter in the text field, then the close command.
static void PressEnterThenClose(HWND dialog)
{
    HWND field = GetDlgItem(dialog, IDC_DETAILS_TEXT);
    SetFocus(field);
    SendMessageW(field, WM_KEYDOWN, VK_RETURN, 1);
    SendMessageW(field, WM_CHAR, L'\r', 1);
    SendMessageW(field, WM_KEYUP, VK_RETURN, 0xC0000001);
    SendDlgItemMessageW(dialog, IDC_DETAILS_COMMANDS, CB_SETCURSEL, 0, 0);
    SendMessageW(dialog, WM_COMMAND, IDC_DETAILS_EXECUTE, 0);
}

TEST_F(Details, CloseOfAWindowThatRefusesAsksTwiceAndTheDialogStays)
{
    SetWindowLongPtrW(top, GWLP_USERDATA, REFUSES_CLOSE);
    g_hTarget = top;
    RunInNextPopup(PressEnterThenClose);
    DialogBoxParamW(g_hInstance, MAKEINTRESOURCEW(IDD_DETAILS), nullptr, DetailsDialogProc, 0);
    EXPECT_EQ(g_closeRequests, 2);
    EXPECT_TRUE(IsWindow(top));
    EXPECT_FALSE(g_popupEndedItself);
    DWORD flags;
    EXPECT_FALSE(GetHandleInformation(g_hTargetProcess, &flags)) << "process handle left open";
}
