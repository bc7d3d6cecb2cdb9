// Layer surfaces and their shared-memory buffers. A surface is committed only to take a new
// picture, a new place, or to answer a configure: an idle gauge costs the compositor nothing.
#include "surface.h"

#include "client.h"

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

namespace wayland
{

// A compositor that closes a surface at once is not asked again before this, doubling to a
// minute: never a loop, a few tries a minute at most while nothing changes.
const int64_t FIRST_BACK_OFF_MS = 2000, LAST_BACK_OFF_MS = 60000;

Surface bar, box;

static Layer retired[4];
static int retiredCount;

Surface& SurfaceOf(SurfaceId surface)
{
    return surface == BAR ? bar : box;
}

SurfaceId Which(const Surface& surface)
{
    return &surface == &bar ? BAR : BOX;
}

Surface* Find(wl_surface* surface)
{
    if (surface && surface == bar.objects.surface) return &bar;
    if (surface && surface == box.objects.surface) return &box;
    return nullptr;
}

static void Attach(Surface& surface);

static void OnConfigure(void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t,
                        uint32_t)
{
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    if (!data) return;
    Surface& surface = *static_cast<Surface*>(data);
    bool first = !surface.configured;
    surface.configured = true;
    // The size is the gauge's own: a configure alone changes no picture. One after the first is
    // acknowledged alone, its ack carried by the next commit: a compositor that configures after
    // every commit would otherwise be answered with a commit for ever.
    if (surface.latest && !surface.attached)
        Attach(surface);
    else if (first)
        wl_surface_commit(surface.objects.surface);
}

static void OnClosed(void* data, zwlr_layer_surface_v1*)
{
    if (data) static_cast<Surface*>(data)->closed = true;
}

static const zwlr_layer_surface_v1_listener layerListener = {OnConfigure, OnClosed};

#ifdef GARVO_FRACTIONAL_SCALE
static void OnPreferredScale(void* data, wp_fractional_scale_v1*, uint32_t scale)
{
    if (!data) return;
    Surface& surface = *static_cast<Surface*>(data);
    // In 120ths; kept to what the pictures are drawn at.
    double preferred = scale / 120.0;
    if (preferred > MAX_SCALE) preferred = MAX_SCALE;
    surface.preferredScale = preferred;
    if (preferred != surface.drawnScale) surface.redraw = true;
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
    surface.latest = 0;
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

// Sets the margins that put it at its place on its output; whether they changed.
static bool SetMargins(Surface& surface)
{
    int32_t left = Within(int64_t(surface.at.left) - surface.output->x);
    int32_t top = Within(int64_t(surface.at.top) - surface.output->y);
    if (left == surface.marginLeft && top == surface.marginTop) return false;
    surface.marginLeft = left;
    surface.marginTop = top;
    memmove(surface.pastLeft + 1, surface.pastLeft, sizeof surface.pastLeft - sizeof(int32_t));
    memmove(surface.pastTop + 1, surface.pastTop, sizeof surface.pastTop - sizeof(int32_t));
    surface.pastLeft[0] = surface.at.left;
    surface.pastTop[0] = surface.at.top;
    if (surface.pastCount < int(sizeof surface.pastLeft / sizeof surface.pastLeft[0]))
        ++surface.pastCount;
    zwlr_layer_surface_v1_set_margin(surface.objects.layer, top, 0, 0, left);
    return true;
}

static void Retire(Surface& surface)
{
    Layer& objects = surface.objects;
    if (!objects.surface) return;
    if (objects.layer) wl_proxy_set_user_data(reinterpret_cast<wl_proxy*>(objects.layer), nullptr);
#ifdef GARVO_FRACTIONAL_SCALE
    if (objects.fractional)
        wl_proxy_set_user_data(reinterpret_cast<wl_proxy*>(objects.fractional), nullptr);
#endif
    if (retiredCount == int(sizeof retired / sizeof retired[0])) DestroyRetired();
    retired[retiredCount++] = objects;
    objects = {};
    surface.output = nullptr;
    surface.preferredScale = 0;
    surface.configured = false;
    surface.attached = false;
}

void DestroyRetired()
{
    for (int i = 0; i < retiredCount; ++i) {
        Layer& objects = retired[i];
#ifdef GARVO_FRACTIONAL_SCALE
        if (objects.fractional) wp_fractional_scale_v1_destroy(objects.fractional);
#endif
        if (objects.viewport) wp_viewport_destroy(objects.viewport);
        if (objects.layer) zwlr_layer_surface_v1_destroy(objects.layer);
        wl_surface_destroy(objects.surface);
    }
    retiredCount = 0;
}

static void Open(Surface& surface, Output* output)
{
    surface.output = output;
    surface.outputName = output->name;
    Layer& objects = surface.objects;
    objects.surface = wl_compositor_create_surface(wl.compositor);
    // Above every window, full-screen ones too, as the Windows image's top-most windows are.
    objects.layer = zwlr_layer_shell_v1_get_layer_surface(
        wl.layerShell, objects.surface, output->output, ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "garvo");
    zwlr_layer_surface_v1_add_listener(objects.layer, &layerListener, &surface);
    zwlr_layer_surface_v1_set_size(objects.layer, uint32_t(surface.at.right - surface.at.left),
                                   uint32_t(surface.at.bottom - surface.at.top));
    zwlr_layer_surface_v1_set_anchor(objects.layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP |
                                                        ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT);
    // Placed by its margins alone: it pushes no window aside, nor is it pushed by others' zones.
    zwlr_layer_surface_v1_set_exclusive_zone(objects.layer, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(objects.layer, 0);
    surface.marginLeft = surface.marginTop = INT32_MIN;
    SetMargins(surface);
#ifdef GARVO_FRACTIONAL_SCALE
    if (wl.fractionalScale && wl.viewporter) {
        objects.fractional = wp_fractional_scale_manager_v1_get_fractional_scale(wl.fractionalScale,
                                                                                 objects.surface);
        wp_fractional_scale_v1_add_listener(objects.fractional, &fractionalListener, &surface);
        objects.viewport = wp_viewporter_get_viewport(wl.viewporter, objects.surface);
    }
#endif
    wl_surface_commit(objects.surface);
    // Drawn anew where this output's scale is another.
    if (SurfaceScale(surface) != surface.drawnScale) surface.redraw = true;
}

void Sync(Surface& surface, int64_t now)
{
    if (surface.closed) {
        // Taken away by the compositor: with its output's removal, on another output at once;
        // else asked for again after a pause, or when outputs change.
        bool outputGone = surface.output && surface.output->name != surface.outputName;
        Retire(surface);
        surface.closed = false;
        if (!outputGone) {
            surface.reopenAt = now + (surface.backOffMs ? surface.backOffMs : FIRST_BACK_OFF_MS);
            surface.backOffMs = surface.backOffMs ? surface.backOffMs * 2 : FIRST_BACK_OFF_MS * 2;
            if (surface.backOffMs > LAST_BACK_OFF_MS) surface.backOffMs = LAST_BACK_OFF_MS;
        }
    }
    if (!surface.wanted) {
        Retire(surface);
        return;
    }
    Output* output = OutputFor(surface.at.left, surface.at.top);
    if (surface.objects.surface && output == surface.output) {
        if (SetMargins(surface)) wl_surface_commit(surface.objects.surface);
        return;
    }
    Retire(surface);
    if (output && now >= surface.reopenAt) Open(surface, output);
}

static double OutputScale(const Output* output)
{
    // A surface of wl_compositor before version 3 has no buffer scale.
    int scale = output && wl.compositorVersion >= 3 ? output->scale : 1;
    return scale < 1 ? 1 : scale > MAX_SCALE ? MAX_SCALE : scale;
}

// The scale a surface not yet shown, or not yet told its fractional scale, will be shown at: the
// other surface's where that one is shown on the same output, as the bar is when the box comes,
// else its output's. A picture drawn before the surface shows is then drawn once.
static double ScaleWhereShown(const Surface& surface)
{
    const Output* output =
        surface.output ? surface.output : OutputFor(surface.at.left, surface.at.top);
    const Surface& other = &surface == &bar ? box : bar;
    if (other.objects.surface && other.output == output &&
        (!other.objects.viewport || other.preferredScale > 0))
        return SurfaceScale(other);
    return OutputScale(output);
}

double SurfaceScale(const Surface& surface)
{
    if (surface.objects.viewport && surface.preferredScale > 0) return surface.preferredScale;
    if (surface.objects.viewport || !surface.objects.surface) return ScaleWhereShown(surface);
    return OutputScale(surface.output);
}

static void Attach(Surface& surface)
{
    Buffer& buffer = surface.buffers[surface.latest - 1];
    wl_surface* target = surface.objects.surface;
    buffer.busy = true;
    wl_surface_attach(target, buffer.buffer, 0, 0);
    if (surface.objects.viewport)
        wp_viewport_set_destination(surface.objects.viewport, surface.at.right - surface.at.left,
                                    surface.at.bottom - surface.at.top);
    else if (wl.compositorVersion >= 3)
        wl_surface_set_buffer_scale(target, int(SurfaceScale(surface)));
    if (wl.compositorVersion >= 4)
        wl_surface_damage_buffer(target, 0, 0, surface.bufferWidth, surface.bufferHeight);
    else
        wl_surface_damage(target, 0, 0, surface.at.right - surface.at.left,
                          surface.at.bottom - surface.at.top);
    wl_surface_commit(target);
    surface.attached = true;
}

void ShowCanvas(Surface& surface, const Canvas& canvas)
{
    if ((canvas.width != surface.bufferWidth || canvas.height != surface.bufferHeight) &&
        !MakeBuffers(surface, canvas.width, canvas.height))
        return;
    int free = !surface.buffers[0].busy ? 0 : !surface.buffers[1].busy ? 1 : -1;
    if (free < 0) {
        // Both still the compositor's: drawn again once the loop comes round.
        surface.redraw = true;
        return;
    }
    memcpy(surface.buffers[free].pixels, canvas.pixels, size_t(canvas.width) * canvas.height * 4);
    surface.latest = free + 1;
    surface.drawnScale = SurfaceScale(surface);
    surface.attached = false;
    if (surface.objects.surface && surface.configured) Attach(surface);
}

} // namespace wayland
