// The Win32 API as garvo uses it: ANSI entry points, no extras.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// Screen coordinates in mouse messages are signed 16-bit numbers: a second monitor left of or
// above the primary one gives negative ones.
inline int SignedLowWord(LPARAM value)
{
    return short(LOWORD(value));
}
inline int SignedHighWord(LPARAM value)
{
    return short(HIWORD(value));
}
