// quill's dict commands (added as the engine grows).
#include "tools/quill/quill.h"

void add_dict_commands(CLI::App &app) { (void)app; }
