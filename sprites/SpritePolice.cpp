#include "sprites/SpritePolice.h"

#include "platform/Random.h"

SpritePolice::SpritePolice() { index = platform::System::Random().InRange(131, 160); }

void SpritePolice::update(float factor)
{
    move(factor, 5.0, 2.0);
    index += 1;
    if (index > 160)
        index = 131;
}
