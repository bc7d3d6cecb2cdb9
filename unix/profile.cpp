// The profile format: "[section]" lines, then "name=value" lines, any case, blanks trimmed.
#include "profile.h"

#include <string.h>

namespace
{

// Blanks as the profile reader trims them; ^Z, the old end-of-file mark, counts as one.
bool IsBlank(unsigned char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r') || c == 0x1a;
}

bool SameName(const char* bytes, size_t size, const char* name)
{
    if (strlen(name) != size) return false;
    for (size_t i = 0; i < size; ++i) {
        char a = bytes[i], b = name[i];
        if (a >= 'A' && a <= 'Z') a = char(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z') b = char(b - 'A' + 'a');
        if (a != b) return false;
    }
    return true;
}

// One line of the text: [start, end) without its break, next past the break, and the part that
// counts once blanks are trimmed: a section name, or a key's name and value.
struct Line {
    const char *start, *end, *next;
    bool isSection, hasValue;
    const char *name, *nameEnd, *value, *valueEnd;
};

class Lines
{
  public:
    Lines(const char* text, size_t size) : at_(text), limit_(text + size)
    {
        // A UTF-8 byte-order mark is no part of the first line.
        if (size >= 3 && memcmp(text, "\xEF\xBB\xBF", 3) == 0) at_ += 3;
    }

    bool Next(Line& line)
    {
        if (at_ >= limit_) return false;
        line.start = at_;
        line.end = at_;
        while (line.end < limit_ && *line.end != '\n' && *line.end != '\r')
            ++line.end;
        // CR LF is one break; CR or LF alone is one too.
        const char* next = line.end;
        if (next < limit_ && *next == '\r') ++next;
        if (next < limit_ && *next == '\n') ++next;
        line.next = at_ = next;
        Split(line);
        return true;
    }

  private:
    static void Split(Line& line)
    {
        const char* first = line.start;
        const char* last = line.end;
        while (first < last && IsBlank(*first))
            ++first;
        while (last > first && IsBlank(last[-1]))
            --last;
        line.name = first;
        line.isSection = false;
        line.hasValue = false;
        if (first < last && *first == '[') {
            const char* close = last;
            while (close > first && close[-1] != ']')
                --close;
            if (close > first + 1) { // "[" alone, with no "]" after it, is a key
                line.isSection = true;
                line.name = first + 1;
                line.nameEnd = close - 1;
                while (line.name < line.nameEnd && IsBlank(*line.name))
                    ++line.name;
                while (line.nameEnd > line.name && IsBlank(line.nameEnd[-1]))
                    --line.nameEnd;
                return;
            }
        }
        const char* equals = static_cast<const char*>(memchr(first, '=', size_t(last - first)));
        line.nameEnd = equals ? equals : last;
        while (line.nameEnd > first && IsBlank(line.nameEnd[-1]))
            --line.nameEnd;
        line.value = line.valueEnd = last;
        if (equals) {
            line.hasValue = true;
            line.value = equals + 1;
            while (line.value < last && IsBlank(*line.value))
                ++line.value;
        }
    }

    const char* at_;
    const char* limit_;
};

bool IsNamed(const Line& line, const char* name)
{
    return SameName(line.name, size_t(line.nameEnd - line.name), name);
}

// Finds the first key of that name in the first section of that name.
bool FindKey(const char* text, size_t size, const char* section, const char* key, Line& found)
{
    Lines lines(text, size);
    bool inSection = false, seenSection = false;
    while (lines.Next(found)) {
        if (found.isSection) {
            if (seenSection && inSection) return false;
            inSection = !seenSection && IsNamed(found, section);
            seenSection = seenSection || inSection;
        } else if (inSection && found.name < found.valueEnd && IsNamed(found, key)) {
            return true;
        }
    }
    return false;
}

// A value's digits as the platform's integer conversion reads them: a sign, an optional 0x, 0o
// or 0b, then digits of that base; the total wraps at 32 bits.
int32_t ParseInteger(const char* at, const char* end)
{
    while (at < end && static_cast<unsigned char>(*at) <= ' ')
        ++at;
    bool negative = false;
    if (at < end && (*at == '+' || *at == '-')) negative = *at++ == '-';
    uint32_t base = 10;
    if (end - at >= 2 && at[0] == '0') {
        if (at[1] == 'b') base = 2;
        if (at[1] == 'o') base = 8;
        if (at[1] == 'x') base = 16;
        if (base != 10) at += 2;
    }
    uint32_t total = 0;
    for (; at < end; ++at) {
        unsigned char c = static_cast<unsigned char>(*at);
        uint32_t digit = c >= '0' && c <= '9'   ? c - '0'
                         : c >= 'a' && c <= 'z' ? c - 'a' + 10
                         : c >= 'A' && c <= 'Z' ? c - 'A' + 10
                                                : 99;
        if (digit >= base) break;
        total = total * base + digit;
    }
    return int32_t(negative ? 0u - total : total);
}

} // namespace

int32_t ReadProfileInt(const char* text, size_t size, const char* section, const char* key,
                       int32_t fallback)
{
    Line line;
    if (!FindKey(text, size, section, key, line) || !line.hasValue) return fallback;
    const char* value = line.value;
    const char* end = line.valueEnd;
    // The reader hands back at most 29 characters, less a pair of quotes around them.
    const size_t readable = 29;
    bool quoted = end - value >= 2 && (*value == '"' || *value == '\'') && end[-1] == *value;
    if (quoted) ++value;
    if (size_t(end - value) > readable) {
        if (size_t(end - value) > readable + 1) quoted = false;
        end = value + readable;
    }
    if (quoted) --end;
    if (end <= value) return fallback;
    return ParseInteger(value, end);
}

namespace
{

// Copies the text to the sink, with replacements and insertions at given places.
class Editor
{
  public:
    Editor(const char* text, size_t size, ProfileSink sink)
        : text_(text), limit_(text + size), copied_(text), sink_(sink)
    {
        // New lines end the way the file's first line does; a new file's end with CRLF.
        const char* lineBreak = size ? static_cast<const char*>(memchr(text, '\n', size)) : nullptr;
        eol_ = lineBreak && (lineBreak == text || lineBreak[-1] != '\r') ? "\n" : "\r\n";
    }

