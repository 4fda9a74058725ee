// Error records and the chain of error tables.
//
// Two static records exist: one for errors made from numbers and
// templates, one for failing platform calls. Each producer overwrites its
// record and returns its address.
#include "toolkit/messages/error.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "toolkit/messages/messages.h"

namespace {

error_block made;          // errors made from numbers and templates
error_block from_os;       // errors made from failing platform calls
error_link *chain = nullptr;

const error_entry toolkit_table[] = {
    {1, "Not enough memory, or not within *desktop world."},
    {2, "{EME}"},
    {3, "{ERD}"},
    {4, "{EWR}"},
    {5, "Memory is corrupt!"},
    {6, "{EINT}"},
    {7, "{ETEMP}"},
    {8, "{ENOTF}"},
    {9, "{ESVDG}"},
    {10, "{ENOWS}"},
    {11, "{EUXDS}"},
    {12, "{EUXRF}"},
    {13, "{EMEMAF}"},
    {14, "{EMEMBF}"},
    {15, "{EMEMAD}"},
    {16, "{EMEMFE}"},
    {17, "{EMEMCH}"},
    {18, "{EMEMBAD}"},
    {19, "{ENOTOKVAL}"},
    {20, "{ENOEVENT}"},
    {21, "{ETEMPX}"},
    {22, "{ETEMPF}"},
    {23, "{EREP}"},
    {24, "{ESCAN}"},
    {26, "{ELCAN}"},
    {28, "{ENOTFOUND}"},
    {29, "{ENOPRINTER}"},
    {30, "{EMAXSTRING}"},
    {31, "{EUNKFT}"},
    {0, nullptr},
};
error_link toolkit_link;

// Copies at most size-1 bytes, always terminating.
void copy_cut(char *to, const char *from, int size)
{
    size_t n = strlen(from);
    if (n > static_cast<size_t>(size - 1))
        n = size - 1;
    memcpy(to, from, n);
    to[n] = 0;
}

// The common tail of every maker: template into a 256-byte work buffer,
// tokens expanded, formatted into errmess (cut at 252), tokens expanded
// again so that arguments may carry references.
const error_block *build(int number, const char *template_text, va_list *args)
{
    char work[256];
    copy_cut(work, template_text, sizeof work);
    expand_tokens(work, sizeof work);
    // Formatted aside first: an argument may be this record's own text
    // (an error quoted in the next one), which must not be overwritten
    // while it is read.
    char text[sizeof made.errmess];
    if (args) {
        char safe[2 * sizeof work];
        protect_percents(work, safe, sizeof safe);
        if (vsnprintf(text, sizeof text, safe, *args) < 0)
            text[0] = 0;
    } else {
        copy_cut(text, work, sizeof text);
    }
    text[sizeof text - 1] = 0;
    made.errnum = number;
    memcpy(made.errmess, text, strlen(text) + 1);
    expand_tokens(made.errmess, sizeof made.errmess);
    return &made;
}

}  // namespace

void error_register_table(const error_entry *table, error_link *link)
{
    link->table = table;
    link->next = chain;
    chain = link;
}

void error_clear_tables() { chain = nullptr; }

void error_register_toolkit_table() { error_register_table(toolkit_table, &toolkit_link); }

const char *error_template(int number)
{
    for (const error_link *l = chain; l; l = l->next)
        for (const error_entry *e = l->table; e->number != 0; e++)
            if (e->number == number)
                return e->text;
    return "{ENOE}";
}

const error_block *make_error(int number, ...)
{
    va_list args;
    va_start(args, number);
    const error_block *e = build(number, error_template(number), &args);
    va_end(args);
    return e;
}

const error_block *make_error0(int number)
{
    return build(number, error_template(number), nullptr);
}

const error_block *make_error_text(int number, const char *template_text, ...)
{
    va_list args;
    va_start(args, template_text);
    const error_block *e = build(number, template_text, &args);
    va_end(args);
    return e;
}

error_block *os_error_record() { return &from_os; }
