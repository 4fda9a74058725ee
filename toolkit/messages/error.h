// The toolkit's error record and the chain of numbered error tables.
//
// Every fallible operation returns `const error_block *`: null on success,
// otherwise one of the toolkit's static records. A producer overwrites its
// record on every call, so show or copy a returned error before the next
// call that can fail. Never free one.
#pragma once
#include <cstdint>

struct error_block {
    int32_t errnum;      // error number; 23 means "already reported"
    char errmess[252];   // NUL-terminated message text
};

const int EREP = 23;     // the failure has already been shown to the user

// One entry of an error table; a table ends with an entry whose number is 0.
struct error_entry {
    int32_t number;
    const char *text;    // template: may hold {TOKEN}s and printf directives
};

// Link node for the chain; the caller provides it and keeps it alive.
struct error_link {
    error_link *next;
    const error_entry *table;
};

void error_register_table(const error_entry *table, error_link *link);
void error_clear_tables();
void error_register_toolkit_table();

// The template for an error number: the newest table's entry wins; "{ENOE}"
// when no table has the number.
const char *error_template(int number);

// Builds the error record for a number from the tables, formatted with the
// arguments (printf conventions); tokens are expanded before and after
// formatting, so an argument may carry {TOKEN} references too.
const error_block *make_error(int number, ...);
// As make_error, without formatting.
const error_block *make_error0(int number);
// As make_error, with a literal template in place of the table lookup.
const error_block *make_error_text(int number, const char *template_text, ...);

// The second static record, for failing platform calls (built by the file
// layer's wrappers).
error_block *os_error_record();
