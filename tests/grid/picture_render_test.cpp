// quill's export commands run as a user would, and the SVG picture
// rendered by librsvg (rsvg-convert) at 180 dots per inch, one pixel per
// unit, compared pixel by pixel with the picture the grid describes.
#include <cstdlib>

#include "app/grid/clues.h"
#include "tests/grid/grid_test_support.h"

namespace {

struct image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    bool dark(int x, int y) const
    {
        const unsigned char *p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        return p[0] + p[1] + p[2] < 3 * 128;
    }
};

class PictureRenderTest : public GridTest {
protected:
    std::string run(const std::string &command)
    {
        std::string out;
        FILE *pipe = popen(command.c_str(), "r");
        EXPECT_NE(pipe, nullptr) << command;
        if (!pipe)
            return out;
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        EXPECT_EQ(pclose(pipe), 0) << command;
        return out;
    }
    image render(const std::string &svg_path, int width, int height)
    {
        std::string png = temp_path("picture.png");
        // 180 dots per inch, with the size given exactly (a size in points
        // such as 72.4 can round up a pixel in floating point).
        run("rsvg-convert --dpi-x 180 --dpi-y 180 -w " + std::to_string(width) + " -h " +
            std::to_string(height) + " -o " + png + " " + svg_path);
        image im;
        im.width = width;
        im.height = height;
        std::string raw = run("/usr/bin/convert " + png + " -background white -flatten -depth 8 rgb:-");
        im.rgb.assign(raw.begin(), raw.end());
        EXPECT_EQ(im.rgb.size(), static_cast<size_t>(width) * height * 3);
        return im;
    }
};

TEST_F(PictureRenderTest, CrosswordRendersAsTheGridDescribes)
{
    const int w = 7, h = 5, s = 36;
    set_size(w, h);
    const int filled_cells[][2] = {{3, 0}, {0, 2}, {6, 2}, {3, 4}};
    for (auto &f : filled_cells)
        attribute_at(f[0], f[1]) = cell_filled;
    attribute_at(2, 1) |= bar_left;
    attribute_at(5, 3) |= bar_top;
    put_letter(1, 1, 'Q');
    put_letter(3, 0, 'x');             // hidden under its fill
    std::string qlx = temp_path("grid.qlx"), svg = temp_path("grid.svg");
    ASSERT_EQ(save_grid_file(qlx.c_str()), nullptr);
    run(std::string(QUILL_PATH) + " picture " + qlx + " " + svg);
    image im = render(svg, w * s + 1, h * s + 1);
    ASSERT_EQ(im.rgb.size(), static_cast<size_t>(im.width) * im.height * 3);

    // The cells holding text (numbers, the letter) are compared apart.
    std::vector<std::pair<int, int>> text_cells = {{1, 1}};
    number_grid([](const numbered_cell *cell, void *to) {
        static_cast<std::vector<std::pair<int, int>> *>(to)->push_back({cell->col, cell->row});
    }, &text_cells);
    auto in_text_cell = [&](int x, int y) {
        for (auto &t : text_cells)
            if (x > t.first * s && x < (t.first + 1) * s && y > t.second * s && y < (t.second + 1) * s)
                return true;
        return false;
    };
    auto expected_dark = [&](int x, int y) {
        int c = x / s, r = y / s;
        if (x == w * s && y < h * s) return true;      // the last column line
        if (y == h * s && x < w * s) return true;      // the last row line
        if (x % s == 0 || y % s == 0) return x < w * s || y < h * s;
        for (auto &f : filled_cells)                   // (S + 1) squares
            if (x >= f[0] * s && x <= f[0] * s + s && y >= f[1] * s && y <= f[1] * s + s)
                return true;
        if (c == 1 && r == 1 && x == 2 * s - 1) return true;   // left bar of (2, 1): x 71-72
        if (c == 5 && r == 2 && y == 3 * s - 1) return true;   // top bar of (5, 3): y 107-108
        return false;
    };
    int wrong = 0;
    for (int y = 0; y < im.height; y++)
        for (int x = 0; x < im.width; x++) {
            if (x == w * s && y == h * s)
                continue;                              // no line reaches the corner
            if (in_text_cell(x, y))
                continue;
            if (im.dark(x, y) != expected_dark(x, y) && wrong++ < 10)
                ADD_FAILURE() << "pixel " << x << "," << y << " dark " << im.dark(x, y);
        }
    EXPECT_EQ(wrong, 0);

    // Text: ink where the numbers and the letter stand, nothing elsewhere.
    auto ink = [&](int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++)
                n += im.dark(x, y);
        return n;
    };
    EXPECT_GT(ink(3, 3, 10, 12), 5);                   // "1" at (0, 0)
    EXPECT_EQ(ink(1, 13, s, s), 0);                    // below it: empty cell
    EXPECT_GT(ink(s + 10, s + 10, 2 * s - 10, 2 * s - 8), 20);   // the Q
    EXPECT_EQ(ink(s + 1, s + 1, s + 8, s + 8), 0);     // (1, 1) has no number
}

