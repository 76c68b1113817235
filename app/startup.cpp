#include "startup.h"
#include "../resources/resource.h"

wchar_t *g_pStyleTable;
HINSTANCE g_hInstance;
HINSTANCE g_hResModule;

bool LoadStyleTable()
{
    HRSRC info = FindResourceW(nullptr, MAKEINTRESOURCEW(IDR_STYLE_NAMES), RT_RCDATA);
    if (!info)
        return false;
    DWORD size = SizeofResource(nullptr, info);
    HGLOBAL resource = LoadResource(nullptr, info);
    const char *bytes = resource ? static_cast<const char *>(LockResource(resource)) : nullptr;
    if (!bytes)
        return false;

    // The zero fill supplies the terminator: the stored text has none.
    g_pStyleTable = static_cast<wchar_t *>(GlobalAlloc(GMEM_ZEROINIT, 2 * size + 10));
    if (g_pStyleTable)
        MultiByteToWideChar(CP_ACP, 0, bytes, size, g_pStyleTable, size + 5);
    FreeResource(resource);
    return g_pStyleTable != nullptr;
}

HINSTANCE LoadResourceModule()
{
    static const wchar_t suffix[] = L".mui";
    HINSTANCE exe = GetModuleHandleW(nullptr);
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);

    // A truncated path names some other file, and a path with no room
    // left for the suffix would overrun the buffer: keep the exe's own.
    if (length == 0 || length + ARRAYSIZE(suffix) > MAX_PATH)
        return exe;
    lstrcatW(path, suffix);

    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES)
        return exe;
    HINSTANCE satellite = GetModuleHandleW(path);
    if (!satellite)
        satellite = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    return satellite ? satellite : exe;
}
