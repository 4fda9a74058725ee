// The drawing layer painted into memory bitmaps and into a real window
// under Wine, with the pixels read back.
//
// Most cases begin a context at 180 device units per inch, so that one OS
// unit is one pixel: work-area (x, y) lands on device (x, -y).
#include <gtest/gtest.h>
#include <algorithm>
#include <windows.h>

#include "drawing_test_util.h"
#include "tests/events/events_test_util.h"
#include "toolkit/drawing/drawing.h"
#include "toolkit/events/window.h"

namespace {

const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0), red = RGB(255, 0, 0);
const uint32_t white_word = 0xFFFFFF00, black_word = 0, red_word = 0x0000FF00;

// A bitmap with a context whose OS units are its pixels, drawing in black.
struct canvas : test_bitmap {
    drawing_context c;
    canvas(int w = 200, int h = 200) : test_bitmap(w, h)
    {
        drawing_begin(&c, dc, 180, 180);
        set_colour(black_word, 0);
    }
    ~canvas() { drawing_end(&c); }
    bool inked(int x, int y) const { return at(x, y) != white; }
};

TEST(Drawing, ToDeviceScalesWithSixtyFourBitProductsAndTruncates)
{
    test_bitmap b(10, 10);
    drawing_context c;
    drawing_begin(&c, b.dc, 96, 96);
    EXPECT_EQ(drawing_current(), &c);
    device_point p = to_device(180, -180);
    EXPECT_EQ(p.x, 96);
    EXPECT_EQ(p.y, 96);
    // Truncation towards zero on both sides of the origin.
    p = to_device(-1, 1);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
    p = to_device(-200, 200);
    EXPECT_EQ(p.x, -106);
    EXPECT_EQ(p.y, -106);
    // A product beyond 32 bits.
    c.device_per_inch_x = 100000;
    p = to_device(1000000, 0);
    EXPECT_EQ(p.x, 555555555);
    c.device_per_inch_x = 96;
    // Origins: the work-area point at the device origin, and its device point.
    c.origin_x = 180;
    c.origin_y = -360;
    c.device_origin_x = 5;
    c.device_origin_y = 7;
    p = to_device(360, -540);
    EXPECT_EQ(p.x, 5 + 96);
    EXPECT_EQ(p.y, 7 + 96);

    // Contexts nest, and the outer one is current again after the inner ends.
    test_bitmap b2(10, 10);
    drawing_context inner;
    drawing_begin(&inner, b2.dc, 0, 0);
    EXPECT_EQ(drawing_current(), &inner);
    EXPECT_GT(inner.device_per_inch_x, 0);
    drawing_end(&inner);
    EXPECT_EQ(drawing_current(), &c);
    drawing_end(&c);
    EXPECT_EQ(drawing_current(), nullptr);
    EXPECT_EQ(drawing_first(), nullptr);
}

TEST(Drawing, LinesPaintTheirEndPixelAndExclusiveOrUndoesThem)
{
    canvas k;
    plot_move(10, -10);
    plot_draw(60, -10);
    EXPECT_TRUE(k.inked(10, 10));
    EXPECT_TRUE(k.inked(60, 10));   // the platform alone leaves this pixel out
    EXPECT_FALSE(k.inked(61, 10));
    EXPECT_EQ(k.count_unlike(white), 51);
    EXPECT_EQ(plot_history(0).x, 60);
    EXPECT_EQ(plot_history(1).x, 10);

    // Plot codes: an absolute move, a relative line, a single point.
    plot(4, 10, -30);
    plot(5, 30, -30);
    plot(1, 0, -20);   // relative: 20 units down
    EXPECT_TRUE(k.inked(20, 30));
    EXPECT_TRUE(k.inked(30, 50));
    EXPECT_TRUE(k.inked(30, 40));
    plot(69, 100, -100);
    EXPECT_TRUE(k.inked(100, 100));
    EXPECT_FALSE(k.inked(101, 100));
    EXPECT_FALSE(k.inked(99, 100));

    // Exclusive-or: the same line twice leaves nothing, end pixel included.
    test_bitmap x(100, 100);
    drawing_context c;
    drawing_begin(&c, x.dc, 180, 180);
    set_colour(white_word, 3);
    plot_move(5, -5);
    plot_draw(80, -40);
    EXPECT_EQ(x.at(80, 40), black);
    EXPECT_EQ(x.at(5, 5), black);
    int painted = x.count_unlike(white);
    EXPECT_GT(painted, 70);
    plot_move(5, -5);
    plot_draw(80, -40);
    EXPECT_EQ(x.count_unlike(white), 0);
    drawing_end(&c);
}

