// Opening the display, the visual the pictures go out in, its end, and the desktop's scale.
#include "connection.h"

#include "replies.h"
#include "scale.h"

#include "../unix/front_end.h"
#include "../unix/render.h"

#include <stdio.h>
#include <stdlib.h>

namespace x11
{

Server server;

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
    const uint8_t* setup = reinterpret_cast<const uint8_t*>(xcb_get_setup(connection));
    Screen screen;
    if (!ReadSetup(setup, SetupLength(setup), number, screen, why, size)) {
        xcb_disconnect(connection);
        return false;
    }
    server.connection = connection;
    server.root = screen.root;
    server.width = screen.width;
    server.height = screen.height;
    server.depth = screen.depth;
    server.visual = screen.visual;
    server.format = screen.format;
    if (!screen.rootVisual) {
        server.colormap = xcb_generate_id(connection);
        xcb_create_colormap(connection, XCB_COLORMAP_ALLOC_NONE, server.colormap, server.root,
                            server.visual);
    }
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
    int length = property ? ReadText(reinterpret_cast<const uint8_t*>(property),
                                     ReplyLength(property), XCB_ATOM_STRING, text)
                          : 0;
    double scale = ScaleFor(getenv("GDK_SCALE"), text, length, server.width, server.height);
    free(property);
    if (scale > MAX_SCALE) scale = MAX_SCALE;
    bool changed = scale != server.scale;
    server.scale = scale;
    return changed;
}

} // namespace x11
