// Off-screen painting for the panes that draw rows (the solutions pane and
// the word lists): each rectangle the toolkit asks for is painted into a
// bitmap the size of the pane, then the part in the clip box is copied to
// the screen.
#include "app/shell/buffered_pane.h"

#include <windows.h>

#include "toolkit/events/events.h"
#include "toolkit/events/window.h"

const error_block *buffered_pane_redraw(HWND w, pane_painter paint, void *value)
{
    redraw_block b{};
    b.window = w;
    const error_block *e = wimp_redraw_in(&b);
    while (!e && b.more) {
        RECT client;
        GetClientRect(w, &client);
        HDC memory = CreateCompatibleDC(b.dc);
        HBITMAP bitmap = CreateCompatibleBitmap(b.dc, client.right > 1 ? client.right : 1,
                                                client.bottom > 1 ? client.bottom : 1);
        HGDIOBJ old = SelectObject(memory, bitmap);
        paint(value, memory, b.scroll_x, b.scroll_y, b.g1, b.g3, client.right);
        RECT clip;
        GetClipBox(b.dc, &clip);
        BitBlt(b.dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, memory, clip.left,
               clip.top, SRCCOPY);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        wimp_redraw_end(&b);
    }
    return e;
}

const error_block *buffered_pane_no_erase(platform_message *m, void *, int *claimed)
{
    m->result = 1;
    *claimed = 1;
    return nullptr;
}
