// Plotting through the current context: colours, moves and lines, the
// shapes of `plot`, and rectangles.
//
// The point history is the program's, not a context's: a ring of the last
// four device points visited, `at` naming the newest. Relative plot codes
// add to the newest point; the filled shapes take their corners from it
// and the one before.
#include <windows.h>
#include <algorithm>
#include <cmath>

#include "toolkit/drawing/drawing.h"
#include "toolkit/events/internal_win.h"

namespace {

device_point history[4];
int at = 0;
COLORREF plotting = 0;       // the platform colour last set as foreground
bool exclusive_or = false;

void remember(device_point p)
{
    at = (at + 1) & 3;
    history[at] = p;
}

device_point back(int n) { return history[(at - n) & 3]; }

// One pixel in the plotting colour. By exclusive-or it goes through the
// pen, so that plotting it twice removes it as the line under it does.
void point(HDC dc, device_point p)
{
    if (exclusive_or) {
        MoveToEx(dc, p.x, p.y, nullptr);
        LineTo(dc, p.x + 1, p.y);
    } else {
        SetPixel(dc, p.x, p.y, plotting);
    }
    MoveToEx(dc, p.x, p.y, nullptr);
}

// Selects a made pen or brush; the first selection keeps the device's own.
void take(drawing_context *c, HGDIOBJ made, HGDIOBJ *replaced)
{
    HGDIOBJ old = SelectObject(c->device, made);
    if (!*replaced)
        *replaced = old;
}

int distance(device_point a, device_point b)
{
    double dx = b.x - a.x, dy = b.y - a.y;
    return (int)std::lround(std::sqrt(dx * dx + dy * dy));
}

// Filled shapes: the current brush and a pen that draws nothing.
void filled_polygon(HDC dc, const POINT *points, int n)
{
    HGDIOBJ pen = SelectObject(dc, GetStockObject(NULL_PEN));
    Polygon(dc, points, n);
    SelectObject(dc, pen);
}

// Outlines: the current pen and a brush that fills nothing.
void outline_ellipse(HDC dc, device_point centre, int rx, int ry)
{
    HGDIOBJ brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, centre.x - rx, centre.y - ry, centre.x + rx + 1, centre.y + ry + 1);
    SelectObject(dc, brush);
}

void shape(HDC dc, int kind, device_point p)
{
    device_point last = back(0), before = back(1);
    if (kind < 64) {
        LineTo(dc, p.x, p.y);
        point(dc, p);
        return;
    }
    switch (kind) {
    case 64:
        point(dc, p);
        break;
    case 80: {
        POINT t[3] = {{before.x, before.y}, {last.x, last.y}, {p.x, p.y}};
        filled_polygon(dc, t, 3);
        break;
    }
    case 96:
        // Both corners belong to the rectangle.
        Rectangle(dc, std::min(p.x, last.x), std::min(p.y, last.y), std::max(p.x, last.x) + 1,
                  std::max(p.y, last.y) + 1);
        break;
    case 112: {
        POINT q[4] = {{before.x, before.y}, {last.x, last.y}, {p.x, p.y},
                      {p.x + before.x - last.x, p.y + before.y - last.y}};
        filled_polygon(dc, q, 4);
        break;
    }
    case 144: {
        int r = distance(last, p);
        outline_ellipse(dc, last, r, r);
        break;
    }
    case 176: {
        // Anticlockwise as seen, from the last point's direction to the point's.
        int r = distance(before, p);
        HGDIOBJ pen = SelectObject(dc, GetStockObject(NULL_PEN));
        int direction = SetArcDirection(dc, AD_COUNTERCLOCKWISE);
        Pie(dc, before.x - r, before.y - r, before.x + r + 1, before.y + r + 1, last.x, last.y, p.x, p.y);
        SetArcDirection(dc, direction);
        SelectObject(dc, pen);
        break;
    }
    case 192:
        outline_ellipse(dc, before, distance(before, last), distance(before, p));
        break;
    }
    MoveToEx(dc, p.x, p.y, nullptr);
}

}  // namespace

device_point plot_history(int n) { return back(n & 3); }
uint32_t plotting_colour() { return plotting; }

void plot_move(int x, int y)
{
    drawing_context *c = drawing_current();
    if (!c)
        return;
    device_point p = to_device(x, y);
    remember(p);
    MoveToEx(c->device, p.x, p.y, nullptr);
}

void plot_draw(int x, int y)
{
    drawing_context *c = drawing_current();
    if (!c)
        return;
    device_point p = to_device(x, y);
    remember(p);
    LineTo(c->device, p.x, p.y);
    point(c->device, p);
}

// The low three bits: 0-3 relative, 4-7 absolute; 0 and 4 move. The rest
// of the code is the shape. Every code moves the device's current position
// to the point, so that a line plotted next starts there.
void plot(int code, int x, int y)
{
    drawing_context *c = drawing_current();
    if (!c)
        return;
    device_point p;
    if (code & 4) {
        p = to_device(x, y);
    } else {
        device_point last = back(0);
        p.x = last.x + (int)((int64_t)x * c->device_per_inch_x / c->os_per_inch_x);
        p.y = last.y + (int)((int64_t)y * c->device_per_inch_y / -(int64_t)c->os_per_inch_y);
    }
    int kind = code & ~7;
    if ((code & 3) == 0 || kind > 192 || kind < 0)
        MoveToEx(c->device, p.x, p.y, nullptr);
    else
        shape(c->device, kind, p);
    remember(p);
}

namespace {

void rectangle(int x, int y, int width, int height, bool covered)
{
    drawing_context *c = drawing_current();
    if (!c)
        return;
    device_point a = to_device(x, y), b = to_device(x + width, y + height);
    int left = std::min(a.x, b.x), right = std::max(a.x, b.x);
    int top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
    if (covered) {
        top -= 1;
        right += 1;
    }
    Rectangle(c->device, left, top, right, bottom);
}

}  // namespace

void fill_rectangle(int x, int y, int width, int height) { rectangle(x, y, width, height, false); }
void fill_rectangle_covered(int x, int y, int width, int height) { rectangle(x, y, width, height, true); }

namespace {

void set_platform_colour(COLORREF colour, int action)
{
    plotting = colour;
    exclusive_or = action == 3;
    drawing_context *c = drawing_current();
    if (!c)
        return;
    SetROP2(c->device, exclusive_or ? R2_XORPEN : R2_COPYPEN);
    HPEN pen = CreatePen(PS_SOLID, 0, colour);
    HBRUSH brush = CreateSolidBrush(colour);
    if (!pen || !brush) {
        if (pen)
            DeleteObject(pen);
        if (brush)
            DeleteObject(brush);
        return;
    }
    take(c, pen, &c->replaced_pen);
    take(c, brush, &c->replaced_brush);
    if (c->pen)
        DeleteObject(c->pen);
    if (c->brush)
        DeleteObject(c->brush);
    c->pen = pen;
    c->brush = brush;
}

}  // namespace

void set_colour(uint32_t colour_word, int action) { set_platform_colour(colour_word >> 8, action); }

void set_palette_colour(int code)
{
    COLORREF colour = 0;
    toolkit_colour((uint32_t)(code & 15) + 2, false, &colour);
    int action = (code >> 4) & 7;
    if (!(code & 128)) {
        set_platform_colour(colour, action);
        return;
    }
    drawing_context *c = drawing_current();
    if (!c)
        return;
    if (action == 7) {
        SetBkMode(c->device, TRANSPARENT);
    } else {
        SetBkMode(c->device, OPAQUE);
        SetBkColor(c->device, colour);
    }
}
