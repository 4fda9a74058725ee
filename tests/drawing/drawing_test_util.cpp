#include "drawing_test_util.h"

test_bitmap::test_bitmap(int w, int h, COLORREF fill) : width(w), height(h)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc = CreateCompatibleDC(nullptr);
    void *p = nullptr;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = static_cast<uint32_t *>(p);
    old = SelectObject(dc, bitmap);
    RECT r = {0, 0, w, h};
    HBRUSH b = CreateSolidBrush(fill);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

test_bitmap::~test_bitmap()
{
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

COLORREF test_bitmap::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return CLR_INVALID;
    GdiFlush();
    uint32_t v = bits[y * width + x];
    return RGB((v >> 16) & 255, (v >> 8) & 255, v & 255);
}

int test_bitmap::count_unlike(COLORREF background) const
{
    int n = 0;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            n += at(x, y) != background;
    return n;
}

int test_bitmap::count_of(COLORREF colour) const
{
    int n = 0;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            n += at(x, y) == colour;
    return n;
}

namespace {

template <typename Match> RECT box(const test_bitmap &b, Match match)
{
    RECT r = {b.width, b.height, 0, 0};
    for (int y = 0; y < b.height; y++)
        for (int x = 0; x < b.width; x++)
            if (match(b.at(x, y))) {
                r.left = x < r.left ? x : r.left;
                r.top = y < r.top ? y : r.top;
                r.right = x + 1 > r.right ? x + 1 : r.right;
                r.bottom = y + 1 > r.bottom ? y + 1 : r.bottom;
            }
    if (r.right == 0)
        SetRectEmpty(&r);
    return r;
}

}  // namespace

RECT test_bitmap::box_unlike(COLORREF background) const
{
    return box(*this, [=](COLORREF c) { return c != background; });
}

RECT test_bitmap::box_of(COLORREF colour) const
{
    return box(*this, [=](COLORREF c) { return c == colour; });
}

void test_bitmap::copy_from(HWND window)
{
    HDC from = GetDC(window);
    BitBlt(dc, 0, 0, width, height, from, 0, 0, SRCCOPY);
    ReleaseDC(window, from);
    GdiFlush();
}
