// Windows half of the message boxes: task-modal platform message boxes
// with the task title as caption.
#include <windows.h>
#include <cstdlib>

#include "toolkit/messages/messages.h"
#include "toolkit/messages/report.h"

int platform_show_box(void *owner, int icon, int buttons, const char *text)
{
    static const UINT icons[] = {0, MB_ICONEXCLAMATION, MB_ICONINFORMATION, MB_ICONQUESTION, MB_ICONSTOP};
    static const UINT kinds[] = {MB_OK, MB_OKCANCEL, MB_YESNO, MB_YESNOCANCEL};
    UINT style = (icon >= 1 && icon <= 4 ? icons[icon] : 0) | kinds[buttons & 3];
    if (!owner)
        style |= MB_TASKMODAL;
    switch (MessageBoxA(static_cast<HWND>(owner), text, task_title(), style)) {
    case IDCANCEL: return 1;
    case IDOK: return 2;
    case IDYES: return 3;
    case IDNO: return 4;
    default: return 0;
    }
}

void platform_exit(int status) { exit(status); }
