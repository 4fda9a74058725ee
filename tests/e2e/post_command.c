/* Test helper: sends a menu command to a top-level window, as choosing the
 * menu item would, and waits until the window has handled it.
 *   post_command.exe TITLE-PREFIX COMMAND-ID
 * Exits 0 when the window was found and answered within 60 s. */
#include <windows.h>
#include <stdlib.h>
#include <string.h>

static const char *prefix;
static HWND found;

static BOOL CALLBACK match(HWND window, LPARAM unused)
{
    char title[256];
    (void)unused;
    if (IsWindowVisible(window) && GetWindowTextA(window, title, sizeof title) &&
        strncmp(title, prefix, strlen(prefix)) == 0) {
        found = window;
        return FALSE;
    }
    return TRUE;
}

int main(int argc, char **argv)
{
    DWORD_PTR answer;
    if (argc != 3)
        return 2;
    prefix = argv[1];
    EnumWindows(match, 0);
    if (!found)
        return 1;
    if (!SendMessageTimeoutA(found, WM_COMMAND, (WPARAM)atoi(argv[2]), 0, SMTO_NORMAL, 60000, &answer))
        return 1;
    return 0;
}
