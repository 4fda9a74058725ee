// The five long searches and the button bars.
//
// The job pattern: a button's starter checks the preconditions, prepares
// the list and schedules the job 10 centiseconds later, so the click
// returns and the window repaints first. The job swaps in the Stop bar,
// registers an idle handler (every poll then returns at once), runs the
// search, which polls between units of work and ends on the stop flag, and
// then brings back the normal bar for the grid type of that moment.
#include <windows.h>
#include <cstdio>
#include <cstring>

#include "app/dictionary/anagram.h"
#include "app/dictionary/dictionary_set.h"
#include "app/dictionary/search.h"
#include "app/grid/app_errors.h"
#include "app/grid/grid.h"
#include "app/grid/parts.h"
#include "app/grid/result_list.h"
#include "app/shell/shell.h"
#include "app/wordsquare/maker.h"
#include "app/grid/history.h"
#include "app/wordsquare/solver.h"
#include "toolkit/events/events.h"
#include "toolkit/events/window.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/log.h"

char anagram_text[32];

namespace {

enum job_kind : intptr_t { JOB_SOLVE = 1, JOB_ANAGRAM, JOB_WORDSQUARE_SOLVE, JOB_NEW, JOB_MAKE };

char saved_anagram_text[32];
int saved_caret_control = -1;
int next_count_shown = -1;
int count_step = 10;
int running = 0;
int ended = 0;

const error_block *idle(void *) { return nullptr; }

bool wordsquare_job(intptr_t kind) { return kind >= JOB_WORDSQUARE_SOLVE; }

const error_block *run_job(void *value)
{
    intptr_t kind = reinterpret_cast<intptr_t>(value);
    running = 1;
    swap_button_bar(1);
    register_null(idle, nullptr);
    if (wordsquare_job(kind))
        hourglass_on();
    // The whole search is one Undo step (a Make or New fill); while it
    // runs, Undo and Redo are refused.
    history_begin();
    switch (kind) {
    case JOB_SOLVE: solve_parts(0); break;
    case JOB_ANAGRAM: find_anagrams(anagram_text); break;
    case JOB_WORDSQUARE_SOLVE: solve_wordsquare_run(); break;
    case JOB_NEW: make_from_dictionary_run(); break;
    case JOB_MAKE: make_from_list_run(); break;
    }
    history_end();
    if (wordsquare_job(kind))
        hourglass_off();
    deregister_null(idle, nullptr);
    running = 0;
    ended++;
    swap_button_bar(0);
    pane_refresh();
    debug_log("job %d ended with %d", (int)kind, (int)grid.word_count);
    return nullptr;
}

const error_block *schedule(job_kind kind)
{
    const error_block *e = call_after(run_job, reinterpret_cast<void *>(kind), 10);
    pane_refresh();
    return e;
}

// The crossword searches' common start: a dictionary, a marked area, the
// list emptied and the area divided into parts.
const error_block *prepare_parts()
{
    if (const error_block *e = ensure_dictionary())
        return e;
    recompute_marked_area();
    if (!grid_has_mark())
        return make_error0(ENMW);
    list_clear();
    divide_marked_area();
    pane_layout_for_parts();
    return nullptr;
}

}  // namespace

int job_running() { return running; }
int jobs_ended() { return ended; }

const error_block *create_button_bar(int solving)
{
    int number = solving ? TEMPLATE_BUTTONS1 : grid.grid_type == 1 ? TEMPLATE_BUTTONS2 : TEMPLATE_BUTTONS;
    const error_block *e = window_create(number, nullptr, main_window, &button_bar);
    if (!e)
        e = register_click(bar_click, button_bar, nullptr);
    if (!e)
        e = register_key(bar_key, button_bar, nullptr);
    if (!e && !solving && grid.grid_type == 0 && grid_has_mark()) {
        char text[16];
        snprintf(text, sizeof text, "%d", marked_length());
        icon_set_text(button_bar, BAR_MARKED_LENGTH, text);
    }
    return e;
}

