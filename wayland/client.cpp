// libwayland-client, opened only when a compositor is tried, so that an X11 session maps none of
// it. The library's functions that the front end and the protocols' code call are passed on
// from here; the core protocol's interfaces are generated with the others at build time.
#include "client.h"

#include <dlfcn.h>
#include <stdio.h>

namespace wayland
{

wl_proxy* (*marshalFlags)(wl_proxy*, uint32_t, const wl_interface*, uint32_t, uint32_t, ...);

} // namespace wayland

// The library's functions the front end calls, in the order of `names`.
enum Function {
    DISPLAY_CONNECT,
    DISPLAY_DISCONNECT,
    DISPLAY_GET_FD,
    DISPLAY_ROUNDTRIP,
    DISPLAY_DISPATCH_PENDING,
    DISPLAY_PREPARE_READ,
    DISPLAY_READ_EVENTS,
    DISPLAY_CANCEL_READ,
    DISPLAY_FLUSH,
    DISPLAY_GET_ERROR,
    DISPLAY_GET_PROTOCOL_ERROR,
    PROXY_ADD_LISTENER,
    PROXY_SET_USER_DATA,
    PROXY_GET_VERSION,
    PROXY_DESTROY,
    PROXY_MARSHAL_FLAGS,
    FUNCTIONS
};

static const char* const names[FUNCTIONS] = {
    "wl_display_connect",     "wl_display_disconnect",         "wl_display_get_fd",
    "wl_display_roundtrip",   "wl_display_dispatch_pending",   "wl_display_prepare_read",
    "wl_display_read_events", "wl_display_cancel_read",        "wl_display_flush",
    "wl_display_get_error",   "wl_display_get_protocol_error", "wl_proxy_add_listener",
    "wl_proxy_set_user_data", "wl_proxy_get_version",          "wl_proxy_destroy",
    "wl_proxy_marshal_flags"};

static void* library;
static void* found[FUNCTIONS];

// The library's function, as the library's header declares it.
#define CALL(name, function) reinterpret_cast<decltype(&::name)>(found[function])

bool wayland::OpenClientLibrary(char* why, size_t size)
{
    static const char NAME[] = "libwayland-client.so.0";
    library = dlopen(NAME, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        snprintf(why, size, "%s cannot be opened", NAME);
        return false;
    }
    for (int i = 0; i < FUNCTIONS; ++i) {
        found[i] = dlsym(library, names[i]);
        if (found[i]) continue;
        snprintf(why, size, "%s has no %s", NAME, names[i]);
        CloseClientLibrary();
        return false;
    }
    marshalFlags = reinterpret_cast<decltype(marshalFlags)>(found[PROXY_MARSHAL_FLAGS]);
    return true;
}

void wayland::CloseClientLibrary()
{
    dlclose(library);
    library = nullptr;
}

wl_display* wl_display_connect(const char* name)
{
    return CALL(wl_display_connect, DISPLAY_CONNECT)(name);
}

void wl_display_disconnect(wl_display* display)
{
    CALL(wl_display_disconnect, DISPLAY_DISCONNECT)(display);
}

int wl_display_get_fd(wl_display* display)
{
    return CALL(wl_display_get_fd, DISPLAY_GET_FD)(display);
}

int wl_display_roundtrip(wl_display* display)
{
    return CALL(wl_display_roundtrip, DISPLAY_ROUNDTRIP)(display);
}

int wl_display_dispatch_pending(wl_display* display)
{
    return CALL(wl_display_dispatch_pending, DISPLAY_DISPATCH_PENDING)(display);
}

int wl_display_prepare_read(wl_display* display)
{
    return CALL(wl_display_prepare_read, DISPLAY_PREPARE_READ)(display);
}

int wl_display_read_events(wl_display* display)
{
    return CALL(wl_display_read_events, DISPLAY_READ_EVENTS)(display);
}

void wl_display_cancel_read(wl_display* display)
{
    CALL(wl_display_cancel_read, DISPLAY_CANCEL_READ)(display);
}

int wl_display_flush(wl_display* display)
{
    return CALL(wl_display_flush, DISPLAY_FLUSH)(display);
}

int wl_display_get_error(wl_display* display)
{
    return CALL(wl_display_get_error, DISPLAY_GET_ERROR)(display);
}

uint32_t wl_display_get_protocol_error(wl_display* display, const wl_interface** interface,
                                       uint32_t* id)
{
    return CALL(wl_display_get_protocol_error, DISPLAY_GET_PROTOCOL_ERROR)(display, interface, id);
}

int wl_proxy_add_listener(wl_proxy* proxy, void (**implementation)(void), void* data)
{
    return CALL(wl_proxy_add_listener, PROXY_ADD_LISTENER)(proxy, implementation, data);
}

void wl_proxy_set_user_data(wl_proxy* proxy, void* data)
{
    CALL(wl_proxy_set_user_data, PROXY_SET_USER_DATA)(proxy, data);
}

uint32_t wl_proxy_get_version(wl_proxy* proxy)
{
    return CALL(wl_proxy_get_version, PROXY_GET_VERSION)(proxy);
}

void wl_proxy_destroy(wl_proxy* proxy)
{
    CALL(wl_proxy_destroy, PROXY_DESTROY)(proxy);
}
