// The glyphs, from a helper process. fontconfig finds the file that "sans-serif" means on this
// desktop, once, and FreeType renders the box's characters at each new scale. Both are opened with
// dlopen in the helper alone: their code, their data and the font cost more than the rest of the
// gauge, and a font folder that blocks (a FIFO, a stalled network share) must not hold the gauge
// up. The helper keeps no descriptor of the gauge's but its pipe, dies with the gauge, and is
// waited for two seconds at most.
#include "glyphs.h"

#include "diagnostic.h"
#include "ending.h"
#include "library.h"
#include "render.h"
#include "timer.h"

#include <errno.h>
#include <fcntl.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

// The text's size at scale 1, in pixels: the box's 24 rows hold it with room above and below.
const double TEXT_PIXELS = 12;
// Every character the box's text can hold.
static const char CHARACTERS[] = "0123456789%use(w:)";
const int GLYPHS = sizeof CHARACTERS - 1;
const int64_t HELPER_LIMIT_MS = 2000;
// A helper that did not answer in time (a cold cache, a stalled share) is tried again after this
// long, at the next picture of the box.
const int64_t RETRY_MS = 10000;

namespace
{

// What the helper hands back, before the atlas's bytes.
struct Rendered {
    char fontFile[PATH_MAX];
    int fontIndex;
    bool ok;
    long ascent, descent; // of the face, 26.6 pixels
    int used;             // bytes of the atlas
    Glyph glyphs[GLYPHS];
};

struct Prepared {
    Rendered font;
    double scale; // what the glyphs are ready at; 0 for none
    double tried; // the scale last asked for, whether or not it worked
    int64_t triedAt;
    bool late; // the helper did not answer in time at that scale
};

} // namespace

static Prepared prepared;
// Coverage of every glyph at the largest scale, with room to spare.
static unsigned char atlas[GLYPHS * 16 * 16 * int(MAX_SCALE * MAX_SCALE)];

// The functions each library must have, in the order they are looked up in.
#define FONTCONFIG_FUNCTIONS(F)                                                                    \
    F(FcInit)                                                                                      \
    F(FcNameParse)                                                                                 \
    F(FcConfigSubstitute)                                                                          \
    F(FcDefaultSubstitute)                                                                         \
    F(FcFontMatch)                                                                                 \
    F(FcPatternGetString)                                                                          \
    F(FcPatternGetInteger)
#define FREETYPE_FUNCTIONS(F) F(FT_Init_FreeType) F(FT_New_Face) F(FT_Set_Char_Size) F(FT_Load_Char)
#define GARVO_ENTRY(name) name##_AT,
#define GARVO_NAME(name) #name,
enum { FONTCONFIG_FUNCTIONS(GARVO_ENTRY) FONTCONFIG_COUNT };
enum { FREETYPE_FUNCTIONS(GARVO_ENTRY) FREETYPE_COUNT };
static const char* const fontconfigNames[] = {FONTCONFIG_FUNCTIONS(GARVO_NAME)};
static const char* const freetypeNames[] = {FREETYPE_FUNCTIONS(GARVO_NAME)};
// A function found, as the library's header declares it.
#define LOOK_UP(found, name) auto name = reinterpret_cast<decltype(&::name)>(found[name##_AT])

// The desktop's sans-serif font file, from fontconfig.
static void FindFont(Rendered& out)
{
    void *library, *found[FONTCONFIG_COUNT];
    char why[160];
    if (!OpenLibrary("libfontconfig.so.1", fontconfigNames, found, FONTCONFIG_COUNT, library, why,
                     sizeof why))
        return;
    LOOK_UP(found, FcInit);
    LOOK_UP(found, FcNameParse);
    LOOK_UP(found, FcConfigSubstitute);
    LOOK_UP(found, FcDefaultSubstitute);
    LOOK_UP(found, FcFontMatch);
    LOOK_UP(found, FcPatternGetString);
    LOOK_UP(found, FcPatternGetInteger);
    if (!FcInit()) return;
    FcPattern* wanted = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif"));
    FcResult result;
    FcPattern* match = nullptr;
    if (wanted && FcConfigSubstitute(nullptr, wanted, FcMatchPattern)) {
        FcDefaultSubstitute(wanted);
        match = FcFontMatch(nullptr, wanted, &result);
    }
    FcChar8* name = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &name) == FcResultMatch &&
        strlen(reinterpret_cast<const char*>(name)) < sizeof out.fontFile) {
        strcpy(out.fontFile, reinterpret_cast<const char*>(name));
        FcPatternGetInteger(match, FC_INDEX, 0, &out.fontIndex);
    }
}