TEST(Drawing, ShapeCodesLandWhereTheirPointsSay)
{
    {   // 80: triangle through the point before last, the last point and the point.
        canvas k;
        plot(4, 20, -20);
        plot(4, 120, -20);
        plot(85, 20, -120);
        EXPECT_TRUE(k.inked(40, 40));
        EXPECT_FALSE(k.inked(100, 100));
        EXPECT_FALSE(k.inked(10, 10));
        RECT r = k.box_unlike(white);
        EXPECT_NEAR(r.left, 20, 1);
        EXPECT_NEAR(r.top, 20, 1);
        EXPECT_NEAR(r.right, 120, 2);
        EXPECT_NEAR(r.bottom, 120, 2);
    }
    {   // 112: parallelogram; the fourth corner is point + before last - last.
        canvas k;
        plot(4, 20, -20);
        plot(4, 60, -20);
        plot(117, 100, -80);   // fourth corner (60, 80)
        EXPECT_TRUE(k.inked(60, 70));
        EXPECT_TRUE(k.inked(40, 25));
        EXPECT_FALSE(k.inked(25, 70));   // left of the slanted edge
        EXPECT_FALSE(k.inked(95, 25));   // right of the other one
    }
    {   // 96: rectangle between the point and the last point, both corners in.
        canvas k;
        plot(4, 30, -40);
        plot(101, 50, -45);
        RECT r = k.box_unlike(white);
        EXPECT_EQ(r.left, 30);
        EXPECT_EQ(r.top, 40);
        EXPECT_EQ(r.right, 51);
        EXPECT_EQ(r.bottom, 46);
    }
    {   // 144: circle outline round the last point through the point.
        canvas k;
        plot(4, 100, -100);
        plot(149, 140, -100);
        EXPECT_TRUE(k.inked(140, 100));
        EXPECT_TRUE(k.inked(60, 100) || k.inked(61, 100));
        EXPECT_TRUE(k.inked(100, 60) || k.inked(100, 61));
        EXPECT_FALSE(k.inked(100, 100));   // an outline only
        EXPECT_FALSE(k.inked(130, 130));
    }
    {   // 176: sector round the point before last, from the last point's
        // direction (east) to the point's (north): the upper right quarter.
        canvas k;
        plot(4, 100, -100);
        plot(4, 150, -100);
        plot(181, 100, -50);
        EXPECT_TRUE(k.inked(120, 80));
        EXPECT_FALSE(k.inked(80, 80));
        EXPECT_FALSE(k.inked(120, 120));
        EXPECT_FALSE(k.inked(80, 120));
        EXPECT_FALSE(k.inked(140, 60));    // beyond the radius
    }
    {   // 192: ellipse round the point before last, semi-axes to the last
        // point (60 across) and to the point (30 up).
        canvas k;
        plot(4, 100, -100);
        plot(4, 160, -100);
        plot(197, 100, -70);
        RECT r = k.box_unlike(white);
        EXPECT_NEAR(r.left, 40, 1);
        EXPECT_NEAR(r.right, 161, 1);
        EXPECT_NEAR(r.top, 70, 1);
        EXPECT_NEAR(r.bottom, 131, 1);
        EXPECT_FALSE(k.inked(100, 100));
    }
    {   // Above 192: nothing drawn, but the point joins the history.
        canvas k;
        plot(4, 10, -10);
        plot(205, 50, -50);
        EXPECT_EQ(k.count_unlike(white), 0);
        EXPECT_EQ(plot_history(0).x, 50);
        plot(5, 50, -90);   // a line from there
        EXPECT_TRUE(k.inked(50, 50));
        EXPECT_TRUE(k.inked(50, 70));
    }
}

