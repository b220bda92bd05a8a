#pragma once

#include "platform/FolderItem.h"

namespace platform {

// Folders whose place the system does not choose.
class SpecialFolder {
public:
    // The folder of the program's pictures: the Resources folder beside the
    // executable (the build tree) when it exists; else the installed tree's
    // quillamere/Resources in its data folder, found from the executable's
    // folder (<bin>/../share/quillamere/Resources), so that the tree may be
    // installed under any prefix or moved; else that folder under the prefix
    // the build was configured for.
    static FolderItem Resources();
};

} // namespace platform
