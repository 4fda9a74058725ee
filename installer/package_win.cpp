// The package is the installer's own resource PACKAGE of type PACKAGE.
#include <windows.h>

#include "installer/package.h"

const install_error *open_package()
{
    HRSRC found = FindResourceA(nullptr, "PACKAGE", "PACKAGE");
    if (!found)
        return error_from_last("FindResource", "PACKAGE");
    HGLOBAL loaded = LoadResource(nullptr, found);
    if (!loaded)
        return error_from_last("LoadResource", nullptr);
    DWORD size = SizeofResource(nullptr, found);
    if (size == 0)
        return error_from_last("SizeofResource", nullptr);
    return package_attach(LockResource(loaded), size);
}
