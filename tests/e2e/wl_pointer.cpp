// A pointer for the Wayland tests, as xdotool is for the X11 ones: one virtual pointer kept for
// the whole script, driven by lines on standard input, each answered "ok" once the compositor
// has it. "move X Y" (global logical), "rel DX DY", "down B", "up B", "click B"; B is 1 (left) or
// 3 (right). wlroots' virtual pointer where the compositor has it, else KWin's fake input, which
// KWin offers only to a client of its own user.
//   wl_pointer WIDTH HEIGHT   (the size of the outputs' layout, for absolute moves)
#include "../../unix/timer.h"
#include "wlr-virtual-pointer.h"
#ifdef GARVO_FAKE_INPUT
#include "fake-input.h"
#endif

#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wayland-client.h>

static zwlr_virtual_pointer_manager_v1* manager;
static wl_seat* seat;
static zwlr_virtual_pointer_v1* pointer;
#ifdef GARVO_FAKE_INPUT
static org_kde_kwin_fake_input* fake;
#endif
static uint32_t width, height;

static void Move(int x, int y)
{
    if (pointer)
        zwlr_virtual_pointer_v1_motion_absolute(pointer, uint32_t(NowMs()), uint32_t(x),
                                                uint32_t(y), width, height);
#ifdef GARVO_FAKE_INPUT
    else
        org_kde_kwin_fake_input_pointer_motion_absolute(fake, wl_fixed_from_int(x),
                                                        wl_fixed_from_int(y));
#endif
}

static void MoveBy(int dx, int dy)
{
    if (pointer)
        zwlr_virtual_pointer_v1_motion(pointer, uint32_t(NowMs()), wl_fixed_from_int(dx),
                                       wl_fixed_from_int(dy));
#ifdef GARVO_FAKE_INPUT
    else
        org_kde_kwin_fake_input_pointer_motion(fake, wl_fixed_from_int(dx), wl_fixed_from_int(dy));
#endif
}

static void Button(uint32_t button, uint32_t state)
{
    if (pointer) zwlr_virtual_pointer_v1_button(pointer, uint32_t(NowMs()), button, state);
#ifdef GARVO_FAKE_INPUT
    else
        org_kde_kwin_fake_input_button(fake, button, state);
#endif
}

// Ends what was said as one frame of the pointer's, where the pointer has frames.
static void Frame()
{
    if (pointer) zwlr_virtual_pointer_v1_frame(pointer);
}

static void OnGlobal(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    if (strcmp(interface, wl_seat_interface.name) == 0 && !seat)
        seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
#ifdef GARVO_FAKE_INPUT
    if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0)
        fake = static_cast<org_kde_kwin_fake_input*>(
            wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4));
#endif
}

static void OnGlobalRemove(void*, wl_registry*, uint32_t) {}

static const wl_registry_listener listener = {OnGlobal, OnGlobalRemove};

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: wl_pointer WIDTH HEIGHT\n");
        return 2;
    }
    width = uint32_t(atoi(argv[1]));
    height = uint32_t(atoi(argv[2]));
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        fprintf(stderr, "wl_pointer: no Wayland display\n");
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, nullptr);
    wl_display_roundtrip(display);
    if (manager && seat)
        pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
#ifdef GARVO_FAKE_INPUT
    else if (fake)
        org_kde_kwin_fake_input_authenticate(fake, "garvo's tests", "to drive the gauge");
#endif
    else {
        fprintf(stderr, "wl_pointer: the compositor has no virtual pointer\n");
        return 1;
    }
    char line[128], verb[16];
    int a, b;
    while (fgets(line, sizeof line, stdin)) {
        int count = sscanf(line, "%15s %d %d", verb, &a, &b);
        uint32_t button = count >= 2 && a == 3 ? BTN_RIGHT : BTN_LEFT;
        if (count == 3 && strcmp(verb, "move") == 0)
            Move(a, b);
        else if (count == 3 && strcmp(verb, "rel") == 0)
            MoveBy(a, b);
        else if (count == 2 && (strcmp(verb, "down") == 0 || strcmp(verb, "click") == 0))
            Button(button, WL_POINTER_BUTTON_STATE_PRESSED);
        else if (count != 2 || strcmp(verb, "up") != 0) {
            printf("unknown: %s", line);
            fflush(stdout);
            continue;
        }
        if (strcmp(verb, "up") == 0 || strcmp(verb, "click") == 0) {
            if (strcmp(verb, "click") == 0) {
                Frame();
                wl_display_roundtrip(display);
            }
            Button(button, WL_POINTER_BUTTON_STATE_RELEASED);
        }
        Frame();
        if (wl_display_roundtrip(display) < 0) return 1;
        printf("ok\n");
        fflush(stdout);
    }
    return 0;
}
