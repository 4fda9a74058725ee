// The handler registry: one flex block of five-field entries in
// registration order, grown in 1280-byte chunks, and the list of active
// iterators that removal keeps valid.
//
// Invariants: no two entries are equal in all five fields; every active
// iterator's index names the entry it visits now (or one before the next
// entry to visit after a removal at or before it).
#include "toolkit/events/registry.h"

#include <cstring>

#include "toolkit/memory/memory.h"
#include "toolkit/messages/log.h"
#include "toolkit/messages/report.h"

namespace {

const int kChunk = 1280;
void *block = nullptr;              // anchor of the entries
int count = 0;
registry_iterator *iterators = nullptr;

handler_entry *entries() { return flex_ptr<handler_entry>(block); }

bool equal(const handler_entry &e, int kind, int code, void *window, intptr_t value, any_handler h)
{
    return e.kind == kind && e.code == code && e.window == window && e.value == value && e.handler == h;
}

void remove_at(int index)
{
    memmove(entries() + index, entries() + index + 1, (count - index - 1) * sizeof(handler_entry));
    count--;
    for (registry_iterator *it = iterators; it; it = it->next)
        if (it->index >= index)
            it->index--;
    flex_ensure(&block, count * (int)sizeof(handler_entry), kChunk);
}

// Kinds whose first entry or last entry switches a platform facility.
void platform_on_add(const handler_entry &e)
{
    if (e.kind == EV_NULL)
        null_handler_count++;
    else if (e.kind == EV_HOTKEY)
        hotkey_platform(static_cast<HWND>(e.window), (int)e.value, e.code, true);
    else if (e.kind == EV_MOUSE_HOOK && event_count(EV_MOUSE_HOOK) == 1)
        mouse_hook_platform(true);
    else if (e.kind == EV_SUBCLASS)
        subclass_platform(static_cast<HWND>(e.window), true);
}

// Entries for one window and id share the platform's hot key of that id:
// removing one must leave the others' keys registered.
void hotkey_removed(const handler_entry &gone)
{
    HWND window = static_cast<HWND>(gone.window);
    hotkey_platform(window, (int)gone.value, gone.code, false);
    for (int i = 0; i < count; i++) {
        const handler_entry &e = entries()[i];
        if (e.kind == EV_HOTKEY && e.window == gone.window && e.value == gone.value)
            hotkey_platform(window, (int)e.value, e.code, true);
    }
}

void platform_on_remove(const handler_entry &e)
{
    if (e.kind == EV_NULL)
        null_handler_count--;
    else if (e.kind == EV_HOTKEY)
        hotkey_removed(e);
    else if (e.kind == EV_MOUSE_HOOK && event_count(EV_MOUSE_HOOK) == 0)
        mouse_hook_platform(false);
    else if (e.kind == EV_SUBCLASS)
        subclass_platform(static_cast<HWND>(e.window), false);
}

}  // namespace

int null_handler_count = 0;

void registry_clear()
{
    flex_dispose(&block);
    count = 0;
    null_handler_count = 0;
}

int registry_count() { return count; }

handler_entry registry_entry(int index) { return entries()[index]; }

void registry_set_value(int index, intptr_t value) { entries()[index].value = value; }

void registry_begin(registry_iterator *it)
{
    it->index = 0;
    it->next = iterators;
    iterators = it;
}

void registry_end(registry_iterator *it)
{
    for (registry_iterator **p = &iterators; *p; p = &(*p)->next)
        if (*p == it) {
            *p = it->next;
            return;
        }
}

int registry_find(int kind, int code, void *window, intptr_t value, any_handler handler)
{
    for (int i = 0; i < count; i++)
        if (equal(entries()[i], kind, code, window, value, handler))
            return i;
    return -1;
}

int registry_find_handler(int kind, void *window, any_handler handler)
{
    for (int i = 0; i < count; i++)
        if (entries()[i].kind == kind && entries()[i].window == window && entries()[i].handler == handler)
            return i;
    return -1;
}

const error_block *event_register(int kind, int code, void *window, intptr_t value, any_handler handler)
{
    if (registry_find(kind, code, window, value, handler) >= 0)
        return nullptr;
    if (const error_block *e = flex_ensure(&block, (count + 1) * (int)sizeof(handler_entry), kChunk))
        return e;
    handler_entry &e = entries()[count++];
    e = handler_entry{kind, code, window, value, handler};
    platform_on_add(e);
    return nullptr;
}

