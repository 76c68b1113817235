// The tree of every window on the desktop, and the rules for its nodes.
#pragma once
#include <windows.h>
#include <commctrl.h>

extern HWND g_hTree;              // the main window's tree control
extern HIMAGELIST g_hImageList;   // the tree's images, made anew by every fill

// Node images: 0 to 27 come from the image strip, 28 is the system's
// generic window icon, and windows' own icons are appended after it.
enum NodeImage {
    IMAGE_HSCROLL = 0,
    IMAGE_VSCROLL = 1,   // 2 to 22: the class-prefix table row of that number
    IMAGE_CHECKBOX = 23,
    IMAGE_PUSHBUTTON = 24,
    IMAGE_GROUPBOX = 25,
    IMAGE_RADIO = 26,
    IMAGE_PASSWORD = 27,
    IMAGE_WINDOW = 28,
};

enum { NODE_LABEL_CHARS = 256 };

// The image for a window that has no icon of its own, by exact class name
// and window style.
int NodeImageFor(const wchar_t *className, DWORD style);

// "class | text", or "text | class" when titleFirst; cut to fit the
// NODE_LABEL_CHARS buffer, never past it.
void ComposeNodeLabel(wchar_t *label, const wchar_t *className, const wchar_t *text, bool titleFirst);

// The window's own icon, asked for in the order that prefers what the
// window shows itself; null when it has none.
HICON FindWindowIcon(HWND window);

// Told of each node a fill adds, in the tree's order, depth first.
typedef void (*NodeSink)(HTREEITEM node, HWND window);

// Creates the image list and adds a node for every window, siblings in
// label order.
void FillWindowTree(HWND mainDialog, NodeSink told);

// Detaches the image list from the tree and destroys it.
void DestroyTreeImages();

// The window a node shows.
HWND GetNodeWindow(HTREEITEM node);

// The node in that relation (TVGN_) to this one; null for none.
HTREEITEM NextNode(HTREEITEM node, UINT relation);

// The selected node; null when none is.
HTREEITEM SelectedNode();
