// The message log's rules: names and decoded parameters over records the test builds, and the lines kept.
#include <gtest/gtest.h>
#include "support.h"
#include "messages/log_lines.h"
#include "messages/message_names.h"
#include "messages/message_text.h"
#include "resources/resource.h"

using namespace std;

// A record of the message to a window of the class, what its pointer pointed at (its data) and, as the log shows
// them, its name, its parameters and its result, apart by tabs.
struct Case {
    UINT message;
    UINT64 wParam;
    UINT64 lParam;
    wstring shown;
    BYTE kind = LOG_SENT;
    UINT64 result = 0;
    const wchar_t *className = L"";
    const void *data = nullptr;
    WORD bytes = 0;
    BYTE dataKind = DATA_NONE;
};

TEST(MessageText, NamesByClassDecodesEachMessagesParametersAndResultAndShowsARecordThatDoesNotHoldTogetherRaw)
{
    UseOwnResources();
    ASSERT_TRUE(LoadMessageNames());
    UINT registered = RegisterWindowMessageW(L"OrvalisTestMessage");
    wstring cut(LOG_TEXT_CHARS, L'a');
    LogCreate create = { 1, 2, 3, 4, WS_CHILD | WS_VISIBLE, 0, L"Button", L"OK" };
    WINDOWPOS position = { nullptr, HWND_TOPMOST, 1, 2, 3, 4, SWP_NOSIZE | SWP_NOMOVE | 0x8000 };
    STYLESTRUCT styles = { WS_EX_TOPMOST, WS_EX_TOPMOST | WS_EX_WINDOWEDGE };
    MINMAXINFO sizes = { { 0, 0 }, { 1, 2 }, { 3, 4 }, { 5, 6 }, { 7, 8 } };
    RECT suggested = { 1, 2, 3, 4 };
    NMHDR changed = { reinterpret_cast<HWND>(0x66), 3, static_cast<UINT>(LVN_ITEMCHANGED) };
    const LPARAM keyFlags = 1 | 0x1C << 16;
    const LPARAM allFlags = 2 | 0x1E << 16 | 1 << 24 | 1 << 29 | 1 << 30 | 1u << 31;
    const wstring keyFields = L" repeat:1 scan:1C extended:0 alt:0 previous:0 up:0\t";
    const wstring raw = L"\twParam:0000000000000000 lParam:0000000000000007\t";
    const Case cases[] = {
        { WM_SETTEXT, 0, 0, L"WM_SETTEXT\ttext:\"Hi\"\t", LOG_SENT, 0, L"", L"Hi", 4, DATA_TEXT },
        { WM_SETTEXT, 0, 0, L"WM_SETTEXT\ttext:\"" + cut + L"\x2026\"\t", LOG_SENT, 0, L"", cut.c_str(),
          2 * LOG_TEXT_CHARS, DATA_TEXT_CUT },
        { WM_GETTEXT, 9, 0, L"WM_GETTEXT\ttext:\"Hi\"\t2", LOG_RETURNED, 2, L"", L"Hi", 4, DATA_TEXT },
        { WM_GETTEXTLENGTH, 0, 7, L"WM_GETTEXTLENGTH" + raw + L"5", LOG_RETURNED, 5 },
        { WM_CREATE, 0, 0, L"WM_CREATE\tclass:\"Button\" text:\"OK\" x:1 y:2 cx:3 cy:4 style:50000000\t", LOG_SENT, 0,
          L"", &create, sizeof create, DATA_CREATE },
        { WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(640, 480), L"WM_SIZE\ttype:SIZE_MAXIMIZED width:640 height:480\t" },
        { WM_MOVE, 0, MAKELPARAM(-5, 7), L"WM_MOVE\tx:-5 y:7\t" },
        { WM_WINDOWPOSCHANGED, 0, 0,
          L"WM_WINDOWPOSCHANGED\tafter:HWND_TOPMOST x:1 y:2 cx:3 cy:4 flags:SWP_NOSIZE|SWP_NOMOVE|8000\t", LOG_SENT, 0,
          L"", &position, sizeof position, DATA_WINDOWPOS },
        { WM_SHOWWINDOW, TRUE, SW_PARENTOPENING, L"WM_SHOWWINDOW\tshown:1 status:SW_PARENTOPENING\t" },
        { WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 1), 0x1234,
          L"WM_ACTIVATE\tstate:WA_CLICKACTIVE minimized:1 other:1234\t" },
        { WM_ACTIVATEAPP, 1, 42, L"WM_ACTIVATEAPP\tactive:1 thread:42\t" },
        { WM_KILLFOCUS, 0xABC, 0, L"WM_KILLFOCUS\tother:ABC\t" },
        { WM_KEYDOWN, VK_RETURN, keyFlags, L"WM_KEYDOWN\tkey:VK_RETURN" + keyFields },
        { WM_SYSKEYUP, 'A', allFlags, L"WM_SYSKEYUP\tkey:A repeat:2 scan:1E extended:1 alt:1 previous:1 up:1\t" },
        { WM_CHAR, L'x', keyFlags, L"WM_CHAR\tchar:\"x\"" + keyFields },
        { WM_LBUTTONDBLCLK, MK_LBUTTON | MK_SHIFT, MAKELPARAM(10, 20),
          L"WM_LBUTTONDBLCLK\tx:10 y:20 keys:MK_LBUTTON|MK_SHIFT\t" },
        { WM_MOUSEWHEEL, MAKEWPARAM(0, -120), MAKELPARAM(100, 200), L"WM_MOUSEWHEEL\tdelta:-120 keys:0 x:100 y:200\t" },
        { WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(5, 6), L"WM_NCMOUSEMOVE\thit:HTCAPTION x:5 y:6\t" },
        { WM_NCXBUTTONDBLCLK, HTCLIENT, 0, L"WM_NCXBUTTONDBLCLK\thit:HTCLIENT x:0 y:0\t" },
        // A command's code by the class of the control it comes from; a negative one as the WORD it is sent in.
        { WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), 0x55, L"WM_COMMAND\tid:7 code:BN_CLICKED control:55\t", LOG_POSTED, 0,
          L"Button" },
        { WM_COMMAND, MAKEWPARAM(7, LBN_ERRSPACE), 0x55, L"WM_COMMAND\tid:7 code:LBN_ERRSPACE control:55\t", LOG_SENT,
          0, L"ListBox" },
        { WM_COMMAND, MAKEWPARAM(9, 1), 0, L"WM_COMMAND\tid:9 code:1 control:0\t" },
        { WM_NOTIFY, 3, 0, L"WM_NOTIFY\tid:3 code:LVN_ITEMCHANGED from:66\t", LOG_SENT, 0, L"SysListView32", &changed,
          sizeof changed, DATA_NOTIFY },
        { WM_SYSCOMMAND, SC_CLOSE | 3, MAKELPARAM(1, 2), L"WM_SYSCOMMAND\tcommand:SC_CLOSE x:1 y:2\t" },
        { WM_TIMER, 17, 0, L"WM_TIMER\tid:17\t", LOG_POSTED },
        { WM_NCHITTEST, 0, MAKELPARAM(3, 4), L"WM_NCHITTEST\tx:3 y:4\tHTCLIENT", LOG_RETURNED, HTCLIENT },
        { WM_SETCURSOR, 0x77, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE),
          L"WM_SETCURSOR\twindow:77 hit:HTCLIENT mouse:WM_MOUSEMOVE\t" },
        { WM_STYLECHANGING, static_cast<UINT64>(GWL_EXSTYLE), 0, L"WM_STYLECHANGING\twhich:GWL_EXSTYLE old:8 new:108\t",
          LOG_SENT, 0, L"", &styles, sizeof styles, DATA_STYLE },
        { WM_GETMINMAXINFO, 0, 0,
          L"WM_GETMINMAXINFO\tmaxsize:1,2 maxpos:3,4 mintrack:5,6 maxtrack:7,8\t0000000000000000", LOG_RETURNED, 0, L"",
          &sizes, sizeof sizes, DATA_MINMAX },
        { WM_DPICHANGED, MAKEWPARAM(144, 144), 0, L"WM_DPICHANGED\tdpi:144 rect:1,2,3,4\t", LOG_SENT, 0, L"",
          &suggested, sizeof suggested, DATA_RECT },
        { WM_CONTEXTMENU, 0x88, MAKELPARAM(-1, -1), L"WM_CONTEXTMENU\twindow:88 x:-1 y:-1\t" },
        // Named by the window's class, the common controls' shared ones included; else by their range; raw where
        // nothing is decoded, or the copy is gone.
        { BM_GETCHECK, 0, 7, L"BM_GETCHECK" + raw, LOG_SENT, 0, L"Button" },
        { BM_GETCHECK, 0, 7, L"0x00F0" + raw },
        { CCM_SETVERSION, 0, 7, L"CCM_SETVERSION" + raw, LOG_SENT, 0, L"systreeview32" },
        { CCM_SETVERSION, 0, 7, L"WM_USER+7175" + raw, LOG_SENT, 0, L"Button" },
        { WM_APP + 0x3FFF, 0, 7, L"WM_APP+16383" + raw, LOG_POSTED },
        { registered, 0, 7, L"OrvalisTestMessage" + raw },
        { WM_SETTEXT, 0, 7, L"WM_SETTEXT" + raw, LOG_SENT, 0, L"", nullptr, 4, DATA_TEXT },
        // Its kind, what it copied and how much must agree; else only its raw values, and no result.
        { WM_SETTEXT, 0, 7, L"\tmessage:C kind:9 wParam:0000000000000000 lParam:0000000000000007 data:0 bytes:0\t", 9,
          1 },
        { WM_SETTEXT, 0, 7, L"\tmessage:C kind:2 wParam:0000000000000000 lParam:0000000000000007 data:1 bytes:3\t",
          LOG_RETURNED, 1, L"", L"Hi", 3, DATA_TEXT },
    };
    wchar_t malformed[MESSAGE_TEXT_CHARS];
    LoadStringW(nullptr, IDS_LOG_MALFORMED, malformed, MESSAGE_TEXT_CHARS);
    for (const Case &c : cases) {
        LogLine line = { 0, 0, c.wParam, c.lParam, c.result, c.message, c.kind, c.dataKind, c.bytes };
        line.windowClass = line.senderClass = ControlClassOf(c.className);
        wchar_t name[MESSAGE_TEXT_CHARS];
        wchar_t parameters[MESSAGE_TEXT_CHARS];
        wchar_t result[MESSAGE_TEXT_CHARS];
        FormatMessageName(line, name);
        FormatParameters(line, static_cast<const BYTE *>(c.data), parameters);
        FormatResult(line, result);
        wstring expected = c.shown[0] == L'\t' ? malformed + c.shown : c.shown;
        EXPECT_EQ(wstring(name) + L"\t" + parameters + L"\t" + result, expected);
    }
    // Flags that do not fit are left out, the text ended inside its buffer.
    wchar_t flags[11];
    FormatFlagNames(L"SWP_", SWP_NOSIZE | SWP_NOMOVE, flags, ARRAYSIZE(flags));
    EXPECT_EQ(wstring(flags), L"SWP_NOSIZE");
}

