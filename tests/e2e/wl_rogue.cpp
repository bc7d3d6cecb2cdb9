// A small Wayland compositor that misbehaves on purpose, for the tests of how the gauge copes:
//   wl_rogue SOCKET [plain] [close] [old-compositor] [no-shm] [edge] [error] [display-error]
//            [configures] [configure-always] [seat=sway|kwin|labwc]
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
// seat=STYLE      a seat with a pointer and its relative motion, driven by lines on standard
//                 input: "by DX DY" moves it (the cursor kept on the output, the motion not),
//                 "down" and "up" the left button; "plug" adds an output like the first, and
//                 "unplug" removes the oldest while it closes every layer surface ("unplugged");
//                 "reseat" takes the seat away and offers a new one, whose pointer is entered
//                 where the cursor is, and the old one's is told nothing more.
//                 Each STYLE orders a frame as that compositor does, and measures surface-local
//                 points as it does while a button holds the pointer: sway relative motion
//                 first, against the surface at the press; kwin the motion first, against the
//                 same; labwc against the surface where it stands now, never a motion for a
//                 surface that moved alone. sway and labwc drop a motion to the point last
//                 sent. None says leave for a surface closed under a pressed pointer.
// It listens in XDG_RUNTIME_DIR, says "ready", then a line for each layer surface made ("layer"),
// each buffer committed ("buffer"), and each margin set ("margin TOP LEFT WIDTH").
#include <linux/input-event-codes.h>
#include <stdio.h>
#include <string.h>
#include <time.h>
#include <unistd.h>
#include <wayland-server.h>

// The generated header names an argument "namespace".
#define namespace name_space
#include "wlr-layer-shell-server.h"
#undef namespace
#include "relative-pointer-server.h"

