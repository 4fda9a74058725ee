// Showing messages to the user: the error box, the general message box and
// the confirm window's switch. In the Windows build these are the
// platform's message boxes; natively they write to standard error.
#pragma once

#include <cstdarg>

struct error_block;

// Shows the error unless it is null or already reported (number 23).
void report_error(const error_block *error);
// severity 0: error box; 1: box then exit(1); 2: exclamation box.
void report_message(int severity, const char *template_text, ...);
void report_string(const char *text);
[[noreturn]] void report_string_and_exit(const char *text);
[[noreturn]] void report_error_and_exit(const error_block *error);

// Code bits 16-23 choose the icon (1 exclamation, 2 information, 3
// question, 4 stop), bits 0-15 the buttons (0 OK, 1 OK/Cancel, 2 Yes/No,
// 3 Yes/No/Cancel). Result: 1 Cancel, 2 OK, 3 Yes, 4 No, 0 otherwise.
const error_block *message_box(void *owner, int code, int *result, const char *template_text, ...);

// The confirm switch: while 0, confirm requests without the force bit are
// answered at once without a window.
extern int doconfirm;
void set_doconfirm(int value);

// How many error boxes are open now.
extern int error_boxes_open;

// Tests and the command-line front end answer boxes without showing them:
// when set, every box calls this with its icon code, button code and text
// and takes the returned answer (in message_box's result numbering).
typedef int (*box_answer_hook)(int icon, int buttons, const char *text);
extern box_answer_hook message_box_answer;

// Formatting shared by both platform halves: the message text of a box.
void format_box_text(char *out, int size, const char *template_text, va_list args);

// Platform half: shows one box and returns the answer (result numbering).
int platform_show_box(void *owner, int icon, int buttons, const char *text);
// Platform half: ends the program after a fatal report.
[[noreturn]] void platform_exit(int status);

// Run before the program ends after a fatal report (set by the task).
extern void (*task_exit_handler)();
