// The handler registry inside the toolkit: entries, the walk with its
// iterator, and the counters that other parts of the task read.
#pragma once
#include <cstdint>

#include "toolkit/events/events.h"

struct handler_entry {
    int32_t kind;        // event kind
    int32_t code;        // message number, action code, key code; 0 when none
    void *window;        // window handle, or the datum of kinds without one
    intptr_t value;      // handler data; the deadline for timed callbacks
    any_handler handler;
};

// A walk in progress; removals adjust every active iterator.
struct registry_iterator {
    int index;                  // position of the entry being visited
    registry_iterator *next;    // list of active iterators
};

void registry_clear();
int registry_count();
// Copies entry `index` out (the block may move while a handler runs).
handler_entry registry_entry(int index);
void registry_begin(registry_iterator *it);
void registry_end(registry_iterator *it);
// Sets the deadline of an existing entry (timed callbacks).
void registry_set_value(int index, intptr_t value);
int registry_find(int kind, int code, void *window, intptr_t value, any_handler handler);
int registry_find_handler(int kind, void *window, any_handler handler);

extern int null_handler_count;

// Visits the entries of one kind (and window, unless `window` is null and
// `any_window` is set) in registration order; the visitor returns true to
// stop. Safe against registration and removal during the visit.
template <class Visit>
bool registry_walk(int kind, void *window, bool any_window, Visit visit)
{
    registry_iterator it;
    registry_begin(&it);
    bool stopped = false;
    for (it.index = 0; it.index < registry_count(); it.index++) {
        handler_entry e = registry_entry(it.index);
        if (e.kind != kind || (!any_window && e.window != window))
            continue;
        if (visit(e)) {
            stopped = true;
            break;
        }
    }
    registry_end(&it);
    return stopped;
}

// Reports a handler's error and carries on.
void report_handler_error(const error_block *error);

// Platform side of the kinds that hold platform resources.
void hotkey_platform(HWND window, int id, int key_code, bool on);
void mouse_hook_platform(bool on);
void subclass_platform(HWND control, bool on);
