#include "pointing.h"
#include "node_index.h"
#include "outline.h"
#include "window_tree.h"
#include "../app/shared.h"
#include "../app/startup.h"
#include "../details/info_window.h"
#include "../resources/resource.h"

// The pointing's state, set while it is on. The system drops a low-level
// hook that takes too long to answer, so the hook only notes what happened
// and posts; the main window does the rest.
static HHOOK s_hook;        // the mouse hook of Ctrl+F's pointing
static HWND s_capturer;     // the window holding the mouse while the finder is dragged
static HWND s_dialog;       // where the hook posts
static bool s_movePosted;   // moves until it is followed join it
static bool s_pressed;      // a press kept from its window
static HWND s_pointed;      // the window found under the pointer
static HWND s_before;       // the window of the node selected before

static bool IsShown(HWND window) { return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

// The smallest shown child of the parent at the point, among those inside
// its client area, where children are drawn.
static HWND ChildAt(HWND parent, POINT point)
{
    POINT inParent = point;
    RECT client;
    if (!ScreenToClient(parent, &inParent) || !GetClientRect(parent, &client) || !PtInRect(&client, inParent))
        return nullptr;
    HWND smallest = nullptr;
    LONGLONG smallestArea = 0;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        // The rectangle first: most children are elsewhere, and each ask of
        // another process's window is a round trip.
        if (!GetWindowRect(child, &rect) || !PtInRect(&rect, point) || !IsShown(child))
            continue;
        LONGLONG area = static_cast<LONGLONG>(rect.right - rect.left) * (rect.bottom - rect.top);
        if (!smallest || area < smallestArea) {
            smallest = child;
            smallestArea = area;
        }
    }
    return smallest;
}

// WindowFromPoint gives the top-level window as the system hit-tests it
// (regions, click-through windows such as the outline), without asking
// another thread's windows. Below that it passes over disabled and
// hit-transparent controls, and across processes stops at a group box over
// the label inside it, so the way down is taken by size instead. Where no
// window is, Windows gives the desktop as its own root (Wine gives none): it
// has no node, and an outline around the whole screen would show nothing.
HWND WindowAt(POINT point)
{
    HWND window = GetAncestor(WindowFromPoint(point), GA_ROOT);
    if (!window || window == GetDesktopWindow())
        return nullptr;
    while (HWND child = ChildAt(window, point))
        window = child;
    return window;
}

// The hook is told points in physical pixels on every monitor, while
// WindowFromPoint and GetWindowRect answer in this thread's coordinates,
// scaled on a monitor whose DPI differs from the system's (this program is
// aware of the system's DPI only). So the pointer is asked where this
// thread sees it, for the hook's moves and the finder's alike.
static HWND WindowUnderPointer()
{
    POINT point;
    return GetCursorPos(&point) ? WindowAt(point) : nullptr;
}

// The information window that holds the dragged finder is no window to point at.
static bool IsDraggersOwn(HWND window) { return s_capturer && (window == s_capturer || IsChild(s_capturer, window)); }

bool IsPointing() { return s_hook || s_capturer; }

// A press is kept from its window, and so is its release, on which the
// pointing acts: a left click picks, a right click cancels.
static LRESULT CALLBACK PointingHook(int code, WPARAM message, LPARAM info)
{
    if (code == HC_ACTION) {
        switch (message) {
        case WM_MOUSEMOVE:
            if (!s_movePosted)
                s_movePosted = PostMessageW(s_dialog, WM_POINTING_MOVED, 0, 0);
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            s_pressed = true;
            return 1;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            if (!s_pressed)
                break;   // a press made before the pointing: its window has it
            s_pressed = false;
            PostMessageW(s_dialog, message == WM_LBUTTONUP ? WM_POINTING_PICKED : WM_POINTING_CANCELLED, 0, 0);
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, message, info);
}

static void BeginPointing(HWND dialog)
{
    s_dialog = dialog;
    HTREEITEM selected = SelectedNode();
    s_before = selected ? GetNodeWindow(selected) : nullptr;
    s_pointed = nullptr;
    s_movePosted = s_pressed = false;
}

void StartPointing(HWND dialog)
{
    if (IsPointing())
        return;
    s_hook = SetWindowsHookExW(WH_MOUSE_LL, PointingHook, g_hInstance, 0);
    if (!s_hook)
        return;
    BeginPointing(dialog);
    FollowPointer(dialog);
}

// Input bound for a window of an elevated program never reaches the
// low-level hook of a program that is not elevated, so over such a window
// Ctrl+F's pointing stops following and its click goes to that window. A
// drag under mouse capture needs no hook and works over any window.
void StartDragging(HWND dialog, HWND capturer)
{
    if (IsPointing())
        return;
    BeginPointing(dialog);
    s_capturer = capturer;
    SetCapture(capturer);
    SetCursor(LoadCursorW(nullptr, IDC_CROSS));
}

void FollowPointer(HWND dialog)
{
    s_movePosted = false;
    if (!IsPointing())
        return;
    HWND window = WindowUnderPointer();
    if (window == s_pointed || IsDraggersOwn(window))
        return;
    s_pointed = window;
    // The rows first, which the user reads; then the node, and the outline,
    // which takes longest.
    ShowWindowInfo(window);
    SelectNodeOf(window);
    RECT rect;
    if (GetWindowRect(window, &rect))
        ShowOutline(dialog, rect);
    else
        HideOutline();
}

static void EndPointing()
{
    if (s_hook)
        UnhookWindowsHookEx(s_hook);
    s_hook = nullptr;
    // Cleared first: the capture's loss, which the release tells its
    // window, then finds the pointing over.
    HWND capturer = s_capturer;
    s_capturer = nullptr;
    if (capturer) {
        ReleaseCapture();
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    }
    HideOutline();
}

// What the pointing showed goes back to the node now selected.
static void ShowSelectedInfo()
{
    HTREEITEM node = SelectedNode();
    ShowWindowInfo(node ? GetNodeWindow(node) : nullptr);
}

void PickPointedWindow(HWND dialog)
{
    if (!IsPointing())
        return;
    HWND window = WindowUnderPointer();
    if (!window || IsDraggersOwn(window)) {
        CancelPointing();
        return;
    }
    EndPointing();
    if (!NodeOfWindow(window))
        SendMessageW(dialog, WM_COMMAND, IDC_MAIN_REFRESH, 0);
    SelectNodeOf(window);
    ShowSelectedInfo();
    SetForegroundWindow(dialog);
    SetFocus(g_hTree);
}

void CancelPointing()
{
    if (!IsPointing())
        return;
    EndPointing();
    SelectNodeOf(s_before);
    ShowSelectedInfo();
}
