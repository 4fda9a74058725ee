// The "abx" control class. Its drawing and mouse behaviour come with the
// control itself; until then the class exists so that templates naming it
// can be created, and it paints nothing.
#include <windows.h>

#include "toolkit/events/internal_win.h"

namespace {

LRESULT CALLBACK abx_proc(HWND w, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(w, &ps);
        EndPaint(w, &ps);
        return 0;
    }
    case WM_GETDLGCODE: return DLGC_BUTTON;
    }
    return DefWindowProcA(w, message, wparam, lparam);
}

}  // namespace

const error_block *abx_register_class()
{
    WNDCLASSA abx = {};
    abx.style = CS_DBLCLKS;
    abx.lpfnWndProc = abx_proc;
    abx.cbWndExtra = sizeof(LONG);
    abx.hInstance = GetModuleHandleA(nullptr);
    abx.hCursor = LoadCursor(nullptr, IDC_ARROW);
    abx.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    abx.lpszClassName = "abx";
    if (!RegisterClassA(&abx) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return win_error("RegisterClass", "(%s)", "abx");
    return nullptr;
}
