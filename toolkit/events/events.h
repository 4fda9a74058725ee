// The task: start-up, the handler registry, the poll loop, timed callbacks,
// service calls, user messages and the busy pointer.
//
// The application registers handlers by event kind; each poll takes one
// platform message and hands the events it raises to them. Every handler
// returns an error or null; the dispatcher reports errors and goes on.
// Coordinates that events carry are OS units: 180 to the inch, origin at
// the bottom left of the screen, y upwards.
#pragma once
#include <cstdint>

#include "toolkit/events/handles.h"

struct error_block;
struct window_state;

// Event kinds: the `kind` field of a registry entry.
enum event_kind : int {
    EV_NULL = 0,            // idle poll (null handlers)
    EV_REDRAW = 1,          // paint of a task window
    EV_OPEN = 2,            // moved, resized, shown, scrolled
    EV_CLOSE = 3,           // close request
    EV_CLICK = 6,           // button press, double click, drag start
    EV_KEY = 8,             // character and key-down
    EV_FOCUS = 11,          // input focus gained or lost
    EV_USER = 17,           // user message with the entry's action code
    EV_POSTPOLL = -2,       // after every poll that returned
    EV_PREPOLL = -3,        // before every poll
    EV_LOAD = -4,           // load a file of the entry's type
    EV_LOADED = -5,         // after a successful load of that type
    EV_DROP = -6,           // a dropped file, after it was accepted
    EV_DROPPED = -7,        // after a dropped file was taken
    EV_DROP_OFFER = -8,     // a dropped file is offered
    EV_SERVICE = -10,       // service call with the entry's code
    EV_MSG_BEFORE = -11,    // window + message number, before dispatch
    EV_MSG_INSIDE = -12,    // window + message number, in the window procedure
    EV_ALL_BEFORE = -13,    // every message, before dispatch
    EV_ALL_INSIDE = -14,    // every message, in the window procedure
    EV_CALLBACK = -15,      // timed callback
    EV_HELP = -16,          // help request
    EV_POINTER = -17,       // pointer moves with no button held
    EV_ACTIVATE = -18,      // activated or deactivated
    EV_SETCURSOR = -19,     // pointer shape asked for
    EV_TEXT_CHANGED = -20,  // text of a writable icon changed
    EV_ICON_FOCUS = -21,    // writable icon gained or lost the focus
    EV_SUBCLASS = -22,      // message to a subclassed control
    EV_PARENT_DELETE = -23, // the window's parent is being deleted
    EV_PARENT_CLOSE = -24,  // the window's parent is being closed
    EV_MOUSE_HOOK = -25,    // the thread's mouse hook
    EV_HOTKEY = -26,        // registered hot key
    EV_WHEEL = -27,         // mouse wheel
    EV_APPCOMMAND = -28,    // application command
    EV_WIN_BEFORE = -29,    // every message of the window, before dispatch
    EV_WIN_INSIDE = -30,    // every message of the window, in the procedure
};

// Button codes of the mouse block.
enum : int {
    BUTTON_ADJUST = 1, BUTTON_SELECT = 4, BUTTON_ADJUST_DRAG = 16, BUTTON_SELECT_DRAG = 64,
    BUTTON_ADJUST_DOUBLE = 256, BUTTON_SELECT_DOUBLE = 1024,
};

// Key code bits added to a virtual-key code.
enum : int {
    KEY_SHIFT = 0x1000000, KEY_CTRL = 0x2000000, KEY_VIRTUAL = 0x4000000,
    KEY_ALT = 0x8000000, KEY_WINDOWS = 0x10000000,
};

struct mouse_block {
    int x, y;        // OS units, screen
    int buttons;     // button code
    HWND window;     // the task window under the pointer
    int icon;        // control identifier under the pointer, or -1
};

// User message block: the fifth word is the action code.
struct user_message {
    int32_t size, sender, reference, your_ref;
    int32_t action;          // 0 quit, 9 palette/display change, 0x88000 font change
    int32_t data[4];
};
enum : int { MESSAGE_QUIT = 0, MESSAGE_PALETTE = 9, MESSAGE_FONT_CHANGE = 0x88000 };

