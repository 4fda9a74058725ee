// Template tables: numbered dialog templates among the program's
// resources, registered into a chain (newest first).
#pragma once
#include <cstdint>

struct error_block;

struct template_entry {
    int32_t number;          // 0 ends a table
    int32_t flag;            // not read by the template operations
    const void *data;        // the locked dialog resource, filled at registration
    const char *name;        // resource name
};

struct template_link {
    template_link *next;
    template_entry *table;
};

// Looks every name up among the module's dialog resources. With a null
// table, enumerates every dialog resource and numbers them from 0x10000
// (the toolkit keeps that table).
const error_block *template_register(template_entry *table, template_link *link);
void template_clear();
// The entry for a number; error 21 when no table holds it.
const error_block *template_find(int number, const template_entry **entry);
// The number for a name (compared without regard to case), or -1.
int template_number(const char *name);
// Registers the window classes "Task" and "abx".
const error_block *inittemp();
