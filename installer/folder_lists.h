// The folder lists of the Group page and the Choose Directory dialog:
// owner-drawn list boxes whose items carry their small shell icon.
#pragma once

#include <windows.h>

// The subfolders of the user's Start-menu programs folder, sorted by name
// without regard to case (hidden and system folders left out).
void fill_start_menu_folders(HWND list);

BOOL measure_folder_item(HWND dialog, MEASUREITEMSTRUCT *item);
BOOL draw_folder_item(DRAWITEMSTRUCT *item);
BOOL delete_folder_item(DELETEITEMSTRUCT *item);

// The Choose Directory dialog; true with the chosen folder in path (261
// bytes) after OK.
bool choose_directory(HINSTANCE instance, HWND owner, char *path);
