// The message file and {TOKEN} expansion.
//
// Message files hold `TOKEN:text` lines; every user-visible string may
// refer to a token as {TOKEN}. Loaded files live in one flex block, in load
// order, as (token NUL text NUL) pairs ended by two NUL bytes.
#pragma once

struct error_block;

// Appends a message file: `directory`\`file_name` when a directory is
// given, else the resource of type "MESSAGES" named `file_name` in `module`
// (a Windows HMODULE, null for the program itself; natively there are no
// resources and this gives error 28).
const error_block *addtrans(const char *directory, const char *file_name, void *module);
// Appends message-file bytes held in memory (the common step of both forms).
const error_block *addtrans_bytes(const char *bytes, int length);
// Empties the messages block.
void messages_clear();

// The token's text, or `name` itself when absent or nothing is loaded.
// Valid until the next addtrans.
const char *lookup_token(const char *name);

// Expands {TOKEN} references in place within a buffer of `size` bytes.
void expand_tokens(char *string, int size);

// Copies the template (at most 1024 bytes), expands its tokens, formats it
// with the arguments into `buffer` (cut to size, always terminated), then
// expands tokens in the result. Returns an error only when the copy was cut.
const error_block *format_tokens(int size, char *buffer, const char *template_text, ...);

// Copies `from` into `to` (`size` bytes, always terminated) as a printf
// template that formats to the same text wherever `from` has a '%' that
// opens no conversion (it becomes "%%"), so a message text such as
// "units to %" is safe to format. Cut before a piece that would not fit.
void protect_percents(const char *from, char *to, int size);

// Copies at most size-1 bytes and always terminates; error 30 ("xzstrncpy")
// when the source was longer.
const error_block *xzstrncpy(char *destination, const char *source, int size);

// The task title: the caption of every message box. Empty until set.
void task_set_title(const char *title);
const char *task_title();
