// File types: the chain of type tables and the lookups over it.
//
// Tables are searched newest first, each from its first entry. Entries of
// type -2 only supply the fallback extension and description; they never
// match a file name (a ".dat" file is then typed by the entry without
// extension, not as the pseudo-type -2).
#include "toolkit/files/filetypes.h"

#include <cstring>

#include "toolkit/text/cp1252.h"

namespace {

filetype_link *chain = nullptr;

const filetype_entry *find_entry(bool (*wanted)(const filetype_entry *, const void *),
                                 const void *datum)
{
    for (const filetype_link *l = chain; l; l = l->next)
        for (const filetype_entry *e = l->table; e->type != FILETYPE_END; e++)
            if (wanted(e, datum))
                return e;
    return nullptr;
}

bool has_extension(const filetype_entry *e, const void *ext)
{
    return e->type != FILETYPE_DEFAULT && e->extension &&
           cp_compare_nocase(e->extension, static_cast<const char *>(ext)) == 0;
}

bool without_extension(const filetype_entry *e, const void *)
{
    return e->type != FILETYPE_DEFAULT && !e->extension;
}

bool is_type_with_extension(const filetype_entry *e, const void *type)
{
    return e->type == *static_cast<const int *>(type) && e->extension;
}

bool is_type(const filetype_entry *e, const void *type)
{
    return e->type == *static_cast<const int *>(type);
}

}  // namespace

void filetype_register(const filetype_entry *table, filetype_link *link)
{
    link->table = table;
    link->next = chain;
    chain = link;
}

void filetype_clear_tables() { chain = nullptr; }

int filetype_of_name(const char *name)
{
    const char *leaf = name;
    for (const char *p = name; *p; p++)
        if (*p == '\\' || *p == '/' || *p == ':')
            leaf = p + 1;
    const char *ext = strrchr(leaf, '.');
    if (!ext)
        ext = strrchr(leaf, ',');
    if (!ext)
        return FILETYPE_DATA;
    const filetype_entry *e = find_entry(has_extension, ext + 1);
    if (!e)
        e = find_entry(without_extension, nullptr);
    return e ? e->type : FILETYPE_END;
}

const char *filetype_extension(int type)
{
    const filetype_entry *e = find_entry(is_type_with_extension, &type);
    if (!e) {
        int fallback = FILETYPE_DEFAULT;
        e = find_entry(is_type_with_extension, &fallback);
    }
    return e ? e->extension : nullptr;
}

const char *filetype_description(int type)
{
    const filetype_entry *e = find_entry(is_type, &type);
    if (!e || !e->description) {
        int fallback = FILETYPE_DEFAULT;
        e = find_entry(is_type, &fallback);
    }
    return e ? e->description : nullptr;
}

const filetype_entry quillmere_filetypes[] = {
    {0x103, "qlx", "Quillmere grid (*.qlx)"},
    {0xFFF, "txt", "Text (*.txt)"},
    {0xFFD, nullptr, "Data (*.dat)"},
    {0x101, "emf", "Enhanced metafile (*.emf)"},
    {0x100, "wmf", "Windows metafile (*.wmf)"},
    {0x102, "wmf", "Placement metafile (*.wmf)"},
    {0xAAD, "svg", "SVG picture (*.svg)"},
    {FILETYPE_DEFAULT, "dat", "Data (*.dat)"},
    {FILETYPE_END, nullptr, nullptr},
};
