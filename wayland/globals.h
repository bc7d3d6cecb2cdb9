// The Wayland connection and the compositor's globals that the gauge uses.
#pragma once

#include <stddef.h>
#include <stdint.h>

struct wl_display;
struct wl_registry;
struct wl_compositor;
struct wl_shm;
struct zwlr_layer_shell_v1;
struct zxdg_output_manager_v1;
struct wp_viewporter;
struct wp_fractional_scale_manager_v1;
struct zwp_relative_pointer_manager_v1;

namespace wayland
{

struct Globals {
    wl_display* display;
    wl_registry* registry;
    wl_compositor* compositor;
    wl_shm* shm;
    zwlr_layer_shell_v1* layerShell;
    zxdg_output_manager_v1* outputManager;
    wp_viewporter* viewporter;
    wp_fractional_scale_manager_v1* fractionalScale; // absent where the compositor has none
    zwp_relative_pointer_manager_v1* relativePointer;
    uint32_t compositorVersion; // what its surfaces may be asked: buffer scale from 3, damage in
                                // buffer pixels from 4
};

extern Globals wl;

// Connects to the compositor that WAYLAND_DISPLAY names and learns its globals; what they say of
// themselves comes with the next roundtrip. False, with why in `why`, when there is none, or when
// it lacks a global the gauge cannot do without, which is named.
bool ConnectWayland(char* why, size_t size);

} // namespace wayland
