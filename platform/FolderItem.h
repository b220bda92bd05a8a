#pragma once

#include <string>

namespace platform {

// A reference to a file or folder, made from its native path. Nothing is
// checked when it is made: whoever opens it reports a missing file. Symbolic
// links are followed when the file is read.
class FolderItem {
public:
    explicit FolderItem(std::string nativePath);

    // The full native path, as given.
    const std::string& NativePath() const { return nativePath_; }

private:
    std::string nativePath_;
};

} // namespace platform
