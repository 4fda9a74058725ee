// Platform set-up for quill: binary standard output on Windows; the
// metafile pictures, which only the Windows build can draw.
#pragma once
struct error_block;
void quill_os_init();
// Whether standard error is a terminal (progress lines go there only then).
bool quill_stderr_is_terminal();
// Whether this build writes metafile pictures.
bool quill_has_metafiles();
// An enhanced metafile, or a Windows metafile (placeable or not).
const error_block *quill_save_metafile(const char *path, bool enhanced, bool placeable);
