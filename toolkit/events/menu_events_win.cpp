// Menus at run time: opening (pre-open handler), highlighting (the current
// menu) and choosing (selection path to the root's handler).
#include <windows.h>

#include "toolkit/events/internal_win.h"
#include "toolkit/events/menus.h"
#include "toolkit/messages/log.h"
#include "toolkit/messages/report.h"

namespace {

// Builds the path from the root down to `menu`: the entry through which
// each submenu was reached, then `last`, then -1. Returns the root. A
// submenu that has a handler of its own (`select` when choosing, `preopen`
// when opening) is the root of its own choices, as a pop-up menu hung in
// another menu resource is.
menu_record *path_to(menu_record *menu, int last, int *path, bool choosing)
{
    menu_record *chain[MENU_PATH_MAX];
    int depth = 0;
    menu_record *r = menu;
    auto own = [choosing](menu_record *m) { return choosing ? m->select != nullptr : m->preopen != nullptr; };
    while (r && r->parent && !own(r) && depth < MENU_PATH_MAX - 2) {
        chain[depth++] = r;
        r = menu_find(r->parent);
    }
    menu_record *root = r ? r : menu;
    int n = 0;
    for (int i = depth - 1; i >= 0; i--)
        path[n++] = chain[i]->position;
    path[n++] = last;
    if (last != -1)
        path[n++] = -1;
    return root;
}

}  // namespace

void menu_init_popup(HWND window, HMENU menu, int position)
{
    menu_record *r = menu_find_handle(menu);
    if (!r)
        return;
    if (r->parent)
        if (menu_record *parent = menu_find(r->parent))
            if (GetSubMenu(parent->handle, position) == menu)
                r->position = menu_entry_of(parent, position);
    menu_set_current(r->tag);
    int path[MENU_PATH_MAX];
    menu_record *root = path_to(r, -1, path, false);
    if (root->preopen)
        report_error(root->preopen(path, menu, window));
}

void menu_highlight(HMENU menu, UINT flags)
{
    if (flags == 0xFFFF && !menu)
        return;
    if (menu_record *r = menu_find_handle(menu))
        menu_set_current(r->tag);
}

void menu_command(HWND window, int command)
{
    menu_record *r = menu_find(menu_current());
    if (!r)
        return;
    int path[MENU_PATH_MAX];
    menu_record *root = path_to(r, command, path, true);
    if (root->select)
        report_error(root->select(path, window));
}

void menu_help(HWND, HMENU menu, int command)
{
    menu_record *r = menu_find_handle(menu);
    if (!r)
        r = menu_find(menu_current());
    if (!r)
        return;
    int path[MENU_PATH_MAX];
    menu_record *root = path_to(r, command, path, true);
    debug_log("help menucommand root %x tag %d s[0] %d s[1] %d", (unsigned)(uintptr_t)root->handle, r->tag,
              path[0], path[1]);
}
