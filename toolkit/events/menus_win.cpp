// Menu tables and the operations on menus by tag.
//
// Invariant: a record's `separators` mirrors its platform menu; every
// operation that adds or removes entries keeps it so.
#include "toolkit/events/menus.h"

#include <windows.h>
#include <cstring>

#include "toolkit/events/internal_win.h"
#include "toolkit/messages/messages.h"

namespace {

menu_link *chain = nullptr;
int current = 0;

uint32_t separator_mask(HMENU menu)
{
    uint32_t mask = 0;
    int n = GetMenuItemCount(menu);
    for (int i = 0; i < n && i < 32; i++) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        if (GetMenuItemInfoA(menu, i, TRUE, &info) && (info.fType & MFT_SEPARATOR))
            mask |= 1u << i;
    }
    return mask;
}

const error_block *load(menu_record *r)
{
    HRSRC found = FindResourceA(nullptr, r->resource, RT_MENU);
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const void *data = loaded ? LockResource(loaded) : nullptr;
    r->handle = data ? LoadMenuIndirectA(data) : nullptr;
    if (!r->handle)
        return win_error("LoadMenuIndirect", "(%s)", r->resource);
    r->separators = separator_mask(r->handle);
    return nullptr;
}

// Detaches the submenus hung in a menu, so that destroying or emptying it
// leaves them alive.
void unlink_children(menu_record *parent)
{
    for (menu_link *l = chain; l; l = l->next)
        for (menu_record *r = l->table; r->tag != -1; r++)
            if (r->parent == parent->tag && r != parent) {
                int n = GetMenuItemCount(parent->handle);
                for (int i = 0; i < n; i++)
                    if (GetSubMenu(parent->handle, i) == r->handle) {
                        RemoveMenu(parent->handle, i, MF_BYPOSITION);
                        break;
                    }
                r->parent = 0;
            }
}

const error_block *expanded(const char *text, char *out, int size)
{
    const error_block *e = xzstrncpy(out, text, size);
    expand_tokens(out, size);
    return e;
}

}  // namespace

const error_block *menu_register(menu_record *table, menu_link *link)
{
    link->table = table;
    bool known = false;
    for (menu_link *l = chain; l; l = l->next)
        known = known || l == link;
    if (!known) {
        link->next = chain;
        chain = link;
    }
    for (menu_record *r = table; r->tag != -1; r++) {
        if (r->resource) {
            if (const error_block *e = load(r))
                return e;
        } else if (r->parent) {
            menu_record *parent = menu_find(r->parent);
            r->handle = parent && parent->handle
                            ? GetSubMenu(parent->handle, menu_position_of(parent, r->position))
                            : nullptr;
            if (r->handle)
                r->separators = separator_mask(r->handle);
        }
    }
    return nullptr;
}

void menu_clear_tables() { chain = nullptr; }

menu_record *menu_find(int tag)
{
    for (menu_link *l = chain; l; l = l->next)
        for (menu_record *r = l->table; r->tag != -1; r++)
            if (r->tag == tag)
                return r;
    return nullptr;
}

menu_record *menu_find_handle(HMENU handle)
{
    if (!handle)
        return nullptr;
    for (menu_link *l = chain; l; l = l->next)
        for (menu_record *r = l->table; r->tag != -1; r++)
            if (r->handle == handle)
                return r;
    return nullptr;
}

int menu_position_of(const menu_record *menu, int entry)
{
    int counted = 0;
    for (int p = 0; p < 32; p++) {
        if (menu->separators & (1u << p))
            continue;
        if (counted++ == entry)
            return p;
    }
    return entry + __builtin_popcount(menu->separators);
}

int menu_entry_of(const menu_record *menu, int position)
{
    uint32_t below = position >= 32 ? menu->separators : menu->separators & ((1u << position) - 1);
    return position - __builtin_popcount(below);
}

int menu_current() { return current; }
void menu_set_current(int tag) { current = tag; }

const error_block *menu_build(int tag, int bar, menu_select_handler select, menu_preopen_handler preopen)
{
    menu_record *r = menu_find(tag);
    if (!r)
        return nullptr;
    if (r->handle) {
        unlink_children(r);
        DestroyMenu(r->handle);
    }
    r->handle = bar ? CreateMenu() : CreatePopupMenu();
    r->separators = 0;
    r->select = select;
    r->preopen = preopen;
    return r->handle ? nullptr : win_error(bar ? "CreateMenu" : "CreatePopupMenu");
}

void menu_set_handlers(int tag, menu_select_handler select, menu_preopen_handler preopen)
{
    if (menu_record *r = menu_find(tag)) {
        r->select = select;
        r->preopen = preopen;
    }
}

void menu_set_word(int tag, int which, intptr_t value)
{
    if (menu_record *r = menu_find(tag))
        (which == 2 ? r->word2 : r->word1) = value;
}

