// Shared helpers for the Windows tests.
#include "test_support.h"

#include "../../app/frame.h"
#include "../../app/meter_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

ScratchDirectory::ScratchDirectory()
{
    GetCurrentDirectoryA(MAX_PATH, previous_);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    GetTempFileNameA(temp, "gv", 0, path_);
    DeleteFileA(path_);
    CreateDirectoryA(path_, NULL);
    SetCurrentDirectoryA(path_);
}

static void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path.c_str());
}

ScratchDirectory::~ScratchDirectory()
{
    SetCurrentDirectoryA(previous_);
    RemoveTree(path_);
}

std::string ScratchDirectory::Read(const char* name) const
{
    std::ifstream in(std::string(path_) + "\\" + name, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void ScratchDirectory::Write(const char* name, const std::string& content) const
{
    std::ofstream out(std::string(path_) + "\\" + name, std::ios::binary);
    out << content;
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

static BOOL CALLBACK KeepBar(HWND window, LPARAM found)
{
    char name[64];
    if (window != meter.infoWindow && GetClassNameA(window, name, sizeof name) &&
        lstrcmpA(name, "garvowclass") == 0 &&
        GetWindowThreadProcessId(window, NULL) == GetCurrentThreadId()) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindBar()
{
    HWND bar = NULL;
    EnumThreadWindows(GetCurrentThreadId(), KeepBar, LPARAM(&bar));
    return bar;
}

std::string Placement(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " +
           std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top);
}

COLORREF PixelAt(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

LiveMeter::LiveMeter(int x, int y)
{
    meter = MeterState();
    meter.barX = x;
    meter.barY = y;
    meter.warnPercent = 75;
    HINSTANCE instance = GetModuleHandleA(NULL);
    RegisterMeterClass(instance);
    CreateMeterWindows(instance);
    info = meter.infoWindow;
    bar = FindBar();
}

LiveMeter::~LiveMeter()
{
    if (IsWindow(info)) DestroyWindow(info);
    PumpMessages();
    MSG quit;
    PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE);
}

bool IsPosted(HWND window, UINT message)
{
    MSG found;
    return PeekMessageA(&found, window, message, message, PM_NOREMOVE) != 0;
}

static const COLORREF BLACK = RGB(0, 0, 0), WHITE = RGB(255, 255, 255);
static const COLORREF BLUE = RGB(0, 0, 255), RED = RGB(255, 0, 0);

// The bar's columns for a load or threshold: where the fill ends (exclusive), where the marker
// stands.
static int ColumnFor(int percent)
{
    switch (percent) {
    case 0: return 2;
    case 1: return 3;
    case 50: return 63;
    case 75: return 93;
    case 99: return 122;
    case 100: return 124;
    }
    return 2 + 122 * percent / 100;
}

// What the bar must show: outline, white ring, fill on rows 2 and 3, marker over everything.
static COLORREF ExpectedBarPixel(int x, int y, unsigned load, int threshold)
{
    if (x == 0 || x == 125 || y == 0 || y == 5) return BLACK;
    if (x == ColumnFor(threshold)) return BLACK;
    if ((y == 2 || y == 3) && x >= 2 && x < ColumnFor(int(load)))
        return int(load) < threshold ? BLUE : RED;
    return WHITE;
}

static std::string DescribeBar(HWND bar, int row)
{
    std::string line;
    for (int x = 0; x < 126; ++x) {
        COLORREF c = PixelAt(bar, x, row);
        line += c == BLACK ? 'k' : c == WHITE ? '.' : c == BLUE ? 'b' : c == RED ? 'r' : '?';
    }
    return line;
}

void ExpectBarShows(HWND bar, unsigned load, int threshold)
{
    for (int y = 0; y < 6; ++y) {
        std::string want;
        for (int x = 0; x < 126; ++x) {
            COLORREF c = ExpectedBarPixel(x, y, load, threshold);
            want += c == BLACK ? 'k' : c == WHITE ? '.' : c == BLUE ? 'b' : 'r';
        }
        EXPECT_EQ(want, DescribeBar(bar, y))
            << "row " << y << ", load " << load << ", threshold " << threshold;
    }
}

// The bounding box of the dark pixels inside a window's outline.
RECT InkBox(HWND window, int width, int height)
{
    RECT box = {width, height, -1, -1};
    for (int y = 1; y < height - 1; ++y) {
        for (int x = 1; x < width - 1; ++x) {
            if (PixelAt(window, x, y) == WHITE) continue;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    }
    return box;
}

void Scribble(HWND window)
{
    HDC dc = GetDC(window);
    RECT all;
    GetClientRect(window, &all);
    FillRect(dc, &all, HBRUSH(GetStockObject(GRAY_BRUSH)));
    ReleaseDC(window, dc);
}
