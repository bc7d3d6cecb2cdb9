// The info window's one line of text, formatted as "%d%%use(w:%d%%)" would be.
#include "meter.h"

static int AppendDecimal(char* out, int64_t value)
{
    char digits[20];
    int count = 0;
    uint64_t magnitude = value < 0 ? uint64_t(-value) : uint64_t(value);
    do {
        digits[count++] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);

    int length = 0;
    if (value < 0) out[length++] = '-';
    while (count > 0)
        out[length++] = digits[--count];
    return length;
}

static int AppendText(char* out, const char* text)
{
    int length = 0;
    while (text[length] != '\0') {
        out[length] = text[length];
        ++length;
    }
    return length;
}

int FormatInfoText(uint32_t load, int32_t threshold, char (&text)[TEXT_SIZE])
{
    // The load is printed as a signed decimal, as "%d" would print it.
    int length = AppendDecimal(text, int32_t(load));
    length += AppendText(text + length, "%use(w:");
    length += AppendDecimal(text + length, threshold);
    length += AppendText(text + length, "%)");
    text[length] = '\0';
    return length;
}
