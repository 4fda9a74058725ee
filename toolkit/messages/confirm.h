// The confirm window: a question with two or three answers, made from
// template 1 ("Confirm"), modal to its owner. Windows build only.
#pragma once

struct error_block;

// Kinds: 0 No/Yes, 1 Discard/Cancel, 2 Discard/Cancel/Save; bit 31 is the
// force bit (ask even while `doconfirm` is 0). The answer in `result` is 1
// (Yes, Discard in kind 1, Save), 0 (No, Discard in kind 2) or -1 (Cancel,
// Escape, closing; also when a confirm window is already open).
const int CONFIRM_FORCE = (int)0x80000000u;
const error_block *confirm(void *owner, int kind, int *result, const char *template_text, ...);

// The confirm window while one is open, else null (a Windows HWND).
void *confirm_window();
