// The confirm window. It runs the task's own poll, one message at a time,
// until a click, a key or a close request gives the answer; the owner is
// disabled meanwhile. Only one can be open: a second request answers -1.
#include "toolkit/messages/confirm.h"

#include <windows.h>
#include <cstdarg>

#include "toolkit/events/events.h"
#include "toolkit/events/window.h"
#include "toolkit/messages/log.h"
#include "toolkit/messages/messages.h"
#include "toolkit/messages/report.h"
#include "toolkit/text/cp1252.h"

namespace {

// Icons of the Confirm template.
enum { NO = 0, DISCARD = 3, CANCEL1 = 4, CANCEL2 = 5, SAVE = 6, YES = 11, TEXT = 12 };

HWND open_window = nullptr;
int kind_open = 0;
bool answered = false;
int answer = 0;

void set_answer(int value)
{
    answer = value;
    answered = true;
}

const error_block *on_click(HWND, void *, mouse_block *mouse)
{
    switch (mouse->icon) {
    case NO: set_answer(0); break;
    case YES: case SAVE: set_answer(1); break;
    case DISCARD: set_answer(kind_open == 1 ? 1 : 0); break;
    case CANCEL1: case CANCEL2: set_answer(-1); break;
    }
    return nullptr;
}

int answer_for_key(int key)
{
    if (key == 27)
        return -1;
    if (key < 0 || key > 255)
        return 2;
    int c = cp_upper((unsigned char)key);
    switch (kind_open) {
    case 0: return c == 'Y' || c == 13 ? 1 : c == 'N' ? 0 : 2;
    case 1: return c == 'D' ? 1 : c == 'C' ? -1 : 2;
    default: return c == 'S' || c == 13 ? 1 : c == 'D' ? 0 : c == 'C' ? -1 : 2;
    }
}

const error_block *on_key(HWND, void *, int, int *key)
{
    int value = answer_for_key(*key);
    if (value != 2) {
        set_answer(value);
        *key = -1;
    }
    return nullptr;
}

const error_block *on_close(HWND, void *)
{
    set_answer(-1);
    return nullptr;
}

// Tests and scripted runs answer through the message-box hook, in its
// numbering (3 Yes, 4 No, 2 OK, 1 Cancel).
int hook_answer(int kind, const char *text)
{
    static const int buttons[] = {2, 1, 3};
    int a = message_box_answer(3, buttons[kind], text);
    if (kind == 0)
        return a == 3 ? 1 : a == 4 ? 0 : -1;
    if (kind == 1)
        return a == 2 ? 1 : -1;
    return a == 3 ? 1 : a == 4 ? 0 : -1;
}

void keep_icons(HWND w, int kind)
{
    static const int drop[3][4] = {{3, 4, 5, 6}, {0, 11, 5, 6}, {0, 11, 4, -1}};
    for (int icon : drop[kind])
        if (icon >= 0)
            icon_delete(w, icon);
}

const error_block *ask(HWND owner, int kind, const char *text, int *result)
{
    HWND w;
    if (const error_block *e = window_create(1, task_title(), owner, &w))
        return e;
    icon_set_text(w, TEXT, text);
    keep_icons(w, kind);
    open_window = w;
    kind_open = kind;
    answered = false;
    register_key(on_key, w, nullptr);
    register_click(on_click, w, nullptr);
    register_close(on_close, w, nullptr);
    event_register(EV_HELP, 0, w, 1, nullptr);
    if (owner)
        EnableWindow(owner, FALSE);
    const error_block *e = window_open_centred(w);
    // The owner is disabled: the confirm window takes the keyboard.
    if (!e)
        SetForegroundWindow(w);
    while (!e && !answered)
        poll_once();
    if (owner)
        EnableWindow(owner, TRUE);
    deregister_key(on_key, w, nullptr);
    deregister_click(on_click, w, nullptr);
    deregister_close(on_close, w, nullptr);
    event_deregister(EV_HELP, 0, w, 1, nullptr);
    window_delete(w);
    open_window = nullptr;
    *result = e ? -1 : answer;
    return e;
}

}  // namespace

void *confirm_window() { return open_window; }

const error_block *confirm(void *owner, int kind, int *result, const char *template_text, ...)
{
    static bool busy = false;
    if (busy) {
        *result = -1;
        return nullptr;
    }
    char text[256];
    va_list args;
    va_start(args, template_text);
    format_box_text(text, sizeof text, template_text, args);
    va_end(args);
    int force = (kind & CONFIRM_FORCE) ? 1 : 0;
    kind &= 0x7FFFFFFF;
    if (kind > 2)
        kind = 0;
    debug_log("force %d doconfirm %d", force, doconfirm);
    if (!doconfirm && !force) {
        *result = kind == 2 ? 0 : 1;
        return nullptr;
    }
    if (message_box_answer) {
        *result = hook_answer(kind, text);
        return nullptr;
    }
    busy = true;
    const error_block *e = ask(static_cast<HWND>(owner), kind, text, result);
    busy = false;
    return e;
}
