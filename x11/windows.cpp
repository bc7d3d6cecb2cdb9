// Creates the two windows: the bar, and the hover box that stays unmapped until it is needed.
#include "gauge.h"
#include "meter_state.h"

#include "../app/settings_rules.h"
#include "../meter/meter.h"

#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/Xrandr.h>

void ScreenSize(int& width, int& height)
{
    Display* display = meter.display;
    width = DisplayWidth(display, DefaultScreen(display));
    height = DisplayHeight(display, DefaultScreen(display));
    int event, error, count = 0;
    if (!XRRQueryExtension(display, &event, &error)) return;
    XRRMonitorInfo* monitors = XRRGetMonitors(display, meter.root, True, &count);
    for (int i = 0; i < count; ++i) {
        if (!monitors[i].primary) continue;
        width = monitors[i].width;
        height = monitors[i].height;
    }
    if (monitors) XRRFreeMonitors(monitors);
}

// A colour as close to the layout's 0x00BBGGRR as the screen shows.
static unsigned long PixelFor(MeterColour colour)
{
    XColor exact = {};
    exact.red = uint16_t((colour & 0xff) * 257);
    exact.green = uint16_t((colour >> 8 & 0xff) * 257);
    exact.blue = uint16_t((colour >> 16 & 0xff) * 257);
    exact.flags = DoRed | DoGreen | DoBlue;
    XAllocColor(meter.display, DefaultColormap(meter.display, DefaultScreen(meter.display)),
                &exact);
    return exact.pixel;
}

static Window CreateMeterWindow(int x, int y, int width, int height, Cursor arrow)
{
    Display* display = meter.display;
    XSetWindowAttributes attributes = {};
    // Pop-ups of garvo's own: no window manager frames, places, focuses or stacks them.
    attributes.override_redirect = True;
    // Every paint covers the whole window, so the server need not clear it first.
    attributes.background_pixmap = None;
    attributes.cursor = arrow;
    attributes.event_mask =
        ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask;
    Window window =
        XCreateWindow(display, meter.root, x, y, unsigned(width), unsigned(height), 0,
                      CopyFromParent, InputOutput, CopyFromParent,
                      CWOverrideRedirect | CWBackPixmap | CWCursor | CWEventMask, &attributes);
    XStoreName(display, window, "garvow");
    XClassHint names = {const_cast<char*>("garvow"), const_cast<char*>("garvowclass")};
    XSetClassHint(display, window, &names);
    XWMHints hints = {};
    hints.flags = InputHint;
    hints.input = False; // never the keyboard focus
    XSetWMHints(display, window, &hints);
    return window;
}

void CreateMeterWindows()
{
    Display* display = meter.display;
    int screen = DefaultScreen(display);
    // With no saved position the bar starts in the top-left corner, as a pop-up does on Windows.
    int x = meter.barX == UNSET_X ? 0 : meter.barX;
    int y = meter.barX == UNSET_X ? 0 : meter.barY;
    Cursor arrow = XCreateFontCursor(display, XC_left_ptr);
    meter.info = CreateMeterWindow(x, y - INFO_HEIGHT, INFO_WIDTH, INFO_HEIGHT, arrow);
    meter.bar = CreateMeterWindow(x, y, BAR_WIDTH, BAR_HEIGHT, arrow);
    meter.barLeft = x;
    meter.barTop = y;

    unsigned depth = unsigned(DefaultDepth(display, screen));
    meter.barImage = XCreatePixmap(display, meter.bar, BAR_WIDTH, BAR_HEIGHT, depth);
    meter.infoImage = XCreatePixmap(display, meter.info, INFO_WIDTH, INFO_HEIGHT, depth);
    // Copies come from garvo's own pixmaps, always whole: no exposure events are wanted back.
    XGCValues values = {};
    values.graphics_exposures = False;
    meter.gc = XCreateGC(display, meter.bar, GCGraphicsExposures, &values);
    meter.font = XQueryFont(display, XGContextFromGC(meter.gc));
    meter.black = BlackPixel(display, screen);
    meter.white = WhitePixel(display, screen);
    meter.blue = PixelFor(COLOUR_BLUE);
    meter.red = PixelFor(COLOUR_RED);

    // Other windows' restacking is watched, to stay above them.
    XSelectInput(display, meter.root, SubstructureNotifyMask);
    XMapRaised(display, meter.bar);
    PaintBar(); // the first sample, before the first tick
    ArmTimer(meter.refresh, NowMs());
}
