// A toolkit window with a menu bar and an open pop-up menu, held on the
// screen until a screenshot has been taken.
//
//   events_shot MARKER_DIR
//
// Writes MARKER_DIR\ready once the pop-up menu is up, waits for
// MARKER_DIR\done, then closes the menu and ends with status 0.
#include <windows.h>
#include <cstdio>

#include "toolkit/events/events.h"
#include "toolkit/events/menus.h"
#include "toolkit/events/templates.h"
#include "toolkit/events/window.h"
#include "toolkit/messages/error.h"

namespace {

char ready[MAX_PATH], done[MAX_PATH];
HWND window;
UINT_PTR watcher;

template_entry templates[] = {{303, 0, nullptr, "shot"}, {0, 0, nullptr, nullptr}};
template_link template_chain;

menu_record menus[] = {
    {1, "TestBar", nullptr, 0, 0, 0, 0, 0, nullptr, nullptr},
    {2, nullptr, nullptr, 0, 0, 1, 0, 0, nullptr, nullptr},
    {8, "TestPop", nullptr, 0, 0, 0, 0, 0, nullptr, nullptr},
    {9, nullptr, nullptr, 0, 0, 8, 0, 0, nullptr, nullptr},
    {-1, nullptr, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr},
};
menu_link menu_chain;

// Runs inside the pop-up menu's own message loop.
void CALLBACK watch(HWND, UINT, UINT_PTR, DWORD)
{
    static int ticks = 0;
    if (++ticks == 5) {
        FILE *f = fopen(ready, "w");
        if (f)
            fclose(f);
    }
    if (GetFileAttributesA(done) != INVALID_FILE_ATTRIBUTES || ticks > 600) {
        KillTimer(nullptr, watcher);
        EndMenu();
    }
}

const error_block *pop_up(void *)
{
    window_state s;
    window_get_state(window, &s);
    SetCursorPos(screen_px_x(s.x0) + 60, screen_px_y(s.y1) + 90);
    watcher = SetTimer(nullptr, 0, 100, watch);
    const error_block *e = menu_popup(window, 9);
    task_quit(0);
    return e;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    snprintf(ready, sizeof ready, "%s\\ready", argv[1]);
    snprintf(done, sizeof done, "%s\\done", argv[1]);
    const error_block *e = inittask("Quillmere", "Quillmere", "!Quillmere", nullptr, nullptr);
    if (!e)
        e = template_register(templates, &template_chain);
    if (!e)
        e = menu_register(menus, &menu_chain);
    if (!e)
        e = window_create(303, nullptr, nullptr, &window);
    if (!e)
        e = menu_set_bar(window, 1);
    if (!e)
        menu_tick(9, 201, 1);
    if (!e) {
        window_state s = {window, 180, 540, 900, 1080, 0, 0, BEHIND_TOP, 0};
        e = window_open(&s);
    }
    if (!e)
        e = call_after(pop_up, nullptr, 30);
    if (e) {
        fprintf(stderr, "%s\n", e->errmess);
        return 1;
    }
    poll_loop();
}
