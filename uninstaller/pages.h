// The uninstaller's frame and pages.
#pragma once

// Registers the class "Uninstall" and opens the frame; false (after saying
// so) when that fails.
bool pages_open(void *instance);
// "Prompt1" then "Prompt2"; Back on the second shows the first again.
void pages_confirm();
// A text shown on the completion page above its message (static 1018).
void pages_set_report(const char *text);
// "Prompt3", the completion page.
void pages_finish();
