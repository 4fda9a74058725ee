// The .dic file: identity of save and load, the header checks, and the
// refusal of damaged files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/dictionary/dictionary.h"
#include "app/dictionary/store_internal.h"
#include "app/grid/app_errors.h"
#include "tests/dictionary/store_test_util.h"
#include "toolkit/files/fileinfo.h"
#include "toolkit/files/fileops.h"
#include "toolkit/files/files_os.h"
#include "toolkit/memory/memory.h"
#include "toolkit/messages/error.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string temp_path(const char *leaf)
{
    auto dir = private_temp_dir("qm_dictionary_");
    std::filesystem::create_directories(dir);
    return (dir / leaf).string();
}

Bytes read_file(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void write_file(const std::string &path, const Bytes &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Opening for anything but reading fails, as in a read-only directory.
int open_read_only(const char *path, char mode, intptr_t *file)
{
    if (mode != 'r')
        return 13;
    return fs_os.open.original(path, mode, file);
}

void put32(Bytes &b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// The stamp key's secret as this test machine and another machine would
// have it, and a machine with none. The tests set their own, so they do
// not depend on the identity of the machine that runs them.
int fixed_secret(const char *id, void *out, int size, int *length)
{
    *length = static_cast<int>(strlen(id));
    if (*length > size)
        return 1;
    memcpy(out, id, *length);
    return 0;
}
int this_machine(void *out, int size, int *length)
{
    return fixed_secret("0123456789abcdef0123456789abcdef\n1000", out, size, length);
}
int other_machine(void *out, int size, int *length)
{
    return fixed_secret("5e0f1c2d3b4a59687766554433221100\n1001", out, size, length);
}

int no_identity(void *, int, int *) { return 2; }

class DictionaryFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        app_errors_register();
        restore_os();
    }
    void TearDown() override
    {
        fs_os_restore();
        remove_tree(private_temp_dir("qm_dictionary_"));
    }
    // The platform's calls as they were, but for this test machine's secret.
    static void restore_os()
    {
        fs_os_restore();
        fs_os.user_secret.current = this_machine;
    }
    // Loads `bytes` through a file; returns the error number (0 for none).
    int load_bytes(const Bytes &bytes, Dictionary *d)
    {
        std::string path = temp_path("damaged.dic");
        write_file(path, bytes);
        const error_block *e = load_dictionary_file(d, path.c_str());
        return e ? e->errnum : 0;
    }
    Bytes golden = read_file(QM_TEST_DATA "/dictionary/three.dic");
};

}  // namespace

TEST_F(DictionaryFile, SavedBytesMatchTheFormat)
{
    TestDictionary t;
    for (const char *w : {"stationery", "ability", "station"})
        t.add(w);
    std::string path = temp_path("three.dic");
    ASSERT_EQ(save_dictionary_file(&t.d, path.c_str()), nullptr);
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(read_file(path), golden);
}

TEST_F(DictionaryFile, SaveAndLoadGiveIdenticalBlocks)
{
    TestDictionary t, back;
    for (int i = 0; i < 2000; i++)
        t.add(std::string("w").append(std::to_string(i * 7919 % 100000)).append(i % 3 ? "" : " x"));
    std::string dir = std::filesystem::path(temp_path("x")).parent_path().string();
    ASSERT_EQ(save_dictionary(&t.d, dir.c_str(), "Identity"), nullptr);
    ASSERT_EQ(load_dictionary(&back.d, dir.c_str(), "Identity"), nullptr);
    EXPECT_EQ(back.d.words, t.d.words);
    EXPECT_EQ(back.d.noindex, t.d.noindex);
    EXPECT_EQ(back.d.spaced, t.d.spaced);
    ASSERT_EQ(flex_length(&back.d.wordblock), flex_length(&t.d.wordblock));
    EXPECT_EQ(memcmp(back.d.wordblock, t.d.wordblock, flex_length(&t.d.wordblock)), 0);
    EXPECT_EQ(memcmp(back.d.index, t.d.index, 16 * t.d.noindex), 0);
    // An empty dictionary round-trips too.
    TestDictionary empty;
    ASSERT_EQ(save_dictionary(&empty.d, dir.c_str(), "Empty"), nullptr);
    ASSERT_EQ(load_dictionary(&back.d, dir.c_str(), "Empty"), nullptr);
    EXPECT_EQ(back.d.words, 0u);
    EXPECT_TRUE(store_sound(back.d));
}