TEST(Drawing, RectanglesAndPaletteColours)
{
    canvas k;
    set_colour(red_word, 0);
    fill_rectangle(10, -30, 20, 10);   // corners (10, 30) and (30, 20)
    RECT r = k.box_unlike(white);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right, 30);
    EXPECT_EQ(r.bottom, 30);
    EXPECT_EQ(k.at(15, 25), red);
    // The covered form reaches one unit further up and to the right.
    fill_rectangle_covered(100, -30, 20, 10);
    EXPECT_EQ(k.at(120, 19), red);
    EXPECT_EQ(k.at(121, 19), white);
    EXPECT_EQ(k.at(100, 29), red);
    EXPECT_EQ(k.at(100, 30), white);
    // Palette entry 11 (DD0000), plain copying.
    set_palette_colour(11);
    EXPECT_EQ(plotting_colour(), RGB(0xDD, 0, 0));
    fill_rectangle(50, -150, 10, 10);
    EXPECT_EQ(k.at(55, 145), RGB(0xDD, 0, 0));
    // Bit 7: the text background, opaque in palette entry 9 or transparent (action 7).
    set_palette_colour(128 + 9);
    EXPECT_EQ(GetBkMode(k.dc), OPAQUE);
    EXPECT_EQ(GetBkColor(k.dc), RGB(0xEE, 0xEE, 0));
    set_palette_colour(128 + 0x70);
    EXPECT_EQ(GetBkMode(k.dc), TRANSPARENT);
}

HFONT test_font(int sixteenths)
{
    font_spec spec = {};
    spec.height = sixteenths;
    strcpy(spec.face, "Arial");
    spec.charset = 400;
    HFONT f = nullptr;
    EXPECT_EQ(create_font(&spec, &f), nullptr);
    return f;
}

TEST(Drawing, TextAlignmentFlagsPlaceTheText)
{
    test_bitmap probe(10, 10);
    drawing_context c;
    drawing_begin(&c, probe.dc, 180, 180);
    HFONT f = test_font(16 * 20);
    drawing_end(&c);

    RECT boxes[3];
    TEXTMETRICA m = {};
    int aligns[3] = {ALIGN_CENTRE + ALIGN_TOP, 0, ALIGN_RIGHT + ALIGN_BOTTOM};
    for (int i = 0; i < 3; i++) {
        canvas k;
        set_text_colours(f, -1, black_word);
        GetTextMetricsA(k.dc, &m);
        set_text_align(aligns[i]);
        paint_text("HIH", TEXT_OS_UNITS, 100, -100);
        boxes[i] = k.box_unlike(white);
    }
    // Capitals stand on the baseline, which lies an ascent below the top
    // of the text and a descent above its bottom.
    // Centred, hanging from its top.
    EXPECT_NEAR((boxes[0].left + boxes[0].right) / 2, 100, 2);
    EXPECT_EQ(boxes[0].bottom, 100 + m.tmAscent);
    EXPECT_GT(boxes[0].top, 100);
    // Left-aligned on its baseline.
    EXPECT_GE(boxes[1].left, 100);
    EXPECT_LE(boxes[1].left, 104);
    EXPECT_EQ(boxes[1].bottom, 100);
    // Right-aligned, standing on its bottom.
    EXPECT_LE(boxes[2].right, 100);
    EXPECT_GE(boxes[2].right, 96);
    EXPECT_EQ(boxes[2].bottom, 100 - m.tmDescent);

    // 72000 in 1/400 OS unit is one inch, as 180 OS units are.
    test_bitmap a(300, 60), b(300, 60);
    for (int i = 0; i < 2; i++) {
        drawing_context t;
        drawing_begin(&t, i ? b.dc : a.dc, 96, 96);
        set_text_colours(f, -1, black_word);
        set_text_align(ALIGN_TOP);
        if (i)
            paint_text("Inch", TEXT_OS_UNITS, 180, 0);
        else
            paint_text("Inch", 0, 72000, 0);
        drawing_end(&t);
    }
    RECT ra = a.box_unlike(white), rb = b.box_unlike(white);
    EXPECT_TRUE(EqualRect(&ra, &rb));
    EXPECT_GE(ra.left, 96);
    EXPECT_LE(ra.left, 100);

    // An opaque background fills the text's cell; the wide form draws too.
    {
        canvas k;
        set_text_colours(f, (int32_t)red_word, black_word);
        set_text_align(ALIGN_TOP);
        paint_text_wide(L"Wide", TEXT_OS_UNITS, 10, -10);
        EXPECT_EQ(k.at(11, 11), red);
        EXPECT_GT(k.count_of(black), 10);
    }
    // Transformed: twice as wide, the same height.
    RECT plain = {}, wide = {};
    for (int i = 0; i < 2; i++) {
        canvas k;
        set_text_colours(f, -1, black_word);
        set_text_align(ALIGN_TOP);
        text_transform t = {i ? 2 * 65536 : 65536, 0, 0, 65536, 20, -20};
        paint_text_transformed("HH", TEXT_OS_UNITS, &t);
        (i ? wide : plain) = k.box_unlike(white);
    }
    EXPECT_NEAR(wide.right - wide.left, 2 * (plain.right - plain.left), 3);
    EXPECT_EQ(wide.bottom - wide.top, plain.bottom - plain.top);
    EXPECT_NEAR(wide.left - 20, 2 * (plain.left - 20), 1);   // the side bearing doubles too
    delete_font(f);
}

