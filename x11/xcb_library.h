// XCB and its RandR library as the X11 front end uses them, opened only when X11 is tried, so
// that a Wayland session maps neither. Included in place of their headers: every call of theirs
// below goes through the function looked up when they were opened.
#pragma once

#include <stddef.h>
#include <xcb/randr.h>
#include <xcb/xcb.h>

// The libraries' functions the front end calls, each with the library it is in, XCB's first; and
// RandR's extension, which the requests to it name.
#define GARVO_XCB_FUNCTIONS(F)                                                                     \
    F(XCB, xcb_connect)                                                                            \
    F(XCB, xcb_disconnect)                                                                         \
    F(XCB, xcb_connection_has_error)                                                               \
    F(XCB, xcb_get_setup)                                                                          \
    F(XCB, xcb_get_file_descriptor)                                                                \
    F(XCB, xcb_get_maximum_request_length)                                                         \
    F(XCB, xcb_get_extension_data)                                                                 \
    F(XCB, xcb_generate_id)                                                                        \
    F(XCB, xcb_flush)                                                                              \
    F(XCB, xcb_poll_for_event)                                                                     \
    F(XCB, xcb_poll_for_queued_event)                                                              \
    F(XCB, xcb_create_window)                                                                      \
    F(XCB, xcb_change_window_attributes)                                                           \
    F(XCB, xcb_change_property)                                                                    \
    F(XCB, xcb_configure_window)                                                                   \
    F(XCB, xcb_map_window)                                                                         \
    F(XCB, xcb_unmap_window)                                                                       \
    F(XCB, xcb_create_colormap)                                                                    \
    F(XCB, xcb_create_gc)                                                                          \
    F(XCB, xcb_create_pixmap)                                                                      \
    F(XCB, xcb_free_pixmap)                                                                        \
    F(XCB, xcb_put_image)                                                                          \
    F(XCB, xcb_copy_area)                                                                          \
    F(XCB, xcb_get_geometry)                                                                       \
    F(XCB, xcb_get_geometry_reply)                                                                 \
    F(XCB, xcb_get_property)                                                                       \
    F(XCB, xcb_get_property_reply)                                                                 \
    F(XCB, xcb_get_window_attributes)                                                              \
    F(XCB, xcb_get_window_attributes_reply)                                                        \
    F(XCB, xcb_query_tree)                                                                         \
    F(XCB, xcb_query_tree_reply)                                                                   \
    F(RANDR, xcb_randr_query_version)                                                              \
    F(RANDR, xcb_randr_query_version_reply)                                                        \
    F(RANDR, xcb_randr_select_input)                                                               \
    F(RANDR, xcb_randr_get_monitors)                                                               \
    F(RANDR, xcb_randr_get_monitors_reply)                                                         \
    F(RANDR, xcb_randr_id)

namespace x11
{

enum XcbFunction {
#define GARVO_XCB_ENTRY(library, name) XCB_##name,
    GARVO_XCB_FUNCTIONS(GARVO_XCB_ENTRY)
#undef GARVO_XCB_ENTRY
        XCB_FUNCTIONS
};

extern void* xcbFunctions[XCB_FUNCTIONS];

// Opens both; false, with why, when either is not there or lacks a function.
bool OpenXcb(char* why, size_t size);
// Unmaps them again, once no connection of theirs is left.
void CloseXcb();

} // namespace x11

// A function of theirs, as their headers declare it.
#define GARVO_XCB(name) (reinterpret_cast<decltype(&::name)>(x11::xcbFunctions[x11::XCB_##name]))

#define xcb_connect GARVO_XCB(xcb_connect)
#define xcb_disconnect GARVO_XCB(xcb_disconnect)
#define xcb_connection_has_error GARVO_XCB(xcb_connection_has_error)
#define xcb_get_setup GARVO_XCB(xcb_get_setup)
#define xcb_get_file_descriptor GARVO_XCB(xcb_get_file_descriptor)
#define xcb_get_maximum_request_length GARVO_XCB(xcb_get_maximum_request_length)
#define xcb_get_extension_data GARVO_XCB(xcb_get_extension_data)
#define xcb_generate_id GARVO_XCB(xcb_generate_id)
#define xcb_flush GARVO_XCB(xcb_flush)
#define xcb_poll_for_event GARVO_XCB(xcb_poll_for_event)
#define xcb_poll_for_queued_event GARVO_XCB(xcb_poll_for_queued_event)
#define xcb_create_window GARVO_XCB(xcb_create_window)
#define xcb_change_window_attributes GARVO_XCB(xcb_change_window_attributes)
#define xcb_change_property GARVO_XCB(xcb_change_property)
#define xcb_configure_window GARVO_XCB(xcb_configure_window)
#define xcb_map_window GARVO_XCB(xcb_map_window)
#define xcb_unmap_window GARVO_XCB(xcb_unmap_window)
#define xcb_create_colormap GARVO_XCB(xcb_create_colormap)
#define xcb_create_gc GARVO_XCB(xcb_create_gc)
#define xcb_create_pixmap GARVO_XCB(xcb_create_pixmap)
#define xcb_free_pixmap GARVO_XCB(xcb_free_pixmap)
#define xcb_put_image GARVO_XCB(xcb_put_image)
#define xcb_copy_area GARVO_XCB(xcb_copy_area)
#define xcb_get_geometry GARVO_XCB(xcb_get_geometry)
#define xcb_get_geometry_reply GARVO_XCB(xcb_get_geometry_reply)
#define xcb_get_property GARVO_XCB(xcb_get_property)
#define xcb_get_property_reply GARVO_XCB(xcb_get_property_reply)
#define xcb_get_window_attributes GARVO_XCB(xcb_get_window_attributes)
#define xcb_get_window_attributes_reply GARVO_XCB(xcb_get_window_attributes_reply)
#define xcb_query_tree GARVO_XCB(xcb_query_tree)
#define xcb_query_tree_reply GARVO_XCB(xcb_query_tree_reply)
#define xcb_randr_query_version GARVO_XCB(xcb_randr_query_version)
#define xcb_randr_query_version_reply GARVO_XCB(xcb_randr_query_version_reply)
#define xcb_randr_select_input GARVO_XCB(xcb_randr_select_input)
#define xcb_randr_get_monitors GARVO_XCB(xcb_randr_get_monitors)
#define xcb_randr_get_monitors_reply GARVO_XCB(xcb_randr_get_monitors_reply)
#define xcb_randr_id (*reinterpret_cast<xcb_extension_t*>(x11::xcbFunctions[x11::XCB_xcb_randr_id]))
