// Faults of the file layer at its edges: one expansion per operation, an
// over-long reference value, copying onto the same file, a stream whose
// dirty buffer cannot be written before a byte read, and memory streams
// near the top of the size range.
#include "files_test_util.h"

#include <cstdlib>

#include "toolkit/files/files_os.h"
#include "toolkit/files/registry.h"

namespace {

struct FileFaults : FilesTest {};

void set_env(const char *name, const std::string &value)
{
    static std::vector<std::string> keep;   // putenv keeps the pointer
    keep.push_back(std::string(name) + "=" + value);
    putenv(keep.back().data());
}

TEST_F(FileFaults, WholeFileLoadsExpandThePathOnce)
{
    set_env("QMFAULTVAR", "X");
    // "litX.txt" is another file, shorter than the literal one.
    ASSERT_EQ(fs_save_block(path("litX.txt").c_str(), 0xFFF, "other", 5), nullptr);
    std::string literal = path("lit<<%QMFAULTVAR%>.txt");   // names "lit<%QMFAULTVAR%>.txt"
    bool made = fs_save_block(literal.c_str(), 0xFFF, "the literal one", 15) == nullptr;
    char buffer[64];
    int length = -1;
    ASSERT_EQ(fs_load_file(literal.c_str(), buffer, sizeof buffer, &length), nullptr);
    void *block = nullptr;
    int heap_length = -1;
    const error_block *e = fs_load_heap(literal.c_str(), &block, &heap_length);
    if (made) {
        EXPECT_EQ(std::string(buffer, length), "the literal one");
        ASSERT_EQ(e, nullptr) << e->errmess;
        EXPECT_EQ(std::string(static_cast<char *>(block), heap_length), "the literal one");
    } else {   // a name that this system cannot hold: still not the other file
        EXPECT_EQ(length, 0);
        EXPECT_NE(e, nullptr);
    }
    heap_dispose(&block);
}

TEST_F(FileFaults, AReferenceValueTooLongForAPathIsAnErrorNotUnresolved)
{
    char out[FS_PATH_MAX];
    set_env("QMFAULTLONG", std::string(300, 'v'));
    const error_block *e = fs_expand_path("<%QMFAULTLONG%>\\grid.qlx", out, sizeof out);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->errnum, 30);
    EXPECT_STREQ(out, "");
    set_env("QMFAULTFITS", std::string(200, 'v'));
    ASSERT_EQ(fs_expand_path("<%QMFAULTFITS%>\\grid.qlx", out, sizeof out), nullptr);
    EXPECT_EQ(std::string(out), std::string(200, 'v') + "\\grid.qlx");

    const char key[] = "HKCU\\Software\\QuillmereFilesTest\\long";
    if (reg_write_string(key, std::string(600, 'r').c_str()) != nullptr)
        return;   // no registry in this build
    e = fs_expand_path("<HKCU\\Software\\QuillmereFilesTest\\long>\\grid.qlx", out, sizeof out);
    reg_delete(key);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->errnum, 30);
}

TEST_F(FileFaults, CopyOntoTheSameFileOrFromADirectoryKeepsTheTarget)
{
    std::string a = path("a.txt");
    write_bytes(a, "precious");
    EXPECT_NE(fs_copy(a.c_str(), a.c_str()), nullptr);
    EXPECT_EQ(read_bytes(a).size(), 8u);
    std::string other_spelling = dir + "\\.\\a.txt";
    EXPECT_NE(fs_copy(a.c_str(), other_spelling.c_str()), nullptr);
    EXPECT_NE(fs_copy(other_spelling.c_str(), a.c_str()), nullptr);
    EXPECT_EQ(read_bytes(a).size(), 8u);

    ASSERT_EQ(fs_create_directory(path("sub").c_str()), nullptr);
    EXPECT_NE(fs_copy(path("sub").c_str(), a.c_str()), nullptr);
    EXPECT_EQ(read_bytes(a).size(), 8u);

    // An ordinary copy still replaces the target, and leaves nothing else.
    write_bytes(path("b.txt"), "bb");
    ASSERT_EQ(fs_copy(path("b.txt").c_str(), a.c_str()), nullptr);
    std::vector<unsigned char> copied = read_bytes(a);
    EXPECT_EQ(std::string(copied.begin(), copied.end()), "bb");
    int entries = 0, done = 0;
    fs_dir_entry entry;
    ASSERT_EQ(fs_dir_open(dir.c_str(), "*"), nullptr);
    while (!fs_dir_next(&entry, &done) && !done)
        entries++;
    EXPECT_EQ(entries, 3);   // a.txt, b.txt, sub
}

int failing_write(intptr_t, const void *, int, int *done)
{
    *done = 0;
    return 5;   // the platform's "access denied" on Windows, EIO natively
}

TEST_F(FileFaults, AByteReadReportsAWriteErrorOfTheDirtyBuffer)
{
    write_bytes(path("s.dat"), std::string(200, 'x'));
    fs_stream s;
    ASSERT_EQ(stream_open(path("s.dat").c_str(), "u", 16, &s), nullptr);
    ASSERT_EQ(stream_write(&s, "dirty", 5), nullptr);
    fs_os.write.current = failing_write;
    ASSERT_EQ(stream_seek(&s, 100), nullptr);   // outside the buffer: a refill
    EXPECT_EQ(stream_peek(&s), -1);
    EXPECT_EQ(stream_getc(&s), -1);
    const error_block *e = stream_error(&s);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->errnum, 5);
    e = stream_close(&s, nullptr);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->errnum, 5);
    fs_os_restore();

    // At the real end of the data there is no error.
    ASSERT_EQ(stream_open(path("s.dat").c_str(), "r", 16, &s), nullptr);
    ASSERT_EQ(stream_seek(&s, 200), nullptr);
    EXPECT_EQ(stream_getc(&s), -1);
    EXPECT_EQ(stream_error(&s), nullptr);
    EXPECT_EQ(stream_close(&s, nullptr), nullptr);
}

size_t asked = 0;
void *refusing_resize(void *, size_t n)
{
    asked = n;
    return nullptr;
}

TEST_F(FileFaults, AMemoryStreamPastAGigabyteAsksForASizeThatFits)
{
    fs_stream s;
    ASSERT_EQ(stream_open(nullptr, "w", 16, &s), nullptr);
    // Pretend the stream already holds 1.25 GB: doubling would pass the
    // 32-bit range; the stream asks for the largest block instead.
    int32_t real_capacity = s.capacity;
    s.capacity = s.valid = s.position = 0x50000000;
    memory_os.resize = refusing_resize;
    const error_block *e = stream_putc(&s, 'x');
    memory_os = memory_os_default;
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->errnum, 2);
    EXPECT_GT(asked, size_t(0x50000000));
    EXPECT_LT(asked, size_t(0x80000000) + 64);   // the largest block and its header
    s.capacity = real_capacity;
    s.valid = s.position = 0;
    EXPECT_EQ(stream_close(&s, nullptr), nullptr);
}

}  // namespace
