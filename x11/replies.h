// What the X server sends, read from its bytes and checked against their length, which XCB's
// accessors take at their word: the connection's setup, RandR's monitors, the root's children and
// a property's text. Pure functions of the bytes; they need no display.
#pragma once

#include "pixels.h"

#include "../unix/placement.h"

#include <stddef.h>
#include <stdint.h>

// The bytes XCB holds of a reply: its first 32 and the words its length field counts.
size_t ReplyLength(const void* reply);
// The bytes XCB holds of the connection's setup: its first 8 and the words its length counts.
size_t SetupLength(const void* setup);

// A screen of the setup's, and the visual the gauge draws in on it.
struct Screen {
    uint32_t root;
    int width, height;
    uint8_t depth;
    uint32_t visual;
    bool rootVisual; // the root's own, which needs no colormap of the gauge's
    PixelFormat format;
};

// The screen of that number (the last one where there are fewer) and its TrueColor visual: the
// root's where it is one, else the first of any depth; with the pixmap format of that depth. False,
// with why in one line, for a setup that does not add up, a screen with no TrueColor visual, or a
// format the gauge cannot draw in (8, 16, 24 or 32 bits a pixel, rows padded to 8, 16 or 32).
bool ReadSetup(const uint8_t* bytes, size_t length, int number, Screen& out, char* why,
               size_t size);
// RandR's GetMonitors reply: the monitors with an area, as many as fit, and which is primary;
// none (count 0) where the reply holds none.
void ReadMonitorsReply(const uint8_t* bytes, size_t length, MonitorList& out);
// QueryTree's reply: how many children its bytes hold, of as many as it claims; each is read with
// ChildAt, from the bottom of the stack to its top.
int CountChildren(const uint8_t* bytes, size_t length);
uint32_t ChildAt(const uint8_t* bytes, int index);
// GetProperty's reply: its value's bytes where it is 8-bit text of that type, else none (0).
int ReadText(const uint8_t* bytes, size_t length, uint32_t type, const char*& text);
