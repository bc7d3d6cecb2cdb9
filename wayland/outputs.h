// The compositor's outputs, each with its place and size in the global logical space that the
// gauge's coordinates and the settings file's x and y are kept in.
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
    int32_t x, y, width, height;   // logical
    int32_t modeWidth, modeHeight; // device pixels, for a compositor without xdg-output
    int32_t scale, doneScale;      // the output's whole scale, as sent and as last done
};

extern Output outputs[MAX_MONITORS];
// An output came, went or changed since the gauge last looked; one changed its whole scale.
extern bool outputsChanged, outputScaleChanged;

// Takes in an output the registry announced; true when it was taken.
bool AddOutput(uint32_t name, wl_output* output, zxdg_output_manager_v1* manager);
// Asks each output for its logical place, once the manager is known.
void WatchOutputs(zxdg_output_manager_v1* manager);
// True when the global was one of the outputs.
bool RemoveOutput(uint32_t name);
// The outputs that have a size, as monitors, each cut to the 32-bit space, which an output at its
// very edge may reach past; which[i], where asked for, is the output of monitors.rects[i].
void ListOutputs(MonitorList& monitors, Output** which = nullptr);
// The output a point belongs on, as the bar's corner does: the one that holds it, else the
// nearest; none when there is no output.
Output* OutputFor(int32_t x, int32_t y);

} // namespace wayland
