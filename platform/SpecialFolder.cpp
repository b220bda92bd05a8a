#include "platform/SpecialFolder.h"

#include <filesystem>
#include <system_error>

#if !defined(QUILL_INSTALLED_RESOURCES_DIR) || !defined(QUILL_RESOURCES_FROM_EXECUTABLE)
#error "platform/CMakeLists.txt defines QUILL_INSTALLED_RESOURCES_DIR and QUILL_RESOURCES_FROM_EXECUTABLE"
#endif

namespace platform {

FolderItem SpecialFolder::Resources()
{
    namespace fs = std::filesystem;
    std::error_code error;
    // /proc/self/exe names the executable even before (or without) a
    // QCoreApplication, and whatever the working folder is. The kernel gives
    // it with every link resolved, so ".." in the installed tree's relative
    // path can be taken lexically.
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        const fs::path folder = executable.parent_path();
        const fs::path beside = folder / "Resources";
        if (fs::is_directory(beside, error))
            return FolderItem(beside.string());
        const fs::path installed = (folder / QUILL_RESOURCES_FROM_EXECUTABLE).lexically_normal();
        if (fs::is_directory(installed, error))
            return FolderItem(installed.string());
    }
    return FolderItem(QUILL_INSTALLED_RESOURCES_DIR);
}

} // namespace platform
