// A small Wayland compositor that misbehaves on purpose, for the tests of how the gauge copes:
//   wl_rogue SOCKET [plain] [close] [old-compositor] [no-shm] [edge] [error] [display-error]
//            [configures] [configure-always]
// plain           wl_compositor alone, as GNOME and Weston offer no layer shell
// close           every layer surface is closed as soon as it is made
// old-compositor  wl_compositor at version 3, whose surfaces have no damage_buffer
// no-shm          no wl_shm
// edge            its one output at x = 2147483000, at the 32-bit edge
// error           a protocol error on the first surface that commits a buffer
// display-error   then an error on the client's wl_display instead: an object it did not know
// configures      ten configures more, one after each commit, that change nothing
// configure-always  a configure that changes nothing after every commit, for ever, as the
//                 protocol allows; each commit is told ("commit")
// It listens in XDG_RUNTIME_DIR, says "ready", then a line for each layer surface made ("layer"),
// each buffer committed ("buffer"), and each margin set ("margin TOP LEFT").
#include <stdio.h>
#include <string.h>
#include <unistd.h>
#include <wayland-server.h>

// The generated header names an argument "namespace".
#define namespace name_space
#include "wlr-layer-shell-server.h"
#undef namespace

namespace
{

struct Options {
    bool plain, close, oldCompositor, noShm, edge, error, displayError, configures, always;
};

Options options;
uint32_t serial;

void Say(const char* format, int a = 0, int b = 0)
{
    printf(format, a, b);
    printf("\n");
    fflush(stdout);
}

void Destroy(wl_client*, wl_resource* resource)
{
    wl_resource_destroy(resource);
}

// Requests that change nothing here.
template <typename... Args> void Ignore(Args...) {}

struct Surface;

// A layer surface, and whether its wl_surface has had its first commit.
struct Layer {
    wl_resource* resource;
    bool configured;
    Surface* surface;
    int more; // configures sent after the first
};

struct Surface {
    wl_resource* resource;
    Layer* layer;
    bool hasBuffer;
};

void Attach(wl_client*, wl_resource* resource, wl_resource* buffer, int32_t, int32_t)
{
    static_cast<Surface*>(wl_resource_get_user_data(resource))->hasBuffer = buffer != nullptr;
}

void Commit(wl_client* client, wl_resource* resource)
{
    Surface& surface = *static_cast<Surface*>(wl_resource_get_user_data(resource));
    if (options.always) Say("commit");
    if (surface.hasBuffer) {
        Say("buffer");
        if (options.error) wl_resource_post_error(resource, 2, "a buffer this compositor refuses");
        if (options.displayError)
            wl_resource_post_error(wl_client_get_object(client, 1), WL_DISPLAY_ERROR_INVALID_OBJECT,
                                   "an object this compositor lost");
        surface.hasBuffer = false;
    }
    Layer* layer = surface.layer;
    if (layer &&
        (!layer->configured || options.always || (options.configures && layer->more++ < 10))) {
        layer->configured = true;
        zwlr_layer_surface_v1_send_configure(layer->resource, ++serial, 0, 0);
    }
}

void Frame(wl_client* client, wl_resource* resource, uint32_t id)
{
    wl_resource* callback = wl_resource_create(client, &wl_callback_interface, 1, id);
    wl_callback_send_done(callback, 0);
    wl_resource_destroy(callback);
    (void)resource;
}

const struct wl_surface_interface surfaceImplementation = {
    Destroy, Attach, Ignore, Frame, Ignore, Ignore, Commit, Ignore, Ignore, Ignore, Ignore};

void FreeSurface(wl_resource* resource)
{
    Surface* surface = static_cast<Surface*>(wl_resource_get_user_data(resource));
    if (surface->layer) surface->layer->surface = nullptr;
    delete surface;
}

void CreateSurface(wl_client* client, wl_resource* compositor, uint32_t id)
{
    wl_resource* resource =
        wl_resource_create(client, &wl_surface_interface, wl_resource_get_version(compositor), id);
    wl_resource_set_implementation(resource, &surfaceImplementation,
                                   new Surface{resource, nullptr, false}, FreeSurface);
}

void CreateRegion(wl_client* client, wl_resource*, uint32_t id)
{
    static const struct wl_region_interface region = {Destroy, Ignore, Ignore};
    wl_resource* resource = wl_resource_create(client, &wl_region_interface, 1, id);
    wl_resource_set_implementation(resource, &region, nullptr, nullptr);
}

const struct wl_compositor_interface compositorImplementation = {CreateSurface, CreateRegion};

void BindCompositor(wl_client* client, void*, uint32_t version, uint32_t id)
{
    wl_resource* resource = wl_resource_create(client, &wl_compositor_interface, int(version), id);
    wl_resource_set_implementation(resource, &compositorImplementation, nullptr, nullptr);
}

const struct wl_buffer_interface bufferImplementation = {Destroy};

void CreateBuffer(wl_client* client, wl_resource*, uint32_t id, int32_t, int32_t, int32_t, int32_t,
                  uint32_t)
{
    wl_resource* resource = wl_resource_create(client, &wl_buffer_interface, 1, id);
    wl_resource_set_implementation(resource, &bufferImplementation, nullptr, nullptr);
}

const struct wl_shm_pool_interface poolImplementation = {CreateBuffer, Destroy, Ignore};

void CreatePool(wl_client* client, wl_resource*, uint32_t id, int32_t fd, int32_t)
{
    close(fd);
    wl_resource* resource = wl_resource_create(client, &wl_shm_pool_interface, 1, id);
    wl_resource_set_implementation(resource, &poolImplementation, nullptr, nullptr);
}

const struct wl_shm_interface shmImplementation = {CreatePool};

void BindShm(wl_client* client, void*, uint32_t, uint32_t id)
{
    wl_resource* resource = wl_resource_create(client, &wl_shm_interface, 1, id);
    wl_resource_set_implementation(resource, &shmImplementation, nullptr, nullptr);
    wl_shm_send_format(resource, WL_SHM_FORMAT_XRGB8888);
}

void BindOutput(wl_client* client, void*, uint32_t version, uint32_t id)
{
    static const struct wl_output_interface output = {Destroy};
    wl_resource* resource =
        wl_resource_create(client, &wl_output_interface, int(version < 2 ? version : 2), id);
    wl_resource_set_implementation(resource, &output, nullptr, nullptr);
    wl_output_send_geometry(resource, options.edge ? 2147483000 : 0, 0, 300, 200, 0, "rogue",
                            "rogue", 0);
    wl_output_send_mode(resource, WL_OUTPUT_MODE_CURRENT, 1024, 768, 60000);
    if (wl_resource_get_version(resource) >= 2) {
        wl_output_send_scale(resource, 1);
        wl_output_send_done(resource);
    }
}

void SetMargin(wl_client*, wl_resource*, int32_t top, int32_t, int32_t, int32_t left)
{
    Say("margin %d %d", top, left);
}

const struct zwlr_layer_surface_v1_interface layerImplementation = {
    Ignore, Ignore, Ignore, SetMargin, Ignore, Ignore, Ignore, Destroy, Ignore};

void FreeLayer(wl_resource* resource)
{
    Layer* layer = static_cast<Layer*>(wl_resource_get_user_data(resource));
    if (layer->surface) layer->surface->layer = nullptr;
    delete layer;
}

void GetLayerSurface(wl_client* client, wl_resource* shell, uint32_t id, wl_resource* surface,
                     wl_resource*, uint32_t, const char*)
{
    wl_resource* resource = wl_resource_create(client, &zwlr_layer_surface_v1_interface,
                                               wl_resource_get_version(shell), id);
    Surface* on = static_cast<Surface*>(wl_resource_get_user_data(surface));
    Layer* layer = new Layer{resource, false, on, 0};
    wl_resource_set_implementation(resource, &layerImplementation, layer, FreeLayer);
    on->layer = layer;
    Say("layer");
    if (options.close) zwlr_layer_surface_v1_send_closed(resource);
}

const struct zwlr_layer_shell_v1_interface shellImplementation = {GetLayerSurface, Destroy};

void BindShell(wl_client* client, void*, uint32_t, uint32_t id)
{
    wl_resource* resource = wl_resource_create(client, &zwlr_layer_shell_v1_interface, 1, id);
    wl_resource_set_implementation(resource, &shellImplementation, nullptr, nullptr);
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 2; i < argc; ++i) {
        options.plain |= strcmp(argv[i], "plain") == 0;
        options.close |= strcmp(argv[i], "close") == 0;
        options.oldCompositor |= strcmp(argv[i], "old-compositor") == 0;
        options.noShm |= strcmp(argv[i], "no-shm") == 0;
        options.edge |= strcmp(argv[i], "edge") == 0;
        options.error |= strcmp(argv[i], "error") == 0;
        options.configures |= strcmp(argv[i], "configures") == 0;
        options.displayError |= strcmp(argv[i], "display-error") == 0;
        options.always |= strcmp(argv[i], "configure-always") == 0;
    }
    wl_display* display = wl_display_create();
    if (argc < 2 || !display || wl_display_add_socket(display, argv[1]) != 0) return 1;
    wl_global_create(display, &wl_compositor_interface, options.oldCompositor ? 3 : 4, nullptr,
                     BindCompositor);
    if (!options.plain) {
        if (!options.noShm) wl_global_create(display, &wl_shm_interface, 1, nullptr, BindShm);
        wl_global_create(display, &wl_output_interface, 2, nullptr, BindOutput);
        // Version 1 alone: the oldest a compositor may offer.
        wl_global_create(display, &zwlr_layer_shell_v1_interface, 1, nullptr, BindShell);
    }
    Say("ready");
    wl_display_run(display);
    return 0;
}
