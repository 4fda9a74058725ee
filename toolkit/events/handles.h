// The platform handle types the toolkit's headers name, declared the way
// <windows.h> declares them, so that a header can use them without
// pulling the platform headers in.
#pragma once

struct HWND__;
typedef HWND__ *HWND;
struct HMENU__;
typedef HMENU__ *HMENU;
struct HDC__;
typedef HDC__ *HDC;
