// The compositor's outputs, each with its place and size in the global logical space that the
// settings file's x and y are kept in.
#pragma once

#include "../unix/placement.h"

#include <stdint.h>

struct wl_output;
struct zxdg_output_v1;
struct zxdg_output_manager_v1;

namespace wayland
{

struct Output {
    uint32_t name; // the registry's; 0 for a free slot
    wl_output* output;
    zxdg_output_v1* xdg;
    int x, y, width, height;   // logical
    int modeWidth, modeHeight; // device pixels, for a compositor without xdg-output
    int scale;                 // the output's whole scale
};

extern Output outputs[MAX_MONITORS];
// An output came, went or changed since the gauge last looked.
extern bool outputsChanged;

// Takes in an output the registry announced; true when it was taken.
bool AddOutput(uint32_t name, wl_output* output, zxdg_output_manager_v1* manager);
// Asks each output for its logical place, once the manager is known.
void WatchOutputs(zxdg_output_manager_v1* manager);
// True when the global was one of the outputs.
bool RemoveOutput(uint32_t name);
// The outputs that have a size, as monitors; which[i] is the output of monitors.rects[i].
void ListOutputs(MonitorList& monitors, Output* (&which)[MAX_MONITORS]);

} // namespace wayland
