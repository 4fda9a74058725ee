// Buffered streams: crossing the buffer both ways, large blocks, memory
// streams, words, short reads and writes, close's error, safe saves, and
// the sample file shared by both builds.
#include "files_test_util.h"

namespace {

struct Streams : FilesTest {};

std::string pattern(int n, int seed = 7)
{
    std::string s;
    for (int i = 0; i < n; i++)
        s += static_cast<char>((i * seed + 3) & 0xFF);
    return s;
}

std::string as_string(const std::vector<unsigned char> &v) { return std::string(v.begin(), v.end()); }

std::string last_model;   // the content the last model run ended with

TEST_F(Streams, CrossesItsBufferInBothDirections)
{
    fs_stream s;
    ASSERT_EQ(stream_open(path("cross.dat").c_str(), "w", 16, &s), nullptr);
    EXPECT_EQ(s.capacity, 16);
    std::string data = pattern(100);
    for (char c : data)
        ASSERT_EQ(stream_putc(&s, static_cast<unsigned char>(c)), nullptr);
    EXPECT_EQ(stream_tell(&s), 100);
    // Backwards across several buffers, then forwards again.
    for (int at : {95, 40, 3, 17, 16, 15, 64, 0, 99}) {
        ASSERT_EQ(stream_seek(&s, at), nullptr);
        EXPECT_EQ(stream_peek(&s), static_cast<unsigned char>(data[at])) << at;
        EXPECT_EQ(stream_getc(&s), static_cast<unsigned char>(data[at])) << at;
        EXPECT_EQ(stream_tell(&s), at + 1);
    }
    EXPECT_EQ(stream_getc(&s), -1);   // at the end
    // Overwrite a stretch that spans buffers, from behind the current one.
    ASSERT_EQ(stream_seek(&s, 10), nullptr);
    ASSERT_EQ(stream_write(&s, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 26), nullptr);
    data.replace(10, 26, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    ASSERT_EQ(stream_seek(&s, 5), nullptr);
    char back[40];
    ASSERT_EQ(stream_read(&s, back, 40), nullptr);
    EXPECT_EQ(std::string(back, 40), data.substr(5, 40));
    ASSERT_EQ(stream_close(&s, nullptr), nullptr);
    EXPECT_EQ(as_string(read_bytes(path("cross.dat"))), data);

    // Mode "u" keeps the file; reading from it crosses buffers too.
    ASSERT_EQ(stream_open(path("cross.dat").c_str(), "u", 16, &s), nullptr);
    std::string all(100, 0);
    ASSERT_EQ(stream_read(&s, all.data(), 100), nullptr);
    EXPECT_EQ(all, data);
    ASSERT_EQ(stream_seek(&s, 98), nullptr);
    ASSERT_EQ(stream_write(&s, "xyz!", 4), nullptr);   // grows the file
    ASSERT_EQ(stream_close(&s, nullptr), nullptr);
    EXPECT_EQ(as_string(read_bytes(path("cross.dat"))), data.substr(0, 98) + "xyz!");
}

// Random reads, writes and seeks on a stream with a tiny buffer agree with
// a plain string at every step, and the file holds the string at the end.
void check_against_model(fs_stream *s, unsigned seed)
{
    std::string model;
    int position = 0;
    for (int step = 0; step < 4000; step++) {
        seed = seed * 214013 + 2531011;
        int op = (seed >> 16) % 6;
        int n = (seed >> 4) % 71;
        SCOPED_TRACE("step " + std::to_string(step) + " op " + std::to_string(op));
        if (op == 0) {   // seek, sometimes past the end
            int to = static_cast<int>((seed >> 8) % (model.size() + 20));
            ASSERT_EQ(stream_seek(s, to), nullptr);
            position = to;
        } else if (op == 1 || op == 2) {   // write a block
            std::string block = pattern(n, static_cast<int>(seed & 0x7F) | 1);
            ASSERT_EQ(stream_write(s, block.data(), n), nullptr);
            if (static_cast<int>(model.size()) < position)
                model.resize(position, '\0');
            model.replace(position, std::min<size_t>(n, model.size() - position), block);
            position += n;
        } else if (op == 3) {   // write a byte
            ASSERT_EQ(stream_putc(s, 'a' + n % 26), nullptr);
            if (static_cast<int>(model.size()) < position + 1)
                model.resize(position + 1, '\0');
            model[position++] = static_cast<char>('a' + n % 26);
        } else if (op == 4) {   // read a block, short at the end
            std::string got(n, 0);
            int available = std::max(0, std::min<int>(n, static_cast<int>(model.size()) - position));
            const error_block *e = stream_read(s, got.data(), n);
            ASSERT_EQ(e != nullptr, available < n);
            if (available > 0) {
                ASSERT_EQ(got.substr(0, available), model.substr(position, available));
            }
            position += available;
        } else {   // read a byte
            int expected = position < static_cast<int>(model.size())
                               ? static_cast<unsigned char>(model[position]) : -1;
            ASSERT_EQ(stream_getc(s), expected);
            position += expected >= 0;
        }
        ASSERT_EQ(stream_tell(s), position);
    }
    if (s->flags & STREAM_MEMORY) {
        int length;
        const char *bytes = stream_memory(s, &length);
        EXPECT_EQ(std::string(bytes, length), model);
    }
    ASSERT_EQ(stream_close(s, nullptr), nullptr);
    last_model = model;
}

TEST_F(Streams, RandomOperationsAgreeWithAPlainString)
{
    fs_stream s;
    ASSERT_EQ(stream_open(path("model.dat").c_str(), "w", 16, &s), nullptr);
    check_against_model(&s, 12345);
    EXPECT_EQ(as_string(read_bytes(path("model.dat"))), last_model);
    ASSERT_EQ(stream_open(nullptr, "w", 16, &s), nullptr);
    check_against_model(&s, 777);
}

// Counts the raw transfers and their largest size.
int raw_calls, raw_largest;
int counting_write(intptr_t f, const void *b, int n, int *done)
{
    raw_calls++;
    raw_largest = std::max(raw_largest, n);
    return fs_os.write.original(f, b, n, done);
}
int counting_read(intptr_t f, void *b, int n, int *done)
{
    raw_calls++;
    raw_largest = std::max(raw_largest, n);
    return fs_os.read.original(f, b, n, done);
}

TEST_F(Streams, LargeBlocksGoPastTheBuffer)
{
    std::string data = pattern(200, 13);
    fs_stream s;
    ASSERT_EQ(stream_open(path("large.dat").c_str(), "w", 32, &s), nullptr);
    ASSERT_EQ(stream_write(&s, data.data(), 5), nullptr);
    raw_calls = raw_largest = 0;
    fs_os.write.current = counting_write;
    // 27 bytes fill the buffer, 160 (five buffers) go directly, 8 remain buffered.
    ASSERT_EQ(stream_write(&s, data.data() + 5, 195), nullptr);
    EXPECT_EQ(raw_largest, 160);
    EXPECT_EQ(raw_calls, 2);   // the full buffer, then the direct part
    ASSERT_EQ(stream_close(&s, nullptr), nullptr);
    fs_os_restore();
    EXPECT_EQ(as_string(read_bytes(path("large.dat"))), data);

    ASSERT_EQ(stream_open(path("large.dat").c_str(), "r", 32, &s), nullptr);
    EXPECT_EQ(stream_getc(&s), static_cast<unsigned char>(data[0]));
    raw_calls = raw_largest = 0;
    fs_os.read.current = counting_read;
    std::string got(150, 0);
    ASSERT_EQ(stream_read(&s, got.data(), 150), nullptr);   // 31 buffered, 96 direct, 23 refilled
    EXPECT_EQ(got, data.substr(1, 150));
    EXPECT_EQ(raw_largest, 96);
    std::string rest(49, 0);
    ASSERT_EQ(stream_read(&s, rest.data(), 49), nullptr);
    EXPECT_EQ(rest, data.substr(151));
    EXPECT_EQ(stream_close(&s, nullptr), nullptr);
}

TEST_F(Streams, MemoryStreamsGrow)
{
    fs_stream s;
    ASSERT_EQ(stream_open(nullptr, "w", 16, &s), nullptr);
    EXPECT_TRUE(s.flags & STREAM_MEMORY);
    ASSERT_EQ(stream_write(&s, "0123456789abcdef", 16), nullptr);
    EXPECT_EQ(s.capacity, 16);
    ASSERT_EQ(stream_putc(&s, 'g'), nullptr);
    EXPECT_EQ(s.capacity, 32);   // twice its size
    std::string big = pattern(100);
    ASSERT_EQ(stream_write(&s, big.data(), 100), nullptr);
    EXPECT_EQ(s.capacity, 117);   // its size plus what was needed
    ASSERT_EQ(stream_write32(&s, -2), nullptr);
    int length;
    const char *bytes = stream_memory(&s, &length);
    ASSERT_EQ(length, 121);
    EXPECT_EQ(std::string(bytes, 17), "0123456789abcdefg");
    EXPECT_EQ(std::string(bytes + 17, 100), big);
    ASSERT_EQ(stream_seek(&s, 117), nullptr);
    int32_t word;
    ASSERT_EQ(stream_read32(&s, &word), nullptr);
    EXPECT_EQ(word, -2);
    EXPECT_EQ(stream_getc(&s), -1);
    const error_block *e = stream_read(&s, &word, 4);
    ASSERT_NE(e, nullptr);
    EXPECT_STREQ(e->errmess, "Error reading data.");
    // Writing after a seek past the end leaves zeros in the gap.
    ASSERT_EQ(stream_seek(&s, 125), nullptr);
    ASSERT_EQ(stream_putc(&s, 'z'), nullptr);
    bytes = stream_memory(&s, &length);
    EXPECT_EQ(length, 126);
    EXPECT_EQ(std::string(bytes + 121, 5), std::string(4, '\0') + "z");
    EXPECT_EQ(stream_close(&s, nullptr), nullptr);
    EXPECT_EQ(s.buffer, nullptr);
}

// Allocations above a limit fail.
size_t alloc_limit;
void *limited_alloc(size_t size) { return size > alloc_limit ? nullptr : malloc(size); }

TEST_F(Streams, BufferSizeHalvesUntilAllocationSucceeds)
{
    fs_stream s;
    alloc_limit = 1100;
    memory_os.alloc = limited_alloc;
    const error_block *e = stream_open(path("half.dat").c_str(), "w", 4096, &s);
    memory_os = memory_os_default;
    ASSERT_EQ(e, nullptr);
    EXPECT_EQ(s.capacity, 1024);
    EXPECT_EQ(stream_close(&s, stream_write(&s, "ok", 2)), nullptr);

    alloc_limit = 100;   // not even 128 bytes: error 2, nothing opened
    memory_os.alloc = limited_alloc;
    e = stream_open(path("none.dat").c_str(), "w", 4096, &s);
    memory_os = memory_os_default;
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->errnum, 2);
    EXPECT_EQ(s.buffer, nullptr);
    fs_info info;
    ASSERT_EQ(fs_file_info(path("none.dat").c_str(), &info), nullptr);
    EXPECT_EQ(info.object_type, FS_NOT_FOUND);
    EXPECT_EQ(stream_close(&s, nullptr), nullptr);
}

TEST_F(Streams, WordsAreLittleEndian)
{
    fs_stream s;
    ASSERT_EQ(stream_open(path("words.dat").c_str(), "w", 16, &s), nullptr);
    ASSERT_EQ(stream_write32(&s, 0x12345678), nullptr);
    ASSERT_EQ(stream_write16(&s, 0xBEEF), nullptr);
    ASSERT_EQ(stream_write16(&s, -2), nullptr);
    ASSERT_EQ(stream_write32(&s, INT32_MIN), nullptr);
    ASSERT_EQ(stream_close(&s, nullptr), nullptr);
    EXPECT_EQ(read_bytes(path("words.dat")),
              (std::vector<unsigned char>{0x78, 0x56, 0x34, 0x12, 0xEF, 0xBE, 0xFE, 0xFF, 0, 0, 0, 0x80}));
    ASSERT_EQ(stream_open(path("words.dat").c_str(), "r", 16, &s), nullptr);
    int32_t v;
    ASSERT_EQ(stream_read32(&s, &v), nullptr);
    EXPECT_EQ(v, 0x12345678);
    ASSERT_EQ(stream_read16(&s, &v), nullptr);
    EXPECT_EQ(v, 0xBEEF);
    ASSERT_EQ(stream_read16(&s, &v), nullptr);
    EXPECT_EQ(v, 0xFFFE);   // zero-extended
    ASSERT_EQ(stream_read32(&s, &v), nullptr);
    EXPECT_EQ(v, INT32_MIN);
    EXPECT_NE(stream_read16(&s, &v), nullptr);
    EXPECT_EQ(stream_close(&s, nullptr), nullptr);
}

// A file that shrinks while it is read: reads stop short of the length
// the file had when it was opened.
int shrunk_to, delivered;
int shrinking_read(intptr_t f, void *b, int n, int *done)
{
    int allowed = std::max(0, std::min(n, shrunk_to - delivered));
    int code = fs_os.read.original(f, b, allowed, done);
    delivered += *done;
    return code;
}
int zero_write(intptr_t, const void *, int, int *done) { *done = 0; return 0; }

TEST_F(Streams, ShortReadsAndWritesGiveErrorsThreeAndFour)
{
    write_bytes(path("shrink.dat"), pattern(1000));
    shrunk_to = 300;
    delivered = 0;
    fs_os.read.current = shrinking_read;
    char buffer[1000];
    int length = -1;
    const error_block *e = fs_load_file(path("shrink.dat").c_str(), buffer, sizeof buffer, &length);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->errnum, 3);
    EXPECT_STREQ(e->errmess, "Error reading data.");
    EXPECT_EQ(length, 0);
    void *block = reinterpret_cast<void *>(1);
    delivered = 0;
    e = fs_load_heap(path("shrink.dat").c_str(), &block, &length);
    ASSERT_NE(e, nullptr);
    EXPECT_STREQ(e->errmess, "Error reading data.");
    EXPECT_EQ(block, nullptr);   // freed

