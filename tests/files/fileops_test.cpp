// Whole files, file management, the information record of real files and
// directory enumeration.
#include "files_test_util.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The debug log goes to a file of ours so that its lines can be checked;
// set before the first line is written (at start-up of the test program).
const bool log_set = [] {
    static char setting[] = "QUILLMERE_LOG=" FILES_TEST_LOG;
    putenv(setting);
    return true;
}();

struct FileOps : FilesTest {};

TEST_F(FileOps, LoadAndSaveWholeFiles)
{
    std::string p = path("whole.txt");
    size_t mark = log_mark();
    ASSERT_EQ(fs_save_block(p.c_str(), 0xFFF, "hello, file", 11), nullptr);
    char buffer[32];
    int length = 0;
    ASSERT_EQ(fs_load_file(p.c_str(), buffer, sizeof buffer, &length), nullptr);
    EXPECT_EQ(std::string(buffer, length), "hello, file");
    // A buffer too small is refused before anything is read.
    char small[4] = "abc";
    const error_block *e = fs_load_file(p.c_str(), small, sizeof small, &length);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->errnum, 30);
    EXPECT_STREQ(small, "abc");
    // Not a file: nothing happens.
    ASSERT_EQ(fs_load_file(path("absent").c_str(), buffer, sizeof buffer, &length), nullptr);
    EXPECT_EQ(length, 0);
    ASSERT_EQ(fs_load_file(dir.c_str(), buffer, sizeof buffer, &length), nullptr);
    EXPECT_EQ(length, 0);
    void *block = nullptr;
    ASSERT_EQ(fs_load_heap(p.c_str(), &block, &length), nullptr);
    EXPECT_EQ(std::string(static_cast<char *>(block), length), "hello, file");
    heap_dispose(&block);
    EXPECT_NE(fs_load_heap(path("absent").c_str(), &block, &length), nullptr);
    EXPECT_EQ(block, nullptr);
    // An empty file loads as zero bytes.
    ASSERT_EQ(fs_save_block(p.c_str(), 0xFFF, "", 0), nullptr);
    ASSERT_EQ(fs_load_heap(p.c_str(), &block, &length), nullptr);
    EXPECT_EQ(length, 0);
    heap_dispose(&block);
    EXPECT_NE(log_since(mark).find("file save block"), std::string::npos);
}

TEST_F(FileOps, InformationRecordOfFilesAndDirectories)
{
    filetype_link link;
    filetype_clear_tables();
    filetype_register(quillmere_filetypes, &link);
    fs_info info;
    ASSERT_EQ(fs_file_info(path("none.qlx").c_str(), &info), nullptr);
    EXPECT_EQ(info.object_type, FS_NOT_FOUND);
    ASSERT_EQ(fs_file_info(path("missing_dir\\none.qlx").c_str(), &info), nullptr);
    EXPECT_EQ(info.object_type, FS_NOT_FOUND);

    std::string p = path("Grid.QLX");
    write_bytes(p, std::string(1234, 'g'));
    // 2 March 2024 10:20:30.40 UTC, as centiseconds since 1900.
    uint64_t when = fs_time_from_unix(1709374830, 400000000);
    ASSERT_EQ(fs_set_time(p.c_str(), when), nullptr);
    ASSERT_EQ(fs_file_info(p.c_str(), &info), nullptr);
    EXPECT_EQ(info.object_type, FS_FILE);
    EXPECT_EQ(info.length, 1234u);
    EXPECT_EQ(info.file_type, 0x103);
    EXPECT_EQ(fs_info_type(&info), 0x103);
    EXPECT_EQ(info.load >> 20, 0xFFFu);
    EXPECT_EQ(fs_info_time(&info), when);
    EXPECT_FALSE(info.attributes & FS_ATTR_DIRECTORY);
    ASSERT_EQ(fs_file_info(dir.c_str(), &info), nullptr);
    EXPECT_EQ(info.object_type, FS_DIRECTORY);
    EXPECT_TRUE(info.attributes & FS_ATTR_DIRECTORY);
    EXPECT_NE(fs_set_time(path("none").c_str(), when), nullptr);
    filetype_clear_tables();
}

