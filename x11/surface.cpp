// The gauge's windows: override-redirect, so that no window manager frames, places, focuses or
// stacks them, and painted only from the pictures garvo keeps on the server.
#include "surface.h"

#include "connection.h"

#include <string.h>

namespace x11
{

Surface bar, box;

static xcb_gcontext_t gc; // made with the first window, in the windows' depth

Surface& SurfaceOf(SurfaceId surface)
{
    return surface == BAR ? bar : box;
}

static uint16_t Width(const MeterRect& at)
{
    return uint16_t(at.right - at.left);
}

static uint16_t Height(const MeterRect& at)
{
    return uint16_t(at.bottom - at.top);
}

static void SetText(xcb_window_t window, xcb_atom_t property, const char* text, size_t length)
{
    xcb_change_property(server.connection, XCB_PROP_MODE_REPLACE, window, property, XCB_ATOM_STRING,
                        8, uint32_t(length), text);
}

static xcb_pixmap_t CreateImage(const Surface& surface, const MeterRect& at)
{
    xcb_pixmap_t image = xcb_generate_id(server.connection);
    xcb_create_pixmap(server.connection, server.depth, image, surface.window, Width(at),
                      Height(at));
    return image;
}

void CreateSurface(Surface& surface, const MeterRect& at)
{
    xcb_connection_t* c = server.connection;
    // Every paint covers the whole window, so the server need not clear it first; no cursor of
    // its own, so the root's shows over it.
    const uint32_t events = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS |
                            XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION |
                            XCB_EVENT_MASK_ENTER_WINDOW | XCB_EVENT_MASK_LEAVE_WINDOW;
    // A visual other than the root's takes a border pixel and a colormap of its own.
    bool own = server.colormap != 0;
    uint32_t mask = XCB_CW_BACK_PIXMAP | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK;
    if (own) mask |= XCB_CW_BORDER_PIXEL | XCB_CW_COLORMAP;
    uint32_t values[5], count = 0; // in the order of the mask's bits
    values[count++] = XCB_BACK_PIXMAP_NONE;
    if (own) values[count++] = 0;
    values[count++] = 1;
    values[count++] = events;
    if (own) values[count++] = server.colormap;
    uint8_t depth = own ? server.depth : uint8_t(XCB_COPY_FROM_PARENT);
    xcb_visualid_t visual = own ? server.visual : xcb_visualid_t(XCB_COPY_FROM_PARENT);
    surface.window = xcb_generate_id(c);
    xcb_create_window(c, depth, surface.window, server.root, int16_t(at.left), int16_t(at.top),
                      Width(at), Height(at), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, visual, mask,
                      values);
    SetText(surface.window, XCB_ATOM_WM_NAME, "garvow", 6);
    static const char NAMES[] = "garvow\0garvowclass"; // the instance and the class
    SetText(surface.window, XCB_ATOM_WM_CLASS, NAMES, sizeof NAMES);
    // WM_HINTS with only the input hint, false: never the keyboard focus.
    const uint32_t hints[9] = {1, 0};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, surface.window, XCB_ATOM_WM_HINTS,
                        XCB_ATOM_WM_HINTS, 32, 9, hints);
    if (!gc) {
        gc = xcb_generate_id(c);
        // Pictures come from garvo's own pixmaps, always whole: no exposure events are wanted.
        const uint32_t noExposures = 0;
        xcb_create_gc(c, gc, surface.window, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
    }
    surface.image = CreateImage(surface, at);
    surface.at = at;
}

void PlaceSurface(Surface& surface, const MeterRect& at)
{
    xcb_connection_t* c = server.connection;
    bool resized = Width(at) != Width(surface.at) || Height(at) != Height(surface.at);
    bool moved = at.left != surface.at.left || at.top != surface.at.top;
    if (resized) {
        xcb_free_pixmap(c, surface.image);
        surface.image = CreateImage(surface, at);
    }
    if (resized || moved) {
        const uint32_t place[4] = {uint32_t(at.left), uint32_t(at.top), Width(at), Height(at)};
        uint16_t mask = XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y;
        if (resized) mask |= XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT;
        surface.lastMove = xcb_configure_window(c, surface.window, mask, place).sequence;
    }
    surface.at = at;
}

void KeepSize(Surface& surface)
{
    const uint32_t size[2] = {Width(surface.at), Height(surface.at)};
    surface.lastMove =
        xcb_configure_window(server.connection, surface.window,
                             XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size)
            .sequence;
}

// The picture in as few requests as the server takes, each within its longest request.
static void PutCanvas(xcb_pixmap_t target, const Canvas& canvas)
{
    static uint8_t rows[64 * 1024]; // converted rows: touched only as far as a picture needs
    xcb_connection_t* c = server.connection;
    const PixelFormat& format = server.format;
    bool native = IsNative(format);
    uint32_t stride = uint32_t(RowBytes(format, canvas.width));
    uint32_t room = xcb_get_maximum_request_length(c) * 4 - sizeof(xcb_put_image_request_t);
    if (!native && room > sizeof rows) room = sizeof rows;
    int most = room / stride > 0 ? int(room / stride) : 1;
    for (int y = 0; y < canvas.height; y += most) {
        int count = canvas.height - y < most ? canvas.height - y : most;
        const uint32_t* from = canvas.pixels + y * canvas.width;
        const uint8_t* data = reinterpret_cast<const uint8_t*>(from);
        if (!native) {
            for (int row = 0; row < count; ++row)
                ConvertRow(format, from + row * canvas.width, canvas.width, rows + row * stride);
            data = rows;
        }
        xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, target, gc, uint16_t(canvas.width),
                      uint16_t(count), 0, int16_t(y), 0, server.depth, uint32_t(count) * stride,
                      data);
    }
}

void ShowCanvas(Surface& surface, const Canvas& canvas, const char* words)
{
    PutCanvas(surface.image, canvas);
    if (words) SetText(surface.window, XCB_ATOM_WM_NAME, words, strlen(words));
    if (surface.shown) Repaint(surface);
}

void Repaint(const Surface& surface)
{
    xcb_copy_area(server.connection, surface.image, surface.window, gc, 0, 0, 0, 0,
                  Width(surface.at), Height(surface.at));
}

void ShowSurface(Surface& surface)
{
    surface.shown = true;
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(server.connection, surface.window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_map_window(server.connection, surface.window);
    Repaint(surface);
}

void HideSurface(Surface& surface)
{
    surface.shown = false;
    xcb_unmap_window(server.connection, surface.window);
}

void StackAbove(const Surface& surface, xcb_window_t sibling)
{
    const uint32_t changes[2] = {sibling, XCB_STACK_MODE_ABOVE};
    xcb_configure_window(server.connection, surface.window,
                         XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE, changes);
}

} // namespace x11
