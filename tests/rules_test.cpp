// The rules that need no dialog: the flag decoder over the real table, the node image and label, the caption-format
// check, the find's match and the satellite's choice.
#include <gtest/gtest.h>
#include <algorithm>
#include <map>
#include "support.h"
#include "styles/style_rows.h"
#include "styles/style_names.h"
#include "styles/style_panel.h"
#include "tree/find_box.h"
#include "tree/window_tree.h"

using namespace std;

static void Collect(void *lines, wchar_t *line) { static_cast<Texts *>(lines)->push_back(line); }

TEST(DecodeFlags, TakesTheTableLinesGreedilyInOrder)
{
    const struct {
        const wchar_t *prefix;
        DWORD value;
        Texts lines;
        DWORD rest;
    } cases[] = {
        // Of two names with one value only the first; a caption is border and frame.
        { L"WS_",
          WS_OVERLAPPEDWINDOW,
          { L"WS_OVERLAPPED 0", L"WS_BORDER 800000", L"WS_DLGFRAME 400000", L"WS_GROUP 20000", L"WS_MAXIMIZEBOX 10000",
            L"WS_SYSMENU 80000", L"WS_THICKFRAME 40000" },
          0 },
        // Only the first zero line after a taken name is dropped.
        { L"TCS", TCS_MULTILINE, { L"TCS_MULTILINE 200", L"TCS_RIGHTJUSTIFY 0", L"TCS_TABS 0" }, 0 },
        // A hex letter, and bits no name takes.
        { L"SS", SS_BITMAP | 0x20, { L"SS_BITMAP E" }, 0x20 },
        // Aliases, and runs whose prefix starts another run.
        { L"TBS_", TBS_TOP, { L"TBS_HORZ 0", L"TBS_TOP,TBS_LEFT 4" }, 0 },
        { L"WS_EX_",
          WS_EX_TOPMOST,
          { L"WS_EX_LEFT 0", L"WS_EX_LTRREADING 0", L"WS_EX_RIGHTSCROLLBAR 0", L"WS_EX_TOPMOST 8" },
          0 },
        // No prefix drops every bit; an unknown one keeps them.
        { L"", 0x1234, {}, 0 },
        { L"NOSUCH", 0x1234, {}, 0x1234 },
    };
    UseOwnResources();
    wstring table = g_pStyleTable;
    for (const auto &c : cases) {
        Texts lines;
        EXPECT_EQ(DecodeFlags(Collect, &lines, c.prefix, c.value), c.rest) << c.prefix << " " << hex << c.value;
        EXPECT_EQ(lines, c.lines) << c.prefix << " " << hex << c.value;
    }
    EXPECT_TRUE(g_pStyleTable == table && GlobalSize(g_pStyleTable) >= (table.size() + 1) * sizeof(wchar_t) &&
                table.substr(table.size() - 2) == L"\r\n")
        << "a line left cut, the table past its buffer, or its last line cut";
}

TEST(NodeRules, ImageByExactClassAndStyleAndLabelCutInsideItsBuffer)
{
    const struct {
        const wchar_t *className;
        DWORD style;
        int image;
    } cases[] = {
        { L"Button", WS_CHILD | BS_PUSHBUTTON, IMAGE_PUSHBUTTON },
        { L"Button", BS_AUTO3STATE | BS_MULTILINE, IMAGE_CHECKBOX },
        { L"Button", BS_AUTORADIOBUTTON, IMAGE_RADIO },
        { L"Button", BS_GROUPBOX, IMAGE_GROUPBOX },
        { L"Button", BS_OWNERDRAW, IMAGE_PUSHBUTTON },
        { L"button", BS_AUTOCHECKBOX, IMAGE_WINDOW },
        { L"ScrollBar", SBS_VERT, IMAGE_VSCROLL },
        { L"ScrollBar", SBS_SIZEBOX, IMAGE_HSCROLL },
        // Only Edit turns bit 0x20 into the password picture.
        { L"Edit", ES_PASSWORD, IMAGE_PASSWORD },
        { L"ComboBox", 0x20, ROW_COMBOBOX },
    };
    for (const auto &c : cases)
        EXPECT_EQ(NodeImageFor(c.className, c.style), c.image) << c.className << " " << hex << c.style;
    for (int row = ROW_COMBOBOX; row < CLASS_PREFIX_COUNT; row++)
        EXPECT_EQ(NodeImageFor(CLASS_PREFIXES[row].className, WS_CHILD), row) << CLASS_PREFIXES[row].className;

    wstring label(NODE_LABEL_CHARS + 8, L'#');
    ComposeNodeLabel(&label[0], wstring(255, L'C').c_str(), wstring(127, L'T').c_str(), true);
    EXPECT_EQ(label, wstring(127, L'T') + L" | " + wstring(125, L'C') + L'\0' + wstring(8, L'#'));
}

