// A flex block whose resize lands far away (more than 4 GB, as an
// allocator with far-apart heap regions produces): the mover learns the
// full signed distance, and only a move downwards is logged as one.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "toolkit/memory/memory.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/log.h"

namespace {

const uintptr_t kRegion = 1 << 20;
const uintptr_t kApart = uintptr_t(8) << 30;   // 8 GB

char *low_region = nullptr;    // the block starts here
char *high_region = nullptr;   // kApart bytes above it
char *current = nullptr;       // where the stand-in keeps the block

void *region_alloc(size_t n) { return n <= kRegion ? (current = low_region) : nullptr; }

// Moves the block to the other region, as a real resize may.
void *region_resize(void *p, size_t n)
{
    if (n > kRegion)
        return nullptr;
    char *to = p == low_region ? high_region : low_region;
    memmove(to, p, n);
    return current = to;
}

void region_release(void *) {}

std::string read_log(const char *path)
{
    std::string text;
    FILE *f = fopen(path, "rb");
    if (!f)
        return text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
        text.append(buffer, n);
    fclose(f);
    return text;
}

ptrdiff_t moved = 0;
int moves = 0;
void record(void *, ptrdiff_t distance)
{
    moved = distance;
    moves++;
}

TEST(FlexFarMove, MoverSeesTheFullSignedDistance)
{
    const char *log = "far_move_test.log";
    remove(log);
    static char setting[] = "QUILLMERE_LOG=far_move_test.log";
    _putenv(setting);
    error_clear_tables();
    error_register_toolkit_table();

    // Two regions exactly 8 GB apart: a low one anywhere, a high one placed.
    for (int attempt = 0; attempt < 16 && !high_region; attempt++) {
        low_region = static_cast<char *>(
            VirtualAlloc(nullptr, kRegion, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        ASSERT_NE(low_region, nullptr);
        high_region = static_cast<char *>(VirtualAlloc(low_region + kApart, kRegion,
                                                       MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        if (!high_region)
            VirtualFree(low_region, 0, MEM_RELEASE);
    }
    ASSERT_NE(high_region, nullptr) << "no address 8 GB above a free region";

    memory_os = memory_calls{region_alloc, region_resize, region_release};
    void *a = nullptr;
    ASSERT_EQ(flex_new(&a, 64), nullptr);
    memcpy(a, "far away", 9);
    flex_set_mover(&a, record, nullptr);

    debug_log("-- up");
    ASSERT_EQ(flex_resize(&a, 128), nullptr);
    EXPECT_EQ(current, high_region);
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(moved, static_cast<ptrdiff_t>(kApart));
    EXPECT_STREQ(static_cast<char *>(a), "far away");

    debug_log("-- down");
    ASSERT_EQ(flex_resize(&a, 32), nullptr);
    EXPECT_EQ(current, low_region);
    EXPECT_EQ(moves, 2);
    EXPECT_EQ(moved, -static_cast<ptrdiff_t>(kApart));
    EXPECT_STREQ(static_cast<char *>(a), "far away");
    flex_dispose(&a);
    memory_os = memory_os_default;

    std::string text = read_log(log);
    size_t up = text.find("-- up"), down = text.find("-- down");
    ASSERT_NE(up, std::string::npos);
    ASSERT_NE(down, std::string::npos);
    EXPECT_EQ(text.find("!!!!XXX realloc down", up), text.find("!!!!XXX realloc down", down))
        << text;   // no such line between the move up and the move down
    EXPECT_NE(text.find("!!!!XXX realloc down", down), std::string::npos) << text;

    VirtualFree(high_region, 0, MEM_RELEASE);
    VirtualFree(low_region, 0, MEM_RELEASE);
}

}  // namespace
