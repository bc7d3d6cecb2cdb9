// The X server's setup and replies read from their bytes: what they say, and where a count says
// more than the bytes hold.
#include "../../x11/replies.h"

#include <gtest/gtest.h>

#include <string.h>
#include <vector>

namespace
{

struct Bytes {
    std::vector<uint8_t> data;
    Bytes& Put(uint32_t value, size_t size)
    {
        for (size_t i = 0; i < size; ++i) // the machine's own order, as XCB hands them
            data.push_back(
                uint8_t(value >> 8 * (__BYTE_ORDER__ == __ORDER_BIG_ENDIAN__ ? size - 1 - i : i)));
        return *this;
    }
    Bytes& Zeros(size_t count)
    {
        data.resize(data.size() + count);
        return *this;
    }
    void Set(size_t at, uint32_t value, size_t size)
    {
        Bytes part;
        part.Put(value, size);
        memcpy(&data[at], part.data.data(), size);
    }
};

// A setup of one screen, 1024 x 768, whose depth-24 root visual 0x21 has that class; a pixmap
// format for depth 24 of those bits and pad; counts claimed as given, whatever is held.
struct SetupShape {
    int bits = 32, pad = 32, visualClass = 4;
    int screens = 1, visuals = 1, visualsHeld = 1, extraWords = 0;
};

Bytes MakeSetup(const SetupShape& shape)
{
    Bytes b;
    b.Put(1, 1).Zeros(5).Put(0, 2); // status, protocol version, length filled in below
    b.Zeros(16).Put(4, 2).Put(0xffff, 2).Put(shape.screens, 1).Put(1, 1).Zeros(10);
    b.Put('X' | 'o' << 8 | 'r' << 16 | 'g' << 24, 4);            // the vendor
    b.Put(24, 1).Put(shape.bits, 1).Put(shape.pad, 1).Zeros(5);  // the pixmap format
    b.Put(0x100, 4).Zeros(16).Put(1024, 2).Put(768, 2).Zeros(8); // the screen
    b.Put(0x21, 4).Zeros(3).Put(1, 1);                           // root visual, one depth
    b.Put(24, 1).Zeros(1).Put(shape.visuals, 2).Zeros(4);        // the depth
    for (int v = 0; v < shape.visualsHeld; ++v)
        b.Put(0x21 + v, 4)
            .Put(shape.visualClass, 1)
            .Put(8, 1)
            .Put(256, 2)
            .Put(0xff0000, 4)
            .Put(0xff00, 4)
            .Put(0xff, 4)
            .Zeros(4);
    b.Set(6, uint32_t((b.data.size() - 8) / 4 + shape.extraWords), 2);
    return b;
}

} // namespace

TEST(Replies, SetupDrawnInOrRefused)
{
    const struct {
        SetupShape shape;
        int screen;
        const char* refused; // part of the reason; none where it is drawn in
    } rows[] = {
        {{}, 0, nullptr},
        {{24, 32}, 0, nullptr},
        {{}, 3, nullptr}, // a screen past the last: the last
        {{0, 32}, 0, "0 bits a pixel"},
        {{248, 32}, 0, "248 bits a pixel"}, // a row longer than any buffer
        {{16, 32}, 0, "16 bits a pixel"},   // fewer bits than the depth
        {{32, 0}, 0, "padded to 0"},
        {{32, 32, 3}, 0, "no TrueColor"},
        {{32, 32, 4, 1, 40, 1}, 0, "cut short"}, // visuals past the end
        {{32, 32, 4, 2}, 1, "cut short"},        // a second screen that is not there
        {{32, 32, 4, 1, 1, 1, 64}, 0, "cut short"},
        {{32, 32, 4, 0, 1, 1}, 0, "cut short"}, // the screen's bytes past the end
    };
    for (const auto& row : rows) {
        Bytes setup = MakeSetup(row.shape);
        if (row.shape.visuals == 0) setup.data.resize(setup.data.size() - 40);
        Screen screen;
        char why[200] = "";
        bool ok =
            ReadSetup(setup.data.data(), setup.data.size(), row.screen, screen, why, sizeof why);
        SCOPED_TRACE(testing::Message() << "bits " << row.shape.bits << " pad " << row.shape.pad
                                        << " screen " << row.screen);
        EXPECT_EQ(!row.refused, ok) << why;
        if (row.refused) {
            EXPECT_NE(nullptr, strstr(why, row.refused)) << why;
        }
        if (!ok) continue;
        EXPECT_EQ(0x100u, screen.root);
        EXPECT_EQ(1024, screen.width);
        EXPECT_EQ(0x21u, screen.visual);
        EXPECT_TRUE(screen.rootVisual);
        EXPECT_EQ(row.shape.bits, screen.format.bitsPerPixel);
        EXPECT_EQ(0xff00u, screen.format.green);
    }
    // XCB holds what the length says: a length past the bytes it has is refused.
    Bytes setup = MakeSetup({});
    Screen screen;
    char why[200];
    EXPECT_FALSE(ReadSetup(setup.data.data(), 39, 0, screen, why, sizeof why));
    EXPECT_EQ(setup.data.size(), SetupLength(setup.data.data()));
}

