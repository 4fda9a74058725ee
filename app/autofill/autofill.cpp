// The autofill search.
//
// Variables are the runs of the area (fill_layout.h); a run's domain is a
// bit set over the words of its length (fill_words.h), initially the
// intersection of the (position, letter) sets of the letters it already
// holds. Beside its domain each open run keeps, per position, the set of
// letters its words still have there; a cell may take the letters both of
// its runs allow. The search is a depth-first walk over the empty cells:
//   - choice of the empty cell with the fewest letters left (ties: the
//     fewest words left in its runs), so a dense block is filled where it
//     is tightest and a cell with one letter left costs no choice;
//   - letters tried in order of how many words they leave the cell's two
//     runs (the product of the counts, with a little seeded noise);
//   - propagation after every letter: the cell's runs keep the words with
//     that letter there; a run whose domain shrank recomputes its letter
//     sets, and where a position lost letters the run crossing there drops
//     the words with those letters (arc consistency over the shared cells,
//     in bit-set operations per letter rather than per word); a run left
//     with one word takes it, which fills its cells and removes the word
//     from every other open run of its length (no word twice); an empty
//     domain undoes the letter at once;
//   - randomised restarts: a walk that takes back more letters than its
//     allowance starts again with new noise; the allowances follow the
//     sequence 1 1 2 1 1 2 4 ... times a unit, so one bad early choice
//     does not cost the rest of the run, and a walk that ends within its
//     allowance has tried everything: no fill exists.
// Every change of a domain, a letter set, a cell or an assignment is
// recorded on one undo trail, so taking a letter back is popping the trail
// to a mark.
#include "app/autofill/autofill.h"

#include <algorithm>
#include <bit>
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
const uint64_t walk_unit = 16;         // letters taken back before the first restart
const int32_t noise = 128;             // spread of the seeded noise (1/256 of log2 units)

// A set of (upper-cased) letters.
struct Letters {
    uint64_t w[4] = {};
    void add(uint8_t l) { w[l >> 6] |= 1ull << (l & 63); }
    bool empty() const { return !(w[0] | w[1] | w[2] | w[3]); }
    int size() const
    {
        return std::popcount(w[0]) + std::popcount(w[1]) + std::popcount(w[2]) + std::popcount(w[3]);
    }
    bool operator==(const Letters &o) const
    {
        return w[0] == o.w[0] && w[1] == o.w[1] && w[2] == o.w[2] && w[3] == o.w[3];
    }
    Letters operator&(const Letters &o) const
    {
        return Letters{{w[0] & o.w[0], w[1] & o.w[1], w[2] & o.w[2], w[3] & o.w[3]}};
    }
    Letters without(const Letters &o) const
    {
        return Letters{{w[0] & ~o.w[0], w[1] & ~o.w[1], w[2] & ~o.w[2], w[3] & ~o.w[3]}};
    }
    template <class F> void each(F f) const
    {
        for (int k = 0; k < 4; k++)
            for (uint64_t bits = w[k]; bits; bits &= bits - 1)
                f(static_cast<uint8_t>(k * 64 + std::countr_zero(bits)));
    }
};

struct Slot {
    int n;                       // length
    const FillLength *words;     // the words of that length (null: none)
    size_t domain;               // offset of the domain in Search::pool
    size_t masks;                // offset of its n letter sets in Search::masks:
                                 // per position, at least the letters some
                                 // word of the domain has there
    int count;                   // words in the domain
    bool assigned;
    int32_t word;                // the word placed, when assigned
};

enum UndoKind : uint8_t { undo_domain, undo_bit, undo_cell, undo_assign, undo_mask };

struct Undo {
    UndoKind kind;
    int32_t slot;
    uint32_t value;   // saved-bits offset, word number, cell or saved-mask offset
    int32_t count;    // the domain's count before; for undo_mask the position
};

struct Frame {
    int cell;                  // the cell whose letter it chooses
    size_t begin, next, end;   // its candidates in Search::candidates
    size_t mark;               // the trail before its word was placed
};

