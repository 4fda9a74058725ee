// Platform set-up for quill: binary standard output on Windows.
#pragma once
void quill_os_init();
// Whether standard error is a terminal (progress lines go there only then).
bool quill_stderr_is_terminal();
