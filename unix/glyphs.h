// The few characters the box can show, rendered in the desktop's sans-serif font at one scale. A
// short-lived helper process loads fontconfig and FreeType to render them: the gauge itself maps
// neither library, nor the font.
#pragma once

struct Glyph {
    int offset;                 // where its coverage starts in the atlas; -1 when it has none
    int width, rows, left, top; // its bitmap, and where that stands from the pen
    long advance;               // 26.6 pixels
};

// Renders the glyphs at that scale, unless that scale is the one last tried: a render that failed
// is tried again at the next change of scale, not at every picture, and one whose helper did not
// answer in time also at the first picture ten seconds after, and one that could not start at
// the next picture. Waits for the helper at most two seconds, then ends it. True when the glyphs
// of that scale are ready.
bool PrepareGlyphs(double scale);
// The glyph of a character at the prepared scale, or none; the atlas holds its coverage.
const Glyph* GlyphOf(char c);
const unsigned char* Coverage(const Glyph& glyph);
// The scale the glyphs are ready at, 0 for none; and the face's ascent and descent there, in 26.6
// pixels.
double GlyphScale();
long FontAscent();
long FontDescent();
// Renders with this font file from now on, or, with none, the one fontconfig finds.
void UseFontFile(const char* file, int index);