// A platform message handed to the filters (-11..-14, -29, -30) and to
// subclass handlers (-22); a claiming handler sets `result` for the sender.
struct platform_message {
    HWND window;
    unsigned message;
    uintptr_t wparam;
    intptr_t lparam;
    intptr_t result;
};

// Handler shapes, by kind.
typedef void (*any_handler)();
typedef const error_block *(*idle_handler)(void *value);                          // 0 -2 -3 -7 -15
typedef const error_block *(*window_handler)(HWND window, void *value);          // 1 3 -23 -24
typedef const error_block *(*state_handler)(HWND window, void *value, window_state *state);  // 2
typedef const error_block *(*mouse_handler)(HWND window, void *value, mouse_block *mouse);   // 6 -17
typedef const error_block *(*key_handler)(HWND window, void *value, int caret_icon, int *key);  // 8
typedef const error_block *(*flag_handler)(HWND window, void *value, int flag);  // 11
typedef const error_block *(*user_handler)(user_message *message, int *claimed); // 17
typedef const error_block *(*load_handler)(const char *path, int type, int zero, void *argument);  // -4
typedef const error_block *(*loaded_handler)(int zero);                           // -5
typedef const error_block *(*drop_handler)(const char *path, int type, void *value, int zero);  // -6
typedef const error_block *(*offer_handler)(const char *path, int type, mouse_block *at,
                                            void *value, int *accept);            // -8
typedef const error_block *(*service_handler)(int code, void *value, intptr_t a, intptr_t b);  // -10
typedef const error_block *(*filter_handler)(platform_message *message, void *value, int *claimed);  // -11..-14 -29 -30 -22
typedef const error_block *(*help_handler)(HWND window, void *value, int icon, int *result);  // -16
typedef const error_block *(*activate_handler)(HWND window, void *value, HWND other, int state);  // -18
typedef const error_block *(*cursor_handler)(HWND window, void *value, int *hit, int *claimed);  // -19
typedef const error_block *(*icon_handler)(HWND window, int icon, void *value);  // -20
typedef const error_block *(*icon_focus_handler)(HWND window, int icon, int gained, void *value);  // -21
typedef const error_block *(*hook_handler)(void *datum, void *value, HWND under, void *mouse_record,
                                           int message, intptr_t *result);       // -25
typedef const error_block *(*hotkey_handler)(HWND window, void *value, int code); // -26
typedef const error_block *(*wheel_handler)(HWND window, void *value, int delta, int keys,
                                            int horizontal, int *claimed);       // -27
typedef const error_block *(*appcommand_handler)(HWND window, void *value, HWND target, int command,
                                                 int device, int keys, int *claimed);  // -28

// The registry, in its general form. An entry equal in all five fields to an
// existing one is not added again; deregistering removes the first equal
// entry or logs "remblock missed type %d message %d".
const error_block *event_register(int kind, int code, void *window, intptr_t value, any_handler handler);
void event_deregister(int kind, int code, void *window, intptr_t value, any_handler handler);
int event_count(int kind);                 // entries of a kind (tests, diagnostics)

// Typed forms for the window kinds: (handler, window, value).
#define QM_WINDOW_EVENT(name, kind, type)                                                     \
    inline const error_block *register_##name(type h, HWND w, void *v)                        \
    { return event_register(kind, 0, w, reinterpret_cast<intptr_t>(v), reinterpret_cast<any_handler>(h)); } \
    inline void deregister_##name(type h, HWND w, void *v)                                    \
    { event_deregister(kind, 0, w, reinterpret_cast<intptr_t>(v), reinterpret_cast<any_handler>(h)); }