    fs_stream s;
    delivered = 0;
    ASSERT_EQ(stream_open(path("shrink.dat").c_str(), "r", 64, &s), nullptr);
    ASSERT_EQ(stream_read(&s, buffer, 200), nullptr);
    e = stream_read(&s, buffer, 200);
    ASSERT_NE(e, nullptr);
    EXPECT_STREQ(e->errmess, "Error reading data.");
    EXPECT_EQ(stream_close(&s, nullptr), nullptr);
    fs_os_restore();

    // A write that moves nothing: error 4, reported again by close when the
    // buffer could not be written out; the caller's own error wins.
    ASSERT_EQ(stream_open(path("short.dat").c_str(), "w", 16, &s), nullptr);
    fs_os.write.current = zero_write;
    e = stream_write(&s, buffer, 100);
    ASSERT_NE(e, nullptr);
    EXPECT_STREQ(e->errmess, "Error writing data.");
    ASSERT_EQ(stream_putc(&s, 'x'), nullptr);   // buffered: not yet written
    e = stream_close(&s, nullptr);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->errnum, 4);
    fs_os_restore();
    ASSERT_EQ(stream_open(path("short.dat").c_str(), "w", 16, &s), nullptr);
    fs_os.write.current = zero_write;
    ASSERT_EQ(stream_putc(&s, 'x'), nullptr);
    const error_block *mine = make_error_text(300, "caller's own");
    EXPECT_EQ(stream_close(&s, mine), mine);
    fs_os_restore();
    // A stream opened for reading refuses writes.
    ASSERT_EQ(stream_open(path("short.dat").c_str(), "r", 16, &s), nullptr);
    EXPECT_NE(stream_putc(&s, 'x'), nullptr);
    EXPECT_EQ(stream_close(&s, nullptr), nullptr);
    EXPECT_EQ(stream_close(&s, nullptr), nullptr);   // closing twice is harmless
}

