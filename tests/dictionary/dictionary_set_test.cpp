// The dictionary set: discovery, creating and deleting, the document list,
// defaults, the grid file's names, and change tracking.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/dictionary/dictionary_set.h"
#include "app/dictionary/dictionary_text.h"
#include "app/grid/app_errors.h"
#include "app/grid/grid.h"
#include "app/grid/grid_dictionaries.h"
#include "tests/dictionary/store_test_util.h"
#include "toolkit/files/files_os.h"
#include "toolkit/messages/error.h"

namespace fs = std::filesystem;

namespace {

// A machine identity of the tests' own, so that a load writes its check
// stamp on any machine that runs them.
int test_machine(void *out, int size, int *length)
{
    const char id[] = "0123456789abcdef0123456789abcdef\n1000";
    *length = static_cast<int>(sizeof id - 1);
    if (*length > size)
        return 1;
    memcpy(out, id, sizeof id - 1);
    return 0;
}

class DictionarySetTest : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override
    {
        app_errors_register();
        fs_os.user_secret.current = test_machine;
        dir = private_temp_dir("qm_set_");
        remove_tree(dir);
        fs::create_directories(dir);
        set_dictionary_directory(dir.string().c_str());
    }
    void TearDown() override
    {
        dictionary_set_clear();
        set_dictionary_directory(nullptr);
        fs_os_restore();
        remove_tree(dir);
    }
    // Writes a dictionary file holding `words`.
    void make(const char *name, std::initializer_list<const char *> words = {"word"})
    {
        TestDictionary t;
        for (const char *w : words)
            t.add(w);
        ASSERT_EQ(save_dictionary(&t.d, dir.string().c_str(), name), nullptr);
    }
    static std::string name(int slot) { return dictionary_set.slots[slot].name; }
    static int errnum(const error_block *e) { return e ? e->errnum : 0; }
};

}  // namespace

TEST_F(DictionarySetTest, DiscoveryFillsAtMost32SlotsInByteOrder)
{
    for (int i = 0; i < 33; i++)
        make(std::string("D").append(std::to_string(100 + i)).c_str());
    make("Apple");
    fs::create_directories(dir / "folder.dic");
    std::string long_name(40, 'x');
    std::ofstream((dir / (long_name + ".dic")).string()) << "x";
    ASSERT_EQ(discover_dictionaries(), nullptr);
    EXPECT_EQ(dictionary_set.count, 32);
    EXPECT_EQ(name(0), "Apple");
    EXPECT_EQ(name(1), "D100");
    EXPECT_EQ(name(31), "D130");   // the 33rd and later are not offered
    EXPECT_EQ(find_slot("apple"), 0);
    EXPECT_EQ(find_slot("folder"), -1);
    EXPECT_FALSE(dictionary_set.slots[0].loaded);
}

TEST_F(DictionarySetTest, CreateKeepsByteOrderAndRenumbersTheDocumentList)
{
    make("Beta");
    make("Delta");
    ASSERT_EQ(discover_dictionaries(), nullptr);
    ASSERT_EQ(document_list_add(1), nullptr);   // Delta
    EXPECT_EQ(create_dictionary("Charlie"), nullptr);
    EXPECT_EQ(name(1), "Charlie");
    EXPECT_EQ(document_list.slots[0], 2);   // still Delta
    EXPECT_TRUE(fs::exists(dir / "Charlie.dic"));
    EXPECT_TRUE(dictionary_set.slots[1].loaded);
    EXPECT_EQ(errnum(create_dictionary("charlie")), EDAX);
    EXPECT_EQ(errnum(create_dictionary("ThirteenChars")), EDNAME);
    EXPECT_EQ(errnum(create_dictionary("..\\evil")), EDNAME);
    EXPECT_EQ(errnum(create_dictionary("")), EDNAME);
    EXPECT_EQ(dictionary_set.count, 3);

    Dictionary beta{};   // a load leaves a check stamp beside the file
    ASSERT_EQ(load_dictionary_file(&beta, (dir / "Beta.dic").string().c_str()), nullptr);
    clear_dictionary(&beta);
    ASSERT_TRUE(fs::exists(dir / "Beta.dck"));
    EXPECT_EQ(delete_dictionary(0), nullptr);   // Beta
    EXPECT_FALSE(fs::exists(dir / "Beta.dic"));
    EXPECT_FALSE(fs::exists(dir / "Beta.dck"));
    EXPECT_EQ(name(0), "Charlie");
    EXPECT_EQ(document_list.slots[0], 1);   // still Delta
    fs::remove(dir / "Charlie.dic");
    EXPECT_NE(delete_dictionary(0), nullptr);   // no file: the slot stays
    EXPECT_EQ(dictionary_set.count, 2);
}