TEST(Drawing, FontsAreSizedForTheDeviceAndDeletingRestoresEveryHolder)
{
    test_bitmap a(10, 10), b(10, 10);
    HGDIOBJ own_a = GetCurrentObject(a.dc, OBJ_FONT), own_b = GetCurrentObject(b.dc, OBJ_FONT);
    drawing_context ca, cb;
    drawing_begin(&ca, a.dc, 96, 96);
    HFONT f = test_font(128);   // 8 points
    select_font(f);
    TEXTMETRICA m;
    GetTextMetricsA(a.dc, &m);
    EXPECT_EQ(m.tmHeight - m.tmInternalLeading, 10);
    drawing_begin(&cb, b.dc, 96, 96);
    select_font(f);
    EXPECT_EQ(GetCurrentObject(b.dc, OBJ_FONT), f);
    delete_font(f);
    EXPECT_EQ(GetCurrentObject(a.dc, OBJ_FONT), own_a);
    EXPECT_EQ(GetCurrentObject(b.dc, OBJ_FONT), own_b);
    EXPECT_EQ(ca.font, nullptr);
    EXPECT_EQ(cb.font, nullptr);

    // The other forms: sixteenths with a face name, device units, rotation.
    HFONT g = nullptr;
    ASSERT_EQ(create_font_named("Arial", 0, 256, &g), nullptr);
    select_font(g);
    GetTextMetricsA(b.dc, &m);
    EXPECT_EQ(m.tmHeight - m.tmInternalLeading, 21);   // 256 * 96 / 1152
    EXPECT_EQ(m.tmWeight, FW_NORMAL);
    delete_font(g);
    ASSERT_EQ(create_font_device("Arial", 0, 30, &g), nullptr);
    LOGFONTA lf;
    GetObjectA(g, sizeof lf, &lf);
    EXPECT_EQ(lf.lfHeight, -30);
    delete_font(g);
    ASSERT_EQ(create_font_rotated("Arial", 0, 256, 90 * 65536, &g), nullptr);
    GetObjectA(g, sizeof lf, &lf);
    EXPECT_EQ(lf.lfEscapement, 900);
    DeleteObject(g);
    drawing_end(&cb);
    drawing_end(&ca);
}

TEST(Drawing, ClipIsSavedAndRestored)
{
    canvas k;
    EXPECT_EQ(save_clip(), nullptr);   // no clipping region yet
    IntersectClipRect(k.dc, 10, 10, 50, 50);
    HRGN saved = save_clip();
    ASSERT_NE(saved, nullptr);
    IntersectClipRect(k.dc, 20, 20, 30, 30);
    restore_clip(saved);
    RECT r;
    GetClipBox(k.dc, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.right, 50);
    fill_rectangle(0, 0, 200, -200);
    EXPECT_EQ(k.box_unlike(white).left, 10);
    restore_clip(nullptr);
    fill_rectangle(0, 0, 200, -200);
    EXPECT_TRUE(k.inked(5, 5));
}

