// A built garvo.exe: its image header, the DLLs it imports, and the pixels of its icon.
#include "test_support.h"

#include "../../res/resource.h"
#include "version.h"

#define WIDEN(text) L##text
#define WIDE(text) WIDEN(text)
#define GARVO_VERSION_WIDE WIDE(GARVO_VERSION)

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace
{

// The image to check and what it must be built for: garvo.exe beside the tests and this build's
// own architecture, unless GARVO_IMAGE and GARVO_IMAGE_ARCH name another.
std::string Setting(const char* name, const char* fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}
const std::string IMAGE = Setting("GARVO_IMAGE", "garvo.exe");
const std::string ARCH = Setting("GARVO_IMAGE_ARCH", GARVO_OWN_ARCH);

struct Machine {
    const char* arch;
    WORD machine, magic;
    bool thirtyTwoBit;
};
const Machine MACHINES[] = {
    {"i686", IMAGE_FILE_MACHINE_I386, IMAGE_NT_OPTIONAL_HDR32_MAGIC, true},
    {"x86_64", IMAGE_FILE_MACHINE_AMD64, IMAGE_NT_OPTIONAL_HDR64_MAGIC, false},
};

// A PE image of either width, read as bytes.
struct Image {
    std::vector<char> bytes;
    const IMAGE_NT_HEADERS32* nt = nullptr; // the optional header is 32- or 64-bit by its magic

    Image()
    {
        std::ifstream in(IMAGE, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (bytes.size() < sizeof(IMAGE_DOS_HEADER)) return;
        auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
        if (size_t(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS64) > bytes.size()) return;
        nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(bytes.data() + dos->e_lfanew);
    }

    bool Wide() const { return nt->OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC; }
    const IMAGE_OPTIONAL_HEADER64& Optional64() const
    {
        return reinterpret_cast<const IMAGE_NT_HEADERS64*>(nt)->OptionalHeader;
    }
    const IMAGE_DATA_DIRECTORY& Directory(int entry) const
    {
        return Wide() ? Optional64().DataDirectory[entry] : nt->OptionalHeader.DataDirectory[entry];
    }

    // The file offset of a relative virtual address.
    size_t At(DWORD rva) const
    {
        auto section = IMAGE_FIRST_SECTION(nt);
        for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
            if (rva >= section->VirtualAddress &&
                rva < section->VirtualAddress + section->Misc.VirtualSize)
                return rva - section->VirtualAddress + section->PointerToRawData;
        }
        return bytes.size();
    }
};

template <typename Optional> void ExpectLeanHeader(const Optional& optional)
{
    EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, optional.Subsystem);
    EXPECT_EQ(1024u, optional.SizeOfStackReserve);
    EXPECT_EQ(1024u, optional.SizeOfStackCommit);
    EXPECT_EQ(1024u, optional.SizeOfHeapReserve);
    EXPECT_EQ(1024u, optional.SizeOfHeapCommit);
}

TEST(Image, HeaderIsForItsMachineAndAsksForLittleMemory)
{
    const Machine* want = nullptr;
    for (const Machine& machine : MACHINES)
        if (ARCH == machine.arch) want = &machine;
    ASSERT_TRUE(want) << "no such architecture: " << ARCH;
    Image image;
    ASSERT_TRUE(image.nt) << "cannot read " << IMAGE;
    SCOPED_TRACE(IMAGE + " built for " + ARCH);
    EXPECT_EQ(DWORD(IMAGE_NT_SIGNATURE), image.nt->Signature);
    EXPECT_EQ(want->machine, image.nt->FileHeader.Machine);
    ASSERT_EQ(want->magic, image.nt->OptionalHeader.Magic);
    WORD flags = image.nt->FileHeader.Characteristics;
    EXPECT_TRUE(flags & IMAGE_FILE_AGGRESIVE_WS_TRIM);
    EXPECT_TRUE(flags & IMAGE_FILE_EXECUTABLE_IMAGE);
    EXPECT_EQ(want->thirtyTwoBit, (flags & IMAGE_FILE_32BIT_MACHINE) != 0);
    EXPECT_FALSE(flags & IMAGE_FILE_DLL);
    if (image.Wide())
        ExpectLeanHeader(image.Optional64());
    else
        ExpectLeanHeader(image.nt->OptionalHeader);
    if (want->thirtyTwoBit) {
        EXPECT_LE(image.bytes.size(), 12288u);
    }
}

