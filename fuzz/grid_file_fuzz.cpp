// libFuzzer target: the grid-file loader. Any bytes must give either a
// clean refusal or a grid that saves and loads back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/grid/app_errors.h"
#include "app/grid/grid.h"
#include "app/grid/grid_file.h"
#include "toolkit/files/stream.h"

namespace {

std::vector<unsigned char> saved()
{
    fs_stream s{};
    std::vector<unsigned char> out;
    if (stream_open(nullptr, "w", 4096, &s))
        return out;
    if (!write_grid_stream(&s)) {
        int length = 0;
        const char *bytes = stream_memory(&s, &length);
        out.assign(bytes, bytes + length);
    }
    stream_close(&s, nullptr);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static bool ready = [] {
        app_errors_register();
        grid_init();
        return true;
    }();
    (void)ready;
    if (size > (1 << 20))
        return 0;
    if (load_grid_bytes(data, static_cast<int>(size)))
        return 0;
    if (grid.width < grid_min_side || grid.width > grid_max_side || grid.height < grid_min_side ||
        grid.height > grid_max_side || grid.square_size < 1)
        abort();
    std::vector<unsigned char> first = saved();
    if (first.empty() || load_grid_bytes(first.data(), static_cast<int>(first.size())))
        abort();
    if (saved() != first)
        abort();
    return 0;
}
