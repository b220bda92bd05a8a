#pragma once

#include "platform/FolderItem.h"

namespace platform {

// Folders whose place the system does not choose.
class SpecialFolder {
public:
    // The folder of the program's pictures: the Resources folder beside the
    // executable (the build tree) when it exists, else the installed one under
    // <prefix>/share/quillamere/Resources.
    static FolderItem Resources();
};

} // namespace platform
