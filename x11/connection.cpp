// Opening the display, the visual the pictures go out in, its end, and the desktop's scale.
#include "connection.h"

#include "scale.h"

#include "../unix/front_end.h"
#include "../unix/render.h"

#include <stdio.h>
#include <stdlib.h>

namespace x11
{

Server server;

// The root's visual where it is TrueColor, else the first TrueColor one of any depth.
static const xcb_visualtype_t* ChooseVisual(const xcb_screen_t* screen, uint8_t& depth)
{
    const xcb_visualtype_t* chosen = nullptr;
    for (auto d = xcb_screen_allowed_depths_iterator(screen); d.rem; xcb_depth_next(&d)) {
        for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v)) {
            if (v.data->_class != XCB_VISUAL_CLASS_TRUE_COLOR) continue;
            if (v.data->visual_id == screen->root_visual || !chosen) {
                chosen = v.data;
                depth = d.data->depth;
            }
        }
    }
    return chosen;
}

static void ReadFormat(const xcb_setup_t* setup, const xcb_visualtype_t& visual, uint8_t depth)
{
    server.format = {visual.red_mask,
                     visual.green_mask,
                     visual.blue_mask,
                     32,
                     32,
                     setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST};
    for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f)) {
        if (f.data->depth != depth) continue;
        server.format.bitsPerPixel = f.data->bits_per_pixel;
        server.format.scanlinePad = f.data->scanline_pad;
    }
}

bool OpenConnection(char* why, size_t size)
{
    int number = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &number);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        const char* name = getenv("DISPLAY");
        if (name && *name)
            snprintf(why, size, "cannot open the X display \"%s\"", name);
        else
            snprintf(why, size, "DISPLAY is not set");
        return false;
    }
    const xcb_setup_t* setup = xcb_get_setup(connection);
    auto screens = xcb_setup_roots_iterator(setup);
    for (; number > 0 && screens.rem > 1; --number)
        xcb_screen_next(&screens);
    const xcb_screen_t* screen = screens.data;
    uint8_t depth = 0;
    const xcb_visualtype_t* visual = screen ? ChooseVisual(screen, depth) : nullptr;
    if (!visual) {
        xcb_disconnect(connection);
        snprintf(why, size, "the X display has no TrueColor visual to draw in");
        return false;
    }
    server.connection = connection;
    server.root = screen->root;
    server.width = screen->width_in_pixels;
    server.height = screen->height_in_pixels;
    server.depth = depth;
    server.visual = visual->visual_id;
    if (visual->visual_id != screen->root_visual) {
        server.colormap = xcb_generate_id(connection);
        xcb_create_colormap(connection, XCB_COLORMAP_ALLOC_NONE, server.colormap, server.root,
                            server.visual);
    }
    ReadFormat(setup, *visual, depth);
    return true;
}

void CheckConnection()
{
    switch (xcb_connection_has_error(server.connection)) {
    case 0: return;
    case XCB_CONN_ERROR: DisplayLost(nullptr); // the server went away, as at a logout
    case XCB_CONN_CLOSED_EXT_NOTSUPPORTED:
        DisplayLost("the X connection broke: an extension the server lacks");
    case XCB_CONN_CLOSED_MEM_INSUFFICIENT: DisplayLost("the X connection broke: out of memory");
    case XCB_CONN_CLOSED_REQ_LEN_EXCEED:
        DisplayLost("the X connection broke: a request longer than the server takes");
    default: DisplayLost("the X connection broke: the server's data could not be read");
    }
}

void ReadScreenSize()
{
    xcb_get_geometry_reply_t* root = xcb_get_geometry_reply(
        server.connection, xcb_get_geometry(server.connection, server.root), nullptr);
    if (!root) return CheckConnection();
    server.width = root->width;
    server.height = root->height;
    free(root);
}

bool ReadScale()
{
    xcb_connection_t* c = server.connection;
    xcb_get_property_reply_t* property = xcb_get_property_reply(
        c,
        xcb_get_property(c, 0, server.root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0, 65536),
        nullptr);
    if (!property) CheckConnection();
    const char* text = "";
    int length = 0;
    if (property && property->type == XCB_ATOM_STRING && property->format == 8) {
        text = static_cast<const char*>(xcb_get_property_value(property));
        length = xcb_get_property_value_length(property);
    }
    double scale = ScaleFor(getenv("GDK_SCALE"), text, length, server.width, server.height);
    free(property);
    if (scale > MAX_SCALE) scale = MAX_SCALE;
    bool changed = scale != server.scale;
    server.scale = scale;
    return changed;
}

} // namespace x11
