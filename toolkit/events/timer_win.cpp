// Timed callbacks on one platform timer, and the busy pointer.
//
// Deadlines are centiseconds in the -15 entries' value field. After every
// change and whenever the timer fires, the entries are walked: due ones
// (deadline - now below 1) are removed and called, but only when the
// timer fired; the timer is then set for the earliest remaining deadline.
#include <windows.h>
#include <vector>

#include "toolkit/events/internal_win.h"
#include "toolkit/events/registry.h"
#include "toolkit/messages/log.h"

namespace {

UINT_PTR timer = 0;
int busy = 0;
bool help_mode = false;
HCURSOR wait_pointer, help_pointer, arrow_pointer;

void CALLBACK timer_fired(HWND, UINT, UINT_PTR, DWORD) { raise_timers(true); }

void call_due(int now)
{
    std::vector<handler_entry> due;
    for (int i = 0; i < registry_count(); i++) {
        handler_entry e = registry_entry(i);
        if (e.kind == EV_CALLBACK && (int)((unsigned)e.value - (unsigned)now) < 1)
            due.push_back(e);
    }
    for (const handler_entry &e : due) {
        if (registry_find(e.kind, e.code, e.window, e.value, e.handler) < 0)
            continue;   // removed by an earlier callback
        event_deregister(e.kind, e.code, e.window, e.value, e.handler);
        report_handler_error(reinterpret_cast<idle_handler>(e.handler)(e.window));
    }
}

}  // namespace

int monotonic_time() { return (int)(GetTickCount64() / 10); }

void raise_timers(bool fired)
{
    if (fired)
        call_due(monotonic_time());
    int now = monotonic_time();
    bool pending = false;
    int earliest = 0;
    for (int i = 0; i < registry_count(); i++) {
        handler_entry e = registry_entry(i);
        if (e.kind != EV_CALLBACK)
            continue;
        int left = (int)((unsigned)e.value - (unsigned)now);
        if (!pending || left < earliest)
            earliest = left;
        pending = true;
    }
    if (timer)
        KillTimer(nullptr, timer);
    timer = 0;
    if (pending)
        timer = SetTimer(nullptr, 0, earliest > 0 ? earliest * 10 : 1, timer_fired);
}

const error_block *call_after(idle_handler h, void *value, int delay)
{
    int deadline = monotonic_time() + delay;
    int i = registry_find_handler(EV_CALLBACK, value, reinterpret_cast<any_handler>(h));
    if (i >= 0) {
        registry_set_value(i, deadline);
    } else if (const error_block *e =
                   event_register(EV_CALLBACK, 0, value, deadline, reinterpret_cast<any_handler>(h))) {
        return e;
    }
    raise_timers(false);
    return nullptr;
}

void remove_call_after(idle_handler h, void *value)
{
    int i = registry_find_handler(EV_CALLBACK, value, reinterpret_cast<any_handler>(h));
    if (i >= 0) {
        handler_entry e = registry_entry(i);
        event_deregister(e.kind, e.code, e.window, e.value, e.handler);
    } else {
        debug_log("remblock missed type %d message %d", EV_CALLBACK, 0);
    }
    raise_timers(false);
}

void hourglass_load_pointers()
{
    wait_pointer = LoadCursor(nullptr, IDC_WAIT);
    help_pointer = LoadCursor(nullptr, IDC_HELP);
    arrow_pointer = LoadCursor(nullptr, IDC_ARROW);
}

void hourglass_on()
{
    debug_log("hourglass++ %d", busy);
    busy++;
    SetCursor(help_mode ? help_pointer : wait_pointer);
}

void hourglass_off()
{
    debug_log("hourglass-- %d", busy);
    if (busy > 0)
        busy--;
    if (busy == 0)
        SetCursor(arrow_pointer);
}

int hourglass_count() { return busy; }

void help_pointer_mode(int on)
{
    help_mode = on != 0;
    if (help_mode)
        SetCursor(help_pointer);
}

bool hourglass_set_cursor()
{
    if (busy <= 0)
        return false;
    SetCursor(help_mode ? help_pointer : wait_pointer);
    debug_log("forcing hour");
    return true;
}

int escape_held() { return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0; }
