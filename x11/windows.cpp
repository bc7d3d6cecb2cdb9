// Creates the two windows, the bar and the hover box that stays unmapped until it is needed, at
// the scale and on the monitor the desktop gives.
#include "gauge.h"
#include "meter_state.h"
#include "scale.h"

#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/Xrandr.h>
#include <stdlib.h>

// Magnifying needs the Render extension's transforms; without them garvo draws at scale 1.
static bool CanMagnify()
{
    int event, error, major = 0, minor = 0;
    return XRenderQueryExtension(meter.display, &event, &error) &&
           XRenderQueryVersion(meter.display, &major, &minor) && major * 100 + minor >= 6;
}

void ReadScale()
{
    Display* display = meter.display;
    int screen = DefaultScreen(display);
    meter.scale = ScaleFor(getenv("GDK_SCALE"), XResourceManagerString(display),
                           DisplayWidth(display, screen), DisplayHeight(display, screen));
    if (meter.scale > 1 && !CanMagnify()) meter.scale = 1;
}

int ReadMonitors(MeterRect (&monitors)[MAX_MONITORS], int& primary)
{
    Display* display = meter.display;
    primary = 0;
    monitors[0] = {0, 0, DisplayWidth(display, DefaultScreen(display)),
                   DisplayHeight(display, DefaultScreen(display))};
    // Monitors came with RandR 1.5; an older server would refuse the request.
    int event, error, major = 0, minor = 0, count = 0;
    if (!XRRQueryExtension(display, &event, &error) || !XRRQueryVersion(display, &major, &minor) ||
        major * 100 + minor < 105)
        return 1;
    XRRMonitorInfo* found = XRRGetMonitors(display, meter.root, True, &count);
    int kept = 0;
    primary = -1;
    for (int i = 0; i < count && kept < MAX_MONITORS; ++i) {
        const XRRMonitorInfo& m = found[i];
        if (m.width <= 0 || m.height <= 0) continue;
        if (m.primary) primary = kept;
        monitors[kept++] = {m.x, m.y, m.x + m.width, m.y + m.height};
    }
    if (found) XRRFreeMonitors(found);
    if (kept > 0) return kept;
    primary = 0;
    return 1;
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
    Window window = XCreateWindow(
        display, meter.root, x, y, unsigned(width * meter.scale), unsigned(height * meter.scale), 0,
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

// Pictures that show a window's image magnified, pixel for pixel: each pixel becomes a square.
static void PrepareMagnifying(Pixmap image, Window window, Picture& source, Picture& target)
{
    Display* display = meter.display;
    XRenderPictFormat* format =
        XRenderFindVisualFormat(display, DefaultVisual(display, DefaultScreen(display)));
    XRenderPictureAttributes attributes = {};
    attributes.graphics_exposures = False;
    source = XRenderCreatePicture(display, image, format, CPGraphicsExposure, &attributes);
    target = XRenderCreatePicture(display, window, format, 0, nullptr);
    XFixed shrink = XFixed(65536 / meter.scale);
    XTransform transform = {{{shrink, 0, 0}, {0, shrink, 0}, {0, 0, 65536}}};
    XRenderSetPictureTransform(display, source, &transform);
    XRenderSetPictureFilter(display, source, const_cast<char*>(FilterNearest), nullptr, 0);
}

static void ShowImage(Pixmap image, Picture source, Window window, Picture target, int width,
                      int height)
{
    if (meter.scale == 1)
        XCopyArea(meter.display, image, window, meter.gc, 0, 0, unsigned(width), unsigned(height),
                  0, 0);
    else
        XRenderComposite(meter.display, PictOpSrc, source, None, target, 0, 0, 0, 0, 0, 0,
                         unsigned(width * meter.scale), unsigned(height * meter.scale));
}

void ShowBarImage()
{
    ShowImage(meter.barImage, meter.barSource, meter.bar, meter.barTarget, BAR_WIDTH, BAR_HEIGHT);
}

void ShowInfoImage()
{
    ShowImage(meter.infoImage, meter.infoSource, meter.info, meter.infoTarget, INFO_WIDTH,
              INFO_HEIGHT);
}

void CreateMeterWindows()
{
    Display* display = meter.display;
    int screen = DefaultScreen(display);
    Cursor arrow = XCreateFontCursor(display, XC_left_ptr);
    meter.infoLeft = meter.barLeft;
    meter.infoTop = meter.barTop - INFO_HEIGHT * meter.scale;
    meter.info = CreateMeterWindow(meter.infoLeft, meter.infoTop, INFO_WIDTH, INFO_HEIGHT, arrow);
    meter.bar = CreateMeterWindow(meter.barLeft, meter.barTop, BAR_WIDTH, BAR_HEIGHT, arrow);

    unsigned depth = unsigned(DefaultDepth(display, screen));
    meter.barImage = XCreatePixmap(display, meter.bar, BAR_WIDTH, BAR_HEIGHT, depth);
    meter.infoImage = XCreatePixmap(display, meter.info, INFO_WIDTH, INFO_HEIGHT, depth);
    if (meter.scale > 1) {
        PrepareMagnifying(meter.barImage, meter.bar, meter.barSource, meter.barTarget);
        PrepareMagnifying(meter.infoImage, meter.info, meter.infoSource, meter.infoTarget);
    }
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
    RefreshBar(); // the first sample, before the first tick
    ArmTimer(meter.refresh, NowMs());
}