// The glyphs of the font at a scale, into out and the atlas.
static void Render(Rendered& out, double scale)
{
    void *library, *found[FREETYPE_COUNT];
    char why[160];
    if (!out.fontFile[0] || !OpenLibrary("libfreetype.so.6", freetypeNames, found, FREETYPE_COUNT,
                                         library, why, sizeof why))
        return;
    LOOK_UP(found, FT_Init_FreeType);
    LOOK_UP(found, FT_New_Face);
    LOOK_UP(found, FT_Set_Char_Size);
    LOOK_UP(found, FT_Load_Char);
    FT_Library freetype;
    FT_Face face;
    if (FT_Init_FreeType(&freetype) != 0 ||
        FT_New_Face(freetype, out.fontFile, out.fontIndex, &face) != 0 ||
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

static bool Send(int fd, const void* bytes, size_t size)
{
    const char* at = static_cast<const char*>(bytes);
    while (size > 0) {
        ssize_t done = write(fd, at, size);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        at += done;
        size -= size_t(done);
    }
    return true;
}

// Reads all of it before the deadline, or fails; an ending signal fails it at once.
static bool Receive(int fd, void* bytes, size_t size, int64_t deadline)
{
    char* at = static_cast<char*>(bytes);
    while (size > 0) {
        int64_t left = deadline - NowMs();
        if (left <= 0 || EndRequested()) return false;
        pollfd ready = {fd, POLLIN, 0};
        if (poll(&ready, 1, int(left)) <= 0) continue;
        ssize_t done = read(fd, at, size);
        if (done < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (done <= 0) return false;
        at += done;
        size -= size_t(done);
    }
    return true;
}

// The helper's side: nothing of the gauge's but the pipe, standard streams on /dev/null, gone
// when the gauge is.
[[noreturn]] static void RunHelper(int pipe, double scale, pid_t gauge)
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != gauge) _exit(1);
    signal(SIGTERM, SIG_DFL);
    signal(SIGINT, SIG_DFL);
    signal(SIGHUP, SIG_DFL);
    signal(SIGALRM, SIG_DFL);
    int kept = fcntl(pipe, F_DUPFD, 10);
    int null = open("/dev/null", O_RDWR);
    if (kept < 0 || null < 0) _exit(1);
    for (int fd = 0; fd < 3; ++fd)
        dup2(null, fd);
    dup2(kept, 3);
    close_range(4, ~0u, 0);
    Rendered& font = prepared.font;
    font.ok = false;
    font.used = 0;
    if (!font.fontFile[0]) FindFont(font);
    Render(font, scale);
    _exit(Send(3, &font, sizeof font) && Send(3, atlas, size_t(font.used)) ? 0 : 1);
}

// A helper that could not start (the user's process limit, reached for a moment; no descriptor
// to spare) was never tried: the next picture that needs it tries again. Said once a run.
static bool CannotStart(const char* what)
{
    static bool said;
    if (!said)
        Diagnostic("cannot start the font helper (%s: %s); trying again at the next hover", what,
                   strerror(errno));
    said = true;
    prepared.tried = 0;
    return false;
}

bool PrepareGlyphs(double scale)
{
    int64_t now = NowMs();
    if (scale == prepared.tried && !(prepared.late && now - prepared.triedAt >= RETRY_MS))
        return prepared.scale == scale;
    prepared.tried = scale;
    prepared.triedAt = now;
    prepared.scale = 0;
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return CannotStart("pipe");
    pid_t gauge = getpid(), helper = fork();
    if (helper == 0) RunHelper(ends[1], scale, gauge);
    close(ends[1]);
    if (helper < 0) {
        int error = errno;
        close(ends[0]);
        errno = error;
        return CannotStart("fork");
    }
    int64_t deadline = now + HELPER_LIMIT_MS;
    Rendered& font = prepared.font;
    bool ok = Receive(ends[0], &font, sizeof font, deadline) && font.used >= 0 &&
              size_t(font.used) <= sizeof atlas &&
              Receive(ends[0], atlas, size_t(font.used), deadline);
    close(ends[0]);
    // Done or not, it goes now: nothing the gauge starts outlives its need.
    kill(helper, SIGKILL);
    while (waitpid(helper, nullptr, 0) < 0 && errno == EINTR) {
    }
    prepared.late = !ok;
    if (ok && font.ok) {
        prepared.scale = scale;
    } else {
        font.ok = false;
        if (!ok && !EndRequested())
            Diagnostic("no font within %d s; the box shows no text", int(HELPER_LIMIT_MS / 1000));
    }
    return prepared.scale == scale;
}

const Glyph* GlyphOf(char c)
{
    const char* at = c ? strchr(CHARACTERS, c) : nullptr;
    return at ? &prepared.font.glyphs[at - CHARACTERS] : nullptr;
}

const unsigned char* Coverage(const Glyph& glyph)
{
    return atlas + glyph.offset;
}

double GlyphScale()
{
    return prepared.scale;
}

long FontAscent()
{
    return prepared.font.ascent;
}

long FontDescent()
{
    return prepared.font.descent;
}

void UseFontFile(const char* file, int index)
{
    prepared = {};
    if (!file || strlen(file) >= sizeof prepared.font.fontFile) return;
    strcpy(prepared.font.fontFile, file);
    prepared.font.fontIndex = index;
}
