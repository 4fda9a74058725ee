// The searches against baselines run in the same process: pattern Solve
// against a scan of the same words bucketed by length, anagrams with a "*"
// against a hash table of sorted letters, the crossing fill against the
// plain walks, the Wordsquare solve against a pointer trie and a hash set
// of words. Debian's `an` and `qxw -b` are timed by scripts/bench.
//
// The per-query figures are taken once the tables exist; the first-query
// figures are taken as a process that has just loaded the dictionary
// meets them: no tables, each query timed alone.
//
// MainDict is the word list QM_WORD_LIST, or Debian's wamerican list,
// imported as `quill dict import` does; the larger list for the
// first-query figures is QM_LARGE_WORD_LIST or wamerican-huge.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "app/dictionary/anagram.h"
#include "app/dictionary/candidates.h"
#include "app/dictionary/dictionary.h"
#include "app/dictionary/dictionary_set.h"
#include "app/dictionary/dictionary_text.h"
#include "app/dictionary/search.h"
#include "app/dictionary/search_index.h"
#include "app/dictionary/search_internal.h"
#include "app/grid/app_errors.h"
#include "app/grid/grid.h"
#include "app/grid/grid_hooks.h"
#include "app/grid/parts.h"
#include "app/grid/random.h"
#include "app/grid/result_list.h"
#include "app/wordsquare/lexicon.h"
#include "app/wordsquare/maker.h"
#include "app/wordsquare/solver.h"
#include "toolkit/text/cp1252.h"

namespace {

using clock_type = std::chrono::steady_clock;

std::string word_list()
{
    const char *given = getenv("QM_WORD_LIST");
    return given ? given : "/usr/share/dict/american-english";
}

struct Fixture {
    std::vector<std::string> words;          // MainDict's words in word order
    std::vector<std::string> patterns;       // 200 patterns, ' ' for a blank
    std::vector<std::string> anagram_words;  // 100 words of 5-10 letters
    bool ready = false;

