// The pointer's rules, from the front ends' reports.
#include "gestures.h"

#include "gauge.h"
#include "numbers.h"

namespace
{

const int NOWHERE = -1;

struct Pointer {
    int over;            // the surface under the pointer, or NOWHERE
    int dragging;        // the surface that follows the pointer while the left button is down
    double gripX, gripY; // the pointer's offset from that surface's corner
    MeterRect keptOn;    // the monitor it keeps to, where surfaces keep to one
    LastClick lastClick;
    int rightPressed; // where the right button went down: a click needs its release there too
};

} // namespace

static Pointer pointer = {NOWHERE, NOWHERE, 0, 0, {}, {}, NOWHERE};

bool IsDoubleClick(LastClick& last, int target, uint32_t time, double x, double y)
{
    bool isDouble = target == last.target && time - last.time <= 500 && Distance(x, last.x) < 3 &&
                    Distance(y, last.y) < 3;
    last = {isDouble ? 0 : target, time, x, y};
    return isDouble;
}

bool PointerOverGauge()
{
    return pointer.over != NOWHERE;
}

bool Dragging()
{
    return pointer.dragging != NOWHERE;
}

void CancelDrag()
{
    pointer.dragging = NOWHERE;
}

static bool Inside(const MeterRect& rect, double x, double y)
{
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

// The dragged surface's corner under the pointer, where the grip holds it. Where surfaces keep to
// one monitor, it stays on its own until the release, which takes it onto the pointer's.
static void Follow(double x, double y, bool released)
{
    SurfaceId surface = SurfaceId(pointer.dragging);
    int64_t left = Nearest(x - pointer.gripX), top = Nearest(y - pointer.gripY);
    if (gauge.display->surfacesKeepToOneMonitor) {
        MeterRect area = pointer.keptOn;
        if (released) MonitorFor(gauge.monitors, Within(Nearest(x)), Within(Nearest(y)), area);
        const MeterRect& now = RectOf(surface);
        int32_t keptLeft = Within(left), keptTop = Within(top);
        KeepInside(area, now.right - now.left, now.bottom - now.top, keptLeft, keptTop);
        left = keptLeft;
        top = keptTop;
    }
    PlaceSurface(surface, left, top);
}

void PointerEntered(SurfaceId surface, double, double)
{
    pointer.over = surface;
    if (surface == BAR && !Dragging()) ShowInfo();
}

void PointerLeft(SurfaceId surface)
{
    if (pointer.over == surface) pointer.over = NOWHERE;
}

void PointerReleasedAll()
{
    pointer.dragging = NOWHERE;
    pointer.rightPressed = NOWHERE;
}

void PointerMoved(double x, double y)
{
    if (Dragging())
        Follow(x, y, false);
    else if (pointer.over == BAR)
        ShowInfo();
}

static void SetThresholdAt(double x)
{
    // From the bar's own pixels, so that the same spot gives the same threshold at every scale.
    MeterRect client = {0, 0, BAR_WIDTH, BAR_HEIGHT};
    int along = int(Floor(x - shown.bar.left));
    gauge.settings.s =
        ThresholdFromPoint(Unscaled(along < 0 ? 0 : along, gauge.layoutScale), client);
    RefreshBar();
    ShowInfo();
}

void PointerPressed(SurfaceId surface, Button button, double x, double y, uint32_t timeMs)
{
    pointer.over = surface;
    if (button == RIGHT_BUTTON) pointer.rightPressed = surface;
    if (button != LEFT_BUTTON) return; // the right button acts on its release
    if (IsDoubleClick(pointer.lastClick, surface + 1, timeMs, x, y)) {
        if (surface == BAR) SetThresholdAt(x);
        return;
    }
    const MeterRect& rect = RectOf(surface);
    pointer.dragging = surface;
    pointer.gripX = x - rect.left;
    pointer.gripY = y - rect.top;
    MonitorFor(gauge.monitors, rect.left, rect.top, pointer.keptOn);
}

void PointerReleased(Button button, double x, double y)
{
    if (button == LEFT_BUTTON && Dragging()) {
        Follow(x, y, true);
        // The surface ends under the pointer, which a display may not have said while it held it.
        if (Inside(RectOf(SurfaceId(pointer.dragging)), x, y)) pointer.over = pointer.dragging;
        pointer.dragging = NOWHERE;
    }
    if (button != RIGHT_BUTTON) return;
    // A click is a press and a release on the same surface.
    int pressed = pointer.rightPressed;
    pointer.rightPressed = NOWHERE;
    if (pressed == NOWHERE || !Inside(RectOf(SurfaceId(pressed)), x, y)) return;
    // Only the bar's own close records where it stands; closing the box keeps the start one.
    if (pressed == BAR) RecordBarPosition();
    gauge.closing = true;
}
