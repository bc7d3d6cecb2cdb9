// libwayland-client, opened when a compositor is tried, and its functions looked up by name. The
// core protocol's interfaces, which the library would bring, are generated with the others at
// build time.
#include "client.h"

#include <dlfcn.h>
#include <stdio.h>

namespace wayland
{

void* clientFunctions[WL_FUNCTIONS];

static const char FILE_NAME[] = "libwayland-client.so.0";
static void* library;

#define GARVO_WL_NAME(name) #name,
static const char* const names[WL_FUNCTIONS] = {GARVO_WL_FUNCTIONS(GARVO_WL_NAME)};

bool OpenClientLibrary(char* why, size_t size)
{
    library = dlopen(FILE_NAME, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        snprintf(why, size, "%s cannot be opened", FILE_NAME);
        return false;
    }
    for (int i = 0; i < WL_FUNCTIONS; ++i) {
        clientFunctions[i] = dlsym(library, names[i]);
        if (clientFunctions[i]) continue;
        snprintf(why, size, "%s has no %s", FILE_NAME, names[i]);
        CloseClientLibrary();
        return false;
    }
    return true;
}

void CloseClientLibrary()
{
    dlclose(library);
    library = nullptr;
}

} // namespace wayland
