// The tree's image rule and label composition, as plain functions.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "styles/style_names.h"
#include "tree/window_tree.h"

TEST(NodeImageFor, ButtonsByTheirTypeField)
{
    const std::pair<DWORD, int> cases[] = {
        { BS_PUSHBUTTON, IMAGE_PUSHBUTTON }, { BS_DEFPUSHBUTTON, IMAGE_PUSHBUTTON },
        { BS_CHECKBOX, IMAGE_CHECKBOX },     { BS_AUTOCHECKBOX, IMAGE_CHECKBOX },
        { BS_RADIOBUTTON, IMAGE_RADIO },     { BS_3STATE, IMAGE_CHECKBOX },
        { BS_AUTO3STATE, IMAGE_CHECKBOX },   { BS_GROUPBOX, IMAGE_GROUPBOX },
        { BS_USERBUTTON, IMAGE_PUSHBUTTON }, { BS_AUTORADIOBUTTON, IMAGE_RADIO },
        { BS_PUSHBOX, IMAGE_PUSHBUTTON },    { BS_OWNERDRAW, IMAGE_PUSHBUTTON },
        { 0xC, IMAGE_PUSHBUTTON },           { 0xF, IMAGE_PUSHBUTTON },
    };
    for (auto [type, image] : cases) {
        // Bits outside the type field must not change the picture.
        EXPECT_EQ(NodeImageFor(L"Button", WS_CHILD | WS_VISIBLE | BS_MULTILINE | type), image) << "type " << type;
    }
}

TEST(NodeImageFor, ClassNamesCompareExactly)
{
    EXPECT_EQ(NodeImageFor(L"button", BS_AUTOCHECKBOX), IMAGE_WINDOW);
    EXPECT_EQ(NodeImageFor(L"BUTTON", 0), IMAGE_WINDOW);
    EXPECT_EQ(NodeImageFor(L"edit", 0), IMAGE_WINDOW);
    EXPECT_EQ(NodeImageFor(L"richedit", 0), IMAGE_WINDOW);
    EXPECT_EQ(NodeImageFor(L"Button ", 0), IMAGE_WINDOW);
    EXPECT_EQ(NodeImageFor(L"", 0), IMAGE_WINDOW);
    EXPECT_EQ(NodeImageFor(L"#32770", WS_POPUP), IMAGE_WINDOW);
}

TEST(NodeImageFor, ScrollBarsByDirection)
{
    EXPECT_EQ(NodeImageFor(L"ScrollBar", SBS_HORZ), IMAGE_HSCROLL);
    EXPECT_EQ(NodeImageFor(L"ScrollBar", SBS_VERT | WS_CHILD), IMAGE_VSCROLL);
    EXPECT_EQ(NodeImageFor(L"ScrollBar", SBS_SIZEBOX), IMAGE_HSCROLL);
}

TEST(NodeImageFor, OtherTableClassesUseTheirRowNumber)
{
    for (int row = ROW_COMBOBOX; row < CLASS_PREFIX_COUNT; row++)
        EXPECT_EQ(NodeImageFor(CLASS_PREFIXES[row].className, 0), row) << CLASS_PREFIXES[row].className;
    EXPECT_EQ(NodeImageFor(L"Edit", ES_PASSWORD), IMAGE_PASSWORD);
    EXPECT_EQ(NodeImageFor(L"Edit", ES_MULTILINE | ES_AUTOVSCROLL), ROW_EDIT);
    // Only "Edit" turns into a password field, not the rich edit row.
    EXPECT_EQ(NodeImageFor(L"RICHEDIT", ES_PASSWORD), 21);
    // ES_PASSWORD is bit 0x20, which other classes use for other things.
    EXPECT_EQ(NodeImageFor(L"Static", 0x20), 10);
}

TEST(ComposeNodeLabel, OrdersClassAndTextBothWays)
{
    wchar_t label[NODE_LABEL_CHARS];
    ComposeNodeLabel(label, L"Button", L"OK", false);
    EXPECT_STREQ(label, L"Button | OK");
    ComposeNodeLabel(label, L"Button", L"OK", true);
    EXPECT_STREQ(label, L"OK | Button");
    ComposeNodeLabel(label, L"Static", L"", false);
    EXPECT_STREQ(label, L"Static | ");
    ComposeNodeLabel(label, L"Static", L"", true);
    EXPECT_STREQ(label, L" | Static");
}

TEST(ComposeNodeLabel, CutsAnOverlongLabelInsideItsBuffer)
{
    // The longest class name with the longest text the tree reads.
    std::wstring className(255, L'C');
    std::wstring text(127, L'T');
    wchar_t buffer[NODE_LABEL_CHARS + 8];
    for (wchar_t &c : buffer)
        c = L'#';
    ComposeNodeLabel(buffer, className.c_str(), text.c_str(), false);
    EXPECT_EQ(std::wstring(buffer), className);
    for (int i = NODE_LABEL_CHARS; i < NODE_LABEL_CHARS + 8; i++)
        EXPECT_EQ(buffer[i], L'#') << "written past the label buffer at " << i;

    ComposeNodeLabel(buffer, className.c_str(), text.c_str(), true);
    EXPECT_EQ(std::wstring(buffer), text + L" | " + className.substr(0, 255 - 130));
    EXPECT_EQ(buffer[NODE_LABEL_CHARS], L'#');
}
