// The safe save (a temporary file beside the target, then a replace) is
// never worse than the plain save it protects: it touches no other file,
// refuses what the plain save refuses, and leaves no temporary behind.
#include "files_test_util.h"

#include <sys/stat.h>

#include <algorithm>

namespace {

struct SafeSave : FilesTest {
    std::string text(const std::string &p)
    {
        std::vector<unsigned char> v = read_bytes(p);
        return std::string(v.begin(), v.end());
    }
    // The names in the scratch directory, sorted.
    std::vector<std::string> names()
    {
        std::vector<std::string> out;
        fs_dir_entry entry;
        int done = 0;
        if (!fs_dir_open(dir.c_str(), "*"))
            while (!fs_dir_next(&entry, &done) && !done)
                out.push_back(entry.name);
        std::sort(out.begin(), out.end());
        return out;
    }
};

TEST_F(SafeSave, NeverTouchesAFileOrDirectoryWithTheTemporarysName)
{
    std::string target = path("Grid.qlx");
    write_bytes(target, "old grid");
    write_bytes(target + ".~qm", "the user's own file");
    ASSERT_EQ(fs_save_block_safely(target.c_str(), 0x103, "new grid", 8), nullptr);
    EXPECT_EQ(text(target), "new grid");
    EXPECT_EQ(text(target + ".~qm"), "the user's own file");
    EXPECT_EQ(names(), (std::vector<std::string>{"Grid.qlx", "Grid.qlx.~qm"}));

    // A directory of that name (and a file of the next) are passed over too.
    std::string other = path("Other.qlx");
    ASSERT_EQ(fs_create_directory((other + ".~qm").c_str()), nullptr);
    write_bytes(other + ".~qm1", "keep me");
    ASSERT_EQ(fs_save_block_safely(other.c_str(), 0x103, "saved", 5), nullptr);
    EXPECT_EQ(text(other), "saved");
    EXPECT_EQ(text(other + ".~qm1"), "keep me");
    EXPECT_EQ(names(), (std::vector<std::string>{"Grid.qlx", "Grid.qlx.~qm", "Other.qlx",
                                                 "Other.qlx.~qm", "Other.qlx.~qm1"}));

    // A failed save still leaves no temporary of its own.
    fs_stream s;
    ASSERT_EQ(stream_open_safe(other.c_str(), 16, &s), nullptr);
    ASSERT_EQ(stream_write(&s, "half", 4), nullptr);
    const error_block *failed = make_error_text(300, "writer failed");
    EXPECT_EQ(stream_close(&s, failed), failed);
    EXPECT_EQ(text(other), "saved");
    EXPECT_EQ(names().size(), 5u);
}

TEST_F(SafeSave, AReadOnlyTargetIsRefusedAsThePlainSaveRefusesIt)
{
    std::string plain = path("plain.qlx"), safe = path("safe.qlx");
    write_bytes(plain, "old");
    write_bytes(safe, "old");
    std::string p1 = plain, p2 = safe;
    for (std::string *p : {&p1, &p2})
        for (char &c : *p)
            if (c == '\\')
                c = '/';
    ASSERT_EQ(chmod(p1.c_str(), S_IREAD), 0);
    ASSERT_EQ(chmod(p2.c_str(), S_IREAD), 0);
    const error_block *e = fs_save_block(plain.c_str(), 0x103, "new", 3);
    bool plain_refused = e != nullptr;
#ifdef _WIN32
    // Whatever the account's rights, as Windows itself does.
    EXPECT_TRUE(plain_refused);
#endif
    e = fs_save_block_safely(safe.c_str(), 0x103, "new", 3);
    EXPECT_EQ(e != nullptr, plain_refused);
    EXPECT_EQ(text(safe), plain_refused ? "old" : "new");
    EXPECT_EQ(names(), (std::vector<std::string>{"plain.qlx", "safe.qlx"}));
    chmod(p1.c_str(), S_IREAD | S_IWRITE);
    chmod(p2.c_str(), S_IREAD | S_IWRITE);
}

}  // namespace
