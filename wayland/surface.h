// One of the gauge's two layer surfaces, the bar or the box: on the overlay layer of the output its
// corner belongs on, anchored at that output's top-left corner and placed by margins, showing
// pictures from shared memory.
#pragma once

#include "../unix/front_end.h"

#include <stdint.h>

struct wl_buffer;
struct wl_shm_pool;
struct wl_surface;
struct zwlr_layer_surface_v1;
struct wp_viewport;
struct wp_fractional_scale_v1;

namespace wayland
{

struct Output;

struct Buffer {
    wl_buffer* buffer;
    uint32_t* pixels;
    bool busy; // the compositor still reads it
};

// The protocol objects of one layer surface, made and let go together.
struct Layer {
    wl_surface* surface;
    zwlr_layer_surface_v1* layer;
    wp_viewport* viewport;
    wp_fractional_scale_v1* fractional;
};

struct Surface {
    MeterRect at; // where the gauge put it, in the global logical space
    bool wanted;  // the gauge shows it
    Layer objects;
    Output* output;      // the one it is on, while it is open
    uint32_t outputName; // that output's name in the registry, which a slot let go of loses
    int32_t marginLeft, marginTop;
    // The corners it stood at lately, latest first: a compositor may measure the pointer against
    // any of them, its own view of the surface lagging the gauge's moves.
    int32_t pastLeft[8], pastTop[8];
    int pastCount;
    double preferredScale; // the compositor's fractional scale for it, or 0
    bool configured;       // it may show a picture
    bool closed;           // the compositor took it away: it is opened again only later
    int64_t reopenAt, backOffMs;
    bool redraw;       // its picture is to be drawn again, at a new scale or for a lost one
    double drawnScale; // the scale its latest picture was drawn at
    // Two buffers in one pool, for pictures of that size in device pixels; the latest picture's,
    // plus one (0 for none), and whether the surface shows it yet.
    wl_shm_pool* pool;
    uint32_t* memory;
    int bufferWidth, bufferHeight;
    Buffer buffers[2];
    int latest;
    bool attached;
};

extern Surface bar, box;

Surface& SurfaceOf(SurfaceId surface);
SurfaceId Which(const Surface& surface);
// The surface a wl_surface is, or none.
Surface* Find(wl_surface* surface);
// Brings the compositor's side in line with what the gauge wants: opened on the output its corner
// belongs on (a new output takes a new layer surface), moved by its margins, or let go.
void Sync(Surface& surface, int64_t now);
// Device pixels to one of its logical pixels; for a surface not shown yet, the scale it will be
// shown at where it is placed.
double SurfaceScale(const Surface& surface);
// Puts a picture drawn at SurfaceScale in a free buffer, and on the surface once it may show one.
void ShowCanvas(Surface& surface, const Canvas& canvas);
// Layer surfaces let go of during event dispatch are destroyed here, outside it: libwayland keeps a
// proxy that queued events still name.
void DestroyRetired();

} // namespace wayland
