// Shared helpers for the Windows tests.
#include "test_support.h"

#include "../../app/frame.h"
#include "../../app/meter_state.h"

#include <fstream>
#include <sstream>

ScratchDirectory::ScratchDirectory() {
    GetCurrentDirectoryA(MAX_PATH, previous_);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    GetTempFileNameA(temp, "gv", 0, path_);
    DeleteFileA(path_);
    CreateDirectoryA(path_, NULL);
    SetCurrentDirectoryA(path_);
}

static void RemoveTree(const std::string& path) {
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

ScratchDirectory::~ScratchDirectory() {
    SetCurrentDirectoryA(previous_);
    RemoveTree(path_);
}

std::string ScratchDirectory::Read(const char* name) const {
    std::ifstream in(std::string(path_) + "\\" + name, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void ScratchDirectory::Write(const char* name, const std::string& content) const {
    std::ofstream out(std::string(path_) + "\\" + name, std::ios::binary);
    out << content;
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

static BOOL CALLBACK KeepBar(HWND window, LPARAM found) {
    char name[64];
    if (window != meter.infoWindow && GetClassNameA(window, name, sizeof name) &&
        lstrcmpA(name, "garvowclass") == 0 &&
        GetWindowThreadProcessId(window, NULL) == GetCurrentThreadId()) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindBar() {
    HWND bar = NULL;
    EnumThreadWindows(GetCurrentThreadId(), KeepBar, LPARAM(&bar));
    return bar;
}

COLORREF PixelAt(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

LiveMeter::LiveMeter(int x, int y) {
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

LiveMeter::~LiveMeter() {
    if (IsWindow(info)) DestroyWindow(info);
    PumpMessages();
    MSG quit;
    PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE);
}

bool IsPosted(HWND window, UINT message) {
    MSG found;
    return PeekMessageA(&found, window, message, message, PM_NOREMOVE) != 0;
}
