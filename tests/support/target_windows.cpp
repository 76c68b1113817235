#include "target_windows.h"

static const wchar_t TOP_CLASS[] = L"OrvalisTestTop";
static const wchar_t DRAG_ICON_CLASS[] = L"OrvalisTestDragIcon";
static const wchar_t RICHEDIT_LOWER[] = L"richedit";

static HICON g_dragIcon;
static int *g_getIconCount;

static LRESULT CALLBACK DragIconProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_QUERYDRAGICON)
        return reinterpret_cast<LRESULT>(g_dragIcon);
    if (message == WM_GETICON && g_getIconCount)
        ++*g_getIconCount;
    return DefWindowProcW(window, message, wParam, lParam);
}

static void RegisterOnce(const wchar_t *name, WNDPROC proc, HICON smallIcon)
{
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &existing))
        return;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = name;
    wc.hIconSm = smallIcon;
    RegisterClassExW(&wc);
}

HWND CreateTestTopWindow(const wchar_t *title, DWORD style)
{
    RegisterOnce(TOP_CLASS, DefWindowProcW, LoadIconW(nullptr, IDI_INFORMATION));
    return CreateWindowExW(0, TOP_CLASS, title, style, 40, 40, 400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

HWND CreateTestChild(HWND parent, const wchar_t *className, const wchar_t *text, DWORD style, int id)
{
    return CreateWindowExW(0, className, text, WS_CHILD | style, 10, 10, 80, 24, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

HWND CreateDragIconWindow(HICON dragIcon, int *getIconCount)
{
    g_dragIcon = dragIcon;
    g_getIconCount = getIconCount;
    RegisterOnce(DRAG_ICON_CLASS, DragIconProc, nullptr);
    return CreateWindowExW(0, DRAG_ICON_CLASS, L"Drag icon", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

const wchar_t *LowerCaseRichEditClass()
{
    RegisterOnce(RICHEDIT_LOWER, DefWindowProcW, nullptr);
    return RICHEDIT_LOWER;
}
