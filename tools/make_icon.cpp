// Draws garvo's icon: the meter's two fill colours as two bars on a white square. Writes
// res/garvo.ico, in 32 x 32 and 16 x 16, 16 colours, no transparent pixels (run it again to
// remake the checked-in file), or with --png SIZE FILE one size, a whole multiple of 16, as PNG.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

// Indices into the standard 16-colour palette.
const uint8_t BLACK = 0, BLUE = 12, RED = 9, WHITE = 15;

const uint8_t PALETTE[16][3] = { // red, green, blue
    {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},  {0, 0, 128}, {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},    {0, 255, 0}, {255, 255, 0},
    {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};

struct Span { // rows and columns, inclusive
    int top, bottom, left, right;
};

// The picture, at 16 x 16; every size is it magnified, each pixel a square.
const int UNIT = 16;
const int BORDER = 1;
const Span BLUE_BLOCK = {3, 5, 4, 11}, BLUE_LINE = {4, 4, 2, 13};
const Span RED_BLOCK = {10, 12, 4, 11}, RED_LINE = {11, 11, 2, 13};

struct Design {
    int size;
};

const Design DESIGNS[] = {{32}, {16}};

bool Inside(const Span& span, int row, int column)
{
    return row >= span.top && row <= span.bottom && column >= span.left && column <= span.right;
}

uint8_t PixelAt(const Design& d, int row, int column)
{
    row = row * UNIT / d.size;
    column = column * UNIT / d.size;
    const int last = UNIT - 1;
    if (row < BORDER || column < BORDER || row > last - BORDER || column > last - BORDER)
        return BLACK;
    if (Inside(BLUE_BLOCK, row, column) || Inside(BLUE_LINE, row, column)) return BLUE;
    if (Inside(RED_BLOCK, row, column) || Inside(RED_LINE, row, column)) return RED;
    return WHITE;
}

void Put16(std::vector<uint8_t>& out, unsigned value)
{
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void Put32(std::vector<uint8_t>& out, unsigned value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// A BITMAPINFOHEADER, the palette, the 4-bit colour rows and an all-zero AND mask, bottom-up.
std::vector<uint8_t> Image(const Design& d)
{
    int colourStride = (d.size / 2 + 3) / 4 * 4;
    int maskStride = (d.size / 8 + 3) / 4 * 4;
    std::vector<uint8_t> out;
    Put32(out, 40);
    Put32(out, d.size);
    Put32(out, d.size * 2); // colour and mask together
    Put16(out, 1);
    Put16(out, 4);
    Put32(out, 0);
    Put32(out, (colourStride + maskStride) * d.size);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 16);
    Put32(out, 0);
    for (const auto& colour : PALETTE) {
        out.push_back(colour[2]);
        out.push_back(colour[1]);
        out.push_back(colour[0]);
        out.push_back(0);
    }
    for (int row = d.size - 1; row >= 0; --row) {
        for (int column = 0; column < colourStride * 2; column += 2) {
            uint8_t high = column < d.size ? PixelAt(d, row, column) : 0;
            uint8_t low = column + 1 < d.size ? PixelAt(d, row, column + 1) : 0;
            out.push_back(uint8_t(high << 4 | low));
        }
    }
    out.insert(out.end(), size_t(maskStride * d.size), 0);
    return out;
}

void PutBig32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(value >> shift));
}

uint32_t Crc32(const uint8_t* bytes, size_t size)
{
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = 0; i < size; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = crc >> 1 ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    PutBig32(out, uint32_t(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBig32(out, Crc32(out.data() + start, out.size() - start));
}

// An RGB PNG, its pixels in stored (uncompressed) deflate blocks: an icon this small needs no more.
std::vector<uint8_t> Png(const Design& d)
{
    std::vector<uint8_t> rows;
    for (int row = 0; row < d.size; ++row) {
        rows.push_back(0); // no filter
        for (int column = 0; column < d.size; ++column) {
            const uint8_t* colour = PALETTE[PixelAt(d, row, column)];
            rows.insert(rows.end(), colour, colour + 3);
        }
    }
    std::vector<uint8_t> header;
    PutBig32(header, uint32_t(d.size));
    PutBig32(header, uint32_t(d.size));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8 bits per channel, RGB
    std::vector<uint8_t> zlib = {0x78, 0x01};
    uint32_t a = 1, b = 0;
    for (size_t at = 0; at < rows.size();) {
        size_t part = rows.size() - at < 65535 ? rows.size() - at : 65535;
        zlib.push_back(at + part == rows.size() ? 1 : 0);
        Put16(zlib, unsigned(part));
        Put16(zlib, unsigned(~part & 0xFFFF));
        zlib.insert(zlib.end(), rows.begin() + long(at), rows.begin() + long(at + part));
        at += part;
    }
    for (uint8_t byte : rows) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBig32(zlib, b << 16 | a);

    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", zlib);
    PutChunk(file, "IEND", {});
    return file;
}

std::vector<uint8_t> Ico()
{
    std::vector<uint8_t> images[2] = {Image(DESIGNS[0]), Image(DESIGNS[1])};
    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, 1); // icon
    Put16(file, 2);
    unsigned offset = 6 + 2 * 16;
    for (int i = 0; i < 2; ++i) {
        file.push_back(uint8_t(DESIGNS[i].size));
        file.push_back(uint8_t(DESIGNS[i].size));
        file.push_back(16); // colours
        file.push_back(0);
        Put16(file, 1);
        Put16(file, 4);
        Put32(file, unsigned(images[i].size()));
        Put32(file, offset);
        offset += unsigned(images[i].size());
    }
    for (const auto& image : images)
        file.insert(file.end(), image.begin(), image.end());
    return file;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<uint8_t> file;
    const char* path = argc > 1 ? argv[1] : "res/garvo.ico";
    if (argc == 4 && std::string(argv[1]) == "--png") {
        int size = std::atoi(argv[2]);
        if (size < UNIT || size % UNIT != 0) {
            std::fprintf(stderr, "make_icon: a size of %s is not a whole multiple of 16\n",
                         argv[2]);
            return 2;
        }
        file = Png(Design{size});
        path = argv[3];
    } else {
        file = Ico();
    }
    FILE* out = std::fopen(path, "wb");
    if (!out) {
        std::perror(path);
        return 1;
    }
    bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written ? 0 : 1;
}
