// Scratch directories for tests that run as separate processes at once
// (ctest -j, another checkout's tests in the same temporary directory).
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

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