// Adds a record whose copy is its number in characters.
static LONG64 AddNumbered(LONG64 number)
{
    LogRecord record = {};
    record.message = static_cast<UINT>(number);
    record.kind = LOG_POSTED;
    record.dataKind = DATA_TEXT;
    record.dataBytes = LOG_TEXT_CHARS * sizeof(wchar_t);
    for (int i = 0; i < LOG_TEXT_CHARS; i++)
        reinterpret_cast<wchar_t *>(record.data)[i] = static_cast<wchar_t>(number + i);
    return AddLogLine(record, 0, 0);
}

TEST(LogLines, KeepTheLastLinesNumberedAndTheirCopiesWhileTheRingHoldsThem)
{
    ASSERT_TRUE(BeginLogLines());
    const LONG64 more = 5;
    for (LONG64 number = 1; number <= LOG_LINES_MAX + more; number++) {
        EXPECT_EQ(AddNumbered(number), number);
        ShowLogLine(number);
    }
    EXPECT_TRUE(FirstLogLine() == more + 1 && DroppedLogLines() == more && !LogLineAt(more)) << "a line kept";
    EXPECT_TRUE(ShownLineCount() == LOG_LINES_MAX && ShownLineAt(0) == more + 1) << "a dropped line still shown";
    // The newest lines' copies whole; the oldest ones' taken over by newer copies.
    const LogLine *newest = LogLineAt(LOG_LINES_MAX + more);
    const wchar_t *copy = reinterpret_cast<const wchar_t *>(LogLineData(*newest));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy[0], static_cast<wchar_t>(LOG_LINES_MAX + more));
    EXPECT_EQ(copy[LOG_TEXT_CHARS - 1], static_cast<wchar_t>(LOG_LINES_MAX + more + LOG_TEXT_CHARS - 1));
    EXPECT_EQ(LogLineData(*LogLineAt(more + 1)), nullptr) << "a copy read after newer ones took its place";
    // Cleared, the numbers go on.
    ClearLogLines();
    EXPECT_TRUE(ShownLineCount() == 0 && !LogLineAt(LOG_LINES_MAX + more));
    EXPECT_EQ(AddNumbered(0), LOG_LINES_MAX + more + 1);
    EndLogLines();
}
