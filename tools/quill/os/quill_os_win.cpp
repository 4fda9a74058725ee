// Windows: standard output in binary mode, so output compared byte for
// byte gets no CR before LF from the C runtime; metafile pictures through
// the main program's writers.
#include <fcntl.h>
#include <io.h>
#include <cstdio>

#include "app/grid/picture.h"
#include "tools/quill/quill_os.h"

void quill_os_init()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
}

bool quill_stderr_is_terminal() { return _isatty(_fileno(stderr)) != 0; }
bool quill_has_metafiles() { return true; }

const error_block *quill_save_metafile(const char *path, bool enhanced, bool placeable)
{
    if (enhanced)
        return save_enhanced_metafile(path);
    return placeable ? save_placeable_metafile(path) : save_metafile(path);
}