    void CopyTo(const char* at)
    {
        if (at > copied_) sink_.write(sink_.context, copied_, size_t(at - copied_));
        copied_ = at;
    }
    void SkipTo(const char* at) { copied_ = at; }
    void Put(const char* bytes, size_t size) { sink_.write(sink_.context, bytes, size); }
    void Put(const char* bytes) { Put(bytes, strlen(bytes)); }

    // Starts a line at `at`: after a break that the text may lack at its very end.
    void StartLineAt(const char* at)
    {
        CopyTo(at);
        if (at > text_ && at == limit_ && at[-1] != '\n' && at[-1] != '\r') Put(eol_);
    }

    void PutKey(const char* name, size_t size, const char* value)
    {
        Put(name, size);
        Put("=");
        Put(value);
        Put(eol_);
    }

    void Finish() { CopyTo(limit_); }
    const char* Eol() const { return eol_; }

  private:
    const char *text_, *limit_, *copied_;
    ProfileSink sink_;
    const char* eol_;
};

const int MAX_KEYS = 8;

} // namespace

bool RewriteProfile(const char* text, size_t size, const char* section, const ProfileKey* keys,
                    int count, ProfileSink sink)
{
    if (count > MAX_KEYS) count = MAX_KEYS;
    // Where each key stands, and where the section's last line ends: missing keys go there.
    Line found[MAX_KEYS];
    bool present[MAX_KEYS] = {};
    const char* sectionEnd = nullptr;
    Lines lines(text, size);
    Line line;
    bool inSection = false;
    while (lines.Next(line)) {
        if (line.isSection) {
            inSection = !sectionEnd && IsNamed(line, section);
            if (inSection) sectionEnd = line.next;
        } else if (inSection && line.name < line.valueEnd) {
            sectionEnd = line.next;
            for (int i = 0; i < count; ++i) {
                if (!present[i] && IsNamed(line, keys[i].name)) {
                    present[i] = true;
                    found[i] = line;
                    break;
                }
            }
        }
    }

    // Keys that are there, in the order they stand.
    int order[MAX_KEYS], placed = 0;
    for (int i = 0; i < count; ++i) {
        if (!present[i]) continue;
        int at = placed++;
        for (; at > 0 && found[order[at - 1]].start > found[i].start; --at)
            order[at] = order[at - 1];
        order[at] = i;
    }

    Editor editor(text, size, sink);
    bool changed = placed < count;
    for (int n = 0; n < placed; ++n) {
        const Line& key = found[order[n]];
        const char* value = keys[order[n]].value;
        size_t length = strlen(value);
        if (key.hasValue && size_t(key.valueEnd - key.value) == length &&
            memcmp(key.value, value, length) == 0)
            continue;
        changed = true;
        editor.CopyTo(key.name);
        editor.Put(key.name, size_t(key.nameEnd - key.name));
        editor.Put("=");
        editor.Put(value);
        editor.SkipTo(key.end);
    }
    if (placed < count) {
        editor.StartLineAt(sectionEnd ? sectionEnd : text + size);
        if (!sectionEnd) {
            editor.Put("[");
            editor.Put(section);
            editor.Put("]");
            editor.Put(editor.Eol());
        }
        for (int i = 0; i < count; ++i)
            if (!present[i]) editor.PutKey(keys[i].name, strlen(keys[i].name), keys[i].value);
    }
    editor.Finish();
    return changed;
}
