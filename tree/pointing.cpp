#include "pointing.h"
#include "main_dialog.h"
#include "node_index.h"
#include "outline.h"
#include "window_tree.h"
#include "../app/startup.h"

// The pointing's state, set while its low-level mouse hook is in place. The
// system drops a hook that takes too long to answer, so the hook only notes
// where the pointer is and posts; the main window does the rest.
static HHOOK s_hook;
static HWND s_dialog;                   // where the hook posts
static POINT s_point;                   // where the hook last saw the pointer
static bool s_movePosted;               // moves until it is followed join it
static bool s_pressed;                  // a press kept from its window
static HWND s_pointed;                  // the window found under the pointer
static HWND s_before;                   // the window of the node selected before

static bool IsShown(HWND window)
{
    return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

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

bool IsPointing()
{
    return s_hook != nullptr;
}

// A press is kept from its window, and so is its release, on which the
// pointing acts: a left click picks, a right click cancels.
static LRESULT CALLBACK PointingHook(int code, WPARAM message, LPARAM info)
{
    if (code == HC_ACTION) {
        s_point = reinterpret_cast<const MSLLHOOKSTRUCT *>(info)->pt;
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

void StartPointing(HWND dialog)
{
    if (s_hook)
        return;
    s_hook = SetWindowsHookExW(WH_MOUSE_LL, PointingHook, g_hInstance, 0);
    if (!s_hook)
        return;
    s_dialog = dialog;
    HTREEITEM selected = SelectedNode();
    s_before = selected ? GetNodeWindow(selected) : nullptr;
    s_pointed = nullptr;
    s_movePosted = s_pressed = false;
    GetCursorPos(&s_point);
    FollowPointer(dialog);
}

void FollowPointer(HWND dialog)
{
    s_movePosted = false;
    HWND window = s_hook ? WindowAt(s_point) : s_pointed;
    if (window == s_pointed)
        return;
    s_pointed = window;
    SelectNodeOf(window);   // first: the outline, which takes longer, can follow
    RECT rect;
    if (GetWindowRect(window, &rect))
        ShowOutline(dialog, rect);
    else
        HideOutline();
}

static void EndPointing()
{
    UnhookWindowsHookEx(s_hook);
    s_hook = nullptr;
    HideOutline();
}

void PickPointedWindow(HWND dialog)
{
    if (!s_hook)
        return;
    HWND window = WindowAt(s_point);
    EndPointing();
    if (window && !NodeOfWindow(window))
        RefillWindowTree(dialog);
    SelectNodeOf(window ? window : s_before);
    SetForegroundWindow(dialog);
    SetFocus(g_hTree);
}

void CancelPointing()
{
    if (!s_hook)
        return;
    EndPointing();
    SelectNodeOf(s_before);
}
