// The Wayland floor: the least a layer-shell program with garvo's job could cost. Two overlay
// surfaces of garvo's sizes, each given one white picture once, a 500 ms timer that takes the same
// sample the gauge takes, and nothing drawn again; libwayland-client opened as the gauge opens it.
#include "../unix/timer.h"
#include "../unix/memory_source.h"

#include "../wayland/layer_shell.h"

#include <poll.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

static wl_compositor* compositor;
static wl_shm* shm;
static zwlr_layer_shell_v1* shell;

static void OnGlobal(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    if (strcmp(interface, wl_compositor_interface.name) == 0)
        compositor = static_cast<wl_compositor*>(
            wl_registry_bind(registry, name, &wl_compositor_interface, 4));
    if (strcmp(interface, wl_shm_interface.name) == 0)
        shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    if (strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0)
        shell = static_cast<zwlr_layer_shell_v1*>(
            wl_registry_bind(registry, name, &zwlr_layer_shell_v1_interface, 2));
}

static void OnGlobalRemove(void*, wl_registry*, uint32_t) {}
static const wl_registry_listener registryListener = {OnGlobal, OnGlobalRemove};

struct Floor {
    wl_surface* surface;
    int width, height, top;
    bool shown;
};

static void OnConfigure(void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t,
                        uint32_t)
{
    Floor& floor = *static_cast<Floor*>(data);
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    if (floor.shown) return;
    floor.shown = true;
    size_t size = size_t(floor.width) * floor.height * 4;
    int fd = memfd_create("floor", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, off_t(size)) != 0) return;
    void* pixels = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    memset(pixels, 0xff, size);
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, int(size));
    wl_buffer* buffer = wl_shm_pool_create_buffer(pool, 0, floor.width, floor.height,
                                                  floor.width * 4, WL_SHM_FORMAT_XRGB8888);
    close(fd);
    wl_surface_attach(floor.surface, buffer, 0, 0);
    wl_surface_damage_buffer(floor.surface, 0, 0, floor.width, floor.height);
    wl_surface_commit(floor.surface);
}

static void OnClosed(void*, zwlr_layer_surface_v1*) {}
static const zwlr_layer_surface_v1_listener layerListener = {OnConfigure, OnClosed};

static void MakeSurface(Floor& floor)
{
    floor.surface = wl_compositor_create_surface(compositor);
    zwlr_layer_surface_v1* layer = zwlr_layer_shell_v1_get_layer_surface(
        shell, floor.surface, nullptr, ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "floor");
    zwlr_layer_surface_v1_add_listener(layer, &layerListener, &floor);
    zwlr_layer_surface_v1_set_size(layer, uint32_t(floor.width), uint32_t(floor.height));
    zwlr_layer_surface_v1_set_anchor(layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP |
                                                ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT);
    zwlr_layer_surface_v1_set_exclusive_zone(layer, -1);
    zwlr_layer_surface_v1_set_margin(layer, floor.top, 0, 0, 200);
    wl_surface_commit(floor.surface);
}

int main()
{
    setpriority(PRIO_PROCESS, 0, 10);
    char why[160];
    if (!wayland::OpenClientLibrary(why, sizeof why)) return 1;
    wl_display* display = wl_display_connect(nullptr);
    if (!display) return 1;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, nullptr);
    wl_display_roundtrip(display);
    if (!compositor || !shm || !shell) return 1;
    Floor box = {nullptr, 126, 24, 276, false}, bar = {nullptr, 126, 6, 300, false};
    MakeSurface(box);
    MakeSurface(bar);
    OpenMemorySource();
    pollfd connection = {wl_display_get_fd(display), POLLIN, 0};
    long long due = NowMs() + 500;
    for (;;) {
        long long now = NowMs();
        if (now >= due) {
            due = now + 500;
            SampleMemoryLoad();
        }
        while (wl_display_prepare_read(display) != 0)
            wl_display_dispatch_pending(display);
        wl_display_flush(display);
        connection.revents = 0;
        poll(&connection, 1, int(due - now));
        if (connection.revents & POLLIN)
            wl_display_read_events(display);
        else
            wl_display_cancel_read(display);
        if (wl_display_dispatch_pending(display) < 0) return 0;
    }
}
