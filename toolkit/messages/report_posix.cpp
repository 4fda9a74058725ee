// Native half of the message boxes: the text goes to standard error, and
// the box is answered as its default button would be (OK, or Yes).
#include <cstdio>
#include <cstdlib>

#include "toolkit/messages/messages.h"
#include "toolkit/messages/report.h"

int platform_show_box(void *, int, int buttons, const char *text)
{
    const char *title = task_title();
    fprintf(stderr, "%s%s%s\n", title, *title ? ": " : "", text);
    return buttons >= 2 ? 3 : 2;
}

void platform_exit(int status) { exit(status); }
