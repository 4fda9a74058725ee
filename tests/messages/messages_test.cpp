// The message file, token expansion and error records.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "toolkit/messages/error.h"
#include "toolkit/messages/messages.h"
#include "toolkit/messages/report.h"

namespace {

std::string expand(const std::string &s, int size = 256)
{
    std::string buffer(size, '\0');
    memcpy(buffer.data(), s.c_str(), s.size() + 1);
    expand_tokens(buffer.data(), size);
    return buffer.c_str();
}

void load(const std::string &text)
{
    ASSERT_EQ(addtrans_bytes(text.data(), static_cast<int>(text.size())), nullptr);
}

struct Messages : ::testing::Test {
    void SetUp() override
    {
        messages_clear();
        error_clear_tables();
        error_register_toolkit_table();
    }
};

TEST_F(Messages, ShippedFileLoadsWithItsQuirks)
{
    const error_block *e = addtrans(QM_SOURCE_DIR "/app/shell/resources", "Messages.txt", nullptr);
    ASSERT_EQ(e, nullptr) << e->errmess;
    EXPECT_STREQ(lookup_token("EINT"), "Bad integer.");
    EXPECT_STREQ(lookup_token("ECR"), "Corruption in file.");
    EXPECT_STREQ(lookup_token("FS09"), "grids edited and not saved. Continue?");
    EXPECT_STREQ(lookup_token("EPCL"), "Can't have % on left of expression");
    EXPECT_EQ(expand("{NAME} - %s"), "Quillmere - %s");
    EXPECT_EQ(expand("{{NAME} - %s"), "{NAME} - %s");
    EXPECT_STREQ(make_error(25)->errmess, "Error not found.");
    const error_block *missing = make_error(28, "C:\\x.qlx");
    EXPECT_EQ(missing->errnum, 28);
    EXPECT_STREQ(missing->errmess, "File C:\\x.qlx not found.");
    EXPECT_STREQ(make_error0(18)->errmess, "EMEMBAD");
}

TEST_F(Messages, FileRulesCommentsBlankLinesDuplicatesAndLastLine)
{
    load("\r\n\r\nA:first\r\n// a comment: not an entry\nB:b text: with colon\r\r\n"
         "\n\nA:second\nNOCOLON\nC:lost\nD:\xE9t\xE9\nE:");
    EXPECT_STREQ(lookup_token("A"), "first");
    EXPECT_STREQ(lookup_token("B"), "b text: with colon");
    EXPECT_STREQ(lookup_token("D"), "\xE9t\xE9");
    EXPECT_STREQ(lookup_token("C"), "C");  // swallowed by the line before
    EXPECT_STREQ(lookup_token("E"), "E");  // empty last text is dropped
    EXPECT_STREQ(lookup_token("a"), "a");  // names are case-sensitive

    // A second file is appended; earlier entries still win.
    load("A:third\nF:{A} and {B}\n");
    EXPECT_STREQ(lookup_token("A"), "first");
    EXPECT_EQ(expand("{F}!"), "first and b text: with colon!");
}

TEST_F(Messages, ExpansionLimitsAndNesting)
{
    load("EME:Not enough memory.\nWRAP:<{EME}>\nLONG:0123456789012345678901234567890123456789\n"
         "SELF:x{SELF}\nLOOP:{LOOP}\n");
    EXPECT_EQ(expand("{WRAP}"), "<Not enough memory.>");
    EXPECT_EQ(expand("{UNKNOWN} here"), "UNKNOWN here");
    EXPECT_EQ(expand("open {brace"), "open {brace");
    EXPECT_EQ(expand("ends {"), "ends {");
    std::string name30(30, 'N'), name31(31, 'N');
    EXPECT_EQ(expand("{" + name30 + "}"), name30);
    EXPECT_EQ(expand("{" + name31 + "}"), "{" + name31 + "}");

    // The long reference would reach the buffer size: it stays, and the
    // shorter one after it is still expanded.
    EXPECT_EQ(expand("a {LONG} b {WRAP}", 40), "a {LONG} b <Not enough memory.>");
    // A token that refers to itself ends once it no longer fits, or after a
    // bounded number of rounds when it never grows.
    EXPECT_EQ(expand("{SELF}", 16), "xxxxxxxxx{SELF}");
    EXPECT_EQ(expand("{LOOP}", 64), "{LOOP}");
}

TEST_F(Messages, ErrorRecordsAndTables)
{
    load("EME:Not enough memory.\nENOE:Error not found.\nSUB:the sub\n");
    static const error_entry table[] = {{256, "app %d {EME}"}, {2, "newer two"}, {0, nullptr}};
    error_link link;
    error_register_table(table, &link);
    EXPECT_STREQ(make_error(256, 7)->errmess, "app 7 Not enough memory.");
    EXPECT_STREQ(make_error0(2)->errmess, "newer two");  // newest table first
    EXPECT_STREQ(make_error0(3)->errmess, "ERD");
    // Arguments may carry references; they are expanded after formatting.
    EXPECT_STREQ(make_error_text(7, "[%s]", "{EME}")->errmess, "[Not enough memory.]");
    // The record's own text may be an argument of the next error: the
    // quoted text is taken as it was, not as formatting overwrites it.
    const error_block *inner = make_error_text(3, "inner %s", "text");
    EXPECT_STREQ(make_error_text(3, "%s: %s", "C:\\grid.qlx", inner->errmess)->errmess,
                 "C:\\grid.qlx: inner text");
    // Output that does not fit is cut at 252 bytes.
    std::string big(400, 'z');
    const error_block *e = make_error_text(1, "%s", big.c_str());
    EXPECT_EQ(strlen(e->errmess), 251u);

    char small[8];
    const error_block *cut = xzstrncpy(small, "too long text", sizeof small);
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(cut->errnum, 30);
    EXPECT_STREQ(cut->errmess, "EMAXSTRING");
    EXPECT_STREQ(small, "too lon");
    EXPECT_EQ(xzstrncpy(small, "fits", sizeof small), nullptr);
    // A buffer with no room at all is refused without a byte written.
    EXPECT_EQ(xzstrncpy(small, "x", 0)->errnum, 30);
    EXPECT_STREQ(small, "fits");
    EXPECT_EQ(format_tokens(0, small, "x")->errnum, 30);
    EXPECT_STREQ(small, "fits");

    char out[32];
    EXPECT_EQ(format_tokens(sizeof out, out, "{SUB} %d", 5), nullptr);
    EXPECT_STREQ(out, "the sub 5");
    std::string huge(2000, 'h');
    EXPECT_NE(format_tokens(sizeof out, out, huge.c_str()), nullptr);
    EXPECT_EQ(strlen(out), 31u);
}

TEST_F(Messages, MissingFileAndReports)
{
    const error_block *e = addtrans("/nonexistent-dir", "Messages.txt", nullptr);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->errnum, 28);
    EXPECT_STREQ(e->errmess, "Messages file not found.");
    load("ENOTFOUND:File %s not found.\n");
    e = addtrans("/nonexistent-dir", "More.txt", nullptr);
    EXPECT_STREQ(e->errmess, "File /nonexistent-dir\\More.txt not found.");

