// quill's entry point: one CLI11 application; each group of commands is
// added by its own file.
#include <cstdio>
#include <cstring>

#include "tools/quill/quill.h"
#include "tools/quill/quill_os.h"

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
    CLI::App app{"quill: command-line front end to the Quillmere puzzle engine"};
    app.require_subcommand(1);
    add_grid_commands(app);
    add_dict_commands(app);
    add_search_commands(app);
    add_wordsquare_commands(app);
    CLI11_PARSE(app, argc, argv);
    fflush(stdout);
    return quill_exit;
}
