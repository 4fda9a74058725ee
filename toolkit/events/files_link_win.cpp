// Connects the file layer to the task: loading by type raises the -4
// event, deferred loads wait for service call 0x10007, and dropped files
// take their type from the file-type tables.
#include "toolkit/events/internal_win.h"
#include "toolkit/events/registry.h"
#include "toolkit/files/dialogs.h"
#include "toolkit/files/filetypes.h"
#include "toolkit/memory/memory.h"

int (*event_file_type)(const char *path) = filetype_of_name;

namespace {

typedef const error_block *(*files_service)(void *value);

// One registered service handler of the file layer.
struct service_node {
    service_node *next;
    int code;
    files_service handler;
    void *value;
};
service_node *nodes = nullptr;

// The node may be freed by the handler it calls (a handler that removes
// itself): nothing is read from it afterwards.
const error_block *trampoline(int, void *datum, intptr_t, intptr_t)
{
    auto *node = static_cast<service_node *>(datum);
    files_service handler = node->handler;
    return handler(node->value);
}

const error_block *add_service(int code, files_service handler, void *value)
{
    void *block = nullptr;
    if (const error_block *e = heap_new(&block, sizeof(service_node)))
        return e;
    auto *node = static_cast<service_node *>(block);
    *node = service_node{nodes, code, handler, value};
    if (const error_block *e = register_service(trampoline, code, node)) {
        heap_dispose(&block);
        return e;
    }
    nodes = node;
    return nullptr;
}

void remove_service(int code, files_service handler, void *value)
{
    for (service_node **p = &nodes; *p; p = &(*p)->next) {
        service_node *node = *p;
        if (node->code == code && node->handler == handler && node->value == value) {
            deregister_service(trampoline, code, node);
            *p = node->next;
            void *block = node;
            heap_dispose(&block);
            return;
        }
    }
}

}  // namespace

void events_link_files()
{
    fs_events = fs_event_hooks{task_polling, raise_load, add_service, remove_service};
}
