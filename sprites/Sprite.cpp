#include "sprites/Sprite.h"

#include "platform/Random.h"
#include "sprites/SpriteBurnedToast.h"
#include "sprites/SpriteCoaster.h"
#include "sprites/SpriteFlapper.h"
#include "sprites/SpritePolice.h"
#include "sprites/SpriteToast.h"

std::shared_ptr<Sprite> Sprite::getNew()
{
    switch (platform::System::Random().InRange(0, 7)) {
    case 0:
        return std::make_shared<SpriteCoaster>();
    case 1:
        return std::make_shared<SpritePolice>();
    case 2:
        return std::make_shared<SpriteToast>();
    case 3:
        return std::make_shared<SpriteBurnedToast>();
    default: // 4 to 7: half of all sprites flap
        return std::make_shared<SpriteFlapper>();
    }
}

void Sprite::z(float value)
{
    z_stored = value;
    // Each rule reads the stored single-precision depth back, widened to
    // double, and narrows its result on the store.
    double depth = z();
    colour = depth > 0.95 ? 1.0f : static_cast<float>(0.6 * depth + 0.4);
    size = static_cast<float>(static_cast<double>(z()) * static_cast<double>(50 - 20) + 20);
    speed = static_cast<float>(0.7 * static_cast<double>(z()) + 0.3);
}

void Sprite::update(float factor) { move(factor, 2.5, 1.0); }

void Sprite::move(float factor, double dx, double dy)
{
    x = static_cast<float>(x - speed * (dx * factor));
    y = static_cast<float>(y - speed * (dy * factor));
}
