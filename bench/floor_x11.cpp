// The native floor: the least an X11 program with garvo's job could cost. Two windows of garvo's
// sizes and kind (times GDK_SCALE, as garvo's are), the bar shown, a 500 ms timer that takes the
// same sample the gauge takes, and nothing drawn.
#include "../unix/memory_source.h"

#include <X11/Xlib.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <time.h>

static long long NowMs()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

static Window CreateWindow(Display* display, int width, int height)
{
    XSetWindowAttributes attributes = {};
    attributes.override_redirect = True;
    attributes.background_pixmap = None;
    attributes.event_mask =
        ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask;
    return XCreateWindow(display, DefaultRootWindow(display), 200, 300, unsigned(width),
                         unsigned(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                         CWOverrideRedirect | CWBackPixmap | CWEventMask, &attributes);
}

int main()
{
    setpriority(PRIO_PROCESS, 0, 10);
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1;
    const char* asked = getenv("GDK_SCALE");
    int scale = asked && atoi(asked) > 0 ? atoi(asked) : 1;
    CreateWindow(display, 126 * scale, 24 * scale);
    Window bar = CreateWindow(display, 126 * scale, 6 * scale);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XMapRaised(display, bar);
    OpenMemorySource();
    pollfd connection = {ConnectionNumber(display), POLLIN, 0};
    long long due = NowMs() + 500;
    // Read only when the wait says there is something to read, as garvo does.
    bool readable = true;
    for (;;) {
        while (readable && XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ButtonRelease && event.xbutton.button == Button3) return 0;
        }
        long long now = NowMs();
        if (now >= due) {
            due = now + 500;
            SampleMemoryLoad();
        }
        connection.revents = 0;
        poll(&connection, 1, int(due - now));
        readable = connection.revents != 0;
    }
}
