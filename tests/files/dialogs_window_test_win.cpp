// The save and open dialogues themselves (Windows build, under Wine): a
// timer running inside the dialogue's own message loop plays the user.
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <functional>

#include "files_test_util.h"

namespace {

std::function<void(HWND)> user;   // what the "user" does once the dialogue is up
std::string seen_name;            // the name field after a format switch

BOOL CALLBACK find_dialog(HWND window, LPARAM result)
{
    char name[16];
    GetClassNameA(window, name, sizeof name);
    if (strcmp(name, "#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND *>(result) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK play_user(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), find_dialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog)
        return;   // not up yet
    KillTimer(nullptr, timer);
    user(dialog);
}

void when_shown(std::function<void(HWND)> action)
{
    user = std::move(action);
    SetTimer(nullptr, 0, 50, play_user);
}

std::string saved_path;
int saved_type;
const error_block *record_save(const char *path, int type)
{
    saved_path = path;
    saved_type = type;
    return nullptr;
}
const error_block *record_load(const char *path, int type, void *argument)
{
    saved_path = path;
    saved_type = type + *static_cast<int *>(argument);
    return nullptr;
}

int grid_format(const char **d) { *d = "{NAME} grid file (*.qlx)"; return 0x103; }
int emf_format(const char **d) { *d = nullptr; return 0x101; }
int wmf_format(const char **d) { *d = nullptr; return 0x100; }

struct Dialogues : FilesTest {
    filetype_link link;
    std::string full;
    void SetUp() override
    {
        FilesTest::SetUp();
        filetype_clear_tables();
        filetype_register(quillmere_filetypes, &link);
        char out[MAX_PATH];
        GetFullPathNameA(dir.c_str(), MAX_PATH, out, nullptr);
        full = out;
        saved_path.clear();
        saved_type = 0;
    }
    void TearDown() override
    {
        fs_set_save_formats(nullptr, 0);
        filetype_clear_tables();
        FilesTest::TearDown();
    }
};

TEST_F(Dialogues, SwitchingFormatRewritesTheExtensionAndOkSavesInIt)
{
    static const save_format_function formats[] = {grid_format, emf_format, wmf_format};
    fs_set_save_formats(formats, 3);
    char path[FS_PATH_MAX];
    snprintf(path, sizeof path, "%s\\Grid", full.c_str());
    when_shown([](HWND dialog) {
        HWND filter = GetDlgItem(dialog, cmb1);
        SendMessageA(filter, CB_SETCURSEL, 2, 0);
        // As a real pick: the selection changes and ends with OK (Wine's
        // dialogue acts on the latter).
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(filter));
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK),
                     reinterpret_cast<LPARAM>(filter));
        char name[MAX_PATH] = "";
        SendMessageA(dialog, CDM_GETSPEC, MAX_PATH, reinterpret_cast<LPARAM>(name));
        seen_name = name;
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    ASSERT_EQ(fs_save_dialogue(path, sizeof path, 0x103, record_save), nullptr);
    EXPECT_EQ(seen_name, "Grid.wmf");
    EXPECT_EQ(saved_type, 0x100);
    EXPECT_EQ(cp_compare_nocase(saved_path.c_str(), (full + "\\Grid.wmf").c_str()), 0) << saved_path;
    EXPECT_EQ(saved_path, path);
}

TEST_F(Dialogues, OkMakesTheExtensionThatOfTheFormat)
{
    char path[FS_PATH_MAX];
    snprintf(path, sizeof path, "%s\\Clues", full.c_str());
    when_shown([](HWND dialog) {
        SendMessageA(dialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>("Clues.TXT"));
        SendMessageA(dialog, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>("Clues.TXT"));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    ASSERT_EQ(fs_save_dialogue(path, sizeof path, 0xFFF, record_save), nullptr);
    EXPECT_EQ(saved_type, 0xFFF);
    EXPECT_EQ(saved_path.substr(saved_path.size() - 10), "\\Clues.TXT");   // same, case kept
}

TEST_F(Dialogues, CancelIsSilentInTheUsualFormsOnly)
{
    char path[FS_PATH_MAX] = "Grid";
    when_shown([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(fs_save_dialogue(path, sizeof path, 0x103, record_save), nullptr);
    when_shown([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    const error_block *e = fs_save_dialogue_cancellable(path, sizeof path, 0x103, record_save);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->errnum, 24);
    EXPECT_STREQ(e->errmess, "Save cancelled");
    static const int grid[] = {0x103};
    const load_filter_group groups[] = {{"Grids", grid, 1}};
    when_shown([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    int argument = 0;
    EXPECT_EQ(fs_load_dialogue(path, sizeof path, groups, 1, record_load, &argument), nullptr);
    EXPECT_TRUE(saved_path.empty());
}

TEST_F(Dialogues, OpenCallsTheLoaderWithTheFilesType)
{
    static std::string file;
    file = full + "\\Grid.qlx";
    write_bytes(file, "grid");
    static const int grid[] = {0x103};
    const load_filter_group groups[] = {{"Grids", grid, 1}};
    when_shown([](HWND dialog) {
        SendMessageA(dialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(file.c_str()));
        SendMessageA(dialog, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(file.c_str()));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    char path[FS_PATH_MAX] = "";
    int argument = 1;
    ASSERT_EQ(fs_load_dialogue(path, sizeof path, groups, 1, record_load, &argument), nullptr);
    EXPECT_EQ(saved_type, 0x103 + 1);
    EXPECT_EQ(cp_compare_nocase(saved_path.c_str(), file.c_str()), 0) << saved_path;
}

}  // namespace
