// The installer's package reader on arbitrary bytes: attach, walk every
// central directory entry, read stored members as text and extract every
// member whose name is safe into a scratch directory (members that claim
// more than 1 MB are skipped, so a bomb cannot fill the disk).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "installer/package.h"

static std::string scratch()
{
    static std::string dir;
    if (dir.empty()) {
        char pattern[] = "/tmp/qm_package_fuzz_XXXXXX";
        dir = mkdtemp(pattern);
    }
    return dir;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (package_attach(data, size))
        return 0;
    const unsigned char *p = nullptr;
    for (int count = 0; count < 64; count++) {
        char name[261];
        const unsigned char *next = nullptr;
        const unsigned char *local = find_member(nullptr, p, name, sizeof name, &next);
        if (!local)
            break;
        const char *text;
        uint32_t length;
        if (member_text(name, &text, &length) && length > 0) {
            volatile char last = text[length - 1];
            (void)last;
        }
        bool small = the_package.end - local >= 26 &&
                     (local[22] | (local[23] << 8) | (local[24] << 16)) < (1 << 20) &&
                     local[25] == 0;
        if (small && member_name_safe(name) && !strchr(name, '\\'))
            extract_member(name, scratch().c_str());
        if (!next || next >= the_package.end)
            break;
        p = next;
    }
    return 0;
}
