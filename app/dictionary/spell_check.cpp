// Spell check: unknown grid words and their suggestions.
//
// Suggestions are gathered into the Guess dictionary with add_word, so
// they come out sorted and once each whatever their source (two
// dictionaries, or two spellings that differ in case). Every candidate of
// the edit steps is a fast find: a binary search over the index keys and
// a scan of one block. The near-miss step walks the compressed word block
// itself, from the query's first three bytes, and passes over every word
// that shares more bytes with its predecessor than the last comparison
// used (it would fail at the same byte).
#include "app/dictionary/spell_check.h"

#include <cstring>

#include "app/dictionary/dictionary_set.h"
#include "app/dictionary/search_dictionaries.h"
#include "app/grid/grid_words.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/log.h"
#include "toolkit/messages/report.h"
#include "toolkit/text/cp1252.h"

Dictionary spell_guess = {};
int spell_check_position = 0;

namespace {

SpellCheckHooks hooks = {};
char current_word[GRID_WORD_BUFFER] = "";
bool guess_ready = false;
const error_block *guess_error = nullptr;   // the first add_word failure of a rebuild

const char LETTERS[] = "abcdefghijklmnopqrstuvwxyz";

void add_guess(const char *word)
{
    if (guess_error)
        return;
    guess_error = add_word(&spell_guess, word);
}

// Fast find in one dictionary; on a find, `spelling` gets the stored form.
bool fast_find(const Dictionary *d, const char *word)
{
    unsigned flags = CMP_IGNORE_SPACES;
    return d->words > 0 && find_word(d, word, nullptr, &flags) == 1;
}

// The first dictionary in list order that holds the candidate gives it.
void add_first_find(const char *candidate)
{
    for (int i = 0; i < search_dictionary_count(); i++)
        if (fast_find(search_dictionary(i), candidate)) {
            add_guess(fast_find_spelling());
            return;
        }
}

// Every dictionary that holds the candidate gives its spelling.
void add_every_find(const char *candidate)
{
    for (int i = 0; i < search_dictionary_count(); i++)
        if (fast_find(search_dictionary(i), candidate))
            add_guess(fast_find_spelling());
}

bool same_letter(char a, char b)
{
    return cp_lower(static_cast<unsigned char>(a)) == cp_lower(static_cast<unsigned char>(b));
}

// Step 1: the stored word at the query's place, or the one after it, when
// it begins with the query's first letter.
void add_neighbours(const char *word)
{
    for (int i = 0; i < search_dictionary_count(); i++) {
        const Dictionary *d = search_dictionary(i);
        if (d->words == 0)
            continue;
        WordCursor cursor;
        find_word(d, word, &cursor, nullptr);
        if (same_letter(cursor.text[0], word[0])) {
            add_guess(cursor.text);
        } else if (next_word(d, &cursor) && same_letter(cursor.text[0], word[0])) {
            add_guess(cursor.text);
        }
    }
}

void add_edits(const char *word, int n)
{
    char candidate[WORD_BUFFER + 1];
    for (int i = 0; i + 1 < n; i++) {   // swaps
        memcpy(candidate, word, n + 1);
        candidate[i] = word[i + 1];
        candidate[i + 1] = word[i];
        add_first_find(candidate);
    }
    if (n > 1)
        for (int i = 0; i < n; i++) {   // deletions
            memcpy(candidate, word, i);
            memcpy(candidate + i, word + i + 1, n - i);
            add_first_find(candidate);
        }
    int m = n < 3 ? n : 3;
    if (n < WORD_MAX)
        for (int p = 0; p <= m; p++) {   // insertions
            memcpy(candidate, word, p);
            memcpy(candidate + p + 1, word + p, n - p + 1);
            for (const char *l = LETTERS; *l; l++) {
                candidate[p] = *l;
                add_every_find(candidate);
            }
        }
    for (int p = 1; p <= m; p++) {   // replacements; p == n appends
        if (p == n && n == WORD_MAX)
            break;
        memcpy(candidate, word, n + 1);
        if (p == n)
            candidate[p + 1] = 0;
        for (const char *l = LETTERS; *l; l++) {
            candidate[p] = *l;
            add_every_find(candidate);
        }
    }
}

// Compares a stored word with the query allowing one skipped byte in each
// and one replaced byte (a replacement uses up both skips). *counted gets
// the stored bytes the comparison used. True when both end together.
bool near_match(const char *s, const char *q, int *counted)
{
    int i = 0, j = 0, count = 0;
    bool skip_s = false, skip_q = false;
    for (;;) {
        char a = s[i], b = q[j];
        if (a == 0 && b == 0) {
            *counted = count;
            return true;
        }
        if (a != 0 && b != 0 && same_letter(a, b)) {
            i++, j++, count++;
        } else if (!skip_s && a != 0 && s[i + 1] == b) {
            skip_s = true;
            i++, count++;
        } else if (!skip_q && b != 0 && a == q[j + 1]) {
            skip_q = true;
            j++;
        } else if (!skip_s && !skip_q && a != 0 && b != 0) {
            skip_s = skip_q = true;
            i++, j++, count++;
        } else {
            *counted = count;
            return false;
        }
    }
}

// Step 6 in one dictionary.
void add_near_misses(const Dictionary *d, const char *word)
{
    if (d->words == 0)
        return;
    char start[4];
    memcpy(start, word, 3);
    start[3] = 0;
    WordCursor cursor;
    find_word(d, start, &cursor, nullptr);
    const uint8_t *bytes = word_bytes(d);
    char text[WORD_BUFFER];
    memcpy(text, cursor.text, sizeof text);
    uint32_t offset = cursor.offset + cursor.length;
    uint32_t number = cursor.number + 1;
    int counted = 32;
    // A store whose first word sorts after the start: the cursor rests on
    // that word, which the scan must not pass by.
    if (cursor.number == 0 && compare_words(cursor.text, start, 32, nullptr) > 0) {
        offset = cursor.offset;
        number = 0;
        text[0] = 0;
    }
    for (; number < d->words; number++) {
        if (bytes[offset] > counted + 1) {
            offset += encoded_length(bytes + offset);
            continue;
        }
        offset += decode_word(bytes + offset, text);
        if (near_match(text, word, &counted))
            add_guess(text);
        if (counted < 3)
            break;
    }
}

bool incomplete(const char *word) { return strchr(word, ' ') != nullptr; }

}  // namespace