// A GetMonitors reply holding these monitors (x, y, width, height, primary, outputs), claiming
// that many.
static Bytes MakeMonitors(std::vector<std::vector<int>> monitors, int claimed)
{
    Bytes b;
    b.Put(1, 1).Zeros(1).Put(7, 2).Put(0, 4).Put(0, 4).Put(claimed, 4).Zeros(16);
    for (const auto& m : monitors) {
        b.Put(0x50, 4).Put(m[4], 1).Put(1, 1).Put(m[5], 2).Put(m[0], 2).Put(m[1], 2);
        b.Put(m[2], 2).Put(m[3], 2).Zeros(8);
        for (int o = 0; o < m[5] && o < 2; ++o)
            b.Put(0x60 + o, 4);
    }
    b.Set(4, uint32_t(b.data.size() - 32) / 4, 4);
    return b;
}

TEST(Replies, MonitorsAsFarAsTheReplyHolds)
{
    std::vector<int> left = {0, 0, 1024, 768, 0, 1}, right = {1024, 0, 800, 600, 1, 2},
                     empty = {0, 0, 0, 0, 0, 0}, negative = {-800, -600, 800, 600, 0, 0},
                     lying = {0, 0, 640, 480, 0, 900};
    const struct {
        std::vector<std::vector<int>> monitors;
        int claimed, count, primary;
    } rows[] = {
        {{left, right}, 2, 2, 1},
        {{left, right}, 200, 2, 1},       // more claimed than held
        {{left, right}, 1, 1, -1},        // fewer: the rest is not read
        {{empty, left}, 2, 1, -1},        // one with no area is no monitor
        {{negative}, 1, 1, -1},           // left of and above the origin
        {{left, lying, right}, 3, 1, -1}, // outputs past the end: nothing after is read
        {{}, 1, 0, -1},
        {std::vector<std::vector<int>>(20, right), 20, MAX_MONITORS, MAX_MONITORS - 1},
    };
    for (const auto& row : rows) {
        Bytes reply = MakeMonitors(row.monitors, row.claimed);
        MonitorList list;
        ReadMonitorsReply(reply.data.data(), ReplyLength(reply.data.data()), list);
        SCOPED_TRACE(testing::Message() << row.monitors.size() << " held, " << row.claimed);
        EXPECT_EQ(row.count, list.count);
        EXPECT_EQ(row.primary, list.primary);
        if (row.monitors.size() && row.monitors[0] == negative) {
            EXPECT_EQ(-600, list.rects[0].top);
        }
    }
    MonitorList list;
    ReadMonitorsReply(MakeMonitors({left}, 1).data.data(), 31, list);
    EXPECT_EQ(0, list.count);
}

TEST(Replies, ChildrenAndTextWithinTheReply)
{
    const struct {
        int claimed, held, count;
    } trees[] = {{3, 3, 3}, {65535, 3, 3}, {2, 3, 2}, {0, 0, 0}};
    for (const auto& row : trees) {
        Bytes reply;
        reply.Put(1, 1)
            .Zeros(3)
            .Put(row.held, 4)
            .Put(0x100, 4)
            .Put(0, 4)
            .Put(row.claimed, 2)
            .Zeros(14);
        for (int i = 0; i < row.held; ++i)
            reply.Put(0x400 + i, 4);
        ASSERT_EQ(row.count, CountChildren(reply.data.data(), ReplyLength(reply.data.data())));
        if (row.count) {
            EXPECT_EQ(0x400u + row.count - 1, ChildAt(reply.data.data(), row.count - 1));
        }
    }
    EXPECT_EQ(0, CountChildren(nullptr, 0));

    const uint32_t STRING = 31;
    const struct {
        int format;
        uint32_t type, claimed;
        int length;
    } texts[] = {
        {8, STRING, 12, 12}, {8, STRING, 1u << 30, 16}, {8, STRING, 0, 0}, {32, STRING, 12, 0},
        {8, 4, 12, 0},
    };
    for (const auto& row : texts) {
        Bytes reply;
        reply.Put(1, 1).Put(row.format, 1).Zeros(2).Put(4, 4).Put(row.type, 4).Put(0, 4);
        reply.Put(row.claimed, 4).Zeros(12);
        for (char c : std::string("Xft.dpi:\t192\n\n\n\n"))
            reply.Put(uint8_t(c), 1);
        const char* text;
        EXPECT_EQ(row.length,
                  ReadText(reply.data.data(), ReplyLength(reply.data.data()), STRING, text))
            << row.format << " " << row.type << " " << row.claimed;
        if (row.length) {
            EXPECT_EQ(0, memcmp(text, "Xft.dpi:", 8));
        }
    }
}
