// Windows: standard output in binary mode, so output compared byte for
// byte gets no CR before LF from the C runtime.
#include <fcntl.h>
#include <io.h>
#include <cstdio>

#include "tools/quill/quill_os.h"

void quill_os_init()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
}

bool quill_stderr_is_terminal() { return _isatty(_fileno(stderr)) != 0; }