TEST_F(PictureRenderTest, WordsquareLineAndTheTextCommands)
{
    set_grid_type(1);
    set_size(4, 4);
    attribute_at(1, 1) = cell_filled | bar_left;       // never drawn in a Wordsquare
    std::string qlx = temp_path("square.qlx"), svg = temp_path("square.svg");
    ASSERT_EQ(save_grid_file(qlx.c_str()), nullptr);
    run(std::string(QUILL_PATH) + " picture " + qlx + " " + svg);
    image im = render(svg, 4 * 36 + 1, 4 * 36 + 1);
    ASSERT_EQ(im.rgb.size(), static_cast<size_t>(im.width) * im.height * 3);
    for (int y = 37; y < 72; y++)
        for (int x = 35; x < 72; x++)
            ASSERT_EQ(im.dark(x, y), x == 36 || y == 36) << x << "," << y;
    EXPECT_EQ(run(std::string(QUILL_PATH) + " clues " + qlx), "");   // no list in the file

    // The clue list to standard output and to a file, and the numbers.
    grid_init();
    set_size(3, 3);
    const char *rows = "abcd#efgh";
    for (int i = 0; i < 9; i++) {
        put_letter(i % 3, i / 3, rows[i] == '#' ? ' ' : rows[i]);
        attribute_at(i % 3, i / 3) = rows[i] == '#' ? cell_filled : 0;
    }
    ASSERT_EQ(save_grid_file(qlx.c_str()), nullptr);
    const std::string expected = "Clues across.\r\n1. abc\n3. fgh\n\nClues down.\n\n1. adf\n2. ceh\n";
    EXPECT_EQ(run(std::string(QUILL_PATH) + " clues " + qlx), expected);
    std::string txt = temp_path("clues.txt");
    run(std::string(QUILL_PATH) + " clues " + qlx + " " + txt);
    std::vector<unsigned char> bytes = read_bytes(txt);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
    EXPECT_EQ(run(std::string(QUILL_PATH) + " grid number " + qlx),
              "{\"width\":3,\"height\":3,\"grid_type\":0,\"numbers\":["
              "{\"number\":1,\"col\":0,\"row\":0,\"across\":{\"length\":3,\"letters\":\"abc\"},"
              "\"down\":{\"length\":3,\"letters\":\"adf\"}},"
              "{\"number\":2,\"col\":2,\"row\":0,\"across\":null,\"down\":{\"length\":3,\"letters\":\"ceh\"}},"
              "{\"number\":3,\"col\":0,\"row\":2,\"across\":{\"length\":3,\"letters\":\"fgh\"},\"down\":null}]}\n");
    EXPECT_NE(system((std::string(QUILL_PATH) + " picture " + qlx + " out.png 2>/dev/null").c_str()), 0);
}

}  // namespace
