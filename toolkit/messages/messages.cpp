// The message file: loading into the messages block, token lookup and
// {TOKEN} expansion.
//
// The block holds every file loaded so far as (token NUL text NUL) pairs;
// `used` counts the bytes of those pairs, and at least two NUL bytes always
// follow them, so an empty token ends every walk.
#include "toolkit/messages/messages.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "toolkit/memory/memory.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/log.h"
#include "toolkit/messages/messages_os.h"

namespace {

void *block = nullptr;   // anchor of the messages block
int used = 0;            // bytes of pairs in the block
char title[256] = "";

const int kMaxName = 30;          // longest token name in a reference
const int kMaxExpansions = 1000;  // stops a token that refers to itself

// Removes comment lines and runs of line ends from the new bytes in place;
// returns the new length. A comment is "//" at the start of a line. Every
// line end that stays becomes one LF, whatever control byte ended the line
// (a NUL included), so the pair walk sees one kind of line end only.
int filter(unsigned char *p, int length)
{
    unsigned char previous = '\n';
    int out = 0;
    for (int in = 0; in < length; in++) {
        unsigned char c = p[in];
        if (c == '/' && previous < 32 && in + 1 < length && p[in + 1] == '/') {
            while (in + 1 < length && p[in + 1] >= 32)
                in++;
            continue;
        }
        if (c < 32 && previous < 32)
            continue;
        p[out++] = c < 32 ? '\n' : c;
        previous = c;
    }
    return out;
}

// Turns the filtered bytes [start, start+length) into (token NUL text NUL)
// pairs, compacted in place; returns the length of the pairs kept.
//
// The token runs to the first colon, line ends included (a line without a
// colon swallows the next entry's token); the text runs to the line end.
// A pair with an empty token is dropped wherever it stands, so it costs
// nothing but itself; a last pair with an empty text, or a last line
// without a colon, is dropped too.
int make_pairs(unsigned char *start, int length)
{
    unsigned char *end = start + length;
    unsigned char *in = start;
    unsigned char *out = start;
    while (in < end) {
        unsigned char *colon = static_cast<unsigned char *>(memchr(in, ':', end - in));
        if (!colon)
            break;
        unsigned char *text = colon + 1;
        unsigned char *stop = text;
        while (stop < end && *stop >= 32)
            stop++;
        bool last = stop + 1 >= end;
        int token_length = static_cast<int>(colon - in);
        int text_length = static_cast<int>(stop - text);
        if (token_length > 0 && !(last && text_length == 0)) {
            memmove(out, in, token_length);
            out[token_length] = 0;
            out += token_length + 1;
            memmove(out, text, text_length);
            out[text_length] = 0;
            out += text_length + 1;
        }
        in = stop + 1;
    }
    return static_cast<int>(out - start);
}

}  // namespace

void messages_clear()
{
    flex_dispose(&block);
    used = 0;
}

const error_block *addtrans_bytes(const char *bytes, int length)
{
    if (length < 0)
        return make_error0(5);
    int have = block ? flex_length(&block) : 0;
    int need = used + length + 2;
    const error_block *e = block ? (need > have ? flex_resize(&block, need) : nullptr)
                                 : flex_new(&block, need);
    if (e)
        return e;
    auto *base = static_cast<unsigned char *>(block) + used;
    memcpy(base, bytes, length);
    int n = filter(base, length);
    base[n] = 0;
    base[n + 1] = 0;
    int kept = make_pairs(base, n);
    memset(base + kept, 0, n + 2 - kept);
    used += kept;
    return nullptr;
}

const char *lookup_token(const char *name)
{
    if (!block)
        return name;
    const char *p = static_cast<const char *>(block);
    const char *end = p + used;
    while (p < end && *p) {
        const char *text = p + strlen(p) + 1;
        if (strcmp(p, name) == 0)
            return text;
        p = text + strlen(text) + 1;
    }
    return name;
}

void expand_tokens(char *s, int size)
{
    int expansions = 0;
    int length = static_cast<int>(strlen(s));
    int i = 0;
    while (i < length) {
        if (s[i] != '{') {
            i++;
            continue;
        }
        if (s[i + 1] == 0)
            return;
        if (s[i + 1] == '{') {
            memmove(s + i, s + i + 1, length - i);  // the NUL moves too
            length--;
            i++;
            continue;
        }
        int close = -1;
        for (int j = i + 1; j <= i + kMaxName + 1 && j < length; j++) {
            if (s[j] == '}') {
                close = j;
                break;
            }
        }
        if (close < 0) {
            i++;
            continue;
        }
        char name[kMaxName + 1];
        int name_length = close - i - 1;
        memcpy(name, s + i + 1, name_length);
        name[name_length] = 0;
        const char *text = lookup_token(name);
        int text_length = static_cast<int>(strlen(text));
        int reference = close - i + 1;
        int new_length = length - reference + text_length;
        if (new_length >= size || ++expansions > kMaxExpansions) {
            i = close + 1;
            continue;
        }
        memmove(s + i + text_length, s + close + 1, length - close);  // with NUL
        memcpy(s + i, text, text_length);
        length = new_length;
        // Scanning goes on at the start of the inserted text: references
        // inside token texts are expanded too.
    }
}

