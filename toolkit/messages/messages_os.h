// What each platform half of the messages module provides.
#pragma once

// Finds a resource of type "MESSAGES" with the given name in a module
// (null: the program itself). False when there is none (always natively).
bool messages_find_resource(void *module, const char *name, const char **bytes, int *length);

// Rewrites a path in place for the platform's C library (natively a
// backslash becomes a slash).
void messages_native_path(char *path);
