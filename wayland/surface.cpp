// Layer surfaces and their shared-memory buffers. A surface is committed only to take a new
// picture, a new place, or to answer a configure: an idle gauge costs the compositor nothing.
#include "surface.h"

#include "globals.h"
#include "outputs.h"

#include "viewporter.h"
#include "layer_shell.h"
#ifdef GARVO_FRACTIONAL_SCALE
#include "fractional-scale.h"
#endif

#include <string.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

namespace wayland
{

static Surface Sized(int width, int height)
{
    Surface surface = {};
    surface.width = width;
    surface.height = height;
    return surface;
}

Surface bar = Sized(BAR_WIDTH, BAR_HEIGHT), box = Sized(INFO_WIDTH, INFO_HEIGHT);

static void OnConfigure(void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t,
                        uint32_t)
{
    Surface& surface = *static_cast<Surface*>(data);
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    surface.configured = true;
    surface.dirty = true;
}

static void OnClosed(void* data, zwlr_layer_surface_v1*)
{
    static_cast<Surface*>(data)->closed = true;
}

static const zwlr_layer_surface_v1_listener layerListener = {OnConfigure, OnClosed};

#ifdef GARVO_FRACTIONAL_SCALE
static void OnPreferredScale(void* data, wp_fractional_scale_v1*, uint32_t scale)
{
    Surface& surface = *static_cast<Surface*>(data);
    // In 120ths; kept to what the pictures are drawn at.
    double preferred = scale / 120.0;
    if (preferred > MAX_SCALE) preferred = MAX_SCALE;
    if (preferred == surface.preferredScale) return;
    surface.preferredScale = preferred;
    surface.dirty = true;
}

static const wp_fractional_scale_v1_listener fractionalListener = {OnPreferredScale};
#endif

static void OnRelease(void* data, wl_buffer*)
{
    static_cast<Buffer*>(data)->busy = false;
}

static const wl_buffer_listener bufferListener = {OnRelease};

static void FreeBuffers(Surface& surface)
{
    for (Buffer& buffer : surface.buffers)
        if (buffer.buffer) wl_buffer_destroy(buffer.buffer);
    if (surface.pool) wl_shm_pool_destroy(surface.pool);
    if (surface.memory)
        munmap(surface.memory, size_t(surface.bufferWidth) * surface.bufferHeight * 4 * 2);
    memset(surface.buffers, 0, sizeof surface.buffers);
    surface.pool = nullptr;
    surface.memory = nullptr;
    surface.bufferWidth = surface.bufferHeight = 0;
}

// Two buffers of that size, in memory shared with the compositor.
static bool MakeBuffers(Surface& surface, int width, int height)
{
    FreeBuffers(surface);
    size_t one = size_t(width) * height * 4;
    int fd = memfd_create("garvo", MFD_CLOEXEC);
    if (fd < 0) return false;
    void* memory = ftruncate(fd, off_t(one * 2)) == 0
                       ? mmap(nullptr, one * 2, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
                       : MAP_FAILED;
    if (memory == MAP_FAILED) {
        close(fd);
        return false;
    }
    surface.memory = static_cast<uint32_t*>(memory);
    surface.pool = wl_shm_create_pool(wl.shm, fd, int(one * 2));
    close(fd);
    surface.bufferWidth = width;
    surface.bufferHeight = height;
    for (int i = 0; i < 2; ++i) {
        Buffer& buffer = surface.buffers[i];
        buffer.pixels = surface.memory + one / 4 * i;
        buffer.buffer = wl_shm_pool_create_buffer(surface.pool, int(one) * i, width, height,
                                                  width * 4, WL_SHM_FORMAT_XRGB8888);
        wl_buffer_add_listener(buffer.buffer, &bufferListener, &buffer);
    }
    return true;
}

static void SetMargins(Surface& surface)
{
    zwlr_layer_surface_v1_set_margin(surface.layer, surface.top - surface.output->y, 0, 0,
                                     surface.left - surface.output->x);
}

void OpenSurface(Surface& surface, Output* output, int left, int top)
{
    CloseSurface(surface);
    surface.output = output;
    surface.left = left;
    surface.top = top;
    surface.surface = wl_compositor_create_surface(wl.compositor);
    // Above every window, full-screen ones too, as the Windows image's top-most windows are.
    surface.layer = zwlr_layer_shell_v1_get_layer_surface(
        wl.layerShell, surface.surface, output->output, ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "garvo");
    zwlr_layer_surface_v1_add_listener(surface.layer, &layerListener, &surface);
    zwlr_layer_surface_v1_set_size(surface.layer, uint32_t(surface.width),
                                   uint32_t(surface.height));
    zwlr_layer_surface_v1_set_anchor(surface.layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP |
                                                        ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT);
    // Placed by its margins alone: it pushes no window aside, nor is it pushed by others' zones.
    zwlr_layer_surface_v1_set_exclusive_zone(surface.layer, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(surface.layer, 0);
    SetMargins(surface);
#ifdef GARVO_FRACTIONAL_SCALE
    if (wl.fractionalScale && wl.viewporter) {
        surface.fractional = wp_fractional_scale_manager_v1_get_fractional_scale(wl.fractionalScale,
                                                                                 surface.surface);
        wp_fractional_scale_v1_add_listener(surface.fractional, &fractionalListener, &surface);
        surface.viewport = wp_viewporter_get_viewport(wl.viewporter, surface.surface);
    }
#endif
    wl_surface_commit(surface.surface);
}

void CloseSurface(Surface& surface)
{
    FreeBuffers(surface);
#ifdef GARVO_FRACTIONAL_SCALE
    if (surface.fractional) wp_fractional_scale_v1_destroy(surface.fractional);
#endif
    if (surface.viewport) wp_viewport_destroy(surface.viewport);
    if (surface.layer) zwlr_layer_surface_v1_destroy(surface.layer);
    if (surface.surface) wl_surface_destroy(surface.surface);
    surface.fractional = nullptr;
    surface.viewport = nullptr;
    surface.layer = nullptr;
    surface.surface = nullptr;
    surface.output = nullptr;
    surface.preferredScale = 0;
    surface.configured = surface.closed = false;
    surface.dirty = true;
}

bool IsOpen(const Surface& surface)
{
    return surface.layer != nullptr;
}

void MoveSurface(Surface& surface, int left, int top)
{
    if (surface.left == left && surface.top == top) return;
    surface.left = left;
    surface.top = top;
    SetMargins(surface);
    wl_surface_commit(surface.surface);
}

double SurfaceScale(const Surface& surface)
{
    if (surface.viewport) return surface.preferredScale > 0 ? surface.preferredScale : 1;
    int scale = surface.output ? surface.output->scale : 1;
    return scale < 1 ? 1 : scale > MAX_SCALE ? MAX_SCALE : scale;
}

bool ShowCanvas(Surface& surface, const Canvas& canvas)
{
    if ((canvas.width != surface.bufferWidth || canvas.height != surface.bufferHeight) &&
        !MakeBuffers(surface, canvas.width, canvas.height))
        return false;
    Buffer* free = !surface.buffers[0].busy   ? &surface.buffers[0]
                   : !surface.buffers[1].busy ? &surface.buffers[1]
                                              : nullptr;
    if (!free) return false;
    memcpy(free->pixels, canvas.pixels, size_t(canvas.width) * canvas.height * 4);
    free->busy = true;
    wl_surface_attach(surface.surface, free->buffer, 0, 0);
    if (surface.viewport)
        wp_viewport_set_destination(surface.viewport, surface.width, surface.height);
    else
        wl_surface_set_buffer_scale(surface.surface, int(SurfaceScale(surface)));
    wl_surface_damage_buffer(surface.surface, 0, 0, canvas.width, canvas.height);
    wl_surface_commit(surface.surface);
    surface.dirty = false;
    return true;
}

} // namespace wayland
