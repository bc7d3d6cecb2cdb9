// The registry: which globals the compositor offers, and the outputs as they come and go.
#include "globals.h"

#include "client.h"

#include "outputs.h"
#include "pointer.h"

#include "relative-pointer.h"
#include "viewporter.h"
#include "layer_shell.h"
#include "xdg-output.h"
#ifdef GARVO_FRACTIONAL_SCALE
#include "fractional-scale.h"
#endif

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace wayland
{

Globals wl;

template <typename T>
static T* Bind(wl_registry* registry, uint32_t name, const wl_interface& interface,
               uint32_t offered, uint32_t wanted)
{
    uint32_t version = offered < wanted ? offered : wanted;
    return static_cast<T*>(wl_registry_bind(registry, name, &interface, version));
}

static void OnGlobal(void*, wl_registry* registry, uint32_t name, const char* interface,
                     uint32_t version)
{
    if (strcmp(interface, wl_compositor_interface.name) == 0) {
        wl.compositorVersion = version < 4 ? version : 4;
        wl.compositor = Bind<wl_compositor>(registry, name, wl_compositor_interface, version, 4);
    } else if (strcmp(interface, wl_shm_interface.name) == 0)
        wl.shm = Bind<wl_shm>(registry, name, wl_shm_interface, version, 1);
    else if (strcmp(interface, wl_seat_interface.name) == 0)
        AddSeat(name, Bind<wl_seat>(registry, name, wl_seat_interface, version, 5));
    else if (strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0)
        wl.layerShell =
            Bind<zwlr_layer_shell_v1>(registry, name, zwlr_layer_shell_v1_interface, version, 2);
    else if (strcmp(interface, zxdg_output_manager_v1_interface.name) == 0)
        wl.outputManager = Bind<zxdg_output_manager_v1>(
            registry, name, zxdg_output_manager_v1_interface, version, 2);
    else if (strcmp(interface, wp_viewporter_interface.name) == 0)
        wl.viewporter = Bind<wp_viewporter>(registry, name, wp_viewporter_interface, version, 1);
#ifdef GARVO_FRACTIONAL_SCALE
    else if (strcmp(interface, wp_fractional_scale_manager_v1_interface.name) == 0)
        wl.fractionalScale = Bind<wp_fractional_scale_manager_v1>(
            registry, name, wp_fractional_scale_manager_v1_interface, version, 1);
#endif
    else if (strcmp(interface, zwp_relative_pointer_manager_v1_interface.name) == 0)
        wl.relativePointer = Bind<zwp_relative_pointer_manager_v1>(
            registry, name, zwp_relative_pointer_manager_v1_interface, version, 1);
    else if (strcmp(interface, wl_output_interface.name) == 0)
        AddOutput(name, Bind<wl_output>(registry, name, wl_output_interface, version, 2),
                  wl.outputManager);
}

static void OnGlobalRemove(void*, wl_registry*, uint32_t name)
{
    if (!RemoveSeat(name)) RemoveOutput(name);
}

static const wl_registry_listener registryListener = {OnGlobal, OnGlobalRemove};

bool ConnectWayland(char* why, size_t size)
{
    // Not the library's default socket: a session that names no compositor has none.
    const char* name = getenv("WAYLAND_DISPLAY");
    if (!name || !*name) {
        snprintf(why, size, "WAYLAND_DISPLAY is not set");
        return false;
    }
    if (!OpenClientLibrary(why, size)) return false;
    wl.display = wl_display_connect(nullptr);
    if (!wl.display) {
        snprintf(why, size, "cannot connect to \"%s\"", name);
        CloseClientLibrary();
        return false;
    }
    wl.registry = wl_display_get_registry(wl.display);
    wl_registry_add_listener(wl.registry, &registryListener, nullptr);
    const char* missing = wl_display_roundtrip(wl.display) < 0 ? nullptr
                          : !wl.layerShell                     ? "layer shell"
                          : !wl.compositor                     ? "wl_compositor"
                          : !wl.shm                            ? "wl_shm"
                                                               : "";
    if (missing && !*missing) return true;
    if (missing)
        snprintf(why, size, "\"%s\" offers no %s", name, missing);
    else
        snprintf(why, size, "\"%s\" ended the connection", name);
    wl_display_disconnect(wl.display);
    wl.display = nullptr;
    CloseClientLibrary();
    return false;
}

} // namespace wayland
