// The word store against plain standard containers: importing the full
// word list, loading the built dictionary, finding words (both modes) and
// fetching by number, plus the store's size per word.
//
// The word list is QM_WORD_LIST, or Debian's wamerican list.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/dictionary/dictionary.h"
#include "app/dictionary/dictionary_text.h"
#include "app/grid/app_errors.h"
#include "toolkit/memory/memory.h"

namespace {

std::string word_list()
{
    const char *given = getenv("QM_WORD_LIST");
    return given ? given : "/usr/share/dict/american-english";
}

const std::string kSaved = "/tmp/qm_bench_MainDict.dic";

// The dictionary built once from the list, its words in random order, and
// the same words in a hash set.
struct Fixture {
    Dictionary d{};
    std::vector<std::string> words;
    std::unordered_set<std::string> hashed;
    bool ready = false;

    Fixture()
    {
        app_errors_register();
        ImportCounts counts;
        if (import_word_file(&d, word_list().c_str(), false, &counts))
            return;
        WordCursor c;
        if (word_at(&d, 0, &c))
            do
                words.emplace_back(c.text);
            while (next_word(&d, &c));
        std::shuffle(words.begin(), words.end(), std::mt19937(42));
        hashed.insert(words.begin(), words.end());
        ready = !save_dictionary_file(&d, kSaved.c_str());
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

bool skip_without_list(benchmark::State &state)
{
    if (fixture().ready)
        return false;
    state.SkipWithError(("no word list at " + word_list()).c_str());
    return true;
}

void import_list(benchmark::State &state)
{
    if (skip_without_list(state))
        return;
    uint32_t words = 0;
    for (auto _ : state) {
        Dictionary d{};
        ImportCounts counts;
        import_word_file(&d, word_list().c_str(), false, &counts);
        words = d.words;
        clear_dictionary(&d);
    }
    state.counters["words_per_s"] = benchmark::Counter(words, benchmark::Counter::kIsIterationInvariantRate);
    state.SetLabel("vs import_baseline_std_set");
}

void import_baseline_std_set(benchmark::State &state)
{
    if (skip_without_list(state))
        return;
    size_t words = 0;
    for (auto _ : state) {
        std::ifstream in(word_list(), std::ios::binary);
        std::set<std::string> set;
        for (std::string line; std::getline(in, line);)
            set.insert(line);
        words = set.size();
        benchmark::DoNotOptimize(words);
    }
    state.counters["words_per_s"] = benchmark::Counter(words, benchmark::Counter::kIsIterationInvariantRate);
}

// Adding the list's words one at a time in their sorted order (each add
// moves only the end of the word block).
void add_one_by_one_sorted(benchmark::State &state)
{
    if (skip_without_list(state))
        return;
    std::vector<std::string> sorted = fixture().words;
    std::sort(sorted.begin(), sorted.end(), [](const std::string &a, const std::string &b) {
        return compare_words(a.c_str(), b.c_str(), WORD_MAX, nullptr) < 0;
    });
    for (auto _ : state) {
        Dictionary d{};
        init_dictionary(&d);
        for (const std::string &w : sorted)
            add_word(&d, w.c_str());
        clear_dictionary(&d);
    }
    state.counters["words_per_s"] =
        benchmark::Counter(static_cast<double>(sorted.size()), benchmark::Counter::kIsIterationInvariantRate);
    state.SetLabel("vs import_baseline_std_set");
}

void load_main_dict(benchmark::State &state)
{
    if (skip_without_list(state))
        return;
    for (auto _ : state) {
        Dictionary d{};
        load_dictionary_file(&d, kSaved.c_str());
        benchmark::DoNotOptimize(d.words);
        clear_dictionary(&d);
    }
    state.SetLabel("vs import_baseline_std_set");
}

template <class Lookup> void per_word(benchmark::State &state, Lookup lookup)
{
    if (skip_without_list(state))
        return;
    const std::vector<std::string> &words = fixture().words;
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(lookup(words[i], i));
        if (++i == words.size())
            i = 0;
    }
}

void find_normal(benchmark::State &state)
{
    per_word(state, [](const std::string &w, size_t) {
        WordCursor c;
        return find_word(&fixture().d, w.c_str(), &c, nullptr);
    });
    state.SetLabel("vs lookup_baseline_unordered_set");
}

void find_fast(benchmark::State &state)
{
    per_word(state, [](const std::string &w, size_t) {
        unsigned flags = CMP_IGNORE_SPACES;
        return find_word(&fixture().d, w.c_str(), nullptr, &flags);
    });
    state.SetLabel("vs lookup_baseline_unordered_set");
}

// The same with one multi-word entry in the store: the careful walk.
void find_fast_with_spaced_words(benchmark::State &state)
{
    static Dictionary spaced = [] {
        Dictionary d{};
        if (fixture().ready) {
            load_dictionary_file(&d, kSaved.c_str());
            add_word(&d, "ice zone");
        }
        return d;
    }();
    per_word(state, [](const std::string &w, size_t) {
        unsigned flags = CMP_IGNORE_SPACES;
        return find_word(&spaced, w.c_str(), nullptr, &flags);
    });
    state.SetLabel("vs lookup_baseline_unordered_set");
}

void word_at_number(benchmark::State &state)
{
    per_word(state, [](const std::string &w, size_t i) {
        WordCursor c;
        return word_at(&fixture().d, static_cast<uint32_t>((i * 7919 + w.size()) % fixture().d.words), &c);
    });
    state.SetLabel("vs lookup_baseline_unordered_set");
}

void lookup_baseline_unordered_set(benchmark::State &state)
{
    per_word(state, [](const std::string &w, size_t) { return fixture().hashed.count(w); });
}

long file_size(const std::string &path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    return in ? static_cast<long>(in.tellg()) : 0;
}

long gzip_size(const std::string &path)
{
    std::string command = "gzip -9 -c '" + path + "' | wc -c";
    FILE *p = popen(command.c_str(), "r");
    long n = 0;
    if (p) {
        if (fscanf(p, "%ld", &n) != 1)
            n = 0;
        pclose(p);
    }
    return n;
}

// Not a timing: the sizes per word, reported as counters.
void size_per_word(benchmark::State &state)
{
    if (skip_without_list(state))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(fixture().d.words);
    double words = fixture().d.words;
    state.counters["word_block"] = flex_length(&fixture().d.wordblock) / words;
    state.counters["dic_file"] = file_size(kSaved) / words;
    state.counters["text_file"] = file_size(word_list()) / words;
    state.counters["gzip9_text"] = gzip_size(word_list()) / words;
    state.counters["gzip9_dic"] = gzip_size(kSaved) / words;
}

}  // namespace

BENCHMARK(import_list)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(import_baseline_std_set)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(add_one_by_one_sorted)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(load_main_dict)->Unit(benchmark::kMillisecond);
BENCHMARK(find_normal);
BENCHMARK(find_fast);
BENCHMARK(find_fast_with_spaced_words);
BENCHMARK(word_at_number);
BENCHMARK(lookup_baseline_unordered_set);
BENCHMARK(size_per_word)->Iterations(1);

BENCHMARK_MAIN();
