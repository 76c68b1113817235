#include "window_tree.h"
#include "../app/startup.h"
#include "../resources/resource.h"
#include "../styles/style_names.h"

HWND g_hTree;
HIMAGELIST g_hImageList;

static const COLORREF STRIP_BACKGROUND = RGB(0, 128, 128);
static const wchar_t LABEL_SEPARATOR[] = L" | ";
enum { IMAGE_SIZE = 16, IMAGE_LIST_GROWTH = 500, WINDOW_TEXT_LIMIT = 128 };

int NodeImageFor(const wchar_t *className, DWORD style)
{
    if (lstrcmpW(className, CLASS_PREFIXES[ROW_BUTTON].className) == 0) {
        switch (style & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
            return IMAGE_CHECKBOX;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return IMAGE_RADIO;
        case BS_GROUPBOX:
            return IMAGE_GROUPBOX;
        default:
            return IMAGE_PUSHBUTTON;
        }
    }
    if (lstrcmpW(className, CLASS_PREFIXES[ROW_SCROLLBAR].className) == 0)
        return (style & SBS_VERT) ? IMAGE_VSCROLL : IMAGE_HSCROLL;
    for (int row = ROW_COMBOBOX; row < CLASS_PREFIX_COUNT; row++) {
        if (lstrcmpW(className, CLASS_PREFIXES[row].className) == 0)
            return (row == ROW_EDIT && (style & ES_PASSWORD)) ? IMAGE_PASSWORD : row;
    }
    return IMAGE_WINDOW;
}

// Appends as much of `text` as fits, keeping room for the terminator.
static void AppendClipped(wchar_t *buffer, int &length, const wchar_t *text)
{
    while (*text && length < NODE_LABEL_CHARS - 1)
        buffer[length++] = *text++;
    buffer[length] = L'\0';
}

void ComposeNodeLabel(wchar_t *label, const wchar_t *className, const wchar_t *text, bool titleFirst)
{
    int length = 0;
    AppendClipped(label, length, titleFirst ? text : className);
    AppendClipped(label, length, LABEL_SEPARATOR);
    AppendClipped(label, length, titleFirst ? className : text);
}

HICON FindWindowIcon(HWND window)
{
    HICON icon = reinterpret_cast<HICON>(SendMessageW(window, WM_QUERYDRAGICON, 0, 0));
    if (!icon)
        icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
    if (!icon)
        icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICONSM));
    if (!icon)
        icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
    if (!icon)
        icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON));
    return icon;
}

// One window's node, read but not yet inserted.
struct PendingNode {
    HWND window;
    int image;
    wchar_t label[NODE_LABEL_CHARS];
};

static void ReadWindowNode(HWND window, bool titleFirst, PendingNode *node)
{
    wchar_t className[256] = L"";
    GetClassNameW(window, className, ARRAYSIZE(className));

    // A window may answer with something that is no icon. The list refuses
    // it, and -1 would tell the tree to ask us for the picture.
    HICON icon = FindWindowIcon(window);
    node->image = icon ? ImageList_ReplaceIcon(g_hImageList, -1, icon) : -1;
    if (node->image < 0)
        node->image = NodeImageFor(className, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)));

    wchar_t text[256] = L"";
    SendMessageW(window, WM_GETTEXT, WINDOW_TEXT_LIMIT, reinterpret_cast<LPARAM>(text));
    ComposeNodeLabel(node->label, className, text, titleFirst);
    node->window = window;
}

// The order of the tree's own sorted insertion: by lstrcmpW, and stable,
// equal labels keeping the order in which their windows came.
static void SortByLabel(PendingNode **nodes, PendingNode **scratch, int count)
{
    if (count < 2)
        return;
    int half = count / 2;
    SortByLabel(nodes, scratch, half);
    SortByLabel(nodes + half, scratch, count - half);
    int left = 0, right = half, merged = 0;
    while (left < half && right < count)
        scratch[merged++] = lstrcmpW(nodes[right]->label, nodes[left]->label) < 0 ? nodes[right++] : nodes[left++];
    while (left < half)
        scratch[merged++] = nodes[left++];
    for (int i = 0; i < merged; i++)
        nodes[i] = scratch[i];
}

// A growing list of one parent's child windows, read but not yet inserted.
struct Siblings {
    PendingNode *nodes;
    int count;
    int capacity;
};

static void AddSibling(HWND window, bool titleFirst, Siblings *siblings)
{
    if (siblings->count == siblings->capacity) {
        int capacity = siblings->capacity ? 2 * siblings->capacity : 16;
        SIZE_T bytes = capacity * sizeof(PendingNode);
        void *grown = siblings->nodes ? HeapReAlloc(GetProcessHeap(), 0, siblings->nodes, bytes)
                                      : HeapAlloc(GetProcessHeap(), 0, bytes);
        if (!grown)
            return;   // out of memory: the window is left out of the tree
        siblings->nodes = static_cast<PendingNode *>(grown);
        siblings->capacity = capacity;
    }
    ReadWindowNode(window, titleFirst, &siblings->nodes[siblings->count++]);
}

// How a fill labels its nodes, and whom it tells of each.
struct FillWay {
    bool titleFirst;
    NodeSink told;
};

static void AddChildNodes(HWND window, HTREEITEM windowNode, const FillWay &way);

