#pragma once

#include "sprites/Sprite.h"

// A toaster that flaps without pause, looping over toaster frames 0 to 63.
class SpriteFlapper : public Sprite {
public:
    SpriteFlapper();
    void update(float factor) override;
};
