// Path expansion, fs_strcat and the platform-call error record.
#include "files_test_util.h"

#include <cstdlib>

namespace {

std::string expanded(const std::string &path, int size = FS_PATH_MAX)
{
    char out[FS_PATH_MAX];
    const error_block *e = fs_expand_path(path.c_str(), out, size);
    return e ? "error " + std::to_string(e->errnum) : std::string(out);
}

void set_env(const char *name, const char *value)
{
    std::string both = std::string(name) + "=" + value;
    static std::vector<std::string> keep;   // putenv keeps the pointer
    keep.push_back(both);
    putenv(keep.back().data());
}

const char MISSING[] = "<HKEY_LOCAL_MACHINE\\Software\\Tarrantworks\\NoSuchKey\\Missing>";

struct Paths : ::testing::Test {
    void SetUp() override
    {
        load_toolkit_messages();
        fs_os_restore();
    }
};

TEST_F(Paths, QuotesAndDoubledBracketsAreTakenLiterally)
{
    EXPECT_EQ(expanded("\"C:\\Program Files\\x.txt\""), "C:\\Program Files\\x.txt");
    // "<<" is one bracket and no lookup: the text after it stays as written.
    EXPECT_EQ(expanded("a<<%PATH%>b"), "a<%PATH%>b");
    EXPECT_EQ(expanded("<<HKLM\\Software\\>"), "<HKLM\\Software\\>");
    EXPECT_EQ(expanded("x<<"), "x<");
}

TEST_F(Paths, EnvironmentReferencesExpand)
{
    set_env("QMFILESTEST", "C:\\Temp\\qm");
    EXPECT_EQ(expanded("<%QMFILESTEST%>\\grid.qlx"), "C:\\Temp\\qm\\grid.qlx");
    EXPECT_EQ(expanded("<%QMFILESTEST%\\a>"), "C:\\Temp\\qm\\a");
    // A name the environment does not know resolves to nothing: the
    // reference is kept, brackets included.
    EXPECT_EQ(expanded("<%QM_NOT_SET_ANYWHERE%>\\x"), "<%QM_NOT_SET_ANYWHERE%>\\x");
}

TEST_F(Paths, UnresolvedReferencesStayAsWritten)
{
    EXPECT_EQ(expanded(std::string(MISSING) + "\\Choices"), std::string(MISSING) + "\\Choices");
    // The help file's path: the retry at the later ">" fails too, so all stays.
    std::string help = "<HKLM\\Software\\Tarrantworks\\NoApp\\Path>\\Quillmere.chm>";
    EXPECT_EQ(expanded(help), help);
    // A reference with no ">" at all, and an unknown root.
    EXPECT_EQ(expanded("<HKLM\\Software\\x"), "<HKLM\\Software\\x");
    EXPECT_EQ(expanded("<HKXX\\a\\b>\\c"), "<HKXX\\a\\b>\\c");
    EXPECT_EQ(expanded("a<b>c<"), "a<b>c<");
}

TEST_F(Paths, RetryAtTheNextClosingBracket)
{
    // The first ">" ends a reference to an unknown variable; the second
    // makes the reference "%QMNOPE%>%QMRETRY%", which expands.
    set_env("QMRETRY", "R");
    EXPECT_EQ(expanded("<%QMNOPE%>%QMRETRY%>!"), "%QMNOPE%>R!");
    // A reference that resolves at its first ">" leaves later ones alone.
    EXPECT_EQ(expanded("<%QMRETRY%x>y>z"), "Rxy>z");
}

TEST_F(Paths, OverLongPathsAreRefusedNotCut)
{
    std::string ok(FS_PATH_MAX - 1, 'a');
    EXPECT_EQ(expanded(ok), ok);
    EXPECT_EQ(expanded(ok + "b"), "error 30");
    char small[16] = "unchanged";
    const error_block *e = fs_expand_path("0123456789abcdef", small, sizeof small);
    ASSERT_NE(e, nullptr);
    EXPECT_STREQ(small, "");
    EXPECT_NE(strstr(e->errmess, "too long"), nullptr) << e->errmess;
    // An environment value that makes the path too long is refused as well.
    set_env("QMLONG", std::string(200, 'v').c_str());
    EXPECT_EQ(expanded("<%QMLONG%>\\<%QMLONG%>"), "error 30");
    // File operations refuse such a path before touching the disk.
    fs_info info;
    EXPECT_NE(fs_file_info((ok + "b").c_str(), &info), nullptr);
}

TEST_F(Paths, StrcatPutsExactlyOneSeparator)
{
    char a[32] = "C:\\dir", b[32] = "C:\\dir\\";
    ASSERT_EQ(fs_strcat(a, sizeof a, "leaf.txt"), nullptr);
    ASSERT_EQ(fs_strcat(b, sizeof b, "leaf.txt"), nullptr);
    EXPECT_STREQ(a, "C:\\dir\\leaf.txt");
    EXPECT_STREQ(b, a);

    // Exactly full fits; one byte more is refused and leaves the buffer alone.
    char c[10] = "abc";
    ASSERT_EQ(fs_strcat(c, sizeof c, "defgh"), nullptr);
    EXPECT_STREQ(c, "abc\\defgh");
    char d[9] = "abc";
    const error_block *e = fs_strcat(d, sizeof d, "defgh");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->errnum, 30);
    EXPECT_STREQ(e->errmess, "EMAXSTRING");   // error 30's own template, as xzstrncpy gives it
    EXPECT_STREQ(d, "abc");
    char full[4] = "abc";   // not even the backslash fits
    EXPECT_NE(fs_strcat(full, sizeof full, "x"), nullptr);
    EXPECT_STREQ(full, "abc");
}

TEST_F(Paths, PlatformErrorsNameTheCallCodeAndDetail)
{
    const error_block *e = os_error("CreateFile", OS_CODE_NOT_FOUND, "%s", "C:\\x.qlx");
    ASSERT_EQ(e, os_error_record());
    EXPECT_EQ(e->errnum, OS_CODE_NOT_FOUND);
    char platform[256];
    os_error_text(OS_CODE_NOT_FOUND, platform, sizeof platform);
    EXPECT_EQ(std::string(e->errmess), std::string(platform) + " (CreateFile) (" +
                                           std::to_string(OS_CODE_NOT_FOUND) + ") (C:\\x.qlx)");
    e = os_error("GetMessage", OS_CODE_NOT_FOUND, nullptr);
    EXPECT_EQ(std::string(e->errmess),
              std::string(platform) + " (GetMessage) (" + std::to_string(OS_CODE_NOT_FOUND) + ")");
    // A long detail is cut at 252 bytes, terminated.
    e = os_error("CopyFile", OS_CODE_NOT_FOUND, "%s %s", std::string(200, 'a').c_str(),
                 std::string(200, 'b').c_str());
    EXPECT_EQ(strlen(e->errmess), 251u);
    // A failing open names the call and the expanded path.
    fs_stream s;
    e = stream_open("no_such_dir\\none.dat", "r", 256, &s);
    ASSERT_NE(e, nullptr);
    EXPECT_NE(strstr(e->errmess, fs_os.open.name), nullptr) << e->errmess;
    EXPECT_NE(strstr(e->errmess, "no_such_dir\\none.dat"), nullptr) << e->errmess;
}

}  // namespace
