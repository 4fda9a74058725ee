// Fuzzes the .dic loader: any bytes must load into a sound store or be
// refused with the dictionary left empty; never a crash or a read outside
// the blocks.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "app/dictionary/dictionary.h"
#include "app/grid/app_errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static std::string path = "/tmp/qm_dictionary_fuzz_" + std::to_string(getpid()) + ".dic";
    static bool ready = (app_errors_register(), true);
    (void)ready;
    FILE *f = fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    fwrite(data, 1, size, f);
    fclose(f);
    Dictionary d{};
    if (load_dictionary_file(&d, path.c_str())) {
        if (d.words || d.noindex || d.wordblock || d.index)
            abort();   // a refused file leaves the dictionary empty
        return 0;
    }
    char message[200];
    if (dictionary_check(&d, message, sizeof message))
        abort();
    // Every lookup stays inside the blocks.
    WordCursor c;
    for (uint32_t n = 0; n < d.words; n += 7) {
        word_at(&d, n, &c);
        std::string w = c.text;
        if (!find_word(&d, w.c_str(), &c, nullptr))
            abort();
        unsigned flags = CMP_IGNORE_SPACES;
        if (!find_word(&d, w.c_str(), nullptr, &flags))
            abort();
    }
    clear_dictionary(&d);
    return 0;
}
