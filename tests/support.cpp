#include "support.h"
#include <commctrl.h>
#include "app/startup.h"

void UseOwnResources()
{
    INITCOMMONCONTROLSEX init = { sizeof init, ICC_WIN95_CLASSES };
    InitCommonControlsEx(&init);
    g_hInstance = g_hResModule = GetModuleHandleW(nullptr);
    if (!g_pStyleTable)
        LoadStyleTable();
}

std::wstring Text(HWND window)
{
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied);
    return text;
}

HWND CreateFlagList()
{
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | LVS_REPORT | LVS_SORTASCENDING, 0, 0, 300, 300,
                                nullptr, nullptr, nullptr, nullptr);
    LVCOLUMNW column = {};
    column.mask = LVCF_WIDTH;
    column.cx = 150;
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    SendMessageW(list, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
    return list;
}

std::vector<std::wstring> Rows(HWND list)
{
    std::vector<std::wstring> rows;
    int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; row++) {
        wchar_t name[256] = L"", value[256] = L"";
        ListView_GetItemText(list, row, 0, name, 256);
        ListView_GetItemText(list, row, 1, value, 256);
        rows.push_back(*value ? std::wstring(name) + L" " + value : name);
    }
    return rows;
}

std::wstring BuildFile(const std::wstring &name)
{
    wchar_t path[MAX_PATH];
    std::wstring exe(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    std::wstring tests = exe.substr(0, exe.find_last_of(L'\\'));
    return tests.substr(0, tests.find_last_of(L'\\') + 1) + name;
}

HWND WaitForWindow(DWORD processId, const std::wstring &title)
{
    for (int tries = 0; tries < 300; tries++, Sleep(50)) {
        for (HWND window = FindWindowExW(nullptr, nullptr, nullptr, title.c_str()); window;
             window = FindWindowExW(nullptr, window, nullptr, title.c_str())) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == processId && IsWindowVisible(window))
                return window;
        }
    }
    return nullptr;
}

HWND g_modalOwner;
std::wstring g_popupTitle;
bool g_popupEndedItself;
static void (*g_script)(HWND);

static BOOL CALLBACK FindPopup(HWND window, LPARAM found)
{
    wchar_t className[16] = L"";
    GetClassNameW(window, className, 16);
    if (window != g_modalOwner && IsWindowVisible(window) && lstrcmpW(className, L"#32770") == 0)
        *reinterpret_cast<HWND *>(found) = window;
    return !*reinterpret_cast<HWND *>(found);
}

static void CALLBACK RunScript(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND popup = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindPopup, reinterpret_cast<LPARAM>(&popup));
    if (!popup)
        return;
    KillTimer(nullptr, timer);
    g_popupTitle = Text(popup);
    g_script(popup);
    g_popupEndedItself = !IsWindow(popup) || !IsWindowVisible(popup);
    if (!g_popupEndedItself)
        PostMessageW(popup, WM_COMMAND, IDCANCEL, 0);
}

void RunInNextPopup(void (*script)(HWND popup))
{
    g_script = script;
    g_popupTitle.clear();
    SetTimer(nullptr, 0, 20, RunScript);
}