// What the file's properties show on Windows.
TEST(Image, SaysWhatItIsInItsVersionResource)
{
    HMODULE module = LoadLibraryExA(IMAGE.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(module);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16)); // RT_VERSION
    ASSERT_TRUE(found);
    auto bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    std::vector<char> block(bytes, bytes + SizeofResource(module, found));
    FreeLibrary(module);

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    const DWORD high = MAKELONG(GARVO_VERSION_MINOR, GARVO_VERSION_MAJOR);
    EXPECT_EQ(high, fixed->dwFileVersionMS);
    EXPECT_EQ(high, fixed->dwProductVersionMS);
    EXPECT_EQ(DWORD(MAKELONG(0, GARVO_VERSION_PATCH)), fixed->dwFileVersionLS);
    EXPECT_EQ(DWORD(VFT_APP), fixed->dwFileType);

    const wchar_t* version = GARVO_VERSION_WIDE;
    const struct {
        const wchar_t *key, *value;
    } strings[] = {{L"FileDescription", L"garvo memory-load gauge"},
                   {L"ProductName", L"garvo"},
                   {L"FileVersion", version},
                   {L"ProductVersion", version}};
    for (const auto& string : strings) {
        wchar_t* value = nullptr;
        std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + string.key;
        ASSERT_TRUE(
            VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &size));
        EXPECT_EQ(std::wstring(string.value), value);
    }
}

// Every imported DLL, upper case, and every function imported by name.
struct Imports {
    std::set<std::string> dlls, functions;

    explicit Imports(const Image& image)
    {
        const IMAGE_DATA_DIRECTORY& directory = image.Directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
        const size_t thunkSize = image.Wide() ? 8 : 4;
        const ULONGLONG byOrdinal = image.Wide() ? IMAGE_ORDINAL_FLAG64 : IMAGE_ORDINAL_FLAG32;
        const char* base = image.bytes.data();
        for (size_t at = image.At(directory.VirtualAddress);
             at + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= image.bytes.size();
             at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            auto entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + at);
            if (entry->Name == 0) break;
            std::string name(base + image.At(entry->Name));
            std::transform(name.begin(), name.end(), name.begin(), ::toupper);
            dlls.insert(name);
            DWORD thunks =
                entry->OriginalFirstThunk ? entry->OriginalFirstThunk : entry->FirstThunk;
            for (size_t t = image.At(thunks); t + thunkSize <= image.bytes.size(); t += thunkSize) {
                ULONGLONG thunk = 0;
                std::memcpy(&thunk, base + t, thunkSize);
                if (thunk == 0) break;
                if (!(thunk & byOrdinal))
                    functions.insert(base + image.At(DWORD(thunk)) + 2); // past the hint
            }
        }
    }
};

TEST(Image, ImportsOnlyTheThreeSystemDlls)
{
    Image image;
    ASSERT_TRUE(image.nt);
    Imports imports(image);
    EXPECT_EQ((std::set<std::string>{"GDI32.DLL", "KERNEL32.DLL", "USER32.DLL"}), imports.dlls);
    EXPECT_TRUE(imports.functions.count("GlobalMemoryStatus"));
    EXPECT_TRUE(imports.functions.count("CreateWindowExA"));
}

// The program's own code allocates nothing: it cannot even reach an allocator.
TEST(Image, ImportsNoAllocator)
{
#ifdef _MSC_VER
    GTEST_SKIP() << "MSVC builds keep the C runtime's start-up code, which sets up a heap";
#endif
    Image image;
    ASSERT_TRUE(image.nt);
    Imports imports(image);
    for (const char* allocator :
         {"HeapAlloc", "HeapReAlloc", "HeapCreate", "GetProcessHeap", "LocalAlloc", "GlobalAlloc",
          "VirtualAlloc", "RtlAllocateHeap", "CoTaskMemAlloc", "malloc", "calloc", "realloc"})
        EXPECT_EQ(0u, imports.functions.count(allocator)) << allocator;
    EXPECT_FALSE(imports.functions.count("GetProcAddress")); // nor look one up
}

