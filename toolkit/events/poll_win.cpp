// One poll and the endless loop: takes one platform message, offers it to
// the filters, lets dialog navigation and the key event see it, and
// dispatches it. Null handlers make the poll return at once; the pre- and
// post-poll rounds run around every wait.
#include <windows.h>
#include <cstdlib>

#include "toolkit/events/internal_win.h"
#include "toolkit/events/registry.h"
#include "toolkit/messages/report.h"

int task_wide = 0;
void (*task_exit)(int status) = exit;
bool suppress_key_event = false;

namespace {

int polling = 0;
int depth = 0;

void idle_round(int kind)
{
    registry_walk(kind, nullptr, true, [](const handler_entry &e) {
        report_handler_error(reinterpret_cast<idle_handler>(e.handler)(e.window));
        return false;
    });
}

// The rounds run at the caller's depth; the wait between them runs one
// level lower, so a handler sees a depth above 0 only while it runs inside
// an event.
void poll_round(int kind)
{
    if (kind == EV_POSTPOLL)
        depth++;
    idle_round(kind);
    if (kind == EV_PREPOLL)
        depth--;
}

HWND owning_task_window(HWND window)
{
    for (HWND w = window; w; w = GetParent(w))
        if (is_task_window(w))
            return w;
    return nullptr;
}

bool takes_navigation(HWND owner)
{
    if (!owner || GetMenu(owner))
        return false;
    wdata *d = window_data(owner);
    return !(d && (d->flags & WF_NONAV));
}

BOOL navigate(HWND owner, MSG *m)
{
    return task_wide ? IsDialogMessageW(owner, m) : IsDialogMessageA(owner, m);
}

void translate_dispatch(MSG *m)
{
    TranslateMessage(m);
    if (task_wide)
        DispatchMessageW(m);
    else
        DispatchMessageA(m);
}

void dispatch(MSG *m)
{
    platform_message pm{m->hwnd, m->message, m->wParam, m->lParam, 0};
    if (raise_filters(EV_MSG_BEFORE, EV_WIN_BEFORE, EV_ALL_BEFORE, &pm))
        return;
    HWND owner = owning_task_window(m->hwnd);
    bool nav = takes_navigation(owner);
    if (m->message == WM_KEYDOWN || m->message == WM_SYSKEYDOWN) {
        if (m->hwnd && is_task_window(m->hwnd)) {
            int key = key_code_for(m->wParam);
            if (raise_key(m->hwnd, caret_icon_in(m->hwnd), &key))
                return;
        }
        suppress_key_event = true;
        if (!(nav && navigate(owner, m)))
            translate_dispatch(m);
        suppress_key_event = false;
        return;
    }
    if (nav && navigate(owner, m))
        return;
    translate_dispatch(m);
}

void quit(int code)
{
    (void)code;
    user_message quit_message = {};
    quit_message.size = sizeof quit_message;
    quit_message.action = MESSAGE_QUIT;
    send_message(&quit_message);
    task_exit(0);
}

}  // namespace

int task_polling() { return polling; }
int poll_depth() { return depth; }

void poll_once()
{
    MSG m;
    if (null_handler_count > 0) {
        poll_round(EV_PREPOLL);
        BOOL got = task_wide ? PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE) : PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);
        poll_round(EV_POSTPOLL);
        if (!got) {
            monotonic_time();
            idle_round(EV_NULL);
        } else if (m.message == WM_QUIT) {
            quit((int)m.wParam);
        } else {
            dispatch(&m);
        }
        return;
    }
    poll_round(EV_PREPOLL);
    BOOL got = task_wide ? GetMessageW(&m, nullptr, 0, 0) : GetMessageA(&m, nullptr, 0, 0);
    if (got == -1) {
        const error_block *e = win_error("GetMessage");
        poll_round(EV_POSTPOLL);
        report_error(e);
        return;
    }
    poll_round(EV_POSTPOLL);
    if (got == 0)
        quit((int)m.wParam);
    else
        dispatch(&m);
}

void poll_loop()
{
    polling = 1;
    report_error(service_call(0x10007, 0, 0));
    for (;;)
        poll_once();
}

void task_quit(int exit_code) { PostQuitMessage(exit_code); }

const error_block *service_call(int code, intptr_t a, intptr_t b)
{
    const error_block *error = nullptr;
    registry_walk(EV_SERVICE, nullptr, true, [&](const handler_entry &e) {
        if (e.code != code)
            return false;
        error = reinterpret_cast<service_handler>(e.handler)(code, e.window, a, b);
        return error != nullptr;
    });
    return error;
}

int send_message(user_message *message)
{
    int claimed = 0;
    raise_user_message(message, &claimed);
    return claimed ? 0 : 1;
}

void raise_user_message(user_message *message, int *claimed)
{
    registry_walk(EV_USER, nullptr, true, [&](const handler_entry &e) {
        if (e.code == message->action)
            report_handler_error(reinterpret_cast<user_handler>(e.handler)(message, claimed));
        return false;
    });
}

void poll_depth_enter() { depth++; }
void poll_depth_leave() { depth--; }
