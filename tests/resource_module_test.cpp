// Which module supplies dialogs and strings, judged by copies of a probe
// program that runs the real choice from different folders.
#include <gtest/gtest.h>
#include <string>
#include "resources/resource.h"
#include "support/dialog_template.h"
#include "support/test_support.h"

enum { CHOSE_EXE = 1, CHOSE_SATELLITE = 2 };

static std::wstring Satellite() { return BuildDir() + L"satellite\\orvalis.exe.mui"; }

// A fresh folder under the temporary folder, padded to the length asked.
static std::wstring MakeFolder(const wchar_t *name, size_t padTo = 0)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring dir = std::wstring(temp) + name + L"_" + std::to_wstring(GetCurrentProcessId());
    if (dir.size() + 1 < padTo)
        dir += L"_" + std::wstring(padTo - dir.size() - 1, L'p');
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir + L"\\";
}

static DWORD RunProbe(const std::wstring &exe)
{
    PROCESS_INFORMATION process = StartProgram(exe);
    if (!process.hProcess)
        return GetLastError() + 1000;
    DWORD code = WaitForExit(process.hProcess);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return code;
}

static std::wstring PlaceProbe(const std::wstring &dir, const wchar_t *name = L"probe.exe")
{
    std::wstring exe = dir + name;
    EXPECT_TRUE(CopyFileW((TestDir() + L"resource_probe.exe").c_str(), exe.c_str(), FALSE)) << "copy to " << exe.size() << " chars";
    return exe;
}

TEST(ResourceModule, WithoutSatelliteTheExeSuppliesEverything)
{
    std::wstring exe = PlaceProbe(MakeFolder(L"orvalis_plain"));
    EXPECT_EQ(RunProbe(exe), static_cast<DWORD>(CHOSE_EXE));
}

TEST(ResourceModule, SatelliteBesideTheExeIsChosen)
{
    std::wstring exe = PlaceProbe(MakeFolder(L"orvalis_satellite"));
    ASSERT_TRUE(CopyFileW(Satellite().c_str(), (exe + L".mui").c_str(), FALSE));
    EXPECT_EQ(RunProbe(exe), static_cast<DWORD>(CHOSE_SATELLITE));
}

