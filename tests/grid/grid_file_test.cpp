// The grid file: byte layout, versions, round trips, damaged files and
// failed saves.
#include "tests/grid/grid_test_support.h"

#include "app/grid/grid_document.h"
#include "app/grid/grid_file.h"
#include "toolkit/files/files_os.h"
#include "toolkit/files/stream.h"
#include "toolkit/messages/error.h"

using GridFile = GridTest;

namespace {

void put32(std::vector<unsigned char> &b, size_t at, int32_t v)
{
    if (at + 4 > b.size())
        return;
    for (int i = 0; i < 4; i++)
        b[at + i] = static_cast<unsigned char>(static_cast<uint32_t>(v) >> (8 * i));
}

int32_t get32(const std::vector<unsigned char> &b, size_t at)
{
    return static_cast<int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24);
}

// A grid file built by hand: letters "a".."z" cycling column by column,
// attribute 1 (marked) on cell (0,0), bars on (1,0), filled at (0,1).
std::vector<unsigned char> hand_file(const char *version, int w, int h,
                                     std::vector<std::string> names = {}, bool appearance = true)
{
    std::vector<unsigned char> b(264, 0);
    memcpy(b.data(), "anything at all here....", 24);
    memcpy(b.data() + 24, version, strlen(version));
    put32(b, 216, 30000);   // split_fraction
    put32(b, 220, 800);
    put32(b, 224, 600);
    put32(b, 228, 4);       // min_word_length
    put32(b, 232, 0);       // show_solutions
    put32(b, 236, 255);     // fill_directions
    put32(b, 240, 1);       // Wordsquare
    put32(b, 244, 2);       // case_mode
    put32(b, 248, 77);      // spare_setting
    put32(b, 252, 1);       // picture_caps
    put32(b, 256, w);
    put32(b, 260, h);
    for (const std::string &n : names) {
        std::vector<unsigned char> record(12, 0);
        memcpy(record.data(), n.data(), std::min<size_t>(12, n.size()));
        b.insert(b.end(), record.begin(), record.end());
    }
    b.insert(b.end(), 12, 0);
    for (int i = 0; i < w * h; i++)
        b.push_back(static_cast<unsigned char>('a' + i % 26));
    for (int i = 0; i < w * h; i++)
        b.push_back(i == 0 ? cell_marked : i == h ? (bar_left | bar_top | 0x30) : i == 1 ? cell_filled : 0);
    if (appearance) {
        size_t at = b.size();
        b.resize(at + 188, 0);
        put32(b, at, 200);                        // grid font height
        memcpy(b.data() + at + 8, "Georgia", 7);
        put32(b, at + 84, 90);                    // clue font height
        put32(b, at + 168, 0x11223300);           // text colour
        put32(b, at + 180, 0xFFFFFF00);           // background colour
        put32(b, at + 184, 250);                  // square percent
    }
    return b;
}

const error_block *load(const std::vector<unsigned char> &b)
{
    return load_grid_bytes(b.data(), static_cast<int>(b.size()));
}


std::vector<std::string> names_taken;
void record_names(const grid_dictionary_name *names, int count)
{
    names_taken.clear();
    for (int i = 0; i < count; i++) {
        char text[13];
        grid_dictionary_name_text(names[i], text);
        names_taken.push_back(text);
    }
}
int two_names(grid_dictionary_name *names, int)
{
    memset(names, 0, 2 * sizeof *names);
    memcpy(names[0].bytes, "MainDict", 8);
    memcpy(names[1].bytes, "Puzzle-UK-Extra", 12);
    return 2;
}

}  // namespace

TEST_F(GridFile, A15By13GridHasTheDocumentedSize)
{
    set_size(15, 13);
    EXPECT_EQ(saved_bytes().size(), 264u + 12 + 195 + 195 + 188);
    grid_dictionary_hooks hooks = {two_names, nullptr};
    grid_set_dictionary_hooks(&hooks);
    std::vector<unsigned char> b = saved_bytes();
    EXPECT_EQ(b.size(), 264u + 12 * 2 + 12 + 195 + 195 + 188);
    EXPECT_EQ(static_cast<int>(b.size()), grid_file_size(2));
    EXPECT_EQ(memcmp(b.data() + 264, "MainDict\0\0\0\0Puzzle-UK-Ex\0\0\0\0\0\0\0\0\0\0\0\0", 36), 0);
}

