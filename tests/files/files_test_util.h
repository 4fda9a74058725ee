// Shared set-up for the file layer's tests: the toolkit's error table and
// message texts, a scratch directory per test, and helpers to read and
// write whole files without going through the code under test.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "toolkit/files/files.h"
#include "toolkit/memory/memory.h"
#include "toolkit/text/cp1252.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/messages.h"

inline void load_toolkit_messages()
{
    messages_clear();
    error_clear_tables();
    error_register_toolkit_table();
    const char text[] = "ERD:Error reading data.\nEWR:Error writing data.\nEME:Not enough memory.\n"
                        "ESCAN:Save cancelled\nELCAN:Load cancelled\nNAME:Quillmere\n";
    addtrans_bytes(text, sizeof text - 1);
}

// Each test gets a fresh scratch directory under the working directory,
// named with "\" as the program's own paths are.
struct FilesTest : ::testing::Test {
    std::string dir;

    void SetUp() override
    {
        load_toolkit_messages();
        fs_os_restore();
        const ::testing::TestInfo *t = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = std::string("scratch_") + t->test_suite_name() + "_" + t->name();
        remove_tree(dir);
        ASSERT_EQ(fs_create_directory(dir.c_str()), nullptr);
    }
    void TearDown() override
    {
        fs_os_restore();
        fs_dir_close();
        remove_tree(dir);
    }

    std::string path(const std::string &leaf) const { return dir + "\\" + leaf; }

    // Removes a directory and the files directly in it.
    static void remove_tree(const std::string &d)
    {
        fs_info info;
        if (fs_file_info(d.c_str(), &info) || info.object_type != FS_DIRECTORY)
            return;
        std::vector<std::string> names;
        if (!fs_dir_open(d.c_str(), "*")) {
            fs_dir_entry entry;
            int done = 0;
            while (!fs_dir_next(&entry, &done) && !done)
                names.push_back(entry.name);
        }
        for (const std::string &n : names)
            remove_tree(d + "\\" + n), fs_delete((d + "\\" + n).c_str());
        fs_delete(d.c_str());
    }
};

// Bytes of a file through the C library (independent of the code under test).
inline std::vector<unsigned char> read_bytes(const std::string &path)
{
    std::string p = path;   // both platforms' C libraries accept "/"
    for (char &c : p)
        if (c == '\\')
            c = '/';
    std::vector<unsigned char> out;
    FILE *f = fopen(p.c_str(), "rb");
    if (!f)
        return out;
    int c;
    while ((c = fgetc(f)) != EOF)
        out.push_back(static_cast<unsigned char>(c));
    fclose(f);
    return out;
}

inline void write_bytes(const std::string &path, const std::string &bytes)
{
    ASSERT_EQ(fs_save_block(path.c_str(), FILETYPE_DATA, bytes.data(), static_cast<int>(bytes.size())),
              nullptr);
}

// The debug log's file (set up by fileops_test.cpp). Test processes may
// run side by side and append to it, so a check looks only at the lines
// written after a mark it took.
#define FILES_TEST_LOG "files_test.log"
inline size_t log_mark() { return read_bytes(FILES_TEST_LOG).size(); }
inline std::string log_since(size_t mark)
{
    std::vector<unsigned char> v = read_bytes(FILES_TEST_LOG);
    return mark < v.size() ? std::string(v.begin() + mark, v.end()) : std::string();
}

inline std::string text_of(const error_block *e) { return e ? e->errmess : "(no error)"; }