QM_WINDOW_EVENT(redraw, EV_REDRAW, window_handler)
QM_WINDOW_EVENT(open, EV_OPEN, state_handler)
QM_WINDOW_EVENT(close, EV_CLOSE, window_handler)
QM_WINDOW_EVENT(click, EV_CLICK, mouse_handler)
QM_WINDOW_EVENT(key, EV_KEY, key_handler)
QM_WINDOW_EVENT(focus, EV_FOCUS, flag_handler)
QM_WINDOW_EVENT(pointer, EV_POINTER, mouse_handler)
QM_WINDOW_EVENT(activate, EV_ACTIVATE, activate_handler)
QM_WINDOW_EVENT(setcursor, EV_SETCURSOR, cursor_handler)
QM_WINDOW_EVENT(text_changed, EV_TEXT_CHANGED, icon_handler)
QM_WINDOW_EVENT(icon_focus, EV_ICON_FOCUS, icon_focus_handler)
QM_WINDOW_EVENT(parent_delete, EV_PARENT_DELETE, window_handler)
QM_WINDOW_EVENT(parent_close, EV_PARENT_CLOSE, window_handler)
QM_WINDOW_EVENT(wheel, EV_WHEEL, wheel_handler)
QM_WINDOW_EVENT(appcommand, EV_APPCOMMAND, appcommand_handler)
QM_WINDOW_EVENT(help, EV_HELP, help_handler)
QM_WINDOW_EVENT(drop, EV_DROP, drop_handler)
QM_WINDOW_EVENT(dropped, EV_DROPPED, idle_handler)
QM_WINDOW_EVENT(drop_offer, EV_DROP_OFFER, offer_handler)
QM_WINDOW_EVENT(window_filter, EV_WIN_BEFORE, filter_handler)
QM_WINDOW_EVENT(window_inside, EV_WIN_INSIDE, filter_handler)
#undef QM_WINDOW_EVENT

// Kinds without a window keep their datum in the window field.
const error_block *register_null(idle_handler h, void *value);
void deregister_null(idle_handler h, void *value);
const error_block *register_prepoll(idle_handler h, void *value);
void deregister_prepoll(idle_handler h, void *value);
const error_block *register_postpoll(idle_handler h, void *value);
void deregister_postpoll(idle_handler h, void *value);
const error_block *register_user_message(user_handler h, int action);
void deregister_user_message(user_handler h, int action);
const error_block *register_service(service_handler h, int code, void *value);
void deregister_service(service_handler h, int code, void *value);
const error_block *register_load(load_handler h, int file_type);
void deregister_load(load_handler h, int file_type);
const error_block *register_loaded(loaded_handler h, int file_type);
void deregister_loaded(loaded_handler h, int file_type);
// Message filters: -11/-12 for one window and message number, -13/-14 for
// every message (window null).
const error_block *register_message_filter(int kind, filter_handler h, HWND window, int message, void *value);
void deregister_message_filter(int kind, filter_handler h, HWND window, int message, void *value);
// A subclassed control: its messages go to the -22 handlers first.
const error_block *register_subclass(filter_handler h, HWND control, void *value);
void deregister_subclass(filter_handler h, HWND control, void *value);
// The mouse hook, installed while at least one entry exists.
const error_block *register_mouse_hook(hook_handler h, void *datum, void *value);
void deregister_mouse_hook(hook_handler h, void *datum, void *value);
// Hot keys: the key code's low byte is the virtual key, its Shift, Ctrl, Alt
// and Windows bits the modifiers.
const error_block *register_hotkey(hotkey_handler h, HWND window, int id, int key_code);
void deregister_hotkey(hotkey_handler h, HWND window, int id, int key_code);

// Raising the load and drop events (used by the file layer and by drops).
const error_block *raise_load(const char *path, int file_type, void *argument);
// The file type of a dropped path (the file-type tables' type of its name).
extern int (*event_file_type)(const char *path);

// Start-up: the twelve steps; logs each as it goes.
typedef void (*startup_callback)(int zero);
const error_block *inittask(const char *name, const char *title, const char *resource_directory,
                            const char *data_directory, startup_callback callback);
const char *task_name();
const char *task_resource_directory();

// Polling.
void poll_once();
[[noreturn]] void poll_loop();
int task_polling();
int poll_depth();
void task_quit(int exit_code);
// How the process ends after the quit message; tests replace it (when it
// returns, the poll returns).
extern void (*task_exit)(int status);
// The task's wide-character flag: selects the message functions.
extern int task_wide;

// Timed callbacks: deadline = now + delay (centiseconds).
const error_block *call_after(idle_handler h, void *value, int delay);
void remove_call_after(idle_handler h, void *value);
int monotonic_time();                      // centiseconds

const error_block *service_call(int code, intptr_t a, intptr_t b);
int send_message(user_message *message);   // 1 when no handler claimed it

// Busy pointer.
void hourglass_on();
void hourglass_off();
int hourglass_count();
void help_pointer_mode(int on);
int escape_held();