const error_block *menu_add(int tag, const char *text, int flags, int command)
{
    menu_record *r = menu_find(tag);
    if (!r || !r->handle)
        return nullptr;
    char label[256];
    const error_block *cut = expanded(text, label, sizeof label);
    UINT style = MF_STRING | (flags & MENU_GREYED ? MF_GRAYED : 0) | (flags & MENU_TICKED ? MF_CHECKED : 0);
    if (!AppendMenuA(r->handle, style, command, label))
        return win_error("AppendMenu");
    if (flags & MENU_SEPARATOR_AFTER) {
        if (!AppendMenuA(r->handle, MF_SEPARATOR, 0, nullptr))
            return win_error("AppendMenu");
        int at = GetMenuItemCount(r->handle) - 1;
        if (at < 32)
            r->separators |= 1u << at;
    }
    return cut;
}

const error_block *menu_remove_all(int tag)
{
    menu_record *r = menu_find(tag);
    if (!r || !r->handle)
        return nullptr;
    unlink_children(r);
    for (int i = GetMenuItemCount(r->handle) - 1; i >= 0; i--)
        if (!RemoveMenu(r->handle, i, MF_BYPOSITION))
            return win_error("RemoveMenu");
    r->separators = 0;
    return nullptr;
}

const error_block *menu_attach(int tag, int parent_tag, int entry)
{
    menu_record *r = menu_find(tag);
    if (!r)
        return nullptr;
    r->parent = parent_tag;
    r->position = entry;
    menu_record *parent = parent_tag ? menu_find(parent_tag) : nullptr;
    if (!parent || !parent->handle || !r->handle)
        return nullptr;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_SUBMENU;
    info.hSubMenu = r->handle;
    if (!SetMenuItemInfoA(parent->handle, menu_position_of(parent, entry), TRUE, &info))
        return win_error("SetMenuItemInfo");
    return nullptr;
}

const error_block *menu_tick(int tag, int command, int on)
{
    menu_record *r = menu_find(tag);
    if (!r || !r->handle)
        return nullptr;
    if (CheckMenuItem(r->handle, command, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED)) == (DWORD)-1)
        return win_error("CheckMenuItem", "%d", command);
    return nullptr;
}

const error_block *menu_grey(int tag, int command, int enabled)
{
    menu_record *r = menu_find(tag);
    if (!r || !r->handle)
        return nullptr;
    if (EnableMenuItem(r->handle, command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED)) == -1)
        return win_error("EnableMenuItem", "%d", command);
    return nullptr;
}

const error_block *menu_set_text(int tag, int entry, const char *text, int *changed)
{
    *changed = 0;
    menu_record *r = menu_find(tag);
    if (!r || !r->handle)
        return nullptr;
    char wanted[256], held[256] = "";
    const error_block *cut = expanded(text, wanted, sizeof wanted);   // "{TOKEN}" as menu_add does
    int at = menu_position_of(r, entry);
    GetMenuStringA(r->handle, at, held, sizeof held, MF_BYPOSITION);
    if (strcmp(held, wanted) == 0)
        return cut;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = wanted;
    if (!SetMenuItemInfoA(r->handle, at, TRUE, &info))
        return win_error("SetMenuItemInfo");
    *changed = 1;
    return cut;
}

const error_block *menu_get_text(int tag, int entry, char *buffer, int size, int *state)
{
    buffer[0] = 0;
    *state = 0;
    menu_record *r = menu_find(tag);
    if (!r || !r->handle)
        return nullptr;
    int at = menu_position_of(r, entry);
    GetMenuStringA(r->handle, at, buffer, size, MF_BYPOSITION);
    UINT s = GetMenuState(r->handle, at, MF_BYPOSITION);
    if (s == (UINT)-1)
        return win_error("GetMenuState");
    *state = (s & MF_CHECKED ? MENU_TICKED : 0) | (s & (MF_GRAYED | MF_DISABLED) ? MENU_GREYED : 0);
    return nullptr;
}

const error_block *menu_popup(HWND window, int tag)
{
    menu_record *r = menu_find(tag);
    if (!r || !r->handle)
        return nullptr;
    current = tag;
    POINT p;
    GetCursorPos(&p);
    SetForegroundWindow(window);
    if (!TrackPopupMenuEx(r->handle, TPM_LEFTALIGN | TPM_TOPALIGN, p.x, p.y, window, nullptr))
        return win_error("TrackPopupMenuEx");
    return nullptr;
}

const error_block *menu_set_bar(HWND window, int tag)
{
    menu_record *r = menu_find(tag);
    if (!r || !r->handle)
        return nullptr;
    if (!SetMenu(window, r->handle))
        return win_error("SetMenu");
    DrawMenuBar(window);
    return nullptr;
}

const error_block *menu_remove_bar(HWND window)
{
    if (!SetMenu(window, nullptr))
        return win_error("SetMenu");
    return nullptr;
}

void menu_destroy_all()
{
    for (menu_link *l = chain; l; l = l->next)
        for (menu_record *r = l->table; r->tag != -1; r++)
            if (!r->parent && r->handle) {
                DestroyMenu(r->handle);
                r->handle = nullptr;
            }
    // Submenus went with their parents.
    for (menu_link *l = chain; l; l = l->next)
        for (menu_record *r = l->table; r->tag != -1; r++)
            r->handle = nullptr;
}
