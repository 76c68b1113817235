// The built orvalis.exe run whole, next to a second process whose windows
// it changes: what only shows across processes or in the whole program.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <cwchar>
#include <string>
#include "resources/resource.h"
#include "support.h"

static PROCESS_INFORMATION Start(const std::wstring &exe)
{
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup = { sizeof startup };
    PROCESS_INFORMATION process = {};
    CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    return process;
}

static DWORD EndWithCancel(const PROCESS_INFORMATION &process, HWND main)
{
    PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
    WaitForSingleObject(process.hProcess, 15000);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &code);
    TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return code;
}

// The node of `window` in another process's tree: the item data can only
// be read through memory of that process.
static HTREEITEM FindNode(HANDLE process, HWND tree, HWND window, HTREEITEM first)
{
    for (HTREEITEM item = first; item; item = TreeView_GetNextSibling(tree, item)) {
        TVITEMW tv = {};
        tv.mask = TVIF_HANDLE | TVIF_PARAM;
        tv.hItem = item;
        void *remote = VirtualAllocEx(process, nullptr, sizeof tv, MEM_COMMIT, PAGE_READWRITE);
        WriteProcessMemory(process, remote, &tv, sizeof tv, nullptr);
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote, &tv, sizeof tv, nullptr);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
        if (reinterpret_cast<HWND>(tv.lParam) == window)
            return item;
        if (HTREEITEM found = FindNode(process, tree, window, TreeView_GetChild(tree, item)))
            return found;
    }
    return nullptr;
}

struct Orvalis {
    PROCESS_INFORMATION process;
    HWND main, tree;

    HTREEITEM Node(HWND window) { return FindNode(process.hProcess, tree, window, TreeView_GetRoot(tree)); }
    // Selects the window's node and presses Enter; returns the details dialog.
    HWND OpenDetails(HWND window)
    {
        TreeView_SelectItem(tree, Node(window));
        PostMessageW(main, WM_COMMAND, IDOK, 0);
        return WaitForWindow(process.dwProcessId, L"詳細內容");
    }
    void Execute(HWND details, int list, int entry, int button)
    {
        SendDlgItemMessageW(details, list, CB_SETCURSEL, entry, 0);
        SendMessageW(details, WM_COMMAND, button, 0);
    }
    // Sent, not posted: the dialog is hidden before the next one is looked for.
    void Close(HWND details) { SendMessageW(details, WM_COMMAND, IDCANCEL, 0); }
};

TEST(Program, ChangesAnotherProcesssWindowsAndSpeaksTheSatellitesLanguage)
{
    PROCESS_INFORMATION app = Start(BuildFile(L"tests\\target_app.exe"));
    HWND fixture = WaitForWindow(app.dwProcessId, L"Orvalis Fixture");
    HWND closer = WaitForWindow(app.dwProcessId, L"Orvalis Closer");
    ASSERT_TRUE(fixture && closer);
    HWND button = GetDlgItem(fixture, 101);

    std::wstring exe = BuildFile(L"orvalis.exe");
    ASSERT_TRUE(CopyFileW(BuildFile(L"satellite\\orvalis.exe.mui").c_str(), (exe + L".mui").c_str(), FALSE));
    PROCESS_INFORMATION english = Start(exe);
    HWND englishMain = WaitForWindow(english.dwProcessId, L"Orvalis version 1.0");
    DeleteFileW((exe + L".mui").c_str());
    EXPECT_NE(englishMain, nullptr) << "the satellite was not used";
    EXPECT_EQ(EndWithCancel(english, englishMain), 0u);

    Orvalis orvalis = { Start(exe) };
    orvalis.main = WaitForWindow(orvalis.process.dwProcessId, L"Orvalis 1.0 版本");
    ASSERT_NE(orvalis.main, nullptr) << "without the satellite the exe's own Chinese";
    orvalis.tree = GetWindow(orvalis.main, GW_CHILD);
    ASSERT_NE(orvalis.Node(button), nullptr);

    HWND details = orvalis.OpenDetails(fixture);
    ASSERT_NE(details, nullptr);
    orvalis.Execute(details, IDC_DETAILS_PRIORITY, 1, IDC_DETAILS_SET_PRIORITY);
    EXPECT_EQ(GetPriorityClass(app.hProcess), static_cast<DWORD>(HIGH_PRIORITY_CLASS));
    orvalis.Close(details);

    details = orvalis.OpenDetails(button);
    ASSERT_NE(details, nullptr);
    orvalis.Execute(details, IDC_DETAILS_COMMANDS, 4, IDC_DETAILS_EXECUTE);
    wchar_t clicked[64];
    swprintf(clicked, 64, L"clicked 101 %llX", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(button)));
    EXPECT_EQ(Text(fixture), clicked);
    orvalis.Close(details);

    details = orvalis.OpenDetails(closer);
    ASSERT_NE(details, nullptr);
    orvalis.Execute(details, IDC_DETAILS_COMMANDS, 0, IDC_DETAILS_EXECUTE);
    EXPECT_FALSE(IsWindow(closer));
    for (int tries = 0; tries < 100 && IsWindow(details); tries++)
        Sleep(50);
    EXPECT_FALSE(IsWindow(details)) << "the dialog ends with its closed target";
    EXPECT_EQ(orvalis.Node(closer), nullptr) << "the closed window's node stays";
    EXPECT_EQ(EndWithCancel(orvalis.process, orvalis.main), 0u);
    TerminateProcess(app.hProcess, 0);
}
