// Helpers for the word store tests.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "app/dictionary/dictionary.h"

// Every word in order.
inline std::vector<std::string> all_words(const Dictionary &d)
{
    std::vector<std::string> out;
    WordCursor c;
    if (word_at(&d, 0, &c)) {
        do
            out.emplace_back(c.text);
        while (next_word(&d, &c));
    }
    return out;
}

inline ::testing::AssertionResult store_sound(const Dictionary &d)
{
    char message[200];
    if (dictionary_check(&d, message, sizeof message) == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << message;
}

// A dictionary that frees its blocks at the end of the test.
struct TestDictionary {
    Dictionary d{};
    TestDictionary() { init_dictionary(&d); }
    ~TestDictionary() { clear_dictionary(&d); }
    void add(const std::string &w) { ASSERT_EQ(add_word(&d, w.c_str()), nullptr); }
};

// A scratch directory that no other process shares: the test's name and
// this process's id under the temporary directory, so concurrent runs (ctest
// -j, another checkout's native tests in the same /tmp) never meet in it.
inline std::filesystem::path private_temp_dir(const char *tag)
{
    const ::testing::TestInfo *t = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::filesystem::temp_directory_path() /
           (std::string(tag) + (t ? t->name() : "") + "_" + std::to_string(getpid()));
}

// Removes a scratch directory and what it holds, one entry at a time and
// ignoring failures. std::filesystem::remove_all is not used: under MinGW
// its recursive walk spins forever once an entry cannot be removed (seen
// under Wine while another process held the directory).
inline void remove_tree(const std::filesystem::path &dir, int depth = 0)
{
    std::error_code ec;
    std::vector<std::filesystem::path> entries;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        entries.push_back(it->path());
    for (const std::filesystem::path &p : entries) {
        if (depth < 8 && std::filesystem::is_directory(std::filesystem::symlink_status(p, ec)))
            remove_tree(p, depth + 1);
        else
            std::filesystem::remove(p, ec);
    }
    std::filesystem::remove(dir, ec);
}
