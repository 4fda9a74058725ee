// A window of "abx" controls with the validation strings the program's
// templates use, held on the screen until a screenshot has been taken.
// Before it says it is ready it reads the screen back and checks what the
// controls show: the sprite button's triangle, the greyed copy, the link's
// colour, the swatch's fill and the text set into the field.
//
//   abx_shot MARKER_DIR
//
// Writes MARKER_DIR\ready, waits for MARKER_DIR\done, then ends with 0 when
// every check held (the failures are printed) and 1 otherwise.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "tests/drawing/drawing_test_util.h"
#include "toolkit/events/abx.h"
#include "toolkit/events/events.h"
#include "toolkit/events/templates.h"
#include "toolkit/events/window.h"
#include "toolkit/messages/error.h"

namespace {

char ready[MAX_PATH], done[MAX_PATH];
HWND window;
int failures = 0;

template_entry templates[] = {{304, 0, nullptr, "abxshot"}, {0, 0, nullptr, nullptr}};
template_link template_chain;

void check(bool ok, const char *what)
{
    if (!ok) {
        fprintf(stderr, "check failed: %s\n", what);
        failures++;
    }
}

// The control as the screen shows it.
struct shown {
    RECT r;
    test_bitmap *b;
    explicit shown(int icon)
    {
        HWND c = GetDlgItem(window, icon);
        GetClientRect(c, &r);
        b = new test_bitmap(r.right, r.bottom);
        b->copy_from(c);
    }
    ~shown() { delete b; }
};

void check_screen()
{
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    {
        shown s(406);
        check(s.b->count_of(RGB(0, 0, 0)) == 56, "the sprite button shows the 56 pixels of rindent");
        RECT t = s.b->box_of(RGB(0, 0, 0));
        check(t.right - t.left == 7 && t.bottom - t.top == 14, "the triangle is 7 by 14");
        check(std::abs((t.left + t.right) - s.r.right) <= 2 && std::abs((t.top + t.bottom) - s.r.bottom) <= 2,
              "the triangle is centred");
    }
    {
        shown s(407);
        check(s.b->count_of(RGB(0, 0, 0)) == 0, "the disabled sprite button has no black");
    }
    {
        shown s(408);
        check(s.b->count_of(RGB(0, 0, 255)) > 40, "the link is drawn in its blue");
    }
    {
        shown s(405);
        check(s.b->count_of(RGB(0xDD, 0, 0)) == s.r.right * s.r.bottom, "the coloured swatch is filled");
        shown t(404);
        check(t.b->count_of(face) == t.r.right * t.r.bottom, "the swatch without a colour shows the window");
    }
    {
        shown s(401);
        check(s.b->count_of(GetSysColor(COLOR_MENUTEXT)) > 30, "the field shows its text");
    }
}

const error_block *wait_done(void *)
{
    if (GetFileAttributesA(done) != INVALID_FILE_ATTRIBUTES) {
        task_quit(failures ? 1 : 0);
        return nullptr;
    }
    return call_after(wait_done, nullptr, 10);
}

const error_block *settled(void *)
{
    UpdateWindow(window);
    check_screen();
    FILE *f = fopen(ready, "w");
    if (f)
        fclose(f);
    return call_after(wait_done, nullptr, 10);
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
        e = window_create(304, nullptr, nullptr, &window);
    if (!e)
        e = icon_set_text(window, 401, "1234 solutions");
    if (!e)
        e = abx_set_colour(window, 405, 'k', 0x0000DD01u);   // red DD
    if (!e)
        e = icon_select(window, 410, 1);
    if (!e) {
        window_state s = {window, 180, 360, 180 + 900, 360 + 720, 0, 0, BEHIND_TOP, 0};
        e = window_open(&s);
    }
    if (!e)
        e = caret_set(window, 413, 0, 0);
    if (!e)
        e = call_after(settled, nullptr, 50);
    if (e) {
        fprintf(stderr, "%s\n", e->errmess);
        return 1;
    }
    poll_loop();
}
