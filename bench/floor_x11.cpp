// The native floor: the least an X11 program with garvo's job could cost, on the same library.
// Two windows of garvo's sizes and kind (times GDK_SCALE, as garvo's are), the monitors read from
// RandR, the bar shown with one picture put, and a 500 ms timer that takes the same sample the
// gauge takes.
#include "../unix/memory_source.h"

#include <poll.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <time.h>
#include <xcb/randr.h>
#include <xcb/xcb.h>

static long long NowMs()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

static xcb_window_t CreateWindow(xcb_connection_t* c, xcb_window_t root, int width, int height)
{
    xcb_window_t window = xcb_generate_id(c);
    const uint32_t values[3] = {XCB_BACK_PIXMAP_NONE, 1,
                                XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS |
                                    XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION |
                                    XCB_EVENT_MASK_ENTER_WINDOW};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, root, 200, 300, uint16_t(width),
                      uint16_t(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                      XCB_CW_BACK_PIXMAP | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    return window;
}

int main()
{
    setpriority(PRIO_PROCESS, 0, 10);
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) return 1;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const char* asked = getenv("GDK_SCALE");
    int scale = asked && atoi(asked) > 0 ? atoi(asked) : 1;
    CreateWindow(c, screen->root, 126 * scale, 24 * scale);
    xcb_window_t bar = CreateWindow(c, screen->root, 126 * scale, 6 * scale);
    const uint32_t watch = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &watch);
    free(xcb_randr_get_monitors_reply(c, xcb_randr_get_monitors(c, screen->root, 1), nullptr));
    xcb_map_window(c, bar);
    // One picture, as the gauge puts its first.
    static uint32_t picture[126 * 6 * 64];
    xcb_gcontext_t gc = xcb_generate_id(c);
    xcb_create_gc(c, gc, bar, 0, nullptr);
    xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, bar, gc, uint16_t(126 * scale), uint16_t(6 * scale),
                  0, 0, 0, screen->root_depth, uint32_t(126 * 6 * 4 * scale * scale),
                  reinterpret_cast<uint8_t*>(picture));
    xcb_flush(c);
    OpenMemorySource();
    pollfd connection = {xcb_get_file_descriptor(c), POLLIN, 0};
    long long due = NowMs() + 500;
    // Read only when the wait says there is something to read, as garvo does.
    for (;;) {
        if (connection.revents) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
                bool quit = (event->response_type & 0x7f) == XCB_BUTTON_RELEASE &&
                            reinterpret_cast<xcb_button_release_event_t*>(event)->detail == 3;
                free(event);
                if (quit) return 0;
            }
            if (xcb_connection_has_error(c)) return 0;
        }
        long long now = NowMs();
        if (now >= due) {
            due = now + 500;
            SampleMemoryLoad();
        }
        connection.revents = 0;
        poll(&connection, 1, int(due - now));
    }
}
