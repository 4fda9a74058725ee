// The SVG picture's content: what each grid type shows, in which units.
#include "app/grid/picture_svg.h"

#include "tests/grid/grid_test_support.h"

namespace {

class PictureSvgTest : public GridTest {
protected:
    std::string svg()
    {
        fs_stream s{};
        EXPECT_EQ(stream_open(nullptr, "w", 256, &s), nullptr);
        EXPECT_EQ(write_svg_picture_stream(&s), nullptr);
        int length = 0;
        const char *bytes = stream_memory(&s, &length);
        std::string out(bytes, static_cast<size_t>(length));
        stream_close(&s, nullptr);
        return out;
    }
    static int count(const std::string &text, const std::string &part)
    {
        int n = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            n++;
        return n;
    }
};

TEST_F(PictureSvgTest, FifteenSquareCrosswordAtEightPointsIs541UnitsOfAn180thInch)
{
    set_size(15, 15);
    std::string out = svg();
    EXPECT_EQ(grid.square_size, 36);
    EXPECT_NE(out.find("viewBox=\"0 0 541 541\""), std::string::npos);
    EXPECT_NE(out.find("width=\"216.4pt\" height=\"216.4pt\""), std::string::npos);
    EXPECT_NE(out.find("M540.5 0V540"), std::string::npos);   // the last column line
    EXPECT_EQ(out.rfind("</svg>\n"), out.size() - 7);
}

TEST_F(PictureSvgTest, CrosswordShowsFillsBarsNumbersAndLettersAsSet)
{
    set_size(3, 3);
    put_letter(0, 0, 'a');
    put_letter(1, 1, 'z');             // filled later: only the fill shows
    attribute_at(1, 1) = cell_filled;
    attribute_at(2, 0) |= bar_left;
    put_letter(2, 2, '&');
    grid.text_colour = 0x0000FF00;     // red, as 0xBBGGRR00
    std::string out = svg();
    EXPECT_NE(out.find("<rect x=\"36\" y=\"36\" width=\"37\" height=\"37\"/>"), std::string::npos);
    EXPECT_NE(out.find("<rect x=\"71\" y=\"0\" width=\"2\" height=\"36\"/>"), std::string::npos);
    EXPECT_EQ(out.find(">z<"), std::string::npos);
    EXPECT_NE(out.find(">&amp;<"), std::string::npos);
    EXPECT_NE(out.find("fill=\"#ff0000\""), std::string::npos);
    // Numbers: 1 at (0, 0), 2 at (2, 0)... whose across run the bar cuts to one cell.
    EXPECT_NE(out.find("<text x=\"3\" y=\"11\">1</text>"), std::string::npos);
    EXPECT_NE(out.find("<text x=\"75\" y=\"11\">2</text>"), std::string::npos);
    // The letter sits centred with its baseline at ascent + (S - height) / 2.
    EXPECT_NE(out.find("<text x=\"18\" y=\"25\">a</text>"), std::string::npos);

    grid.picture_caps = 1;             // the picture only: the grid keeps its letters
    out = svg();
    EXPECT_NE(out.find(">A<"), std::string::npos);
    EXPECT_EQ(letter_at(0, 0), 'a');
}

TEST_F(PictureSvgTest, WordsquareNeverShowsNumbersBarsOrFills)
{
    set_grid_type(1);
    set_size(5, 5);
    for (int c = 0; c < 5; c++)
        for (int r = 0; r < 5; r++) {
            put_letter(c, r, static_cast<char>('a' + c + r));
            attribute_at(c, r) = static_cast<uint8_t>(cell_filled | bar_left | bar_top);
        }
    ASSERT_EQ(list_add_word(0, 0, 1, 1, "acegi"), nullptr);
    ASSERT_EQ(list_add_word(-1, -1, -1, -1, "unplaced"), nullptr);
    std::string out = svg();
    EXPECT_EQ(count(out, "<rect"), 1);             // the background only
    EXPECT_EQ(count(out, "<text"), 25);            // every letter, none hidden
    EXPECT_EQ(count(out, "font-size=\"10\""), 0);  // no clue-number group
    EXPECT_NE(out.find("d=\"M18.5 18.5L162.5 162.5\""), std::string::npos);
    grid.show_solutions = 0;
    EXPECT_EQ(svg().find("L162.5"), std::string::npos);
}

TEST_F(PictureSvgTest, FontMeasuresFollowTheFace)
{
    font_spec f = grid.grid_font;      // 8 points of Arial
    picture_font m = picture_font_measure(f);
    EXPECT_EQ(m.em, 20);
    EXPECT_EQ(m.ascent, 18);
    EXPECT_EQ(m.height, 22);
    strcpy(f.face, "Courier New");
    m = picture_font_measure(f);
    EXPECT_EQ(m.ascent, 17);
    EXPECT_EQ(m.height, 23);
    f.height = -2000000000;            // a damaged file: measured, bounded
    EXPECT_GT(picture_font_measure(f).em, 0);
}

}  // namespace
