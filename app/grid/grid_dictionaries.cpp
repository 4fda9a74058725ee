// The dictionary-list interface of the grid file, with the default that
// keeps the names as read until the dictionary set takes over.
#include "app/grid/grid_dictionaries.h"

#include <cstring>

namespace {

grid_dictionary_name kept[grid_max_dictionaries];
int kept_count = 0;

int kept_names(grid_dictionary_name *names, int max)
{
    int n = kept_count < max ? kept_count : max;
    if (n > 0)
        memcpy(names, kept, sizeof(grid_dictionary_name) * n);
    return n;
}

void keep_names(const grid_dictionary_name *names, int count)
{
    kept_count = count < grid_max_dictionaries ? count : grid_max_dictionaries;
    if (kept_count > 0)
        memcpy(kept, names, sizeof(grid_dictionary_name) * kept_count);
}

const grid_dictionary_hooks defaults = {kept_names, keep_names};
grid_dictionary_hooks hooks = defaults;

}  // namespace

void grid_set_dictionary_hooks(const grid_dictionary_hooks *given)
{
    kept_count = 0;
    hooks = defaults;
    if (given) {
        if (given->document_names)
            hooks.document_names = given->document_names;
        if (given->take_document_names)
            hooks.take_document_names = given->take_document_names;
    }
}

int grid_document_names(grid_dictionary_name *names, int max) { return hooks.document_names(names, max); }

void grid_take_document_names(const grid_dictionary_name *names, int count)
{
    hooks.take_document_names(names, count);
}

void grid_dictionary_name_text(const grid_dictionary_name &name, char out[grid_name_record + 1])
{
    size_t n = strnlen(name.bytes, grid_name_record);
    memcpy(out, name.bytes, n);
    out[n] = 0;
}
