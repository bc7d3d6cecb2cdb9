// A Wayland compositor that offers nothing but wl_compositor, as GNOME and Weston offer no layer
// shell: for the tests of which display the gauge chooses.
//   wl_plain SOCKET   (in XDG_RUNTIME_DIR; says "ready" once it listens)
#include <stdio.h>
#include <wayland-server.h>

static void Bind(wl_client* client, void*, uint32_t version, uint32_t id)
{
    wl_resource_create(client, &wl_compositor_interface, int(version), id);
}

int main(int argc, char** argv)
{
    wl_display* display = wl_display_create();
    if (argc != 2 || !display || wl_display_add_socket(display, argv[1]) != 0) return 1;
    wl_global_create(display, &wl_compositor_interface, 4, nullptr, Bind);
    printf("ready\n");
    fflush(stdout);
    wl_display_run(display);
    return 0;
}
