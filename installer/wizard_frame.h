// The frame window that the installer's and the uninstaller's pages sit
// in: a dialog of its own class, named like the program ("Install",
// "Uninstall"). Cancel on a page, or closing the frame, asks whether to
// stop; Yes ends the program at once.
#pragma once

#include <windows.h>

struct wizard_frame_texts {
    const char *name;        // the class, the frame's template, the questions' title
    const char *icon;        // the class icon's resource name
    const char *question;    // "Do you want to stop ...?"
};

// Registers the class and creates the (hidden) frame from its template;
// a failure is reported in a message box and gives null.
HWND wizard_frame_open(HINSTANCE instance, const wizard_frame_texts *texts);
// The stop question, owned by `owner`: Yes ends the process with status 1.
void wizard_ask_stop(HWND owner);