void event_deregister(int kind, int code, void *window, intptr_t value, any_handler handler)
{
    int i = registry_find(kind, code, window, value, handler);
    if (i < 0) {
        debug_log("remblock missed type %d message %d", kind, code);
        return;
    }
    handler_entry gone = entries()[i];
    remove_at(i);
    platform_on_remove(gone);
}

int event_count(int kind)
{
    int n = 0;
    for (int i = 0; i < count; i++)
        n += entries()[i].kind == kind;
    return n;
}

void report_handler_error(const error_block *error) { report_error(error); }

// The kinds without a window keep their datum in the window field.
#define DATUM_KIND(name, kind)                                                            \
    const error_block *register_##name(idle_handler h, void *value)                       \
    { return event_register(kind, 0, value, 0, reinterpret_cast<any_handler>(h)); }       \
    void deregister_##name(idle_handler h, void *value)                                   \
    { event_deregister(kind, 0, value, 0, reinterpret_cast<any_handler>(h)); }
DATUM_KIND(null, EV_NULL)
DATUM_KIND(prepoll, EV_PREPOLL)
DATUM_KIND(postpoll, EV_POSTPOLL)
#undef DATUM_KIND

const error_block *register_user_message(user_handler h, int action)
{
    return event_register(EV_USER, action, nullptr, 0, reinterpret_cast<any_handler>(h));
}

void deregister_user_message(user_handler h, int action)
{
    event_deregister(EV_USER, action, nullptr, 0, reinterpret_cast<any_handler>(h));
}

const error_block *register_service(service_handler h, int code, void *value)
{
    return event_register(EV_SERVICE, code, value, 0, reinterpret_cast<any_handler>(h));
}

void deregister_service(service_handler h, int code, void *value)
{
    event_deregister(EV_SERVICE, code, value, 0, reinterpret_cast<any_handler>(h));
}

const error_block *register_load(load_handler h, int file_type)
{
    return event_register(EV_LOAD, 0, reinterpret_cast<void *>((intptr_t)file_type), 0,
                          reinterpret_cast<any_handler>(h));
}

void deregister_load(load_handler h, int file_type)
{
    event_deregister(EV_LOAD, 0, reinterpret_cast<void *>((intptr_t)file_type), 0,
                     reinterpret_cast<any_handler>(h));
}

const error_block *register_loaded(loaded_handler h, int file_type)
{
    return event_register(EV_LOADED, 0, reinterpret_cast<void *>((intptr_t)file_type), 0,
                          reinterpret_cast<any_handler>(h));
}

void deregister_loaded(loaded_handler h, int file_type)
{
    event_deregister(EV_LOADED, 0, reinterpret_cast<void *>((intptr_t)file_type), 0,
                     reinterpret_cast<any_handler>(h));
}

const error_block *register_message_filter(int kind, filter_handler h, HWND window, int message, void *value)
{
    return event_register(kind, message, window, reinterpret_cast<intptr_t>(value),
                          reinterpret_cast<any_handler>(h));
}

void deregister_message_filter(int kind, filter_handler h, HWND window, int message, void *value)
{
    event_deregister(kind, message, window, reinterpret_cast<intptr_t>(value), reinterpret_cast<any_handler>(h));
}

const error_block *register_subclass(filter_handler h, HWND control, void *value)
{
    return event_register(EV_SUBCLASS, 0, control, reinterpret_cast<intptr_t>(value),
                          reinterpret_cast<any_handler>(h));
}

void deregister_subclass(filter_handler h, HWND control, void *value)
{
    event_deregister(EV_SUBCLASS, 0, control, reinterpret_cast<intptr_t>(value), reinterpret_cast<any_handler>(h));
}

const error_block *register_mouse_hook(hook_handler h, void *datum, void *value)
{
    return event_register(EV_MOUSE_HOOK, 0, datum, reinterpret_cast<intptr_t>(value),
                          reinterpret_cast<any_handler>(h));
}

void deregister_mouse_hook(hook_handler h, void *datum, void *value)
{
    event_deregister(EV_MOUSE_HOOK, 0, datum, reinterpret_cast<intptr_t>(value), reinterpret_cast<any_handler>(h));
}

const error_block *register_hotkey(hotkey_handler h, HWND window, int id, int key_code)
{
    return event_register(EV_HOTKEY, key_code, window, id, reinterpret_cast<any_handler>(h));
}

void deregister_hotkey(hotkey_handler h, HWND window, int id, int key_code)
{
    event_deregister(EV_HOTKEY, key_code, window, id, reinterpret_cast<any_handler>(h));
}