TEST(NodeMatches, ALabelHoldingTheTextInAnyCaseOrTheHandleInHexadecimal)
{
    HWND window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x1A2B3C));
    const pair<const wchar_t *, bool> cases[] = {
        { L"edit", true },    { L"EDIT | ÄB", true },        { L"Edit | Äb!", false },
        { L"", false },       { L"1a2b3c", true },           { L"0X1A2B3C", true },
        { L"0x", false },     { L"1A2B3C0", false },         { L"x1A2B3C", false },
        { L"1A2B3D", false }, { L"00000000001A2B3C", true }, { L"000000000001A2B3C", false },
    };
    for (auto [text, matches] : cases)
        EXPECT_EQ(NodeMatches(L"Edit | Äb", window, text), matches) << text;
    EXPECT_TRUE(NodeMatches(L"Static | 1A2B3C", nullptr, L"2b3")) << "a handle's digits in the label";
}

TEST(IsSingleValueFormat, AcceptsOneShortNumberConversion)
{
    const pair<const wchar_t *, bool> cases[] = {
        { L"視窗形態 : %lX", true }, { L"%-#08.2lx", true }, { L"100%% %hu", true },     { L"%99i", true },
        { L"%+d", false },           { L"%s %lX", false },   { L"%lX then %lX", false }, { L"%200lX", false },
        { L"%.123d", false },        { L"no value", false }, { L"%d%", false },
    };
    for (auto [format, accepted] : cases)
        EXPECT_EQ(IsSingleValueFormat(format), accepted) << wstring(format);
}

