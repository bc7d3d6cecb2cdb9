// Settings files that are damaged, foreign or odd, and how to compare what is left of them.
#include "bad_files.h"

#include <gtest/gtest.h>

#include <sstream>

// Blanks as the profile functions trim them, ^Z included.
static const char BLANKS[] = " \t\v\f\x1a";

static std::string Trim(const std::string& text)
{
    size_t first = text.find_first_not_of(BLANKS);
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(BLANKS) - first + 1);
}

std::vector<std::string> ProfileLines(const std::string& text)
{
    std::string unified = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? text.substr(3) : text;
    for (char& c : unified)
        if (c == '\r') c = '\n';
    std::vector<std::string> lines;
    std::istringstream in(unified);
    for (std::string line; std::getline(in, line);) {
        line = Trim(line);
        size_t equals = line.find('=');
        size_t close = line.rfind(']');
        if (line[0] == '[' && close != std::string::npos && close > 0)
            line = "[" + Trim(line.substr(1, close - 1)) + "]"; // written back trimmed
        else if (equals != std::string::npos)
            line = Trim(line.substr(0, equals)) + "=" + Trim(line.substr(equals + 1));
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

static std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return text;
}

// The section a line opens, if it opens one: the text between "[" and the last "]".
static bool IsSection(const std::string& line, std::string& name)
{
    size_t close = line.rfind(']');
    if (line.empty() || line[0] != '[' || close == std::string::npos || close == 0) return false;
    name = Lower(Trim(line.substr(1, close - 1)));
    return true;
}

static bool IsOwnKey(const std::string& line)
{
    std::string name = Lower(line.substr(0, line.find('=')));
    return name == "x" || name == "y" || name == "s";
}

void ExpectForeignLinesKept(const std::string& before, const std::string& after)
{
    std::vector<std::string> kept = ProfileLines(after);
    size_t next = 0;
    bool inOurSection = false, seenOurSection = false;
    for (const std::string& line : ProfileLines(before)) {
        std::string section;
        if (IsSection(line, section)) {
            // Only the first section of our name is read and written.
            inOurSection = !seenOurSection && section == "setting";
            seenOurSection = seenOurSection || inOurSection;
        }
        if (inOurSection && IsOwnKey(line)) continue;
        while (next < kept.size() && kept[next] != line)
            ++next;
        ASSERT_LT(next, kept.size()) << "lost: " << line << "\nfrom:\n" << after;
        ++next;
    }
}

static std::string Garbage(size_t size)
{
    std::string bytes;
    unsigned state = 12345;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1103515245 + 12345;
        char byte = char(state >> 16);
        bytes += byte == '\0' ? '\x01' : byte;
    }
    return bytes;
}

static std::string Huge()
{
    std::string text = "; a large file of someone else's\r\n[OTHER]\r\n";
    for (int i = 0; i < 20000; ++i)
        text += "key" + std::to_string(i) + "=value\r\n";
    return text + "[SETTING]\r\nx=5\r\n";
}

std::vector<std::string> BadSettingsFiles()
{
    return {
        "",
        Garbage(4096),
        Huge(),
        "[SETTING]\r\nx=12abc\r\ny=0x10\r\ns= 7\r\n",
        "[SETTING]\r\nx=+5\r\ny=\r\ns=\r\n",
        "[SETTING]\r\nx=2147483648\r\ny=-2147483649\r\ns=9223372036854775808\r\n",
        "[SETTING]\r\nx=-9223372036854775809\r\ny=99999999999\r\ns=12345678901234567890\r\n",
        "[SETTING]\r\nx=1\r\nx=2\r\ns=50\r\ns=60\r\n",
        "; comment\r\n[Other]\r\nx=keep\r\nname=value\r\n\r\n[SETTING]\r\n; ours\r\nx=7\r\n"
        "extra=kept\r\n[Last]\r\ns=also kept\r\n",
        "[SETTING]\r\nx=40\r\ny=50\r\ns=60",         // no line break at the end
        "\xEF\xBB\xBF[SETTING]\r\nx=41\r\ns=61\r\n", // UTF-8 byte-order mark
        "[SETTING]\nx = \"42\"\ny='43'\ns=\"7\r\n",  // quotes, and LF alone
        "[SETTING]\rx=0o17\ry=0b101\rs=-0x1f\r",     // other bases, and CR alone
        "\t[setting] \r\n  X  =  -12  \r\nY\r\n=5\r\n[SETTING\r\ns=9\r\n[SETTING]\r\ns=8\r\n",
        "[ SETTING ]\r\nx=1\r\n[Other]\r\ny=2\x1a\r\n",
    };
}