const error_block *swap_button_bar(int solving)
{
    debug_log("buttons solve");
    if (!main_window)
        return nullptr;
    if (solving) {
        saved_anagram_text[0] = 0;
        if (GetDlgItem(button_bar, BAR_ANAGRAM_TEXT))
            icon_get_text(button_bar, BAR_ANAGRAM_TEXT, saved_anagram_text, sizeof saved_anagram_text);
        caret_block caret;
        caret_get(&caret);
        saved_caret_control = caret.window == button_bar && button_bar ? caret.icon : -1;
    }
    bool had_focus = button_bar && (GetFocus() == button_bar || IsChild(button_bar, GetFocus()));
    if (button_bar) {
        deregister_click(bar_click, button_bar, nullptr);
        deregister_key(bar_key, button_bar, nullptr);
        HWND old = button_bar;
        button_bar = nullptr;
        window_delete(old);
    }
    clear_stop();
    const error_block *e = create_button_bar(solving);
    if (e)
        return e;
    if (!solving) {
        if (GetDlgItem(button_bar, BAR_ANAGRAM_TEXT))
            icon_set_text(button_bar, BAR_ANAGRAM_TEXT, saved_anagram_text);
        if (saved_caret_control != -1 && GetDlgItem(button_bar, saved_caret_control)) {
            char text[64] = "";
            icon_get_text(button_bar, saved_caret_control, text, sizeof text);
            int end = (int)strlen(text);
            caret_set(button_bar, saved_caret_control, end, end);
        } else if (had_focus) {
            SetFocus(grid_pane);
        }
    } else if (had_focus) {
        caret_set(button_bar, BAR_STOP, 0, 0);
    }
    layout_now();
    return nullptr;
}

void show_progress(int count)
{
    if (count == 0) {
        next_count_shown = -1;
        count_step = 10;
    }
    if (count <= next_count_shown)
        return;
    if (button_bar && GetDlgItem(button_bar, BAR_COUNT)) {
        char text[16];
        snprintf(text, sizeof text, "%d", count);
        icon_set_text(button_bar, BAR_COUNT, text);
    }
    next_count_shown += count_step;
    if (next_count_shown > 1000)
        count_step = 1000;
    else if (next_count_shown > 100)
        count_step = 100;
}

const error_block *start_solve()
{
    if (const error_block *e = prepare_parts())
        return e;
    if (part_count == 0) {
        pane_refresh();
        return make_error0(ENTS);
    }
    return schedule(JOB_SOLVE);
}

const error_block *start_anagram()
{
    if (const error_block *e = prepare_parts())
        return e;
    const error_block *e = nullptr;
    if (part_count != 1) {
        e = make_error0(EASW);
    } else {
        anagram_text[0] = 0;
        if (button_bar && GetDlgItem(button_bar, BAR_ANAGRAM_TEXT))
            icon_get_text(button_bar, BAR_ANAGRAM_TEXT, anagram_text, sizeof anagram_text);
        char word[max_parts + 2];
        read_part(0, word);
        int length = (int)strlen(anagram_text), n = parts[0].length;
        if (length == 0) {
            if (memchr(word, ' ', n))
                e = make_error0(EASP);
            else
                snprintf(anagram_text, sizeof anagram_text, "%s", word);
        } else if (length != n) {
            e = make_error0(EAMAT);
        }
    }
    if (e) {
        pane_refresh();
        return e;
    }
    return schedule(JOB_ANAGRAM);
}

const error_block *start_wordsquare_solve()
{
    if (const error_block *e = solve_wordsquare_start())
        return e;
    pane_layout_one_column();
    return schedule(JOB_WORDSQUARE_SOLVE);
}

const error_block *start_wordsquare_new()
{
    if (const error_block *e = make_from_dictionary_start())
        return e;
    pane_layout_one_column();
    return schedule(JOB_NEW);
}

const error_block *start_wordsquare_make()
{
    make_from_list_start();
    return schedule(JOB_MAKE);
}
