// Fuzzes adding and deleting: the input is a sequence of operations on
// words over a small alphabet (so that prefixes, case variants, spaces and
// escapes meet often). After every step the invariant walk must pass and
// the store must hold exactly the words of a model set.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "app/dictionary/dictionary.h"

namespace {

struct ProgramOrder {
    bool operator()(const std::string &a, const std::string &b) const
    {
        return compare_words(a.c_str(), b.c_str(), WORD_MAX, nullptr) < 0;
    }
};

const char kAlphabet[] = "aAbBe -'\x01\xE9\xC9stinoaaaaaaaa";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Dictionary d{};
    init_dictionary(&d);
    std::map<std::string, std::string, ProgramOrder> model;
    size_t i = 0;
    while (i + 2 <= size) {
        int op = data[i] % 4;
        size_t length = 1 + data[i + 1] % 31;
        i += 2;
        std::string w;
        for (; w.size() < length && i < size; i++)
            w += kAlphabet[data[i] % (sizeof kAlphabet - 1)];
        if (w.empty())
            break;
        if (op <= 1) {
            if (add_word(&d, w.c_str()))
                abort();
            WordCursor c;
            if (find_word(&d, w.c_str(), &c, nullptr) && w == c.text)
                model[w] = w;
        } else if (op == 2) {
            if (delete_word(&d, w.c_str()))
                model.erase(w);
        } else if (d.words > 0) {
            WordCursor c;
            word_at(&d, data[i - 1] % d.words, &c);
            std::string text = c.text;
            if (delete_at_cursor(&d, &c))
                model.erase(text);
        }
        char message[200];
        if (dictionary_check(&d, message, sizeof message) || d.words != model.size())
            abort();
    }
    for (auto &[key, spelling] : model) {
        unsigned flags = CMP_IGNORE_SPACES;
        WordCursor c;
        if (!find_word(&d, spelling.c_str(), nullptr, &flags) || !find_word(&d, spelling.c_str(), &c, nullptr))
            abort();
    }
    auto it = model.begin();
    WordCursor c;
    if (word_at(&d, 0, &c)) {
        do {
            if (it == model.end() || it->second != c.text)
                abort();
            ++it;
        } while (next_word(&d, &c));
    }
    clear_dictionary(&d);
    return 0;
}