    static std::string shown;
    static int shown_icon;
    message_box_answer = [](int icon, int, const char *text) {
        shown = text;
        shown_icon = icon;
        return 3;
    };
    shown.clear();
    report_error(make_error_text(EREP, "never shown"));
    EXPECT_EQ(shown, "");
    report_error(nullptr);
    EXPECT_EQ(shown, "");
    report_error(make_error_text(1, "shown"));
    EXPECT_EQ(shown, "shown");
    EXPECT_EQ(shown_icon, 4);
    report_message(2, "warn %d", 3);
    EXPECT_EQ(shown, "warn 3");
    EXPECT_EQ(shown_icon, 1);
    int result = 0;
    message_box(nullptr, 0x10002, &result, "{ENOTFOUND}", "x");
    EXPECT_EQ(shown, "File x not found.");
    EXPECT_EQ(result, 3);
    // A message box expands the template only: braces in its arguments
    // (a file name, say) are shown as they are. A reported message
    // expands its result again.
    message_box(nullptr, 0, &result, "{ENOTFOUND}", "C:\\{ENOTFOUND}\\{{x}.qlx");
    EXPECT_EQ(shown, "File C:\\{ENOTFOUND}\\{{x}.qlx not found.");
    report_message(0, "%s", "{ENOTFOUND}");
    EXPECT_EQ(shown, "File %s not found.");
    message_box_answer = nullptr;
}

