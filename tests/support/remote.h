// Reading another process's tree and tab controls from outside: their
// messages carry pointers, so the structures live in that process.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>

class RemoteBlock {
public:
    RemoteBlock(HANDLE process, size_t size);
    ~RemoteBlock();
    RemoteBlock(const RemoteBlock &) = delete;
    RemoteBlock &operator=(const RemoteBlock &) = delete;

    void *At(size_t offset = 0) const { return static_cast<char *>(address_) + offset; }
    void Write(const void *data, size_t size, size_t offset = 0);
    void Read(void *data, size_t size, size_t offset = 0) const;

private:
    HANDLE process_;
    void *address_;
};

struct RemoteNode {
    std::wstring label;
    HWND window;
};

// Sends with a time-out, so that a stopped program fails the test instead of hanging it.
LRESULT SendTo(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

RemoteNode ReadRemoteNode(HANDLE process, HWND tree, HTREEITEM item);
HTREEITEM NextNode(HWND tree, HTREEITEM item, UINT how);
HTREEITEM FindRemoteNode(HANDLE process, HWND tree, HTREEITEM parent, HWND window);

// Double-clicks a node the way the mouse does.
void DoubleClickNode(HANDLE process, HWND tree, HTREEITEM item);
// Clicks a tab of a tab control the way the mouse does.
void ClickTab(HANDLE process, HWND tab, int index);

// Saves what the screen shows of a window as a 24-bit BMP file.
void SaveWindowPicture(HWND window, const std::wstring &path);
