// The uninstaller's reading of an install log and the rules that keep a
// damaged or edited log from removing anything the installer did not write.
#include "uninstaller/log_rules.h"

#include <gtest/gtest.h>

#include "installer/registry_path.h"

namespace {

const log_places places = {
    "C:\\Program Files\\Tarrantworks\\Quillmere",
    "C:\\users\\ann\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs",
    "C:\\users\\ann\\Desktop",
};

bool allowed(const std::string &line)
{
    std::vector<log_item> items = parse_log(line);
    return items.size() == 1 && log_item_allowed(items[0], places);
}

TEST(LogRules, LinesSplitAtCrAndLfWithPrefixesInAnyCase)
{
    std::string crlf = "file:C:\\a\\install.log\r\nDIR:C:\\a\r\n\r\nDirW:C:\\a\\Choices\r\n"
                       "KEY:HKLM\\Software\\x\\\r\nLink:C:\\l.lnk\r\nnote: hello\r\n";
    std::string lf = crlf;
    for (size_t at; (at = lf.find('\r')) != std::string::npos;)
        lf.erase(at, 1);
    for (const std::string &text : {crlf, lf, crlf.substr(0, crlf.size() - 2)}) {
        std::vector<log_item> items = parse_log(text);
        ASSERT_EQ(items.size(), 6u);
        EXPECT_EQ(items[0].kind, log_file);
        EXPECT_EQ(items[0].path, "C:\\a\\install.log");
        EXPECT_EQ(items[1].kind, log_dir);
        EXPECT_EQ(items[1].path, "C:\\a");
        EXPECT_EQ(items[2].kind, log_dirw);
        EXPECT_EQ(items[3].kind, log_key);
        EXPECT_EQ(items[3].path, "HKLM\\Software\\x\\");
        EXPECT_EQ(items[4].kind, log_link);
        EXPECT_EQ(items[5].kind, log_unknown);
    }
    // "dirw:" is not taken for "dir:" followed by "w:...".
    EXPECT_EQ(parse_log("dirw:C:\\x")[0].kind, log_dirw);
    EXPECT_EQ(parse_log("dir:C:\\x")[0].path, "C:\\x");
}

TEST(LogRules, OnlyWhatTheInstallerWritesMayBeRemoved)
{
    // Everything a real install logs is allowed, in any case.
    for (const char *line : {
             "file:C:\\Program Files\\Tarrantworks\\Quillmere\\install.log",
             "file:C:\\Program Files\\Tarrantworks\\Quillmere\\Quillmere.exe",
             "FILE:c:\\program files\\tarrantworks\\quillmere\\UNINSTALL.EXE",
             "file:C:\\Program Files\\Tarrantworks\\Quillmere\\Quillmere.chm",
             "dir:C:\\Program Files\\Tarrantworks\\Quillmere",
             "dirw:C:\\Program Files\\Tarrantworks\\Quillmere\\Choices",
             "dirw:C:\\Program Files\\Tarrantworks\\Quillmere\\Default",
             "link:C:\\users\\ann\\Desktop\\Quillmere.lnk",
             "link:C:\\users\\ann\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\"
             "Tarrantworks\\Quillmere.lnk",
             "key:HKCR\\.qlx\\", "key:HKCR\\Quillmere.Grid\\shell\\open\\command\\",
             "key:HKEY_CLASSES_ROOT\\Quillmere.Grid\\DefaultIcon\\",
             "key:HKLM\\Software\\Tarrantworks\\Quillmere\\",
             "key:hklm\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillmere\\",
             "key:HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillmere\\"
             "UninstallString",
             "key:HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Quillmere.exe\\Path",
         })
        EXPECT_TRUE(allowed(line)) << line;

    // Anything else is refused: other files, other directories, climbing out,
    // other links, other keys and values, the roots themselves.
    for (const char *line : {
             "file:C:\\users\\ann\\Documents\\letter.doc",
             "file:C:\\Program Files\\Tarrantworks\\Quillmere\\Choices\\ann.dat",
             "file:C:\\Program Files\\Tarrantworks\\Quillmere\\..\\..\\Other\\Quillmere.exe",
             "file:C:\\Program Files\\Tarrantworks\\QuillmereX\\Quillmere.exe",
             "dir:C:\\Program Files\\Tarrantworks",
             "dir:C:\\",
             "dirw:C:\\Program Files\\Tarrantworks\\Quillmere",
             "dirw:C:\\users\\ann",
             "dirw:C:\\Program Files\\Tarrantworks\\Quillmere\\Choices\\..\\..\\..",
             "dirw:C:\\Program Files\\Tarrantworks\\Quillmere/Choices",
             "link:C:\\users\\ann\\Desktop\\Other.lnk",
             "link:C:\\users\\ann\\Documents\\Quillmere.lnk",
             "link:C:\\users\\ann\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\"
             "..\\..\\Quillmere.lnk",
             "key:HKLM\\Software\\",
             "key:HKLM\\Software\\Tarrantworks\\",
             "key:HKCU\\Software\\Tarrantworks\\Quillmere\\",
             "key:HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other\\",
             "key:HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillmere\\Other",
             "key:HKCR\\.txt\\",
             "key:HKCR",
             "note:C:\\Program Files\\Tarrantworks\\Quillmere\\Quillmere.exe",
         })
        EXPECT_FALSE(allowed(line)) << line;
}

TEST(LogRules, ContainmentIsByWholePathComponents)
{
    const std::string own = "C:\\Program Files\\Tarrantworks\\Quillmere\\Uninstall.exe";
    EXPECT_TRUE(path_contains(own, own));
    EXPECT_TRUE(path_contains("c:\\program files\\tarrantworks\\quillmere", own));
    EXPECT_TRUE(path_contains("C:\\Program Files\\", own));
    EXPECT_FALSE(path_contains("C:\\Program Files\\Tarrantworks\\Quill", own));
    EXPECT_FALSE(path_contains("C:\\Program Files\\Tarrantworks\\Quillmere\\Quillmere.exe", own));
    EXPECT_FALSE(path_contains("", own));
    EXPECT_EQ(directory_of("C:\\a\\b\\install.log"), "C:\\a\\b");
}

TEST(RegistryPath, RootKeyAndValueSplitAsTheLogWritesThem)
{
    registry_path p;
    ASSERT_TRUE(split_registry_path("HKLM\\Software\\A\\B\\Name", &p));
    EXPECT_EQ(p.root, root_local_machine);
    EXPECT_STREQ(p.key, "Software\\A\\B");
    EXPECT_STREQ(p.value, "Name");
    EXPECT_FALSE(p.names_key);
    ASSERT_TRUE(split_registry_path("hkey_classes_root\\.qlx\\", &p));
    EXPECT_EQ(p.root, root_classes);
    EXPECT_STREQ(p.key, ".qlx");
    EXPECT_TRUE(p.names_key);
    const struct {
        const char *name;
        registry_root root;
    } roots[] = {{"HKCU", root_current_user}, {"HKEY_USERS", root_users},
                 {"hku", root_users},         {"HKCC", root_current_config},
                 {"HKEY_CURRENT_CONFIG", root_current_config}, {"HKLMX", root_none}};
    for (auto &r : roots) {
        ASSERT_TRUE(split_registry_path((std::string(r.name) + "\\K\\V").c_str(), &p));
        EXPECT_EQ(p.root, r.root) << r.name;
    }
    EXPECT_FALSE(split_registry_path("HKLM", &p));
    EXPECT_FALSE(split_registry_path(("HKLM\\" + std::string(300, 'k') + "\\v").c_str(), &p));
}

}  // namespace
