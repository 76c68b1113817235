#include "remote.h"
#include <vector>

RemoteBlock::RemoteBlock(HANDLE process, size_t size)
    : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
{
}

RemoteBlock::~RemoteBlock()
{
    if (address_)
        VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

void RemoteBlock::Write(const void *data, size_t size, size_t offset)
{
    WriteProcessMemory(process_, At(offset), data, size, nullptr);
}

void RemoteBlock::Read(void *data, size_t size, size_t offset) const
{
    ReadProcessMemory(process_, At(offset), data, size, nullptr);
}

LRESULT SendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result);
    return static_cast<LRESULT>(result);
}

RemoteNode ReadRemoteNode(HANDLE process, HWND tree, HTREEITEM item)
{
    const size_t textOffset = sizeof(TVITEMW);
    RemoteBlock block(process, textOffset + 256 * sizeof(wchar_t));
    TVITEMW tv = {};
    tv.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_PARAM;
    tv.hItem = item;
    tv.pszText = static_cast<wchar_t *>(block.At(textOffset));
    tv.cchTextMax = 256;
    block.Write(&tv, sizeof tv);
    SendTo(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(block.At()));
    block.Read(&tv, sizeof tv);
    wchar_t text[256] = L"";
    block.Read(text, sizeof text, textOffset);
    text[255] = L'\0';
    return { text, reinterpret_cast<HWND>(tv.lParam) };
}

HTREEITEM NextNode(HWND tree, HTREEITEM item, UINT how)
{
    return reinterpret_cast<HTREEITEM>(SendTo(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM FindRemoteNode(HANDLE process, HWND tree, HTREEITEM parent, HWND window)
{
    HTREEITEM item = parent ? NextNode(tree, parent, TVGN_CHILD) : NextNode(tree, nullptr, TVGN_ROOT);
    for (; item; item = NextNode(tree, item, TVGN_NEXT)) {
        if (ReadRemoteNode(process, tree, item).window == window)
            return item;
    }
    return nullptr;
}

static void PostClick(HWND window, const RECT &rect, bool twice)
{
    LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
    if (twice) {
        PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageW(window, WM_LBUTTONUP, 0, at);
    }
}

void DoubleClickNode(HANDLE process, HWND tree, HTREEITEM item)
{
    SendTo(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    RemoteBlock block(process, sizeof(RECT));
    // TVM_GETITEMRECT takes the item in the rectangle's place.
    block.Write(&item, sizeof item);
    RECT rect = {};
    SendTo(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(block.At()));
    block.Read(&rect, sizeof rect);
    PostClick(tree, rect, true);
}

void ClickTab(HANDLE process, HWND tab, int index)
{
    RemoteBlock block(process, sizeof(RECT));
    SendTo(tab, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(block.At()));
    RECT rect = {};
    block.Read(&rect, sizeof rect);
    PostClick(tab, rect, false);
}

void SaveWindowPicture(HWND window, const std::wstring &path)
{
    RECT rect;
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    DWORD stride = (width * 3 + 3) & ~3u;
    std::vector<BYTE> pixels(stride * height);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(out, &file, sizeof file, &written, nullptr);
    WriteFile(out, &info, sizeof info, &written, nullptr);
    WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    CloseHandle(out);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}
