// One of the gauge's two layer surfaces, the bar or the box: on the overlay layer of one output,
// anchored at its top-left corner and placed by margins, showing pictures from shared memory.
#pragma once

#include "../unix/render.h"

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

struct Surface {
    int width, height; // logical: the Windows image's pixels
    wl_surface* surface;
    zwlr_layer_surface_v1* layer;
    wp_viewport* viewport;
    wp_fractional_scale_v1* fractional;
    Output* output;
    int left, top;         // where it stands, in the global logical space
    double preferredScale; // the compositor's fractional scale for it, or 0
    bool configured;       // it may show a picture
    bool closed;           // the compositor took it away
    bool dirty;            // its picture has yet to be shown
    // Two buffers in one pool, for pictures of that size in device pixels.
    wl_shm_pool* pool;
    uint32_t* memory;
    int bufferWidth, bufferHeight;
    Buffer buffers[2];
};

extern Surface bar, box;

// Makes the surface on that output with its corner at that global place; it shows a picture once
// the compositor has configured it.
void OpenSurface(Surface& surface, Output* output, int left, int top);
void CloseSurface(Surface& surface);
bool IsOpen(const Surface& surface);
// Moves it on its output, margins and all.
void MoveSurface(Surface& surface, int left, int top);
// Device pixels to one of its logical pixels.
double SurfaceScale(const Surface& surface);
// Shows a picture drawn at SurfaceScale; false when both buffers are still the compositor's.
bool ShowCanvas(Surface& surface, const Canvas& canvas);

} // namespace wayland
