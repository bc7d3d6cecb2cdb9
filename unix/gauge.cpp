// The gauge's pictures and places.
#include "gauge.h"

#include "glyphs.h"
#include "memory_source.h"

#include <string.h>

Gauge gauge;
Shown shown;

const MeterRect& RectOf(SurfaceId surface)
{
    return surface == BAR ? shown.bar : shown.box;
}

void PlaceSurface(SurfaceId surface, int64_t left, int64_t top)
{
    int width = Scaled(surface == BAR ? BAR_WIDTH : INFO_WIDTH, gauge.layoutScale);
    int height = Scaled(surface == BAR ? BAR_HEIGHT : INFO_HEIGHT, gauge.layoutScale);
    MeterRect rect = RectAt(Within(left), Within(top), width, height);
    (surface == BAR ? shown.bar : shown.box) = rect;
    gauge.display->placeSurface(surface, rect);
}

void SurfaceMoved(SurfaceId surface, int64_t left, int64_t top)
{
    MeterRect& rect = surface == BAR ? shown.bar : shown.box;
    rect = RectAt(Within(left), Within(top), rect.right - rect.left, rect.bottom - rect.top);
}

bool ShowBarOnMonitors(int32_t x, int32_t y)
{
    int32_t left, top;
    int width = Scaled(BAR_WIDTH, gauge.layoutScale),
        height = Scaled(BAR_HEIGHT, gauge.layoutScale);
    if (!PlaceOnMonitors(gauge.monitors, x, y, width, height, left, top)) {
        HideInfo();
        if (shown.barShown) gauge.display->hideSurface(BAR);
        shown.barShown = false;
        return false;
    }
    bool moved = left != shown.bar.left || top != shown.bar.top;
    bool resized = width != shown.bar.right - shown.bar.left;
    if (moved && shown.boxShown) HideInfo();
    if (moved || resized || !shown.barShown) PlaceSurface(BAR, left, top);
    if (!gauge.placed) {
        // Where it first stands, kept on its monitor, is the place a close from the box saves;
        // a place never given stays so.
        gauge.placed = true;
        if (gauge.settings.x != UNSET_X) RecordBarPosition();
    }
    if (!shown.barShown) {
        shown.barShown = true;
        Redraw(BAR);
        gauge.display->showSurface(BAR);
    } else if (resized) {
        Redraw(BAR);
    }
    return true;
}

void Redraw(SurfaceId surface)
{
    double scale = gauge.display->pictureScale(surface);
    if (surface == BAR) {
        if (!shown.barShown) return;
        Canvas bar = DrawBar(shown.layout, scale);
        gauge.display->showPicture(BAR, bar, nullptr);
        ReleasePicture(bar);
        return;
    }
    if (!shown.boxShown) return;
    // The one place text is rendered: at a new scale, before the picture that needs it.
    PrepareGlyphs(scale);
    Canvas box = DrawBox(shown.text, scale);
    gauge.display->showPicture(BOX, box, shown.text);
    ReleasePicture(box);
}

void RefreshBar()
{
    gauge.load = SampleMemoryLoad();
    MeterRect client = {0, 0, BAR_WIDTH, BAR_HEIGHT};
    BarLayout layout = ComputeBarLayout(client, gauge.load, gauge.settings.s);
    // A layout never shown has no fill at all, unlike any the arithmetic makes.
    if (layout.fill.right == shown.layout.fill.right && layout.markerX == shown.layout.markerX &&
        layout.fillColour == shown.layout.fillColour)
        return;
    shown.layout = layout;
    Redraw(BAR);
}

void ShowInfo()
{
    char now[TEXT_SIZE];
    FormatInfoText(gauge.load, gauge.settings.s, now);
    bool changed = strcmp(now, shown.text) != 0;
    if (changed) strcpy(shown.text, now);
    // Placed only on the way from hidden to shown: a shown box stays where it is.
    if (!shown.boxShown && shown.barShown) {
        int height = Scaled(INFO_HEIGHT, gauge.layoutScale);
        PlaceSurface(BOX, shown.bar.left, int64_t(shown.bar.top) - height);
        shown.boxShown = true;
        Redraw(BOX);
        gauge.display->showSurface(BOX);
    } else if (changed) {
        Redraw(BOX);
    }
    ArmTimer(gauge.hover, NowMs());
}

void HideInfo()
{
    KillTimer(gauge.hover);
    if (shown.boxShown) gauge.display->hideSurface(BOX);
    shown.boxShown = false;
}

void RecordBarPosition()
{
    if (!gauge.placed) return;
    gauge.settings.x = shown.bar.left;
    gauge.settings.y = shown.bar.top;
}