TEST(Drawing, AMetafileIsDrawnOnThroughAContextOfItsOwn)
{
    // An enhanced metafile recorded at 96 units per inch, played back into
    // a bitmap: the square lands where the same drawing lands directly.
    HDC reference = GetDC(nullptr);
    HDC recorder = CreateEnhMetaFileA(reference, nullptr, nullptr, nullptr);
    ReleaseDC(nullptr, reference);
    ASSERT_NE(recorder, nullptr);
    drawing_context c;
    drawing_begin(&c, recorder, 96, 96);
    set_colour(red_word, 0);
    fill_rectangle(180, -360, 180, 180);
    set_colour(black_word, 0);
    plot_move(0, 0);
    plot_draw(90, 0);
    drawing_end(&c);
    HENHMETAFILE picture = CloseEnhMetaFile(recorder);
    ASSERT_NE(picture, nullptr);
    ENHMETAHEADER header;
    GetEnhMetaFileHeader(picture, sizeof header, &header);
    test_bitmap b(300, 300);
    RECT frame = {header.rclBounds.left, header.rclBounds.top, header.rclBounds.right + 1,
                  header.rclBounds.bottom + 1};
    PlayEnhMetaFile(b.dc, picture, &frame);
    DeleteEnhMetaFile(picture);
    // Played back at its own bounds: the line starts the picture, and the
    // square sits an inch right of it and an inch below.
    RECT square = b.box_of(red), line = b.box_of(black);
    EXPECT_NEAR(square.right - square.left, 96, 1);
    EXPECT_NEAR(square.bottom - square.top, 96, 1);
    EXPECT_NEAR(square.left - line.left, 96, 1);
    EXPECT_NEAR(square.top - line.top, 96, 1);
    EXPECT_NEAR(line.right - line.left, 49, 1);
}

// A window's redraw handler draws in work-area OS units through the
// context the redraw protocol made; scrolling moves what it draws.
const error_block *draw_window(HWND w, void *)
{
    redraw_block b = {};
    b.window = w;
    if (const error_block *e = wimp_redraw_in(&b))
        return e;
    while (b.more) {
        EXPECT_EQ(drawing_current(), b.context);
        set_colour(white_word, 0);
        fill_rectangle(b.g0, b.g1, b.g2 - b.g0, b.g3 - b.g1);
        set_colour(red_word, 0);
        fill_rectangle(180, -360, 180, 180);   // work-area inch square, from (1, -2) inches
        wimp_redraw_end(&b);
    }
    return nullptr;
}

TEST(Drawing, RedrawHandlersDrawThroughTheWindowsContext)
{
    start_task();
    HWND w;
    ASSERT_EQ(window_create(301, nullptr, nullptr, &w), nullptr);
    window_set_extent(w, 0, -3000, 3000, 0);
    window_state s = {w, 360, 360, 1260, 1080, 0, 0, BEHIND_TOP, 0};
    ASSERT_EQ(window_open(&s), nullptr);
    register_redraw(draw_window, w, nullptr);
    window_force_redraw(w, 0, -3000, 3000, 0);
    pump();
    UpdateWindow(w);
    pump();
    int dpi = GetDeviceCaps(GetDC(nullptr), LOGPIXELSX);
    {
        test_bitmap shot(300, 300);
        shot.copy_from(w);
        RECT r = shot.box_unlike(white);
        EXPECT_EQ(r.left, dpi);
        EXPECT_EQ(r.top, dpi);
        EXPECT_EQ(r.right, 2 * dpi);
        EXPECT_EQ(r.bottom, 2 * dpi);
    }
    // Updating draws at once through a context clipped to the rectangle.
    redraw_block u = {};
    u.window = w;
    u.g0 = 0;
    u.g1 = -90;
    u.g2 = 90;
    u.g3 = 0;
    ASSERT_EQ(wimp_update(&u), nullptr);
    while (u.more) {
        ASSERT_EQ(drawing_current(), u.context);
        set_colour(black_word, 0);
        fill_rectangle(0, -3000, 3000, 3000);
        wimp_redraw_end(&u);
    }
    EXPECT_EQ(drawing_current(), nullptr);
    {
        test_bitmap shot(300, 300);
        shot.copy_from(w);
        RECT r = shot.box_of(black);
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.top, 0);
        EXPECT_EQ(r.right, dpi / 2);
        EXPECT_EQ(r.bottom, dpi / 2);
    }

    // Scrolled half an inch down and right: the square moves up and left.
    s.scroll_x = 90;
    s.scroll_y = -90;
    ASSERT_EQ(window_open(&s), nullptr);
    window_force_redraw(w, 0, -3000, 3000, 0);
    pump();
    UpdateWindow(w);
    pump();
    {
        test_bitmap shot(300, 300);
        shot.copy_from(w);
        RECT r = shot.box_unlike(white);
        EXPECT_EQ(r.left, dpi / 2);
        EXPECT_EQ(r.top, dpi / 2);
    }
    EXPECT_EQ(drawing_current(), nullptr);
    deregister_redraw(draw_window, w, nullptr);
    window_delete(w);
}

}  // namespace
