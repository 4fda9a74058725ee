// File types by name and by number, over chained tables; the information
// record's load and exec words.
#include "files_test_util.h"

namespace {

struct FileTypes : ::testing::Test {
    filetype_link app_link;
    void SetUp() override
    {
        filetype_clear_tables();
        filetype_register(quillmere_filetypes, &app_link);
    }
    void TearDown() override { filetype_clear_tables(); }
};

TEST_F(FileTypes, TypeOfANameByExtensionOrCommaSuffix)
{
    EXPECT_EQ(filetype_of_name("C:\\Grids\\Grid.qlx"), 0x103);
    EXPECT_EQ(filetype_of_name("NOTES.TXT"), 0xFFF);
    EXPECT_EQ(filetype_of_name("picture.WMF"), 0x100);   // first "wmf" entry wins
    EXPECT_EQ(filetype_of_name("picture.emf"), 0x101);
    EXPECT_EQ(filetype_of_name("letter.doc"), 0xFFD);    // unmatched: the entry without extension
    // A leaf without a dot uses its comma suffix as an extension, not a number.
    EXPECT_EQ(filetype_of_name("words,txt"), 0xFFF);
    EXPECT_EQ(filetype_of_name("words,fff"), 0xFFD);
    EXPECT_EQ(filetype_of_name("words"), 0xFFD);
    // Only the leaf counts: a dot or comma in a directory name is no extension.
    EXPECT_EQ(filetype_of_name("C:\\my.files\\words,txt"), 0xFFF);
    EXPECT_EQ(filetype_of_name("C:\\a,txt\\words"), 0xFFD);
    // ".dat" is typed by the real data entry, never as the fallback pseudo-type.
    EXPECT_EQ(filetype_of_name("Choices.dat"), 0xFFD);
}

TEST_F(FileTypes, ExtensionsAndDescriptionsFallBackToTheDefaultEntry)
{
    EXPECT_STREQ(filetype_extension(0x103), "qlx");
    EXPECT_STREQ(filetype_extension(0x102), "wmf");
    EXPECT_STREQ(filetype_extension(0xFFD), "dat");   // no own extension
    EXPECT_STREQ(filetype_extension(0x555), "dat");   // unknown type
    EXPECT_STREQ(filetype_description(0xFFF), "Text (*.txt)");
    EXPECT_STREQ(filetype_description(0x555), "Data (*.dat)");
}

TEST_F(FileTypes, NewerTablesAreSearchedFirst)
{
    static const filetype_entry extra[] = {{0x200, "txt", "Word list (*.txt)"},
                                           {0x201, "lst", nullptr},
                                           {FILETYPE_END, nullptr, nullptr}};
    filetype_link link;
    filetype_register(extra, &link);
    EXPECT_EQ(filetype_of_name("a.txt"), 0x200);
    EXPECT_EQ(filetype_of_name("a.qlx"), 0x103);
    EXPECT_STREQ(filetype_description(0x201), "Data (*.dat)");
    // With no table holding an entry without extension an unknown one is -1.
    filetype_clear_tables();
    filetype_register(extra, &link);
    EXPECT_EQ(filetype_of_name("a.doc"), -1);
    EXPECT_EQ(filetype_extension(0x999), nullptr);
}

TEST(FileInfoWords, LoadAndExecHoldTypeAndFortyBitTime)
{
    fs_info info{};
    uint64_t t = 0xAB12345678ull;
    fs_info_stamp(&info, 0xFFF, t);
    EXPECT_EQ(info.load, 0xFFFFFFABu);
    EXPECT_EQ(info.exec, 0x12345678u);
    EXPECT_EQ(fs_info_time(&info), t);
    EXPECT_EQ(fs_info_type(&info), 0xFFF);
    info.load = 0x000000AB;   // no 0xFFF marker: no type
    EXPECT_EQ(fs_info_type(&info), -1);

    fs_info a{}, b{};
    fs_info_stamp(&a, 0x103, 1000);
    fs_info_stamp(&b, 0x103, 1150);
    EXPECT_EQ(fs_compare_times(&a, &b, 100), -1);
    EXPECT_EQ(fs_compare_times(&a, &b, 200), 0);
    EXPECT_EQ(fs_compare_times(&b, &a, 100), 1);

    // The clocks agree: 1 January 1970 is 2208988800 s after 1900.
    EXPECT_EQ(fs_time_from_unix(0, 0), 220898880000ull);
    EXPECT_EQ(fs_time_from_filetime(116444736000000000ull), 220898880000ull);
    int32_t ns;
    EXPECT_EQ(fs_time_to_unix(fs_time_from_unix(1700000000, 250000000), &ns), 1700000000);
    EXPECT_EQ(ns, 250000000);
    EXPECT_EQ(fs_time_to_filetime(fs_time_from_filetime(133000000000000000ull)),
              133000000000000000ull);
}

}  // namespace
