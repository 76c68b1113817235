// The details dialog's mappings and the caption format check, as plain functions.
#include <gtest/gtest.h>
#include <windows.h>
#include "details/details_rules.h"
#include "styles/style_panel.h"

TEST(PriorityEntryFor, ShowsOnlyClassesTheListHas)
{
    EXPECT_EQ(PriorityEntryFor(REALTIME_PRIORITY_CLASS), PRIORITY_REALTIME);
    EXPECT_EQ(PriorityEntryFor(HIGH_PRIORITY_CLASS), PRIORITY_HIGH);
    EXPECT_EQ(PriorityEntryFor(NORMAL_PRIORITY_CLASS), PRIORITY_NORMAL);
    EXPECT_EQ(PriorityEntryFor(IDLE_PRIORITY_CLASS), PRIORITY_IDLE);
    // No entry rather than "realtime" for what the list cannot show, so that
    // pressing the button unchanged cannot raise a process to realtime.
    EXPECT_EQ(PriorityEntryFor(ABOVE_NORMAL_PRIORITY_CLASS), -1);
    EXPECT_EQ(PriorityEntryFor(BELOW_NORMAL_PRIORITY_CLASS), -1);
    EXPECT_EQ(PriorityEntryFor(0), -1);
}

TEST(PriorityClassFor, MapsEachEntryBackAndNothingElse)
{
    for (int entry = 0; entry < PRIORITY_ENTRY_COUNT; entry++)
        EXPECT_EQ(PriorityEntryFor(PriorityClassFor(entry)), entry);
    EXPECT_EQ(PriorityClassFor(PRIORITY_REALTIME), static_cast<DWORD>(REALTIME_PRIORITY_CLASS));
    EXPECT_EQ(PriorityClassFor(PRIORITY_IDLE), static_cast<DWORD>(IDLE_PRIORITY_CLASS));
    EXPECT_EQ(PriorityClassFor(-1), 0u);
    EXPECT_EQ(PriorityClassFor(PRIORITY_ENTRY_COUNT), 0u);
}

TEST(Commands, ClickOnlyForTheExactButtonClass)
{
    EXPECT_EQ(CommandCountFor(L"Button"), 5);
    EXPECT_EQ(CommandCountFor(L"button"), 4);
    EXPECT_EQ(CommandCountFor(L"BUTTON"), 4);
    EXPECT_EQ(CommandCountFor(L"Static"), 4);
    EXPECT_EQ(CommandCountFor(L""), 4);
}

TEST(Commands, SystemCommandsByEntry)
{
    EXPECT_EQ(SysCommandFor(COMMAND_MAXIMIZE), static_cast<UINT>(SC_MAXIMIZE));
    EXPECT_EQ(SysCommandFor(COMMAND_MINIMIZE), static_cast<UINT>(SC_MINIMIZE));
    EXPECT_EQ(SysCommandFor(COMMAND_RESTORE), static_cast<UINT>(SC_RESTORE));
    EXPECT_EQ(SysCommandFor(COMMAND_CLOSE), 0u);
    EXPECT_EQ(SysCommandFor(COMMAND_CLICK), 0u);
    EXPECT_EQ(SysCommandFor(-1), 0u);
}

TEST(IsSingleValueFormat, AcceptsOneNumberConversion)
{
    EXPECT_TRUE(IsSingleValueFormat(L"視窗形態 : %lX"));
    EXPECT_TRUE(IsSingleValueFormat(L"Style %08lX (100%%)"));
    EXPECT_TRUE(IsSingleValueFormat(L"%d"));
    EXPECT_TRUE(IsSingleValueFormat(L"%#x"));
    EXPECT_TRUE(IsSingleValueFormat(L"%-12.8lu"));
}

TEST(IsSingleValueFormat, RejectsWhatWouldReadOrWriteTooMuch)
{
    EXPECT_FALSE(IsSingleValueFormat(L"no value"));
    EXPECT_FALSE(IsSingleValueFormat(L"%lX and %lX"));
    EXPECT_FALSE(IsSingleValueFormat(L"%s"));
    EXPECT_FALSE(IsSingleValueFormat(L"%c %lX"));
    EXPECT_FALSE(IsSingleValueFormat(L"%I64X"));
    EXPECT_FALSE(IsSingleValueFormat(L"%*d"));
    EXPECT_FALSE(IsSingleValueFormat(L"%900lX"));
    EXPECT_FALSE(IsSingleValueFormat(L"%.300lX"));
    EXPECT_FALSE(IsSingleValueFormat(L"%lX trailing %"));
    EXPECT_FALSE(IsSingleValueFormat(L""));
}
