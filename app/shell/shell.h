// The main program's shell: the main window and its three children, the
// commands, the searches' job pattern and the solutions pane. One header
// for the shell's own files; nothing outside app/shell includes it.
#pragma once
#include <cstdint>

#include "toolkit/drawing/fonts.h"
#include "toolkit/events/handles.h"

struct error_block;
struct mouse_block;
struct window_state;
struct HFONT__;
typedef HFONT__ *HFONT;

// Template numbers of the program's windows.
enum : int {
    TEMPLATE_MAIN = 256, TEMPLATE_SOLUTIONS = 257, TEMPLATE_GRID = 258, TEMPLATE_GRIDSIZE = 259,
    TEMPLATE_NEWDICT = 260, TEMPLATE_EDIT = 261, TEMPLATE_CHECK = 262, TEMPLATE_PANE = 263,
    TEMPLATE_BUTTONS = 264, TEMPLATE_CUSTOM = 265, TEMPLATE_CHOICES = 266, TEMPLATE_BUTTONS1 = 267,
    TEMPLATE_BUTTONS2 = 268, TEMPLATE_CUSTOMW = 269,
};

// Menu tags.
enum : int {
    MENU_MAIN = 1, MENU_FILE = 2, MENU_WORDS = 3, MENU_GRID = 4, MENU_HELP = 5, MENU_REFLECT = 6,
    MENU_DICTIONARY = 7, MENU_DICT = 8, MENU_DICT_SUB = 9, MENU_GRIDTYPE = 10,
};

// Controls of the button bars.
enum : int {
    BAR_SOLVE = 1001, BAR_ANAGRAM = 1002, BAR_NEW = 1003, BAR_DELETE = 1004, BAR_ANAGRAM_TEXT = 1007,
    BAR_MARKED_LENGTH = 1008, BAR_COUNT = 1020, BAR_STOP = 1021, BAR_MAKE = 1025,
    BAR_WORDSQUARE_SOLVE = 1026, BAR_WORD = 1027,
};

// The windows, 0 while not open.
extern HWND main_window;
extern HWND grid_pane;
extern HWND solutions_pane;
extern HWND button_bar;

// Start-up (main_win.cpp): the locale, the toolkit task, the program's
// tables, the subsystems and the main window. An error means the program
// cannot go on (the task or the main window failed).
const error_block *shell_start_up();

// The main window (main_window_win.cpp).
const error_block *open_main_window();
[[noreturn]] void close_down();
int confirm_quit();
int confirm_quit_dictionaries();   // after confirm_quit, when quitting
void set_title();
void layout_main_window(const window_state *visible);
void layout_now();
void fit_window_to_grid();
// The grid's user-interface hooks that belong to the shell.
void shell_install_grid_hooks();

// Commands (commands_win.cpp).
const error_block *menu_select(const int *path, HWND window);
const error_block *menu_preopen(const int *path, HMENU menu, HWND window);
const error_block *bar_click(HWND window, void *value, mouse_block *mouse);
const error_block *bar_key(HWND window, void *value, int caret_icon, int *key);
const error_block *command_open_path(const char *path);
const error_block *command_save();
const error_block *command_quit();
const error_block *command_help();
const error_block *command_set_grid_type(int type);

// The Grid Size dialogue (gridsize_win.cpp).
const error_block *open_grid_size_dialog();
HWND grid_size_dialog();

// The Spell Check window (spell_check_win.cpp): Words > Spell Check, and
// the window, its list pane and the list's selected row (-1 none) while open.
const error_block *command_spell_check();
HWND spell_check_window();
HWND spell_check_list();
int spell_check_selected_row();

// The dictionary menu (dictionary_menu_win.cpp).
void dictionary_menu_build();
void dictionary_menu_attach();
const error_block *dictionary_menu_choice(const int *path);
void dictionary_menu_tick(int through_entry);
void shell_install_dictionary_hooks();

// The Edit Dictionary window (edit_dictionary_win.cpp).
const error_block *open_edit_window(int slot);
struct edit_window_view {
    HWND window, pane;           // 0 while closed
    int selected, focus;         // word numbers, -1 none
    int row_height;              // OS units
};
edit_window_view edit_window_state();
void edit_window_slots_changed();   // after the slots or their words changed elsewhere

// The job pattern and the button bars (solve_control_win.cpp).
const error_block *swap_button_bar(int solving);
const error_block *create_button_bar(int solving);
void show_progress(int count);
const error_block *start_solve();
const error_block *start_anagram();
const error_block *start_wordsquare_solve();
const error_block *start_wordsquare_new();
const error_block *start_wordsquare_make();
int job_running();
int jobs_ended();            // jobs that have run to their end since start-up
extern char anagram_text[32];

// The solutions pane (solutions_pane_win.cpp).
const error_block *solutions_pane_register();
void pane_scroll_home();
void pane_set_extent();
void pane_redraw();
void pane_refresh();
void pane_layout_one_column();
void pane_layout_for_parts();
const error_block *list_delete_selected();
const error_block *list_add_typed_word();

// The user's choices (choices_win.cpp): read at start-up from the per-user
// choices file, written by Save in the Choices window. The divider
// position is grid.split_fraction.
struct shell_choices {
    font_spec dictionary_font;   // the Edit Dictionary and Spell Check word lists
    font_spec solutions_font;    // the solutions pane
    uint32_t cursor_colour;      // colour word
    uint32_t selected_colour;    // colour word
    int32_t maximum_solutions;   // 20 to 1000000
};
extern shell_choices choices;
shell_choices choices_built_in();
struct solutions_metrics {
    int line_height, char_height, ascent, char_width;   // OS units
};
extern solutions_metrics metrics;
// The folder of the choices files (a path that may hold a registry
// reference), ending in a separator; tests point it elsewhere.
extern const char *choices_folder;
void read_choices();
const error_block *write_choices();
void update_metrics();
// A screen font made from a font record for `dc` (the caller deletes it).
HFONT choices_make_font(const font_spec &font, HDC dc);
