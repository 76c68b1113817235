#include "node_index.h"
#include "window_tree.h"

// An open-addressing hash of window to its node's place, and the nodes in
// the tree's order with their windows. The fill tells each node as it adds
// it, so that the first search after a fill finds the index made; after a
// node is deleted it is made from the tree when next asked.
struct IndexedNode {
    HTREEITEM node;
    HWND window;
};
struct IndexEntry {
    HWND window;
    int place;   // one past the place in s_order, so that 0 marks a free slot
};
static IndexEntry *s_entries;   // null until the first node, and once forgotten
static SIZE_T s_mask;           // the table's size less one; the size is a power of two
static IndexedNode *s_order;
static int s_count;
static int s_capacity;   // of s_order: half the table, which stays at most half full
static bool s_failed;    // out of memory: nothing more is indexed until forgotten

static SIZE_T SlotOf(HWND window)
{
    // Fibonacci hashing: handles that differ in their low bits alone spread.
    return static_cast<SIZE_T>((reinterpret_cast<ULONG_PTR>(window) * 0x9E3779B97F4A7C15ull) >> 32) & s_mask;
}

static void EnterPlace(HWND window, int place)
{
    SIZE_T slot = SlotOf(window);
    while (s_entries[slot].place)
        slot = (slot + 1) & s_mask;
    s_entries[slot] = { window, place + 1 };
}

static int FindPlace(HWND window)
{
    if (!s_entries)
        return -1;
    for (SIZE_T slot = SlotOf(window); s_entries[slot].place; slot = (slot + 1) & s_mask) {
        if (s_entries[slot].window == window)
            return s_entries[slot].place - 1;
    }
    return -1;
}

// Twice the room, the table made anew for it.
static bool GrowNodeIndex()
{
    HANDLE heap = GetProcessHeap();
    int capacity = s_capacity ? 2 * s_capacity : 256;
    SIZE_T bytes = capacity * sizeof(IndexedNode);
    void *order = s_order ? HeapReAlloc(heap, 0, s_order, bytes) : HeapAlloc(heap, 0, bytes);
    if (order)
        s_order = static_cast<IndexedNode *>(order);
    void *entries = order ? HeapAlloc(heap, HEAP_ZERO_MEMORY, 2 * capacity * sizeof(IndexEntry)) : nullptr;
    if (!entries)
        return false;
    if (s_entries)
        HeapFree(heap, 0, s_entries);
    s_entries = static_cast<IndexEntry *>(entries);
    s_mask = 2 * capacity - 1;
    s_capacity = capacity;
    for (int place = 0; place < s_count; place++)
        EnterPlace(s_order[place].window, place);
    return true;
}

// A window already indexed keeps its place: a lookup inside the fill may
// have made the index from the nodes added so far.
void IndexNode(HTREEITEM node, HWND window)
{
    if (s_failed || FindPlace(window) >= 0)
        return;
    if (s_count == s_capacity && !GrowNodeIndex()) {
        ForgetNodeIndex();
        s_failed = true;
        return;
    }
    s_order[s_count] = { node, window };
    EnterPlace(window, s_count++);
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
    ForgetNodeIndex();
    for (HTREEITEM node = NextNode(nullptr, TVGN_ROOT); node; node = FollowingNode(node))
        IndexNode(node, GetNodeWindow(node));
    return s_entries != nullptr;
}

int PlaceOfWindow(HWND window)
{
    if (!window || (!s_entries && !MakeNodeIndex()))
        return -1;
    return FindPlace(window);
}

HTREEITEM NodeOfWindow(HWND window)
{
    int place = PlaceOfWindow(window);
    return place < 0 ? nullptr : s_order[place].node;
}

int IndexedNodeCount() { return s_entries || MakeNodeIndex() ? s_count : 0; }

HTREEITEM IndexedNodeAt(int place) { return s_order[place].node; }

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
    s_count = s_capacity = 0;
    s_failed = false;
}
