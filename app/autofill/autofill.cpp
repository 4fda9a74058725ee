// The autofill search.
//
// Variables are the runs of the area (fill_layout.h); a run's domain is a
// bit set over the words of its length (fill_words.h), initially the
// intersection of the (position, letter) sets of the letters it already
// holds. The search is a depth-first walk with:
//   - choice of the run with the fewest candidates left (ties: the most
//     open crossings, then the longest);
//   - candidates tried in order of how many options they leave the
//     crossing runs (the product of the crossings' counts for the word's
//     letters, with a little seeded noise); a word that would leave a
//     crossing no option is never tried;
//   - forward checking: placing a word narrows the domain of every open
//     crossing run and removes the word from every open run of its length
//     (no word twice); then arc consistency over the crossings keeps in
//     each open run only words whose letters some word of each crossing
//     run can share; an empty domain undoes the placement at once;
//   - randomised restarts: a walk that takes back more than its allowance
//     of words starts again with new noise and a larger allowance, so one
//     bad early choice does not cost the rest of the run. A walk that ends
//     within its allowance has tried everything: no fill exists.
// Every change of a domain, a cell or an assignment is recorded on one
// undo trail, so taking a word back is popping the trail to a mark.
#include "app/autofill/autofill.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/autofill/fill_layout.h"
#include "app/autofill/fill_words.h"
#include "app/grid/grid.h"
#include "app/grid/grid_hooks.h"
#include "app/grid/random.h"
#include "app/grid/result_list.h"

