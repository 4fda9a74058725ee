// The program's entry: start-up, the grid named on the command line, and
// the endless poll loop.
#include <windows.h>

#include "app/shell/shell.h"
#include "toolkit/events/events.h"
#include "toolkit/messages/report.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (const error_block *e = shell_start_up()) {
        report_error(e);
        close_down();
    }
    if (__argc == 2)
        report_error(command_open_path(__argv[1]));
    poll_loop();
}