void spell_check_set_hooks(const SpellCheckHooks *h) { hooks = h ? *h : SpellCheckHooks{}; }

const char *spell_current_word() { return current_word; }

int is_known(const char *word)
{
    for (int i = 0; i < search_dictionary_count(); i++)
        if (fast_find(search_dictionary(i), word))
            return 1;
    return 0;
}

void spell_release_guess()
{
    if (guess_ready)
        clear_dictionary(&spell_guess);
    guess_ready = false;
}

const error_block *make_suggestions(const char *word)
{
    spell_release_guess();
    init_dictionary(&spell_guess);
    guess_ready = true;
    guess_error = nullptr;
    int n = static_cast<int>(strlen(word));
    if (n == 0 || n > WORD_MAX)
        return nullptr;   // nothing of that length can be stored
    add_neighbours(word);
    add_edits(word, n);
    if (n >= 4)
        for (int i = 0; i < search_dictionary_count(); i++)
            add_near_misses(search_dictionary(i), word);
    return guess_error;
}

bool next_unknown_word(char *word)
{
    for (;;) {
        if (!grid_word(spell_check_position, word))
            return false;
        spell_check_position++;
        if (incomplete(word))
            continue;
        memcpy(current_word, word, GRID_WORD_BUFFER);
        if (!is_known(word))
            return true;
    }
}

const error_block *start_spell_check()
{
    if (search_ensure_dictionary())
        return nullptr;   // no dictionary: nothing starts, nothing is said
    spell_check_position = 0;
    return check_next();
}

const error_block *check_next()
{
    if (hooks.busy)
        hooks.busy(true);
    char word[GRID_WORD_BUFFER];
    bool found = next_unknown_word(word);
    const error_block *e = nullptr;
    if (found) {
        // A suggestion that could not be added (memory) costs only itself.
        make_suggestions(word);
        if (hooks.show_word)
            e = hooks.show_word(word);
    }
    if (hooks.busy)
        hooks.busy(false);
    debug_log("check next %d", found ? 1 : 0);
    if (found || e)
        return e;
    if (hooks.window_open && hooks.window_open())
        return close_spell_check();
    report_message(0, "No new words!");
    return nullptr;
}

const error_block *close_spell_check()
{
    debug_log("check close");
    if (hooks.close_window)
        if (const error_block *e = hooks.close_window(any_dictionary_changed() != 0))
            return e;
    spell_release_guess();
    return nullptr;
}
