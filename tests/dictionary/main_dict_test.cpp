// The full word list: imported, every word (after the import rules) found
// in both find modes, and the store sound. Runs where the list is installed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "app/dictionary/dictionary_text.h"
#include "tests/dictionary/store_test_util.h"
#include "toolkit/text/cp1252.h"

namespace {

const char kList[] = "/usr/share/dict/american-english";

struct ProgramOrder {
    bool operator()(const std::string &a, const std::string &b) const
    {
        return compare_words(a.c_str(), b.c_str(), WORD_MAX, nullptr) < 0;
    }
};

// The import rules for one line (Latin-1 list bytes are code page 1252).
std::string ruled(const std::string &line)
{
    size_t i = line.find_first_not_of(" \t\r");
    if (i == std::string::npos)
        return "";
    char w[WORD_BUFFER];
    size_t n = 0;
    w[n++] = line[i];
    for (i++; i < line.size() && static_cast<unsigned char>(line[i]) >= 32; i++) {
        if (!cp_is_alpha(static_cast<unsigned char>(line[i])))
            continue;
        if (n == WORD_MAX)
            return "";
        w[n++] = static_cast<char>(cp_lower(static_cast<unsigned char>(line[i])));
    }
    return std::string(w, n);
}

}  // namespace

TEST(MainDict, EveryListedWordIsFound)
{
    std::ifstream in(kList, std::ios::binary);
    if (!in)
        GTEST_SKIP() << kList << " is not installed";
    std::map<std::string, std::string, ProgramOrder> expected;
    for (std::string line; std::getline(in, line);) {
        std::string w = ruled(line);
        if (!w.empty())
            expected[w] = w;   // the last spelling of a case variant wins
    }
    TestDictionary t;
    ImportCounts counts;
    ASSERT_EQ(import_word_file(&t.d, kList, false, &counts), nullptr);
    ASSERT_TRUE(store_sound(t.d));
    ASSERT_EQ(t.d.words, expected.size());
    for (const auto &[key, spelling] : expected) {
        WordCursor c;
        unsigned flags = 0;
        ASSERT_EQ(find_word(&t.d, spelling.c_str(), &c, &flags), 1) << spelling;
        ASSERT_EQ(spelling, c.text);
        flags = CMP_IGNORE_SPACES;
        ASSERT_EQ(find_word(&t.d, spelling.c_str(), nullptr, &flags), 1) << spelling;
    }
    // Deleting and re-adding a few words one by one keeps the store sound.
    int n = 0;
    for (const auto &[key, spelling] : expected)
        if (n++ % 997 == 0) {
            ASSERT_EQ(delete_word(&t.d, spelling.c_str()), 1);
            ASSERT_EQ(add_word(&t.d, spelling.c_str()), nullptr);
        }
    EXPECT_TRUE(store_sound(t.d));
    EXPECT_EQ(t.d.words, expected.size());
}

namespace {

std::string file_bytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Imports `list` and adds its lines (after the import rules) one by one in
// file order; both dictionaries are saved and their files compared.
void expect_import_equals_adding(const std::string &list, const char *tag)
{
    TestDictionary imported, added;
    ImportCounts counts;
    ASSERT_EQ(import_word_file(&imported.d, list.c_str(), false, &counts), nullptr);
    std::ifstream in(list, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        std::string w = ruled(line);
        if (!w.empty())
            added.add(w);
    }
    std::string a = std::string("/tmp/qm_import_") + tag + ".dic";
    std::string b = std::string("/tmp/qm_added_") + tag + ".dic";
    ASSERT_EQ(save_dictionary_file(&imported.d, a.c_str()), nullptr);
    ASSERT_EQ(save_dictionary_file(&added.d, b.c_str()), nullptr);
    EXPECT_GT(imported.d.noindex, 100u);
    EXPECT_EQ(imported.d.noindex, added.d.noindex) << tag;
    EXPECT_TRUE(file_bytes(a) == file_bytes(b)) << tag << ": the files differ";
    std::remove(a.c_str());
    std::remove(b.c_str());
}

}  // namespace

// Import gives byte for byte the file that adding the list's lines one at
// a time gives, index included: for the whole list and for its ASCII lines.
TEST(MainDict, ImportWritesTheFileThatAddingLineByLineWrites)
{
    std::ifstream in(kList, std::ios::binary);
    if (!in)
        GTEST_SKIP() << kList << " is not installed";
#if defined(__SANITIZE_ADDRESS__)
    // Under AddressSanitizer every growth of the word block is a fresh
    // allocation and copy, so the whole list takes minutes: this build
    // imports every fourth line; the optimised Windows build the whole list.
    const int step = 4;
#else
    const int step = 1;
#endif
    std::string whole = "/tmp/qm_whole_list.txt", ascii = "/tmp/qm_ascii_list.txt";
    {
        std::ofstream all(whole, std::ios::binary), out(ascii, std::ios::binary);
        int n = 0;
        for (std::string line; std::getline(in, line); n++) {
            if (n % step)
                continue;
            all << line << '\n';
            if (std::all_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 128; }))
                out << line << '\n';
        }
    }
    expect_import_equals_adding(whole, "whole");
    expect_import_equals_adding(ascii, "ascii");
    std::remove(whole.c_str());
    std::remove(ascii.c_str());
}
