// XCB and its RandR library, opened when the X11 front end is tried, and their functions looked
// up by name.
#include "xcb_library.h"

#include "../unix/library.h"

namespace x11
{

void* xcbFunctions[XCB_FUNCTIONS];

enum Library { XCB, RANDR, LIBRARIES };

static const char* const files[LIBRARIES] = {"libxcb.so.1", "libxcb-randr.so.0"};
static void* opened[LIBRARIES];

#define GARVO_XCB_NAME(library, name) #name,
static const char* const names[XCB_FUNCTIONS] = {GARVO_XCB_FUNCTIONS(GARVO_XCB_NAME)};
#define GARVO_XCB_LIBRARY(library, name) library,
static const Library libraries[XCB_FUNCTIONS] = {GARVO_XCB_FUNCTIONS(GARVO_XCB_LIBRARY)};

bool OpenXcb(char* why, size_t size)
{
    int first = 0;
    for (int i = 0; i < LIBRARIES; ++i) {
        int count = 0;
        while (first + count < XCB_FUNCTIONS && libraries[first + count] == i)
            ++count;
        if (!OpenLibrary(files[i], names + first, xcbFunctions + first, count, opened[i], why,
                         size)) {
            CloseXcb();
            return false;
        }
        first += count;
    }
    return true;
}

void CloseXcb()
{
    // RandR's first: it holds XCB open.
    for (int i = LIBRARIES - 1; i >= 0; --i)
        CloseLibrary(opened[i]);
}

} // namespace x11
