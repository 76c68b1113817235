#include "outline.h"
#include "../app/shared.h"
#include "../app/startup.h"

// Four thin windows, one for each edge: topmost, never active, and layered
// and transparent, so that the mouse goes through them to what they frame.
static HWND s_edges[4];

static const wchar_t OUTLINE_CLASS[] = L"OrvalisOutline";
enum { OUTLINE_UNITS = 2, FLASH_MS = 2000, FLASH_TIMER = 1 };

static bool MakeEdges()
{
    if (s_edges[0])
        return true;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = g_hInstance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1);
    wc.lpszClassName = OUTLINE_CLASS;
    RegisterClassW(&wc);   // fails harmlessly once registered
    bool made = true;
    for (HWND &edge : s_edges) {
        edge = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT,
                               OUTLINE_CLASS, nullptr, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, g_hInstance, nullptr);
        // A layered window shows nothing until it is given its opacity.
        made = made && edge && SetLayeredWindowAttributes(edge, 0, 255, LWA_ALPHA);
    }
    if (!made)
        HideOutline();
    return made;
}

void ShowOutline(HWND dialog, const RECT &rect)
{
    if (!MakeEdges())
        return;
    KillTimer(s_edges[0], FLASH_TIMER);
    int thick = DialogUnitsToPixels(dialog, OUTLINE_UNITS, 0).x;
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    const RECT edges[4] = {
        { rect.left, rect.top, width, thick },
        { rect.left, rect.bottom - thick, width, thick },
        { rect.left, rect.top, thick, height },
        { rect.right - thick, rect.top, thick, height },
    };
    HDWP batch = BeginDeferWindowPos(4);
    for (int i = 0; i < 4; i++) {
        batch = DeferWindowPos(batch, s_edges[i], HWND_TOPMOST, edges[i].left, edges[i].top, edges[i].right,
                               edges[i].bottom, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    EndDeferWindowPos(batch);
}

static void CALLBACK EndFlash(HWND, UINT, UINT_PTR, DWORD) { HideOutline(); }

void FlashOutline(HWND dialog, const RECT &rect)
{
    ShowOutline(dialog, rect);
    if (s_edges[0])
        SetTimer(s_edges[0], FLASH_TIMER, FLASH_MS, EndFlash);
}

void HideOutline()
{
    for (HWND &edge : s_edges) {
        if (edge)
            DestroyWindow(edge);
        edge = nullptr;
    }
}
