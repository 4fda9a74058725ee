// POSIX: standard streams are already binary.
#include "tools/quill/quill_os.h"

#include <unistd.h>

void quill_os_init() {}

bool quill_stderr_is_terminal() { return isatty(2) != 0; }
