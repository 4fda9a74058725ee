// Text helpers shared by quill's commands.
#include <string>

#include "tools/quill/quill.h"

// Code page 1252 to UTF-8: 0x80-0x9F through the code page's table (its
// five unassigned bytes map to the C1 controls), the rest as Latin-1.
void quill_append_utf8(std::string &out, unsigned char c)
{
    static const unsigned short high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    unsigned code = c >= 0x80 && c < 0xA0 ? high[c - 0x80] : c;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string quill_utf8(const char *text, size_t length)
{
    std::string out;
    for (size_t i = 0; i < length; i++)
        quill_append_utf8(out, static_cast<unsigned char>(text[i]));
    return out;
}
