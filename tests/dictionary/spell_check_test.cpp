// Spell check: the grid's word enumeration, unknown words in check order,
// the window hooks, and the six suggestion steps with their edge cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "../search/search_test_support.h"
#include "app/dictionary/spell_check.h"
#include "app/grid/grid_words.h"
#include "toolkit/messages/report.h"
#include "toolkit/text/cp1252.h"

namespace {

std::vector<std::string> suggestions(const char *word)
{
    EXPECT_EQ(make_suggestions(word), nullptr);
    std::vector<std::string> out;
    WordCursor cursor;
    for (int ok = word_at(&spell_guess, 0, &cursor); ok; ok = next_word(&spell_guess, &cursor))
        out.push_back(cursor.text);
    return out;
}

bool has(const std::vector<std::string> &v, const std::string &w)
{
    return std::find(v.begin(), v.end(), w) != v.end();
}

bool has_nocase(const std::vector<std::string> &v, const std::string &w)
{
    return std::any_of(v.begin(), v.end(), [&](const std::string &x) {
        return cp_compare_nocase(x.c_str(), w.c_str()) == 0;
    });
}

std::vector<std::string> all_grid_words()
{
    std::vector<std::string> out;
    char text[GRID_WORD_BUFFER];
    for (int k = 0; grid_word(k, text); k++)
        out.push_back(text);
    EXPECT_STREQ(text, "");
    return out;
}

void filled(int c, int r)
{
    uint8_t &a = grid.attributes[grid_cell(c, r)];
    a = static_cast<uint8_t>((a & ~cell_state_mask) | cell_filled);
}

struct SpellCheck : ::testing::Test {
    void SetUp() override
    {
        app_errors_register();
        grid_init();
        spell_check_set_hooks(nullptr);
    }
    void TearDown() override
    {
        spell_check_set_hooks(nullptr);
        spell_release_guess();
        message_box_answer = nullptr;
        dictionary_set_clear();
    }
};

TEST_F(SpellCheck, GridWordsRunInNumberingOrderAcrossThenDown)
{
    // a b c
    // d # e      the clue example: 1 abc, 1 adf, 2 ceh, 3 fgh
    // f g h
    set_size(3, 3);
    put_across(0, 0, "abc");
    put_across(0, 1, "d?e");
    put_across(0, 2, "fgh");
    filled(1, 1);
    EXPECT_EQ(all_grid_words(), (std::vector<std::string>{"abc", "adf", "ceh", "fgh"}));

    // A bar left of the cell right of a start ends that across run at one
    // cell (no word); a bar on the start's own left edge does not count.
    grid_init();
    set_size(4, 2);
    put_across(0, 0, "abcd");
    put_across(0, 1, "ef??");
    grid.attributes[grid_cell(1, 0)] |= bar_left;
    grid.attributes[grid_cell(1, 1)] |= bar_top;
    EXPECT_EQ(all_grid_words(), (std::vector<std::string>{"ae", "bcd", "c ", "d ", "ef  "}));
    uint8_t before[grid_plane_bytes];
    memcpy(before, grid.attributes, sizeof before);
    all_grid_words();
    EXPECT_EQ(memcmp(before, grid.attributes, sizeof before), 0);   // the grid is only read
}

struct Seen {
    std::vector<std::string> shown;
    std::vector<std::string> boxes;
    bool open = false;
    int closes = 0;
};
Seen seen;

TEST_F(SpellCheck, CheckNextStopsAtEachUnknownCompleteWordThenSaysNoNewWords)
{
    use_dictionaries({{"Main", {"cat", "dog", "emu", "cod", "tag"}}});
    // C A T        across: CAT, (row 1) O?, DOG       down: COD, A?O, TG
    // O ? G                                             (A?O incomplete)
    // D O G
    set_size(3, 3);
    put_across(0, 0, "CAT");
    put_across(0, 1, "O?G");
    put_across(0, 2, "DOG");
    seen = Seen{};
    SpellCheckHooks h{};
    h.window_open = [] { return seen.open; };
    h.show_word = [](const char *w) -> const error_block * {
        seen.open = true;
        seen.shown.push_back(w);
        return nullptr;
    };
    h.close_window = [](bool) -> const error_block * {
        seen.open = false;
        seen.closes++;
        return nullptr;
    };
    spell_check_set_hooks(&h);
    message_box_answer = [](int, int, const char *text) {
        seen.boxes.push_back(text);
        return 2;
    };
    ASSERT_EQ(start_spell_check(), nullptr);
    // CAT and COD are known (case differs); "O G" is incomplete.
    EXPECT_EQ(seen.shown, (std::vector<std::string>{"TGG"}));
    EXPECT_TRUE(has(suggestions("TGG"), "tag"));
    ASSERT_EQ(check_next(), nullptr);   // none left: the open window closes
    EXPECT_EQ(seen.closes, 1);
    EXPECT_TRUE(seen.boxes.empty());

    // All known: "No new words!" and no window.
    put_across(2, 0, "T");
    put_across(0, 2, "DOG");
    grid.letters[grid_cell(2, 1)] = 'A';
    grid.letters[grid_cell(2, 2)] = 'G';
    seen = Seen{};
    ASSERT_EQ(start_spell_check(), nullptr);
    EXPECT_TRUE(seen.shown.empty());
    EXPECT_EQ(seen.boxes, (std::vector<std::string>{"No new words!"}));
    EXPECT_EQ(seen.closes, 0);

    // No dictionary can be attached: nothing starts, nothing is said.
    dictionary_set_clear();
    seen = Seen{};
    EXPECT_EQ(start_spell_check(), nullptr);
    EXPECT_TRUE(seen.boxes.empty());
}

TEST_F(SpellCheck, SuggestionStepsAndTheirEdgeCases)
{
    use_dictionaries({{"One", {"cat", "cart", "cast", "act", "bat", "Coat"}},
                      {"Two", {"cat", "CAT", "scat", "cut", "wonder", "wonderful",
                               "wonderfully", "wonderland", "wondering", "wonders"}}});
    EXPECT_TRUE(is_known("CaT"));
    EXPECT_FALSE(is_known("cta"));

    // Three letters: insertions at 0..3 (scat, cart, cast, coat) and
    // replacements at 1..3, position 3 appending (cut); a swap (act).
    std::vector<std::string> s = suggestions("cat");
    EXPECT_TRUE(has(s, "scat") && has(s, "cart") && has(s, "cast") && has(s, "Coat"));
    EXPECT_EQ(std::count_if(s.begin(), s.end(), [](const std::string &w) { return w == "cat" || w == "CAT"; }), 1);
    EXPECT_TRUE(has(s, "act"));
    s = suggestions("cta");
    EXPECT_TRUE(has_nocase(s, "cat"));
    s = suggestions("ca");
    EXPECT_TRUE(has_nocase(s, "cat") && !has(s, "cut"));
    std::set<std::string> unique(s.begin(), s.end());
    EXPECT_EQ(unique.size(), s.size());

    // A wrong first letter: no neighbour, no replacement of it.
    s = suggestions("xat");
    EXPECT_FALSE(has(s, "cat") || has(s, "bat"));

    // Edits past the third letter come from the near-miss scan only.
    EXPECT_TRUE(has(suggestions("wonderfl"), "wonderful"));      // a byte missing
    EXPECT_TRUE(has(suggestions("wondarful"), "wonderful"));     // a byte replaced
    EXPECT_TRUE(has(suggestions("wonderfullly"), "wonderfully"));  // a byte extra
    s = suggestions("wondeland");
    EXPECT_TRUE(has(s, "wonderland"));
    EXPECT_FALSE(has(s, "wondering"));
}

TEST_F(SpellCheck, AThreeLetterWordAppendsAtPositionThreeButGetsNoNearMissScan)
{
    // "axb" and "axbq" differ from the queries by a skipped byte on each
    // side: only the near-miss scan can find them.
    use_dictionaries({{"One", {"abx", "axb", "abxq", "axbq", "abyz"}}});
    std::vector<std::string> s = suggestions("aby");
    EXPECT_TRUE(has(s, "abx"));
    EXPECT_TRUE(has(s, "abyz")) << "position 3 appends";
    EXPECT_FALSE(has(s, "axb")) << "no near-miss scan below four letters";
    EXPECT_TRUE(has(suggestions("abyq"), "axbq")) << "the scan runs from four letters";
}

// The words of a made-up language with long shared prefixes.
std::vector<std::string> word_list(unsigned seed, int count)
{
    static const char *syllables[] = {"ka", "ter", "mo", "lin", "sa", "ra", "pe", "don", "vi", "ul",
                                      "bra", "nes", "to", "gi", "que", "st"};
    std::set<std::string> words;
    while (static_cast<int>(words.size()) < count) {
        seed = seed * 214013 + 2531011;
        int parts = 2 + (seed >> 16) % 4;
        std::string w;
        for (int i = 0; i < parts; i++) {
            seed = seed * 214013 + 2531011;
            w += syllables[(seed >> 16) % 16];
        }
        if (w.size() <= 20)
            words.insert(w);
    }
    return {words.begin(), words.end()};
}

TEST_F(SpellCheck, EveryOneEditMisspellingOutsideTheFirstLetterFindsItsWord)
{
    std::vector<std::string> words = word_list(7, 3000);
    use_dictionaries({{"Made", words}});
    unsigned seed = 11;
    auto draw = [&](unsigned n) {
        seed = seed * 214013 + 2531011;
        return ((seed >> 16) & 0x7FFF) % n;
    };
    int tried = 0;
    for (int k = 0; k < 400; k++) {
        std::string w = words[draw(words.size())];
        std::string q = w;
        unsigned kind = draw(4), at = 1 + draw(w.size() - 1);
        char letter = static_cast<char>('a' + draw(26));
        if (kind == 0)
            q.erase(at, 1);
        else if (kind == 1)
            q.insert(at, 1, letter);
        else if (kind == 2)
            q[at] = letter;
        else if (at + 1 < q.size())
            std::swap(q[at], q[at + 1]);
        if (is_known(q.c_str()))
            continue;
        tried++;
        EXPECT_TRUE(has(suggestions(q.c_str()), w)) << q << " for " << w;
    }
    EXPECT_GT(tried, 300);
}

}  // namespace
