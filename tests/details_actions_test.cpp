// The details dialog's actions, against the fixture program's windows in
// a second process, as they cross processes in real use.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <sstream>
#include <string>
#include "app/startup.h"
#include "details/details_dialog.h"
#include "resources/resource.h"
#include "tree/main_dialog.h"
#include "support/target_app_ids.h"
#include "support/test_support.h"

static TargetApp g_app;

class DetailsActions : public ::testing::Test {
protected:
    HWND dialog = nullptr;

    static void SetUpTestSuite() { ASSERT_TRUE(g_app.Start()); }
    static void TearDownTestSuite() { g_app.Stop(); }

    void TearDown() override
    {
        if (dialog)
            CloseDetailsDialog(dialog);
    }
    void Open(HWND target)
    {
        ASSERT_TRUE(IsWindow(target)) << "fixture window gone";
        dialog = CreateDetailsDialog(target);
    }
    void Press(int id) { SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id))); }
    void ClickBox(int id)
    {
        CheckDlgButton(dialog, id, IsDlgButtonChecked(dialog, id) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
        Press(id);
    }
    void Choose(int listId, int entry) { SendDlgItemMessageW(dialog, listId, CB_SETCURSEL, entry, 0); }
    void Type(int id, const wchar_t *text) { SetDlgItemTextW(dialog, id, text); }
};

TEST_F(DetailsActions, TextIsAppliedOnlyByItsButton)
{
    HWND label = g_app.Control(FIXTURE_STATIC);
    Open(label);
    Type(IDC_DETAILS_TEXT, L"Changed from outside");
    EXPECT_EQ(WindowText(label), L"Label") << "typing alone changed the window";
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(WindowText(label), L"Label") << "Enter applied the text";
    Press(IDC_DETAILS_SET_TEXT);
    EXPECT_EQ(WindowText(label), L"Changed from outside");
}

TEST_F(DetailsActions, PositionAndSizeRoundTripForChildAndTopLevel)
{
    HWND edit = g_app.Control(FIXTURE_EDIT);
    Open(edit);
    RECT before;
    GetWindowRect(edit, &before);
    Press(IDC_DETAILS_SET_RECT);
    RECT after;
    GetWindowRect(edit, &after);
    EXPECT_TRUE(EqualRect(&before, &after)) << "unedited fields moved the child";

    Type(IDC_DETAILS_LEFT, L"30");
    Type(IDC_DETAILS_TOP, L"");
    Type(IDC_DETAILS_WIDTH, L"150");
    Type(IDC_DETAILS_HEIGHT, L"40");
    Press(IDC_DETAILS_SET_RECT);
    POINT origin = { 0, 0 };
    ClientToScreen(g_app.fixture, &origin);
    GetWindowRect(edit, &after);
    EXPECT_EQ(after.left - origin.x, 30);
    EXPECT_EQ(after.top - origin.y, 0) << "an empty field gives 0";
    EXPECT_EQ(after.right - after.left, 150);
    EXPECT_EQ(after.bottom - after.top, 40);
    CloseDetailsDialog(dialog);

    Open(g_app.closer);
    Type(IDC_DETAILS_LEFT, L"-20");
    Type(IDC_DETAILS_TOP, L"-10");
    Press(IDC_DETAILS_SET_RECT);
    GetWindowRect(g_app.closer, &after);
    EXPECT_EQ(after.left, -20);
    EXPECT_EQ(after.top, -10);
}

