// The SVG picture writer. Coordinates follow the metafile drawing exactly:
// a one-unit line at x is drawn centred on x + 0.5, so that at 180 dots per
// inch it covers the same pixel column as the metafile's line.
#include "app/grid/picture_svg.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/grid/clues.h"
#include "app/grid/grid.h"
#include "app/grid/result_list.h"
#include "toolkit/files/stream.h"
#include "toolkit/messages/error.h"
#include "toolkit/text/cp1252.h"

namespace {

struct face_proportions {
    const char *face;      // lower-case face name
    double ascent, descent;   // per em
    const char *generic;   // CSS generic family
};

// Ascent and descent of the faces our pictures use (from their fonts'
// Windows metrics); any other face is measured as Arial.
const face_proportions faces[] = {
    {"arial", 0.905, 0.212, "sans-serif"},
    {"liberation sans", 0.905, 0.212, "sans-serif"},
    {"times new roman", 0.891, 0.216, "serif"},
    {"liberation serif", 0.891, 0.216, "serif"},
    {"courier new", 0.833, 0.300, "monospace"},
    {"liberation mono", 0.833, 0.300, "monospace"},
    {nullptr, 0, 0, nullptr},
};

const face_proportions &proportions(const font_spec &font)
{
    char face[sizeof font.face + 1];
    memcpy(face, font.face, sizeof font.face);
    face[sizeof font.face] = 0;
    cp_lower_string(face);
    for (const face_proportions *f = faces; f->face; f++)
        if (strcmp(f->face, face) == 0)
            return *f;
    return faces[0];
}

// Text for XML character data and attribute values; control characters
// (not allowed in XML 1.0) and the five C1 bytes that code page 1252
// leaves unassigned are dropped.
void append_xml(std::string &out, unsigned char c)
{
    switch (c) {
    case '&': out += "&amp;"; return;
    case '<': out += "&lt;"; return;
    case '>': out += "&gt;"; return;
    case '"': out += "&quot;"; return;
    case 0x81: case 0x8D: case 0x8F: case 0x90: case 0x9D: return;
    default:
        if (c < 32 || c == 127)
            return;
        cp_append_utf8(out, c);
    }
}

std::string colour(uint32_t word)   // 0xBBGGRR00
{
    char text[8];
    snprintf(text, sizeof text, "#%02x%02x%02x", (word >> 8) & 0xFF, (word >> 16) & 0xFF, (word >> 24) & 0xFF);
    return text;
}

std::string font_attributes(const font_spec &font, int em)
{
    std::string out = " font-family=\"";
    for (size_t i = 0; i < sizeof font.face && font.face[i]; i++)
        append_xml(out, static_cast<unsigned char>(font.face[i]));
    out += ", ";
    out += proportions(font).generic;
    out += "\" font-size=\"" + std::to_string(em) + "\"";
    if (font.weight >= 550)
        out += " font-weight=\"bold\"";
    if (font.italic)
        out += " font-style=\"italic\"";
    return out;
}

struct svg_writer {
    std::string text;   // built whole, then written once
    int side;           // S
    bool crossword;
};

void line(std::string &out, const char *format, ...) __attribute__((format(printf, 2, 3)));
void line(std::string &out, const char *format, ...)
{
    char buffer[256];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    out += buffer;
}

bool filled(int c, int r) { return (grid.attributes[grid_cell(c, r)] & cell_state_mask) == cell_filled; }

void grid_lines(svg_writer &w)
{
    int s = w.side, right = grid.width * s, bottom = grid.height * s;
    line(w.text, "<path fill=\"none\" stroke=\"%s\" stroke-width=\"1\" d=\"", colour(grid.grid_colour).c_str());
    for (int i = 0; i <= grid.width; i++)
        line(w.text, "M%d.5 0V%d", i * s, bottom);
    for (int j = 0; j <= grid.height; j++)
        line(w.text, "M0 %d.5H%d", j * s, right);
    w.text += "\"/>\n";
}

void bars(svg_writer &w)
{
    int s = w.side;
    std::string body;
    for (int c = 0; c < grid.width; c++)
        for (int r = 0; r < grid.height; r++) {
            uint8_t a = grid.attributes[grid_cell(c, r)];
            if (a & bar_left)
                line(body, "<rect x=\"%d\" y=\"%d\" width=\"2\" height=\"%d\"/>\n", c * s - 1, r * s, s);
            if (a & bar_top)
                line(body, "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"2\"/>\n", c * s, r * s - 1, s);
        }
    if (!body.empty())
        w.text += "<g fill=\"" + colour(grid.grid_colour) + "\">\n" + body + "</g>\n";
}

void filled_squares(svg_writer &w)
{
    int s = w.side;
    std::string body;
    for (int c = 0; c < grid.width; c++)
        for (int r = 0; r < grid.height; r++)
            if (filled(c, r))
                line(body, "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\"/>\n", c * s, r * s, s + 1, s + 1);
    if (!body.empty())
        w.text += "<g fill=\"" + colour(grid.filled_colour) + "\">\n" + body + "</g>\n";
}

struct number_context {
    std::string *body;
    int side, ascent;
};

void add_number(const numbered_cell *cell, void *context)
{
    number_context *n = static_cast<number_context *>(context);
    line(*n->body, "<text x=\"%d\" y=\"%d\">%d</text>\n", cell->col * n->side + 3,
         cell->row * n->side + n->ascent + 2, cell->number);
}

void clue_numbers(svg_writer &w)
{
    picture_font f = picture_font_measure(grid.clue_font);
    std::string body;
    number_context context{&body, w.side, f.ascent};
    number_grid(add_number, &context);
    if (!body.empty())
        w.text += "<g" + font_attributes(grid.clue_font, f.em) + " fill=\"" + colour(grid.text_colour) +
                  "\">\n" + body + "</g>\n";
}

void letters(svg_writer &w)
{
    picture_font f = picture_font_measure(grid.grid_font);
    int s = w.side, baseline = f.ascent + (s - f.height) / 2;
    std::string body;
    for (int r = 0; r < grid.height; r++)
        for (int c = 0; c < grid.width; c++) {
            unsigned char letter = grid.letters[grid_cell(c, r)];
            if (letter == ' ' || (w.crossword && filled(c, r)))
                continue;
            if (grid.picture_caps)
                letter = cp_upper(letter);
            std::string shown;
            append_xml(shown, letter);
            if (shown.empty())
                continue;
            line(body, "<text x=\"%d\" y=\"%d\">", c * s + s / 2, r * s + baseline);
            body += shown + "</text>\n";
        }
    if (!body.empty())
        w.text += "<g" + font_attributes(grid.grid_font, f.em) + " fill=\"" + colour(grid.text_colour) +
                  "\" text-anchor=\"middle\">\n" + body + "</g>\n";
}

// Words without a position would give a line outside the picture: left out.
void solution_lines(svg_writer &w)
{
    int s = w.side;
    std::string body;
    for (int i = 0; i < grid.word_count; i++) {
        const word_record *word = list_word(i);
        if (!word || word->col < 0 || word->row < 0)
            continue;
        int length = static_cast<int>(strnlen(word->text, sizeof word->text));
        int last_col = word->col + word->col_step * (length - 1);
        int last_row = word->row + word->row_step * (length - 1);
        line(body, "M%d.5 %d.5L%d.5 %d.5", word->col * s + s / 2, word->row * s + s / 2,
             last_col * s + s / 2, last_row * s + s / 2);
    }
    if (!body.empty())
        w.text += "<path fill=\"none\" stroke=\"" + colour(grid.grid_colour) +
                  "\" stroke-width=\"1\" d=\"" + body + "\"/>\n";
}

}  // namespace

