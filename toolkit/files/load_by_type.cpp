// Loading a file by its type, and the load deferred until the poll loop
// runs (a file named at start-up, before any handler could take it).
#include <cstring>

#include "toolkit/files/dialogs.h"
#include "toolkit/files/filetypes.h"
#include "toolkit/files/paths.h"
#include "toolkit/memory/memory.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/log.h"

fs_event_hooks fs_events = {nullptr, nullptr, nullptr, nullptr};

namespace {

struct deferred_load {
    int type;
    char path[FS_PATH_MAX];
};

const error_block *raise(const char *path, int type, void *argument)
{
    if (!fs_events.raise_load)
        return make_error_text(31, "No handler loads this file: %.200s", path);
    return fs_events.raise_load(path, type, argument);
}

}  // namespace

const error_block *fs_load_by_type(const char *path, void *argument)
{
    int type = filetype_of_name(path);
    bool polling = fs_events.task_polling && fs_events.task_polling();
    if (argument || polling)
        return raise(path, type, argument);
    if (strlen(path) >= FS_PATH_MAX)
        return make_error_text(30, "Path too long (over %d bytes): %.160s...", FS_PATH_MAX - 1, path);
    if (!fs_events.add_service)
        return make_error_text(20, "No event loop to load %.200s", path);
    void *block = nullptr;
    const error_block *e = heap_new(&block, sizeof(deferred_load));
    if (e)
        return e;
    deferred_load *d = static_cast<deferred_load *>(block);
    d->type = type;
    strcpy(d->path, path);
    e = fs_events.add_service(SERVICE_TASK_POLLING, fs_deferred_load_service, block);
    if (e)
        heap_dispose(&block);
    else
        debug_log("load deferred %s", path);
    return e;
}

const error_block *fs_deferred_load_service(void *value)
{
    if (fs_events.remove_service)
        fs_events.remove_service(SERVICE_TASK_POLLING, fs_deferred_load_service, value);
    deferred_load *d = static_cast<deferred_load *>(value);
    const error_block *e = raise(d->path, d->type, nullptr);
    heap_dispose(&value);
    return e;
}
