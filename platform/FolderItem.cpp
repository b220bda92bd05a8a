#include "platform/FolderItem.h"

#include <utility>

namespace platform {

FolderItem::FolderItem(std::string nativePath)
    : nativePath_(std::move(nativePath))
{
}

} // namespace platform