TEST_F(Streams, SafeSaveKeepsTheOldFileUntilTheNewOneIsComplete)
{
    std::string target = path("Grid.qlx");
    write_bytes(target, "the user's good grid");
    fs_stream s;
    ASSERT_EQ(stream_open_safe(target.c_str(), 16, &s), nullptr);
    ASSERT_EQ(stream_write(&s, "half a new", 10), nullptr);
    EXPECT_EQ(as_string(read_bytes(target)), "the user's good grid");
    const error_block *failed = make_error_text(300, "writer failed");
    EXPECT_EQ(stream_close(&s, failed), failed);
    EXPECT_EQ(as_string(read_bytes(target)), "the user's good grid");
    EXPECT_TRUE(read_bytes(target + ".~qm").empty());   // no temporary left behind

    fs_os.write.current = zero_write;
    EXPECT_NE(fs_save_block_safely(target.c_str(), 0x103, "new grid", 8), nullptr);
    fs_os_restore();
    EXPECT_EQ(as_string(read_bytes(target)), "the user's good grid");

    ASSERT_EQ(fs_save_block_safely(target.c_str(), 0x103, "new grid", 8), nullptr);
    EXPECT_EQ(as_string(read_bytes(target)), "new grid");
    fs_info info;
    ASSERT_EQ(fs_file_info((target + ".~qm").c_str(), &info), nullptr);
    EXPECT_EQ(info.object_type, FS_NOT_FOUND);
    // A new file is created the same way.
    ASSERT_EQ(fs_save_block_safely(path("new.txt").c_str(), 0xFFF, "abc", 3), nullptr);
    EXPECT_EQ(as_string(read_bytes(path("new.txt"))), "abc");
}

