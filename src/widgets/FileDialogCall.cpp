// The platform-free half of the file-dialog seam: the hook the tests set.

#include "FileDialogCall.h"

namespace {

FileDialogHook& Hook() {
    static FileDialogHook hook;
    return hook;
}

}  // namespace

void SetFileDialogHook(FileDialogHook hook) { Hook() = std::move(hook); }

const FileDialogHook& CurrentFileDialogHook() { return Hook(); }