TEST_F(GridFile, HeaderAndLettersFollowTheLayout)
{
    set_size(10, 20);
    for (int c = 0; c < 10; c++)
        for (int r = 0; r < 20; r++) {
            put_letter(c, r, static_cast<char>('A' + c));
            attribute_at(c, r) = static_cast<uint8_t>(r);
        }
    grid.split_fraction = 12345;
    grid.grid_type = 1;
    grid.case_mode = 2;
    std::vector<unsigned char> b = saved_bytes();
    EXPECT_EQ(std::string(reinterpret_cast<char *>(b.data())), "Quillmere Grid");
    EXPECT_EQ(std::string(reinterpret_cast<char *>(b.data() + 24)), "1.02");
    EXPECT_EQ(std::string(reinterpret_cast<char *>(b.data() + 32)), "(14-Dec-2001)");
    for (size_t i = 32 + 14; i < 216; i++)
        ASSERT_EQ(b[i], 0) << i;
    EXPECT_EQ(get32(b, 216), 12345);
    EXPECT_EQ(get32(b, 240), 1);
    EXPECT_EQ(get32(b, 244), 2);
    EXPECT_EQ(get32(b, 256), 10);
    EXPECT_EQ(get32(b, 260), 20);
    // Ten groups of twenty letter bytes, then the attributes in the same order.
    size_t letters = 264 + 12, attributes = letters + 200;
    for (int c = 0; c < 10; c++)
        for (int r = 0; r < 20; r++) {
            ASSERT_EQ(b[letters + c * 20 + r], 'A' + c);
            ASSERT_EQ(b[attributes + c * 20 + r], r);
        }
    EXPECT_EQ(get32(b, attributes + 200), 128);            // grid font height
    EXPECT_EQ(get32(b, attributes + 200 + 184), 180);      // square percent
}

TEST_F(GridFile, LoadingTakesEverySettingAndDropsMarks)
{
    mark_modified();
    ASSERT_EQ(list_add_word(-1, -1, -1, -1, "old"), nullptr);
    ASSERT_EQ(load(hand_file("1.02", 5, 4, {"MainDict", "Other"})), nullptr);
    EXPECT_STREQ(loaded_version, "1.02");
    EXPECT_EQ(grid.width, 5);
    EXPECT_EQ(grid.height, 4);
    EXPECT_EQ(grid.split_fraction, 30000);
    EXPECT_EQ(grid.window_width, 800);
    EXPECT_EQ(grid.min_word_length, 4);
    EXPECT_EQ(grid.show_solutions, 0);
    EXPECT_EQ(grid.fill_directions, 255u);
    EXPECT_EQ(grid.loaded_grid_type, 1);
    EXPECT_EQ(grid.grid_type, 0);   // the caller applies the type
    EXPECT_EQ(grid.case_mode, 2);
    EXPECT_EQ(grid.spare_setting, 77);
    EXPECT_EQ(grid.picture_caps, 1);
    EXPECT_EQ(letter_at(0, 0), 'a');
    EXPECT_EQ(letter_at(0, 3), 'd');
    EXPECT_EQ(letter_at(1, 0), 'e');   // columns follow each other
    EXPECT_EQ(attribute_at(0, 0), cell_open);      // a mark does not survive
    EXPECT_EQ(attribute_at(0, 1), cell_filled);    // a filled cell stays filled
    EXPECT_EQ(attribute_at(1, 0), bar_left | bar_top | 0x30);
    EXPECT_EQ(grid.grid_font.height, 200);
    EXPECT_STREQ(grid.grid_font.face, "Georgia");
    EXPECT_EQ(grid.text_colour, 0x11223300u);
    EXPECT_EQ(grid.square_size, 200 * 180 * 250 / 115200);
    EXPECT_EQ(ui.extent_width, 5 * grid.square_size);
    EXPECT_EQ(ui.resized_width, 800);
    EXPECT_EQ(grid.word_count, 0);
    EXPECT_EQ(grid.cursor_col, -1);
    EXPECT_EQ(grid.modified_count, 1);   // a plain load leaves the document state

    grid_dictionary_name names[32];
    ASSERT_EQ(grid_document_names(names, 32), 2);   // kept as read
    EXPECT_EQ(saved_bytes().size(), 264u + 36 + 40 + 188);
}

