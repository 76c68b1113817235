#include "dialog_template.h"

namespace {
struct Reader {
    const WORD *at;

    WORD Word() { return *at++; }
    DWORD Dword() { DWORD low = Word(); return low | (static_cast<DWORD>(Word()) << 16); }
    short Short() { return static_cast<short>(Word()); }
    std::wstring String()
    {
        std::wstring s;
        while (*at)
            s += static_cast<wchar_t>(*at++);
        at++;
        return s;
    }
    // A string, or 0xFFFF and an ordinal.
    std::wstring StringOrOrdinal()
    {
        if (*at == 0xFFFF) {
            at++;
            WORD ordinal = Word();
            static const wchar_t *classes[] = { L"Button", L"Edit", L"Static", L"ListBox", L"ScrollBar", L"ComboBox" };
            if (ordinal >= 0x80 && ordinal <= 0x85)
                return classes[ordinal - 0x80];
            return L"#" + std::to_wstring(ordinal);
        }
        return String();
    }
    void AlignDword()
    {
        if (reinterpret_cast<ULONG_PTR>(at) & 2)
            at++;
    }
};
}

DialogTemplate ReadDialogTemplate(HMODULE module, int id)
{
    DialogTemplate dialog;
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG);
    if (!info)
        return dialog;
    Reader r = { static_cast<const WORD *>(LockResource(LoadResource(module, info))) };
    dialog.style = r.Dword();
    dialog.exStyle = r.Dword();
    WORD count = r.Word();
    r.at += 2;   // x and y: the dialog is centred
    dialog.cx = r.Short();
    dialog.cy = r.Short();
    r.StringOrOrdinal();   // menu
    r.StringOrOrdinal();   // window class
    dialog.caption = r.String();
    if (dialog.style & DS_SETFONT) {
        dialog.pointSize = r.Word();
        dialog.font = r.String();
    }
    for (WORD i = 0; i < count; i++) {
        r.AlignDword();
        TemplateItem item;
        item.style = r.Dword();
        item.exStyle = r.Dword();
        item.x = r.Short();
        item.y = r.Short();
        item.cx = r.Short();
        item.cy = r.Short();
        item.id = r.Word();
        item.className = r.StringOrOrdinal();
        item.text = r.StringOrOrdinal();
        WORD extraBytes = r.Word();
        r.at = reinterpret_cast<const WORD *>(reinterpret_cast<const BYTE *>(r.at) + extraBytes);
        dialog.items.push_back(item);
    }
    return dialog;
}

bool SameClassName(const std::wstring &a, const std::wstring &b)
{
    return lstrcmpiW(a.c_str(), b.c_str()) == 0;
}
