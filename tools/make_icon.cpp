// Writes res/garvo.ico: the meter's two fill colours as two bars on a white square, in 32 x 32
// and 16 x 16, 16 colours, no transparent pixels. Run it again to remake the checked-in file.
#include <cstdint>
#include <cstdio>
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

struct Design {
    int size, border;
    Span blueBlock, blueLine, redBlock, redLine;
};

const Design DESIGNS[] = {
    {32, 2, {6, 11, 8, 23}, {8, 9, 4, 27}, {20, 25, 8, 23}, {22, 23, 4, 27}},
    {16, 1, {3, 5, 4, 11}, {4, 4, 2, 13}, {10, 12, 4, 11}, {11, 11, 2, 13}},
};

bool Inside(const Span& span, int row, int column)
{
    return row >= span.top && row <= span.bottom && column >= span.left && column <= span.right;
}

uint8_t PixelAt(const Design& d, int row, int column)
{
    int last = d.size - 1;
    if (row < d.border || column < d.border || row > last - d.border || column > last - d.border)
        return BLACK;
    if (Inside(d.blueBlock, row, column) || Inside(d.blueLine, row, column)) return BLUE;
    if (Inside(d.redBlock, row, column) || Inside(d.redLine, row, column)) return RED;
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

} // namespace

int main(int argc, char** argv)
{
    const char* path = argc > 1 ? argv[1] : "res/garvo.ico";
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

    FILE* out = std::fopen(path, "wb");
    if (!out) {
        std::perror(path);
        return 1;
    }
    bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written ? 0 : 1;
}
