// The message log's rules: names and decoded parameters over records the test builds, and the lines kept.
#include <gtest/gtest.h>
#include "support.h"
#include "messages/log_lines.h"
#include "messages/message_names.h"
#include "messages/message_text.h"
#include "resources/resource.h"

struct Decoded {
    std::wstring name;
    std::wstring parameters;
    std::wstring result;
};

static Decoded Decode(const LogLine &line, const void *data)
{
    wchar_t name[MESSAGE_TEXT_CHARS];
    wchar_t parameters[MESSAGE_TEXT_CHARS];
    wchar_t result[MESSAGE_TEXT_CHARS];
    FormatMessageName(line, name);
    FormatParameters(line, static_cast<const BYTE *>(data), parameters);
    FormatResult(line, result);
    return { name, parameters, result };
}

// A record of the kind, sent unless told, to a window of the class; with what its pointer pointed at.
struct Case {
    UINT message;
    UINT64 wParam;
    UINT64 lParam;
    Decoded expected;
    BYTE kind = LOG_SENT;
    UINT64 result = 0;
    const wchar_t *windowClass = L"";
    const wchar_t *senderClass = L"";
    BYTE dataKind = DATA_NONE;
    const void *data = nullptr;
    WORD dataBytes = 0;
};

TEST(MessageText, NamesByClassAndDecodesEachMessagesParametersAndResult)
{
    UseOwnResources();
    ASSERT_TRUE(LoadMessageNames());
    UINT registered = RegisterWindowMessageW(L"OrvalisTestMessage");
    const wchar_t hi[] = L"Hi";
    std::wstring long_(LOG_TEXT_CHARS, L'a');
    LogCreate create = { 1, 2, 3, 4, WS_CHILD | WS_VISIBLE, 0, L"Button", L"OK" };
    LogCreate atom = { 0, 0, 0, 0, 0, 0xC01A, L"", L"" };
    WINDOWPOS position = { nullptr, HWND_TOPMOST, 1, 2, 3, 4, SWP_NOSIZE | SWP_NOMOVE | 0x8000 };
    STYLESTRUCT styles = { WS_EX_TOPMOST, WS_EX_TOPMOST | WS_EX_WINDOWEDGE };
    MINMAXINFO sizes = { { 0, 0 }, { 1, 2 }, { 3, 4 }, { 5, 6 }, { 7, 8 } };
    RECT suggested = { 1, 2, 3, 4 };
    NMHDR click = { reinterpret_cast<HWND>(0x66), 3, static_cast<UINT>(NM_CLICK) };
    NMHDR changed = { reinterpret_cast<HWND>(0x66), 3, static_cast<UINT>(LVN_ITEMCHANGED) };
    const LPARAM keyFlags = 1 | 0x1C << 16;
    const LPARAM allFlags = 2 | 0x1E << 16 | 1 << 24 | 1 << 29 | 1 << 30 | 1u << 31;
    const std::wstring keyFields = L" repeat:1 scan:1C extended:0 alt:0 previous:0 up:0";
    const Case cases[] = {
        { WM_SETTEXT, 0, 0, { L"WM_SETTEXT", L"text:\"Hi\"", L"" }, LOG_SENT, 0, L"", L"", DATA_TEXT, hi, 4 },
        { WM_SETTEXT,
          0,
          0,
          { L"WM_SETTEXT", L"text:\"" + long_ + L"\x2026\"", L"" },
          LOG_SENT,
          0,
          L"",
          L"",
          DATA_TEXT_CUT,
          long_.c_str(),
          2 * LOG_TEXT_CHARS },
        { WM_GETTEXT, 9, 0, { L"WM_GETTEXT", L"text:\"Hi\"", L"2" }, LOG_RETURNED, 2, L"", L"", DATA_TEXT, hi, 4 },
        { WM_GETTEXTLENGTH,
          0,
          0,
          { L"WM_GETTEXTLENGTH", L"wParam:0000000000000000 lParam:0000000000000000", L"5" },
          LOG_RETURNED,
          5 },
        { WM_CREATE,
          0,
          0,
          { L"WM_CREATE", L"class:\"Button\" text:\"OK\" x:1 y:2 cx:3 cy:4 style:50000000", L"" },
          LOG_SENT,
          0,
          L"",
          L"",
          DATA_CREATE,
          &create,
          sizeof create },
        { WM_NCCREATE,
          0,
          0,
          { L"WM_NCCREATE", L"class:C01A text:\"\" x:0 y:0 cx:0 cy:0 style:0", L"" },
          LOG_SENT,
          0,
          L"",
          L"",
          DATA_CREATE,
          &atom,
          sizeof atom },
        { WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(640, 480), { L"WM_SIZE", L"type:SIZE_MAXIMIZED width:640 height:480" } },
        { WM_MOVE, 0, MAKELPARAM(-5, 7), { L"WM_MOVE", L"x:-5 y:7" } },
        { WM_WINDOWPOSCHANGED,
          0,
          0,
          { L"WM_WINDOWPOSCHANGED", L"after:HWND_TOPMOST x:1 y:2 cx:3 cy:4 flags:SWP_NOSIZE|SWP_NOMOVE|8000", L"" },
          LOG_SENT,
          0,
          L"",
          L"",
          DATA_WINDOWPOS,
          &position,
          sizeof position },
        { WM_SHOWWINDOW, TRUE, SW_PARENTOPENING, { L"WM_SHOWWINDOW", L"shown:1 status:SW_PARENTOPENING" } },
        { WM_ACTIVATE,
          MAKEWPARAM(WA_CLICKACTIVE, 1),
          0x1234,
          { L"WM_ACTIVATE", L"state:WA_CLICKACTIVE minimized:1 other:1234" } },
        { WM_ACTIVATEAPP, 1, 42, { L"WM_ACTIVATEAPP", L"active:1 thread:42" } },
        { WM_KILLFOCUS, 0xABC, 0, { L"WM_KILLFOCUS", L"other:ABC" } },
        { WM_KEYDOWN, VK_RETURN, keyFlags, { L"WM_KEYDOWN", L"key:VK_RETURN" + keyFields } },
        { WM_SYSKEYUP, 'A', allFlags, { L"WM_SYSKEYUP", L"key:A repeat:2 scan:1E extended:1 alt:1 previous:1 up:1" } },
        { WM_CHAR, L'x', keyFlags, { L"WM_CHAR", L"char:\"x\"" + keyFields } },
        { WM_SYSCHAR, L'\r', keyFlags, { L"WM_SYSCHAR", L"char:D" + keyFields } },
        { WM_LBUTTONDBLCLK,
          MK_LBUTTON | MK_SHIFT,
          MAKELPARAM(10, 20),
          { L"WM_LBUTTONDBLCLK", L"x:10 y:20 keys:MK_LBUTTON|MK_SHIFT" } },
        { WM_XBUTTONUP, 0, MAKELPARAM(1, 2), { L"WM_XBUTTONUP", L"x:1 y:2 keys:0" } },
        { WM_MOUSEWHEEL,
          MAKEWPARAM(MK_CONTROL, -120),
          MAKELPARAM(100, 200),
          { L"WM_MOUSEWHEEL", L"delta:-120 keys:MK_CONTROL x:100 y:200" } },
        { WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(5, 6), { L"WM_NCLBUTTONDOWN", L"hit:HTCAPTION x:5 y:6" } },
        { WM_COMMAND,
          MAKEWPARAM(7, BN_CLICKED),
          0x55,
          { L"WM_COMMAND", L"id:7 code:BN_CLICKED control:55" },
          LOG_POSTED,
          0,
          L"",
          L"Button" },
        { WM_COMMAND,
          MAKEWPARAM(7, LBN_ERRSPACE),
          0x55,
          { L"WM_COMMAND", L"id:7 code:LBN_ERRSPACE control:55" },
          LOG_SENT,
          0,
          L"",
          L"ListBox" },
        { WM_COMMAND, MAKEWPARAM(9, 1), 0, { L"WM_COMMAND", L"id:9 code:1 control:0" } },
        { WM_NOTIFY,
          3,
          0,
          { L"WM_NOTIFY", L"id:3 code:NM_CLICK from:66", L"" },
          LOG_SENT,
          0,
          L"",
          L"SysListView32",
          DATA_NOTIFY,
          &click,
          sizeof click },
        { WM_NOTIFY,
          3,
          0,
          { L"WM_NOTIFY", L"id:3 code:LVN_ITEMCHANGED from:66", L"" },
          LOG_SENT,
          0,
          L"",
          L"SysListView32",
          DATA_NOTIFY,
          &changed,
          sizeof changed },
        { WM_SYSCOMMAND, SC_CLOSE | 3, MAKELPARAM(1, 2), { L"WM_SYSCOMMAND", L"command:SC_CLOSE x:1 y:2" } },
        { WM_TIMER, 17, 0, { L"WM_TIMER", L"id:17" }, LOG_POSTED },
        { WM_NCHITTEST, 0, MAKELPARAM(3, 4), { L"WM_NCHITTEST", L"x:3 y:4", L"HTCLIENT" }, LOG_RETURNED, HTCLIENT },
        { WM_SETCURSOR,
          0x77,
          MAKELPARAM(HTCLIENT, WM_MOUSEMOVE),
          { L"WM_SETCURSOR", L"window:77 hit:HTCLIENT mouse:WM_MOUSEMOVE" } },
        { WM_STYLECHANGING,
          static_cast<UINT64>(GWL_EXSTYLE),
          0,
          { L"WM_STYLECHANGING", L"which:GWL_EXSTYLE old:8 new:108", L"" },
          LOG_SENT,
          0,
          L"",
          L"",
          DATA_STYLE,
          &styles,
          sizeof styles },
        { WM_GETMINMAXINFO,
          0,
          0,
          { L"WM_GETMINMAXINFO", L"maxsize:1,2 maxpos:3,4 mintrack:5,6 maxtrack:7,8", L"0000000000000000" },
          LOG_RETURNED,
          0,
          L"",
          L"",
          DATA_MINMAX,
          &sizes,
          sizeof sizes },
        { WM_DPICHANGED,
          MAKEWPARAM(144, 144),
          0,
          { L"WM_DPICHANGED", L"dpi:144 rect:1,2,3,4", L"" },
          LOG_SENT,
          0,
          L"",
          L"",
          DATA_RECT,
          &suggested,
          sizeof suggested },
        { WM_CONTEXTMENU, 0x88, MAKELPARAM(-1, -1), { L"WM_CONTEXTMENU", L"window:88 x:-1 y:-1" } },
        // Named by the window's class, the common controls' shared ones included; else by their range.
        { BM_GETCHECK,
          0,
          0,
          { L"BM_GETCHECK", L"wParam:0000000000000000 lParam:0000000000000000" },
          LOG_SENT,
          0,
          L"Button" },
        { BM_GETCHECK, 0, 0, { L"0x00F0", L"wParam:0000000000000000 lParam:0000000000000000" } },
        { TVM_INSERTITEMW,
          0,
          0,
          { L"TVM_INSERTITEMW", L"wParam:0000000000000000 lParam:0000000000000000" },
          LOG_SENT,
          0,
          L"systreeview32" },
        { CCM_SETVERSION,
          6,
          0,
          { L"CCM_SETVERSION", L"wParam:0000000000000006 lParam:0000000000000000" },
          LOG_SENT,
          0,
          L"SysListView32" },
        { CCM_SETVERSION,
          6,
          0,
          { L"WM_USER+7175", L"wParam:0000000000000006 lParam:0000000000000000" },
          LOG_SENT,
          0,
          L"Button" },
        { WM_APP + 3, 1, ~0ull, { L"WM_APP+3", L"wParam:0000000000000001 lParam:FFFFFFFFFFFFFFFF" }, LOG_POSTED },
        { registered, 0, 0, { L"OrvalisTestMessage", L"wParam:0000000000000000 lParam:0000000000000000" } },
        { 0x12345, 0, 0, { L"0x12345", L"wParam:0000000000000000 lParam:0000000000000000" } },
        // A copy that is gone leaves the raw values; a record that does not hold together shows nothing else.
        { WM_SETTEXT,
          0,
          7,
          { L"WM_SETTEXT", L"wParam:0000000000000000 lParam:0000000000000007", L"" },
          LOG_SENT,
          0,
          L"",
          L"",
          DATA_TEXT,
          nullptr,
          4 },
        { WM_SETTEXT,
          0,
          7,
          { L"", L"message:C kind:9 wParam:0000000000000000 lParam:0000000000000007 data:0 bytes:0" },
          9 },
        { WM_SETTEXT,
          0,
          7,
          { L"", L"message:C kind:1 wParam:0000000000000000 lParam:0000000000000007 data:1 bytes:3" },
          LOG_SENT,
          0,
          L"",
          L"",
          DATA_TEXT,
          hi,
          3 },
        { WM_CREATE,
          0,
          7,
          { L"", L"message:1 kind:2 wParam:0000000000000000 lParam:0000000000000007 data:3 bytes:4" },
          LOG_RETURNED,
          0,
          L"",
          L"",
          DATA_CREATE,
          &create,
          4 },
        { WM_NOTIFY,
          0,
          7,
          { L"", L"message:4E kind:3 wParam:0000000000000000 lParam:0000000000000007 data:9 bytes:0" },
          LOG_POSTED,
          0,
          L"",
          L"",
          9 },
    };
    wchar_t malformed[MESSAGE_TEXT_CHARS];
    LoadStringW(nullptr, IDS_LOG_MALFORMED, malformed, MESSAGE_TEXT_CHARS);
    for (const Case &c : cases) {
        LogLine line = { 0, 0, c.wParam, c.lParam, c.result, c.message, c.kind, c.dataKind, c.dataBytes };
        line.windowClass = ControlClassOf(c.windowClass);
        line.senderClass = ControlClassOf(c.senderClass);
        Decoded expected = c.expected;
        if (expected.name.empty())
            expected.name = malformed;
        Decoded shown = Decode(line, c.data);
        EXPECT_EQ(shown.name, expected.name) << std::hex << c.message;
        EXPECT_EQ(shown.parameters, expected.parameters) << expected.name;
        EXPECT_EQ(shown.result, expected.result) << expected.name;
    }
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

TEST(LogLines, KeepTheLastLinesNumberedAndTheirCopiesWhileTheRingHoldsThemInMemoryTakenOnce)
{
    SSIZE_T kept = Growth(3, [] {
        BeginLogLines();
        EndLogLines();
    });
    EXPECT_LT(kept, 1 << 20) << "the lines' memory kept after they end";
    ASSERT_TRUE(BeginLogLines());
    const LONG64 more = 5;
    for (LONG64 number = 1; number <= LOG_LINES_MAX + more; number++) {
        EXPECT_EQ(AddNumbered(number), number);
        ShowLogLine(number);
    }
    EXPECT_EQ(FirstLogLine(), more + 1);
    EXPECT_EQ(NextLogLine(), LOG_LINES_MAX + more + 1);
    EXPECT_EQ(DroppedLogLines(), more);
    EXPECT_EQ(LogLineAt(more), nullptr) << "a dropped line";
    EXPECT_EQ(ShownLineCount(), LOG_LINES_MAX) << "a dropped line still shown";
    EXPECT_EQ(ShownLineAt(0), more + 1);
    // The newest lines' copies whole; the oldest ones' taken over by newer copies.
    const LogLine *newest = LogLineAt(LOG_LINES_MAX + more);
    const wchar_t *copy = reinterpret_cast<const wchar_t *>(LogLineData(*newest));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy[0], static_cast<wchar_t>(LOG_LINES_MAX + more));
    EXPECT_EQ(copy[LOG_TEXT_CHARS - 1], static_cast<wchar_t>(LOG_LINES_MAX + more + LOG_TEXT_CHARS - 1));
    EXPECT_EQ(LogLineData(*LogLineAt(more + 1)), nullptr) << "a copy read after newer ones took its place";
    // Cleared, the numbers go on.
    ClearLogLines();
    EXPECT_EQ(ShownLineCount(), 0);
    EXPECT_EQ(AddNumbered(0), LOG_LINES_MAX + more + 1);
    EXPECT_EQ(LogLineAt(LOG_LINES_MAX + more), nullptr);
    EndLogLines();
}