TEST_F(DetailsActions, TopmostSwitchRefreshesTheExtendedPanel)
{
    Open(g_app.refuser);
    HWND panel = GetDlgItem(dialog, IDC_DETAILS_EXSTYLE_LIST);
    auto listsTopmost = [&] {
        for (const std::wstring &row : ListRows(panel)) {
            if (row == L"WS_EX_TOPMOST 8")
                return true;
        }
        return false;
    };
    EXPECT_FALSE(listsTopmost());
    ClickBox(IDC_DETAILS_TOPMOST);
    EXPECT_TRUE(GetWindowLongPtrW(g_app.refuser, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(listsTopmost());
    std::wostringstream caption;
    caption << L"額外形態 : " << std::uppercase << std::hex << GetWindowLongPtrW(g_app.refuser, GWL_EXSTYLE);
    EXPECT_EQ(ItemText(dialog, IDC_DETAILS_EXSTYLE_CAPTION), caption.str());

    ClickBox(IDC_DETAILS_TOPMOST);
    EXPECT_FALSE(GetWindowLongPtrW(g_app.refuser, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(listsTopmost());
}

TEST_F(DetailsActions, VisibleAndDisabledBoxesSwitchTheWindow)
{
    HWND button = g_app.Control(FIXTURE_CHECK);
    Open(button);
    ClickBox(IDC_DETAILS_VISIBLE);
    EXPECT_FALSE(IsWindowVisible(button));
    bool stillListed = false;
    for (const std::wstring &row : ListRows(GetDlgItem(dialog, IDC_DETAILS_STYLE_LIST)))
        stillListed |= row == L"WS_VISIBLE 10000000";
    EXPECT_TRUE(stillListed) << "the style panel is not refreshed by this box";
    ClickBox(IDC_DETAILS_VISIBLE);
    EXPECT_TRUE(IsWindowVisible(button));

    ClickBox(IDC_DETAILS_DISABLED);
    EXPECT_FALSE(IsWindowEnabled(button));
    ClickBox(IDC_DETAILS_DISABLED);
    EXPECT_TRUE(IsWindowEnabled(button));
}

TEST_F(DetailsActions, PriorityIsSetOnlyForAnEntryTheProcessCanShow)
{
    HANDLE process = g_app.process.hProcess;
    ASSERT_TRUE(SetPriorityClass(process, IDLE_PRIORITY_CLASS));
    Open(g_app.fixture);
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_DETAILS_PRIORITY, CB_GETCURSEL, 0, 0), 3);
    Choose(IDC_DETAILS_PRIORITY, 1);
    EXPECT_EQ(GetPriorityClass(process), static_cast<DWORD>(IDLE_PRIORITY_CLASS)) << "choosing alone changed it";
    Press(IDC_DETAILS_SET_PRIORITY);
    EXPECT_EQ(GetPriorityClass(process), static_cast<DWORD>(HIGH_PRIORITY_CLASS));
    Choose(IDC_DETAILS_PRIORITY, 2);
    Press(IDC_DETAILS_SET_PRIORITY);
    EXPECT_EQ(GetPriorityClass(process), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
    CloseDetailsDialog(dialog);

    // Above normal has no entry: nothing is selected, and pressing the
    // button unchanged must not make the process realtime.
    ASSERT_TRUE(SetPriorityClass(process, ABOVE_NORMAL_PRIORITY_CLASS));
    Open(g_app.fixture);
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_DETAILS_PRIORITY, CB_GETCURSEL, 0, 0), CB_ERR);
    Press(IDC_DETAILS_SET_PRIORITY);
    EXPECT_EQ(GetPriorityClass(process), static_cast<DWORD>(ABOVE_NORMAL_PRIORITY_CLASS));
    SetPriorityClass(process, NORMAL_PRIORITY_CLASS);
}

TEST_F(DetailsActions, MaximizeMinimizeRestore)
{
    Open(g_app.fixture);
    Choose(IDC_DETAILS_COMMANDS, 1);
    Press(IDC_DETAILS_EXECUTE);
    EXPECT_TRUE(IsZoomed(g_app.fixture));
    Choose(IDC_DETAILS_COMMANDS, 2);
    Press(IDC_DETAILS_EXECUTE);
    EXPECT_TRUE(IsIconic(g_app.fixture));
    Choose(IDC_DETAILS_COMMANDS, 3);
    Press(IDC_DETAILS_EXECUTE);
    EXPECT_FALSE(IsIconic(g_app.fixture));
    // Restoring from minimised goes back to the maximised state.
    Press(IDC_DETAILS_EXECUTE);
    EXPECT_FALSE(IsZoomed(g_app.fixture));
    EXPECT_FALSE(IsIconic(g_app.fixture));
}

TEST_F(DetailsActions, ClickReachesTheParentAsTheButtonsNotification)
{
    HWND button = g_app.Control(FIXTURE_PUSH);
    Open(button);
    ASSERT_EQ(ComboEntries(dialog, IDC_DETAILS_COMMANDS).size(), 5u);
    Choose(IDC_DETAILS_COMMANDS, 4);
    EXPECT_EQ(WindowText(g_app.fixture), L"Orvalis Fixture") << "choosing alone clicked";
    Press(IDC_DETAILS_EXECUTE);
    std::wostringstream expected;
    expected << L"clicked " << FIXTURE_PUSH << L" " << std::uppercase << std::hex << reinterpret_cast<ULONG_PTR>(button);
    EXPECT_EQ(WindowText(g_app.fixture), expected.str());
    SetWindowTextW(g_app.fixture, L"Orvalis Fixture");
}

static void ExecuteClose(HWND dialog)
{
    SendDlgItemMessageW(dialog, IDC_DETAILS_COMMANDS, CB_SETCURSEL, 0, 0);
    SendMessageW(dialog, WM_COMMAND, IDC_DETAILS_EXECUTE, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_DETAILS_EXECUTE)));
}

static void PressEnterInTextField(HWND dialog)
{
    HWND field = GetDlgItem(dialog, IDC_DETAILS_TEXT);
    SetFocus(field);
    PostMessageW(field, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(field, WM_KEYUP, VK_RETURN, 0xC0000001);
    PumpMessages(200);
}

TEST_F(DetailsActions, CloseOfAWindowThatRefusesAsksTwiceAndStays)
{
    EXPECT_FALSE(RunDetailsDialogModally(g_app.refuser, ExecuteClose));
    EXPECT_TRUE(IsWindow(g_app.refuser));
    EXPECT_EQ(WindowText(g_app.refuser), L"Orvalis Refuser 2");
    DWORD flags;
    EXPECT_FALSE(GetHandleInformation(g_hTargetProcess, &flags)) << "process handle left open";
}

TEST_F(DetailsActions, EnterDoesNotCloseTheDialog)
{
    EXPECT_FALSE(RunDetailsDialogModally(g_app.fixture, PressEnterInTextField));
}

TEST_F(DetailsActions, CloseOfAWindowThatClosesEndsTheDialog)
{
    EXPECT_TRUE(RunDetailsDialogModally(g_app.closer, ExecuteClose));
    EXPECT_FALSE(IsWindow(g_app.closer));
    DWORD flags;
    EXPECT_FALSE(GetHandleInformation(g_hTargetProcess, &flags)) << "process handle left open";
}