TEST_F(GridFile, OlderVersionsSortAsText)
{
    grid.text_colour = 0x00FF0000;   // shown now, not a default
    grid.square_percent = 333;
    ASSERT_EQ(load(hand_file("1.01", 4, 4, {}, false)), nullptr);
    EXPECT_EQ(grid.text_colour, 0u);           // the default settings replace them
    EXPECT_EQ(grid.square_percent, 180);
    EXPECT_EQ(attribute_at(1, 0), bar_left | bar_top | 0x30);   // 1.01 has bars

    ASSERT_EQ(load(hand_file("1.00", 4, 4, {}, false)), nullptr);
    EXPECT_EQ(attribute_at(1, 0), 0x30);       // before 1.01: no bars
    ASSERT_EQ(load(hand_file("0.9x", 4, 4, {}, false)), nullptr);
    EXPECT_EQ(attribute_at(1, 0), 0x30);

    for (const char *v : {"1.03", "2.0", "1.02beta", "12345678"}) {
        SCOPED_TRACE(v);
        grid_init();
        ASSERT_EQ(load(hand_file(v, 4, 4)), nullptr);
        EXPECT_EQ(grid.square_percent, 250);   // read with the appearance block
        EXPECT_EQ(loaded_version, std::string(v));
    }
    // A 1.01 file given an appearance block ends where 1.01 ends: extra
    // bytes after the attributes are ignored.
    ASSERT_EQ(load(hand_file("1.01", 4, 4)), nullptr);
    EXPECT_EQ(grid.square_percent, 180);
}

TEST_F(GridFile, MarksOutsideTheLoadedSizeDoNotSurviveTheLoad)
{
    mark_rectangle(8, 3, 10, 3);
    ASSERT_EQ(load(hand_file("1.02", 5, 4)), nullptr);
    EXPECT_EQ(grid.mark_col_a, -1);
    set_size(16, 16);
    EXPECT_EQ(attribute_at(9, 3) & cell_state_mask, cell_open);
}

TEST_F(GridFile, ZeroSplitFractionKeepsTheDivider)
{
    std::vector<unsigned char> b = hand_file("1.02", 4, 4);
    put32(b, 216, 0);
    grid.split_fraction = 5000;
    ASSERT_EQ(load(b), nullptr);
    EXPECT_EQ(grid.split_fraction, 5000);
    put32(b, 220, 0);   // one window dimension 0: the window is not resized
    ui.resized_width = -1;
    ASSERT_EQ(load(b), nullptr);
    EXPECT_EQ(ui.resized_width, -1);
}

TEST_F(GridFile, DictionaryNamesReachTheDictionarySet)
{
    grid_dictionary_hooks hooks = {nullptr, record_names};
    grid_set_dictionary_hooks(&hooks);
    std::vector<std::string> many;
    for (int i = 0; i < 40; i++)
        many.push_back("Dict" + std::to_string(i));
    many.push_back("TwelveBytes!");
    ASSERT_EQ(load(hand_file("1.02", 3, 3, many)), nullptr);
    ASSERT_EQ(names_taken.size(), 41u);   // the set decides which it can take
    EXPECT_EQ(names_taken[0], "Dict0");
    EXPECT_EQ(names_taken[40], "TwelveBytes!");
}

