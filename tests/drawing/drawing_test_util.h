// A memory bitmap to paint into and read back, for the drawing tests and
// the abx control's tests.
#pragma once
#include <windows.h>
#include <cstdint>

struct test_bitmap {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    uint32_t *bits;          // top-down rows, 0x00RRGGBB
    int width, height;

    test_bitmap(int w, int h, COLORREF fill = RGB(255, 255, 255));
    ~test_bitmap();
    test_bitmap(const test_bitmap &) = delete;
    test_bitmap &operator=(const test_bitmap &) = delete;

    COLORREF at(int x, int y) const;         // RGB(); CLR_INVALID outside
    // Pixels unlike `background`: their count and their bounding box
    // (empty when there are none; right and bottom exclusive).
    int count_unlike(COLORREF background) const;
    RECT box_unlike(COLORREF background) const;
    int count_of(COLORREF colour) const;
    RECT box_of(COLORREF colour) const;      // bounding box of that colour
    // Copies a window's client area (as the screen shows it).
    void copy_from(HWND window);
};
