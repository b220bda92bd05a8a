#pragma once

#include "sprites/Sprite.h"

#include <memory>
#include <vector>

// A window's sprites, kept in ascending depth so that drawing from the front
// of the list paints far sprites first and near ones over them.
using SpriteArray = std::vector<std::shared_ptr<Sprite>>;

namespace ExtendsSpriteArray {

// Inserts the sprite before the first element of equal or greater depth, so a
// newcomer lies beneath sprites of its own depth. A missing sprite raises
// platform::NilObjectException and leaves the list as it was.
void InsertSorted(SpriteArray& sprites, const std::shared_ptr<Sprite>& sprite);

// Removes the first element that is this very sprite; a sprite the list does
// not hold removes nothing.
void Remove(SpriteArray& sprites, const std::shared_ptr<Sprite>& sprite);

} // namespace ExtendsSpriteArray
