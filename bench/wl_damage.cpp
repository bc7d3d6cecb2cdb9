// Counts how often the compositor paints a region of its first output anew, from screen copies
// that each wait for new damage: "repaints N region M" over the seconds given, the first copy
// (the whole output) not counted.
//   wl_damage SECONDS X Y WIDTH HEIGHT
#include "../unix/timer.h"
#include "wlr-screencopy.h"

#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

static zwlr_screencopy_manager_v1* manager;
static wl_output* output;
static wl_shm* shm;
static wl_buffer* buffer;
static int regionX, regionY, regionWidth, regionHeight;
static int state; // 0 waiting, 1 ready, -1 failed
static bool hit;

static void OnGlobal(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    if (strcmp(interface, zwlr_screencopy_manager_v1_interface.name) == 0)
        manager = static_cast<zwlr_screencopy_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_screencopy_manager_v1_interface, 2));
    if (strcmp(interface, wl_output_interface.name) == 0 && !output)
        output = static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, 1));
    if (strcmp(interface, wl_shm_interface.name) == 0)
        shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
}

static void OnGlobalRemove(void*, wl_registry*, uint32_t) {}
static const wl_registry_listener registryListener = {OnGlobal, OnGlobalRemove};

static void OnBuffer(void*, zwlr_screencopy_frame_v1* frame, uint32_t format, uint32_t width,
                     uint32_t height, uint32_t stride)
{
    if (!buffer) {
        int fd = memfd_create("damage", MFD_CLOEXEC);
        if (fd < 0 || ftruncate(fd, off_t(stride) * height) != 0) exit(1);
        wl_shm_pool* pool = wl_shm_create_pool(shm, fd, int(stride * height));
        buffer = wl_shm_pool_create_buffer(pool, 0, int(width), int(height), int(stride), format);
        close(fd);
    }
    zwlr_screencopy_frame_v1_copy_with_damage(frame, buffer);
}

static void OnFlags(void*, zwlr_screencopy_frame_v1*, uint32_t) {}

static void OnReady(void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t)
{
    state = 1;
}

static void OnFailed(void*, zwlr_screencopy_frame_v1*)
{
    state = -1;
}

static void OnDamage(void*, zwlr_screencopy_frame_v1*, uint32_t x, uint32_t y, uint32_t width,
                     uint32_t height)
{
    hit = hit || (int(x) < regionX + regionWidth && int(x + width) > regionX &&
                  int(y) < regionY + regionHeight && int(y + height) > regionY);
}

// Filled in by main: newer libraries' listeners have members for later versions' events.
static zwlr_screencopy_frame_v1_listener frameListener;

int main(int argc, char** argv)
{
    if (argc != 6) {
        fprintf(stderr, "usage: wl_damage SECONDS X Y WIDTH HEIGHT\n");
        return 2;
    }
    frameListener.buffer = OnBuffer;
    frameListener.flags = OnFlags;
    frameListener.ready = OnReady;
    frameListener.failed = OnFailed;
    frameListener.damage = OnDamage;
    regionX = atoi(argv[2]);
    regionY = atoi(argv[3]);
    regionWidth = atoi(argv[4]);
    regionHeight = atoi(argv[5]);
    wl_display* display = wl_display_connect(nullptr);
    if (!display) return 1;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, nullptr);
    wl_display_roundtrip(display);
    if (!manager || !output || !shm) return 1;
    long long end = NowMs() + atoll(argv[1]) * 1000;
    int repaints = -1, region = -1; // the first copy is of the whole output
    pollfd connection = {wl_display_get_fd(display), POLLIN, 0};
    while (NowMs() < end) {
        state = 0;
        hit = false;
        zwlr_screencopy_frame_v1* frame =
            zwlr_screencopy_manager_v1_capture_output(manager, 0, output);
        zwlr_screencopy_frame_v1_add_listener(frame, &frameListener, nullptr);
        wl_display_flush(display);
        while (state == 0 && NowMs() < end) {
            if (wl_display_dispatch_pending(display) < 0) return 1;
            wl_display_flush(display);
            connection.revents = 0;
            poll(&connection, 1, int(end - NowMs() > 0 ? end - NowMs() : 0));
            if ((connection.revents & POLLIN) && wl_display_dispatch(display) < 0) return 1;
        }
        zwlr_screencopy_frame_v1_destroy(frame);
        if (state != 1) break;
        ++repaints;
        region += hit;
    }
    printf("repaints %d region %d\n", repaints < 0 ? 0 : repaints, region < 0 ? 0 : region);
    return 0;
}
