// quill's entry point: one CLI11 application; each group of commands is
// added by its own file. A call that names a known command builds only
// that command's group: setting up every command's options costs more than
// a one-word search, and the group's own parse is the same either way.
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

namespace {

struct CommandGroup {
    void (*add)(CLI::App &app);   // adds the group's commands
    const char *commands;         // their names, each followed by a space
};

const CommandGroup kGroups[] = {
    {add_grid_commands, "grid "},
    {add_dict_commands, "dict "},
    {add_search_commands, "solve fill anagram "},
    {add_wordsquare_commands, "wordsquare "},
    {add_spell_commands, "spell suggest "},
    {add_autofill_commands, "autofill "},
    {add_export_commands, "clues picture "},
};

// The group holding the command `word`, or null (an option, an unknown
// command, none at all: then every group is added, for help and errors).
const CommandGroup *group_of(const char *word)
{
    size_t length = strlen(word);
    if (length == 0 || strchr(word, ' '))
        return nullptr;
    for (const CommandGroup &g : kGroups)
        for (const char *at = strstr(g.commands, word); at; at = strstr(at + 1, word))
            if ((at == g.commands || at[-1] == ' ') && at[length] == ' ')
                return &g;
    return nullptr;
}

}  // namespace

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
    if (const CommandGroup *only = argc > 1 ? group_of(argv[1]) : nullptr)
        only->add(app);
    else
        for (const CommandGroup &g : kGroups)
            g.add(app);
    CLI11_PARSE(app, argc, argv);
    fflush(stdout);
    return quill_exit;
}
