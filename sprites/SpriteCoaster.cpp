#include "sprites/SpriteCoaster.h"

#include "platform/Random.h"

SpriteCoaster::SpriteCoaster()
{
    index = platform::System::Random().InRange(0, 130);
    state = States::Flapping;
}

bool SpriteCoaster::repeatLoop() { return platform::System::Random().InRange(0, 5) > 1; }

void SpriteCoaster::update(float factor)
{
    Sprite::update(factor);

    // A coaster may start on any toaster frame but always starts flapping: a
    // start past 63 ends its first flap at once.
    switch (state) {
    case States::Flapping:
        index += 1;
        if (index > 63) {
            if (repeatLoop()) {
                index = 0;
            } else {
                index = 64;
                state = States::StartCoasting;
            }
        }
        break;
    case States::StartCoasting:
        index += 1;
        if (index > 86)
            state = States::Coasting; // keeps 87, the first gliding frame
        break;
    case States::Coasting:
        index += 1;
        if (index > 110) {
            if (repeatLoop()) {
                index = 86;
            } else {
                index = 111;
                state = States::StopCoasting;
            }
        }
        break;
    case States::StopCoasting:
        index += 1;
        if (index > 130) {
            index = 0;
            state = States::Flapping;
        }
        break;
    }
}