TEST_F(Streams, MemoryTransferTakesSavesAndFeedsReads)
{
    void *anchor = nullptr;
    stream_transfer_begin(&anchor, 0);
    ASSERT_EQ(fs_save_block(path("never.dat").c_str(), 0xFFF, "transferred", 11), nullptr);
    EXPECT_EQ(stream_transfer_length(), 11);
    fs_stream s;
    ASSERT_EQ(stream_open(path("never.dat").c_str(), "r", 16, &s), nullptr);
    EXPECT_TRUE(s.flags & STREAM_TRANSFER);
    char got[11];
    ASSERT_EQ(stream_read(&s, got, 11), nullptr);
    EXPECT_EQ(std::string(got, 11), "transferred");
    EXPECT_EQ(stream_close(&s, nullptr), nullptr);
    ASSERT_EQ(stream_open(nullptr, "w", 16, &s), nullptr);
    ASSERT_EQ(stream_write(&s, "via stream", 10), nullptr);
    ASSERT_EQ(stream_close(&s, nullptr), nullptr);
    stream_transfer_end();
    EXPECT_EQ(stream_transfer_length(), 10);
    EXPECT_EQ(std::string(static_cast<char *>(anchor), 10), "via stream");
    fs_info info;
    ASSERT_EQ(fs_file_info(path("never.dat").c_str(), &info), nullptr);
    EXPECT_EQ(info.object_type, FS_NOT_FOUND);
    flex_dispose(&anchor);
}

