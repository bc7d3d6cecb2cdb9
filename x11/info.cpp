// The hover box: load and threshold as one line of text just above the bar.
#include "gauge.h"
#include "meter_state.h"

#include "../meter/meter.h"

#include <string.h>

// Draws the box's picture; a shown box gets it at once.
static void DrawInfo()
{
    Drawable image = meter.infoImage;
    DrawFrame(image, INFO_WIDTH, INFO_HEIGHT);
    int length = int(strlen(meter.infoText));
    // Centred both ways in the server's default font.
    int width = meter.font ? XTextWidth(meter.font, meter.infoText, length) : 6 * length;
    int ascent = meter.font ? meter.font->ascent : 11;
    int descent = meter.font ? meter.font->descent : 2;
    int x = (INFO_WIDTH - width) / 2;
    int y = (INFO_HEIGHT - ascent - descent) / 2 + ascent;
    XDrawString(meter.display, image, meter.gc, x, y, meter.infoText, length);
    if (meter.infoShown) ShowInfoImage();
}

void ShowInfo()
{
    char text[TEXT_SIZE];
    FormatInfoText(meter.loadPercent, meter.warnPercent, text);
    // The server hears of the text only when it changes.
    bool changed = strcmp(text, meter.infoText) != 0;
    if (changed) {
        strcpy(meter.infoText, text);
        XStoreName(meter.display, meter.info, meter.infoText);
    }
    if (!meter.infoShown) {
        meter.infoShown = true;
        // Placed only on the way from hidden to shown: a shown box stays where it is.
        meter.infoLeft = meter.barLeft;
        meter.infoTop = meter.barTop - INFO_HEIGHT * meter.scale;
        XMoveWindow(meter.display, meter.info, meter.infoLeft, meter.infoTop);
        XMapRaised(meter.display, meter.info);
        DrawInfo();
    } else if (changed) {
        DrawInfo();
    }
    ArmTimer(meter.hover, NowMs());
}

void CheckHover()
{
    Window root, under = None;
    int rootX, rootY, x, y;
    unsigned buttons;
    XQueryPointer(meter.display, meter.root, &root, &under, &rootX, &rootY, &x, &y, &buttons);
    if (under == meter.bar || under == meter.info) return;
    KillTimer(meter.hover);
    meter.infoShown = false;
    XUnmapWindow(meter.display, meter.info);
}
