// Showing errors and messages: the portable half. Texts are prepared here;
// the platform half shows the box (a message box on Windows, standard
// error natively). Tests answer boxes through `message_box_answer`.
#include "toolkit/messages/report.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "toolkit/messages/error.h"
#include "toolkit/messages/messages.h"

int doconfirm = 1;
int error_boxes_open = 0;
box_answer_hook message_box_answer = nullptr;
void (*task_exit_handler)() = nullptr;

void set_doconfirm(int value) { doconfirm = value; }

// Template copied (256), tokens expanded, formatted (size). The result is
// not expanded again: a message box shows its arguments (file names, say)
// as they are, braces and all.
void format_box_text(char *out, int size, const char *template_text, va_list args)
{
    char work[256];
    xzstrncpy(work, template_text, sizeof work);
    expand_tokens(work, sizeof work);
    char safe[2 * sizeof work];
    protect_percents(work, safe, sizeof safe);
    if (vsnprintf(out, size, safe, args) < 0)
        out[0] = 0;
    out[size - 1] = 0;
}

static int show(void *owner, int icon, int buttons, const char *text)
{
    if (message_box_answer)
        return message_box_answer(icon, buttons, text);
    return platform_show_box(owner, icon, buttons, text);
}

static void show_error_text(int icon, const char *text)
{
    error_boxes_open++;
    show(nullptr, icon, 0, text);
    error_boxes_open--;
}

void report_error(const error_block *error)
{
    if (!error || error->errnum == EREP)
        return;
    show_error_text(4, error->errmess);
}

void report_message(int severity, const char *template_text, ...)
{
    char text[252];
    va_list args;
    va_start(args, template_text);
    format_box_text(text, sizeof text, template_text, args);
    va_end(args);
    expand_tokens(text, sizeof text);   // like an error: arguments may carry references
    show_error_text(severity == 2 ? 1 : 4, text);
    if (severity == 1) {
        if (task_exit_handler)
            task_exit_handler();
        platform_exit(1);
    }
}

void report_string(const char *text) { show_error_text(4, text); }

void report_string_and_exit(const char *text)
{
    show_error_text(4, text);
    if (task_exit_handler)
        task_exit_handler();
    platform_exit(1);
}

void report_error_and_exit(const error_block *error)
{
    report_error(error);
    if (task_exit_handler)
        task_exit_handler();
    platform_exit(1);
}

const error_block *message_box(void *owner, int code, int *result, const char *template_text, ...)
{
    char text[256];
    va_list args;
    va_start(args, template_text);
    format_box_text(text, sizeof text, template_text, args);
    va_end(args);
    int icon = (code >> 16) & 0xFF;
    int buttons = code & 0xFFFF;
    if (buttons > 3)
        buttons = 0;
    int answer = show(owner, icon, buttons, text);
    if (result)
        *result = answer;
    return nullptr;
}
