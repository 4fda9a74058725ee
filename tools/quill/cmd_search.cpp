// quill's search commands (added as the engine grows).
#include "tools/quill/quill.h"

void add_search_commands(CLI::App &app) { (void)app; }