TEST_F(DictionarySetTest, FullTableRefusesCreate)
{
    for (int i = 0; i < 32; i++)
        make(std::string("D").append(std::to_string(i)).c_str());
    ASSERT_EQ(discover_dictionaries(), nullptr);
    EXPECT_EQ(errnum(create_dictionary("More")), ENUD);
    EXPECT_FALSE(fs::exists(dir / "More.dic"));
}

TEST_F(DictionarySetTest, DefaultsInOrderAndNoneGivesENOD)
{
    make("Puzzle-US");
    make("MainDict-UK");
    ASSERT_EQ(discover_dictionaries(), nullptr);
    EXPECT_EQ(ensure_dictionary(), nullptr);
    ASSERT_EQ(document_list.count, 1);
    EXPECT_EQ(name(document_list.slots[0]), "MainDict-UK");
    EXPECT_TRUE(dictionary_set.slots[document_list.slots[0]].loaded);
    release_document_list();
    fs::remove(dir / "MainDict-UK.dic");
    fs::remove(dir / "Puzzle-US.dic");
    make("Other");
    ASSERT_EQ(discover_dictionaries(), nullptr);
    EXPECT_EQ(errnum(ensure_dictionary()), ENOD);
}

TEST_F(DictionarySetTest, ToggleLoadsAndUnloadsButKeepsChangedSlots)
{
    make("Alpha", {"one", "two"});
    ASSERT_EQ(discover_dictionaries(), nullptr);
    EXPECT_EQ(toggle_in_document(0), nullptr);
    EXPECT_TRUE(dictionary_set.slots[0].loaded);
    EXPECT_EQ(dictionary_set.slots[0].dictionary.words, 2u);
    EXPECT_EQ(toggle_in_document(0), nullptr);   // removed, unused: unloaded
    EXPECT_FALSE(dictionary_set.slots[0].loaded);
    EXPECT_EQ(dictionary_set.slots[0].dictionary.words, 0u);

    EXPECT_EQ(toggle_in_document(0), nullptr);
    ASSERT_EQ(add_word(&dictionary_set.slots[0].dictionary, "three"), nullptr);
    mark_slot_changed(0);
    EXPECT_EQ(toggle_in_document(0), nullptr);   // changed: stays loaded
    EXPECT_TRUE(dictionary_set.slots[0].loaded);
    EXPECT_EQ(dictionary_set.slots[0].dictionary.words, 3u);
    EXPECT_EQ(any_dictionary_changed(), 1);
    EXPECT_EQ(save_changed_dictionaries(), nullptr);
    EXPECT_EQ(any_dictionary_changed(), 0);
    TestDictionary back;
    ASSERT_EQ(load_dictionary(&back.d, dir.string().c_str(), "Alpha"), nullptr);
    EXPECT_EQ(back.d.words, 3u);
}

TEST_F(DictionarySetTest, RevertReloadsFromTheFile)
{
    make("Alpha", {"one", "two"});
    ASSERT_EQ(discover_dictionaries(), nullptr);
    ASSERT_EQ(edit_slot(0), nullptr);
    Dictionary &d = dictionary_set.slots[0].dictionary;
    ASSERT_EQ(add_word(&d, "three"), nullptr);
    delete_word(&d, "one");
    mark_slot_changed(0);
    revert_changed_dictionaries();
    EXPECT_EQ(all_words(d), (std::vector<std::string>{"one", "two"}));
    EXPECT_FALSE(dictionary_set.slots[0].changed);
    EXPECT_TRUE(dictionary_set.slots[0].loaded);
}

