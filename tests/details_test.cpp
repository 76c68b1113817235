// The details dialog from its real template and procedure, over windows
// the test makes in its own process.
#include <gtest/gtest.h>
#include <algorithm>
#include "support.h"
#include "details/details_dialog.h"
#include "resources/resource.h"
#include "tree/main_dialog.h"

using Texts = std::vector<std::wstring>;

static std::wstring Hex(HWND window)
{
    wchar_t text[16];
    wsprintfW(text, L"%lX", static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(window)));
    return text;
}

// GWLP_USERDATA picks a behaviour: 1 refuses to close and counts the
// requests, 2 fills the text buffer with no terminator, 3 answers
// g_lengthLie for its length.
static int g_closeRequests;
static LRESULT g_lengthLie;
static LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LONG_PTR kind = GetWindowLongPtrW(window, GWLP_USERDATA);
    if (message == WM_CLOSE && kind == 1) {
        g_closeRequests++;
        return 0;
    }
    if (message == WM_GETTEXTLENGTH && kind == 3)
        return g_lengthLie;
    if (message == WM_GETTEXT && kind == 3)
        EXPECT_LE(wParam, HeapSize(GetProcessHeap(), 0, reinterpret_cast<void *>(lParam)) / sizeof(wchar_t)) << "past the buffer";
    if (message == WM_GETTEXT && kind == 2) {
        std::fill(reinterpret_cast<wchar_t *>(lParam), reinterpret_cast<wchar_t *>(lParam) + wParam, L'x');
        return wParam;
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
        top = Window(L"OrvalisTest", L"Top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 40, 40, 400, 300);
    }
    void TearDown() override
    {
        DestroyWindow(dialog);
        DestroyWindow(top);
    }
    HWND Window(const wchar_t *className, const wchar_t *text, DWORD style, HWND parent, int x = 10, int y = 10,
                int width = 50, int height = 20, int id = 0, DWORD exStyle = 0)
    {
        return CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    void Open(HWND target)
    {
        DestroyWindow(dialog);
        g_hTarget = target;
        dialog = CreateDialogParamW(g_hInstance, MAKEINTRESOURCEW(IDD_DETAILS), nullptr, DetailsDialogProc, 0);
    }
    std::wstring Field(int id) { return Text(GetDlgItem(dialog, id)); }
    Texts Panel(int id) { return Rows(GetDlgItem(dialog, id)); }
    // The fields, the two lists' selections, then the three boxes.
    Texts Shown()
    {
        Texts shown;
        for (int id = IDC_DETAILS_TEXT; id <= IDC_DETAILS_ID; id++)
            shown.push_back(Field(id));
        for (int id : { IDC_DETAILS_PRIORITY, IDC_DETAILS_COMMANDS })
            shown.push_back(std::to_wstring(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0)));
        for (int id : { IDC_DETAILS_TOPMOST, IDC_DETAILS_VISIBLE, IDC_DETAILS_DISABLED })
            shown.push_back(IsDlgButtonChecked(dialog, id) ? L"on" : L"off");
        return shown;
    }
    Texts Relative(int tab)
    {
        HWND control = GetDlgItem(dialog, IDC_DETAILS_RELATIVES_TAB);
        TabCtrl_SetCurSel(control, tab);
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
    void Press(int id, int entry = -1, int list = IDC_DETAILS_COMMANDS)
    {
        if (entry >= 0)
            SendDlgItemMessageW(dialog, list, CB_SETCURSEL, entry, 0);
        if (id == IDC_DETAILS_TOPMOST || id == IDC_DETAILS_VISIBLE || id == IDC_DETAILS_DISABLED)
            CheckDlgButton(dialog, id, IsDlgButtonChecked(dialog, id) ? BST_UNCHECKED : BST_CHECKED);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, list == id ? CBN_SELCHANGE : BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
};

TEST_F(Details, ShowsAChildInItsParentsCoordinatesWithItsRelativesAndStyles)
{
    HWND button = Window(L"Button", L"Press", WS_CHILD | WS_VISIBLE | WS_TABSTOP, top, 17, 23, 90, 30, 4321);
    HWND next = Window(L"Edit", L"Next", WS_CHILD, top);
    HWND inner = Window(L"Static", L"Inner", WS_CHILD, button);
    Open(button);
    EXPECT_EQ(Shown(), (Texts{ L"Press", L"Button", L"17", L"23", L"90", L"30", Hex(button), L"4321", L"2", L"0", L"off", L"on", L"off" }));
    EXPECT_EQ(Entries(IDC_DETAILS_COMMANDS), (Texts{ L"關閉", L"最大化", L"最小化", L"復原", L"按鍵" }));
    EXPECT_EQ(Entries(IDC_DETAILS_PRIORITY), (Texts{ L"最高", L"高等", L"一般", L"閒置" }));
    Texts classes = Entries(IDC_DETAILS_CLASS_LIST);
    EXPECT_EQ(classes.size(), 23u);
    EXPECT_EQ(classes.back(), L"SysIPAddress32");
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_DETAILS_CLASS_LIST, CB_GETCURSEL, 0, 0), CB_ERR);

    EXPECT_EQ(Panel(IDC_DETAILS_STYLE_LIST),
              (Texts{ L"BS_PUSHBUTTON 0", L"BS_TEXT 0", L"WS_CHILD 40000000", L"WS_MAXIMIZEBOX 10000", L"WS_VISIBLE 10000000" }));
    EXPECT_EQ(Field(IDC_DETAILS_STYLE_CAPTION), L"視窗形態 : 50010000");
    EXPECT_EQ(Field(IDC_DETAILS_EXSTYLE_CAPTION), L"額外形態 : 0");
    // The names the panels show (WS_EX_RIGHTSCROLLBAR among them) fit their
    // column with the list's label margin; the value column ends inside.
    HWND list = GetDlgItem(dialog, IDC_DETAILS_EXSTYLE_LIST);
    int widest = 0;
    for (int id : { IDC_DETAILS_STYLE_LIST, IDC_DETAILS_EXSTYLE_LIST, IDC_DETAILS_CLASSSTYLE_LIST }) {
        for (const std::wstring &row : Panel(id))
            widest = std::max(widest, ListView_GetStringWidth(list, row.substr(0, row.find(L' ')).c_str()));
    }
    RECT client;
    GetClientRect(list, &client);
    EXPECT_LE(widest + 12, ListView_GetColumnWidth(list, 0));
    EXPECT_LE(ListView_GetColumnWidth(list, 0) + ListView_GetColumnWidth(list, 1), client.right);
    EXPECT_EQ(ListView_GetExtendedListViewStyle(list) & LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);

    Texts tabs;
    for (int i = 0; i < 5; i++) {
        wchar_t text[16] = L"";
        TCITEMW item = { TCIF_TEXT, 0, 0, text, 16 };
        TabCtrl_GetItem(GetDlgItem(dialog, IDC_DETAILS_RELATIVES_TAB), i, &item);
        tabs.push_back(text);
    }
    EXPECT_EQ(tabs, (Texts{ L"主視窗", L"擁有視窗", L"上一個", L"下一個", L"子視窗" }));
    EXPECT_EQ(Relative(0), (Texts{ L"Top", L"OrvalisTest", Hex(top) })) << "parent";
    EXPECT_EQ(Relative(1), (Texts{ L"", L"", L"" })) << "a child has no owner";
    EXPECT_EQ(Relative(2), (Texts{ L"", L"", L"" })) << "the first child has none before it";
    EXPECT_EQ(Relative(3), (Texts{ L"Next", L"Edit", Hex(next) }));
    EXPECT_EQ(Relative(4), (Texts{ L"Inner", L"Static", Hex(inner) }));

    HWND owned = Window(L"OrvalisTest", L"Owned", WS_POPUP | WS_DISABLED, top, -120, -45, 333, 222, 0, WS_EX_TOPMOST);
    Open(owned);
    EXPECT_EQ(Shown(), (Texts{ L"Owned", L"OrvalisTest", L"-120", L"-45", L"333", L"222", Hex(owned), L"0", L"2", L"0", L"on", L"off", L"on" }));
    EXPECT_EQ(Entries(IDC_DETAILS_COMMANDS).size(), 4u) << "the click is for buttons only";
    EXPECT_EQ(Field(IDC_DETAILS_CLASSSTYLE_CAPTION), L"系列形態 : 0");
    EXPECT_EQ(Relative(0)[2], Hex(top)) << "a top-level window's parent tab shows its owner";
    EXPECT_EQ(Relative(1)[0], L"Top");
    Open(top);
    EXPECT_EQ(Relative(0), (Texts{ L"", L"", L"" }));
}

