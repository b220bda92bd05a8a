#include "platform/SpecialFolder.h"

#include <filesystem>
#include <system_error>

#ifndef QUILL_INSTALLED_RESOURCES_DIR
#error "platform/CMakeLists.txt defines QUILL_INSTALLED_RESOURCES_DIR"
#endif

namespace platform {

FolderItem SpecialFolder::Resources()
{
    namespace fs = std::filesystem;
    std::error_code error;
    // /proc/self/exe names the executable even before (or without) a
    // QCoreApplication, and whatever the working folder is.
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        const fs::path beside = executable.parent_path() / "Resources";
        if (fs::is_directory(beside, error))
            return FolderItem(beside.string());
    }
    return FolderItem(QUILL_INSTALLED_RESOURCES_DIR);
}

} // namespace platform
