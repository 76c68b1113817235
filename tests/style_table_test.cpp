// The style-name table as the program loads it from its own resources.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "app/startup.h"
#include "resources/resource.h"
#include "support/test_support.h"

static std::string StoredTable()
{
    HRSRC info = FindResourceW(nullptr, MAKEINTRESOURCEW(IDR_STYLE_NAMES), RT_RCDATA);
    const char *bytes = static_cast<const char *>(LockResource(LoadResource(nullptr, info)));
    return std::string(bytes, SizeofResource(nullptr, info));
}

static std::vector<std::wstring> LoadedLines()
{
    EnsureStyleTable();
    std::vector<std::wstring> lines;
    std::wstring text = g_pStyleTable;
    size_t start = 0;
    for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
}

// Which group a line belongs to: its first name part, plus "_EX" for the
// extended groups that share that part.
static std::wstring RunOf(const std::wstring &line)
{
    std::wstring run = line.substr(0, line.find(L'_'));
    if (line.find(L"_EX_") != std::wstring::npos)
        run += L"_EX";
    return run;
}

TEST(StyleTable, StoredBytesAreAsciiLinesEndingInCrLf)
{
    std::string stored = StoredTable();
    ASSERT_EQ(stored.size(), 6880u);
    size_t lines = 0;
    for (size_t i = 0; i < stored.size(); i++) {
        ASSERT_LT(static_cast<unsigned char>(stored[i]), 0x80u) << "at byte " << i;
        if (stored[i] == '\n') {
            ASSERT_GT(i, 0u);
            ASSERT_EQ(stored[i - 1], '\r') << "bare LF at byte " << i;
            lines++;
        }
    }
    EXPECT_EQ(lines, 360u);
    EXPECT_EQ(stored.substr(stored.size() - 2), "\r\n");
}

TEST(StyleTable, LoadedTextEndsInNulsOnly)
{
    EnsureStyleTable();
    size_t stored = StoredTable().size();
    ASSERT_GE(GlobalSize(g_pStyleTable), 2 * stored + 10);
    EXPECT_EQ(static_cast<size_t>(lstrlenW(g_pStyleTable)), stored);
    for (size_t i = stored; i < stored + 5; i++)
        EXPECT_EQ(g_pStyleTable[i], L'\0') << "at character " << i;
}

TEST(StyleTable, EveryLineIsNameSpaceHexValue)
{
    for (const std::wstring &line : LoadedLines()) {
        size_t space = line.find(L' ');
        ASSERT_NE(space, std::wstring::npos) << "no space";
        ASSERT_GT(space, 0u);
        std::wstring value = line.substr(space + 1);
        ASSERT_GE(value.size(), 1u);
        ASSERT_LE(value.size(), 8u);
        EXPECT_EQ(value.find_first_not_of(L"0123456789ABCDEF"), std::wstring::npos) << line;
        EXPECT_TRUE(value == L"0" || value[0] != L'0') << "leading zero: " << line;
    }
}

TEST(StyleTable, RunsComeInOrderWithTheirSizes)
{
    const std::pair<const wchar_t *, int> expected[] = {
        { L"ACS", 4 }, { L"BS", 26 }, { L"CBES_EX", 5 }, { L"CBS", 13 }, { L"CCS", 8 }, { L"DS", 14 },
        { L"DTS", 8 }, { L"ES", 14 }, { L"HDS", 8 }, { L"LBS", 15 }, { L"LVS", 22 }, { L"MCS", 6 },
        { L"PBS", 2 }, { L"PGS", 4 }, { L"RBS", 12 }, { L"SBARS", 2 }, { L"SBS", 10 }, { L"SS", 31 },
        { L"TBS", 13 }, { L"TBSTYLE", 8 }, { L"TCS", 20 }, { L"TTS", 6 }, { L"TVS", 16 }, { L"UDS", 9 },
        { L"WS", 20 }, { L"LVS_EX", 21 }, { L"TBSTYLE_EX", 4 }, { L"TCS_EX", 2 }, { L"WS_EX", 24 }, { L"CS", 13 },
    };
    std::vector<std::pair<std::wstring, int>> runs;
    for (const std::wstring &line : LoadedLines()) {
        if (runs.empty() || runs.back().first != RunOf(line))
            runs.push_back({ RunOf(line), 0 });
        runs.back().second++;
    }
    ASSERT_EQ(runs.size(), std::size(expected));
    for (size_t i = 0; i < runs.size(); i++) {
        EXPECT_EQ(runs[i].first, expected[i].first) << "run " << i + 1;
        EXPECT_EQ(runs[i].second, expected[i].second) << "run " << i + 1;
    }
}

TEST(StyleTable, KeepsItsDuplicatesAndAliases)
{
    std::vector<std::wstring> lines = LoadedLines();
    auto count = [&](const wchar_t *line) { return std::count(lines.begin(), lines.end(), line); };
    EXPECT_EQ(count(L"RBS_BANDBORDERS 400"), 2);
    EXPECT_EQ(count(L"RBS_FIXEDORDER 800"), 2);
    EXPECT_EQ(count(L"RBS_TOOLTIPS 100"), 2);
    EXPECT_EQ(count(L"RBS_VARHEIGHT 200"), 2);
    EXPECT_EQ(count(L"MCS_NOTODAY 10"), 1);
    EXPECT_EQ(count(L"MCS_NOTODAY 8"), 1);
    EXPECT_EQ(count(L"TBS_TOP,TBS_LEFT 4"), 1);
    EXPECT_EQ(count(L"TBS_BOTTOM,TBS_RIGHT 0"), 1);
    auto dropdown = std::find(lines.begin(), lines.end(), L"CBS_DROPDOWN 2");
    ASSERT_NE(dropdown, lines.end());
    EXPECT_EQ(*(dropdown + 1), L"CBS_DROPDOWNLIST 3");
}
