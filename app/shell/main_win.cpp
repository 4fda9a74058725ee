// The start-up sequence, the tables it registers and the close-down.
// Everything after start-up happens in handlers that the toolkit's poll
// loop calls.
#include <windows.h>
#include <commctrl.h>
#include <clocale>
#include <cstdlib>

#include "app/dictionary/dictionary_set.h"
#include "app/grid/app_errors.h"
#include "app/grid/grid.h"
#include "app/grid/grid_document.h"
#include "app/grid/grid_pane.h"
#include "app/shell/shell.h"
#include "toolkit/events/events.h"
#include "toolkit/events/menus.h"
#include "toolkit/events/templates.h"
#include "toolkit/files/filetypes.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/log.h"
#include "toolkit/messages/report.h"

namespace {

template_entry templates[] = {
    {1, 1, nullptr, "Confirm"},     {3, 1, nullptr, "Info"},
    {256, 0, nullptr, "main"},      {257, 0, nullptr, "solutions"},
    {258, 0, nullptr, "grid"},      {259, 0, nullptr, "gridsize"},
    {260, 0, nullptr, "newdict"},   {261, 0, nullptr, "edit"},
    {262, 0, nullptr, "check"},     {263, 0, nullptr, "pane"},
    {264, 0, nullptr, "buttons"},   {265, 0, nullptr, "custom"},
    {266, 0, nullptr, "choices"},   {267, 0, nullptr, "buttons1"},
    {268, 0, nullptr, "buttons2"},  {269, 0, nullptr, "customw"},
    {0, 0, nullptr, nullptr},
};
template_link templates_link;

// Parents come before their submenus: registration takes a submenu's
// handle from its parent.
menu_record menus[] = {
    {MENU_MAIN, "Main", nullptr, 0, 0, 0, 0, 0, menu_select, menu_preopen},
    {MENU_FILE, nullptr, nullptr, 0, 0, MENU_MAIN, 0, 0, nullptr, nullptr},
    {MENU_WORDS, nullptr, nullptr, 0, 0, MENU_MAIN, 1, 0, nullptr, nullptr},
    {MENU_GRID, nullptr, nullptr, 0, 0, MENU_MAIN, 2, 0, nullptr, nullptr},
    {MENU_HELP, nullptr, nullptr, 0, 0, MENU_MAIN, 3, 0, nullptr, nullptr},
    {MENU_REFLECT, nullptr, nullptr, 0, 0, MENU_GRID, 2, 0, nullptr, nullptr},
    {MENU_DICTIONARY, nullptr, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr},
    {MENU_DICT, "Dict", nullptr, 0, 0, 0, 0, 0, nullptr, nullptr},
    {MENU_DICT_SUB, nullptr, nullptr, 0, 0, MENU_DICT, 0, 0, nullptr, nullptr},
    {MENU_GRIDTYPE, nullptr, nullptr, 0, 0, MENU_GRID, 0, 0, nullptr, nullptr},
    {-1, nullptr, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr},
};
menu_link menus_link;

filetype_link filetypes_link;

const error_block *on_quit(user_message *, int *)
{
    close_down();
}

// Step 3 to 5: each only while the previous ones succeeded.
const error_block *register_and_initialise()
{
    app_errors_register();
    const error_block *e = template_register(templates, &templates_link);
    if (!e)
        e = menu_register(menus, &menus_link);
    if (!e)
        filetype_register(quillmere_filetypes, &filetypes_link);
    if (!e)
        e = register_user_message(on_quit, MESSAGE_QUIT);
    if (!e) {
        shell_install_grid_hooks();
        grid_pane_install_hooks();
        dictionary_set_install_grid_hooks();
        shell_install_dictionary_hooks();
        dictionary_menu_build();
        e = discover_dictionaries();
    }
    if (!e)
        clear_grid();
    if (!e)
        read_choices();
    if (!e)
        e = load_default_grid();
    return e;
}

}  // namespace

void close_down()
{
    service_call(4, 0, 0);
    exit(0);
}

const error_block *shell_start_up()
{
    setlocale(LC_ALL, ".1252");
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    grid_init();
    if (const error_block *e = inittask("Quillmere", "Quillmere", "!Quillmere", nullptr, nullptr))
        return e;
    if (const error_block *e = register_and_initialise())
        debug_log("start-up: %s", e->errmess);   // dropped: the program goes on with built-in settings
    service_call(3, 0, 0);
    return open_main_window();
}