// The icon as designed: black border, white square, a blue and a red bar, each a block on a
// longer line. Spans are rows, then columns, inclusive.
struct Span {
    int top, bottom, left, right;
    bool Holds(int row, int column) const
    {
        return row >= top && row <= bottom && column >= left && column <= right;
    }
};

struct Design {
    int size, border;
    Span blueBlock, blueLine, redBlock, redLine;

    COLORREF At(int row, int column) const
    {
        if (row < border || column < border || row >= size - border || column >= size - border)
            return RGB(0, 0, 0);
        if (blueBlock.Holds(row, column) || blueLine.Holds(row, column)) return RGB(0, 0, 255);
        if (redBlock.Holds(row, column) || redLine.Holds(row, column)) return RGB(255, 0, 0);
        return RGB(255, 255, 255);
    }
};

void PrintTo(const Design& design, std::ostream* out)
{
    *out << design.size << " x " << design.size;
}

class IconImage : public testing::TestWithParam<Design>
{
};

TEST_P(IconImage, EveryPixelIsWhereItIsDrawn)
{
    const Design& design = GetParam();
    HMODULE module = LoadLibraryExA(IMAGE.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(module);
    HICON icon = HICON(LoadImageA(module, MAKEINTRESOURCEA(IDI_GARVO), IMAGE_ICON, design.size,
                                  design.size, LR_DEFAULTCOLOR));
    ASSERT_TRUE(icon);

    // Drawn over magenta: a transparent pixel would let it through.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = design.size;
    info.bmiHeader.biHeight = -design.size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(NULL);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, design.size, design.size};
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(dc, &all, magenta);
    DrawIconEx(dc, 0, 0, icon, design.size, design.size, 0, NULL, DI_NORMAL);

    int wrong = 0;
    for (int row = 0; row < design.size; ++row) {
        for (int column = 0; column < design.size; ++column) {
            COLORREF got = GetPixel(dc, column, row);
            if (got != design.At(row, column) && ++wrong <= 5)
                ADD_FAILURE() << "pixel at row " << row << ", column " << column << " is "
                              << std::hex << got;
        }
    }
    EXPECT_EQ(0, wrong);

    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteObject(magenta);
    DeleteDC(dc);
    DestroyIcon(icon);
    FreeLibrary(module);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, IconImage,
    testing::Values(Design{32, 2, {6, 11, 8, 23}, {8, 9, 4, 27}, {20, 25, 8, 23}, {22, 23, 4, 27}},
                    Design{16, 1, {3, 5, 4, 11}, {4, 4, 2, 13}, {10, 12, 4, 11}, {11, 11, 2, 13}}),
    [](const testing::TestParamInfo<Design>& info) { return std::to_string(info.param.size); });

#pragma pack(push, 2)
struct GroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST(Icon, HoldsTwoSixteenColourImages)
{
    HMODULE module = LoadLibraryExA(IMAGE.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(module);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(IDI_GARVO), RT_GROUP_ICON);
    ASSERT_TRUE(found);
    auto group = static_cast<const WORD*>(LockResource(LoadResource(module, found)));
    ASSERT_TRUE(group);
    EXPECT_EQ(1, group[1]); // icon, not cursor
    ASSERT_EQ(2, group[2]);
    auto entries = reinterpret_cast<const GroupEntry*>(group + 3);
    std::set<int> sizes;
    for (int i = 0; i < 2; ++i) {
        sizes.insert(entries[i].width);
        EXPECT_EQ(entries[i].width, entries[i].height);
        EXPECT_EQ(4, entries[i].bitCount);
    }
    EXPECT_EQ((std::set<int>{16, 32}), sizes);
    FreeLibrary(module);
}

} // namespace
