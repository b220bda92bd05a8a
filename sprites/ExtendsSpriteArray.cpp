#include "sprites/ExtendsSpriteArray.h"

#include "platform/RuntimeException.h"

#include <algorithm>

namespace ExtendsSpriteArray {

void InsertSorted(SpriteArray& sprites, const std::shared_ptr<Sprite>& sprite)
{
    float depth = platform::deref(sprite, "sprite").z();
    auto place = std::find_if(sprites.begin(), sprites.end(),
        [depth](const std::shared_ptr<Sprite>& element) { return element->z() >= depth; });
    sprites.insert(place, sprite);
}

void Remove(SpriteArray& sprites, const std::shared_ptr<Sprite>& sprite)
{
    auto place = std::find(sprites.begin(), sprites.end(), sprite);
    if (place != sprites.end())
        sprites.erase(place);
}

} // namespace ExtendsSpriteArray
