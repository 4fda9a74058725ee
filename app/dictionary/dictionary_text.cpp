// Reading and writing text files of words.
#include "app/dictionary/dictionary_text.h"

#include <cstring>
#include <string>
#include <vector>

#include "app/dictionary/dictionary.h"
#include "app/dictionary/dictionary_set.h"
#include "toolkit/files/files.h"
#include "toolkit/messages/error.h"
#include "toolkit/text/cp1252.h"

namespace {

const int kFileBuffer = 32768;

// Adds each word as it is read, exactly as adding the lines one by one
// would: the store (index included) is the same however the words came in,
// and a word that cannot be stored leaves the store as it was.
struct Importer {
    Dictionary *d;
    ImportCounts *counts;
    const error_block *error = nullptr;

    bool add(const std::string &word)
    {
        uint32_t before = d->words;
        error = add_word(d, word.c_str());
        if (error)
            return false;
        counts->words++;
        if (d->words == before) {   // present already, a case variant, or refused
            WordCursor cursor;
            if (!find_word(d, word.c_str(), &cursor, nullptr) || word != cursor.text)
                counts->refused++;
        }
        return true;
    }
};

// The word rule: first byte kept, later letters lower-cased, others dropped.
void read_words(fs_stream *s, Importer &to)
{
    int c = stream_getc(s);
    for (;;) {
        while (c >= 0 && c < 33)
            c = stream_getc(s);
        if (c < 0)
            return;
        std::string word(1, static_cast<char>(c));
        while ((c = stream_getc(s)) >= 32 && word.size() < WORD_BUFFER)
            if (cp_is_alpha(static_cast<unsigned char>(c)))
                word += static_cast<char>(cp_lower(static_cast<unsigned char>(c)));
        if (word.size() < WORD_BUFFER) {
            if (!to.add(word))
                return;
            continue;
        }
        to.counts->too_long++;
        while (c >= 32)   // the rest of an over-long line is not a word
            c = stream_getc(s);
    }
}

// Lines as written, without their line ends.
void read_lines(fs_stream *s, Importer &to)
{
    std::string line;
    for (int c = stream_getc(s);; c = stream_getc(s)) {
        if (c >= 0 && c != '\n' && c != '\r') {
            line += static_cast<char>(c);
            continue;
        }
        if (line.size() > static_cast<size_t>(WORD_MAX))
            to.counts->too_long++;
        else if (!line.empty() && line.find('\0') == std::string::npos && !to.add(line))
            return;
        line.clear();
        if (c < 0)
            return;
    }
}

// The stream's bytes end early when a read fails: tell that from the end of
// the file, so that a failed read is not taken for a shorter list.
const error_block *read_error(fs_stream *s, const char *path)
{
    fs_info info;
    if (fs_file_info(path, &info) || static_cast<uint32_t>(stream_tell(s)) >= info.length)
        return nullptr;
    char byte;
    const error_block *e = stream_read(s, &byte, 1);
    return e ? e : make_error0(3);
}

}  // namespace

const error_block *import_word_file(Dictionary *d, const char *path, bool raw, ImportCounts *counts)
{
    *counts = ImportCounts{};
    fs_stream s;
    if (const error_block *e = stream_open(path, "r", kFileBuffer, &s))
        return e;
    // The words added before an error stay in the dictionary.
    Importer importer{d, counts};
    if (raw)
        read_lines(&s, importer);
    else
        read_words(&s, importer);
    const error_block *e = importer.error ? importer.error : read_error(&s, path);
    return stream_close(&s, e);
}

const error_block *export_word_file(const Dictionary *d, const char *path)
{
    WordCursor cursor;
    if (!word_at(d, 0, &cursor))
        return nullptr;
    fs_stream s;
    if (const error_block *e = stream_open_safe(path, kFileBuffer, &s))
        return e;
    const error_block *e = nullptr;
    do {
        e = stream_write(&s, cursor.text, static_cast<int>(strlen(cursor.text)));
        if (!e)
            e = stream_write(&s, "\r\n", 2);
    } while (!e && next_word(d, &cursor));
    return stream_close(&s, e);
}

// The slot's dictionary must hold its file's words before it is changed or
// written out: otherwise a later save would replace the file with the
// imported words alone.
static const error_block *ensure_loaded(int slot)
{
    return dictionary_set.slots[slot].loaded ? nullptr : load_slot(slot);
}

const error_block *import_words(int slot, const char *path)
{
    if (slot < 0 || slot >= dictionary_set.count)
        return nullptr;
    if (const error_block *e = ensure_loaded(slot))
        return e;
    ImportCounts counts;
    const error_block *e = import_word_file(&dictionary_set.slots[slot].dictionary, path, false, &counts);
    if (counts.words > counts.refused)
        mark_slot_changed(slot);
    return e;
}

const error_block *export_words(int slot, const char *path)
{
    if (slot < 0 || slot >= dictionary_set.count)
        return nullptr;
    if (const error_block *e = ensure_loaded(slot))
        return e;
    return export_word_file(&dictionary_set.slots[slot].dictionary, path);
}
