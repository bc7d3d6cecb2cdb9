// Outputs as wl_output and xdg-output describe them.
#include "outputs.h"

#include "client.h"

#include "xdg-output.h"

namespace wayland
{

Output outputs[MAX_MONITORS];
bool outputsChanged, outputScaleChanged;

static void OnGeometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t,
                       const char*, const char*, int32_t)
{
    Output& output = *static_cast<Output*>(data);
    if (output.xdg) return;
    output.x = x;
    output.y = y;
}

static void OnMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t)
{
    if (!(flags & WL_OUTPUT_MODE_CURRENT)) return;
    Output& output = *static_cast<Output*>(data);
    output.modeWidth = width;
    output.modeHeight = height;
}

static void OnDone(void* data, wl_output*)
{
    Output& output = *static_cast<Output*>(data);
    if (!output.xdg && output.scale > 0) {
        output.width = output.modeWidth / output.scale;
        output.height = output.modeHeight / output.scale;
    }
    if (output.scale != output.doneScale) outputScaleChanged = true;
    output.doneScale = output.scale;
    outputsChanged = true;
}

static void OnScale(void* data, wl_output*, int32_t factor)
{
    static_cast<Output*>(data)->scale = factor;
}

static void OnOutputName(void*, wl_output*, const char*) {}
static void OnOutputDescription(void*, wl_output*, const char*) {}

static const wl_output_listener outputListener = {OnGeometry, OnMode,       OnDone,
                                                  OnScale,    OnOutputName, OnOutputDescription};

static void OnLogicalPosition(void* data, zxdg_output_v1*, int32_t x, int32_t y)
{
    Output& output = *static_cast<Output*>(data);
    output.x = x;
    output.y = y;
}

static void OnLogicalSize(void* data, zxdg_output_v1*, int32_t width, int32_t height)
{
    Output& output = *static_cast<Output*>(data);
    output.width = width;
    output.height = height;
}

static void OnXdgDone(void*, zxdg_output_v1*)
{
    outputsChanged = true;
}

static void OnName(void*, zxdg_output_v1*, const char*) {}
static void OnDescription(void*, zxdg_output_v1*, const char*) {}

static const zxdg_output_v1_listener xdgListener = {OnLogicalPosition, OnLogicalSize, OnXdgDone,
                                                    OnName, OnDescription};

static void Watch(Output& output, zxdg_output_manager_v1* manager)
{
    if (output.xdg || !manager) return;
    output.xdg = zxdg_output_manager_v1_get_xdg_output(manager, output.output);
    zxdg_output_v1_add_listener(output.xdg, &xdgListener, &output);
}

bool AddOutput(uint32_t name, wl_output* wlOutput, zxdg_output_manager_v1* manager)
{
    for (Output& output : outputs) {
        if (output.name) continue;
        output = {name, wlOutput, nullptr, 0, 0, 0, 0, 0, 0, 1, 1};
        wl_output_add_listener(wlOutput, &outputListener, &output);
        Watch(output, manager);
        outputsChanged = true;
        return true;
    }
    wl_output_destroy(wlOutput);
    return false;
}

void WatchOutputs(zxdg_output_manager_v1* manager)
{
    for (Output& output : outputs)
        if (output.name) Watch(output, manager);
}

bool RemoveOutput(uint32_t name)
{
    for (Output& output : outputs) {
        if (output.name != name) continue;
        if (output.xdg) zxdg_output_v1_destroy(output.xdg);
        wl_output_destroy(output.output);
        output = {};
        outputsChanged = true;
        return true;
    }
    return false;
}

void ListOutputs(MonitorList& monitors, Output** which)
{
    monitors.count = 0;
    monitors.primary = -1;
    for (Output& output : outputs) {
        if (!output.name || output.width <= 0 || output.height <= 0) continue;
        if (which) which[monitors.count] = &output;
        monitors.rects[monitors.count++] = RectAt(output.x, output.y, output.width, output.height);
    }
    // The first output the compositor announced stands in for a primary one.
    if (monitors.count > 0) monitors.primary = 0;
}

Output* OutputFor(int32_t x, int32_t y)
{
    MonitorList monitors;
    Output* which[MAX_MONITORS];
    ListOutputs(monitors, which);
    int at = NearestMonitor(monitors, x, y);
    return at >= 0 ? which[at] : nullptr;
}

} // namespace wayland