TEST_F(DictionarySetTest, GridFileNamesRoundTrip)
{
    make("Alpha");
    make("Beta");
    make("LongerThanTwelve");
    ASSERT_EQ(discover_dictionaries(), nullptr);
    dictionary_set_install_grid_hooks();
    grid_dictionary_name records[4] = {};
    memcpy(records[0].bytes, "BETA", 4);
    memcpy(records[1].bytes, "Gone", 4);                  // no such dictionary: skipped
    memcpy(records[2].bytes, "LongerThanTw", 12);         // a full record
    memcpy(records[3].bytes, "alpha", 5);
    grid_take_document_names(records, 4);
    ASSERT_EQ(document_list.count, 3);
    EXPECT_EQ(document_list.slots[0], 0);
    EXPECT_EQ(document_list.slots[1], 1);
    EXPECT_EQ(document_list.slots[2], 2);
    EXPECT_TRUE(dictionary_set.slots[1].loaded);
    grid_dictionary_name out[32];
    ASSERT_EQ(grid_document_names(out, 32), 3);
    EXPECT_EQ(memcmp(out[0].bytes, "Alpha\0\0\0\0\0\0\0", 12), 0);
    EXPECT_EQ(memcmp(out[2].bytes, "LongerThanTw", 12), 0);
    // A new list releases and unloads what is no longer used.
    grid_take_document_names(records, 1);
    EXPECT_EQ(document_list.count, 1);
    EXPECT_FALSE(dictionary_set.slots[0].loaded);
    EXPECT_EQ(dictionary_set.slots[0].uses, 0);
    grid_set_dictionary_hooks(nullptr);
}

TEST_F(DictionarySetTest, DocumentListHolds32)
{
    make("Alpha");
    ASSERT_EQ(discover_dictionaries(), nullptr);
    for (int i = 0; i < 32; i++)
        ASSERT_EQ(document_list_add(0), nullptr);
    EXPECT_EQ(errnum(document_list_add(0)), EMDC);
    EXPECT_EQ(document_list.count, 32);
    EXPECT_EQ(errnum(toggle_in_document(0)), 0);   // present: removes one
    EXPECT_EQ(document_list.count, 31);
    EXPECT_EQ(dictionary_set.slots[0].uses, 31);
}

TEST_F(DictionarySetTest, FailedCreateLeavesNoSlot)
{
    make("Alpha");
    ASSERT_EQ(discover_dictionaries(), nullptr);
    set_dictionary_directory((dir / "no such folder").string().c_str());
    EXPECT_NE(create_dictionary("Beta"), nullptr);
    EXPECT_EQ(dictionary_set.count, 1);
    EXPECT_EQ(find_slot("Beta"), -1);
}

TEST_F(DictionarySetTest, DefaultThatFailsToLoadStaysListedEmpty)
{
    make("MainDict");
    ASSERT_EQ(discover_dictionaries(), nullptr);
    std::ofstream((dir / "MainDict.dic").string(), std::ios::binary | std::ios::trunc) << "damaged";
    EXPECT_EQ(ensure_dictionary(), nullptr);
    ASSERT_EQ(document_list.count, 1);
    EXPECT_FALSE(dictionary_set.slots[0].loaded);
    EXPECT_EQ(dictionary_set.slots[0].dictionary.words, 0u);
    EXPECT_EQ(errnum(load_slot(0)), ECR);
}

TEST_F(DictionarySetTest, LoadingAgainReadsTheFileAgain)
{
    make("Alpha", {"one"});
    ASSERT_EQ(discover_dictionaries(), nullptr);
    ASSERT_EQ(toggle_in_document(0), nullptr);
    ASSERT_EQ(toggle_in_document(0), nullptr);   // unused and unchanged: unloaded
    make("Alpha", {"one", "two"});
    ASSERT_EQ(toggle_in_document(0), nullptr);
    EXPECT_EQ(dictionary_set.slots[0].dictionary.words, 2u);
}

namespace {
int menu_builds = 0, edits_opened = -1;
void count_menu_build() { menu_builds++; }
const error_block *open_edit(int slot) { return edits_opened = slot, nullptr; }
}  // namespace

TEST_F(DictionarySetTest, HooksRebuildMenusAndOpenTheEditWindow)
{
    make("Alpha", {"one"});
    DictionarySetHooks hooks{count_menu_build, open_edit};
    dictionary_set_hooks(&hooks);
    menu_builds = 0;
    ASSERT_EQ(discover_dictionaries(), nullptr);
    ASSERT_EQ(create_dictionary("Beta"), nullptr);
    ASSERT_EQ(delete_dictionary(1), nullptr);
    EXPECT_EQ(menu_builds, 3);
    EXPECT_EQ(edit_slot(0), nullptr);
    EXPECT_EQ(edits_opened, 0);
    EXPECT_TRUE(dictionary_set.slots[0].loaded);
    dictionary_set_hooks(nullptr);
}

