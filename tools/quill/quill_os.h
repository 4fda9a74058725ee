// Platform set-up for quill: binary standard output on Windows.
#pragma once
void quill_os_init();
