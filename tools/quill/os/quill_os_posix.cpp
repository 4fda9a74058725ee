// POSIX: standard streams are already binary; metafiles need the Windows
// drawing layer, so this build has none.
#include "tools/quill/quill_os.h"

#include <unistd.h>

#include "app/grid/app_errors.h"
#include "toolkit/messages/error.h"

void quill_os_init() {}

bool quill_stderr_is_terminal() { return isatty(2) != 0; }

bool quill_has_metafiles() { return false; }

const error_block *quill_save_metafile(const char *, bool, bool)
{
    return make_error_text(ENOTTYPE, "Metafile pictures are written by the Windows build only.");
}
