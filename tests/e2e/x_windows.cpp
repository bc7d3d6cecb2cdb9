// Other programs' windows, for the tests of how garvo keeps itself on top:
//   x_windows menu X Y W H     an override-redirect window, as menus and tooltips are, in green
//   x_windows raiser X Y W H   an ordinary window, in magenta, that raises itself whenever another
//                              window is restacked, printing "raised" each time
// Each prints "shown" once it is on the screen, and runs until killed.
#include <X11/Xlib.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 6) return 2;
    bool menu = std::strcmp(argv[1], "menu") == 0;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1;
    Window root = DefaultRootWindow(display);
    XSetWindowAttributes attributes = {};
    attributes.override_redirect = menu;
    attributes.background_pixel = menu ? 0x00FF00 : 0xFF00FF;
    Window window =
        XCreateWindow(display, root, atoi(argv[2]), atoi(argv[3]), unsigned(atoi(argv[4])),
                      unsigned(atoi(argv[5])), 0, CopyFromParent, InputOutput, CopyFromParent,
                      CWOverrideRedirect | CWBackPixel, &attributes);
    XStoreName(display, window, argv[1]);
    if (!menu) XSelectInput(display, root, SubstructureNotifyMask);
    XMapRaised(display, window);
    XSync(display, False);
    std::printf("shown\n");
    std::fflush(stdout);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        Window other = event.type == ConfigureNotify ? event.xconfigure.window
                       : event.type == MapNotify     ? event.xmap.window
                                                     : window;
        if (other == window) continue;
        XRaiseWindow(display, window);
        XFlush(display);
        std::printf("raised\n");
        std::fflush(stdout);
    }
}