// Inserts the siblings in label order, each after the one before, so that
// the tree never searches its siblings; then fills in each one's children,
// which takes the nodes in the tree's order, depth first.
static void InsertSiblings(Siblings *siblings, HTREEITEM parentNode, const FillWay &way)
{
    int count = siblings->count;
    PendingNode **order =
        static_cast<PendingNode **>(HeapAlloc(GetProcessHeap(), 0, 2 * count * sizeof(PendingNode *)));
    if (order) {
        for (int i = 0; i < count; i++)
            order[i] = &siblings->nodes[i];
        SortByLabel(order, order + count, count);
        // Once sorted, the scratch half holds the new nodes.
        HTREEITEM previous = TVI_FIRST;
        HTREEITEM *nodes = reinterpret_cast<HTREEITEM *>(order + count);
        for (int i = 0; i < count; i++) {
            PendingNode *pending = order[i];
            TVINSERTSTRUCTW insert = {};
            insert.hParent = parentNode;
            insert.hInsertAfter = previous;
            insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
            insert.item.pszText = pending->label;
            insert.item.iImage = pending->image;
            insert.item.iSelectedImage = pending->image;
            insert.item.lParam = reinterpret_cast<LPARAM>(pending->window);
            nodes[i] = reinterpret_cast<HTREEITEM>(
                SendMessageW(g_hTree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
            previous = nodes[i] ? nodes[i] : previous;
        }
        for (int i = 0; i < count; i++) {
            if (!nodes[i])
                continue;
            way.told(nodes[i], order[i]->window);
            AddChildNodes(order[i]->window, nodes[i], way);
        }
        HeapFree(GetProcessHeap(), 0, order);
    }
    if (siblings->nodes)
        HeapFree(GetProcessHeap(), 0, siblings->nodes);
}

static void AddChildNodes(HWND window, HTREEITEM windowNode, const FillWay &way)
{
    Siblings children = {};
    for (HWND child = FindWindowExW(window, nullptr, nullptr, nullptr); child;
         child = FindWindowExW(window, child, nullptr, nullptr))
        AddSibling(child, way.titleFirst, &children);
    InsertSiblings(&children, windowNode, way);
}

struct TopLevelWalk {
    Siblings windows;
    FillWay way;
};

static BOOL CALLBACK AddTopLevelWindow(HWND window, LPARAM walk)
{
    TopLevelWalk *top = reinterpret_cast<TopLevelWalk *>(walk);
    AddSibling(window, top->way.titleFirst, &top->windows);
    return TRUE;
}

// Attaches the list as the tree's normal and state images and keeps it in
// g_hImageList: the one place that sets either.
static void AttachImageList(HIMAGELIST list)
{
    g_hImageList = list;
    SendMessageW(g_hTree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
    SendMessageW(g_hTree, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(list));
}

void DestroyTreeImages()
{
    HIMAGELIST list = g_hImageList;
    AttachImageList(nullptr);
    ImageList_Destroy(list);
}

// Loaded through comctl32, which frees the strip's bitmap once it holds the
// images: freeing a LoadBitmapW handle would need gdi32.
static void AddStripImages(HIMAGELIST list)
{
    HIMAGELIST strip = ImageList_LoadImageW(g_hInstance, MAKEINTRESOURCEW(IDB_NODE_IMAGES), IMAGE_SIZE, 0,
                                            STRIP_BACKGROUND, IMAGE_BITMAP, LR_CREATEDIBSECTION);
    int count = ImageList_GetImageCount(strip);
    for (int i = 0; i < count; i++) {
        HICON image = ImageList_GetIcon(strip, i, ILD_NORMAL);
        ImageList_ReplaceIcon(list, -1, image);
        DestroyIcon(image);
    }
    ImageList_Destroy(strip);
}

void FillWindowTree(HWND mainDialog, NodeSink told)
{
    HIMAGELIST list = ImageList_Create(IMAGE_SIZE, IMAGE_SIZE, ILC_MASK | ILC_COLOR8, 0, IMAGE_LIST_GROWTH);
    AddStripImages(list);
    ImageList_ReplaceIcon(list, -1, LoadIconW(nullptr, IDI_WINLOGO));
    AttachImageList(list);

    // Without redraw the tree does not lay out its nodes after every insert.
    SendMessageW(g_hTree, WM_SETREDRAW, FALSE, 0);
    TopLevelWalk walk = { {}, { IsDlgButtonChecked(mainDialog, IDC_MAIN_ORDER_BY_TITLE) == BST_CHECKED, told } };
    EnumWindows(AddTopLevelWindow, reinterpret_cast<LPARAM>(&walk));
    InsertSiblings(&walk.windows, TVI_ROOT, walk.way);
    SendMessageW(g_hTree, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(g_hTree, nullptr, TRUE);
}

HWND GetNodeWindow(HTREEITEM node)
{
    TVITEMW item = {};
    item.mask = TVIF_HANDLE | TVIF_PARAM;
    item.hItem = node;
    SendMessageW(g_hTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return reinterpret_cast<HWND>(item.lParam);
}

HTREEITEM NextNode(HTREEITEM node, UINT relation)
{
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(g_hTree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(node)));
}

HTREEITEM SelectedNode() { return NextNode(nullptr, TVGN_CARET); }
