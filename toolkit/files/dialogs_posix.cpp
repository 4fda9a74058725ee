// The native build has no file dialogues: each behaves as if the user
// cancelled it, so nothing is saved or loaded.
#include "toolkit/files/dialogs.h"
#include "toolkit/messages/error.h"

const error_block *fs_save_dialogue_cancellable(char *, int, int, save_function)
{
    return make_error0(24);
}

const error_block *fs_save_dialogue(char *, int, int, save_function) { return nullptr; }

const error_block *fs_load_dialogue(char *, int, const load_filter_group *, int, load_function,
                                    void *)
{
    return nullptr;
}
