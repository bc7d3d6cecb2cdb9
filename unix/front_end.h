// The contract between the gauge and a display front end. The gauge holds every rule of what the
// bar and the box do; a front end only shows the pictures it is given where it is told, and
// reports what the user and the display did. The gauge's coordinates are the display's global
// space: the root window's pixels on X11, the logical space of all outputs on Wayland.
#pragma once

#include "placement.h"
#include "render.h"

#include <stdint.h>

enum SurfaceId { BAR, BOX };

enum Button { LEFT_BUTTON, RIGHT_BUTTON, OTHER_BUTTON };

// What a front end provides, as a table of functions filled in when its display opens.
struct FrontEnd {
    // The display's monitors in the gauge's coordinates; none while it has none.
    void (*readMonitors)(MonitorList& monitors);
    // The gauge's units for one pixel of the Windows image's: what a surface's size in the gauge's
    // coordinates follows. X11's scale, since its coordinates are device pixels; 1 on Wayland,
    // whose coordinates are already scaled.
    double (*layoutScale)();
    // Device pixels for one pixel of the Windows image's on that surface: what its picture is
    // drawn at. For a hidden surface, the scale it will be shown at where it is placed, so that a
    // picture given before it shows is drawn once.
    double (*pictureScale)(SurfaceId surface);
    // Puts the surface at that rectangle; a shown one moves there, and takes that size.
    void (*placeSurface)(SurfaceId surface, const MeterRect& where);
    // Gives the surface a picture drawn at its picture scale, and the words it shows, for a
    // display that names its windows; shown at once where the surface is shown.
    void (*showPicture)(SurfaceId surface, const Canvas& picture, const char* words);
    // Shows the surface above every other window, or takes it off the screen.
    void (*showSurface)(SurfaceId surface);
    void (*hideSurface)(SurfaceId surface);
    // Waits until the display has something to report, or `timeoutMs` has passed (-1: no limit),
    // and reports it through the functions below. Returns at once when an ending signal arrives.
    void (*waitForEvents)(int64_t timeoutMs);
    // A surface shows on one monitor only (a Wayland output): the gauge keeps a dragged surface
    // on the monitor it started on until the button comes up.
    bool surfacesKeepToOneMonitor;
};

// What a front end reports to the gauge, from inside waitForEvents.

// The pointer came over a surface, at that point in the gauge's coordinates.
void PointerEntered(SurfaceId surface, double x, double y);
// The pointer moved to that point: over a surface, or anywhere while a button holds it.
void PointerMoved(double x, double y);
// A button went down over a surface; `timeMs` is the display's clock, which may wrap.
void PointerPressed(SurfaceId surface, Button button, double x, double y, uint32_t timeMs);
// A button came up, the pointer at that point.
void PointerReleased(Button button, double x, double y);
// The pointer left a surface.
void PointerLeft(SurfaceId surface);
// No button holds the pointer any more, whether or not each release was reported: the surface
// pressed was made anew or went away, a release went astray, a grab was lost. A front end says so
// whenever its display shows it, held or not; a drag ends where the surface stands, and a click
// waiting for its release is forgotten.
void PointerReleasedAll();
// Another program moved a surface: its corner now stands at that point, where the gauge takes it
// to be from then on.
void SurfaceMoved(SurfaceId surface, int64_t left, int64_t top);
// Monitors came, went, moved or changed size: readMonitors has the new list.
void MonitorsChanged();
// A surface's picture scale, or the layout scale, changed: the surface is drawn again.
void ScaleChanged(SurfaceId surface);
// The display went away. With no reason, as at a logout: the settings are saved and the run
// ends with success. With one, an error the display ended the connection over: it is said in
// one line, the settings are saved all the same, and the run ends with failure. Never returns.
[[noreturn]] void DisplayLost(const char* reason);
