// Raising events for windows: who is called for each kind, and what
// counts as taken.
#include <windows.h>

#include "toolkit/events/internal_win.h"
#include "toolkit/events/registry.h"

namespace {

void *value_of(const handler_entry &e) { return reinterpret_cast<void *>(e.value); }

bool first_only(int kind)
{
    return kind == EV_CLOSE || kind == EV_PARENT_DELETE || kind == EV_PARENT_CLOSE;
}

}  // namespace

bool raise_window_event(int kind, HWND window)
{
    bool any = false;
    registry_walk(kind, window, false, [&](const handler_entry &e) {
        any = true;
        report_handler_error(reinterpret_cast<window_handler>(e.handler)(window, value_of(e)));
        return first_only(kind);
    });
    return any;
}

bool raise_open_event(HWND window)
{
    wdata *d = window_data(window);
    if (d && (d->flags & WF_OPENING))
        return false;
    window_state state;
    window_get_state(window, &state);
    return registry_walk(EV_OPEN, window, false, [&](const handler_entry &e) {
        window_state copy = state;
        report_handler_error(reinterpret_cast<state_handler>(e.handler)(window, value_of(e), &copy));
        return false;
    });
}

bool raise_click(HWND window, mouse_block *mouse)
{
    return registry_walk(EV_CLICK, window, false, [&](const handler_entry &e) {
        report_handler_error(reinterpret_cast<mouse_handler>(e.handler)(window, value_of(e), mouse));
        return true;
    });
}

bool raise_key(HWND window, int icon, int *key)
{
    return registry_walk(EV_KEY, window, false, [&](const handler_entry &e) {
        report_handler_error(reinterpret_cast<key_handler>(e.handler)(window, value_of(e), icon, key));
        return *key == -1;
    });
}

void raise_flag_event(int kind, HWND window, int flag)
{
    registry_walk(kind, window, false, [&](const handler_entry &e) {
        report_handler_error(reinterpret_cast<flag_handler>(e.handler)(window, value_of(e), flag));
        return false;
    });
}

// Before dispatch (-11, -29, -13) or inside the window procedure (-12,
// -30, -14): every matching handler until one claims.
bool raise_filters(int kind_number, int kind_window, int kind_all, platform_message *m)
{
    int claimed = 0;
    auto offer = [&](const handler_entry &e) {
        report_handler_error(reinterpret_cast<filter_handler>(e.handler)(m, value_of(e), &claimed));
        return claimed != 0;
    };
    if (registry_walk(kind_number, m->window, false, [&](const handler_entry &e) {
            return e.code == (int)m->message && offer(e);
        }))
        return true;
    if (registry_walk(kind_window, m->window, false, offer))
        return true;
    return registry_walk(kind_all, nullptr, true, offer);
}

int key_code_for(WPARAM virtual_key)
{
    int key = (int)(virtual_key & 0xFFFF) | KEY_VIRTUAL;
    if (GetKeyState(VK_SHIFT) < 0)
        key |= KEY_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0)
        key |= KEY_CTRL;
    if (GetKeyState(VK_MENU) < 0)
        key |= KEY_ALT;
    if (GetKeyState(VK_LWIN) < 0 || GetKeyState(VK_RWIN) < 0)
        key |= KEY_WINDOWS;
    return key;
}

int caret_icon_in(HWND window)
{
    HWND focus = GetFocus();
    if (!focus || focus == window || !IsChild(window, focus))
        return -1;
    return GetDlgCtrlID(focus);
}

const error_block *raise_load(const char *path, int file_type, void *argument)
{
    void *type = reinterpret_cast<void *>((intptr_t)file_type);
    const error_block *error = nullptr;
    bool loaded = registry_walk(EV_LOAD, type, false, [&](const handler_entry &e) {
        error = reinterpret_cast<load_handler>(e.handler)(path, file_type, 0, argument);
        return true;
    });
    if (loaded && !error)
        registry_walk(EV_LOADED, type, false, [&](const handler_entry &e) {
            report_handler_error(reinterpret_cast<loaded_handler>(e.handler)(0));
            return true;
        });
    return error;
}

// Hot keys: the key code's modifier bits become the platform's.
void hotkey_platform(HWND window, int id, int key_code, bool on)
{
    if (!on) {
        UnregisterHotKey(window, id);
        return;
    }
    UINT modifiers = 0;
    if (key_code & KEY_SHIFT)
        modifiers |= MOD_SHIFT;
    if (key_code & KEY_CTRL)
        modifiers |= MOD_CONTROL;
    if (key_code & KEY_ALT)
        modifiers |= MOD_ALT;
    if (key_code & KEY_WINDOWS)
        modifiers |= MOD_WIN;
    RegisterHotKey(window, id, modifiers, key_code & 0xFF);
}

void raise_hotkey(HWND window, int id, int code)
{
    registry_walk(EV_HOTKEY, nullptr, true, [&](const handler_entry &e) {
        if ((int)e.value == id)
            report_handler_error(reinterpret_cast<hotkey_handler>(e.handler)(window, value_of(e), code));
        return false;
    });
}

// The mouse hook: every -25 handler sees every mouse message of the thread.
namespace {

HHOOK hook = nullptr;

LRESULT CALLBACK mouse_hook(int code, WPARAM wparam, LPARAM lparam)
{
    if (code >= 0) {
        auto *info = reinterpret_cast<MOUSEHOOKSTRUCT *>(lparam);
        intptr_t result = 0;
        registry_walk(EV_MOUSE_HOOK, nullptr, true, [&](const handler_entry &e) {
            report_handler_error(reinterpret_cast<hook_handler>(e.handler)(e.window, value_of(e), info->hwnd,
                                                                           info, (int)wparam, &result));
            return false;
        });
        if (result)
            return result;
    }
    return CallNextHookEx(hook, code, wparam, lparam);
}

const char kOldProc[] = "qm.subclass";

LRESULT CALLBACK subclass_proc(HWND control, UINT message, WPARAM wparam, LPARAM lparam)
{
    auto old = reinterpret_cast<WNDPROC>(GetPropA(control, kOldProc));
    platform_message m{control, message, wparam, lparam, 0};
    int claimed = 0;
    registry_walk(EV_SUBCLASS, control, false, [&](const handler_entry &e) {
        report_handler_error(reinterpret_cast<filter_handler>(e.handler)(&m, value_of(e), &claimed));
        return claimed != 0;
    });
    if (claimed)
        return m.result;
    return old ? CallWindowProcA(old, control, message, wparam, lparam) : DefWindowProcA(control, message, wparam, lparam);
}

int subclass_entries(HWND control)
{
    int n = 0;
    for (int i = 0; i < registry_count(); i++) {
        handler_entry e = registry_entry(i);
        n += e.kind == EV_SUBCLASS && e.window == control;
    }
    return n;
}

}  // namespace

void mouse_hook_platform(bool on)
{
    if (on && !hook)
        hook = SetWindowsHookExA(WH_MOUSE, mouse_hook, nullptr, GetCurrentThreadId());
    if (!on && hook) {
        UnhookWindowsHookEx(hook);
        hook = nullptr;
    }
}

void subclass_platform(HWND control, bool on)
{
    int n = subclass_entries(control);
    if (on && n == 1) {
        LONG_PTR old = SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclass_proc));
        SetPropA(control, kOldProc, reinterpret_cast<HANDLE>(old));
    } else if (!on && n == 0) {
        HANDLE old = RemovePropA(control, kOldProc);
        if (old)
            SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    }
}