namespace {

const int poll_every = 64;             // loop steps between polls
const uint64_t first_allowance = 64;   // words taken back before the first restart
const float noise = 0.7f;              // spread of the seeded noise (natural log units)
const float no_option = -1e30f;        // a letter that leaves a crossing nothing

struct Slot {
    int n;                       // length
    const FillLength *words;     // the words of that length (null: none)
    size_t domain;               // offset of the domain in Search::pool
    int count;                   // words in the domain
    bool assigned;
    int32_t word;                // the word placed, when assigned
};

enum UndoKind : uint8_t { undo_domain, undo_bit, undo_cell, undo_assign };

struct Undo {
    UndoKind kind;
    int32_t slot;
    uint32_t value;   // saved-bits offset, word number or cell
    int32_t count;    // the domain's count before
};

struct Frame {
    int slot;
    size_t begin, next, end;   // its candidates in Search::candidates
    size_t mark;               // the trail before its word was placed
};

struct Search {
    FillLayout layout;
    std::vector<Slot> slots;
    std::vector<int16_t> letters;              // per layout cell, -1 empty
    std::vector<uint64_t> pool;                // every domain
    std::vector<uint64_t> saved;               // domains saved on the trail
    std::vector<Undo> trail;
    std::vector<uint64_t> used[WORD_BUFFER];   // words placed, per length
    std::vector<int> by_length[WORD_BUFFER];   // runs of each length
    std::vector<std::pair<float, int32_t>> candidates;
    std::vector<Frame> frames;
    std::vector<float> scores;                 // position * 256 + letter
    std::vector<int> queue;                    // runs whose domain shrank
    std::vector<uint8_t> queued;               // per run: in `queue`
    autofill_progress progress{};
    autofill_progress_hook hook = nullptr;
    const error_block *error = nullptr;
    int steps = 0;
};

int other(int direction) { return 1 - direction; }

// The open run crossing slot s at its position i, and that run's position
// there; -1 when the cell has no other run.
int crossing(const Search &S, int s, int i, int *position)
{
    const FillRun &run = S.layout.runs[s];
    const FillCell &cell = S.layout.cells[run.cells[i]];
    int d = other(run.direction);
    *position = cell.position[d];
    return cell.run[d];
}

uint64_t *domain(Search &S, int s) { return &S.pool[S.slots[s].domain]; }

int stride(const Search &S, int s) { return S.slots[s].words ? S.slots[s].words->stride : 0; }

void save_domain(Search &S, int s)
{
    Undo u{undo_domain, s, static_cast<uint32_t>(S.saved.size()), S.slots[s].count};
    S.saved.insert(S.saved.end(), domain(S, s), domain(S, s) + stride(S, s));
    S.trail.push_back(u);
}

// Keeps the words of slot t with `letter` at `position`. False when none is left.
bool narrow(Search &S, int t, int position, uint8_t letter)
{
    Slot &slot = S.slots[t];
    const uint64_t *set = slot.words ? slot.words->set(position, letter) : nullptr;
    save_domain(S, t);
    uint64_t *d = domain(S, t);
    int c = 0;
    for (int k = 0; k < stride(S, t); k++) {
        d[k] &= set ? set[k] : 0;
        c += std::popcount(d[k]);
    }
    slot.count = c;
    if (!S.queued[t]) {
        S.queued[t] = 1;
        S.queue.push_back(t);
    }
    return c > 0;
}

bool drop_queue(Search &S)
{
    for (int t : S.queue)
        S.queued[t] = 0;
    S.queue.clear();
    return false;
}

bool is_used(const Search &S, int n, int32_t w) { return (S.used[n][w / 64] >> (w % 64)) & 1; }

void undo_to(Search &S, size_t mark)
{
    while (S.trail.size() > mark) {
        Undo u = S.trail.back();
        S.trail.pop_back();
        Slot &slot = S.slots[u.slot];
        switch (u.kind) {
        case undo_domain:
            memcpy(domain(S, u.slot), &S.saved[u.value], sizeof(uint64_t) * stride(S, u.slot));
            S.saved.resize(u.value);
            slot.count = u.count;
            break;
        case undo_bit:
            domain(S, u.slot)[u.value / 64] |= 1ull << (u.value % 64);
            slot.count = u.count;
            break;
        case undo_cell:
            S.letters[u.value] = -1;
            break;
        case undo_assign:
            slot.assigned = false;
            S.used[slot.n][slot.word / 64] &= ~(1ull << (slot.word % 64));
            S.progress.filled--;
            break;
        }
    }
}

// Calls f(w) for every word w in a domain.
template <class F> void each_word(const uint64_t *d, int stride, F f)
{
    for (int k = 0; k < stride; k++)
        for (uint64_t bits = d[k]; bits; bits &= bits - 1)
            f(k * 64 + std::countr_zero(bits));
}

// Keeps the words of run t whose letter at position j some word of run u
// (crossing it there, at position i) can share. False when t is left
// without a word. Walks the words of both domains, which late in a search
// hold few words.
bool revise(Search &S, int u, int i, int t, int j)
{
    const Slot &a = S.slots[u];
    Slot &b = S.slots[t];
    bool present[256] = {};
    const uint8_t *wa = a.words->folded.data();
    each_word(domain(S, u), a.words->stride, [&](int32_t w) { present[wa[static_cast<size_t>(w) * a.n + i]] = true; });
    const uint8_t *wb = b.words->folded.data();
    bool changed = false;
    uint64_t *dt = domain(S, t);
    each_word(dt, b.words->stride, [&](int32_t w) {
        if (present[wb[static_cast<size_t>(w) * b.n + j]])
            return;
        if (!changed) {
            save_domain(S, t);
            dt = domain(S, t);
            changed = true;
        }
        dt[w / 64] &= ~(1ull << (w % 64));
        b.count--;
    });
    if (changed && !S.queued[t]) {
        S.queued[t] = 1;
        S.queue.push_back(t);
    }
    return b.count > 0;
}

// Arc consistency over the crossings of open runs: every word left in an
// open run agrees, at each open crossing, with some word left in the
// crossing run. Runs from the queue; false at the first empty domain.
bool propagate(Search &S)
{
    bool ok = true;
    while (!S.queue.empty()) {
        int u = S.queue.back();
        S.queue.pop_back();
        S.queued[u] = 0;
        if (!ok || S.slots[u].assigned)
            continue;
        const FillRun &run = S.layout.runs[u];
        for (int i = 0; i < S.slots[u].n && ok; i++) {
            if (S.letters[run.cells[i]] >= 0)
                continue;
            int j, t = crossing(S, u, i, &j);
            if (t >= 0 && !S.slots[t].assigned)
                ok = revise(S, u, i, t, j);
        }
    }
    return ok;
}

// Places word w in slot s with forward checking. False when some open run
// is left without a word (the caller undoes to its mark).
bool assign(Search &S, int s, int32_t w)
{
    Slot &slot = S.slots[s];
    S.trail.push_back(Undo{undo_assign, s, static_cast<uint32_t>(w), slot.count});
    slot.assigned = true;
    slot.word = w;
    S.used[slot.n][w / 64] |= 1ull << (w % 64);
    S.progress.filled++;
    if (S.progress.filled > S.progress.best)
        S.progress.best = S.progress.filled;
    const uint8_t *word = &slot.words->folded[static_cast<size_t>(w) * slot.n];
    const FillRun &run = S.layout.runs[s];
    for (int i = 0; i < slot.n; i++) {
        int cell = run.cells[i];
        if (S.letters[cell] >= 0)
            continue;
        S.letters[cell] = word[i];
        S.trail.push_back(Undo{undo_cell, s, static_cast<uint32_t>(cell), 0});
        int j, t = crossing(S, s, i, &j);
        if (t >= 0 && !S.slots[t].assigned && !narrow(S, t, j, word[i]))
            return drop_queue(S);
    }
    for (int t : S.by_length[slot.n]) {
        Slot &o = S.slots[t];
        if (t == s || o.assigned || !((domain(S, t)[w / 64] >> (w % 64)) & 1))
            continue;
        S.trail.push_back(Undo{undo_bit, t, static_cast<uint32_t>(w), o.count});
        domain(S, t)[w / 64] &= ~(1ull << (w % 64));
        if (--o.count == 0)
            return drop_queue(S);
    }
    return propagate(S);
}

int open_crossings(const Search &S, int s)
{
    int count = 0;
    for (int i = 0; i < S.slots[s].n; i++) {
        int j, t = crossing(S, s, i, &j);
        if (t >= 0 && !S.slots[t].assigned)
            count++;
    }
    return count;
}

// The open slot to fill next, -1 when every slot holds a word.
int choose_slot(const Search &S)
{
    int best = -1, best_crossings = 0;
    for (int s = 0; s < static_cast<int>(S.slots.size()); s++) {
        const Slot &slot = S.slots[s];
        if (slot.assigned)
            continue;
        if (best >= 0 && slot.count > S.slots[best].count)
            continue;
        int crossings = open_crossings(S, s);
        if (best >= 0 && slot.count == S.slots[best].count &&
            (crossings < best_crossings || (crossings == best_crossings && slot.n <= S.slots[best].n)))
            continue;
        best = s;
        best_crossings = crossings;
    }
    return best;
}

// For each open crossing of slot s, the log of the options that each
// letter at the shared cell would leave it; no_option for none.
void score_letters(Search &S, int s)
{
    const Slot &slot = S.slots[s];
    S.scores.assign(static_cast<size_t>(slot.n) * 256, 0.0f);
    for (int i = 0; i < slot.n; i++) {
        int j, t = crossing(S, s, i, &j);
        if (t < 0 || S.slots[t].assigned)
            continue;
        const Slot &cross = S.slots[t];
        int options[256] = {};
        const uint8_t *wt = cross.words->folded.data();
        each_word(domain(S, t), cross.words->stride,
                  [&](int32_t w) { options[wt[static_cast<size_t>(w) * cross.n + j]]++; });
        for (uint8_t letter : slot.words->letters[i])
            S.scores[i * 256 + letter] = options[letter] ? std::log(static_cast<float>(options[letter])) : no_option;
    }
}

float draw_noise() { return noise * static_cast<float>(random_draw()) / 32768.0f; }

// Appends slot s's candidates, best first not yet sorted; returns how many.
size_t gather_candidates(Search &S, int s)
{
    score_letters(S, s);
    const Slot &slot = S.slots[s];
    const uint64_t *d = domain(S, s);
    size_t before = S.candidates.size();
    for (int k = 0; k < slot.words->stride; k++) {
        uint64_t bits = d[k] & ~S.used[slot.n][k];
        while (bits) {
            int32_t w = k * 64 + std::countr_zero(bits);
            bits &= bits - 1;
            const uint8_t *word = &slot.words->folded[static_cast<size_t>(w) * slot.n];
            float score = 0;
            for (int i = 0; i < slot.n && score > no_option / 2; i++)
                score += S.scores[i * 256 + word[i]];
            if (score > no_option / 2)
                S.candidates.emplace_back(score + draw_noise(), w);
        }
    }
    return S.candidates.size() - before;
}

bool push_frame(Search &S, int s)
{
    size_t begin = S.candidates.size();
    if (gather_candidates(S, s) == 0)
        return false;
    S.frames.push_back(Frame{s, begin, begin, S.candidates.size(), S.trail.size()});
    return true;
}

// The best candidate left in the frame (selected lazily: most walks try
// only the first few).
int32_t take_best(Search &S, Frame &f)
{
    size_t best = f.next;
    for (size_t k = f.next + 1; k < f.end; k++)
        if (S.candidates[k].first > S.candidates[best].first)
            best = k;
    std::swap(S.candidates[best], S.candidates[f.next]);
    return S.candidates[f.next++].second;
}

// Polls and reports progress every poll_every steps: false when the search
// must end.
bool poll(Search &S)
{
    if (++S.steps < poll_every)
        return true;
    S.steps = 0;
    if (S.hook)
        S.hook(&S.progress);
    S.error = grid_ui_poll_once();
    return !S.error && !stop_requested();
}

enum Walk { walk_found, walk_exhausted, walk_restart, walk_stopped };

// One depth-first walk from the start state, taking back at most
// `allowance` words.
Walk walk(Search &S, uint64_t allowance)
{
    S.frames.clear();
    S.candidates.clear();
    uint64_t taken_back = 0;
    int s = choose_slot(S);
    if (s < 0)
        return walk_found;
    if (!push_frame(S, s))
        return walk_exhausted;
    for (;;) {
        if (!poll(S))
            return walk_stopped;
        Frame &f = S.frames.back();
        undo_to(S, f.mark);
        if (f.next == f.end) {
            S.candidates.resize(f.begin);
            S.frames.pop_back();
            if (S.frames.empty())
                return walk_exhausted;
            continue;
        }
        int32_t w = take_best(S, f);
        if (is_used(S, S.slots[f.slot].n, w))
            continue;
        bool placed = assign(S, f.slot, w);
        int next = placed ? choose_slot(S) : -1;
        if (placed && next < 0)
            return walk_found;
        if (!placed || !push_frame(S, next)) {
            S.progress.backtracks++;
            if (++taken_back > allowance)
                return walk_restart;
        }
    }
}

void describe_run(const Search &S, int s, const char *why, char *out, size_t size)
{
    const FillRun &run = S.layout.runs[s];
    std::string pattern;
    for (int cell : run.cells) {
        int16_t l = S.layout.cells[cell].letter;
        pattern += l < 0 ? '.' : static_cast<char>(l);
    }
    snprintf(out, size, "%s at column %d, row %d (%s): %s", run.direction == 0 ? "across" : "down", run.col,
             run.row, pattern.c_str(), why);
}

// Builds the slots and their first domains. False (with the reason) when a
// run has no word at all.
bool set_up(Search &S, const FillWords &words, char *reason, size_t size)
{
    size_t total = 0;
    S.progress.entries = static_cast<int32_t>(S.layout.runs.size());
    S.slots.resize(S.layout.runs.size());
    for (size_t s = 0; s < S.slots.size(); s++) {
        Slot &slot = S.slots[s];
        slot.n = static_cast<int>(S.layout.runs[s].cells.size());
        slot.words = slot.n < WORD_BUFFER && words.lengths[slot.n].count ? &words.lengths[slot.n] : nullptr;
        slot.domain = total;
        slot.assigned = false;
        slot.word = -1;
        total += stride(S, static_cast<int>(s));
    }
    S.pool.assign(total, 0);
    S.queued.assign(S.slots.size(), 0);
    for (int n = 1; n < WORD_BUFFER; n++)
        S.used[n].assign(static_cast<size_t>(words.lengths[n].stride), 0);
    S.letters.resize(S.layout.cells.size());
    for (size_t c = 0; c < S.layout.cells.size(); c++)
        S.letters[c] = S.layout.cells[c].letter;
    for (int s = 0; s < static_cast<int>(S.slots.size()); s++) {
        Slot &slot = S.slots[s];
        if (!slot.words) {
            describe_run(S, s, slot.n > WORD_MAX ? "no word is that long" : "no word has that length", reason, size);
            return false;
        }
        S.by_length[slot.n].push_back(s);
        uint64_t *d = domain(S, s);
        for (int k = 0; k < slot.words->stride; k++)
            d[k] = ~0ull;
        if (slot.words->count % 64)
            d[slot.words->stride - 1] = (1ull << (slot.words->count % 64)) - 1;
        slot.count = slot.words->count;
        const FillRun &run = S.layout.runs[s];
        for (int i = 0; i < slot.n; i++) {
            int16_t l = S.letters[run.cells[i]];
            if (l >= 0 && !narrow(S, s, i, static_cast<uint8_t>(l))) {
                describe_run(S, s, "no word fits the letters", reason, size);
                return false;
            }
        }
    }
    if (!propagate(S)) {
        snprintf(reason, size, "the letters given leave some run without a word");
        return false;
    }
    S.trail.clear();
    S.saved.clear();
    return true;
}

void write_fill(const Search &S)
{
    for (size_t s = 0; s < S.slots.size(); s++) {
        const Slot &slot = S.slots[s];
        const char *spelling = &slot.words->spelling[static_cast<size_t>(slot.word) * slot.n];
        const FillRun &run = S.layout.runs[s];
        for (int i = 0; i < slot.n; i++) {
            const FillCell &cell = S.layout.cells[run.cells[i]];
            if (cell.letter < 0)
                grid.letters[grid_cell(cell.col, cell.row)] = convert_case(static_cast<unsigned char>(spelling[i]));
        }
    }
    mark_modified();
    grid_ui_redraw_cells(S.layout.col0, S.layout.row0, S.layout.col1, S.layout.row1);
}

}  // namespace

