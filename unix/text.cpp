// Text with FreeType. fontconfig finds the file that "sans-serif" means on this desktop, once, and
// FreeType renders the few glyphs the box can show whenever the scale changes. Both run in a short-
// lived child process that hands back the glyphs: the gauge itself never holds the libraries' data,
// their code or the font file in memory, which together cost more than the rest of it.
#include "text.h"

#include "render.h"

#include <errno.h>
#include <fcntl.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <limits.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

// The text's size at scale 1, in pixels: the box's 24 rows hold it with room above and below.
const double TEXT_PIXELS = 12;
// Every character the box's text can hold.
static const char CHARACTERS[] = "0123456789%use(w:)";
const int GLYPHS = sizeof CHARACTERS - 1;

namespace
{

struct Glyph {
    int offset;                 // where its coverage starts in the atlas; -1 when it has none
    int width, rows, left, top; // its bitmap, and where that stands from the pen
    long advance;               // 26.6 pixels
};

// What the child hands back, before the atlas's bytes.
struct Rendered {
    char fontFile[PATH_MAX];
    int fontIndex;
    bool ok;
    long ascent, descent; // of the face, 26.6 pixels
    int used;             // bytes of the atlas
    Glyph glyphs[GLYPHS];
};

} // namespace

static Rendered font;
// Coverage of every glyph at the largest scale, with room to spare.
static unsigned char atlas[GLYPHS * 16 * 16 * int(MAX_SCALE * MAX_SCALE)];
static double glyphScale; // the scale the glyphs were rendered at; 0 for none

// The desktop's sans-serif font file, from fontconfig.
static void FindFont(Rendered& out)
{
    if (!FcInit()) return;
    FcPattern* wanted = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif"));
    FcResult result;
    FcPattern* found = nullptr;
    if (wanted && FcConfigSubstitute(nullptr, wanted, FcMatchPattern)) {
        FcDefaultSubstitute(wanted);
        found = FcFontMatch(nullptr, wanted, &result);
    }
    FcChar8* name = nullptr;
    if (found && FcPatternGetString(found, FC_FILE, 0, &name) == FcResultMatch &&
        strlen(reinterpret_cast<const char*>(name)) < sizeof out.fontFile) {
        strcpy(out.fontFile, reinterpret_cast<const char*>(name));
        FcPatternGetInteger(found, FC_INDEX, 0, &out.fontIndex);
    }
}

// The glyphs of the font at a scale, into out and the atlas.
static void RenderWithFreeType(Rendered& out, double scale)
{
    FT_Library library;
    FT_Face face;
    if (!out.fontFile[0] || FT_Init_FreeType(&library) != 0 ||
        FT_New_Face(library, out.fontFile, out.fontIndex, &face) != 0 ||
        FT_Set_Char_Size(face, 0, long(TEXT_PIXELS * scale * 64 + 0.5), 72, 72) != 0)
        return;
    out.ascent = face->size->metrics.ascender;
    out.descent = -face->size->metrics.descender;
    for (int i = 0; i < GLYPHS; ++i) {
        Glyph& glyph = out.glyphs[i];
        glyph = {-1, 0, 0, 0, 0, 0};
        if (FT_Load_Char(face, FT_ULong(CHARACTERS[i]), FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT))
            continue;
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        glyph.advance = slot->advance.x;
        int bytes = int(bitmap.width * bitmap.rows);
        if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bytes > int(sizeof atlas) - out.used)
            continue;
        glyph = {out.used,          int(bitmap.width), int(bitmap.rows),
                 slot->bitmap_left, slot->bitmap_top,  slot->advance.x};
        for (unsigned row = 0; row < bitmap.rows; ++row)
            memcpy(atlas + out.used + row * bitmap.width, bitmap.buffer + int(row) * bitmap.pitch,
                   bitmap.width);
        out.used += bytes;
    }
    out.ok = true;
}

static bool Transfer(int fd, void* bytes, size_t size, bool writing)
{
    char* at = static_cast<char*>(bytes);
    while (size > 0) {
        ssize_t done = writing ? write(fd, at, size) : read(fd, at, size);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        at += done;
        size -= size_t(done);
    }
    return true;
}

// Renders the box's characters at a scale, finding the font first if need be; false when there is
// no font that FreeType can open.
static bool RenderGlyphs(double scale)
{
    glyphScale = 0;
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return false;
    pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        font.ok = false;
        font.used = 0;
        if (!font.fontFile[0]) FindFont(font);
        RenderWithFreeType(font, scale);
        bool sent = Transfer(ends[1], &font, sizeof font, true) &&
                    Transfer(ends[1], atlas, size_t(font.used), true);
        _exit(sent ? 0 : 1);
    }
    close(ends[1]);
    bool ok = child > 0 && Transfer(ends[0], &font, sizeof font, false) && font.used >= 0 &&
              size_t(font.used) <= sizeof atlas &&
              Transfer(ends[0], atlas, size_t(font.used), false);
    close(ends[0]);
    if (child > 0) waitpid(child, nullptr, 0);
    if (ok && font.ok) glyphScale = scale;
    return glyphScale != 0;
}

bool UseFontFile(const char* file, int index)
{
    if (strlen(file) >= sizeof font.fontFile) return false;
    strcpy(font.fontFile, file);
    font.fontIndex = index;
    if (RenderGlyphs(1)) return true;
    font.fontFile[0] = '\0';
    return false;
}

bool OpenTextFont()
{
    font.fontFile[0] = '\0';
    return RenderGlyphs(1);
}

// Coverage over the white interior: black at full coverage, greys at the letters' edges.
static void Blend(Canvas& canvas, const Glyph& glyph, int left, int top)
{
    for (int row = 0; row < glyph.rows; ++row) {
        int y = top + row;
        if (y < 0 || y >= canvas.height) continue;
        const unsigned char* coverage = atlas + glyph.offset + row * glyph.width;
        for (int column = 0; column < glyph.width; ++column) {
            int x = left + column;
            if (x < 0 || x >= canvas.width || !coverage[column]) continue;
            uint32_t& pixel = canvas.pixels[y * canvas.width + x];
            uint32_t grey = (pixel & 0xff) * (255u - coverage[column]) / 255u;
            pixel = grey << 16 | grey << 8 | grey;
        }
    }
}

static const Glyph* GlyphOf(char c)
{
    const char* at = c ? strchr(CHARACTERS, c) : nullptr;
    return at ? &font.glyphs[at - CHARACTERS] : nullptr;
}

void DrawText(Canvas& canvas, const char* text, double scale)
{
    if (scale != glyphScale && (!font.fontFile[0] || !RenderGlyphs(scale))) return;
    long width = 0;
    for (const char* c = text; *c; ++c)
        if (const Glyph* glyph = GlyphOf(*c)) width += glyph->advance;
    // Centred both ways: the advances across, the face's ascent and descent down.
    long x = (long(canvas.width) * 64 - width) / 2;
    long baseline = (long(canvas.height) * 64 - font.ascent - font.descent) / 2 + font.ascent;
    for (const char* c = text; *c; ++c) {
        const Glyph* glyph = GlyphOf(*c);
        if (!glyph) continue;
        if (glyph->offset >= 0)
            Blend(canvas, *glyph, int((x + 32) >> 6) + glyph->left,
                  int((baseline + 32) >> 6) - glyph->top);
        x += glyph->advance;
    }
}
