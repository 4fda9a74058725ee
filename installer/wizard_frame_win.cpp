#include "installer/wizard_frame.h"

#include <string>

static const wizard_frame_texts *texts;

void wizard_ask_stop(HWND owner)
{
    if (MessageBoxA(owner, texts->question, texts->name, MB_YESNO | MB_ICONQUESTION) == IDYES)
        ExitProcess(1);
}

static LRESULT CALLBACK frame_proc(HWND window, UINT message, WPARAM wp, LPARAM lp)
{
    if (message == WM_CLOSE) {
        wizard_ask_stop(window);
        return 0;
    }
    return DefDlgProcA(window, message, wp, lp);
}

static INT_PTR CALLBACK frame_dialog(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

HWND wizard_frame_open(HINSTANCE instance, const wizard_frame_texts *t)
{
    texts = t;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = frame_proc;
    // The dialog manager keeps its own data in a dialog class's extra bytes:
    // DLGWINDOWEXTRA of them (30 on 32-bit Windows, more on 64-bit).
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, t->icon);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = t->name;
    if (!RegisterClassA(&wc)) {
        std::string text = std::string("Failed to register ") + t->name + " class";
        MessageBoxA(nullptr, text.c_str(), t->name, MB_OK | MB_ICONERROR);
        return nullptr;
    }
    HWND frame = CreateDialogParamA(instance, t->name, nullptr, frame_dialog, 0);
    if (!frame)
        MessageBoxA(nullptr, "The program's window could not be created", t->name, MB_OK | MB_ICONERROR);
    return frame;
}
