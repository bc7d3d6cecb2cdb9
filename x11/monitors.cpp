// RandR monitors. Monitors came with RandR 1.5; on an older server, or one without RandR, the
// screen is the one monitor.
#include "monitors.h"

#include "connection.h"
#include "replies.h"

#include <stdlib.h>

namespace x11
{

static int randrEvent = -1; // the first RandR event's number, or -1 without RandR 1.5
static bool asked;

static bool HasMonitors()
{
    if (asked) return randrEvent >= 0;
    asked = true;
    xcb_connection_t* c = server.connection;
    // A request to an extension the server lacks would end the connection: asked first.
    const xcb_query_extension_reply_t* randr = xcb_get_extension_data(c, &xcb_randr_id);
    if (!randr) CheckConnection();
    if (!randr || !randr->present) return false;
    xcb_randr_query_version_reply_t* version =
        xcb_randr_query_version_reply(c, xcb_randr_query_version(c, 1, 5), nullptr);
    if (!version) CheckConnection();
    if (version && version->major_version * 100 + version->minor_version >= 105) {
        randrEvent = randr->first_event;
        xcb_randr_select_input(c, server.root,
                               XCB_RANDR_NOTIFY_MASK_SCREEN_CHANGE |
                                   XCB_RANDR_NOTIFY_MASK_CRTC_CHANGE |
                                   XCB_RANDR_NOTIFY_MASK_OUTPUT_CHANGE);
    }
    free(version);
    return randrEvent >= 0;
}

void ReadMonitors(MonitorList& monitors)
{
    monitors.count = 1;
    monitors.primary = 0;
    monitors.rects[0] = {0, 0, server.width, server.height};
    if (!HasMonitors()) return;
    xcb_connection_t* c = server.connection;
    xcb_randr_get_monitors_reply_t* found =
        xcb_randr_get_monitors_reply(c, xcb_randr_get_monitors(c, server.root, 1), nullptr);
    if (!found) return CheckConnection();
    MonitorList listed;
    ReadMonitorsReply(reinterpret_cast<const uint8_t*>(found), ReplyLength(found), listed);
    free(found);
    // A server that lists none still has its screen.
    if (listed.count > 0) monitors = listed;
}

bool IsMonitorChange(const xcb_generic_event_t& event)
{
    int type = event.response_type & 0x7f;
    return randrEvent >= 0 && (type == randrEvent + XCB_RANDR_SCREEN_CHANGE_NOTIFY ||
                               type == randrEvent + XCB_RANDR_NOTIFY);
}

} // namespace x11
