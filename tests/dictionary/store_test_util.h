// Helpers for the word store tests.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "app/dictionary/dictionary.h"
#include "tests/scratch_dir.h"

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