TEST_F(DictionaryFile, HeaderChecks)
{
    TestDictionary t;
    Bytes old = golden;
    memcpy(old.data() + 24, "0.99", 5);
    EXPECT_EQ(load_bytes(old, &t.d), EDCOLD);
    EXPECT_EQ(t.d.words, 0u);
    Bytes flagged = golden;
    put32(flagged, 96, 1);
    EXPECT_EQ(load_bytes(flagged, &t.d), EDCAPS);
    put32(old, 96, 4);
    EXPECT_EQ(load_bytes(old, &t.d), EDCAPS);   // both: the flags win
    Bytes renamed = golden;
    memcpy(renamed.data(), "Anything at all", 16);
    memcpy(renamed.data() + 32, "whenever", 9);
    memcpy(renamed.data() + 24, "2.5", 4);
    EXPECT_EQ(load_bytes(renamed, &t.d), 0);
    EXPECT_EQ(all_words(t.d), (std::vector<std::string>{"ability", "station", "stationery"}));
    // A missing file is the file layer's error and leaves the counts 0.
    std::string missing = temp_path("missing.dic");
    EXPECT_NE(load_dictionary_file(&t.d, missing.c_str()), nullptr);
    EXPECT_EQ(t.d.words, 0u);
}

TEST_F(DictionaryFile, DamagedFilesAreRefused)
{
    const size_t words = 256, noindex = 260, word_block = 284, index_at = 284 + 11 + 20;
    std::vector<std::pair<const char *, Bytes>> cases;
    auto patch = [&](const char *what, auto change) {
        Bytes b = golden;
        change(b);
        cases.emplace_back(what, b);
    };
    patch("truncated", [](Bytes &b) { b.pop_back(); b.pop_back(); b.pop_back(); });
    patch("extra bytes", [](Bytes &b) { b.push_back(0); });
    patch("word block too long", [](Bytes &b) { put32(b, 268, 1000); });
    patch("word block length negative", [](Bytes &b) { put32(b, 268, 5); });
    patch("more words than stored", [&](Bytes &b) { put32(b, words, 4); });
    patch("fewer words than stored", [&](Bytes &b) { put32(b, words, 2); });
    patch("index count", [&](Bytes &b) { put32(b, noindex, 2); });
    patch("woff outside", [&](Bytes &b) { put32(b, index_at, 500); });
    patch("first not zero", [&](Bytes &b) { put32(b, index_at + 4, 1); });
    patch("key differs", [&](Bytes &b) { b[index_at + 8] = 'x'; });
    patch("no end pair", [&](Bytes &b) { b[word_block + 10] = 0x61; });
    patch("count past predecessor", [&](Bytes &b) { b[word_block + 6] = 12; });
    patch("out of order", [&](Bytes &b) { b[word_block + 1] = 0x7A; });
    patch("escape at the end", [&](Bytes &b) { b[word_block + 8] = 30; });
    patch("count byte 30", [&](Bytes &b) { b[word_block + 3] = 30; });
    for (auto &[what, bytes] : cases) {
        TestDictionary t;
        t.add("kept");
        EXPECT_EQ(load_bytes(bytes, &t.d), ECR) << what;
        EXPECT_EQ(t.d.words, 0u) << what;
        EXPECT_EQ(t.d.noindex, 0u) << what;
    }
}

