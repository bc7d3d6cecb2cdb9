// libwayland-client as the front end uses it, opened only when a compositor is tried, so that an
// X11 session maps none of it. Included in place of its header, before any protocol's: every
// call of the library's below, the protocols' own requests among them, goes through the function
// looked up when it was opened.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wayland-client-core.h>

// The library's functions the front end and the protocols' code call.
#define GARVO_WL_FUNCTIONS(F)                                                                      \
    F(wl_display_connect)                                                                          \
    F(wl_display_disconnect)                                                                       \
    F(wl_display_get_fd)                                                                           \
    F(wl_display_roundtrip)                                                                        \
    F(wl_display_dispatch_pending)                                                                 \
    F(wl_display_prepare_read)                                                                     \
    F(wl_display_read_events)                                                                      \
    F(wl_display_cancel_read)                                                                      \
    F(wl_display_flush)                                                                            \
    F(wl_display_get_error)                                                                        \
    F(wl_display_get_protocol_error)                                                               \
    F(wl_proxy_marshal_flags)                                                                      \
    F(wl_proxy_add_listener)                                                                       \
    F(wl_proxy_set_user_data)                                                                      \
    F(wl_proxy_get_version)                                                                        \
    F(wl_proxy_destroy)

namespace wayland
{

enum ClientFunction {
#define GARVO_WL_ENTRY(name) WL_##name,
    GARVO_WL_FUNCTIONS(GARVO_WL_ENTRY)
#undef GARVO_WL_ENTRY
        WL_FUNCTIONS
};

extern void* clientFunctions[WL_FUNCTIONS];

// Opens libwayland-client; false, with why, when it is not there or is older than 1.20.
bool OpenClientLibrary(char* why, size_t size);
// Unmaps it again, once no display of it is left: a desktop whose compositor will not do keeps
// none of it.
void CloseClientLibrary();

} // namespace wayland

// A function of the library's, as its header declares it: the protocols' requests, which take a
// variable list of arguments, are passed on as they are.
#define GARVO_WL(name)                                                                             \
    (reinterpret_cast<decltype(&::name)>(wayland::clientFunctions[wayland::WL_##name]))

#define wl_display_connect GARVO_WL(wl_display_connect)
#define wl_display_disconnect GARVO_WL(wl_display_disconnect)
#define wl_display_get_fd GARVO_WL(wl_display_get_fd)
#define wl_display_roundtrip GARVO_WL(wl_display_roundtrip)
#define wl_display_dispatch_pending GARVO_WL(wl_display_dispatch_pending)
#define wl_display_prepare_read GARVO_WL(wl_display_prepare_read)
#define wl_display_read_events GARVO_WL(wl_display_read_events)
#define wl_display_cancel_read GARVO_WL(wl_display_cancel_read)
#define wl_display_flush GARVO_WL(wl_display_flush)
#define wl_display_get_error GARVO_WL(wl_display_get_error)
#define wl_display_get_protocol_error GARVO_WL(wl_display_get_protocol_error)
#define wl_proxy_marshal_flags GARVO_WL(wl_proxy_marshal_flags)
#define wl_proxy_add_listener GARVO_WL(wl_proxy_add_listener)
#define wl_proxy_set_user_data GARVO_WL(wl_proxy_set_user_data)
#define wl_proxy_get_version GARVO_WL(wl_proxy_get_version)
#define wl_proxy_destroy GARVO_WL(wl_proxy_destroy)

#include <wayland-client.h>