TEST(ResourceModule, UnloadableSatelliteFallsBackToTheExe)
{
    std::wstring exe = PlaceProbe(MakeFolder(L"orvalis_broken"));
    HANDLE file = CreateFileW((exe + L".mui").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(file, "not a module", 12, &written, nullptr);
    CloseHandle(file);
    EXPECT_EQ(RunProbe(exe), static_cast<DWORD>(CHOSE_EXE));

    std::wstring folderExe = PlaceProbe(MakeFolder(L"orvalis_folder"));
    CreateDirectoryW((folderExe + L".mui").c_str(), nullptr);
    EXPECT_EQ(RunProbe(folderExe), static_cast<DWORD>(CHOSE_EXE));
}

TEST(ResourceModule, PathWithoutRoomForTheSuffixKeepsTheExe)
{
    // 257 characters: the path fits, the path plus ".mui" does not.
    std::wstring exe = PlaceProbe(MakeFolder(L"orvalis_long", 257 - 10), L"probe.exe");
    ASSERT_EQ(exe.size(), 257u);
    ASSERT_TRUE(CopyFileW(Satellite().c_str(), (L"\\\\?\\" + exe + L".mui").c_str(), FALSE));
    EXPECT_EQ(RunProbe(exe), static_cast<DWORD>(CHOSE_EXE));
}

TEST(ResourceModule, EnglishSatelliteCarriesBothDialogsAndAllStrings)
{
    HMODULE satellite = LoadLibraryExW(Satellite().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(satellite, nullptr);
    EXPECT_NE(FindResourceW(satellite, MAKEINTRESOURCEW(IDD_MAIN), RT_DIALOG), nullptr);
    EXPECT_NE(FindResourceW(satellite, MAKEINTRESOURCEW(IDD_DETAILS), RT_DIALOG), nullptr);
    for (int id = IDS_PRIORITY_REALTIME; id <= IDS_TAB_CHILD; id++) {
        wchar_t text[256] = L"";
        int length = LoadStringW(satellite, id, text, 256);
        if (id == 10) {
            EXPECT_EQ(length, 0);
            continue;
        }
        EXPECT_GT(length, 0) << "string " << id;
        for (const wchar_t *c = text; *c; c++)
            EXPECT_LT(*c, 0x80) << "string " << id << " is not English";
    }
    wchar_t caption[256];
    LoadStringW(satellite, IDS_CAPTION_STYLE, caption, 256);
    EXPECT_NE(std::wstring(caption).find(L"%lX"), std::wstring::npos);
    FreeLibrary(satellite);
}

// A satellite must give both dialogs the ids, classes, styles and layout
// of the exe's own: the program finds its controls by id alone.
TEST(ResourceModule, EnglishDialogsMatchTheExesButForTheirWords)
{
    HMODULE satellite = LoadLibraryExW(Satellite().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(satellite, nullptr);
    for (int id : { IDD_MAIN, IDD_DETAILS }) {
        DialogTemplate own = ReadDialogTemplate(GetModuleHandleW(nullptr), id);
        DialogTemplate english = ReadDialogTemplate(satellite, id);
        EXPECT_EQ(english.style, own.style) << "dialog " << id;
        EXPECT_EQ(english.exStyle, own.exStyle) << "dialog " << id;
        EXPECT_EQ((std::vector<int>{ english.cx, english.cy, english.pointSize }),
                  (std::vector<int>{ own.cx, own.cy, own.pointSize })) << "dialog " << id;
        EXPECT_EQ(english.font, own.font);
        ASSERT_EQ(english.items.size(), own.items.size()) << "dialog " << id;
        for (size_t i = 0; i < own.items.size(); i++) {
            const TemplateItem &a = own.items[i], &b = english.items[i];
            EXPECT_EQ(b.id, a.id) << "dialog " << id << " item " << i + 1;
            EXPECT_TRUE(SameClassName(b.className, a.className)) << "dialog " << id << " item " << i + 1;
            EXPECT_EQ(b.style, a.style) << "dialog " << id << " item " << i + 1;
            EXPECT_EQ(b.exStyle, a.exStyle) << "dialog " << id << " item " << i + 1;
            EXPECT_EQ((std::vector<int>{ b.x, b.y, b.cx, b.cy }), (std::vector<int>{ a.x, a.y, a.cx, a.cy }))
                << "dialog " << id << " item " << i + 1;
            EXPECT_EQ(b.text.empty(), a.text.empty()) << "dialog " << id << " item " << i + 1;
        }
    }
    FreeLibrary(satellite);
}

TEST(ResourceModule, ExesDialogsHaveTheirControlsInPlace)
{
    DialogTemplate main = ReadDialogTemplate(GetModuleHandleW(nullptr), IDD_MAIN);
    ASSERT_EQ(main.items.size(), 5u);
    EXPECT_TRUE(SameClassName(main.items[0].className, L"SysTreeView32")) << "the tree must be the first child";
    EXPECT_EQ(main.items[0].style & WS_BORDER, static_cast<DWORD>(WS_BORDER));
    DialogTemplate details = ReadDialogTemplate(GetModuleHandleW(nullptr), IDD_DETAILS);
    EXPECT_EQ(details.style, 0x80C80BC0u);
    EXPECT_EQ(details.caption, L"詳細內容");
    EXPECT_EQ((std::vector<int>{ details.cx, details.cy, details.pointSize }), (std::vector<int>{ 388, 243, 9 }));
    ASSERT_EQ(details.items.size(), 38u);
    int labels = 0;
    for (const TemplateItem &item : details.items)
        labels += item.id == 0xFFFF;
    EXPECT_EQ(labels, 10);
}
