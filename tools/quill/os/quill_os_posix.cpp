// POSIX: standard streams are already binary.
#include "tools/quill/quill_os.h"

void quill_os_init() {}
