// Shared fixtures of the grid tests: hooks that record what the engine
// asked of the user interface, a fresh grid per test, temporary files.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/grid/app_errors.h"
#include "app/grid/grid_file.h"
#include "toolkit/files/stream.h"
#include "app/grid/grid.h"
#include "app/grid/grid_dictionaries.h"
#include "app/grid/grid_hooks.h"
#include "app/grid/result_list.h"

struct ui_record {
    int redraw_cells = 0;
    int redraw_grid = 0;
    int retitle = 0;
    int refresh_solutions = 0;
    std::vector<int> progress;
    std::vector<std::string> marked_length;
    std::vector<int> button_bars;
    int extent_width = -1, extent_height = -1;
    int resized_width = -1, resized_height = -1;
    int beeps = 0;
    int shown_col = -1, shown_row = -1;   // the latest cell scrolled into view
};

inline ui_record ui;

inline void install_recording_hooks()
{
    ui = ui_record();
    grid_ui_hooks h{};
    h.redraw_cells = [](int, int, int, int) { ui.redraw_cells++; };
    h.redraw_grid = [] { ui.redraw_grid++; };
    h.set_extent = [](int w, int hgt) {
        ui.extent_width = w;
        ui.extent_height = hgt;
    };
    h.retitle = [] { ui.retitle++; };
    h.show_marked_length = [](const char *t) { ui.marked_length.push_back(t); };
    h.show_progress = [](int n) { ui.progress.push_back(n); };
    h.refresh_solutions = [] { ui.refresh_solutions++; };
    h.switch_button_bar = [](int t) { ui.button_bars.push_back(t); };
    h.resize_main_window = [](int w, int hgt) {
        ui.resized_width = w;
        ui.resized_height = hgt;
    };
    h.beep = [] { ui.beeps++; };
    h.show_cell = [](int c, int r) {
        ui.shown_col = c;
        ui.shown_row = r;
    };
    grid_set_hooks(&h);
}

class GridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app_errors_register();
        grid_set_dictionary_hooks(nullptr);
        grid_set_hooks(nullptr);
        grid_init();
        install_recording_hooks();
    }
    void TearDown() override
    {
        list_clear();
        grid_set_hooks(nullptr);
        for (const std::string &p : temporaries)
            std::remove(p.c_str());
    }

    // A path for a temporary file of this test (removed afterwards).
    std::string temp_path(const std::string &leaf)
    {
        const ::testing::TestInfo *t = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string p = (std::filesystem::temp_directory_path() /
                         (std::string("qm_grid_") + t->name() + "_" + leaf))
                            .string();
        temporaries.push_back(p);
        return p;
    }

    std::vector<std::string> temporaries;
};

inline std::vector<unsigned char> read_bytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

inline void write_bytes(const std::string &path, const std::vector<unsigned char> &bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void put_letter(int c, int r, char letter) { grid.letters[grid_cell(c, r)] = static_cast<uint8_t>(letter); }
inline char letter_at(int c, int r) { return static_cast<char>(grid.letters[grid_cell(c, r)]); }
inline uint8_t &attribute_at(int c, int r) { return grid.attributes[grid_cell(c, r)]; }

// Marks the rectangle (c0, r0)-(c1, r1) as a drag would.
inline void mark_rectangle(int c0, int r0, int c1, int r1)
{
    for (int c = c0; c <= c1; c++)
        for (int r = r0; r <= r1; r++) {
            uint8_t &a = attribute_at(c, r);
            if ((a & cell_state_mask) != cell_filled)
                a = static_cast<uint8_t>((a & ~cell_state_mask) | cell_marked);
        }
    grid.mark_col_a = c0;
    grid.mark_row_a = r0;
    grid.mark_col_b = c1;
    grid.mark_row_b = r1;
}

// The current grid written to memory.
inline std::vector<unsigned char> saved_bytes()
{
    fs_stream s{};
    EXPECT_EQ(stream_open(nullptr, "w", 256, &s), nullptr);
    EXPECT_EQ(write_grid_stream(&s), nullptr);
    int length = 0;
    const char *bytes = stream_memory(&s, &length);
    std::vector<unsigned char> out(bytes, bytes + length);
    stream_close(&s, nullptr);
    return out;
}
