// The toolkit's file layer: paths with references, file types, file
// information, buffered streams, whole files, directories, the registry,
// the file dialogues and the platform-call errors.
#pragma once
#include "toolkit/files/paths.h"
#include "toolkit/files/filetypes.h"
#include "toolkit/files/fileinfo.h"
#include "toolkit/files/fileops.h"
#include "toolkit/files/stream.h"
#include "toolkit/files/registry.h"
#include "toolkit/files/dialogs.h"
#include "toolkit/files/files_os.h"
