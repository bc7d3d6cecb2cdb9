// The table the gauge drives Wayland through, and the wait on the compositor's connection.
#include "wayland_front_end.h"

#include "client.h"

#include "globals.h"
#include "outputs.h"
#include "pointer.h"
#include "surface.h"

#include "../unix/ending.h"
#include "../unix/timer.h"

#include <errno.h>
#include <initializer_list>
#include <poll.h>
#include <stdio.h>
#include <string.h>

namespace wayland
{

static void ReadMonitors(MonitorList& monitors)
{
    ListOutputs(monitors);
}

// Wayland's global space is logical already.
static double LayoutScale()
{
    return 1;
}

static double PictureScale(SurfaceId surface)
{
    return SurfaceScale(SurfaceOf(surface));
}

// Sizes are logical, and so never change: a place is margins, or another output.
static void Place(SurfaceId id, const MeterRect& at)
{
    Surface& surface = SurfaceOf(id);
    surface.at = at;
    Sync(surface, NowMs());
}

static void ShowPicture(SurfaceId id, const Canvas& picture, const char*)
{
    Surface& surface = SurfaceOf(id);
    surface.redraw = false;
    ShowCanvas(surface, picture);
}

static void Show(SurfaceId id)
{
    Surface& surface = SurfaceOf(id);
    surface.wanted = true;
    Sync(surface, NowMs());
}

static void Hide(SurfaceId id)
{
    Surface& surface = SurfaceOf(id);
    surface.wanted = false;
    Sync(surface, NowMs());
}

// The connection ended: a compositor that went away, as at a logout, or one that ended it over an
// error, which is named as libwayland has it: a protocol error on an object, or an error on the
// display itself (an object or a request it did not know, no memory).
[[noreturn]] static void Lost()
{
    int error = wl_display_get_error(wl.display);
    if (error == 0 || error == EPIPE || error == ECONNRESET) DisplayLost(nullptr);
    const wl_interface* interface = nullptr;
    uint32_t id = 0;
    uint32_t code = wl_display_get_protocol_error(wl.display, &interface, &id);
    static char reason[160];
    if (interface || error == EPROTO)
        snprintf(reason, sizeof reason,
                 "the compositor ended the connection: protocol error %u on %s@%u", code,
                 interface ? interface->name : "an unknown object", id);
    else
        snprintf(reason, sizeof reason, "the Wayland connection failed: %s", strerror(error));
    DisplayLost(reason);
}

// What the events changed, told to the gauge once they are all dispatched.
static void Report(int64_t now)
{
    if (outputsChanged) {
        outputsChanged = false;
        bool scales = outputScaleChanged;
        outputScaleChanged = false;
        // Outputs that change are a fresh start for surfaces the compositor closed.
        for (Surface* surface : {&bar, &box}) {
            surface->reopenAt = 0;
            surface->backOffMs = 0;
            if (scales && !surface->objects.viewport) surface->redraw = true;
            Sync(*surface, now);
        }
        MonitorsChanged();
    }
    CheckPointerSurface();
    for (Surface* surface : {&bar, &box}) {
        if (surface->closed || (surface->wanted && !surface->objects.surface)) Sync(*surface, now);
        if (surface->redraw && surface->objects.surface) {
            surface->redraw = false;
            ScaleChanged(Which(*surface));
        }
    }
}

static void WaitForEvents(int64_t timeoutMs)
{
    wl_display* display = wl.display;
    DestroyRetired();
    int64_t now = NowMs();
    Report(now);
    for (Surface* surface : {&bar, &box}) {
        if (!surface->wanted || surface->objects.surface || !surface->reopenAt) continue;
        int64_t wait = surface->reopenAt > now ? surface->reopenAt - now : 0;
        if (timeoutMs < 0 || wait < timeoutMs) timeoutMs = wait;
    }
    while (wl_display_prepare_read(display) != 0)
        if (wl_display_dispatch_pending(display) < 0) Lost();
    // A compositor that ended the connection over an error may have sent why: a flush that
    // finds the connection closed leaves it to be read.
    if (wl_display_flush(display) < 0 && errno != EAGAIN && errno != EPIPE) {
        wl_display_cancel_read(display);
        Lost();
    }
    pollfd connection = {wl_display_get_fd(display), POLLIN, 0};
    poll(&connection, 1, int(timeoutMs));
    if (connection.revents & POLLIN) {
        if (wl_display_read_events(display) < 0) Lost();
    } else {
        wl_display_cancel_read(display);
        if (connection.revents & (POLLERR | POLLHUP)) Lost();
    }
    if (wl_display_dispatch_pending(display) < 0) Lost();
    Report(NowMs());
}

} // namespace wayland

using namespace wayland;

bool OpenWayland(FrontEnd& frontEnd, char* why, size_t size)
{
    if (!ConnectWayland(why, size)) return false;
    // What the outputs and the seats say of themselves.
    WatchOutputs(wl.outputManager);
    wl_display_roundtrip(wl.display);
    outputsChanged = outputScaleChanged = false;
    frontEnd = {ReadMonitors, LayoutScale, PictureScale,  Place, ShowPicture,
                Show,         Hide,        WaitForEvents, true};
    return true;
}
