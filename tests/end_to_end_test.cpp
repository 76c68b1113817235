// The built orvalis.exe driven from outside, as a user's clicks arrive,
// next to the fixture program. Set ORVALIS_SCREENSHOTS to a folder to
// have the windows saved there as pictures along the way.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <sstream>
#include <string>
#include "resources/resource.h"
#include "support/remote.h"
#include "support/target_app_ids.h"
#include "support/test_support.h"

static std::wstring Hex(HWND window)
{
    std::wostringstream text;
    text << std::uppercase << std::hex << static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(window));
    return text.str();
}

struct Language {
    const wchar_t *mainTitle;
    const wchar_t *detailsTitle;
    const wchar_t *firstCommand;
    const wchar_t *styleCaptionStart;
    const wchar_t *suffix;   // of the screenshots' names
};
static const Language CHINESE = { L"Orvalis 1.0 版本", L"詳細內容", L"關閉", L"視窗形態 : ", L"zh" };
static const Language ENGLISH = { L"Orvalis version 1.0", L"Details", L"Close", L"Window style : ", L"en" };

class EndToEnd : public ::testing::Test {
protected:
    TargetApp app;
    std::wstring folder;
    PROCESS_INFORMATION orvalis = {};
    HWND main = nullptr;
    HWND tree = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(app.Start());
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"orvalis_e2e_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(folder.c_str(), nullptr);
        ASSERT_TRUE(CopyFileW((BuildDir() + L"orvalis.exe").c_str(), (folder + L"orvalis.exe").c_str(), FALSE));
    }

    void TearDown() override
    {
        if (orvalis.hProcess) {
            TerminateProcess(orvalis.hProcess, 1);
            CloseHandle(orvalis.hProcess);
            CloseHandle(orvalis.hThread);
        }
        app.Stop();
        DeleteFileW((folder + L"orvalis.exe.mui").c_str());
        DeleteFileW((folder + L"orvalis.exe").c_str());
        RemoveDirectoryW(folder.c_str());
    }

    void PlaceSatellite(bool present)
    {
        std::wstring satellite = folder + L"orvalis.exe.mui";
        if (present)
            ASSERT_TRUE(CopyFileW((BuildDir() + L"satellite\\orvalis.exe.mui").c_str(), satellite.c_str(), FALSE));
        else
            DeleteFileW(satellite.c_str());
    }

    void Launch(const Language &language)
    {
        orvalis = StartProgram(folder + L"orvalis.exe");
        ASSERT_NE(orvalis.hProcess, nullptr);
        main = WaitForProcessWindow(orvalis.dwProcessId, language.mainTitle);
        ASSERT_NE(main, nullptr) << "no main window with the expected title";
        tree = GetDlgItem(main, IDC_MAIN_TREE);
    }

    void Quit()
    {
        PostMessageW(main, WM_CLOSE, 0, 0);
        DWORD code = WaitForExit(orvalis.hProcess);
        EXPECT_EQ(code, 0u);
        CloseHandle(orvalis.hProcess);
        CloseHandle(orvalis.hThread);
        orvalis = {};
    }

    HTREEITEM Node(HTREEITEM parent, HWND window) { return FindRemoteNode(orvalis.hProcess, tree, parent, window); }
    std::wstring Label(HTREEITEM node) { return ReadRemoteNode(orvalis.hProcess, tree, node).label; }

    HWND WaitForDetails(const Language &language)
    {
        return WaitForProcessWindow(orvalis.dwProcessId, language.detailsTitle, 10000);
    }

    HWND OpenByEnter(HTREEITEM node, const Language &language)
    {
        SendTo(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
        PostMessageW(main, WM_COMMAND, IDOK, 0);
        return WaitForDetails(language);
    }

    void CloseDetails(HWND details)
    {
        PostMessageW(details, WM_COMMAND, IDCANCEL, 0);
        for (int i = 0; i < 100 && IsWindow(details); i++)
            Sleep(50);
        EXPECT_FALSE(IsWindow(details));
    }

    void Press(HWND dialog, int id) { SendTo(GetDlgItem(dialog, id), BM_CLICK); }
    void Choose(HWND dialog, int listId, int entry) { SendTo(GetDlgItem(dialog, listId), CB_SETCURSEL, entry); }

    void Picture(HWND window, const std::wstring &name)
    {
        wchar_t folderName[MAX_PATH];
        if (GetEnvironmentVariableW(L"ORVALIS_SCREENSHOTS", folderName, MAX_PATH)) {
            PumpMessages(500);
            SaveWindowPicture(window, std::wstring(folderName) + L"\\" + name + L".bmp");
        }
    }
};

