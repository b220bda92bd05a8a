#include "sprites/SpriteFlapper.h"

#include "platform/Random.h"

SpriteFlapper::SpriteFlapper() { index = platform::System::Random().InRange(0, 63); }

void SpriteFlapper::update(float factor)
{
    Sprite::update(factor);
    index += 1;
    if (index > 63)
        index = 0;
}