autofill_area autofill_whole_grid() { return autofill_area{0, 0, grid.width - 1, grid.height - 1}; }

const error_block *autofill_grid(const autofill_area *area, autofill_progress_hook hook, autofill_result *result)
{
    *result = autofill_result{};
    Search S;
    S.hook = hook;
    S.steps = poll_every - 1;   // the first step polls
    fill_layout(area, &S.layout);
    uint32_t lengths = 0;
    for (const FillRun &run : S.layout.runs)
        if (run.cells.size() < WORD_BUFFER)
            lengths |= 1u << run.cells.size();
    if (!set_up(S, fill_words(lengths), result->reason, sizeof result->reason)) {
        result->outcome = autofill_impossible;
        result->progress = S.progress;
        return nullptr;
    }
    uint64_t allowance = first_allowance;
    for (;;) {
        Walk w = walk(S, allowance);
        if (w == walk_restart) {
            undo_to(S, 0);
            S.progress.restarts++;
            allowance += allowance / 2;
            continue;
        }
        result->outcome = w == walk_found ? autofill_filled : w == walk_exhausted ? autofill_impossible : autofill_stopped;
        break;
    }
    if (result->outcome == autofill_filled)
        write_fill(S);
    result->progress = S.progress;
    if (hook)
        hook(&S.progress);
    return S.error;
}
