// The "abx" control's painting, shared by its window procedure and its
// tests.
#pragma once
#include <windows.h>
#include <string>

// Private messages of the control.
enum : UINT {
    ABXM_SET_COMMAND = WM_USER + 0x300,  // wparam letter, lparam text: 1 when the command was there
    ABXM_GET_VALIDATION,                 // lparam std::string*: the whole string
};
// The auto-repeat timer's identifier.
const UINT_PTR abx_repeat_timer = 1;

// The background pass: fills `r` with the `k` colour at each `F` while the
// conditions allow; true when something was filled.
bool abx_erase(const std::string &validation, int state, HDC dc, const RECT &r);
// The drawing pass over every command, then the focus rectangle.
void abx_draw(const std::string &validation, int state, HDC dc, const RECT &r, HFONT font);
