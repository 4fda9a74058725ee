// The install wizard's frame, pages and their modal loop.
#pragma once

#include "installer/install_error.h"

enum page_result { page_none, page_back, page_retry };

// Registers the class "Install" and opens the frame; false when the class
// could not be registered (the message has been shown).
bool wizard_open(void *instance);
// Runs the pages in order and the install steps; returns when done.
void wizard_run();