struct Search {
    FillLayout layout;
    std::vector<Slot> slots;
    std::vector<int16_t> letters;              // per layout cell, -1 empty
    std::vector<uint64_t> pool;                // every domain
    std::vector<uint64_t> saved;               // domains saved on the trail
    std::vector<Letters> masks;                // every run's letter sets
    std::vector<Letters> saved_masks;          // letter sets saved on the trail
    std::vector<uint32_t> seen;                // position * 256 + letter: stamp of the
    uint32_t stamp = 0;                        // last walk that saw it (supports)
    std::vector<Undo> trail;
    std::vector<int> by_length[WORD_BUFFER];   // runs of each length
    std::vector<std::pair<int32_t, int32_t>> candidates;
    std::vector<Frame> frames;
    std::vector<int> queue;                    // runs whose letter sets may have shrunk
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

Letters *masks(Search &S, int s) { return &S.masks[S.slots[s].masks]; }

// Sets run s's letter set at `position`, saving the old one on the trail.
void set_mask(Search &S, int s, int position, const Letters &letters)
{
    Letters &m = masks(S, s)[position];
    if (m == letters)
        return;
    S.trail.push_back(Undo{undo_mask, s, static_cast<uint32_t>(S.saved_masks.size()), position});
    S.saved_masks.push_back(m);
    m = letters;
}

void enqueue(Search &S, int t)
{
    if (!S.queued[t]) {
        S.queued[t] = 1;
        S.queue.push_back(t);
    }
}

// Bits set in x (without a call into the runtime where the target has no
// population-count instruction).
inline int bits_in(uint64_t x)
{
    x = x - ((x >> 1) & 0x5555555555555555ull);
    x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
    x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0full;
    return static_cast<int>((x * 0x0101010101010101ull) >> 56);
}

int recount(Search &S, int t)
{
    const uint64_t *d = domain(S, t);
    int c = 0;
    for (int k = 0; k < stride(S, t); k++)
        c += bits_in(d[k]);
    return S.slots[t].count = c;
}

// Keeps the words of slot t with `letter` at `position`. False when none is left.
bool narrow(Search &S, int t, int position, uint8_t letter)
{
    Slot &slot = S.slots[t];
    const uint64_t *set = slot.words ? slot.words->set(position, letter) : nullptr;
    save_domain(S, t);
    uint64_t *d = domain(S, t);
    for (int k = 0; k < stride(S, t); k++)
        d[k] &= set ? set[k] : 0;
    Letters only;
    only.add(letter);
    set_mask(S, t, position, masks(S, t)[position] & only);
    enqueue(S, t);
    return recount(S, t) > 0;
}

// Drops from slot t the words whose letter at `position` is one of
// `letters`. False when none is left.
bool remove_letters(Search &S, int t, int position, const Letters &letters)
{
    const FillLength &words = *S.slots[t].words;
    save_domain(S, t);
    uint64_t *d = domain(S, t);
    letters.each([&](uint8_t l) {
        if (const uint64_t *set = words.set(position, l))
            for (int k = 0; k < words.stride; k++)
                d[k] &= ~set[k];
    });
    set_mask(S, t, position, masks(S, t)[position].without(letters));
    enqueue(S, t);
    return recount(S, t) > 0;
}

bool drop_queue(Search &S)
{
    for (int t : S.queue)
        S.queued[t] = 0;
    S.queue.clear();
    return false;
}


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
            S.progress.letters--;
            break;
        case undo_assign:
            slot.assigned = false;
            S.progress.filled--;
            break;
        case undo_mask:
            masks(S, u.slot)[u.count] = S.saved_masks[u.value];
            S.saved_masks.resize(u.value);
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

bool meets(const uint64_t *a, const uint64_t *b, int stride)
{
    for (int k = 0; k < stride; k++)
        if (a[k] & b[k])
            return true;
    return false;
}

// The letters the words of run u's domain have at each position: by
// walking the words when they are few, else by testing each letter of the
// old sets against the domain (sets only shrink while the domain does).
void supports(Search &S, int u, Letters *out)
{
    const Slot &slot = S.slots[u];
    const FillLength &words = *slot.words;
    const uint64_t *d = domain(S, u);
    const Letters *old = masks(S, u);
    size_t tests = 0;
    for (int i = 0; i < slot.n; i++)
        tests += static_cast<size_t>(old[i].size());
    for (int i = 0; i < slot.n; i++)
        out[i] = Letters();
    if (static_cast<size_t>(slot.count) * slot.n <= tests * static_cast<size_t>(words.stride) / 2) {
        // Marks each (position, letter) seen with this walk's stamp; the
        // walk ends early once every old letter is seen again (the sets
        // are then unchanged, the usual case).
        const uint8_t *folded = words.folded.data();
        uint32_t stamp = ++S.stamp;
        if (stamp == 0) {
            std::fill(S.seen.begin(), S.seen.end(), 0);
            stamp = S.stamp = 1;
        }
        uint32_t *seen = S.seen.data();
        size_t found = 0;
        for (int k = 0; k < words.stride && found < tests; k++)
            for (uint64_t bits = d[k]; bits && found < tests; bits &= bits - 1) {
                const uint8_t *word = folded + static_cast<size_t>(k * 64 + std::countr_zero(bits)) * slot.n;
                for (int i = 0; i < slot.n; i++) {
                    uint32_t &mark = seen[i * 256 + word[i]];
                    if (mark != stamp) {
                        mark = stamp;
                        found++;
                    }
                }
            }
        if (found >= tests) {
            for (int i = 0; i < slot.n; i++)
                out[i] = old[i];
            return;
        }
        for (int i = 0; i < slot.n; i++)
            old[i].each([&](uint8_t l) {
                if (seen[i * 256 + l] == stamp)
                    out[i].add(l);
            });
        return;
    }
    for (int i = 0; i < slot.n; i++)
        old[i].each([&](uint8_t l) {
            const uint64_t *set = words.set(i, l);
            if (set && meets(d, set, words.stride))
                out[i].add(l);
        });
}

// Arc consistency over the crossings of open runs, through the letters
// of the shared cells: a run whose domain shrank finds the letters its
// words still have at each position; where a position lost letters, the
// open run crossing there drops its words with those letters. Runs from
// the queue; false at the first empty domain.
bool propagate(Search &S)
{
    while (!S.queue.empty()) {
        int u = S.queue.back();
        S.queue.pop_back();
        S.queued[u] = 0;
        if (S.slots[u].assigned)
            continue;
        Letters fresh[WORD_BUFFER];
        supports(S, u, fresh);
        const FillRun &run = S.layout.runs[u];
        for (int i = 0; i < S.slots[u].n; i++) {
            if (fresh[i] == masks(S, u)[i])
                continue;
            set_mask(S, u, i, fresh[i]);
            if (S.letters[run.cells[i]] >= 0)
                continue;
            int j, t = crossing(S, u, i, &j);
            if (t < 0 || S.slots[t].assigned)
                continue;
            Letters extra = masks(S, t)[j].without(fresh[i]);
            if (!extra.empty() && !remove_letters(S, t, j, extra))
                return drop_queue(S);
        }
    }
    return true;
}

// Writes a letter into an empty cell of run s.
void write_letter(Search &S, int cell, uint8_t letter, int s)
{
    S.letters[cell] = letter;
    S.trail.push_back(Undo{undo_cell, s, static_cast<uint32_t>(cell), 0});
    if (++S.progress.letters > S.progress.best_letters)
        S.progress.best_letters = S.progress.letters;
}

// Places word w in slot s with forward checking. False when some open run
// is left without a word (the caller undoes to its mark).
bool assign(Search &S, int s, int32_t w)
{
    Slot &slot = S.slots[s];
    S.trail.push_back(Undo{undo_assign, s, static_cast<uint32_t>(w), slot.count});
    slot.assigned = true;
    slot.word = w;
    S.progress.filled++;
    if (S.progress.filled > S.progress.best)
        S.progress.best = S.progress.filled;
    const uint8_t *word = &slot.words->folded[static_cast<size_t>(w) * slot.n];
    const FillRun &run = S.layout.runs[s];
    for (int i = 0; i < slot.n; i++) {
        int cell = run.cells[i];
        if (S.letters[cell] >= 0)
            continue;
        write_letter(S, cell, word[i], s);
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

// About 256 * log2(x) for x > 0, in integers (the same in every build).
int32_t log_score(uint32_t x)
{
    int b = 31 - std::countl_zero(x);
    uint32_t fraction = b >= 8 ? (x >> (b - 8)) & 255 : (x << (8 - b)) & 255;
    return b * 256 + static_cast<int32_t>(fraction);
}

int32_t draw_noise() { return noise * random_draw() / 32768; }

// Places the word of every open run that has only one word left, until
// none has. False when that leaves some open run without a word (or
// would use a word twice).
bool settle(Search &S)
{
    for (bool again = true; again;) {
        again = false;
        for (int s = 0; s < static_cast<int>(S.slots.size()); s++) {
            const Slot &slot = S.slots[s];
            if (slot.assigned || slot.count != 1)
                continue;
            int32_t only = -1;
            each_word(domain(S, s), slot.words->stride, [&](int32_t w) { only = w; });
            if (!assign(S, s, only))
                return false;
            again = true;
        }
    }
    return true;
}

bool all_assigned(const Search &S)
{
    for (const Slot &slot : S.slots)
        if (!slot.assigned)
            return false;
    return true;
}

// Writes `letter` into an empty cell and narrows its runs to it.
bool place_letter(Search &S, int cell, uint8_t letter)
{
    const FillCell &c = S.layout.cells[cell];
    write_letter(S, cell, letter, c.run[0] >= 0 ? c.run[0] : c.run[1]);
    for (int d = 0; d < 2; d++) {
        int t = c.run[d];
        if (t >= 0 && !S.slots[t].assigned && !narrow(S, t, c.position[d], letter))
            return drop_queue(S);
    }
    return propagate(S);
}

// The letters an empty cell may still take: those its runs' words have there.
Letters cell_letters(Search &S, int cell)
{
    const FillCell &c = S.layout.cells[cell];
    Letters allowed;
    bool first = true;
    for (int d = 0; d < 2; d++) {
        int t = c.run[d];
        if (t < 0 || S.slots[t].assigned)
            continue;
        const Letters &m = masks(S, t)[c.position[d]];
        allowed = first ? m : allowed & m;
        first = false;
    }
    return allowed;
}

// The empty cell to fill next: the one with the fewest letters left (ties:
// the fewest words left in its runs together); -1 when no cell is empty.
int choose_cell(Search &S)
{
    int best = -1, best_size = 0;
    int64_t best_words = 0;
    for (int c = 0; c < static_cast<int>(S.layout.cells.size()); c++) {
        if (S.letters[c] >= 0)
            continue;
        int size = cell_letters(S, c).size();
        int64_t words = 0;
        for (int d = 0; d < 2; d++) {
            int t = S.layout.cells[c].run[d];
            if (t >= 0 && !S.slots[t].assigned)
                words += S.slots[t].count;
        }
        if (best < 0 || size < best_size || (size == best_size && words < best_words)) {
            best = c;
            best_size = size;
            best_words = words;
        }
    }
    return best;
}

// Opens a frame for an empty cell: the letters it may take, scored by the
// log of the words each leaves its runs (a letter that leaves a run none
// is not listed) plus seeded noise. False when it may take none.
bool push_frame(Search &S, int cell)
{
    const FillCell &c = S.layout.cells[cell];
    size_t begin = S.candidates.size();
    cell_letters(S, cell).each([&](uint8_t l) {
        int32_t score = 0;
        for (int d = 0; d < 2; d++) {
            int t = c.run[d];
            if (t < 0 || S.slots[t].assigned)
                continue;
            const FillLength &words = *S.slots[t].words;
            const uint64_t *set = words.set(c.position[d], l);
            const uint64_t *dt = domain(S, t);
            uint32_t count = 0;
            for (int k = 0; set && k < words.stride; k++)
                count += static_cast<uint32_t>(bits_in(dt[k] & set[k]));
            if (count == 0)
                return;
            score += log_score(count);
        }
        S.candidates.emplace_back(score + draw_noise(), l);
    });
    if (S.candidates.size() == begin)
        return false;
    S.frames.push_back(Frame{cell, begin, begin, S.candidates.size(), S.trail.size()});
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

// The i-th term (from 1) of the sequence 1 1 2 1 1 2 4 1 1 2 1 1 2 4 8 ...:
// walk allowances in that proportion waste at most a small factor over the
// best fixed allowance, whatever it is, and grow without bound, so a
// search that has no fill ends with the proof.
uint64_t luby(uint64_t i)
{
    for (;;) {
        uint64_t k = 1;
        while ((1ull << k) - 1 < i)
            k++;
        if ((1ull << k) - 1 == i)
            return 1ull << (k - 1);
        i -= (1ull << (k - 1)) - 1;
    }
}

enum Walk { walk_found, walk_exhausted, walk_restart, walk_stopped };

// One depth-first walk from the start state, taking back at most
// `allowance` letters.
Walk walk(Search &S, uint64_t allowance)
{
    S.frames.clear();
    S.candidates.clear();
    uint64_t taken_back = 0;
    if (!settle(S))
        return walk_exhausted;
    int cell = choose_cell(S);
    if (cell < 0)
        return all_assigned(S) ? walk_found : walk_exhausted;
    if (!push_frame(S, cell))
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
        uint8_t letter = static_cast<uint8_t>(take_best(S, f));
        bool placed = place_letter(S, f.cell, letter) && settle(S);
        int next = placed ? choose_cell(S) : -1;
        if (placed && next < 0) {
            // Every cell holds a letter, so every run holds its one word.
            if (all_assigned(S))
                return walk_found;
            placed = false;
        }
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
    size_t total = 0, letter_sets = 0;
    S.progress.entries = static_cast<int32_t>(S.layout.runs.size());
    S.slots.resize(S.layout.runs.size());
    for (size_t s = 0; s < S.slots.size(); s++) {
        Slot &slot = S.slots[s];
        slot.n = static_cast<int>(S.layout.runs[s].cells.size());
        slot.words = slot.n < WORD_BUFFER && words.lengths[slot.n].count ? &words.lengths[slot.n] : nullptr;
        slot.domain = total;
        slot.masks = letter_sets;
        letter_sets += static_cast<size_t>(slot.n);
        slot.assigned = false;
        slot.word = -1;
        total += stride(S, static_cast<int>(s));
    }
    S.pool.assign(total, 0);
    S.masks.assign(letter_sets, Letters());
    S.seen.assign(static_cast<size_t>(WORD_BUFFER) * 256, 0);
    S.queued.assign(S.slots.size(), 0);
    S.letters.resize(S.layout.cells.size());
    for (size_t c = 0; c < S.layout.cells.size(); c++) {
        S.letters[c] = S.layout.cells[c].letter;
        S.progress.cells += S.letters[c] < 0;
    }
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
        for (int i = 0; i < slot.n; i++)
            for (uint8_t l : slot.words->letters[i])
                masks(S, s)[i].add(l);
        enqueue(S, s);
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
    S.saved_masks.clear();
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
    for (uint64_t walks = 1;; walks++) {
        Walk w = walk(S, walk_unit * luby(walks));
        if (w == walk_restart) {
            undo_to(S, 0);
            S.progress.restarts++;
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