TEST_F(EndToEnd, TypicalSessionFromTreeToDetailsAndBack)
{
    Launch(CHINESE);
    HTREEITEM fixture = Node(nullptr, app.fixture);
    ASSERT_NE(fixture, nullptr) << "fixture window not in the tree";
    EXPECT_EQ(Label(fixture), L"OrvalisFixture | Orvalis Fixture");
    HTREEITEM push = Node(fixture, app.Control(FIXTURE_PUSH));
    ASSERT_NE(push, nullptr);
    EXPECT_EQ(Label(push), L"Button | OK");
    SendTo(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(fixture));
    SendTo(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(push));
    Picture(main, L"main-zh");

    // Open the button by double-clicking its node, and read its details.
    DoubleClickNode(orvalis.hProcess, tree, push);
    HWND details = WaitForDetails(CHINESE);
    ASSERT_NE(details, nullptr) << "double-click did not open the details";
    EXPECT_EQ(WindowText(GetDlgItem(details, IDC_DETAILS_TEXT)), L"OK");
    EXPECT_EQ(WindowText(GetDlgItem(details, IDC_DETAILS_CLASS)), L"Button");
    EXPECT_EQ(WindowText(GetDlgItem(details, IDC_DETAILS_HANDLE)), Hex(app.Control(FIXTURE_PUSH)));
    EXPECT_EQ(WindowText(GetDlgItem(details, IDC_DETAILS_ID)), std::to_wstring(FIXTURE_PUSH));
    EXPECT_EQ(WindowText(GetDlgItem(details, IDC_DETAILS_STYLE_CAPTION)), L"視窗形態 : 50000000");
    EXPECT_EQ(SendTo(GetDlgItem(details, IDC_DETAILS_COMMANDS), CB_GETCOUNT), 5);
    Picture(details, L"details-zh");

    // Change its text.
    SendTo(GetDlgItem(details, IDC_DETAILS_TEXT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Go"));
    Press(details, IDC_DETAILS_SET_TEXT);
    EXPECT_EQ(WindowText(app.Control(FIXTURE_PUSH)), L"Go");

    // The relatives tab: its child (none), then its parent again.
    ClickTab(orvalis.hProcess, GetDlgItem(details, IDC_DETAILS_RELATIVES_TAB), 4);
    PumpMessages(300);
    EXPECT_EQ(WindowText(GetDlgItem(details, IDC_DETAILS_RELATIVE_HANDLE)), L"");
    ClickTab(orvalis.hProcess, GetDlgItem(details, IDC_DETAILS_RELATIVES_TAB), 0);
    PumpMessages(300);
    EXPECT_EQ(WindowText(GetDlgItem(details, IDC_DETAILS_RELATIVE_HANDLE)), Hex(app.fixture));
    EXPECT_EQ(WindowText(GetDlgItem(details, IDC_DETAILS_RELATIVE_CLASS)), L"OrvalisFixture");

    // Click the button from the dialog: its parent hears of it.
    Choose(details, IDC_DETAILS_COMMANDS, 4);
    Press(details, IDC_DETAILS_EXECUTE);
    EXPECT_EQ(WindowText(app.fixture), L"clicked " + std::to_wstring(FIXTURE_PUSH) + L" " + Hex(app.Control(FIXTURE_PUSH)));
    SetWindowTextW(app.fixture, L"Orvalis Fixture");
    CloseDetails(details);

    // Maximize and restore the fixture window, opened with Enter.
    details = OpenByEnter(fixture, CHINESE);
    ASSERT_NE(details, nullptr) << "Enter did not open the details";
    Choose(details, IDC_DETAILS_COMMANDS, 1);
    Press(details, IDC_DETAILS_EXECUTE);
    EXPECT_TRUE(IsZoomed(app.fixture));
    Choose(details, IDC_DETAILS_COMMANDS, 3);
    Press(details, IDC_DETAILS_EXECUTE);
    EXPECT_FALSE(IsZoomed(app.fixture));
    CloseDetails(details);

    // Close a window from the dialog: the dialog ends and the node goes.
    HTREEITEM closer = Node(nullptr, app.closer);
    ASSERT_NE(closer, nullptr);
    details = OpenByEnter(closer, CHINESE);
    ASSERT_NE(details, nullptr);
    Press(details, IDC_DETAILS_EXECUTE);
    for (int i = 0; i < 100 && IsWindow(details); i++)
        Sleep(50);
    EXPECT_FALSE(IsWindow(details)) << "the dialog stayed after its window closed";
    EXPECT_FALSE(IsWindow(app.closer));
    EXPECT_EQ(Node(nullptr, app.closer), nullptr) << "node of the closed window kept";

    // Refresh, then order by title and back.
    Press(main, IDC_MAIN_REFRESH);
    fixture = Node(nullptr, app.fixture);
    ASSERT_NE(fixture, nullptr);
    EXPECT_EQ(Node(nullptr, app.closer), nullptr);
    Press(main, IDC_MAIN_ORDER_BY_TITLE);
    EXPECT_EQ(Label(Node(nullptr, app.fixture)), L"Orvalis Fixture | OrvalisFixture");
    EXPECT_EQ(Label(Node(Node(nullptr, app.fixture), app.Control(FIXTURE_STATIC))), L"Label | Static");
    Press(main, IDC_MAIN_ORDER_BY_TITLE);
    EXPECT_EQ(Label(Node(nullptr, app.fixture)), L"OrvalisFixture | Orvalis Fixture");

    // The about box, with the program's own caption, closed with Enter.
    PostMessageW(main, WM_COMMAND, IDC_MAIN_ABOUT, 0);
    HWND about = WaitForProcessWindow(orvalis.dwProcessId, L"關於 Orvalis 1.0 版本", 10000);
    ASSERT_NE(about, nullptr) << "no about box";
    Picture(about, L"about-zh");
    PostMessageW(about, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 100 && IsWindow(about); i++)
        Sleep(50);
    EXPECT_FALSE(IsWindow(about));

    Quit();
}

TEST_F(EndToEnd, SatelliteBesideTheExeSwitchesToEnglishAndBack)
{
    PlaceSatellite(true);
    Launch(ENGLISH);
    HTREEITEM fixture = Node(nullptr, app.fixture);
    ASSERT_NE(fixture, nullptr);
    SendTo(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(fixture));
    HTREEITEM push = Node(fixture, app.Control(FIXTURE_PUSH));
    SendTo(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(push));
    Picture(main, L"main-en");
    HWND details = OpenByEnter(push, ENGLISH);
    ASSERT_NE(details, nullptr) << "no English details dialog";
    wchar_t command[64] = L"";
    SendTo(GetDlgItem(details, IDC_DETAILS_COMMANDS), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(command));
    EXPECT_STREQ(command, ENGLISH.firstCommand);
    EXPECT_EQ(WindowText(GetDlgItem(details, IDC_DETAILS_STYLE_CAPTION)).find(ENGLISH.styleCaptionStart), 0u);
    Picture(details, L"details-en");
    CloseDetails(details);
    Quit();

    PlaceSatellite(false);
    Launch(CHINESE);
    details = OpenByEnter(Node(nullptr, app.fixture), CHINESE);
    ASSERT_NE(details, nullptr) << "no Chinese details dialog once the satellite is gone";
    SendTo(GetDlgItem(details, IDC_DETAILS_COMMANDS), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(command));
    EXPECT_STREQ(command, CHINESE.firstCommand);
    CloseDetails(details);
    Quit();
}