    Fixture()
    {
        app_errors_register();
        grid_init();
        dictionary_set_clear();
        DictionarySlot &s = dictionary_set.slots[0];
        strcpy(s.name, "MainDict");
        ImportCounts counts;
        if (import_word_file(&s.dictionary, word_list().c_str(), false, &counts))
            return;
        s.loaded = 1;
        dictionary_set.count = 1;
        document_list_add(0);
        WordCursor c;
        if (word_at(&s.dictionary, 0, &c))
            do
                words.emplace_back(c.text);
            while (next_word(&s.dictionary, &c));
        std::mt19937 rng(2024);
        while (patterns.size() < 200) {
            std::string w = words[rng() % words.size()];
            if (w.size() < 3 || w.size() > 15)
                continue;
            for (char &ch : w)
                if (rng() % 2)
                    ch = ' ';
            patterns.push_back(w);
        }
        while (anagram_words.size() < 100) {
            std::string w = words[rng() % words.size()];
            if (w.size() >= 5 && w.size() <= 10)
                anagram_words.push_back(w);
        }
        ready = true;
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

bool skip(benchmark::State &state)
{
    if (fixture().ready)
        return false;
    state.SkipWithError(("no word list at " + word_list()).c_str());
    return true;
}

// The per-query figures: the tables answer from the first query on, so the
// figures are those of a process whose tables exist.
struct TablesFromTheStart {
    int patience = candidates_patience;
    TablesFromTheStart() { candidates_patience = 0; }
    ~TablesFromTheStart() { candidates_patience = patience; }
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// One across part over the pattern, as quill solve sets it up.
void solve_one(const std::string &pattern)
{
    int n = static_cast<int>(pattern.size());
    for (int i = 0; i < n; i++)
        grid.letters[grid_cell(i, 0)] = static_cast<uint8_t>(pattern[i]);
    part_count = 1;
    parts[0] = part{0, 0, 0, 0, static_cast<uint8_t>(n)};
    list_columns = 1;
    list_clear();
    solve_parts(0);
}

bool known_first(const std::string &p) { return p[0] != ' '; }

// Runs `one` over the patterns that `take` accepts and reports the median
// time per pattern as the iteration time.
template <class Take, class One> void median_per_pattern(benchmark::State &state, Take take, One one)
{
    std::vector<double> times;
    for (auto _ : state) {
        times.clear();
        for (const std::string &p : fixture().patterns) {
            if (!take(p))
                continue;
            auto t0 = clock_type::now();
            one(p);
            times.push_back(std::chrono::duration<double>(clock_type::now() - t0).count());
        }
        state.SetIterationTime(median(times));
    }
    state.counters["patterns"] = static_cast<double>(times.size());
}

void solve_pattern_median(benchmark::State &state)
{
    if (skip(state))
        return;
    TablesFromTheStart tables;
    grid_init();
    set_size(16, 2);
    solve_one(fixture().patterns[0]);   // tables built before timing
    median_per_pattern(state, [](const std::string &) { return true; }, solve_one);
    state.SetLabel("vs solve_baseline_scan_median");
}

void solve_known_first_median(benchmark::State &state)
{
    if (skip(state))
        return;
    TablesFromTheStart tables;
    grid_init();
    set_size(16, 2);
    solve_one(fixture().patterns[0]);
    median_per_pattern(state, known_first, solve_one);
    state.SetLabel("vs solve_baseline_scan_known_first");
}

// The baseline: the same words bucketed by length, each compared with the
// pattern (blank = any, else equal in upper case), up to the same 1001.
struct Buckets {
    std::vector<std::vector<const std::string *>> by_length = std::vector<std::vector<const std::string *>>(32);
    Buckets()
    {
        for (const std::string &w : fixture().words)
            by_length[w.size()].push_back(&w);
    }
};

void scan_one(const std::string &p)
{
    static Buckets b;
    static std::vector<const std::string *> found;
    found.clear();
    for (const std::string *w : b.by_length[p.size()]) {
        size_t i = 0;
        for (; i < p.size(); i++)
            if (p[i] != ' ' && cp_upper(static_cast<unsigned char>(p[i])) != cp_upper(static_cast<unsigned char>((*w)[i])))
                break;
        if (i == p.size()) {
            found.push_back(w);
            if (found.size() > 1000)
                break;
        }
    }
    benchmark::DoNotOptimize(found.data());
}

void solve_baseline_scan_median(benchmark::State &state)
{
    if (skip(state))
        return;
    median_per_pattern(state, [](const std::string &) { return true; }, scan_one);
}

void solve_baseline_scan_known_first(benchmark::State &state)
{
    if (skip(state))
        return;
    median_per_pattern(state, known_first, scan_one);
}

// Anagrams: the letters of a word, shuffled; with one letter as "*".
std::vector<std::string> anagram_queries(bool star)
{
    std::vector<std::string> q;
    std::mt19937 rng(5);
    for (std::string w : fixture().anagram_words) {
        std::shuffle(w.begin(), w.end(), rng);
        if (star)
            w[rng() % w.size()] = '*';
        q.push_back(w);
    }
    return q;
}

void run_anagrams(benchmark::State &state, bool star)
{
    TablesFromTheStart tables;
    std::vector<std::string> queries = anagram_queries(star);
    list_columns = 1;
    find_anagrams(queries[0].c_str());   // tables built before timing
    for (auto _ : state)
        for (const std::string &q : queries) {
            list_clear();
            find_anagrams(q.c_str());
        }
    state.counters["s_per_query"] = benchmark::Counter(
        static_cast<double>(queries.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void anagram_letters(benchmark::State &state)
{
    if (skip(state))
        return;
    run_anagrams(state, false);
}

void anagram_one_star(benchmark::State &state)
{
    if (skip(state))
        return;
    run_anagrams(state, true);
    state.SetLabel("vs anagram_baseline_hash_one_star");
}

// The baseline: sorted lower-case letters -> words, one look-up per
// possible blank letter.
void anagram_baseline_hash_one_star(benchmark::State &state)
{
    if (skip(state))
        return;
    auto key = [](std::string s) {
        for (char &c : s)
            c = static_cast<char>(cp_lower(static_cast<unsigned char>(c)));
        std::sort(s.begin(), s.end());
        return s;
    };
    std::unordered_map<std::string, std::vector<int>> table;
    std::string alphabet;
    for (size_t i = 0; i < fixture().words.size(); i++) {
        std::string k = key(fixture().words[i]);
        table[k].push_back(static_cast<int>(i));
        for (char c : k)
            if (alphabet.find(c) == std::string::npos)
                alphabet += c;
    }
    std::vector<std::string> queries = anagram_queries(true);
    std::vector<int> found;
    for (auto _ : state)
        for (const std::string &q : queries) {
            found.clear();
            std::string given = q;
            given.erase(std::find(given.begin(), given.end(), '*'));
            for (char c : alphabet) {
                auto it = table.find(key(given + c));
                if (it != table.end())
                    found.insert(found.end(), it->second.begin(), it->second.end());
            }
            std::sort(found.begin(), found.end());
            benchmark::DoNotOptimize(found.data());
        }
    state.counters["s_per_query"] = benchmark::Counter(
        static_cast<double>(queries.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The first query of a process: the dictionary is loaded, nothing else is
// built. Each query is timed alone after the tables and the record of
// earlier walks are dropped, in CPU time of this thread (on a busy machine
// the wall clock mostly measures other processes), and keeps its fastest
// of the iterations; the iteration time is the median over the queries,
// the slowest query is a counter.
double thread_seconds()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

template <class One>
void first_queries(benchmark::State &state, const std::vector<std::string> &queries, One one)
{
    std::vector<double> best(queries.size(), 1e9);
    for (auto _ : state) {
        for (size_t i = 0; i < queries.size(); i++) {
            candidates_forget();
            double t0 = thread_seconds();
            one(queries[i]);
            best[i] = std::min(best[i], thread_seconds() - t0);
        }
        state.SetIterationTime(median(best));
    }
    state.counters["worst_s"] = *std::max_element(best.begin(), best.end());
    state.counters["queries"] = static_cast<double>(queries.size());
    candidates_forget();
}

void solve_one_fresh_grid(const std::string &p)
{
    grid_init();
    set_size(16, 2);
    solve_one(p);
}

void anagram_one(const std::string &q)
{
    list_clear();
    list_columns = 1;
    find_anagrams(q.c_str());
}

void first_query_pattern(benchmark::State &state)
{
    if (skip(state))
        return;
    first_queries(state, fixture().patterns, solve_one_fresh_grid);
}

void first_query_anagram(benchmark::State &state)
{
    if (skip(state))
        return;
    first_queries(state, anagram_queries(false), anagram_one);
}

// The larger list in slot 1; the benchmarks below make it the document's
// only dictionary while they run.
struct LargeList {
    bool ready = false;
    std::vector<std::string> patterns, anagrams;
    LargeList()
    {
        if (!fixture().ready)
            return;
        const char *given = getenv("QM_LARGE_WORD_LIST");
        DictionarySlot &s = dictionary_set.slots[1];
        strcpy(s.name, "Large");
        ImportCounts counts;
        if (import_word_file(&s.dictionary, given ? given : "/usr/share/dict/american-english-huge", false,
                             &counts) ||
            s.dictionary.words == 0)
            return;
        s.loaded = 1;
        dictionary_set.count = 2;
        patterns = fixture().patterns;
        anagrams = anagram_queries(false);
        ready = true;
    }
};

LargeList &large_list()
{
    static LargeList large;
    return large;
}

template <class One>
void first_queries_large(benchmark::State &state, bool anagram, One one)
{
    LargeList &large = large_list();
    if (!large.ready) {
        state.SkipWithError("no larger word list (wamerican-huge)");
        return;
    }
    // The list is set by hand: removing a slot from it unloads the slot.
    DocumentList kept = document_list;
    document_list.count = 1;
    document_list.slots[0] = 1;
    first_queries(state, anagram ? large.anagrams : large.patterns, one);
    document_list = kept;
}

void first_query_pattern_large(benchmark::State &state)
{
    first_queries_large(state, false, solve_one_fresh_grid);
}

void first_query_anagram_large(benchmark::State &state)
{
    first_queries_large(state, true, anagram_one);
}

// Crossing fills on a 5 x 5 crossword grid.
void mark(const std::vector<std::pair<int, int>> &cells)
{
    grid_init();
    set_size(5, 5);
    for (auto [c, r] : cells)
        grid.attributes[grid_cell(c, r)] = cell_marked;
    grid.mark_col_a = 0, grid.mark_row_a = 0, grid.mark_col_b = 4, grid.mark_row_b = 4;
}

std::vector<std::pair<int, int>> corner_cells()
{
    std::vector<std::pair<int, int>> cells;
    for (int i = 0; i < 5; i++) {
        cells.push_back({i, 0});
        cells.push_back({i, 4});
        cells.push_back({0, i});
    }
    return cells;
}

void run_fill(benchmark::State &state, const std::vector<std::pair<int, int>> &cells, int maximum, bool fast)
{
    TablesFromTheStart tables;
    search_fast_path = fast;
    int rows = 0;
    for (auto _ : state) {
        mark(cells);
        list_clear();
        divide_marked_area();
        maximum_solutions = maximum;
        solve_parts(0);
        rows = grid.word_count;
    }
    search_fast_path = true;
    maximum_solutions = 1000;
    state.counters["rows"] = rows;
    state.counters["parts"] = part_count;
}

void fill_corner_1001(benchmark::State &state)
{
    if (skip(state))
        return;
    run_fill(state, corner_cells(), 1000, true);
    state.SetLabel("vs fill_corner_1001_plain");
}

void fill_corner_1001_plain(benchmark::State &state)
{
    if (skip(state))
        return;
    run_fill(state, corner_cells(), 1000, false);
}

void fill_square_first(benchmark::State &state)
{
    if (skip(state))
        return;
    std::vector<std::pair<int, int>> cells;
    for (int c = 0; c < 5; c++)
        for (int r = 0; r < 5; r++)
            cells.push_back({c, r});
    run_fill(state, cells, 0, true);
}

// The Wordsquare solve of a 127 x 127 grid with English letter frequencies.
void random_wordsquare()
{
    static const double frequency[26] = {8.2, 1.5, 2.8, 4.3, 12.7, 2.2, 2.0, 6.1, 7.0, 0.15, 0.8, 4.0, 2.4,
                                         6.7, 7.5, 1.9, 0.1, 6.0, 6.3, 9.1, 2.8, 1.0, 2.4, 0.15, 2.0, 0.07};
    std::discrete_distribution<int> letter(frequency, frequency + 26);
    std::mt19937 rng(127);
    grid_init();
    grid.grid_type = 1;
    set_size(127, 127);
    grid.min_word_length = 5;
    for (int c = 0; c < 127; c++)
        for (int r = 0; r < 127; r++)
            grid.letters[grid_cell(c, r)] = static_cast<uint8_t>('a' + letter(rng));
}

const int search_steps[8][2] = {{-1, -1}, {-1, 0}, {-1, +1}, {0, -1}, {0, +1}, {+1, -1}, {+1, 0}, {+1, +1}};

// Reads the run as the solver does; returns its length.
int read_run(int c, int r, int dc, int dr, char *run)
{
    int n = 0;
    for (; n < 31 && c >= 0 && r >= 0 && c < grid.width && r < grid.height; c += dc, r += dr, n++) {
        unsigned char l = cp_lower(grid.letters[grid_cell(c, r)]);
        if ((grid.attributes[grid_cell(c, r)] & 3) || l < 'a' || l > 'z')
            break;
        run[n] = static_cast<char>(l);
    }
    return n;
}

struct Found {
    int col, row, dc, dr;
    std::string text;
};

std::vector<std::string> letter_words()
{
    std::vector<std::string> out;
    for (const std::string &w : fixture().words) {
        std::string s;
        bool ok = true;
        for (char ch : w) {
            if (ch == ' ')
                continue;
            unsigned char l = cp_lower(static_cast<unsigned char>(ch));
            ok = ok && l >= 'a' && l <= 'z';
            s += static_cast<char>(l);
        }
        if (ok && !s.empty())
            out.push_back(s);
    }
    return out;
}

void sort_found(std::vector<Found> &found)
{
    std::sort(found.begin(), found.end(), [](const Found &a, const Found &b) { return a.text < b.text; });
}

void wordsquare_solve_127(benchmark::State &state)
{
    if (skip(state))
        return;
    random_wordsquare();
    lexicon_prepare();
    for (auto _ : state) {
        list_clear();
        solve_wordsquare_run();
    }
    state.counters["words"] = grid.word_count;
    state.counters["trie_bytes"] = static_cast<double>(lexicon_bytes());
    size_t vector_bytes = 0;
    for (const std::string &w : letter_words())
        vector_bytes += sizeof(std::string) + (w.size() > 15 ? w.size() + 1 : 0);
    state.counters["vector_string_bytes"] = static_cast<double>(vector_bytes);
    state.SetLabel("vs wordsquare_baseline_trie_127");
}

// The baseline: a trie of 26 child indices per node.
void wordsquare_baseline_trie_127(benchmark::State &state)
{
    if (skip(state))
        return;
    struct Node {
        int child[26];
        bool end;
    };
    std::vector<Node> trie(1, Node{{0}, false});
    for (const std::string &w : letter_words()) {
        int at = 0;
        for (char ch : w) {
            int k = ch - 'a';
            if (!trie[at].child[k]) {
                trie[at].child[k] = static_cast<int>(trie.size());
                trie.push_back(Node{{0}, false});
            }
            at = trie[at].child[k];
        }
        trie[at].end = true;
    }
    random_wordsquare();
    std::vector<Found> found;
    for (auto _ : state) {
        found.clear();
        char run[32];
        for (int c = 0; c < 127; c++)
            for (int r = 0; r < 127; r++)
                for (const auto &s : search_steps) {
                    int n = read_run(c, r, s[0], s[1], run), at = 0, best = 0;
                    for (int i = 0; i < n; i++) {
                        at = trie[at].child[run[i] - 'a'];
                        if (!at)
                            break;
                        if (trie[at].end && i + 1 >= 5)
                            best = i + 1;
                    }
                    if (best)
                        found.push_back({c, r, s[0], s[1], std::string(run, best)});
                }
        sort_found(found);
    }
    state.counters["words"] = static_cast<double>(found.size());
}

// The slow baseline: every prefix looked up in a hash set.
void wordsquare_baseline_hash_127(benchmark::State &state)
{
    if (skip(state))
        return;
    std::vector<std::string> lw = letter_words();
    std::unordered_set<std::string> set(lw.begin(), lw.end());
    random_wordsquare();
    std::vector<Found> found;
    for (auto _ : state) {
        found.clear();
        char run[32];
        for (int c = 0; c < 127; c++)
            for (int r = 0; r < 127; r++)
                for (const auto &s : search_steps) {
                    int n = read_run(c, r, s[0], s[1], run);
                    for (int k = n; k >= 5; k--)
                        if (set.count(std::string(run, k))) {
                            found.push_back({c, r, s[0], s[1], std::string(run, k)});
                            break;
                        }
                }
        sort_found(found);
    }
    state.counters["words"] = static_cast<double>(found.size());
}

void wordsquare_new_15(benchmark::State &state)
{
    if (skip(state))
        return;
    uint32_t seed = 1;
    for (auto _ : state) {
        grid_init();
        grid.grid_type = 1;
        set_size(15, 15);
        random_seed(seed++);
        make_from_dictionary_start();
        make_from_dictionary_run();
    }
}

}  // namespace

BENCHMARK(solve_pattern_median)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(20);
BENCHMARK(solve_baseline_scan_median)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(20);
BENCHMARK(solve_known_first_median)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(20);
BENCHMARK(solve_baseline_scan_known_first)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(20);
BENCHMARK(first_query_pattern)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(3);
BENCHMARK(first_query_anagram)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(3);
BENCHMARK(first_query_pattern_large)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(3);
BENCHMARK(first_query_anagram_large)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(3);
BENCHMARK(anagram_letters)->Unit(benchmark::kMicrosecond);
BENCHMARK(anagram_one_star)->Unit(benchmark::kMicrosecond);
BENCHMARK(anagram_baseline_hash_one_star)->Unit(benchmark::kMicrosecond);
BENCHMARK(fill_corner_1001)->Unit(benchmark::kMillisecond);
BENCHMARK(fill_corner_1001_plain)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(fill_square_first)->Unit(benchmark::kMillisecond);
BENCHMARK(wordsquare_solve_127)->Unit(benchmark::kMillisecond);
BENCHMARK(wordsquare_baseline_trie_127)->Unit(benchmark::kMillisecond);
BENCHMARK(wordsquare_baseline_hash_127)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(wordsquare_new_15)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
