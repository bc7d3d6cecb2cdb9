// Shared libraries opened at run time, so that a program that never needs one maps none of it:
// a library and the functions it must have, all found or none.
#pragma once

#include <stddef.h>

// Opens `file` and looks up each of `count` names into `found`. False, with why in `why`, when
// the library is not there or lacks one of them; it is then closed again and `handle` is null.
bool OpenLibrary(const char* file, const char* const* names, void** found, int count, void*& handle,
                 char* why, size_t size);
// Unmaps it again, once nothing of it is in use; nothing for a library not open.
void CloseLibrary(void*& handle);
