// Text from the prepared glyphs: coverage blended over the box's white.
#include "text.h"

#include "glyphs.h"
#include "render.h"

// Coverage over the white interior: black at full coverage, greys at the letters' edges.
static void Blend(Canvas& canvas, const Glyph& glyph, int left, int top)
{
    const unsigned char* coverage = Coverage(glyph);
    for (int row = 0; row < glyph.rows; ++row) {
        int y = top + row;
        if (y < 0 || y >= canvas.height) continue;
        for (int column = 0; column < glyph.width; ++column) {
            int x = left + column;
            unsigned char covered = coverage[row * glyph.width + column];
            if (x < 0 || x >= canvas.width || !covered) continue;
            uint32_t& pixel = canvas.pixels[y * canvas.width + x];
            uint32_t grey = (pixel & 0xff) * (255u - covered) / 255u;
            pixel = grey << 16 | grey << 8 | grey;
        }
    }
}

void DrawText(Canvas& canvas, const char* text, double scale)
{
    if (scale != GlyphScale()) return;
    long width = 0;
    for (const char* c = text; *c; ++c)
        if (const Glyph* glyph = GlyphOf(*c)) width += glyph->advance;
    // Centred both ways: the advances across, the face's ascent and descent down.
    long ascent = FontAscent(), descent = FontDescent();
    long x = (long(canvas.width) * 64 - width) / 2;
    long baseline = (long(canvas.height) * 64 - ascent - descent) / 2 + ascent;
    for (const char* c = text; *c; ++c) {
        const Glyph* glyph = GlyphOf(*c);
        if (!glyph) continue;
        if (glyph->offset >= 0)
            Blend(canvas, *glyph, int((x + 32) >> 6) + glyph->left,
                  int((baseline + 32) >> 6) - glyph->top);
        x += glyph->advance;
    }
}
