// XCB and its RandR library, opened when the X11 front end is tried, and their functions looked
// up by name.
#include "xcb_library.h"

#include <dlfcn.h>
#include <stdio.h>

namespace x11
{

void* xcbFunctions[XCB_FUNCTIONS];
xcb_extension_t* randrId;

enum Library { XCB, RANDR, LIBRARIES };

static const char* const files[LIBRARIES] = {"libxcb.so.1", "libxcb-randr.so.0"};
static void* opened[LIBRARIES];

#define GARVO_XCB_NAME(library, name) #name,
static const char* const names[XCB_FUNCTIONS] = {GARVO_XCB_FUNCTIONS(GARVO_XCB_NAME)};
#define GARVO_XCB_LIBRARY(library, name) library,
static const Library libraries[XCB_FUNCTIONS] = {GARVO_XCB_FUNCTIONS(GARVO_XCB_LIBRARY)};

bool OpenXcb(char* why, size_t size)
{
    for (int i = 0; i < LIBRARIES; ++i) {
        opened[i] = dlopen(files[i], RTLD_NOW | RTLD_LOCAL);
        if (opened[i]) continue;
        snprintf(why, size, "%s cannot be opened", files[i]);
        CloseXcb();
        return false;
    }
    for (int i = 0; i < XCB_FUNCTIONS; ++i) {
        xcbFunctions[i] = dlsym(opened[libraries[i]], names[i]);
        if (xcbFunctions[i]) continue;
        snprintf(why, size, "%s has no %s", files[libraries[i]], names[i]);
        CloseXcb();
        return false;
    }
    randrId = static_cast<xcb_extension_t*>(dlsym(opened[RANDR], "xcb_randr_id"));
    if (randrId) return true;
    snprintf(why, size, "%s has no xcb_randr_id", files[RANDR]);
    CloseXcb();
    return false;
}

void CloseXcb()
{
    // RandR's first: it holds XCB open.
    for (int i = LIBRARIES - 1; i >= 0; --i) {
        if (opened[i]) dlclose(opened[i]);
        opened[i] = nullptr;
    }
}

} // namespace x11
