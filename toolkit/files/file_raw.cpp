// Whole-length reads and writes over the raw calls, and the memory
// transfer's state.
#include <cstring>

#include "toolkit/files/files_internal.h"
#include "toolkit/files/files_os.h"
#include "toolkit/memory/memory.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/log.h"
#include "toolkit/files/stream.h"

namespace {

void **transfer = nullptr;    // the transfer's flex block anchor, null when none
int transfer_length = 0;      // bytes of it that hold data

const error_block *seek(intptr_t file, int64_t position)
{
    int code = fs_os.seek.current(file, position);
    return code ? os_error(fs_os.seek.name, code, nullptr) : nullptr;
}

}  // namespace

const error_block *raw_read_some(intptr_t file, int64_t position, void *buffer, int length,
                                 int *done)
{
    *done = 0;
    const error_block *e = seek(file, position);
    if (e)
        return e;
    char *to = static_cast<char *>(buffer);
    while (*done < length) {
        int got = 0;
        int code = fs_os.read.current(file, to + *done, length - *done, &got);
        if (code)
            return os_error(fs_os.read.name, code, nullptr);
        if (got <= 0)
            break;
        *done += got;
    }
    return nullptr;
}

const error_block *raw_read_at(intptr_t file, int64_t position, void *buffer, int length,
                               int *done)
{
    int got;
    const error_block *e = raw_read_some(file, position, buffer, length, &got);
    if (done)
        *done = got;
    if (e)
        return e;
    return got < length ? make_error0(3) : nullptr;
}

const error_block *raw_write_at(intptr_t file, int64_t position, const void *buffer,
                                int length)
{
    const error_block *e = seek(file, position);
    if (e)
        return e;
    const char *from = static_cast<const char *>(buffer);
    int done = 0;
    while (done < length) {
        int put = 0;
        int code = fs_os.write.current(file, from + done, length - done, &put);
        if (code)
            return os_error(fs_os.write.name, code, nullptr);
        if (put <= 0)
            return make_error0(4);
        done += put;
    }
    return nullptr;
}

const error_block *raw_open_path(const char *full, char mode, intptr_t *file)
{
    int code = fs_os.open.current(full, mode, file);
    return code ? os_error(fs_os.open.name, code, "%s", full) : nullptr;
}

const error_block *raw_close_file(intptr_t file)
{
    int code = fs_os.close.current(file);
    return code ? os_error(fs_os.close.name, code, nullptr) : nullptr;
}

void **transfer_anchor() { return transfer; }

const error_block *transfer_store(const void *bytes, int length)
{
    const error_block *e = *transfer ? flex_resize(transfer, length > 0 ? length : 1)
                                     : flex_new(transfer, length > 0 ? length : 1);
    if (e)
        return e;
    memcpy(*transfer, bytes, length);
    transfer_length = length;
    return nullptr;
}

void stream_transfer_begin(void **anchor, int length)
{
    transfer = anchor;
    transfer_length = length;
    debug_log("transfer begin %d", length);
}

void stream_transfer_end() { transfer = nullptr; }

bool stream_transfer_active() { return transfer != nullptr; }

int stream_transfer_length() { return transfer_length; }
