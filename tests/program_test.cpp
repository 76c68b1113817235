// The built orvalis.exe run whole, with this test process as the other
// program whose windows it reads and changes: what shows only across
// processes or in the whole program.
#include <gtest/gtest.h>
#include "support.h"
#include "resources/resource.h"

static WPARAM g_clickedId;
static LPARAM g_clickedFrom;
static LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        g_clickedId = wParam;
        g_clickedFrom = lParam;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The exe sends our windows messages without a time-out: pump while waiting.
static HWND WaitForWindow(const wchar_t *title)
{
    HWND window = nullptr;
    PumpUntil([&] { return IsWindowVisible(window = FindWindowW(nullptr, title)); });
    return window;
}

// Item data lives in the exe's memory: read it through there.
static HTREEITEM FindNode(HANDLE process, HWND tree, HWND window, HTREEITEM first)
{
    auto *remote = static_cast<TVITEMW *>(VirtualAllocEx(process, nullptr, sizeof(TVITEMW), MEM_COMMIT, PAGE_READWRITE));
    HTREEITEM found = nullptr;
    for (HTREEITEM item = first; item && !found; item = TreeView_GetNextSibling(tree, item)) {
        TVITEMW tv = { TVIF_HANDLE | TVIF_PARAM, item };
        WriteProcessMemory(process, remote, &tv, sizeof tv, nullptr);
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, &remote->lParam, &tv.lParam, sizeof tv.lParam, nullptr);
        found = reinterpret_cast<HWND>(tv.lParam) == window ? item : FindNode(process, tree, window, TreeView_GetChild(tree, item));
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return found;
}

TEST(Program, SpeaksTheSatellitesLanguageAndChangesAnotherProcesssWindows)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ParentProc;
    wc.lpszClassName = L"OrvalisFixture";
    RegisterClassW(&wc);
    HWND parent = CreateWindowExW(0, wc.lpszClassName, L"Fixture", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 60, 300, 200,
                                  nullptr, nullptr, nullptr, nullptr);
    HWND button = CreateWindowExW(0, L"Button", L"OK", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24, parent,
                                  reinterpret_cast<HMENU>(101), nullptr, nullptr);
    ASSERT_TRUE(SetPriorityClass(GetCurrentProcess(), ABOVE_NORMAL_PRIORITY_CLASS));

    std::wstring exe = BuildFile(L"orvalis.exe");
    STARTUPINFOW startup = { sizeof startup };
    PROCESS_INFORMATION orvalis;
    ASSERT_TRUE(CopyFileW(BuildFile(L"satellite\\orvalis.exe.mui").c_str(), (exe + L".mui").c_str(), FALSE));
    CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &orvalis);
    HWND main = WaitForWindow(L"Orvalis version 1.0");
    DeleteFileW((exe + L".mui").c_str());
    ASSERT_NE(main, nullptr) << "the satellite was not used";
    HWND tree = GetWindow(main, GW_CHILD);
    TreeView_SelectItem(tree, FindNode(orvalis.hProcess, tree, button, TreeView_GetRoot(tree)));
    PostMessageW(main, WM_COMMAND, IDOK, 0);
    HWND details = WaitForWindow(L"Details");
    ASSERT_NE(details, nullptr);
    auto execute = [&](int list, int entry, int press) {
        SendDlgItemMessageW(details, list, CB_SETCURSEL, entry, 0);
        SendMessageW(details, WM_COMMAND, press, 0);
    };
    EXPECT_EQ(SendDlgItemMessageW(details, IDC_DETAILS_PRIORITY, CB_GETCURSEL, 0, 0), CB_ERR) << "no entry for above normal";
    execute(IDC_DETAILS_PRIORITY, CB_ERR, IDC_DETAILS_SET_PRIORITY);
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(ABOVE_NORMAL_PRIORITY_CLASS));
    execute(IDC_DETAILS_PRIORITY, 1, IDC_DETAILS_SET_PRIORITY);
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(HIGH_PRIORITY_CLASS));
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);

    execute(IDC_DETAILS_COMMANDS, 4, IDC_DETAILS_EXECUTE);
    EXPECT_EQ(g_clickedId, 101u);
    EXPECT_EQ(g_clickedFrom, reinterpret_cast<LPARAM>(button));
    execute(IDC_DETAILS_COMMANDS, 0, IDC_DETAILS_EXECUTE);
    EXPECT_FALSE(IsWindow(button));
    EXPECT_FALSE(IsWindowVisible(details)) << "the dialog ends with its closed target";
    PumpUntil([&] { return !IsWindow(details); });
    EXPECT_EQ(FindNode(orvalis.hProcess, tree, button, TreeView_GetRoot(tree)), nullptr) << "the closed window's node stays";

    PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
    PumpUntil([&] { return WaitForSingleObject(orvalis.hProcess, 0) == WAIT_OBJECT_0; });
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(orvalis.hProcess, &code);
    TerminateProcess(orvalis.hProcess, 1);
    EXPECT_EQ(code, 0u);
}
