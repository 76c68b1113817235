// Reads a dialog template (the classic DLGTEMPLATE form) from resources.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

struct TemplateItem {
    DWORD style, exStyle;
    short x, y, cx, cy;
    WORD id;
    // Ordinals are given as their class names. windres stores class names
    // in upper case; the window manager looks them up ignoring case.
    std::wstring className;
    std::wstring text;
};

struct DialogTemplate {
    DWORD style = 0, exStyle = 0;
    short cx = 0, cy = 0;
    std::wstring caption, font;
    WORD pointSize = 0;
    std::vector<TemplateItem> items;
};

DialogTemplate ReadDialogTemplate(HMODULE module, int id);

bool SameClassName(const std::wstring &a, const std::wstring &b);
