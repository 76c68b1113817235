#include "startup.h"
#include "../resources/resource.h"

wchar_t *g_pStyleTable;
HINSTANCE g_hInstance;
HINSTANCE g_hResModule;

wchar_t *LoadTableText(int id)
{
    HRSRC info = FindResourceW(nullptr, MAKEINTRESOURCEW(id), RT_RCDATA);
    if (!info)
        return nullptr;
    DWORD size = SizeofResource(nullptr, info);
    HGLOBAL resource = LoadResource(nullptr, info);
    const char *bytes = resource ? static_cast<const char *>(LockResource(resource)) : nullptr;
    if (!bytes)
        return nullptr;

    // The zero fill supplies the terminator: the stored text has none.
    wchar_t *text = static_cast<wchar_t *>(GlobalAlloc(GMEM_ZEROINIT, 2 * size + 10));
    if (text)
        MultiByteToWideChar(CP_ACP, 0, bytes, size, text, size + 5);
    FreeResource(resource);
    return text;
}

bool LoadStyleTable()
{
    g_pStyleTable = LoadTableText(IDR_STYLE_NAMES);
    return g_pStyleTable != nullptr;
}

void LoadProgramString(int id, wchar_t *buffer, int capacity)
{
    if (!LoadStringW(g_hResModule, id, buffer, capacity))
        LoadStringW(g_hInstance, id, buffer, capacity);
}

HINSTANCE DialogModule(int id)
{
    return FindResourceW(g_hResModule, MAKEINTRESOURCEW(id), RT_DIALOG) ? g_hResModule : g_hInstance;
}

bool AppendSatelliteSuffix(wchar_t *path, DWORD length, DWORD capacity)
{
    static const wchar_t suffix[] = L".mui";
    if (length == 0 || length + ARRAYSIZE(suffix) > capacity)
        return false;
    lstrcpyW(path + length, suffix);
    return true;
}

// Without both dialogs the main window could not open at all.
static bool HasBothDialogs(HINSTANCE module)
{
    return FindResourceW(module, MAKEINTRESOURCEW(IDD_MAIN), RT_DIALOG) &&
           FindResourceW(module, MAKEINTRESOURCEW(IDD_DETAILS), RT_DIALOG);
}

HINSTANCE LoadResourceModule()
{
    HINSTANCE exe = GetModuleHandleW(nullptr);
    wchar_t path[MAX_PATH];
    // GetModuleFileNameW reports a truncated path as filling the buffer,
    // which leaves no room for the suffix: such a path names another file.
    if (!AppendSatelliteSuffix(path, GetModuleFileNameW(nullptr, path, MAX_PATH), MAX_PATH))
        return exe;
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES)
        return exe;
    if (HINSTANCE loaded = GetModuleHandleW(path))
        return HasBothDialogs(loaded) ? loaded : exe;
    HINSTANCE satellite = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (satellite && HasBothDialogs(satellite))
        return satellite;
    if (satellite)
        FreeLibrary(satellite);
    return exe;
}
