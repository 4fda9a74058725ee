// The toolkit's debug log: lower-case diagnostic lines, never user messages.
//
// Lines go to the file named by the environment variable QUILLMERE_LOG
// ("-" for standard error); with no such variable they are dropped, in
// both builds.
#pragma once

void debug_log(const char *template_text, ...)
#ifdef __GNUC__
    __attribute__((format(printf, 1, 2)))
#endif
    ;