picture_font picture_font_measure(const font_spec &font)
{
    const face_proportions &p = proportions(font);
    double em = std::fabs(static_cast<double>(font.height)) * 5 / 32;   // 1/16 point to 1/180 inch
    if (em > 1e6)
        em = 1e6;
    picture_font f;
    f.em = static_cast<int>(std::lround(em)) > 0 ? static_cast<int>(std::lround(em)) : 1;
    f.ascent = static_cast<int>(std::lround(em * p.ascent));
    f.height = static_cast<int>(std::lround(em * (p.ascent + p.descent)));
    return f;
}

const error_block *write_svg_picture_stream(fs_stream *stream)
{
    update_square_size();
    svg_writer w{std::string(), grid.square_size, grid.grid_type == 0};
    int width = grid.width * w.side + 1, height = grid.height * w.side + 1;
    w.text += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    line(w.text,
         "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"%d.%dpt\" height=\"%d.%dpt\" "
         "viewBox=\"0 0 %d %d\">\n",
         width * 2 / 5, width * 2 % 5 * 2, height * 2 / 5, height * 2 % 5 * 2, width, height);
    line(w.text, "<rect width=\"%d\" height=\"%d\" fill=\"%s\"/>\n", grid.width * w.side,
         grid.height * w.side, colour(grid.background_colour).c_str());
    grid_lines(w);
    if (w.crossword) {
        bars(w);
        filled_squares(w);
        clue_numbers(w);
    }
    letters(w);
    if (!w.crossword && grid.show_solutions)
        solution_lines(w);
    w.text += "</svg>\n";
    if (w.text.size() > 0x7FFFFFFF)
        return make_error(30, "write_svg_picture");
    return stream_write(stream, w.text.data(), static_cast<int>(w.text.size()));
}

const error_block *save_svg_picture(const char *path)
{
    fs_stream s{};
    if (const error_block *e = stream_open_safe(path, 4096, &s))
        return e;
    return stream_close(&s, write_svg_picture_stream(&s));
}
