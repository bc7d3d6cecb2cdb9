// Opening a library and looking its functions up.
#include "library.h"

#include <dlfcn.h>
#include <stdio.h>

bool OpenLibrary(const char* file, const char* const* names, void** found, int count, void*& handle,
                 char* why, size_t size)
{
    // Its own symbols stay its own: nothing else the process opens is bound to them.
    handle = dlopen(file, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        snprintf(why, size, "%s cannot be opened", file);
        return false;
    }
    for (int i = 0; i < count; ++i) {
        found[i] = dlsym(handle, names[i]);
        if (found[i]) continue;
        snprintf(why, size, "%s has no %s", file, names[i]);
        CloseLibrary(handle);
        return false;
    }
    return true;
}

void CloseLibrary(void*& handle)
{
    if (handle) dlclose(handle);
    handle = nullptr;
}
