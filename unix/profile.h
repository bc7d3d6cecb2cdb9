// The settings file's format, read and edited as the Windows profile functions do, without any
// platform call: the native gauge shares garvo.ini with the Windows image.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Where edited text goes, a piece at a time.
struct ProfileSink {
    void (*write)(void* context, const char* bytes, size_t size);
    void* context;
};

struct ProfileKey {
    const char* name;
    const char* value;
};

// The integer under a key of a section, as GetPrivateProfileIntA reads it: the first section and
// key of those names, any case; a value in decimal, or 0x, 0o, 0b for hex, octal, binary; the
// low 32 bits of a long number; the fallback for a key that is absent or has no value.
int32_t ReadProfileInt(const char* text, size_t size, const char* section, const char* key,
                       int32_t fallback);

// Writes the text with the keys set in the section: a key's line is rewritten where it stands,
// missing keys go at the end of the section, a missing section at the end of the text. Every
// other byte stays as it was. Returns whether anything changed.
bool RewriteProfile(const char* text, size_t size, const char* section, const ProfileKey* keys,
                    int count, ProfileSink sink);