TEST_F(DictionarySetTest, ImportIntoASlotKeepsItsFileWords)
{
    make("Alpha", {"one", "two"});
    ASSERT_EQ(discover_dictionaries(), nullptr);
    std::string text = (dir / "new.txt").string();
    std::ofstream(text, std::ios::binary) << "three\r\n";
    ASSERT_EQ(import_words(0, text.c_str()), nullptr);
    EXPECT_TRUE(dictionary_set.slots[0].changed);
    EXPECT_EQ(dictionary_set.slots[0].dictionary.words, 3u);
    std::string out = (dir / "out.txt").string();
    ASSERT_EQ(export_words(0, out.c_str()), nullptr);
    EXPECT_EQ(fs::file_size(out), 17u);   // one, three, two with CR LF
    ASSERT_EQ(save_changed_dictionaries(), nullptr);
    EXPECT_FALSE(dictionary_set.slots[0].changed);
}

// A listed slot whose file could not be read holds an empty stand-in.
// Words added to it must not replace the file's own words when changes are
// saved: the file is kept and the error reported; once the file reads
// again, the added words join its words.
TEST_F(DictionarySetTest, SavingAnUnreadSlotKeepsItsFile)
{
    make("MainDict", {"one", "two"});
    ASSERT_EQ(discover_dictionaries(), nullptr);
    fs::path file = dir / "MainDict.dic";
    fs::rename(file, dir / "aside");
    std::ofstream(file.string(), std::ios::binary) << "damaged";
    ASSERT_EQ(ensure_dictionary(), nullptr);
    ASSERT_FALSE(dictionary_set.slots[0].loaded);
    ASSERT_EQ(add_word(&dictionary_set.slots[0].dictionary, "three"), nullptr);
    mark_slot_changed(0);
    EXPECT_EQ(errnum(save_changed_dictionaries()), ECR);
    EXPECT_EQ(fs::file_size(file), 7u);
    EXPECT_TRUE(dictionary_set.slots[0].changed);
    fs::rename(dir / "aside", file);
    EXPECT_EQ(save_changed_dictionaries(), nullptr);
    EXPECT_FALSE(dictionary_set.slots[0].changed);
    EXPECT_TRUE(dictionary_set.slots[0].loaded);
    EXPECT_EQ(all_words(dictionary_set.slots[0].dictionary), (std::vector<std::string>{"one", "three", "two"}));
    TestDictionary back;
    ASSERT_EQ(load_dictionary(&back.d, dir.string().c_str(), "MainDict"), nullptr);
    EXPECT_EQ(all_words(back.d), all_words(dictionary_set.slots[0].dictionary));
}

// Create never replaces a file: not one the table leaves out (the 33rd),
// nor one copied in after discovery, nor one whose name differs in case.
// Device names cannot be dictionary names anywhere the files may travel.
TEST_F(DictionarySetTest, CreateRefusesExistingFilesAndDeviceNames)
{
    for (int i = 0; i < 31; i++)
        make(std::string("D").append(std::to_string(100 + i)).c_str());
    make("Zulu", {"one", "two"});
    make("Zz", {"three"});   // the 33rd: not in the table
    ASSERT_EQ(discover_dictionaries(), nullptr);
    ASSERT_EQ(dictionary_set.count, 32);
    ASSERT_EQ(delete_dictionary(0), nullptr);   // room for one more
    auto size = fs::file_size(dir / "Zz.dic");
    EXPECT_EQ(errnum(create_dictionary("Zz")), EDAX);
    EXPECT_EQ(errnum(create_dictionary("ZZ")), EDAX);
    EXPECT_EQ(fs::file_size(dir / "Zz.dic"), size);
    make("Later", {"four"});   // copied in after start-up
    size = fs::file_size(dir / "Later.dic");
    EXPECT_EQ(errnum(create_dictionary("Later")), EDAX);
    EXPECT_EQ(fs::file_size(dir / "Later.dic"), size);
    EXPECT_EQ(dictionary_set.count, 31);
    for (const char *device : {"CON", "nul", "Aux.x", "PRN", "com1", "LPT9", "Com7.dic"})
        EXPECT_EQ(errnum(create_dictionary(device)), EDNAME) << device;
    EXPECT_EQ(create_dictionary("COM10"), nullptr);
}

