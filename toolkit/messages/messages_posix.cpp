// POSIX half of the messages module: no resources; backslashes in paths
// are directory separators.
#include "toolkit/messages/messages_os.h"

bool messages_find_resource(void *, const char *, const char **, int *) { return false; }

void messages_native_path(char *path)
{
    for (; *path; path++)
        if (*path == '\\')
            *path = '/';
}
