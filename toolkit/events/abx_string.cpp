// Reading and writing the commands of a validation string.
//
// A command's value runs from after its letter to the next backslash that
// is not doubled; text before the first single backslash is the value of
// `s`. Only the first occurrence of a command is read or replaced.
#include "toolkit/events/abx.h"

namespace {

struct span {
    size_t start, end;       // the raw value, backslashes still doubled
};

// The end of a raw value starting at `at`: the next single backslash.
size_t value_end(const std::string &v, size_t at)
{
    while (at < v.size()) {
        if (v[at] == '\\') {
            if (at + 1 < v.size() && v[at + 1] == '\\') {
                at += 2;
                continue;
            }
            return at;
        }
        at++;
    }
    return at;
}

bool find(const std::string &v, char letter, span *found)
{
    size_t at = value_end(v, 0);
    if (at > 0 && letter == 's') {
        *found = {0, at};
        return true;
    }
    while (at < v.size()) {
        // v[at] is a single backslash; the letter follows it.
        if (at + 1 >= v.size())
            return false;
        char command = v[at + 1];
        size_t end = value_end(v, at + 2);
        if (command == letter) {
            *found = {at + 2, end};
            return true;
        }
        at = end;
    }
    return false;
}

}  // namespace

bool abx_read_command(const std::string &validation, char letter, std::string *value)
{
    value->clear();
    span s;
    if (!find(validation, letter, &s))
        return false;
    for (size_t i = s.start; i < s.end; i++) {
        value->push_back(validation[i]);
        if (validation[i] == '\\')
            i++;   // the second of a doubled pair
    }
    return true;
}

bool abx_write_command(std::string *validation, char letter, const std::string &value)
{
    span s;
    if (!find(*validation, letter, &s))
        return false;
    std::string doubled;
    for (char c : value) {
        doubled.push_back(c);
        if (c == '\\')
            doubled.push_back('\\');
    }
    // Empty text before the first backslash would leave the string with no
    // `s` at all, so that no later text could be set: it becomes an
    // explicit, empty `s` command in the same place.
    if (s.start == 0 && doubled.empty())
        doubled = "\\s";
    validation->replace(s.start, s.end - s.start, doubled);
    return true;
}
