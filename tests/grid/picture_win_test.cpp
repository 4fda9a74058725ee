// The metafile pictures written to files, read back and played
// (PlayMetaFile, PlayEnhMetaFile) into memory bitmaps at one pixel per
// unit, compared with the same picture drawn straight into a bitmap and
// with what the grid says must be where.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/grid/picture.h"
#include "app/grid/picture_svg.h"
#include "tests/drawing/drawing_test_util.h"
#include "tests/grid/grid_test_support.h"
#include "toolkit/drawing/drawing.h"

namespace {

const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0), blue = RGB(0, 0, 255), red = RGB(255, 0, 0);

unsigned word16(const std::vector<unsigned char> &b, size_t at) { return b[at] | b[at + 1] << 8; }

class PictureWinTest : public GridTest {
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        grid.background_colour = 0xFFFFFF00;
        grid.grid_colour = 0x00000000;
        grid.filled_colour = 0xFF000000;   // blue, as 0xBBGGRR00
        grid.text_colour = 0x0000FF00;     // red
    }
    // The picture drawn straight into a bitmap by draw_picture.
    void draw_direct(test_bitmap &b)
    {
        picture_measures m{};
        ASSERT_EQ(prepare_picture(&m), nullptr);
        drawing_context c;
        drawing_begin(&c, b.dc, 180, 180);
        EXPECT_EQ(draw_picture(m), nullptr);
        drawing_end(&c);
    }
    void play_windows(const std::vector<unsigned char> &bytes, size_t skip, test_bitmap &b)
    {
        HMETAFILE mf = SetMetaFileBitsEx((UINT)(bytes.size() - skip), bytes.data() + skip);
        ASSERT_NE(mf, nullptr);
        SetMapMode(b.dc, MM_ANISOTROPIC);
        SetViewportExtEx(b.dc, b.width, b.height, nullptr);
        EXPECT_TRUE(PlayMetaFile(b.dc, mf));
        SetMapMode(b.dc, MM_TEXT);
        DeleteMetaFile(mf);
    }
    void play_enhanced(const std::vector<unsigned char> &bytes, test_bitmap &b)
    {
        HENHMETAFILE emf = SetEnhMetaFileBits((UINT)bytes.size(), bytes.data());
        ASSERT_NE(emf, nullptr);
        RECT r{0, 0, b.width, b.height};
        EXPECT_TRUE(PlayEnhMetaFile(b.dc, emf, &r));
        DeleteEnhMetaFile(emf);
    }
    static int differing(const test_bitmap &a, const test_bitmap &b)
    {
        int n = 0;
        for (int y = 0; y < a.height; y++)
            for (int x = 0; x < a.width; x++)
                n += a.at(x, y) != b.at(x, y);
        return n;
    }
    // Pixels of `colour` inside cell (c, r), its lines left out.
    static int in_cell(const test_bitmap &b, int c, int r, int s, COLORREF colour)
    {
        int n = 0;
        for (int y = r * s + 2; y < (r + 1) * s - 1; y++)
            for (int x = c * s + 2; x < (c + 1) * s - 1; x++)
                n += b.at(x, y) == colour;
        return n;
    }
};

TEST_F(PictureWinTest, FifteenSquarePictureIs541UnitsInEveryFormatAndPlaysBackAsDrawn)
{
    set_size(15, 15);
    put_letter(0, 0, 'q');
    attribute_at(4, 4) = cell_filled;
    attribute_at(7, 2) |= bar_left;
    std::string wmf = temp_path("plain.wmf"), pwmf = temp_path("placeable.wmf"), emf = temp_path("picture.emf");
    ASSERT_EQ(save_metafile(wmf.c_str()), nullptr);
    ASSERT_EQ(save_placeable_metafile(pwmf.c_str()), nullptr);
    ASSERT_EQ(save_enhanced_metafile(emf.c_str()), nullptr);
    EXPECT_EQ(grid.square_size, 36);

    // The placeable header: key, handle, box 0 0 541 541, 120 per inch,
    // reserved, and the exclusive-or of the ten words before the checksum.
    std::vector<unsigned char> p = read_bytes(pwmf), w = read_bytes(wmf), e = read_bytes(emf);
    ASSERT_GT(p.size(), 22u + 18u);
    EXPECT_EQ(word16(p, 0) | word16(p, 2) << 16, 0x9AC6CDD7u);
    unsigned expected[10] = {0xCDD7, 0x9AC6, 0, 0, 0, 541, 541, 120, 0, 0};
    unsigned sum = 0;
    for (int i = 0; i < 10; i++) {
        EXPECT_EQ(word16(p, 2 * i), expected[i]) << "word " << i;
        sum ^= word16(p, 2 * i);
    }
    EXPECT_EQ(word16(p, 20), sum);
    EXPECT_TRUE(std::equal(w.begin(), w.end(), p.begin() + 22, p.end()));   // the same metafile follows
    EXPECT_EQ(word16(w, 0), 1u);   // a memory metafile, header of 9 words
    EXPECT_EQ(word16(w, 2), 9u);

    // The enhanced metafile: its signature and description.
    ENHMETAHEADER h;
    ASSERT_GT(e.size(), sizeof h);
    memcpy(&h, e.data(), sizeof h);
    EXPECT_EQ(h.dSignature, (DWORD)ENHMETA_SIGNATURE);
    ASSERT_GE(h.nDescription, 9u);
    const wchar_t *description = reinterpret_cast<const wchar_t *>(e.data() + h.offDescription);
    EXPECT_EQ(std::wstring(description), L"Calendar");
    // The frame: 541 display pixels each way, in hundredths of a millimetre.
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(h.rclFrame.right, MulDiv(541, GetDeviceCaps(screen, HORZSIZE) * 100, GetDeviceCaps(screen, HORZRES)));
    EXPECT_EQ(h.rclFrame.bottom, MulDiv(541, GetDeviceCaps(screen, VERTSIZE) * 100, GetDeviceCaps(screen, VERTRES)));
    ReleaseDC(nullptr, screen);

    test_bitmap direct(541, 541, RGB(0, 255, 0)), plain(541, 541, RGB(0, 255, 0)),
        placed(541, 541, RGB(0, 255, 0)), enhanced(541, 541, RGB(0, 255, 0));
    draw_direct(direct);
    play_windows(w, 0, plain);
    play_windows(p, 22, placed);
    play_enhanced(e, enhanced);
    // The whole picture is covered: the background and the last lines.
    EXPECT_EQ(direct.count_of(RGB(0, 255, 0)), 0);
    EXPECT_EQ(direct.at(540, 540), black);
    EXPECT_EQ(direct.at(36, 100), black);
    EXPECT_EQ(direct.at(37, 100), white);
    EXPECT_EQ(direct.at(7 * 36 - 1, 2 * 36 + 10), black);   // the bar, two units wide
    EXPECT_EQ(direct.at(7 * 36 + 1, 2 * 36 + 10), white);
    EXPECT_EQ(direct.box_of(blue).left, 4 * 36);
    EXPECT_EQ(direct.box_of(blue).right, 5 * 36 + 1);
    EXPECT_GT(in_cell(direct, 0, 0, 36, red), 20);           // the letter and the number 1
    EXPECT_EQ(differing(direct, plain), 0);
    EXPECT_EQ(differing(direct, placed), 0);
    // Enhanced playback scales from the frame: allow text edges to differ.
    EXPECT_LT(differing(direct, enhanced), 541 * 541 / 200);
    EXPECT_EQ(enhanced.at(540, 540), black);
    EXPECT_EQ(enhanced.box_of(blue).left, 4 * 36);
}

