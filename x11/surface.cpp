// The gauge's windows: override-redirect, so that no window manager frames, places, focuses or
// stacks them, and painted only from the pictures garvo keeps on the server.
#include "surface.h"

#include "connection.h"

#include <X11/Xutil.h>
#include <X11/cursorfont.h>

namespace x11
{

Surface bar, box;

Surface& SurfaceOf(SurfaceId surface)
{
    return surface == BAR ? bar : box;
}

static unsigned Width(const MeterRect& at)
{
    return unsigned(at.right - at.left);
}

static unsigned Height(const MeterRect& at)
{
    return unsigned(at.bottom - at.top);
}

void CreateSurface(Surface& surface, const MeterRect& at)
{
    Display* display = server.display;
    static Cursor arrow = XCreateFontCursor(display, XC_left_ptr);
    XSetWindowAttributes attributes = {};
    attributes.override_redirect = True;
    // Every paint covers the whole window, so the server need not clear it first.
    attributes.background_pixmap = None;
    attributes.cursor = arrow;
    attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            EnterWindowMask | LeaveWindowMask;
    surface.window =
        XCreateWindow(display, server.root, at.left, at.top, Width(at), Height(at), 0,
                      CopyFromParent, InputOutput, CopyFromParent,
                      CWOverrideRedirect | CWBackPixmap | CWCursor | CWEventMask, &attributes);
    XStoreName(display, surface.window, "garvow");
    XClassHint names = {const_cast<char*>("garvow"), const_cast<char*>("garvowclass")};
    XSetClassHint(display, surface.window, &names);
    XWMHints hints = {};
    hints.flags = InputHint;
    hints.input = False; // never the keyboard focus
    XSetWMHints(display, surface.window, &hints);
    surface.image =
        XCreatePixmap(display, surface.window, Width(at), Height(at), unsigned(server.depth));
    surface.at = at;
}

void PlaceSurface(Surface& surface, const MeterRect& at)
{
    Display* display = server.display;
    bool resized = Width(at) != Width(surface.at) || Height(at) != Height(surface.at);
    if (resized) {
        XFreePixmap(display, surface.image);
        surface.image =
            XCreatePixmap(display, surface.window, Width(at), Height(at), unsigned(server.depth));
        XMoveResizeWindow(display, surface.window, at.left, at.top, Width(at), Height(at));
    } else if (at.left != surface.at.left || at.top != surface.at.top) {
        XMoveWindow(display, surface.window, at.left, at.top);
    }
    surface.at = at;
}

void ShowCanvas(Surface& surface, const Canvas& canvas, const char* words)
{
    // The canvas as the server's true-colour pixels are laid out: 0x00RRGGBB in 32 bits.
    XImage image = {};
    image.width = canvas.width;
    image.height = canvas.height;
    image.format = ZPixmap;
    image.data = reinterpret_cast<char*>(canvas.pixels);
    image.byte_order = LSBFirst;
    image.bitmap_unit = 32;
    image.bitmap_bit_order = LSBFirst;
    image.bitmap_pad = 32;
    image.depth = server.depth;
    image.bytes_per_line = canvas.width * 4;
    image.bits_per_pixel = 32;
    image.red_mask = 0xff0000;
    image.green_mask = 0xff00;
    image.blue_mask = 0xff;
    XInitImage(&image);
    XPutImage(server.display, surface.image, server.gc, &image, 0, 0, 0, 0, unsigned(canvas.width),
              unsigned(canvas.height));
    if (words) XStoreName(server.display, surface.window, words);
    if (surface.shown) Repaint(surface);
}

void Repaint(const Surface& surface)
{
    XCopyArea(server.display, surface.image, surface.window, server.gc, 0, 0, Width(surface.at),
              Height(surface.at), 0, 0);
}

void ShowSurface(Surface& surface)
{
    surface.shown = true;
    XMapRaised(server.display, surface.window);
    Repaint(surface);
}

void HideSurface(Surface& surface)
{
    surface.shown = false;
    XUnmapWindow(server.display, surface.window);
}

} // namespace x11
