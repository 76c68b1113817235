// The built orvalis.exe, run whole as its own process.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "resources/resource.h"
#include "support/test_support.h"

static const wchar_t MAIN_TITLE[] = L"Orvalis 1.0 版本";

static std::wstring OrvalisExe() { return BuildDir() + L"orvalis.exe"; }

static std::vector<unsigned char> ReadWholeFile(const std::wstring &path)
{
    std::vector<unsigned char> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return bytes;
}

struct Import {
    std::string dll;
    std::vector<std::string> names;   // "#17" for an import by ordinal
};

// Reads the import directory of a PE32+ image straight from its bytes.
static std::vector<Import> ReadImports(const std::vector<unsigned char> &image, const IMAGE_NT_HEADERS64 **headersOut)
{
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(image.data());
    auto headers = reinterpret_cast<const IMAGE_NT_HEADERS64 *>(image.data() + dos->e_lfanew);
    *headersOut = headers;
    auto sections = IMAGE_FIRST_SECTION(headers);
    auto at = [&](DWORD rva) -> const unsigned char * {
        for (int i = 0; i < headers->FileHeader.NumberOfSections; i++) {
            const IMAGE_SECTION_HEADER &s = sections[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.Misc.VirtualSize)
                return image.data() + s.PointerToRawData + (rva - s.VirtualAddress);
        }
        return nullptr;
    };
    std::vector<Import> imports;
    DWORD directory = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(at(directory)); d && d->Name; d++) {
        Import import = { reinterpret_cast<const char *>(at(d->Name)), {} };
        std::transform(import.dll.begin(), import.dll.end(), import.dll.begin(), ::tolower);
        auto thunk = reinterpret_cast<const ULONGLONG *>(at(d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk));
        for (; *thunk; thunk++) {
            if (*thunk & IMAGE_ORDINAL_FLAG64)
                import.names.push_back("#" + std::to_string(*thunk & 0xFFFF));
            else
                import.names.push_back(reinterpret_cast<const char *>(at(static_cast<DWORD>(*thunk)) + 2));
        }
        imports.push_back(import);
    }
    return imports;
}

TEST(Program, IsA64BitGuiExeWithOnlyPlatformImports)
{
    std::vector<unsigned char> image = ReadWholeFile(OrvalisExe());
    ASSERT_GT(image.size(), 1024u);
    const IMAGE_NT_HEADERS64 *headers;
    std::vector<Import> imports = ReadImports(image, &headers);
    EXPECT_EQ(headers->FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64);
    EXPECT_EQ(headers->OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC);
    EXPECT_EQ(headers->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);

    bool initByOrdinal = false;
    for (const Import &import : imports) {
        EXPECT_TRUE(import.dll == "kernel32.dll" || import.dll == "user32.dll" || import.dll == "comctl32.dll")
            << "imports " << import.dll;
        if (import.dll == "comctl32.dll") {
            initByOrdinal = std::count(import.names.begin(), import.names.end(), "#17") == 1;
            EXPECT_EQ(std::count(import.names.begin(), import.names.end(), "InitCommonControls"), 0);
        }
    }
    EXPECT_TRUE(initByOrdinal) << "comctl32 ordinal 17 is not imported";
}

TEST(Program, ShowsTheMainWindowAndEndsWithZeroOnCancel)
{
    PROCESS_INFORMATION process = StartProgram(OrvalisExe());
    ASSERT_NE(process.hProcess, nullptr);
    HWND main = WaitForProcessWindow(process.dwProcessId, MAIN_TITLE);
    ASSERT_NE(main, nullptr) << "no main window";
    EXPECT_EQ(ClassOf(main), L"#32770");
    EXPECT_EQ(ClassOf(GetWindow(main, GW_CHILD)), L"SysTreeView32");

    PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
    DWORD code = WaitForExit(process.hProcess);
    if (code == STILL_ACTIVE)
        TerminateProcess(process.hProcess, 1);
    EXPECT_EQ(code, 0u);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
}

// Renames the exe's RT_RCDATA resources to the unused type 11, so that the
// program finds no style-name table. Types stay in ascending order.
static bool HideStyleTable(std::vector<unsigned char> &image)
{
    const IMAGE_NT_HEADERS64 *headers;
    ReadImports(image, &headers);
    DWORD rva = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE].VirtualAddress;
    auto sections = IMAGE_FIRST_SECTION(headers);
    for (int i = 0; i < headers->FileHeader.NumberOfSections; i++) {
        if (sections[i].VirtualAddress != rva)
            continue;
        auto root = reinterpret_cast<IMAGE_RESOURCE_DIRECTORY *>(image.data() + sections[i].PointerToRawData);
        auto entries = reinterpret_cast<IMAGE_RESOURCE_DIRECTORY_ENTRY *>(root + 1);
        for (int e = 0; e < root->NumberOfNamedEntries + root->NumberOfIdEntries; e++) {
            if (!entries[e].NameIsString && entries[e].Id == 10 && (e + 1 == root->NumberOfIdEntries || entries[e + 1].Id > 11)) {
                entries[e].Id = 11;
                return true;
            }
        }
    }
    return false;
}

TEST(Program, WithoutItsStyleTableEndsAtOnceWithoutAWindow)
{
    std::vector<unsigned char> image = ReadWholeFile(OrvalisExe());
    ASSERT_TRUE(HideStyleTable(image));
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring copy = std::wstring(temp) + L"orvalis_no_table_" + std::to_wstring(GetCurrentProcessId()) + L".exe";
    HANDLE file = CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, image.data(), static_cast<DWORD>(image.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, image.size());

    PROCESS_INFORMATION process = StartProgram(copy);
    ASSERT_NE(process.hProcess, nullptr);
    DWORD code = WaitForExit(process.hProcess, 10000);
    if (code == STILL_ACTIVE)
        TerminateProcess(process.hProcess, 1);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(WaitForProcessWindow(process.dwProcessId, MAIN_TITLE, 200), nullptr);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    DeleteFileW(copy.c_str());
}
