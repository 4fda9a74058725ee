// The solver's lexicon: a compact letter trie over the dictionaries in use.
//
// Each node is 8 bytes: a 26-bit child mask with the end-of-word flag in
// bit 31, and the index of its first child; a node's children are stored
// together in letter order, so the child for a letter is first child +
// the number of mask bits below it. Walking a run stops as soon as no
// stored word starts with its letters.
#include "app/wordsquare/lexicon.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/dictionary/dictionary.h"
#include "app/dictionary/search_dictionaries.h"
#include "app/dictionary/search_index.h"
#include "toolkit/text/cp1252.h"

bool lexicon_fast_path = true;

namespace {

struct Node {
    uint32_t mask;    // bits 0-25: children a-z; bit 31: a word ends here
    uint32_t first;   // index of the first child
};
const uint32_t word_end = 1u << 31;

std::vector<Node> nodes;
struct Source {
    const Dictionary *dictionary;
    uint64_t print;
};
std::vector<Source> sources;   // what the trie was built from
uint32_t built_generation;     // search_tables_generation() when built

// The word with spaces removed and letters lowered, when it is made of
// the letters a-z alone; else empty.
std::string letters_only(const char *word)
{
    std::string s;
    for (; *word; word++) {
        if (*word == ' ')
            continue;
        unsigned char c = cp_lower(static_cast<unsigned char>(*word));
        if (c < 'a' || c > 'z')
            return std::string();
        s.push_back(static_cast<char>(c));
    }
    return s;
}

// Fills node `at` from the sorted words [lo, hi) that share `depth`
// letters.
void fill(uint32_t at, const std::vector<std::string> &words, size_t lo, size_t hi, size_t depth)
{
    if (lo < hi && words[lo].size() == depth) {
        nodes[at].mask |= word_end;
        lo++;
    }
    struct Child {
        size_t lo, hi;
    };
    std::vector<Child> children;
    for (size_t i = lo; i < hi;) {
        size_t j = i + 1;
        while (j < hi && words[j][depth] == words[i][depth])
            j++;
        nodes[at].mask |= 1u << (words[i][depth] - 'a');
        children.push_back({i, j});
        i = j;
    }
    nodes[at].first = static_cast<uint32_t>(nodes.size());
    nodes.resize(nodes.size() + children.size(), Node{0, 0});
    for (size_t k = 0; k < children.size(); k++)
        fill(nodes[at].first + static_cast<uint32_t>(k), words, children[k].lo, children[k].hi, depth + 1);
}

bool up_to_date()
{
    if (nodes.empty() || sources.size() != static_cast<size_t>(search_dictionary_count()) ||
        built_generation != search_tables_generation())
        return false;
    for (size_t i = 0; i < sources.size(); i++) {
        const Dictionary *d = search_dictionary(static_cast<int>(i));
        if (sources[i].dictionary != d || (d && sources[i].print != search_fingerprint(d)))
            return false;
    }
    return true;
}

void build()
{
    std::vector<std::string> words;
    sources.clear();
    built_generation = search_tables_generation();
    for (int i = 0; i < search_dictionary_count(); i++) {
        const Dictionary *d = search_dictionary(i);
        sources.push_back({d, d ? search_fingerprint(d) : 0});
        WordCursor c;
        if (!d || !word_at(d, 0, &c))
            continue;
        do {
            std::string s = letters_only(c.text);
            if (!s.empty())
                words.push_back(std::move(s));
        } while (next_word(d, &c));
    }
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    nodes.assign(1, Node{0, 0});
    fill(0, words, 0, words.size(), 0);
    nodes.shrink_to_fit();
}

}  // namespace

void lexicon_prepare()
{
    if (lexicon_fast_path && !up_to_date())
        build();
}

void lexicon_forget()
{
    nodes.clear();
    nodes.shrink_to_fit();
    sources.clear();
}

long lexicon_bytes() { return static_cast<long>(nodes.capacity() * sizeof(Node)); }

bool lexicon_plain_test(const char *word)
{
    for (int i = 0; i < search_dictionary_count(); i++) {
        const Dictionary *d = search_dictionary(i);
        unsigned flags = CMP_IGNORE_SPACES;
        if (d && d->words && find_word(d, word, nullptr, &flags))
            return true;
    }
    return false;
}

int lexicon_longest_word(const char *run, int length, int shortest)
{
    if (shortest < 1)
        shortest = 1;
    if (!lexicon_fast_path || nodes.empty()) {
        char prefix[WORD_BUFFER];
        for (int k = length; k >= shortest; k--) {
            memcpy(prefix, run, k);
            prefix[k] = 0;
            if (lexicon_plain_test(prefix))
                return k;
        }
        return 0;
    }
    const Node *node = &nodes[0];
    int best = 0;
    for (int i = 0; i < length; i++) {
        uint32_t bit = 1u << (run[i] - 'a');
        if (!(node->mask & bit))
            break;
        node = &nodes[node->first + __builtin_popcount(node->mask & (bit - 1))];
        if ((node->mask & word_end) && i + 1 >= shortest)
            best = i + 1;
    }
    return best;
}
