// The save and load dialogues, and loading a file by its type.
//
// The filter lists and extension rules are portable (dialog_filters.cpp);
// the dialogues themselves exist in the Windows build only.
#pragma once

struct error_block;

// Called with the chosen path and the chosen format's file type.
typedef const error_block *(*save_function)(const char *path, int type);
// Called with the chosen path, its file type and the caller's argument.
typedef const error_block *(*load_function)(const char *path, int type, void *argument);

// A format offered by the save dialogue: reports its file type and sets
// *description (null: the type's table description).
typedef int (*save_format_function)(const char **description);

// One group of the load dialogue's filter list: a description and the
// types it offers (-1 offers every file).
struct load_filter_group {
    const char *description;
    const int *types;
    int count;
};

const int SAVE_FILTER_SIZE = 512;
const int LOAD_FILTER_SIZE = 256;

// Offers these formats in the next save dialogues (null, 0: one format, the
// caller's type). The array must outlive its use.
void fs_set_save_formats(const save_format_function *formats, int count);

// Builds the save filter list for `type` (or the registered formats) into
// `buffer`: description NUL "*.ext" NUL ..., an extra NUL at the end.
// Writes the types in filter order into `types` (up to `max_types`) and
// returns how many, and the index of `type` in *selected. A list that
// would pass the buffer's end stops before that entry and logs
// "savefilterbuffer overrun".
int fs_build_save_filter(char *buffer, int size, int type, int *types, int max_types,
                         int *selected);
// Builds the load filter list: description NUL "*.ext;..." NUL ... NUL.
// Returns false (and logs) when it would not fit; the list then ends
// before the group that did not fit.
bool fs_build_load_filter(char *buffer, int size, const load_filter_group *groups, int count);

// Replaces the extension of the leaf name in `name` by `extension`
// (appending "." and it when the leaf has none) within `size` bytes. With
// `keep_same` an extension that differs only in case is kept. Error 30
// when the result does not fit (name unchanged).
const error_block *fs_set_extension(char *name, int size, const char *extension,
                                    bool keep_same);

// Shows the save dialogue with `path` (directory and leaf) and calls `save`
// with the chosen path and format. Cancel is success with nothing saved.
const error_block *fs_save_dialogue(char *path, int size, int type, save_function save);
// As fs_save_dialogue, but cancel gives error 24 ("Save cancelled").
const error_block *fs_save_dialogue_cancellable(char *path, int size, int type,
                                                save_function save);
// Shows the open dialogue; calls `load` (or loads by type when null).
// Cancel (error 26) is success with nothing loaded.
const error_block *fs_load_dialogue(char *path, int size, const load_filter_group *groups,
                                    int count, load_function load, void *argument);

// Loading by type goes through the event loop, reached through these hooks
// (filled by the events layer; null fields mean "no event loop").
struct fs_event_hooks {
    // Non-zero once the poll loop runs (task_polling).
    int (*task_polling)();
    // Raises kind -4 for the type: the first handler loads the file.
    const error_block *(*raise_load)(const char *path, int type, void *argument);
    // Registers / removes a handler of service call `code` with `value`.
    const error_block *(*add_service)(int code, const error_block *(*handler)(void *value),
                                      void *value);
    void (*remove_service)(int code, const error_block *(*handler)(void *value), void *value);
};
extern fs_event_hooks fs_events;

const int SERVICE_TASK_POLLING = 0x10007;   // sent once when the poll loop starts

// Loads a file by its type (kind -4 handlers). With argument null before
// the loop runs, the load is stored and done by the 0x10007 service call.
const error_block *fs_load_by_type(const char *path, void *argument);
// The handler of service call 0x10007 for a stored load (removes itself).
const error_block *fs_deferred_load_service(void *value);
