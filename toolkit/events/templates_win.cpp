// Template tables and the window classes.
//
// A table's entries point at the locked dialog resources, which live as
// long as the module. Lookups walk the chain from the newest table.
#include "toolkit/events/templates.h"

#include <windows.h>
#include <cstring>

#include "toolkit/events/internal_win.h"
#include "toolkit/memory/memory.h"
#include "toolkit/messages/error.h"

namespace {

template_link *chain = nullptr;

// The table built by enumerating every dialog resource.
void *all_block = nullptr;       // flex anchor: template_entry[]
int all_count = 0;
template_link all_link;
char all_names[256][64];

const void *load_dialog(const char *name)
{
    HRSRC found = FindResourceA(nullptr, name, RT_DIALOG);
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    return loaded ? LockResource(loaded) : nullptr;
}

BOOL CALLBACK enumerate(HMODULE, LPCSTR, LPSTR name, LONG_PTR)
{
    if (all_count >= 255)
        return FALSE;
    if (IS_INTRESOURCE(name))
        wsprintfA(all_names[all_count], "#%d", (int)(uintptr_t)name);
    else
        lstrcpynA(all_names[all_count], name, sizeof all_names[0]);
    if (flex_ensure(&all_block, (all_count + 2) * (int)sizeof(template_entry), 16 * sizeof(template_entry)))
        return FALSE;
    template_entry *t = flex_ptr<template_entry>(all_block);
    t[all_count] = template_entry{0x10000 + all_count, 0, load_dialog(all_names[all_count]),
                                  all_names[all_count]};
    t[++all_count] = template_entry{0, 0, nullptr, nullptr};
    return TRUE;
}

}  // namespace

const error_block *template_register(template_entry *table, template_link *link)
{
    if (!table) {
        flex_dispose(&all_block);
        all_count = 0;
        EnumResourceNamesA(nullptr, RT_DIALOG, enumerate, 0);
        if (!all_block)
            return nullptr;
        table = flex_ptr<template_entry>(all_block);
        link = &all_link;
    } else {
        for (template_entry *t = table; t->number; t++) {
            t->data = load_dialog(t->name);
            if (!t->data)
                return win_error("FindResource", "(%s)", t->name);
        }
    }
    link->table = table;
    for (template_link *l = chain; l; l = l->next)
        if (l == link)
            return nullptr;   // registered again: the table is replaced in place
    link->next = chain;
    chain = link;
    return nullptr;
}

void template_clear() { chain = nullptr; }

const error_block *template_find(int number, const template_entry **entry)
{
    for (template_link *l = chain; l; l = l->next)
        for (const template_entry *t = l->table; t->number; t++)
            if (t->number == number && t->data) {
                *entry = t;
                return nullptr;
            }
    *entry = nullptr;
    return make_error(21, number);
}

int template_number(const char *name)
{
    for (template_link *l = chain; l; l = l->next)
        for (const template_entry *t = l->table; t->number; t++)
            if (lstrcmpiA(t->name, name) == 0)
                return t->number;
    return -1;
}

const error_block *inittemp()
{
    WNDCLASSA task = {};
    task.style = CS_DBLCLKS;
    task.lpfnWndProc = task_window_proc;
    task.cbWndExtra = DLGWINDOWEXTRA;
    task.hInstance = GetModuleHandleA(nullptr);
    task.hIcon = LoadIconA(task.hInstance, task_resource_directory());
    task.hCursor = LoadCursor(nullptr, IDC_ARROW);
    task.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    task.lpszClassName = "Task";
    if (!RegisterClassA(&task) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return win_error("RegisterClass", "(%s)", "Task");
    return abx_register_class();
}