TEST(ResourceModule, NoSatelliteAFileThatIsNoModuleOneDialogOfTwoOrAPathReadCutGiveTheExesOwn)
{
    wstring satellite = BuildFile(L"tests\\style_tests.exe.mui");
    EXPECT_EQ(LoadResourceModule(), GetModuleHandleW(nullptr)) << "no satellite";
    CloseHandle(CreateFileW(satellite.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    EXPECT_EQ(LoadResourceModule(), GetModuleHandleW(nullptr)) << "not a module";
    ASSERT_TRUE(CopyFileW(BuildFile(L"tests\\bad_captions.dll").c_str(), satellite.c_str(), FALSE));
    EXPECT_EQ(LoadResourceModule(), GetModuleHandleW(nullptr)) << "one dialog of two";
    DeleteFileW(satellite.c_str());

    // The English satellite has every text and dialog the exe has, so that none shows in Chinese beside it.
    HMODULE english =
        LoadLibraryExW(BuildFile(L"satellite\\orvalis.exe.mui").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(english);
    wchar_t text[256];
    for (UINT id = 0; id <= 0xFFFF; id++) {
        EXPECT_TRUE(!LoadStringW(nullptr, id, text, 256) || LoadStringW(english, id, text, 256)) << id;
        EXPECT_TRUE(!FindResourceW(nullptr, MAKEINTRESOURCEW(id), RT_DIALOG) ||
                    FindResourceW(english, MAKEINTRESOURCEW(id), RT_DIALOG))
            << "dialog " << id;
    }

    // Nor does a path whose read failed (0) or filled the buffer (which then holds it cut); what is appended shows in
    // the exe's run, which finds its own.
    const pair<DWORD, bool> cases[] = {
        { 0, false }, { MAX_PATH - 5, true }, { MAX_PATH - 4, false }, { MAX_PATH, false }
    };
    wchar_t path[MAX_PATH];
    for (auto [length, fits] : cases)
        EXPECT_EQ(AppendSatelliteSuffix(path, length, MAX_PATH), fits) << length;
}

TEST(StyleRows, EveryNameOnceAFieldsNamesAsOptionsAndWhatTheWindowDidNotKeep)
{
    UseOwnResources();
    StyleRow rows[STYLE_ROWS_MAX];
    for (int classRow = 0; classRow < CLASS_PREFIX_COUNT; classRow++) {
        const wchar_t *className = CLASS_PREFIXES[classRow].className;
        int count = BuildStyleRows(className, GWL_STYLE, 0, rows);
        // Each name of the WS_ lines, the class's and the CCS ones in one row of its value, the masks of fields in
        // none.
        map<pair<wstring, DWORD>, int> rowOf;
        for (int row = 0; row < count; row++) {
            for (const wstring &name : Split(rows[row].names, L" / "))
                EXPECT_TRUE(rowOf.emplace(pair{ name, rows[row].value }, row).second) << name << " in two rows";
        }
        for (const wchar_t *prefix : { L"WS_", CLASS_PREFIXES[classRow].prefix, L"CCS" }) {
            TableLine lines[64];
            int lineCount = *prefix ? ReadTableRun(g_pStyleTable, prefix, lines, 64) : 0;
            for (int i = 0; i < lineCount; i++) {
                wstring name(lines[i].name, lines[i].nameLength);
                bool mask = name.size() > 4 && name.substr(name.size() - 4) == L"MASK";
                pair<wstring, DWORD> key = { name.substr(0, name.find(L',')), lines[i].value };
                EXPECT_EQ(rowOf.count(key), mask ? 0u : 1u) << className << ": " << name;
            }
        }
        // Checked, a flag's bits are set and an option's value is its field's; cleared, a flag's bits go and an
        // option stays. Nothing else changes, and of a field's options the one checked is the one equal to it.
        for (DWORD style : { 0x00000000u, 0xFFFFFFFFu, 0x5A5AC3C3u }) {
            for (int row = 0; row < count; row++) {
                const StyleRow &r = rows[row];
                DWORD on = ToggleStyleRow(r, style, true);
                DWORD off = ToggleStyleRow(r, style, false);
                DWORD touched = r.mask | r.value;
                EXPECT_TRUE(IsRowChecked(r, on) && (on & ~touched) == (style & ~touched))
                    << className << " " << r.names << " checked in " << hex << style;
                EXPECT_TRUE(r.option ? off == style : !IsRowChecked(r, off) && (off | r.value) == (style | r.value))
                    << className << " " << r.names << " cleared in " << hex << style;
            }
        }
    }
    // Names that share a value share a row; an alias's names are apart; a bit no name covers has a row of its own.
    int trackbar = BuildStyleRows(L"msctls_trackbar32", GWL_STYLE, 0x800, rows);
    Texts names;
    for (int row = 0; row < trackbar; row++)
        names.push_back(rows[row].names);
    for (const wchar_t *name : { L"WS_GROUP / WS_MINIMIZEBOX", L"TBS_TOP / TBS_LEFT", L"00000800" })
        EXPECT_EQ(count(names.begin(), names.end(), name), 1) << name;

    // Read back, what the user changed and did not take, and what the window changed itself: an option where it is on.
    const struct {
        const wchar_t *className;
        DWORD before, wanted, after;
        wstring notTaken, onItsOwn;
    } changes[] = {
        { L"Static", 0, WS_CAPTION, WS_BORDER, L"WS_CAPTION, WS_DLGFRAME", L"" },
        { L"Static", 0, WS_BORDER, WS_BORDER | WS_CLIPSIBLINGS, L"", L"WS_CLIPSIBLINGS" },
        // The CCS names of every class share bits with a button's type.
        { L"Button", BS_PUSHBUTTON, BS_CHECKBOX, BS_PUSHBUTTON, L"BS_CHECKBOX, CCS_NOMOVEY", L"" },
        { L"Nothing", 0, 0x400, 0, L"00000400", L"" },
    };
    for (const auto &c : changes) {
        wchar_t notTaken[STYLE_CHANGE_CHARS], onItsOwn[STYLE_CHANGE_CHARS];
        DescribeStyleChange(c.className, GWL_STYLE, c.before, c.wanted, c.after, notTaken, onItsOwn);
        EXPECT_EQ(notTaken, c.notTaken) << hex << c.wanted << " read back as " << c.after;
        EXPECT_EQ(onItsOwn, c.onItsOwn) << hex << c.wanted << " read back as " << c.after;
    }
}
