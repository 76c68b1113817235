#include "node_index.h"
#include "window_tree.h"

// An open-addressing hash of window to node, made from the tree when first
// asked after a change.
struct IndexEntry {
    HWND window;
    HTREEITEM node;
};
static IndexEntry *s_entries;
static SIZE_T s_mask;   // the table's size less one; the size is a power of two

static SIZE_T SlotOf(HWND window)
{
    // Fibonacci hashing: handles that differ in their low bits alone spread.
    return static_cast<SIZE_T>((reinterpret_cast<ULONG_PTR>(window) * 0x9E3779B97F4A7C15ull) >> 32) & s_mask;
}

static bool MakeNodeIndex()
{
    SIZE_T count = static_cast<SIZE_T>(SendMessageW(g_hTree, TVM_GETCOUNT, 0, 0));
    SIZE_T size = 16;
    while (size < 2 * count)
        size *= 2;
    s_entries = static_cast<IndexEntry *>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size * sizeof(IndexEntry)));
    if (!s_entries)
        return false;
    s_mask = size - 1;
    for (HTREEITEM node = NextNode(nullptr, TVGN_ROOT); node; node = FollowingNode(node)) {
        HWND window = GetNodeWindow(node);
        SIZE_T slot = SlotOf(window);
        while (s_entries[slot].node)
            slot = (slot + 1) & s_mask;
        s_entries[slot] = { window, node };
    }
    return true;
}

HTREEITEM NodeOfWindow(HWND window)
{
    if (!window || (!s_entries && !MakeNodeIndex()))
        return nullptr;
    for (SIZE_T slot = SlotOf(window); s_entries[slot].node; slot = (slot + 1) & s_mask) {
        if (s_entries[slot].window == window)
            return s_entries[slot].node;
    }
    return nullptr;
}

void SelectNodeOf(HWND window)
{
    HTREEITEM node = nullptr;
    for (; window && !node; window = GetAncestor(window, GA_PARENT))
        node = NodeOfWindow(window);
    // Selecting expands the node's ancestors and scrolls it into view.
    SendMessageW(g_hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
}

void ForgetNodeIndex()
{
    if (s_entries)
        HeapFree(GetProcessHeap(), 0, s_entries);
    s_entries = nullptr;
}
