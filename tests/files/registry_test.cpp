// Registry path strings, and registry references in paths. In the native
// build there is no registry: the calls fail and references stay as
// written. Under Wine the keys are seeded through the toolkit's own writer
// and read back through path expansion.
#include "files_test_util.h"

#include <algorithm>

namespace {

std::string expanded(const std::string &path)
{
    char out[FS_PATH_MAX];
    const error_block *e = fs_expand_path(path.c_str(), out, sizeof out);
    return e ? "error: " + std::string(e->errmess) : std::string(out);
}

const char DICTS[] = "HKEY_LOCAL_MACHINE\\Software\\Tarrantworks\\Dictionaries\\";
const char APP_PATH[] =
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Quillmere.exe\\Path";
const char TEST_KEY[] = "HKCU\\Software\\QuillmereFilesTest\\";

// The platform has a registry when a value can be written; the Windows
// build (the one whose open call is CreateFile) must have one.
bool have_registry()
{
    static const bool yes = reg_write_string("HKCU\\Software\\QuillmereFilesTest\\probe", "1") == nullptr;
    EXPECT_EQ(yes, strcmp(fs_os.open.name, "CreateFile") == 0);
    return yes;
}

struct Registry : ::testing::Test {
    void SetUp() override
    {
        load_toolkit_messages();
        fs_os_restore();
    }
};

TEST_F(Registry, PathStringsSplitIntoRootKeyAndValue)
{
    int root;
    char key[64], value[32];
    ASSERT_TRUE(reg_split_path("hkey_local_machine\\Software\\A B\\Path", &root, key, sizeof key,
                               value, sizeof value));
    EXPECT_EQ(root, REG_ROOT_MACHINE);
    EXPECT_STREQ(key, "Software\\A B");
    EXPECT_STREQ(value, "Path");
    ASSERT_TRUE(reg_split_path("HKCU\\Software\\X\\", &root, key, sizeof key, value, sizeof value));
    EXPECT_EQ(root, REG_ROOT_USER);
    EXPECT_STREQ(key, "Software\\X");
    EXPECT_STREQ(value, "");   // the default value
    const char *names[] = {"HKCR", "HKEY_CURRENT_USER", "HKlm", "HKU", "HKEY_CURRENT_CONFIG"};
    for (int i = 0; i < 5; i++) {
        ASSERT_TRUE(reg_split_path((std::string(names[i]) + "\\k\\v").c_str(), &root, key,
                                   sizeof key, value, sizeof value));
        EXPECT_EQ(root, i);
    }
    EXPECT_FALSE(reg_split_path("HKXX\\k\\v", &root, key, sizeof key, value, sizeof value));
    EXPECT_FALSE(reg_split_path("HKLM", &root, key, sizeof key, value, sizeof value));
    // Parts that do not fit are refused rather than cut.
    EXPECT_FALSE(reg_split_path("HKLM\\a\\much-too-long-value-name-for-this-buffer", &root, key,
                                sizeof key, value, sizeof value));
}

TEST_F(Registry, ReferencesInPaths)
{
    if (!have_registry()) {
        // Native: nothing resolves, every call names the registry call.
        std::string choices = std::string("<") + APP_PATH + ">\\Choices";
        EXPECT_EQ(expanded(choices), choices);
        char buffer[8] = "x";
        int length = sizeof buffer;
        const error_block *e = reg_read(APP_PATH, buffer, &length);
        ASSERT_NE(e, nullptr);
        EXPECT_NE(strstr(e->errmess, "(RegOpenKey) (2)"), nullptr) << e->errmess;
        EXPECT_EQ(length, 0);
        EXPECT_EQ(buffer[0], 0);
        return;
    }
    ASSERT_EQ(reg_write_string(DICTS, "C:\\Dictionaries"), nullptr);
    ASSERT_EQ(reg_write_string(APP_PATH, "C:\\Program Files\\Quillmere"), nullptr);
    EXPECT_EQ(expanded(std::string("<") + DICTS + ">"), "C:\\Dictionaries");
    EXPECT_EQ(expanded(std::string("<") + APP_PATH + ">\\Choices"),
              "C:\\Program Files\\Quillmere\\Choices");
    // The help file: the later ">" stays for the viewer.
    EXPECT_EQ(expanded(std::string("<") + APP_PATH + ">\\Quillmere.chm>"),
              "C:\\Program Files\\Quillmere\\Quillmere.chm>");
    // Long and short root names, any case.
    EXPECT_EQ(expanded("<hklm\\Software\\Tarrantworks\\Dictionaries\\>\\a.dic"),
              "C:\\Dictionaries\\a.dic");
    // A value name holding ">" resolves at the retry.
    ASSERT_EQ(reg_write_string((std::string(TEST_KEY) + "a>b").c_str(), "X"), nullptr);
    EXPECT_EQ(expanded(std::string("<") + TEST_KEY + "a>b>!"), "X!");
    // Missing and empty values keep the reference.
    std::string missing = std::string("<") + TEST_KEY + "nothing>\\x";
    EXPECT_EQ(expanded(missing), missing);
    ASSERT_EQ(reg_write_string((std::string(TEST_KEY) + "empty").c_str(), ""), nullptr);
    EXPECT_EQ(expanded(std::string("<") + TEST_KEY + "empty>"),
              std::string("<") + TEST_KEY + "empty>");
    // A value that would make the path too long is refused, not cut.
    ASSERT_EQ(reg_write_string((std::string(TEST_KEY) + "long").c_str(), std::string(250, 'L').c_str()), nullptr);
    EXPECT_EQ(expanded(std::string("<") + TEST_KEY + "long>\\0123456789").substr(0, 6), "error:");

    ASSERT_EQ(reg_delete(APP_PATH), nullptr);
    std::string choices = std::string("<") + APP_PATH + ">\\Choices";
    EXPECT_EQ(expanded(choices), choices);
    ASSERT_EQ(reg_delete(DICTS), nullptr);   // the key itself
    EXPECT_NE(reg_delete(DICTS), nullptr);
}

TEST_F(Registry, ReadingIntoBuffersAndBlocksAndEnumerating)
{
    if (!have_registry()) {
        void *block = reinterpret_cast<void *>(1);
        int length = 5;
        EXPECT_NE(reg_read_heap(APP_PATH, &block, &length), nullptr);
        EXPECT_EQ(block, nullptr);
        EXPECT_NE(reg_write_string(APP_PATH, "x"), nullptr);
        return;
    }
    std::string value = std::string(TEST_KEY) + "Path";
    ASSERT_EQ(reg_write_string(value.c_str(), "C:\\Program Files\\Quillmere"), nullptr);
    char buffer[64];
    int length = sizeof buffer;
    ASSERT_EQ(reg_read(value.c_str(), buffer, &length), nullptr);
    EXPECT_EQ(length, 27);   // with its terminator
    EXPECT_STREQ(buffer, "C:\\Program Files\\Quillmere");
    // Longer than the caller's buffer: refused, buffer and length emptied.
    char small[10];
    memset(small, '#', sizeof small);
    length = sizeof small;
    const error_block *e = reg_read(value.c_str(), small, &length);
    ASSERT_NE(e, nullptr);
    EXPECT_NE(strstr(e->errmess, "(RegQueryValueEx)"), nullptr) << e->errmess;
    EXPECT_EQ(length, 0);
    EXPECT_EQ(small[0], 0);
    EXPECT_EQ(small[9], '#');   // nothing written past the buffer

    void *block = nullptr;
    ASSERT_EQ(reg_read_heap(value.c_str(), &block, &length), nullptr);
    EXPECT_STREQ(static_cast<char *>(block), "C:\\Program Files\\Quillmere");
    heap_dispose(&block);

    ASSERT_EQ(reg_write_string((std::string(TEST_KEY) + "Sub\\v").c_str(), "1"), nullptr);
    std::vector<std::string> values, keys;
    char name[64];
    int done = 0;
    for (int i = 0; !done; i++)
        if (!reg_enumerate(TEST_KEY, true, i, name, sizeof name, &done) && !done)
            values.push_back(name);
    done = 0;
    for (int i = 0; !done; i++)
        if (!reg_enumerate(TEST_KEY, false, i, name, sizeof name, &done) && !done)
            keys.push_back(name);
    EXPECT_NE(std::find(values.begin(), values.end(), "Path"), values.end());
    EXPECT_EQ(keys, std::vector<std::string>{"Sub"});

    ASSERT_EQ(reg_delete((std::string(TEST_KEY) + "Sub\\").c_str()), nullptr);
    ASSERT_EQ(reg_delete(value.c_str()), nullptr);
    length = sizeof buffer;
    EXPECT_NE(reg_read(value.c_str(), buffer, &length), nullptr);
}

}  // namespace
