// libwayland-client as the front end uses it: the library's declarations, with every protocol's
// requests sent through the library opened at run time. Included before any protocol's header.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wayland-client-core.h>

namespace wayland
{

// The library's marshaller, once opened. The protocols' requests call it with a variable list
// of arguments, which no function of garvo's could pass on as they are: the macro below points
// each call straight at it instead.
extern wl_proxy* (*marshalFlags)(wl_proxy* proxy, uint32_t opcode, const wl_interface* interface,
                                 uint32_t version, uint32_t flags, ...);

// Opens libwayland-client; false, with why, when it is not there or is older than 1.20.
bool OpenClientLibrary(char* why, size_t size);
// Unmaps it again, once no display of it is left: a desktop whose compositor will not do keeps
// none of it.
void CloseClientLibrary();

} // namespace wayland

#define wl_proxy_marshal_flags(...) wayland::marshalFlags(__VA_ARGS__)
#include <wayland-client.h>
