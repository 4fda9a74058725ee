// install.exe: installs Quillmere from the package held in its own
// resources, through the wizard, or without pages for administrators:
//
//   install.exe /S [/D=DIR] [/G=GROUP] [/DESKTOP]
//
// The silent form runs the same steps and writes the same log; it ends with
// status 0, or 1 with the error's text on standard error.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cstring>

#include "installer/install_log.h"
#include "installer/install_steps.h"
#include "installer/package.h"
#include "installer/wizard.h"

// A GUI program started from a console has no standard error of its own
// on Windows: borrow the parent's console when there is one.
static void print_error(const char *text)
{
    HANDLE out = GetStdHandle(STD_ERROR_HANDLE);
    if (!out || out == INVALID_HANDLE_VALUE) {
        if (AttachConsole(ATTACH_PARENT_PROCESS))
            out = GetStdHandle(STD_ERROR_HANDLE);
    }
    if (!out || out == INVALID_HANDLE_VALUE)
        return;
    DWORD done;
    WriteFile(out, "install: ", 9, &done, nullptr);
    WriteFile(out, text, static_cast<DWORD>(strlen(text)), &done, nullptr);
    WriteFile(out, "\r\n", 2, &done, nullptr);
}

static bool starts_with(const char *text, const char *prefix)
{
    return _strnicmp(text, prefix, strlen(prefix)) == 0;
}

static int silent_install(int argc, char **argv)
{
    default_install_directory(settings.directory);
    for (int i = 2; i < argc; i++) {
        const char *a = argv[i];
        if (starts_with(a, "/D=") && strlen(a + 3) < sizeof settings.directory) {
            strcpy(settings.directory, a + 3);
            size_t n = strlen(settings.directory);
            while (n > 3 && settings.directory[n - 1] == '\\')
                settings.directory[--n] = 0;
        } else if (starts_with(a, "/G=") && strlen(a + 3) < sizeof settings.group) {
            strcpy(settings.group, a + 3);
        } else if (_stricmp(a, "/DESKTOP") == 0) {
            settings.shortcut_flags |= shortcut_desktop;
        } else {
            char text[300];
            snprintf(text, sizeof text,
                     "unknown or too long argument %.200s (usage: install /S [/D=DIR] [/G=GROUP] "
                     "[/DESKTOP])", a);
            print_error(text);
            return 2;
        }
    }
    if (!settings.group[0] || strstr(settings.group, "..") || strchr(settings.group, ':') ||
        settings.group[0] == '\\' || settings.group[0] == '/') {
        print_error("the Start-menu group must be a folder name inside the Start menu");
        return 2;
    }
    log_clear();
    const install_error *e = run_install_steps();
    if (!e)
        e = write_log(settings.directory, "install.log");
    if (e) {
        print_error(e->text);
        return 1;
    }
    return 0;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    bool silent = __argc >= 2 && _stricmp(__argv[1], "/S") == 0;
    if (!silent && !wizard_open(instance))
        return 1;
    CoInitialize(nullptr);
    if (const install_error *e = open_package()) {
        // Nothing can be installed without the package: say so and stop.
        if (silent)
            print_error(e->text);
        else
            MessageBoxA(nullptr, e->text, "Install", MB_OK | MB_ICONERROR);
        return 1;
    }
    if (silent) {
        int status = silent_install(__argc, __argv);
        CoUninitialize();
        return status;
    }
    wizard_run();
    PostQuitMessage(0);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    CoUninitialize();
    return 0;
}
