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
        std::wstring cells[2];
        for (int column = 0; column < 2; column++) {
            wchar_t text[256] = L"";
            LVITEMW item = {};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = 256;
            SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
            cells[column] = text;
        }
        rows.push_back(cells[1].empty() ? cells[0] : cells[0] + L" " + cells[1]);
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

struct WindowSearch {
    DWORD processId;
    const std::wstring *title;
    HWND found;
};

static BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam)
{
    auto search = reinterpret_cast<WindowSearch *>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && IsWindowVisible(window) && Text(window) == *search->title)
        search->found = window;
    return !search->found;
}

HWND WaitForWindow(DWORD processId, const std::wstring &title)
{
    WindowSearch search = { processId, &title, nullptr };
    for (int tries = 0; tries < 300 && !search.found; tries++) {
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            Sleep(50);
    }
    return search.found;
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