const error_block *xzstrncpy(char *destination, const char *source, int size)
{
    if (size <= 0)   // no room even for the terminator: nothing is written
        return make_error(30, "xzstrncpy");
    size_t n = strlen(source);
    if (n <= static_cast<size_t>(size - 1)) {
        memcpy(destination, source, n + 1);
        return nullptr;
    }
    memcpy(destination, source, size - 1);
    destination[size - 1] = 0;
    return make_error(30, "xzstrncpy");
}

// The length of the conversion that starts at the '%' at s[0], or 0 when
// that '%' opens none the toolkit formats: flags "-+#0", a width, a
// precision, a length and one conversion letter. A space flag and "%n" are
// not taken, so "% on left" and a '%' at the end stay text.
static int conversion_length(const char *s)
{
    int i = 1;
    while (s[i] && strchr("-+#0", s[i]))
        i++;
    while (s[i] >= '0' && s[i] <= '9')
        i++;
    if (s[i] == '.') {
        i++;
        while (s[i] >= '0' && s[i] <= '9')
            i++;
    }
    while (s[i] && strchr("hlzjtL", s[i]))
        i++;
    return s[i] && strchr("diouxXcsfFeEgGaAp%", s[i]) ? i + 1 : 0;
}

void protect_percents(const char *from, char *to, int size)
{
    if (size <= 0)
        return;
    int out = 0;
    for (const char *p = from; *p;) {
        int n = *p == '%' ? conversion_length(p) : 1;
        const char *piece = n ? p : "%%";
        int piece_length = n ? n : 2;
        if (out + piece_length > size - 1)
            break;
        memcpy(to + out, piece, piece_length);
        out += piece_length;
        p += n ? n : 1;
    }
    to[out] = 0;
}

const error_block *format_tokens(int size, char *buffer, const char *template_text, ...)
{
    char work[1024];
    const error_block *cut = xzstrncpy(work, template_text, sizeof work);
    if (size <= 0)
        return make_error(30, "format_tokens");
    expand_tokens(work, sizeof work);
    char safe[2 * sizeof work];
    protect_percents(work, safe, sizeof safe);
    va_list args;
    va_start(args, template_text);
    if (vsnprintf(buffer, size, safe, args) < 0)
        buffer[0] = 0;
    va_end(args);
    buffer[size - 1] = 0;
    expand_tokens(buffer, size);
    return cut;
}

void task_set_title(const char *text) { xzstrncpy(title, text ? text : "", sizeof title); }

const char *task_title() { return title; }

// Reads a whole file with the C library (both builds); a backslash is a
// directory separator in both.
static bool read_whole(const char *path, char **bytes, long *length)
{
    char native[1024];
    if (xzstrncpy(native, path, sizeof native))
        return false;
    messages_native_path(native);
    FILE *f = fopen(native, "rb");
    if (!f)
        return false;
    bool ok = fseek(f, 0, SEEK_END) == 0 && (*length = ftell(f)) >= 0 && fseek(f, 0, SEEK_SET) == 0;
    *bytes = ok ? new char[*length + 1] : nullptr;
    ok = ok && fread(*bytes, 1, *length, f) == static_cast<size_t>(*length);
    fclose(f);
    if (!ok) {
        delete[] *bytes;
        *bytes = nullptr;
    }
    return ok;
}

static const error_block *not_found(const char *path)
{
    if (used == 0)
        return make_error_text(28, "Messages file not found.");
    return make_error(28, path);
}

const error_block *addtrans(const char *directory, const char *file_name, void *module)
{
    if (!directory) {
        const char *bytes = nullptr;
        int length = 0;
        if (!messages_find_resource(module, file_name, &bytes, &length))
            return not_found(file_name);
        return addtrans_bytes(bytes, length);
    }
    char path[1024];
    snprintf(path, sizeof path, "%s\\%s", directory, file_name);
    debug_log("addtrans file %s", path);
    char *bytes = nullptr;
    long length = 0;
    if (!read_whole(path, &bytes, &length))
        return not_found(path);
    const error_block *e = length > 0x7FFFFFF ? make_error0(2) : addtrans_bytes(bytes, static_cast<int>(length));
    delete[] bytes;
    return e;
}
