// The package reader against archives built in memory: names, stored and
// deflated members, time stamps, and damaged or hostile archives.
#include "installer/package.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

#include "tests/installer/zip_builder.h"
#include "tests/scratch_dir.h"

namespace fs = std::filesystem;

namespace {

struct PackageTest : testing::Test {
    fs::path dir;
    std::string archive;  // must outlive the attached package

    void SetUp() override
    {
        dir = private_temp_dir("qm_package_");
        remove_tree(dir);
        fs::create_directories(dir / "out");
    }
    void TearDown() override { remove_tree(dir); }

    void attach(const std::string &bytes)
    {
        archive = bytes;
        ASSERT_EQ(package_attach(archive.data(), archive.size()), nullptr);
    }
    std::string out() const { return (dir / "out").string(); }
    static std::string read(const fs::path &p)
    {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Every file under dir, so that a test sees anything written anywhere.
    size_t files_written() const
    {
        size_t n = 0;
        for (auto &e : fs::recursive_directory_iterator(dir))
            n += e.is_regular_file();
        return n;
    }
};

std::string big_text(size_t n)
{
    std::string s;
    uint32_t r = 12345;
    while (s.size() < n) {
        r = r * 214013 + 2531011;
        s += "word" + std::to_string((r >> 16) % 5000) + ((r & 0x100) ? "\r\n" : " ");
    }
    s.resize(n);
    return s;
}

TEST_F(PackageTest, FindsMembersByNameInEitherCaseAndSlashPastATrailingComment)
{
    zip_builder z;
    z.add("Quillmere.exe", "MZ program", false);
    z.add("help/Quillmere.chm", "ITSF help", true);
    z.add("licence.txt", "Licence terms\r\n", false);
    // The comment holds a false end signature: the nearest to the end wins.
    std::string comment = std::string("PK\x05\x06", 4) + std::string(30, 'x');
    attach(z.finish(comment));

    char name[64];
    const unsigned char *next = nullptr;
    const unsigned char *first = find_member(nullptr, nullptr, name, sizeof name, &next);
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(name, "Quillmere.exe");
    EXPECT_NE(find_member(nullptr, next, name, sizeof name, nullptr), nullptr);
    EXPECT_STREQ(name, "help\\Quillmere.chm");

    EXPECT_NE(find_member("QUILLMERE.EXE", nullptr, nullptr, 0, nullptr), nullptr);
    EXPECT_NE(find_member("HELP\\quillmere.CHM", nullptr, nullptr, 0, nullptr), nullptr);
    EXPECT_NE(find_member("help/", nullptr, name, sizeof name, nullptr), nullptr);  // a prefix
    EXPECT_STREQ(name, "help\\Quillmere.chm");
    EXPECT_EQ(find_member("licence.txt.bak", nullptr, nullptr, 0, nullptr), nullptr);
    EXPECT_EQ(find_member("Uninstall.exe", nullptr, nullptr, 0, nullptr), nullptr);

    const char *text;
    uint32_t size;
    ASSERT_TRUE(member_text("LICENCE.TXT", &text, &size));
    EXPECT_EQ(std::string(text, size), "Licence terms\r\n");
    EXPECT_FALSE(member_text("help\\Quillmere.chm", &text, &size));  // deflated
    EXPECT_FALSE(member_text("Uninstall.exe", &text, &size));

    // A short name buffer takes what fits, ended by NUL.
    char tiny[5];
    find_member("help", nullptr, tiny, sizeof tiny, nullptr);
    EXPECT_STREQ(tiny, "help");
}

TEST_F(PackageTest, WritesStoredAndDeflatedMembersWithTheirLocalTimeStamp)
{
    std::string big = big_text(300000);  // many 32 KB pieces
    std::string odd = big_text(32768 * 3);  // ends exactly on a piece
    // 2024-05-17 13:33:30 local time.
    uint16_t date = ((2024 - 1980) << 9) | (5 << 5) | 17, time = (13 << 11) | (33 << 5) | 15;
    zip_builder z;
    z.add("Quillmere.exe", big, false, date, time);
    z.add("Quillmere.chm", big, true, date, time);
    z.add("Three.bin", odd, true);
    z.add("Empty.txt", "", true);
    attach(z.finish());

    for (const char *name : {"Quillmere.exe", "quillmere.chm", "Three.bin", "Empty.txt"})
        ASSERT_EQ(extract_member(name, out().c_str()), nullptr) << name;
    EXPECT_EQ(read(dir / "out" / "Quillmere.exe"), big);
    EXPECT_EQ(read(dir / "out" / "quillmere.chm"), big);
    EXPECT_EQ(read(dir / "out" / "Three.bin"), odd);
    EXPECT_EQ(read(dir / "out" / "Empty.txt"), "");

    struct stat st;
    ASSERT_EQ(stat((dir / "out" / "quillmere.chm").string().c_str(), &st), 0);
    time_t when = st.st_mtime;
    struct tm *local = localtime(&when);
    EXPECT_EQ(local->tm_year + 1900, 2024);
    EXPECT_EQ(local->tm_mon + 1, 5);
    EXPECT_EQ(local->tm_mday, 17);
    EXPECT_EQ(local->tm_hour, 13);
    EXPECT_EQ(local->tm_min, 33);
    EXPECT_EQ(local->tm_sec, 30);

    // Extracting again overwrites (a retried install).
    ASSERT_EQ(extract_member("Three.bin", out().c_str()), nullptr);
    EXPECT_EQ(read(dir / "out" / "Three.bin"), odd);
}

TEST_F(PackageTest, DamagedArchivesGiveClearErrorsAndWriteNothingOutside)
{
    std::string data = big_text(70000);
    zip_builder z;
    z.add("Quillmere.exe", data, true);
    z.add("licence.txt", "terms", false);
    std::string good = z.finish();

    // No archive, or no end record.
    EXPECT_NE(package_attach(nullptr, 0), nullptr);
    EXPECT_NE(package_attach(good.data(), 21), nullptr);
    std::string no_end = good.substr(0, good.size() - 22) + std::string(22, 'x');
    const install_error *e = package_attach(no_end.data(), no_end.size());
    ASSERT_NE(e, nullptr);
    EXPECT_NE(std::string(e->text).find("damaged"), std::string::npos);

    // A missing member is an error and writes nothing.
    attach(good);
    e = extract_member("Uninstall.exe", out().c_str());
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(std::string(e->text), "The installer's package holds no Uninstall.exe");

    // Names that would leave the directory are refused before any lookup.
    for (const char *bad : {"..\\evil.exe", "sub/../../evil", "C:\\evil.exe", "\\evil", "/evil",
                            "a\\\\b", ".", ""}) {
        e = extract_member(bad, out().c_str());
        ASSERT_NE(e, nullptr) << bad;
        EXPECT_NE(std::string(e->text).find("not allowed"), std::string::npos) << bad;
    }
    // ...and so is an entry whose own name is unsafe, found by the prefix rule.
    zip_builder hostile;
    hostile.add("Quillmere.exe\\..\\..\\evil", "x", false);
    attach(hostile.finish());
    EXPECT_NE(extract_member("Quillmere.exe", out().c_str()), nullptr);

    // Truncated anywhere: an error or a missing member, never a crash.
    for (size_t cut = 0; cut < good.size(); cut += 97) {
        std::string part = good.substr(0, cut);
        if (package_attach(part.data(), part.size()) == nullptr) {
            EXPECT_NE(extract_member("Quillmere.exe", out().c_str()), nullptr) << cut;
        }
    }
    // The end record kept but the data cut out of the middle.
    std::string holed = good.substr(0, 1000) + good.substr(good.size() - 200);
    EXPECT_TRUE(package_attach(holed.data(), holed.size()) != nullptr ||
                extract_member("Quillmere.exe", out().c_str()) != nullptr);

    // Sizes that lie: uncompressed size too large, too small; compressed
    // size past the end; a stored member whose two sizes differ.
    size_t local = z.members[0].local;
    auto patched = [&](size_t offset, uint32_t value) {
        std::string s = good;
        for (int i = 0; i < 4; i++)
            s[offset + i] = static_cast<char>((value >> (8 * i)) & 255);
        return s;
    };
    struct {
        size_t offset;
        uint32_t value;
        const char *says;
    } lies[] = {
        {local + 22, 70001, "shorter"},
        {local + 22, 69999, "longer"},
        {local + 22, 1000, "longer"},
        {local + 18, 0x7FFFFFFF, "cut short"},
        {local + 18, 10, "Decompression failed code"},
        {z.members[1].local + 22, 6, "two sizes"},
    };
    for (auto &lie : lies) {
        std::string s = patched(lie.offset, lie.value);
        ASSERT_EQ(package_attach(s.data(), s.size()), nullptr);
        const char *name = lie.offset > z.members[1].local ? "licence.txt" : "Quillmere.exe";
        e = extract_member(name, out().c_str());
        ASSERT_NE(e, nullptr) << lie.says;
        EXPECT_NE(std::string(e->text).find(lie.says), std::string::npos) << e->text;
    }
    // Corrupt deflate data.
    std::string garbled = good;
    for (size_t i = local + 60; i < local + 90; i++)
        garbled[i] = static_cast<char>(0xFF);
    ASSERT_EQ(package_attach(garbled.data(), garbled.size()), nullptr);
    e = extract_member("Quillmere.exe", out().c_str());
    ASSERT_NE(e, nullptr);
    EXPECT_NE(std::string(e->text).find("Decompression failed code"), std::string::npos);

    // Only the one output file was ever created, inside out/.
    for (auto &entry : fs::recursive_directory_iterator(dir)) {
        if (entry.is_regular_file()) {
            EXPECT_EQ(entry.path().parent_path(), dir / "out") << entry.path();
        }
    }
}

TEST_F(PackageTest, CreatePathMakesEveryMissingDirectoryAndAcceptsExistingOnes)
{
    std::string deep = out() + "\\Tarrantworks\\Quillmere\\Choices";
    ASSERT_EQ(create_path(deep.c_str()), nullptr);
    EXPECT_TRUE(fs::is_directory(dir / "out" / "Tarrantworks" / "Quillmere" / "Choices"));
    EXPECT_EQ(create_path(deep.c_str()), nullptr);
    std::ofstream(dir / "out" / "file").put('x');
    const install_error *e = create_path((out() + "\\file\\sub").c_str());
    ASSERT_NE(e, nullptr);
    EXPECT_NE(std::string(e->text).find("(Create Directory)"), std::string::npos) << e->text;
    EXPECT_EQ(files_written(), 1u);
}

}  // namespace
