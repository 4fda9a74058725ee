// The "abx" control: a control whose caption is a validation string, a
// short program of backslash commands saying what it draws, which pointer
// it shows and how it reports the mouse to its parent window.
//
//   "\E3\V\C\sText"   a sunken border, then "Text" centred in what is left
//   "\k-1\F\KR1"      no fill colour; a click is reported on release
//
// Each command is a backslash, one letter and a value running to the next
// single backslash; a doubled backslash in a value stands for one. Text
// before the first backslash is the value of `s`. The control's text (the
// platform's text messages) is the value of `s`; its check state is the
// selected state bit.
#pragma once
#include <cstdint>
#include <string>

#include "toolkit/events/handles.h"

struct error_block;

// State bits, held in the control's extra window word.
enum : int { ABX_FOCUS = 1, ABX_PRESSED = 2, ABX_SELECTED = 4, ABX_DISABLED = 16 };

// Validation strings (no platform calls).
// The value of the first occurrence of command `letter`, backslashes
// undoubled; false (and `value` empty) when the string has none.
bool abx_read_command(const std::string &validation, char letter, std::string *value);
// Replaces the value of the first occurrence (backslashes in `value` are
// doubled); false, and the string unchanged, when the command is absent.
bool abx_write_command(std::string *validation, char letter, const std::string &value);

// The command-replacing operations on a control: the value of `letter` in
// the string of icon `icon` of `window` becomes `value` and the control is
// repainted. A missing icon is the platform's error; an icon that is not an
// "abx" control, or a string without the command, is left as it is.
const error_block *abx_set_command(HWND window, int icon, char letter, const char *value);
// As above with a toolkit colour written as "0x%x" (for `g` and `k`).
const error_block *abx_set_colour(HWND window, int icon, char letter, uint32_t colour);
// The whole validation string of a control.
const error_block *abx_get_validation(HWND window, int icon, std::string *validation);

// Image lists for the `l` command: list number `number` is `list` (a
// platform image list handle; null removes it).
void abx_set_image_list(int number, void *list);
