#include "node_index.h"
#include "window_tree.h"

// An open-addressing hash of window to its node's place, and the nodes in
// the tree's order, made from the tree when first asked after a change.
struct IndexEntry {
    HWND window;
    int place;   // one past the place in s_order, so that 0 marks a free slot
};
static IndexEntry *s_entries;
static SIZE_T s_mask;   // the table's size less one; the size is a power of two
static HTREEITEM *s_order;
static int s_count;

static SIZE_T SlotOf(HWND window)
{
    // Fibonacci hashing: handles that differ in their low bits alone spread.
    return static_cast<SIZE_T>((reinterpret_cast<ULONG_PTR>(window) * 0x9E3779B97F4A7C15ull) >> 32) & s_mask;
}

// The node after this one, depth first.
static HTREEITEM FollowingNode(HTREEITEM node)
{
    if (HTREEITEM child = NextNode(node, TVGN_CHILD))
        return child;
    for (; node; node = NextNode(node, TVGN_PARENT)) {
        if (HTREEITEM sibling = NextNode(node, TVGN_NEXT))
            return sibling;
    }
    return nullptr;
}

static bool MakeNodeIndex()
{
    SIZE_T count = static_cast<SIZE_T>(SendMessageW(g_hTree, TVM_GETCOUNT, 0, 0));
    SIZE_T size = 16;
    while (size < 2 * count)
        size *= 2;
    s_entries = static_cast<IndexEntry *>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size * sizeof(IndexEntry)));
    s_order = static_cast<HTREEITEM *>(HeapAlloc(GetProcessHeap(), 0, count * sizeof(HTREEITEM)));
    if (!s_entries || !s_order) {
        ForgetNodeIndex();
        return false;
    }
    s_mask = size - 1;
    s_count = 0;
    for (HTREEITEM node = NextNode(nullptr, TVGN_ROOT); node && s_count < static_cast<int>(count);
         node = FollowingNode(node)) {
        HWND window = GetNodeWindow(node);
        SIZE_T slot = SlotOf(window);
        while (s_entries[slot].place)
            slot = (slot + 1) & s_mask;
        s_order[s_count++] = node;
        s_entries[slot] = { window, s_count };
    }
    return true;
}

int PlaceOfWindow(HWND window)
{
    if (!window || (!s_entries && !MakeNodeIndex()))
        return -1;
    for (SIZE_T slot = SlotOf(window); s_entries[slot].place; slot = (slot + 1) & s_mask) {
        if (s_entries[slot].window == window)
            return s_entries[slot].place - 1;
    }
    return -1;
}

HTREEITEM NodeOfWindow(HWND window)
{
    int place = PlaceOfWindow(window);
    return place < 0 ? nullptr : s_order[place];
}

int IndexedNodeCount() { return s_entries || MakeNodeIndex() ? s_count : 0; }

HTREEITEM IndexedNodeAt(int place) { return s_order[place]; }

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
    if (s_order)
        HeapFree(GetProcessHeap(), 0, s_order);
    s_entries = nullptr;
    s_order = nullptr;
}
