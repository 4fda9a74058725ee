// quill's grid commands (added as the engine grows).
#include "tools/quill/quill.h"

void add_grid_commands(CLI::App &app) { (void)app; }