// A grid file that names one dictionary twice lists it once; deleting a
// listed dictionary changes what the grid file would hold.
TEST_F(DictionarySetTest, DuplicateRecordsAndDeletingAListedDictionary)
{
    make("Alpha", {"one"});
    make("Beta");
    ASSERT_EQ(discover_dictionaries(), nullptr);
    dictionary_set_install_grid_hooks();
    grid_dictionary_name records[3] = {};
    memcpy(records[0].bytes, "Alpha", 5);
    memcpy(records[1].bytes, "ALPHA", 5);
    memcpy(records[2].bytes, "alpha", 5);
    grid_take_document_names(records, 3);
    ASSERT_EQ(document_list.count, 1);
    EXPECT_EQ(dictionary_set.slots[0].uses, 1);
    EXPECT_EQ(toggle_in_document(0), nullptr);
    EXPECT_EQ(document_list.count, 0);
    EXPECT_FALSE(dictionary_set.slots[0].loaded);
    grid_set_dictionary_hooks(nullptr);

    clear_modified();
    ASSERT_EQ(delete_dictionary(0), nullptr);   // Alpha, not listed
    EXPECT_FALSE(is_modified());
    ASSERT_EQ(document_list_add(0), nullptr);   // Beta
    ASSERT_EQ(delete_dictionary(0), nullptr);
    EXPECT_TRUE(is_modified());
    EXPECT_EQ(document_list.count, 0);
    clear_modified();
}

// Natively "X.DIC" matches the pattern but the slot's file "X.dic" is
// another name: it is not offered (where names ignore case it is "X.dic").
TEST_F(DictionarySetTest, OnlyReachableFilesAreOffered)
{
    make("Upper");
    fs::rename(dir / "Upper.dic", dir / "Upper.DIC");
    make("Lower");
    ASSERT_EQ(discover_dictionaries(), nullptr);
    bool names_ignore_case = fs::exists(dir / "Upper.dic");
    ASSERT_EQ(dictionary_set.count, names_ignore_case ? 2 : 1);
    while (dictionary_set.count > 0) {
        EXPECT_EQ(load_slot(0), nullptr) << name(0);
        ASSERT_EQ(delete_dictionary(0), nullptr) << name(0);
    }
}

// A changed slot whose file could not be read: editing it gives the read
// error while the file is damaged; once it reads, loading the document's
// dictionaries (or editing) brings in the file's words beside the edits.
TEST_F(DictionarySetTest, AnUnreadChangedSlotLoadsOnceItsFileReads)
{
    make("MainDict", {"one", "two"});
    ASSERT_EQ(discover_dictionaries(), nullptr);
    fs::path file = dir / "MainDict.dic";
    fs::rename(file, dir / "aside");
    std::ofstream(file.string(), std::ios::binary) << "damaged";
    ASSERT_EQ(ensure_dictionary(), nullptr);
    ASSERT_FALSE(dictionary_set.slots[0].loaded);
    ASSERT_EQ(add_word(&dictionary_set.slots[0].dictionary, "three"), nullptr);
    mark_slot_changed(0);
    EXPECT_EQ(errnum(edit_slot(0)), ECR);
    EXPECT_FALSE(dictionary_set.slots[0].loaded);
    load_document_dictionaries();
    EXPECT_EQ(dictionary_set.slots[0].dictionary.words, 1u);
    fs::rename(dir / "aside", file);
    load_document_dictionaries();
    EXPECT_TRUE(dictionary_set.slots[0].loaded);
    EXPECT_TRUE(dictionary_set.slots[0].changed);
    EXPECT_EQ(all_words(dictionary_set.slots[0].dictionary), (std::vector<std::string>{"one", "three", "two"}));
    std::string out = (dir / "out.txt").string();
    ASSERT_EQ(export_words(0, out.c_str()), nullptr);
    EXPECT_EQ(fs::file_size(out), 17u);
    EXPECT_EQ(edit_slot(0), nullptr);
}
