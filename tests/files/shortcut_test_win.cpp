// Shortcut following (Windows build): a ".lnk" path stands for its target
// while following is on.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "files_test_util.h"

namespace {

struct Shortcuts : FilesTest {
    void TearDown() override
    {
        fs_set_follow_shortcuts(false);
        FilesTest::TearDown();
    }
};

bool make_link(const std::string &link_path, const std::string &target)
{
    CoInitialize(nullptr);
    IShellLinkA *link = nullptr;
    IPersistFile *file = nullptr;
    bool ok = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IShellLinkA, reinterpret_cast<void **>(&link))) &&
              SUCCEEDED(link->SetPath(target.c_str())) &&
              SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file)));
    WCHAR wide[MAX_PATH];
    ok = ok && MultiByteToWideChar(CP_ACP, 0, link_path.c_str(), -1, wide, MAX_PATH) &&
         SUCCEEDED(file->Save(wide, TRUE));
    if (file)
        file->Release();
    if (link)
        link->Release();
    CoUninitialize();
    return ok;
}

std::string full_path(const std::string &p)
{
    char out[MAX_PATH];
    GetFullPathNameA(p.c_str(), MAX_PATH, out, nullptr);
    return out;
}

TEST_F(Shortcuts, LinkPathsResolveToTheirTargetWhenSwitchedOn)
{
    std::string target = full_path(path("Target.qlx"));
    write_bytes(target, "grid bytes");
    std::string link = full_path(path("Grid.LNK"));
    ASSERT_TRUE(make_link(link, target));
    char out[FS_PATH_MAX];
    ASSERT_EQ(fs_expand_path(link.c_str(), out, sizeof out), nullptr);
    EXPECT_EQ(std::string(out), link);   // off: the link itself
    fs_set_follow_shortcuts(true);
    ASSERT_EQ(fs_expand_path(link.c_str(), out, sizeof out), nullptr);
    EXPECT_EQ(cp_compare_nocase(out, target.c_str()), 0) << out;
    fs_info info;
    ASSERT_EQ(fs_file_info(link.c_str(), &info), nullptr);
    EXPECT_EQ(info.length, 10u);
    // A broken or non-link ".lnk" file keeps its own path.
    std::string fake = full_path(path("fake.lnk"));
    write_bytes(fake, "not a shell link");
    ASSERT_EQ(fs_expand_path(fake.c_str(), out, sizeof out), nullptr);
    EXPECT_EQ(std::string(out), fake);
}

}  // namespace
