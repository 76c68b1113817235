// The flag decoder over the real table, adding rows to a real list view.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>
#include "app/startup.h"
#include "styles/style_names.h"
#include "support/test_support.h"

using Rows = std::vector<std::wstring>;

struct Decoded {
    Rows rows;        // sorted by name, as the dialog's panels show them
    DWORD remaining;
};

static Decoded Decode(const wchar_t *prefix, DWORD value)
{
    HWND list = CreateFlagList();
    DWORD remaining = DecodeFlags(list, prefix, value);
    Decoded result = { ListRows(list), remaining };
    DestroyWindow(list);
    return result;
}

TEST(DecodeFlags, SameValueNamesListOnlyTheFirstInTableOrder)
{
    Decoded group = Decode(L"WS_", WS_GROUP);
    EXPECT_EQ(group.rows, (Rows{ L"WS_GROUP 20000", L"WS_OVERLAPPED 0" }));
    EXPECT_EQ(group.remaining, 0u);

    Decoded tabstop = Decode(L"WS_", WS_TABSTOP);
    EXPECT_EQ(tabstop.rows, (Rows{ L"WS_MAXIMIZEBOX 10000", L"WS_OVERLAPPED 0" }));
}

TEST(DecodeFlags, CaptionShowsAsBorderAndDialogFrame)
{
    Decoded overlapped = Decode(L"WS_", WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(overlapped.rows, (Rows{ L"WS_BORDER 800000", L"WS_DLGFRAME 400000", L"WS_GROUP 20000",
                                      L"WS_MAXIMIZEBOX 10000", L"WS_OVERLAPPED 0", L"WS_SYSMENU 80000",
                                      L"WS_THICKFRAME 40000" }));
    EXPECT_EQ(overlapped.remaining, 0u);
}

TEST(DecodeFlags, ZeroValuedNameFollowsTheField)
{
    EXPECT_EQ(Decode(L"WS_", 0).rows, (Rows{ L"WS_OVERLAPPED 0" }));
    EXPECT_EQ(Decode(L"WS_", 0).remaining, 0u);
    // WS_CHILD taken: WS_OVERLAPPED is suppressed.
    EXPECT_EQ(Decode(L"WS_", WS_CHILD).rows, (Rows{ L"WS_CHILD 40000000" }));

    EXPECT_EQ(Decode(L"BS", BS_PUSHBUTTON).rows, (Rows{ L"BS_PUSHBUTTON 0", L"BS_TEXT 0" }));
    EXPECT_EQ(Decode(L"BS", BS_DEFPUSHBUTTON).rows, (Rows{ L"BS_DEFPUSHBUTTON 1", L"BS_TEXT 0" }));
    EXPECT_EQ(Decode(L"BS", BS_AUTOCHECKBOX).rows, (Rows{ L"BS_AUTOCHECKBOX 3", L"BS_TEXT 0" }));
}

TEST(DecodeFlags, OnlyTheFirstZeroLineAfterATakenNameIsSuppressed)
{
    Decoded tabs = Decode(L"TCS", TCS_MULTILINE);
    EXPECT_EQ(tabs.rows, (Rows{ L"TCS_MULTILINE 200", L"TCS_RIGHTJUSTIFY 0", L"TCS_TABS 0" }));
    EXPECT_EQ(tabs.remaining, 0u);
}

TEST(DecodeFlags, TableOrderDecidesMultiValuedFields)
{
    Decoded combo = Decode(L"CBS", CBS_DROPDOWNLIST);
    EXPECT_EQ(combo.rows, (Rows{ L"CBS_DROPDOWN 2", L"CBS_SIMPLE 1" }));
    EXPECT_EQ(combo.remaining, 0u);

    Decoded calendar = Decode(L"MCS", 8);
    EXPECT_EQ(calendar.rows, (Rows{ L"MCS_NOTODAY 8" }));
}

TEST(DecodeFlags, AllClassStyleBitsLeaveTheUncoveredOnes)
{
    const DWORD named = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC | CS_CLASSDC | CS_PARENTDC | CS_NOCLOSE |
                        CS_SAVEBITS | CS_BYTEALIGNCLIENT | CS_BYTEALIGNWINDOW | CS_GLOBALCLASS | CS_IME | CS_DROPSHADOW;
    Decoded all = Decode(L"CS_", 0xFFFFFFFF);
    EXPECT_EQ(all.rows.size(), 13u);
    EXPECT_EQ(all.remaining, ~named);
    EXPECT_EQ(__builtin_popcount(all.remaining), 19);
}

TEST(DecodeFlags, PrefixStopsAtTheEndOfItsFirstRun)
{
    for (const std::wstring &row : Decode(L"WS_", 0xFFFFFFFF).rows)
        EXPECT_EQ(row.find(L"WS_EX_"), std::wstring::npos) << row;
    for (const std::wstring &row : Decode(L"LVS", 0xFFFFFFFF).rows)
        EXPECT_EQ(row.find(L"LVS_EX_"), std::wstring::npos) << row;
    for (const std::wstring &row : Decode(L"TBS_", 0xFFFFFFFF).rows)
        EXPECT_EQ(row.find(L"TBSTYLE"), std::wstring::npos) << row;
    // The extended names are still found by their own prefix.
    EXPECT_EQ(Decode(L"WS_EX_", WS_EX_TOPMOST).rows,
              (Rows{ L"WS_EX_LEFT 0", L"WS_EX_LTRREADING 0", L"WS_EX_RIGHTSCROLLBAR 0", L"WS_EX_TOPMOST 8" }));
}

TEST(DecodeFlags, EmptyOrUnknownPrefixListsNothing)
{
    Decoded empty = Decode(L"", 0x1234);
    EXPECT_TRUE(empty.rows.empty());
    EXPECT_EQ(empty.remaining, 0u);

    Decoded unknown = Decode(L"NOSUCH", 0x1234);
    EXPECT_TRUE(unknown.rows.empty());
    EXPECT_EQ(unknown.remaining, 0x1234u);
}

TEST(DecodeFlags, AliasLinesKeepBothNamesInTheFirstColumn)
{
    Decoded trackbar = Decode(L"TBS_", TBS_TOP);
    EXPECT_NE(std::find(trackbar.rows.begin(), trackbar.rows.end(), L"TBS_TOP,TBS_LEFT 4"), trackbar.rows.end());
}

TEST(DecodeFlags, LeavesTheTableTextAsItWas)
{
    EnsureStyleTable();
    std::wstring before = g_pStyleTable;
    const wchar_t *prefixes[] = { L"WS_", L"WS_EX_", L"CS_", L"BS", L"SS", L"CCS", L"TBS_", L"MCS", L"ES" };
    for (const wchar_t *prefix : prefixes) {
        Decode(prefix, 0xFFFFFFFF);
        Decode(prefix, 0);
    }
    EXPECT_EQ(std::wstring(g_pStyleTable), before);
}

TEST(AddFlagRow, SplitsAtTheFirstSpaceAndRestoresTheText)
{
    HWND list = CreateFlagList();
    wchar_t pair[] = L"NAME_A 1F";
    wchar_t lone[] = L"00000400";
    AddFlagRow(list, pair);
    AddFlagRow(list, lone);
    EXPECT_STREQ(pair, L"NAME_A 1F");
    EXPECT_STREQ(lone, L"00000400");
    ASSERT_EQ(ListRows(list).size(), 2u);
    EXPECT_EQ(ListCell(list, 0, 0), L"00000400");
    EXPECT_EQ(ListCell(list, 0, 1), L"");
    EXPECT_EQ(ListCell(list, 1, 0), L"NAME_A");
    EXPECT_EQ(ListCell(list, 1, 1), L"1F");
    DestroyWindow(list);
}