TEST_F(Details, StylePanelDecodesByClassLeftoversAndChosenClass)
{
    const struct { const wchar_t *className; DWORD style; Texts rows; } cases[] = {
        { L"OrvalisTest", 0x0401, { L"00000001", L"00000400", L"WS_CHILD 40000000", L"WS_VISIBLE 10000000" } },
        { HOTKEY_CLASSW, 0x0401, { L"WS_CHILD 40000000", L"WS_VISIBLE 10000000" } },
        // The common-control names take what the class's own names left.
        { PROGRESS_CLASSW, CCS_NODIVIDER | CCS_NOPARENTALIGN,
          { L"CCS_NODIVIDER 40", L"CCS_NOPARENTALIGN 8", L"WS_CHILD 40000000", L"WS_VISIBLE 10000000" } },
    };
    for (const auto &c : cases) {
        Open(Window(c.className, L"", WS_CHILD | WS_VISIBLE | c.style, top));
        EXPECT_EQ(Panel(IDC_DETAILS_STYLE_LIST), c.rows) << c.className;
    }
    Open(Window(L"Button", L"Box", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, top));
    Texts own = Panel(IDC_DETAILS_STYLE_LIST), extended = Panel(IDC_DETAILS_EXSTYLE_LIST);
    Press(IDC_DETAILS_CLASS_LIST, 10, IDC_DETAILS_CLASS_LIST);   // Static: type 3 is SS_ICON
    EXPECT_EQ(Panel(IDC_DETAILS_STYLE_LIST), (Texts{ L"SS_ICON 3", L"WS_CHILD 40000000", L"WS_VISIBLE 10000000" }));
    EXPECT_EQ(Field(IDC_DETAILS_STYLE_CAPTION), L"視窗形態 : 50000003");
    Press(IDC_DETAILS_CLASS_LIST, 0, IDC_DETAILS_CLASS_LIST);
    EXPECT_EQ(Panel(IDC_DETAILS_STYLE_LIST), own);
    EXPECT_EQ(own, (Texts{ L"BS_AUTOCHECKBOX 3", L"BS_TEXT 0", L"WS_CHILD 40000000", L"WS_VISIBLE 10000000" }));
    EXPECT_EQ(Panel(IDC_DETAILS_EXSTYLE_LIST), extended) << "only the style panel changes";

    // Formats that would read arguments never passed give way to the exe's.
    g_hResModule = LoadLibraryExW(BuildFile(L"tests\\bad_captions.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(g_hResModule, nullptr);
    Open(top);
    FreeLibrary(g_hResModule);
    g_hResModule = g_hInstance;
    EXPECT_EQ(Field(IDC_DETAILS_STYLE_CAPTION), L"視窗形態 : 14CF0000");
    EXPECT_EQ(Field(IDC_DETAILS_EXSTYLE_CAPTION), L"額外形態 : 100");
    EXPECT_EQ(Field(IDC_DETAILS_CLASSSTYLE_CAPTION), L"系列形態 : 0");
}

TEST_F(Details, TextGoesBackWholeAndOnlyByItsButton)
{
    for (size_t length : { 1000, 100000 }) {
        std::wstring text(length, L'a');
        text[length - 1] = L'z';
        HWND target = Window(L"OrvalisTest", text.c_str(), WS_POPUP, nullptr);
        Open(target);
        EXPECT_EQ(Field(IDC_DETAILS_TEXT), text);
        Press(IDC_DETAILS_SET_TEXT);
        EXPECT_EQ(Text(target), text) << "pressed unedited";
        SetDlgItemTextW(dialog, IDC_DETAILS_TEXT, L"Short");
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(Text(target), text) << "typing and Enter alone";
        Press(IDC_DETAILS_SET_TEXT);
        EXPECT_EQ(Text(target), L"Short");
        DestroyWindow(target);
    }
    // Lengths a window may misreport: the field keeps at least the plain
    // read, no read asks for more than its heap buffer holds, and the
    // unedited text goes back no shorter.
    std::wstring long600(600, L'q');
    for (LRESULT lie : { LRESULT(300), LRESULT(0x7FFFFFFF), LRESULT(-1), LRESULT(0x7FFFFFFFFFFFFFFF) }) {
        g_lengthLie = lie;
        HWND liar = Window(L"OrvalisTest", long600.c_str(), WS_POPUP, nullptr);
        SetWindowLongPtrW(liar, GWLP_USERDATA, 3);
        Open(liar);
        std::wstring shown = Field(IDC_DETAILS_TEXT);
        EXPECT_GE(shown.size(), 255u) << lie;
        EXPECT_EQ(long600.compare(0, shown.size(), shown), 0) << lie;
        Press(IDC_DETAILS_SET_TEXT);
        wchar_t kept[700] = L"";
        EXPECT_GE(InternalGetWindowText(liar, kept, 700), static_cast<int>(shown.size())) << lie;
        DestroyWindow(liar);
    }
    SetWindowLongPtrW(Window(L"OrvalisTest", L"", WS_CHILD, top), GWLP_USERDATA, 2);
    Open(top);
    EXPECT_EQ(Relative(4)[0], std::wstring(256, L'x')) << "read past the text buffer";
}

TEST_F(Details, ButtonsBoxesAndCommandsChangeTheTarget)
{
    HWND edit = Window(L"Edit", L"", WS_CHILD | WS_VISIBLE, top, 10, 10, 50, 20);
    Open(edit);
    const wchar_t *typed[] = { L"30", L"", L"150", L"40" };
    for (int i = 0; i < 4; i++)
        SetDlgItemTextW(dialog, IDC_DETAILS_LEFT + i, typed[i]);
    Press(IDC_DETAILS_SET_RECT);
    RECT r;
    GetWindowRect(edit, &r);
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT *>(&r), 2);
    EXPECT_EQ((std::vector<LONG>{ r.left, r.top, r.right, r.bottom }), (std::vector<LONG>{ 30, 0, 180, 40 }));
    Open(top);
    Texts styles = Panel(IDC_DETAILS_STYLE_LIST);
    SetDlgItemTextW(dialog, IDC_DETAILS_LEFT, L"-20");
    Press(IDC_DETAILS_SET_RECT);
    GetWindowRect(top, &r);
    EXPECT_EQ((std::vector<LONG>{ r.left, r.top, r.right, r.bottom }), (std::vector<LONG>{ -20, 40, 380, 340 }));

    Press(IDC_DETAILS_TOPMOST);
    EXPECT_TRUE(GetWindowLongPtrW(top, GWL_EXSTYLE) & WS_EX_TOPMOST);
    auto listsTopmost = [&] {
        Texts rows = Panel(IDC_DETAILS_EXSTYLE_LIST);
        return std::count(rows.begin(), rows.end(), L"WS_EX_TOPMOST 8") == 1;
    };
    EXPECT_TRUE(listsTopmost());
    EXPECT_EQ(Field(IDC_DETAILS_EXSTYLE_CAPTION), L"額外形態 : 108") << "window edge and topmost";
    Press(IDC_DETAILS_TOPMOST);
    EXPECT_FALSE(GetWindowLongPtrW(top, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(listsTopmost());
    Press(IDC_DETAILS_VISIBLE);
    EXPECT_FALSE(IsWindowVisible(top));
    Press(IDC_DETAILS_VISIBLE);
    EXPECT_TRUE(IsWindowVisible(top));
    Press(IDC_DETAILS_DISABLED);
    EXPECT_FALSE(IsWindowEnabled(top));
    Press(IDC_DETAILS_DISABLED);
    EXPECT_TRUE(IsWindowEnabled(top));

    const struct { int entry; BOOL zoomed, iconic; } commands[] = { { 1, TRUE, FALSE }, { 2, FALSE, TRUE }, { 3, TRUE, FALSE }, { 3, FALSE, FALSE } };
    for (const auto &c : commands) {
        Press(IDC_DETAILS_EXECUTE, c.entry);
        EXPECT_EQ(IsZoomed(top), c.zoomed) << "entry " << c.entry;
        EXPECT_EQ(IsIconic(top), c.iconic) << "entry " << c.entry;
    }
    EXPECT_EQ(Panel(IDC_DETAILS_STYLE_LIST), styles) << "the buttons and commands decode nothing anew";
    // Asked twice, since SC_CLOSE alone may be ignored; a refusal keeps the dialog.
    SetWindowLongPtrW(top, GWLP_USERDATA, 1);
    Press(IDC_DETAILS_EXECUTE, 0);
    EXPECT_EQ(g_closeRequests, 2);
    DWORD flags;
    EXPECT_TRUE(GetHandleInformation(g_hTargetProcess, &flags)) << "the dialog ended";
    Press(IDCANCEL);
    EXPECT_FALSE(GetHandleInformation(g_hTargetProcess, &flags)) << "process handle left open";
}
