#include "window_tree.h"
#include "../app/startup.h"
#include "../resources/resource.h"
#include "../styles/style_names.h"

HWND g_hTree;
HIMAGELIST g_hImageList;

static const COLORREF STRIP_BACKGROUND = RGB(0, 128, 128);
static const wchar_t LABEL_SEPARATOR[] = L" | ";
enum { WINDOW_TEXT_LIMIT = 128 };

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
    label[0] = L'\0';
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

HTREEITEM AddWindowNode(HWND window, HTREEITEM parentNode, bool titleFirst)
{
    wchar_t className[256] = L"";
    GetClassNameW(window, className, 256);

    int image;
    HICON icon = FindWindowIcon(window);
    if (icon)
        image = ImageList_ReplaceIcon(g_hImageList, -1, icon);
    else
        image = NodeImageFor(className, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)));

    wchar_t text[256] = L"";
    SendMessageW(window, WM_GETTEXT, WINDOW_TEXT_LIMIT, reinterpret_cast<LPARAM>(text));
    wchar_t label[NODE_LABEL_CHARS];
    ComposeNodeLabel(label, className, text, titleFirst);

    TVINSERTSTRUCTW insert = {};
    insert.hParent = parentNode ? parentNode : TVI_ROOT;
    insert.hInsertAfter = TVI_SORT;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = label;
    insert.item.iImage = image;
    insert.item.iSelectedImage = image;
    insert.item.lParam = reinterpret_cast<LPARAM>(window);
    return reinterpret_cast<HTREEITEM>(SendMessageW(g_hTree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void AddChildNodes(HWND window, HTREEITEM windowNode, bool titleFirst)
{
    for (HWND child = FindWindowExW(window, nullptr, nullptr, nullptr); child;
         child = FindWindowExW(window, child, nullptr, nullptr)) {
        HTREEITEM node = AddWindowNode(child, windowNode, titleFirst);
        AddChildNodes(child, node, titleFirst);
    }
}

static BOOL CALLBACK AddTopLevelWindow(HWND window, LPARAM titleFirst)
{
    HTREEITEM node = AddWindowNode(window, nullptr, titleFirst != 0);
    AddChildNodes(window, node, titleFirst != 0);
    return TRUE;
}

void FillWindowTree(HWND mainDialog)
{
    g_hImageList = ImageList_Create(16, 16, ILC_MASK | ILC_COLOR8, 0, 500);
    ImageList_AddMasked(g_hImageList, LoadBitmapW(g_hInstance, MAKEINTRESOURCEW(IDB_NODE_IMAGES)), STRIP_BACKGROUND);
    ImageList_ReplaceIcon(g_hImageList, -1, LoadIconW(nullptr, IDI_WINLOGO));
    SendMessageW(g_hTree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(g_hImageList));
    SendMessageW(g_hTree, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(g_hImageList));

    bool titleFirst = IsDlgButtonChecked(mainDialog, IDC_MAIN_ORDER_BY_TITLE) == BST_CHECKED;
    EnumWindows(AddTopLevelWindow, titleFirst);
}
