// Files dropped on a window: each file is offered (-8); when accepted
// without error it is handed over (-6) and, when that succeeds, the
// window hears that a drop was taken (-7).
#include <windows.h>
#include <shellapi.h>

#include "toolkit/events/internal_win.h"
#include "toolkit/events/registry.h"

namespace {

const error_block *first_of(int kind, HWND w, const char *path, int type, mouse_block *at, int *accept,
                            bool *found)
{
    const error_block *error = nullptr;
    *found = registry_walk(kind, w, false, [&](const handler_entry &e) {
        void *value = reinterpret_cast<void *>(e.value);
        if (kind == EV_DROP_OFFER)
            error = reinterpret_cast<offer_handler>(e.handler)(path, type, at, value, accept);
        else if (kind == EV_DROP)
            error = reinterpret_cast<drop_handler>(e.handler)(path, type, value, 0);
        else
            error = reinterpret_cast<idle_handler>(e.handler)(value);
        return true;
    });
    return error;
}

void drop_one(HWND w, const char *path, POINT at)
{
    DWORD attributes = GetFileAttributesA(path);
    int type = event_file_type(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        type += 0x1000;
    mouse_block m;
    ClientToScreen(w, &at);
    mouse_block_at(w, at, &m);
    int accept = 0;
    bool found;
    const error_block *e = first_of(EV_DROP_OFFER, w, path, type, &m, &accept, &found);
    if (e || !accept) {
        report_handler_error(e);
        return;
    }
    e = first_of(EV_DROP, w, path, type, &m, &accept, &found);
    if (e) {
        report_handler_error(e);
        return;
    }
    report_handler_error(first_of(EV_DROPPED, w, path, type, &m, &accept, &found));
}

}  // namespace

void drop_files(HWND window, HDROP drop)
{
    POINT at = {0, 0};
    DragQueryPoint(drop, &at);
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; i++) {
        char path[MAX_PATH];
        if (DragQueryFileA(drop, i, path, sizeof path))
            drop_one(window, path, at);
    }
    DragFinish(drop);
}
