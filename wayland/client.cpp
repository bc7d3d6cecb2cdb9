// libwayland-client, opened when a compositor is tried, and its functions looked up by name. The
// core protocol's interfaces, which the library would bring, are generated with the others at
// build time.
#include "client.h"

#include "../unix/library.h"

namespace wayland
{

void* clientFunctions[WL_FUNCTIONS];

static void* library;

#define GARVO_WL_NAME(name) #name,
static const char* const names[WL_FUNCTIONS] = {GARVO_WL_FUNCTIONS(GARVO_WL_NAME)};

bool OpenClientLibrary(char* why, size_t size)
{
    return OpenLibrary("libwayland-client.so.0", names, clientFunctions, WL_FUNCTIONS, library, why,
                       size);
}

void CloseClientLibrary()
{
    CloseLibrary(library);
}

} // namespace wayland