TEST_F(PictureWinTest, CapsFillsAndWordsquaresShowWhatThePictureSettingsSay)
{
    set_size(3, 3);
    put_letter(0, 0, 'a');
    put_letter(1, 1, 'z');   // filled later: only the fill shows
    attribute_at(1, 1) = cell_filled;
    test_bitmap lower(109, 109), upper(109, 109);
    draw_direct(lower);
    EXPECT_EQ(in_cell(lower, 1, 1, 36, red), 0);
    EXPECT_GT(in_cell(lower, 1, 1, 36, blue), 30 * 30);
    grid.picture_caps = 1;
    draw_direct(upper);
    EXPECT_EQ(letter_at(0, 0), 'a');   // the grid keeps its letters
    EXPECT_NE(in_cell(lower, 0, 0, 36, red), in_cell(upper, 0, 0, 36, red));

    // A Wordsquare: fills, bars and numbers are never drawn, letters are.
    set_grid_type(1);
    set_size(3, 3);
    for (int c = 0; c < 3; c++)
        for (int r = 0; r < 3; r++) {
            put_letter(c, r, 'o');
            attribute_at(c, r) = static_cast<uint8_t>(cell_filled | bar_left | bar_top);
        }
    test_bitmap square(109, 109);
    draw_direct(square);
    EXPECT_EQ(square.count_of(blue), 0);
    EXPECT_EQ(square.at(36 + 1, 50), white);   // no bar beside the line
    for (int c = 0; c < 3; c++)
        EXPECT_GT(in_cell(square, c, 1, 36, red), 10) << c;
    std::string path = temp_path("square.emf");
    ASSERT_EQ(save_enhanced_metafile(path.c_str()), nullptr);
    test_bitmap played(109, 109);
    play_enhanced(read_bytes(path), played);
    EXPECT_EQ(played.count_of(blue), 0);
}

// Writes a crossword's SVG picture and its enhanced metafile's playback (as
// a PPM image) into QM_PICTURE_COMPARE_DIR, for picture_compare.sh to set
// the SVG's rendering beside the playback; skipped without that variable.
TEST_F(PictureWinTest, SvgAndEnhancedPlaybackForComparison)
{
    const char *dir = std::getenv("QM_PICTURE_COMPARE_DIR");
    if (!dir)
        GTEST_SKIP() << "run by picture_compare.sh";
    set_size(7, 5);
    const int filled_cells[][2] = {{3, 0}, {0, 2}, {6, 2}, {3, 4}};
    for (auto &f : filled_cells)
        attribute_at(f[0], f[1]) = cell_filled;
    attribute_at(2, 1) |= bar_left;
    attribute_at(5, 3) |= bar_top;
    const char *word = "QUILLS";
    for (int c = 0; c < 6; c++)
        put_letter(c, 1, word[c]);
    std::string base(dir);
    ASSERT_EQ(save_svg_picture((base + "/picture.svg").c_str()), nullptr);
    ASSERT_EQ(save_enhanced_metafile((base + "/picture.emf").c_str()), nullptr);
    const int w = 7 * 36 + 1, h = 5 * 36 + 1;
    test_bitmap played(w, h);
    play_enhanced(read_bytes(base + "/picture.emf"), played);
    FILE *out = std::fopen((base + "/playback.ppm").c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fprintf(out, "P6\n%d %d\n255\n", w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            COLORREF c = played.at(x, y);
            unsigned char rgb[3] = {GetRValue(c), GetGValue(c), GetBValue(c)};
            std::fwrite(rgb, 1, 3, out);
        }
    std::fclose(out);
}

}  // namespace