// The sample sequence: every byte value, words of both sizes, a block
// longer than the buffer and a line of text.
const error_block *write_sample(fs_stream *s)
{
    const error_block *e = nullptr;
    for (int i = 0; i < 256 && !e; i++)
        e = stream_putc(s, i);
    for (int32_t w : {0x12345678, -1, INT32_MIN, 0})
        if (!e)
            e = stream_write32(s, w);
    for (int32_t h : {0xBEEF, 0x1234, -2})
        if (!e)
            e = stream_write16(s, h);
    std::string block = pattern(1000, 31);
    if (!e)
        e = stream_write(s, block.data(), 1000);
    if (!e)
        e = stream_write(s, "Quillmere\r\n", 11);
    return e;
}

TEST_F(Streams, SampleFileIsTheSameInBothBuilds)
{
    fs_stream s;
    ASSERT_EQ(stream_open(path("sample.bin").c_str(), "w", 128, &s), nullptr);
    ASSERT_EQ(stream_close(&s, write_sample(&s)), nullptr);
    std::vector<unsigned char> sample = read_bytes(QM_TEST_DATA "/files/stream_sample.bin");
    ASSERT_EQ(sample.size(), 256u + 16 + 6 + 1000 + 11);
    EXPECT_EQ(read_bytes(path("sample.bin")), sample);

    ASSERT_EQ(stream_open(QM_TEST_DATA "\\files\\stream_sample.bin", "r", 128, &s), nullptr);
    for (int i = 0; i < 256; i++)
        ASSERT_EQ(stream_getc(&s), i);
    int32_t v;
    for (int32_t w : {0x12345678, -1, INT32_MIN, 0}) {
        ASSERT_EQ(stream_read32(&s, &v), nullptr);
        EXPECT_EQ(v, w);
    }
    for (int32_t h : {0xBEEF, 0x1234, 0xFFFE}) {
        ASSERT_EQ(stream_read16(&s, &v), nullptr);
        EXPECT_EQ(v, h);
    }
    std::string block(1000, 0);
    ASSERT_EQ(stream_read(&s, block.data(), 1000), nullptr);
    EXPECT_EQ(block, pattern(1000, 31));
    char line[11];
    ASSERT_EQ(stream_read(&s, line, 11), nullptr);
    EXPECT_EQ(std::string(line, 11), "Quillmere\r\n");
    EXPECT_EQ(stream_getc(&s), -1);
    EXPECT_EQ(stream_close(&s, nullptr), nullptr);
}

}  // namespace
