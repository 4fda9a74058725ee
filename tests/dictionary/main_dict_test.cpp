// The full word list: imported, every word (after the import rules) found
// in both find modes, and the store sound. Runs where the list is installed.
#include <gtest/gtest.h>

#include <fstream>
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
