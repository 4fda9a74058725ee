// The information window, from template 3 "Info": version, date and
// program name; Escape or a close request takes it down.
#include <windows.h>
#include <cstdio>

#include "toolkit/events/internal_win.h"
#include "toolkit/messages/messages.h"

namespace {

HWND info = nullptr;

const error_block *info_click(HWND, void *, mouse_block *) { return nullptr; }
const error_block *info_close(HWND w, void *);

const error_block *info_key(HWND w, void *, int, int *key)
{
    if (*key != 27)
        return nullptr;
    *key = -1;
    return info_close(w, nullptr);
}

const error_block *info_close(HWND w, void *)
{
    deregister_click(info_click, w, nullptr);
    deregister_close(info_close, w, nullptr);
    deregister_key(info_key, w, nullptr);
    event_deregister(EV_HELP, 0, w, 3, nullptr);
    info = nullptr;
    return window_delete(w);
}

void front(HWND w)
{
    SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(w);
}

}  // namespace

HWND info_window_handle() { return info; }

const error_block *info_window(HWND owner, int version, const char *date, const char *program)
{
    if (info) {
        front(info);
        return nullptr;
    }
    HWND w;
    if (const error_block *e = window_create(3, "{ABOUT}", owner, &w))
        return e;
    char text[256];
    snprintf(text, sizeof text, "%d.%02d %s", version / 100, version % 100, date ? date : "");
    icon_set_text(w, 1013, text);
    xzstrncpy(text, program ? program : "{NAME}", sizeof text);
    expand_tokens(text, sizeof text);
    icon_set_text(w, 1012, text);
    const error_block *e = register_click(info_click, w, nullptr);
    if (!e)
        e = register_close(info_close, w, nullptr);
    if (!e)
        e = register_key(info_key, w, nullptr);
    if (!e)
        e = event_register(EV_HELP, 0, w, 3, nullptr);
    if (!e)
        e = window_open_centred(w);
    if (e) {
        info_close(w, nullptr);
        return e;
    }
    info = w;
    front(w);
    return nullptr;
}
