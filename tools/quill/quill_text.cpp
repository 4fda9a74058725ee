// Text helpers shared by quill's commands.
#include <string>

#include "toolkit/text/cp1252.h"
#include "tools/quill/quill.h"

std::string quill_utf8(const char *text, size_t length)
{
    std::string out;
    for (size_t i = 0; i < length; i++)
        cp_append_utf8(out, static_cast<unsigned char>(text[i]));
    return out;
}