TEST_F(FileOps, DeleteRenameCopyAndDirectories)
{
    std::string a = path("a.txt"), b = path("b.txt"), c = path("c.txt"), sub = path("sub");
    write_bytes(a, "alpha");
    ASSERT_EQ(fs_copy(a.c_str(), b.c_str()), nullptr);
    EXPECT_EQ(read_bytes(b), read_bytes(a));
    write_bytes(c, "older");
    ASSERT_EQ(fs_copy(a.c_str(), c.c_str()), nullptr);   // copy replaces
    EXPECT_EQ(read_bytes(c), read_bytes(a));
    // Rename names both paths when it fails (here: the target exists).
    const error_block *e = fs_rename(a.c_str(), b.c_str());
    ASSERT_NE(e, nullptr);
    EXPECT_NE(strstr(e->errmess, (a + " " + b).c_str()), nullptr) << e->errmess;
    ASSERT_EQ(fs_delete(b.c_str()), nullptr);
    ASSERT_EQ(fs_rename(a.c_str(), b.c_str()), nullptr);
    EXPECT_TRUE(read_bytes(a).empty());
    EXPECT_EQ(read_bytes(b).size(), 5u);
    ASSERT_EQ(fs_create_directory(sub.c_str()), nullptr);
    EXPECT_NE(fs_create_directory(sub.c_str()), nullptr);   // exists already
    write_bytes(sub + "\\f", "x");
    EXPECT_NE(fs_delete(sub.c_str()), nullptr);             // not empty
    ASSERT_EQ(fs_delete((sub + "\\f").c_str()), nullptr);
    ASSERT_EQ(fs_delete(sub.c_str()), nullptr);              // empty directory
    e = fs_delete(path("gone").c_str());
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->errnum, OS_CODE_NOT_FOUND);
    EXPECT_NE(strstr(e->errmess, fs_os.delete_file.name), nullptr);
}

TEST_F(FileOps, DirectoryEnumerationOneAtATime)
{
    for (const char *n : {"one.dic", "two.DIC", "three.txt"})
        write_bytes(path(n), n);
    ASSERT_EQ(fs_create_directory(path("inner.dic").c_str()), nullptr);
    ASSERT_EQ(fs_dir_open(dir.c_str(), "*.dic"), nullptr);
    std::vector<std::string> names;
    fs_dir_entry entry;
    int done = 0;
    while (!done) {
        ASSERT_EQ(fs_dir_next(&entry, &done), nullptr);
        if (done)
            break;
        names.push_back(entry.name);
        if (std::string(entry.name) == "inner.dic")
            EXPECT_EQ(entry.info.object_type, FS_DIRECTORY);
        else
            EXPECT_EQ(entry.info.length, strlen(entry.name));
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"inner.dic", "one.dic", "two.DIC"}));
    ASSERT_EQ(fs_dir_next(&entry, &done), nullptr);   // after the end: still done
    EXPECT_EQ(done, 1);

    // Everything but "." and "..".
    ASSERT_EQ(fs_dir_open(dir.c_str(), "*.*"), nullptr);
    int count = 0;
    while (!fs_dir_next(&entry, &done) && !done) {
        EXPECT_STRNE(entry.name, ".");
        EXPECT_STRNE(entry.name, "..");
        count++;
    }
    EXPECT_EQ(count, 4);
    // A pattern that matches nothing is done at once.
    ASSERT_EQ(fs_dir_open(dir.c_str(), "*.none"), nullptr);
    ASSERT_EQ(fs_dir_next(&entry, &done), nullptr);
    EXPECT_EQ(done, 1);
    // Starting while one is open abandons it, with a log line.
    size_t mark = log_mark();
    ASSERT_EQ(fs_dir_open(dir.c_str(), "*"), nullptr);
    ASSERT_EQ(fs_dir_open(dir.c_str(), "*", true), nullptr);
    ASSERT_EQ(fs_dir_open(dir.c_str(), "*"), nullptr);
    EXPECT_NE(log_since(mark).find("!!!!!! find handle overwrite in loadscan !!!!!"), std::string::npos);
    EXPECT_NE(log_since(mark).find("!!!!!! find handle overwrite !!!!!"), std::string::npos);
    fs_dir_close();
    // A missing directory is an error naming the search call.
    const error_block *e = fs_dir_open(path("nowhere").c_str(), "*");
    ASSERT_NE(e, nullptr);
    EXPECT_NE(strstr(e->errmess, fs_os.find_open.name), nullptr) << e->errmess;
}

}  // namespace
