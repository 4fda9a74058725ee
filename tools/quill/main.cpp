// quill's entry point: one CLI11 application; each group of commands is
// added by its own file.
#include <cstdio>
#include <cstring>

#include "app/grid/app_errors.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/messages.h"
#include "tools/quill/quill.h"
#include "tools/quill/quill_os.h"

extern const unsigned char quill_messages[];
extern const int quill_messages_length;

int quill_exit = 0;

void quill_write(const char *bytes, size_t length) { fwrite(bytes, 1, length, stdout); }

void quill_print_line(const char *text)
{
    quill_write(text, strlen(text));
    quill_write("\n", 1);
}

int main(int argc, char **argv)
{
    quill_os_init();
    error_register_toolkit_table();
    app_errors_register();
    addtrans_bytes(reinterpret_cast<const char *>(quill_messages), quill_messages_length);
    CLI::App app{"quill: command-line front end to the Quillmere puzzle engine"};
    // CLI11 reads "/x" as an option on Windows by default: paths such as
    // "/data/Main.dic" must stay arguments. Set before the subcommands are
    // added, which copy the setting.
    app.allow_windows_style_options(false);
    app.set_version_flag("--version", "quill " QUILL_VERSION);
    app.require_subcommand(1);
    add_grid_commands(app);
    add_dict_commands(app);
    add_search_commands(app);
    add_wordsquare_commands(app);
    add_spell_commands(app);
    add_autofill_commands(app);
    add_export_commands(app);
    CLI11_PARSE(app, argc, argv);
    fflush(stdout);
    return quill_exit;
}
