// The dialogues' filter lists and extension rules, and loading by type
// (with the deferred load that waits for the poll loop).
#include "files_test_util.h"

namespace {

// The entries of a NUL-separated list ending with an extra NUL.
std::vector<std::string> entries(const char *list)
{
    std::vector<std::string> out;
    for (const char *p = list; *p; p += strlen(p) + 1)
        out.push_back(p);
    return out;
}

struct Dialogs : ::testing::Test {
    filetype_link link;
    void SetUp() override
    {
        load_toolkit_messages();
        filetype_clear_tables();
        filetype_register(quillmere_filetypes, &link);
        fs_set_save_formats(nullptr, 0);
    }
    void TearDown() override
    {
        fs_set_save_formats(nullptr, 0);
        filetype_clear_tables();
        fs_events = fs_event_hooks{};
    }
};

int grid_format(const char **d) { *d = "{NAME} grid file (*.qlx)"; return 0x103; }
int emf_format(const char **d) { *d = nullptr; return 0x101; }
int wmf_format(const char **d) { *d = nullptr; return 0x100; }
int placeable_format(const char **d) { *d = nullptr; return 0x102; }

TEST_F(Dialogs, SaveFilterOffersOneTypeOrTheRegisteredFormats)
{
    char buffer[SAVE_FILTER_SIZE];
    int types[8], selected = -1;
    ASSERT_EQ(fs_build_save_filter(buffer, sizeof buffer, 0xFFF, types, 8, &selected), 1);
    EXPECT_EQ(entries(buffer), (std::vector<std::string>{"Text (*.txt)", "*.txt"}));
    EXPECT_EQ(selected, 0);

    static const save_format_function formats[] = {grid_format, emf_format, wmf_format,
                                                   placeable_format};
    fs_set_save_formats(formats, 4);
    ASSERT_EQ(fs_build_save_filter(buffer, sizeof buffer, 0x100, types, 8, &selected), 4);
    EXPECT_EQ(entries(buffer),
              (std::vector<std::string>{"Quillmere grid file (*.qlx)", "*.qlx",
                                        "Enhanced metafile (*.emf)", "*.emf",
                                        "Windows metafile (*.wmf)", "*.wmf",
                                        "Placement metafile (*.wmf)", "*.wmf"}));
    EXPECT_EQ(types[0], 0x103);
    EXPECT_EQ(types[3], 0x102);
    EXPECT_EQ(selected, 2);

    // A buffer too small stops before the entry that would pass its end.
    char small[48];
    size_t mark = log_mark();
    ASSERT_EQ(fs_build_save_filter(small, sizeof small, 0x103, types, 8, &selected), 1);
    EXPECT_EQ(entries(small).size(), 2u);
    EXPECT_NE(log_since(mark).find("savefilterbuffer overrun"), std::string::npos);
}

TEST_F(Dialogs, LoadFilterListsEveryTypeOfAGroup)
{
    static const int grid[] = {0x103};
    static const int pictures[] = {0x101, 0x100};
    static const int any[] = {-1};
    const load_filter_group groups[] = {{"{NAME} grid files (*.qlx)", grid, 1},
                                        {"Pictures", pictures, 2},
                                        {"All files", any, 1}};
    char buffer[LOAD_FILTER_SIZE];
    ASSERT_TRUE(fs_build_load_filter(buffer, sizeof buffer, groups, 3));
    EXPECT_EQ(entries(buffer),
              (std::vector<std::string>{"Quillmere grid files (*.qlx)", "*.qlx;", "Pictures",
                                        "*.emf;*.wmf;", "All files", "*.*;"}));
    char small[40];
    EXPECT_FALSE(fs_build_load_filter(small, sizeof small, groups, 3));
    EXPECT_EQ(entries(small).size(), 2u);
}

TEST_F(Dialogs, ExtensionRulesForFormatSwitchAndOk)
{
    char name[32] = "C:\\a.b\\Grid.qlx";
    ASSERT_EQ(fs_set_extension(name, sizeof name, "wmf", false), nullptr);   // format switch
    EXPECT_STREQ(name, "C:\\a.b\\Grid.wmf");
    ASSERT_EQ(fs_set_extension(name, sizeof name, "WMF", true), nullptr);   // OK: same, kept
    EXPECT_STREQ(name, "C:\\a.b\\Grid.wmf");
    char bare[32] = "C:\\a.b\\Grid";
    ASSERT_EQ(fs_set_extension(bare, sizeof bare, "qlx", true), nullptr);   // appended
    EXPECT_STREQ(bare, "C:\\a.b\\Grid.qlx");
    char tight[9] = "Grid.tx";
    EXPECT_NE(fs_set_extension(tight, sizeof tight, "text", true), nullptr);
    EXPECT_STREQ(tight, "Grid.tx");
}

// Fake event loop for loading by type.
struct fake_loop {
    int polling = 0;
    std::vector<std::string> loads;
    void *service_value = nullptr;
    const error_block *(*service)(void *) = nullptr;
    int removed = 0;
} loop;

int fake_polling() { return loop.polling; }
const error_block *fake_raise(const char *path, int type, void *)
{
    loop.loads.push_back(std::string(path) + " " + std::to_string(type));
    return nullptr;
}
const error_block *fake_add(int code, const error_block *(*h)(void *), void *value)
{
    EXPECT_EQ(code, 0x10007);
    loop.service = h;
    loop.service_value = value;
    return nullptr;
}
void fake_remove(int code, const error_block *(*h)(void *), void *value)
{
    EXPECT_EQ(code, 0x10007);
    EXPECT_EQ(h, loop.service);
    EXPECT_EQ(value, loop.service_value);
    loop.removed++;
}

TEST_F(Dialogs, LoadByTypeWaitsForThePollLoop)
{
    loop = fake_loop{};
    fs_events = fs_event_hooks{fake_polling, fake_raise, fake_add, fake_remove};
    int argument = 0;
    ASSERT_EQ(fs_load_by_type("C:\\x\\words.txt", &argument), nullptr);   // with an argument: now
    ASSERT_EQ(fs_load_by_type("C:\\x\\Grid.qlx", nullptr), nullptr);      // deferred
    EXPECT_EQ(loop.loads, (std::vector<std::string>{"C:\\x\\words.txt 4095"}));
    ASSERT_NE(loop.service, nullptr);
    loop.polling = 1;
    ASSERT_EQ(loop.service(loop.service_value), nullptr);   // the loop starts
    EXPECT_EQ(loop.removed, 1);
    EXPECT_EQ(loop.loads.back(), "C:\\x\\Grid.qlx 259");
    ASSERT_EQ(fs_load_by_type("C:\\x\\Grid.qlx", nullptr), nullptr);   // polling: at once
    EXPECT_EQ(loop.loads.size(), 3u);
    loop.polling = 0;   // a path too long to store is refused, not cut
    EXPECT_NE(fs_load_by_type(std::string(300, 'p').c_str(), nullptr), nullptr);
}

}  // namespace
