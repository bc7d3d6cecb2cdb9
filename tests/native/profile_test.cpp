// The settings file editor keeps every byte it does not have to change. (What it reads and which
// lines it keeps are checked against the Windows profile functions under Wine.)
#include "../../unix/profile.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

void Append(void* text, const char* bytes, size_t size)
{
    static_cast<std::string*>(text)->append(bytes, size);
}

struct Rewritten {
    std::string text;
    bool changed;
};

Rewritten Rewrite(const std::string& file, const char* x, const char* y, const char* s)
{
    const ProfileKey keys[] = {{"x", x}, {"y", y}, {"s", s}};
    Rewritten result;
    result.changed = RewriteProfile(file.data(), file.size(), "SETTING", keys, 3,
                                    ProfileSink{Append, &result.text});
    return result;
}

TEST(Profile, RewritesOnlyTheKeysThatChange)
{
    const struct {
        const char* file;
        const char* want;
    } rows[] = {
        {"", "[SETTING]\r\nx=300\r\ny=200\r\ns=75\r\n"},
        // A file of LF lines gets LF lines; a value is replaced where it stands, the other
        // keys go after the section's last line, before the blank line that ends it.
        {"; mine\n[SETTING]\nX = 1\n\n[Other]\nk = v",
         "; mine\n[SETTING]\nX=300\ny=200\ns=75\n\n[Other]\nk = v"},
        {"[SETTING]\r\ns=10", "[SETTING]\r\ns=75\r\nx=300\r\ny=200\r\n"},
        {"[SETTING]\r\nx=1\r\n\r\n[Other]\r\n",
         "[SETTING]\r\nx=300\r\ny=200\r\ns=75\r\n\r\n[Other]\r\n"},
        {"\xEF\xBB\xBF[Other]\r\nk=v\r\n",
         "\xEF\xBB\xBF[Other]\r\nk=v\r\n[SETTING]\r\nx=300\r\ny=200\r\ns=75\r\n"},
        {"[Other]\r\nk=v", "[Other]\r\nk=v\r\n[SETTING]\r\nx=300\r\ny=200\r\ns=75\r\n"},
        // Only the first section of the name counts, and only the first key of a name in it.
        {"[setting]\nx=1\nx=2\n[SETTING]\ny=3\n",
         "[setting]\nx=300\nx=2\ny=200\ns=75\n[SETTING]\ny=3\n"},
    };
    for (const auto& row : rows) {
        Rewritten rewritten = Rewrite(row.file, "300", "200", "75");
        EXPECT_EQ(row.want, rewritten.text) << row.file;
        EXPECT_TRUE(rewritten.changed);
    }
}

TEST(Profile, SameValuesChangeNothing)
{
    const std::string file = "; notes\n\n[SETTING]\n  x =  300 \ny=200\r\ns=75\n\n[Other]\n";
    Rewritten rewritten = Rewrite(file, "300", "200", "75");
    EXPECT_FALSE(rewritten.changed);
    EXPECT_EQ(file, rewritten.text);
}

TEST(Profile, ReadsIntegersAsThePlatformDoes)
{
    const struct {
        const char* value;
        int32_t read;
    } rows[] = {
        {"x=300", 300},
        {"x = -40 ", -40},
        {"x=+5", 5},
        {"x=12abc", 12},
        {"x=abc", 0},
        {"x=0x1f", 31},
        {"x=-0b101", -5},
        {"x=0o17", 15},
        {"x=\"42\"", 42},
        {"x='7'", 7},
        {"x=\"", 0},
        {"x=", -1},
        {"x", -1},
        {"y=5", -1},
        {"x=4294967296", 0},
        {"x=2147483648", INT32_MIN},
        {"x=-2147483649", INT32_MAX},
    };
    for (const auto& row : rows) {
        std::string file = std::string("[SETTING]\n") + row.value + "\n";
        EXPECT_EQ(row.read, ReadProfileInt(file.data(), file.size(), "SETTING", "x", -1))
            << row.value;
    }
}

} // namespace
