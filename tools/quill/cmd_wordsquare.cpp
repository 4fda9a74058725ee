// quill's wordsquare commands (added as the engine grows).
#include "tools/quill/quill.h"

void add_wordsquare_commands(CLI::App &app) { (void)app; }