// Deletions merge a small block into its predecessor whatever that one's
// size, so a run of merges can leave a block far above the split size with
// anchors to spare. Such a store is sound, and its file loads again.
TEST_F(DictionaryFile, BlocksGrownByMergesSaveAndLoad)
{
    TestDictionary t, back;
    std::vector<std::string> words;
    std::vector<const char *> list;
    for (int i = 0; i < 1200; i++) {
        char w[16];
        snprintf(w, sizeof w, "w%04d", i);
        words.push_back(w);
    }
    for (const auto &w : words)
        list.push_back(w.c_str());
    ASSERT_EQ(build_dictionary(&t.d, list.data(), static_cast<int>(list.size())), nullptr);
    // Shrink each block after the first below 64 words: it joins block 0.
    while (t.d.noindex > 1) {
        uint32_t entries = t.d.noindex;
        WordCursor c;
        while (t.d.noindex == entries) {
            ASSERT_TRUE(word_at(&t.d, entry_first(&t.d, 1) + 1, &c));
            ASSERT_EQ(delete_at_cursor(&t.d, &c), 1);
        }
        ASSERT_TRUE(store_sound(t.d));
    }
    ASSERT_GT(t.d.words, 600u);
    std::string dir = std::filesystem::path(temp_path("x")).parent_path().string();
    ASSERT_EQ(save_dictionary(&t.d, dir.c_str(), "Merged"), nullptr);
    ASSERT_EQ(load_dictionary(&back.d, dir.c_str(), "Merged"), nullptr);
    EXPECT_EQ(all_words(back.d), all_words(t.d));
    // Adding to the big block splits it again.
    t.add("w0000a");
    EXPECT_GT(t.d.noindex, 1u);
    EXPECT_TRUE(store_sound(t.d));
}

// The check stamp beside a .dic lets a load skip the walk only for the very
// bytes that passed it: a file damaged at the same length and time is
// still refused, a damaged stamp is replaced, a file of the stamp's name
// that is not one is left alone, and a read-only directory changes nothing
// but the time a load takes.
TEST_F(DictionaryFile, CheckStampVouchesOnlyForTheBytesThatPassed)
{
    TestDictionary t, back;
    for (int i = 0; i < 700; i++)
        t.add(std::string("s").append(std::to_string(i * 7919 % 10007)).append(i % 5 ? "" : " y"));
    std::string path = temp_path("Stamped.dic"), stamp = temp_path("Stamped.dck");
    std::filesystem::remove(stamp);
    ASSERT_EQ(save_dictionary_file(&t.d, path.c_str()), nullptr);
    ASSERT_EQ(load_dictionary_file(&back.d, path.c_str()), nullptr);
    Bytes written = read_file(stamp);
    ASSERT_EQ(written.size(), 56u);
    // Loaded through the stamp: the same store and the same count of words
    // with spaces, which the walk would have made.
    ASSERT_EQ(load_dictionary_file(&back.d, path.c_str()), nullptr);
    EXPECT_EQ(all_words(back.d), all_words(t.d));
    EXPECT_EQ(back.d.spaced, t.d.spaced);
    EXPECT_EQ(read_file(stamp), written);

    // The walk is skipped while the stamp vouches: the count of words with
    // spaces then comes from the stamp.
    fs_info info;
    ASSERT_EQ(fs_file_info(path.c_str(), &info), nullptr);
    stamp_record(path.c_str(), &info, &back.d, 12345);
    ASSERT_EQ(load_dictionary_file(&back.d, path.c_str()), nullptr);
    EXPECT_EQ(back.d.spaced, 12345u);
    write_file(stamp, written);

    // Word 0 damaged, the length and the time as before: refused.
    Bytes sound = read_file(path), damaged = sound;
    damaged[284] = 1;
    write_file(path, damaged);
    ASSERT_EQ(fs_set_time(path.c_str(), fs_info_time(&info)), nullptr);
    fs_info after;
    ASSERT_EQ(fs_file_info(path.c_str(), &after), nullptr);
    ASSERT_EQ(after.length, info.length);
    ASSERT_EQ(after.exec, info.exec);
    const error_block *e = load_dictionary_file(&back.d, path.c_str());
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->errnum, ECR);
    EXPECT_EQ(back.d.words, 0u);

    write_file(path, sound);
    ASSERT_EQ(fs_set_time(path.c_str(), fs_info_time(&info)), nullptr);
    // A damaged stamp is ignored and written afresh.
    Bytes broken = written;
    broken[44] ^= 0x40;
    write_file(stamp, broken);
    ASSERT_EQ(load_dictionary_file(&back.d, path.c_str()), nullptr);
    EXPECT_EQ(back.d.spaced, t.d.spaced);
    EXPECT_EQ(read_file(stamp), written);

    // In a directory that cannot be written, loads still succeed.
    std::filesystem::remove(stamp);
    fs_os.open.current = open_read_only;
    ASSERT_EQ(load_dictionary_file(&back.d, path.c_str()), nullptr);
    ASSERT_EQ(load_dictionary_file(&back.d, path.c_str()), nullptr);
    restore_os();
    EXPECT_EQ(all_words(back.d), all_words(t.d));
    EXPECT_FALSE(std::filesystem::exists(stamp));

    // Someone else's file of that name stays as it is.
    for (size_t size : {8, 4000}) {
        Bytes foreign(size, 'n');
        write_file(stamp, foreign);
        ASSERT_EQ(load_dictionary_file(&back.d, path.c_str()), nullptr);
        EXPECT_EQ(read_file(stamp), foreign);
    }
}

