// Quillmere's start-up while the shell is being built: loads the message
// file from the program's resources and opens the main window, titled with
// the product name, until the user closes it.
#include <windows.h>

#include "toolkit/messages/error.h"
#include "toolkit/messages/messages.h"
#include "toolkit/messages/report.h"

static const char *product() { return lookup_token("NAME"); }

static LRESULT CALLBACK main_proc(HWND window, UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT r;
        GetClientRect(window, &r);
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SetBkMode(dc, TRANSPARENT);
        char text[256];
        format_tokens(sizeof text, text, "{NAME}: word-puzzle workshop");
        DrawTextA(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wp, lp);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    error_register_toolkit_table();
    if (const error_block *e = addtrans(nullptr, "Messages.txt", nullptr)) {
        report_error(e);
        return 1;
    }
    task_set_title(product());

    WNDCLASSA wc = {};
    wc.lpfnWndProc = main_proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "Task";
    RegisterClassA(&wc);
    HWND window = CreateWindowA("Task", product(), WS_OVERLAPPEDWINDOW, 100, 80, 640, 480,
                                nullptr, nullptr, instance, nullptr);
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