TEST_F(Messages, ADamagedLineCostsAtMostItselfAndTheNextEntry)
{
    // A middle line with an empty token hides nothing after it, also not
    // the entries of a file loaded later.
    load(std::string("A:a\n:orphan text\nB:b\n"));
    load(std::string("C:c\n"));
    EXPECT_EQ(expand("{A}/{B}/{C}"), "a/b/c");

    // Any control byte ends a line, a run of them is one line end.
    messages_clear();
    load(std::string("A:a\x1F\nB:b\n"));
    EXPECT_STREQ(lookup_token("A"), "a");
    EXPECT_STREQ(lookup_token("B"), "b");

    // A NUL is a line end too: the line without a colon swallows only the
    // next token, and tokens and texts stay paired.
    messages_clear();
    load(std::string("X\0A:a\nB:b\n", 10));
    EXPECT_STREQ(lookup_token("A"), "A");
    EXPECT_STREQ(lookup_token("B"), "b");
    EXPECT_EQ(expand("{B}"), "b");

    // A NUL right after a colon leaves that entry's text empty and keeps
    // everything after it.
    messages_clear();
    load(std::string("A:a\nE:\0F:f\nG:g\n", 15));
    EXPECT_STREQ(lookup_token("A"), "a");
    EXPECT_STREQ(lookup_token("E"), "");
    EXPECT_STREQ(lookup_token("F"), "f");
    EXPECT_STREQ(lookup_token("G"), "g");
}

TEST_F(Messages, EveryShippedTextIsSafeToFormat)
{
    ASSERT_EQ(addtrans(QM_SOURCE_DIR "/app/shell/resources", "Messages.txt", nullptr), nullptr);
    static const error_entry table[] = {{281, "{EPCD}"}, {282, "{EPCL}"}, {0, nullptr}};
    error_link link;
    error_register_table(table, &link);
    EXPECT_STREQ(make_error(282, 5135)->errmess, "Can't have % on left of expression");
    EXPECT_STREQ(make_error(281, 5135)->errmess, "Attempt to cast units to %");
    char out[64];
    format_tokens(sizeof out, out, "{EPCD} (%d)", 7);
    EXPECT_STREQ(out, "Attempt to cast units to % (7)");

    static std::string shown;
    message_box_answer = [](int, int, const char *text) {
        shown = text;
        return 2;
    };
    report_message(0, "{EPCL}: %s", "x");
    EXPECT_EQ(shown, "Can't have % on left of expression: x");
    message_box(nullptr, 0, nullptr, "{EPCD} %d%%", 50);
    EXPECT_EQ(shown, "Attempt to cast units to % 50%");
    message_box_answer = nullptr;

    // Every line of the shipped file whose text has no conversion formats
    // to itself.
    FILE *f = fopen(QM_SOURCE_DIR "/app/shell/resources/Messages.txt", "rb");
    ASSERT_NE(f, nullptr);
    char line[512];
    int checked = 0;
    while (fgets(line, sizeof line, f)) {
        line[strcspn(line, "\r\n")] = 0;
        const char *colon = strchr(line, ':');
        if (line[0] == '/' || !colon || strstr(colon, "%s") || strstr(colon, "%d"))
            continue;
        std::string token(line, colon - line);
        EXPECT_STREQ(make_error_text(1, ("{" + token + "}").c_str(), 0)->errmess,
                     lookup_token(token.c_str()))
            << token;
        checked++;
    }
    fclose(f);
    EXPECT_GT(checked, 30);
}

}  // namespace