namespace
{

enum Style { NO_SEAT, SWAY, KWIN, LABWC };

struct Options {
    bool plain, close, oldCompositor, noShm, edge, error, displayError, configures, always;
    Style seat;
};

Options options;
uint32_t serial;

void Say(const char* format, int a = 0, int b = 0, int c = 0)
{
    printf(format, a, b, c);
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
    int pendingLeft, pendingTop, pendingWidth, pendingHeight;
    int left, top, width, height; // as of the latest commit
    bool mapped;                  // a buffer committed
};

struct Surface {
    wl_resource* resource;
    Layer* layer;
    bool hasBuffer;
};

// The seat: one pointer, on one client.
struct Seat {
    wl_resource* pointer;
    wl_resource* relative;
    double x, y;           // the cursor, on the output
    Surface* focus;        // the surface it is over, or held on
    bool held;             // the left button down
    int heldLeft, heldTop; // that surface's place at the press
    double lastX, lastY;   // the surface-local point last sent
};

Seat seat;

void SurfaceGone(Surface* surface);
void Refocus();

void Attach(wl_client*, wl_resource* resource, wl_resource* buffer, int32_t, int32_t)
{
    static_cast<Surface*>(wl_resource_get_user_data(resource))->hasBuffer = buffer != nullptr;
}

void Commit(wl_client* client, wl_resource* resource)
{
    Surface& surface = *static_cast<Surface*>(wl_resource_get_user_data(resource));
    if (options.always) Say("commit");
    if (Layer* layer = surface.layer) {
        layer->left = layer->pendingLeft;
        layer->top = layer->pendingTop;
        layer->width = layer->pendingWidth;
        layer->height = layer->pendingHeight;
        layer->mapped |= surface.hasBuffer;
        // A surface that moved may have come under the pointer or left it: a new focus, though
        // no motion.
        if (!seat.held) Refocus();
    }
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
    SurfaceGone(surface);
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

void SetMargin(wl_client*, wl_resource* resource, int32_t top, int32_t, int32_t, int32_t left)
{
    Layer* layer = static_cast<Layer*>(wl_resource_get_user_data(resource));
    layer->pendingLeft = left;
    layer->pendingTop = top;
    Say("margin %d %d %d", top, left, layer->pendingWidth);
}

void SetSize(wl_client*, wl_resource* resource, uint32_t width, uint32_t height)
{
    Layer* layer = static_cast<Layer*>(wl_resource_get_user_data(resource));
    layer->pendingWidth = int(width);
    layer->pendingHeight = int(height);
}

const struct zwlr_layer_surface_v1_interface layerImplementation = {
    SetSize, Ignore, Ignore, SetMargin, Ignore, Ignore, Ignore, Destroy, Ignore};

Layer* layers[8];

void FreeLayer(wl_resource* resource)
{
    Layer* layer = static_cast<Layer*>(wl_resource_get_user_data(resource));
    if (layer->surface) layer->surface->layer = nullptr;
    for (Layer*& slot : layers)
        if (slot == layer) slot = nullptr;
    delete layer;
}

void GetLayerSurface(wl_client* client, wl_resource* shell, uint32_t id, wl_resource* surface,
                     wl_resource*, uint32_t, const char*)
{
    wl_resource* resource = wl_resource_create(client, &zwlr_layer_surface_v1_interface,
                                               wl_resource_get_version(shell), id);
    Surface* on = static_cast<Surface*>(wl_resource_get_user_data(surface));
    Layer* layer = new Layer{resource, false, on, 0, 0, 0, 0, 0, 0, 0, 0, 0, false};
    wl_resource_set_implementation(resource, &layerImplementation, layer, FreeLayer);
    on->layer = layer;
    for (Layer*& slot : layers)
        if (!slot) {
            slot = layer;
            break;
        }
    Say("layer");
    if (options.close) zwlr_layer_surface_v1_send_closed(resource);
}

const struct zwlr_layer_shell_v1_interface shellImplementation = {GetLayerSurface, Destroy};

void BindShell(wl_client* client, void*, uint32_t, uint32_t id)
{
    wl_resource* resource = wl_resource_create(client, &zwlr_layer_shell_v1_interface, 1, id);
    wl_resource_set_implementation(resource, &shellImplementation, nullptr, nullptr);
}

wl_display* display;
wl_global* outputs[4]; // oldest first
int outputCount;

uint32_t Now()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return uint32_t(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

void SurfaceGone(Surface* surface)
{
    if (seat.focus == surface) seat.focus = nullptr;
}

Surface* SurfaceUnder(double x, double y)
{
    for (Layer* layer : layers)
        if (layer && layer->surface && layer->mapped && x >= layer->left && y >= layer->top &&
            x < layer->left + layer->width && y < layer->top + layer->height)
            return layer->surface;
    return nullptr;
}

bool Ours(const Surface* surface)
{
    return surface && seat.pointer &&
           wl_resource_get_client(surface->resource) == wl_resource_get_client(seat.pointer);
}

void Refocus()
{
    Surface* under = SurfaceUnder(seat.x, seat.y);
    if (under == seat.focus || !seat.pointer) return;
    if (Ours(seat.focus)) wl_pointer_send_leave(seat.pointer, ++serial, seat.focus->resource);
    seat.focus = under;
    if (Ours(under)) {
        seat.lastX = seat.x - under->layer->left;
        seat.lastY = seat.y - under->layer->top;
        wl_pointer_send_enter(seat.pointer, ++serial, under->resource,
                              wl_fixed_from_double(seat.lastX), wl_fixed_from_double(seat.lastY));
    }
    wl_pointer_send_frame(seat.pointer);
}

void SendMotion()
{
    Layer* layer = seat.focus->layer;
    bool now = options.seat == LABWC || !seat.held;
    double x = seat.x - (now && layer ? layer->left : seat.heldLeft);
    double y = seat.y - (now && layer ? layer->top : seat.heldTop);
    if (options.seat != KWIN && x == seat.lastX && y == seat.lastY) return;
    seat.lastX = x;
    seat.lastY = y;
    wl_pointer_send_motion(seat.pointer, Now(), wl_fixed_from_double(x), wl_fixed_from_double(y));
}

void SendRelative(double dx, double dy)
{
    if (!seat.relative) return;
    uint64_t us = uint64_t(Now()) * 1000;
    zwp_relative_pointer_v1_send_relative_motion(
        seat.relative, uint32_t(us >> 32), uint32_t(us), wl_fixed_from_double(dx),
        wl_fixed_from_double(dy), wl_fixed_from_double(dx), wl_fixed_from_double(dy));
}

void MoveBy(double dx, double dy)
{
    seat.x = seat.x + dx < 0 ? 0 : seat.x + dx > 1023 ? 1023 : seat.x + dx;
    seat.y = seat.y + dy < 0 ? 0 : seat.y + dy > 767 ? 767 : seat.y + dy;
    // Relative motion goes where the pointer was; a new focus is told by its enter alone.
    bool kwin = options.seat == KWIN;
    if (!kwin && Ours(seat.focus)) SendRelative(dx, dy);
    Surface* before = seat.focus;
    if (!seat.held) Refocus();
    if (!Ours(seat.focus) || seat.focus != before) return;
    SendMotion();
    if (kwin) SendRelative(dx, dy);
    wl_pointer_send_frame(seat.pointer);
}

void Press(bool down)
{
    if (down && seat.focus && seat.focus->layer) {
        seat.heldLeft = seat.focus->layer->left;
        seat.heldTop = seat.focus->layer->top;
    }
    seat.held = down;
    if (Ours(seat.focus)) {
        wl_pointer_send_button(seat.pointer, ++serial, Now(), BTN_LEFT,
                               down ? WL_POINTER_BUTTON_STATE_PRESSED
                                    : WL_POINTER_BUTTON_STATE_RELEASED);
        wl_pointer_send_frame(seat.pointer);
    }
    if (!down) Refocus();
}

void Plug()
{
    if (outputCount < 4)
        outputs[outputCount++] =
            wl_global_create(display, &wl_output_interface, 2, nullptr, BindOutput);
}

// The oldest output goes, and with it the layer surfaces, which are all taken to be on it.
void Unplug()
{
    if (outputCount == 0) return;
    Say("unplugged");
    for (Layer* layer : layers)
        if (layer) zwlr_layer_surface_v1_send_closed(layer->resource);
    wl_global_destroy(outputs[0]);
    memmove(outputs, outputs + 1, sizeof outputs[0] * size_t(--outputCount));
}

wl_global* seatGlobal;
void BindSeat(wl_client* client, void*, uint32_t version, uint32_t id);

void Reseat()
{
    wl_global_destroy(seatGlobal);
    seat.pointer = seat.relative = nullptr;
    seat.focus = nullptr;
    seatGlobal = wl_global_create(display, &wl_seat_interface, 5, nullptr, BindSeat);
}

wl_event_source* commands;

int OnCommand(int fd, uint32_t, void*)
{
    static char line[4096];
    static size_t length;
    ssize_t got = read(fd, line + length, sizeof line - 1 - length);
    if (got <= 0) {
        wl_event_source_remove(commands);
        return 0;
    }
    length += size_t(got);
    line[length] = 0;
    char* start = line;
    for (char* end; (end = strchr(start, '\n')); start = end + 1) {
        *end = 0;
        double dx, dy;
        if (sscanf(start, "by %lf %lf", &dx, &dy) == 2) MoveBy(dx, dy);
        if (strcmp(start, "down") == 0 || strcmp(start, "up") == 0) Press(start[0] == 'd');
        if (strcmp(start, "plug") == 0) Plug();
        if (strcmp(start, "unplug") == 0) Unplug();
        if (strcmp(start, "reseat") == 0) Reseat();
    }
    length -= size_t(start - line);
    memmove(line, start, length);
    return 0;
}

void ForgetPointer(wl_resource* resource)
{
    if (seat.pointer == resource) seat.pointer = nullptr;
}

void ForgetRelative(wl_resource* resource)
{
    if (seat.relative == resource) seat.relative = nullptr;
}

const struct wl_pointer_interface pointerImplementation = {Ignore, Destroy};

void GetPointer(wl_client* client, wl_resource* resource, uint32_t id)
{
    seat.pointer =
        wl_resource_create(client, &wl_pointer_interface, wl_resource_get_version(resource), id);
    wl_resource_set_implementation(seat.pointer, &pointerImplementation, nullptr, ForgetPointer);
    seat.focus = nullptr;
    Refocus();
}

const struct wl_seat_interface seatImplementation = {GetPointer, Ignore, Ignore, Destroy};

void BindSeat(wl_client* client, void*, uint32_t version, uint32_t id)
{
    wl_resource* resource = wl_resource_create(client, &wl_seat_interface, int(version), id);
    wl_resource_set_implementation(resource, &seatImplementation, nullptr, nullptr);
    wl_seat_send_capabilities(resource, WL_SEAT_CAPABILITY_POINTER);
}

const struct zwp_relative_pointer_v1_interface relativeImplementation = {Destroy};

void GetRelative(wl_client* client, wl_resource*, uint32_t id, wl_resource*)
{
    seat.relative = wl_resource_create(client, &zwp_relative_pointer_v1_interface, 1, id);
    wl_resource_set_implementation(seat.relative, &relativeImplementation, nullptr, ForgetRelative);
}

const struct zwp_relative_pointer_manager_v1_interface relativeManagerImplementation = {
    Destroy, GetRelative};

void BindRelative(wl_client* client, void*, uint32_t, uint32_t id)
{
    wl_resource* resource =
        wl_resource_create(client, &zwp_relative_pointer_manager_v1_interface, 1, id);
    wl_resource_set_implementation(resource, &relativeManagerImplementation, nullptr, nullptr);
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
        const char* styles[] = {"", "seat=sway", "seat=kwin", "seat=labwc"};
        for (int style = SWAY; style <= LABWC; ++style)
            if (strcmp(argv[i], styles[style]) == 0) options.seat = Style(style);
    }
    display = wl_display_create();
    if (argc < 2 || !display || wl_display_add_socket(display, argv[1]) != 0) return 1;
    wl_global_create(display, &wl_compositor_interface, options.oldCompositor ? 3 : 4, nullptr,
                     BindCompositor);
    if (!options.plain) {
        if (!options.noShm) wl_global_create(display, &wl_shm_interface, 1, nullptr, BindShm);
        Plug();
        // Version 1 alone: the oldest a compositor may offer.
        wl_global_create(display, &zwlr_layer_shell_v1_interface, 1, nullptr, BindShell);
    }
    if (options.seat) {
        seatGlobal = wl_global_create(display, &wl_seat_interface, 5, nullptr, BindSeat);
        wl_global_create(display, &zwp_relative_pointer_manager_v1_interface, 1, nullptr,
                         BindRelative);
        commands = wl_event_loop_add_fd(wl_display_get_event_loop(display), 0, WL_EVENT_READABLE,
                                        OnCommand, nullptr);
    }
    Say("ready");
    wl_display_run(display);
    return 0;
}
