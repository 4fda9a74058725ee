// Text import and export of words.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/dictionary/dictionary_text.h"
#include "tests/dictionary/store_test_util.h"
#include "toolkit/files/files_os.h"

namespace fs = std::filesystem;

namespace {

std::string temp_file(const char *leaf)
{
    fs::path dir = fs::temp_directory_path() / "qm_text_test";
    fs::create_directories(dir);
    return (dir / leaf).string();
}

std::string write_text(const char *leaf, const std::string &text)
{
    std::string path = temp_file(leaf);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string read_text(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(WordText, ImportRules)
{
    TestDictionary t;
    std::string forty(40, 'q');
    std::string path = write_text("rules.txt", "New York\r\n\r\nO'Neill\napple pie\r\n" + forty +
                                                   "\n  \tcaf\xC9s2\nZOO\x01tail\n");
    ImportCounts counts;
    ASSERT_EQ(import_word_file(&t.d, path.c_str(), false, &counts), nullptr);
    EXPECT_EQ(all_words(t.d), (std::vector<std::string>{"applepie", "caf\xE9s", "Newyork", "Oneill",
                                                        "tail", "Zoo"}));
    EXPECT_EQ(counts.too_long, 1);
    EXPECT_TRUE(store_sound(t.d));
}

TEST(WordText, RawImportKeepsLinesAndRefusesLongOnes)
{
    TestDictionary t;
    std::string path = write_text("raw.txt", "ice cream\r\nNew York\n\n" + std::string(32, 'x') +
                                                 "\n" + std::string(31, 'y'));
    ImportCounts counts;
    ASSERT_EQ(import_word_file(&t.d, path.c_str(), true, &counts), nullptr);
    EXPECT_EQ(all_words(t.d), (std::vector<std::string>{"ice cream", "New York", std::string(31, 'y')}));
    EXPECT_EQ(counts.too_long, 1);
    EXPECT_EQ(t.d.spaced, 2u);
}

TEST(WordText, ExportWritesCrLfAndRoundTrips)
{
    TestDictionary t, back;
    for (const char *w : {"pear", "apple", "fig"})
        t.add(w);
    std::string out = temp_file("export.txt");
    ASSERT_EQ(export_word_file(&t.d, out.c_str()), nullptr);
    EXPECT_EQ(read_text(out), "apple\r\nfig\r\npear\r\n");
    ImportCounts counts;
    ASSERT_EQ(import_word_file(&back.d, out.c_str(), false, &counts), nullptr);
    EXPECT_EQ(all_words(back.d), all_words(t.d));
    // Capitals after the first letter, digits and spaces do not survive.
    t.add("McDonald");
    t.add("R2D2");
    ASSERT_EQ(export_word_file(&t.d, out.c_str()), nullptr);
    ASSERT_EQ(import_word_file(&back.d, out.c_str(), false, &counts), nullptr);
    EXPECT_EQ(all_words(back.d), (std::vector<std::string>{"apple", "fig", "Mcdonald", "pear", "Rd"}));
}

TEST(WordText, EmptyDictionaryWritesNoFile)
{
    TestDictionary t;
    std::string out = temp_file("empty.txt");
    fs::remove(out);
    EXPECT_EQ(export_word_file(&t.d, out.c_str()), nullptr);
    EXPECT_FALSE(fs::exists(out));
    ImportCounts counts;
    EXPECT_NE(import_word_file(&t.d, temp_file("missing.txt").c_str(), false, &counts), nullptr);
}

// A word that its new neighbour would push past the encoding limit is
// refused, and the stored word next to it stays: import changes the store
// only as adding the word would.
TEST(WordText, ImportNeverDropsAStoredWord)
{
    TestDictionary t;
    std::string escaped = "abcdefghijklmnoq" + std::string(15, '\x9A');
    std::string first = write_text("pair.txt", "abcdefghijklmnop\r\n" + escaped + "\r\n");
    ImportCounts counts;
    ASSERT_EQ(import_word_file(&t.d, first.c_str(), false, &counts), nullptr);
    ASSERT_EQ(all_words(t.d), (std::vector<std::string>{"abcdefghijklmnop", escaped}));
    std::string second = write_text("next.txt", "Abcdefghijklmnopz\r\n");
    ASSERT_EQ(import_word_file(&t.d, second.c_str(), false, &counts), nullptr);
    EXPECT_EQ(all_words(t.d), (std::vector<std::string>{"abcdefghijklmnop", escaped}));
    EXPECT_EQ(counts.refused, 1);
    EXPECT_TRUE(store_sound(t.d));
}

namespace {

int reads_before_failure;
int read_fails_later(intptr_t file, void *buffer, int length, int *done)
{
    if (reads_before_failure-- == 0)
        return 5;   // EIO / ERROR_ACCESS_DENIED
    return fs_os.read.original(file, buffer, length, done);
}

}  // namespace

// A read that fails midway is reported, and the words read before it stay.
TEST(WordText, ImportThatFailsMidwayKeepsTheWordsBefore)
{
    std::string text;
    for (int i = 0; text.size() < 40000; i++)
        text += "word" + std::string(1, static_cast<char>('a' + i % 26)) + std::string(1, 'a' + i / 26 % 26) +
                std::string(1, static_cast<char>('a' + i / 676 % 26)) + "\r\n";
    std::string path = write_text("long.txt", text);
    TestDictionary t;
    ImportCounts counts;
    reads_before_failure = 1;
    fs_os.read.current = read_fails_later;
    const error_block *e = import_word_file(&t.d, path.c_str(), false, &counts);
    fs_os_restore();
    EXPECT_NE(e, nullptr);
    EXPECT_GT(t.d.words, 1000u);
    EXPECT_LT(t.d.words, 4000u);
    EXPECT_EQ(static_cast<int>(t.d.words), counts.words);
}
