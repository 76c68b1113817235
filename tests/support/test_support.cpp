#include "test_support.h"
#include <commctrl.h>
#include "app/startup.h"

std::wstring TestDir()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, length);
    return dir.substr(0, dir.find_last_of(L'\\') + 1);
}

std::wstring BuildDir()
{
    std::wstring dir = TestDir();
    dir.pop_back();
    return dir.substr(0, dir.find_last_of(L'\\') + 1);
}

void EnsureStyleTable()
{
    if (!g_pStyleTable) {
        INITCOMMONCONTROLSEX init = { sizeof init, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_INTERNET_CLASSES };
        InitCommonControlsEx(&init);
        g_hInstance = GetModuleHandleW(nullptr);
        g_hResModule = g_hInstance;
        LoadStyleTable();
    }
}

HWND CreateFlagList()
{
    EnsureStyleTable();
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | LVS_REPORT | LVS_SORTASCENDING | LVS_NOCOLUMNHEADER,
                                0, 0, 300, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    LVCOLUMNW column = {};
    column.mask = LVCF_WIDTH;
    column.cx = 150;
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    SendMessageW(list, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
    return list;
}

std::wstring ListCell(HWND list, int row, int column)
{
    wchar_t text[256] = L"";
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 256;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

std::vector<std::wstring> ListRows(HWND list)
{
    std::vector<std::wstring> rows;
    int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; i++) {
        std::wstring row = ListCell(list, i, 0);
        std::wstring value = ListCell(list, i, 1);
        if (!value.empty())
            row += L" " + value;
        rows.push_back(row);
    }
    return rows;
}

void PumpMessages(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

PROCESS_INFORMATION StartProgram(const std::wstring &exe, const std::wstring &arguments)
{
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        process = {};
    return process;
}

struct WindowSearch {
    DWORD processId;
    const wchar_t *title;
    HWND found;
};

static BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM lParam)
{
    WindowSearch *search = reinterpret_cast<WindowSearch *>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && IsWindowVisible(window) && WindowText(window) == search->title) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForProcessWindow(DWORD processId, const wchar_t *title, DWORD timeoutMs)
{
    WindowSearch search = { processId, title, nullptr };
    DWORD start = GetTickCount();
    while (!search.found && GetTickCount() - start < timeoutMs) {
        EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            PumpMessages(50);
    }
    return search.found;
}

DWORD WaitForExit(HANDLE process, DWORD timeoutMs)
{
    WaitForSingleObject(process, timeoutMs);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process, &code);
    return code;
}

std::wstring WindowText(HWND window)
{
    wchar_t text[512] = L"";
    DWORD_PTR ignored;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &ignored);
    return text;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

bool TargetApp::Start()
{
    process = StartProgram(TestDir() + L"target_app.exe");
    if (!process.hProcess)
        return false;
    fixture = WaitForProcessWindow(process.dwProcessId, L"Orvalis Fixture");
    refuser = WaitForProcessWindow(process.dwProcessId, L"Orvalis Refuser");
    closer = WaitForProcessWindow(process.dwProcessId, L"Orvalis Closer");
    return fixture && refuser && closer;
}

void TargetApp::Stop()
{
    if (!process.hProcess)
        return;
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    process = {};
}

#include "details/details_dialog.h"
#include "resources/resource.h"
#include "tree/main_dialog.h"

HWND CreateDetailsDialog(HWND target)
{
    EnsureStyleTable();
    g_hTarget = target;
    return CreateDialogParamW(g_hInstance, MAKEINTRESOURCEW(IDD_DETAILS), nullptr, DetailsDialogProc, 0);
}

void CloseDetailsDialog(HWND dialog)
{
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    DestroyWindow(dialog);
}

static void (*g_script)(HWND);
static bool g_endedByItself;

static BOOL CALLBACK FindDetails(HWND window, LPARAM found)
{
    if (ClassOf(window) == L"#32770" &&
        GetDlgItem(window, IDC_DETAILS_RELATIVES_TAB)) {
        *reinterpret_cast<HWND *>(found) = window;
        return FALSE;
    }
    return TRUE;
}

static void CALLBACK RunScript(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDetails, reinterpret_cast<LPARAM>(&dialog));
    // The modal loop shows the dialog only once its queue is first empty.
    if (!dialog || !IsWindowVisible(dialog))
        return;
    KillTimer(nullptr, timer);
    g_script(dialog);
    g_endedByItself = !IsWindowVisible(dialog);
    if (!g_endedByItself)
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

bool RunDetailsDialogModally(HWND target, void (*script)(HWND dialog))
{
    EnsureStyleTable();
    g_hTarget = target;
    g_script = script;
    g_endedByItself = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, RunScript);
    DialogBoxParamW(g_hInstance, MAKEINTRESOURCEW(IDD_DETAILS), nullptr, DetailsDialogProc, 0);
    KillTimer(nullptr, timer);
    return g_endedByItself;
}

std::wstring ItemText(HWND dialog, int id)
{
    return WindowText(GetDlgItem(dialog, id));
}

std::vector<std::wstring> ComboEntries(HWND dialog, int id)
{
    std::vector<std::wstring> entries;
    int count = static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; i++) {
        wchar_t text[256] = L"";
        SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}
