#pragma once

#include "sprites/Sprite.h"

// The police sprite: twice the common pace, looping over frames 131 to 160.
class SpritePolice : public Sprite {
public:
    SpritePolice();
    void update(float factor) override;
};
