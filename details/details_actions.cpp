// What the details dialog does to its target: each action is applied only
// by its button or check box, and nothing is read back afterwards.
#include "details_dialog.h"
#include "details_rules.h"
#include "../app/shared.h"
#include "../resources/resource.h"
#include "../styles/style_names.h"
#include "../styles/style_panel.h"

static bool IsBoxChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// The whole field, however long: the target's text must not be cut.
static void SetTargetText(HWND dialog)
{
    wchar_t *text = ReadWindowText(GetDlgItem(dialog, IDC_DETAILS_TEXT));
    if (!text)
        return;
    SendMessageW(g_hTarget, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    HeapFree(GetProcessHeap(), 0, text);
}

static void SetTargetPlacement(HWND dialog)
{
    int left = static_cast<int>(GetDlgItemInt(dialog, IDC_DETAILS_LEFT, nullptr, TRUE));
    int top = static_cast<int>(GetDlgItemInt(dialog, IDC_DETAILS_TOP, nullptr, TRUE));
    int width = static_cast<int>(GetDlgItemInt(dialog, IDC_DETAILS_WIDTH, nullptr, TRUE));
    int height = static_cast<int>(GetDlgItemInt(dialog, IDC_DETAILS_HEIGHT, nullptr, TRUE));
    SetWindowPos(g_hTarget, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

static void SetTargetPriority(HWND dialog)
{
    int entry = static_cast<int>(SendDlgItemMessageW(dialog, IDC_DETAILS_PRIORITY, CB_GETCURSEL, 0, 0));
    DWORD priorityClass = PriorityClassFor(entry);
    if (priorityClass)
        SetPriorityClass(g_hTargetProcess, priorityClass);
}

static void EndDetailsDialog(HWND dialog)
{
    CloseTargetProcess();
    EndDialog(dialog, 0);
}

// Asked twice: a window that handles SC_CLOSE by default turns it into
// WM_CLOSE itself. Once the window is gone the dialog has nothing to show.
static void CloseTarget(HWND dialog)
{
    SendMessageW(g_hTarget, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (IsWindow(g_hTarget))
        SendMessageW(g_hTarget, WM_CLOSE, 0, 0);
    if (!IsWindow(g_hTarget))
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

// The notification a button sends its parent when clicked; the button
// itself receives nothing.
static void ClickTarget()
{
    LONG_PTR id = GetWindowLongPtrW(g_hTarget, GWLP_ID);
    HWND parent = GetParent(g_hTarget);
    if (parent)
        SendMessageW(parent, WM_COMMAND, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(g_hTarget));
}

static void ExecuteCommand(HWND dialog)
{
    int entry = static_cast<int>(SendDlgItemMessageW(dialog, IDC_DETAILS_COMMANDS, CB_GETCURSEL, 0, 0));
    if (entry == COMMAND_CLOSE)
        CloseTarget(dialog);
    else if (entry == COMMAND_CLICK)
        ClickTarget();
    else if (UINT command = SysCommandFor(entry))
        SendMessageW(g_hTarget, WM_SYSCOMMAND, command, 0);
}

// Topmost is changed through the z-order, never by writing the extended
// style; the panel then shows what the system made of it.
static void SetTargetTopmost(HWND dialog)
{
    HWND insertAfter = IsBoxChecked(dialog, IDC_DETAILS_TOPMOST) ? HWND_TOPMOST : HWND_NOTOPMOST;
    SetWindowPos(g_hTarget, insertAfter, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    FillStylePanel(dialog, IDC_DETAILS_EXSTYLE_LIST, GWL_EXSTYLE, nullptr);
}

static void SetTargetVisible(HWND dialog)
{
    ShowWindow(g_hTarget, IsBoxChecked(dialog, IDC_DETAILS_VISIBLE) ? SW_SHOWNA : SW_HIDE);
}

static void SetTargetDisabled(HWND dialog) { EnableWindow(g_hTarget, !IsBoxChecked(dialog, IDC_DETAILS_DISABLED)); }

static void DecodeAsChosenClass(HWND dialog, HWND classList)
{
    int row = static_cast<int>(SendMessageW(classList, CB_GETCURSEL, 0, 0));
    if (row >= 0 && row < CLASS_PREFIX_COUNT)
        FillStylePanel(dialog, IDC_DETAILS_STYLE_LIST, GWL_STYLE, CLASS_PREFIXES[row].prefix);
}

// Compared on the whole wParam: each action answers one notification of
// one control. IDOK (Enter) is not among them.
void OnDetailsCommand(HWND dialog, WPARAM wParam, LPARAM lParam)
{
    switch (wParam) {
    case IDCANCEL:
        EndDetailsDialog(dialog);
        break;
    case IDC_DETAILS_TOPMOST:
        SetTargetTopmost(dialog);
        break;
    case IDC_DETAILS_VISIBLE:
        SetTargetVisible(dialog);
        break;
    case IDC_DETAILS_DISABLED:
        SetTargetDisabled(dialog);
        break;
    case IDC_DETAILS_SET_TEXT:
        SetTargetText(dialog);
        break;
    case IDC_DETAILS_SET_RECT:
        SetTargetPlacement(dialog);
        break;
    case IDC_DETAILS_SET_PRIORITY:
        SetTargetPriority(dialog);
        break;
    case IDC_DETAILS_EXECUTE:
        ExecuteCommand(dialog);
        break;
    case MAKEWPARAM(IDC_DETAILS_CLASS_LIST, CBN_SELCHANGE):
        DecodeAsChosenClass(dialog, reinterpret_cast<HWND>(lParam));
        break;
    }
}