// Stamps travel with shared dictionaries, so one written on another machine
// (or by another user) must not vouch here: a damaged .dic shipped with a
// stamp made elsewhere for those very bytes is walked and refused. Without
// any secret, no stamp is trusted and none is written.
TEST_F(DictionaryFile, StampWrittenUnderAnotherKeyDoesNotVouch)
{
    TestDictionary t, back;
    for (int i = 0; i < 300; i++)
        t.add(std::string("k").append(std::to_string(i * 31 % 997)));
    uint32_t spaced = t.d.spaced;
    std::string path = temp_path("Shared.dic"), stamp = temp_path("Shared.dck");
    std::filesystem::remove(stamp);

    // The sender's copy: word 0 damaged, saved and stamped under their key.
    auto *words = static_cast<uint8_t *>(t.d.wordblock);
    uint8_t sound = words[0];
    words[0] = 1;
    ASSERT_FALSE(store_sound(t.d));
    ASSERT_EQ(save_dictionary_file(&t.d, path.c_str()), nullptr);
    fs_info info;
    ASSERT_EQ(fs_file_info(path.c_str(), &info), nullptr);
    fs_os.user_secret.current = other_machine;
    stamp_record(path.c_str(), &info, &t.d, 0);
    // Under the sender's key the stamp vouches: the walk is skipped.
    EXPECT_EQ(load_dictionary_file(&back.d, path.c_str()), nullptr);
    restore_os();
    Bytes forged = read_file(stamp);
    ASSERT_EQ(forged.size(), 56u);

    // Here it does not: the store is walked and refused.
    const error_block *e = load_dictionary_file(&back.d, path.c_str());
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->errnum, ECR);
    EXPECT_EQ(back.d.words, 0u);
    EXPECT_EQ(read_file(stamp), forged);

    // The sound bytes load, and their stamp is replaced by one of this key.
    words[0] = sound;
    ASSERT_EQ(save_dictionary_file(&t.d, path.c_str()), nullptr);
    ASSERT_EQ(fs_file_info(path.c_str(), &info), nullptr);
    fs_os.user_secret.current = other_machine;
    stamp_record(path.c_str(), &info, &t.d, 12345);
    restore_os();
    ASSERT_EQ(load_dictionary_file(&back.d, path.c_str()), nullptr);
    EXPECT_EQ(back.d.spaced, spaced);
    Bytes ours = read_file(stamp);
    ASSERT_EQ(ours.size(), 56u);
    EXPECT_NE(ours, forged);

    // With no secret to be had, even this machine's stamp is not trusted
    // (the count comes from the walk) and none is written.
    stamp_record(path.c_str(), &info, &t.d, 12345);
    fs_os.user_secret.current = no_identity;
    ASSERT_EQ(load_dictionary_file(&back.d, path.c_str()), nullptr);
    EXPECT_EQ(back.d.spaced, spaced);
    std::filesystem::remove(stamp);
    ASSERT_EQ(load_dictionary_file(&back.d, path.c_str()), nullptr);
    EXPECT_FALSE(std::filesystem::exists(stamp));
    restore_os();
    EXPECT_EQ(all_words(back.d), all_words(t.d));
}