TEST_F(GridFile, RoundTripThroughAFileIsByteIdentical)
{
    set_size(13, 9);
    for (int c = 0; c < 13; c++)
        for (int r = 0; r < 9; r++) {
            put_letter(c, r, static_cast<char>(c == r ? ' ' : 0xC0 + (c * 9 + r) % 60));
            attribute_at(c, r) = static_cast<uint8_t>((c + r) % 3 == 0 ? cell_filled : (c * r) & 0xFC);
        }
    grid.case_mode = 1;
    grid.clue_font.weight = 700;
    grid.clue_font.italic = 1;
    strcpy(grid.clue_font.face, "Times New Roman");
    grid.filled_colour = 0x80808000;
    std::string path = temp_path("round.qlx"), again = temp_path("again.qlx");
    ASSERT_EQ(save_grid_to(path.c_str()), nullptr);
    EXPECT_STREQ(grid.grid_file_name, path.c_str());
    grid_model before = grid;

    grid_init();
    ASSERT_EQ(open_grid_document(path.c_str()), nullptr);
    EXPECT_EQ(memcmp(grid.letters, before.letters, sizeof grid.letters), 0);
    EXPECT_EQ(memcmp(grid.attributes, before.attributes, sizeof grid.attributes), 0);
    EXPECT_EQ(memcmp(&grid.clue_font, &before.clue_font, sizeof(font_spec)), 0);
    EXPECT_EQ(grid.filled_colour, before.filled_colour);
    EXPECT_EQ(grid.case_mode, 1);
    EXPECT_STREQ(grid.grid_file_name, path.c_str());
    ASSERT_EQ(save_grid_file(again.c_str()), nullptr);
    EXPECT_EQ(read_bytes(path), read_bytes(again));
}

TEST_F(GridFile, SaveWithoutANameFailsWithENOSAVE)
{
    mark_modified();
    const error_block *e = save_grid();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->errnum, ENOSAVE);
    EXPECT_EQ(grid.modified_count, 1);
}

namespace {
int failing_write(intptr_t, const void *, int, int *done)
{
    *done = 0;
    return 28;   // ENOSPC natively, ERROR_HANDLE_EOF's neighbour on Windows: any failure
}
}  // namespace

TEST_F(GridFile, AFailedSaveLeavesTheOldFileNameAndCount)
{
    // A directory of its own, so that a left-over temporary file shows.
    std::filesystem::path dir = temp_path("dir");
    std::filesystem::remove_all(dir);
    std::filesystem::create_directory(dir);
    std::string path = (dir / "keep.qlx").string();
    ASSERT_EQ(save_grid_to(path.c_str()), nullptr);
    std::vector<unsigned char> good = read_bytes(path);
    put_letter(0, 0, 'Z');
    mark_modified();
    set_grid_file_name("earlier.qlx");

    fs_os.write.current = failing_write;
    const error_block *e = save_grid_to(path.c_str());
    fs_os_restore();
    EXPECT_NE(e, nullptr);
    EXPECT_EQ(read_bytes(path), good);
    EXPECT_EQ(grid.modified_count, 1);
    EXPECT_STREQ(grid.grid_file_name, "earlier.qlx");
    int entries = 0;
    for (const auto &entry : std::filesystem::directory_iterator(dir))
        entries += entry.is_regular_file();
    EXPECT_EQ(entries, 1);
    std::filesystem::remove_all(dir);
}

TEST_F(GridFile, AnUnopenableFileReportsTheFileLayersError)
{
    EXPECT_NE(load_grid_file(temp_path("absent.qlx").c_str()), nullptr);
    EXPECT_NE(save_grid_file(temp_path("no/such/dir/x.qlx").c_str()), nullptr);
}

TEST_F(GridFile, TheDefaultGridFallsBackToTheDefaultSettings)
{
    grid_ui_hooks h = grid_hooks;
    h.login_name = [](char *out, int size) -> int { return snprintf(out, size, "nobody-here") < 0; };
    grid_set_hooks(&h);
    char path[512];
    ASSERT_EQ(default_grid_path(path, sizeof path), nullptr);
    EXPECT_EQ(std::string(path),
              "<HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App "
              "Paths\\Quillmere.exe\\Path>\\Default\\nobody-here.qlx");
    grid_defaults.square_percent = 222;
    ASSERT_EQ(load_default_grid(), nullptr);
    EXPECT_EQ(grid.square_percent, 222);
    EXPECT_EQ(grid.square_size, 128 * 180 * 222 / 115200);
    EXPECT_EQ(grid.grid_type, 0);

    h.login_name = [](char *, int) { return 1326; };
    grid_set_hooks(&h);
    const error_block *e = load_default_grid();
    ASSERT_NE(e, nullptr);
    EXPECT_NE(strstr(e->errmess, "GetUserName"), nullptr);
}
