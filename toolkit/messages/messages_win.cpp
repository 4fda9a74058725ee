// Windows half of the messages module: message files held as resources of
// type "MESSAGES".
#include <windows.h>

#include "toolkit/messages/messages_os.h"

bool messages_find_resource(void *module, const char *name, const char **bytes, int *length)
{
    HMODULE m = static_cast<HMODULE>(module);
    HRSRC found = FindResourceA(m, name, "MESSAGES");
    if (!found)
        return false;
    HGLOBAL loaded = LoadResource(m, found);
    const void *p = loaded ? LockResource(loaded) : nullptr;
    if (!p)
        return false;
    *bytes = static_cast<const char *>(p);
    *length = static_cast<int>(SizeofResource(m, found));
    return true;
}

void messages_native_path(char *) {}
